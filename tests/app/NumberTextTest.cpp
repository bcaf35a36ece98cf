#include "app/core/NumberReading.h"
#include "app/core/NumberText.h"

#include "CommaDecimalLocale.h"
#include "support/Expect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>

using namespace tracella;

namespace {

// The value a text with the given number of significant digits stands for,
// computed through the C library as an independent reference.
double RoundedToDigits(double value, int digits)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    return std::strtod(text, nullptr);
}

// Rules every text obeys whatever its value: a sign or blank, no "0" before the
// point, no trailing zeros after the point, at least two exponent digits.
void ExpectWellFormed(const QString& text, int precision)
{
    ASSERT_GE(text.size(), 2) << text.toStdString();
    EXPECT_TRUE(text[0] == u' ' || text[0] == u'-') << text.toStdString();
    EXPECT_TRUE(text[1] != u'0' || text.size() == 2) << text.toStdString();
    const qsizetype e = text.indexOf(u'E');
    const QString mantissa = e < 0 ? text : text.left(e);
    if (mantissa.contains(u'.')) {
        EXPECT_FALSE(mantissa.endsWith(u'0')) << text.toStdString();
    }
    if (e >= 0) {
        EXPECT_GE(text.size() - e - 2, 2) << text.toStdString();
    }
    QString digits = mantissa.mid(1).remove(u'.');
    while (digits.startsWith(u'0'))
        digits.remove(0, 1);
    while (digits.endsWith(u'0'))
        digits.chop(1);
    EXPECT_LE(digits.size(), precision) << text.toStdString();
}

} // namespace

TEST(NumberTextTest, DocumentedExamples)
{
    EXPECT_EQ(NumberText(12.5), " 12.5");
    EXPECT_EQ(NumberText(-0.25), "-.25");
    EXPECT_EQ(NumberText(0.0), " 0");
    EXPECT_EQ(NumberText(0.0001), " .0001");
    EXPECT_EQ(NumberText(0.00001), " 1E-05");
    EXPECT_EQ(NumberText(1E15), " 1E+15");
    EXPECT_EQ(NumberText(123456789.0), " 123456789");
    EXPECT_EQ(NumberText(123456789.0f), " 1.234568E+08");
    EXPECT_EQ(NumberText(1.0f / 3.0f), " .3333333");
    EXPECT_EQ(NumberText(1.0 / 3.0), " .333333333333333");
    EXPECT_EQ(NumberText(3.14159265f), " 3.141593");
    EXPECT_EQ(NumberText(3.14159265358979323846), " 3.14159265358979");
    // A single-precision step carried on in double precision shows its binary error.
    EXPECT_EQ(NumberText(static_cast<double>(0.2f)), " .200000002980232");
    EXPECT_EQ(NumberText(0.2f), " .2");
}

TEST(NumberTextTest, PositionalRangeEndsAtItsBoundaries)
{
    EXPECT_EQ(NumberText(0.00012345), " .00012345");
    EXPECT_EQ(NumberText(0.000099), " 9.9E-05");
    EXPECT_EQ(NumberText(9.999999e-5f), " 9.999999E-05");
    EXPECT_EQ(NumberText(1234567.0f), " 1234567");
    EXPECT_EQ(NumberText(12345678.0f), " 1.234568E+07");
    EXPECT_EQ(NumberText(1e7f), " 1E+07");
    EXPECT_EQ(NumberText(1e6f), " 1000000");
    EXPECT_EQ(NumberText(1e14), " 100000000000000");
    EXPECT_EQ(NumberText(123456789012345.0), " 123456789012345");
    EXPECT_EQ(NumberText(1234567890123456.0), " 1.23456789012346E+15");
    EXPECT_EQ(NumberText(100.0), " 100");
    EXPECT_EQ(NumberText(1200.5f), " 1200.5");
}

TEST(NumberTextTest, RoundingCanMoveTheExponent)
{
    // The layout follows the exponent after rounding, not before.
    EXPECT_EQ(NumberText(0.00009999999999999999), " .0001");
    EXPECT_EQ(NumberText(999999999999999.9), " 1E+15");
    EXPECT_EQ(NumberText(0.9999999999999999), " 1");
    EXPECT_EQ(NumberText(std::nextafter(1e-16f, 0.0f)), " 1E-16");
    EXPECT_EQ(NumberText(999999.94f), " 999999.9");
    EXPECT_EQ(NumberText(9999999.0f), " 9999999");
    EXPECT_EQ(NumberText(-9.9999999999999999e-5f), "-.0001");
}

TEST(NumberTextTest, ExponentForms)
{
    EXPECT_EQ(NumberText(-1.5e-10), "-1.5E-10");
    EXPECT_EQ(NumberText(1e100), " 1E+100");
    EXPECT_EQ(NumberText(std::numeric_limits<double>::max()), " 1.79769313486232E+308");
    EXPECT_EQ(NumberText(std::numeric_limits<double>::denorm_min()), " 4.94065645841247E-324");
    EXPECT_EQ(NumberText(std::numeric_limits<float>::max()), " 3.402823E+38");
    EXPECT_EQ(NumberText(std::numeric_limits<float>::denorm_min()), " 1.401298E-45");
    EXPECT_EQ(NumberText(-2.5e20f), "-2.5E+20");
}

TEST(NumberTextTest, ZeroAndNonFiniteValues)
{
    EXPECT_EQ(NumberText(-0.0), " 0");
    EXPECT_EQ(NumberText(-0.0f), " 0");
    EXPECT_EQ(PlainNumberText(-0.0), "0");
    EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()), " NaN");
    EXPECT_EQ(NumberText(-std::numeric_limits<float>::quiet_NaN()), " NaN");
    EXPECT_EQ(NumberText(std::numeric_limits<double>::infinity()), " Inf");
    EXPECT_EQ(NumberText(-std::numeric_limits<float>::infinity()), "-Inf");
    EXPECT_EQ(PlainNumberText(std::numeric_limits<double>::infinity()), "Inf");
}

TEST(NumberTextTest, WholeNumbersKeepEveryDigit)
{
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(7), " 7");
    EXPECT_EQ(NumberText(-42), "-42");
    EXPECT_EQ(NumberText(32766), " 32766");
    EXPECT_EQ(NumberText(std::numeric_limits<std::int64_t>::max()), " 9223372036854775807");
    EXPECT_EQ(NumberText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(NumberTextTest, PrecisionValueChoosesTheDigitCount)
{
    EXPECT_EQ(NumberText(PrecisionValue{0.2, true}), " .2");
    EXPECT_EQ(NumberText(PrecisionValue{static_cast<double>(0.2f), false}), " .200000002980232");
    EXPECT_EQ(NumberText(PrecisionValue{1.0 / 3.0, true}), " .3333333");
}

TEST(NumberTextTest, PlainFormForSorting)
{
    EXPECT_EQ(PlainNumberText(0.5), "0.5");
    EXPECT_EQ(PlainNumberText(-0.25), "-0.25");
    EXPECT_EQ(PlainNumberText(0.00001), "1E-05");
    EXPECT_EQ(PlainNumberText(12.0), "12");
    EXPECT_EQ(PlainNumberText(0.0), "0");
    EXPECT_EQ(PlainNumberText(0.0001), "0.0001");
    EXPECT_EQ(PlainNumberText(-1.0 / 3.0), "-0.333333333333333");
    EXPECT_EQ(PlainNumberText(static_cast<double>(0.2f)), "0.200000002980232");
    EXPECT_EQ(PlainNumberText(1234567890123456.0), "1.23456789012346E+15");
    EXPECT_EQ(PlainNumberText(-1e-300), "-1E-300");
}

TEST(NumberTextTest, DecimalPointIsAPeriodUnderACommaLocale)
{
    const CommaDecimalLocale comma;
    EXPECT_EQ(NumberText(12.5), " 12.5");
    EXPECT_EQ(NumberText(-0.25f), "-.25");
    EXPECT_EQ(NumberText(1.5e-7), " 1.5E-07");
    EXPECT_EQ(PlainNumberText(0.5), "0.5");
    if (!comma.cLocaleActive())
        GTEST_SKIP() << "checked under a C++ decimal-comma locale only: no C locale with a decimal comma is installed";
}

TEST(NumberTextTest, ReadingTheTextBackGivesTheRoundedValue)
{
    std::mt19937_64 random(20040101);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> power(-30, 30);
    std::uniform_int_distribution<int> thousandths(-100000, 100000);
    std::bernoulli_distribution negative(0.5);

    for (int i = 0; i < 10000; ++i) {
        // Half spread over the magnitudes, half short decimals whose trailing zeros are dropped.
        double value = i % 2 == 0 ? mantissa(random) * std::pow(10.0, power(random)) : thousandths(random) / 1000.0;
        if (negative(random))
            value = -value;
        const auto single = static_cast<float>(value);

        const QString doubleText = NumberText(value);
        const QString singleText = NumberText(single);
        ASSERT_EQ(LeadingNumber(doubleText), RoundedToDigits(value, 15)) << value << " " << doubleText.toStdString();
        ASSERT_EQ(LeadingNumber(singleText), RoundedToDigits(single, 7)) << single << " " << singleText.toStdString();
        ASSERT_EQ(LeadingNumber(PlainNumberText(value)), RoundedToDigits(value, 15)) << value;
        ExpectWellFormed(doubleText, 15);
        ExpectWellFormed(singleText, 7);
        // Sorting writes the plain form: it is the same digits without the blank, "0" before a point.
        QString expectedPlain = doubleText.startsWith(u' ') ? doubleText.mid(1) : doubleText;
        if (expectedPlain.startsWith(u'.') || expectedPlain.startsWith(QStringLiteral("-.")))
            expectedPlain.insert(expectedPlain.indexOf(u'.'), u'0');
        ASSERT_EQ(PlainNumberText(value), expectedPlain);
    }
}
