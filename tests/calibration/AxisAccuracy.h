#pragma once

#include "GeneratedPlot.h"

#include "calibration/AxisProposal.h"

#include <QString>
#include <vector>

namespace tracella {
class LabelOcr;
}

namespace tracella::plots {

// How a proposal for one axis compares with what the figure truly shows.
enum class Outcome { Correct, Left, Wrong };

// Correct: the proposed kind is the axis's (log, date or else linear), and both references are
// distinct ticks, each within half a pixel of a true tick and with its
// label's value. Left: nothing proposed. Anything else is wrong.
Outcome Judge(const AxisProposalSide& side, const std::vector<QPointF>& ticks, const std::vector<double>& values,
              bool log, bool date = false);

// The figures the accuracy is measured on: every style the proposal must
// cope with, each drawn several times with fonts, sizes, pictures and
// label forms picked by fixed seeds (another set for another `draw`).
// Figures of one style share its name.
std::vector<Style> AccuracyFigures(unsigned draw = 0);

struct FigureOutcome {
    Outcome x = Outcome::Left, y = Outcome::Left;
    QString note; // why an axis was left or wrong
    Outcome figure() const;
};

// Finds and reads the axes as the window does, and judges both.
FigureOutcome Measure(const Style& style, LabelOcr& ocr);

} // namespace tracella::plots
