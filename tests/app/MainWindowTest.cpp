#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainMenus.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "support/Expect.h"
#include "support/TestApp.h"
#include "zoom/widgets/ZoomWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

TEST(MainWindow, StartsWithItsWindowsAndDispatchesToolbarKeysByCase)
{
    TestApp t;
    MainWindow& m = t.main();
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Tracella! '2004"));
    EXPECT_EQ(appState().frame(), (Frame{0, 10, 10, 0}));
    EXPECT_FALSE(m.menu(QStringLiteral("mnuData"))->menuAction()->isEnabled());
    EXPECT_TRUE(app().zoom->timer()->isActive());
    QStringList captions;
    for (QMdiSubWindow* sub : m.mdiArea()->subWindowList())
        captions << sub->windowTitle();
    EXPECT_EQ(captions, (QStringList{"Picture", "Data Points", "Zoom"}));

    // Even with the Data menu disabled; a key in the wrong case runs nothing.
    QStringList ran;
    for (const char* name : {"mnuDataSortX", "mnuFileNew"})
        app().commands.add(QString::fromLatin1(name), [&ran, name] { ran << QString::fromLatin1(name); });
    m.tbToolBar_ButtonClick(QStringLiteral("SortXY"));
    m.tbToolBar_ButtonClick(QStringLiteral("sortxy"));
    m.findChild<QAction*>(QStringLiteral("New"))->trigger();
    EXPECT_EQ(ran, (QStringList{"mnuDataSortX", "mnuFileNew"}));
}

TEST(MainWindow, StatusBarPanelsShowTheClockAndHideFromTheViewMenu)
{
    TestApp t;
    MainStatusBar* bar = t.main().statusPanels();
    EXPECT_EQ(bar->panelText(1), QStringLiteral("Data File"));
    EXPECT_EQ(bar->panelText(4), QStringLiteral("Y value"));
    EXPECT_EQ(bar->panel(6)->toolTip(), QStringLiteral("Current Time"));
    t.services().clock.current = QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5));
    bar->updateClock();
    EXPECT_EQ(bar->panelText(5), QLocale().toString(QDate(2027, 1, 2), QLocale::ShortFormat));
    EXPECT_EQ(bar->panelText(6), QLocale().toString(QTime(3, 4, 5), QLocale::ShortFormat));

    t.main().action(QStringLiteral("mnuViewStatusBar"))->trigger();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(t.main().action(QStringLiteral("mnuViewStatusBar"))->isChecked());
}

// Every menu item, toolbar key and command name run from the program's code
// reaches a command; an unregistered one would silently do nothing.
TEST(MainWindow, EveryCommandCalledHasARegisteredCommand)
{
    TestApp t;
    QStringList missing;
    for (QAction* a : t.main().findChildren<QAction*>()) {
        const QString name = a->objectName();
        if (name.startsWith(QStringLiteral("mnu")) && !a->menu() && !app().commands.has(name))
            missing << name;
    }
    for (const ToolButtonSpec& entry : ToolbarTable()) {
        if (entry.key && !app().commands.has(CommandOfToolbarKey(QString::fromLatin1(entry.key))))
            missing << QString::fromLatin1(entry.key);
    }
    const QRegularExpression called(QStringLiteral(R"re((?:RunCommand|commands\.run)\(QStringLiteral\("([^"]+)"\)\))re"));
    int calls = 0;
    QDirIterator sources(QStringLiteral(TRACELLA_SOURCE_DIR), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                         QDir::Files, QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        QFile file(sources.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = called.globalMatch(text); m.hasNext(); ++calls) {
            const QString name = m.next().captured(1);
            if (!app().commands.has(name))
                missing << name + QStringLiteral(" in ") + QFileInfo(file.fileName()).fileName();
        }
    }
    EXPECT_GT(calls, 10); // the scan found the calls
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QStringLiteral(", ")).toStdString();
}
