#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "info/widgets/TipWindow.h"
#include "support/TestApp.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::TestApp;

TEST(Guide, NextStepWrapsHidingKeepsTheStepAndEscClosesIt)
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
    guide->trigger();
    EXPECT_EQ(app().tip->currentStep(), 4);

    // Esc closes it.
    QTest::keyClick(app().tip, Qt::Key_Escape);
    TestApp::settle();
    EXPECT_FALSE(guide->isChecked());
    EXPECT_FALSE(app().tip);
}
