// The Play screen's driver: world load and unload, fixed 16 ms ticks, draw order, game over.
#pragma once

#include <cstdint>

#include "screens/screen_machine.h"

void loadWorld();
void unloadWorld();
// Both return the screen the frame asks for, or ScreenId::None to stay.
ScreenId updatePlay(uint32_t elapsedMs);
ScreenId updateStoreVisit(uint32_t elapsedMs);  // leaving the store brings the next dawn
void playTick();
void drawPlay();
bool isWorldLoaded();
bool isGameOver();
float worldLight();      // read from the day cycle once a tick
uint32_t playBacklog();  // ms not yet ticked
void triggerGameOver();
