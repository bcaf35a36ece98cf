#pragma once

#include <QString>
#include <vector>

namespace tracella {

// A number that may be what a tick label says, the likelier first.
struct LabelReading {
    double value = 0;
    bool likelier = true; // false for the second reading of an ambiguous separator
};

// The numbers a tick label can mean: signs written as -, − or –; "." or
// "," as decimal mark with the other (or a space or ') between thousands;
// 1e-3, 1×10^-3, 2·10⁻³ and 10⁻³. "1,500" is 1.5 or 1500, as the other
// labels of its axis decide; "1,000" likelier 1000. Nothing for a
// leading nought before a digit ("05") or any other text.
std::vector<LabelReading> ReadLabelNumber(const QString& text);

} // namespace tracella
