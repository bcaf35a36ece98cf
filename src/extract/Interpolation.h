#pragma once

#include "app/core/AppError.h"

#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace tracella {

// The fewest data rows that interpolate.
inline constexpr int MinimumSplineRows = 4;

// The most points one interpolation can generate: beyond this their arrays
// are refused as too large.
inline constexpr std::int32_t MaxSplinePoints = 1 << 24;

bool EnoughRowsToInterpolate(int dataRows);

// The failure of making room for SplinePoints points, if any: -2 and less,
// or more than MaxSplinePoints. It comes before the rows are sorted.
std::optional<AppError> SplinePointsError(std::int32_t splinePoints);

// A data row as the interpolation reads it: the leading numbers of its X
// and Y texts.
struct SplineRow {
    double x = 0;
    double y = 0;
};

// A generated point in data units.
struct SplinePoint {
    float x = 0;
    float y = 0;
};

// count abscissae one spacing (last - first) / count apart, the first one
// spacing after first, each the single-precision sum of the one before and
// the spacing. A count of 0 divides by zero; below 1 there is no room.
std::variant<std::vector<float>, AppError> SplineAbscissae(float first, float last, std::int32_t count);

struct Interpolation {
    std::vector<SplinePoint> points; // those generated before any failure
    std::optional<AppError> error;
};

// Fits the spline through the rows, which are sorted ascending by the
// independent variable (X when splineOnX, else Y), and generates
// splinePoints points along it. X stays X and Y stays Y in the points
// whichever variable is independent.
Interpolation InterpolateRows(std::span<const SplineRow> rows, bool splineOnX, std::int32_t splinePoints);

} // namespace tracella
