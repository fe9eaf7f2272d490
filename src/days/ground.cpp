// Placeholder: replaced by the real module.
#include "days/ground.h"

void Ground::load() {}
void Ground::unload() {}
void Ground::draw(float ) {}
