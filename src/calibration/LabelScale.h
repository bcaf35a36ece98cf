#pragma once

#include "calibration/AxisScale.h"

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace tracella {

// A tick on one axis and the text read next to it.
struct LabelledTick {
    QPointF pixel;
    QString text;
};

// A label taken as a reference: which one, and the number it says.
struct LabelReference {
    std::size_t label = 0;
    double value = 0;
};

struct LabelScale {
    // Nothing when the labels do not settle a scale; `missing` says why.
    std::optional<AxisKind> kind;
    LabelReference first, second; // the agreeing labels farthest apart
    std::vector<std::size_t> agreeing;
    std::vector<double> residuals; // pixels, for each agreeing label
    QString missing;
};

// The scale the labels of one axis agree on, linear, log10 or, where most
// labels are ISO dates, linear in time (values in seconds): a label
// counts only when its number lies on the progression the others make
// through the tick positions, so a misread label is left out rather than
// bending the scale. With more than two labels read, at least three and
// more than half of them must agree; two labels alone must rule out one
// kind (a 0 or a negative cannot be on a log axis). A wrong scale is worse
// than none.
LabelScale FitLabels(const std::vector<LabelledTick>& labels);

} // namespace tracella
