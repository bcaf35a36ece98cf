#include "info/widgets/SplashWindow.h"

#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "info/InfoTexts.h"
#include "picture/widgets/DocumentWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace tracella {

namespace {

constexpr qint64 MinimumShownMs = 3000;
// The photograph leaves its right part dark for the text.
constexpr int TextLeft = 345;

// While the splash waits, the windows behind it paint and tick but take no
// input: the program is still starting, and closing it now would pull the
// windows from under the start-up. Nothing may open either: a dialog opened
// inside the wait would get no input of its own and never let the wait end.
class InputHold final : public QObject {
public:
    InputHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputHold() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Taken as the focus widget's own key, so no shortcut or menu key
            // fires; the key press itself is held below.
            event->accept();
            return true;
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close: return true;
        default: return false;
        }
    }
};

} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint),
      photograph_(QStringLiteral(":/info/splash.png"))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Tracella"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tracella.png")));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(photograph_.isNull() ? QSize(620, 340) : photograph_.size());

    const VersionRecord& record = ProgramVersion();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TextLeft, 18, 16, 14);
    layout->setSpacing(2);
    layout->addWidget(addLabel(QStringLiteral("lblCompanyProduct"), record.companyName, 9, false));
    layout->addSpacing(6);
    layout->addWidget(addLabel(QStringLiteral("lblProductName"), record.title, 20, true));
    layout->addWidget(addLabel(QStringLiteral("lblPlatform"), QStringLiteral("For Linux"), 11, false));
    layout->addWidget(addLabel(QStringLiteral("lblVersion"), VersionLine(record), 11, true));
    layout->addStretch();
    layout->addWidget(addLabel(QStringLiteral("lblWarning"), WarrantyNotice, 8, false));
    layout->addSpacing(6);
    layout->addWidget(addLabel(QStringLiteral("lblCompany"), record.companyName, 9, false));
    layout->addWidget(addLabel(QStringLiteral("lblCopyright"), record.legalCopyright, 8, false));
    layout->addWidget(addLabel(QStringLiteral("lblDate"), DateLine(services().clock->now(), QLocale()), 8, false));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QLabel* SplashWindow::addLabel(const QString& name, const QString& text, int pointSize, bool bold)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

void SplashWindow::showEvent(QShowEvent* event)
{
    if (shownAt_ < 0)
        shownAt_ = services().clock->elapsedMs();
    QWidget::showEvent(event);
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, photograph_);
}

void SplashWindow::closeWhenShownLongEnough()
{
    ClockService& clock = *services().clock;
    if (shownAt_ >= 0) {
        // Above the main window shown meanwhile, even where no window manager keeps it on top.
        raise();
        InputHold hold;
        for (qint64 shownFor = clock.elapsedMs() - shownAt_; shownFor < MinimumShownMs;
             shownFor = clock.elapsedMs() - shownAt_)
            clock.wait(static_cast<int>(MinimumShownMs - shownFor));
    }
    close();
    if (DocumentWindow* document = app().document) {
        if (QWidget* sub = document->parentWidget())
            sub->raise();
    }
    if (MainWindow* main = app().main)
        main->activateWindow();
}

} // namespace tracella
