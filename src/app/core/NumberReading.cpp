#include "app/core/NumberReading.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace tracella {
namespace {

// Walks the characters of a text, stepping over the ones the rule ignores.
class NumberCursor {
public:
    explicit NumberCursor(const QString& text)
        : position_(text.constData()), end_(text.constData() + text.size())
    {
        skipIgnored();
    }

    // 0 at the end of the text.
    char16_t current() const { return position_ < end_ ? position_->unicode() : 0; }

    bool isDigit() const { return DigitValue(current()) < 10; }

    void advance()
    {
        ++position_;
        skipIgnored();
    }

    // The value of a digit in any base up to 16; 16 or more for a non-digit.
    static int DigitValue(char16_t c)
    {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'a' && c <= u'f')
            return c - u'a' + 10;
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return 16;
    }

private:
    void skipIgnored()
    {
        while (position_ < end_ && (*position_ == u' ' || *position_ == u'\t' || *position_ == u'\n'))
            ++position_;
    }

    const QChar* position_;
    const QChar* end_;
};

// Large enough that no double exponent is near it, small enough not to overflow.
constexpr long long ExponentCap = 1'000'000'000;

// A number past the double range reads as the largest double of its sign rather than
// as infinity, which the grid could not show; one too small reads as 0.
double OutOfRange(bool negative, long long firstDigitPower)
{
    if (firstDigitPower <= 0)
        return 0.0;
    return negative ? -DBL_MAX : DBL_MAX;
}

// "&H" and "&O" numbers are read as non-negative values of any size.
double ReadRadixNumber(NumberCursor& cursor, int base)
{
    double value = 0;
    for (int digit; (digit = NumberCursor::DigitValue(cursor.current())) < base; cursor.advance())
        value = value * base + digit;
    return std::min(value, DBL_MAX);
}

double ReadDecimalNumber(NumberCursor& cursor)
{
    // The number's characters without the ignored ones, for the locale-free from_chars.
    QVarLengthArray<char, 64> text;
    bool negative = false;
    if (cursor.current() == u'-' || cursor.current() == u'+') {
        negative = cursor.current() == u'-';
        cursor.advance();
    }
    if (negative)
        text.append('-');

    // Power of ten of the first significant digit, to tell overflow from underflow.
    long long firstDigitPower = 0;
    bool significant = false;
    bool anyDigit = false;
    for (; cursor.isDigit(); cursor.advance()) {
        anyDigit = true;
        significant = significant || cursor.current() != u'0';
        if (significant) {
            text.append(char(cursor.current()));
            ++firstDigitPower;
        }
    }
    if (!significant)
        text.append('0');
    --firstDigitPower;
    if (cursor.current() == u'.') {
        cursor.advance();
        text.append('.');
        for (; cursor.isDigit(); cursor.advance()) {
            anyDigit = true;
            if (!significant) {
                if (cursor.current() == u'0')
                    --firstDigitPower;
                else
                    significant = true;
            }
            text.append(char(cursor.current()));
        }
    }
    if (!anyDigit)
        return 0;

    const char16_t marker = cursor.current();
    if (marker == u'e' || marker == u'E' || marker == u'd' || marker == u'D') {
        // A marker without exponent digits after it is not part of the number.
        NumberCursor exponent = cursor;
        exponent.advance();
        bool negativeExponent = false;
        if (exponent.current() == u'-' || exponent.current() == u'+') {
            negativeExponent = exponent.current() == u'-';
            exponent.advance();
        }
        if (exponent.isDigit()) {
            text.append('e');
            if (negativeExponent)
                text.append('-');
            long long power = 0;
            for (; exponent.isDigit(); exponent.advance()) {
                text.append(char(exponent.current()));
                power = std::min(power * 10 + (exponent.current() - u'0'), ExponentCap);
            }
            firstDigitPower += negativeExponent ? -power : power;
        }
    }

    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return OutOfRange(negative, firstDigitPower);
    return value;
}

} // namespace

double LeadingNumber(const QString& text)
{
    NumberCursor cursor(text);
    if (cursor.current() == u'&') {
        cursor.advance();
        const char16_t radix = cursor.current();
        if (radix != u'h' && radix != u'H' && radix != u'o' && radix != u'O')
            return 0;
        cursor.advance();
        return ReadRadixNumber(cursor, (radix == u'h' || radix == u'H') ? 16 : 8);
    }
    return ReadDecimalNumber(cursor);
}

std::int64_t RoundHalfEven(double value)
{
    // NaN reads as 0; values past the int64 range take its nearest end.
    if (std::isnan(value))
        return 0;
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0))
        rounded = below + 1;
    constexpr double TwoToThe63 = 9223372036854775808.0;
    if (rounded >= TwoToThe63)
        return std::numeric_limits<std::int64_t>::max();
    if (rounded < -TwoToThe63)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

} // namespace tracella
