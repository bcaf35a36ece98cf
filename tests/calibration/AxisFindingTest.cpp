#include "calibration/AxisFinding.h"
#include "picture/CancelToken.h"

#include "GeneratedPlot.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tracella {
namespace {

using namespace tracella::plots;

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
    // Towards the labels: away from the plot's middle.
    const QPointF middle = (truth.p1() + truth.p2()) / 2, inwards = Centre(s) - middle;
    EXPECT_LT(found.outward.x() * inwards.x() + found.outward.y() * inwards.y(), 0);
    ASSERT_EQ(found.ticks.size(), ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const QPointF miss = found.ticks[i].pixel - ticks[i];
        EXPECT_LT(std::hypot(miss.x(), miss.y()), 0.5) << "tick " << i;
        EXPECT_EQ(found.ticks[i].inside, s.ticksIn) << "tick " << i;
        EXPECT_EQ(found.ticks[i].outside, s.ticksOut) << "tick " << i;
        if (s.ticksOut) {
            EXPECT_NEAR(found.ticks[i].reach, Tick(s) + Pen(s) / 2, Pen(s) + 1) << "tick " << i;
        }
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
    QImage words = blank;
    {
        QPainter p(&words);
        for (int row = 0; row < 12; ++row)
            p.drawText(20, 30 + 35 * row, QStringLiteral("1 2 3 4 5 6 7 8 9 0 when there is nothing but text here"));
    }
    for (const QImage& picture : {blank, words}) {
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


} // namespace
} // namespace tracella
