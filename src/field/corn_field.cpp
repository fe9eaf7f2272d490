// Placeholder: replaced by the real module.
#include "field/corn_field.h"

void CornField::load() {}
void CornField::unload() {}
void CornField::layOut() {}
void CornField::tick() {}
void CornField::draw() {}
int32_t CornField::findStalkWithCorn(float , float , float ) { return {}; }
bool CornField::takeEar(int32_t ) { return false; }
bool CornField::eatStalk(int32_t ) { return false; }
int32_t CornField::liveStalkCount() { return {}; }
void CornField::plantStalk() {}
bool CornField::canFertilize() { return false; }
void CornField::fertilize() {}
CornStalk& CornField::stalk(int32_t ) { static CornStalk v{}; return v; }
int32_t CornField::slotCount() { return {}; }
int32_t CornField::earCount() { return {}; }
