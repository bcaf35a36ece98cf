#include "app/core/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tracella {
namespace {

// Longest text: sign, "0.", four zeros and 15 digits, or a 3-digit E form.
constexpr int TextCapacity = 32;

// The significant digits of a value after rounding, without trailing zeros.
struct RoundedDigits {
    char digits[24];
    int count = 0;
    int exponent = 0; // power of ten of the first digit
};

// to_chars rounds correctly and never looks at the locale.
template <typename T>
RoundedDigits RoundToDigits(T magnitude, int precision)
{
    char scientific[TextCapacity];
    const auto end = std::to_chars(scientific, scientific + sizeof scientific, magnitude,
                                   std::chars_format::scientific, precision - 1).ptr;
    RoundedDigits rounded;
    const char* p = scientific;
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            rounded.digits[rounded.count++] = *p;
    }
    ++p;
    if (*p == '+')
        ++p; // from_chars takes "-" but not "+"
    std::from_chars(p, end, rounded.exponent);
    while (rounded.count > 1 && rounded.digits[rounded.count - 1] == '0')
        --rounded.count;
    return rounded;
}

char* WriteZeros(char* out, int count)
{
    for (int i = 0; i < count; ++i)
        *out++ = '0';
    return out;
}

char* WritePositional(char* out, const RoundedDigits& d, bool zeroBeforePoint)
{
    if (d.exponent < 0) {
        if (zeroBeforePoint)
            *out++ = '0';
        *out++ = '.';
        out = WriteZeros(out, -d.exponent - 1);
        std::memcpy(out, d.digits, d.count);
        return out + d.count;
    }
    const int wholeCount = d.exponent + 1;
    if (d.count <= wholeCount) {
        std::memcpy(out, d.digits, d.count);
        return WriteZeros(out + d.count, wholeCount - d.count);
    }
    std::memcpy(out, d.digits, wholeCount);
    out += wholeCount;
    *out++ = '.';
    std::memcpy(out, d.digits + wholeCount, d.count - wholeCount);
    return out + (d.count - wholeCount);
}

char* WriteExponential(char* out, const RoundedDigits& d)
{
    *out++ = d.digits[0];
    if (d.count > 1) {
        *out++ = '.';
        std::memcpy(out, d.digits + 1, d.count - 1);
        out += d.count - 1;
    }
    *out++ = 'E';
    *out++ = d.exponent < 0 ? '-' : '+';
    const int power = std::abs(d.exponent);
    if (power < 10)
        *out++ = '0';
    return std::to_chars(out, out + 4, power).ptr;
}

struct TextStyle {
    int precision;
    bool blankBeforeNonNegative;
    bool zeroBeforePoint;
};

template <typename T>
QString FormatNumber(T value, TextStyle style)
{
    char text[TextCapacity];
    char* out = text;
    if (std::isnan(value)) {
        if (style.blankBeforeNonNegative)
            *out++ = ' ';
        std::memcpy(out, "NaN", 3);
        return QString::fromLatin1(text, out + 3 - text);
    }
    if (value < 0)
        *out++ = '-';
    else if (style.blankBeforeNonNegative)
        *out++ = ' ';
    if (std::isinf(value)) {
        std::memcpy(out, "Inf", 3);
        out += 3;
    } else if (value == 0) {
        *out++ = '0'; // negative zero too, which the sign test took as not negative
    } else {
        const RoundedDigits d = RoundToDigits(std::abs(value), style.precision);
        out = (d.exponent >= -4 && d.exponent < style.precision) ? WritePositional(out, d, style.zeroBeforePoint)
                                                                  : WriteExponential(out, d);
    }
    return QString::fromLatin1(text, out - text);
}

constexpr int SinglePrecisionDigits = 7;
constexpr int DoublePrecisionDigits = 15;

} // namespace

QString NumberText(float value)
{
    return FormatNumber(value, {SinglePrecisionDigits, true, false});
}

QString NumberText(double value)
{
    return FormatNumber(value, {DoublePrecisionDigits, true, false});
}

QString NumberText(std::int64_t whole)
{
    char text[TextCapacity];
    char* out = text;
    if (whole >= 0)
        *out++ = ' ';
    out = std::to_chars(out, text + sizeof text, whole).ptr;
    return QString::fromLatin1(text, out - text);
}

QString PlainNumberText(double value)
{
    return FormatNumber(value, {DoublePrecisionDigits, false, true});
}

} // namespace tracella
