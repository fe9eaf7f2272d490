#include "screens/screen_machine.h"

#include <GL/gl.h>

#include "days/day_director.h"
#include "render/digit_sprites.h"
#include "render/sprite.h"
#include "screens/game_trace.h"
#include "screens/instructions_screen.h"
#include "screens/play_screen.h"
#include "screens/store.h"
#include "screens/title_screen.h"
#include "shell/app_window.h"
#include "shell/demo_session.h"
#include "shell/game_pad.h"

ScreenMachine* screenMachine = nullptr;

namespace {
void setFixedGlState() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
}
}  // namespace

bool gameStartup(AppWindow* window) {
  delete screenMachine;
  screenMachine = new ScreenMachine(window);
  setFixedGlState();
  loadDigitSprites();
  // A demo starts from the title settings it was recorded with.
  int day = 0;
  int corn = 0;
  if (DemoSession::playbackStartingSettings(day, corn)) DayDirector::restoreStartingSettings(day, corn);
  DemoSession::noteStartingSettings(DayDirector::startingDay(), DayDirector::startingCorn());
  return true;
}

void gameShutdown() {
  // Release what the current screen holds too, so nothing outlives the GL context.
  TitleScreen::unload();
  InstructionsScreen::unload();
  unloadWorld();
  unloadDigitSprites();
  delete screenMachine;
  screenMachine = nullptr;
}

void applyScreenChange() {
  if (!screenMachine->takeChanged()) return;
  GamePad::setEastButtonEscapes(screenMachine->currentScreen() != ScreenId::Play);
  // The new screen alone decides what is loaded and unloaded.
  switch (screenMachine->currentScreen()) {
    case ScreenId::Title:
      unloadWorld();
      InstructionsScreen::unload();
      TitleScreen::load();
      break;
    case ScreenId::Play:
      TitleScreen::unload();
      loadWorld();
      break;
    case ScreenId::Quit:
      TitleScreen::unload();
      break;
    case ScreenId::Instructions:
      TitleScreen::unload();
      InstructionsScreen::load();
      break;
    case ScreenId::Store:
      Store::load();
      break;
    default:
      break;
  }
}

void gameUpdate(uint32_t elapsedMs) {
  applyScreenChange();
  // Screens only report where they want to go; the change happens here, at the frame's end.
  ScreenId next = ScreenId::None;
  switch (screenMachine->currentScreen()) {
    case ScreenId::Title:
      next = TitleScreen::update(elapsedMs);
      break;
    case ScreenId::Play:
      next = updatePlay(elapsedMs);
      break;
    case ScreenId::Quit:
      requestQuit(screenMachine->window());
      break;
    case ScreenId::Store:
      next = updateStoreVisit(elapsedMs);
      break;
    case ScreenId::Instructions:
      next = InstructionsScreen::update(elapsedMs);
      break;
    default:
      break;
  }
  if (next != ScreenId::None) screenMachine->requestScreen(next);
}

void gameDraw() {
  applyScreenChange();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 1.0f);
  beginOverlay2D();
  switch (screenMachine->currentScreen()) {
    case ScreenId::Title:
      TitleScreen::draw();
      break;
    case ScreenId::Play:
      drawPlay();
      break;
    case ScreenId::Store:
      Store::draw(worldLight());  // the money keeps the shade the day ended in
      break;
    case ScreenId::Instructions:
      InstructionsScreen::draw();
      break;
    default:
      break;
  }
  endOverlay2D();
  glFlush();
}

void gameTraceHeader(FILE* out) {
  GameTrace::writeHeader(out);
}

void gameTraceRow(FILE* out, long frame) {
  GameTrace::writeRow(out, frame);
}
