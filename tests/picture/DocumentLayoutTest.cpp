#include "picture/DocumentLayout.h"

#include <gtest/gtest.h>

using namespace tracella;

namespace {

DocumentLayout layOut(QSize surface, int top = 22)
{
    return LayOutDocument({QSize(800, 500), top, 16, 17, surface});
}

} // namespace

TEST(DocumentLayout, ViewportAndBarsShareTheWindow)
{
    const DocumentLayout l = layOut(QSize(100, 100));
    EXPECT_EQ(l.viewport, QRect(0, 22, 784, 461));
    EXPECT_EQ(l.horizontalBar, QRect(0, 483, 784, 17));
    EXPECT_EQ(l.verticalBar, QRect(784, 22, 16, 461));

    // Without the image toolbar the viewport starts at the top.
    EXPECT_EQ(layOut(QSize(100, 100), 0).viewport, QRect(0, 0, 784, 483));
    // A window smaller than its bars leaves an empty viewport, never a negative one.
    const DocumentLayout tiny = LayOutDocument({QSize(10, 30), 22, 16, 17, QSize(5, 5)});
    EXPECT_EQ(tiny.viewport.size(), QSize(0, 0));
    EXPECT_TRUE(tiny.horizontalVisible);
    EXPECT_TRUE(tiny.verticalVisible);
}

TEST(DocumentLayout, BarsShowOnlyWhereThePictureOverhangs)
{
    const DocumentLayout small = layOut(QSize(784, 461));
    EXPECT_FALSE(small.horizontalVisible);
    EXPECT_FALSE(small.verticalVisible);
    EXPECT_EQ(small.horizontalMaximum, 0);
    EXPECT_EQ(small.verticalMaximum, 0);

    const DocumentLayout wide = layOut(QSize(785, 300));
    EXPECT_TRUE(wide.horizontalVisible);
    EXPECT_FALSE(wide.verticalVisible);
    EXPECT_EQ(wide.horizontalMaximum, 1);

    const DocumentLayout tall = layOut(QSize(300, 1000));
    EXPECT_FALSE(tall.horizontalVisible);
    EXPECT_TRUE(tall.verticalVisible);
    EXPECT_EQ(tall.verticalMaximum, 1000 - 461);

    // Far beyond the 16-bit range of old.
    const DocumentLayout huge = layOut(QSize(20000, 60000));
    EXPECT_EQ(huge.horizontalMaximum, 20000 - 784);
    EXPECT_EQ(huge.verticalMaximum, 60000 - 461);
}
