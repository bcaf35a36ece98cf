#include "extract/SweepProgress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace tracella {
namespace {

// The part a bar with this maximum shows after so many samples, one step a
// sample and never beyond the maximum.
int ShownPart(double maximum, std::int64_t samples)
{
    const double value = std::min<double>(static_cast<double>(samples), std::floor(maximum));
    return static_cast<int>(std::floor(value * ProgressResolution / maximum));
}

std::vector<int> Reports(double maximum, std::int64_t samples)
{
    std::vector<int> reports;
    SweepProgress progress(maximum, [&](int shown) { reports.push_back(shown); });
    for (std::int64_t s = 1; s <= samples; ++s)
        progress.advanceTo(s);
    return reports;
}

TEST(SweepProgress, ReportsEveryChangeOfTheShownPartOnce)
{
    for (const double maximum : {2600.0, 999.0, 1000.0, 7.0, 1600800.0}) {
        const auto samples = static_cast<std::int64_t>(maximum) + 1;
        std::vector<int> expected;
        int last = 0;
        for (std::int64_t s = 1; s <= samples; ++s) {
            if (ShownPart(maximum, s) != last)
                expected.push_back(last = ShownPart(maximum, s));
        }
        EXPECT_EQ(Reports(maximum, samples), expected) << maximum;
        EXPECT_EQ(expected.back(), ProgressResolution) << maximum;
    }
}

TEST(SweepProgress, StopsAtTheMaximumAndIgnoresAnUnusableOne)
{
    // A fractional maximum: the value stops at 2 of 2.5.
    EXPECT_EQ(Reports(2.5, 10), (std::vector<int>{400, 800}));
    for (const double maximum : {0.0, -5.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_TRUE(Reports(maximum, 10).empty()) << maximum;

    std::vector<int> reports;
    SweepProgress progress(2600, [&](int shown) { reports.push_back(shown); });
    progress.advanceTo(0);
    progress.advanceTo(1300);
    progress.advanceTo(1300);
    progress.advanceTo(5000);
    EXPECT_EQ(reports, (std::vector<int>{500, 1000}));
}

} // namespace
} // namespace tracella
