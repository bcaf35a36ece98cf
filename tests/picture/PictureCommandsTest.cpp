#include "ImportSupport.h"
#include "PictureSamples.h"
#include "app/core/AppState.h"
#include "app/services/SharedDialog.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/PictureLoader.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureCommands.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QFile>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

bool dataMenuEnabled(TestApp& t)
{
    return t.main().menu(QStringLiteral("mnuData"))->menuAction()->isEnabled();
}

const QImage& samplePicture()
{
    static const QImage image = CornerTestImage(QSize(64, 48));
    return image;
}

} // namespace

TEST(PictureCommands, ImportOpensTheChosenPictureAsTheDocument)
{
    TestApp t;
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("graph.bmp"), EncodedWithQt(samplePicture(), "bmp"));
    SharedDialogFileName() = QStringLiteral("last.dat");
    EXPECT_FALSE(dataMenuEnabled(t));
    import(t, path);

    ASSERT_EQ(t.services().files.requests.size(), 1u);
    const FileDialogRequest& r = t.services().files.requests.front();
    EXPECT_EQ(r.mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(r.filter, QStringLiteral("All Files (*.*)|*.*|Pictures (*.bmp;*.ico;*.wmf;*.jpg;*.gif)|"
                                       "*.bmp;*.ico;*.wmf;*.jpg;*.gif|PDF Documents (*.pdf)|*.pdf"));
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_TRUE(r.fileMustExist);
    EXPECT_EQ(r.fileName, QStringLiteral("last.dat"));
    EXPECT_EQ(SharedDialogFileName(), path);

    EXPECT_TRUE(t.services().messages.shown.empty());
    EXPECT_EQ(surface().picture().image.size(), QSize(64, 48));
    EXPECT_EQ(surface().size(), QSize(64, 48));
    EXPECT_EQ(surface().picture().kind, PictureKind::Bitmap);
    EXPECT_EQ(panel(t, 2), path);
    EXPECT_TRUE(dataMenuEnabled(t));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(PictureCommands, MetafilesAndIconsKeepTheirKind)
{
    TestApp t;
    QTemporaryDir dir;
    const QByteArray metafile = MetafileBytes(QSize(120, 90), {{QRect(10, 10, 50, 40), QColor(0, 0, 255)}});
    import(t, writeFile(dir, QStringLiteral("chart.wmf"), metafile));
    EXPECT_EQ(surface().picture().kind, PictureKind::Metafile);
    EXPECT_EQ(surface().picture().originalBytes, metafile);
    EXPECT_EQ(surface().size(), QSize(120, 90));
    EXPECT_EQ(surface().picture().image.pixelColor(30, 30), QColor(0, 0, 255));

    import(t, writeFile(dir, QStringLiteral("badge.ico"), EncodedWithQt(samplePicture(), "ico")));
    EXPECT_EQ(surface().picture().kind, PictureKind::Icon);
    EXPECT_TRUE(surface().picture().originalBytes.isEmpty());
    EXPECT_EQ(surface().size(), QSize(64, 48));
}

TEST(PictureCommands, CancellingTheImportChangesNothing)
{
    TestApp t;
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("graph.png"), EncodedWithQt(samplePicture(), "png"));
    import(t, path);
    surface().drawDot(5, 5, Rgb(255, 0, 0));
    AppState& s = appState();
    s.RefX1 = 3;
    s.setFrame({1, 2, 3, 4});
    surface().setFrame(s.frame());
    s.DataFileName = QStringLiteral("points.dat");
    t.main().statusPanels()->setPanelText(3, QStringLiteral("X=  1.5"));

    t.services().files.cancel();
    t.run(QStringLiteral("mnuPictureImport"));
    t.services().files.choose(QString(), 2); // an empty name counts as cancelled
    t.run(QStringLiteral("mnuPictureImport"));

    EXPECT_EQ(surface().picture().image, samplePicture());
    EXPECT_EQ(surface().markerCount(), 1);
    EXPECT_EQ(s.RefX1, 3);
    EXPECT_EQ(surface().frame(), (Frame{1, 2, 3, 4}));
    EXPECT_EQ(s.DataFileName, QStringLiteral("points.dat"));
    EXPECT_EQ(panel(t, 2), path);
    EXPECT_EQ(panel(t, 3), QStringLiteral("X=  1.5"));
    EXPECT_EQ(SharedDialogFileName(), path);
    EXPECT_TRUE(t.services().messages.shown.empty());
}

TEST(PictureCommands, AFileThatIsNoPictureLeavesTheEarlierDocumentAndTheErrorMessage)
{
    TestApp t;
    QTemporaryDir dir;
    const QString earlier = writeFile(dir, QStringLiteral("graph.png"), EncodedWithQt(samplePicture(), "png"));
    import(t, earlier);
    QByteArray cut = EncodedWithQt(samplePicture(), "jpg");
    cut.chop(cut.size() / 3);
    t.services().messages.answer(MessageAnswer::Ok);
    import(t, writeFile(dir, QStringLiteral("cut.jpg"), cut));

    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectErrorMessage(t.services().messages.shown.front(), QStringLiteral("Error #  321 was generated. \rInvalid picture"));
    EXPECT_EQ(surface().picture().image, samplePicture());
    EXPECT_EQ(panel(t, 2), earlier);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Too large a picture: the same road, with its own description.
    QFile wide(dir.filePath(QStringLiteral("wide.png")));
    ASSERT_TRUE(wide.open(QIODevice::WriteOnly));
    ASSERT_TRUE(WritePlainPng(wide, QSize(MaxPictureSide + 5, 10), Qt::white, true));
    wide.close();
    t.services().messages.answer(MessageAnswer::Ok);
    import(t, wide.fileName());
    ASSERT_EQ(t.services().messages.shown.size(), 2u);
    EXPECT_EQ(t.services().messages.shown.back().text.toStdString(),
              "Error #  480 was generated. \rThe picture is 20005 x 10 pixels; at most 20000 x 20000 can be opened");
}

TEST(PictureCommands, NewClearsPictureAndCalibrationButKeepsTheRows)
{
    TestApp t;
    t.paste(PlainPicture(QSize(300, 200)));
    surface().drawDot(5, 5, Rgb(255, 0, 0));
    app().data->AppendPointRow({1.5f, true}, {2.5f, true});
    app().data->AppendPointRow({3.5f, true}, {4.5f, true});
    AppState& s = appState();
    s.DataFileName = QStringLiteral("points.dat");
    s.RefX1 = s.RefX2 = 7;
    s.setFrame({-1, 20, 30, 5});
    surface().setFrame(s.frame());
    for (int p = 1; p <= 4; ++p)
        t.main().statusPanels()->setPanelText(p, QStringLiteral("something"));

    t.main().action(QStringLiteral("mnuFileNew"))->trigger();

    EXPECT_FALSE(surface().hasPicture());
    EXPECT_EQ(surface().markerCount(), 0);
    EXPECT_TRUE(s.DataFileName.isEmpty());
    EXPECT_EQ(s.RefX1, NotScaled);
    EXPECT_EQ(s.RefX2, NotScaled);
    EXPECT_EQ(s.frame(), BaseFrame);
    EXPECT_EQ(surface().frame(), BaseFrame);
    EXPECT_EQ(panel(t, 1), QStringLiteral("Data File"));
    EXPECT_EQ(panel(t, 2), QStringLiteral("Picture File"));
    EXPECT_EQ(panel(t, 3), QStringLiteral("X Value"));
    EXPECT_EQ(panel(t, 4), QStringLiteral("Y Value"));
    EXPECT_EQ(app().data->grid().rows().rowCount(), 3);
}

TEST(PictureCommands, PasteAndCopyGoThroughTheSystemClipboard)
{
    TestApp t;
    t.services().clipboard.real = true;
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(QColor(200, 220, 240));
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
    EXPECT_EQ(copied.pixelColor(72, 40), QColor(255, 0, 0));
    EXPECT_EQ(copied.pixelColor(71, 41), QColor(255, 0, 0));
    EXPECT_EQ(copied.pixelColor(12, 8), QColor(0, 0, 0));
    EXPECT_EQ(copied.pixelColor(30, 30), QColor(200, 220, 240));
    // The picture itself stays unmarked.
    EXPECT_EQ(surface().picture().image.pixelColor(72, 40), QColor(200, 220, 240));

    // A clipboard without a picture leaves an empty document, and no message.
    t.services().clipboard.setText(QStringLiteral("only text"));
    TestApp::settle(50);
    t.run(QStringLiteral("mnuPicturePaste"));
    EXPECT_FALSE(surface().hasPicture());
    EXPECT_EQ(panel(t, 2), QStringLiteral("Clipboard Picture"));
    EXPECT_TRUE(t.services().messages.shown.empty());
}

// Qt's clipboard decodes what another program offers with its own readers,
// within the allowance set at start-up; what it cannot decode is reported
// as a damaged file is, never an empty document without a word.
TEST(PictureCommands, ClipboardPicturesDecodeLargeAndFailAloud)
{
    QImageReader::setAllocationLimit(128); // Qt's default
    TestApp t;
    EXPECT_EQ(QImageReader::allocationLimit(), PictureAllocationLimitMiB(MaxPictureSide));
    QBuffer png;
    ASSERT_TRUE(png.open(QIODevice::WriteOnly));
    ASSERT_TRUE(WritePlainPng(png, QSize(6000, 6000), Qt::white, false)); // 137 MiB decoded
    EXPECT_EQ(QImage::fromData(png.data(), "png").size(), QSize(6000, 6000));

    t.services().clipboard.unreadableImage = true;
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuPicturePaste"));
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown.front(),
                  QStringLiteral("Error #  321 was generated. \rInvalid picture: the clipboard's picture cannot be read"),
                  QStringLiteral("Error"), MessageIcon::Exclamation);
    EXPECT_FALSE(surface().hasPicture());
    EXPECT_EQ(panel(t, 2), QStringLiteral("Picture File"));
}

// One byte a pixel keeps this lean: 400 MB rather than 1.6 GB.
TEST(PictureCommands, APictureOfTheLargestSideOpensScrollsAndTakesMarkers)
{
    TestApp t;
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("scan.png")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(WritePlainPng(file, QSize(MaxPictureSide, MaxPictureSide), QColor(240, 240, 240), true));
    file.close();
    import(t, file.fileName());
    ASSERT_TRUE(t.services().messages.shown.empty());

    DocumentWindow& d = *app().document;
    PictureSurface& s = surface();
    EXPECT_EQ(s.size(), QSize(MaxPictureSide, MaxPictureSide));
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
