#include "support/Expect.h"

#include "app/core/NumberReading.h"
#include "app/core/NumberText.h"
#include "data/PlainNumberForm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

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

// The texts the grid writes itself, mended, are what reading and writing in full gives.
TEST(RewriteInPlainForm, AgreesWithReadingAndWritingInFull)
{
    std::mt19937 random(2004);
    std::uniform_real_distribution<double> magnitude(-5, 14);
    int mended = 0;
    for (int i = 0; i < 20000 && !HasFailure(); ++i) {
        const double value = std::pow(10.0, magnitude(random)) * (random() % 2 ? 1 : -1);
        for (const QString& original : {NumberText(static_cast<float>(value)), NumberText(value)}) {
            QString text = original;
            const std::optional<double> read = RewriteInPlainForm(text);
            EXPECT_EQ(text, read ? PlainNumberText(LeadingNumber(original)) : original) << original.toStdString();
            if (read) {
                EXPECT_EQ(*read, LeadingNumber(original)) << original.toStdString();
            }
            mended += read.has_value();
        }
    }
    EXPECT_GT(mended, 30000);
}
