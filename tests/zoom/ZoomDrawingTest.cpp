#include "zoom/ZoomDrawing.h"
#include "zoom/ZoomLayout.h"


#include <gtest/gtest.h>

#include <cmath>

using namespace tracella;

namespace {

// An independent model of the magnifier, written from its rule rather than
// from the drawing code: the layout of one axis, then every screen pixel
// painted in turn over [floor(k s), floor((k + 1) s)), s = drawn / taken.
// The grid over it is the window test's to see.
struct ModelAxis {
    int taken = 0;
    int drawn = 0;
};

ModelAxis ModelAxisOf(int view, float zoom)
{
    const double z = zoom;
    ModelAxis axis{static_cast<int>(std::floor(view / z)), 0};
    const int stretched = static_cast<int>(std::floor(z * axis.taken));
    if (stretched > view) {
        axis.drawn = stretched;
    } else if (stretched < view) {
        ++axis.taken;
        axis.drawn = static_cast<int>(std::nearbyint(z + stretched)); // halves to even
    } else {
        axis.drawn = view;
    }
    return axis;
}

// Neighbouring screen pixels never share a colour.
QRgb ScreenPixel(int x, int y)
{
    return qRgb((x * 37) % 256, (y * 53) % 256, (x * 7 + y * 11) % 256);
}

QImage ModelView(const QSize& view, float zoom)
{
    const ModelAxis ax = ModelAxisOf(view.width(), zoom);
    const ModelAxis ay = ModelAxisOf(view.height(), zoom);
    QImage expected(view, QImage::Format_RGB32);
    expected.fill(Qt::black);
    const auto edge = [](int k, const ModelAxis& a) {
        return static_cast<int>(std::floor(static_cast<double>(k) * a.drawn / a.taken));
    };
    for (int j = 0; j < ay.taken; ++j)
        for (int y = edge(j, ay); y < edge(j + 1, ay) && y < view.height(); ++y)
            for (int i = 0; i < ax.taken; ++i)
                for (int x = edge(i, ax); x < edge(i + 1, ax) && x < view.width(); ++x)
                    expected.setPixel(x, y, ScreenPixel(i, j));
    return expected;
}

} // namespace

// Shrunk (25 %), stretched by a fraction (250 %) and by a whole number
// (1000 %), in a view whose sides are no multiple of either.
TEST(ZoomDrawing, EveryViewMatchesTheRulePixelForPixel)
{
    const QSize view(47, 31);
    for (const int percent : {25, 250, 1000}) {
        const float zoom = percent / 100.0f;
        const ZoomLayout layout = ZoomLayoutAt(QPoint(700, 500), view, zoom);
        QImage source(layout.source.size(), QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, ScreenPixel(x, y));
        QImage canvas(view, QImage::Format_RGB32);
        canvas.fill(Qt::red);
        DrawZoom(canvas, source, layout.destination, zoom, false);
        EXPECT_TRUE(canvas == ModelView(view, zoom)) << percent << "%";
    }
}
