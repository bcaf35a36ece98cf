// The document window: its layout, scroll bars and keys, and the zoom of its view.
#include "PictureWindow.h"

#include <QComboBox>
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

QStringList gridTexts(int from)
{
    QStringList texts;
    const auto& rows = app().data->grid().rows();
    for (int r = from; r < rows.rowCount(); ++r)
        texts << rows.cell(r, 1) + rows.cell(r, 2);
    return texts;
}

} // namespace

// The bars show only where the picture overhangs; scrolling moves the
// picture, not its readings; Picture4 hides the image toolbar and the
// viewport takes its place. Esc (when EscUndo says so) and the Undo Last
// Point button take the last point away.
TEST(DocumentWindow, ScrollsWhereThePictureOverhangsAndEscRemovesTheLastPoint)
{
    TestApp t;
    DocumentWindow& d = document();
    paste(t, PlainPicture(QSize(120, 80)));
    EXPECT_FALSE(d.horizontalScrollBar()->isVisible() || d.verticalScrollBar()->isVisible());

    for (int i = 0; i < 3; ++i)
        app().data->AppendPointRow({1.0 + i, true}, {2.0 + i, true});
    t.activate(&document());
    for (const bool escUndo : {false, true}) {
        appState().EscUndo = escUndo;
        QTest::keyClick(&surface(), Qt::Key_Escape);
        EXPECT_EQ(gridRows(), escUndo ? 3 : 4); // the header row counts
    }
    QTest::mouseClick(d.labelButton(1), Qt::LeftButton);
    EXPECT_EQ(gridRows(), 2);

    PictureSurface& s = paste(t, PlainPicture(QSize(3000, 2000)));
    EXPECT_TRUE(d.horizontalScrollBar()->isVisible() && d.verticalScrollBar()->isVisible());
    QSignalSpy pressed(&s, &PictureSurface::mousePressed);
    d.horizontalScrollBar()->setValue(1400);
    d.verticalScrollBar()->setValue(1100);
    EXPECT_EQ(s.pos(), QPoint(-1400, -1100));
    QTest::mouseClick(&s, Qt::LeftButton, Qt::NoModifier, QPoint(1500, 1200));
    ASSERT_EQ(pressed.size(), 1);
    const auto p = pressed[0].at(0).value<FramePoint>();
    EXPECT_FLOAT_EQ(p.x, 5.0f);         // 1500 of 3000 across 0 ... 10
    EXPECT_FLOAT_EQ(p.y, 10.0f - 6.0f); // 1200 of 2000 down 10 ... 0

    const int fullHeight = d.viewport()->height();
    QTest::mouseClick(d.findChild<QWidget*>(QStringLiteral("Picture4")), Qt::LeftButton);
    EXPECT_FALSE(t.main().action(QStringLiteral("mnuViewImageToolbar"))->isChecked());
    EXPECT_EQ(d.viewport()->height(), fullHeight + d.imageToolbar()->height());
    EXPECT_EQ(d.verticalScrollBar()->maximum(), 2000 - d.viewport()->height());
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
    t.activate(&document());
    surface().setFocus();
    TestApp::settle();
    QTest::keyClick(&surface(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(box->currentText(), QStringLiteral("150%"));
    QTest::keyClick(&surface(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(surface().size(), size);

    AppState& s = appState();
    s.ARDataColor = Rgb(250, 0, 0);
    s.ARRows = s.ARCols = 30;
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
    const QPoint at(120, 200);
    const QPoint under = at - surface().pos();
    for (int step = 0; step < 3; ++step) {
        QWheelEvent event(at, document().viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(document().viewport(), &event);
    }
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

    // A click covers one picture pixel: the stored point lies on it.
    const int rows = gridRows();
    const QPoint onSurface = QPoint(197, 149) - surface().pos();
    QTest::mouseClick(&surface(), Qt::LeftButton, Qt::NoModifier, onSurface);
    ASSERT_EQ(gridRows(), rows + 1);
    const auto& row = app().data->grid().rows();
    EXPECT_EQ(std::lround(row.cell(rows, 1).toDouble() * size.width() / 10), onSurface.x() / 3);
    EXPECT_EQ(std::lround((10 - row.cell(rows, 2).toDouble()) * size.height() / 10), onSurface.y() / 3);
}
