#include "picture/widgets/RegionDrag.h"

#include "picture/widgets/PictureSurface.h"

#include <QMouseEvent>
#include <QRubberBand>

#include <cmath>

namespace tracella {

QPoint PixelUnder(const PictureSurface& surface, const QMouseEvent& mouse)
{
    const QPointF at = surface.picturePosition(&mouse);
    return {static_cast<int>(std::floor(at.x() + 0.5)), static_cast<int>(std::floor(at.y() + 0.5))};
}

RegionDrag::~RegionDrag()
{
    delete band_;
}

bool RegionDrag::take(PictureSurface& surface, const QMouseEvent& mouse, std::optional<QRect>& released)
{
    const QPoint pixel = PixelUnder(surface, mouse);
    if (mouse.type() == QEvent::MouseButtonPress) {
        dragging_ = true;
        start_ = pixel;
        if (!band_)
            band_ = new QRubberBand(QRubberBand::Rectangle, &surface);
        band_->setGeometry(QRect(mouse.position().toPoint(), QSize()));
        band_->show();
        return true;
    }
    if (!dragging_)
        return false;
    const QRect dragged = QRect(start_, pixel).normalized();
    if (band_)
        band_->setGeometry(surface.zoom().viewRect(dragged));
    if (mouse.type() == QEvent::MouseButtonRelease) {
        dragging_ = false;
        if (band_)
            band_->hide();
        released = start_ == pixel ? QRect(start_, QSize(0, 0)) : dragged;
    }
    return true;
}

} // namespace tracella
