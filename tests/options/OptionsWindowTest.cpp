#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "data/widgets/DataWindow.h"
#include "options/widgets/OptionsWindow.h"
#include "options/widgets/PointerCursor.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"
#include "support/Expect.h"
#include "support/TestApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

using namespace tracella;
using namespace tracella::test;

namespace {

QColor SwatchColour(QWidget* dialog, const char* name)
{
    return Child<QFrame>(dialog, name)->palette().color(QPalette::Window);
}

void Type(QWidget* dialog, const char* box, const QString& text)
{
    auto* edit = Child<QLineEdit>(dialog, box);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Near the left end, where a wide check box still has its box and caption.
void Click(QWidget* dialog, const char* name)
{
    auto* button = Child<QAbstractButton>(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

int CurrentTab(QWidget* dialog)
{
    return Child<QTabWidget>(dialog, "tbsOptions")->currentIndex();
}

// Runs the options command; drive() works on the open modal dialog. A
// dialog left open is closed after a while so that no test can hang.
void WithOptionsCommand(TestApp& t, const std::function<void(OptionsWindow&)>& drive)
{
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<OptionsWindow*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the options dialog is not open";
            return;
        }
        driven = true;
        drive(*dialog);
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the options dialog stayed open";
            modal->close();
        }
    });
    guard.start(10000);
    t.run(QStringLiteral("mnuViewOptions"));
    EXPECT_TRUE(driven);
}

// The pixels of one colour, moved so that their bounding box starts at (0, 0).
std::vector<QPoint> ShapeOf(const QImage& image, QRgb colour)
{
    std::vector<QPoint> shape;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                shape.emplace_back(x, y);
    if (shape.empty())
        return shape;
    QPoint corner = shape.front();
    for (const QPoint& p : shape)
        corner = QPoint(std::min(corner.x(), p.x()), std::min(corner.y(), p.y()));
    for (QPoint& p : shape)
        p -= corner;
    return shape;
}

} // namespace

TEST(OptionsWindow, OpensWithEveryControlFilledFromTheState)
{
    TestApp t;
    AppState& s = appState();
    s.PointsColor = Rgb(1, 2, 3);
    s.ScaleColor = Rgb(4, 5, 6);
    s.ARDataColor = Rgb(7, 8, 9);
    s.ARPointColor = Rgb(10, 11, 12);
    s.SplineColor = Rgb(13, 14, 15);
    s.ARRows = 17;
    s.ARCols = -4;
    s.SplinePoints = 0;
    s.DotSize = 5;
    s.XAxisLog = true;
    s.EscUndo = false;
    s.PointerIndex = 6;
    s.SplineOnX = false;

    OptionsWindow dialog(&t.main());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_GE(dialog.width(), 381);
    EXPECT_GE(dialog.height(), 317);

    auto* tabs = Child<QTabWidget>(&dialog, "tbsOptions");
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Axis"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("AutoRead"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Interpolation"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("Pointers"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(tabs->widget(i)->objectName(), QStringLiteral("picOptions%1").arg(i));

    EXPECT_EQ(SwatchColour(&dialog, "framePointsColor"), QColor(1, 2, 3));
    EXPECT_EQ(SwatchColour(&dialog, "frameScaleColor"), QColor(4, 5, 6));
    EXPECT_EQ(SwatchColour(&dialog, "frameARdataColor"), QColor(7, 8, 9));
    EXPECT_EQ(SwatchColour(&dialog, "frameARpointColor"), QColor(10, 11, 12));
    EXPECT_EQ(SwatchColour(&dialog, "frameSplineColor"), QColor(13, 14, 15));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "TxtRows")->text(), QStringLiteral("17"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "TxtCols")->text(), QStringLiteral("-4"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "txtSplinePoints")->text(), QStringLiteral("0"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "TxtRadius")->text(), QStringLiteral(" 5"));
    EXPECT_TRUE(Child<QCheckBox>(&dialog, "CheckXLog")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(&dialog, "CheckYLog")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(&dialog, "checkESCundo")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(&dialog, "chkGrid")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(&dialog, "optSplineY")->isChecked());
    EXPECT_EQ(Child<QLabel>(&dialog, "Label1")->text(),
              QStringLiteral("Note:\r\n       Select Log Axis before scaling the picture."));

    auto* slider = Child<QSlider>(&dialog, "Slider");
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 7);
    EXPECT_EQ(slider->value(), 6);
    auto* image = Child<QLabel>(&dialog, "ImagePointer");
    EXPECT_EQ(image->pixmap().toImage(), PointerPixmap(6).toImage());
    slider->setValue(2);
    EXPECT_EQ(image->pixmap().toImage(), PointerPixmap(2).toImage());
    EXPECT_NE(PointerPixmap(2).toImage(), PointerPixmap(6).toImage());

    const std::vector<std::pair<const char*, const char*>> captions = {
        {"cmdApply", "&Do It"},           {"cmdCancel", "&Cancel"},         {"cmdPointsColor", "&Points Color"},
        {"cmdScaleColor", "&Scale Points"}, {"cmdARdataColor", "&Data Color"}, {"cmdARpointColor", "&Point Color"},
        {"cmdPicSizeInfo", "Guide me"},   {"cmdSplineColor", "&Points Color"}, {"CheckXLog", "X - Axis is Log"},
        {"CheckYLog", "Y - Axis is Log"}, {"checkESCundo", "ESC deletes last point"},
        {"chkGrid", "Show grid that will be used to Autoread points"}, {"optSplineX", "X values"},
        {"optSplineY", "Y values"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(Child<QAbstractButton>(&dialog, name)->text(), QString::fromLatin1(caption)) << name;
    QStringList frames;
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
        frames << box->title();
    for (const char* frame : {"Guidance Points", "Scaling Points", "Axis Scale", "Colors", "Sweep Density",
                              "Points Found", "Settings", "Undo Last Point", "Mouse Pointer Selector"})
        EXPECT_TRUE(frames.contains(QString::fromLatin1(frame))) << frame;
}

TEST(OptionsWindow, DoItStoresEverySettingAndSetsThePicturesPenAndPointer)
{
    TestApp t;
    OptionsWindow dialog(&t.main());
    dialog.show();
    auto* tabs = Child<QTabWidget>(&dialog, "tbsOptions");
    Click(&dialog, "CheckXLog");
    Click(&dialog, "CheckYLog");
    tabs->setCurrentIndex(3);
    TestApp::settle();
    Click(&dialog, "checkESCundo");
    const std::vector<std::pair<const char*, QColor>> picks = {
        {"cmdPointsColor", QColor(1, 2, 3)},    {"cmdScaleColor", QColor(4, 5, 6)},
        {"cmdARdataColor", QColor(7, 8, 9)},    {"cmdARpointColor", QColor(10, 11, 12)},
        {"cmdSplineColor", QColor(13, 14, 15)}};
    for (const auto& [button, colour] : picks) {
        auto* page = Child<QWidget>(&dialog, button)->parentWidget();
        while (tabs->indexOf(page) < 0)
            page = page->parentWidget();
        tabs->setCurrentWidget(page);
        TestApp::settle();
        t.services().colours.script.push_back(colour);
        Click(&dialog, button);
    }
    Type(&dialog, "TxtRows", QStringLiteral("3.5"));
    Type(&dialog, "TxtCols", QStringLiteral("2.5"));
    Type(&dialog, "txtSplinePoints", QStringLiteral("12abc"));
    Type(&dialog, "TxtRadius", QStringLiteral("7"));
    tabs->setCurrentIndex(2);
    TestApp::settle();
    Click(&dialog, "optSplineY");
    Child<QSlider>(&dialog, "Slider")->setValue(4);
    Click(&dialog, "cmdApply");

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    const AppState& s = appState();
    EXPECT_TRUE(s.XAxisLog);
    EXPECT_TRUE(s.YAxisLog);
    EXPECT_FALSE(s.EscUndo);
    EXPECT_EQ(s.PointsColor, Rgb(1, 2, 3));
    EXPECT_EQ(s.ScaleColor, Rgb(4, 5, 6));
    EXPECT_EQ(s.ARDataColor, Rgb(7, 8, 9));
    EXPECT_EQ(s.ARPointColor, Rgb(10, 11, 12));
    EXPECT_EQ(s.SplineColor, Rgb(13, 14, 15));
    EXPECT_EQ(s.ARRows, 4);
    EXPECT_EQ(s.ARCols, 2);
    EXPECT_EQ(s.SplinePoints, 12);
    EXPECT_EQ(s.DotSize, 7);
    EXPECT_FALSE(s.SplineOnX);
    EXPECT_EQ(s.PointerIndex, 4);

    ASSERT_EQ(t.services().sound.played.size(), 1u);
    EXPECT_EQ(t.services().sound.played[0], FileBytes(QStringLiteral(":/sounds/48.wav")));

    PictureSurface* surface = app().document->surface();
    EXPECT_EQ(surface->penWidth(), 7);
    const QCursor pointer = surface->cursor();
    EXPECT_EQ(pointer.shape(), Qt::BitmapCursor);
    EXPECT_EQ(pointer.pixmap().toImage(), PointerPixmap(4).toImage());
    EXPECT_EQ(pointer.hotSpot(), QPoint(16, 16));
    t.services().expectScriptsUsed();
}

TEST(OptionsWindow, NumbersBeyond32BitsAreRefusedAndNothingIsStored)
{
    TestApp t;
    const AppState before = appState();
    OptionsWindow dialog(&t.main());
    dialog.show();
    Click(&dialog, "CheckXLog");
    Type(&dialog, "TxtCols", QStringLiteral("3000000000"));
    t.services().messages.answer(MessageAnswer::Ok);
    Click(&dialog, "cmdApply");

    ASSERT_EQ(t.services().messages.shown.size(), 1u);
    ExpectMessage(t.services().messages.shown[0],
                  QStringLiteral("The number in Columns is out of range.\r\n"
                                 "Enter a whole number between -2147483648 and 2147483647."),
                  QStringLiteral("Options"), MessageIcon::Exclamation);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(appState().XAxisLog);
    EXPECT_EQ(appState().ARCols, before.ARCols);
    EXPECT_TRUE(t.services().sound.played.empty());

    // Corrected, it applies.
    Type(&dialog, "TxtCols", QStringLiteral("30"));
    Click(&dialog, "cmdApply");
    EXPECT_EQ(appState().ARCols, 30);
    EXPECT_TRUE(appState().XAxisLog);
}

TEST(OptionsWindow, CancelEscAndACancelledColourChangeNothing)
{
    TestApp t;
    const AppState before = appState();
    const auto unchanged = [&before] {
        const AppState& s = appState();
        EXPECT_EQ(s.PointsColor, before.PointsColor);
        EXPECT_EQ(s.ARRows, before.ARRows);
        EXPECT_EQ(s.DotSize, before.DotSize);
        EXPECT_EQ(s.XAxisLog, before.XAxisLog);
        EXPECT_EQ(s.PointerIndex, before.PointerIndex);
    };
    {
        OptionsWindow dialog(&t.main());
        dialog.show();
        // A cancelled colour dialog leaves the swatch as it was.
        t.services().colours.script.push_back(std::nullopt);
        Click(&dialog, "cmdPointsColor");
        EXPECT_EQ(SwatchColour(&dialog, "framePointsColor"), QColor(80, 255, 30));
        t.services().colours.script.push_back(QColor(9, 9, 9));
        Click(&dialog, "cmdPointsColor");
        EXPECT_EQ(SwatchColour(&dialog, "framePointsColor"), QColor(9, 9, 9));
        Type(&dialog, "TxtRows", QStringLiteral("7"));
        Click(&dialog, "CheckXLog");
        Click(&dialog, "cmdCancel");
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    unchanged();
    {
        OptionsWindow dialog(&t.main());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        // Reopened, the old colour shows; the colour dialog opens on the last choice.
        EXPECT_EQ(SwatchColour(&dialog, "framePointsColor"), QColor(80, 255, 30));
        t.services().colours.script.push_back(std::nullopt);
        Click(&dialog, "cmdScaleColor");
        EXPECT_EQ(t.services().colours.initials.back(), QColor(9, 9, 9));
        Child<QSlider>(&dialog, "Slider")->setValue(3);
        QTest::keyClick(Child<QLineEdit>(&dialog, "TxtRadius"), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    unchanged();
    EXPECT_TRUE(t.services().sound.played.empty());
    t.services().expectScriptsUsed();
}

TEST(OptionsWindow, UnusableDotSizesKeepTheEarlierSize)
{
    TestApp t;
    OptionsWindow dialog(&t.main());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* sample = Child<QWidget>(&dialog, "PictureSample");
    const auto dotReaches = [sample](int dx) {
        const QImage shot = sample->grab().toImage();
        return shot.pixel(shot.width() / 2 + dx, shot.height() / 2) == qRgb(80, 255, 30);
    };
    EXPECT_TRUE(dotReaches(0));
    EXPECT_FALSE(dotReaches(4));
    // Pasted whole, as typing 40000 would pass through 4, 40, ...
    for (const char* text : {"0", "abc", "-3", "40000"}) {
        Child<QLineEdit>(&dialog, "TxtRadius")->setText(QString::fromLatin1(text));
        EXPECT_TRUE(dotReaches(0)) << text;
        EXPECT_FALSE(dotReaches(4)) << text;
    }
    Type(&dialog, "TxtRadius", QStringLiteral("12"));
    EXPECT_TRUE(dotReaches(4));
    Type(&dialog, "TxtRadius", QStringLiteral("0"));
    EXPECT_TRUE(dotReaches(4));
    Click(&dialog, "cmdApply");
    EXPECT_EQ(appState().DotSize, 12);
    EXPECT_EQ(app().document->surface()->penWidth(), 12);
}

// The sample shows a dot as the picture shows a marker of that size: the
// same hard-edged pixels, nothing blended with the background.
TEST(OptionsWindow, DotSampleIsDrawnAsThePicturesMarkers)
{
    TestApp t;
    PictureSurface& surface = t.paste(PlainPicture(QSize(60, 60)));
    OptionsWindow dialog(&t.main());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* sample = Child<QWidget>(&dialog, "PictureSample");
    const Colour colour = appState().PointsColor;
    const QRgb points = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
    for (const int width : {1, 2, 3, 4, 5, 8, 13}) {
        Child<QLineEdit>(&dialog, "TxtRadius")->setText(QString::number(width));
        const QImage shot = sample->grab().toImage();
        surface.clearDrawings();
        surface.setPenWidth(width);
        surface.drawDot(5, 5, colour);
        const std::vector<QPoint> marker = ShapeOf(surface.composedImage(), points);
        ASSERT_FALSE(marker.empty()) << width;
        EXPECT_EQ(ShapeOf(shot, points), marker) << "pen width " << width;
        int blended = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                blended += shot.pixel(x, y) != points && shot.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_EQ(blended, 0) << "pen width " << width;
    }
}

TEST(OptionsWindow, CtrlTabCyclesTheTabsBothWays)
{
    TestApp t;
    OptionsWindow dialog(&t.main());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QWidget* box = Child<QLineEdit>(&dialog, "TxtRadius");
    QTest::keyClick(box, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(CurrentTab(&dialog), 1);
    QTest::keyClick(&dialog, Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(CurrentTab(&dialog), 2);
    QTest::keyClick(Child<QLineEdit>(&dialog, "txtSplinePoints"), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(CurrentTab(&dialog), 3);
    QTest::keyClick(Child<QSlider>(&dialog, "Slider"), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(CurrentTab(&dialog), 0);
    QTest::keyClick(box, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(CurrentTab(&dialog), 3);
    QTest::keyClick(&dialog, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(CurrentTab(&dialog), 2);
    // A plain Tab moves the focus, not the page.
    QTest::keyClick(&dialog, Qt::Key_Tab);
    EXPECT_EQ(CurrentTab(&dialog), 2);
}

TEST(OptionsWindow, CommandPreviewsTheSweepGridAndRefreshRestoresTheMarkers)
{
    TestApp t;
    PictureSurface* surface = app().document->surface();
    surface->setPicture(Picture{PlainPicture(QSize(640, 480)), PictureKind::Bitmap, {}});
    for (const auto& [x, y] : {std::pair{2.0, 3.0}, {5.0, 5.0}, {8.0, 7.0}})
        ASSERT_FALSE(app().data->AppendPointRow({x, false}, {y, false}).has_value());
    t.run(QStringLiteral("mnuViewRefresh"));
    ASSERT_EQ(surface->markerCount(), 3);

    WithOptionsCommand(t, [&](OptionsWindow& dialog) {
        EXPECT_EQ(dialog.parentWidget(), &t.main());
        EXPECT_TRUE(dialog.isModal());
        // Filling Rows and Columns previewed the grid: the markers are gone.
        EXPECT_EQ(surface->markerCount(), 0);
        Child<QTabWidget>(&dialog, "tbsOptions")->setCurrentIndex(1);
        Click(&dialog, "cmdPicSizeInfo");
        EXPECT_EQ(Child<QLineEdit>(&dialog, "TxtCols")->text(), QStringLiteral("320"));
        EXPECT_EQ(Child<QLineEdit>(&dialog, "TxtRows")->text(), QStringLiteral("240"));

        Click(&dialog, "chkGrid");
        QImage shot = surface->grab().toImage();
        EXPECT_EQ(shot.pixel(0, 0), qRgb(128, 128, 128));
        EXPECT_EQ(shot.pixel(1, 0), qRgb(192, 192, 192));
        EXPECT_EQ(shot.pixel(2, 1), qRgb(192, 192, 192));
        EXPECT_EQ(shot.pixel(1, 1), qRgb(255, 255, 255));

        // Every keystroke that leaves both numbers positive draws it anew.
        Type(&dialog, "TxtRows", QStringLiteral("24"));
        shot = surface->grab().toImage();
        EXPECT_EQ(shot.pixel(1, 2), qRgb(255, 255, 255));
        EXPECT_EQ(shot.pixel(1, 20), qRgb(192, 192, 192));
        Type(&dialog, "TxtRows", QStringLiteral("0"));
        shot = surface->grab().toImage();
        EXPECT_EQ(shot.pixel(1, 20), qRgb(192, 192, 192));
        Click(&dialog, "chkGrid");
        shot = surface->grab().toImage();
        EXPECT_EQ(shot.pixel(1, 20), qRgb(192, 192, 192)) << "Rows 0: nothing happens";
        Type(&dialog, "TxtRows", QStringLiteral("5"));
        shot = surface->grab().toImage();
        EXPECT_EQ(shot.pixel(0, 0), qRgb(255, 255, 255));
        Click(&dialog, "chkGrid");
        Click(&dialog, "cmdCancel");
    });

    // The refresh after closing: markers back, preview gone, picture active.
    EXPECT_EQ(surface->markerCount(), 3);
    EXPECT_EQ(surface->grab().toImage().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(t.main().activeChildForm(), app().document.data());
    EXPECT_EQ(appState().ARRows, 50);
}
