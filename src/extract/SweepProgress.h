#pragma once

#include <cstdint>
#include <functional>

namespace tracella {

// The sweep's progress is shown in this many parts of the bar. A bar up to
// this many pixels wide then never lags a bar moved at every sample by a
// whole pixel, while it is redrawn at most this many times.
inline constexpr int ProgressResolution = 1000;

// The bar of the colour sweep. Its maximum is the one the sweep gives the
// bar; after each sample the bar's value grows by one and stops at the
// maximum. The report is called with the shown part (0..ProgressResolution)
// only when that part changes. An unusable maximum (not above 0, not
// finite) leaves the bar empty.
class SweepProgress {
public:
    SweepProgress(double maximum, std::function<void(int shown)> report);

    // samples: how many samples are done.
    void advanceTo(std::int64_t samples)
    {
        if (samples >= m_nextChange)
            update(samples);
    }

private:
    int shownFor(std::int64_t samples) const;
    void update(std::int64_t samples);
    std::int64_t firstSamplesShowing(int shown) const;

    double m_maximum = 0;
    std::int64_t m_fullValue = 0; // the last value the bar takes
    std::function<void(int)> m_report;
    int m_shown = 0;
    std::int64_t m_nextChange = INT64_MAX;
};

} // namespace tracella
