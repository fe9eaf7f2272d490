#include "screens/play_pause.h"

#include <GL/gl.h>

#include <memory>

#include "render/sprite.h"
#include "shell/key_state.h"

namespace {
constexpr float screenWidth = 640.0f;
constexpr float screenHeight = 480.0f;
constexpr float dimAlpha = 0.55f;
constexpr float pausedY = 200.0f;
constexpr float hintY = 280.0f;

bool paused = false;
std::unique_ptr<Sprite> pausedSprite;
std::unique_ptr<Sprite> hintSprite;

bool pausePressed() {
  const bool p = KeyState::wasPressed(vkP);
  return KeyState::wasPressed(vkPause) || p;
}

void dimScreen() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);
  glColor4f(0.0f, 0.0f, 0.0f, dimAlpha);
  glBegin(GL_QUADS);
  glVertex2f(0.0f, 0.0f);
  glVertex2f(screenWidth, 0.0f);
  glVertex2f(screenWidth, screenHeight);
  glVertex2f(0.0f, screenHeight);
  glEnd();
  glEnable(GL_TEXTURE_2D);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
}  // namespace

void PlayPause::load() {
  pausedSprite = std::make_unique<Sprite>("graphics\\comfort\\paused.tga", 512.0f, 128.0f, 0.0f, 0.0f);
  hintSprite = std::make_unique<Sprite>("graphics\\comfort\\resume.tga", 256.0f, 64.0f, 0.0f, 0.0f);
}

void PlayPause::unload() {
  pausedSprite.reset();
  hintSprite.reset();
}

bool PlayPause::isPaused() {
  return paused;
}

void PlayPause::pause() {
  paused = true;
}

void PlayPause::resume() {
  paused = false;
}

void PlayPause::reset() {
  paused = false;
  pausePressed();
}

bool PlayPause::update() {
  if (pausePressed()) paused = !paused;
  if (!paused) return false;
  // Only Escape survives a pause; it then does what it does in play.
  const bool escape = KeyState::wasPressed(vkEscape);
  KeyState::clearPressed();
  if (escape) KeyState::markPressed(vkEscape);
  return true;
}

void PlayPause::draw() {
  if (!paused) return;
  dimScreen();
  if (pausedSprite) pausedSprite->draw(screenWidth / 2.0f, pausedY);
  if (hintSprite) hintSprite->draw(screenWidth / 2.0f, hintY);
}
