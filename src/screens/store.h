// The store between days: nine items on a grid, a shopkeeper, and the exit.
#pragma once

#include <cstdint>

#include "screens/screen_machine.h"

namespace Store {
void load();
void unload();
ScreenId update(uint32_t elapsedMs);  // ScreenId::Play once the player leaves
void draw(float light);
void refreshOffers();
bool isLoaded();

// Read by tests and the harness. Selection 0 is the exit button, 1..9 the items.
constexpr int exitSlot = 0;
constexpr int slotCount = 10;
int selection();
bool isOffered(int slot);
int32_t price(int slot);
float cursorX();
float cursorY();
float cursorAngle();
float shopkeeperY();
}  // namespace Store
