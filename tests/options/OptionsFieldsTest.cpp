#include "options/OptionsFields.h"

#include <gtest/gtest.h>

using namespace tracella;

TEST(OptionsFields, WholeNumbersRoundHalvesToEvenAndStayIn32Bits)
{
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("2.5")), 2);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("3.5")), 4);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("12abc")), 12);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("abc")), 0);
    EXPECT_EQ(WholeNumberOfText(QString()), 0);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("  -7.5")), -8);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("-2147483648")), -2147483647 - 1);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("2147483647.5")), std::nullopt);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("2147483648")), std::nullopt);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("-2147483649")), std::nullopt);
    EXPECT_EQ(WholeNumberOfText(QStringLiteral("1e300")), std::nullopt);
}

TEST(OptionsFields, DotWidthRefusesZeroTextAndWhatLies16BitsAway)
{
    EXPECT_EQ(DotWidthOfText(QStringLiteral(" 3")), 3);
    EXPECT_EQ(DotWidthOfText(QStringLiteral(" 7 ")), 7);
    EXPECT_EQ(DotWidthOfText(QStringLiteral("2.5")), 2);
    EXPECT_EQ(DotWidthOfText(QStringLiteral("1")), 1);
    EXPECT_EQ(DotWidthOfText(QStringLiteral("32767")), 32767);
    EXPECT_EQ(DotWidthOfText(QStringLiteral("0")), std::nullopt);
    EXPECT_EQ(DotWidthOfText(QStringLiteral("0.4")), std::nullopt);
    EXPECT_EQ(DotWidthOfText(QStringLiteral("abc")), std::nullopt);
    EXPECT_EQ(DotWidthOfText(QStringLiteral("-2")), std::nullopt);
    EXPECT_EQ(DotWidthOfText(QStringLiteral("32768")), std::nullopt);
}

TEST(OptionsFields, CountsBeyond32BitsAreRefusedByName)
{
    const auto ok = ReadCountFields(QStringLiteral("2.5"), QStringLiteral("0"), QStringLiteral("-3"));
    ASSERT_TRUE(std::holds_alternative<CountFields>(ok));
    EXPECT_EQ(std::get<CountFields>(ok).rows, 2);
    EXPECT_EQ(std::get<CountFields>(ok).cols, 0);
    EXPECT_EQ(std::get<CountFields>(ok).splinePoints, -3);

    const auto refuse = [](const QString& rows, const QString& cols, const QString& points) {
        const auto read = ReadCountFields(rows, cols, points);
        EXPECT_TRUE(std::holds_alternative<Message>(read));
        return std::holds_alternative<Message>(read) ? std::get<Message>(read) : Message{};
    };
    const Message rows = refuse(QStringLiteral("3000000000"), QStringLiteral("9999999999"), QStringLiteral("5"));
    EXPECT_EQ(rows.text, QStringLiteral("The number in Rows is out of range.\r\n"
                                        "Enter a whole number between -2147483648 and 2147483647."));
    EXPECT_EQ(rows.title, QStringLiteral("Options"));
    EXPECT_EQ(rows.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(refuse(QStringLiteral("5"), QStringLiteral("-3000000000"), QStringLiteral("5")).text.contains(
        QStringLiteral("Columns")));
    EXPECT_TRUE(refuse(QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("4294967296"))
                    .text.contains(QStringLiteral("Total number of points")));
}

TEST(OptionsFields, GuideMeAndTheSweepGridCell)
{
    EXPECT_EQ(GuidedDensity(QSize(640, 480)).cols, 320);
    EXPECT_EQ(GuidedDensity(QSize(640, 480)).rows, 240);
    EXPECT_EQ(GuidedDensity(QSize(641, 3)).cols, 320);
    EXPECT_EQ(GuidedDensity(QSize(641, 3)).rows, 1);

    EXPECT_EQ(SweepGridCell(QSize(640, 480), QStringLiteral("240"), QStringLiteral("320")), QSizeF(2, 2));
    EXPECT_EQ(SweepGridCell(QSize(640, 480), QStringLiteral("50"), QStringLiteral("3")), QSizeF(640.0 / 3, 9.6));
    EXPECT_EQ(SweepGridCell(QSize(640, 480), QStringLiteral("0.4"), QStringLiteral("3")), std::nullopt);
    EXPECT_EQ(SweepGridCell(QSize(640, 480), QStringLiteral("5"), QStringLiteral("-1")), std::nullopt);
    EXPECT_EQ(SweepGridCell(QSize(640, 480), QStringLiteral("5"), QStringLiteral("abc")), std::nullopt);
    EXPECT_EQ(SweepGridCell(QSize(640, 480), QStringLiteral("3000000000"), QStringLiteral("5")), std::nullopt);
}

TEST(OptionsFields, TabsCycleBothWaysWithWrap)
{
    EXPECT_EQ(NextTabIndex(0, 4, false), 1);
    EXPECT_EQ(NextTabIndex(3, 4, false), 0);
    EXPECT_EQ(NextTabIndex(0, 4, true), 3);
    EXPECT_EQ(NextTabIndex(2, 4, true), 1);
}
