#pragma once

#include <QImage>
#include <QLineF>
#include <QSize>
#include <QPointF>
#include <QStringList>
#include <vector>

namespace tracella::plots {

// What the labels of one axis say, tick by tick.
enum class Numbers {
    Multiples,           // 0 40 80 ...
    NegativeThousandths, // ... −0.003 −0.0015 0
    Negative,            // -30 -20 ... 30, hyphens
    Log,                 // 0.01 0.1 1 10 ...
    LogE,                // 1e-2 1e-1 1e0 ...
    LogPower,            // 10 with a raised exponent, as typeset
    Scientific,          // 0.0e+00 2.5e+04 5.0e+04 ...
    DecimalComma,        // 0,0 0,5 1,0 ...
    Thousands,           // 0 2,000 4,000 ...
    Dates,               // 2024-02-19 2024-02-26 ..., a week apart
};

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
    Numbers xNumbers = Numbers::Multiples, yNumbers = Numbers::NegativeThousandths;
    const char* family = nullptr; // the labels' font; the default one when none
    double letters = 13;          // the labels' pixel size on an 800 pixel wide plot
    int jpegQuality = 70;
};

struct Plot {
    QImage image;
    QLineF xAxis, yAxis; // where they truly are, in pixel-centre coordinates
    std::vector<QPointF> xTicks, yTicks;
    QStringList xLabels, yLabels; // as written at each tick, when labelled
    std::vector<double> xValues, yValues; // what each label means
    bool xLog = false, yLog = false;
    bool xDate = false, yDate = false; // values in seconds from 1970
};

// Tick length, pen width and the plot's middle, in the picture's pixels.
double Tick(const Style& s);
double Pen(const Style& s);
QPointF Centre(const Style& s);

Plot Draw(const Style& s);

} // namespace tracella::plots
