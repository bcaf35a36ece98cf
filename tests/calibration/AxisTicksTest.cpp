#include "calibration/AxisTicks.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>

using namespace tracella;

namespace {

double Day(const char* iso)
{
    return ParseIsoDate(QLatin1String(iso))->seconds;
}

} // namespace

TEST(AxisTicks, RoundValuesOnEachKindOfAxis)
{
    struct Case {
        AxisKind kind;
        double from, to;
        int wanted;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {AxisKind::Linear, -0.3, 10.2, 5, {0, 2, 4, 6, 8, 10}},
        {AxisKind::Linear, 0.013, 0.05, 4, {0.02, 0.03, 0.04, 0.05}},
        {AxisKind::Log, -1, 3, 8, {-1, 0, 1, 2, 3}},
        {AxisKind::Log, 0, 1, 8, {0, std::log10(2.0), std::log10(5.0), 1}},
        {AxisKind::Date, Day("2024-01-01T00:00"), Day("2024-01-01T23:00"), 6, {}}, // 6-hourly below
        {AxisKind::Date, Day("2023-12-20"), Day("2024-12-31"), 6, {}},             // quarterly below
    };
    for (const Case& k : cases) {
        const std::vector<double> got = RoundCoordinates(k.kind, k.from, k.to, k.wanted);
        if (k.kind != AxisKind::Date) {
            ASSERT_EQ(got.size(), k.expected.size()) << k.from;
            for (std::size_t i = 0; i < got.size(); ++i)
                EXPECT_NEAR(got[i], k.expected[i], 1e-12) << k.from;
            continue;
        }
        QStringList shown;
        for (const double t : got)
            shown << IsoDateText(t, DatePrecision::Minutes);
        const bool hours = k.to - k.from < 86400;
        EXPECT_EQ(shown, hours ? QStringList({"2024-01-01T00:00", "2024-01-01T06:00", "2024-01-01T12:00",
                                              "2024-01-01T18:00"})
                               : QStringList({"2024-01-01T00:00", "2024-04-01T00:00", "2024-07-01T00:00",
                                              "2024-10-01T00:00"}));
    }
}

TEST(AxisTicks, TicksLieOnTheTurnedAxisLineAtTheirValues)
{
    const std::array<AxisReference, 2> xs{AxisReference{QPointF(100, 500), "1"}, AxisReference{QPointF(499, 486), "8"}};
    const std::array<AxisReference, 2> ys{AxisReference{QPointF(95, 450), "10"}, AxisReference{QPointF(80, 60), "1000"}};
    const auto c = std::get<AffineCalibration>(CalibrateByAxes(xs, ys, {}, {true, false}));
    for (const Axis axis : {Axis::X, Axis::Y}) {
        const AxisDrawing drawing = DrawnAxis(c, axis, QSizeF(600, 600));
        ASSERT_GE(drawing.ticks.size(), 3u);
        for (const AxisTick& tick : drawing.ticks) {
            const QPointF at = c.toAxes.map(tick.pixel);
            // On the line through the references, at the value its text shows.
            EXPECT_NEAR(axis == Axis::X ? at.y() : at.x(), axis == Axis::X ? c.xAxisAt : c.yAxisAt, 1e-9);
            const double shown = tick.text.toDouble();
            EXPECT_NEAR(axis == Axis::X ? at.x() : std::pow(10.0, at.y()), shown, 1e-9 * std::max(1.0, shown));
            EXPECT_NEAR(std::hypot(tick.across.x(), tick.across.y()), 1, 1e-12);
        }
    }
}
