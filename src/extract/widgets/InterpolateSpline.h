#pragma once

namespace tracella {

// The Interpolate command: removes repeated rows, sorts by the independent
// variable, fits the natural spline through the grid's points, previews
// SplinePoints points along it and appends them when the user agrees.
void InterpolateSpline();

} // namespace tracella
