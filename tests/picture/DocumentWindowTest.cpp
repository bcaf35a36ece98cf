// The document window: its layout, scroll bars, label buttons and keys, and
// the zoom of its view.
#include "PictureWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QWheelEvent>

using namespace tracella;
using namespace tracella::test;

namespace {

// A picture whose every pixel tells where it is, with a dark curve.
QImage positionPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 200));
    for (int x = 0; x < size.width(); ++x)
        for (int band = -6; band <= 6; ++band)
            image.setPixel(x, size.height() / 2 + (x % 7) + band, qRgb(250, 0, 0));
    return image;
}

PictureSurface& paste(TestApp& t, const QImage& image)
{
    PictureSurface& s = t.paste(image);
    TestApp::settle();
    return s;
}

// The picture pixel a frame position of the base frame lands on.
QPoint pixelOf(QPointF frame, QSize picture)
{
    return {static_cast<int>(std::lround(frame.x() * picture.width() / 10)),
            static_cast<int>(std::lround((10 - frame.y()) * picture.height() / 10))};
}

QStringList gridTexts(int from)
{
    QStringList texts;
    const auto& rows = app().data->grid().rows();
    for (int r = from; r < rows.rowCount(); ++r)
        texts << rows.cell(r, 1) + rows.cell(r, 2);
    return texts;
}

void wheel(QWidget* target, QPoint at, int delta, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

// The window takes its share of the screen; the viewport leaves room for both
// bars, shown or not; they show only where the picture overhangs, and
// scrolling moves the picture, not its readings.
TEST(DocumentWindow, LoadsWithTheImageToolbarOnTopAndScrollsWhereThePictureOverhangs)
{
    TestApp t;
    DocumentWindow& d = document();
    const QRect screen = t.services().screen.geometry();
    const QWidget* outer = d.parentWidget();
    EXPECT_EQ(outer->width(), static_cast<int>(0.53 * screen.width()));
    EXPECT_EQ(outer->height(), static_cast<int>(0.45 * screen.height()));

    // The strip runs along the top, the viewport below it.
    EXPECT_EQ(d.viewport()->y(), d.imageToolbar()->height());
    // Which bar shows for which size is DocumentLayout's to check.
    for (const bool large : {false, true}) {
        const QSize size = large ? QSize(3000, 2000) : QSize(120, 80);
        EXPECT_EQ(paste(t, PlainPicture(size)).geometry(), QRect(QPoint(0, 0), size));
        EXPECT_EQ(d.horizontalScrollBar()->isVisible(), large);
        EXPECT_EQ(d.verticalScrollBar()->isVisible(), large);
        EXPECT_EQ(d.horizontalScrollBar()->maximum(), large ? 3000 - d.viewport()->width() : 0);
    }

    PictureSurface& s = surface();
    QSignalSpy pressed(&s, &PictureSurface::mousePressed);
    const QPoint pixel(1500, 1200);
    d.horizontalScrollBar()->setValue(1400);
    d.verticalScrollBar()->setValue(1100);
    EXPECT_EQ(s.pos(), QPoint(-1400, -1100));
    QTest::mouseClick(&s, Qt::LeftButton, Qt::NoModifier, pixel);
    d.horizontalScrollBar()->setValue(0);
    QTest::mouseClick(&s, Qt::LeftButton, Qt::NoModifier, pixel);
    ASSERT_EQ(pressed.size(), 2);
    for (const QList<QVariant>& press : pressed) {
        const auto p = press.at(0).value<FramePoint>();
        EXPECT_FLOAT_EQ(p.x, 5.0f);         // 1500 of 3000 across 0 ... 10
        EXPECT_FLOAT_EQ(p.y, 10.0f - 6.0f); // 1200 of 2000 down 10 ... 0
    }

    // Picture4 hides the image toolbar and the viewport takes its place.
    QAction* item = t.main().action(QStringLiteral("mnuViewImageToolbar"));
    ASSERT_TRUE(item->isChecked());
    const int fullHeight = d.viewport()->height();
    QTest::mouseClick(d.findChild<QWidget*>(QStringLiteral("Picture4")), Qt::LeftButton);
    EXPECT_TRUE(d.imageToolbar()->isHidden());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(d.viewport()->y(), 0);
    EXPECT_EQ(d.viewport()->height(), fullHeight + d.imageToolbar()->height());
    EXPECT_EQ(d.verticalScrollBar()->maximum(), 2000 - d.viewport()->height());
}

// Esc and the Undo Last Point button take the last point away; the mouse off
// the picture, or the focus off the window, stops the zoom following.
TEST(DocumentWindow, EscRemovesTheLastPointAndTheMouseOffThePictureStopsTheZoom)
{
    TestApp t;
    DocumentWindow& d = document();
    PictureSurface& s = paste(t, PlainPicture(QSize(50, 40)));
    for (int i = 0; i < 3; ++i)
        app().data->AppendPointRow({1.0 + i, true}, {2.0 + i, true});
    ASSERT_EQ(gridRows(), 4);
    t.activate(&document());

    appState().EscUndo = true;
    QTest::keyClick(&s, Qt::Key_Escape);
    EXPECT_EQ(gridRows(), 3);
    EXPECT_EQ(app().data->grid().rows().cell(2, 0).trimmed(), QStringLiteral("2"));
    appState().EscUndo = false;
    QTest::keyClick(&s, Qt::Key_Escape);
    EXPECT_EQ(gridRows(), 3);
    // The button works whatever EscUndo says, and leaves it as it was.
    QTest::mouseClick(d.labelButton(1), Qt::LeftButton);
    EXPECT_EQ(gridRows(), 2);
    EXPECT_FALSE(appState().EscUndo);
    EXPECT_TRUE(s.hasFocus());
    EXPECT_TRUE(t.services().messages.shown.empty()); // no question from the picture window

    AppState& state = appState();
    const auto moveOver = [&state](QWidget* w, QPoint at) {
        state.MouseOverPicture = true;
        QTest::mouseMove(w, at);
        TestApp::settle();
        return state.MouseOverPicture;
    };
    EXPECT_FALSE(moveOver(d.viewport(), QPoint(200, 150))); // the viewport beyond the picture
    EXPECT_FALSE(moveOver(d.imageToolbar(), QPoint(300, 10)));
    d.surface()->setFocus();
    TestApp::settle();
    state.MouseOverPicture = true;
    app().data->setFocus();
    TestApp::settle();
    EXPECT_FALSE(state.MouseOverPicture);
}

// The zoom from the keys, the wheel and the zoom box changes only the view:
// the pixel under the pointer stays put, clicks pick the picture pixel under
// them, and Copy and AutoRead give what they give at 100 %, the enlarged view
// being the composed picture in crisp blocks.
TEST(PictureZoom, KeysWheelAndZoomBoxChangeOnlyTheView)
{
    TestApp t;
    // Higher than the viewport only from 200 %: on the way there it cannot move up or down.
    const QSize size(640, 300);
    paste(t, positionPicture(size));
    QComboBox* box = document().zoomBox();
    ASSERT_NE(box, nullptr);

    t.activate(&document());
    surface().setFocus();
    TestApp::settle();
    QTest::keyClick(&surface(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(box->currentText(), QStringLiteral("150%"));
    QTest::keyClick(&surface(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(&surface(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(box->currentText(), QStringLiteral("67%"));
    QTest::keyClick(&surface(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(box->currentText(), QStringLiteral("100%"));
    EXPECT_EQ(surface().size(), size);
    EXPECT_EQ(gridRows(), 1); // no point was taken on the way

    AppState& s = appState();
    s.ARDataColor = Rgb(250, 0, 0);
    s.ARRows = 30;
    s.ARCols = 30;
    const auto readAndCopy = [&t](QStringList& texts) {
        const int from = gridRows();
        t.services().messages.answer(MessageAnswer::Ok); // the sweep's report
        t.run(QStringLiteral("mnuDataAR"));
        t.run(QStringLiteral("mnuViewRefresh"));
        t.run(QStringLiteral("mnuPictureCopy"));
        texts = gridTexts(from);
        return t.services().clipboard.image();
    };
    QStringList natural, zoomed;
    const QImage naturalCopy = readAndCopy(natural);
    ASSERT_GT(natural.size(), 5);

    // Ctrl+wheel zooms about the pointer: the picture pixel under it stays put.
    ASSERT_LT(300 * 1.5, document().viewport()->height());
    ASSERT_GT(300 * 2, document().viewport()->height());
    const QPoint at(120, 200);
    const QPoint under = at - surface().pos();
    for (int step = 0; step < 3; ++step)
        wheel(document().viewport(), at, 120, Qt::ControlModifier);
    EXPECT_EQ(surface().zoom().text(), QStringLiteral("300%"));
    const QPoint nowUnder = at - surface().pos();
    EXPECT_NEAR(nowUnder.x() / 3.0, under.x(), 1.0);
    EXPECT_NEAR(nowUnder.y() / 3.0, under.y(), 1.0);

    const QImage copy = readAndCopy(zoomed);
    EXPECT_EQ(zoomed, natural);
    EXPECT_EQ(copy, naturalCopy);
    const QImage view = surface().grab(QRect(0, 0, 600, 300)).toImage();
    for (int y = 0; y < 300; y += 3)
        for (int x = 0; x < 600; x += 5)
            ASSERT_EQ(QColor(view.pixel(x, y)), QColor(copy.pixel(x / 3, y / 3))) << x << "," << y;

    // A click covers one picture pixel: the stored point and the marker lie on it.
    for (QPoint click : {QPoint(13, 17), QPoint(197, 149)}) {
        const int rows = gridRows();
        const QPoint onSurface = click - surface().pos();
        QTest::mouseClick(&surface(), Qt::LeftButton, Qt::NoModifier, onSurface);
        ASSERT_EQ(gridRows(), rows + 1);
        const auto& row = app().data->grid().rows();
        const QPoint picked = pixelOf(QPointF(row.cell(rows, 1).toDouble(), row.cell(rows, 2).toDouble()), size);
        EXPECT_EQ(picked, QPoint(onSurface.x() / 3, onSurface.y() / 3)) << click.x();
        const Colour c = appState().PointsColor;
        EXPECT_EQ(QColor(surface().composedImage().pixel(picked)), QColor(RedOf(c), GreenOf(c), BlueOf(c)));
    }

    // A typed zoom is clamped; the picture stays as it was.
    box->lineEdit()->setText(QStringLiteral("5000"));
    emit box->lineEdit()->editingFinished();
    EXPECT_EQ(box->currentText(), QStringLiteral("1600%"));
    EXPECT_EQ(surface().size(), size * 16);
    EXPECT_EQ(surface().pictureSize(), size);
}
