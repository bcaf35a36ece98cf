#include "app/core/AppState.h"
#include "app/core/TempPicture.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainMenus.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "support/Expect.h"
#include "support/TestApp.h"
#include "zoom/widgets/ZoomWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <map>

using namespace tracella;
using namespace tracella::test;

namespace {

struct ExpectedItem {
    const char* name;
    const char* caption;
    const char* shortcut;
};

// Menu by menu, as a user reads them: items in order, "-" for a separator.
const std::vector<std::pair<const char*, std::vector<ExpectedItem>>> ExpectedMenus = {
    {"mnuFile",
     {{"mnuFileNew", "&New", "Ctrl+N"}, {"-", "", ""}, {"mnuViewOptions", "&Options...", "Ctrl+O"}, {"-", "", ""},
      {"mnuFilePrint", "&Print...", "Ctrl+P"}, {"-", "", ""}, {"mnuFileExit", "E&xit", ""}}},
    {"mnuPicture",
     {{"mnuPictureScale", "&Scale", "Ctrl+M"}, {"mnuPictureResetScale", "&Reset Scale", ""}, {"-", "", ""},
      {"mnuPictureImport", "&Import", "Ctrl+L"}, {"mnuPicturePaste", "&Paste", "Ctrl+V"},
      {"mnuPictureCapture", "Cap&ture", "Ctrl+T"}, {"mnuPictureScanner", "Scanne&r", "Ctrl+R"}, {"-", "", ""},
      {"mnuPictureCopy", "&Copy", ""}}},
    {"mnuData",
     {{"mnuDataAR", "A&utoRead", "Ctrl+Y"}, {"mnuDataTrace", "Trace Curve...", ""}, {"mnuDataSpline", "&Interpolate", "Ctrl+I"}, {"-", "", ""},
      {"mnuDataSave", "&Save", "Ctrl+S"}, {"mnuDataSaveAs", "Save &As...", ""},
      {"mnuDataAppendTo", "A&ppend to...", "Ctrl+A"}, {"-", "", ""}, {"mnuDataCopy", "&Copy", "Ctrl+C"},
      {"mnuDataRemove", "&Remove", ""}, {"mnuDataSort", "Sor&t", ""}}},
    {"mnuDataRemove",
     {{"mnuDataRemoveSelected", "Selected Values", ""}, {"mnuDataRemoveAll", "All Values", ""},
      {"mnuDataRemoveRepeated", "Repeated Values", ""}}},
    {"mnuDataSort", {{"mnuDataSortX", "Based on &X", ""}, {"mnuDataSortY", "Based on &Y", ""}}},
    {"mnuView",
     {{"mnuViewToolbar", "&Toolbar", ""}, {"mnuViewStatusBar", "Status &Bar", ""},
      {"mnuViewImageToolbar", "&Image Toolbar", ""}, {"-", "", ""}, {"mnuViewZoom", "&Zoom ", "Ctrl+Z"},
      {"mnuViewSteps", "&Guide", "Ctrl+G"}, {"mnuViewRefresh", "&Refresh", ""}}},
    {"mnuWindow",
     {{"mnuWindowCascade", "&Cascade", ""}, {"mnuWindowTileHorizontal", "Tile &Horizontal", ""},
      {"mnuWindowTileVertical", "Tile &Vertical", ""}, {"mnuWindowArrangeIcons", "&Arrange Icons", ""}}},
    {"mnuHelp",
     {{"mnuHelpContents", "&Contents", ""}, {"mnuHelpSearch", "&Search For Help On...", ""}, {"-", "", ""},
      {"mnuHelpAbout", "&About Tracella...", ""}}},
    {"mnuPopUpMenu",
     {{"mnuPopUpCopy", "&Copy", ""}, {"-", "", ""}, {"mnuPopUpRemove", "&Remove", ""},
      {"mnuPopUpRemoveAll", "R&emove All", ""}, {"mnuPopUpRemoveRepeated", "Remove Repeated", ""}, {"-", "", ""},
      {"mnuPopUpSave", "&Save", ""}, {"mnuPopUpSaveAs", "Save &As...", ""}}},
};

} // namespace

TEST(MainWindow, StartsWithTheDesignedStateAndWindows)
{
    TestApp t;
    const AppState& s = appState();
    EXPECT_EQ(s.RefX1, -2000000000.0);
    EXPECT_EQ(s.RefX2, -2000000000.0);
    EXPECT_EQ(s.frame(), (Frame{0, 10, 10, 0}));
    EXPECT_EQ((std::vector<Colour>{s.SplineColor, s.ARDataColor, s.ARPointColor, s.ScaleColor, s.PointsColor}),
              (std::vector<Colour>{255 + 65536 * 255, 250, 100 + 256 * 255, 65536 * 255, 80 + 256 * 255 + 65536 * 30}));
    EXPECT_EQ((std::vector<int>{s.ARRows, s.ARCols, s.DotSize, s.SplinePoints, s.PointerIndex}),
              (std::vector<int>{50, 50, 3, 50, 1}));
    EXPECT_TRUE(s.SplineOnX && s.EscUndo && s.MouseOverPicture);
    EXPECT_FALSE(s.XAxisLog || s.YAxisLog || s.ScaleModeOn);

    MainWindow& m = t.main();
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Tracella! '2004"));
    EXPECT_TRUE(m.isMaximized());
    EXPECT_FALSE(m.menu(QStringLiteral("mnuData"))->menuAction()->isEnabled());
    for (const char* checked : {"mnuViewToolbar", "mnuViewStatusBar", "mnuViewImageToolbar", "mnuViewZoom"})
        EXPECT_TRUE(m.action(QString::fromLatin1(checked))->isChecked()) << checked;
    EXPECT_FALSE(m.action(QStringLiteral("mnuPictureScale"))->isChecked());
    EXPECT_TRUE(app().zoom->isVisible());
    EXPECT_TRUE(app().zoom->timer()->isActive());
    EXPECT_EQ(app().zoom->timer()->interval(), 50);
    EXPECT_FALSE(m.progressBarVisible());
    EXPECT_FALSE(m.progressBar()->isVisible());

    QStringList captions;
    for (QMdiSubWindow* sub : m.mdiArea()->subWindowList())
        captions << sub->windowTitle();
    EXPECT_EQ(captions, (QStringList{"Picture", "Data Points", "Zoom"}));
}

TEST(MainWindow, MenusFollowTheTableInOrderWithSeparators)
{
    TestApp t;
    QStringList topLevel;
    for (QAction* a : t.main().menuBar()->actions())
        topLevel << a->objectName() + QLatin1Char('=') + a->text();
    EXPECT_EQ(topLevel, (QStringList{"mnuFile=&File", "mnuPicture=&Picture", "mnuData=&Data", "mnuView=&View",
                                     "mnuWindow=&Window", "mnuHelp=&Help"}));
    for (const auto& [menuName, items] : ExpectedMenus) {
        QMenu* menu = t.main().menu(QString::fromLatin1(menuName));
        ASSERT_NE(menu, nullptr) << menuName;
        QList<QAction*> actions = menu->actions();
        ASSERT_GE(actions.size(), static_cast<qsizetype>(items.size())) << menuName;
        for (size_t i = 0; i < items.size(); ++i) {
            QAction* a = actions[static_cast<qsizetype>(i)];
            if (QString::fromLatin1(items[i].name) == QLatin1String("-")) {
                EXPECT_TRUE(a->isSeparator()) << menuName << " item " << i;
                continue;
            }
            EXPECT_EQ(a->objectName(), QString::fromLatin1(items[i].name));
            EXPECT_EQ(a->text(), QString::fromLatin1(items[i].caption)) << items[i].name;
            EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(items[i].shortcut))) << items[i].name;
        }
    }
    EXPECT_TRUE(t.main().menu(QStringLiteral("mnuPopUpMenu"))->menuAction()->isVisible());
    EXPECT_FALSE(t.main().menuBar()->actions().contains(t.main().menu(QStringLiteral("mnuPopUpMenu"))->menuAction()));
}

TEST(MainWindow, ToolbarButtonsHaveKeysTooltipsAndIconsInOrder)
{
    TestApp t;
    QStringList seen;
    for (QAction* a : t.main().toolBar()->actions()) {
        if (a->isSeparator())
            seen << QStringLiteral("|");
        else if (!a->data().toString().isEmpty())
            seen << a->data().toString() + QLatin1Char('=') + a->toolTip();
    }
    EXPECT_EQ(seen, (QStringList{"New=New Picture", "Save=Save Data Points", "Print=Print Data Points", "|",
                                 "Paste=Paste Picture", "Open=Open Picture File", "|", "SortXY=Sort based on X",
                                 "SortYX=Sort based on Y", "|", "RemoveAll=Remove All",
                                 "RemoveRepeated=Remove Repeated Values", "RemoveSelected=Remove Selected Values",
                                 "|", "AutoRead=Autoread", "TraceCurve=Trace Curve",
                                 "Interpolate=Interpolate", "|", "Options=Options",
                                 "Capture=Capture Image from Screen", "Scanner=Acquire Image from Scanner",
                                 "Zoom=Zoom"}));
    for (QAction* a : t.main().toolBar()->actions()) {
        if (!a->data().toString().isEmpty()) {
            EXPECT_FALSE(a->icon().isNull()) << a->data().toString().toStdString();
        }
    }
}

TEST(MainWindow, ToolbarDispatchesByCaseSensitiveKeyEvenWithDataMenuDisabled)
{
    TestApp t;
    QStringList ran;
    for (const char* name : {"mnuDataSortX", "mnuFileNew", "mnuViewZoom"})
        app().commands.add(QString::fromLatin1(name), [&ran, name] { ran << QString::fromLatin1(name); });
    t.main().tbToolBar_ButtonClick(QStringLiteral("SortXY"));
    t.main().tbToolBar_ButtonClick(QStringLiteral("sortxy")); // wrong case: nothing
    t.main().tbToolBar_ButtonClick(QStringLiteral("Nothing"));
    t.main().findChild<QAction*>(QStringLiteral("New"))->trigger();
    EXPECT_EQ(ran, (QStringList{"mnuDataSortX", "mnuFileNew"}));
}

TEST(MainWindow, StatusBarPanelsAndViewToggles)
{
    TestApp t;
    MainStatusBar* bar = t.main().statusPanels();
    EXPECT_EQ(bar->panelText(1), QStringLiteral("Data File"));
    EXPECT_EQ(bar->panelText(2), QStringLiteral("Picture File"));
    EXPECT_EQ(bar->panelText(3), QStringLiteral("X value"));
    EXPECT_EQ(bar->panelText(4), QStringLiteral("Y value"));
    const QStringList tips = {"File name where the digitized data is being saved",
                              "File name of the picture being digitized", "X-axis value", "Y-axis value",
                              "Current Date", "Current Time"};
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(bar->panel(i)->toolTip(), tips[i - 1]);
    // The clock panels keep themselves current from the clock service.
    t.services().clock.current = QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5));
    bar->updateClock();
    EXPECT_EQ(bar->panelText(5), QLocale().toString(QDate(2027, 1, 2), QLocale::ShortFormat));
    EXPECT_EQ(bar->panelText(6), QLocale().toString(QTime(3, 4, 5), QLocale::ShortFormat));

    t.run(QStringLiteral("mnuViewStatusBar"));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(t.main().action(QStringLiteral("mnuViewStatusBar"))->isChecked());
    t.main().action(QStringLiteral("mnuViewStatusBar"))->trigger(); // through the menu item
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(t.main().action(QStringLiteral("mnuViewStatusBar"))->isChecked());
    t.run(QStringLiteral("mnuViewToolbar"));
    EXPECT_FALSE(t.main().toolBar()->isVisible());
}

// Contents opens the help window, Search an empty focused search; without
// a help file both commands say so.
TEST(MainWindow, HelpOpensContentsAndAnEmptyFocusedSearch)
{
    TestApp t;
    t.run(QStringLiteral("mnuHelpContents"));
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmHelp"))
            window = w;
    ASSERT_NE(window, nullptr);
    auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("txtHelpPage"));
    EXPECT_TRUE(browser->source().toString().endsWith(QStringLiteral("index.html")));
    EXPECT_FALSE(browser->toPlainText().isEmpty());
    auto* search = window->findChild<QLineEdit*>(QStringLiteral("txtHelpSearch"));
    search->setText(QStringLiteral("AutoRead"));
    t.run(QStringLiteral("mnuHelpSearch"));
    EXPECT_TRUE(search->text().isEmpty());
    TestApp::settle(50);
    EXPECT_TRUE(search->hasFocus() || QApplication::focusWidget() == search);
    search->setText(QStringLiteral("Interpolate"));
    EXPECT_GT(window->findChild<QListWidget*>(QStringLiteral("lstHelpResults"))->count(), 0);
    window->close();

    t.main().setHelpFile(QString());
    t.services().messages.script = {MessageAnswer::Ok, MessageAnswer::Ok};
    t.run(QStringLiteral("mnuHelpContents"));
    t.run(QStringLiteral("mnuHelpSearch"));
    ASSERT_EQ(t.services().messages.shown.size(), 2u);
    for (const Message& m : t.services().messages.shown)
        ExpectMessage(m, QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."),
                      QStringLiteral("Tracella! '2004"), MessageIcon::Information);
}

TEST(MainWindow, ShutdownWithoutTemporaryFileEndsSilentlyAndRemovesAnExistingOne)
{
    for (const bool existing : {false, true}) {
        TestApp t;
        QFile::remove(TempPicturePath());
        if (existing)
            WriteBytes(TempPicturePath(), "picture");
        t.main().close();
        EXPECT_TRUE(t.services().messages.shown.empty());
        EXPECT_FALSE(QFile::exists(TempPicturePath()));
    }
    // Not in the folder every user shares, wherever the home folder lies.
    EXPECT_NE(QFileInfo(TempPicturePath()).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
}

// Tiles split the area; whichever window is active, Cascade leaves each
// window as large as before and every title bar in sight: the windows
// stacked back to front in the order of their steps, the active one in
// front and still active. The menu lists the windows.
TEST(MainWindow, WindowMenuArrangesAndListsChildren)
{
    TestApp t;
    QMdiArea* mdi = t.main().mdiArea();
    const auto shown = [mdi](QMdiArea::WindowOrder order) {
        QList<QMdiSubWindow*> visible;
        for (QMdiSubWindow* s : mdi->subWindowList(order))
            if (s->isVisible() && !s->isMinimized())
                visible << s;
        return visible;
    };
    t.run(QStringLiteral("mnuWindowTileVertical"));
    const QList<QMdiSubWindow*> tiled = shown(QMdiArea::CreationOrder);
    ASSERT_GE(tiled.size(), 3);
    EXPECT_EQ(tiled[0]->height(), mdi->viewport()->height());
    EXPECT_LT(tiled[0]->x() + tiled[0]->width(), tiled[1]->x() + 1);
    t.run(QStringLiteral("mnuWindowTileHorizontal"));
    EXPECT_EQ(tiled[0]->width(), mdi->viewport()->width());
    EXPECT_LE(tiled[0]->y() + tiled[0]->height(), tiled[1]->y());

    const int titleBar = t.main().style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &t.main());
    for (QWidget* form : {static_cast<QWidget*>(app().document), static_cast<QWidget*>(app().data),
                          static_cast<QWidget*>(app().zoom)}) {
        SCOPED_TRACE(form->windowTitle().toStdString());
        t.run(QStringLiteral("mnuWindowTileVertical"));
        std::map<QMdiSubWindow*, QSize> sizes;
        for (QMdiSubWindow* s : tiled)
            sizes[s] = s->size();
        t.activate(form);
        t.main().action(QStringLiteral("mnuWindowCascade"))->trigger();
        TestApp::settle();
        const QList<QMdiSubWindow*> stacked = shown(QMdiArea::StackingOrder);
        ASSERT_GE(stacked.size(), 3);
        EXPECT_EQ(stacked.last()->widget(), form);
        EXPECT_EQ(mdi->activeSubWindow(), stacked.last());
        for (int i = 0; i < stacked.size(); ++i) {
            const QMdiSubWindow* s = stacked[i];
            EXPECT_EQ(s->size(), sizes[stacked[i]].boundedTo(mdi->viewport()->size() - QSize(s->x(), s->y()))) << i;
            EXPECT_GE(s->height(), mdi->viewport()->height() / 2) << i;
            if (i > 0) {
                EXPECT_GT(s->x(), stacked[i - 1]->x()) << i;
                EXPECT_GT(s->y(), stacked[i - 1]->y()) << i;
            }
            // The middle of its title bar shows the window itself.
            const QWidget* seen = mdi->viewport()->childAt(s->geometry().topLeft() + QPoint(s->width() / 2, titleBar / 2));
            EXPECT_TRUE(seen == s || s->isAncestorOf(seen)) << "the title bar of " << s->windowTitle().toStdString()
                                                            << " is covered";
        }
    }

    QMenu* window = t.main().menu(QStringLiteral("mnuWindow"));
    emit window->aboutToShow();
    QStringList listed;
    for (QAction* a : window->actions())
        if (a->property("windowListEntry").toBool() && !a->isSeparator())
            listed << a->text();
    EXPECT_TRUE(listed.contains(QStringLiteral("&1 Picture")));
    EXPECT_TRUE(listed.contains(QStringLiteral("&2 Data Points")));
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
