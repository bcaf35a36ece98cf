#pragma once

namespace tracella {

// mnuViewOptions: the options dialog, modal over the main window; after it
// closes the points are drawn again and the picture becomes active.
void RegisterOptionsCommands();

} // namespace tracella
