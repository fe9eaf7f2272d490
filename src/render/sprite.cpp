// Placeholder: replaced by the real module.
#include "render/sprite.h"

class Texture {};
Sprite::Sprite(const char*, float w, float h, float ax, float ay) : width_(w), height_(h), anchorX_(ax), anchorY_(ay) {}
Sprite::~Sprite() {}
void Sprite::draw(float, float) {}
void Sprite::drawTinted(float, float, float, float, float, float, float, float) {}
void Sprite::drawBlended(float, float, float, float, float, float, float, float, float) {}
void beginOverlay2D() {}
void endOverlay2D() {}
