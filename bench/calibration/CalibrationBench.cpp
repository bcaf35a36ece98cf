#include "calibration/ActiveCalibration.h"
#include "calibration/Calibration.h"
#include "calibration/FrameMapping.h"

#include <benchmark/benchmark.h>

#include <QTransform>

namespace tracella {
namespace {

constexpr int Points = 10'000'000;
constexpr int Width = 4000;
const QSize PictureSize(Width, 3000);

// Linear axes from 0 to 10 and 0 to 100 turned by 2 degrees: the calibration
// by axes a scanned plot gets.
AffineCalibration TurnedCalibration(QSize picture)
{
    QTransform truth;
    truth.translate(picture.width() * 0.1, picture.height() * 0.9);
    truth.rotate(-2);
    truth.scale(picture.width() * 0.08, -picture.height() * 0.008);
    const auto at = [&](double x, double y) { return std::optional(truth.map(QPointF(x, y))); };
    return std::get<AffineCalibration>(CalibrateByAxes({AxisReference{at(1, 0), "1"}, AxisReference{at(9, 0), "9"}},
                                                       {AxisReference{at(0, 10), "10"}, AxisReference{at(0, 90), "90"}},
                                                       {}, {}));
}

// The two-point Scale's road of one click: pixel -> frame position -> values.
void BM_FrameTransform(benchmark::State& state)
{
    const Frame frame = SurfaceFrame({0, 100, 10, 0});
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < Points; ++i) {
            const FramePoint p = PixelToFrame(frame, PictureSize, QPointF(i % Width, i / Width % 3000));
            const auto values = PositionToData({p.x, true}, {p.y, true}, false, false);
            sum += std::get<DataPoint>(values).x.value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Points);
}
BENCHMARK(BM_FrameTransform)->Unit(benchmark::kMillisecond);

// The same under a calibration by axes: the position is the pixel.
void BM_AffineTransform(benchmark::State& state)
{
    ActiveCalibration calibration;
    calibration.useAffine(TurnedCalibration(PictureSize));
    const AppState appState;
    const Frame frame = SurfaceFrame(PixelFrame(PictureSize));
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < Points; ++i) {
            const FramePoint p = PixelToFrame(frame, PictureSize, QPointF(i % Width, i / Width % 3000));
            const auto values = calibration.valuesAt({p.x, true}, {p.y, true}, appState);
            sum += std::get<DataPoint>(values).x.value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Points);
}
BENCHMARK(BM_AffineTransform)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tracella

BENCHMARK_MAIN();
