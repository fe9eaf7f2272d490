#include "shell/main_loop.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "screens/screen_machine.h"
#include "shell/app_window.h"
#include "shell/game_pad.h"
#include "shell/platform.h"
#include "shell/virtual_pad.h"
#include "shell/window_procedure.h"

namespace {
constexpr const char* gameTitle = "Cornkeeper";
constexpr int fallbackRefreshHz = 60;

// Where the swap does not wait for the display (no vsync, or a virtual display), sleep off the
// rest of the refresh period instead of spinning a whole core. The game's ticks do not depend on it.
class FramePacer {
 public:
  explicit FramePacer(SDL_Window* window) {
    SDL_DisplayMode mode{};
    int hz = fallbackRefreshHz;
    if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0) hz = mode.refresh_rate;
    periodTicks_ = SDL_GetPerformanceFrequency() / static_cast<Uint64>(hz);
    frameStart_ = SDL_GetPerformanceCounter();
  }

  void endFrame() {
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 spent = SDL_GetPerformanceCounter() - frameStart_;
    if (spent < periodTicks_) {
      const Uint64 leftMs = (periodTicks_ - spent) * 1000 / frequency;
      if (leftMs > 0) SDL_Delay(static_cast<Uint32>(leftMs));
    }
    frameStart_ = SDL_GetPerformanceCounter();
  }

 private:
  Uint64 periodTicks_ = 0;
  Uint64 frameStart_ = 0;
};

void runFrame(AppWindow& window) {
  const uint32_t now = platformTicks();
  gameUpdate(frameElapsed(now, window.lastTickCount));
  window.lastTickCount = now;
  gameDraw();
  SDL_GL_SwapWindow(window.window);
}

void messageLoop(AppWindow& window) {
  FramePacer pacer(window.window);
  bool pumping = true;
  while (pumping) {
    SDL_Event event;
    if (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) {
        pumping = false;
        appRunning = 0;
      } else {
        windowProcedure(window, event);
      }
    } else if (!window.visible) {
      SDL_WaitEvent(nullptr);
    } else {
      repeatHeldKeys(platformTicks());
      runFrame(window);
      pacer.endFrame();
    }
  }
}

void closePads() {
  GamePad::stop();
  VirtualPad::detach();
}
}  // namespace

void prepareAppWindow(AppWindow& window, AppRecord& app) {
  window = AppWindow{};
  window.app = &app;
  window.title = gameTitle;
  window.width = 640;
  window.height = 480;
  window.bitsPerPixel = 16;
  window.fullScreen = 0;
}

int runGame(const LaunchOptions& launch) {
  AppRecord app;
  prepareAppWindow(appWindow, app);
  std::string searched;
  if (!platformFindDataFolder(launch.argv0, &searched)) {
    // Without them every picture is blank: say where we looked rather than open an empty window.
    const std::string text =
        "The game's graphics/ and sound/ folders were not found. Looked in:\n" + searched;
    platformShowError(text.c_str());
    return 1;
  }

  if (!registerGameWindowClass(app)) {
    // Without a display there is nobody to read a box: one clear line on stderr is the message.
    std::fprintf(stderr, "cornkeeper: Error Registering Window Class! No usable display: %s\n",
                 SDL_GetError());
    SDL_Quit();
    return -1;
  }
  VirtualPad::attachFromEnvironment();
  GamePad::start();
  if (!launch.chooseMode) {
    appWindow.width = launch.width;
    appWindow.height = launch.height;
    appWindow.fullScreen = launch.fullScreen;
  } else if (!runModeChooser(appWindow)) {
    closePads();
    SDL_Quit();
    return 0;
  }

  appRunning = 1;
  wantFullScreen = appWindow.fullScreen;
  while (appRunning) {
    appWindow.fullScreen = wantFullScreen;
    if (!appWindow.create()) {
      platformShowError("Error Creating OpenGL Window");
      appRunning = 0;
      continue;
    }
    if (gameStartup(&appWindow)) {
      messageLoop(appWindow);
    } else {
      requestQuit(&appWindow);
    }
    gameShutdown();
    appWindow.destroy();
  }
  closePads();
  SDL_Quit();
  return 0;
}
