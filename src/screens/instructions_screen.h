// The instructions screen: two stacked pages scrolled with Up and Down.
#pragma once

#include <cstdint>

namespace InstructionsScreen {
void load();
void unload();
void update(uint32_t elapsedMs);
void draw();
bool isLoaded();
float scroll();  // how far the stacked pages are moved up
}  // namespace InstructionsScreen
