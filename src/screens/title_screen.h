// The title screen: logo, rising corn, and the five-button menu.
#pragma once

#include <cstdint>

namespace TitleScreen {
void load();
void unload();
void update(uint32_t elapsedMs);
void draw();
bool isLoaded();
}  // namespace TitleScreen
