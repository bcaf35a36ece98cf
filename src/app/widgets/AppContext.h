#pragma once

#include "app/widgets/CommandRouter.h"
#include "data/CurveDocument.h"

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
};

AppContext& app();

// Runs a command by its menu item name.
inline void RunCommand(const QString& name) { app().commands.run(name); }

} // namespace tracella
