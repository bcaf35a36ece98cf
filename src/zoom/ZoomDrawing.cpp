#include "zoom/ZoomDrawing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

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

// The source pixel at each of the first count destination positions when
// taken pixels are stretched to drawn ones: pixel k covers positions
// floor(k drawn / taken) up to the next one's start, so whichever lands last
// on a position shows there. -1 beyond the drawn length.
std::vector<int> StretchMap(int count, int taken, int drawn)
{
    std::vector<int> map(static_cast<std::size_t>(std::max(0, count)), -1);
    if (taken <= 0 || drawn <= 0)
        return map;
    const int covered = std::min(count, drawn);
    for (int x = 0; x < covered; ++x) {
        // The largest k with k drawn < (x + 1) taken, in whole numbers.
        const std::int64_t reach = static_cast<std::int64_t>(x + 1) * taken;
        map[static_cast<std::size_t>(x)] = static_cast<int>((reach + drawn - 1) / drawn - 1);
    }
    return map;
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

void DrawZoom(QImage& canvas, const QImage& source, const QSize& destination, float zoom, bool grid)
{
    if (source.isNull()) {
        canvas.fill(Qt::black);
        return;
    }
    if (canvas.depth() != 32)
        canvas.convertTo(QImage::Format_RGB32);
    const QImage pixels = source.convertToFormat(canvas.format());
    const std::vector<int> columns = StretchMap(canvas.width(), source.width(), destination.width());
    const std::vector<int> rows = StretchMap(canvas.height(), source.height(), destination.height());
    const QRgb black = qRgb(0, 0, 0);
    for (int y = 0; y < canvas.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        if (rows[y] < 0) {
            std::fill(line, line + canvas.width(), black);
            continue;
        }
        // Rows of one enlarged pixel are alike.
        if (y > 0 && rows[y] == rows[y - 1]) {
            std::copy_n(reinterpret_cast<const QRgb*>(canvas.constScanLine(y - 1)), canvas.width(), line);
            continue;
        }
        const auto* from = reinterpret_cast<const QRgb*>(pixels.constScanLine(rows[y]));
        for (int x = 0; x < canvas.width(); ++x)
            line[x] = columns[x] < 0 ? black : from[columns[x]];
    }
    if (grid)
        DrawGrid(canvas, zoom, zoom, ZoomGridMinimumSpacing);
}

} // namespace tracella
