#include "calibration/AxisProposal.h"

#include "calibration/LabelOcr.h"
#include "calibration/LabelScale.h"
#include "picture/CancelToken.h"

#include <algorithm>

namespace tracella {
namespace {

bool Readable(const FoundAxis& axis)
{
    return axis.found && axis.ticks.size() >= 2;
}

AxisProposalSide Propose(const QImage& picture, const FoundAxis& axis, const QString& name, LabelOcr& ocr,
                         ReadLabels& read, CancelToken* cancel, const std::function<void()>& progress)
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
    read.labels = ocr.readAxis(picture, axis, cancel, progress);
    const std::vector<LabelledTick>& labels = read.labels;
    const LabelScale scale = FitLabels(labels);
    if (!scale.kind) {
        side.missing = QStringLiteral("%1 axis: %2").arg(name, scale.missing);
        return side;
    }
    side.kind = scale.kind;
    read.agreeing = scale.agreeing;
    side.first = labels[scale.first.label].pixel;
    side.second = labels[scale.second.label].pixel;
    side.firstValue = scale.first.value;
    side.secondValue = scale.second.value;
    const bool upright = name == QStringLiteral("Y");
    if (!RisesAsPlotted(side, upright)) {
        side = {};
        read.agreeing.clear();
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

FoundMarks MarksOf(const AxisProposal& proposal)
{
    FoundMarks marks;
    for (const auto& [axis, read] :
         {std::pair{&proposal.findings.x, &proposal.xLabels}, {&proposal.findings.y, &proposal.yLabels}}) {
        if (!axis->found)
            continue;
        marks.axes.emplace_back(axis->from, axis->to);
        for (std::size_t i = 0; i < axis->ticks.size(); ++i) {
            const bool labelled = i < read->labels.size();
            marks.ticks.push_back({axis->ticks[i].pixel, axis->outward,
                                   labelled ? read->labels[i].text.trimmed() : QString(),
                                   std::find(read->agreeing.begin(), read->agreeing.end(), i) != read->agreeing.end()});
        }
    }
    return marks;
}

AxisProposal ProposeAxes(const QImage& picture, QRect region, LabelOcr& ocr, CancelToken* cancel,
                         const SearchProgress& progress)
{
    AxisProposal p;
    if (!ocr.error().isEmpty()) {
        p.error = ocr.error();
        return p;
    }
    if (progress)
        progress(QStringLiteral("Finding axes"), 0, 0);
    p.findings = FindAxes(picture, region, cancel);
    p.cancelled = p.findings.cancelled;
    if (p.cancelled)
        return p;
    int done = 0;
    int total = 0;
    for (const FoundAxis* axis : {&p.findings.x, &p.findings.y})
        total += Readable(*axis) ? static_cast<int>(axis->ticks.size()) : 0;
    const auto counted = [&] {
        if (progress)
            progress(QStringLiteral("Reading labels"), ++done, total);
    };
    p.x = Propose(picture, p.findings.x, QStringLiteral("X"), ocr, p.xLabels, cancel, counted);
    p.y = Propose(picture, p.findings.y, QStringLiteral("Y"), ocr, p.yLabels, cancel, counted);
    p.cancelled = cancel && cancel->wasCancelled();
    return p;
}

} // namespace tracella
