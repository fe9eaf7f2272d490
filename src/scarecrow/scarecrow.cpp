// Placeholder: replaced by the real module.
#include "scarecrow/scarecrow.h"

void Scarecrow::load() {}
void Scarecrow::unload() {}
void Scarecrow::startDay() {}
void Scarecrow::update() {}
void Scarecrow::draw() {}
int32_t Scarecrow::money() { return {}; }
float Scarecrow::breath() { return {}; }
uint8_t Scarecrow::masks() { return {}; }
void Scarecrow::award(int32_t ) {}
bool Scarecrow::tryPickUp(float , float ) { return false; }
void Scarecrow::powerDown() {}
ScarecrowState& Scarecrow::state() { static ScarecrowState v{}; return v; }
