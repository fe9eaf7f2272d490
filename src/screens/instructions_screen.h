// The instructions screen: two stacked pages scrolled with Up and Down.
#pragma once

#include <cstdint>

#include "screens/screen_machine.h"

namespace InstructionsScreen {
void load();
void unload();
ScreenId update(uint32_t elapsedMs);  // ScreenId::Title once left
void draw();
bool isLoaded();
float scroll();  // how far the stacked pages are moved up
}  // namespace InstructionsScreen
