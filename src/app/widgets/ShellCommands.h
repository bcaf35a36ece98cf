#pragma once

namespace tracella {

class MainWindow;

// The main window's own commands: exit, view toggles, zoom, guide,
// window arrangement and help.
void RegisterShellCommands(MainWindow& main);

} // namespace tracella
