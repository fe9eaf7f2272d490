#include "days/hud.h"

#include <memory>

#include "render/digit_sprites.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"

namespace {
constexpr int32_t moneyChaseStep = 1;
constexpr float breathChaseStep = 4.0f;
constexpr float maskX = 608.0f;
constexpr float firstMaskY = 64.0f;
constexpr float maskSpacing = 50.0f;
constexpr float maskSize = 64.0f;
constexpr float breathBarHeight = 32.0f;

std::unique_ptr<Sprite> maskSprite;
std::unique_ptr<Sprite> breathBarSprite;
int32_t money = 0;
float breath = 0.0f;
}  // namespace

void Hud::load() {
  maskSprite = std::make_unique<Sprite>("graphics\\oogamask.tga", 64.0f, 64.0f, 0.0f, 0.0f);
  breathBarSprite = std::make_unique<Sprite>("graphics\\breathmeter.tga", 256.0f, 64.0f, -0.5f, -0.5f);
  money = 0;
  breath = 0.0f;
}

void Hud::unload() {
  maskSprite.reset();
  breathBarSprite.reset();
}

void Hud::tick() {
  const int32_t realMoney = Scarecrow::money();
  const float realBreath = Scarecrow::breath();
  if (money < realMoney) {
    money += moneyChaseStep;
  } else if (money > realMoney) {
    money -= moneyChaseStep;
  }
  if (realBreath > breath) {
    breath += breathChaseStep;
    if (breath > realBreath) breath = realBreath;
  } else if (realBreath < breath) {
    breath -= breathChaseStep;
    if (breath < realBreath) breath = realBreath;
  }
}

bool Hud::breathBarIsRed() {
  return Scarecrow::breath() < Scarecrow::shoutBreath;  // too little for a shout
}

void Hud::draw(float light) {
  if (!isLoaded()) return;
  drawSixDigitsTop(money, light);
  const int masks = Scarecrow::masks();
  for (int i = 0; i < masks; ++i) {
    maskSprite->drawTinted(maskX, firstMaskY + maskSpacing * static_cast<float>(i), 0.0f, maskSize, maskSize,
                           light, light, light);
  }
  const float greenBlue = breathBarIsRed() ? 0.0f : light;
  breathBarSprite->drawTinted(0.0f, 0.0f, 0.0f, breath, breathBarHeight, light, greenBlue, greenBlue);
}

int32_t Hud::shownMoney() {
  return money;
}
float Hud::shownBreath() {
  return breath;
}
bool Hud::isLoaded() {
  return maskSprite != nullptr;
}
