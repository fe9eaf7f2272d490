// The title screen: logo, rising corn, and the five-button menu.
#pragma once

#include <cstdint>

#include "screens/screen_machine.h"

namespace TitleScreen {
void load();
void unload();
ScreenId update(uint32_t elapsedMs);  // the screen chosen, or ScreenId::None
void draw();
bool isLoaded();

// Read by tests and the harness.
struct BackgroundStalk {
  float x;
  float y;
  float angle;
  float facing;  // +1 or -1: a negative width mirrors the picture
};
constexpr int backgroundStalkCount = 128;
constexpr int buttonCount = 5;
const BackgroundStalk& backgroundStalk(int index);
float buttonGlow(int index);
float logoSize();
float logoVelocity();
int32_t logoTicks();
float menuAlpha();
float cornOffset();
int selection();
bool menuTakesKeys();
}  // namespace TitleScreen
