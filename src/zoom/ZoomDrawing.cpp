#include "zoom/ZoomDrawing.h"

#include <QPainter>

#include <cmath>

namespace tracella {
namespace {

QBrush GridBrush()
{
    return MakeCheckerBrush(QColor(128, 128, 128), QColor(192, 192, 192));
}

// The eight rows of an 8 x 8 pattern in the canvas's pixel format.
struct PatternRows {
    explicit PatternRows(const QImage& pattern) : image(pattern)
    {
        for (int y = 0; y < 8; ++y)
            rows[y] = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    }
    QImage image;
    const QRgb* rows[8];
};

// A pattern copy of one block: every pixel takes the pattern's pixel at its
// position modulo 8.
void PatternFill(uchar* bits, qsizetype bytesPerLine, const QRect& block, const PatternRows& pattern)
{
    for (int y = block.top(); y <= block.bottom(); ++y) {
        const QRgb* row = pattern.rows[y & 7];
        auto* line = reinterpret_cast<QRgb*>(bits + y * bytesPerLine);
        for (int x = block.left(); x <= block.right(); ++x)
            line[x] = row[x & 7];
    }
}

} // namespace

QBrush MakeCheckerBrush(const QColor& first, const QColor& second)
{
    QImage pattern(8, 8, QImage::Format_RGB32);
    const QRgb even = first.rgb();
    const QRgb odd = second.rgb();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            pattern.setPixel(x, y, (x + y) % 2 == 0 ? even : odd);
    }
    return QBrush(pattern);
}

std::vector<QRect> GridLines(const QSize& canvas, double dx, double dy, double minimumSpacing)
{
    std::vector<QRect> lines;
    if (dx < minimumSpacing || dy < minimumSpacing)
        return lines;
    for (int k = 0; k * dx <= canvas.width(); ++k)
        lines.emplace_back(static_cast<int>(std::floor(k * dx)), 0, 1, canvas.height());
    for (int k = 0; k * dy <= canvas.height(); ++k)
        lines.emplace_back(0, static_cast<int>(std::floor(k * dy)), canvas.width(), 1);
    return lines;
}

void DrawGrid(QPainter& painter, const QSize& canvas, double dx, double dy, double minimumSpacing)
{
    const std::vector<QRect> lines = GridLines(canvas, dx, dy, minimumSpacing);
    if (lines.empty())
        return;
    const QBrush brush = GridBrush();
    for (const QRect& line : lines)
        painter.fillRect(line, brush);
}

void DrawGrid(QImage& canvas, double dx, double dy, double minimumSpacing)
{
    if (canvas.depth() != 32) {
        QPainter painter(&canvas);
        DrawGrid(painter, canvas.size(), dx, dy, minimumSpacing);
        return;
    }
    const std::vector<QRect> lines = GridLines(canvas.size(), dx, dy, minimumSpacing);
    if (lines.empty())
        return;
    const PatternRows pattern(GridBrush().textureImage().convertToFormat(canvas.format()));
    uchar* bits = canvas.bits();
    const qsizetype bytesPerLine = canvas.bytesPerLine();
    for (const QRect& line : lines)
        PatternFill(bits, bytesPerLine, line & canvas.rect(), pattern);
}

void DrawZoom(QImage& canvas, const QImage& source, const QSize& destination, bool grid)
{
    if (source.isNull()) {
        canvas.fill(Qt::black);
        return;
    }
    const double scaleX = static_cast<double>(destination.width()) / source.width();
    const double scaleY = static_cast<double>(destination.height()) / source.height();
    {
        QPainter painter(&canvas);
        // The destination always covers the canvas, so the copy replaces it all.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        // The painter samples each pixel's centre; half a pixel up and left,
        // screen pixel k starts at column floor(k * scale), where its grid
        // line falls.
        constexpr double HalfPixel = 0.499;
        painter.drawImage(QRectF(-HalfPixel, -HalfPixel, destination.width(), destination.height()), source);
    }
    if (grid)
        DrawGrid(canvas, scaleX, scaleY, ZoomGridMinimumSpacing);
}

} // namespace tracella
