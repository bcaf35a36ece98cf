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

// Shown at 250 % with grid and cross-hair, 2200 twips square, its left edge
// 1.5 widths from the screen's right; the command hides it with its timer.
// Typed factors are clamped, other keys beep, four digits at most.
TEST(ZoomWindow, StartsAt250PercentTakesTypedFactorsAndHidesWithItsTimer)
{
    TestApp t;
    ZoomWindow* zoom = app().zoom;
    auto* text = Child<QLineEdit>(zoom, "txtZoom");
    auto* bar = Child<QScrollBar>(zoom, "hsbZoom");
    EXPECT_EQ(text->text(), QStringLiteral("250%"));
    auto* view = Child<QWidget>(zoom, "picZoom");
    EXPECT_EQ(Child<QFrame>(zoom, "LineV")->geometry(), QRect(view->width() / 2, 0, 1, view->height()));
    auto* frame = qobject_cast<QMdiSubWindow*>(zoom->parentWidget());
    TestApp::settle();
    EXPECT_EQ(frame->size(), QSize(147, 147));
    EXPECT_EQ(frame->x(), zoom->screen()->geometry().width() - 220);

    // Typed as a user does, then Enter, which leaves the plain number.
    for (const auto& [typed, value] : {std::pair{"5", 25}, {"333", 333}}) {
        text->setFocus();
        text->selectAll();
        QTest::keyClicks(text, QString::fromLatin1(typed));
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(bar->value(), value) << typed;
        EXPECT_EQ(text->text(), QString::number(value)) << typed;
    }
    QSignalSpy beeps(zoom, &ZoomWindow::keyRefused);
    QTest::keyClick(text, '%');
    EXPECT_EQ(beeps.count(), 1);
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("12345"));
    EXPECT_EQ(text->text(), QStringLiteral("1234"));
    bar->setValue(1000);
    EXPECT_EQ(text->text(), QStringLiteral("1000%"));

    t.main().action(QStringLiteral("mnuViewZoom"))->trigger();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(zoom->timer()->isActive());
    EXPECT_FALSE(appState().MouseOverPicture);
}

// Over the toolbar the view turns black at the next tick; back over the
// picture it shows the pixels around the pointer again; the grid box hides
// cross-hair and grid; without screen pixels it magnifies the picture.
TEST(ZoomWindow, ViewFollowsThePointerOverThePictureOnly)
{
    TestApp t;
    ZoomWindow* zoom = app().zoom;
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
    auto* bar = Child<QScrollBar>(zoom, "hsbZoom");
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
}
