#include "zoom/widgets/ZoomWindow.h"

#include <QTimer>

namespace tracella {

ZoomWindow::ZoomWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmZoom"));
    setWindowTitle(QStringLiteral("Zoom"));
    tmrZoom_ = new QTimer(this);
    tmrZoom_->setObjectName(QStringLiteral("tmrZoom"));
    tmrZoom_->setInterval(50);
}

} // namespace tracella
