// The About box and the splash window, with the start-up it covers.
#include "acquire/InstalledScanner.h"
#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Startup.h"
#include "info/widgets/AboutWindow.h"
#include "info/widgets/SplashWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace tracella;
using namespace tracella::test;

namespace {

bool splashUp()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<SplashWindow*>(w) && w->isVisible())
            return true;
    return false;
}

void closeProgram(MainWindow* main)
{
    main->setAttribute(Qt::WA_DeleteOnClose, false);
    delete main;
    for (QWidget* w : QApplication::topLevelWidgets())
        w->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    test::ResetAppContext();
}

} // namespace

// From the Help menu, modal over the main window until Esc: the versions,
// the mail link and System Info.
TEST(About, TheHelpMenuShowsTheVersionsAndTheLinks)
{
    TestApp t;
    InstalledScanner s; // never the machine's own scanners
    bool seen = false;
    auto* poll = new QTimer(&t.main());
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* shown = qobject_cast<AboutWindow*>(QApplication::activeModalWidget());
        if (!shown)
            return;
        poll->stop();
        const AboutWindow& about = *shown;
        seen = about.parentWidget() == &t.main();
        EXPECT_EQ(LabelText(about, "lblVersion"), QStringLiteral("Version 3.0.0"));
        EXPECT_EQ(LabelText(about, "lblScanVersion"), QStringLiteral("SANE v. 1.13"));
        EXPECT_FALSE(s.library.running);

        auto* mail = about.findChild<QLabel*>(QStringLiteral("MyUrl"));
        QTest::mouseClick(mail, Qt::LeftButton);
        ASSERT_EQ(t.services().launcher.opened.size(), 1u);
        EXPECT_EQ(t.services().launcher.opened[0].scheme(), QStringLiteral("mailto"));
        EXPECT_EQ(t.services().launcher.opened[0].path(), mail->text().trimmed());

        t.services().launcher.installed = {QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor")};
        Child<QPushButton>(&about, "cmdSysInfo")->click();
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    poll->start(10);

    t.main().action(QStringLiteral("mnuHelpAbout"))->trigger();

    EXPECT_TRUE(seen);
    EXPECT_FALSE(QApplication::activeModalWidget());
    // System Info starts the first program found.
    EXPECT_EQ(t.services().launcher.started, std::vector<QString>{QStringLiteral("/usr/bin/gnome-system-monitor")});
}

// Nothing takes time on the fake clock: the splash waits the full 3 s. A
// picture named on the command line (decoded meanwhile) shows only once the
// splash has closed.
TEST(Splash, AtStartUpItShowsForThreeSecondsBeforeTheNamedPicture)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plot.png"));
    ASSERT_TRUE(test::PlainPicture(QSize(900, 700), Qt::darkCyan).save(path));
    ScriptedServices services;
    appState() = AppState{};
    app().commands = CommandRouter{};
    // Whenever events run during the start-up: whether the splash is up, and the picture shown.
    std::vector<std::pair<bool, bool>> seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        seen.emplace_back(splashUp(), app().document && app().document->surface()->hasPicture());
    });
    watch.start(0);
    MainWindow* main = RunStartup({path});
    ASSERT_TRUE(main);
    EXPECT_EQ(services.clock.waits, std::vector<int>{3000});
    EXPECT_GT(std::count(seen.begin(), seen.end(), std::make_pair(true, false)), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), std::make_pair(true, true)), 0) << "shown before the splash closed";
    EXPECT_FALSE(splashUp());
    EXPECT_EQ(app().document->surface()->picture().image.pixelColor(450, 350), QColor(Qt::darkCyan));
    EXPECT_EQ(main->statusPanels()->panelText(2), path);
    closeProgram(main);
}
