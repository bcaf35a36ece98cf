#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"
#include "zoom/widgets/ZoomWindow.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

constexpr QRgb Grey = 0xFF808080;

QRgb Centre(const ZoomWindow* zoom)
{
    const QImage& view = zoom->view();
    return view.pixel(view.width() / 2, view.height() / 2);
}

// A screen whose every pixel tells its position.
QImage PositionScreen(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
    return image;
}

// A pointer move as the window system reports it, without moving the
// shared pointer of the X server.
void MoveOver(QWidget* widget, QPoint position)
{
    QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// A program whose zoom ticks by hand over a screen of the given picture.
struct ZoomApp {
    TestApp t;
    ZoomWindow* zoom = app().zoom;
    explicit ZoomApp(const QImage& screen, QPoint cursor)
    {
        zoom->timer()->stop();
        t.services().screen.real = false;
        t.services().screen.picture = screen;
        t.services().screen.cursor = cursor;
        appState().MouseOverPicture = true;
    }
};

// A platform that will not show its screen, as a Wayland session.
class RefusingScreen final : public ScreenService {
public:
    QImage grab(const QRect&) override { return {}; }
    QRect geometry() const override { return QGuiApplication::primaryScreen()->geometry(); }
    QPoint cursorPos() const override { return pointer; }
    QPoint pointer;
};

} // namespace

// Shown at 250 % with grid and cross-hair, 2200 twips square, its left edge
// 1.5 widths (3300 twips) from the screen's right; it keeps its minimum
// size, and closing it or the command hides it with its timer.
TEST(ZoomWindow, StartsShownAt250PercentAndHidesWithItsTimer)
{
    TestApp t;
    ZoomWindow* zoom = app().zoom;
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(Child<QLineEdit>(zoom, "txtZoom")->text(), QStringLiteral("250%"));
    EXPECT_FLOAT_EQ(zoom->zoom(), 2.5f);
    EXPECT_TRUE(Child<QToolButton>(zoom, "chkGrid")->isChecked());
    // The cross-hair crosses at the centre of the picture area.
    auto* view = Child<QWidget>(zoom, "picZoom");
    auto* lineH = Child<QFrame>(zoom, "LineH");
    auto* lineV = Child<QFrame>(zoom, "LineV");
    EXPECT_TRUE(lineH->isVisible() && lineV->isVisible());
    EXPECT_EQ(lineH->geometry(), QRect(0, view->height() / 2, view->width(), 1));
    EXPECT_EQ(lineV->geometry(), QRect(view->width() / 2, 0, 1, view->height()));
    EXPECT_EQ(zoom->view().size(), view->size());
    auto* frame = qobject_cast<QMdiSubWindow*>(zoom->parentWidget());
    ASSERT_NE(frame, nullptr);
    TestApp::settle();
    EXPECT_EQ(frame->size(), QSize(147, 147));
    // Whatever size the main window has yet: no window manager maximises it here.
    EXPECT_EQ(frame->x(), zoom->screen()->geometry().width() - 220);

    frame->resize(300, 60);
    EXPECT_EQ(frame->size(), QSize(300, 112));
    QAction* menu = t.main().action(QStringLiteral("mnuViewZoom"));
    const auto expectShown = [&](bool shown) {
        EXPECT_EQ(menu->isChecked(), shown);
        EXPECT_EQ(frame->isVisible(), shown);
        EXPECT_EQ(zoom->timer()->isActive(), shown);
        EXPECT_EQ(appState().MouseOverPicture, shown);
        EXPECT_EQ(app().zoom, zoom); // hidden, not gone
    };
    frame->close();
    TestApp::settle();
    expectShown(false);
    // The menu item shows it again.
    menu->trigger();
    expectShown(true);
}

TEST(ZoomWindow, TypedFactorsAreClampedAndOtherKeysBeep)
{
    TestApp t;
    ZoomWindow* zoom = app().zoom;
    auto* text = Child<QLineEdit>(zoom, "txtZoom");
    auto* bar = Child<QScrollBar>(zoom, "hsbZoom");
    // Typed as a user does, then Enter; Enter leaves the box editing the
    // plain number. The other clamped texts are ZoomFactor's.
    const struct {
        const char* typed;
        int value;
        const char* shown;
    } entries[] = {{"5", 25, "25"}, {"333", 333, "333"}};
    for (const auto& e : entries) {
        bar->setValue(400);
        text->setFocus();
        text->selectAll();
        QTest::keyClicks(text, QString::fromLatin1(e.typed));
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(bar->value(), e.value) << e.typed;
        EXPECT_FLOAT_EQ(zoom->zoom(), e.value / 100.0f) << e.typed;
        EXPECT_EQ(text->text(), QString::fromLatin1(e.shown)) << e.typed;
        EXPECT_EQ(text->selectedText(), QString::fromLatin1(e.shown)) << e.typed;
    }
    QSignalSpy beeps(zoom, &ZoomWindow::keyRefused);
    for (const char key : {'a', '%'})
        QTest::keyClick(text, key);
    EXPECT_EQ(beeps.count(), 2);
    EXPECT_EQ(text->text(), QStringLiteral("333"));
    EXPECT_EQ(bar->value(), 333);
    // No more than four characters are typed.
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("12345"));
    EXPECT_EQ(text->text(), QStringLiteral("1234"));
    // The scroll bar shows its value as "####%".
    bar->setValue(1000);
    EXPECT_EQ(text->text(), QStringLiteral("1000%"));
}

TEST(ZoomWindow, ViewGoesBlackOverTheToolbarAndFollowsThePictureAgain)
{
    ZoomApp z(PositionScreen(QGuiApplication::primaryScreen()->geometry().size()), QPoint(700, 300));
    z.zoom->tmrZoom_Timer();
    EXPECT_EQ(Centre(z.zoom), qRgb(700 % 256, 300, 2 * 16 + 1));
    // Over the toolbar's empty end the view turns black at the next tick.
    QToolBar* bar = z.t.main().toolBar();
    MoveOver(bar, QPoint(bar->width() - 5, bar->height() / 2));
    EXPECT_FALSE(appState().MouseOverPicture);
    z.zoom->tmrZoom_Timer();
    const QImage& view = z.zoom->view();
    for (int y = 0; y < view.height(); y += 7)
        for (int x = 0; x < view.width(); x += 7)
            ASSERT_EQ(view.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
    // Back over the picture it shows the pixels around the pointer again.
    PictureSurface* surface = app().document->surface();
    surface->setPicture(Picture{PlainPicture(QSize(300, 200)), PictureKind::Bitmap, {}});
    TestApp::settle();
    MoveOver(surface, QPoint(20, 30));
    EXPECT_TRUE(appState().MouseOverPicture);
    z.t.services().screen.cursor = QPoint(701, 302);
    z.zoom->tmrZoom_Timer();
    EXPECT_EQ(Centre(z.zoom), qRgb(701 % 256, 302 % 256, 2 * 16 + 1));
}

TEST(ZoomWindow, GridBoxHidesCrossHairAndGrid)
{
    QImage cyan(QGuiApplication::primaryScreen()->geometry().size(), QImage::Format_RGB32);
    cyan.fill(Qt::darkCyan);
    ZoomApp z(cyan, QPoint(400, 400));
    Child<QScrollBar>(z.zoom, "hsbZoom")->setValue(500);
    const QRgb paper = QColor(Qt::darkCyan).rgb();
    auto* box = Child<QToolButton>(z.zoom, "chkGrid");
    const struct {
        bool click, lines;
        QRgb corner, gridPixel;
    } steps[] = {{false, true, Grey, Grey}, {true, false, paper, paper}};
    for (const auto& s : steps) {
        if (s.click)
            QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(Child<QFrame>(z.zoom, "LineV")->isVisible(), s.lines);
        EXPECT_EQ(Child<QFrame>(z.zoom, "LineH")->isVisible(), s.lines);
        z.zoom->tmrZoom_Timer(); // the pointer rests, yet the click asked for a redraw
        EXPECT_EQ(z.zoom->view().pixel(0, 0), s.corner);
        EXPECT_EQ(z.zoom->view().pixel(5, 1), s.gridPixel);
        EXPECT_EQ(z.zoom->view().pixel(2, 2), paper);
    }
}

TEST(ZoomWindow, WithoutScreenPixelsItMagnifiesThePictureUnderThePointer)
{
    TestApp t;
    ZoomWindow* zoom = app().zoom;
    zoom->timer()->stop();
    PictureSurface* surface = app().document->surface();
    const QImage picture = PositionScreen(QSize(320, 240));
    surface->setPicture(Picture{picture, PictureKind::Bitmap, {}});
    TestApp::settle();
    RefusingScreen refusing;
    refusing.pointer = surface->mapToGlobal(QPoint(50, 40));
    ScreenService* previous = services().screen;
    services().screen = &refusing;
    appState().MouseOverPicture = true;
    zoom->tmrZoom_Timer();
    services().screen = previous;
    EXPECT_EQ(Centre(zoom), picture.pixel(50, 40));
    // One pixel to the right of the centre pixel lies 2 or 3 view pixels on.
    const QImage& view = zoom->view();
    const int cx = view.width() / 2, cy = view.height() / 2;
    EXPECT_TRUE(view.pixel(cx + 3, cy) == picture.pixel(51, 40) || view.pixel(cx + 2, cy) == picture.pixel(51, 40));
}
