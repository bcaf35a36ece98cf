#include "acquire/InstalledScanner.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "info/widgets/AboutWindow.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::InstalledScanner;
using tracella::test::ExpectMessage;
using tracella::test::LabelText;
using tracella::test::TestApp;

namespace {

QPushButton* button(const QWidget& w, const char* name)
{
    return w.findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

TEST(About, ShowsTheVersionRecordTheScannerVersionAndTheMailLink)
{
    TestApp t;
    InstalledScanner s;
    s.library.versionTimes100 = 113;
    AboutWindow about(&t.main());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Tracella"));
    EXPECT_EQ(LabelText(about, "lblTitle"), QStringLiteral("Tracella '2004"));
    EXPECT_EQ(LabelText(about, "lblVersion"), QStringLiteral("Version 3.0.0"));
    EXPECT_TRUE(LabelText(about, "lblDescription")
                    .startsWith(QStringLiteral("This program was written to help gathering values from images.\n\n"
                                               "Written by:\n")));
    EXPECT_EQ(LabelText(about, "lblScanVersion"), QStringLiteral("SANE v. 1.13"));
    EXPECT_FALSE(s.library.running);
    EXPECT_FALSE(LabelText(about, "lblDisclaimer").isEmpty());
    EXPECT_EQ(LabelText(about, "Label1"),
              QStringLiteral("If you have any comments, please click here to send me an e-mail:"));
    EXPECT_TRUE(button(about, "cmdOK")->isDefault());
    EXPECT_EQ(button(about, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));

    auto* mail = about.findChild<QLabel*>(QStringLiteral("MyUrl"));
    EXPECT_TRUE(mail->font().underline());
    EXPECT_DOUBLE_EQ(mail->font().pointSizeF(), 9.75);
    EXPECT_EQ(mail->cursor().shape(), Qt::BusyCursor);
    about.show();
    QTest::mouseClick(mail, Qt::LeftButton);
    ASSERT_EQ(t.services().launcher.opened.size(), 1u);
    EXPECT_EQ(t.services().launcher.opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(t.services().launcher.opened[0].path(), mail->text().trimmed());

    t.services().messages.answer(MessageAnswer::Ok);
    QTest::mouseClick(about.findChild<QLabel*>(QStringLiteral("picIcon")), Qt::LeftButton);
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0],
                  QStringLiteral("Do something for free for somebody else... at least give free smiles!"),
                  QStringLiteral("Oops"), MessageIcon::Information);

    // Without the scanner library the label stays bare, and nothing is said.
    s.library.starts_ = false;
    AboutWindow bare(&t.main());
    EXPECT_EQ(LabelText(bare, "lblScanVersion"), QStringLiteral("SANE v."));
    EXPECT_EQ(LabelText(bare, "lblVersion"), QStringLiteral("Version 3.0.0"));
    EXPECT_EQ(t.services().messages.shown.size(), 1u);
}

TEST(About, SystemInfoStartsTheFirstProgramFoundOrSaysItIsUnavailable)
{
    TestApp t;
    InstalledScanner s;
    AboutWindow about(&t.main());

    t.services().messages.answer(MessageAnswer::Ok);
    button(about, "cmdSysInfo")->click();
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0], QStringLiteral("System Information Is Unavailable At This Time"),
                  QString(), MessageIcon::None);
    EXPECT_TRUE(t.services().launcher.started.empty());

    t.services().launcher.installed = {QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor")};
    button(about, "cmdSysInfo")->click();
    EXPECT_EQ(t.services().launcher.started, std::vector<QString>{QStringLiteral("/usr/bin/gnome-system-monitor")});
    EXPECT_EQ(t.services().messages.shown.size(), 1u);
}

TEST(About, TheHelpMenuShowsItModallyOverTheMainWindowAndEscCloses)
{
    TestApp t;
    InstalledScanner s;
    bool seen = false;
    auto* poll = new QTimer(&t.main());
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* about = qobject_cast<AboutWindow*>(QApplication::activeModalWidget());
        if (!about)
            return;
        poll->stop();
        seen = about->parentWidget() == &t.main() && about->isModal();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    poll->start(10);

    t.main().action(QStringLiteral("mnuHelpAbout"))->trigger();

    EXPECT_TRUE(seen);
    EXPECT_FALSE(QApplication::activeModalWidget());
}
