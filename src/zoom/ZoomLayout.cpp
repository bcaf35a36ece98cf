#include "zoom/ZoomLayout.h"

#include "app/core/NumberReading.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tracella {
namespace {

struct Span {
    int start;
    int sourceLength;
    int destinationLength;
};

// One axis of the layout; the arithmetic mixes the single-precision factor
// with whole pixels the way the view has always done.
Span SpanAround(int pointer, int view, float zoom)
{
    const double z = zoom;
    Span span{pointer - static_cast<int>(std::floor(view / 2.0 / z)), static_cast<int>(std::floor(view / z)), view};
    const int drawn = static_cast<int>(std::floor(z * span.sourceLength));
    if (drawn > view) {
        span.destinationLength = drawn;
    } else if (drawn < view) {
        // One more source pixel, partly outside the view, fills the gap;
        // below 100 % the factor added may fall short of the view's edge.
        span.sourceLength += 1;
        span.destinationLength = std::max(view, static_cast<int>(RoundHalfEven(z + drawn)));
    }
    return span;
}

} // namespace

ZoomLayout ZoomLayoutAt(QPoint pointer, QSize view, float zoom)
{
    const Span x = SpanAround(pointer.x(), view.width(), zoom);
    const Span y = SpanAround(pointer.y(), view.height(), zoom);
    return {QRect(x.start, y.start, x.sourceLength, y.sourceLength), QSize(x.destinationLength, y.destinationLength)};
}

QImage ZoomSourceImage(const QRect& source, const QRect& screen, const std::function<QImage(const QRect&)>& grab)
{
    const QRect covered = source & screen;
    if (covered == source)
        return grab(source);
    QImage image(source.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    if (covered.isEmpty())
        return image;
    const QImage part = grab(covered);
    if (part.isNull())
        return {};
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(covered.topLeft() - source.topLeft(), part);
    return image;
}

} // namespace tracella
