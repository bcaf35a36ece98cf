#include "calibration/AxisScale.h"

#include "app/core/NumberReading.h"
#include "calibration/Calibration.h"

#include <cmath>

namespace tracella {
std::variant<AxisCoordinate, QString> ReadAxisCoordinate(AxisKind kind, const QString& typed)
{
    if (kind == AxisKind::Date) {
        const auto date = ParseIsoDate(typed);
        if (!date)
            return QStringLiteral("\"%1\" is not a date like 2024-03-01, 2024-03-01T12:30 or 2024-03-01 12:30:15")
                .arg(typed.trimmed());
        return AxisCoordinate{date->seconds, date->precision};
    }
    const double value = LeadingNumber(typed);
    if (kind == AxisKind::Linear)
        return AxisCoordinate{value};
    if (!(value > 0))
        return QStringLiteral("%1 is not above 0, which a log axis cannot show").arg(NumberText(value).trimmed());
    return AxisCoordinate{Log10Value(value)};
}

std::optional<PrecisionValue> AxisValue(AxisKind kind, PrecisionValue coordinate)
{
    if (kind == AxisKind::Date)
        return PrecisionValue{coordinate.value, false};
    if (kind == AxisKind::Linear)
        return coordinate;
    const double power = std::pow(10.0, coordinate.value);
    const double stored = coordinate.single ? static_cast<double>(static_cast<float>(power)) : power;
    if (std::isinf(stored) || stored == 0)
        return std::nullopt;
    return PrecisionValue{stored, coordinate.single};
}

std::optional<double> AxisCoordinateOf(AxisKind kind, double value)
{
    if (kind != AxisKind::Log)
        return value;
    if (!(value > 0))
        return std::nullopt;
    return Log10Value(value);
}

QString AxisValueText(const AxisScale& axis, PrecisionValue value)
{
    if (axis.kind == AxisKind::Date)
        return IsoDateText(value.value, axis.precision);
    return NumberText(value);
}

std::optional<double> AxisCellValue(AxisKind kind, const QString& text)
{
    if (kind != AxisKind::Date)
        return LeadingNumber(text);
    const auto date = ParseIsoDate(text);
    if (!date)
        return std::nullopt;
    return date->seconds;
}

} // namespace tracella
