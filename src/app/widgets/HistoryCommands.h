#pragma once

namespace tracella {

class MainWindow;

// Undo and Redo, and the steps the commands that change points or the
// calibration make; registered after every other command.
void RegisterHistoryCommands(MainWindow& main);

} // namespace tracella
