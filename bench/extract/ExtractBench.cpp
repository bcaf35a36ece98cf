#include "calibration/ActiveCalibration.h"
#include "extract/ColourSweep.h"
#include "extract/Interpolation.h"
#include "extract/NaturalSpline.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

#include <QTransform>

namespace tracella {
namespace {

// An 8000 x 8000 picture swept at one sample every two pixels, nothing
// matching: 4001 x 4001 samples.
constexpr int PictureSide = 8000;
constexpr int SampleSpacing = 2;

const QImage& BlankPicture()
{
    static const QImage picture = [] {
        QImage image(PictureSide, PictureSide, QImage::Format_RGB32);
        image.fill(qRgb(255, 255, 255));
        return image;
    }();
    return picture;
}

void BM_AutoReadSweep(benchmark::State& state)
{
    const QImage& picture = BlankPicture();
    const SweepSettings settings{BaseFrame, PictureSide / SampleSpacing, PictureSide / SampleSpacing, Rgb(250, 0, 0)};
    int progressReports = 0;
    SweepHandlers handlers;
    handlers.match = [](double, float) { return SweepAnswer::Continue; };
    handlers.progress = [&](int) { ++progressReports; };
    for (auto _ : state)
        benchmark::DoNotOptimize(SweepColours(picture, settings, handlers));
    state.counters["progress_reports"] = progressReports / static_cast<double>(state.iterations());
}
BENCHMARK(BM_AutoReadSweep)->Unit(benchmark::kMillisecond);

// The plain loop: the same pixels, row by row through scanLine, summed.
void BM_AutoReadBaseline(benchmark::State& state)
{
    const QImage& picture = BlankPicture();
    for (auto _ : state) {
        std::uint64_t sum = 0;
        for (int y = 0; y < PictureSide; y += SampleSpacing) {
            const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            for (int x = 0; x < PictureSide; x += SampleSpacing)
                sum += line[x];
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_AutoReadBaseline)->Unit(benchmark::kMillisecond);

// BM_AutoReadSweep under a calibration by axes (linear axes turned by 2
// degrees): the surface's frame is the pixel frame and every match is read
// through the calibration.
void BM_AutoReadAffine(benchmark::State& state)
{
    const QSize size(PictureSide, PictureSide);
    const auto at = [&](double x, double y) {
        return std::optional(QTransform().translate(800, 7200).rotate(-2).scale(640, -64).map(QPointF(x, y)));
    };
    ActiveCalibration calibration;
    calibration.useAffine(std::get<AffineCalibration>(
        CalibrateByAxes({AxisReference{at(1, 0), "1"}, AxisReference{at(9, 0), "9"}},
                        {AxisReference{at(0, 10), "10"}, AxisReference{at(0, 90), "90"}}, {}, {})));
    const SweepSettings settings{PixelFrame(size), PictureSide / SampleSpacing, PictureSide / SampleSpacing,
                                 Rgb(250, 0, 0)};
    const AppState appState;
    double sum = 0;
    SweepHandlers handlers;
    handlers.match = [&](double x, float y) {
        sum += std::get<DataPoint>(calibration.valuesAt({x, false}, {y, true}, appState)).x.value;
        return SweepAnswer::Continue;
    };
    handlers.progress = [](int) {};
    for (auto _ : state)
        benchmark::DoNotOptimize(SweepColours(BlankPicture(), settings, handlers));
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_AutoReadAffine)->Unit(benchmark::kMillisecond);

// A full grid of points along a wavy curve, interpolated at 100000 places.
constexpr int SplineRows = 32766;
constexpr int GeneratedPoints = 100000;

const std::vector<SplineRow>& CurveRows()
{
    static const std::vector<SplineRow> rows = [] {
        std::mt19937 random(1);
        std::uniform_real_distribution<double> gap(0.5, 1.5);
        std::vector<SplineRow> curve;
        double x = 0;
        for (int i = 0; i < SplineRows; ++i) {
            curve.push_back({x, 100 * std::sin(x / 300)});
            x += gap(random);
        }
        return curve;
    }();
    return rows;
}

void BM_Spline(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(InterpolateRows(CurveRows(), true, GeneratedPoints));
}
BENCHMARK(BM_Spline)->Unit(benchmark::kMillisecond);

// The same fit, evaluated by a plain binary search and no checks.
void BM_SplineBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<float> t, v;
        for (const SplineRow& row : CurveRows()) {
            t.push_back(static_cast<float>(row.x));
            v.push_back(static_cast<float>(row.y));
        }
        const auto spline = std::get<NaturalSpline>(NaturalSpline::Fit(std::move(t), std::move(v)));
        const SplineCoefficients& c = spline.Coefficients();
        const float spacing = static_cast<float>((static_cast<double>(c.knots.back()) - c.knots.front()) /
                                                 GeneratedPoints);
        std::vector<SplinePoint> points;
        points.reserve(GeneratedPoints);
        float a = c.knots.front();
        for (int k = 0; k < GeneratedPoints; ++k) {
            a += spacing;
            const auto above = std::upper_bound(c.knots.begin(), c.knots.end() - 1, a) - c.knots.begin();
            const auto i = static_cast<std::size_t>(std::max<std::ptrdiff_t>(above - 1, 0));
            const float d = a - c.knots[i];
            points.push_back({a, c.values[i] + d * (c.linear[i] + d * (c.quadratic[i] + d * c.cubic[i]))});
        }
        benchmark::DoNotOptimize(points.data());
    }
}
BENCHMARK(BM_SplineBaseline)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tracella

BENCHMARK_MAIN();
