#pragma once

namespace tracella {

// AutoRead (mnuDataAR), Trace Curve (mnuDataTrace) and Interpolate
// (mnuDataSpline) of the Data menu and the toolbar.
void RegisterExtractCommands();

} // namespace tracella
