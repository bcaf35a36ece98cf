#include "app/core/NumberReading.h"

#include "CommaDecimalLocale.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

using namespace tracella;

namespace {

double Read(const std::string& text)
{
    return LeadingNumber(QString::fromLatin1(text.c_str()));
}

struct Reading {
    std::string text;
    double value;
};

} // namespace

TEST(LeadingNumberTest, ReadsTheLongestNumberAtTheStart)
{
    const Reading rows[] = {
        {"12.5", 12.5}, {"-3", -3}, {"+4", 4}, {".5", 0.5}, {"5.", 5}, {"-.25", -0.25}, {"007", 7}, {"2e3", 2000},
        {"2E-3", 0.002}, {"1.5D2", 150}, {"1.5d+2", 150}, {" 1E-05", 1e-5}, {"0.1", 0.1},
        // Every digit counts, rounded once to the nearest double.
        {"3.14159265358979323846264338327950288", 3.14159265358979323846},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        // It stops at the first character that cannot continue; a carriage
        // return is not among the ignored characters.
        {"45abc", 45}, {"1,5", 1}, {"1.2.3", 1.2}, {"250%", 250}, {"-7-3", -7}, {"1e2e3", 100}, {"5\r6", 5},
        {"\r5", 0},
        // Blanks, tabs and line feeds are ignored anywhere.
        {"1 2", 12}, {" - 3", -3}, {"\t1\n2 . 5", 12.5}, {"1 e 2", 100}, {"1e - 2", 0.01}, {"& H 1 F", 31},
        {"1\t5", 15}, {"   ", 0},
        // An exponent marker without digits is not part of the number.
        {"1e", 1}, {"1e+", 1}, {"2.5E-x", 2.5}, {"3d", 3}, {"4D ", 4},
        // Radix prefixes, taken as unsigned values.
        {"&H1F", 31}, {"&hff", 255}, {"&hf", 15}, {"&HA", 10}, {"&O17", 15}, {"&o178", 15}, {"&O8", 0},
        {"&H1F.5", 31}, {"&HFFFF", 65535}, {"&HFFFFFFFF", 4294967295.0},
        // Out of range stays finite.
        {"1e400", DBL_MAX}, {"-1e400", -DBL_MAX}, {"1000e306", DBL_MAX}, {"0.001e311", 1e308},
        {"1e99999999999999999999", DBL_MAX}, {"1" + std::string(400, '0'), DBL_MAX},
        {"&H" + std::string(300, 'F'), DBL_MAX}, {"1e-400", 0}, {"-1e-400", 0}, {"100e-326", 0},
        {"0." + std::string(400, '0') + "1e-200", 0}, {"0." + std::string(400, '0') + "1e500", 1e99}, {"0e99999", 0},
        {"5e-324", std::numeric_limits<double>::denorm_min()}};
    for (const Reading& row : rows)
        EXPECT_EQ(Read(row.text), row.value) << '"' << row.text << '"';
    for (const char* text : {"", "abc", "-", "+", ".", "-.", "+.e5", "e5", "-e5", "&", "&X1", "&H", "&Hg", "-&H10"})
        EXPECT_EQ(Read(text), 0.0) << '"' << text << '"';
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

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbourAndTheRangeClamps)
{
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    const std::pair<double, std::int64_t> rows[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {-0.5, 0}, {1.5, 2}, {32766.5, 32766}, {2.4, 2}, {2.6, 3},
        {-2.6, -3}, {-2.4, -2}, {0.0, 0},
        {0.49999999999999994, 0}, // floor(x + 0.5) would give 1
        {4503599627370497.0, 4503599627370497}, {-4503599627370497.0, -4503599627370497}, {1e19, max},
        {9223372036854775808.0, max}, {-1e19, min}, {-9223372036854775808.0, min},
        {9223372036854774784.0, 9223372036854774784}, {std::numeric_limits<double>::infinity(), max},
        {-std::numeric_limits<double>::infinity(), min}, {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const auto& [value, rounded] : rows)
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}
