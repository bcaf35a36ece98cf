#pragma once

namespace tracella {

constexpr int StartSound = 16;
constexpr int ClickSound = 48;

// Starts the WAVE resource with this id playing from memory, without
// waiting, then lets pending events run. Failures are silent.
void PlayResourceSound(int id);

} // namespace tracella
