#include "extract/CurveFollow.h"
#include "extract/PerceptualColour.h"
#include "support/OffscreenFonts.h"

#include "ExtractPlots.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tracella {
namespace {

using namespace test;
using Line = std::vector<QPointF>;
using Outcome = FollowResult::Outcome;

constexpr int Width = 800;
constexpr int Height = 600;
const QColor Magenta(200, 30, 190);
const Colour MagentaColour = Rgb(200, 30, 190);

double Wave(double x)
{
    return 300 + 150 * std::sin(x / 80);
}

QPointF OnWave(double x)
{
    return {x, Wave(x)};
}

// What plots carry besides the curve: a grid, a frame, grey tick labels and
// a legend with a sample of the curve's own colour; then the curves.
QImage PlotOf(std::initializer_list<Line> curves)
{
    QImage picture = Paper(Width, Height);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(210, 210, 210), 1));
        for (int x = 50; x < Width; x += 50)
            p.drawLine(x, 20, x, Height - 40);
        for (int y = 20; y < Height - 40; y += 50)
            p.drawLine(40, y, Width - 20, y);
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(QRect(40, 20, Width - 60, Height - 60));
        QFont font = p.font();
        font.setPixelSize(14);
        p.setFont(font);
        p.setPen(QColor(128, 128, 128));
        for (int x = 50; x < Width; x += 100)
            p.drawText(QPointF(x - 8, Height - 22), QString::number(x / 10));
        for (int y = 70; y < Height - 40; y += 100)
            p.drawText(QPointF(8, y + 5), QString::number(y));
        p.setPen(QPen(Magenta, 2));
        p.drawLine(QPointF(600, 45), QPointF(650, 45));
        p.setPen(Qt::black);
        p.drawText(QPointF(660, 50), QStringLiteral("measured"));
    }
    for (const Line& curve : curves)
        DrawLine(picture, curve, Magenta, 2);
    return picture;
}

double SegmentDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * ab - p;
    return std::sqrt(QPointF::dotProduct(q, q));
}

// Most points within half a pixel of the drawn line, none beyond worst.
void ExpectOnLine(const Line& line, const std::vector<TracePoint>& points, double worst)
{
    int within = 0;
    double far = 0;
    for (const TracePoint& point : points) {
        double e = 1e9;
        for (std::size_t i = 0; i + 1 < line.size(); ++i)
            e = std::min(e, SegmentDistance(QPointF(point.x, point.y), line[i], line[i + 1]));
        within += e <= 0.5;
        far = std::max(far, e);
    }
    EXPECT_GE(points.empty() ? 0.0 : within / static_cast<double>(points.size()), 0.98);
    EXPECT_LE(far, worst);
}

FollowResult FollowFrom(const QImage& picture, QPointF pick, Colour colour = MagentaColour, std::int64_t keep = 32767)
{
    FollowSettings s;
    s.colour = colour;
    s.start = pick;
    s.keep = keep;
    return FollowCurve(picture, s);
}

// Picked on the curve, taking the colour seen there as the panel does.
FollowResult FollowAt(const QImage& picture, QPointF pick)
{
    const QRgb seen = picture.pixel(static_cast<int>(pick.x()), static_cast<int>(pick.y()));
    return FollowFrom(picture, pick, Rgb(qRed(seen), qGreen(seen), qBlue(seen)));
}

// End to end from the lower X on, along one line crossed twice by another,
// whatever else shares the picture and its colour: labels, legend, frame, grid.
TEST(CurveFollow, FollowsOneLineEndToEnd)
{
    const Line wave = GraphOf(Wave, 60, 740);
    const Line crossing = GraphOf([](double x) { return 300 + 0.1 * (x - 400); }, 60, 740);
    const FollowResult r = FollowAt(PlotOf({wave, crossing}), OnWave(200));
    ASSERT_EQ(r.outcome, Outcome::Followed);
    ASSERT_GT(r.points.size(), 900u); // one a pixel along the curve
    ExpectOnLine(wave, r.points, 1.5);
    EXPECT_LT(r.points.front().x, 63);
    EXPECT_GT(r.points.back().x, 737);
}

// A pick off any curve is said so; more points than the grid may take are
// counted, none handed back.
TEST(CurveFollow, SaysWhenThePickIsNotOnACurveAndCountsBeyondTheLimit)
{
    QImage picture = PlotOf({GraphOf(Wave, 60, 180)});
    QPainter(&picture).fillRect(QRect(200, 200, 80, 80), Magenta);
    const struct {
        const char* name;
        QPointF pick;
        Colour colour;
        Outcome outcome;
    } cases[] = {{"background", {500, 150}, MagentaColour, Outcome::NoInk},
                 {"filled area", {240, 240}, MagentaColour, Outcome::NoCurve},
                 {"a colour that takes in the paper", OnWave(100), Rgb(250, 235, 250), Outcome::NoCurve}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FollowResult r = FollowFrom(picture, c.pick, c.colour);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.count, 0);
    }
    const FollowResult r = FollowFrom(PlotOf({GraphOf(Wave, 60, 740)}), OnWave(400), MagentaColour, 100);
    EXPECT_GT(r.count, 900);
    EXPECT_TRUE(r.points.empty());
}

// A click on a thin line's pale edge takes the line's own colour; a click
// on the paper or inside a broad area takes what is there.
TEST(CurveColourAt, TakesTheCoreOfAThinLine)
{
    QImage picture = Paper(100, 100);
    DrawLine(picture, {QPointF(0, 30.5), QPointF(100, 30.5)}, Magenta, 2); // rows 29 and 31 half covered
    QPainter(&picture).fillRect(QRect(0, 60, 100, 20), Magenta);
    const struct {
        const char* name;
        QPoint click;
        Colour expected;
    } cases[] = {{"pale edge", {50, 29}, MagentaColour},
                 {"core", {50, 30}, MagentaColour},
                 {"inside a broad area", {50, 70}, MagentaColour},
                 {"paper next to a broad area", {50, 58}, Rgb(255, 255, 255)}};
    for (const auto& c : cases)
        EXPECT_EQ(CurveColourAt(picture, c.click), c.expected) << c.name;
}

} // namespace
} // namespace tracella
