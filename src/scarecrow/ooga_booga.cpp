#include "scarecrow/ooga_booga.h"

#include <memory>

#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "render/sprite.h"
#include "sound/sound_clip.h"

namespace {
constexpr float wordWidth = 512.0f;
constexpr float wordHeight = 128.0f;
constexpr float flightTicks = 60.0f;  // the words take this long to reach their places
constexpr int32_t lastTick = 60;      // the update after this one ends the power
constexpr float scaleStep = 1.0f / 60.0f;
constexpr float restX = 320.0f;
constexpr float restOogaY = 100.0f;
constexpr float restBoogaY = 380.0f;

OogaBoogaState power{};
std::unique_ptr<Sprite> oogaSprite;
std::unique_ptr<Sprite> boogaSprite;
std::unique_ptr<SoundClip> shoutClip;
}  // namespace

void OogaBooga::start(float x, float y) {
  power.active = true;
  oogaSprite = std::make_unique<Sprite>("graphics\\ooga.tga", wordWidth, wordHeight, 0.0f, 0.0f);
  boogaSprite = std::make_unique<Sprite>("graphics\\booga.tga", wordWidth, wordHeight, 0.0f, 0.0f);
  shoutClip = std::make_unique<SoundClip>("sound\\oogabooga.wav");
  shoutClip->play();

  power.scale = 0.0f;
  power.oogaX = x;
  power.oogaY = y;
  power.boogaY = y;
  power.stepX = (restX - x) / flightTicks;
  power.stepOogaY = (restOogaY - y) / flightTicks;
  power.stepBoogaY = (restBoogaY - y) / flightTicks;
  power.ticks = 0;

  // Only what is on the field right now reacts; later arrivals are left alone.
  CrowFlock::scareAll();
  PelicanFlock::scareAll();
  CowHerd::scareAll();
}

bool OogaBooga::isActive() {
  return power.active;
}

void OogaBooga::update() {
  if (!power.active) return;
  if (power.scale < 1.0f) power.scale += scaleStep;
  power.oogaX += power.stepX;
  power.oogaY += power.stepOogaY;
  power.boogaY += power.stepBoogaY;
  ++power.ticks;
  if (power.ticks > lastTick) end();
}

void OogaBooga::draw() {
  if (!power.active) return;
  const float width = power.scale * wordWidth;
  const float height = power.scale * wordHeight;
  if (oogaSprite) oogaSprite->drawTinted(power.oogaX, power.oogaY, 0.0f, width, height, 1.0f, 1.0f, 1.0f);
  if (boogaSprite) boogaSprite->drawTinted(power.oogaX, power.boogaY, 0.0f, width, height, 1.0f, 1.0f, 1.0f);
}

void OogaBooga::end() {
  if (!power.active) return;
  oogaSprite.reset();
  boogaSprite.reset();
  shoutClip.reset();
  power.active = false;
}

const OogaBoogaState& OogaBooga::state() {
  return power;
}

bool OogaBooga::holdsResources() {
  return oogaSprite || boogaSprite || shoutClip;
}
