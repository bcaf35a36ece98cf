#pragma once

#include "app/core/NumberText.h"

namespace tracella {

// Turns a frame position into data values, shows them in status panels 3
// and 4 and, when save is set, appends them to the grid. Errors show the
// unexpected-error message and nothing further happens. False on error or
// when the grid refused the row.
bool RecordPoint(PrecisionValue x, PrecisionValue y, bool save);

} // namespace tracella
