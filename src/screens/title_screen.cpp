#include "screens/title_screen.h"

#include <memory>

#include "days/day_director.h"
#include "days/ground.h"
#include "render/digit_sprites.h"
#include "render/sprite.h"
#include "screens/fixed_step.h"
#include "screens/screen_machine.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "sound/sound_clip.h"

namespace {

constexpr float stalkSpreadX = 760.0f;
constexpr float stalkLeftX = -60.0f;
constexpr float stalkRowStep = 4.0625f;
constexpr float stalkTiltRange = 20.0f;
constexpr float stalkTiltLeft = -10.0f;
constexpr float stalkWidth = 128.0f;
constexpr float stalkHeight = 256.0f;
constexpr float stalkShade = 0.6f;
constexpr float groundBrightness = 0.7f;

constexpr float glowStep = 0.1f;
constexpr float glowSelected = 1.0f;
constexpr float glowIdle = 0.6f;

constexpr float cornStartOffset = 350.0f;
constexpr float cornRiseStep = 2.0f;

constexpr int32_t logoSpringSteps = 180;
constexpr float logoRestSize = 240.0f;
constexpr float logoSpring = 1.0f;
constexpr float logoDamping = 0.25f;
constexpr float logoSpeedLimit = 16.0f;
constexpr float logoX = 320.0f;
constexpr float logoY = 120.0f;
constexpr float logoAngleOffset = 120.0f;  // upright (360) at rest size
constexpr float logoWidthSum = 720.0f;     // width shrinks as height grows: 480 x 240 at rest
constexpr float menuFadeStep = 0.02f;
constexpr float menuTakesKeysAbove = 0.5f;

constexpr float subtitleX = 320.0f;
constexpr float subtitleY = 210.0f;
constexpr float subtitleW = 480.0f;
constexpr float subtitleH = 240.0f;
constexpr float cornPlantLeftX = 100.0f;
constexpr float cornPlantRightX = 540.0f;
constexpr float cornPlantY = 480.0f;
constexpr float cornPlantSize = 256.0f;
constexpr float buttonX = 320.0f;
constexpr float firstButtonY = 240.0f;
constexpr float buttonSpacing = 50.0f;
constexpr float buttonW = 256.0f;
constexpr float buttonH = 64.0f;
constexpr float settingX = 400.0f;
constexpr float cornSettingY = 262.0f;
constexpr float daySettingY = 312.0f;

enum Button : int { StartButton = 0, CornButton = 1, DayButton = 2, InstructionsButton = 3, QuitButton = 4 };

const char* const buttonFiles[TitleScreen::buttonCount] = {
    "graphics\\title_btn0.tga", "graphics\\title_btn1.tga", "graphics\\title_btn2.tga",
    "graphics\\title_btn3.tga", "graphics\\title_btn4.tga",
};

bool loaded = false;
TitleScreen::BackgroundStalk stalks[TitleScreen::backgroundStalkCount];
float glow[TitleScreen::buttonCount];
FixedStep stepper;
float logo = 0.0f;
float logoSpeed = 0.0f;
int32_t logoStepCount = 0;
float menu = 0.0f;
float corn = cornStartOffset;
int selected = 0;

std::unique_ptr<SoundClip> titleClip;
std::unique_ptr<Sprite> logoSprite;
std::unique_ptr<Sprite> subtitleSprite;
std::unique_ptr<Sprite> cornPlantSprite;
std::unique_ptr<Sprite> stalkSprite;
std::unique_ptr<Sprite> buttonSprites[TitleScreen::buttonCount];

ScreenId next = ScreenId::None;  // asked for by this frame's keys; the last ask wins

void request(ScreenId id) {
  next = id;
}

void layOutStalks() {
  for (int i = 0; i < TitleScreen::backgroundStalkCount; ++i) {
    TitleScreen::BackgroundStalk& s = stalks[i];
    s.x = randomFloat(stalkSpreadX) + stalkLeftX;
    s.y = static_cast<float>(i) * stalkRowStep;
    s.angle = randomFloat(stalkTiltRange) + stalkTiltLeft;
    s.facing = randomInt(2) != 0 ? 1.0f : -1.0f;
  }
}

void step() {
  for (int i = 0; i < TitleScreen::buttonCount; ++i) {
    approachValue(glow[i], glowStep, i == selected ? glowSelected : glowIdle);
  }
  if (corn > 0.0f) corn -= cornRiseStep;
  if (logoStepCount < logoSpringSteps) {
    ++logoStepCount;
    logo += logoSpeed;
    if (logo > logoRestSize) {
      logoSpeed -= logoSpring;
    } else {
      logoSpeed += logoSpring;
    }
    approachZero(logoSpeed, logoDamping);
    clampMagnitude(logoSpeed, logoSpeedLimit);
  } else {
    logo = logoRestSize;
    if (menu < 1.0f) menu += menuFadeStep;
  }
}

void choose() {
  switch (selected) {
    case StartButton:
      request(ScreenId::Play);
      DayDirector::beginGame();
      break;
    case CornButton:
      DayDirector::cycleStartingCorn();
      break;
    case DayButton:
      DayDirector::stepStartingDay();
      break;
    case InstructionsButton:
      request(ScreenId::Instructions);
      KeyState::clearPressed();  // the page opens with nothing pending, so Escape cannot also quit
      break;
    case QuitButton:
      request(ScreenId::Quit);
      break;
    default:
      break;
  }
}

void readKeys() {
  if (TitleScreen::menuTakesKeys()) {
    if (KeyState::wasPressed(vkUp)) selected = selected == 0 ? TitleScreen::buttonCount - 1 : selected - 1;
    if (KeyState::wasPressed(vkDown)) selected = selected == TitleScreen::buttonCount - 1 ? 0 : selected + 1;
    if (KeyState::wasPressed(vkControl)) choose();
  } else if (KeyState::wasPressed(vkControl)) {
    menu = 1.0f;  // skip the fade; the logo still finishes its swing
  }
  if (KeyState::wasPressed(vkEscape)) request(ScreenId::Quit);
}
}  // namespace

void TitleScreen::load() {
  titleClip = std::make_unique<SoundClip>("sound\\title.wav");
  loaded = true;
  layOutStalks();
  for (float& g : glow) g = 0.0f;
  stepper.reset();
  logoSprite = std::make_unique<Sprite>("graphics\\title.tga", 512.0f, 256.0f, 0.0f, -0.25f);
  subtitleSprite = std::make_unique<Sprite>("graphics\\title2.tga", 512.0f, 256.0f, 0.0f, 0.25f);
  cornPlantSprite = std::make_unique<Sprite>("graphics\\titlecorn.tga", 256.0f, 256.0f, 0.0f, 0.5f);
  stalkSprite = std::make_unique<Sprite>("graphics\\ministalk.tga", 128.0f, 256.0f, 0.0f, 0.5f);
  for (int i = 0; i < buttonCount; ++i) {
    buttonSprites[i] = std::make_unique<Sprite>(buttonFiles[i], 256.0f, 64.0f, 0.0f, 0.0f);
  }
  logo = 0.0f;
  logoSpeed = 0.0f;
  logoStepCount = 0;
  menu = 0.0f;
  corn = cornStartOffset;
  selected = 0;
  Ground::load();
  KeyState::clearPressed();
  titleClip->play();
}

void TitleScreen::unload() {
  if (!loaded) return;
  titleClip.reset();
  logoSprite.reset();
  subtitleSprite.reset();
  cornPlantSprite.reset();
  stalkSprite.reset();
  for (std::unique_ptr<Sprite>& button : buttonSprites) button.reset();
  Ground::unload();
  loaded = false;
}

ScreenId TitleScreen::update(uint32_t elapsedMs) {
  next = ScreenId::None;
  stepper.run(elapsedMs, step);
  readKeys();
  return next;
}

void TitleScreen::draw() {
  if (!loaded) return;
  Ground::draw(groundBrightness);
  for (const BackgroundStalk& s : stalks) {
    stalkSprite->drawTinted(s.x, s.y, s.angle, s.facing * stalkWidth, stalkHeight, stalkShade, stalkShade,
                            stalkShade);
  }
  logoSprite->drawTinted(logoX, logoY, logo + logoAngleOffset, logoWidthSum - logo, logo, 1.0f, 1.0f, 1.0f);
  subtitleSprite->drawBlended(subtitleX, subtitleY, 0.0f, subtitleW, subtitleH, 1.0f, 1.0f, 1.0f, menu);
  cornPlantSprite->drawTinted(cornPlantLeftX, cornPlantY + corn, 0.0f, cornPlantSize, cornPlantSize, 1.0f,
                              1.0f, 1.0f);
  cornPlantSprite->drawTinted(cornPlantRightX, cornPlantY + corn, 0.0f, -cornPlantSize, cornPlantSize, 1.0f,
                              1.0f, 1.0f);
  for (int i = 0; i < buttonCount; ++i) {
    buttonSprites[i]->drawBlended(buttonX, firstButtonY + buttonSpacing * static_cast<float>(i), 0.0f,
                                  buttonW, buttonH, 1.0f, 1.0f, 1.0f, menu * glow[i]);
  }
  drawNumberFaded(settingX, cornSettingY, DayDirector::startingCorn(), menu * glow[CornButton]);
  drawNumberFaded(settingX, daySettingY, DayDirector::startingDay() + 1, menu * glow[DayButton]);
}

bool TitleScreen::isLoaded() {
  return loaded;
}

const TitleScreen::BackgroundStalk& TitleScreen::backgroundStalk(int index) {
  if (index < 0 || index >= backgroundStalkCount) index = 0;
  return stalks[index];
}

float TitleScreen::buttonGlow(int index) {
  return index >= 0 && index < buttonCount ? glow[index] : 0.0f;
}

float TitleScreen::logoSize() {
  return logo;
}
float TitleScreen::logoVelocity() {
  return logoSpeed;
}
int32_t TitleScreen::logoTicks() {
  return logoStepCount;
}
float TitleScreen::menuAlpha() {
  return menu;
}
float TitleScreen::cornOffset() {
  return corn;
}
int TitleScreen::selection() {
  return selected;
}
bool TitleScreen::menuTakesKeys() {
  return menu > menuTakesKeysAbove;
}
