// Placeholder: replaced by the real module.
#include "field/cow_herd.h"

void CowHerd::load() {}
void CowHerd::unload() {}
void CowHerd::spawn(bool ) {}
void CowHerd::tick() {}
void CowHerd::draw() {}
bool CowHerd::scareAt(float , float ) { return false; }
void CowHerd::scareAll() {}
bool CowHerd::isEmpty() { return true; }
void CowHerd::aim(int ) {}
Cow& CowHerd::cow(int ) { static Cow v{}; return v; }
int CowHerd::countInUse() { return {}; }
