#pragma once

namespace tracella {

// Reset Scale and the scale-mode command.
void RegisterScaleCommands();

// Scale mode off, its check mark cleared, the calibration applied.
void LeaveScaleMode();

// The calibration at the end of scale mode: the picture shows the base
// frame without markers, then the calibrated frame or the reason why not.
void ApplyCalibrationToPicture();

} // namespace tracella
