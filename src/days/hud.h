// The money counter, the masks and the breath bar.
#pragma once

#include <cstdint>

namespace Hud {
void load();
void unload();
void tick();
void draw(float light);
int32_t shownMoney();
float shownBreath();
bool isLoaded();
bool breathBarIsRed();  // as the next draw will tint it
}  // namespace Hud
