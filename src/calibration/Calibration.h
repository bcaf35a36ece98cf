#pragma once

#include "app/core/AppState.h"
#include "app/core/Message.h"

#include <optional>

namespace tracella {

// ln(v) / ln(10): the one logarithm that places values on a log axis.
double Log10Value(double v);

// The state part of the Reset Scale command: BaseFrame and no reference
// points. Typed Y values and positions are kept on purpose.
void ResetScale(AppState& state);

// What the end of scale mode leaves on the picture surface.
struct CalibrationOutcome {
    std::optional<Message> refusal; // empty: the calibration was applied
    Frame surfaceFrame = BaseFrame;

    bool applied() const { return !refusal.has_value(); }
};

// Checks the two reference points and, when they define a frame, replaces
// typed values by their logarithms on log axes and stores the calibrated
// frame. A refused calibration changes nothing in the state.
CalibrationOutcome ApplyCalibration(AppState& state);

} // namespace tracella
