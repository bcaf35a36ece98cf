#include "extract/CurveTrace.h"
#include "extract/MatchPreview.h"
#include "extract/TraceSteps.h"

#include "ExtractPlots.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>

namespace tracella {
namespace {

using namespace test;

constexpr int Width = 640;
constexpr int Height = 400;
constexpr double CurveStart = 40;
constexpr double CurveEnd = 600;
const Colour Red = Rgb(220, 20, 30);
const Colour Blue = Rgb(20, 60, 220);
constexpr int JpegTolerance = 100;

using Curve = std::function<double(double)>;

double Wave(double x)
{
    return 200 + 120 * std::sin(x / 60);
}

Curve Flat(double y)
{
    return [y](double) { return y; };
}

QImage Plot(std::initializer_list<std::pair<Curve, Colour>> curves, double width = 3, Qt::PenStyle style = Qt::SolidLine)
{
    QImage picture = Paper(Width, Height);
    for (const auto& [f, colour] : curves)
        DrawLine(picture, GraphOf(f, CurveStart, CurveEnd), ColourOf(colour), width, style);
    return picture;
}

// A frame of axes and a legend line in the curve's own colour, as plots have.
void DrawAxesAndLegend(QImage& picture, Colour colour)
{
    QPainter p(&picture);
    p.setPen(QPen(ColourOf(colour), 2));
    p.drawRect(QRectF(20, 10, Width - 30, Height - 30));
    p.drawLine(QPointF(480, 30), QPointF(560, 30));
}

// The share of points within limit of the curve, found along it nearby.
double ShareWithin(const std::vector<TracePoint>& points, const Curve& f, double limit)
{
    const auto near = std::count_if(points.begin(), points.end(), [&](const TracePoint& p) {
        double best = 1e9;
        for (double x = p.x - 4; x <= p.x + 4; x += 0.005)
            best = std::min(best, std::hypot(p.x - x, p.y - f(x)));
        return best <= limit;
    });
    return points.empty() ? 0 : static_cast<double>(near) / static_cast<double>(points.size());
}

TraceSettings CurveSettings(Colour colour, int tolerance = 40, const QRect& region = QRect(0, 0, Width, Height))
{
    TraceSettings s;
    s.colour = colour;
    for (int x = 0; x < Width; ++x)
        s.samples.push_back(x + 0.5);
    s.region = region;
    s.tolerance = tolerance;
    return s;
}

std::map<double, int> PerColumn(const std::vector<TracePoint>& points)
{
    std::map<double, int> columns;
    for (const TracePoint& p : points)
        ++columns[p.x];
    return columns;
}

// One point in each column of the drawn range (the pen's round joins may add
// a column at either end); the faults listed by column.
void ExpectOnePointPerColumn(const std::vector<TracePoint>& points, double from = CurveStart, double to = CurveEnd)
{
    const std::map<double, int> columns = PerColumn(points);
    std::string missing, wrong;
    for (double x = from + 0.5; x < to; ++x)
        if (!columns.count(x))
            missing += std::to_string(x) + " ";
    for (const auto& [x, n] : columns)
        if (n != 1 || x < from - 2 || x > to + 2)
            wrong += std::to_string(x) + "x" + std::to_string(n) + " ";
    EXPECT_EQ(missing, "") << "columns without a point";
    EXPECT_EQ(wrong, "") << "columns with more points or outside";
}

TEST(CurveTrace, LinePlotsAreTracedWithinHalfAPixelAcrossTheirWholeRange)
{
    // JPEG blurs the colour of a thin line: a wider tolerance takes it in.
    for (const bool jpeg : {false, true}) {
        SCOPED_TRACE(jpeg ? "jpeg" : "antialiased");
        const QImage plot = Plot({{Wave, Red}}, jpeg ? 3 : 2.5);
        const TraceResult result =
            TraceCurve(jpeg ? ThroughJpeg(plot, 75) : plot, CurveSettings(Red, jpeg ? JpegTolerance : 40));
        ExpectOnePointPerColumn(result.points);
        EXPECT_EQ(result.count, static_cast<std::int64_t>(result.points.size()));
        EXPECT_GE(ShareWithin(result.points, Wave, 0.5), 0.98);
    }
}

TEST(CurveTrace, StepsAlongRowsWhenYIsIndependent)
{
    // A steep curve, x as a function of y, in a region that does not start at the left edge.
    const Curve across = [](double y) { return 320 + 150 * std::sin(y / 50); };
    std::vector<QPointF> line;
    for (const QPointF& p : GraphOf(across, 20, 380))
        line.emplace_back(p.y(), p.x());
    QImage picture = Paper(Width, Height);
    DrawLine(picture, line, ColourOf(Blue), 3);
    TraceSettings s = CurveSettings(Blue, JpegTolerance, QRect(100, 0, Width - 100, Height));
    s.axis = TraceAxis::Y;
    s.samples.clear();
    for (int y = 0; y < Height; ++y)
        s.samples.push_back(y + 0.5);
    std::vector<TracePoint> swapped;
    for (const TracePoint& p : TraceCurve(ThroughJpeg(picture, 75), s).points)
        swapped.push_back({p.y, p.x});
    ExpectOnePointPerColumn(swapped, 20, 380);
    EXPECT_GE(ShareWithin(swapped, across, 0.5), 0.98);
}

// Only gaps wider than the bridge split a crossing; a colour just at the
// tolerance still matches.
TEST(CurveTrace, BridgeAndToleranceEdges)
{
    const TraceResult apart = TraceCurve(Plot({{Flat(100), Red}, {Flat(106), Red}}), CurveSettings(Red));
    ASSERT_EQ(apart.points.size(), 2u * 560);
    // Top to bottom within a column.
    EXPECT_NEAR(apart.points[0].y, 100, 0.05);
    EXPECT_NEAR(apart.points[1].y, 106, 0.05);
    EXPECT_DOUBLE_EQ(apart.points[0].x, apart.points[1].x);

    // A thick line with a scratch across it, up to the bridge wide, is still one line.
    for (const int scratch : {1, CurveSettings(Red).bridge}) {
        QImage picture = Plot({{Flat(200), Red}}, 7);
        QPainter(&picture).fillRect(0, 199, Width, scratch, Qt::white);
        const TraceResult scratched = TraceCurve(picture, CurveSettings(Red));
        ExpectOnePointPerColumn(scratched.points);
        for (const TracePoint& p : scratched.points)
            EXPECT_NEAR(p.y, 200, 1) << p.x;
    }
    ExpectOnePointPerColumn(TraceCurve(Plot({{Flat(100), Rgb(220, 20, 70)}}), CurveSettings(Red)).points);
}

TEST(CurveTrace, CountsEverythingButHandsBackNothingBeyondWhatIsKept)
{
    const QImage picture = Plot({{Wave, Red}});
    TraceSettings s = CurveSettings(Red);
    const std::int64_t all = TraceCurve(picture, s).count;
    s.keep = all - 1;
    TraceResult result = TraceCurve(picture, s);
    EXPECT_EQ(result.count, all);
    EXPECT_TRUE(result.points.empty());
    s.keep = all;
    EXPECT_EQ(TraceCurve(picture, s).points.size(), static_cast<std::size_t>(all));

    // A tolerance that matches everything: one run down each column, one blob.
    s.tolerance = 255;
    s.colour = Rgb(128, 128, 128);
    s.keep = 32767;
    result = TraceCurve(picture, s);
    EXPECT_EQ(result.count, Width);
    EXPECT_NEAR(result.points.front().y, Height / 2.0, 1);
    s.shape = TraceShape::Markers;
    EXPECT_EQ(TraceCurve(picture, s).count, 1);
    s.keep = 1;
    EXPECT_EQ(TraceCurve(picture, s).points.size(), 1u);
}

TEST(CurveTrace, EachScatterMarkerIsFoundOnceAtItsCentre)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<double> x(30, Width - 30), y(30, Height - 30);
    std::vector<QPointF> centres;
    QImage picture = Paper(Width, Height);
    DrawAxesAndLegend(picture, Rgb(0, 0, 0));
    // Round and square markers, antialiased.
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(ColourOf(Red));
        while (centres.size() < 60) {
            const QPointF c(x(random), y(random));
            if (std::none_of(centres.begin(), centres.end(),
                             [&](const QPointF& d) { return std::hypot(c.x() - d.x(), c.y() - d.y()) < 14; })) {
                centres.push_back(c);
                if (centres.size() % 2)
                    p.drawEllipse(c, 4.5, 4.5);
                else
                    p.drawRect(QRectF(c.x() - 3.5, c.y() - 3.5, 7, 7));
            }
        }
    }
    TraceSettings s = CurveSettings(Red);
    s.shape = TraceShape::Markers;
    const TraceResult result = TraceCurve(picture, s);
    ASSERT_EQ(result.count, 60);
    for (const QPointF& c : centres)
        EXPECT_EQ(std::count_if(result.points.begin(), result.points.end(),
                                [&](const TracePoint& p) { return std::hypot(p.x - c.x(), p.y - c.y()) <= 0.5; }),
                  1)
            << c.x() << ", " << c.y();
    EXPECT_TRUE(std::is_sorted(result.points.begin(), result.points.end(),
                               [](const TracePoint& a, const TracePoint& b) { return a.x < b.x; }));
}

TEST(TraceSamples, StepInPixelsOrInDataUnitsOnLinearAndLogAxes)
{
    // 100 pixels from 0 to 10.
    const TraceAxisSpan linear{100, 0, 10, false, 20, 60};
    EXPECT_EQ(*TraceSamples(linear, 10, StepUnit::Pixels), (std::vector<double>{20.5, 30.5, 40.5, 50.5}));
    // Every 0.5 from 2 to 6 in data units; the last one reads the pixel before the edge.
    const std::vector<double> units = *TraceSamples(linear, 0.5, StepUnit::DataUnits);
    ASSERT_EQ(units.size(), 9u);
    EXPECT_DOUBLE_EQ(units[1], 25);
    EXPECT_LT(units.back(), 60);
    EXPECT_GT(units.back(), 59.99);
    // A log axis from 1 to 10000 over 400 pixels, searched over 10 to 1000:
    // the multiples of 100 land at log10 positions.
    const std::vector<double> logUnits = *TraceSamples({400, 0, 4, true, 100, 300}, 100, StepUnit::DataUnits);
    ASSERT_EQ(logUnits.size(), 10u);
    EXPECT_NEAR(logUnits[0], 200, 1e-9);
    EXPECT_NEAR(logUnits[4], 100 * std::log10(500), 1e-9);
    // An axis whose values fall to the right, and one of negative values.
    EXPECT_EQ(TraceSamples({100, 10, 0, false, 0, 100}, 5, StepUnit::DataUnits)->size(), 3u);
    EXPECT_EQ(TraceSamples({100, -10, -5, false, 0, 100}, 1, StepUnit::DataUnits)->front(), 0);
    for (const double bad : {0.0, -1.0, std::nan(""), 1e-9})
        for (const StepUnit unit : {StepUnit::Pixels, StepUnit::DataUnits})
            EXPECT_FALSE(TraceSamples(linear, bad, unit)) << bad;
}

TEST(MatchPreview, ShowsExactlyThePixelsTheTraceMatches)
{
    const QImage opaque = Plot({{Wave, Red}});
    // Half the picture see-through, over a backdrop that is nearly the colour.
    QImage translucent = opaque.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < Height; y += 2)
        for (int x = 0; x < Width; ++x)
            translucent.setPixel(x, y, qRgba(qRed(opaque.pixel(x, y)), 0, 0, (x * 7) & 255));
    const Colour backdrop = Rgb(210, 30, 40);
    const QRect area(100, 50, 300, 200);
    for (const QImage& picture : {opaque, translucent}) {
        const QImage seen = ShownPicture(picture, backdrop);
        const MatchPreview preview(picture, area, Red, backdrop);
        for (const int tolerance : {0, 40, 255}) {
            std::vector<std::uint8_t> shown(static_cast<std::size_t>(Width * Height), 0);
            for (const MatchRun& run : preview.runs(tolerance))
                for (int x = run.begin; x < run.end; ++x)
                    shown[static_cast<std::size_t>(run.row * Width + x)] = 1;
            int mismatches = 0;
            for (int y = 0; y < Height; ++y)
                for (int x = 0; x < Width; ++x)
                    mismatches += (area.contains(x, y) && DistanceSquared(seen.pixel(x, y), Red) <= tolerance * tolerance) !=
                                  (shown[static_cast<std::size_t>(y * Width + x)] == 1);
            EXPECT_EQ(mismatches, 0) << picture.hasAlphaChannel() << " " << tolerance;
        }
    }
}

} // namespace
} // namespace tracella
