#include "extract/CurveFollow.h"
#include "extract/PerceptualColour.h"
#include "support/OffscreenFonts.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

namespace tracella {
namespace {

// Generated plots whose drawn curves are known exactly, in picture pixels
// (pixel i spans [i, i + 1), as the painter draws).
constexpr int Width = 800;
constexpr int Height = 600;
const QColor Magenta(200, 30, 190);

using Parametric = std::function<QPointF(double)>;

struct Drawn {
    std::vector<QPointF> line; // the polyline drawn
};

Drawn Sampled(const Parametric& f, double from, double to, int count)
{
    Drawn d;
    for (int i = 0; i <= count; ++i)
        d.line.push_back(f(from + (to - from) * i / count));
    return d;
}

Drawn Graph(const std::function<double(double)>& y, double from = 60, double to = 740)
{
    return Sampled([&](double x) { return QPointF(x, y(x)); }, from, to, static_cast<int>((to - from) * 4));
}

double Wave(double x)
{
    return 300 + 150 * std::sin(x / 80);
}
double Crossing(double x)
{
    return 300 + 0.1 * (x - 400);
}

// What plots carry besides the curve: a grid, a frame, grey tick labels and
// a legend with a sample of the curve's own colour.
QImage PlotPaper()
{
    QImage picture(Width, Height, QImage::Format_RGB32);
    picture.fill(Qt::white);
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
    return picture;
}

void Draw(QImage& picture, const Drawn& d, Qt::PenStyle style = Qt::SolidLine)
{
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Magenta, 2, style, Qt::FlatCap, Qt::RoundJoin));
    QPainterPath path(d.line.front());
    for (std::size_t i = 1; i < d.line.size(); ++i)
        path.lineTo(d.line[i]);
    p.drawPath(path);
}

QImage AsJpeg(const QImage& picture, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", quality);
    return QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
}

double SegmentDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * ab - p;
    return std::sqrt(QPointF::dotProduct(q, q));
}

// Distance to the drawn curve and the index of its nearest segment.
std::pair<double, std::size_t> Nearest(const Drawn& d, const TracePoint& point)
{
    const QPointF p(point.x, point.y);
    std::pair<double, std::size_t> best{1e9, 0};
    for (std::size_t i = 0; i + 1 < d.line.size(); ++i)
        best = std::min(best, std::pair(SegmentDistance(p, d.line[i], d.line[i + 1]), i));
    return best;
}

struct Accuracy {
    double withinHalf = 0; // share of points within 0.5 px
    double worst = 0;
};

Accuracy Measure(const Drawn& d, const std::vector<TracePoint>& points)
{
    Accuracy a;
    int within = 0;
    for (const TracePoint& p : points) {
        const double e = Nearest(d, p).first;
        within += e <= 0.5;
        a.worst = std::max(a.worst, e);
    }
    a.withinHalf = points.empty() ? 0 : static_cast<double>(within) / static_cast<double>(points.size());
    return a;
}

FollowResult FollowAt(const QImage& picture, QPointF pick, double step = 1)
{
    FollowSettings s;
    const QRgb seen = picture.pixel(static_cast<int>(pick.x()), static_cast<int>(pick.y()));
    s.colour = Rgb(qRed(seen), qGreen(seen),
                   qBlue(seen)); // picked on the curve, as the panel does
    s.start = pick;
    s.step = step;
    return FollowCurve(picture, s);
}

QPointF OnWave(double x)
{
    return {x, Wave(x)};
}

// The whole picture, the default tolerance, no region: only the curve.
TEST(CurveFollow, FollowsOneLineAmongLabelsLegendFrameAndGrid)
{
    const Drawn wave = Graph(Wave);
    QImage png = PlotPaper();
    Draw(png, wave);
    const struct {
        const char* name;
        QImage picture;
    } cases[] = {{"antialiased PNG", png}, {"JPEG 75", AsJpeg(png, 75)}, {"JPEG 60", AsJpeg(png, 60)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FollowResult r = FollowAt(c.picture, OnWave(333));
        ASSERT_EQ(r.outcome, FollowResult::Outcome::Followed);
        ASSERT_GT(r.points.size(), 900u);
        const Accuracy a = Measure(wave, r.points);
        EXPECT_GE(a.withinHalf, 0.98);
        EXPECT_LE(a.worst, 1.5);
        // End to end, from the lower X on.
        EXPECT_LT(r.points.front().x, 63);
        EXPECT_GT(r.points.back().x, 737);
    }
}

// Two curves of one colour crossing twice: each followed alone, end to end.
TEST(CurveFollow, KeepsToItsBranchWhereCurvesOfOneColourCross)
{
    const Drawn wave = Graph(Wave), line = Graph(Crossing);
    QImage picture = PlotPaper();
    Draw(picture, wave);
    Draw(picture, line);
    const struct {
        const char* name;
        const Drawn& curve;
        QPointF pick;
    } cases[] = {{"wave", wave, OnWave(200)}, {"line", line, {600, Crossing(600)}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FollowResult r = FollowAt(picture, c.pick);
        ASSERT_EQ(r.outcome, FollowResult::Outcome::Followed);
        const Accuracy a = Measure(c.curve, r.points);
        EXPECT_GE(a.withinHalf, 0.98);
        EXPECT_LE(a.worst, 1.5);
        EXPECT_LT(r.points.front().x, 63);
        EXPECT_GT(r.points.back().x, 737);
    }
}

// Curves that turn back: the whole length, in the curve's order.
TEST(CurveFollow, TracesClosedLoopsAlongTheirLength)
{
    const double pi = std::numbers::pi;
    const struct {
        const char* name;
        Drawn curve;
    } cases[] = {
        {"hysteresis loop",
         Sampled([](double t) { return QPointF(400 + 250 * std::cos(t), 300 + 150 * std::sin(t + 0.9)); }, 0, 2 * pi,
                 4000)},
        {"circle",
         Sampled([](double t) { return QPointF(400 + 120 * std::cos(t), 300 + 120 * std::sin(t)); }, 0, 2 * pi, 4000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage picture = PlotPaper();
        Draw(picture, c.curve);
        const FollowResult r = FollowAt(picture, c.curve.line[500]);
        ASSERT_EQ(r.outcome, FollowResult::Outcome::Followed);
        EXPECT_TRUE(r.closed);
        const Accuracy a = Measure(c.curve, r.points);
        EXPECT_GE(a.withinHalf, 0.98);
        EXPECT_LE(a.worst, 1.5);
        double drawnLength = 0;
        for (std::size_t i = 0; i + 1 < c.curve.line.size(); ++i)
            drawnLength += std::hypot(c.curve.line[i + 1].x() - c.curve.line[i].x(),
                                      c.curve.line[i + 1].y() - c.curve.line[i].y());
        EXPECT_NEAR(static_cast<double>(r.points.size()), drawnLength, 0.03 * drawnLength);
        // In order: each point a step from the one before, all the way round.
        for (std::size_t i = 1; i < r.points.size(); ++i)
            ASSERT_LT(std::hypot(r.points[i].x - r.points[i - 1].x, r.points[i].y - r.points[i - 1].y), 1.5) << i;
    }
}

// Samples of the independent axis meet a loop twice, in the loop's order.
TEST(CurveFollow, SamplesOfTheAxisAreMetEachTimeTheCurvePasses)
{
    const Drawn circle = Sampled([](double t) { return QPointF(400 + 120 * std::cos(t), 300 + 120 * std::sin(t)); }, 0,
                                 2 * std::numbers::pi, 4000);
    QImage picture = PlotPaper();
    Draw(picture, circle);
    FollowSettings s;
    s.colour = Rgb(Magenta.red(), Magenta.green(), Magenta.blue());
    s.start = circle.line[0];
    for (double x = 300.5; x <= 500.5; x += 10)
        s.samples.push_back(x);
    const FollowResult r = FollowCurve(picture, s);
    ASSERT_EQ(r.outcome, FollowResult::Outcome::Followed);
    EXPECT_EQ(r.count, 2 * static_cast<std::int64_t>(s.samples.size()));
    for (const TracePoint& p : r.points)
        EXPECT_TRUE(std::find(s.samples.begin(), s.samples.end(), p.x) != s.samples.end()) << p.x;
    EXPECT_LE(Measure(circle, r.points).worst, 0.5);
}

// Dashes and dots: followed across the gaps, points only where ink is.
TEST(CurveFollow, CrossesTheGapsOfDashedCurves)
{
    const Drawn wave = Graph(Wave);
    for (const Qt::PenStyle style : {Qt::DashLine, Qt::DotLine, Qt::DashDotLine}) {
        SCOPED_TRACE(static_cast<int>(style));
        QImage picture = PlotPaper();
        Draw(picture, wave, style);
        QImage bare(picture.size(), QImage::Format_RGB32);
        bare.fill(Qt::white);
        Draw(bare, wave, style);
        FollowSettings s;
        s.colour = Rgb(Magenta.red(), Magenta.green(), Magenta.blue());
        for (const double x : {331.0, 333.0, 337.0}) {
            s.start = OnWave(x);
            const FollowResult r = FollowCurve(picture, s);
            ASSERT_EQ(r.outcome, FollowResult::Outcome::Followed) << x;
            EXPECT_LT(r.points.front().x, 70);
            EXPECT_GT(r.points.back().x, 730);
            EXPECT_LE(Measure(wave, r.points).worst, 1.5);
            for (const TracePoint& p : r.points) {
                bool inked = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        inked = inked || bare.pixel(static_cast<int>(p.x) + dx, static_cast<int>(p.y) + dy) !=
                                             qRgb(255, 255, 255);
                ASSERT_TRUE(inked) << p.x << "," << p.y;
            }
        }
    }
}

TEST(CurveFollow, SaysWhenThePickIsNotOnACurve)
{
    QImage picture = PlotPaper();
    {
        QPainter p(&picture);
        p.fillRect(QRect(200, 200, 80, 80), Magenta);
    }
    Draw(picture, Graph(Wave, 60, 180));
    const Colour magenta = Rgb(Magenta.red(), Magenta.green(), Magenta.blue());
    const struct {
        const char* name;
        QPointF pick;
        Colour colour;
        FollowResult::Outcome outcome;
    } cases[] = {{"background", {500, 150}, magenta, FollowResult::Outcome::NoInk},
                 {"filled area", {240, 240}, magenta, FollowResult::Outcome::NoCurve},
                 {"a colour that takes in the paper", OnWave(100), Rgb(250, 235, 250), FollowResult::Outcome::NoCurve}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FollowSettings s;
        s.colour = c.colour;
        s.start = c.pick;
        const FollowResult r = FollowCurve(picture, s);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.count, 0);
    }
}

// A click on a thin line's pale edge takes the line's own colour; a click
// on the paper or inside a broad area takes what is there.
TEST(CurveColourAt, TakesTheCoreOfAThinLine)
{
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Magenta, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(0, 30.5), QPointF(100, 30.5)); // rows 29 and 31 half covered
        p.fillRect(QRect(0, 60, 100, 20), Magenta);
    }
    const Colour magenta = Rgb(Magenta.red(), Magenta.green(), Magenta.blue());
    const struct {
        const char* name;
        QPoint click;
        Colour expected;
    } cases[] = {{"pale edge", {50, 29}, magenta},
                 {"core", {50, 30}, magenta},
                 {"inside a broad area", {50, 70}, magenta},
                 {"paper", {50, 10}, Rgb(255, 255, 255)},
                 {"paper next to a broad area", {50, 58}, Rgb(255, 255, 255)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CurveColourAt(picture, c.click), c.expected);
    }
    // On a JPEG, the pale edge gives a colour near the line's.
    const QImage jpeg = AsJpeg(picture, 60);
    const PerceptualDistance fromMagenta(magenta);
    const Colour edge = CurveColourAt(jpeg, {50, 29});
    const QRgb clicked = jpeg.pixel(50, 29);
    EXPECT_LT(fromMagenta(0xFF000000u | static_cast<std::uint32_t>(qRgb(RedOf(edge), GreenOf(edge), BlueOf(edge)))),
              fromMagenta(clicked));
}

// More points than the grid may take: counted, none handed back.
TEST(CurveFollow, CountsWithoutKeepingBeyondTheLimit)
{
    QImage picture = PlotPaper();
    Draw(picture, Graph(Wave));
    FollowSettings s;
    s.colour = Rgb(Magenta.red(), Magenta.green(), Magenta.blue());
    s.start = OnWave(400);
    s.keep = 100;
    const FollowResult r = FollowCurve(picture, s);
    EXPECT_GT(r.count, 900);
    EXPECT_TRUE(r.points.empty());
}


} // namespace
} // namespace tracella
