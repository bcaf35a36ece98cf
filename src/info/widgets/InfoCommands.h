#pragma once

namespace tracella {

// The help menu's about command.
void RegisterInfoCommands();

} // namespace tracella
