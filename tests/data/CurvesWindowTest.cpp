#include "DataGuiSupport.h"

#include "data/CurveExport.h"

#include <QComboBox>

using namespace tracella;
using namespace tracella::test;

namespace {

void AddCurve(TestApp& t, const QString& name)
{
    t.services().input.reply(name);
    t.run(QStringLiteral("mnuDataCurveAdd"));
}

// The curve chosen in the image toolbar's box, as the user picks it.
void PickCurve(int index)
{
    QComboBox* box = app().document->curveBox();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QStringList CurveBoxTexts()
{
    QStringList texts;
    for (int i = 0; i < app().document->curveBox()->count(); ++i)
        texts << app().document->curveBox()->itemText(i);
    return texts;
}

} // namespace

TEST(Curves, EachCurveKeepsItsRowsFileAndEditsWhileSwitching)
{
    TestApp t;
    EXPECT_EQ(app().document->curveBox()->objectName(), QStringLiteral("cboCurve"));
    AddPoints({{1, 2}, {3, 4}});
    appState().DataFileName = QStringLiteral("one.dat");
    Edit("TxtXValue")->setText(QStringLiteral("typed"));

    AddCurve(t, QStringLiteral("  Kinetics β "));
    EXPECT_EQ(t.services().input.asked.back().defaultText, QStringLiteral("Curve 2"));
    EXPECT_EQ(CurveBoxTexts(), (QStringList{"Curve 1", "Kinetics β"}));
    EXPECT_EQ(DataForm().windowTitle(), QStringLiteral("Data Points - Kinetics β"));
    EXPECT_EQ(t.main().statusPanels()->panelText(1), QStringLiteral("Data File"));
    EXPECT_TRUE(Edit("TxtXValue")->text().isEmpty());
    AddPoints({{5, 6}});
    EXPECT_EQ(DataColumn(1), QStringList{" 5"});

    PickCurve(0);
    EXPECT_EQ(&DataForm().grid().rows(), &app().curves.curve(0).rows); // the curve's own rows, not a copy
    EXPECT_EQ(DataColumn(2), (QStringList{" 2", " 4"}));
    EXPECT_EQ(Edit("TxtXValue")->text(), QStringLiteral("typed"));
    EXPECT_EQ(t.main().statusPanels()->panelText(1), QStringLiteral("one.dat"));
    EXPECT_EQ(DataForm().gridView()->model()->rowCount(), 3);

    // Undo Last Point takes the shown curve's last point only.
    Activate(app().document);
    app().document->undoLastPoint();
    EXPECT_EQ(app().curves.curve(0).rows.dataRowCount(), 1);
    EXPECT_EQ(app().curves.curve(1).rows.dataRowCount(), 1);

    // New forgets every curve's data file; curves and rows stay.
    app().curves.setDataFile(1, QStringLiteral("two.dat"), DataFileLayout::Tab);
    t.run(QStringLiteral("mnuFileNew"));
    PickCurve(1);
    EXPECT_TRUE(appState().DataFileName.isEmpty());
    EXPECT_EQ(app().curves.curve(1).rows.dataRowCount(), 1);
}

TEST(Curves, EveryCurvesMarkersAreDrawnTheCurrentOnTop)
{
    TestApp t;
    PictureSurface& surface = WhiteSurface();
    AddPoints({{2, 2}, {5, 5}});
    AddCurve(t, QStringLiteral("B"));
    AddPoints({{5, 5}, {8, 8}});
    t.run(QStringLiteral("mnuViewRefresh"));
    const QColor first(80, 255, 30), second(230, 159, 0);
    EXPECT_EQ(surface.markerCount(), 4);
    EXPECT_EQ(SurfaceColourAt(surface, 5, 5), second);
    PickCurve(0);
    EXPECT_EQ(SurfaceColourAt(surface, 5, 5), first);
    EXPECT_EQ(SurfaceColourAt(surface, 8, 8), second);

    t.services().colours.script.push_back(QColor(0, 0, 255));
    t.run(QStringLiteral("mnuDataCurveColour"));
    EXPECT_EQ(t.services().colours.initials.back(), first);
    EXPECT_EQ(SurfaceColourAt(surface, 2, 2), QColor(0, 0, 255));
}

TEST(Curves, SaveAllCurvesWritesTheChosenLayoutAndRefusesNothingToSave)
{
    TestApp t;
    QTemporaryDir folder;
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuDataSaveAllCurves"));
    EXPECT_TRUE(t.services().messages.shown.back().text.contains(QStringLiteral("empty")));
    EXPECT_TRUE(t.services().files.requests.empty());

    AddPoints({{1.5, -2}});
    AddCurve(t, QStringLiteral("x, \"y\""));
    AddPoints({{3, 4}});
    // The filter's index chooses the layout; the third writes one file per curve.
    t.services().files.choose(folder.filePath(QStringLiteral("run.csv")), 3);
    t.run(QStringLiteral("mnuDataSaveAllCurves"));
    EXPECT_EQ(t.services().files.requests.back().filter, CurveExportFilter);
    EXPECT_EQ(FileBytes(folder.filePath(QStringLiteral("run - x, _y_.csv"))),
              DataFileBytes(app().curves.curve(1).rows, DataFileLayout::Comma));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);

    // A folder that cannot be written gives an error naming the file.
    const QString missing = folder.filePath(QStringLiteral("no/such/folder.csv"));
    t.services().files.choose(missing, 1);
    t.services().messages.answer(MessageAnswer::Ok);
    t.run(QStringLiteral("mnuDataSaveAllCurves"));
    ExpectErrorMessage(t.services().messages.shown.back());
    EXPECT_TRUE(t.services().messages.shown.back().text.contains(missing));
}
