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
// out once for the part; each tolerance then only compares numbers, and
// skips whole blocks of a row whose nearest pixel lies beyond it.
class MatchPreview {
public:
    MatchPreview() = default;
    // The picture is read as the surface shows it over backdrop; area is clipped to it.
    MatchPreview(const QImage& picture, const QRect& area, Colour colour, Colour backdrop, bool perceptual = false);
    // The same for another part or colour, in the memory already held: the
    // preview is read again on every change of colour or scroll.
    // Perceptual: the distances a curve follow uses, not the RGB ones.
    void read(const QImage& picture, const QRect& area, Colour colour, Colour backdrop, bool perceptual = false);

    const QRect& area() const { return area_; }
    Colour colour() const { return colour_; }
    bool perceptual() const { return perceptual_; }

    // The runs of pixels within the tolerance, row by row.
    std::vector<MatchRun> runs(int tolerance) const;

private:
    static constexpr int BlockWidth = 32;

    QRect area_;
    Colour colour_ = -1;
    bool perceptual_ = false;
    int blocksPerRow_ = 0;
    // The squared RGB distance of each pixel, as the trace tests it; those
    // beyond any tolerance are all held as one value past 255 * 255.
    std::vector<std::uint16_t> distances_;
    std::vector<std::uint16_t> nearest_; // the least distance in each block of a row
};

} // namespace tracella
