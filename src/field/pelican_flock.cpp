// Placeholder: replaced by the real module.
#include "field/pelican_flock.h"

void PelicanFlock::load() {}
void PelicanFlock::unload() {}
void PelicanFlock::spawn(bool ) {}
void PelicanFlock::tick() {}
void PelicanFlock::draw() {}
bool PelicanFlock::scareAt(float , float ) { return false; }
void PelicanFlock::scareAll() {}
bool PelicanFlock::isEmpty() { return true; }
void PelicanFlock::aim(int ) {}
Pelican& PelicanFlock::pelican(int ) { static Pelican v{}; return v; }
int PelicanFlock::countInUse() { return {}; }
