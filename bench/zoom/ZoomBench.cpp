// One magnifier tick against a plain stretched copy of the same pixels.
// BM_ZoomTickWithGrab adds the screen grab; it needs an X server
// (xvfb-run -a ./bench_zoom) and is skipped elsewhere.

#include "zoom/ZoomDrawing.h"
#include "zoom/ZoomLayout.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>

#include <benchmark/benchmark.h>

namespace {

using namespace tracella;

const QSize ViewSize(300, 300);
const QPoint Pointer(400, 300);

// Stands for the screen: every pixel differs from its neighbours.
const QImage& Screen()
{
    static const QImage screen = [] {
        QImage image(1024, 768, QImage::Format_RGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = 0xFF000000 | (random.generate() & 0xFFFFFF);
        }
        return image;
    }();
    return screen;
}

float ZoomOf(const benchmark::State& state)
{
    return static_cast<float>(state.range(0)) / 100.0f;
}

void BM_ZoomTick(benchmark::State& state)
{
    const float zoom = ZoomOf(state);
    const ZoomLayout layout = ZoomLayoutAt(Pointer, ViewSize, zoom);
    const QImage source = Screen().copy(layout.source);
    QImage canvas(ViewSize, QImage::Format_RGB32);
    for (auto _ : state) {
        DrawZoom(canvas, source, layout.destination, zoom, true);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}

void BM_ZoomTickBaseline(benchmark::State& state)
{
    const ZoomLayout layout = ZoomLayoutAt(Pointer, ViewSize, ZoomOf(state));
    const QImage source = Screen().copy(layout.source);
    QImage canvas(ViewSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&canvas);
        painter.drawImage(QRect(QPoint(0, 0), layout.destination), source);
        painter.end();
        benchmark::DoNotOptimize(canvas.constBits());
    }
}

void BM_ZoomTickWithGrab(benchmark::State& state)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !screen) {
        state.SkipWithError("needs an X server");
        return;
    }
    const float zoom = ZoomOf(state);
    const ZoomLayout layout = ZoomLayoutAt(Pointer, ViewSize, zoom);
    const auto grab = [screen](const QRect& r) {
        return screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
    };
    QImage canvas(ViewSize, QImage::Format_RGB32);
    for (auto _ : state) {
        const QImage source = ZoomSourceImage(layout.source, screen->geometry(), grab);
        DrawZoom(canvas, source, layout.destination, zoom, true);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}

BENCHMARK(BM_ZoomTick)->Arg(1000)->Arg(250);
BENCHMARK(BM_ZoomTickBaseline)->Arg(1000)->Arg(250);
BENCHMARK(BM_ZoomTickWithGrab)->Arg(1000)->Arg(250)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
