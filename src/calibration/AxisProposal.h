#pragma once

#include "calibration/AxisFinding.h"
#include "calibration/AxisScale.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

#include <optional>

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

struct AxisProposal {
    AxisFindings findings;
    AxisProposalSide x, y;
    QString error; // why nothing could be read at all
    bool cancelled = false;
};

// Whether the references' larger value lies up the Y axis (`upright`) or
// right along the X axis, as plots are drawn. Labels read the other way
// are likelier negatives whose minus signs were lost than a reversed axis.
bool RisesAsPlotted(const AxisProposalSide& side, bool upright);

// The axes, their ticks and labels found on the picture (or a region of
// it), and for each axis the calibration its labels agree on.
AxisProposal ProposeAxes(const QImage& picture, QRect region, LabelOcr& ocr, CancelToken* cancel = nullptr);

} // namespace tracella
