#pragma once

namespace tracella {

class MainWindow;

// Creates the main window and its child windows and runs the load step.
MainWindow* CreateMainWindow();

// The whole start-up: splash, start sound, main window, guide.
MainWindow* RunStartup();

} // namespace tracella
