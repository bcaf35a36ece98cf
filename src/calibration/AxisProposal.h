#pragma once

#include "calibration/AxisFinding.h"
#include "calibration/AxisScale.h"
#include "calibration/LabelScale.h"

#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace tracella {

class CancelToken;
class LabelOcr;

// Two labelled ticks of one axis to calibrate by, or why there are none.
struct AxisProposalSide {
    std::optional<AxisKind> kind; // none: the axis is left to the user
    QPointF first, second;        // the ticks, in picture pixels (centres on whole numbers)
    double firstValue = 0, secondValue = 0;
    QString missing;
};

// The labels of one axis as read, and which of them its scale runs through.
struct ReadLabels {
    std::vector<LabelledTick> labels; // the text at each tick found
    std::vector<std::size_t> agreeing;
};

struct AxisProposal {
    AxisFindings findings;
    AxisProposalSide x, y;
    ReadLabels xLabels, yLabels;
    QString error; // why nothing could be read at all
    bool cancelled = false;
};

// Where a search has got to: the stage, and how far through it when it
// can be counted (total 0 when not).
using SearchProgress = std::function<void(const QString& stage, int done, int total)>;

// What a search found, to be drawn over the picture: the axis lines, and
// at each tick the label read and whether it agrees with its axis's scale.
struct FoundMark {
    QPointF pixel;
    QPointF outward; // unit step towards the labels
    QString text;    // "" where no label was read
    bool agrees = false;
};

struct FoundMarks {
    std::vector<QLineF> axes;
    std::vector<FoundMark> ticks;
};

FoundMarks MarksOf(const AxisProposal& proposal);

// Whether the references' larger value lies up the Y axis (`upright`) or
// right along the X axis, as plots are drawn. Labels read the other way
// are likelier negatives whose minus signs were lost than a reversed axis.
bool RisesAsPlotted(const AxisProposalSide& side, bool upright);

// The axes, their ticks and labels found on the picture (or a region of
// it), and for each axis the calibration its labels agree on.
AxisProposal ProposeAxes(const QImage& picture, QRect region, LabelOcr& ocr, CancelToken* cancel = nullptr,
                         const SearchProgress& progress = {});

} // namespace tracella
