#include "screens/instructions_screen.h"

#include <memory>

#include "render/sprite.h"
#include "screens/fixed_step.h"
#include "screens/screen_machine.h"
#include "shell/key_state.h"

namespace {
constexpr float scrollStep = 4.0f;
constexpr float pageHeight = 512.0f;
constexpr float scrollLimit = pageHeight;  // page 2's top at the top of the screen
constexpr float pageX = 320.0f;
constexpr float strutRightX = 576.0f;
constexpr float strutSpacing = 64.0f;
constexpr int strutCount = 8;
constexpr float arrowsX = 610.0f;
constexpr float arrowsY = 440.0f;

bool loaded = false;
float scrolled = 0.0f;
FixedStep stepper;  // kept between visits

std::unique_ptr<Sprite> pageOne;
std::unique_ptr<Sprite> pageTwo;
std::unique_ptr<Sprite> strut;
std::unique_ptr<Sprite> arrows;

void step() {
  if (KeyState::isHeld(vkUp) && scrolled > 0.0f) {
    scrolled -= scrollStep;
    if (scrolled < 0.0f) scrolled = 0.0f;
  }
  if (KeyState::isHeld(vkDown) && scrolled < scrollLimit) {
    scrolled += scrollStep;
    if (scrolled > scrollLimit) scrolled = scrollLimit;
  }
}
}  // namespace

void InstructionsScreen::load() {
  if (loaded) return;
  pageOne = std::make_unique<Sprite>("graphics\\instructions1.tga", 512.0f, 512.0f, 0.0f, -0.5f);
  pageTwo = std::make_unique<Sprite>("graphics\\instructions2.tga", 512.0f, 512.0f, 0.0f, -0.5f);
  strut = std::make_unique<Sprite>("graphics\\store_strut.tga", 64.0f, 64.0f, -0.5f, -0.5f);
  arrows = std::make_unique<Sprite>("graphics\\instr_arrows.tga", 32.0f, 32.0f, 0.0f, 0.0f);
  scrolled = 0.0f;
  KeyState::clearPressed();
  loaded = true;
}

void InstructionsScreen::unload() {
  if (!loaded) return;
  arrows.reset();
  strut.reset();
  pageOne.reset();
  pageTwo.reset();
  loaded = false;
}

ScreenId InstructionsScreen::update(uint32_t elapsedMs) {
  stepper.run(elapsedMs, step);
  // Escape is left unread when Ctrl already leaves.
  if (KeyState::wasPressed(vkControl) || KeyState::wasPressed(vkEscape)) return ScreenId::Title;
  return ScreenId::None;
}

void InstructionsScreen::draw() {
  if (!loaded) return;
  pageOne->draw(pageX, -scrolled);
  pageTwo->draw(pageX, pageHeight - scrolled);
  for (int i = 0; i < strutCount; ++i) {
    const float y = strutSpacing * static_cast<float>(i);
    strut->draw(0.0f, y);
    strut->draw(strutRightX, y);
  }
  arrows->draw(arrowsX, arrowsY);
}

bool InstructionsScreen::isLoaded() {
  return loaded;
}
float InstructionsScreen::scroll() {
  return scrolled;
}
