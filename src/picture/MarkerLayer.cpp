#include "picture/MarkerLayer.h"

#include "picture/ViewZoom.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tracella {
namespace {

// The columns of one row of a disc, relative to its bounding box.
struct Span {
    int first;
    int last;
};

Span discSpan(int diameter, int row)
{
    const double radius = diameter / 2.0;
    const double dy = row + 0.5 - radius;
    const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
    return {std::max(0, static_cast<int>(std::ceil(radius - 0.5 - half))),
            std::min(diameter - 1, static_cast<int>(std::floor(radius - 0.5 + half)))};
}

// Whether the disc in box leaves no pixel of target uncovered. Its rows
// widen towards the middle, so the target's first and last rows decide.
bool discCovers(const QRect& box, const QRect& target)
{
    if (!box.contains(target))
        return false;
    for (const int y : {target.top(), target.bottom()}) {
        const Span span = discSpan(box.width(), y - box.top());
        if (box.left() + span.first > target.left() || box.left() + span.last < target.right())
            return false;
    }
    return true;
}

// The disc in box as rectangles within clip: one per run of rows that span
// the same columns there, so small dots are a single rectangle and a huge
// one costs the clip's rows at most.
void appendDisc(std::vector<QRect>& out, const QRect& box, const QRect& clip)
{
    const std::size_t runStart = out.size();
    const int top = std::max(box.top(), clip.top());
    const int bottom = std::min(box.bottom(), clip.bottom());
    for (int y = top; y <= bottom; ++y) {
        const Span span = discSpan(box.width(), y - box.top());
        const int left = std::max(box.left() + span.first, clip.left());
        const int right = std::min(box.left() + span.last, clip.right());
        if (left > right)
            continue;
        if (out.size() > runStart && out.back().left() == left && out.back().right() == right &&
            out.back().bottom() == y - 1)
            out.back().setBottom(y);
        else
            out.emplace_back(left, y, right - left + 1, 1);
    }
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

void MarkerLayer::add(const Marker& marker, const QRect& canvas)
{
    const int index = static_cast<int>(markers_.size());
    markers_.push_back(marker);
    const QRect footprint = bounds(marker) & canvas;
    footprints_.push_back(footprint);
    if (footprint.isEmpty())
        return; // off the picture: counted, never drawn
    ++filed_;
    const int left = cellOf(footprint.left(), CellSide), right = cellOf(footprint.right(), CellSide);
    const int top = cellOf(footprint.top(), CellSide), bottom = cellOf(footprint.bottom(), CellSide);
    if (right - left > 1 || bottom - top > 1) {
        wide_.push_back(index);
        return;
    }
    for (int cy = top; cy <= bottom; ++cy)
        for (int cx = left; cx <= right; ++cx)
            cells_[cellKey(cx, cy)].push_back(index);
}

void MarkerLayer::clear()
{
    markers_.clear();
    footprints_.clear();
    cells_.clear();
    wide_.clear();
    filed_ = 0;
}

std::vector<int> MarkerLayer::touching(const QRect& exposed) const
{
    std::vector<int> found;
    if (exposed.isEmpty() || filed_ == 0)
        return found;
    const auto meets = [&](int i) { return footprints_[static_cast<std::size_t>(i)].intersects(exposed); };
    const int left = cellOf(exposed.left(), CellSide), right = cellOf(exposed.right(), CellSide);
    const int top = cellOf(exposed.top(), CellSide), bottom = cellOf(exposed.bottom(), CellSide);
    const auto cellCount = static_cast<std::uint64_t>(right - left + 1) * static_cast<std::uint64_t>(bottom - top + 1);
    if (cellCount >= static_cast<std::uint64_t>(filed_)) {
        // A large area with few dots: looking at every dot is cheaper.
        for (int i = 0; i < count(); ++i)
            if (meets(i))
                found.push_back(i);
        return found;
    }
    for (int cy = top; cy <= bottom; ++cy) {
        for (int cx = left; cx <= right; ++cx) {
            const auto cell = cells_.find(cellKey(cx, cy));
            if (cell == cells_.end())
                continue;
            for (int i : cell->second)
                if (meets(i))
                    found.push_back(i);
        }
    }
    for (int i : wide_)
        if (meets(i))
            found.push_back(i);
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
    std::vector<int> found = touching(exposed.adjusted(-reach, -reach, reach, reach));
    if (found.empty())
        return;
    std::stable_partition(found.begin(), found.end(),
                          [this](int i) { return markers_[static_cast<std::size_t>(i)].group != topGroup_; });
    // What must be drawn, in the painter's pixels: picture pixels unless reduced.
    const QRect target = reduced ? ViewZoom(scale).viewRect(exposed) : exposed;
    const auto boxOf = [&](int i) {
        const Marker& m = markers_[static_cast<std::size_t>(i)];
        return reduced ? reducedBounds(m, scale) : bounds(m);
    };
    auto first = found.begin();
    for (auto it = found.end(); it != found.begin();) {
        --it;
        if (discCovers(boxOf(*it), target)) {
            first = it;
            break;
        }
    }
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
    for (auto it = first; it != found.end(); ++it) {
        const Colour colour = markers_[static_cast<std::size_t>(*it)].colour;
        if (colour != batchColour)
            flush();
        batchColour = colour;
        appendDisc(batch, boxOf(*it), target);
    }
    flush();
    painter.restore();
}

} // namespace tracella
