#include "ImportSupport.h"
#include "PdfSamples.h"
#include "PictureSamples.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "picture/PdfDocument.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PageChooserDialog.h"
#include "picture/widgets/PictureCommands.h"
#include "picture/widgets/PictureDrop.h"
#include "picture/widgets/PictureSurface.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

// A document that is there before the import under test: a picture, a marker, panel 2.
QString openEarlierPicture(TestApp& t, const QTemporaryDir& dir)
{
    const QString path = writeFile(dir, QStringLiteral("earlier.png"), EncodedWithQt(CornerTestImage(), "png"));
    import(t, path);
    surface().drawDot(5, 5, Rgb(255, 0, 0));
    return path;
}

void expectEarlierPictureKept(TestApp& t, const QString& path)
{
    EXPECT_EQ(surface().picture().image.size(), CornerTestImage().size());
    EXPECT_EQ(surface().markerCount(), 1);
    EXPECT_EQ(panel(t, 2), path);
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

} // namespace

TEST(PdfImport, SeveralPagesOfferTheChooserAndOnePageOpensAtOnce)
{
    TestApp t;
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("paper.pdf"), PlotPdfBytes(4, QSizeF(360, 216)));
    t.services().pages.answer(PageChoice{2, 150});
    import(t, path);

    ASSERT_EQ(t.services().pages.offered.size(), 1u);
    EXPECT_EQ(t.services().pages.offered[0].pageCount, 4);
    EXPECT_EQ(t.services().pages.offered[0].dpi, 300);
    EXPECT_EQ(t.services().pages.offered[0].title, QStringLiteral("paper.pdf"));
    EXPECT_TRUE(t.services().messages.shown.empty());
    EXPECT_EQ(surface().picture().image.size(), QSize(750, 450)); // 5 x 3 inches at 150 dpi
    EXPECT_EQ(surface().picture().kind, PictureKind::Bitmap);
    EXPECT_EQ(panel(t, 2), path + QStringLiteral(", page 3"));
    EXPECT_TRUE(t.main().menu(QStringLiteral("mnuData"))->menuAction()->isEnabled());
    // Page 3's curve is its own: the pages are not all the same picture.
    PdfDocument pdf(PlotPdfBytes(4, QSizeF(360, 216)));
    EXPECT_EQ(surface().picture().image, pdf.renderPage(2, 150).picture.image);
    EXPECT_NE(surface().picture().image, pdf.renderPage(0, 150).picture.image);

    // Cancel in the chooser leaves the document as it was.
    const QString earlier = openEarlierPicture(t, dir);
    t.services().pages.answer(std::nullopt);
    import(t, path);
    expectEarlierPictureKept(t, earlier);

    // One page opens at once at 300 dpi; "All Files" also opens PDFs: the
    // content decides, not the name.
    const QString figure = writeFile(dir, QStringLiteral("figure.dat"), SimplePdfBytes(QSizeF(144, 72)));
    import(t, figure);
    EXPECT_EQ(t.services().pages.offered.size(), 2u);
    EXPECT_EQ(surface().picture().image.size(), QSize(600, 300));
    EXPECT_EQ(panel(t, 2), figure + QStringLiteral(", page 1"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(PdfImport, BadDocumentsLeaveTheEarlierDocumentAndTheErrorMessage)
{
    TestApp t;
    QTemporaryDir dir;
    const QByteArray plot = PlotPdfBytes(2);
    int shown = 0;
    for (const QByteArray& bytes : {plot.left(plot.size() / 2), QByteArray("%PDF-1.4\ngarbage"), NoPagePdfBytes(),
                                    SimplePdfBytes(QSizeF(100, 0))}) {
        const QString earlier = openEarlierPicture(t, dir);
        t.services().messages.answer(MessageAnswer::Ok);
        import(t, writeFile(dir, QStringLiteral("bad.pdf"), bytes));
        ASSERT_EQ(t.services().messages.shown.size(), static_cast<std::size_t>(++shown));
        ExpectErrorMessage(t.services().messages.shown.back(),
                           QStringLiteral("Error #  321 was generated. \rInvalid PDF document: "));
        expectEarlierPictureKept(t, earlier);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST(PdfImport, AnEncryptedDocumentAsksForItsPassword)
{
    TestApp t;
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("locked.pdf"), EncryptedPdfBytes("secret"));

    // Cancel leaves the document as it was.
    const QString earlier = openEarlierPicture(t, dir);
    t.services().input.reply(std::nullopt);
    import(t, path);
    expectEarlierPictureKept(t, earlier);
    ASSERT_EQ(t.services().input.asked.size(), 1u);
    EXPECT_EQ(t.services().input.asked[0].title, QStringLiteral("PDF Password"));
    EXPECT_TRUE(t.services().input.asked[0].prompt.startsWith(QStringLiteral("locked.pdf is protected by a password.")));

    // A wrong password says so and asks again; the right one opens the page.
    t.services().input.reply(QStringLiteral("guess"));
    t.services().messages.answer(MessageAnswer::Ok);
    t.services().input.reply(QStringLiteral("secret"));
    import(t, path);
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    EXPECT_EQ(t.services().messages.shown[0].text, QStringLiteral("The password is wrong."));
    EXPECT_EQ(t.services().messages.shown[0].icon, MessageIcon::Exclamation);
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

    // A drop on the main window, as the window system delivers it.
    AcceptPictureDrops(t.main());
    const auto drop = [&t](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at(t.main().width() / 2, t.main().height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&t.main(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&t.main(), &event);
        TestApp::settle();
    };
    drop(picture);
    EXPECT_EQ(surface().picture().image, CornerTestImage().convertToFormat(surface().picture().image.format()));
    EXPECT_EQ(panel(t, 2), picture);

    // Text without a file is not taken.
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&t.main(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

// The desktop opens pictures and PDFs with the program, passing the file.
TEST(PdfImport, TheDesktopFileDeclaresTheFilesItOpens)
{
    QFile file(QStringLiteral(TRACELLA_SOURCE_DIR "/resources/io.github.tracella.Tracella.desktop"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=tracella %f\n")));
    for (const char* type : {"application/pdf", "image/bmp", "image/jpeg", "image/gif", "image/x-wmf", "image/png"})
        EXPECT_TRUE(text.contains(QLatin1String(type) + QLatin1Char(';'))) << type;
}

// The page is drawn on the window's thread; Esc pressed meanwhile (queued
// before the drawing looks at the events) gives the import up.
TEST(PdfImport, EscWhileThePageIsDrawnGivesUpAndKeepsTheEarlierDocument)
{
    TestApp t;
    QTemporaryDir dir;
    const QString earlier = openEarlierPicture(t, dir);
    const QString path = writeFile(dir, QStringLiteral("plot.pdf"), PlotPdfBytes(1, QSizeF(360, 216), 2000));
    QCoreApplication::postEvent(app().document, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    import(t, path);
    expectEarlierPictureKept(t, earlier);
    EXPECT_TRUE(t.services().messages.shown.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    import(t, path); // nothing pressed: the page opens
    EXPECT_EQ(panel(t, 2), path + QStringLiteral(", page 1"));
}
