#pragma once

#include "app/core/AppState.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

namespace tracella {

// A stretch of matching pixels along one row, in picture pixels.
struct MatchRun {
    int row;
    int begin; // first matching pixel
    int end;   // one past the last
};

// The matching pixels of one part of the picture, for showing over it while
// the tolerance changes. The distance of each pixel to the colour is worked
// out once for the part; each tolerance then only compares numbers.
class MatchPreview {
public:
    MatchPreview() = default;
    // The picture is read as the surface shows it over backdrop; area is clipped to it.
    MatchPreview(const QImage& picture, const QRect& area, Colour colour, Colour backdrop);

    const QRect& area() const { return area_; }
    Colour colour() const { return colour_; }

    // The runs of pixels within the tolerance, row by row.
    std::vector<MatchRun> runs(int tolerance) const;

private:
    QRect area_;
    Colour colour_ = -1;
    // The RGB distance of each pixel rounded up, so that distance <= t is the
    // trace's own test of squared distance <= t * t.
    std::vector<std::uint16_t> distances_;
};

} // namespace tracella
