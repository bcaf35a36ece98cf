#pragma once

#include "picture/PictureJob.h"

#include <optional>

namespace tracella {

// Waits for a picture decoded on a worker with the windows answering: they
// repaint, the main window's progress bar shows the rows decoded (or runs
// to and fro where the decoder cannot tell) with a Cancel button beside it,
// the pointer shows the arrow and hourglass, and every input but Esc and a
// click on Cancel is held back so that no command starts meanwhile. Either
// gives the job up: nullopt, with nothing changed.
std::optional<LoadedPicture> AwaitPicture(PictureJob& job);

} // namespace tracella
