#include "extract/TraceView.h"

#include <QPainter>

#include <cmath>

namespace tracella {

TraceView AxisAlignedView(const QImage& picture, const QRect& region, const AffineCalibration& calibration)
{
    const AffineMap& m = calibration.toAxes;
    const AffineMap& back = calibration.toPixels;
    // One view pixel per picture pixel along each axis.
    const double kx = std::hypot(back.a, back.d);
    const double ky = std::hypot(back.b, back.e);
    // Picture continuous position c (pixel i spans [i, i + 1)) reads at c - ½;
    // the view holds (kx·u, −ky·v) there, moved to start at 0.
    const QTransform toAxesScaled(kx * m.a, -ky * m.d, kx * m.b, -ky * m.e, kx * m.c, -ky * m.f);
    const QTransform unshifted = QTransform::fromTranslate(-0.5, -0.5) * toAxesScaled;
    const QRectF bounds = unshifted.mapRect(QRectF(region));
    const double tx = -bounds.left(), ty = -bounds.top();
    const QTransform toView = unshifted * QTransform::fromTranslate(tx, ty);

    TraceView view;
    const QSize size(static_cast<int>(std::ceil(bounds.width())), static_cast<int>(std::ceil(bounds.height())));
    // Transparent outside the searched part: read as the backdrop, as the
    // trace reads a transparent pixel.
    view.picture = QImage(size, QImage::Format_ARGB32_Premultiplied);
    view.picture.fill(Qt::transparent);
    {
        QPainter painter(&view.picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setTransform(toView);
        painter.drawImage(QPointF(region.topLeft()), picture, region);
    }
    view.region = view.picture.rect();
    // u = (w − tx)/kx and v = (ty − w)/ky at a view position w; FrameAtTrace
    // reads half a pixel back, so the edges sit half a pixel on.
    view.frame.left = (0.5 - tx) / kx;
    view.frame.right = view.frame.left + size.width() / kx;
    view.frame.top = (ty - 0.5) / ky;
    view.frame.bottom = view.frame.top - size.height() / ky;
    view.toSurface = toView.inverted() * QTransform::fromTranslate(-0.5, -0.5);
    view.fromPicture = toView;
    return view;
}

} // namespace tracella
