#pragma once

#include "calibration/AffineCalibration.h"

namespace tracella {

// Reset Scale and the scale-mode command.
void RegisterScaleCommands();

// Scale mode off, its check mark cleared, the calibration applied.
void LeaveScaleMode();

// The calibration at the end of scale mode: the picture shows the base
// frame without markers, then the calibrated frame or the reason why not.
void ApplyCalibrationToPicture();

// Scale by Axes: the calibration replaces the two-point Scale's (scale
// mode ends without its messages), positions become picture pixels and the
// picture's markers are erased as a calibration erases them.
void ApplyAffineToPicture(AffineCalibration calibration);

} // namespace tracella
