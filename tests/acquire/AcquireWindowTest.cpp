// The scanner command and its source dialog, and the screen capture window.
#include "acquire/CaptureGeometry.h"
#include "acquire/InstalledScanner.h"
#include "acquire/widgets/CaptureWindow.h"
#include "acquire/widgets/SourceDialog.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainStatusBar.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"
#include "zoom/widgets/ZoomWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

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

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

// A stand-in screen: white, black, pure red and pure blue quarters.
QImage QuarterScreen()
{
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, 400, 300, QColor(White));
    p.fillRect(400, 0, 400, 300, QColor(Black));
    p.fillRect(0, 300, 400, 300, QColor(255, 0, 0));
    p.fillRect(400, 300, 400, 300, QColor(0, 0, 255));
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

// The stand-in screen for the capture.
void fakeScreen(TestApp& t, const QImage& screen = QuarterScreen())
{
    t.services().screen.real = false;
    t.services().screen.picture = screen;
}

// Runs the command and presses OK: after the delay the frozen screen shows.
CaptureWindow* freezeScreen(TestApp& t)
{
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

QTimer* zoomTimer()
{
    return app().zoom->timer();
}

// Pixels of a colour inside a box of the window as it draws itself.
int pixelsOf(const QImage& drawn, const QRect& box, QRgb colour)
{
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            count += drawn.pixel(x, y) == colour;
    return count;
}

QImage drawnImage(CaptureWindow* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

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

// Each failure has its message. Without a scanner or with a library error the
// clipboard and the document stay; a scan that gives no image (Cancel in the
// progress dialog included) pastes the clipboard it cleared first.
TEST(ScannerCommand, EveryFailureSaysItsMessage)
{
    TestApp t;
    bool sawModalProgress = false;
    struct Failure {
        const char* what;
        std::function<void(InstalledScanner&)> arrange;
        QString text, title;
        MessageIcon icon;
        bool cleared;
    };
    const QString error = QStringLiteral("Error #  48 was generated. \rOut of memory");
    const Failure failures[] = {
        {"library does not start", [](InstalledScanner& s) { s.library.starts_ = false; }, NotAvailable,
         QStringLiteral("Check Scanner Availability"), MessageIcon::Critical, false},
        {"no source found", [](InstalledScanner& s) { s.library.sourceList.clear(); }, NotAvailable,
         QStringLiteral("Check Scanner Availability"), MessageIcon::Critical, false},
        {"library failure",
         [](InstalledScanner& s) { s.library.failure = AppError{ScanLibraryFailure, QStringLiteral("Out of memory")}; },
         error, QStringLiteral("Error"), MessageIcon::Exclamation, false},
        {"no page", [](InstalledScanner& s) { s.library.page = {FakeScanDevice::Frame{std::nullopt, {}}}; },
         NothingAcquired, QString(), MessageIcon::Information, true},
        {"read error",
         [](InstalledScanner& s) {
             FakeScanDevice::Frame jammed = ColourRamp(5, 5);
             jammed.failAtEnd = true;
             s.library.page = {jammed};
         },
         NothingAcquired, QString(), MessageIcon::Information, true},
        {"source does not open", [](InstalledScanner& s) { s.library.opens = false; }, NothingAcquired, QString(),
         MessageIcon::Information, true},
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
         NothingAcquired, QString(), MessageIcon::Information, true},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        InstalledScanner s;
        f.arrange(s);
        app().document->surface()->setPicture({marker(), PictureKind::Bitmap, {}});
        t.services().clipboard.setImage(marker());
        t.services().clipboard.setText(QStringLiteral("kept"));
        t.services().messages.shown.clear();
        t.services().messages.answer(MessageAnswer::Ok);

        t.run(QStringLiteral("mnuPictureScanner"));

        ASSERT_EQ(t.services().messages.shown.size(), 1u);
        ExpectMessage(t.services().messages.shown.front(), f.text, f.title, f.icon);
        EXPECT_EQ(t.services().clipboard.image(), f.cleared ? QImage() : marker());
        EXPECT_EQ(t.services().clipboard.text(), f.cleared ? QString() : QStringLiteral("kept"));
        EXPECT_EQ(documentPicture(), f.cleared ? QImage() : marker());
        if (!f.cleared) {
            EXPECT_TRUE(s.offers.empty()) << "no source dialog";
            EXPECT_TRUE(s.library.opened.isEmpty());
        }
        EXPECT_FALSE(s.library.running) << "every start is stopped";
        EXPECT_FALSE(t.main().findChild<QProgressDialog*>(QStringLiteral("frmScanProgress")));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_TRUE(sawModalProgress);
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

// The capture from the command to the document's picture: the instructions
// and the delay, the frozen screen, the rectangle with its size label, and
// the area taken starting from its far corner.
TEST(CaptureWindow, FromTheCommandToTheCapturedPicture)
{
    TestApp t;
    QImage screen = QuarterScreen();
    for (int i = 0; i < 800; i += 3)
        screen.setPixel(i, i % 600, qRgb(i % 256, 50, 200)); // something to tell positions apart
    fakeScreen(t, screen);
    ASSERT_TRUE(zoomTimer()->isActive());

    t.run(QStringLiteral("mnuPictureCapture"));
    CaptureWindow* w = captureWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), QStringLiteral("frmCaptureNew"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Tracella - Screen Capture"));
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w->isModal());
    EXPECT_EQ(w->instructions()->text().split(QStringLiteral("\r\n")).value(1),
              QStringLiteral("You have 5 seconds to do this after you click OK."));
    EXPECT_EQ(w->findChild<QGroupBox*>(QStringLiteral("frmCapture"))->title(), QStringLiteral("Start Screen Capture"));
    EXPECT_EQ(w->okButton()->text(), QStringLiteral("&Ok"));
    EXPECT_EQ(w->frameGeometry().center(), QRect(0, 0, 800, 600).center());
    EXPECT_FALSE(zoomTimer()->isActive());

    // Cancel and Esc before OK capture nothing and wait for nothing.
    for (const bool cancel : {true, false}) {
        QPointer<CaptureWindow> open = captureWindow();
        ASSERT_FALSE(open.isNull());
        if (cancel)
            QTest::mouseClick(open->cancelButton(), Qt::LeftButton);
        else
            QTest::keyClick(open->okButton(), Qt::Key_Escape);
        TestApp::settle();
        EXPECT_TRUE(open.isNull()) << cancel;
        EXPECT_TRUE(zoomTimer()->isActive()) << cancel;
        t.run(QStringLiteral("mnuPictureCapture"));
    }
    EXPECT_EQ(t.services().clock.elapsed, 0);
    EXPECT_TRUE(t.services().sound.played.empty());

    // The wait is 5 seconds from a start rounded to the whole second (here up).
    t.services().clock.current = QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9, 600));
    w = captureWindow();
    ASSERT_NE(w, nullptr);
    t.services().messages.answer(MessageAnswer::Ok);
    QTest::mouseClick(w->okButton(), Qt::LeftButton);
    EXPECT_EQ(t.services().clock.elapsed, CaptureWaitMs(QTime(14, 5, 9, 600), 5));
    EXPECT_EQ(t.services().sound.played, std::vector<QByteArray>{FileBytes(QStringLiteral(":/sounds/48.wav"))});
    ASSERT_EQ(captureWindow(), w);
    EXPECT_EQ(w->geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(w->frozenScreen(), screen);
    ExpectMessage(t.services().messages.shown.back(),
                  QStringLiteral("Use your mouse to select the area you want to digitize:\r\n"
                                 "- Left button to define area.\r\n- Right button to redefine area."),
                  QStringLiteral("Define Area to Capture"), MessageIcon::Information);

    // Moving before the first corner draws nothing; then the rectangle and its
    // label (black on white, white on black) follow the pointer, the outline
    // in the previous label's colour; a right press takes it away.
    moveTo(w, QPoint(50, 50));
    EXPECT_FALSE(w->selection().has_value());
    QRgb previousLabel = Black; // the default text colour before any label
    for (const auto& [first, label] : {std::pair{QPoint(100, 100), Black}, {QPoint(500, 100), White}}) {
        press(w, first);
        moveTo(w, first + QPoint(120, 45));
        ASSERT_TRUE(w->selection().has_value());
        const CaptureSelection s = *w->selection();
        EXPECT_EQ(s.rect, QRect(first, QSize(120, 45)));
        ASSERT_TRUE(s.labelPosition.has_value());
        EXPECT_EQ(QRect(*s.labelPosition, s.labelSize).center().x(), s.rect.center().x());
        const QImage drawn = drawnImage(w);
        EXPECT_GT(pixelsOf(drawn, QRect(*s.labelPosition, s.labelSize), label), 5);
        // The outline runs along the rectangle's edges, both corners included.
        EXPECT_EQ(drawn.pixel(s.rect.topLeft()), previousLabel);
        EXPECT_EQ(drawn.pixel(s.rect.left() + 120, s.rect.top() + 45), previousLabel);
        previousLabel = label;

        press(w, first + QPoint(120, 45), Qt::RightButton);
        EXPECT_FALSE(w->firstCornerSet());
        EXPECT_EQ(drawnImage(w), screen);
        moveTo(w, first + QPoint(10, 10));
        EXPECT_FALSE(w->selection().has_value());
    }

    // The area from the bottom-right corner, the program hidden meanwhile;
    // any button sets the first corner.
    const QRect area(330, 260, 140, 70);
    const Qt::WindowStates mainState = t.main().windowState();
    t.main().setWindowState(Qt::WindowMinimized);
    press(w, area.topLeft() + QPoint(140, 70), Qt::RightButton);
    EXPECT_TRUE(w->firstCornerSet());
    moveTo(w, area.topLeft());
    press(w, area.topLeft());
    TestApp::settle();
    EXPECT_EQ(captureWindow(), nullptr);
    EXPECT_EQ(t.services().clipboard.storedImage, screen.copy(area));
    EXPECT_EQ(documentPicture(), screen.copy(area));
    EXPECT_EQ(picturePanel(t), QStringLiteral("Clipboard Picture"));
    EXPECT_TRUE(zoomTimer()->isActive());
    EXPECT_EQ(t.main().windowState(), mainState);
    t.services().expectScriptsUsed();
}

// A rectangle without width or without height captures nothing, Esc on the
// frozen screen gives up, and a screen the platform refuses is said: either
// way the window closes and nothing changes.
TEST(CaptureWindow, FlatAreasAndARefusedScreenChangeNothing)
{
    TestApp t;
    fakeScreen(t);
    app().document->surface()->setPicture({marker(), PictureKind::Bitmap, {}});
    t.services().clipboard.setText(QStringLiteral("kept"));
    for (const QPoint second : {QPoint(200, 180), QPoint(280, 100)}) {
        CaptureWindow* w = freezeScreen(t);
        ASSERT_NE(w, nullptr);
        press(w, QPoint(200, 100));
        press(w, second);
        TestApp::settle();
        EXPECT_EQ(captureWindow(), nullptr);
        EXPECT_TRUE(t.services().clipboard.storedImage.isNull());
        EXPECT_EQ(t.services().clipboard.text(), QStringLiteral("kept"));
        EXPECT_EQ(documentPicture(), marker());
    }

    // Esc on the frozen screen gives up.
    QPointer<CaptureWindow> frozen = freezeScreen(t);
    ASSERT_FALSE(frozen.isNull());
    QTest::keyClick(frozen, Qt::Key_Escape);
    TestApp::settle();
    EXPECT_TRUE(frozen.isNull());
    EXPECT_TRUE(zoomTimer()->isActive());

    fakeScreen(t, QImage()); // the platform gives no pixels
    t.services().messages.shown.clear();
    t.run(QStringLiteral("mnuPictureCapture"));
    QPointer<CaptureWindow> w = captureWindow();
    ASSERT_FALSE(w.isNull());
    t.services().messages.answer(MessageAnswer::Ok);
    QTest::mouseClick(w->okButton(), Qt::LeftButton);
    TestApp::settle();
    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    const Message& m = t.services().messages.shown[0];
    EXPECT_EQ(m.title, QStringLiteral("Screen Capture"));
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(m.text.contains(QStringLiteral("Nothing was captured."))) << m.text.toStdString();
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(documentPicture(), marker());
    EXPECT_EQ(t.services().clipboard.text(), QStringLiteral("kept"));
    EXPECT_TRUE(zoomTimer()->isActive());
}

// The real screen of the X server: a window of known pixels is captured.
TEST(CaptureWindow, CapturesAWindowFromTheRealScreen)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "needs an X server (run under xvfb-run)";
    TestApp t;
    t.services().screen.real = true;
    t.services().clipboard.real = true;

    QImage known(160, 90, QImage::Format_RGB32);
    for (int y = 0; y < known.height(); ++y)
        for (int x = 0; x < known.width(); ++x)
            known.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 11) & 0xFF, (x ^ y) & 0xFF));
    // In a corner that other windows of a shared test display leave alone.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QLabel target;
    target.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    target.setPixmap(QPixmap::fromImage(known));
    target.setContentsMargins(0, 0, 0, 0);
    target.setGeometry(QRect(screen.bottomRight() - QPoint(220, 150), known.size()));
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    TestApp::settle(200);

    t.run(QStringLiteral("mnuPictureCapture"));
    CaptureWindow* w = captureWindow();
    ASSERT_NE(w, nullptr);
    target.raise(); // as the user brings the graph forward
    t.services().messages.answer(MessageAnswer::Ok);
    QTest::mouseClick(w->okButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_EQ(w->geometry(), screen);
    const QPoint topLeft = w->mapFromGlobal(target.geometry().topLeft());
    press(w, topLeft);
    moveTo(w, topLeft + QPoint(160, 90));
    press(w, topLeft + QPoint(160, 90));
    EXPECT_EQ(captureWindow(), nullptr);

    const QImage onClipboard = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onClipboard, known);
    EXPECT_EQ(app().document->surface()->picture().image.convertToFormat(QImage::Format_RGB32), known);
    EXPECT_EQ(t.main().statusPanels()->panelText(2), QStringLiteral("Clipboard Picture"));
    t.services().expectScriptsUsed();
}
