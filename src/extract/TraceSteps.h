#pragma once

#include <optional>
#include <vector>

namespace tracella {

// More samples than this along one axis are refused as a step that is too small.
inline constexpr std::size_t MaxTraceSamples = 1000000;

// The independent axis of one trace: the picture's extent along it in
// pixels, the frame values at its two edges (pixel 0 and pixel extent;
// base-10 logarithms on a log axis) and the part of it to search.
struct TraceAxisSpan {
    int extent = 0;
    double frameStart = 0;
    double frameEnd = 0;
    bool log = false;
    int first = 0; // first pixel searched
    int end = 0;   // one past the last
};

enum class StepUnit { Pixels, DataUnits };

// Where to sample along the axis, in picture pixels, ascending. In pixels:
// the centre of the first pixel searched and every step from there. In data
// units: every whole multiple of the step inside the searched part, each at
// its own pixel position (on a log axis the multiples that are above 0).
// nullopt when the step is not above 0 or would give too many samples.
std::optional<std::vector<double>> TraceSamples(const TraceAxisSpan& span, double step, StepUnit unit);

} // namespace tracella
