#include "ImportSupport.h"
#include "PictureSamples.h"
#include "app/core/AppState.h"
#include "picture/PictureJob.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

using namespace tracella;
using namespace tracella::test;

namespace {

// Everything an import may touch, to tell that nothing was.
struct DocumentState {
    QImage picture;
    int markers = 0;
    Frame frame;
    double refX1 = 0;
    QString dataFile;
    QStringList panels;
    bool dataMenu = false;

    static DocumentState of(TestApp& t)
    {
        return {surface().picture().image,
                surface().markerCount(),
                surface().frame(),
                appState().RefX1,
                appState().DataFileName,
                {panel(t, 1), panel(t, 2), panel(t, 3), panel(t, 4)},
                t.main().menu(QStringLiteral("mnuData"))->menuAction()->isEnabled()};
    }
    bool operator==(const DocumentState&) const = default;
};

// An earlier document with a point, a calibration and readings.
QString openEarlierDocument(TestApp& t, const QTemporaryDir& dir)
{
    const QString path = writeFile(dir, QStringLiteral("earlier.png"), EncodedWithQt(CornerTestImage(), "png"));
    import(t, path);
    surface().drawDot(5, 5, Rgb(255, 0, 0));
    appState().RefX1 = 3;
    appState().setFrame({1, 2, 3, 4});
    surface().setFrame(appState().frame());
    appState().DataFileName = QStringLiteral("points.dat");
    t.main().statusPanels()->setPanelText(3, QStringLiteral("X=  1.5"));
    return path;
}

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

} // namespace

// The window answers while the picture decodes: the progress bar shows the
// rows, and Esc gives up with the earlier document exactly as it was.
TEST(PictureWait, EscGivesUpAndLeavesTheEarlierDocumentAsItWas)
{
    TestApp t;
    QTemporaryDir dir;
    openEarlierDocument(t, dir);
    const DocumentState before = DocumentState::of(t);
    const QString other = writeFile(dir, QStringLiteral("other.png"), EncodedWithQt(PlainPicture(QSize(30, 20)), "png"));

    QProgressBar* bar = t.main().progressBar();
    bool barShown = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (!barShown && t.main().progressBarVisible() && bar->maximum() == 400 && bar->value() == 200) {
            barShown = true;
            QCoreApplication::postEvent(app().document, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        }
    });
    look.start(5);
    const auto job = stuckHalfway();
    OpenPictureFile(other, job);

    EXPECT_TRUE(barShown);
    EXPECT_TRUE(job->progress().cancel().wasCancelled());
    EXPECT_TRUE(DocumentState::of(t) == before);
    EXPECT_TRUE(t.services().messages.shown.empty());
    EXPECT_FALSE(t.main().progressBarVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Damaged files decoded on the worker give the messages they always gave,
// and change nothing; the next good file opens in the designed order.
TEST(PictureWait, DamagedFilesOnTheWorkerGiveTheirMessages)
{
    TestApp t;
    QTemporaryDir dir;
    const QString earlier = openEarlierDocument(t, dir);
    const DocumentState before = DocumentState::of(t);
    const QByteArray png = PngBytes({2, 8}, QSize(300, 200));
    const QByteArray jpeg = EncodedWithQt(PlainPicture(QSize(300, 200), Qt::blue), "jpg");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"cut.png", png.left(png.size() / 2), "Invalid picture: Unable to read image data"},
        {"cut.jpg", jpeg.left(jpeg.size() * 2 / 3), "Invalid picture: The file ends before the picture does"},
    };
    for (const auto& c : cases) {
        t.services().messages.answer(MessageAnswer::Ok);
        import(t, writeFile(dir, QString::fromLatin1(c.name), c.bytes));
        ASSERT_FALSE(t.services().messages.shown.empty()) << c.name;
        EXPECT_EQ(t.services().messages.shown.back().text,
                  QStringLiteral("Error #  321 was generated. \r") + QLatin1String(c.message));
        EXPECT_TRUE(DocumentState::of(t) == before) << c.name;
    }
    const QString good = writeFile(dir, QStringLiteral("good.png"), png);
    import(t, good);
    EXPECT_EQ(surface().picture().image.size(), QSize(300, 200));
    EXPECT_EQ(surface().markerCount(), 0);
    EXPECT_EQ(appState().DataFileName, QString());
    EXPECT_EQ(panel(t, 2), good);
    EXPECT_EQ(panel(t, 3), QStringLiteral("X Value"));
}

// Another program's picture file on the clipboard decodes on the worker;
// one that cannot be read is said aloud and changes nothing.
TEST(PictureWait, PicturesOfOtherProgramsPasteFromTheWorker)
{
    TestApp t;
    QTemporaryDir dir;
    openEarlierDocument(t, dir);
    const DocumentState before = DocumentState::of(t);
    const QByteArray png = PngBytes({2, 8}, QSize(300, 200));

    t.services().clipboard.storedFile = png.left(png.size() / 2);
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuPicturePaste"));
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    EXPECT_EQ(t.services().messages.shown.back().text,
              QStringLiteral("Error #  321 was generated. \rInvalid picture: the clipboard's picture cannot be read"));
    EXPECT_TRUE(DocumentState::of(t) == before);

    t.services().clipboard.storedFile = png;
    t.run(QStringLiteral("mnuPicturePaste"));
    EXPECT_EQ(surface().picture().image, QImage::fromData(png, "png"));
    EXPECT_EQ(surface().picture().kind, PictureKind::Bitmap);
    EXPECT_EQ(surface().markerCount(), 0);
    EXPECT_EQ(panel(t, 2), QStringLiteral("Clipboard Picture"));
}
