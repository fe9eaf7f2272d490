// Placeholder until the play driver lands.
#include "screens/play_screen.h"
bool worldLoaded = false;
bool gameOver = false;
uint32_t tickBacklog = 0;
float worldLight = 0;
void loadWorld() {}
void unloadWorld() {}
void updatePlay(uint32_t) {}
void playTick() {}
void drawPlay() {}
void triggerGameOver() {}
