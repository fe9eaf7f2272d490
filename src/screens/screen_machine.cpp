#include "screens/screen_machine.h"

#include <GL/gl.h>

#include "days/day_director.h"
#include "render/digit_sprites.h"
#include "render/sprite.h"
#include "screens/best_games_screen.h"
#include "screens/game_trace.h"
#include "screens/instructions_screen.h"
#include "screens/play_pause.h"
#include "screens/play_screen.h"
#include "screens/store.h"
#include "screens/title_screen.h"
#include "screens/volume_control.h"
#include "shell/app_window.h"
#include "shell/demo_session.h"
#include "shell/game_pad.h"
#include "shell/key_state.h"

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

// On the menus Return, keypad Enter and Space do what Ctrl does; elsewhere they do nothing.
void foldConfirmKeys(ScreenId screen) {
  const bool confirm = KeyState::wasPressed(vkReturn);
  if (!(KeyState::wasPressed(vkSpace) || confirm)) return;
  if (screen == ScreenId::Title || screen == ScreenId::Instructions || screen == ScreenId::Store ||
      screen == ScreenId::BestGames) {
    KeyState::markPressed(vkControl);
  }
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
  PlayPause::load();
  VolumeControl::load();
  VolumeControl::apply();
  return true;
}

void gameShutdown() {
  // Release what the current screen holds too, so nothing outlives the GL context.
  TitleScreen::unload();
  InstructionsScreen::unload();
  BestGamesScreen::unload();
  unloadWorld();
  PlayPause::unload();
  VolumeControl::unload();
  unloadDigitSprites();
  delete screenMachine;
  screenMachine = nullptr;
}

void applyScreenChange() {
  if (!screenMachine->takeChanged()) return;
  GamePad::setEastButtonEscapes(screenMachine->currentScreen() != ScreenId::Play);
  PlayPause::reset();
  // The new screen alone decides what is loaded and unloaded.
  switch (screenMachine->currentScreen()) {
    case ScreenId::Title:
      unloadWorld();
      InstructionsScreen::unload();
      BestGamesScreen::unload();
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
    case ScreenId::BestGames:
      TitleScreen::unload();
      BestGamesScreen::load();
      break;
    default:
      break;
  }
}

void gameUpdate(uint32_t elapsedMs) {
  applyScreenChange();
  // Screens only report where they want to go; the change happens here, at the frame's end.
  ScreenId next = ScreenId::None;
  VolumeControl::update(elapsedMs);
  foldConfirmKeys(screenMachine->currentScreen());
  switch (screenMachine->currentScreen()) {
    case ScreenId::Title:
      next = KeyState::wasPressed(vkB) ? ScreenId::BestGames : TitleScreen::update(elapsedMs);
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
    case ScreenId::BestGames:
      next = BestGamesScreen::update(elapsedMs);
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
    case ScreenId::BestGames:
      BestGamesScreen::draw();
      break;
    default:
      break;
  }
  VolumeControl::draw();
  endOverlay2D();
  glFlush();
}

void gameTraceHeader(FILE* out) {
  GameTrace::writeHeader(out);
}

void gameTraceRow(FILE* out, long frame) {
  GameTrace::writeRow(out, frame);
}

void gameLostFocus() {
  if (screenMachine && screenMachine->currentScreen() == ScreenId::Play) PlayPause::pause();
}

void gameClicked() {
  if (screenMachine && screenMachine->currentScreen() == ScreenId::Play) PlayPause::resume();
}
