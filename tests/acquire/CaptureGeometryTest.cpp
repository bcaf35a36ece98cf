#include "acquire/CaptureGeometry.h"

#include <gtest/gtest.h>

using namespace tracella;

TEST(CaptureGeometry, InstructionsNameTheDelayOnTheirSecondLine)
{
    const QStringList lines = CaptureInstructions(CaptureDelaySeconds).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Switch to the window with the area that you want to capture."));
    EXPECT_EQ(lines[1], QStringLiteral("You have 5 seconds to do this after you click OK."));
    EXPECT_TRUE(CaptureInstructions(12).endsWith(QStringLiteral("You have 12 seconds to do this after you click OK.")));
}

TEST(CaptureGeometry, WaitIsWithinHalfASecondOfTheDelay)
{
    EXPECT_EQ(CaptureWaitMs(QTime(14, 5, 9), 5), 5000);
    EXPECT_EQ(CaptureWaitMs(QTime(14, 5, 9, 400), 5), 4600);
    EXPECT_EQ(CaptureWaitMs(QTime(14, 5, 9, 600), 5), 5400);
    // A start on the half second rounds to the even second.
    EXPECT_EQ(CaptureWaitMs(QTime(14, 5, 9, 500), 5), 5500);
    EXPECT_EQ(CaptureWaitMs(QTime(14, 5, 10, 500), 5), 4500);
    for (int ms = 0; ms < 1000; ms += 7) {
        const qint64 wait = CaptureWaitMs(QTime(23, 59, 58, ms), 5);
        EXPECT_GE(wait, 4500) << ms;
        EXPECT_LE(wait, 5500) << ms;
    }
}

TEST(CaptureGeometry, RectangleIsTheSameFromEitherCorner)
{
    const QRect forward = CaptureRect(QPointF(100, 200), QPointF(220, 245));
    EXPECT_EQ(forward, QRect(100, 200, 120, 45));
    EXPECT_EQ(CaptureRect(QPointF(220, 245), QPointF(100, 200)), forward);
    EXPECT_EQ(CaptureRect(QPointF(220, 200), QPointF(100, 245)), forward);
    EXPECT_EQ(CaptureRect(QPointF(100, 245), QPointF(220, 200)), forward);
    // Edges are rounded halves to even; a single pixel column has no width.
    EXPECT_EQ(CaptureRect(QPointF(10.5, 11.5), QPointF(20.5, 21.5)), QRect(10, 12, 10, 10));
    EXPECT_EQ(CaptureRect(QPointF(5, 5), QPointF(5, 40)).width(), 0);
}

TEST(CaptureGeometry, LabelShowsTheSizeCentredWhenItFits)
{
    const QRect rect(100, 200, 120, 45);
    EXPECT_EQ(CaptureLabelText(rect), QStringLiteral("120x45"));
    EXPECT_EQ(CaptureLabelProbe(rect), QPoint(160, 222)); // 222.5 rounds to even
    ASSERT_TRUE(CaptureLabelPosition(rect, QSize(50, 15)).has_value());
    EXPECT_EQ(*CaptureLabelPosition(rect, QSize(50, 15)), QPoint(135, 215));
    // Only a text smaller than the rectangle both ways is drawn.
    EXPECT_FALSE(CaptureLabelPosition(rect, QSize(120, 15)).has_value());
    EXPECT_FALSE(CaptureLabelPosition(rect, QSize(50, 45)).has_value());
    EXPECT_TRUE(CaptureLabelPosition(rect, QSize(119, 44)).has_value());
    EXPECT_FALSE(CaptureLabelPosition(QRect(0, 0, 0, 0), QSize(0, 0)).has_value());
}

TEST(CaptureGeometry, LabelIsWhiteOnDarkAndBlackOnLightByPackedValue)
{
    const Colour white = Rgb(255, 255, 255);
    const Colour black = Rgb(0, 0, 0);
    EXPECT_EQ(CaptureLabelColour(Rgb(0, 0, 0)), white);
    EXPECT_EQ(CaptureLabelColour(Rgb(255, 0, 0)), white);
    EXPECT_EQ(CaptureLabelColour(Rgb(255, 255, 255)), black);
    EXPECT_EQ(CaptureLabelColour(Rgb(0, 0, 255)), black);
    // The threshold lies between 31127 and 31128: a mid green flips it.
    EXPECT_EQ(CaptureLabelColour(31127), white);
    EXPECT_EQ(CaptureLabelColour(31128), black);
    EXPECT_EQ(CaptureLabelColour(Rgb(0, 128, 0)), black);
    EXPECT_EQ(CaptureLabelColour(Rgb(255, 120, 0)), white);
}
