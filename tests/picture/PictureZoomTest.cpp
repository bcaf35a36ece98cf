#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"
#include "data/widgets/GridModel.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/TestApp.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace tracella;
using tracella::test::TestApp;

namespace {

DocumentWindow& document()
{
    return *app().document;
}

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

PictureSurface& surface()
{
    return TestApp::surface();
}

void paste(TestApp& t, const QImage& image)
{
    t.paste(image);
    TestApp::settle();
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

// Clicks at 400 % and at 25 % land on the picture pixel under the pointer,
// with the marker on that pixel, at any scroll position.
TEST(PictureZoom, ClicksPickThePicturePixelUnderThePointer)
{
    TestApp t;
    const QSize size(800, 600);
    paste(t, positionPicture(size));
    for (double z : {4.0, 0.25, 1.5}) {
        document().zoomView(ViewZoom(z));
        TestApp::settle();
        EXPECT_EQ(surface().size(), ViewZoom(z).viewSize(size));
        QScrollBar* h = document().horizontalScrollBar();
        if (h->maximum() > 0)
            h->setValue(h->maximum() / 3);
        for (QPoint view : {QPoint(13, 17), QPoint(150, 90), QPoint(197, 149)}) {
            const int before = surface().markerCount();
            const int rows = app().data->grid().rows().rowCount();
            const QPoint onSurface = view - surface().pos();
            QTest::mouseClick(&surface(), Qt::LeftButton, Qt::NoModifier, onSurface);
            ASSERT_EQ(surface().markerCount(), before + 1);
            ASSERT_EQ(app().data->grid().rows().rowCount(), rows + 1);
            // The picture pixels the view pixel covers (just one at 400 %): the stored point lies on them.
            const QRect covered(QPoint(static_cast<int>(std::floor(onSurface.x() / z)),
                                       static_cast<int>(std::floor(onSurface.y() / z))),
                                QPoint(static_cast<int>(std::ceil((onSurface.x() + 1) / z)) - 1,
                                       static_cast<int>(std::ceil((onSurface.y() + 1) / z)) - 1));
            const auto& row = app().data->grid().rows();
            const QPointF stored(row.cell(rows, 1).toDouble(), row.cell(rows, 2).toDouble());
            const QPoint picked = pixelOf(stored, size);
            EXPECT_TRUE(covered.contains(picked)) << z << " at " << view.x() << "," << view.y();
            if (z == 4.0) {
                EXPECT_EQ(covered.size(), QSize(1, 1));
            }
            const QPoint shown = picked;
            const Colour c = appState().PointsColor;
            EXPECT_EQ(QColor(surface().composedImage().pixel(shown)), QColor(RedOf(c), GreenOf(c), BlueOf(c))) << z;
        }
    }
}

// Markers sit on the same picture pixels whatever the zoom: Copy, AutoRead
// and Refresh give the same results at every zoom, and the enlarged view is
// the composed picture in crisp blocks.
TEST(PictureZoom, DrawingsAndAutoReadAreTheSameAtEveryZoom)
{
    TestApp t;
    const QSize size(200, 150);
    const QImage picture = positionPicture(size);
    AppState& s = appState();
    s.ARDataColor = Rgb(250, 0, 0);
    s.ARRows = 30;
    s.ARCols = 30;
    QStringList natural;
    QImage naturalCopy;
    for (double z : {1.0, 4.0, 0.25, 16.0}) {
        paste(t, picture);
        document().zoomView(ViewZoom(z));
        const int from = app().data->grid().rows().rowCount();
        t.services().messages.answer(MessageAnswer::Ok); // the sweep's report
        t.run(QStringLiteral("mnuDataAR"));
        t.run(QStringLiteral("mnuViewRefresh"));
        t.run(QStringLiteral("mnuPictureCopy"));
        const QImage copy = t.services().clipboard.image();
        if (z == 1.0) {
            natural = gridTexts(from);
            naturalCopy = copy;
            ASSERT_GT(natural.size(), 5);
            continue;
        }
        EXPECT_EQ(gridTexts(from), natural) << z;
        EXPECT_EQ(copy, naturalCopy) << z;
        if (z == 4.0) {
            const QImage view = surface().grab(QRect(0, 0, 400, 300)).toImage();
            for (int y = 0; y < 300; y += 3)
                for (int x = 0; x < 400; x += 5)
                    ASSERT_EQ(QColor(view.pixel(x, y)), QColor(copy.pixel(x / 4, y / 4))) << x << "," << y;
        }
    }
}

TEST(PictureZoom, KeysWheelAndZoomBoxChangeOnlyTheView)
{
    TestApp t;
    // Higher than the viewport only from 200 %: on the way there it cannot move up or down.
    paste(t, positionPicture(QSize(640, 300)));
    QComboBox* box = document().zoomBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), QStringLiteral("cboZoom"));
    EXPECT_EQ(box->currentText(), QStringLiteral("100%"));
    EXPECT_EQ(surface().size(), QSize(640, 300));

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
    EXPECT_EQ(surface().size(), QSize(640, 300));

    // Ctrl+wheel zooms about the pointer: the picture pixel under it stays put.
    ASSERT_LT(300 * 1.5, document().viewport()->height());
    ASSERT_GT(300 * 2, document().viewport()->height());
    const QPoint at(120, 200);
    const QPoint under = at - surface().pos();
    wheel(document().viewport(), at, 120, Qt::ControlModifier);
    wheel(document().viewport(), at, 120, Qt::ControlModifier);
    wheel(document().viewport(), at, 120, Qt::ControlModifier);
    EXPECT_EQ(surface().zoom().text(), QStringLiteral("300%"));
    const QPoint nowUnder = at - surface().pos();
    EXPECT_NEAR(nowUnder.x() / 3.0, under.x(), 1.0);
    EXPECT_NEAR(nowUnder.y() / 3.0, under.y(), 1.0);
    // A wheel without Ctrl leaves the zoom alone.
    wheel(document().viewport(), at, 120, Qt::NoModifier);
    EXPECT_EQ(surface().zoom().text(), QStringLiteral("300%"));

    // Typed zooms are clamped; a text without a number puts the zoom back.
    box->lineEdit()->setText(QStringLiteral("5000"));
    emit box->lineEdit()->editingFinished();
    EXPECT_EQ(box->currentText(), QStringLiteral("1600%"));
    EXPECT_EQ(surface().size(), QSize(640 * 16, 300 * 16));
    box->lineEdit()->setText(QStringLiteral("abc"));
    emit box->lineEdit()->editingFinished();
    EXPECT_EQ(box->currentText(), QStringLiteral("1600%"));
    box->lineEdit()->setText(QStringLiteral("5"));
    emit box->lineEdit()->editingFinished();
    EXPECT_EQ(box->currentText(), QStringLiteral("10%"));
    EXPECT_EQ(surface().pictureSize(), QSize(640, 300));
    EXPECT_EQ(app().data->grid().rows().rowCount(), 1); // no point was taken on the way
}
