// The store between days: nine items on a grid, a shopkeeper, and the exit.
#pragma once

#include <cstdint>

namespace Store {
void load();
void unload();
void update(uint32_t elapsedMs);
void draw();
void refreshOffers();
bool isLoaded();
}  // namespace Store
