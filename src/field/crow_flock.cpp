// Placeholder: replaced by the real module.
#include "field/crow_flock.h"
#include "render/sprite.h"

void CrowFlock::load() {}
void CrowFlock::unload() {}
void CrowFlock::spawn(bool ) {}
void CrowFlock::tick() {}
void CrowFlock::draw() {}
bool CrowFlock::scareAt(float , float ) { return false; }
void CrowFlock::scareAll() {}
bool CrowFlock::isEmpty() { return true; }
Sprite* CrowFlock::cornSprite() { return nullptr; }
void CrowFlock::aim(int ) {}
float& CrowFlock::carrySpeedFactor() { static float v{}; return v; }
Crow& CrowFlock::crow(int ) { static Crow v{}; return v; }
int CrowFlock::countInUse() { return {}; }
