#include "zoom/ZoomFactor.h"

#include <gtest/gtest.h>

using namespace tracella;

TEST(ZoomFactor, TypedTextsAreClampedToTheScrollBarRange)
{
    EXPECT_EQ(ZoomPercentOfText(QStringLiteral("5")), 25);
    EXPECT_EQ(ZoomPercentOfText(QStringLiteral("2000")), 1000);
    EXPECT_EQ(ZoomPercentOfText(QStringLiteral("0")), 25);
    EXPECT_EQ(ZoomPercentOfText(QString()), 25);
    EXPECT_EQ(ZoomPercentOfText(QStringLiteral("%")), 25);
    EXPECT_EQ(ZoomPercentOfText(QStringLiteral("250%")), 250);
    EXPECT_EQ(ZoomPercentOfText(QStringLiteral("333")), 333);
    EXPECT_EQ(ZoomPercentOfText(QStringLiteral("1000")), 1000);
    EXPECT_EQ(ZoomPercentOfText(QStringLiteral("25")), 25);

    EXPECT_FLOAT_EQ(ClampZoom(0.05f), 0.25f);
    EXPECT_FLOAT_EQ(ClampZoom(20.0f), 10.0f);
    EXPECT_FLOAT_EQ(ClampZoom(3.33f), 3.33f);
}

TEST(ZoomFactor, TextsShowWholePercentagesAndThePlainNumberWhileEditing)
{
    EXPECT_EQ(ZoomPercentText(2.5f), QStringLiteral("250%"));
    EXPECT_EQ(ZoomPercentText(0.25f), QStringLiteral("25%"));
    EXPECT_EQ(ZoomPercentText(10.0f), QStringLiteral("1000%"));
    EXPECT_EQ(ZoomPercentText(3.33f), QStringLiteral("333%"));
    EXPECT_EQ(ZoomPercentText(ZoomPercentOfText(QStringLiteral("5")) / 100.0f), QStringLiteral("25%"));

    EXPECT_EQ(PlainZoomText(QStringLiteral("250%")), QStringLiteral("250"));
    EXPECT_EQ(PlainZoomText(QStringLiteral("25%")), QStringLiteral("25"));
    EXPECT_EQ(PlainZoomText(QString()), QStringLiteral("0"));
}

TEST(ZoomFactor, OnlyDigitsAndControlKeysAreTyped)
{
    for (char c = '0'; c <= '9'; ++c)
        EXPECT_EQ(ClassifyZoomKey(QLatin1Char(c)), ZoomKey::Pass) << c;
    EXPECT_EQ(ClassifyZoomKey(QLatin1Char('\b')), ZoomKey::Pass);
    EXPECT_EQ(ClassifyZoomKey(QChar(22)), ZoomKey::Pass); // Ctrl+V
    EXPECT_EQ(ClassifyZoomKey(QLatin1Char('\r')), ZoomKey::Apply);
    for (char c : {'a', 'Z', '%', '.', '-', ' ', '+'})
        EXPECT_EQ(ClassifyZoomKey(QLatin1Char(c)), ZoomKey::Refuse) << c;
    EXPECT_EQ(ClassifyZoomKey(QChar(0x00B2)), ZoomKey::Refuse); // superscript two is no digit here
}
