#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

const QString ScaleInfo = QStringLiteral(
    "Two points with known coordinates must be defined in the image in order to read precise values.\r\n\r\n"
    "It is recommended to define these points at opposite corners of the image.");


void enterScaleMode(TestApp& t)
{
    t.services().messages.answer(MessageAnswer::Ok);
    t.main().action(QStringLiteral("mnuPictureScale"))->trigger();
}

void click(PictureSurface& s, QPoint p)
{
    QTest::mouseClick(&s, Qt::LeftButton, Qt::NoModifier, p);
}

int rowCount()
{
    return app().data->grid().rows().rowCount();
}

// A 200 x 100 white picture pasted as the document.
class PointPicking : public testing::Test {
protected:
    TestApp t;
    PictureSurface& s = t.paste(PlainPicture(QSize(200, 100)));
};

} // namespace

TEST_F(PointPicking, ScaleModeAsksForTwoPointsAndCalibrates)
{
    enterScaleMode(t);
    ASSERT_GE(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown.back(), ScaleInfo, QStringLiteral("Scale Info"), MessageIcon::Information);
    EXPECT_TRUE(appState().ScaleModeOn);
    EXPECT_TRUE(t.main().action(QStringLiteral("mnuPictureScale"))->isChecked());

    // Bottom-left corner (0, 0) and top-right corner (10, 100).
    t.services().input.reply(QStringLiteral("0"));
    t.services().input.reply(QStringLiteral("0"));
    click(s, QPoint(0, 100));
    t.services().input.reply(QStringLiteral("10"));
    t.services().input.reply(QStringLiteral("100"));
    t.services().messages.answer(MessageAnswer::Yes);
    click(s, QPoint(200, 0));
    ASSERT_EQ(t.services().input.asked.size(), 4u);
    EXPECT_EQ(t.services().input.asked[0].title, QStringLiteral("X value of Point 1"));
    EXPECT_EQ(t.services().input.asked[0].prompt,
              QStringLiteral("Please input the X value of the selected point.\r\n\r\nPoint 1 - X Value\r\nX axis is Linear"));
    ExpectMessage(t.services().messages.shown.back(), QStringLiteral("Exit scale mode and scale picture?"),
                  QStringLiteral("Scale Mode"), MessageIcon::Question, MessageButtons::YesNo);
    EXPECT_FALSE(appState().ScaleModeOn);
    EXPECT_EQ(appState().frame(), (Frame{0, 100, 10, 0}));

    // The centre reads 5 / 50 and a click there is stored.
    QTest::mouseMove(&s, QPoint(100, 50));
    click(s, QPoint(100, 50));
    EXPECT_EQ(t.main().statusPanels()->panelText(3), QStringLiteral("Saving: X=  5"));
    EXPECT_EQ(t.main().statusPanels()->panelText(4), QStringLiteral("Saving: Y=  50"));
    ASSERT_EQ(rowCount(), 2);
    EXPECT_EQ(app().data->grid().rows().row(1), (GridRow{" 1", " 5", " 50"}));
    t.services().expectScriptsUsed();
}
