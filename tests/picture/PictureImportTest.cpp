// Pictures and PDF pages into the document: Import, Paste, Copy, New, drops
// and the command line, with the wait while a picture decodes.
#include "PdfSamples.h"
#include "PictureWindow.h"
#include "app/services/SharedDialog.h"
#include "picture/PdfDocument.h"
#include "picture/PictureJob.h"
#include "picture/widgets/PictureDrop.h"

#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <functional>
#include <thread>

using namespace tracella;
using namespace tracella::test;

namespace {

// A decoder that reports half its rows, then waits to be given up.
std::shared_ptr<PictureJob> stuckHalfway()
{
    return PictureJob::start([](DecodeProgress& progress) {
        progress.setRows(400);
        progress.setRowsDone(200);
        while (!progress.cancel().isCancelled())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return LoadedPicture{};
    });
}

// A started program with an earlier document, which what fails must leave as it was.
class EarlierDocument : public ::testing::Test {
protected:
    bool unchanged() { return DocumentState::of(t) == before; }

    // Opens a picture whose decoder stops halfway and, once the progress bar
    // shows its rows, gives up by `giveUp`, which must change nothing.
    void giveUpHalfway(const std::function<void()>& giveUp)
    {
        QProgressBar* bar = t.main().progressBar();
        bool barShown = false;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (!barShown && t.main().progressBarVisible() && bar->maximum() == 400 && bar->value() == 200) {
                barShown = true;
                giveUp();
            }
        });
        look.start(5);
        const auto job = stuckHalfway();
        OpenPictureFile(writeFile(dir, QStringLiteral("other.png"), EncodedWithQt(PlainPicture(QSize(30, 20)), "png")), job);
        look.stop();
        EXPECT_TRUE(barShown);
        EXPECT_TRUE(job->progress().cancel().wasCancelled());
        EXPECT_FALSE(t.main().progressBarVisible());
        EXPECT_TRUE(unchanged());
        EXPECT_TRUE(t.services().messages.shown.empty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    TestApp t;
    QTemporaryDir dir;
    const QString earlier = openEarlierDocument(t, dir);
    const DocumentState before = DocumentState::of(t);
};

} // namespace

// An empty name, and Esc or Cancel while the picture decodes (the progress
// bar showing the rows), change nothing; damaged files and too large a picture give
// their messages and change nothing. A picture then opens afresh; New
// clears picture and calibration (that it keeps the rows is the curves' test).
TEST_F(EarlierDocument, ImportOpensEachKindAsItIsWhatFailsLeavesTheDocument)
{
    t.services().files.choose(QString(), 2);
    t.run(QStringLiteral("mnuPictureImport"));
    EXPECT_EQ(SharedDialogFileName(), earlier);

    giveUpHalfway([] {
        QCoreApplication::postEvent(app().document, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    // Cancel beside the progress bar, shown only while a picture decodes,
    // gives up as Esc does; the other buttons stay held back.
    auto* cancel = t.main().findChild<QPushButton*>(QStringLiteral("cmdCancelDecode"));
    auto* holder = t.main().findChild<QAction*>(QStringLiteral("cmdCancelDecodeHolder"));
    ASSERT_TRUE(cancel && holder);
    EXPECT_FALSE(holder->isVisible());
    QWidget* newButton = t.main().toolBar()->widgetForAction(t.main().findChild<QAction*>(QStringLiteral("New")));
    giveUpHalfway([&] {
        EXPECT_TRUE(cancel->isVisible());
        QTest::mouseClick(newButton, Qt::LeftButton); // held back, as every other click
        QTest::mouseClick(cancel, Qt::LeftButton);
    });

    const QByteArray png = PngBytes({2, 8}, QSize(300, 200));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } failures[] = {
        {"cut.png", png.left(png.size() / 2), "#  321 was generated. \rInvalid picture: Unable to read image data"},
        {"wide.png", EncodedWithQt(CornerTestImage(QSize(MaxPictureSide + 5, 10)), "png"),
         "#  480 was generated. \rThe picture is 20005 x 10 pixels; at most 20000 x 20000 can be opened"},
    };
    for (const auto& c : failures) {
        SCOPED_TRACE(c.name);
        t.services().messages.answer(MessageAnswer::Ok);
        import(t, writeFile(dir, QString::fromLatin1(c.name), c.bytes));
        ExpectMessage(t.services().messages.shown.back(), QStringLiteral("Error ") + QLatin1String(c.message),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
        EXPECT_TRUE(unchanged());
    }

    // A metafile opens in its own kind, keeping its bytes.
    const QByteArray metafile = MetafileBytes(QSize(120, 90), {{QRect(10, 10, 50, 40), QColor(0, 0, 255)}});
    const QString path = writeFile(dir, QStringLiteral("chart.wmf"), metafile);
    import(t, path);
    EXPECT_EQ(surface().picture().kind, PictureKind::Metafile);
    EXPECT_EQ(surface().size(), QSize(120, 90));
    EXPECT_EQ(surface().picture().image.pixelColor(30, 30), QColor(0, 0, 255));
    EXPECT_EQ(surface().picture().originalBytes, metafile);
    EXPECT_EQ(panel(t, 2), path);
    EXPECT_EQ(surface().markerCount(), 0);

    surface().drawDot(5, 5, Rgb(255, 0, 0));
    appState().RefX2 = 7;
    t.main().action(QStringLiteral("mnuFileNew"))->trigger();
    EXPECT_FALSE(surface().hasPicture());
    EXPECT_EQ(appState().RefX2, NotScaled);
    EXPECT_EQ(panel(t, 2), QStringLiteral("Picture File"));
}

// Paste and Copy go through the system clipboard, Copy with the markers.
// What another program offers Qt decodes within the allowance set at
// start-up, or, as a picture file, on the worker; what cannot be decoded is
// reported as a damaged file is, never an empty document without a word.
TEST(PictureCommands, PasteAndCopyGoThroughTheClipboardAndFailAloud)
{
    QImageReader::setAllocationLimit(128); // Qt's default
    TestApp t;
    EXPECT_EQ(QImageReader::allocationLimit(), PictureAllocationLimitMiB(MaxPictureSide));

    t.services().clipboard.real = true;
    const QImage image = PlainPicture(QSize(120, 80), QColor(200, 220, 240));
    t.services().clipboard.setImage(image);
    TestApp::settle(50);
    t.run(QStringLiteral("mnuPicturePaste"));
    EXPECT_EQ(surface().picture().image.convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(panel(t, 2), QStringLiteral("Clipboard Picture"));

    // A marker in base frame positions: (6, 5) is pixel (72, 40).
    surface().setPenWidth(3);
    surface().drawDot(6, 5, Rgb(255, 0, 0));
    t.run(QStringLiteral("mnuPictureCopy"));
    TestApp::settle(50);
    const QImage copied = t.services().clipboard.image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copied.pixelColor(71, 41), QColor(255, 0, 0));
    t.services().clipboard.real = false;

    QTemporaryDir dir;
    openEarlierDocument(t, dir);
    const DocumentState before = DocumentState::of(t);
    const QByteArray png = PngBytes({2, 8}, QSize(300, 200));
    // A picture file whose decode on the worker fails.
    t.services().clipboard.storedFile = png.left(png.size() / 2);
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuPicturePaste"));
    ExpectMessage(t.services().messages.shown.back(),
                  QStringLiteral("Error #  321 was generated. \rInvalid picture: the clipboard's picture cannot be read"),
                  QStringLiteral("Error"), MessageIcon::Exclamation);
    EXPECT_TRUE(DocumentState::of(t) == before);
    t.services().clipboard.storedFile = png;
    t.run(QStringLiteral("mnuPicturePaste"));
    EXPECT_EQ(surface().picture().image, QImage::fromData(png, "png"));
}

// Cancel in the chooser, and Esc while the page is drawn (queued before the
// drawing looks at the events), leave the document; a page chosen opens, one
// page at once at 300 dpi. Damaged PDFs give their message; an encrypted one
// asks for its password, a wrong one saying so and asking again.
TEST_F(EarlierDocument, PdfPagesOpenThroughTheChooserAndBadOrLockedOnesSaySo)
{
    const QString slow = writeFile(dir, QStringLiteral("plot.pdf"), PlotPdfBytes(1, QSizeF(360, 216), 2000));
    QCoreApplication::postEvent(app().document, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    import(t, slow);
    EXPECT_TRUE(unchanged());

    const QString path = writeFile(dir, QStringLiteral("paper.pdf"), PlotPdfBytes(4, QSizeF(360, 216)));
    t.services().pages.answer(std::nullopt);
    import(t, path);
    EXPECT_TRUE(unchanged());
    t.services().messages.answer(MessageAnswer::Ok);
    import(t, writeFile(dir, QStringLiteral("bad.pdf"), NoPagePdfBytes()));
    ExpectErrorMessage(t.services().messages.shown.back(),
                       QStringLiteral("Error #  321 was generated. \rInvalid PDF document: "));
    EXPECT_TRUE(unchanged());

    t.services().pages.answer(PageChoice{2, 150});
    import(t, path);
    EXPECT_EQ(t.services().pages.offered[0].pageCount, 4);
    EXPECT_EQ(panel(t, 2), path + QStringLiteral(", page 3"));
    // 5 x 3 inches at 150 dpi, page 3's own curve.
    EXPECT_EQ(surface().picture().image, PdfDocument(PlotPdfBytes(4, QSizeF(360, 216))).renderPage(2, 150).picture.image);

    const QString locked = writeFile(dir, QStringLiteral("locked.pdf"), EncryptedPdfBytes("secret"));
    t.services().input.reply(QStringLiteral("guess"));
    t.services().messages.answer(MessageAnswer::Ok);
    t.services().input.reply(QStringLiteral("secret"));
    import(t, locked);
    EXPECT_EQ(t.services().input.asked[0].title, QStringLiteral("PDF Password"));
    EXPECT_EQ(t.services().messages.shown.back().text, QStringLiteral("The password is wrong."));
    EXPECT_EQ(surface().picture().image.size(), QSize(833, 417));
}

// The desktop opens pictures and PDFs with the program, passing the file;
// a file dropped on the main window opens, text without a file is not taken.
TEST(PdfImport, FilesFromTheCommandLineAndFromDropsOpenAsImported)
{
    TestApp t;
    QTemporaryDir dir;
    const QString picture = writeFile(dir, QStringLiteral("graph.png"), EncodedWithQt(CornerTestImage(), "png"));
    const QString pdf = writeFile(dir, QStringLiteral("one.pdf"), SimplePdfBytes(QSizeF(72, 72)));
    OpenArgumentFile({pdf});
    EXPECT_EQ(surface().picture().image.size(), QSize(300, 300));
    EXPECT_EQ(panel(t, 2), pdf + QStringLiteral(", page 1"));

    AcceptPictureDrops(t.main());
    const auto drop = [&t](const QMimeData& data) {
        const QPoint at(t.main().width() / 2, t.main().height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&t.main(), &enter);
        if (enter.isAccepted()) {
            QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&t.main(), &event);
            TestApp::settle();
        }
        return enter.isAccepted();
    };
    QMimeData file, text;
    file.setUrls({QUrl::fromLocalFile(picture)});
    text.setText(QStringLiteral("hello"));
    EXPECT_TRUE(drop(file));
    EXPECT_EQ(panel(t, 2), picture);
    EXPECT_FALSE(drop(text));

    const QString entry =
        QString::fromUtf8(FileBytes(QStringLiteral(TRACELLA_SOURCE_DIR "/resources/io.github.tracella.Tracella.desktop")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=tracella %f\n")));
    for (const char* type : {"application/pdf", "image/png"})
        EXPECT_TRUE(entry.contains(QLatin1String(type) + QLatin1Char(';'))) << type;
}
