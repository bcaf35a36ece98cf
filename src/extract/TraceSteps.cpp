#include "extract/TraceSteps.h"

#include <algorithm>
#include <cmath>

namespace tracella {
namespace {

double FrameAt(const TraceAxisSpan& span, double pixel)
{
    return span.frameStart + pixel * (span.frameEnd - span.frameStart) / span.extent;
}

double PixelAt(const TraceAxisSpan& span, double frame)
{
    return (frame - span.frameStart) * span.extent / (span.frameEnd - span.frameStart);
}

double DataAt(const TraceAxisSpan& span, double pixel)
{
    const double f = FrameAt(span, pixel);
    return span.log ? std::pow(10.0, f) : f;
}

std::optional<std::vector<double>> InDataUnits(const TraceAxisSpan& span, double step)
{
    if (span.frameEnd == span.frameStart)
        return std::nullopt;
    const double a = DataAt(span, span.first), b = DataAt(span, span.end);
    const double low = std::min(a, b), high = std::max(a, b);
    // A multiple that the rounding of the edges puts just outside still counts.
    const double first = std::ceil(low / step - 1e-9), last = std::floor(high / step + 1e-9);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first + 1 > static_cast<double>(MaxTraceSamples))
        return std::nullopt;
    std::vector<double> samples;
    for (double k = first; k <= last; ++k) {
        const double value = k * step;
        if (span.log && value <= 0)
            continue;
        const double pixel = PixelAt(span, span.log ? std::log10(value) : value);
        // Clamped so that a multiple on an edge is read from the pixel beside it.
        samples.push_back(std::clamp(pixel, static_cast<double>(span.first), std::nextafter(span.end, span.first)));
    }
    std::sort(samples.begin(), samples.end());
    return samples;
}

} // namespace

std::optional<std::vector<double>> TraceSamples(const TraceAxisSpan& span, double step, StepUnit unit)
{
    if (!(step > 0) || !std::isfinite(step) || span.end <= span.first || span.extent <= 0)
        return std::nullopt;
    if (unit == StepUnit::DataUnits)
        return InDataUnits(span, step);
    if ((span.end - span.first) / step > static_cast<double>(MaxTraceSamples))
        return std::nullopt;
    std::vector<double> samples;
    for (double k = 0;; ++k) {
        const double pixel = span.first + 0.5 + k * step;
        if (pixel >= span.end)
            break;
        samples.push_back(pixel);
    }
    return samples;
}

} // namespace tracella
