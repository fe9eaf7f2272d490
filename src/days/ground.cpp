#include "days/ground.h"

#include <memory>

#include "render/sprite.h"

namespace {
constexpr float grassImageSize = 512.0f;
constexpr float grassAnchor = 0.0f;
// Stretched once over the whole logical screen, no tiling.
constexpr float screenCentreX = 320.0f;
constexpr float screenCentreY = 240.0f;
constexpr float screenWidth = 640.0f;
constexpr float screenHeight = 480.0f;

std::unique_ptr<Sprite> grass;
}  // namespace

void Ground::load() {
  grass = std::make_unique<Sprite>("graphics\\grass.tga", grassImageSize, grassImageSize, grassAnchor,
                                   grassAnchor);
}

void Ground::unload() {
  grass.reset();
}

void Ground::draw(float brightness) {
  if (!grass) return;
  grass->drawTinted(screenCentreX, screenCentreY, 0.0f, screenWidth, screenHeight, brightness, brightness,
                    brightness);
}
