#include "data/PlainNumberForm.h"

#include <cstdint>

namespace tracella {

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Up to 15 significant digits a decimal survives the trip through a double
// and back unchanged; from 1E-05 down the plain form turns to E notation.
constexpr qsizetype MaxSignificantDigits = 15;
constexpr qsizetype MaxZerosAfterPoint = 3;

// Powers of ten a double holds exactly.
constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace

std::optional<double> RewriteInPlainForm(QString& text, PlainMend* mend)
{
    const QChar* s = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    const bool blank = i < n && s[i] == u' ';
    const bool negative = i < n && s[i] == u'-';
    if (blank || negative)
        ++i;

    // All digits as one whole number: below 10^15 in every text taken, so
    // exact in a double (longer runs may wrap; they are refused below).
    std::uint64_t digits = 0;
    const qsizetype wholeStart = i;
    for (; i < n && IsDigit(s[i]); ++i)
        digits = digits * 10 + (s[i].unicode() - u'0');
    const qsizetype wholeDigits = i - wholeStart;
    qsizetype fractionDigits = 0;
    qsizetype zerosAfterPoint = 0;
    const bool point = i < n && s[i] == u'.';
    if (point) {
        const qsizetype fractionStart = ++i;
        for (; i < n && IsDigit(s[i]); ++i)
            digits = digits * 10 + (s[i].unicode() - u'0');
        fractionDigits = i - fractionStart;
        while (zerosAfterPoint < fractionDigits && s[fractionStart + zerosAfterPoint] == u'0')
            ++zerosAfterPoint;
    }
    if (i != n || (point && (fractionDigits == 0 || s[n - 1] == u'0')))
        return std::nullopt; // more than a plain decimal, or digits the plain form drops
    if (wholeDigits > 1 && s[wholeStart] == u'0')
        return std::nullopt;

    qsizetype significant = 0;
    if (wholeDigits > 0 && s[wholeStart] != u'0') {
        significant = wholeDigits + fractionDigits;
    } else {
        // Below 1: zero itself and the E form are left to the general way.
        if (fractionDigits == zerosAfterPoint || zerosAfterPoint > MaxZerosAfterPoint)
            return std::nullopt;
        significant = fractionDigits - zerosAfterPoint;
    }
    if (significant > MaxSignificantDigits)
        return std::nullopt;

    if (blank)
        text.remove(0, 1);
    if (wholeDigits == 0)
        text.insert(negative ? 1 : 0, u'0');
    if (mend)
        *mend = {blank, wholeDigits == 0, negative};
    // One division of two exact numbers: the correctly rounded value, as
    // reading the text would give.
    const double magnitude = static_cast<double>(digits) / PowersOfTen[fractionDigits];
    return negative ? -magnitude : magnitude;
}

} // namespace tracella
