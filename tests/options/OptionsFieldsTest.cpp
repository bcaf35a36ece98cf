#include "options/OptionsFields.h"

#include <gtest/gtest.h>

using namespace tracella;

namespace {

const std::optional<int> Refused;

} // namespace

// Whole numbers round halves to even and stay in 32 bits; a dot width
// refuses zero, text and what lies 16 bits away.
TEST(OptionsFields, WholeNumbersAndDotWidths)
{
    const std::pair<const char*, std::optional<int>> whole[] = {
        {"2.5", 2}, {"3.5", 4}, {"12abc", 12}, {"abc", 0}, {"-2147483648", -2147483647 - 1}, {"2147483647.5", Refused}};
    for (const auto& [text, value] : whole)
        EXPECT_EQ(WholeNumberOfText(QString::fromLatin1(text)), value) << text;
    const std::pair<const char*, std::optional<int>> widths[] = {
        {" 7 ", 7}, {"1", 1}, {"32767", 32767}, {"0", Refused}, {"0.4", Refused}, {"32768", Refused}};
    for (const auto& [text, width] : widths)
        EXPECT_EQ(DotWidthOfText(QString::fromLatin1(text)), width) << text;
}

TEST(OptionsFields, CountsBeyond32BitsAreRefusedByName)
{
    const auto ok = ReadCountFields(QStringLiteral("2.5"), QStringLiteral("0"), QStringLiteral("-3"));
    ASSERT_TRUE(std::holds_alternative<CountFields>(ok));
    EXPECT_EQ(std::get<CountFields>(ok).rows, 2);
    EXPECT_EQ(std::get<CountFields>(ok).cols, 0);
    EXPECT_EQ(std::get<CountFields>(ok).splinePoints, -3);
    const struct {
        const char *rows, *cols, *points, *field;
    } refused[] = {{"3000000000", "9999999999", "5", "Rows"},
                   {"5", "-3000000000", "5", "Columns"},
                   {"5", "5", "4294967296", "Total number of points"}};
    for (const auto& r : refused) {
        const auto read = ReadCountFields(QString::fromLatin1(r.rows), QString::fromLatin1(r.cols),
                                          QString::fromLatin1(r.points));
        ASSERT_TRUE(std::holds_alternative<Message>(read)) << r.field;
        const Message& m = std::get<Message>(read);
        EXPECT_EQ(m.text, QStringLiteral("The number in %1 is out of range.\r\n"
                                         "Enter a whole number between -2147483648 and 2147483647.")
                              .arg(QString::fromLatin1(r.field)));
        EXPECT_EQ(m.title, QStringLiteral("Options"));
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    }
}

TEST(OptionsFields, GuideMeTheSweepGridCellAndTabs)
{
    EXPECT_EQ(GuidedDensity(QSize(641, 3)).cols, 320);
    EXPECT_EQ(GuidedDensity(QSize(641, 3)).rows, 1);
    const struct {
        const char *rows, *cols;
        std::optional<QSizeF> cell;
    } cells[] = {{"50", "3", QSizeF(640.0 / 3, 9.6)}, {"0.4", "3", std::nullopt}, {"5", "-1", std::nullopt}};
    for (const auto& c : cells)
        EXPECT_EQ(SweepGridCell(QSize(640, 480), QString::fromLatin1(c.rows), QString::fromLatin1(c.cols)), c.cell)
            << c.rows << " x " << c.cols;
    // Tabs cycle both ways with wrap.
    EXPECT_EQ(NextTabIndex(3, 4, false), 0);
    EXPECT_EQ(NextTabIndex(0, 4, true), 3);
}
