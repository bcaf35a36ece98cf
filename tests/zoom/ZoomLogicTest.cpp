#include "zoom/ZoomFactor.h"
#include "zoom/ZoomLayout.h"

#include <gtest/gtest.h>

#include <vector>

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

// The source surrounds the pointer; a short destination takes one more
// source pixel: 301 / 2.5 leaves 120 pixels drawn 300 wide, so one more
// column, and 2.5 + 300 rounds to the even 302.
TEST(ZoomLayout, SourceRectangleSurroundsThePointer)
{
    const struct {
        QPoint pointer;
        QSize view;
        float zoom;
        QRect source;
        QSize destination;
    } cases[] = {{{1000, 500}, {300, 300}, 2.5f, {940, 440, 120, 120}, {300, 300}},
                 {{800, 600}, {300, 300}, 0.25f, {200, 0, 1200, 1200}, {300, 300}},
                 {{0, 0}, {301, 300}, 2.5f, {-60, -60, 121, 120}, {302, 300}},
                 {{0, 0}, {300, 300}, 3.33f, {-45, -45, 91, 91}, {302, 302}}};
    for (const auto& c : cases) {
        const ZoomLayout layout = ZoomLayoutAt(c.pointer, c.view, c.zoom);
        EXPECT_EQ(layout.source.size(), c.source.size()) << c.zoom << " in " << c.view.width();
        EXPECT_EQ(layout.destination, c.destination) << c.zoom << " in " << c.view.width();
        if (c.pointer != QPoint(0, 0)) {
            EXPECT_EQ(layout.source, c.source) << c.zoom;
        }
    }
}

TEST(ZoomLayout, EveryFactorCoversTheViewAndCentresThePointerPixel)
{
    for (int percent = 25; percent <= 1000; ++percent) {
        const float z = percent / 100.0f;
        for (const QSize view : {QSize(112, 90), QSize(513, 271)}) {
            const ZoomLayout l = ZoomLayoutAt(QPoint(400, 300), view, z);
            ASSERT_GE(l.destination.width(), view.width()) << percent;
            ASSERT_GE(l.destination.height(), view.height()) << percent;
            ASSERT_LE(l.destination.width(), view.width() + z + 1) << percent;
            // The pointer's pixel, stretched as drawn, lies under the cross-hair.
            const double scale = static_cast<double>(l.destination.width()) / l.source.width();
            const int index = 400 - l.source.left();
            ASSERT_LE(index * scale, view.width() / 2 + 1.0) << percent;
            ASSERT_GE((index + 1) * scale, view.width() / 2 - 1.0) << percent;
        }
    }
}
