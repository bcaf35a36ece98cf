#include "extract/Interpolation.h"

#include "app/core/NumberText.h"
#include "extract/ExtractMessages.h"
#include "extract/SingleArithmetic.h"
#include "support/Expect.h"

#include <gtest/gtest.h>

namespace tracella {
namespace {

const std::vector<SplineRow> Squares{{0, 0}, {1, 1}, {2, 4}, {3, 9}};

// The points as the grid would show them: single precision, 7 digits.
std::vector<std::pair<QString, QString>> Texts(const Interpolation& run)
{
    std::vector<std::pair<QString, QString>> texts;
    for (const SplinePoint& p : run.points)
        texts.emplace_back(NumberText(p.x), NumberText(p.y));
    return texts;
}

using TextPairs = std::vector<std::pair<QString, QString>>;

TEST(Interpolation, GeneratesPointsOneSpacingApartAfterTheFirstRow)
{
    const Interpolation six = InterpolateRows(Squares, true, 6);
    EXPECT_FALSE(six.error);
    EXPECT_EQ(Texts(six), (TextPairs{{" .5", " .35"}, {" 1", " 1"}, {" 1.5", " 2.2"}, {" 2", " 4"},
                                     {" 2.5", " 6.35"}, {" 3", " 9"}}));
    EXPECT_EQ(Texts(InterpolateRows(Squares, true, 3)), (TextPairs{{" 1", " 1"}, {" 2", " 4"}, {" 3", " 9"}}));

    // Y independent: the points still carry X first.
    const std::vector<SplineRow> turned{{0, 0}, {1, 1}, {4, 2}, {9, 3}};
    EXPECT_EQ(Texts(InterpolateRows(turned, false, 6)), (TextPairs{{" .35", " .5"}, {" 1", " 1"}, {" 2.2", " 1.5"},
                                                                   {" 4", " 2"}, {" 6.35", " 2.5"}, {" 9", " 3"}}));

    const auto abscissae = std::get<std::vector<float>>(SplineAbscissae(0, 3, 6));
    EXPECT_EQ(abscissae, (std::vector<float>{0.5f, 1, 1.5f, 2, 2.5f, 3}));
    // Each abscissa is the rounded sum of the one before and the spacing.
    const auto tenths = std::get<std::vector<float>>(SplineAbscissae(0, 1, 10));
    EXPECT_EQ(tenths[0], 0.1f);
    for (std::size_t k = 1; k < tenths.size(); ++k)
        EXPECT_EQ(tenths[k], tenths[k - 1] + 0.1f);
}

TEST(Interpolation, NeedsFourRowsAndDistinctIndependentValues)
{
    EXPECT_FALSE(EnoughRowsToInterpolate(3));
    EXPECT_TRUE(EnoughRowsToInterpolate(4));
    EXPECT_EQ(InterpolateRows(std::span(Squares).first(3), true, 6).error->number, ErrorNumber::InvalidArgument);

    const std::vector<SplineRow> vertical{{0, 0}, {1, 1}, {1, 2}, {3, 9}};
    const Interpolation onX = InterpolateRows(vertical, true, 6);
    ASSERT_TRUE(onX.error);
    EXPECT_EQ(onX.error->number, ErrorNumber::DivisionByZero);
    EXPECT_TRUE(onX.points.empty());
    const Interpolation onY = InterpolateRows(vertical, false, 6);
    EXPECT_FALSE(onY.error);
    EXPECT_EQ(onY.points.size(), 6u);
}

TEST(Interpolation, RefusesPointCountsAndValuesItCannotHold)
{
    EXPECT_EQ(InterpolateRows(Squares, true, 0).error->number, ErrorNumber::DivisionByZero);
    EXPECT_EQ(InterpolateRows(Squares, true, -1).error->number, ErrorNumber::InvalidArgument);
    EXPECT_FALSE(SplinePointsError(-1));
    EXPECT_FALSE(SplinePointsError(0));
    EXPECT_FALSE(SplinePointsError(MaxSplinePoints));
    EXPECT_EQ(SplinePointsError(-2)->number, ErrorNumber::InvalidArgument);
    EXPECT_EQ(SplinePointsError(std::numeric_limits<std::int32_t>::min())->number, ErrorNumber::InvalidArgument);
    EXPECT_EQ(SplinePointsError(MaxSplinePoints + 1)->number, ErrorNumber::OutOfMemory);
    EXPECT_EQ(InterpolateRows(Squares, true, -2).error->number, ErrorNumber::InvalidArgument);

    // A value beyond the single-precision range cannot be read into the spline.
    const std::vector<SplineRow> huge{{0, 0}, {1, 1}, {2, 1e39}, {3, 9}};
    EXPECT_EQ(InterpolateRows(huge, true, 6).error->number, ErrorNumber::Overflow);
    // Knots that far apart give a spacing beyond the range.
    const std::vector<SplineRow> wide{{-2e38, 0}, {-1.2e38, 1}, {-4e37, 2}, {4e37, 3}, {1.2e38, 4}, {2e38, 5}};
    EXPECT_EQ(InterpolateRows(wide, true, 1).error->number, ErrorNumber::Overflow);
    EXPECT_FALSE(InterpolateRows(wide, true, 2).error);
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
