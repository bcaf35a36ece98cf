#include "data/DataGuiSupport.h"

#include "app/core/AppState.h"
#include "app/widgets/ProjectCommands.h"
#include "app/widgets/RecoveryKeeper.h"
#include "calibration/AffineCalibration.h"
#include "calibration/widgets/ScaleCommands.h"
#include "extract/widgets/TraceCommand.h"
#include "options/widgets/OptionsWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace tracella;
using namespace tracella::test;

namespace {

// A white picture with a red stroke AutoRead finds.
QImage RedStrokePicture()
{
    QImage image = PlainPicture(QSize(200, 160));
    for (int x = 20; x < 180; ++x)
        image.setPixelColor(x, 40 + x / 4, QColor(250, 0, 0));
    return image;
}

// Everything a project keeps but the picture and the view: curves, rows,
// settings and calibration.
QByteArray Document()
{
    Project p = CurrentProject();
    p.picture = {};
    p.zoom = 1;
    // The work, not how it came about: undone, an added curve's id is not given again.
    p.history.reset();
    p.numbering.reset();
    return EncodeProject(p);
}

AffineCalibration ByAxes(bool logY)
{
    const std::array<AxisReference, 2> x{AxisReference{QPointF(20, 150), "0"}, AxisReference{QPointF(180, 150), "8"}};
    const std::array<AxisReference, 2> y{AxisReference{QPointF(20, 150), logY ? "1" : "0"},
                                         AxisReference{QPointF(20, 10), logY ? "1000" : "30"}};
    return std::get<AffineCalibration>(CalibrateByAxes(x, y, {}, {logY, false}));
}

void SendMouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, w.mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

// Two curves with points, the first shown, on a picture read by axes.
void StartWork(TestApp& t)
{
    t.paste(RedStrokePicture());
    ApplyAffineToPicture(ByAxes(false));
    AddPoints({{30, 40}, {10, 20}, {10, 20}, {20, 30}});
    t.services().input.reply(QStringLiteral("Second"));
    t.run(QStringLiteral("mnuDataCurveAdd"));
    AddPoints({{50, 60}});
    DataForm().showCurve(0);
}

// Works on a picture, saves a curve's data and the project.
void SaveWork(TestApp& t, bool imported, const QString& pictureFile, const std::function<void()>& calibrate,
              const QString& saved, const QString& project)
{
    if (imported) {
        t.services().files.choose(pictureFile, 1);
        t.run(QStringLiteral("mnuPictureImport"));
    } else {
        t.paste(RedStrokePicture());
    }
    calibrate();
    QTest::mouseClick(&TestApp::surface(), Qt::LeftButton, {}, QPoint(60, 50));
    QTest::mouseClick(&TestApp::surface(), Qt::LeftButton, {}, QPoint(90, 20));
    t.services().input.reply(QStringLiteral("Second"));
    t.run(QStringLiteral("mnuDataCurveAdd"));
    QTest::mouseClick(&TestApp::surface(), Qt::LeftButton, {}, QPoint(10, 10));
    t.services().files.choose(saved, 1);
    t.run(QStringLiteral("mnuDataSaveAs"));
    t.services().files.choose(project, 1);
    t.run(QStringLiteral("mnuFileSaveProjectAs"));
    EXPECT_TRUE(app().history.stack().isClean());
    EXPECT_EQ(CurrentProject().picture.source, imported ? PictureSource::File : PictureSource::Png);
}

} // namespace

// Every command that changes points, curves or calibration is one step:
// Undo gives back the document before it, Redo the document after it, and
// the menu names it.
TEST(UndoRedo, EveryCommandIsOneStepTakenBackAndDoneAgain)
{
    const struct {
        const char* step;
        std::function<void(TestApp&)> command;
    } cases[] = {
        {"Point", [](TestApp&) { QTest::mouseClick(&TestApp::surface(), Qt::LeftButton, {}, QPoint(60, 50)); }},
        {"Points", [](TestApp&) {
             PictureSurface& s = TestApp::surface();
             SendMouse(s, QEvent::MouseButtonPress, {30, 30}, Qt::RightButton, Qt::RightButton);
             for (int x = 31; x < 40; ++x)
                 SendMouse(s, QEvent::MouseMove, {x, 30}, Qt::NoButton, Qt::RightButton);
             SendMouse(s, QEvent::MouseButtonRelease, {40, 30}, Qt::RightButton, Qt::NoButton);
         }},
        {"AutoRead", [](TestApp& t) {
             t.services().messages.answer(MessageAnswer::Ok);
             t.run(QStringLiteral("mnuDataAR"));
         }},
        {"Interpolate", [](TestApp& t) {
             t.services().messages.answer(MessageAnswer::Yes);
             t.run(QStringLiteral("mnuDataSpline"));
         }},
        {"Sort", [](TestApp& t) { t.run(QStringLiteral("mnuDataSortX")); }},
        {"Sort", [](TestApp& t) { t.run(QStringLiteral("mnuDataSortY")); }},
        {"Remove Selected Values", [](TestApp& t) {
             DataForm().selectRows(2, 3);
             t.run(QStringLiteral("mnuDataRemoveSelected"));
         }},
        {"Remove All Values", [](TestApp& t) {
             t.services().messages.answer(MessageAnswer::Yes);
             t.run(QStringLiteral("mnuDataRemoveAll"));
         }},
        {"Remove Repeated Values", [](TestApp& t) { t.run(QStringLiteral("mnuDataRemoveRepeated")); }},
        {"Set New Values", [](TestApp&) {
             DataWindow& data = DataForm();
             data.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("2"));
             data.findChild<QLineEdit*>(QStringLiteral("TxtXValue"))->setText(QStringLiteral("9"));
             data.findChild<QLineEdit*>(QStringLiteral("TxtYValue"))->setText(QStringLiteral("9"));
             data.cmdSetValues_Click();
         }},
        {"Undo Last Point", [](TestApp&) { app().document->undoLastPoint(); }},
        {"Reset Scale", [](TestApp& t) { t.run(QStringLiteral("mnuPictureResetScale")); }},
        {"Scale", [](TestApp& t) { // from entering scale mode to leaving it, clicks and values between
             t.services().messages.answer(MessageAnswer::Ok);
             t.run(QStringLiteral("mnuPictureScale"));
             for (const char* value : {"1", "2", "9", "7"})
                 t.services().input.reply(QString::fromLatin1(value));
             t.services().messages.answer(MessageAnswer::Yes);
             QTest::mouseClick(&TestApp::surface(), Qt::LeftButton, {}, QPoint(20, 150));
             QTest::mouseClick(&TestApp::surface(), Qt::LeftButton, {}, QPoint(180, 10));
         }},
        {"Trace", [](TestApp& t) {
             t.services().messages.answer(MessageAnswer::Ok);
             TraceRequest red;
             red.colour = Rgb(250, 0, 0);
             TraceCurveCommand(red);
         }},
        {"Options", [](TestApp& t) {
             OptionsWindow dialog(&t.main());
             dialog.show();
             dialog.findChild<QLineEdit*>(QStringLiteral("TxtRows"))->setText(QStringLiteral("7"));
             auto* doIt = dialog.findChild<QAbstractButton*>(QStringLiteral("cmdApply"));
             QTest::mouseClick(doIt, Qt::LeftButton, {}, QPoint(8, doIt->height() / 2));
         }},
        {"Scale by Axes", [](TestApp&) { ApplyAffineToPicture(ByAxes(true)); }},
        {"Add Curve", [](TestApp& t) {
             t.services().input.reply(QStringLiteral("Third"));
             t.run(QStringLiteral("mnuDataCurveAdd"));
         }},
        {"Rename Curve", [](TestApp& t) {
             t.services().input.reply(QStringLiteral("Renamed"));
             t.run(QStringLiteral("mnuDataCurveRename"));
         }},
        {"Delete Curve", [](TestApp& t) {
             t.services().messages.answer(MessageAnswer::Yes);
             t.run(QStringLiteral("mnuDataCurveDelete"));
         }},
        {"Curve Colour", [](TestApp& t) {
             t.services().colours.script.push_back(QColor(1, 2, 3));
             t.run(QStringLiteral("mnuDataCurveColour"));
         }},
    };
    TestApp t;
    QAction* undo = t.main().action(QStringLiteral("mnuDataUndo"));
    QAction* redo = t.main().action(QStringLiteral("mnuDataRedo"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        app().history.clear();
        StartWork(t);
        const QByteArray before = Document();
        const int steps = app().history.stack().count();
        c.command(t);
        const QByteArray after = Document();
        ASSERT_NE(after, before);
        EXPECT_EQ(app().history.stack().count(), steps + 1);
        EXPECT_EQ(undo->text(), QStringLiteral("&Undo %1").arg(QString::fromLatin1(c.step)));
        undo->trigger();
        EXPECT_EQ(Document(), before);
        EXPECT_EQ(redo->text(), QStringLiteral("&Redo %1").arg(QString::fromLatin1(c.step)));
        redo->trigger();
        EXPECT_EQ(Document(), after);
        EXPECT_EQ(DataForm().grid().rowCount(), app().curves.rows().rowCount()) << "the grid shows the document";
        DataForm().changeCurves([](CurveDocument& d) { d = CurveDocument(); });
    }
}

// Saved and opened again, a project gives data files identical to the ones
// saved before, whatever the picture came from and however it was read.
TEST(Projects, ARoundTripKeepsEveryPointAndTheCalibration)
{
    QTemporaryDir dir;
    const QString pictureFile = dir.filePath(QStringLiteral("figure.png"));
    ASSERT_TRUE(RedStrokePicture().save(pictureFile));
    const struct {
        const char* name;
        bool imported; // from the file, else pasted
        std::function<void()> calibrate;
    } cases[] = {
        {"pasted, two-point scale", false, [] {
             AppState& s = appState();
             s.RefX1 = 1, s.RefY1 = 2, s.RefX2 = 9, s.RefY2 = 7;
             s.RefPx1 = 1, s.RefPy1 = 1, s.RefPx2 = 9, s.RefPy2 = 8;
             LeaveScaleMode();
         }},
        {"imported, log Y axis by axes", true, [] { ApplyAffineToPicture(ByAxes(true)); }},
        {"imported, uncalibrated", true, [] {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString saved = dir.filePath(QStringLiteral("%1 before.dat").arg(c.name));
        const QString project = dir.filePath(QStringLiteral("%1.tracella").arg(c.name));
        QByteArray document;
        {
            TestApp t;
            SaveWork(t, c.imported, pictureFile, c.calibrate, saved, project);
            document = Document();
        }
        TestApp reopened;
        reopened.services().files.choose(project, 1);
        reopened.run(QStringLiteral("mnuFileOpenProject"));
        EXPECT_EQ(Document(), document);
        EXPECT_EQ(DataForm().windowTitle(), QStringLiteral("Data Points - Second"));
        const QString again = dir.filePath(QStringLiteral("%1 after.dat").arg(c.name));
        reopened.services().files.choose(again, 1);
        reopened.run(QStringLiteral("mnuDataSaveAs"));
        ASSERT_TRUE(QFile::exists(saved) && QFile::exists(again));
        EXPECT_EQ(FileBytes(again), FileBytes(saved));
    }
}

// A file that is no project leaves the work in the window as it was, with
// a message naming the file.
TEST(Projects, ABadProjectChangesNothing)
{
    QTemporaryDir dir;
    const QString bad = writeFile(dir, QStringLiteral("bad.tracella"), "not a project");
    TestApp t;
    StartWork(t);
    const QByteArray before = Document();
    const qint64 picture = TestApp::surface().picture().image.cacheKey();
    t.services().messages.answer(MessageAnswer::Yes); // the unsaved points may go
    t.services().messages.answer(MessageAnswer::Ok);
    EXPECT_FALSE(OpenProjectFile(bad));
    ASSERT_FALSE(t.services().messages.shown.empty());
    EXPECT_TRUE(t.services().messages.shown.back().text.contains(bad));
    EXPECT_EQ(Document(), before);
    EXPECT_EQ(TestApp::surface().picture().image.cacheKey(), picture);
}

// Unsaved work is copied aside by a worker and the copy goes once the work
// is saved; a copy a crash left is offered at the next start and restored
// as unsaved work.
TEST(Recovery, UnsavedWorkIsCopiedAsideAndRestoredAfterACrash)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    QByteArray document, beforeClick;
    QString left;
    {
        TestApp t;
        RecoveryKeeper keeper(nullptr, folder);
        StartWork(t);
        beforeClick = Document();
        QTest::mouseClick(&TestApp::surface(), Qt::LeftButton, {}, QPoint(60, 50));
        keeper.timer().start(0); // the delay is not waited out here
        QTRY_VERIFY(QFileInfo::exists(keeper.writer().fileName()));
        ASSERT_TRUE(keeper.writer().waitIdle(5000));
        document = Document();
        // What a crash leaves: the copy without its process.
        left = folder + QStringLiteral("/recovery-1-crashed.tracella");
        ASSERT_TRUE(QFile::copy(keeper.writer().fileName(), left));

        t.services().files.choose(dir.filePath(QStringLiteral("saved.tracella")), 1);
        t.run(QStringLiteral("mnuFileSaveProjectAs"));
        EXPECT_FALSE(QFileInfo::exists(keeper.writer().fileName())) << "saved work needs no copy";
    }
    TestApp restarted;
    restarted.services().messages.answer(MessageAnswer::Yes);
    OfferRecovery(folder);
    EXPECT_EQ(Document(), document);
    EXPECT_FALSE(app().history.stack().isClean());
    // The steps came back with the work: the click is undone as before.
    EXPECT_EQ(app().history.stack().undoText(), QStringLiteral("Point"));
    app().history.undo();
    EXPECT_EQ(Document(), beforeClick);
    app().history.redo();
    EXPECT_EQ(Document(), document);
    EXPECT_FALSE(QFileInfo::exists(left));
    OfferRecovery(folder); // nothing left to offer: no question
}
