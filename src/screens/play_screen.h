// The Play screen's driver: world load and unload, fixed 16 ms ticks, draw order, game over.
#pragma once

#include <cstdint>

extern bool worldLoaded;
extern bool gameOver;
extern uint32_t tickBacklog;
extern float worldLight;
extern uint32_t playTicksRun;  // PlayTicks since the world was loaded

void loadWorld();
void unloadWorld();
void updatePlay(uint32_t elapsedMs);
void playTick();
void drawPlay();
void triggerGameOver();
