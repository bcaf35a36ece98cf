#include "calibration/FrameMapping.h"

namespace tracella {

Frame SurfaceFrame(const Frame& f)
{
    return {static_cast<float>(f.left), static_cast<float>(f.top), static_cast<float>(f.right),
            static_cast<float>(f.bottom)};
}

FramePoint PixelToFrame(const Frame& frame, QSize size, QPointF pixel)
{
    const Frame f = SurfaceFrame(frame);
    const double w = size.width() > 0 ? size.width() : 1;
    const double h = size.height() > 0 ? size.height() : 1;
    return {static_cast<float>(f.left + pixel.x() * (f.right - f.left) / w),
            static_cast<float>(f.top + pixel.y() * (f.bottom - f.top) / h)};
}

QPointF FrameToPixel(const Frame& frame, QSize size, double x, double y)
{
    const Frame f = SurfaceFrame(frame);
    return {(x - f.left) * size.width() / (f.right - f.left), (y - f.top) * size.height() / (f.bottom - f.top)};
}

} // namespace tracella
