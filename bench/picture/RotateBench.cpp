#include "picture/PixelRotation.h"

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <benchmark/benchmark.h>

namespace {

// A 4000 x 3000 picture with gradients and lines, like a scanned graph.
const QImage& Picture()
{
    static const QImage picture = [] {
        QImage image(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = (x % 100 == 0 || y % 100 == 0) ? qRgb(0, 0, 0) : qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
        }
        return image;
    }();
    return picture;
}

constexpr double Angle = 30;

void BM_Rotate(benchmark::State& state)
{
    const QImage& source = Picture();
    for (auto _ : state) {
        QImage rotated = tracella::RotatedPicture(source, Angle);
        benchmark::DoNotOptimize(rotated.constBits());
    }
}
BENCHMARK(BM_Rotate)->Unit(benchmark::kMillisecond);

void BM_RotateBaseline(benchmark::State& state)
{
    const QImage& source = Picture();
    for (auto _ : state) {
        QImage rotated = source.transformed(QTransform().rotate(Angle), Qt::FastTransformation);
        benchmark::DoNotOptimize(rotated.constBits());
    }
}
BENCHMARK(BM_RotateBaseline)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
