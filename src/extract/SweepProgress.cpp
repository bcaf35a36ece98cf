#include "extract/SweepProgress.h"

#include <algorithm>
#include <cmath>

namespace tracella {
namespace {

// Beyond this the bar's value could not be counted in 64 bits.
constexpr double LargestMaximum = 1e18;

} // namespace

SweepProgress::SweepProgress(double maximum, std::function<void(int)> report) : m_report(std::move(report))
{
    if (!m_report || !(maximum > 0 && maximum < LargestMaximum))
        return;
    m_maximum = maximum;
    m_fullValue = static_cast<std::int64_t>(std::floor(maximum));
    m_nextChange = firstSamplesShowing(1);
}

int SweepProgress::shownFor(std::int64_t samples) const
{
    const double value = static_cast<double>(std::min(samples, m_fullValue));
    return static_cast<int>(std::floor(value * ProgressResolution / m_maximum));
}

// The fewest samples that show at least the given part, or INT64_MAX when
// the bar never gets there.
std::int64_t SweepProgress::firstSamplesShowing(int shown) const
{
    if (shown > ProgressResolution || shownFor(m_fullValue) < shown)
        return INT64_MAX;
    auto samples = std::clamp(static_cast<std::int64_t>(std::ceil(shown * m_maximum / ProgressResolution)),
                              std::int64_t{0}, m_fullValue);
    // The estimate may be one off either way through rounding.
    while (samples > 0 && shownFor(samples - 1) >= shown)
        --samples;
    while (shownFor(samples) < shown)
        ++samples;
    return samples;
}

void SweepProgress::update(std::int64_t samples)
{
    m_shown = shownFor(samples);
    m_nextChange = firstSamplesShowing(m_shown + 1);
    m_report(m_shown);
}

} // namespace tracella
