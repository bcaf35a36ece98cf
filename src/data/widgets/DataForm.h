#pragma once

#include "app/core/AppState.h"

namespace tracella {

class DataWindow;

// frmData as every part reaches it: a window the user has closed is made
// afresh, loaded and shown on its next use, with the header row alone.
DataWindow& DataForm();

// The colour the current curve's markers are drawn in.
Colour CurrentCurveColour();

} // namespace tracella
