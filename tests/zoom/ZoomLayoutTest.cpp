#include "zoom/ZoomLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tracella;

TEST(ZoomLayout, SourceRectangleSurroundsThePointer)
{
    const ZoomLayout at250 = ZoomLayoutAt(QPoint(1000, 500), QSize(300, 300), 2.5f);
    EXPECT_EQ(at250.source, QRect(940, 440, 120, 120));
    EXPECT_EQ(at250.destination, QSize(300, 300));

    const ZoomLayout at1000 = ZoomLayoutAt(QPoint(10, 20), QSize(300, 200), 10.0f);
    EXPECT_EQ(at1000.source, QRect(-5, 10, 30, 20));
    EXPECT_EQ(at1000.destination, QSize(300, 200));

    const ZoomLayout at25 = ZoomLayoutAt(QPoint(800, 600), QSize(300, 300), 0.25f);
    EXPECT_EQ(at25.source, QRect(200, 0, 1200, 1200));
    EXPECT_EQ(at25.destination, QSize(300, 300));
}

TEST(ZoomLayout, AShortDestinationTakesOneMoreSourcePixel)
{
    // 301 / 2.5 leaves 120 pixels drawn 300 wide: one more column, and
    // 2.5 + 300 rounds to the even 302.
    const ZoomLayout odd = ZoomLayoutAt(QPoint(0, 0), QSize(301, 300), 2.5f);
    EXPECT_EQ(odd.source.width(), 121);
    EXPECT_EQ(odd.destination.width(), 302);
    EXPECT_EQ(odd.source.height(), 120);
    EXPECT_EQ(odd.destination.height(), 300);

    const ZoomLayout third = ZoomLayoutAt(QPoint(0, 0), QSize(300, 300), 3.33f);
    EXPECT_EQ(third.source.width(), 91);
    EXPECT_EQ(third.destination.width(), 302);
}

TEST(ZoomLayout, EveryFactorCoversTheViewAndCentresThePointerPixel)
{
    for (int percent = 25; percent <= 1000; ++percent) {
        const float z = percent / 100.0f;
        for (const QSize view : {QSize(112, 90), QSize(147, 130), QSize(300, 300), QSize(513, 271)}) {
            const ZoomLayout l = ZoomLayoutAt(QPoint(400, 300), view, z);
            ASSERT_GE(l.destination.width(), view.width()) << percent;
            ASSERT_GE(l.destination.height(), view.height()) << percent;
            ASSERT_LE(l.destination.width(), view.width() + z + 1) << percent;
            // The pointer's pixel, stretched as drawn, lies under the cross-hair.
            const double scale = static_cast<double>(l.destination.width()) / l.source.width();
            const int index = 400 - l.source.left();
            ASSERT_LE(index * scale, view.width() / 2 + 1.0) << percent;
            ASSERT_GE((index + 1) * scale, view.width() / 2 - 1.0) << percent;
        }
    }
}

TEST(ZoomLayout, SourceImageKeepsWhatLiesOffTheScreenBlack)
{
    const QRect screen(0, 0, 100, 80);
    std::vector<QRect> asked;
    const auto red = [&asked](const QRect& r) {
        asked.push_back(r);
        QImage part(r.size(), QImage::Format_RGB32);
        part.fill(Qt::red);
        return part;
    };

    const QImage corner = ZoomSourceImage(QRect(-10, -5, 30, 20), screen, red);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QRect(0, 0, 20, 15));
    ASSERT_EQ(corner.size(), QSize(30, 20));
    EXPECT_EQ(corner.pixel(9, 10), qRgb(0, 0, 0));
    EXPECT_EQ(corner.pixel(15, 4), qRgb(0, 0, 0));
    EXPECT_EQ(corner.pixel(10, 5), qRgb(255, 0, 0));
    EXPECT_EQ(corner.pixel(29, 19), qRgb(255, 0, 0));

    asked.clear();
    EXPECT_EQ(ZoomSourceImage(QRect(10, 10, 5, 5), screen, red).size(), QSize(5, 5));
    EXPECT_EQ(asked, std::vector<QRect>{QRect(10, 10, 5, 5)});

    asked.clear();
    const QImage outside = ZoomSourceImage(QRect(200, 200, 4, 4), screen, red);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(outside.pixel(2, 2), qRgb(0, 0, 0));

    const auto refused = [](const QRect&) { return QImage(); };
    EXPECT_TRUE(ZoomSourceImage(QRect(10, 10, 5, 5), screen, refused).isNull());
    EXPECT_TRUE(ZoomSourceImage(QRect(-1, 10, 5, 5), screen, refused).isNull());
}
