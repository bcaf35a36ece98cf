// How a picture is turned, laid out, zoomed and marked: the logic under the document window.
#include "picture/DocumentLayout.h"
#include "picture/MarkerLayer.h"
#include "picture/PixelRotation.h"
#include "picture/PolarTurn.h"
#include "picture/ViewZoom.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>

using namespace tracella;

namespace {

const QRgb White = qRgb(255, 255, 255);

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

QImage blank(QSize size, QRgb colour = White)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage painted(const MarkerLayer& layer, QSize size, const QRect& exposed)
{
    QImage image = blank(size);
    QPainter painter(&image);
    painter.setClipRect(exposed);
    layer.paint(painter, exposed, 1.0);
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
            row += image.pixel(x, y) == White ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(PixelRotation, RotatedSizeIsTheBoundingBox)
{
    const struct {
        QSize source;
        double angle;
        QSize rotated;
    } cases[] = {{{200, 100}, 90, {100, 200}}, {{200, 100}, 45, {212, 212}}, {{4000, 3000}, 30, {4964, 4598}}};
    for (const auto& c : cases)
        EXPECT_EQ(RotatedSize(c.source, c.angle), c.rotated) << c.angle;
}

// Quarter and half turns move every pixel exactly; the first row (and column
// for a half turn) is the background. 33000 pixels overflow 16-bit arithmetic.
TEST(PixelRotation, QuarterAndHalfTurnsPutEveryPixelInItsPlace)
{
    const struct {
        const char* what;
        QSize size;
        double angle;
        QImage::Format format;
        Colour background;
        int columns; // half the longer side of the result
    } cases[] = {
        {"quarter turn", {200, 100}, 90, QImage::Format_RGB32, DefaultCanvasBackground, 100},
        {"long strip", {33000, 4}, 90, QImage::Format_RGB32, DefaultCanvasBackground, 16500},
        {"half turn, 24-bit", {200, 100}, 180, QImage::Format_RGB888, Rgb(1, 2, 3), 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int w = c.size.width(), h = c.size.height();
        int columns = 0;
        const QImage rotated = RotatedPicture(EncodedPicture(w, h, c.format), c.angle, c.background, [&] { ++columns; });
        ASSERT_EQ(rotated.size(), RotatedSize(c.size, c.angle));
        EXPECT_EQ(columns, c.columns);
        const QRgb background = qRgb(RedOf(c.background), GreenOf(c.background), BlueOf(c.background));
        for (int y = 0; y < rotated.height(); ++y) {
            for (int x = 0; x < rotated.width(); ++x) {
                const bool edge = y == 0 || (c.angle == 180 && x == 0);
                if (edge)
                    ASSERT_EQ(rotated.pixel(x, y), background) << x << ", " << y;
                else // the old top edge runs down the left for a quarter turn
                    ASSERT_EQ(SourceOf(rotated.pixel(x, y)), c.angle == 90 ? QPoint(w - y, x) : QPoint(w - x, h - y))
                        << x << ", " << y;
            }
        }
    }
}

// The fast columns must match the defined computation pixel for pixel. Row
// 39469 of column 12539 has an arctangent too near the midpoint of two floats
// for the estimate to tell; at 25.7 degrees the guess would be a pixel off.
TEST(PolarTurn, ColumnsMatchTheDefinedComputation)
{
    std::vector<std::int64_t> all(601);
    std::iota(all.begin(), all.end(), 0);
    std::vector<std::tuple<double, std::int64_t, std::vector<std::int64_t>>> cases{
        {30, 20000, {1, 2, 997, 5000, 16499, 20000}}, {77.7, 40000, {3, 12345, 40000}}, {25.7, 40000, {12539}}};
    for (const double angle : {0.5, 45.0, 123.456, 270.0, 359.9})
        cases.emplace_back(angle, 600, all);
    for (const auto& [angle, reach, columns] : cases) {
        PolarTurn turn(angle, reach);
        std::vector<PixelOffset> offsets(static_cast<std::size_t>(reach + 1));
        for (const std::int64_t x : columns) {
            turn.column(x, offsets);
            for (std::int64_t y = 0; y <= reach; ++y)
                ASSERT_EQ(offsets[y], turn.defined(x, y)) << "angle " << angle << " at " << x << ", " << y;
        }
    }
    // At 30 degrees the angle of (239, 339), rounded to single precision,
    // turns to (38, 413); held in double it would turn to (37, 413).
    EXPECT_EQ(PolarTurn(30, 400).defined(239, 339), (PixelOffset{38, 413}));
}

TEST(DocumentLayout, ViewportAndBarsShareTheWindowAndShowWhereThePictureOverhangs)
{
    const auto layOut = [](QSize surface, int top = 22) { return LayOutDocument({QSize(800, 500), top, 16, 17, surface}); };
    const DocumentLayout l = layOut(QSize(100, 100));
    EXPECT_EQ(l.viewport, QRect(0, 22, 784, 461));
    EXPECT_EQ(l.horizontalBar, QRect(0, 483, 784, 17));
    // A window smaller than its bars leaves an empty viewport, never a negative one.
    EXPECT_EQ(LayOutDocument({QSize(10, 30), 22, 16, 17, QSize(5, 5)}).viewport.size(), QSize(0, 0));

    const struct {
        QSize surface;
        bool horizontal, vertical;
        int horizontalMaximum, verticalMaximum;
    } cases[] = {
        {{784, 461}, false, false, 0, 0},
        {{785, 300}, true, false, 1, 0},
        {{20000, 60000}, true, true, 20000 - 784, 60000 - 461}, // far beyond the 16-bit range of old
    };
    for (const auto& c : cases) {
        const DocumentLayout d = layOut(c.surface);
        EXPECT_EQ(d.horizontalVisible, c.horizontal) << c.surface.width();
        EXPECT_EQ(d.verticalVisible, c.vertical) << c.surface.width();
        EXPECT_EQ(d.horizontalMaximum, c.horizontalMaximum) << c.surface.width();
        EXPECT_EQ(d.verticalMaximum, c.verticalMaximum) << c.surface.width();
    }
}

// Every view pixel reads as a position whose nearest picture pixel is the
// one the view shows there, at every zoom of the ladder and beyond it.
TEST(ViewZoom, AViewPixelReadsAsThePicturePixelItShows)
{
    for (double z : {0.1, 0.33, 1.0, 1.5, 4.0, 16.0}) {
        const ViewZoom zoom(z);
        for (int v = 0; v < 400; ++v) {
            const QPointF p = zoom.pictureAt(QPoint(v, 2 * v));
            // The view shows picture pixel floor((v + 0.5) / z) at view pixel v.
            ASSERT_LE(std::abs(p.x() - std::floor((v + 0.5) / zoom.factor())), 0.5) << z << " at " << v;
            ASSERT_LE(std::abs(p.y() - std::floor((2 * v + 0.5) / zoom.factor())), 0.5) << z;
        }
    }
    // At 100 % a view pixel is exactly its picture pixel: readings as designed.
    EXPECT_EQ(ViewZoom().pictureAt(QPoint(123, 45)), QPointF(123, 45));
}

TEST(ViewZoom, FactorsAreClampedAndTheViewCoversThePicture)
{
    for (const auto& [asked, factor] : {std::pair{0.01, 0.1}, {100.0, 16.0}, {std::nan(""), 1.0}})
        EXPECT_DOUBLE_EQ(ViewZoom(asked).factor(), factor) << asked;
    EXPECT_EQ(ViewZoom(4).viewSize(QSize(20000, 20000)), QSize(80000, 80000));
    EXPECT_EQ(ViewZoom(0.1).viewSize(QSize(15, 3)), QSize(2, 1)); // never less than a pixel

    const ViewZoom four(4.0), quarter(0.25), odd(1.5);
    EXPECT_EQ(four.pictureRect(QRect(41, 0, 8, 4), QSize(100, 100)), QRect(10, 0, 3, 1));
    EXPECT_EQ(four.pictureRect(QRect(390, 390, 50, 50), QSize(100, 100)), QRect(97, 97, 3, 3));
    EXPECT_EQ(quarter.pictureRect(QRect(0, 0, 1920, 1080), QSize(20000, 20000)), QRect(0, 0, 7680, 4320));
    // The view rectangle of a picture rectangle shows at least that rectangle.
    EXPECT_TRUE(odd.pictureRect(odd.viewRect(QRect(7, 3, 5, 2)), QSize(100, 100)).contains(QRect(7, 3, 5, 2)));

}

TEST(ViewZoom, TheLadderAndTheZoomBoxText)
{
    EXPECT_EQ(ViewZoom().steppedIn().text(), QStringLiteral("150%"));
    EXPECT_EQ(ViewZoom().steppedOut().text(), QStringLiteral("67%"));
    EXPECT_EQ(ViewZoom(1.1).steppedOut().text(), QStringLiteral("100%"));
    EXPECT_DOUBLE_EQ(ViewZoom(16).steppedIn().factor(), 16.0);
    for (const auto& [text, factor] : {std::pair{" 33.3 % ", 0.333}, {"5000", 16.0}})
        EXPECT_DOUBLE_EQ(ViewZoom::fromText(QString::fromLatin1(text))->factor(), factor) << text;
    EXPECT_FALSE(ViewZoom::fromText(QStringLiteral("abc")));
}

TEST(MarkerLayer, DotsAreDiscsOfTheirDiameterAroundTheirPixel)
{
    for (const auto& [diameter, box] : {std::pair{4, QRect(8, 8, 4, 4)}, {0, QRect(10, 10, 1, 1)}}) // never thinner than a pixel
        EXPECT_EQ(MarkerLayer::bounds({QPoint(10, 10), 0, diameter}), box) << diameter;
    EXPECT_EQ(dotShape(3), (std::vector<std::string>{".....", ".###.", ".###.", ".###.", "....."}));
    EXPECT_EQ(dotShape(5), (std::vector<std::string>{".......", "..###..", ".#####.", ".#####.", ".#####.",
                                                     "..###..", "......."}));
}

// Each picture pixel shows the colour of the last dot whose disc holds the
// pixel's centre, whatever part is painted: the cells that file small dots,
// the list of wide ones and the skipping of dots hidden under a later one
// must all agree with that rule. Cleared, the layer paints nothing.
TEST(MarkerLayer, EveryPixelShowsTheLastDotOverIt)
{
    const struct {
        const char* name;
        int count;
        int smallest, largest;
    } cases[] = {
        {"small dots across cell borders", 3000, 1, 40},
        {"wide dots, some off the picture", 60, 100, 900},
        {"dots larger than the picture", 12, 700, 3000},
    };
    const QSize size(700, 500);
    for (const auto& c : cases) {
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
        for (const QRect part : {QRect(QPoint(0, 0), size), QRect(127, 127, 2, 2), QRect(650, 450, 50, 50)}) {
            const QImage piece = painted(layer, size, part);
            int wrong = 0;
            for (int py = part.top(); py <= part.bottom(); ++py)
                for (int px = part.left(); px <= part.right(); ++px)
                    wrong += piece.pixel(px, py) != expected.pixel(px, py);
            EXPECT_EQ(wrong, 0) << c.name << ", part at " << part.x() << "," << part.y();
        }
        EXPECT_EQ(layer.count(), c.count);
        layer.clear();
        EXPECT_EQ(layer.count(), 0);
        EXPECT_EQ(painted(layer, size, QRect(QPoint(0, 0), size)), blank(size)) << c.name;
    }
}
