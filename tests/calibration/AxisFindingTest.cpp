#include "calibration/AxisFinding.h"
#include "picture/CancelToken.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tracella {
namespace {

// How a generated plot is drawn.
struct Style {
    const char* name;
    QSize size;
    double turn = 0; // degrees, about the middle
    bool jpeg = false, grid = false, labels = false;
    bool ticksIn = false, ticksOut = true;
    bool box = false;      // a frame with the ticks repeated on the far sides
    bool xOnTop = false;   // the X ticks and labels stand on the top line
    int searchSide = 1600; // smaller than the picture: searched reduced
};

struct Plot {
    QImage image;
    QLineF xAxis, yAxis; // where they truly are, in pixel-centre coordinates
    std::vector<QPointF> xTicks, yTicks;
};

Plot Draw(const Style& s)
{
    const double w = s.size.width(), h = s.size.height(), scale = std::max(w, h) / 800;
    const double left = 0.123 * w, right = 0.917 * w, top = 0.083 * h, bottom = 0.853 * h;
    const double tick = 6 * scale, pen = std::max(1.0, 1.3 * scale);
    const double xLine = s.xOnTop ? top : bottom;
    QTransform turn;
    turn.translate(w / 2, h / 2).rotate(s.turn).translate(-w / 2, -h / 2);
    auto truth = [&](QPointF p) { return turn.map(p) - QPointF(0.5, 0.5); };

    Plot plot;
    plot.image = QImage(s.size, QImage::Format_RGB32);
    plot.image.fill(Qt::white);
    QPainter p(&plot.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(turn);
    QFont font;
    font.setPixelSize(int(13 * scale));
    p.setFont(font);
    std::vector<double> xs, ys;
    for (int i = 0; i < 7; ++i)
        xs.push_back(left + (i + 0.5) * (right - left) / 7);
    for (int i = 0; i < 5; ++i)
        ys.push_back(top + (i + 0.5) * (bottom - top) / 5);
    if (s.grid) {
        p.setPen(QPen(QColor(215, 215, 215), pen));
        for (const double x : xs)
            p.drawLine(QPointF(x, top), QPointF(x, bottom));
        for (const double y : ys)
            p.drawLine(QPointF(left, y), QPointF(right, y));
    }
    // A curve that keeps clear of the axes.
    QPainterPath curve;
    for (int i = 0; i <= 200; ++i) {
        const double x = left + (right - left) * (0.05 + 0.9 * i / 200);
        const QPointF at(x, (top + bottom) / 2 + (bottom - top) * 0.35 * std::sin(i / 20.0));
        i == 0 ? curve.moveTo(at) : curve.lineTo(at);
    }
    p.setPen(QPen(QColor(20, 60, 160), pen));
    p.drawPath(curve);

    p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(left, xLine), QPointF(right, xLine));
    p.drawLine(QPointF(left, top), QPointF(left, bottom));
    if (s.box) {
        p.drawLine(QPointF(left, s.xOnTop ? bottom : top), QPointF(right, s.xOnTop ? bottom : top));
        p.drawLine(QPointF(right, top), QPointF(right, bottom));
    }
    const double outward = s.xOnTop ? -1 : 1;
    auto mark = [&](QPointF at, QPointF away) {
        p.drawLine(at - (s.ticksIn ? tick : 0) * away, at + (s.ticksOut ? tick : 0) * away);
    };
    for (const double x : xs) {
        mark({x, xLine}, {0, outward});
        if (s.box)
            mark({x, s.xOnTop ? bottom : top}, {0, -outward});
        plot.xTicks.push_back(truth({x, xLine}));
        if (s.labels)
            p.drawText(QRectF(x - 40 * scale, xLine + outward * (tick + 4 * scale) - (s.xOnTop ? 16 * scale : 0),
                              80 * scale, 16 * scale),
                       Qt::AlignCenter, QString::number((xs.size() - 3.0) * (&x - xs.data()) * 10));
    }
    for (const double y : ys) {
        mark({left, y}, {-1, 0});
        if (s.box)
            mark({right, y}, {1, 0});
        plot.yTicks.push_back(truth({left, y}));
        if (s.labels)
            p.drawText(QRectF(left - tick - 64 * scale, y - 8 * scale, 60 * scale, 16 * scale),
                       Qt::AlignRight | Qt::AlignVCenter, QString::number(-1.5e-3 * (&y - ys.data())));
    }
    p.end();
    plot.xAxis = QLineF(truth({left, xLine}), truth({right, xLine}));
    plot.yAxis = QLineF(truth({left, top}), truth({left, bottom}));
    if (s.jpeg) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        plot.image.save(&buffer, "JPG", 70);
        plot.image.loadFromData(buffer.data(), "JPG");
    }
    return plot;
}

double Distance(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    return std::abs(d.x() * (p.y() - a.y()) - d.y() * (p.x() - a.x())) / std::hypot(d.x(), d.y());
}

void ExpectAxis(const char* which, const FoundAxis& found, QLineF truth, const std::vector<QPointF>& ticks,
                const Style& s)
{
    SCOPED_TRACE(which);
    ASSERT_TRUE(found.found);
    for (const QPointF end : {truth.p1(), truth.p2()})
        EXPECT_LT(Distance(end, found.from, found.to), 0.5);
    ASSERT_EQ(found.ticks.size(), ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const QPointF miss = found.ticks[i].pixel - ticks[i];
        EXPECT_LT(std::hypot(miss.x(), miss.y()), 0.5) << "tick " << i;
        EXPECT_EQ(found.ticks[i].inside, s.ticksIn) << "tick " << i;
        EXPECT_EQ(found.ticks[i].outside, s.ticksOut) << "tick " << i;
    }
}

class FindAxesOnPlots : public ::testing::TestWithParam<Style> {};

TEST_P(FindAxesOnPlots, FindsBothAxesAndEveryTickWithinHalfAPixel)
{
    const Style& s = GetParam();
    const Plot plot = Draw(s);
    const AxisFindings found = FindAxes(plot.image, {}, nullptr, s.searchSide);
    EXPECT_FALSE(found.cancelled);
    ExpectAxis("X", found.x, plot.xAxis, plot.xTicks, s);
    ExpectAxis("Y", found.y, plot.yAxis, plot.yTicks, s);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, FindAxesOnPlots,
    ::testing::Values(Style{"plain", {800, 600}}, Style{"ticksIn", {800, 600}, 0, false, false, false, true, false},
                      Style{"ticksAcross", {700, 650}, 0, false, false, true, true, true},
                      Style{"turned", {800, 600}, 2.0, false, false, true},
                      Style{"turnedBack", {900, 700}, -1.7, false, true, true, true, true},
                      Style{"jpeg", {800, 600}, 0, true, true, true},
                      Style{"turnedJpeg", {1000, 750}, 1.3, true, true, true, true, false},
                      Style{"boxLabelledBelow", {800, 600}, 0, false, true, true, false, true, true},
                      Style{"boxLabelledAbove", {800, 600}, 0, false, false, true, false, true, true, true},
                      Style{"reduced", {3200, 2400}, 0.8, false, true, true, false, true, false, false, 800}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindAxes, FindsNothingWhereThereAreNoAxes)
{
    QImage blank(640, 480, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QImage words = blank, shapes = blank;
    {
        QPainter p(&words);
        for (int row = 0; row < 12; ++row)
            p.drawText(20, 30 + 35 * row, QStringLiteral("1 2 3 4 5 6 7 8 9 0 when there is nothing but text here"));
        QPainter q(&shapes);
        q.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 40; ++i) {
            q.setBrush(QColor::fromHsv(i * 9, 200, 60 + 4 * i));
            q.drawEllipse(QPointF(37 * i % 640, 53 * i % 480), 20 + i, 10 + i / 2);
        }
    }
    for (const QImage& picture : {blank, words, shapes}) {
        const AxisFindings found = FindAxes(picture);
        EXPECT_FALSE(found.x.found);
        EXPECT_FALSE(found.y.found);
    }
}

TEST(FindAxes, LooksOnlyInsideTheRegionAndGivesUpWhenCancelled)
{
    const Style s{"plain", {800, 600}};
    const Plot plot = Draw(s);
    // A region below the X axis holds no axis at all.
    const AxisFindings below = FindAxes(plot.image, QRect(0, 560, 800, 40));
    EXPECT_FALSE(below.x.found);
    EXPECT_FALSE(below.y.found);

    CancelToken cancel;
    cancel.cancel();
    const AxisFindings cancelled = FindAxes(plot.image, {}, &cancel);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.x.found);
    EXPECT_FALSE(cancelled.y.found);
}

// Labels are text, which needs fonts, which need a (window-less) application.
class FontsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "axis_finding_test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

const auto* const Fonts = ::testing::AddGlobalTestEnvironment(new FontsEnvironment);

} // namespace
} // namespace tracella
