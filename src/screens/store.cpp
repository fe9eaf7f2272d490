// Placeholder: replaced by the real module.
#include "screens/store.h"

void Store::load() {}
void Store::unload() {}
void Store::update(uint32_t ) {}
void Store::draw() {}
void Store::refreshOffers() {}
bool Store::isLoaded() { return false; }
