#include "app/widgets/AppContext.h"
#include "app/widgets/MainMenus.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

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
