#include "picture/MarkerLayer.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

using namespace tracella;

namespace {

constexpr QRgb Background = 0xFFFFFFFF;

QImage blank(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Background);
    return image;
}

QImage painted(const MarkerLayer& layer, QSize size, const QRect& exposed)
{
    QImage image = blank(size);
    QPainter painter(&image);
    painter.setClipRect(exposed);
    layer.paint(painter, exposed);
    return image;
}

// The pixels of a lone dot, as rows of '#' and '.' over its bounding box.
std::vector<std::string> dotShape(int diameter)
{
    MarkerLayer layer;
    layer.add({QPoint(10, 10), Rgb(0, 0, 0), diameter});
    const QImage image = painted(layer, QSize(21, 21), QRect(0, 0, 21, 21));
    const QRect box = MarkerLayer::bounds(layer.markers().front());
    std::vector<std::string> rows;
    for (int y = box.top() - 1; y <= box.bottom() + 1; ++y) {
        std::string row;
        for (int x = box.left() - 1; x <= box.right() + 1; ++x)
            row += image.pixel(x, y) == Background ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(MarkerLayer, DotsAreDiscsOfTheirDiameterAroundTheirPixel)
{
    EXPECT_EQ(MarkerLayer::bounds({QPoint(10, 10), 0, 1}), QRect(10, 10, 1, 1));
    EXPECT_EQ(MarkerLayer::bounds({QPoint(10, 10), 0, 3}), QRect(9, 9, 3, 3));
    EXPECT_EQ(MarkerLayer::bounds({QPoint(10, 10), 0, 4}), QRect(8, 8, 4, 4));
    EXPECT_EQ(MarkerLayer::bounds({QPoint(10, 10), 0, 0}), QRect(10, 10, 1, 1)); // never thinner than a pixel

    EXPECT_EQ(dotShape(1), (std::vector<std::string>{"...", ".#.", "..."}));
    EXPECT_EQ(dotShape(3), (std::vector<std::string>{".....", ".###.", ".###.", ".###.", "....."}));
    EXPECT_EQ(dotShape(5), (std::vector<std::string>{".......", "..###..", ".#####.", ".#####.", ".#####.",
                                                     "..###..", "......."}));
}

TEST(MarkerLayer, PaintsInItsColoursOldestFirstAndOnlyWhereExposed)
{
    MarkerLayer layer;
    layer.add({QPoint(5, 5), Rgb(255, 0, 0), 3});
    layer.add({QPoint(6, 5), Rgb(0, 0, 255), 1}); // on top of the red dot
    layer.add({QPoint(40, 20), Rgb(80, 255, 30), 3});
    EXPECT_EQ(layer.count(), 3);

    const QImage all = painted(layer, QSize(50, 30), QRect(0, 0, 50, 30));
    EXPECT_EQ(all.pixel(4, 5), qRgb(255, 0, 0));
    EXPECT_EQ(all.pixel(6, 5), qRgb(0, 0, 255));
    EXPECT_EQ(all.pixel(40, 20), qRgb(80, 255, 30));

    const QImage left = painted(layer, QSize(50, 30), QRect(0, 0, 20, 30));
    EXPECT_EQ(left.pixel(4, 5), qRgb(255, 0, 0));
    EXPECT_EQ(left.pixel(40, 20), Background);

    layer.clear();
    EXPECT_EQ(layer.count(), 0);
    EXPECT_EQ(painted(layer, QSize(50, 30), QRect(0, 0, 50, 30)), blank(QSize(50, 30)));
}

// The cells that file the dots must find exactly the dots a full look finds,
// across cell borders, for wide dots and for dots off the picture.
TEST(MarkerLayer, PaintingAPartMatchesPaintingTheWhole)
{
    const QSize size(700, 500);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(-20, size.width() + 20), y(-20, size.height() + 20), d(1, 40);
    MarkerLayer layer;
    for (int i = 0; i < 3000; ++i)
        layer.add({QPoint(x(random), y(random)), Rgb(i % 256, (i / 256) % 256, 99), d(random)});

    const QImage whole = painted(layer, size, QRect(QPoint(0, 0), size));
    for (const QRect part : {QRect(0, 0, 1, 1), QRect(127, 127, 2, 2), QRect(100, 50, 300, 200),
                             QRect(650, 450, 50, 50), QRect(256, 0, 1, 500)}) {
        const QImage piece = painted(layer, size, part);
        EXPECT_EQ(piece.copy(part), whole.copy(part)) << part.x() << "," << part.y();
    }
}
