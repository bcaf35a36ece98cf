#pragma once

#include "app/core/AppState.h"
#include "calibration/AffineCalibration.h"

#include <QImage>
#include <QRect>
#include <QTransform>

namespace tracella {

// What a trace searches: the picture itself, or under a calibration by axes
// the searched part turned and sheared so that its calibrated axes lie along
// the edges. Steps along a column of the view then follow the calibrated
// axis, not the picture's edge.
struct TraceView {
    QImage picture;
    QRect region;
    // The view's frame: the axis coordinates (log10 on a log axis) at its
    // edges, laid out so that FrameAtTrace reads a view position exactly.
    Frame frame;
    // View position -> surface position (a picture pixel, pixel i read at i).
    QTransform toSurface;
    // Picture position (pixel i spans [i, i + 1)) -> view position.
    QTransform fromPicture;
};

TraceView AxisAlignedView(const QImage& picture, const QRect& region, const AffineCalibration& calibration);

} // namespace tracella
