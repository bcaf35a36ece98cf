#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <vector>

namespace tracella {

class CancelToken;

// Positions are picture pixels whose centres lie on whole numbers.
struct FoundTick {
    QPointF pixel;        // where the tick meets the middle of the axis line
    bool inside = false;  // reaches into the plot
    bool outside = false; // reaches away from it, towards the labels
    double reach = 0;     // from the line's middle to the outer end, in pixels (roughly)
};

struct FoundAxis {
    bool found = false;
    QPointF from, to;             // the axis line's middle, left to right or top to bottom
    QPointF outward;              // unit step square to the line, towards the labels
    std::vector<FoundTick> ticks; // in order from `from` to `to`
};

struct AxisFindings {
    FoundAxis x, y;
    bool cancelled = false;
};

// Finds the X and Y axis lines of a plot (long dark lines within 2° of
// level and upright) and the tick marks along each, in `region` of the
// picture (the whole of it when empty). Bottom and left axes win unless
// only the top or right one has labels beyond its ticks. A picture whose
// longer side exceeds `searchSide` is searched on a reduced copy, and the
// lines and ticks are then measured on the picture itself.
AxisFindings FindAxes(const QImage& picture, QRect region = {}, CancelToken* cancel = nullptr,
                      int searchSide = 1600);

} // namespace tracella
