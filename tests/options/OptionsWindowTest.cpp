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
    auto* tabs = Child<QTabWidget>(&dialog, "tbsOptions");
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(o.swatch(Colours[i].swatch), QColor(3 * i + 1, 3 * i + 2, 3 * i + 3)) << Colours[i].swatch;
    for (const auto& [box, text] : {std::pair{"TxtRows", "17"}, {"TxtCols", "-4"}, {"txtSplinePoints", "0"},
                                    {"TxtRadius", " 5"}})
        EXPECT_EQ(o.box(box)->text(), QString::fromLatin1(text)) << box;
    for (const auto& [box, checked] : {std::pair{"CheckXLog", true}, {"CheckYLog", false}, {"checkESCundo", false},
                                       {"chkGrid", false}, {"optSplineY", true}})
        EXPECT_EQ(Child<QAbstractButton>(&dialog, box)->isChecked(), checked) << box;
    auto* slider = Child<QSlider>(&dialog, "Slider");
    EXPECT_EQ(slider->value(), 6);
    auto* image = Child<QLabel>(&dialog, "ImagePointer");
    EXPECT_EQ(image->pixmap().toImage(), PointerPixmap(6).toImage());
    slider->setValue(2);
    EXPECT_EQ(image->pixmap().toImage(), PointerPixmap(2).toImage());
    EXPECT_NE(PointerPixmap(2).toImage(), PointerPixmap(6).toImage());

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
    EXPECT_EQ(appState().PointsColor, before.PointsColor);

    o.type("TxtCols", QStringLiteral("2.5"));
    o.click("cmdApply");
    EXPECT_EQ(o.dialog.result(), QDialog::Accepted);
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
    EXPECT_EQ(o.t.services().sound.played.size(), 1u);
    PictureSurface* surface = app().document->surface();
    EXPECT_EQ(surface->penWidth(), 7);
    const QCursor pointer = surface->cursor();
    EXPECT_EQ(pointer.pixmap().toImage(), PointerPixmap(4).toImage());
    o.t.services().expectScriptsUsed();
}

TEST(OptionsWindow, EscAndACancelledColourChangeNothing)
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
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, wrapping round.
    QTest::keyClick(o.box("TxtRadius"), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(o.tab(), 3);
    QTest::keyClick(&o.dialog, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(o.tab(), 0);
    QTest::keyClick(o.box("TxtRadius"), Qt::Key_Escape);
    EXPECT_EQ(o.dialog.result(), QDialog::Rejected);
    unchanged();

    EXPECT_TRUE(o.t.services().sound.played.empty());
    o.t.services().expectScriptsUsed();
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
        EXPECT_EQ(pixel(1, 1), white);
        // A change that leaves both numbers positive draws it anew.
        rows->setText(QStringLiteral("24"));
        EXPECT_EQ(pixel(1, 2), white);
        EXPECT_EQ(pixel(1, 20), silver);
        Child<QAbstractButton>(&dialog, "cmdCancel")->click();
    });
    // The refresh after closing: markers back, preview gone, picture active.
    EXPECT_EQ(surface->markerCount(), 3);
    EXPECT_EQ(surface->grab().toImage().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(t.main().activeChildForm(), app().document.data());
    EXPECT_EQ(appState().ARRows, 50);
}
