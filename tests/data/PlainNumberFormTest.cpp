#include "support/Expect.h"

#include "app/core/NumberReading.h"
#include "data/PlainNumberForm.h"

#include <gtest/gtest.h>

using namespace tracella;

TEST(RewriteInPlainForm, MendsNearlyPlainDecimalsAndLeavesTheRest)
{
    const std::pair<const char*, const char*> mended[] = {
        {" .5", "0.5"}, {"-.25", "-0.25"}, {" 12", "12"}, {" .0001", "0.0001"},
        {" 123456789012345", "123456789012345"}, {"-1200", "-1200"}};
    for (const auto& [from, to] : mended) {
        QString text = QString::fromLatin1(from);
        const std::optional<double> value = RewriteInPlainForm(text);
        ASSERT_TRUE(value.has_value()) << from;
        EXPECT_EQ(*value, LeadingNumber(QString::fromLatin1(from))) << from;
        EXPECT_EQ(text, QString::fromLatin1(to)) << from;
    }
    for (const char* left : {"0", "-0", "", ".", "5.", "1.50", "007", " 1E-05", " .00001", " 1234567890123456",
                             ".1234567890123456", " -5", "+5", "abc", "1 2", "&H0C"}) {
        QString text = QString::fromLatin1(left);
        EXPECT_FALSE(RewriteInPlainForm(text).has_value()) << left;
        EXPECT_EQ(text, QString::fromLatin1(left));
    }
}
