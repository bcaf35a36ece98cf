#include "picture/MarkerLayer.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tracella {
namespace {

// A disc as rectangles relative to its bounding box: one per run of rows
// that span the same columns, so small dots are a single rectangle.
std::vector<QRect> discRects(int diameter)
{
    const double radius = diameter / 2.0;
    std::vector<QRect> rects;
    for (int r = 0; r < diameter; ++r) {
        const double dy = r + 0.5 - radius;
        const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
        const int first = std::max(0, static_cast<int>(std::ceil(radius - 0.5 - half)));
        const int last = std::min(diameter - 1, static_cast<int>(std::floor(radius - 0.5 + half)));
        if (!rects.empty() && rects.back().left() == first && rects.back().right() == last)
            rects.back().setBottom(r);
        else
            rects.emplace_back(first, r, last - first + 1, 1);
    }
    return rects;
}

int cellOf(int pixel, int side)
{
    return pixel >= 0 ? pixel / side : -((-pixel - 1) / side) - 1;
}

// A dot of the reduced view: its diameter scaled, at least one pixel,
// centred where its pixel lands.
QRect reducedBounds(const Marker& m, double scale)
{
    const int d = std::max(1, static_cast<int>(std::lround(std::max(1, m.diameter) * scale)));
    const int x = static_cast<int>(std::floor((m.centre.x() + 0.5) * scale));
    const int y = static_cast<int>(std::floor((m.centre.y() + 0.5) * scale));
    return {x - d / 2, y - d / 2, d, d};
}

QColor colourOf(Colour c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

QRect MarkerLayer::bounds(const Marker& m)
{
    const int d = std::max(1, m.diameter);
    return {m.centre.x() - d / 2, m.centre.y() - d / 2, d, d};
}

std::uint64_t MarkerLayer::cellKey(int cellX, int cellY)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cellX)) << 32) |
           static_cast<std::uint32_t>(cellY);
}

void MarkerLayer::add(const Marker& marker)
{
    const int index = static_cast<int>(markers_.size());
    markers_.push_back(marker);
    const QRect r = bounds(marker);
    for (int cy = cellOf(r.top(), CellSide); cy <= cellOf(r.bottom(), CellSide); ++cy)
        for (int cx = cellOf(r.left(), CellSide); cx <= cellOf(r.right(), CellSide); ++cx)
            cells_[cellKey(cx, cy)].push_back(index);
}

void MarkerLayer::clear()
{
    markers_.clear();
    cells_.clear();
}

std::vector<int> MarkerLayer::touching(const QRect& exposed) const
{
    std::vector<int> found;
    if (exposed.isEmpty() || markers_.empty())
        return found;
    const int left = cellOf(exposed.left(), CellSide), right = cellOf(exposed.right(), CellSide);
    const int top = cellOf(exposed.top(), CellSide), bottom = cellOf(exposed.bottom(), CellSide);
    const auto cellCount = static_cast<std::uint64_t>(right - left + 1) * static_cast<std::uint64_t>(bottom - top + 1);
    if (cellCount >= markers_.size()) {
        // A large area with few dots: looking at every dot is cheaper.
        for (int i = 0; i < count(); ++i)
            if (bounds(markers_[static_cast<std::size_t>(i)]).intersects(exposed))
                found.push_back(i);
        return found;
    }
    for (int cy = top; cy <= bottom; ++cy) {
        for (int cx = left; cx <= right; ++cx) {
            const auto cell = cells_.find(cellKey(cx, cy));
            if (cell == cells_.end())
                continue;
            for (int i : cell->second)
                if (bounds(markers_[static_cast<std::size_t>(i)]).intersects(exposed))
                    found.push_back(i);
        }
    }
    // A dot filed in several cells is found once per cell; drawing order is
    // the order of drawing.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

void MarkerLayer::paint(QPainter& painter, const QRect& exposed, double scale) const
{
    const bool reduced = scale < 1.0;
    // A reduced dot may reach a view pixel beyond its own picture pixels.
    const int reach = reduced ? static_cast<int>(std::ceil(1.0 / scale)) : 0;
    const std::vector<int> found = touching(exposed.adjusted(-reach, -reach, reach, reach));
    if (found.empty())
        return;
    std::unordered_map<int, std::vector<QRect>> discs;
    // Runs of dots in one colour go to the painter in one call.
    std::vector<QRect> batch;
    Colour batchColour = 0;
    painter.save();
    painter.setPen(Qt::NoPen);
    if (scale > 1.0)
        painter.scale(scale, scale);
    const auto flush = [&] {
        if (batch.empty())
            return;
        painter.setBrush(colourOf(batchColour));
        painter.drawRects(batch.data(), static_cast<int>(batch.size()));
        batch.clear();
    };
    for (int i : found) {
        const Marker& m = markers_[static_cast<std::size_t>(i)];
        const QRect box = reduced ? reducedBounds(m, scale) : bounds(m);
        auto disc = discs.find(box.width());
        if (disc == discs.end())
            disc = discs.emplace(box.width(), discRects(box.width())).first;
        if (m.colour != batchColour)
            flush();
        batchColour = m.colour;
        for (const QRect& part : disc->second)
            batch.push_back(part.translated(box.topLeft()));
    }
    flush();
    painter.restore();
}

} // namespace tracella
