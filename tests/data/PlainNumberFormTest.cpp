#include "support/Expect.h"

#include "app/core/NumberReading.h"
#include "app/core/NumberText.h"
#include "data/PlainNumberForm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tracella;

namespace {

// What the sort writes back when it reads and formats in full.
QString FullRewrite(const QString& text)
{
    return PlainNumberText(LeadingNumber(text));
}

// Texts near the plain decimals: signs, blanks, leading and trailing zeros,
// long digit runs, exponents and stray characters.
QString RandomText(std::mt19937& random)
{
    static const char* const starts[] = {"", " ", "-", " -", "+", "  ", "\t"};
    static const char* const ends[] = {"", "", "", "", "E3", "D-2", "x", " ", "0", ".", "e+07"};
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    QString text = QString::fromLatin1(starts[pick(std::size(starts))]);
    const auto digits = [&](int count) {
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + (pick(3) == 0 ? 0 : pick(10)));
    };
    digits(pick(4) == 0 ? 0 : pick(17));
    if (pick(3) != 0) {
        text += u'.';
        if (pick(2) == 0)
            text += QString(pick(6), u'0');
        digits(pick(17));
    }
    text += QString::fromLatin1(ends[pick(std::size(ends))]);
    return text;
}

// Mended, the text is what reading and writing in full gives, and the value
// the very double reading it gives; left alone, the text is unchanged.
bool MendedAsInFull(const QString& original)
{
    QString text = original;
    const std::optional<double> value = RewriteInPlainForm(text);
    EXPECT_EQ(text, value ? FullRewrite(original) : original) << original.toStdString();
    if (value) {
        EXPECT_EQ(*value, LeadingNumber(original)) << original.toStdString();
    }
    return value.has_value();
}

} // namespace

TEST(RewriteInPlainForm, MendsNearlyPlainDecimalsAndLeavesTheRest)
{
    const std::pair<const char*, const char*> mended[] = {
        {" .5", "0.5"}, {"-.25", "-0.25"}, {" 12", "12"}, {"0.5", "0.5"}, {" .0001", "0.0001"},
        {" 123456789012345", "123456789012345"}, {"-1200", "-1200"}, {" 3.141593", "3.141593"}};
    for (const auto& [from, to] : mended) {
        QString text = QString::fromLatin1(from);
        const std::optional<double> value = RewriteInPlainForm(text);
        ASSERT_TRUE(value.has_value()) << from;
        EXPECT_EQ(*value, LeadingNumber(QString::fromLatin1(from))) << from;
        EXPECT_EQ(text, QString::fromLatin1(to)) << from;
    }
    for (const char* left : {"0", " 0", "-0", "", " ", ".", "5.", "1.50", "007", " 1E-05", " .00001",
                             " 1234567890123456", ".1234567890123456", " -5", "+5", "abc", "1 2", "&H0C"}) {
        QString text = QString::fromLatin1(left);
        EXPECT_FALSE(RewriteInPlainForm(text).has_value()) << left;
        EXPECT_EQ(text, QString::fromLatin1(left));
    }
}

TEST(RewriteInPlainForm, AgreesWithReadingAndWritingInFull)
{
    std::mt19937 random(2004);
    int mended = 0;
    for (int i = 0; i < 200000; ++i) {
        mended += MendedAsInFull(RandomText(random));
        if (HasFailure())
            return;
    }
    EXPECT_GT(mended, 5000);

    // The texts the grid writes itself nearly always take the short way.
    std::uniform_real_distribution<double> magnitude(-5, 14);
    int gridTextsMended = 0;
    for (int i = 0; i < 20000; ++i) {
        const double value = std::pow(10.0, magnitude(random)) * (random() % 2 ? 1 : -1);
        gridTextsMended += MendedAsInFull(NumberText(static_cast<float>(value))) + MendedAsInFull(NumberText(value));
        if (HasFailure())
            return;
    }
    EXPECT_GT(gridTextsMended, 30000);
}
