#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace tracella::bench {

// One RGB row of a plot: white paper, a grey grid every 500 pixels, three
// curves 3 pixels wide.
inline void PlotRow(int width, int y, uchar* rgb)
{
    const bool gridRow = y % 500 == 0;
    for (int x = 0; x < width; ++x) {
        const uchar paper = gridRow || x % 500 == 0 ? 200 : 255;
        rgb[3 * x] = rgb[3 * x + 1] = rgb[3 * x + 2] = paper;
    }
    const uchar colours[3][3] = {{200, 30, 30}, {30, 140, 30}, {30, 30, 200}};
    for (int k = 0; k < 3; ++k) {
        const double swing = std::sin(y * 6.2832 / (3000.0 + 1000 * k));
        const int centre = width * (k + 1) / 4 + static_cast<int>(width / 10 * swing);
        for (int x = std::max(0, centre - 1); x <= std::min(width - 1, centre + 1); ++x)
            std::copy_n(colours[k], 3, rgb + 3 * x);
    }
}

} // namespace tracella::bench
