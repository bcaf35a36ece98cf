#pragma once

#include <QString>
#include <cstdint>

namespace tracella {

// The program's text form of a number: a blank before values that are not
// negative, 7 significant digits for single precision and 15 for double,
// no "0" before the decimal point, E notation outside the positional range.
// A number with the precision of the variable it came from.
struct PrecisionValue {
    double value = 0;
    bool single = false;
};

QString NumberText(float value);
QString NumberText(double value);
QString NumberText(std::int64_t whole);
inline QString NumberText(int whole) { return NumberText(static_cast<std::int64_t>(whole)); }
inline QString NumberText(PrecisionValue v)
{
    return v.single ? NumberText(static_cast<float>(v.value)) : NumberText(v.value);
}

// The plain form that sorting writes back: NumberText's digits at 15
// significant digits, no leading blank, "0" before the point below 1.
QString PlainNumberText(double value);

} // namespace tracella
