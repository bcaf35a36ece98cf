#include "calibration/Calibration.h"
#include "calibration/CoordinateTransform.h"
#include "calibration/FrameMapping.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tracella;

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

    // A linear axis passes the position through at its own precision.
    const auto linear = PositionToData({2.5, true}, {-1e300, false}, false, false);
    ASSERT_TRUE(std::holds_alternative<DataPoint>(linear));
    EXPECT_EQ(std::get<DataPoint>(linear).x.value, 2.5);
    EXPECT_TRUE(std::get<DataPoint>(linear).x.single);
    EXPECT_EQ(std::get<DataPoint>(linear).y.value, -1e300);
    EXPECT_FALSE(std::get<DataPoint>(linear).y.single);
}

TEST(CoordinateTransform, PowerBeyondRangeIsOverflow)
{
    const auto single = PositionToData({1, true}, {39, true}, false, true);
    const auto* error = std::get_if<AppError>(&single);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->number, ErrorNumber::Overflow);
    EXPECT_EQ(error->description, QStringLiteral("Overflow"));

    EXPECT_TRUE(std::holds_alternative<AppError>(PositionToData({39, true}, {1, true}, true, false)));
    // 10^38 still fits a single; 10^39 fits a double; 10^309 fits neither.
    EXPECT_TRUE(std::holds_alternative<DataPoint>(PositionToData({38, true}, {1, true}, true, false)));
    EXPECT_TRUE(std::holds_alternative<DataPoint>(PositionToData({39, false}, {1, true}, true, false)));
    EXPECT_TRUE(std::holds_alternative<AppError>(PositionToData({309, false}, {1, true}, true, false)));
    // Below the range a power would read as 0, which a log axis never shows.
    EXPECT_TRUE(std::holds_alternative<AppError>(PositionToData({1, true}, {-46, true}, false, true)));
    EXPECT_TRUE(std::holds_alternative<AppError>(PositionToData({-233, true}, {1, true}, true, false)));
    EXPECT_TRUE(std::holds_alternative<AppError>(PositionToData({-330, false}, {1, true}, true, false)));
    EXPECT_TRUE(std::holds_alternative<DataPoint>(PositionToData({-44, true}, {-300, false}, true, true)));
    // On a linear axis a large position is no power at all.
    EXPECT_TRUE(std::holds_alternative<DataPoint>(PositionToData({39, true}, {39, true}, false, false)));
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

TEST(CoordinateTransform, DataToFrameSkipsWhatALogAxisCannotShow)
{
    EXPECT_FALSE(DataToFrame(0, 1, true, false));
    EXPECT_FALSE(DataToFrame(1, -2, false, true));
    EXPECT_FALSE(DataToFrame(std::nan(""), 1, true, false));
    const auto linear = DataToFrame(-3, 0, false, false);
    ASSERT_TRUE(linear);
    EXPECT_EQ(*linear, QPointF(-3, 0));
    const auto logarithmic = DataToFrame(100, 7, true, false);
    ASSERT_TRUE(logarithmic);
    EXPECT_EQ(logarithmic->x(), Log10Value(100));
    EXPECT_EQ(logarithmic->y(), 7);
}

TEST(CoordinateTransform, RoundTripStaysWithinHalfAPixel)
{
    const QSize size(640, 480);
    AppState state;
    ResetScale(state);
    state.XAxisLog = true;
    state.RefPx1 = 1.25;
    state.RefPy1 = 8.5;
    state.RefX1 = 0.01;
    state.RefY1 = -20;
    state.RefPx2 = 9.0;
    state.RefPy2 = 0.75;
    state.RefX2 = 5000;
    state.RefY2 = 340;
    ASSERT_TRUE(ApplyCalibration(state).applied());
    const Frame frame = state.frame();

    for (const double x : {0.003, 0.01, 0.5, 1.0, 42.0, 5000.0, 12345.0}) {
        for (const double y : {-30.0, -20.0, 0.0, 17.5, 340.0, 400.0}) {
            const auto position = DataToFrame(x, y, true, false);
            ASSERT_TRUE(position);
            const QPointF pixel = FrameToPixel(frame, size, position->x(), position->y());
            // A click lands on a whole pixel.
            const QPointF click(std::round(pixel.x()), std::round(pixel.y()));
            const FramePoint read = PixelToFrame(frame, size, click);
            const auto reading = PositionToData({read.x, true}, {read.y, true}, true, false);
            const auto* point = std::get_if<DataPoint>(&reading);
            ASSERT_NE(point, nullptr);
            const auto back = DataToFrame(point->x.value, point->y.value, true, false);
            ASSERT_TRUE(back);
            const QPointF backPixel = FrameToPixel(frame, size, back->x(), back->y());
            EXPECT_NEAR(backPixel.x(), pixel.x(), 0.5 + 1e-3) << x << ", " << y;
            EXPECT_NEAR(backPixel.y(), pixel.y(), 0.5 + 1e-3) << x << ", " << y;
        }
    }
}
