#pragma once

#include <QStringList>

namespace tracella {

class MainWindow;

// Creates the main window and its child windows and runs the load step.
MainWindow* CreateMainWindow();

// The whole start-up: splash, start sound, main window, guide. A picture
// file named first among the arguments decodes while the splash shows and
// opens once the splash has closed, before the guide.
MainWindow* RunStartup(const QStringList& arguments = {});

} // namespace tracella
