// Placeholder: replaced by the real module.
#include "days/day_cycle.h"

void DayCycle::load(int ) {}
void DayCycle::unload() {}
void DayCycle::tick() {}
void DayCycle::tickGameOver() {}
bool DayCycle::isDayRunning() { return false; }
float DayCycle::lightLevel() { return {}; }
void DayCycle::draw() {}
void DayCycle::drawGameOver() {}
DayPhase DayCycle::phase() { return {}; }
bool DayCycle::isLoaded() { return false; }
