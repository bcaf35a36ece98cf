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
    layer.add({QPoint(10, 10), Rgb(0, 0, 0), diameter}, QRect(0, 0, 21, 21));
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
    const QRect canvas(0, 0, 50, 30);
    layer.add({QPoint(5, 5), Rgb(255, 0, 0), 3}, canvas);
    layer.add({QPoint(6, 5), Rgb(0, 0, 255), 1}, canvas); // on top of the red dot
    layer.add({QPoint(40, 20), Rgb(80, 255, 30), 3}, canvas);
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

// Each picture pixel shows the colour of the last dot whose disc holds the
// pixel's centre, whatever part is painted: the cells that file small dots,
// the list of wide ones and the skipping of dots hidden under a later one
// must all agree with that rule.
TEST(MarkerLayer, EveryPixelShowsTheLastDotOverIt)
{
    struct Case {
        const char* name;
        int count;
        int smallest, largest;
    };
    const Case cases[] = {
        {"small dots across cell borders", 3000, 1, 40},
        {"wide dots, some off the picture", 60, 100, 900},
        {"dots larger than the picture", 12, 700, 3000},
    };
    const QSize size(700, 500);
    for (const Case& c : cases) {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> x(-40, size.width() + 40), y(-40, size.height() + 40),
            d(c.smallest, c.largest);
        MarkerLayer layer;
        for (int i = 0; i < c.count; ++i)
            layer.add({QPoint(x(random), y(random)), Rgb(i % 256, (i / 256) % 256, 99), d(random)},
                      QRect(QPoint(0, 0), size));

        // The rule itself, dot after dot over a blank picture.
        QImage expected = blank(size);
        for (const Marker& m : layer.markers()) {
            const QRect box = MarkerLayer::bounds(m);
            const double r = box.width() / 2.0;
            const QRect area = box & expected.rect();
            for (int py = area.top(); py <= area.bottom(); ++py) {
                for (int px = area.left(); px <= area.right(); ++px) {
                    const double dx = px + 0.5 - (box.left() + r), dy = py + 0.5 - (box.top() + r);
                    if (dx * dx + dy * dy <= r * r)
                        expected.setPixel(px, py, qRgb(RedOf(m.colour), GreenOf(m.colour), BlueOf(m.colour)));
                }
            }
        }
        for (const QRect part : {QRect(QPoint(0, 0), size), QRect(0, 0, 1, 1), QRect(127, 127, 2, 2),
                                 QRect(100, 50, 300, 200), QRect(650, 450, 50, 50), QRect(256, 0, 1, 500)}) {
            const QImage piece = painted(layer, size, part);
            int wrong = 0;
            for (int py = part.top(); py <= part.bottom(); ++py)
                for (int px = part.left(); px <= part.right(); ++px)
                    wrong += piece.pixel(px, py) != expected.pixel(px, py);
            EXPECT_EQ(wrong, 0) << c.name << ", part at " << part.x() << "," << part.y();
        }
    }
}

// The largest dot the options allow, on every point a grid may hold: filed
// and drawn at the cost of the picture, not of 32767 pixels a side each.
TEST(MarkerLayer, HugeDotsOnAFullGridCostNoMoreThanThePicture)
{
    const QRect canvas(0, 0, 4000, 3000);
    MarkerLayer layer;
    std::mt19937 random(3);
    std::uniform_int_distribution<int> x(0, canvas.width() - 1), y(0, canvas.height() - 1);
    for (int i = 0; i < 32766; ++i)
        layer.add({QPoint(x(random), y(random)), i % 2 ? Rgb(255, 0, 0) : Rgb(0, 0, 255), 32767}, canvas);
    EXPECT_EQ(layer.count(), 32766);

    // Every dot covers the whole picture: the last one drawn is all that shows.
    const QRect view(1800, 1400, 320, 240);
    const QImage image = painted(layer, QSize(4000, 3000), view);
    EXPECT_EQ(image.copy(view), [&] {
        QImage last(view.size(), QImage::Format_RGB32);
        last.fill(qRgb(255, 0, 0));
        return last;
    }());
}
