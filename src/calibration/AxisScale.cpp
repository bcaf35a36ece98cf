#include "calibration/AxisScale.h"

#include "app/core/NumberReading.h"
#include "calibration/Calibration.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace tracella {
namespace {

constexpr double SecondsPerDay = 86400;
const qint64 EpochDay = QDate(1970, 1, 1).toJulianDay();

double UnitOf(DatePrecision precision)
{
    switch (precision) {
    case DatePrecision::Days:
        return SecondsPerDay;
    case DatePrecision::Minutes:
        return 60;
    case DatePrecision::Seconds:
        break;
    }
    return 1;
}

} // namespace

std::optional<DateValue> ParseIsoDate(const QString& text)
{
    static const QRegularExpression iso(
        QStringLiteral(R"(^\s*(\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = iso.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    DateValue result;
    result.seconds = static_cast<double>(date.toJulianDay() - EpochDay) * SecondsPerDay;
    if (m.hasCaptured(4)) {
        const int hours = m.captured(4).toInt(), minutes = m.captured(5).toInt();
        const int seconds = m.hasCaptured(6) ? m.captured(6).toInt() : 0;
        if (hours > 23 || minutes > 59 || seconds > 59)
            return std::nullopt;
        result.seconds += hours * 3600.0 + minutes * 60.0 + seconds;
        result.precision = m.hasCaptured(6) ? DatePrecision::Seconds : DatePrecision::Minutes;
    }
    return result;
}

QString IsoDateText(double seconds, DatePrecision precision)
{
    const double unit = UnitOf(precision);
    const double rounded = std::round(seconds / unit) * unit;
    const double days = std::floor(rounded / SecondsPerDay);
    const auto inDay = static_cast<qint64>(rounded - days * SecondsPerDay);
    const QString date = QDate::fromJulianDay(EpochDay + static_cast<qint64>(days)).toString(Qt::ISODate);
    if (precision == DatePrecision::Days)
        return date;
    QString text = date + QStringLiteral("T%1:%2")
                              .arg(inDay / 3600, 2, 10, QLatin1Char('0'))
                              .arg(inDay / 60 % 60, 2, 10, QLatin1Char('0'));
    if (precision == DatePrecision::Seconds)
        text += QStringLiteral(":%1").arg(inDay % 60, 2, 10, QLatin1Char('0'));
    return text;
}

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
