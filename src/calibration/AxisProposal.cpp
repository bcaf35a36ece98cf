#include "calibration/AxisProposal.h"

#include "calibration/LabelOcr.h"
#include "calibration/LabelScale.h"
#include "picture/CancelToken.h"

namespace tracella {
namespace {

AxisProposalSide Propose(const QImage& picture, const FoundAxis& axis, const QString& name, LabelOcr& ocr,
                         CancelToken* cancel)
{
    AxisProposalSide side;
    if (!axis.found) {
        side.missing = QStringLiteral("No %1 axis line was found.").arg(name);
        return side;
    }
    if (axis.ticks.size() < 2) {
        side.missing = QStringLiteral("Fewer than two ticks were found on the %1 axis.").arg(name);
        return side;
    }
    const std::vector<LabelledTick> labels = ocr.readAxis(picture, axis, cancel);
    const LabelScale scale = FitLabels(labels);
    if (!scale.kind) {
        side.missing = QStringLiteral("%1 axis: %2").arg(name, scale.missing);
        return side;
    }
    side.kind = scale.kind;
    side.first = labels[scale.first.label].pixel;
    side.second = labels[scale.second.label].pixel;
    side.firstValue = scale.first.value;
    side.secondValue = scale.second.value;
    const bool upright = name == QStringLiteral("Y");
    if (!RisesAsPlotted(side, upright)) {
        side = {};
        side.missing = QStringLiteral("%1 axis: its labels grow %2, as they do when minus signs are lost in "
                                      "reading; a reversed axis is left to you.")
                           .arg(name, upright ? QStringLiteral("downwards") : QStringLiteral("leftwards"));
    }
    return side;
}

} // namespace

bool RisesAsPlotted(const AxisProposalSide& side, bool upright)
{
    const QPointF step = side.second - side.first;
    const double rise = side.secondValue - side.firstValue;
    return upright ? rise * step.y() < 0 : rise * step.x() > 0;
}

AxisProposal ProposeAxes(const QImage& picture, QRect region, LabelOcr& ocr, CancelToken* cancel)
{
    AxisProposal p;
    if (!ocr.error().isEmpty()) {
        p.error = ocr.error();
        return p;
    }
    p.findings = FindAxes(picture, region, cancel);
    p.cancelled = p.findings.cancelled;
    if (p.cancelled)
        return p;
    p.x = Propose(picture, p.findings.x, QStringLiteral("X"), ocr, cancel);
    p.y = Propose(picture, p.findings.y, QStringLiteral("Y"), ocr, cancel);
    p.cancelled = cancel && cancel->wasCancelled();
    return p;
}

} // namespace tracella
