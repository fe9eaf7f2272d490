// The best-games table, shown from the title with B: rank, day reached, score and date of each.
#pragma once

#include <cstdint>

#include "screens/screen_machine.h"

namespace BestGamesScreen {
void load();
void unload();
bool isLoaded();
// Enter, Space, Ctrl or Escape go back to the title.
ScreenId update(uint32_t elapsedMs);
void draw();
}  // namespace BestGamesScreen
