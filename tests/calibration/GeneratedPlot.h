#pragma once

#include <QImage>
#include <QLineF>
#include <QSize>
#include <QPointF>
#include <QStringList>
#include <vector>

namespace tracella::plots {

// How a generated plot is drawn.
struct Style {
    const char* name;
    QSize size;
    double turn = 0; // degrees, about the middle
    bool jpeg = false, grid = false, labels = false;
    bool ticksIn = false, ticksOut = true;
    bool box = false;      // a frame with the ticks repeated on the far sides
    bool xOnTop = false;   // the X ticks and labels stand on the top line
    int searchSide = 1600; // smaller than the picture: searched reduced
    bool yLabelsTurned = false; // read from bottom to top
};

struct Plot {
    QImage image;
    QLineF xAxis, yAxis; // where they truly are, in pixel-centre coordinates
    std::vector<QPointF> xTicks, yTicks;
    QStringList xLabels, yLabels; // as written at each tick, when labelled
};

// Tick length, pen width and the plot's middle, in the picture's pixels.
double Tick(const Style& s);
double Pen(const Style& s);
QPointF Centre(const Style& s);

Plot Draw(const Style& s);

} // namespace tracella::plots
