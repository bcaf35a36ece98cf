// The scanner command and its source dialog, and the screen capture window.
#include "acquire/CaptureGeometry.h"
#include "acquire/InstalledScanner.h"
#include "acquire/widgets/CaptureWindow.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"
#include "zoom/widgets/ZoomWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

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

// A stand-in screen whose pixels tell their positions apart.
QImage PositionScreen()
{
    QImage image(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, x / 256 * 64 + y / 256));
    return image;
}

CaptureWindow* captureWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* capture = qobject_cast<CaptureWindow*>(w); capture && capture->isVisible())
            return capture;
    }
    return nullptr;
}

// Runs the command over a stand-in screen and presses OK: after the delay
// the frozen screen shows.
CaptureWindow* freezeScreen(TestApp& t, const QImage& screen = PositionScreen())
{
    t.services().screen.real = false;
    t.services().screen.picture = screen;
    t.run(QStringLiteral("mnuPictureCapture"));
    CaptureWindow* w = captureWindow();
    if (!w)
        return nullptr;
    t.services().messages.answer(MessageAnswer::Ok);
    QTest::mouseClick(w->okButton(), Qt::LeftButton);
    return captureWindow();
}

void press(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(w, button, Qt::NoModifier, at);
}

// The pointer moving with no button held, as the window sees it.
void moveTo(QWidget* w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

bool zoomFollows()
{
    return app().zoom->timer()->isActive();
}

} // namespace

// A page becomes the document's picture; a source once chosen stays the
// current one when the dialog is cancelled. Without a scanner or with a
// library error the clipboard and the document stay; a scan that gives no
// image (Cancel in the progress dialog) pastes the clipboard it cleared first.
TEST(ScannerCommand, APageBecomesTheDocumentPictureAndEveryFailureSaysItsMessage)
{
    TestApp t;
    {
        InstalledScanner s;
        s.library.page = {ColourRamp(6, 4)};
        s.choices = {QStringLiteral("fake:1"), std::nullopt};
        t.main().tbToolBar_ButtonClick(QStringLiteral("Scanner"));
        EXPECT_EQ(s.offers[0].names, (QStringList{QStringLiteral("fake:0"), QStringLiteral("fake:1")}));
        EXPECT_EQ(documentPicture().pixel(5, 3), qRgb(5, 3, 8));
        t.run(QStringLiteral("mnuPictureScanner"));
        EXPECT_EQ(s.offers[1].current, QStringLiteral("fake:1"));
        EXPECT_EQ(s.library.opened, (QStringList{QStringLiteral("fake:1"), QStringLiteral("fake:1")}));
    }

    bool sawModalProgress = false;
    struct Failure {
        const char* what;
        std::function<void(InstalledScanner&)> arrange;
        QString text;
        MessageIcon icon;
        bool cleared;
    };
    const Failure failures[] = {
        {"library does not start", [](InstalledScanner& s) { s.library.starts_ = false; },
         QStringLiteral("Scanner not available."), MessageIcon::Critical, false},
        {"library failure",
         [](InstalledScanner& s) { s.library.failure = AppError{ScanLibraryFailure, QStringLiteral("Out of memory")}; },
         QStringLiteral("Error #  48 was generated. \rOut of memory"), MessageIcon::Exclamation, false},
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
         },
         QStringLiteral("No image was acquired or transfer to the clipboard failed."), MessageIcon::Information, true},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        InstalledScanner s;
        f.arrange(s);
        app().document->surface()->setPicture({marker(), PictureKind::Bitmap, {}});
        t.services().clipboard.setImage(marker());
        t.services().messages.shown.clear();
        t.services().messages.answer(MessageAnswer::Ok);

        t.run(QStringLiteral("mnuPictureScanner"));

        ASSERT_EQ(t.services().messages.shown.size(), 1u);
        EXPECT_EQ(t.services().messages.shown[0].text, f.text);
        EXPECT_EQ(t.services().messages.shown[0].icon, f.icon);
        EXPECT_EQ(t.services().clipboard.image(), f.cleared ? QImage() : marker());
        EXPECT_EQ(documentPicture(), f.cleared ? QImage() : marker());
        EXPECT_FALSE(s.library.running) << "every start is stopped";
    }
    EXPECT_TRUE(sawModalProgress);
}

// From the command to the document's picture: the delay, the frozen screen,
// the area taken from its far corner. Esc before OK and a flat area capture
// nothing.
TEST(CaptureWindow, FromTheCommandToTheCapturedPicture)
{
    TestApp t;
    const QImage screen = PositionScreen();
    t.run(QStringLiteral("mnuPictureCapture"));
    QPointer<CaptureWindow> open = captureWindow();
    ASSERT_FALSE(open.isNull());
    EXPECT_TRUE(open->isModal());
    EXPECT_FALSE(zoomFollows());
    QTest::keyClick(open->okButton(), Qt::Key_Escape);
    TestApp::settle();
    EXPECT_TRUE(open.isNull());
    EXPECT_TRUE(zoomFollows());
    EXPECT_EQ(t.services().clock.elapsed, 0);

    // The wait is 5 seconds from a start rounded to the whole second.
    t.services().clock.current = QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9, 600));
    CaptureWindow* w = freezeScreen(t, screen);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(t.services().clock.elapsed, CaptureWaitMs(QTime(14, 5, 9, 600), 5));
    EXPECT_EQ(w->frozenScreen(), screen);

    // The area from the bottom-right corner; any button sets the first corner.
    const QRect area(330, 260, 140, 70);
    press(w, area.topLeft() + QPoint(140, 70), Qt::RightButton);
    moveTo(w, area.topLeft());
    press(w, area.topLeft());
    TestApp::settle();
    EXPECT_EQ(captureWindow(), nullptr);
    EXPECT_EQ(t.services().clipboard.storedImage, screen.copy(area));
    EXPECT_EQ(documentPicture(), screen.copy(area));
    EXPECT_TRUE(zoomFollows());
    t.services().expectScriptsUsed();

    // A rectangle without width or without height captures nothing.
    for (const QPoint second : {QPoint(200, 180), QPoint(280, 100)}) {
        w = freezeScreen(t);
        ASSERT_NE(w, nullptr);
        press(w, QPoint(200, 100));
        press(w, second);
        TestApp::settle();
        EXPECT_EQ(captureWindow(), nullptr);
        EXPECT_EQ(t.services().clipboard.storedImage, screen.copy(area));
        EXPECT_EQ(documentPicture(), screen.copy(area));
    }
}
