#include "calibration/Calibration.h"
#include "calibration/CoordinateTransform.h"
#include "calibration/FrameMapping.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tracella;

namespace {

const QSize PictureSize(400, 300);

// A reference point as scale mode takes it: a click in BaseFrame.
struct Reference {
    QPointF pixel;
    double x;
    double y;
};

AppState Calibrating(Reference first, Reference second, bool xLog = false, bool yLog = false)
{
    AppState state;
    ResetScale(state);
    state.XAxisLog = xLog;
    state.YAxisLog = yLog;
    const FramePoint p1 = PixelToFrame(BaseFrame, PictureSize, first.pixel);
    const FramePoint p2 = PixelToFrame(BaseFrame, PictureSize, second.pixel);
    state.RefPx1 = p1.x;
    state.RefPy1 = p1.y;
    state.RefX1 = first.x;
    state.RefY1 = first.y;
    state.RefPx2 = p2.x;
    state.RefPy2 = p2.y;
    state.RefX2 = second.x;
    state.RefY2 = second.y;
    return state;
}

// Refusals must leave every calibration field as it was.
void ExpectRefusedUnchanged(const AppState& before, const CalibrationOutcome& outcome, const AppState& after)
{
    EXPECT_FALSE(outcome.applied());
    EXPECT_EQ(outcome.surfaceFrame, BaseFrame);
    EXPECT_EQ(after.frame(), before.frame());
    EXPECT_EQ(after.RefX1, before.RefX1);
    EXPECT_EQ(after.RefX2, before.RefX2);
    EXPECT_EQ(after.RefY1, before.RefY1);
    EXPECT_EQ(after.RefY2, before.RefY2);
}

const QString SimilarValuesText = QStringLiteral("Selected points have at least one similar value.\r\n"
                                                 "You should select two different points to scale the picture "
                                                 "properly.\r\nDefault values will be used");

} // namespace

TEST(Calibration, ResetKeepsTypedYAndPositions)
{
    AppState state;
    state.setFrame({1, 2, 3, 4});
    state.RefX1 = 7;
    state.RefX2 = 8;
    state.RefY1 = 9;
    state.RefPx1 = 2.5;
    ResetScale(state);
    EXPECT_EQ(state.frame(), BaseFrame);
    EXPECT_EQ(state.RefX1, NotScaled);
    EXPECT_EQ(state.RefX2, NotScaled);
    EXPECT_EQ(state.RefY1, 9);
    EXPECT_EQ(state.RefPx1, 2.5);
}

TEST(Calibration, LinearCornersReadTheCentre)
{
    AppState state = Calibrating({{0, 300}, 0, 0}, {{400, 0}, 10, 100});
    const CalibrationOutcome outcome = ApplyCalibration(state);
    ASSERT_TRUE(outcome.applied());
    const Frame expected{0, 100, 10, 0};
    EXPECT_EQ(outcome.surfaceFrame, expected);
    EXPECT_EQ(state.frame(), expected);
    EXPECT_EQ(state.RefX2, 10); // linear values stay as typed

    const FramePoint centre = PixelToFrame(state.frame(), PictureSize, {200, 150});
    const auto reading = PositionToData({centre.x, true}, {centre.y, true}, false, false);
    const auto* point = std::get_if<DataPoint>(&reading);
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->x.value, 5);
    EXPECT_EQ(point->y.value, 50);
    EXPECT_TRUE(point->x.single);
}

TEST(Calibration, LogAxisFrameInLogarithms)
{
    AppState state = Calibrating({{100, 200}, 1, 0}, {{300, 100}, 1000, 1}, true, false);
    const CalibrationOutcome outcome = ApplyCalibration(state);
    ASSERT_TRUE(outcome.applied());
    EXPECT_NEAR(state.FrameLeft, -1.5, 1e-12);
    EXPECT_NEAR(state.FrameRight, 4.5, 1e-12);
    EXPECT_EQ(outcome.surfaceFrame, state.frame());
    // The logarithms replace the typed X values; Y stays linear.
    EXPECT_EQ(state.RefX1, 0);
    EXPECT_EQ(state.RefX2, Log10Value(1000));
    EXPECT_EQ(state.RefY2, 1);

    const FramePoint centre = PixelToFrame(state.frame(), PictureSize, {200, 150});
    const auto reading = PositionToData({centre.x, true}, {centre.y, true}, true, false);
    const auto* point = std::get_if<DataPoint>(&reading);
    ASSERT_NE(point, nullptr);
    EXPECT_TRUE(point->x.single);
    EXPECT_EQ(point->x.value, static_cast<float>(std::pow(10.0, 1.5)));
    EXPECT_EQ(NumberText(point->x), QStringLiteral(" 31.62278"));
}

TEST(Calibration, RefusesWhatDefinesNoFrame)
{
    {
        // Only the first point taken.
        AppState state;
        ResetScale(state);
        state.RefX1 = 3;
        const AppState before = state;
        const CalibrationOutcome outcome = ApplyCalibration(state);
        ExpectRefusedUnchanged(before, outcome, state);
        ASSERT_TRUE(outcome.refusal);
        EXPECT_EQ(outcome.refusal->text,
                  QStringLiteral("You have not scaled properly the picture.\r\nDefault values will be used"));
        EXPECT_EQ(outcome.refusal->title, QStringLiteral("Scale Mode"));
        EXPECT_EQ(outcome.refusal->icon, MessageIcon::Exclamation);
    }
    {
        // No point at all: both X are NotScaled and so equal, yet "not scaled" comes first.
        AppState state;
        ResetScale(state);
        const CalibrationOutcome outcome = ApplyCalibration(state);
        ASSERT_TRUE(outcome.refusal);
        EXPECT_TRUE(outcome.refusal->text.startsWith(QStringLiteral("You have not scaled")));
    }
    {
        // Equal Y values at different positions.
        AppState state = Calibrating({{0, 300}, 0, 5}, {{400, 0}, 10, 5});
        const AppState before = state;
        const CalibrationOutcome outcome = ApplyCalibration(state);
        ExpectRefusedUnchanged(before, outcome, state);
        ASSERT_TRUE(outcome.refusal);
        EXPECT_EQ(outcome.refusal->text, SimilarValuesText);
        EXPECT_EQ(outcome.refusal->title, QStringLiteral("Scale Mode"));
    }
    {
        // Same vertical position, different values: the frame would divide by zero.
        AppState state = Calibrating({{0, 150}, 0, 0}, {{400, 150}, 10, 100});
        const AppState before = state;
        const CalibrationOutcome outcome = ApplyCalibration(state);
        ExpectRefusedUnchanged(before, outcome, state);
        ASSERT_TRUE(outcome.refusal);
        EXPECT_EQ(outcome.refusal->text,
                  QStringLiteral("Selected points lie on the same vertical or horizontal line.\r\n"
                                 "You should select two points apart in both directions to scale the picture "
                                 "properly.\r\nDefault values will be used"));
        EXPECT_EQ(outcome.refusal->title, QStringLiteral("Scale Mode"));
        EXPECT_EQ(outcome.refusal->icon, MessageIcon::Exclamation);
    }
    {
        // Same horizontal position on a log axis: refused before any logarithm is stored.
        AppState state = Calibrating({{200, 300}, 1, 0}, {{200, 0}, 100, 1}, true, false);
        const AppState before = state;
        const CalibrationOutcome outcome = ApplyCalibration(state);
        ExpectRefusedUnchanged(before, outcome, state);
        EXPECT_EQ(state.RefX2, 100);
    }
}

TEST(Calibration, LogAxisRefusesZeroAndNegative)
{
    for (const double typed : {0.0, -5.0}) {
        AppState state = Calibrating({{0, 300}, 1, typed}, {{400, 0}, 10, 100}, false, true);
        const AppState before = state;
        const CalibrationOutcome outcome = ApplyCalibration(state);
        ExpectRefusedUnchanged(before, outcome, state);
        ASSERT_TRUE(outcome.refusal);
        EXPECT_EQ(outcome.refusal->text, QStringLiteral("Zero or Negative values cannot be used in a Log Axis."));
        EXPECT_EQ(outcome.refusal->title, QStringLiteral("Scaling Error"));
        EXPECT_EQ(outcome.refusal->icon, MessageIcon::Information);
    }
    // The same values on a linear Y axis are fine.
    AppState state = Calibrating({{0, 300}, 1, -5}, {{400, 0}, 10, 100});
    EXPECT_TRUE(ApplyCalibration(state).applied());
}

TEST(Calibration, RefusesFramesTheSurfaceCannotHold)
{
    const Reference huge1{{0, 300}, -1e308, 0};
    const Reference huge2{{400, 0}, 1e308, 1};
    const Reference beyondSingle{{400, 0}, 1e39, 1};
    // Values that differ in double but leave the frame's edges equal in single precision.
    const Reference close1{{100, 300}, 1e10, 0};
    const Reference close2{{300, 0}, 1e10 + 1, 1};
    for (const auto& [first, second] : {std::pair{huge1, huge2}, std::pair{huge1, beyondSingle},
                                        std::pair{close1, close2}}) {
        AppState state = Calibrating(first, second);
        const AppState before = state;
        const CalibrationOutcome outcome = ApplyCalibration(state);
        ExpectRefusedUnchanged(before, outcome, state);
        ASSERT_TRUE(outcome.refusal);
        EXPECT_EQ(outcome.refusal->title, QStringLiteral("Scale Mode"));
        EXPECT_TRUE(outcome.refusal->text.endsWith(QStringLiteral("\r\nDefault values will be used")));
    }
}
