#include "app/core/IsoDate.h"

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

bool LooksLikeIsoDate(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return text.size() - i >= 10 && text[i + 4] == u'-' && text[i + 7] == u'-';
}

std::optional<DateValue> ParseIsoDate(const QString& text)
{
    if (!LooksLikeIsoDate(text))
        return std::nullopt;
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

} // namespace tracella
