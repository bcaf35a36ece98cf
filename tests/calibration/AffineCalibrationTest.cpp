#include "calibration/ActiveCalibration.h"
#include "calibration/AffineCalibration.h"
#include "calibration/AxisTicks.h"
#include "calibration/Calibration.h"
#include "calibration/FrameMapping.h"

#include <gtest/gtest.h>

#include <QLineF>
#include <QStringList>
#include <QTransform>
#include <cmath>
#include <numbers>

using namespace tracella;

namespace {

const QSize PictureSize(1000, 800);

// A generated plot whose truth is known exactly: axis coordinates (log10 on
// a log axis) to pixels, turned by `turn` degrees and sheared by `shear`.
struct Plot {
    bool log = false;
    double turn = 0;
    double shear = 0;

    double u0() const { return 0; }
    double u1() const { return log ? 3 : 10; }
    double v0() const { return log ? -1 : 0; }
    double v1() const { return log ? 3 : 100; }
    QTransform truth() const
    {
        QTransform t;
        t.translate(100, 700);
        t.rotate(-turn);
        t.shear(std::tan(shear * std::numbers::pi / 180), 0);
        t.scale(800 / (u1() - u0()), -600 / (v1() - v0()));
        t.translate(-u0(), -v0());
        return t;
    }
    QPointF pixel(double u, double v) const { return truth().map(QPointF(u, v)); }
    QString typed(double coordinate) const
    {
        return QString::number(log ? std::pow(10.0, coordinate) : coordinate, 'g', 17);
    }
};

// Reads a pixel through the active calibration as a click does (single
// precision position) and returns how far, in pixels, the value lies from
// the truth.
double PixelError(const ActiveCalibration& calibration, const Plot& plot, QPointF truePixel)
{
    const AppState state;
    const QPointF at(static_cast<float>(truePixel.x()), static_cast<float>(truePixel.y()));
    const auto read = calibration.valuesAt({at.x(), true}, {at.y(), true}, state);
    const DataPoint point = std::get<DataPoint>(read);
    const double u = plot.log ? std::log10(point.x.value) : point.x.value;
    const double v = plot.log ? std::log10(point.y.value) : point.y.value;
    return QLineF(plot.pixel(u, v), truePixel).length();
}

double WorstError(const AffineOutcome& outcome, const Plot& plot)
{
    ActiveCalibration calibration;
    calibration.useAffine(std::get<AffineCalibration>(outcome));
    double worst = 0;
    for (double fu = 0; fu <= 1; fu += 0.125)
        for (double fv = 0; fv <= 1; fv += 0.125)
            worst = std::max(worst, PixelError(calibration, plot, plot.pixel(plot.u0() + fu * (plot.u1() - plot.u0()),
                                                                            plot.v0() + fv * (plot.v1() - plot.v0()))));
    return worst;
}

double Day(const char* iso)
{
    return ParseIsoDate(QLatin1String(iso))->seconds;
}

KnownReference Known(const Plot& plot, double fu, double fv)
{
    const double u = plot.u0() + fu * (plot.u1() - plot.u0());
    const double v = plot.v0() + fv * (plot.v1() - plot.v0());
    return {plot.pixel(u, v), plot.typed(u), plot.typed(v)};
}

} // namespace

TEST(AffineCalibration, TurnedAndShearedPlotsReadBackWithinATwentiethOfAPixel)
{
    for (const bool log : {false, true}) {
        for (const double turn : {0.5, 2.0, 5.0}) {
            for (const double shear : {0.0, 1.0}) {
                const Plot plot{log, turn, shear};
                const AxisChoice choice{log, false};
                SCOPED_TRACE(QStringLiteral("log %1 turn %2 shear %3").arg(log).arg(turn).arg(shear).toStdString());
                const double u = plot.u1() - plot.u0(), v = plot.v1() - plot.v0();
                const std::array<AxisReference, 2> xs{
                    AxisReference{plot.pixel(plot.u0() + 0.2 * u, plot.v0()), plot.typed(plot.u0() + 0.2 * u)},
                    AxisReference{plot.pixel(plot.u0() + 0.9 * u, plot.v0()), plot.typed(plot.u0() + 0.9 * u)}};
                const std::array<AxisReference, 2> ys{
                    AxisReference{plot.pixel(plot.u0(), plot.v0() + 0.8 * v), plot.typed(plot.v0() + 0.8 * v)},
                    AxisReference{plot.pixel(plot.u0(), plot.v0() + 0.3 * v), plot.typed(plot.v0() + 0.3 * v)}};
                EXPECT_LT(WorstError(CalibrateByAxes(xs, ys, choice, choice), plot), 0.05);

                const std::vector<KnownReference> three{Known(plot, 0, 0), Known(plot, 1, 0.2), Known(plot, 0.4, 1)};
                EXPECT_LT(WorstError(CalibrateByKnownPoints(three, choice, choice), plot), 0.05);
                std::vector<KnownReference> six = three;
                for (const auto& [fu, fv] : {std::pair{1.0, 1.0}, {0.5, 0.5}, {0.0, 0.7}})
                    six.push_back(Known(plot, fu, fv));
                const auto fitted = CalibrateByKnownPoints(six, choice, choice);
                EXPECT_LT(WorstError(fitted, plot), 0.05);
                EXPECT_TRUE(std::get<AffineCalibration>(fitted).warning.isEmpty());
            }
        }
    }
}

TEST(AffineCalibration, LeastSquaresNamesTheMistypedPointWorstFirst)
{
    const Plot plot{false, 2.0, 1.0};
    std::vector<KnownReference> six{Known(plot, 0, 0), Known(plot, 1, 0), Known(plot, 0, 1),
                                    Known(plot, 1, 1), Known(plot, 0.5, 0.3), Known(plot, 0.3, 0.6)};
    six[4].typedY = plot.typed(0.3 * 100 * 1.1); // 10 % off
    const auto fitted = CalibrateByKnownPoints(six, {}, {});
    const auto& c = std::get<AffineCalibration>(fitted);
    ASSERT_EQ(c.residuals.size(), 6u);
    EXPECT_GT(c.residuals[4].pixels, ResidualWarningPixels);
    EXPECT_TRUE(c.warning.startsWith(QStringLiteral("Point 5 is "))) << c.warning.toStdString();
}

TEST(AffineCalibration, BadInputIsRefusedNamingThePoint)
{
    const QPointF a(100, 700), b(700, 690), c(110, 100), d(105, 400);
    struct Case {
        std::array<AxisReference, 2> xs, ys;
        AxisChoice xChoice, yChoice;
        const char* says;
    };
    const Case cases[] = {
        {{{{a, "0"}, {a, "10"}}}, {{{c, "0"}, {d, "5"}}}, {}, {}, "X points 1 and 2 are at the same pixel"},
        {{{{a, "0"}, {b, "10"}}}, {{{c, "5"}, {d, "5"}}}, {}, {}, "Y points 1 and 2 have the same Y value"},
        {{{{a, "0"}, {b, "10"}}}, {{{a + QPointF(0, -50), "0"}, {b + QPointF(0, -50), "5"}}}, {}, {}, "are parallel"},
        {{{{a, "1"}, {b, "0"}}}, {{{c, "0"}, {d, "5"}}}, {true, false}, {}, "X point 2: 0 is not above 0"},
        {{{{a, "2024-02-30"}, {b, "2024-03-01"}}}, {{{c, "0"}, {d, "5"}}}, {false, true}, {}, "X point 1: \"2024-02-30\""},
        {{{{a, "1"}, {b, "2"}}}, {{{c, "1"}, {d, "2"}}}, {}, {true, true}, "The Y axis cannot be a date axis and a log"},
        {{{{a, "1"}, {b, "2"}}}, {{{std::nullopt, "1"}, {d, "2"}}}, {}, {}, "Y point 1 has not been placed"},
    };
    const auto expectRefused = [](const AffineOutcome& outcome, const char* says) {
        const auto* why = std::get_if<QString>(&outcome);
        ASSERT_NE(why, nullptr) << says;
        EXPECT_TRUE(why->contains(QLatin1String(says))) << why->toStdString();
    };
    for (const Case& k : cases)
        expectRefused(CalibrateByAxes(k.xs, k.ys, k.xChoice, k.yChoice), k.says);

    struct KnownCase {
        std::vector<KnownReference> points;
        const char* says;
    };
    const KnownCase known[] = {
        {{{a, "0", "0"}, {b, "10", "0"}}, "at least three points"},
        {{{a, "0", "0"}, {b, "10", "0"}, {(a + b) / 2, "5", "9"}}, "Points 1, 2 and 3 lie on one line"},
        {{{a, "0", "0"}, {b, "10", "0"}, {b, "5", "9"}}, "Point 2 and Point 3 are at the same pixel"},
        {{{a, "0", "0"}, {b, "10", "10"}, {c, "5", "5"}}, "typed values of the points lie on one line"},
        {{{a, "0", "0"}, {b, "10", "0"}, {c, "0", "100"}, {d, "10", "100"}}, "the points do not fit one picture"},
    };
    for (const KnownCase& k : known)
        expectRefused(CalibrateByKnownPoints(k.points, {}, {}), k.says);
}

TEST(DateAxis, ADateAxisReadsAndWritesIsoTextThroughTheActiveCalibration)
{
    const std::array<AxisReference, 2> xs{AxisReference{QPointF(100, 500), "2024-01-01"},
                                          AxisReference{QPointF(466, 500), "2025-01-01T00:00"}};
    const std::array<AxisReference, 2> ys{AxisReference{QPointF(100, 500), "0"}, AxisReference{QPointF(100, 100), "1"}};
    ActiveCalibration calibration;
    calibration.useAffine(std::get<AffineCalibration>(CalibrateByAxes(xs, ys, {false, true}, {})));
    const AppState state;
    const DataPoint p = std::get<DataPoint>(calibration.valuesAt({160, true}, {300, true}, state));
    EXPECT_EQ(calibration.valueText(Axis::X, p.x), QStringLiteral("2024-03-01T00:00")); // 60 days on
    EXPECT_EQ(calibration.valueText(Axis::Y, p.y), QStringLiteral(" .5"));
    const auto back = calibration.positionOfCells(QStringLiteral("2024-03-01T00:00"), QStringLiteral(".5"), state);
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->x(), 160, 1e-9);
    EXPECT_NEAR(back->y(), 300, 1e-9);
    EXPECT_FALSE(calibration.positionOfCells(QStringLiteral("2024-03"), QStringLiteral("1"), state));
}

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
