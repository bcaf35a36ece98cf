#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tracella {

// Packed RGB colour: red + 256*green + 65536*blue.
using Colour = std::int32_t;

constexpr Colour Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }
constexpr int RedOf(Colour c) { return c & 0xFF; }
constexpr int GreenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Colour c) { return (c >> 16) & 0xFF; }

// Marks a reference point that has not been taken yet.
constexpr double NotScaled = -2000000000.0;

// Value at each edge of the picture surface.
struct Frame {
    double left = 0, top = 10, right = 10, bottom = 0;
    friend bool operator==(const Frame&, const Frame&) = default;
};

constexpr Frame BaseFrame{0, 10, 10, 0};

// The process-wide record every window reads and writes. Starts all zero;
// the main window's load step writes the defaults.
struct AppState {
    // Settings
    Colour SplineColor = 0;
    Colour ARDataColor = 0;
    Colour ARPointColor = 0;
    Colour ScaleColor = 0;
    Colour PointsColor = 0;
    std::int32_t DotSize = 0;
    std::int32_t SplinePoints = 0;
    bool SplineOnX = false;
    std::int32_t ARCols = 0;
    std::int32_t ARRows = 0;
    bool XAxisLog = false;
    bool YAxisLog = false;
    bool EscUndo = false;
    std::int16_t PointerIndex = 0;

    // Modes and calibration
    bool ScaleModeOn = false;
    double RefX1 = 0, RefX2 = 0;
    double RefY1 = 0, RefY2 = 0;
    double RefPx1 = 0, RefPx2 = 0;
    double RefPy1 = 0, RefPy2 = 0;
    double FrameLeft = 0, FrameRight = 0;
    double FrameTop = 0, FrameBottom = 0;

    // Coordination
    bool MouseOverPicture = false;
    QByteArray SoundData;
    QString DataFileName;

    Frame frame() const { return {FrameLeft, FrameTop, FrameRight, FrameBottom}; }
    void setFrame(const Frame& f)
    {
        FrameLeft = f.left;
        FrameTop = f.top;
        FrameRight = f.right;
        FrameBottom = f.bottom;
    }

    // The settings defaults of the load step (colours, sweep, dot, spline, axes).
    void applySettingsDefaults();
};

// The one record of this process.
AppState& appState();

} // namespace tracella
