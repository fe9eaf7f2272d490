#include "shell/window_procedure.h"

#include <GL/gl.h>
#include <SDL.h>

#include "screens/screen_machine.h"
#include "shell/app_window.h"
#include "shell/demo_session.h"
#include "shell/game_pad.h"
#include "shell/key_state.h"

namespace {
struct HeldKey {
  bool down = false;
  bool systemRepeats = false;  // the system sent its own repeat for this hold
  uint32_t nextRepeatMs = 0;
};
HeldKey heldKeys[256];

void keyPressed(const SDL_KeyboardEvent& event) {
  uint32_t key = virtualKeyFor(event.keysym.sym);
  if (key == 0) return;
  KeyState::keyDown(key);
  HeldKey& held = heldKeys[key];
  if (event.repeat) {
    held.systemRepeats = true;
  } else {
    held.down = true;
    held.systemRepeats = false;
    held.nextRepeatMs = event.timestamp + keyRepeatDelayMs;
  }
}

void keyReleased(const SDL_KeyboardEvent& event) {
  uint32_t key = virtualKeyFor(event.keysym.sym);
  if (key == 0) return;
  heldKeys[key].down = false;
  if (GamePad::holdCount(key) == 0) KeyState::keyUp(key);
}

bool isFullScreenToggle(const SDL_KeyboardEvent& event) {
  if (event.repeat) return false;
  if (event.keysym.sym == SDLK_F11) return true;
  return (event.keysym.sym == SDLK_RETURN || event.keysym.sym == SDLK_KP_ENTER) &&
         (event.keysym.mod & KMOD_ALT) != 0;
}

// A demo holds only what goes through the key table, so while one records or plays, focus and clicks
// leave the pause alone: P alone pauses, and the playback keeps in step.
bool demoRunning() {
  return DemoSession::mode() != DemoSession::Mode::Off;
}

void handleWindowEvent(AppWindow& window, const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      window.visible = 1;
      fitViewport(window);
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
      window.visible = 0;
      if (!demoRunning()) gameLostFocus();
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (!demoRunning()) gameLostFocus();
      break;
    case SDL_WINDOWEVENT_CLOSE:
      requestQuit(&window);
      break;
    default:
      break;
  }
}
}  // namespace

uint32_t virtualKeyFor(SDL_Keycode key) {
  switch (key) {
    case SDLK_LEFT:
      return vkLeft;
    case SDLK_UP:
      return vkUp;
    case SDLK_RIGHT:
      return vkRight;
    case SDLK_DOWN:
      return vkDown;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return vkControl;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return vkShift;
    case SDLK_ESCAPE:
      return vkEscape;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return vkReturn;
    case SDLK_SPACE:
      return vkSpace;
    case SDLK_PAUSE:
      return vkPause;
    case SDLK_p:
      return vkP;
    case SDLK_m:
      return vkM;
    case SDLK_b:
      return vkB;
    case SDLK_PLUS:
    case SDLK_EQUALS:  // + without Shift on most layouts
    case SDLK_KP_PLUS:
      return vkPlus;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
      return vkMinus;
    default:
      return 0;
  }
}

void windowProcedure(AppWindow& window, const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      requestQuit(&window);
      break;
    case SDL_WINDOWEVENT:
      handleWindowEvent(window, event.window);
      break;
    case SDL_KEYDOWN:
      if (isFullScreenToggle(event.key)) {
        toggleFullScreen(window);
      } else {
        keyPressed(event.key);
      }
      break;
    case SDL_KEYUP:
      keyReleased(event.key);
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (!demoRunning()) gameClicked();
      break;
    default:
      GamePad::handleEvent(event);
      break;
  }
}

void repeatHeldKeys(uint32_t nowMs) {
  for (uint32_t key = 0; key < 256; ++key) {
    HeldKey& held = heldKeys[key];
    if (!held.down || held.systemRepeats) continue;
    // Signed difference: correct across the wrap of the tick counter.
    if (static_cast<int32_t>(nowMs - held.nextRepeatMs) >= 0) {
      KeyState::keyDown(key);
      held.nextRepeatMs = nowMs + keyRepeatIntervalMs;
    }
  }
  GamePad::repeatHeld(nowMs);
}

bool keyboardHolds(uint32_t key) {
  return heldKeys[key & 0xFF].down;
}

void toggleFullScreen(AppWindow& window) {
  if (!window.window) return;
  wantFullScreen = wantFullScreen == 1 ? 0 : 1;
  if (wantFullScreen) {
    // switchDisplayMode already falls back to a desktop full screen when the mode does not exist.
    if (!switchDisplayMode(window.width, window.height, window.bitsPerPixel)) wantFullScreen = 0;
  } else {
    SDL_SetWindowFullscreen(window.window, 0);
    SDL_SetWindowSize(window.window, window.width, window.height);
  }
  window.fullScreen = wantFullScreen;
  SDL_ShowCursor(SDL_DISABLE);
  fitViewport(window);
}

void fitViewport(AppWindow& window) {
  if (!window.window) return;
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(window.window, &width, &height);
  if (width <= 0 || height <= 0) return;
  const bool fullScreen = (SDL_GetWindowFlags(window.window) & SDL_WINDOW_FULLSCREEN) != 0;
  if (!fullScreen) {
    resizeViewport(width, height);
    return;
  }
  // Keep the 4:3 picture whole and centred; the cleared frame gives the black bars.
  int viewWidth = width;
  int viewHeight = height;
  if (width * 3 > height * 4) {
    viewWidth = height * 4 / 3;
  } else {
    viewHeight = width * 3 / 4;
  }
  resizeViewport(viewWidth, viewHeight);
  glViewport((width - viewWidth) / 2, (height - viewHeight) / 2, viewWidth, viewHeight);
}
