#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tracella {

// An offset in whole pixels from a picture's centre.
struct PixelOffset {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const PixelOffset&, const PixelOffset&) = default;
};

// The rotation's mapping of a destination offset (x >= 0, y >= 0) to the
// source offset it takes its pixel from: the polar angle is held in single
// precision, the radius and the result are rounded halves to even.
class PolarTurn {
public:
    // reach: the largest x or y that will be asked for.
    PolarTurn(double angleDegrees, std::int64_t reach);

    // The mapping computed as defined, with the library's arctangent,
    // sine and cosine.
    PixelOffset defined(std::int64_t x, std::int64_t y) const;

    // The mapping of (x, 0), (x, 1), ... into offsets, with the same results
    // several times faster: the trigonometry is replaced by algebra accurate
    // to a few units in the last place, and the defined computation takes
    // over wherever that could round differently.
    // offsets holds at most reach + 1 entries.
    void column(std::int64_t x, std::span<PixelOffset> offsets);

private:
    static constexpr int TableSteps = 16;

    double halfPi_;
    double theta_;
    double cosTheta_;
    double sinTheta_;
    std::array<double, TableSteps + 1> tableAtan_{}; // atan(i / TableSteps)
    std::vector<double> reciprocal_;                 // 1 / i
    // Scratch of one column: short passes keep many rows in flight.
    std::vector<double> estimates_;
    std::vector<unsigned char> doubtful_;
};

} // namespace tracella
