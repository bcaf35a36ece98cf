#include "app/core/NumberReading.h"

#include "CommaDecimalLocale.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

using namespace tracella;

namespace {

double Read(const char* text)
{
    return LeadingNumber(QString::fromLatin1(text));
}

} // namespace

TEST(LeadingNumberTest, ReadsSignDigitsFractionAndExponent)
{
    EXPECT_EQ(Read("12.5"), 12.5);
    EXPECT_EQ(Read("-3"), -3.0);
    EXPECT_EQ(Read("+4"), 4.0);
    EXPECT_EQ(Read(".5"), 0.5);
    EXPECT_EQ(Read("5."), 5.0);
    EXPECT_EQ(Read("-.25"), -0.25);
    EXPECT_EQ(Read("007"), 7.0);
    EXPECT_EQ(Read("2e3"), 2000.0);
    EXPECT_EQ(Read("2E-3"), 0.002);
    EXPECT_EQ(Read("1.5D2"), 150.0);
    EXPECT_EQ(Read("1.5d+2"), 150.0);
    EXPECT_EQ(Read(" 1E-05"), 1e-5);
    EXPECT_EQ(Read("0.1"), 0.1);
    // Every digit counts, rounded once to the nearest double.
    EXPECT_EQ(Read("3.14159265358979323846264338327950288"), 3.14159265358979323846);
    EXPECT_EQ(Read("123456789012345678901234567890"), 123456789012345678901234567890.0);
}

TEST(LeadingNumberTest, StopsAtTheFirstCharacterThatCannotContinue)
{
    EXPECT_EQ(Read("45abc"), 45.0);
    EXPECT_EQ(Read("1,5"), 1.0);
    EXPECT_EQ(Read("1.2.3"), 1.2);
    EXPECT_EQ(Read("250%"), 250.0);
    EXPECT_EQ(Read("-7-3"), -7.0);
    EXPECT_EQ(Read("1e2e3"), 100.0);
    // A carriage return is not among the ignored characters.
    EXPECT_EQ(Read("5\r6"), 5.0);
    EXPECT_EQ(Read("\r5"), 0.0);
}

TEST(LeadingNumberTest, IgnoresBlanksTabsAndLineFeedsAnywhere)
{
    EXPECT_EQ(Read("1 2"), 12.0);
    EXPECT_EQ(Read(" - 3"), -3.0);
    EXPECT_EQ(Read("\t1\n2 . 5"), 12.5);
    EXPECT_EQ(Read("1 e 2"), 100.0);
    EXPECT_EQ(Read("1e - 2"), 0.01);
    EXPECT_EQ(Read("& H 1 F"), 31.0);
    EXPECT_EQ(Read("   "), 0.0);
}

TEST(LeadingNumberTest, TextWithoutANumberReadsZero)
{
    for (const char* text : {"", "abc", "-", "+", ".", "-.", "+.e5", "e5", "-e5", "&", "&X1", "&H", "&Hg", "-&H10"})
        EXPECT_EQ(Read(text), 0.0) << '"' << text << '"';
}

TEST(LeadingNumberTest, ExponentMarkerWithoutDigitsIsNotPartOfTheNumber)
{
    EXPECT_EQ(Read("1e"), 1.0);
    EXPECT_EQ(Read("1e+"), 1.0);
    EXPECT_EQ(Read("2.5E-x"), 2.5);
    EXPECT_EQ(Read("3d"), 3.0);
    EXPECT_EQ(Read("4D "), 4.0);
}

TEST(LeadingNumberTest, RadixPrefixes)
{
    EXPECT_EQ(Read("&H1F"), 31.0);
    EXPECT_EQ(Read("&hff"), 255.0);
    EXPECT_EQ(Read("&O17"), 15.0);
    EXPECT_EQ(Read("&o178"), 15.0);
    EXPECT_EQ(Read("&O8"), 0.0);
    EXPECT_EQ(Read("&H1F.5"), 31.0);
    // Taken as unsigned values, never as 16- or 32-bit two's complement.
    EXPECT_EQ(Read("&HFFFF"), 65535.0);
    EXPECT_EQ(Read("&HFFFFFFFF"), 4294967295.0);
}

TEST(LeadingNumberTest, OutOfRangeStaysFinite)
{
    EXPECT_EQ(Read("1e400"), DBL_MAX);
    EXPECT_EQ(Read("-1e400"), -DBL_MAX);
    EXPECT_EQ(Read("1000e306"), DBL_MAX);
    EXPECT_EQ(Read("0.001e311"), 1e308);
    EXPECT_EQ(Read("1e99999999999999999999"), DBL_MAX);
    EXPECT_EQ(Read(("1" + std::string(400, '0')).c_str()), DBL_MAX);
    EXPECT_EQ(Read(("&H" + std::string(300, 'F')).c_str()), DBL_MAX);
    EXPECT_EQ(Read("1e-400"), 0.0);
    EXPECT_EQ(Read("-1e-400"), 0.0);
    EXPECT_EQ(Read("100e-326"), 0.0);
    EXPECT_EQ(Read(("0." + std::string(400, '0') + "1e-200").c_str()), 0.0);
    EXPECT_EQ(Read(("0." + std::string(400, '0') + "1e500").c_str()), 1e99);
    EXPECT_EQ(Read("0e99999"), 0.0);
    EXPECT_EQ(Read("5e-324"), std::numeric_limits<double>::denorm_min());
}

TEST(LeadingNumberTest, DecimalPointIsAPeriodUnderACommaLocale)
{
    const CommaDecimalLocale comma;
    EXPECT_EQ(Read("1.5"), 1.5);
    EXPECT_EQ(Read("1,5"), 1.0);
    EXPECT_EQ(Read("-2.5E-3"), -0.0025);
    if (!comma.cLocaleActive())
        GTEST_SKIP() << "checked under a C++ decimal-comma locale only: no C locale with a decimal comma is installed";
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(32766.5), 32766);
}

TEST(RoundHalfEvenTest, OtherValuesGoToTheNearest)
{
    EXPECT_EQ(RoundHalfEven(2.4), 2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(RoundHalfEven(-2.6), -3);
    EXPECT_EQ(RoundHalfEven(-2.4), -2);
    EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0); // floor(x + 0.5) would give 1
    EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497);
    EXPECT_EQ(RoundHalfEven(-4503599627370497.0), -4503599627370497);
    EXPECT_EQ(RoundHalfEven(0.0), 0);
}

TEST(RoundHalfEvenTest, BeyondTheWholeNumberRangeClamps)
{
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(RoundHalfEven(1e19), max);
    EXPECT_EQ(RoundHalfEven(9223372036854775808.0), max);
    EXPECT_EQ(RoundHalfEven(-1e19), min);
    EXPECT_EQ(RoundHalfEven(-9223372036854775808.0), min);
    EXPECT_EQ(RoundHalfEven(9223372036854774784.0), 9223372036854774784);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), max);
    EXPECT_EQ(RoundHalfEven(-std::numeric_limits<double>::infinity()), min);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}
