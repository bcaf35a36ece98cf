#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "info/widgets/TipWindow.h"
#include "support/TestApp.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::TestApp;

TEST(Guide, NextStepWrapsAndHidingKeepsTheStepWhileClosingForgetsIt)
{
    TestApp t;
    QAction* guide = t.main().action(QStringLiteral("mnuViewSteps"));
    guide->trigger();
    ASSERT_TRUE(app().tip);
    EXPECT_TRUE(guide->isChecked());
    EXPECT_EQ(app().tip->windowTitle(), QStringLiteral("Step by Step"));
    EXPECT_TRUE(app().tip->currentText().startsWith(
        QStringLiteral("1. Get the picture that you want to digitize using one of the following methods:\r\n"
                       "a)  Load an existing image file (*.bmp, *.ico, *.jpg, *.gif): (CTRL+L)\r\n")));

    auto* next = app().tip->findChild<QPushButton*>(QStringLiteral("cmdNextTip"));
    for (int i = 0; i < 6; ++i)
        next->click();
    EXPECT_EQ(app().tip->currentStep(), 1);
    for (int i = 0; i < 3; ++i)
        next->click();
    EXPECT_EQ(app().tip->currentStep(), 4);
    EXPECT_TRUE(app().tip->currentText().startsWith(QStringLiteral("4. Read data points.\r\n\r\n")));

    guide->trigger(); // hide: the step stays
    EXPECT_FALSE(guide->isChecked());
    EXPECT_FALSE(app().tip->isVisible());
    guide->trigger();
    EXPECT_EQ(app().tip->currentStep(), 4);

    app().tip->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    TestApp::settle();
    EXPECT_FALSE(guide->isChecked());
    EXPECT_FALSE(app().tip);
    guide->trigger();
    ASSERT_TRUE(app().tip);
    EXPECT_EQ(app().tip->currentStep(), 1);

    // Esc closes it too.
    QTest::keyClick(app().tip, Qt::Key_Escape);
    TestApp::settle();
    EXPECT_FALSE(guide->isChecked());
    EXPECT_FALSE(app().tip);
}

TEST(Guide, ItsCloseBoxClosesIt)
{
    TestApp t;
    QAction* guide = t.main().action(QStringLiteral("mnuViewSteps"));
    guide->trigger();
    ASSERT_TRUE(app().tip);
    auto* sub = qobject_cast<QMdiSubWindow*>(app().tip->parentWidget());
    ASSERT_NE(sub, nullptr);
    TestApp::settle();

    // The close box as the style lays out and draws the title bar.
    QStyleOptionTitleBar bar;
    bar.initFrom(sub);
    bar.titleBarFlags = sub->windowFlags();
    bar.titleBarState = sub->windowState();
    bar.subControls = QStyle::SC_All;
    bar.rect = QRect(0, 0, sub->width(), sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, sub));
    const QRect closeBox = sub->style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarCloseButton, sub);
    ASSERT_TRUE(closeBox.isValid());
    // Pointed at and clicked through the window system, as a user does.
    QWindow* window = t.main().windowHandle();
    const QPoint at = window->mapFromGlobal(sub->mapToGlobal(closeBox.center()));
    QTest::mouseMove(window, at);
    TestApp::settle();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    TestApp::settle();
    EXPECT_FALSE(app().tip);
    EXPECT_FALSE(guide->isChecked());
}
