#pragma once

#include "app/core/AppState.h"
#include "app/widgets/CommandRouter.h"
#include "calibration/ActiveCalibration.h"
#include "calibration/CalibrationState.h"
#include "data/CurveDocument.h"
#include "data/EditHistory.h"
#include "data/ProjectFile.h"

#include <QPointer>

namespace tracella {

class MainWindow;
class DocumentWindow;
class DataWindow;
class ZoomWindow;
class TipWindow;

// The composition root: the one instance of each child window (every part
// reaches a window by its form name) and the command router.
struct AppContext {
    QPointer<MainWindow> main;
    QPointer<DocumentWindow> document;
    QPointer<DataWindow> data;
    QPointer<ZoomWindow> zoom;
    QPointer<TipWindow> tip;
    CommandRouter commands;
    // The curves of the picture and their points, whether a window shows them or not.
    CurveDocument curves;
    // What undo takes back: the curves, the settings and the calibration.
    CalibrationState calibrationState{appState(), activeCalibration()};
    EditHistory history{curves, &calibrationState};
    // Where the picture came from, as a project keeps it (its bytes only
    // for a file opened as it is).
    ProjectPicture pictureOrigin;
    QString projectFileName;
};

AppContext& app();

// One step of the undo history for as long as it lives.
class UndoStep : public HistoryStep {
public:
    explicit UndoStep(const QString& name) : HistoryStep(app().history, name) {}
    UndoStep(const QString& name, std::any sideBefore) : HistoryStep(app().history, name, std::move(sideBefore)) {}
};

// Runs a command by its menu item name.
inline void RunCommand(const QString& name) { app().commands.run(name); }

} // namespace tracella
