#pragma once

// The plain work of appending grid rows, the baseline of every benchmark
// that appends them.

#include "app/core/NumberText.h"

#include <QString>

#include <array>
#include <vector>

namespace tracella::bench {

// The texts AppendPointRow makes of each point (its number, X and Y), into
// a plain vector and nothing else. Points are (x, y) pairs of anything
// NumberText takes.
template <typename Points>
std::vector<std::array<QString, 3>> FormatPointRows(const Points& points)
{
    std::vector<std::array<QString, 3>> rows;
    int n = 1;
    for (const auto& [x, y] : points)
        rows.push_back({NumberText(n++), NumberText(x), NumberText(y)});
    return rows;
}

} // namespace tracella::bench
