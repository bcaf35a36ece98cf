#include "picture/MarkerLayer.h"
#include "picture/ViewZoom.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace tracella;

// Every view pixel reads as a position whose nearest picture pixel is the
// one the view shows there, at every zoom of the ladder and beyond it.
TEST(ViewZoom, AViewPixelReadsAsThePicturePixelItShows)
{
    for (double z : {0.1, 0.25, 0.33, 0.5, 0.67, 1.0, 1.5, 3.0, 4.0, 16.0}) {
        const ViewZoom zoom(z);
        for (int v = 0; v < 400; ++v) {
            const QPointF p = zoom.pictureAt(QPoint(v, 2 * v));
            // The view shows picture pixel floor((v + 0.5) / z) at view pixel v.
            const double shown = std::floor((v + 0.5) / zoom.factor());
            ASSERT_LE(std::abs(p.x() - shown), 0.5) << z << " at " << v;
            ASSERT_LE(std::abs(p.y() - std::floor((2 * v + 0.5) / zoom.factor())), 0.5) << z;
        }
    }
    // At 400 % the four view pixels of picture pixel 10 read in quarter steps around 10.
    const ViewZoom four(4.0);
    EXPECT_DOUBLE_EQ(four.pictureAt(QPoint(40, 40)).x(), 9.625);
    EXPECT_DOUBLE_EQ(four.pictureAt(QPoint(43, 43)).x(), 10.375);
    // At 100 % a view pixel is exactly its picture pixel: readings as designed.
    EXPECT_EQ(ViewZoom().pictureAt(QPoint(123, 45)), QPointF(123, 45));
}

TEST(ViewZoom, FactorsAreClampedAndTheViewCoversThePicture)
{
    EXPECT_DOUBLE_EQ(ViewZoom(0.01).factor(), 0.1);
    EXPECT_DOUBLE_EQ(ViewZoom(100).factor(), 16.0);
    EXPECT_DOUBLE_EQ(ViewZoom(std::nan("")).factor(), 1.0);
    EXPECT_EQ(ViewZoom().viewSize(QSize(640, 480)), QSize(640, 480));
    EXPECT_EQ(ViewZoom(4).viewSize(QSize(20000, 20000)), QSize(80000, 80000));
    EXPECT_EQ(ViewZoom(0.1).viewSize(QSize(15, 3)), QSize(2, 1)); // never less than a pixel
    EXPECT_EQ(ViewZoom(0.33).viewSize(QSize(100, 0)), QSize(33, 0));
}

TEST(ViewZoom, RectanglesMapBothWaysAndStayInsideThePicture)
{
    const ViewZoom four(4.0);
    EXPECT_EQ(four.pictureRect(QRect(41, 0, 8, 4), QSize(100, 100)), QRect(10, 0, 3, 1));
    EXPECT_EQ(four.viewRect(QRect(10, 0, 3, 1)), QRect(40, 0, 12, 4));
    EXPECT_EQ(four.pictureRect(QRect(390, 390, 50, 50), QSize(100, 100)), QRect(97, 97, 3, 3));
    const ViewZoom quarter(0.25);
    EXPECT_EQ(quarter.pictureRect(QRect(0, 0, 1920, 1080), QSize(20000, 20000)), QRect(0, 0, 7680, 4320));
    EXPECT_EQ(quarter.viewRect(QRect(5, 5, 3, 3)), QRect(1, 1, 1, 1));
    EXPECT_EQ(quarter.viewRect(QRect(5, 5, 4, 4)), QRect(1, 1, 2, 2));
    // The view rectangle of a picture rectangle shows at least that rectangle.
    const ViewZoom odd(1.5);
    const QRect r(7, 3, 5, 2);
    EXPECT_TRUE(odd.pictureRect(odd.viewRect(r), QSize(100, 100)).contains(r));
}

TEST(ViewZoom, ScrollingKeepsTheAnchoredPictureRow)
{
    // The picture position at offset 300 of the viewport stays there from 100 % to 400 % and back.
    const double p = ViewZoom().pictureAtOffset(500, 300);
    EXPECT_DOUBLE_EQ(p, 800);
    const int scroll = ViewZoom(4).scrollKeeping(p, 300);
    EXPECT_NEAR(ViewZoom(4).pictureAtOffset(scroll, 300), p, 0.25);
    EXPECT_EQ(ViewZoom().scrollKeeping(ViewZoom(4).pictureAtOffset(scroll, 300), 300), 500);
}

TEST(ViewZoom, TheLadderAndTheZoomBoxText)
{
    EXPECT_EQ(ViewZoom().steppedIn().text(), QStringLiteral("150%"));
    EXPECT_EQ(ViewZoom().steppedOut().text(), QStringLiteral("67%"));
    EXPECT_EQ(ViewZoom(1.1).steppedOut().text(), QStringLiteral("100%"));
    EXPECT_DOUBLE_EQ(ViewZoom(16).steppedIn().factor(), 16.0);
    EXPECT_DOUBLE_EQ(ViewZoom(0.1).steppedOut().factor(), 0.1);

    EXPECT_DOUBLE_EQ(ViewZoom::fromText(QStringLiteral("250%"))->factor(), 2.5);
    EXPECT_DOUBLE_EQ(ViewZoom::fromText(QStringLiteral(" 33.3 % "))->factor(), 0.333);
    EXPECT_DOUBLE_EQ(ViewZoom::fromText(QStringLiteral("5000"))->factor(), 16.0);
    EXPECT_DOUBLE_EQ(ViewZoom::fromText(QStringLiteral("0"))->factor(), 0.1);
    EXPECT_FALSE(ViewZoom::fromText(QStringLiteral("abc")));
    EXPECT_FALSE(ViewZoom::fromText(QString()));
}

// Enlarged, a dot grows with its pixels; reduced, it keeps one view pixel.
TEST(ViewZoom, MarkersFollowTheZoomOfTheView)
{
    MarkerLayer layer;
    layer.add({QPoint(10, 10), Rgb(255, 0, 0), 3}, QRect(0, 0, 100, 100));
    const auto paintAt = [&layer](double z, QSize size) {
        QImage view(size, QImage::Format_RGB32);
        view.fill(Qt::white);
        QPainter painter(&view);
        layer.paint(painter, QRect(0, 0, 100, 100), z);
        return view;
    };
    const QImage big = paintAt(4.0, QSize(60, 60));
    EXPECT_EQ(big.pixelColor(36, 36), QColor(255, 0, 0)); // picture pixel 9 ... 11 at 400 %
    EXPECT_EQ(big.pixelColor(47, 47), QColor(255, 0, 0));
    EXPECT_EQ(big.pixelColor(48, 48), QColor(Qt::white));
    EXPECT_EQ(big.pixelColor(35, 40), QColor(Qt::white));
    const QImage small = paintAt(0.25, QSize(10, 10));
    EXPECT_EQ(small.pixelColor(2, 2), QColor(255, 0, 0));
    int red = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            red += small.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_EQ(red, 1);
}
