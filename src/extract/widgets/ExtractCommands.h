#pragma once

namespace tracella {

// AutoRead (mnuDataAR) and Interpolate (mnuDataSpline) of the Data menu and
// the toolbar.
void RegisterExtractCommands();

} // namespace tracella
