// Placeholder: replaced by the real module.
#include "days/hud.h"

void Hud::load() {}
void Hud::unload() {}
void Hud::tick() {}
void Hud::draw() {}
int32_t Hud::shownMoney() { return {}; }
float Hud::shownBreath() { return {}; }
