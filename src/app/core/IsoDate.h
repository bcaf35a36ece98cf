#pragma once

#include <QString>
#include <optional>

namespace tracella {

// How finely a date axis was typed; its values are shown the same way.
enum class DatePrecision { Days, Minutes, Seconds };

// A date or date-time typed in ISO 8601 form, in seconds from 1970-01-01
// (no time zone: the picture's own clock).
struct DateValue {
    double seconds = 0;
    DatePrecision precision = DatePrecision::Days;
};

// "2024-03-01", "2024-03-01T12:30", "2024-03-01 12:30:15"; nothing else.
std::optional<DateValue> ParseIsoDate(const QString& text);
// Rounded to the precision, with "T" between date and time.
QString IsoDateText(double seconds, DatePrecision precision);
// Only a text shaped like a date is read in full, so that cells of plain
// numbers cost a glance.
bool LooksLikeIsoDate(const QString& text);

} // namespace tracella
