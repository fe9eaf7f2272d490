// Placeholder: replaced by the real module.
#include "scarecrow/boo_shout.h"

void BooShout::load() {}
void BooShout::unload() {}
void BooShout::clear() {}
void BooShout::spawn(ShoutParticleKind , float , float , float ) {}
void BooShout::shout(float , float , float ) {}
void BooShout::update() {}
void BooShout::draw() {}
ShoutParticle& BooShout::particle(int ) { static ShoutParticle v{}; return v; }
int BooShout::countInUse() { return {}; }
