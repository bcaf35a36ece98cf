#include "picture/PixelRotation.h"

#include "app/core/NumberReading.h"
#include "picture/PolarTurn.h"

#include <QColor>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

namespace tracella {

namespace {

QImage::Format WorkingFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return format;
    default:
        return QImage::Format_ARGB32;
    }
}

// 32-bit pixels of an image reached through its scan lines.
template <typename Byte>
class PixelGrid {
public:
    PixelGrid(Byte* bits, qsizetype bytesPerLine, int width, int height)
        : bits_(bits), bytesPerLine_(bytesPerLine), width_(static_cast<std::uint64_t>(width)),
          height_(static_cast<std::uint64_t>(height))
    {
    }

    // Negative positions wrap to huge unsigned ones and fail the same test.
    bool contains(std::int64_t x, std::int64_t y) const
    {
        return static_cast<std::uint64_t>(x) < width_ && static_cast<std::uint64_t>(y) < height_;
    }

    auto& at(std::int64_t x, std::int64_t y) const
    {
        using Pixel = std::conditional_t<std::is_const_v<Byte>, const QRgb, QRgb>;
        return reinterpret_cast<Pixel*>(bits_ + y * bytesPerLine_)[x];
    }

private:
    Byte* bits_;
    qsizetype bytesPerLine_;
    std::uint64_t width_;
    std::uint64_t height_;
};

// Each of the four copies of a column writes outwards from the centre, so
// beyond the last row that one of them can still place inside the
// destination, every copy falls outside it and the rows can be skipped.
struct DestinationReach {
    std::int64_t width;
    std::int64_t height;
    std::int64_t c2x;
    std::int64_t c2y;

    std::int64_t lastUsefulRow(std::int64_t p2x) const
    {
        std::int64_t last = -1;
        if (c2x + p2x < width)
            last = std::max(last, height - c2y - 1);
        if (p2x <= c2x)
            last = std::max(last, c2y);
        if (p2x <= c2y)
            last = std::max(last, width - c2x - 1);
        if (c2y + p2x < height)
            last = std::max(last, c2x);
        return last;
    }
};

} // namespace

QSize RotatedSize(QSize source, double angleDegrees)
{
    const double theta = angleDegrees * 4 * std::atan(1.0) / 180;
    const double w = source.width();
    const double h = source.height();
    const double height = std::abs(h * std::cos(theta)) + std::abs(w * std::sin(theta));
    const double width = std::abs(w * std::cos(theta)) + std::abs(h * std::sin(theta));
    return {static_cast<int>(RoundHalfEven(width)), static_cast<int>(RoundHalfEven(height))};
}

void RotatePicture(QImage& destination, const QImage& source, double angleDegrees,
                   const std::function<void()>& perColumn)
{
    const QImage::Format format = WorkingFormat(source.format());
    const QImage sourceImage = source.convertToFormat(format);
    if (destination.format() != format)
        destination.convertTo(format);
    const PixelGrid<const uchar> from(sourceImage.constBits(), sourceImage.bytesPerLine(), sourceImage.width(),
                                      sourceImage.height());
    const PixelGrid<uchar> to(destination.bits(), destination.bytesPerLine(), destination.width(),
                              destination.height());
    const auto copy = [&](std::int64_t sx, std::int64_t sy, std::int64_t dx, std::int64_t dy) {
        if (from.contains(sx, sy) && to.contains(dx, dy))
            to.at(dx, dy) = from.at(sx, sy);
    };

    const std::int64_t c1x = sourceImage.width() / 2;
    const std::int64_t c1y = sourceImage.height() / 2;
    const std::int64_t c2x = destination.width() / 2;
    const std::int64_t c2y = destination.height() / 2;
    const std::int64_t n = std::max(c2x, c2y) - 1;
    const DestinationReach reach{destination.width(), destination.height(), c2x, c2y};
    PolarTurn turn(angleDegrees, n);
    std::vector<PixelOffset> offsets(static_cast<std::size_t>(std::max<std::int64_t>(n + 1, 0)));

    for (std::int64_t p2x = 0; p2x <= n; ++p2x) {
        const std::int64_t rows = std::min(n, reach.lastUsefulRow(p2x)) + 1;
        turn.column(p2x, std::span(offsets).first(static_cast<std::size_t>(rows)));
        for (std::int64_t p2y = 0; p2y < rows; ++p2y) {
            const PixelOffset p1 = offsets[p2y];
            copy(c1x + p1.x, c1y + p1.y, c2x + p2x, c2y + p2y);
            copy(c1x - p1.x, c1y - p1.y, c2x - p2x, c2y - p2y);
            copy(c1x + p1.y, c1y - p1.x, c2x + p2y, c2y - p2x);
            copy(c1x - p1.y, c1y + p1.x, c2x - p2y, c2y + p2x);
        }
        if (perColumn)
            perColumn();
    }
}

QImage RotatedPicture(const QImage& source, double angleDegrees, Colour background,
                      const std::function<void()>& perColumn)
{
    QImage canvas(RotatedSize(source.size(), angleDegrees), WorkingFormat(source.format()));
    canvas.fill(QColor(RedOf(background), GreenOf(background), BlueOf(background)));
    RotatePicture(canvas, source, angleDegrees, perColumn);
    return canvas;
}

} // namespace tracella
