#pragma once

#include "app/core/AppState.h"
#include "extract/CurveTrace.h"

#include <QImage>
#include <QPointF>
#include <QRect>

#include <cstdint>
#include <vector>

namespace tracella {

// Following one curve from a point on it: only ink connected to that curve
// (across short gaps) is read, so text, legends, axes and other curves of
// the same colour are left alone without a search region.
struct FollowSettings {
    Colour colour = 0;
    Colour backdrop = 0;
    int tolerance = 80; // largest perceptual distance that still matches, 0..255
    QPointF start;      // the picked position, in picture pixels (pixel i spans [i, i + 1))
    QRect region;       // where the curve may go; clipped to the picture
    double gap = 12;    // the longest stretch without ink that is crossed, in pixels
    // Where points go: every step pixels along the curve, or, when samples
    // is not empty, wherever the curve passes one of these positions of the
    // independent axis (so a curve that turns back is met again).
    double step = 1;
    TraceAxis axis = TraceAxis::X;
    std::vector<double> samples;
    std::int64_t keep = 32767;
};

struct FollowResult {
    enum class Outcome { Followed, NoInk, NoCurve };
    Outcome outcome = Outcome::NoInk;
    bool closed = false; // the curve came back to where it started
    std::int64_t count = 0;
    // In the order of the curve: an open curve from its end lower on the
    // independent axis. Empty when more than keep were found.
    std::vector<TracePoint> points;
};

// The picture is read as the user sees it (ShownPicture).
FollowResult FollowCurve(const QImage& picture, const FollowSettings& settings);

} // namespace tracella
