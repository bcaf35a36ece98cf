// Pictures and PDF pages into the document: Import, Paste, Copy, New, drops
// and the command line, with the wait while a picture decodes.
#include "PdfSamples.h"
#include "PictureWindow.h"
#include "app/services/SharedDialog.h"
#include "picture/PdfDocument.h"
#include "picture/PictureJob.h"
#include "picture/widgets/PageChooserDialog.h"
#include "picture/widgets/PictureDrop.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <functional>
#include <thread>

using namespace tracella;
using namespace tracella::test;

namespace {

const QImage& samplePicture()
{
    static const QImage image = CornerTestImage(QSize(64, 48));
    return image;
}

// A made-up document for the chooser: counts the thumbnails it draws.
class CountingPages final : public PageSource {
public:
    explicit CountingPages(int count) : count_(count) {}
    int pageCount() const override { return count_; }
    QImage thumbnail(int, int side) const override
    {
        ++drawn;
        QImage image(side * 3 / 4, side, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
    int fittingDpi(int page, int dpi) const override { return page == 2 ? std::min(dpi, 480) : dpi; }
    mutable int drawn = 0;

private:
    int count_;
};

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

TEST(PictureCommands, ImportOpensTheChosenPictureAsTheDocumentInItsOwnKind)
{
    TestApp t;
    QTemporaryDir dir;
    SharedDialogFileName() = QStringLiteral("last.dat");
    EXPECT_FALSE(dataMenuEnabled(t));
    const QByteArray metafile = MetafileBytes(QSize(120, 90), {{QRect(10, 10, 50, 40), QColor(0, 0, 255)}});
    const struct {
        const char* name;
        QByteArray bytes;
        PictureKind kind;
        QSize size;
        QColor at30; // the colour at (30, 30)
    } cases[] = {
        {"graph.bmp", EncodedWithQt(samplePicture(), "bmp"), PictureKind::Bitmap, {64, 48}, QColor(0, 255, 0)},
        {"chart.wmf", metafile, PictureKind::Metafile, {120, 90}, QColor(0, 0, 255)},
        {"badge.ico", EncodedWithQt(samplePicture(), "ico"), PictureKind::Icon, {64, 48}, QColor(0, 255, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(dir, QString::fromLatin1(c.name), c.bytes);
        import(t, path);
        EXPECT_EQ(surface().picture().kind, c.kind);
        EXPECT_EQ(surface().picture().image.size(), c.size);
        EXPECT_EQ(surface().size(), c.size);
        EXPECT_EQ(surface().picture().image.pixelColor(30, 30), c.at30);
        // Only a metafile keeps its bytes, to be saved back as they came.
        EXPECT_EQ(surface().picture().originalBytes, c.kind == PictureKind::Metafile ? c.bytes : QByteArray());
        EXPECT_EQ(panel(t, 2), path);
        EXPECT_EQ(SharedDialogFileName(), path);
        EXPECT_TRUE(dataMenuEnabled(t));
    }
    const FileDialogRequest& r = t.services().files.requests.front();
    EXPECT_EQ(r.mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(r.filter, QStringLiteral("All Files (*.*)|*.*|Pictures (*.bmp;*.ico;*.wmf;*.jpg;*.gif)|"
                                       "*.bmp;*.ico;*.wmf;*.jpg;*.gif|PDF Documents (*.pdf)|*.pdf"));
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_TRUE(r.fileMustExist);
    EXPECT_EQ(r.fileName, QStringLiteral("last.dat"));
    EXPECT_TRUE(t.services().messages.shown.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Cancel, an empty name, and Esc while the picture decodes (the window
// answering meanwhile, the progress bar showing the rows) change nothing;
// damaged files, decoded on the worker, and too large a picture give their
// messages and change nothing; the next good file opens as a new document.
TEST_F(EarlierDocument, AFileThatIsNoPictureLeavesItAndTheErrorMessage)
{
    t.services().files.cancel();
    t.run(QStringLiteral("mnuPictureImport"));
    t.services().files.choose(QString(), 2); // an empty name counts as cancelled
    t.run(QStringLiteral("mnuPictureImport"));
    EXPECT_EQ(SharedDialogFileName(), earlier);

    giveUpHalfway([] {
        QCoreApplication::postEvent(app().document, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });

    const QByteArray png = PngBytes({2, 8}, QSize(300, 200));
    const QByteArray jpeg = EncodedWithQt(PlainPicture(QSize(300, 200), Qt::blue), "jpg");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"cut.png", png.left(png.size() / 2), "#  321 was generated. \rInvalid picture: Unable to read image data"},
        {"cut.jpg", jpeg.left(jpeg.size() * 2 / 3),
         "#  321 was generated. \rInvalid picture: The file ends before the picture does"},
        {"wide.png", PlainPngBytes(QSize(MaxPictureSide + 5, 10), Qt::white),
         "#  480 was generated. \rThe picture is 20005 x 10 pixels; at most 20000 x 20000 can be opened"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t.services().messages.answer(MessageAnswer::Ok);
        import(t, writeFile(dir, QString::fromLatin1(c.name), c.bytes));
        ASSERT_FALSE(t.services().messages.shown.empty());
        ExpectMessage(t.services().messages.shown.back(), QStringLiteral("Error ") + QLatin1String(c.message),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
        EXPECT_TRUE(unchanged());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    const QString good = writeFile(dir, QStringLiteral("good.png"), png);
    import(t, good);
    EXPECT_EQ(surface().picture().image.size(), QSize(300, 200));
    EXPECT_EQ(surface().markerCount(), 0);
    EXPECT_EQ(appState().DataFileName, QString());
    EXPECT_EQ(panel(t, 2), good);
    EXPECT_EQ(panel(t, 3), QStringLiteral("X Value"));
}

// Cancel beside the progress bar, shown only while a picture decodes, gives
// up as Esc does; the other buttons stay held back.
TEST_F(EarlierDocument, CancelBesideTheProgressBarGivesUpTheDecode)
{
    auto* cancel = t.main().findChild<QPushButton*>(QStringLiteral("cmdCancelDecode"));
    auto* holder = t.main().findChild<QAction*>(QStringLiteral("cmdCancelDecodeHolder"));
    ASSERT_TRUE(cancel && holder);
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(holder->isVisible());
    bool shown = false;
    QWidget* newButton = t.main().toolBar()->widgetForAction(t.main().findChild<QAction*>(QStringLiteral("New")));
    giveUpHalfway([&] {
        shown = cancel->isVisible();
        QTest::mouseClick(newButton, Qt::LeftButton); // held back, as every other click
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(holder->isVisible());
}

TEST_F(EarlierDocument, NewClearsPictureAndCalibrationButKeepsTheRows)
{
    app().data->AppendPointRow({1.5f, true}, {2.5f, true});
    app().data->AppendPointRow({3.5f, true}, {4.5f, true});
    appState().RefX2 = 7;

    t.main().action(QStringLiteral("mnuFileNew"))->trigger();

    EXPECT_FALSE(surface().hasPicture());
    EXPECT_EQ(surface().markerCount(), 0);
    EXPECT_TRUE(appState().DataFileName.isEmpty());
    EXPECT_EQ(appState().RefX1, NotScaled);
    EXPECT_EQ(appState().RefX2, NotScaled);
    EXPECT_EQ(appState().frame(), BaseFrame);
    EXPECT_EQ(surface().frame(), BaseFrame);
    EXPECT_EQ(DocumentState::of(t).panels, (QStringList{QStringLiteral("Data File"), QStringLiteral("Picture File"),
                                                        QStringLiteral("X Value"), QStringLiteral("Y Value")}));
    EXPECT_EQ(gridRows(), 3);
}

// Paste and Copy go through the system clipboard, Copy with the markers.
// What another program offers Qt decodes with its own readers, within the
// allowance set at start-up, or, as a picture file, on the worker; what
// cannot be decoded is reported as a damaged file is, never an empty
// document without a word.
TEST(PictureCommands, PasteAndCopyGoThroughTheClipboardAndFailAloud)
{
    QImageReader::setAllocationLimit(128); // Qt's default
    TestApp t;
    EXPECT_EQ(QImageReader::allocationLimit(), PictureAllocationLimitMiB(MaxPictureSide));
    const QByteArray large = PlainPngBytes(QSize(6000, 6000), Qt::white, false); // 137 MiB decoded
    EXPECT_EQ(QImage::fromData(large, "png").size(), QSize(6000, 6000));

    t.services().clipboard.real = true;
    const QImage image = PlainPicture(QSize(120, 80), QColor(200, 220, 240));
    t.services().clipboard.setImage(image);
    TestApp::settle(50);
    t.run(QStringLiteral("mnuPicturePaste"));
    ASSERT_TRUE(surface().hasPicture());
    EXPECT_EQ(surface().picture().image.convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(surface().picture().kind, PictureKind::Bitmap);
    EXPECT_EQ(panel(t, 2), QStringLiteral("Clipboard Picture"));
    EXPECT_TRUE(dataMenuEnabled(t));

    // Markers in base frame positions: (6, 5) is pixel (72, 40).
    surface().setPenWidth(3);
    surface().drawDot(6, 5, Rgb(255, 0, 0));
    surface().drawDefaultDot(1, 9);
    t.run(QStringLiteral("mnuPictureCopy"));
    TestApp::settle(50);
    const QImage copied = t.services().clipboard.image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(copied.size(), QSize(120, 80));
    for (const auto& [at, colour] : {std::pair{QPoint(72, 40), QColor(255, 0, 0)}, {QPoint(71, 41), QColor(255, 0, 0)},
                                     {QPoint(12, 8), QColor(0, 0, 0)}, {QPoint(30, 30), QColor(200, 220, 240)}})
        EXPECT_EQ(copied.pixelColor(at), colour) << at.x() << "," << at.y();
    // The picture itself stays unmarked.
    EXPECT_EQ(surface().picture().image.pixelColor(72, 40), QColor(200, 220, 240));

    // A clipboard without a picture leaves an empty document, and no message.
    t.services().clipboard.setText(QStringLiteral("only text"));
    TestApp::settle(50);
    t.run(QStringLiteral("mnuPicturePaste"));
    EXPECT_FALSE(surface().hasPicture());
    EXPECT_EQ(panel(t, 2), QStringLiteral("Clipboard Picture"));
    EXPECT_TRUE(t.services().messages.shown.empty());
    t.services().clipboard.real = false;

    QTemporaryDir dir;
    openEarlierDocument(t, dir);
    const DocumentState before = DocumentState::of(t);
    const QByteArray png = PngBytes({2, 8}, QSize(300, 200));
    for (const bool unreadable : {true, false}) {
        t.services().clipboard.unreadableImage = unreadable;
        t.services().clipboard.storedFile = unreadable ? QByteArray() : png.left(png.size() / 2);
        t.services().messages.answer(MessageAnswer::Ok);
        t.run(QStringLiteral("mnuPicturePaste"));
        ExpectMessage(t.services().messages.shown.back(),
                      QStringLiteral("Error #  321 was generated. \rInvalid picture: the clipboard's picture cannot be read"),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
        EXPECT_TRUE(DocumentState::of(t) == before) << unreadable;
    }
    EXPECT_EQ(t.services().messages.shown.size(), 2u);

    t.services().clipboard.storedFile = png;
    t.run(QStringLiteral("mnuPicturePaste"));
    EXPECT_EQ(surface().picture().image, QImage::fromData(png, "png"));
    EXPECT_EQ(surface().picture().kind, PictureKind::Bitmap);
    EXPECT_EQ(surface().markerCount(), 0);
    EXPECT_EQ(panel(t, 2), QStringLiteral("Clipboard Picture"));
}

// A grey picture keeps one byte a pixel: 400 MB rather than 1.6 GB, which
// Qt refuses without the raised allocation limit.
TEST(PictureCommands, APictureOfTheLargestSideOpensScrollsAndTakesMarkers)
{
    TestApp t;
    QTemporaryDir dir;
    import(t, writeFile(dir, QStringLiteral("scan.png"),
                        PlainPngBytes(QSize(MaxPictureSide, MaxPictureSide), QColor(240, 240, 240))));
    ASSERT_TRUE(t.services().messages.shown.empty());

    DocumentWindow& d = document();
    PictureSurface& s = surface();
    EXPECT_EQ(s.size(), QSize(MaxPictureSide, MaxPictureSide));
    EXPECT_EQ(s.picture().kind, PictureKind::Bitmap);
    EXPECT_EQ(s.picture().image.pixelColor(MaxPictureSide - 1, MaxPictureSide - 1), QColor(240, 240, 240));
    const int hMax = d.horizontalScrollBar()->maximum();
    EXPECT_EQ(hMax, MaxPictureSide - d.viewport()->width());
    EXPECT_EQ(d.verticalScrollBar()->maximum(), MaxPictureSide - d.viewport()->height());
    d.horizontalScrollBar()->setValue(hMax);
    d.verticalScrollBar()->setValue(d.verticalScrollBar()->maximum());
    EXPECT_EQ(s.x(), -hMax);

    // The bottom-right corner: frame (10, 0) in the base frame.
    s.drawDot(10 - 10.0 / MaxPictureSide, 10.0 / MaxPictureSide, Rgb(255, 0, 0));
    EXPECT_EQ(s.markerCount(), 1);
    QTest::qWait(50); // paints the exposed corner
    const QImage shown = d.viewport()->grab().toImage();
    const QPoint corner(shown.width() - 2, shown.height() - 2);
    EXPECT_EQ(shown.pixelColor(corner), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(corner - QPoint(20, 20)), QColor(240, 240, 240));
}

// Cancel in the chooser, and Esc while the page is drawn (on the window's
// thread, queued before the drawing looks at the events), leave the document
// as it was; a page chosen opens.
TEST_F(EarlierDocument, SeveralPdfPagesOfferTheChooserAndOnePageOpensAtOnce)
{
    const QString slow = writeFile(dir, QStringLiteral("plot.pdf"), PlotPdfBytes(1, QSizeF(360, 216), 2000));
    QCoreApplication::postEvent(app().document, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    import(t, slow);
    EXPECT_TRUE(unchanged());

    const QString path = writeFile(dir, QStringLiteral("paper.pdf"), PlotPdfBytes(4, QSizeF(360, 216)));
    t.services().pages.answer(std::nullopt);
    import(t, path);
    EXPECT_TRUE(unchanged());
    t.services().pages.answer(PageChoice{2, 150});
    import(t, path);

    ASSERT_EQ(t.services().pages.offered.size(), 2u);
    EXPECT_EQ(t.services().pages.offered[0].pageCount, 4);
    EXPECT_EQ(t.services().pages.offered[0].dpi, 300);
    EXPECT_EQ(t.services().pages.offered[0].title, QStringLiteral("paper.pdf"));
    EXPECT_TRUE(t.services().messages.shown.empty());
    EXPECT_EQ(surface().picture().image.size(), QSize(750, 450)); // 5 x 3 inches at 150 dpi
    EXPECT_EQ(surface().picture().kind, PictureKind::Bitmap);
    EXPECT_EQ(surface().markerCount(), 0);
    EXPECT_EQ(panel(t, 2), path + QStringLiteral(", page 3"));
    EXPECT_TRUE(dataMenuEnabled(t));
    // Page 3's curve is its own: the pages are not all the same picture.
    PdfDocument pdf(PlotPdfBytes(4, QSizeF(360, 216)));
    EXPECT_EQ(surface().picture().image, pdf.renderPage(2, 150).picture.image);
    EXPECT_NE(surface().picture().image, pdf.renderPage(0, 150).picture.image);

    // One page opens at once at 300 dpi; "All Files" also opens PDFs: the
    // content decides, not the name.
    const QString figure = writeFile(dir, QStringLiteral("figure.dat"), SimplePdfBytes(QSizeF(144, 72)));
    import(t, figure);
    EXPECT_EQ(t.services().pages.offered.size(), 2u);
    EXPECT_EQ(surface().picture().image.size(), QSize(600, 300));
    EXPECT_EQ(panel(t, 2), figure + QStringLiteral(", page 1"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Damaged PDFs give their message; an encrypted one asks for its password,
// Cancel leaving the document, a wrong one saying so and asking again.
TEST_F(EarlierDocument, BadOrLockedPdfDocumentsLeaveItAndSaySo)
{
    const QByteArray plot = PlotPdfBytes(2);
    for (const QByteArray& bytes : {plot.left(plot.size() / 2), QByteArray("%PDF-1.4\ngarbage"), NoPagePdfBytes(),
                                    SimplePdfBytes(QSizeF(100, 0))}) {
        t.services().messages.answer(MessageAnswer::Ok);
        import(t, writeFile(dir, QStringLiteral("bad.pdf"), bytes));
        ExpectErrorMessage(t.services().messages.shown.back(),
                           QStringLiteral("Error #  321 was generated. \rInvalid PDF document: "));
        EXPECT_TRUE(unchanged());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    ASSERT_EQ(t.services().messages.shown.size(), 4u);

    const QString path = writeFile(dir, QStringLiteral("locked.pdf"), EncryptedPdfBytes("secret"));
    t.services().input.reply(std::nullopt);
    import(t, path);
    EXPECT_TRUE(unchanged());
    ASSERT_EQ(t.services().input.asked.size(), 1u);
    EXPECT_EQ(t.services().input.asked[0].title, QStringLiteral("PDF Password"));
    EXPECT_TRUE(t.services().input.asked[0].prompt.startsWith(QStringLiteral("locked.pdf is protected by a password.")));
    t.services().input.reply(QStringLiteral("guess"));
    t.services().messages.answer(MessageAnswer::Ok);
    t.services().input.reply(QStringLiteral("secret"));
    import(t, path);
    ASSERT_EQ(t.services().messages.shown.size(), 5u);
    EXPECT_EQ(t.services().messages.shown[4].text, QStringLiteral("The password is wrong."));
    EXPECT_EQ(t.services().messages.shown[4].icon, MessageIcon::Exclamation);
    EXPECT_EQ(surface().picture().image.size(), QSize(833, 417));
    EXPECT_EQ(panel(t, 2), path + QStringLiteral(", page 1"));
}

TEST(PdfImport, TheChooserDrawsOnlyThePagesInSightAndTellsOfTheCap)
{
    TestApp t;
    CountingPages pages(300);
    PageChooserDialog dialog(pages, QStringLiteral("thesis.pdf"), 300);
    dialog.show();
    TestApp::settle(300);
    EXPECT_GT(pages.drawn, 0);
    EXPECT_LT(pages.drawn, 40); // a 300-page file is not drawn whole
    EXPECT_EQ(dialog.choice().page, 0);
    EXPECT_EQ(dialog.choice().dpi, 300);
    EXPECT_TRUE(dialog.resolutionNote().isEmpty());

    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstPages"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 300);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("Page 3"));
    list->setCurrentRow(2);
    EXPECT_EQ(dialog.findChild<QSpinBox*>(QStringLiteral("txtPage"))->value(), 3);
    EXPECT_TRUE(dialog.resolutionNote().isEmpty());
    // Page 3 is too large above 480 dpi here.
    dialog.setDpi(600);
    EXPECT_EQ(dialog.resolutionNote(), QStringLiteral("Page 3 is too large at 600 dpi; it will be rendered at 480 "
                                                      "dpi, the highest resolution within 20000 pixels a side."));
    EXPECT_EQ(dialog.choice().page, 2);
    EXPECT_EQ(dialog.choice().dpi, 600);
    dialog.setDpi(5000);
    EXPECT_EQ(dialog.choice().dpi, MaximumPdfDpi);
    dialog.setDpi(10);
    EXPECT_EQ(dialog.choice().dpi, MinimumPdfDpi);

    // Scrolled to the end, the last pages are drawn, and still not all of them.
    const int before = pages.drawn;
    list->scrollToBottom();
    TestApp::settle(300);
    EXPECT_GT(pages.drawn, before);
    EXPECT_LT(pages.drawn, 80);
}

// The desktop opens pictures and PDFs with the program, passing the file.
TEST(PdfImport, FilesFromTheCommandLineAndFromDropsOpenAsImported)
{
    TestApp t;
    QTemporaryDir dir;
    const QString picture = writeFile(dir, QStringLiteral("graph.png"), EncodedWithQt(CornerTestImage(), "png"));
    const QString pdf = writeFile(dir, QStringLiteral("one.pdf"), SimplePdfBytes(QSizeF(72, 72)));

    OpenArgumentFile({}); // no argument: nothing happens
    EXPECT_FALSE(surface().hasPicture());
    EXPECT_EQ(panel(t, 2), QStringLiteral("Picture File"));
    OpenArgumentFile({pdf});
    EXPECT_EQ(surface().picture().image.size(), QSize(300, 300));
    EXPECT_EQ(panel(t, 2), pdf + QStringLiteral(", page 1"));

    // A drop on the main window, as the window system delivers it; text without a file is not taken.
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
    EXPECT_EQ(surface().picture().image, CornerTestImage().convertToFormat(surface().picture().image.format()));
    EXPECT_EQ(panel(t, 2), picture);
    EXPECT_FALSE(drop(text));

    QFile desktop(QStringLiteral(TRACELLA_SOURCE_DIR "/resources/io.github.tracella.Tracella.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=tracella %f\n")));
    for (const char* type : {"application/pdf", "image/bmp", "image/jpeg", "image/gif", "image/x-wmf", "image/png"})
        EXPECT_TRUE(entry.contains(QLatin1String(type) + QLatin1Char(';'))) << type;
}
