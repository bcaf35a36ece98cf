#include "info/InfoTexts.h"

#include <gtest/gtest.h>

using namespace tracella;

TEST(InfoTexts, VersionLineAndDescriptionOfTheVersionRecord)
{
    EXPECT_EQ(VersionLine(VersionRecord{10, 2, 31, {}, {}, {}, {}}), QStringLiteral("Version 10.2.31"));

    const VersionRecord record{3, 0, 0, {}, QStringLiteral("Reads graphs."), {}, QStringLiteral("A. Author")};
    EXPECT_EQ(AboutDescription(record), QStringLiteral("Reads graphs.\r\n\r\nWritten by:\rA. Author"));
    EXPECT_EQ(LabelText(AboutDescription(record)), QStringLiteral("Reads graphs.\n\nWritten by:\nA. Author"));
}

TEST(InfoTexts, DateLineIsMonthNameTwoDigitDayYearAndTheTwelveHourClock)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    auto at = [](int month, int day, int h, int m, int s) { return QDateTime(QDate(2026, month, day), QTime(h, m, s)); };
    EXPECT_EQ(DateLine(at(12, 6, 14, 5, 9), english), QStringLiteral("December 06, 2026 - 02:05:09 PM"));
    EXPECT_EQ(DateLine(at(1, 9, 0, 0, 0), english), QStringLiteral("January 09, 2026 - 12:00:00 AM"));
    EXPECT_EQ(DateLine(at(7, 31, 12, 30, 59), english), QStringLiteral("July 31, 2026 - 12:30:59 PM"));
}

TEST(InfoTexts, ScannerVersionLabelDividesByOneHundredInNumberTextForm)
{
    EXPECT_EQ(ScannerVersionLabel(std::nullopt), QStringLiteral("SANE v."));
    EXPECT_EQ(ScannerVersionLabel(101), QStringLiteral("SANE v. 1.01"));
    EXPECT_EQ(ScannerVersionLabel(5), QStringLiteral("SANE v. .05"));
}
