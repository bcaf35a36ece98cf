#include "acquire/InstalledScanner.h"
#include "acquire/widgets/SourceDialog.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::ColourRamp;
using tracella::test::FakeScanDevice;
using tracella::test::InstalledScanner;
using tracella::test::TestApp;
using tracella::test::ExpectMessage;

namespace {

const QString NotAvailable = QStringLiteral("Scanner not available.");
const QString NothingAcquired = QStringLiteral("No image was acquired or transfer to the clipboard failed.");

QString picturePanel(TestApp& t)
{
    return t.main().statusPanels()->panelText(2);
}

QImage documentPicture()
{
    return app().document->surface()->picture().image;
}

QImage marker()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    return image;
}

} // namespace

TEST(ScannerCommand, WithoutAScannerOnlySaysSoAndLeavesTheClipboardAlone)
{
    TestApp t;
    for (const bool libraryStarts : {false, true}) {
        SCOPED_TRACE(libraryStarts ? "no source found" : "library does not start");
        InstalledScanner s;
        s.library.starts_ = libraryStarts;
        s.library.sourceList.clear();
        t.services().clipboard.setImage(marker());
        t.services().clipboard.setText(QStringLiteral("kept"));
        t.services().messages.shown.clear();
        t.services().messages.answer(MessageAnswer::Ok);

        t.run(QStringLiteral("mnuPictureScanner"));

        ASSERT_EQ(t.services().messages.shown.size(), 1u);
        ExpectMessage(t.services().messages.shown.front(), NotAvailable, QStringLiteral("Check Scanner Availability"),
                      MessageIcon::Critical);
        EXPECT_EQ(t.services().clipboard.image(), marker());
        EXPECT_EQ(t.services().clipboard.text(), QStringLiteral("kept"));
        EXPECT_TRUE(s.offers.empty()) << "no source dialog";
        EXPECT_TRUE(s.library.opened.isEmpty());
        EXPECT_FALSE(s.library.running) << "every start is stopped";
        EXPECT_EQ(picturePanel(t), QStringLiteral("Picture File")) << "no paste";
    }
}

TEST(ScannerCommand, APageBecomesTheDocumentPictureAndACancelledSelectionKeepsTheSource)
{
    TestApp t;
    InstalledScanner s;
    s.library.page = {ColourRamp(6, 4)};
    s.choices = {std::nullopt}; // Cancel in the source dialog: the first source is used

    t.main().action(QStringLiteral("mnuPictureScanner"))->trigger();

    EXPECT_TRUE(t.services().messages.shown.empty());
    ASSERT_EQ(s.offers.size(), 1u);
    EXPECT_EQ(s.offers[0].names, (QStringList{QStringLiteral("fake:0"), QStringLiteral("fake:1")}));
    EXPECT_EQ(s.library.opened, QStringList{QStringLiteral("fake:0")});
    const QImage page = t.services().clipboard.image();
    ASSERT_EQ(page.size(), QSize(6, 4));
    EXPECT_EQ(page.pixel(5, 3), qRgb(5, 3, 8));
    EXPECT_EQ(documentPicture().size(), QSize(6, 4));
    EXPECT_EQ(documentPicture().pixel(5, 3), qRgb(5, 3, 8));
    EXPECT_EQ(picturePanel(t), QStringLiteral("Clipboard Picture"));
    EXPECT_TRUE(t.main().menu(QStringLiteral("mnuData"))->isEnabled());
    EXPECT_FALSE(s.library.running);

    // A source once chosen stays the current one when the dialog is cancelled.
    s.library.page = {ColourRamp(2, 2)};
    s.choices = {QStringLiteral("fake:1")};
    t.main().tbToolBar_ButtonClick(QStringLiteral("Scanner"));
    s.library.page = {ColourRamp(2, 2)};
    s.choices = {std::nullopt};
    t.run(QStringLiteral("mnuPictureScanner"));
    ASSERT_EQ(s.offers.size(), 3u);
    EXPECT_EQ(s.offers[2].current, QStringLiteral("fake:1"));
    EXPECT_EQ(s.library.opened.mid(1), (QStringList{QStringLiteral("fake:1"), QStringLiteral("fake:1")}));
    EXPECT_EQ(documentPicture().size(), QSize(2, 2));
}

// Cancel in the progress dialog stops the scan as no image at all.
TEST(ScannerCommand, AFailedOrCancelledAcquisitionSaysSoAndStillPastesTheClearedClipboard)
{
    TestApp t;
    InstalledScanner s;
    s.library.page = {ColourRamp(5, 5)};
    t.run(QStringLiteral("mnuPictureScanner"));
    ASSERT_EQ(documentPicture().size(), QSize(5, 5));
    bool sawModalProgress = false;

    struct Failure {
        const char* what;
        std::function<void(InstalledScanner&)> arrange;
    };
    const Failure failures[] = {
        {"no page", [](InstalledScanner& s) { s.library.page = {FakeScanDevice::Frame{std::nullopt, {}}}; }},
        {"read error",
         [](InstalledScanner& s) {
             FakeScanDevice::Frame jammed = ColourRamp(5, 5);
             jammed.failAtEnd = true;
             s.library.page = {jammed};
         }},
        {"source does not open", [](InstalledScanner& s) { s.library.opens = false; }},
        {"cancel in the progress dialog",
         [&t, &sawModalProgress](InstalledScanner& s) {
             s.library.page = {ColourRamp(40, 40)};
             s.library.chunk = 100;
             s.library.beforeRead = [&t, &sawModalProgress](int read) {
                 auto* progress = t.main().findChild<QProgressDialog*>(QStringLiteral("frmScanProgress"));
                 if (read == 3 && progress) {
                     sawModalProgress = progress->isVisible() && progress->isModal();
                     progress->findChild<QPushButton*>()->click();
                 }
             };
         }},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        f.arrange(s);
        t.services().clipboard.setText(QStringLiteral("old text"));
        t.services().clipboard.setImage(marker());
        t.services().messages.shown.clear();
        t.services().messages.answer(MessageAnswer::Ok);

        t.run(QStringLiteral("mnuPictureScanner"));

        ASSERT_EQ(t.services().messages.shown.size(), 1u);
        ExpectMessage(t.services().messages.shown.front(), NothingAcquired, QString(), MessageIcon::Information);
        EXPECT_TRUE(t.services().clipboard.image().isNull()) << "cleared before the scan";
        EXPECT_TRUE(t.services().clipboard.text().isEmpty());
        // The paste ran on the empty clipboard: the old picture is gone.
        EXPECT_TRUE(documentPicture().isNull());
        EXPECT_EQ(picturePanel(t), QStringLiteral("Clipboard Picture"));
        EXPECT_FALSE(t.main().findChild<QProgressDialog*>(QStringLiteral("frmScanProgress")));
        s.library.opens = true;
    }
    EXPECT_TRUE(sawModalProgress);
}

TEST(ScannerCommand, ALibraryFailureIsTheUnexpectedErrorMessage)
{
    TestApp t;
    InstalledScanner s;
    s.library.failure = AppError{ScanLibraryFailure, QStringLiteral("Out of memory")};
    t.services().clipboard.setText(QStringLiteral("kept"));
    t.services().messages.answer(MessageAnswer::Ok);

    t.run(QStringLiteral("mnuPictureScanner"));

    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0], QStringLiteral("Error #  48 was generated. \rOut of memory"),
                  QStringLiteral("Error"), MessageIcon::Exclamation);
    EXPECT_EQ(t.services().clipboard.text(), QStringLiteral("kept"));
    EXPECT_FALSE(s.library.running);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(SourceDialog, ListsTheSourcesWithTheCurrentOneChosenAndReturnsTheChoice)
{
    const QList<ScanSource> sources{{QStringLiteral("test:0"), QStringLiteral("Noname"),
                                     QStringLiteral("frontend-tester"), QStringLiteral("virtual device")},
                                    {QStringLiteral("v4l:/dev/video0"), {}, {}, {}}};
    SourceDialog dialog(sources, QStringLiteral("v4l:/dev/video0"));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstSources"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Noname frontend-tester (test:0)"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("v4l:/dev/video0"));
    EXPECT_EQ(dialog.selectedSource(), QStringLiteral("v4l:/dev/video0"));
    EXPECT_EQ(SourceDialog(sources, QString()).selectedSource(), QStringLiteral("test:0"));

    // Modal, as the scanner command shows it: Select returns the highlighted one, Cancel nothing.
    for (const char* button : {"cmdSelect", "cmdCancel"}) {
        QTimer::singleShot(0, [button] {
            auto* shown = qobject_cast<SourceDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(shown);
            shown->findChild<QListWidget*>(QStringLiteral("lstSources"))->setCurrentRow(0);
            shown->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        });
        const std::optional<QString> chosen = SourceDialog::choose(nullptr, sources, QStringLiteral("v4l:/dev/video0"));
        if (QByteArray(button) == "cmdSelect")
            EXPECT_EQ(chosen, QStringLiteral("test:0"));
        else
            EXPECT_FALSE(chosen);
    }
}
