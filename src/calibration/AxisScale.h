#pragma once

#include "app/core/IsoDate.h"
#include "app/core/NumberText.h"

#include <QString>
#include <optional>
#include <variant>

namespace tracella {

enum class AxisKind { Linear, Log, Date };

// One axis of a calibration by axes: its kind and, on a date axis, the
// finest precision its references were typed at.
struct AxisScale {
    AxisKind kind = AxisKind::Linear;
    DatePrecision precision = DatePrecision::Days;
};

// A typed reference value as a coordinate on its axis (log10 on a log
// axis, seconds on a date axis), or the reason it cannot be one. A number
// is read by the leading-number rule, as every typed number is.
struct AxisCoordinate {
    double value = 0;
    DatePrecision precision = DatePrecision::Days;
};
std::variant<AxisCoordinate, QString> ReadAxisCoordinate(AxisKind kind, const QString& typed);

// Coordinate -> data value (ten to the power on a log axis), at the
// coordinate's precision; a date keeps double precision whatever it came
// from. Nothing when a log axis's power leaves that precision's range.
std::optional<PrecisionValue> AxisValue(AxisKind kind, PrecisionValue coordinate);
// Data value -> coordinate; nothing for a value a log axis cannot show.
std::optional<double> AxisCoordinateOf(AxisKind kind, double value);

// A data value as the grid, files and clipboard show it on this axis.
QString AxisValueText(const AxisScale& axis, PrecisionValue value);
// A cell's text read back on this axis: an ISO date on a date axis, the
// leading number otherwise; nothing for an unreadable date.
std::optional<double> AxisCellValue(AxisKind kind, const QString& text);

} // namespace tracella
