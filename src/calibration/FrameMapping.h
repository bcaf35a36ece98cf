#pragma once

#include "app/core/AppState.h"

#include <QPointF>
#include <QSize>

namespace tracella {

// A frame position as the picture surface reports it: single precision.
struct FramePoint {
    float x = 0;
    float y = 0;
};

// The surface holds its frame in single precision.
Frame SurfaceFrame(const Frame& frame);

// The one mapping between pixel positions of the picture surface and frame
// positions; clicks, markers and the colour sweep all go through it.
// size is the surface's inner size in pixels (the picture's size).
FramePoint PixelToFrame(const Frame& frame, QSize size, QPointF pixel);
QPointF FrameToPixel(const Frame& frame, QSize size, double x, double y);

} // namespace tracella
