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
    return side;
}

} // namespace

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
