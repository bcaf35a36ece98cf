// The rotate, undo and save commands of the image toolbar.
#include "PictureWindow.h"
#include "app/core/TempPicture.h"
#include "picture/PixelRotation.h"

#include <QDir>

#include <csignal>
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

    QString inFolder(const char* name) const { return QDir(cache_.path()).filePath(QString::fromLatin1(name)); }

    // The file written in the folder and opened as the document's picture.
    QImage showFile(const char* name, const QByteArray& bytes)
    {
        WriteBytes(inFolder(name), bytes);
        LoadedPicture loaded = LoadPictureFile(inFolder(name));
        const QImage image = loaded.picture.image;
        surface().setPicture(std::move(loaded.picture));
        return image;
    }

private:
    QTemporaryDir cache_;
    QByteArray previousCache_;
};

// A picture whose pixels all differ from one another.
QImage MarkedPicture(QSize size = QSize(200, 100))
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, (y * 2) & 0xFF, (x + y) & 0x7F));
    return image;
}

void showPicture(const QImage& image)
{
    surface().setPicture({image, PictureKind::Bitmap, {}});
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

// Save Picture to the path, the message boxes on the way answered in turn.
void save(TestApp& t, const QString& path, std::initializer_list<MessageAnswer> answers = {})
{
    t.services().files.choose(path, 1);
    for (const MessageAnswer a : answers)
        t.services().messages.answer(a);
    t.run(QStringLiteral("SaveDocumentPicture"));
}

} // namespace

// The toolbar's Rotate turns only the picture, keeping the one before for
// Undo; zero and Cancel change nothing, angles outside the open range ask
// again; Undo reloads the kept picture, a metafile in its own kind. A
// rotation that cannot keep the old picture changes nothing.
TEST_F(RotationCommands, RotateFromTheToolbarAndUndo)
{
    TestApp t;
    const QImage source = MarkedPicture();
    showPicture(source);
    const Frame calibrated{-5, 30, 45, 2};
    surface().setFrame(calibrated);
    for (const char* reply : std::initializer_list<const char*>{"0", nullptr}) { // nullptr: Cancel
        rotate(t, reply ? std::optional(QString::fromLatin1(reply)) : std::nullopt);
        EXPECT_EQ(surface().picture().image, source) << (reply ? reply : "cancel");
    }
    t.services().input.reply(QStringLiteral("360"));
    t.services().messages.answer(MessageAnswer::Ok);
    t.services().input.reply(QStringLiteral("90"));
    QTest::mouseClick(app().document->labelButton(3), Qt::LeftButton);
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0], QStringLiteral("Select an angle greater than 0 and less than 360 degrees"),
                  QStringLiteral("Angle Error"), MessageIcon::Information);
    // Which pixel goes where is PixelRotation's to check.
    EXPECT_EQ(Comparable(surface().picture().image), Comparable(RotatedPicture(source, 90)));
    EXPECT_EQ(surface().frame(), calibrated);
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(Comparable(surface().picture().image), source);

    const QByteArray wmf = MetafileBytes(QSize(60, 40), {{QRect(5, 5, 20, 10), Qt::blue}});
    const QImage shown = showFile("graph.wmf", wmf);
    rotate(t, QStringLiteral("10"));
    t.run(QStringLiteral("UndoRotate"));
    EXPECT_EQ(surface().picture().kind, PictureKind::Metafile);
    EXPECT_EQ(surface().picture().originalBytes, wmf);
    EXPECT_EQ(Comparable(surface().picture().image), Comparable(shown));

    // The temporary file cannot be written (a folder has taken its name).
    ASSERT_TRUE(QFile::remove(TempPicturePath()) && QDir().mkpath(TempPicturePath()));
    t.services().messages.answer(MessageAnswer::Ok);
    rotate(t, QStringLiteral("30"));
    ExpectErrorMessage(t.services().messages.shown.back());
    EXPECT_EQ(surface().picture().originalBytes, wmf);
    t.services().expectScriptsUsed();
}

// A JPEG is saved as a bitmap (the extension added), a metafile byte for
// byte; an existing file is replaced only after Yes; the disk filling up
// halfway (a file size limit stands in for it) is reported, and the earlier
// file is kept.
TEST_F(RotationCommands, SaveKeepsThePicturesKindAndReportsWhatFails)
{
    TestApp t;
    const QByteArray wmf = MetafileBytes(QSize(60, 40), {{QRect(5, 5, 20, 10), Qt::red}});
    const struct {
        const char *in, *out, *written;
        QByteArray bytes;
        PictureKind saved;
    } cases[] = {
        {"photo.jpg", "photo", "photo.bmp", EncodedWithQt(MarkedPicture(), "jpg", 95), PictureKind::Bitmap},
        {"in.wmf", "out.wmf", "out.wmf", wmf, PictureKind::Metafile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        const QImage shown = showFile(c.in, c.bytes);
        save(t, inFolder(c.out));
        const LoadedPicture saved = LoadPictureFile(inFolder(c.written));
        EXPECT_EQ(saved.picture.kind, c.saved);
        EXPECT_EQ(saved.picture.originalBytes, c.saved == PictureKind::Metafile ? wmf : QByteArray());
        EXPECT_EQ(Comparable(saved.picture.image), Comparable(shown));
    }

    showPicture(MarkedPicture());
    const QString existing = inFolder("old.bmp");
    WriteBytes(existing, "keep me");
    save(t, existing, {MessageAnswer::No});
    ExpectMessage(t.services().messages.shown[0], existing + QStringLiteral(" exists. Do you want to overwrite it?"),
                  QStringLiteral("File Exists"), MessageIcon::Question, MessageButtons::YesNo);
    EXPECT_EQ(FileBytes(existing), QByteArray("keep me"));

    const QStringList files = QDir(inFolder(".")).entryList(QDir::Files | QDir::Hidden);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    save(t, existing, {MessageAnswer::Yes, MessageAnswer::Ok});
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    ExpectErrorMessage(t.services().messages.shown.back());
    EXPECT_EQ(FileBytes(existing), QByteArray("keep me"));
    EXPECT_EQ(QDir(inFolder(".")).entryList(QDir::Files | QDir::Hidden), files);
    t.services().expectScriptsUsed();
}
