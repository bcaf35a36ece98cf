#include "info/widgets/SplashWindow.h"

#include "app/services/Services.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace tracella {

constexpr qint64 MinimumShownMs = 3000;

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Tracella"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* title = new QLabel(QStringLiteral("Tracella"), this);
    title->setObjectName(QStringLiteral("lblProductName"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignCenter);
    resize(420, 240);
}

void SplashWindow::showEvent(QShowEvent* event)
{
    if (shownAt_ < 0)
        shownAt_ = services().clock->elapsedMs();
    QWidget::showEvent(event);
}

void SplashWindow::closeWhenShownLongEnough()
{
    const qint64 shownFor = shownAt_ < 0 ? MinimumShownMs : services().clock->elapsedMs() - shownAt_;
    if (shownFor >= MinimumShownMs)
        close();
    else
        QTimer::singleShot(static_cast<int>(MinimumShownMs - shownFor), this, &QWidget::close);
}

} // namespace tracella
