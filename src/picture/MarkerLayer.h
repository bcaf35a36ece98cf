#pragma once

#include "app/core/AppState.h"

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <unordered_map>
#include <vector>

class QPainter;

namespace tracella {

// One dot drawn over the picture: the pixel it is centred on, its colour,
// its diameter in pixels and the group (the curve) it was drawn for.
struct Marker {
    QPoint centre;
    Colour colour = 0;
    int diameter = 1;
    int group = 0;
};

// The drawings over the picture, kept as a list of dots instead of a second
// full-size image. Small dots are filed in coarse square cells, so painting
// a viewport touches only the dots near it, however many there are; a dot
// wider than a cell is listed once, whatever its size, so the index grows
// with the number of dots, never with their area.
class MarkerLayer {
public:
    // A dot counts only where it covers the canvas (the picture's pixels):
    // one far larger than the picture costs no more than the picture.
    void add(const Marker& marker, const QRect& canvas);
    void clear();

    int count() const { return static_cast<int>(markers_.size()); }
    const std::vector<Marker>& markers() const { return markers_; }

    // The pixels a dot covers: a disc of its diameter, centred on its pixel.
    static QRect bounds(const Marker& marker);

    // Paints, in the order they were drawn, the dots that touch the exposed
    // rectangle of picture pixels; the painter works in view pixels, scale
    // times the picture's. Enlarged, a dot grows with its pixels; reduced,
    // it keeps at least one view pixel, so no marker vanishes from sight.
    // Dots hidden under a later one that covers the whole exposed part are
    // not drawn at all. The top group's dots come after all others.
    void paint(QPainter& painter, const QRect& exposed, double scale = 1.0) const;

    // Which group is painted on top; choosing another reorders nothing.
    void setTopGroup(int group) { topGroup_ = group; }

private:
    static constexpr int CellSide = 128;

    static std::uint64_t cellKey(int cellX, int cellY);
    std::vector<int> touching(const QRect& exposed) const;

    std::vector<Marker> markers_;
    std::vector<QRect> footprints_; // each dot's bounds on the canvas
    std::unordered_map<std::uint64_t, std::vector<int>> cells_;
    std::vector<int> wide_; // dots wider than a cell, in drawing order
    int filed_ = 0;         // dots with a footprint on the canvas
    int topGroup_ = 0;
};

} // namespace tracella
