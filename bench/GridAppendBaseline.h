#pragma once

// The plain work of appending grid rows, the baseline of every benchmark
// that appends them.

#include "app/core/NumberText.h"
#include "data/GridRows.h"

#include <QString>

#include <array>
#include <random>
#include <utility>
#include <vector>

namespace tracella::bench {

constexpr int FullGridPoints = MaxGridRowCount - 1;

// A full grid of points as the mouse leaves them: single precision, in no
// particular order.
inline std::vector<std::pair<float, float>> PickedPoints()
{
    std::mt19937 random(42);
    std::uniform_real_distribution<float> value(-1000, 1000);
    std::vector<std::pair<float, float>> points(FullGridPoints);
    for (auto& point : points)
        point = {value(random), value(random)};
    return points;
}

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
