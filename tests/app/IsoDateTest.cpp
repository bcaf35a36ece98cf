#include "app/core/IsoDate.h"

#include <gtest/gtest.h>

using namespace tracella;

TEST(DateAxis, IsoDatesReadAndShowAtTheirTypedPrecision)
{
    struct Case {
        const char* typed;
        double seconds;
        DatePrecision precision;
        const char* shown;
    };
    const Case cases[] = {
        {"1970-01-02", 86400, DatePrecision::Days, "1970-01-02"},
        {"2000-03-01", 951868800, DatePrecision::Days, "2000-03-01"},
        {" 2024-02-29T12:30 ", 1709209800, DatePrecision::Minutes, "2024-02-29T12:30"},
        {"2024-03-01 12:30:15", 1709296215, DatePrecision::Seconds, "2024-03-01T12:30:15"},
        {"1969-12-31T23:59", -60, DatePrecision::Minutes, "1969-12-31T23:59"},
    };
    for (const Case& k : cases) {
        const auto date = ParseIsoDate(QLatin1String(k.typed));
        ASSERT_TRUE(date) << k.typed;
        EXPECT_EQ(date->seconds, k.seconds) << k.typed;
        EXPECT_EQ(date->precision, k.precision) << k.typed;
        EXPECT_EQ(IsoDateText(date->seconds + 0.4 * (k.precision == DatePrecision::Days ? 86400 : 1), k.precision),
                  QLatin1String(k.shown));
    }
    for (const char* bad : {"2024-13-01", "2023-02-29", "2024-03-01T24:00", "2024-3-1", "March 1", "", "2024-03-01T12"})
        EXPECT_FALSE(ParseIsoDate(QLatin1String(bad))) << bad;
}
