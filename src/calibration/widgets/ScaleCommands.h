#pragma once

namespace tracella {

// Reset Scale and, with point picking, the scale-mode command.
void RegisterScaleCommands();

} // namespace tracella
