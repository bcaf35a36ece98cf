#include "zoom/ZoomFactor.h"
#include "zoom/ZoomLayout.h"

#include <gtest/gtest.h>


using namespace tracella;

// Typed texts are clamped to the scroll bar's range; the box shows whole
// percentages, and the plain number while editing. Only digits and control
// keys are typed.
TEST(ZoomFactor, TypedTextsAreClampedAndShownAsPercentages)
{
    const std::pair<const char*, int> typed[] = {{"5", 25}, {"2000", 1000}, {"", 25}, {"250%", 250}, {"99", 99}};
    for (const auto& [text, percent] : typed)
        EXPECT_EQ(ZoomPercentOfText(QString::fromLatin1(text)), percent) << text;
    EXPECT_FLOAT_EQ(ClampZoom(0.05f), 0.25f);
    EXPECT_FLOAT_EQ(ClampZoom(20.0f), 10.0f);
    EXPECT_EQ(ZoomPercentText(3.33f), QStringLiteral("333%"));
    EXPECT_EQ(PlainZoomText(QStringLiteral("250%")), QStringLiteral("250"));

    for (const auto& [key, kind] : {std::pair{QChar(u'0'), ZoomKey::Pass}, {QChar(u'9'), ZoomKey::Pass},
                                    {QChar(22), ZoomKey::Pass}, {QChar(u'\r'), ZoomKey::Apply},
                                    {QChar(u'%'), ZoomKey::Refuse}, {QChar(0x00B2), ZoomKey::Refuse}})
        EXPECT_EQ(ClassifyZoomKey(key), kind) << int(key.unicode()); // 22: Ctrl+V; 0xB2: superscript two
}

// The source surrounds the pointer: its pixel, stretched as drawn, lies under
// the cross-hair. The exact source and destination are ZoomDrawing's to see.
TEST(ZoomLayout, EveryFactorCoversTheViewAndCentresThePointerPixel)
{
    for (int percent = 25; percent <= 1000; ++percent) {
        const float z = percent / 100.0f;
        for (const QSize view : {QSize(112, 90), QSize(513, 271)}) {
            const ZoomLayout l = ZoomLayoutAt(QPoint(400, 300), view, z);
            ASSERT_GE(l.destination.width(), view.width()) << percent;
            ASSERT_GE(l.destination.height(), view.height()) << percent;
            ASSERT_LE(l.destination.width(), view.width() + z + 1) << percent;
            const double scale = static_cast<double>(l.destination.width()) / l.source.width();
            const int index = 400 - l.source.left();
            ASSERT_LE(index * scale, view.width() / 2 + 1.0) << percent;
            ASSERT_GE((index + 1) * scale, view.width() / 2 - 1.0) << percent;
        }
    }
}
