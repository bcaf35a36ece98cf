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
#include <memory>
#include <vector>

using namespace tracella;
using namespace tracella::test;

namespace {

// The five colour buttons, their swatches and settings.
struct ColourControl {
    const char *button, *swatch;
    Colour AppState::*setting;
};
const ColourControl Colours[] = {{"cmdPointsColor", "framePointsColor", &AppState::PointsColor},
                                 {"cmdScaleColor", "frameScaleColor", &AppState::ScaleColor},
                                 {"cmdARdataColor", "frameARdataColor", &AppState::ARDataColor},
                                 {"cmdARpointColor", "frameARpointColor", &AppState::ARPointColor},
                                 {"cmdSplineColor", "frameSplineColor", &AppState::SplineColor}};

// An open options dialog over a started program, whose state was prepared first.
struct OptionsApp {
    TestApp t;
    std::unique_ptr<OptionsWindow> owned;
    OptionsWindow& dialog;
    explicit OptionsApp(const std::function<void(AppState&)>& prepare = [](AppState&) {})
        : owned((prepare(appState()), std::make_unique<OptionsWindow>(&t.main()))), dialog(*owned)
    {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    QColor swatch(const char* name) { return Child<QFrame>(&dialog, name)->palette().color(QPalette::Window); }
    QLineEdit* box(const char* name) { return Child<QLineEdit>(&dialog, name); }
    void type(const char* name, const QString& text)
    {
        box(name)->selectAll();
        QTest::keyClicks(box(name), text);
    }
    // Near the left end, where a wide check box still has its box and caption;
    // on the control's own page.
    void click(const char* name)
    {
        auto* button = Child<QAbstractButton>(&dialog, name);
        auto* tabs = Child<QTabWidget>(&dialog, "tbsOptions");
        QWidget* page = button;
        while (page && tabs->indexOf(page) < 0)
            page = page->parentWidget();
        if (page)
            tabs->setCurrentWidget(page);
        TestApp::settle();
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    int tab() { return Child<QTabWidget>(&dialog, "tbsOptions")->currentIndex(); }
};

// The pixels of one colour, moved so that their bounding box starts at (0, 0).
std::vector<QPoint> ShapeOf(const QImage& image, QRgb colour)
{
    std::vector<QPoint> shape;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                shape.emplace_back(x, y);
    QPoint corner = shape.empty() ? QPoint() : shape.front();
    for (const QPoint& p : shape)
        corner = QPoint(std::min(corner.x(), p.x()), std::min(corner.y(), p.y()));
    for (QPoint& p : shape)
        p -= corner;
    return shape;
}

} // namespace

TEST(OptionsWindow, OpensWithEveryControlFilledFromTheState)
{
    OptionsApp o([](AppState& s) {
        for (int i = 0; i < 5; ++i)
            s.*Colours[i].setting = Rgb(3 * i + 1, 3 * i + 2, 3 * i + 3);
        s.ARRows = 17;
        s.ARCols = -4;
        s.SplinePoints = 0;
        s.DotSize = 5;
        s.XAxisLog = true;
        s.EscUndo = false;
        s.PointerIndex = 6;
        s.SplineOnX = false;
    });
    OptionsWindow& dialog = o.dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_GE(dialog.width(), 381);
    EXPECT_GE(dialog.height(), 317);

    auto* tabs = Child<QTabWidget>(&dialog, "tbsOptions");
    ASSERT_EQ(tabs->count(), 4);
    const QStringList tabTexts = {"Axis", "AutoRead", "Interpolation", "Pointers"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabText(i), tabTexts[i]);
        EXPECT_EQ(tabs->widget(i)->objectName(), QStringLiteral("picOptions%1").arg(i));
    }
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(o.swatch(Colours[i].swatch), QColor(3 * i + 1, 3 * i + 2, 3 * i + 3)) << Colours[i].swatch;
    for (const auto& [box, text] : {std::pair{"TxtRows", "17"}, {"TxtCols", "-4"}, {"txtSplinePoints", "0"},
                                    {"TxtRadius", " 5"}})
        EXPECT_EQ(o.box(box)->text(), QString::fromLatin1(text)) << box;
    for (const auto& [box, checked] : {std::pair{"CheckXLog", true}, {"CheckYLog", false}, {"checkESCundo", false},
                                       {"chkGrid", false}, {"optSplineY", true}})
        EXPECT_EQ(Child<QAbstractButton>(&dialog, box)->isChecked(), checked) << box;
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

// A number beyond 32 bits is refused with nothing stored; corrected, Do It
// stores every setting and sets the picture's pen and pointer.
TEST(OptionsWindow, DoItRefusesNumbersBeyond32BitsThenStoresEverySetting)
{
    OptionsApp o;
    const AppState before = appState();
    o.click("CheckXLog");
    o.click("CheckYLog");
    o.click("checkESCundo");
    for (int i = 0; i < 5; ++i) {
        o.t.services().colours.script.push_back(QColor(3 * i + 1, 3 * i + 2, 3 * i + 3));
        o.click(Colours[i].button);
    }
    o.type("TxtRows", QStringLiteral("3.5"));
    o.type("TxtCols", QStringLiteral("3000000000"));
    o.type("txtSplinePoints", QStringLiteral("12abc"));
    o.type("TxtRadius", QStringLiteral("7"));
    o.click("optSplineY");
    Child<QSlider>(&o.dialog, "Slider")->setValue(4);
    o.t.services().messages.answer(MessageAnswer::Ok);
    o.click("cmdApply");
    ASSERT_EQ(o.t.services().messages.shown.size(), 1u);
    ExpectMessage(o.t.services().messages.shown[0],
                  QStringLiteral("The number in Columns is out of range.\r\n"
                                 "Enter a whole number between -2147483648 and 2147483647."),
                  QStringLiteral("Options"), MessageIcon::Exclamation);
    EXPECT_TRUE(o.dialog.isVisible());
    EXPECT_FALSE(appState().XAxisLog);
    EXPECT_EQ(appState().ARCols, before.ARCols);
    EXPECT_EQ(appState().PointsColor, before.PointsColor);
    EXPECT_TRUE(o.t.services().sound.played.empty());

    o.type("TxtCols", QStringLiteral("2.5"));
    o.click("cmdApply");
    EXPECT_EQ(o.dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(o.dialog.isVisible());
    const AppState& s = appState();
    EXPECT_TRUE(s.XAxisLog && s.YAxisLog);
    EXPECT_FALSE(s.EscUndo || s.SplineOnX);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(s.*Colours[i].setting, Rgb(3 * i + 1, 3 * i + 2, 3 * i + 3)) << Colours[i].button;
    EXPECT_EQ(s.ARRows, 4);
    EXPECT_EQ(s.ARCols, 2);
    EXPECT_EQ(s.SplinePoints, 12);
    EXPECT_EQ(s.DotSize, 7);
    EXPECT_EQ(s.PointerIndex, 4);
    ASSERT_EQ(o.t.services().sound.played.size(), 1u);
    EXPECT_EQ(o.t.services().sound.played[0], FileBytes(QStringLiteral(":/sounds/48.wav")));
    PictureSurface* surface = app().document->surface();
    EXPECT_EQ(surface->penWidth(), 7);
    const QCursor pointer = surface->cursor();
    EXPECT_EQ(pointer.shape(), Qt::BitmapCursor);
    EXPECT_EQ(pointer.pixmap().toImage(), PointerPixmap(4).toImage());
    EXPECT_EQ(pointer.hotSpot(), QPoint(16, 16));
    o.t.services().expectScriptsUsed();
}

TEST(OptionsWindow, CancelEscAndACancelledColourChangeNothing)
{
    OptionsApp o;
    const AppState before = appState();
    const auto unchanged = [&before] {
        const AppState& s = appState();
        EXPECT_EQ(s.PointsColor, before.PointsColor);
        EXPECT_EQ(s.ARRows, before.ARRows);
        EXPECT_EQ(s.DotSize, before.DotSize);
        EXPECT_EQ(s.XAxisLog, before.XAxisLog);
        EXPECT_EQ(s.PointerIndex, before.PointerIndex);
    };
    // A cancelled colour dialog leaves the swatch as it was.
    o.t.services().colours.script = {std::nullopt, QColor(9, 9, 9)};
    o.click("cmdPointsColor");
    EXPECT_EQ(o.swatch("framePointsColor"), QColor(80, 255, 30));
    o.click("cmdPointsColor");
    EXPECT_EQ(o.swatch("framePointsColor"), QColor(9, 9, 9));
    o.type("TxtRows", QStringLiteral("7"));
    o.click("CheckXLog");
    o.click("cmdCancel");
    EXPECT_EQ(o.dialog.result(), QDialog::Rejected);
    unchanged();

    // Reopened, the old colour shows; the colour dialog opens on the last
    // choice; Esc closes it.
    OptionsWindow again(&o.t.main());
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_EQ(Child<QFrame>(&again, "framePointsColor")->palette().color(QPalette::Window), QColor(80, 255, 30));
    o.t.services().colours.script.push_back(std::nullopt);
    Child<QAbstractButton>(&again, "cmdScaleColor")->click();
    EXPECT_EQ(o.t.services().colours.initials.back(), QColor(9, 9, 9));
    Child<QSlider>(&again, "Slider")->setValue(3);
    QTest::keyClick(Child<QLineEdit>(&again, "TxtRadius"), Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(again.result(), QDialog::Rejected);
    unchanged();
    EXPECT_TRUE(o.t.services().sound.played.empty());
    o.t.services().expectScriptsUsed();
}

// The sample shows a dot as the picture shows a marker of that size: the
// same hard-edged pixels, nothing blended with the background. Unusable
// sizes keep the earlier one.
TEST(OptionsWindow, DotSampleIsDrawnAsThePicturesMarkersAndUnusableSizesKeepTheEarlier)
{
    OptionsApp o;
    PictureSurface& surface = o.t.paste(PlainPicture(QSize(60, 60)));
    auto* sample = Child<QWidget>(&o.dialog, "PictureSample");
    const Colour colour = appState().PointsColor;
    const QRgb points = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
    for (const int width : {1, 2, 3, 4, 5, 8, 13}) {
        o.box("TxtRadius")->setText(QString::number(width));
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
    const auto dotReaches = [sample, points](int dx) {
        const QImage shot = sample->grab().toImage();
        return shot.pixel(shot.width() / 2 + dx, shot.height() / 2) == points;
    };
    o.box("TxtRadius")->setText(QStringLiteral("3"));
    // Pasted whole, as typing 40000 would pass through 4, 40, ...
    for (const char* text : {"0", "abc", "-3", "40000"}) {
        o.box("TxtRadius")->setText(QString::fromLatin1(text));
        EXPECT_TRUE(dotReaches(0)) << text;
        EXPECT_FALSE(dotReaches(4)) << text;
    }
    o.type("TxtRadius", QStringLiteral("12"));
    EXPECT_TRUE(dotReaches(4));
    o.type("TxtRadius", QStringLiteral("0"));
    EXPECT_TRUE(dotReaches(4));
    o.click("cmdApply");
    EXPECT_EQ(appState().DotSize, 12);
    EXPECT_EQ(surface.penWidth(), 12);
}

TEST(OptionsWindow, CtrlTabCyclesTheTabsBothWays)
{
    OptionsApp o;
    const struct {
        QWidget* at;
        int key;
        Qt::KeyboardModifiers modifiers;
        int tab;
    } presses[] = {{o.box("TxtRadius"), Qt::Key_Tab, Qt::ControlModifier, 1},
                   {&o.dialog, Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier, 2},
                   {o.box("txtSplinePoints"), Qt::Key_Tab, Qt::ControlModifier, 3},
                   {Child<QSlider>(&o.dialog, "Slider"), Qt::Key_Tab, Qt::ControlModifier, 0},
                   {o.box("TxtRadius"), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 3},
                   {&o.dialog, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 2},
                   // A plain Tab moves the focus, not the page.
                   {&o.dialog, Qt::Key_Tab, Qt::NoModifier, 2}};
    for (std::size_t i = 0; i < std::size(presses); ++i) {
        QTest::keyClick(presses[i].at, static_cast<Qt::Key>(presses[i].key), presses[i].modifiers);
        EXPECT_EQ(o.tab(), presses[i].tab) << "press " << i;
    }
}

// Runs the options command; drive() works on the open modal dialog. A
// dialog left open is closed after a while so that no test can hang.
void WithOptionsCommand(TestApp& t, const std::function<void(OptionsWindow&)>& drive)
{
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<OptionsWindow*>(QApplication::activeModalWidget());
        driven = dialog != nullptr;
        if (dialog)
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
    EXPECT_TRUE(driven) << "the options dialog did not open";
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
        auto* rows = Child<QLineEdit>(&dialog, "TxtRows");
        auto* grid = Child<QAbstractButton>(&dialog, "chkGrid");
        Child<QAbstractButton>(&dialog, "cmdPicSizeInfo")->click();
        EXPECT_EQ(Child<QLineEdit>(&dialog, "TxtCols")->text(), QStringLiteral("320"));
        EXPECT_EQ(rows->text(), QStringLiteral("240"));
        const auto pixel = [surface](int x, int y) { return surface->grab().toImage().pixel(x, y); };
        const QRgb grey = qRgb(128, 128, 128), silver = qRgb(192, 192, 192), white = qRgb(255, 255, 255);
        grid->click();
        EXPECT_EQ(pixel(0, 0), grey);
        EXPECT_EQ(pixel(1, 0), silver);
        EXPECT_EQ(pixel(2, 1), silver);
        EXPECT_EQ(pixel(1, 1), white);
        // Every change that leaves both numbers positive draws it anew.
        rows->setText(QStringLiteral("24"));
        EXPECT_EQ(pixel(1, 2), white);
        EXPECT_EQ(pixel(1, 20), silver);
        rows->setText(QStringLiteral("0"));
        EXPECT_EQ(pixel(1, 20), silver);
        grid->click();
        EXPECT_EQ(pixel(1, 20), silver) << "Rows 0: nothing happens";
        rows->setText(QStringLiteral("5"));
        EXPECT_EQ(pixel(0, 0), white);
        grid->click();
        Child<QAbstractButton>(&dialog, "cmdCancel")->click();
    });
    // The refresh after closing: markers back, preview gone, picture active.
    EXPECT_EQ(surface->markerCount(), 3);
    EXPECT_EQ(surface->grab().toImage().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(t.main().activeChildForm(), app().document.data());
    EXPECT_EQ(appState().ARRows, 50);
}
