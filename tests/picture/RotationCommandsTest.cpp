#include "app/core/AppState.h"
#include "app/core/TempPicture.h"
#include "app/services/SharedDialog.h"
#include "app/widgets/AppContext.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/PictureLoader.h"
#include "picture/PixelRotation.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include "PictureSamples.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace tracella;
using namespace tracella::test;

namespace {

// Every test gets its own cache folder, so the temporary picture file is
// the test's own and never the user's.
class RotationCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(cache_.isValid());
        previousCache_ = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", cache_.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_CACHE_HOME", previousCache_); }

    QString folder() const { return cache_.path(); }

private:
    QTemporaryDir cache_;
    QByteArray previousCache_;
};

PictureSurface& surface()
{
    return TestApp::surface();
}

// A picture whose pixels all differ from one another.
QImage MarkedPicture(QSize size = QSize(200, 100))
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, (y * 2) & 0xFF, (x + y) & 0x7F));
    return image;
}

void showPicture(const QImage& image, PictureKind kind = PictureKind::Bitmap, QByteArray original = {})
{
    surface().setPicture({image, kind, std::move(original)});
    app().document->Form_Resize();
}

// Pixels as 32-bit colours, whatever format each image is held in.
QImage Comparable(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

void rotate(TestApp& t, std::optional<QString> reply)
{
    t.services().input.reply(std::move(reply));
    t.run(QStringLiteral("RotateDocumentPicture"));
}

} // namespace

TEST_F(RotationCommands, QuarterTurnFromTheToolbarStandsTheWidePictureUp)
{
    TestApp t;
    const QImage source = MarkedPicture();
    showPicture(source);
    const Frame calibrated{-5, 30, 45, 2};
    surface().setFrame(calibrated);
    const int rows = app().data->grid().rows().rowCount();

    t.services().input.reply(QStringLiteral("90"));
    QTest::mouseClick(app().document->labelButton(3), Qt::LeftButton);

    ASSERT_EQ(t.services().input.asked.size(), 1u);
    EXPECT_EQ(t.services().input.asked[0].title, QStringLiteral("Degrees to rotate the picture"));
    EXPECT_EQ(t.services().input.asked[0].prompt, QStringLiteral("Please type a value between 0 and 360"));
    EXPECT_EQ(t.services().input.asked[0].defaultText, QString());
    EXPECT_TRUE(t.services().messages.shown.empty());

    const QImage turned = Comparable(surface().picture().image);
    ASSERT_EQ(turned.size(), QSize(100, 200));
    EXPECT_EQ(surface().size(), QSize(100, 200));
    EXPECT_EQ(surface().picture().kind, PictureKind::Bitmap);
    // Which pixel goes where is PixelRotation's to check.
    EXPECT_EQ(turned, Comparable(RotatedPicture(source, 90)));

    // Only the picture changed.
    EXPECT_EQ(surface().frame(), calibrated);
    EXPECT_EQ(app().data->grid().rows().rowCount(), rows);
    // The temporary file holds the picture from before.
    const LoadedPicture saved = LoadPictureFile(TempPicturePath());
    ASSERT_FALSE(saved.error);
    EXPECT_EQ(Comparable(saved.picture.image), source);
}

TEST_F(RotationCommands, ZeroEmptyAndCancelChangeNothing)
{
    TestApp t;
    const QImage source = MarkedPicture();
    showPicture(source);
    WriteBytes(TempPicturePath(), "earlier picture");

    for (const std::optional<QString>& reply :
         {std::optional<QString>(QStringLiteral("0")), std::optional<QString>(QString()),
          std::optional<QString>(std::nullopt), std::optional<QString>(QStringLiteral("none")),
          std::optional<QString>(QStringLiteral("0.0e5"))}) {
        rotate(t, reply);
        EXPECT_EQ(surface().picture().image, source);
    }
    EXPECT_EQ(t.services().input.asked.size(), 5u);
    EXPECT_TRUE(t.services().messages.shown.empty());
    EXPECT_EQ(FileBytes(TempPicturePath()), QByteArray("earlier picture"));
}

TEST_F(RotationCommands, AnglesOutsideTheOpenRangeAskAgain)
{
    TestApp t;
    const QImage source = MarkedPicture();
    showPicture(source);

    for (const char* reply : {"-10", "360", "400"}) {
        t.services().input.reply(QString::fromLatin1(reply));
        t.services().messages.answer(MessageAnswer::Ok);
    }
    rotate(t, QStringLiteral("359.9"));
    EXPECT_EQ(t.services().input.asked.size(), 4u);
    ASSERT_EQ(t.services().messages.shown.size(), 3u);
    for (const Message& m : t.services().messages.shown)
        ExpectMessage(m, QStringLiteral("Select an angle greater than 0 and less than 360 degrees"),
                      QStringLiteral("Angle Error"), MessageIcon::Information);
    EXPECT_EQ(surface().picture().image.size(), RotatedSize(source.size(), 359.9));

    showPicture(source);
    rotate(t, QStringLiteral("0.5"));
    EXPECT_EQ(surface().picture().image.size(), RotatedSize(source.size(), 0.5));

    // The leading number of the answer counts.
    showPicture(source);
    rotate(t, QStringLiteral("45abc"));
    EXPECT_EQ(Comparable(surface().picture().image), Comparable(RotatedPicture(source, 45)));
    EXPECT_EQ(t.services().messages.shown.size(), 3u);
    t.services().expectScriptsUsed();
}

TEST_F(RotationCommands, UndoRestoresThePictureFromBeforeTheLastRotation)
{
    TestApp t;
    // Nothing to undo yet: nothing happens, nothing is said.
    const QImage source = MarkedPicture(QSize(57, 31));
    showPicture(source);
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(surface().picture().image, source);

    rotate(t, QStringLiteral("30"));
    ASSERT_NE(surface().picture().image.size(), source.size());
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(surface().size(), source.size());
    EXPECT_EQ(Comparable(surface().picture().image), source);
    // Repeatable: each undo reloads the same file.
    rotate(t, QStringLiteral("30"));
    const QImage once = surface().picture().image;
    rotate(t, QStringLiteral("45"));
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(Comparable(surface().picture().image), Comparable(once));
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(Comparable(surface().picture().image), Comparable(once));
    EXPECT_TRUE(t.services().messages.shown.empty());

    // A file that is no picture is ignored as silently.
    WriteBytes(TempPicturePath(), "not a picture");
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(Comparable(surface().picture().image), Comparable(once));
    EXPECT_TRUE(t.services().messages.shown.empty());
}

TEST_F(RotationCommands, UndoBringsIconsAndMetafilesBackInTheirOwnKind)
{
    TestApp t;
    const QImage icon = tracella::test::CornerTestImage(QSize(32, 32));
    showPicture(icon, PictureKind::Icon);
    rotate(t, QStringLiteral("90"));
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(surface().picture().kind, PictureKind::Icon);
    EXPECT_EQ(Comparable(surface().picture().image), icon);

    const QByteArray wmf = tracella::test::MetafileBytes(QSize(60, 40), {{QRect(5, 5, 20, 10), Qt::blue}});
    const QString wmfPath = QDir(folder()).filePath(QStringLiteral("graph.wmf"));
    WriteBytes(wmfPath, wmf);
    LoadedPicture metafile = LoadPictureFile(wmfPath);
    ASSERT_FALSE(metafile.error);
    const QImage rendered = metafile.picture.image;
    surface().setPicture(std::move(metafile.picture));
    rotate(t, QStringLiteral("10"));
    EXPECT_EQ(FileBytes(TempPicturePath()), wmf);
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(surface().picture().kind, PictureKind::Metafile);
    EXPECT_EQ(surface().picture().originalBytes, wmf);
    EXPECT_EQ(Comparable(surface().picture().image), Comparable(rendered));
}

TEST_F(RotationCommands, RotationThatCannotKeepTheOldPictureChangesNothing)
{
    TestApp t;
    // Without a picture there is nothing to keep.
    t.services().messages.answer(MessageAnswer::Ok);
    rotate(t, QStringLiteral("30"));
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectErrorMessage(t.services().messages.shown[0]);
    EXPECT_FALSE(surface().hasPicture());

    // The temporary file cannot be written: a folder has taken its name.
    const QImage source = MarkedPicture();
    showPicture(source);
    ASSERT_TRUE(QDir().mkpath(TempPicturePath()));
    t.services().messages.answer(MessageAnswer::Ok);
    rotate(t, QStringLiteral("30"));
    ASSERT_EQ(t.services().messages.shown.size(), 2u);
    ExpectErrorMessage(t.services().messages.shown[1]);
    EXPECT_EQ(surface().picture().image, source);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RotationCommands, SaveOffersOnlyThePicturesOwnFormat)
{
    TestApp t;
    const QImage icon = tracella::test::CornerTestImage(QSize(32, 32));
    showPicture(icon, PictureKind::Icon);
    const QString iconPath = QDir(folder()).filePath(QStringLiteral("mark.ico"));
    SharedDialogFileName() = QStringLiteral("/somewhere/data.txt");
    t.services().files.choose(iconPath, 1);
    t.run(QStringLiteral("SaveDocumentPicture"));
    ASSERT_EQ(t.services().files.requests.size(), 1u);
    const FileDialogRequest& request = t.services().files.requests[0];
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.filter, QStringLiteral("Icon (*.ico)|*.ico"));
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.fileName, QString());
    EXPECT_EQ(request.defaultExtension, QStringLiteral(".bmp"));
    EXPECT_TRUE(FileBytes(iconPath).startsWith(QByteArray("\0\0\1\0", 4)));
    const LoadedPicture savedIcon = LoadPictureFile(iconPath);
    ASSERT_FALSE(savedIcon.error);
    EXPECT_EQ(savedIcon.picture.kind, PictureKind::Icon);
    EXPECT_EQ(Comparable(savedIcon.picture.image), icon);
    EXPECT_EQ(SharedDialogFileName(), iconPath);

    // A JPEG is saved as a bitmap.
    const QString jpegPath = QDir(folder()).filePath(QStringLiteral("photo.jpg"));
    WriteBytes(jpegPath, tracella::test::EncodedWithQt(MarkedPicture(), "jpg", 95));
    LoadedPicture jpeg = LoadPictureFile(jpegPath);
    ASSERT_FALSE(jpeg.error);
    const QImage photo = jpeg.picture.image;
    surface().setPicture(std::move(jpeg.picture));
    const QString bmpPath = QDir(folder()).filePath(QStringLiteral("photo.bmp"));
    t.services().files.choose(bmpPath, 1);
    t.run(QStringLiteral("SaveDocumentPicture"));
    EXPECT_EQ(t.services().files.requests.back().filter, QStringLiteral("Bitmap (*.bmp)|*.bmp"));
    EXPECT_TRUE(FileBytes(bmpPath).startsWith("BM"));
    EXPECT_EQ(Comparable(LoadPictureFile(bmpPath).picture.image), Comparable(photo));

    // A metafile is written back byte for byte.
    const QByteArray wmf = tracella::test::MetafileBytes(QSize(60, 40), {{QRect(5, 5, 20, 10), Qt::red}});
    const QString wmfSource = QDir(folder()).filePath(QStringLiteral("in.wmf"));
    WriteBytes(wmfSource, wmf);
    surface().setPicture(LoadPictureFile(wmfSource).picture);
    const QString wmfPath = QDir(folder()).filePath(QStringLiteral("out.wmf"));
    t.services().files.choose(wmfPath, 1);
    t.run(QStringLiteral("SaveDocumentPicture"));
    EXPECT_EQ(t.services().files.requests.back().filter, QStringLiteral("Windows Metafile (*.wmf)|*.wmf"));
    EXPECT_EQ(FileBytes(wmfPath), wmf);

    // Cancel writes nothing.
    t.services().files.cancel();
    t.run(QStringLiteral("SaveDocumentPicture"));
    EXPECT_TRUE(t.services().messages.shown.empty());
    t.services().expectScriptsUsed();
}

TEST_F(RotationCommands, SaveAddsTheBitmapExtensionAndAsksBeforeReplacing)
{
    TestApp t;
    const QImage source = MarkedPicture();
    showPicture(source);
    const QDir dir(folder());

    t.services().files.choose(dir.filePath(QStringLiteral("graph")), 1);
    t.run(QStringLiteral("SaveDocumentPicture"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("graph"))));
    EXPECT_EQ(Comparable(LoadPictureFile(dir.filePath(QStringLiteral("graph.bmp"))).picture.image), source);
    EXPECT_TRUE(t.services().messages.shown.empty());

    // An existing file: No keeps it and forgets the name.
    const QString existing = dir.filePath(QStringLiteral("old.bmp"));
    WriteBytes(existing, "keep me");
    t.services().files.choose(existing, 1);
    t.services().messages.answer(MessageAnswer::No);
    t.run(QStringLiteral("SaveDocumentPicture"));
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0], existing + QStringLiteral(" exists. Do you want to overwrite it?"),
                  QStringLiteral("File Exists"), MessageIcon::Question, MessageButtons::YesNo);
    EXPECT_EQ(FileBytes(existing), QByteArray("keep me"));
    EXPECT_EQ(SharedDialogFileName(), QString());

    // An existing folder asks the same; No leaves it alone.
    const QString folderName = dir.filePath(QStringLiteral("pictures.bmp"));
    ASSERT_TRUE(dir.mkdir(QStringLiteral("pictures.bmp")));
    t.services().files.choose(folderName, 1);
    t.services().messages.answer(MessageAnswer::No);
    t.run(QStringLiteral("SaveDocumentPicture"));
    ASSERT_EQ(t.services().messages.shown.size(), 2u);
    EXPECT_EQ(t.services().messages.shown[1].title, QStringLiteral("File Exists"));
    EXPECT_TRUE(QFileInfo(folderName).isDir());

    // Yes replaces the file.
    t.services().files.choose(existing, 1);
    t.services().messages.answer(MessageAnswer::Yes);
    t.run(QStringLiteral("SaveDocumentPicture"));
    EXPECT_EQ(Comparable(LoadPictureFile(existing).picture.image), source);
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 2);
    t.services().expectScriptsUsed();
}

TEST_F(RotationCommands, FailedSaveReportsAndKeepsTheEarlierFile)
{
    TestApp t;
    showPicture(MarkedPicture());
    const QDir dir(folder());

    // A folder that does not exist.
    t.services().files.choose(dir.filePath(QStringLiteral("missing/graph.bmp")), 1);
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("SaveDocumentPicture"));
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectErrorMessage(t.services().messages.shown[0]);

    // The disk fills up halfway (a file size limit stands in for it).
    const QString existing = dir.filePath(QStringLiteral("old.bmp"));
    WriteBytes(existing, "keep me");
    t.services().files.choose(existing, 1);
    t.services().messages.answer(MessageAnswer::Yes);
    t.services().messages.answer(MessageAnswer::Ok);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    t.run(QStringLiteral("SaveDocumentPicture"));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_EQ(t.services().messages.shown.size(), 3u);
    ExpectErrorMessage(t.services().messages.shown[2]);
    EXPECT_EQ(FileBytes(existing), QByteArray("keep me"));
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.bmp")});

    // Replacing a file with a document that holds no picture.
    surface().clearPicture();
    t.services().files.choose(existing, 1);
    t.services().messages.answer(MessageAnswer::Yes);
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("SaveDocumentPicture"));
    ASSERT_EQ(t.services().messages.shown.size(), 5u);
    ExpectErrorMessage(t.services().messages.shown[4]);
    EXPECT_EQ(FileBytes(existing), QByteArray("keep me"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    t.services().expectScriptsUsed();
}
