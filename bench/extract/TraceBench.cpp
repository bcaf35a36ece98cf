// Tracing one curve on an 8000 x 8000 picture at every column, and following
// it from a point at a 1-pixel step, against one plain pass over the same
// pixels comparing each with the colour.
#include "extract/CurveFollow.h"
#include "extract/CurveTrace.h"

#include <QPainter>
#include <QPainterPath>
#include <benchmark/benchmark.h>

#include <cmath>

namespace tracella {
namespace {

constexpr int Side = 8000;
constexpr int Tolerance = 40;
const Colour CurveColour = Rgb(220, 20, 30);

const QImage& CurvePicture()
{
    static const QImage picture = [] {
        QImage image(Side, Side, QImage::Format_RGB32);
        image.fill(qRgb(255, 255, 255));
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(220, 20, 30), 3));
        QPainterPath path(QPointF(0, Side / 2.0));
        for (double x = 1; x <= Side; x += 1)
            path.lineTo(x, Side / 2.0 + Side / 3.0 * std::sin(x / 700));
        p.drawPath(path);
        return image;
    }();
    return picture;
}

void BM_TraceCurve(benchmark::State& state)
{
    TraceSettings s;
    s.colour = CurveColour;
    s.tolerance = Tolerance;
    s.region = QRect(0, 0, Side, Side);
    for (int x = 0; x < Side; ++x)
        s.samples.push_back(x + 0.5);
    std::int64_t found = 0;
    for (auto _ : state) {
        const TraceResult result = TraceCurve(CurvePicture(), s);
        found = result.count;
        benchmark::DoNotOptimize(result.points.data());
    }
    state.counters["points"] = static_cast<double>(found);
}
BENCHMARK(BM_TraceCurve)->Unit(benchmark::kMillisecond);

void BM_TraceFollow(benchmark::State& state)
{
    FollowSettings s;
    s.colour = CurveColour;
    s.start = QPointF(Side / 2.0, Side / 2.0 + Side / 3.0 * std::sin(Side / 2.0 / 700));
    std::int64_t found = 0;
    for (auto _ : state) {
        const FollowResult result = FollowCurve(CurvePicture(), s);
        found = result.count;
        benchmark::DoNotOptimize(result.points.data());
    }
    state.counters["points"] = static_cast<double>(found);
}
BENCHMARK(BM_TraceFollow)->Unit(benchmark::kMillisecond);

void BM_TraceCurveBaseline(benchmark::State& state)
{
    const QImage& picture = CurvePicture();
    for (auto _ : state) {
        std::int64_t matches = 0;
        for (int y = 0; y < Side; ++y) {
            const auto* line = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y));
            for (int x = 0; x < Side; ++x)
                matches += DistanceSquared(line[x], CurveColour) <= Tolerance * Tolerance;
        }
        benchmark::DoNotOptimize(matches);
    }
}
BENCHMARK(BM_TraceCurveBaseline)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tracella

BENCHMARK_MAIN();
