#pragma once

#include <QString>
#include <cstdint>

namespace tracella {

// Reads the leading number of a text: blanks, tabs and line feeds are
// skipped wherever they stand; sign, digits, "." decimal part, E or D
// exponent; "&H" hexadecimal and "&O" octal; 0 when there is none.
// The decimal point is "." whatever the locale.
double LeadingNumber(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour.
std::int64_t RoundHalfEven(double value);

} // namespace tracella
