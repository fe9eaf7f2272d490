// Placeholder until the screen machine lands.
#include "screens/screen_machine.h"
ScreenMachine* screenMachine = nullptr;
bool gameStartup(AppWindow*) { return true; }
void gameShutdown() {}
void gameUpdate(uint32_t) {}
void gameDraw() {}
void applyScreenChange() {}
