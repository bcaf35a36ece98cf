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

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace tracella;
using namespace tracella::test;

namespace {

// The five colour buttons and their settings.
const std::pair<const char*, Colour AppState::*> Colours[] = {
    {"cmdPointsColor", &AppState::PointsColor}, {"cmdScaleColor", &AppState::ScaleColor},
    {"cmdARdataColor", &AppState::ARDataColor}, {"cmdARpointColor", &AppState::ARPointColor},
    {"cmdSplineColor", &AppState::SplineColor}};

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

void type(OptionsWindow& dialog, const char* name, const QString& text)
{
    Child<QLineEdit>(&dialog, name)->setText(text);
}

} // namespace

// Opening the dialog previews the sweep grid over the picture; Ctrl+Tab
// turns the pages both ways; Esc and a cancelled colour change nothing, and
// the refresh after closing puts the markers back. Opened again, it shows the
// settings; a number beyond 32 bits is refused with nothing stored;
// corrected, Do It stores every setting and sets the picture's pen and pointer.
TEST(OptionsWindow, EscChangesNothingAndDoItStoresOnceAllAreInRange)
{
    TestApp t;
    PictureSurface* surface = app().document->surface();
    surface->setPicture(Picture{PlainPicture(QSize(640, 480)), PictureKind::Bitmap, {}});
    ASSERT_FALSE(app().data->AppendPointRow({2.0, false}, {3.0, false}).has_value());
    t.run(QStringLiteral("mnuViewRefresh"));
    const AppState before = appState();
    WithOptionsCommand(t, [&](OptionsWindow& d) {
        EXPECT_EQ(surface->markerCount(), 0);
        Child<QAbstractButton>(&d, "chkGrid")->click();
        type(d, "TxtRows", QStringLiteral("24"));
        type(d, "TxtCols", QStringLiteral("32"));
        EXPECT_EQ(surface->grab().toImage().pixel(1, 20), qRgb(192, 192, 192));
        t.services().colours.script = {std::nullopt};
        Child<QAbstractButton>(&d, "cmdPointsColor")->click();
        auto* tabs = Child<QTabWidget>(&d, "tbsOptions");
        QTest::keyClick(Child<QLineEdit>(&d, "TxtRadius"), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(tabs->currentIndex(), 3);
        QTest::keyClick(&d, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), 0);
        QTest::keyClick(Child<QLineEdit>(&d, "TxtRadius"), Qt::Key_Escape);
    });
    EXPECT_EQ(appState().ARRows, before.ARRows);
    EXPECT_EQ(appState().PointsColor, before.PointsColor);
    EXPECT_EQ(surface->markerCount(), 1);
    EXPECT_EQ(surface->grab().toImage().pixel(1, 20), qRgb(255, 255, 255));

    appState().XAxisLog = true;
    appState().PointerIndex = 6;
    WithOptionsCommand(t, [&t](OptionsWindow& d) {
        EXPECT_TRUE(Child<QAbstractButton>(&d, "CheckXLog")->isChecked());
        EXPECT_EQ(Child<QLabel>(&d, "ImagePointer")->pixmap().toImage(), PointerPixmap(6).toImage());
        Child<QAbstractButton>(&d, "CheckYLog")->click();
        for (int i = 0; i < 5; ++i) {
            t.services().colours.script.push_back(QColor(3 * i + 1, 3 * i + 2, 3 * i + 3));
            Child<QAbstractButton>(&d, Colours[i].first)->click();
        }
        type(d, "TxtRows", QStringLiteral("3.5"));
        type(d, "TxtCols", QStringLiteral("3000000000"));
        type(d, "txtSplinePoints", QStringLiteral("12abc"));
        type(d, "TxtRadius", QStringLiteral("7"));
        Child<QSlider>(&d, "Slider")->setValue(4);
        t.services().messages.answer(MessageAnswer::Ok);
        Child<QAbstractButton>(&d, "cmdApply")->click();
        ASSERT_EQ(t.services().messages.shown.size(), 1u);
        ExpectMessage(t.services().messages.shown[0],
                      QStringLiteral("The number in Columns is out of range.\r\n"
                                     "Enter a whole number between -2147483648 and 2147483647."),
                      QStringLiteral("Options"), MessageIcon::Exclamation);
        EXPECT_FALSE(appState().YAxisLog);
        type(d, "TxtCols", QStringLiteral("2.5"));
        Child<QAbstractButton>(&d, "cmdApply")->click();
    });
    const AppState& s = appState();
    EXPECT_TRUE(s.XAxisLog && s.YAxisLog);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(s.*Colours[i].second, Rgb(3 * i + 1, 3 * i + 2, 3 * i + 3)) << Colours[i].first;
    EXPECT_EQ(s.ARRows, 4);
    EXPECT_EQ(s.ARCols, 2);
    EXPECT_EQ(s.SplinePoints, 12);
    EXPECT_EQ(surface->penWidth(), 7);
    EXPECT_EQ(surface->cursor().pixmap().toImage(), PointerPixmap(4).toImage());
    t.services().expectScriptsUsed();
}
