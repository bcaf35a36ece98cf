#include "app/widgets/MainStatusBar.h"

#include "app/services/Services.h"

#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace tracella {
namespace {

constexpr int TwipsPerPixel = 15;

struct PanelSpec {
    const char* text;
    const char* tooltip;
    int widthTwips;
};

constexpr PanelSpec Panels[6] = {
    {"Data File", "File name where the digitized data is being saved", 2540},
    {"Picture File", "File name of the picture being digitized", 2540},
    {"X value", "X-axis value", 2540},
    {"Y value", "Y-axis value", 2540},
    {"", "Current Date", 1770},
    {"", "Current Time", 1770},
};

} // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("sbStatusBar"));
    setSizeGripEnabled(false);
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(QString::fromLatin1(Panels[i].text), this);
        label->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        label->setToolTip(QString::fromLatin1(Panels[i].tooltip));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(Panels[i].widthTwips / TwipsPerPixel);
        label->setTextFormat(Qt::PlainText);
        panels_[i] = label;
        if (i < 4)
            addWidget(label);
        else
            addPermanentWidget(label);
    }
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, &MainStatusBar::updateClock);
    clock_->start(1000);
    updateClock();
}

QLabel* MainStatusBar::panel(int panel) const
{
    return (panel >= 1 && panel <= 6) ? panels_[panel - 1] : nullptr;
}

QString MainStatusBar::panelText(int panel) const
{
    const QLabel* label = this->panel(panel);
    if (!label)
        return {};
    return pending_[panel - 1].value_or(label->text());
}

// A sweep records points by the ten thousand while it holds the event loop;
// relaying every text to its label costs more than the sweep, and only the
// last one is ever seen.
void MainStatusBar::setPanelText(int panel, const QString& text)
{
    if (!this->panel(panel))
        return;
    pending_[panel - 1] = text;
    if (!showQueued_) {
        showQueued_ = true;
        QMetaObject::invokeMethod(this, &MainStatusBar::showPendingTexts, Qt::QueuedConnection);
    }
}

void MainStatusBar::showPendingTexts()
{
    showQueued_ = false;
    for (int i = 0; i < 6; ++i) {
        if (pending_[i]) {
            panels_[i]->setText(*pending_[i]);
            pending_[i].reset();
        }
    }
}

void MainStatusBar::updateClock()
{
    const QDateTime now = services().clock ? services().clock->now() : QDateTime::currentDateTime();
    const QLocale locale;
    panels_[4]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    panels_[5]->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

} // namespace tracella
