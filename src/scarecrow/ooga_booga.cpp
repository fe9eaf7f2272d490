// Placeholder: replaced by the real module.
#include "scarecrow/ooga_booga.h"

void OogaBooga::start(float , float ) {}
bool OogaBooga::isActive() { return false; }
void OogaBooga::update() {}
void OogaBooga::draw() {}
void OogaBooga::end() {}
