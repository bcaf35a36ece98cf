#include "picture/PixelRotation.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <cmath>

using namespace tracella;

namespace {

const QRgb Background = qRgb(240, 240, 240);

// Every pixel tells where it stands: x in red and green, y in blue.
QImage EncodedPicture(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, x >> 8, y));
    return image.convertToFormat(format);
}

QPoint SourceOf(QRgb pixel) { return {qRed(pixel) + 256 * qGreen(pixel), qBlue(pixel)}; }

} // namespace

TEST(PixelRotation, RotatedSizeIsTheBoundingBox)
{
    EXPECT_EQ(RotatedSize({200, 100}, 90), QSize(100, 200));
    EXPECT_EQ(RotatedSize({200, 100}, 180), QSize(200, 100));
    EXPECT_EQ(RotatedSize({200, 100}, 45), QSize(212, 212));
    EXPECT_EQ(RotatedSize({4000, 3000}, 30), QSize(4964, 4598));
    EXPECT_EQ(RotatedSize({0, 0}, 30), QSize(0, 0));
}

TEST(PixelRotation, QuarterTurnMakesTheTopEdgeTheLeftEdge)
{
    const QImage source = EncodedPicture(200, 100);
    int columns = 0;
    const QImage rotated = RotatedPicture(source, 90, DefaultCanvasBackground, [&] { ++columns; });
    ASSERT_EQ(rotated.size(), QSize(100, 200));
    EXPECT_EQ(columns, 100); // max(50, 100) - 1 = 99, counted from 0

    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(rotated.pixel(x, 0), Background) << x;
    bool leftColumnSeen = false;
    for (int y = 1; y < 200; ++y) {
        for (int x = 0; x < 100; ++x) {
            ASSERT_EQ(SourceOf(rotated.pixel(x, y)), QPoint(200 - y, x)) << x << ", " << y;
            leftColumnSeen |= SourceOf(rotated.pixel(x, y)).x() == 0;
        }
    }
    EXPECT_FALSE(leftColumnSeen);
    EXPECT_EQ(SourceOf(rotated.pixel(0, 1)), QPoint(199, 0)); // the old top edge runs down the left
}

TEST(PixelRotation, HalfTurnOfAnyPixelFormat)
{
    const QImage source = EncodedPicture(200, 100, QImage::Format_RGB888);
    const Colour background = Rgb(1, 2, 3);
    const QImage rotated = RotatedPicture(source, 180, background);
    ASSERT_EQ(rotated.size(), QSize(200, 100));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (x == 0 || y == 0)
                ASSERT_EQ(rotated.pixel(x, y), qRgb(1, 2, 3)) << x << ", " << y;
            else
                ASSERT_EQ(SourceOf(rotated.pixel(x, y)), QPoint(200 - x, 100 - y)) << x << ", " << y;
        }
    }
}

TEST(PixelRotation, ObliqueTurnTakesTheNearestTurnedPixel)
{
    const int width = 120, height = 80;
    const QImage source = EncodedPicture(width, height);
    for (const double angle : {45.0, 30.0, 217.5}) {
        const QImage rotated = RotatedPicture(source, angle);
        const double theta = angle * M_PI / 180;
        const int c2x = rotated.width() / 2, c2y = rotated.height() / 2;
        const int reach = std::max(c2x, c2y) - 1;
        int filled = 0;
        for (int y = 0; y < rotated.height(); ++y) {
            for (int x = 0; x < rotated.width(); ++x) {
                const int dx = x - c2x, dy = y - c2y;
                // Where this pixel comes from: its offset turned by the angle.
                const double sx = width / 2 + dx * std::cos(theta) - dy * std::sin(theta);
                const double sy = height / 2 + dx * std::sin(theta) + dy * std::cos(theta);
                const bool covered = std::abs(dx) <= reach && std::abs(dy) <= reach;
                const bool wellInside = sx >= 2 && sy >= 2 && sx <= width - 3 && sy <= height - 3;
                const QRgb pixel = rotated.pixel(x, y);
                if (pixel == Background) {
                    EXPECT_FALSE(covered && wellInside) << angle << ": " << x << ", " << y;
                    continue;
                }
                ++filled;
                EXPECT_TRUE(covered) << angle << ": " << x << ", " << y;
                const QPoint from = SourceOf(pixel);
                EXPECT_LE(std::hypot(from.x() - sx, from.y() - sy), 1.25) << angle << ": " << x << ", " << y;
            }
        }
        // The turned picture keeps its area, give or take its rounded edges.
        EXPECT_NEAR(filled, width * height, width * height / 20) << angle;
    }
}

TEST(PixelRotation, LongStripNeedsWideArithmetic)
{
    // 33000 pixels overflow 16-bit pixel arithmetic.
    const QImage source = EncodedPicture(33000, 4);
    const QImage rotated = RotatedPicture(source, 90);
    ASSERT_EQ(rotated.size(), QSize(4, 33000));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(rotated.pixel(x, 0), Background);
    for (int y = 1; y < 33000; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(SourceOf(rotated.pixel(x, y)), QPoint(33000 - y, x)) << x << ", " << y;
}

TEST(PixelRotation, PixelsFromOutsideKeepTheDestination)
{
    const QImage source = EncodedPicture(40, 30);
    QImage destination(60, 60, QImage::Format_ARGB32);
    destination.fill(qRgb(9, 9, 9));
    RotatePicture(destination, source, 10);
    // Corners lie outside the turned picture; the centre does not.
    EXPECT_EQ(destination.pixel(0, 0), qRgb(9, 9, 9));
    EXPECT_EQ(destination.pixel(59, 59), qRgb(9, 9, 9));
    EXPECT_EQ(SourceOf(destination.pixel(30, 30)), QPoint(20, 15));
}
