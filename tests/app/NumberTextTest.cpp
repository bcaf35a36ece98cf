#include "app/core/NumberText.h"

#include "CommaDecimalLocale.h"
#include "support/Expect.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tracella;

namespace {

using DL = std::numeric_limits<double>;
using FL = std::numeric_limits<float>;

template <typename T>
struct Written {
    T value;
    const char* text;
};

template <typename T, typename F>
void ExpectTexts(std::initializer_list<Written<T>> rows, F write)
{
    for (const Written<T>& row : rows)
        EXPECT_EQ(write(row.value), QString::fromLatin1(row.text)) << row.value;
}

} // namespace

// Positional between 1E-04 and the precision, the layout following the
// exponent after rounding; a single-precision step carried on in double
// precision shows its binary error.
TEST(NumberTextTest, DoublesSinglesAndWholeNumbers)
{
    const auto number = [](auto v) { return NumberText(v); };
    ExpectTexts<double>({{12.5, " 12.5"}, {-0.25, "-.25"}, {0.0, " 0"}, {-0.0, " 0"}, {0.0001, " .0001"},
                         {0.00001, " 1E-05"}, {1E15, " 1E+15"}, {123456789.0, " 123456789"},
                         {1.0 / 3.0, " .333333333333333"}, {3.14159265358979323846, " 3.14159265358979"},
                         {static_cast<double>(0.2f), " .200000002980232"}, {0.00012345, " .00012345"},
                         {0.000099, " 9.9E-05"}, {1e14, " 100000000000000"}, {123456789012345.0, " 123456789012345"},
                         {1234567890123456.0, " 1.23456789012346E+15"}, {100.0, " 100"},
                         {0.00009999999999999999, " .0001"}, {999999999999999.9, " 1E+15"},
                         {0.9999999999999999, " 1"}, {-1.5e-10, "-1.5E-10"}, {1e100, " 1E+100"},
                         {DL::max(), " 1.79769313486232E+308"}, {DL::denorm_min(), " 4.94065645841247E-324"},
                         {DL::quiet_NaN(), " NaN"}, {DL::infinity(), " Inf"}},
                        number);
    ExpectTexts<float>({{123456789.0f, " 1.234568E+08"}, {1.0f / 3.0f, " .3333333"}, {3.14159265f, " 3.141593"},
                        {0.2f, " .2"}, {9.999999e-5f, " 9.999999E-05"}, {1234567.0f, " 1234567"},
                        {12345678.0f, " 1.234568E+07"}, {1e7f, " 1E+07"}, {1e6f, " 1000000"}, {1200.5f, " 1200.5"},
                        {std::nextafter(1e-16f, 0.0f), " 1E-16"}, {999999.94f, " 999999.9"}, {9999999.0f, " 9999999"},
                        {-9.9999999999999999e-5f, "-.0001"}, {FL::max(), " 3.402823E+38"},
                        {FL::denorm_min(), " 1.401298E-45"}, {-2.5e20f, "-2.5E+20"}, {-0.0f, " 0"},
                        {-FL::quiet_NaN(), " NaN"}, {-FL::infinity(), "-Inf"}},
                       number);
    ExpectTexts<std::int64_t>({{0, " 0"}, {7, " 7"}, {-42, "-42"}, {32766, " 32766"},
                               {std::numeric_limits<std::int64_t>::max(), " 9223372036854775807"},
                               {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"}},
                              number);
    EXPECT_EQ(NumberText(PrecisionValue{0.2, true}), " .2");
    EXPECT_EQ(NumberText(PrecisionValue{static_cast<double>(0.2f), false}), " .200000002980232");
    EXPECT_EQ(NumberText(PrecisionValue{1.0 / 3.0, true}), " .3333333");
}

// The form sorting writes: no blank, a "0" before the point.
TEST(NumberTextTest, PlainFormForSorting)
{
    ExpectTexts<double>({{0.5, "0.5"}, {-0.25, "-0.25"}, {0.00001, "1E-05"}, {12.0, "12"}, {0.0, "0"}, {-0.0, "0"},
                         {0.0001, "0.0001"}, {-1.0 / 3.0, "-0.333333333333333"},
                         {static_cast<double>(0.2f), "0.200000002980232"},
                         {1234567890123456.0, "1.23456789012346E+15"}, {-1e-300, "-1E-300"}, {DL::infinity(), "Inf"}},
                        [](double v) { return PlainNumberText(v); });
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
