#include "days/day_cycle.h"

#include <memory>

#include "days/day_director.h"
#include "render/digit_sprites.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "shell/numeric.h"
#include "sound/sound_clip.h"

namespace {
constexpr float offScreenStartY = 736.0f;  // rooster and sun start well below the bottom edge
constexpr float screenBottom = 480.0f;
constexpr float sunRestY = 240.0f;
constexpr float lightAtDawn = 0.2f;
constexpr float fullLight = 1.0f;
constexpr float roosterStep = 4.0f;
constexpr float sunAngleStep = 2.0f;
constexpr float fullTurn = 360.0f;
constexpr float sunSpring = 1.0f;
constexpr float sunDamping = 0.25f;
constexpr float sunSpeedLimit = 16.0f;
constexpr float lightRiseBelowY = 300.0f;
constexpr float lightRiseStep = 0.05f;
constexpr int32_t sunriseTickLimit = 120;
constexpr float sunHoldStep = 1.0f;
constexpr float titleFadeStep = 0.1f;
constexpr int32_t holdTickCount = 60;
constexpr float sunLeaveVelocity = 10.0f;  // sinks a little first, then climbs away
constexpr float gameOverFadeStep = 0.01f;

constexpr float titleBaseX = 360.0f;
constexpr float titleShiftPerDigit = 22.0f;  // each digit widens the number by 44
constexpr float titleY = 220.0f;
constexpr float bannerX = 320.0f;
constexpr float bannerY = 300.0f;
constexpr float gameOverBannerY = 180.0f;
constexpr float sunX = 320.0f;
constexpr float sunSize = 256.0f;
constexpr float roosterSize = 180.0f;
constexpr float dayTitleW = 128.0f;
constexpr float dayTitleH = 64.0f;
constexpr float bannerW = 256.0f;
constexpr float bannerH = 64.0f;

int shownDayNumber = 1;
DayPhase currentPhase = DayPhase::RoosterRise;
float rooster = offScreenStartY;
float sun = offScreenStartY;
float sunSpeed = 0.0f;
float angle = 0.0f;
float light = lightAtDawn;
float alpha = 0.0f;
int32_t sunriseTicks = 0;
int32_t holdTicks = 0;
bool loaded = false;

std::unique_ptr<Sprite> dayTitleSprite;
std::unique_ptr<Sprite> sunSprite;
std::unique_ptr<Sprite> roosterSprite;
std::unique_ptr<Sprite> scurvyBanner;
std::unique_ptr<Sprite> moomaniaBanner;
std::unique_ptr<Sprite> gameOverBanner;
std::unique_ptr<SoundClip> roosterClip;
std::unique_ptr<SoundClip> scurvyClip;
std::unique_ptr<SoundClip> maniaClip;

void spinSun() {
  angle += sunAngleStep;
  if (angle > fullTurn) angle -= fullTurn;
}

void play(const std::unique_ptr<SoundClip>& clip) {
  if (clip) clip->play();
}

void playDayClip() {
  switch (DayDirector::kind()) {
    case DayKind::Scurvy:
      play(scurvyClip);
      break;
    case DayKind::Moomania:
      play(maniaClip);
      break;
    default:
      play(roosterClip);
      break;
  }
}

void stepRoosterRise() {
  rooster -= roosterStep;
  if (rooster < screenBottom) {
    rooster = screenBottom;
    currentPhase = DayPhase::SunRise;
    playDayClip();
  }
}

void stepSunRise() {
  sun -= sunSpeed;
  if (sun < sunRestY) {
    sunSpeed -= sunSpring;
  } else {
    sunSpeed += sunSpring;
  }
  if (sun < lightRiseBelowY && light < fullLight) light += lightRiseStep;
  ++sunriseTicks;
  approachZero(sunSpeed, sunDamping);
  clampMagnitude(sunSpeed, sunSpeedLimit);
  if (sunriseTicks > sunriseTickLimit) currentPhase = DayPhase::DayTitleIn;
}

void stepDayTitleIn() {
  rooster += roosterStep;
  approachValue(sun, sunHoldStep, sunRestY);
  alpha += titleFadeStep;
  if (alpha >= 1.0f) {
    alpha = 1.0f;
    currentPhase = DayPhase::DayTitleHold;
  }
}

void stepDayTitleHold() {
  rooster += roosterStep;
  ++holdTicks;
  if (holdTicks == holdTickCount) {
    currentPhase = DayPhase::DayRunning;
    sunSpeed = sunLeaveVelocity;
  }
}

void stepDayRunning() {
  sunSpeed -= sunSpring;
  sun += sunSpeed;
  if (alpha > 0.0f) alpha -= titleFadeStep;
}
}  // namespace

void DayCycle::load(int dayIndex) {
  // A new day replaces the set of the day before.
  unload();
  dayTitleSprite = std::make_unique<Sprite>("graphics\\text_day.tga", 128.0f, 64.0f, 0.5f, -0.5f);
  sunSprite = std::make_unique<Sprite>("graphics\\sun.tga", 256.0f, 256.0f, 0.0f, 0.0f);
  roosterSprite = std::make_unique<Sprite>("graphics\\rooster.tga", 256.0f, 256.0f, -0.5f, 0.5f);
  scurvyBanner = std::make_unique<Sprite>("graphics\\scurvy.tga", 256.0f, 64.0f, 0.0f, 0.0f);
  moomaniaBanner = std::make_unique<Sprite>("graphics\\moomania.tga", 256.0f, 64.0f, 0.0f, 0.0f);
  gameOverBanner = std::make_unique<Sprite>("graphics\\gameover.tga", 256.0f, 64.0f, 0.0f, 0.0f);

  shownDayNumber = dayIndex + 1;
  currentPhase = DayPhase::RoosterRise;
  rooster = offScreenStartY;
  sun = offScreenStartY;
  sunSpeed = 0.0f;
  angle = 0.0f;
  light = lightAtDawn;
  alpha = 0.0f;
  sunriseTicks = 0;
  holdTicks = 0;
  loaded = true;

  roosterClip = std::make_unique<SoundClip>("sound\\rooster.wav");
  scurvyClip = std::make_unique<SoundClip>("sound\\scurvy.wav");
  maniaClip = std::make_unique<SoundClip>("sound\\mania.wav");
}

void DayCycle::unload() {
  if (!loaded) return;
  dayTitleSprite.reset();
  sunSprite.reset();
  roosterSprite.reset();
  scurvyBanner.reset();
  moomaniaBanner.reset();
  gameOverBanner.reset();
  roosterClip.reset();
  scurvyClip.reset();
  maniaClip.reset();
  loaded = false;
}

void DayCycle::tick() {
  spinSun();
  switch (currentPhase) {
    case DayPhase::RoosterRise:
      stepRoosterRise();
      break;
    case DayPhase::SunRise:
      stepSunRise();
      break;
    case DayPhase::DayTitleIn:
      stepDayTitleIn();
      break;
    case DayPhase::DayTitleHold:
      stepDayTitleHold();
      break;
    case DayPhase::DayRunning:
      stepDayRunning();
      break;
  }
}

void DayCycle::tickGameOver() {
  spinSun();
  if (light > 0.0f) light -= gameOverFadeStep;
}

bool DayCycle::isDayRunning() {
  return currentPhase == DayPhase::DayRunning;
}

float DayCycle::lightLevel() {
  return light;
}

float DayCycle::titleX() {
  int digits = 1;
  for (int rest = shownDayNumber; rest > 9; rest /= 10) ++digits;
  return titleBaseX - titleShiftPerDigit * static_cast<float>(digits - 1);
}

void DayCycle::draw() {
  if (!loaded) return;
  roosterSprite->drawTinted(0.0f, rooster, 0.0f, roosterSize, roosterSize, light, light, light);
  sunSprite->drawTinted(sunX, sun, angle, sunSize, sunSize, 1.0f, 1.0f, 1.0f);
  const float x = titleX();
  dayTitleSprite->drawBlended(x, titleY, 0.0f, dayTitleW, dayTitleH, 1.0f, 1.0f, 1.0f, alpha);
  drawNumberFaded(x, titleY, shownDayNumber, alpha);
  Sprite* banner = nullptr;
  if (DayDirector::kind() == DayKind::Scurvy) banner = scurvyBanner.get();
  if (DayDirector::kind() == DayKind::Moomania) banner = moomaniaBanner.get();
  if (banner) banner->drawBlended(bannerX, bannerY, 0.0f, bannerW, bannerH, 1.0f, 1.0f, 1.0f, alpha);
}

void DayCycle::drawGameOver() {
  if (!loaded) return;
  // Everything here stays bright while the world beneath fades.
  sunSprite->drawTinted(sunX, sunRestY, angle, sunSize, sunSize, 1.0f, 1.0f, 1.0f);
  const float x = titleX();
  dayTitleSprite->drawTinted(x, titleY, 0.0f, dayTitleW, dayTitleH, 1.0f, 1.0f, 1.0f);
  drawNumberFaded(x, titleY, shownDayNumber, 1.0f);
  drawSixDigitsLarge(Scarecrow::state().score);
  gameOverBanner->drawTinted(bannerX, gameOverBannerY, 0.0f, bannerW, bannerH, 1.0f, 1.0f, 1.0f);
}

DayPhase DayCycle::phase() {
  return currentPhase;
}
bool DayCycle::isLoaded() {
  return loaded;
}
int DayCycle::shownDay() {
  return shownDayNumber;
}
float DayCycle::roosterY() {
  return rooster;
}
float DayCycle::sunY() {
  return sun;
}
float DayCycle::sunVelocity() {
  return sunSpeed;
}
float DayCycle::sunAngle() {
  return angle;
}
float DayCycle::titleAlpha() {
  return alpha;
}
