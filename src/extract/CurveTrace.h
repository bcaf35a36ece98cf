#pragma once

#include "app/core/AppState.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

namespace tracella {

// Positions in picture pixels: pixel i spans [i, i + 1), so its centre is i + 0.5.
struct TracePoint {
    double x = 0;
    double y = 0;
};

// Which axis the trace steps along: columns for X, rows for Y.
enum class TraceAxis { X, Y };

// A curve gives one point per crossing of each sampled line; markers one
// point per separate blob of matching pixels.
enum class TraceShape { Curve, Markers };

struct TraceSettings {
    Colour colour = 0;
    Colour backdrop = 0; // what transparent pixels are seen over, as the surface paints them
    int tolerance = 40; // largest RGB distance that still matches, 0..255
    TraceAxis axis = TraceAxis::X;
    TraceShape shape = TraceShape::Curve;
    // Curve: where along the independent axis to sample, in picture pixels, ascending.
    std::vector<double> samples;
    QRect region; // the part of the picture searched, in picture pixels; clipped to it
    // Curve: gaps of up to this many pixels inside a run (noise, a thin
    // crossing curve) do not split it.
    int bridge = 2;
    // At most this many points are handed back; beyond it they are only counted.
    std::int64_t keep = 32767;
};

struct TraceResult {
    std::int64_t count = 0;         // points found
    bool countIsLowerBound = false; // markers: too many blobs to count them all
    // Every point found, ordered along the independent axis (crossings of
    // one sample from top to bottom or left to right); empty when more than
    // keep were found.
    std::vector<TracePoint> points;
};

// The squared RGB distance between a 32-bit pixel and a packed colour.
constexpr int DistanceSquared(std::uint32_t pixel, Colour colour)
{
    const int dr = static_cast<int>((pixel >> 16) & 0xFF) - RedOf(colour);
    const int dg = static_cast<int>((pixel >> 8) & 0xFF) - GreenOf(colour);
    const int db = static_cast<int>(pixel & 0xFF) - BlueOf(colour);
    return dr * dr + dg * dg + db * db;
}

// The picture is read as the user sees it (ShownPicture).
TraceResult TraceCurve(const QImage& picture, const TraceSettings& settings);

} // namespace tracella
