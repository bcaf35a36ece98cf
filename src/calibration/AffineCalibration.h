#pragma once

#include "calibration/AxisScale.h"

#include <QPointF>
#include <QString>
#include <array>
#include <optional>
#include <variant>
#include <vector>

namespace tracella {

// u = a·px + b·py + c, v = d·px + e·py + f: picture pixels to the two
// axis coordinates (or back), with rotation, shear and scale.
struct AffineMap {
    double a = 1, b = 0, c = 0;
    double d = 0, e = 1, f = 0;

    QPointF map(double px, double py) const { return {a * px + b * py + c, d * px + e * py + f}; }
    QPointF map(QPointF p) const { return map(p.x(), p.y()); }
    std::optional<AffineMap> inverted() const;
};

// What the user set for each axis before the kind is settled: a date axis
// and a log axis at once is refused.
struct AxisChoice {
    bool log = false;
    bool date = false;
};

// A reference on one axis: a click and the value typed for it.
struct AxisReference {
    std::optional<QPointF> pixel; // not yet placed
    QString typed;
};

// A reference whose X and Y are both known.
struct KnownReference {
    std::optional<QPointF> pixel;
    QString typedX;
    QString typedY;
};

// How far, in pixels, a reference lies from where the fitted map puts its
// typed values.
struct Residual {
    QString point;
    double pixels = 0;
};

struct AffineCalibration {
    AffineMap toAxes;   // pixel -> coordinates
    AffineMap toPixels; // coordinates -> pixel
    AxisScale x, y;
    // Where the axes are drawn back: the X axis is the line of constant
    // Y coordinate xAxisAt, the Y axis the line of constant X coordinate
    // yAxisAt, each spanning the coordinates of its references.
    double xAxisAt = 0, yAxisAt = 0;
    double xFrom = 0, xTo = 0, yFrom = 0, yTo = 0;
    std::vector<Residual> residuals; // by reference, in the order given
    QString warning;                 // the references over a pixel, worst first
};

// The result of a calibration by axes: it, or a message naming what is wrong.
using AffineOutcome = std::variant<AffineCalibration, QString>;

// Two clicks on the X axis with their X values and two on the Y axis with
// their Y values; the axes may be turned and need not be perpendicular.
AffineOutcome CalibrateByAxes(const std::array<AxisReference, 2>& xPoints, const std::array<AxisReference, 2>& yPoints,
                              AxisChoice xChoice, AxisChoice yChoice);

// Three or more points of known X and Y: through them with three, the
// least-squares fit with more.
AffineOutcome CalibrateByKnownPoints(const std::vector<KnownReference>& points, AxisChoice xChoice,
                                     AxisChoice yChoice);

// A residual above this many pixels is worth a warning.
inline constexpr double ResidualWarningPixels = 1.0;

} // namespace tracella
