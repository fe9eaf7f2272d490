// The sound level keys on every screen: M mutes and unmutes, - and + step the level in tenths. A small
// indicator shows the level in a corner for a second after each change; the level is remembered.
#pragma once

#include <cstdint>

namespace VolumeControl {
void load();
void unload();
// Hands the remembered level to the sound system.
void apply();
void update(uint32_t elapsedMs);
void draw();

// Milliseconds the indicator has left on screen.
uint32_t shownFor();
}  // namespace VolumeControl
