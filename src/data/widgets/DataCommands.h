#pragma once

namespace tracella {

// The data commands of the menus, the toolbar and the grid's pop-up menu,
// with the main window's Refresh that redraws the points from the grid.
void RegisterDataCommands();

// The groups RegisterDataCommands adds.
void RegisterDataFileCommands();
void RegisterDataEditCommands();
void RegisterCurveCommands();
void RegisterPrintCommand();
void RegisterRefreshCommand();

} // namespace tracella
