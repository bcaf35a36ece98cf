#include "extract/Interpolation.h"
#include "extract/NaturalSpline.h"

#include "app/core/NumberText.h"
#include "extract/ExtractMessages.h"
#include "extract/SingleArithmetic.h"
#include "support/Expect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tracella {
namespace {

const std::vector<SplineRow> Squares{{0, 0}, {1, 1}, {2, 4}, {3, 9}};
using TextPairs = std::vector<std::pair<QString, QString>>;

// The points as the grid would show them: single precision, 7 digits.
TextPairs Texts(const Interpolation& run)
{
    TextPairs texts;
    for (const SplinePoint& p : run.points)
        texts.emplace_back(NumberText(p.x), NumberText(p.y));
    return texts;
}

TEST(NaturalSpline, FitsTheSquaresExample)
{
    const auto fit = NaturalSpline::Fit({0, 1, 2, 3}, {0, 1, 4, 9});
    ASSERT_TRUE(std::holds_alternative<NaturalSpline>(fit));
    const NaturalSpline& spline = std::get<NaturalSpline>(fit);
    EXPECT_EQ(spline.Coefficients().secondDerivatives, (std::vector<float>{0, 2.4f, 2.4f, 0}));
    const std::pair<float, float> expected[] = {{0.5f, 0.35f}, {1, 1}, {1.5f, 2.2f}, {2, 4}, {2.5f, 6.35f}, {3, 9}};
    for (const auto& [x, y] : expected)
        EXPECT_NEAR(std::get<float>(spline.ValueAt(x)), y, 1e-6 * y) << x;
    EXPECT_EQ(std::get<float>(spline.ValueAt(0)), 0.0f);
    // Far beyond the last knot the cubic leaves the range.
    for (const float x : {1e13f, -1e13f, std::nanf("")})
        EXPECT_EQ(std::get<AppError>(spline.ValueAt(x)).number, ErrorNumber::Overflow) << x;
    EXPECT_EQ(std::get<AppError>(spline.ValueAt(std::nanf(""))).description, QStringLiteral("Undefined result"));
}

TEST(NaturalSpline, FailsAsSinglePrecisionArithmetic)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        std::vector<float> t, v;
        long number;
        const char* description; // nullptr: any
    } cases[] = {
        {{0, 1, 1, 3}, {0, 1, 2, 9}, ErrorNumber::DivisionByZero, "Division by zero"},
        // 6 * 3E+38 is beyond the range.
        {{0, 1, 2, 3}, {0, 3e38f, -3e38f, 0}, ErrorNumber::Overflow, nullptr},
        {{0, 1, 2, inf}, {0, 1, 2, 3}, ErrorNumber::Overflow, nullptr},
        {{0, 1, 2, 3}, {0, std::nanf(""), 2, 3}, ErrorNumber::Overflow, "Undefined result"},
        {{0, 1, 2}, {0, 1, 4}, ErrorNumber::InvalidArgument, nullptr},
        {{0, 2, 1, 3}, {0, 1, 4, 9}, ErrorNumber::InvalidArgument, nullptr},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto fit = NaturalSpline::Fit(cases[i].t, cases[i].v);
        ASSERT_TRUE(std::holds_alternative<AppError>(fit)) << i;
        EXPECT_EQ(std::get<AppError>(fit).number, cases[i].number) << i;
        if (cases[i].description) {
            EXPECT_EQ(std::get<AppError>(fit).description, QString::fromLatin1(cases[i].description)) << i;
        }
    }
}

TEST(Interpolation, GeneratesPointsOneSpacingApartAfterTheFirstRow)
{
    // Y independent: the points still carry X first.
    const std::vector<SplineRow> turned{{0, 0}, {1, 1}, {4, 2}, {9, 3}};
    EXPECT_EQ(Texts(InterpolateRows(turned, false, 6)), (TextPairs{{" .35", " .5"}, {" 1", " 1"}, {" 2.2", " 1.5"},
                                                                   {" 4", " 2"}, {" 6.35", " 2.5"}, {" 9", " 3"}}));
    // Each abscissa is the rounded sum of the one before and the spacing.
    const auto tenths = std::get<std::vector<float>>(SplineAbscissae(0, 1, 10));
    EXPECT_EQ(tenths[0], 0.1f);
    for (std::size_t k = 1; k < tenths.size(); ++k)
        EXPECT_EQ(tenths[k], tenths[k - 1] + 0.1f);
}

TEST(Interpolation, RefusesRowsPointCountsAndValuesItCannotHold)
{
    EXPECT_FALSE(EnoughRowsToInterpolate(3));
    EXPECT_TRUE(EnoughRowsToInterpolate(4));
    const std::vector<SplineRow> vertical{{0, 0}, {1, 1}, {1, 2}, {3, 9}};
    EXPECT_EQ(InterpolateRows(vertical, false, 6).points.size(), 6u);
    // A value beyond the single-precision range cannot be read into the
    // spline; knots that far apart give a spacing beyond the range.
    const std::vector<SplineRow> wide{{-2e38, 0}, {-1.2e38, 1}, {-4e37, 2}, {4e37, 3}, {1.2e38, 4}, {2e38, 5}};
    EXPECT_FALSE(InterpolateRows(wide, true, 2).error);
    const struct {
        std::vector<SplineRow> rows;
        bool onX;
        int points;
        long error;
    } refused[] = {{{Squares.begin(), Squares.begin() + 3}, true, 6, ErrorNumber::InvalidArgument},
                   {vertical, true, 6, ErrorNumber::DivisionByZero},
                   {Squares, true, 0, ErrorNumber::DivisionByZero},
                   {Squares, true, -2, ErrorNumber::InvalidArgument},
                   {{{0, 0}, {1, 1}, {2, 1e39}, {3, 9}}, true, 6, ErrorNumber::Overflow},
                   {wide, true, 1, ErrorNumber::Overflow}};
    for (const auto& r : refused) {
        const Interpolation run = InterpolateRows(r.rows, r.onX, r.points);
        ASSERT_TRUE(run.error) << r.points;
        EXPECT_EQ(run.error->number, r.error) << r.points;
    }
    for (const int points : {-1, 0, MaxSplinePoints})
        EXPECT_FALSE(SplinePointsError(points)) << points;
    EXPECT_EQ(SplinePointsError(-2)->number, ErrorNumber::InvalidArgument);
    EXPECT_EQ(SplinePointsError(MaxSplinePoints + 1)->number, ErrorNumber::OutOfMemory);
}

TEST(ExtractMessages, ReadAsTheProgramShowsThem)
{
    using test::ExpectMessage;
    ExpectMessage(InsufficientDataMessage(), QStringLiteral("You need at least two values to perform any interpolation."),
                  QStringLiteral("Insufficient Data"), MessageIcon::Information);
    ExpectMessage(InterpolationFailedMessage(DivisionByZeroError()),
                  QStringLiteral("The interpolation method is failing with these data.\r\n"
                                 "Try againg changing the Independant Variable\r\n"
                                 "Error #  11 was generated. \rDivision by zero"),
                  QStringLiteral("Error"), MessageIcon::Exclamation);
    ExpectMessage(AddInterpolatedPointsMessage(),
                  QStringLiteral("You want to add these interpolated points to your current data?"), QString(),
                  MessageIcon::Question, MessageButtons::YesNo);
    ExpectMessage(AutoReadReportMessage(0, QStringLiteral("9:00:00"), QStringLiteral("9:00:02")),
                  QStringLiteral("The number of values found and stored is: 0\r\n"
                                 "Starting time: 9:00:00\r\nEnding time: 9:00:02"),
                  QStringLiteral("Auto Reading"), MessageIcon::Information);
    EXPECT_EQ(TimeOfDayText(QTime(13, 5, 9), QLocale(QStringLiteral("en_US"))), QStringLiteral("1:05:09 PM"));
    EXPECT_EQ(TimeOfDayText(QTime(13, 5, 9), QLocale(QStringLiteral("de_DE"))), QStringLiteral("13:05:09"));
}

} // namespace
} // namespace tracella
