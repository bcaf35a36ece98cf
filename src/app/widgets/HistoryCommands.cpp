#include "app/widgets/HistoryCommands.h"

#include "app/core/AppState.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/MainWindow.h"
#include "calibration/widgets/ScaleAxesPanel.h"
#include "data/widgets/DataForm.h"
#include "data/widgets/DataWindow.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QAction>

namespace tracella {
namespace {

// The commands reached by name that are one step each, with the step's name
// as Undo and Redo show it. Clicks, typing and the panels' buttons make
// their steps where they happen.
const std::pair<const char*, const char*> CommandSteps[] = {
    {"mnuDataAR", "AutoRead"},
    {"mnuDataSpline", "Interpolate"},
    {"mnuDataSortX", "Sort"},
    {"mnuDataSortY", "Sort"},
    {"mnuDataRemoveRepeated", "Remove Repeated Values"},
    {"mnuDataRemoveSelected", "Remove Selected Values"},
    {"mnuDataRemoveAll", "Remove All Values"},
    {"mnuDataCurveAdd", "Add Curve"},
    {"mnuDataCurveRename", "Rename Curve"},
    {"mnuDataCurveDelete", "Delete Curve"},
    {"mnuDataCurveColour", "Curve Colour"},
    {"mnuPictureResetScale", "Reset Scale"},
};

// Undone or redone, the grid, the markers and the calibration are shown
// afresh from the document.
void TakeStep(bool back)
{
    EditHistory& history = app().history;
    if (back ? !history.stack().canUndo() : !history.stack().canRedo())
        return;
    DataForm().changeCurves([&](CurveDocument&) { back ? history.undo() : history.redo(); });
    if (app().document)
        app().document->showCurves();
}

void ShowCalibration()
{
    if (app().document)
        app().document->surface()->setFrame(appState().frame());
    RedrawCalibratedAxes();
}

} // namespace

void RegisterHistoryCommands(MainWindow& main)
{
    CommandRouter& c = app().commands;
    for (const auto& [command, step] : CommandSteps) {
        const QString name = QString::fromLatin1(command);
        const QString stepName = QString::fromLatin1(step);
        std::function<void()> inner = c.command(name);
        if (!inner)
            continue;
        c.add(name, [inner = std::move(inner), stepName] {
            const UndoStep undoStep(stepName);
            inner();
        });
    }
    c.add(QStringLiteral("mnuDataUndo"), [] { TakeStep(true); });
    c.add(QStringLiteral("mnuDataRedo"), [] { TakeStep(false); });
    app().calibrationState.afterRestore = ShowCalibration;

    // The menu items name the step they take back or do again.
    QAction* undo = main.action(QStringLiteral("mnuDataUndo"));
    QAction* redo = main.action(QStringLiteral("mnuDataRedo"));
    const QUndoStack* stack = &app().history.stack();
    const auto show = [undo, redo, stack] {
        undo->setText(stack->canUndo() ? QStringLiteral("&Undo %1").arg(stack->undoText()) : QStringLiteral("&Undo"));
        redo->setText(stack->canRedo() ? QStringLiteral("&Redo %1").arg(stack->redoText()) : QStringLiteral("&Redo"));
        undo->setEnabled(stack->canUndo());
        redo->setEnabled(stack->canRedo());
    };
    QObject::connect(stack, &QUndoStack::indexChanged, undo, show);
    QObject::connect(stack, &QUndoStack::cleanChanged, undo, show);
    show();
}

} // namespace tracella
