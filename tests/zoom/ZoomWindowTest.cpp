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
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tracella;
using namespace tracella::test;

namespace {

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

// A platform that will not show its screen, as a Wayland session.
class RefusingScreen final : public ScreenService {
public:
    QImage grab(const QRect&) override { return {}; }
    QRect geometry() const override { return QGuiApplication::primaryScreen()->geometry(); }
    QPoint cursorPos() const override { return pointer; }
    QPoint pointer;
};

} // namespace

// Shown at 250 %; typed factors are clamped, other keys beep, four digits
// at most. Over the toolbar the view turns black at the next tick; over the
// picture it shows the pixels around the pointer; the grid box hides
// cross-hair and grid; without screen pixels it magnifies the picture. The
// command hides it with its timer.
TEST(ZoomWindow, FollowsThePointerOverThePictureAtTheTypedFactor)
{
    TestApp t;
    ZoomWindow* zoom = app().zoom;
    auto* text = Child<QLineEdit>(zoom, "txtZoom");
    auto* bar = Child<QScrollBar>(zoom, "hsbZoom");
    EXPECT_EQ(text->text(), QStringLiteral("250%"));
    // Typed as a user does, then Enter, which leaves the plain number.
    text->setFocus();
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("5"));
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(bar->value(), 25);
    EXPECT_EQ(text->text(), QStringLiteral("25"));
    QSignalSpy beeps(zoom, &ZoomWindow::keyRefused);
    QTest::keyClick(text, '%');
    EXPECT_EQ(beeps.count(), 1);
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("12345"));
    EXPECT_EQ(text->text(), QStringLiteral("1234"));
    bar->setValue(250);

    zoom->timer()->stop();
    t.services().screen.real = false;
    t.services().screen.picture = PositionScreen(QGuiApplication::primaryScreen()->geometry().size());
    t.services().screen.cursor = QPoint(700, 300);
    appState().MouseOverPicture = true;
    zoom->tmrZoom_Timer();
    EXPECT_EQ(Centre(zoom), qRgb(700 % 256, 300, 2 * 16 + 1));
    QToolBar* toolBar = t.main().toolBar();
    MoveOver(toolBar, QPoint(toolBar->width() - 5, toolBar->height() / 2));
    zoom->tmrZoom_Timer();
    EXPECT_EQ(Centre(zoom), qRgb(0, 0, 0));

    PictureSurface* surface = app().document->surface();
    const QImage picture = PositionScreen(QSize(320, 240));
    surface->setPicture(Picture{picture, PictureKind::Bitmap, {}});
    TestApp::settle();
    MoveOver(surface, QPoint(20, 30));
    t.services().screen.cursor = QPoint(701, 302);
    zoom->tmrZoom_Timer();
    EXPECT_EQ(Centre(zoom), qRgb(701 % 256, 302 % 256, 2 * 16 + 1));
    bar->setValue(500);
    zoom->tmrZoom_Timer();
    EXPECT_EQ(zoom->view().pixel(0, 0), 0xFF808080u); // the grid
    QTest::mouseClick(Child<QToolButton>(zoom, "chkGrid"), Qt::LeftButton);
    EXPECT_FALSE(Child<QFrame>(zoom, "LineV")->isVisible());
    zoom->tmrZoom_Timer(); // the pointer rests, yet the click asked for a redraw
    EXPECT_NE(zoom->view().pixel(0, 0), 0xFF808080u);
    bar->setValue(250);

    RefusingScreen refusing;
    refusing.pointer = surface->mapToGlobal(QPoint(50, 40));
    ScreenService* previous = services().screen;
    services().screen = &refusing;
    zoom->tmrZoom_Timer();
    services().screen = previous;
    EXPECT_EQ(Centre(zoom), picture.pixel(50, 40));

    zoom->timer()->start();
    t.main().action(QStringLiteral("mnuViewZoom"))->trigger();
    EXPECT_FALSE(zoom->parentWidget()->isVisible());
    EXPECT_FALSE(zoom->timer()->isActive());
}
