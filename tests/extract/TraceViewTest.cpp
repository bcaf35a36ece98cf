#include "extract/CurveTrace.h"
#include "extract/TraceView.h"

#include "ExtractPlots.h"

#include <gtest/gtest.h>


namespace tracella {
namespace {

double Line(double u)
{
    return 5 + 0.2 * u;
}

// Under a calibration by axes of a turned plot, the trace samples lines of
// constant X: each point read back lies at its sample's X and on the curve.
TEST(TraceView, StepsFollowTheCalibratedAxisOfATurnedPlot)
{
    const Colour red = Rgb(220, 20, 30);
    for (const double turn : {2.0, -5.0}) {
        QTransform truth; // axis coordinates -> painter coordinates (pixel i spans [i, i + 1))
        truth.translate(50, 250);
        truth.rotate(-turn);
        truth.scale(30, -20);
        QImage picture = test::Paper(400, 300);
        test::DrawLine(picture, {truth.map(QPointF(0.5, Line(0.5))), truth.map(QPointF(9.5, Line(9.5)))},
                       test::ColourOf(red), 3);
        // A click on pixel i reads position i: the references as exact clicks.
        const auto at = [&](double u, double v) { return std::optional(truth.map(QPointF(u, v)) - QPointF(0.5, 0.5)); };
        const auto c = std::get<AffineCalibration>(
            CalibrateByAxes({AxisReference{at(1, 0), "1"}, AxisReference{at(9, 0), "9"}},
                            {AxisReference{at(0, 1), "1"}, AxisReference{at(0, 9), "9"}}, {}, {}));
        const TraceView view = AxisAlignedView(picture, picture.rect(), c);
        // A point picked on the picture (for Follow) comes back as the position a click there reads.
        const QPointF picked(123.25, 87.5);
        const QPointF back = view.toSurface.map(view.fromPicture.map(picked));
        EXPECT_NEAR(back.x(), picked.x() - 0.5, 1e-9);
        EXPECT_NEAR(back.y(), picked.y() - 0.5, 1e-9);

        TraceSettings settings;
        settings.colour = red;
        settings.backdrop = Rgb(255, 255, 255);
        settings.region = view.region;
        const Frame& f = view.frame;
        for (int u = 1; u <= 9; ++u) // where FrameAtTrace reads u
            settings.samples.push_back((u - f.left) * view.picture.width() / (f.right - f.left) + 0.5);
        const TraceResult result = TraceCurve(view.picture, settings);
        ASSERT_EQ(result.points.size(), 9u) << turn;
        for (std::size_t i = 0; i < result.points.size(); ++i) {
            const QPointF read = c.toAxes.map(view.toSurface.map(QPointF(result.points[i].x, result.points[i].y)));
            EXPECT_NEAR(read.x(), static_cast<double>(i + 1), 1e-9) << turn;
            EXPECT_NEAR((read.y() - Line(read.x())) * 20, 0, 0.3) << turn << " at " << read.x(); // pixels
        }
    }
}

} // namespace
} // namespace tracella
