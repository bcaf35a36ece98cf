#include "calibration/Calibration.h"
#include "calibration/CoordinateTransform.h"
#include "calibration/FrameMapping.h"
#include "support/Expect.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tracella;
using tracella::test::ExpectMessage;

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

Message ScaleMode(const QString& text)
{
    return {text, QStringLiteral("Scale Mode"), MessageIcon::Exclamation, MessageButtons::Ok};
}

} // namespace

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

// Every refusal shows its whole message and leaves every calibration field as it was.
TEST(Calibration, RefusesWhatDefinesNoFrameOrCannotBeShown)
{
    const QString end = QStringLiteral("\r\nDefault values will be used");
    const Message notScaled = ScaleMode(QStringLiteral("You have not scaled properly the picture.") + end);
    const Message similar = ScaleMode(QStringLiteral("Selected points have at least one similar value.\r\n"
                                                     "You should select two different points to scale the picture "
                                                     "properly.") + end);
    const Message sameLine = ScaleMode(QStringLiteral("Selected points lie on the same vertical or horizontal line.\r\n"
                                                      "You should select two points apart in both directions to scale "
                                                      "the picture properly.") + end);
    const Message outOfRange = ScaleMode(QStringLiteral("The scale of the selected values is out of range.\r\n"
                                                        "You should type smaller values or values further apart to "
                                                        "scale the picture properly.") + end);
    const Message logAxis{QStringLiteral("Zero or Negative values cannot be used in a Log Axis."),
                          QStringLiteral("Scaling Error"), MessageIcon::Information, MessageButtons::Ok};
    const Reference huge1{{0, 300}, -1e308, 0}, huge2{{400, 0}, 1e308, 1};
    const struct {
        const char* name;
        Reference first, second;
        bool xLog, yLog;
        int taken; // reference points given: 1 or both
        const Message& says;
    } cases[] = {
        {"first point only", {{0, 0}, 3, 0}, {}, false, false, 1, notScaled},
        {"equal Y values", {{0, 300}, 0, 5}, {{400, 0}, 10, 5}, false, false, 2, similar},
        // The frame would divide by zero.
        {"same vertical position", {{0, 150}, 0, 0}, {{400, 150}, 10, 100}, false, false, 2, sameLine},
        // Refused before any logarithm is stored.
        {"same horizontal position, log X", {{200, 300}, 1, 0}, {{200, 0}, 100, 1}, true, false, 2, sameLine},
        {"zero on a log Y axis", {{0, 300}, 1, 0}, {{400, 0}, 10, 100}, false, true, 2, logAxis},
        {"huge", huge1, huge2, false, false, 2, outOfRange},
        // Apart in double, the frame's edges equal in single precision.
        {"too close", {{100, 300}, 1e10, 0}, {{300, 0}, 1e10 + 1, 1}, false, false, 2, outOfRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = Calibrating(c.first, c.second, c.xLog, c.yLog);
        if (c.taken < 2)
            state.RefX2 = NotScaled;
        const AppState before = state;
        const CalibrationOutcome outcome = ApplyCalibration(state);
        EXPECT_FALSE(outcome.applied());
        EXPECT_EQ(outcome.surfaceFrame, BaseFrame);
        EXPECT_EQ(state.frame(), before.frame());
        for (const auto field : {&AppState::RefX1, &AppState::RefX2, &AppState::RefY1, &AppState::RefY2})
            EXPECT_EQ(state.*field, before.*field);
        ASSERT_TRUE(outcome.refusal);
        ExpectMessage(*outcome.refusal, c.says);
    }
    // The values refused on a log axis are fine on a linear one.
    AppState state = Calibrating({{0, 300}, 1, -5}, {{400, 0}, 10, 100});
    EXPECT_TRUE(ApplyCalibration(state).applied());
}

TEST(CoordinateTransform, PowerKeepsThePositionsPrecision)
{
    const float position = 0.3f;
    const auto reading = PositionToData({position, true}, {position, false}, true, true);
    const auto* point = std::get_if<DataPoint>(&reading);
    ASSERT_NE(point, nullptr);
    const double power = std::pow(10.0, static_cast<double>(position));
    EXPECT_EQ(point->x.value, static_cast<double>(static_cast<float>(power)));
    EXPECT_EQ(point->y.value, power);
    EXPECT_NE(point->x.value, point->y.value);
}

TEST(CoordinateTransform, PowerBeyondRangeIsOverflow)
{
    const auto single = PositionToData({1, true}, {39, true}, false, true);
    const auto* error = std::get_if<AppError>(&single);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->number, ErrorNumber::Overflow);
    EXPECT_EQ(error->description, QStringLiteral("Overflow"));

    const struct {
        PrecisionValue x, y;
        bool xLog, yLog, overflow;
    } cases[] = {
        {{39, true}, {1, true}, true, false, true},
        // 10^38 still fits a single; 10^309 fits not even a double.
        {{38, true}, {1, true}, true, false, false},
        {{309, false}, {1, true}, true, false, true},
        // Below the range a power would read as 0, which a log axis never shows.
        {{1, true}, {-46, true}, false, true, true},
        {{-233, true}, {1, true}, true, false, true},
        // On a linear axis a large position is no power at all.
        {{39, true}, {39, true}, false, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::holds_alternative<AppError>(PositionToData(c.x, c.y, c.xLog, c.yLog)), c.overflow)
            << c.x.value << ", " << c.y.value;
}

TEST(CoordinateTransform, StatusTexts)
{
    const DataPoint point{{5, true}, {-0.25, false}};
    const PointStatusTexts shown = PointStatus(point, false);
    EXPECT_EQ(shown.x, QStringLiteral("X=  5"));
    EXPECT_EQ(shown.y, QStringLiteral("Y= -.25"));
    const PointStatusTexts saving = PointStatus(point, true);
    EXPECT_EQ(saving.x, QStringLiteral("Saving: X=  5"));
    EXPECT_EQ(saving.y, QStringLiteral("Saving: Y= -.25"));
    // Each value shows at its own precision.
    const DataPoint third{{1.0 / 3.0, true}, {1.0 / 3.0, false}};
    EXPECT_EQ(PointStatus(third, false).x, QStringLiteral("X=  .3333333"));
    EXPECT_EQ(PointStatus(third, false).y, QStringLiteral("Y=  .333333333333333"));
}

TEST(CoordinateTransform, RoundTripStaysWithinHalfAPixel)
{
    AppState state = Calibrating({{50, 45}, 0.01, -20}, {{360, 277.5}, 5000, 340}, true, false);
    ASSERT_TRUE(ApplyCalibration(state).applied());
    const Frame frame = state.frame();

    for (const double x : {0.003, 0.01, 0.5, 1.0, 42.0, 5000.0, 12345.0}) {
        for (const double y : {-30.0, -20.0, 0.0, 17.5, 340.0, 400.0}) {
            const auto position = DataToFrame(x, y, true, false);
            ASSERT_TRUE(position);
            const QPointF pixel = FrameToPixel(frame, PictureSize, position->x(), position->y());
            // A click lands on a whole pixel.
            const QPointF click(std::round(pixel.x()), std::round(pixel.y()));
            const FramePoint read = PixelToFrame(frame, PictureSize, click);
            const auto reading = PositionToData({read.x, true}, {read.y, true}, true, false);
            const auto* point = std::get_if<DataPoint>(&reading);
            ASSERT_NE(point, nullptr);
            const auto back = DataToFrame(point->x.value, point->y.value, true, false);
            ASSERT_TRUE(back);
            const QPointF backPixel = FrameToPixel(frame, PictureSize, back->x(), back->y());
            EXPECT_NEAR(backPixel.x(), pixel.x(), 0.5 + 1e-3) << x << ", " << y;
            EXPECT_NEAR(backPixel.y(), pixel.y(), 0.5 + 1e-3) << x << ", " << y;
        }
    }
}
