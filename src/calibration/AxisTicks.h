#pragma once

#include "calibration/ActiveCalibration.h"

#include <QPointF>
#include <QSizeF>
#include <vector>

namespace tracella {

struct AxisTick {
    QPointF pixel;  // on the axis line
    QPointF across; // unit step in pixels, parallel to the other axis, away from the plot
    QString text;
};

// One calibrated axis as it is drawn back over the picture: the line through
// its references, cut to the picture, and ticks at round values.
struct AxisDrawing {
    QPointF from, to;
    std::vector<AxisTick> ticks;
};

AxisDrawing DrawnAxis(const AffineCalibration& calibration, Axis axis, QSizeF picture);

// Round coordinates from `from` to `to` on an axis of that kind: 1, 2 or 5
// times a power of ten apart on a linear axis, decades (or their 2 and 5
// multiples) on a log axis, whole seconds, minutes, hours, days, months or
// years on a date axis; about `wanted` of them.
std::vector<double> RoundCoordinates(AxisKind kind, double from, double to, int wanted);

} // namespace tracella
