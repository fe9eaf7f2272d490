#include "shell/main_loop.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "screens/screen_machine.h"
#include "shell/app_window.h"
#include "shell/best_games.h"
#include "shell/demo_session.h"
#include "shell/game_pad.h"
#include "shell/key_state.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/user_files.h"
#include "shell/virtual_pad.h"
#include "shell/window_procedure.h"

namespace {
constexpr const char* gameTitle = "Cornkeeper";
constexpr int fallbackRefreshHz = 60;
constexpr int32_t playbackCatchUpMs = 250;  // further behind than this, playback carries on from now

FILE* traceOut = nullptr;
long traceFrame = 0;

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

// A demo shows each frame once its recorded time has passed since the one before, so it runs at
// the speed it was played; with --fast the next frame follows at once.
class PlaybackPacer {
 public:
  explicit PlaybackPacer(bool fast) : fast_(fast) {}

  void beforeFrame() {
    const uint32_t now = platformTicks();
    if (fast_) return;
    if (!started_) {  // the first frame's time holds the start-up, already spent
      started_ = true;
      due_ = now;
      return;
    }
    due_ += DemoSession::nextFrameMs();
    const int32_t ahead = static_cast<int32_t>(due_ - now);
    if (ahead > 0) {
      SDL_Delay(static_cast<Uint32>(ahead));
    } else if (ahead < -playbackCatchUpMs) {
      due_ = now;  // after a stall, no burst of frames to catch up
    }
  }

 private:
  bool fast_;
  bool started_ = false;
  uint32_t due_ = 0;
};

bool escapeStoppedPlayback = false;  // its auto-repeat must not reach the title that follows

// Back to live play at the title, from an empty key table.
void endPlayback() {
  DemoSession::stopPlayback();
  screenMachine->requestScreen(ScreenId::Title);
}

// While a demo plays, the player's keys are not the game's: Escape (or the pad's Back) alone is
// heard, and stops it.
bool takenByPlayback(const SDL_Event& event) {
  const bool escape =
      (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && event.key.keysym.sym == SDLK_ESCAPE;
  if (escape && escapeStoppedPlayback) {
    if (event.type == SDL_KEYUP) escapeStoppedPlayback = false;
    return event.type == SDL_KEYDOWN;
  }
  if (DemoSession::mode() != DemoSession::Mode::Playing) return false;
  switch (event.type) {
    case SDL_KEYDOWN:
      if (escape) {
        escapeStoppedPlayback = true;
        endPlayback();
      }
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
      if (event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK) endPlayback();  // the pad's Escape
      return true;
    case SDL_KEYUP:
    case SDL_JOYAXISMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
    case SDL_CONTROLLERBUTTONUP:
      return true;
    default:
      return false;
  }
}

void runFrame(AppWindow& window) {
  const uint32_t now = platformTicks();
  gameUpdate(DemoSession::beginFrame(frameElapsed(now, window.lastTickCount)));
  if (traceOut) gameTraceRow(traceOut, traceFrame++);
  window.lastTickCount = now;
  gameDraw();
  SDL_GL_SwapWindow(window.window);
  DemoSession::endFrame();
}

void messageLoop(AppWindow& window, bool fast) {
  FramePacer pacer(window.window);
  PlaybackPacer playbackPacer(fast);
  bool pumping = true;
  while (pumping) {
    SDL_Event event;
    if (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) {
        pumping = false;
        appRunning = 0;
      } else if (!takenByPlayback(event)) {
        windowProcedure(window, event);
      }
    } else if (!window.visible) {
      SDL_WaitEvent(nullptr);
    } else if (DemoSession::mode() == DemoSession::Mode::Playing) {
      // A recording that ended by quitting ends its playback at the title instead.
      if (DemoSession::playbackDone() || screenMachine->currentScreen() == ScreenId::Quit) {
        endPlayback();
        continue;
      }
      playbackPacer.beforeFrame();
      runFrame(window);
    } else {
      repeatHeldKeys(platformTicks());
      runFrame(window);
      pacer.endFrame();
    }
  }
}

// The demo to play or record and the trace, before any window opens: a bad file ends the program here.
bool startDemoAndTrace(const LaunchOptions& launch) {
  if (launch.playPath && !DemoSession::startPlayback(launch.playPath, launch.version)) return false;
  if (launch.recordPath && !DemoSession::startRecording(launch.recordPath, launch.version)) return false;
  if (launch.tracePath) {
    traceOut = std::fopen(launch.tracePath, "w");
    if (!traceOut) {
      std::fprintf(stderr, "cornkeeper: cannot write the trace %s\n", launch.tracePath);
      return false;
    }
    setvbuf(traceOut, nullptr, _IOLBF, 0);  // whole rows, so it can be read while the game runs
    gameTraceHeader(traceOut);
  }
  return true;
}

// Writes what the run recorded; false when the demo could not be written.
bool finishDemoAndTrace() {
  if (traceOut) std::fclose(traceOut);
  traceOut = nullptr;
  return DemoSession::finishRecording();
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
  char settingsPath[BestGames::pathCapacity];
  const bool remembers = userFilePath(UserFolder::Config, "settings", settingsPath, sizeof settingsPath);
  if (remembers) settings.load(settingsPath);
  appWindow.width = settings.width;
  appWindow.height = settings.height;
  appWindow.bitsPerPixel = settings.bitsPerPixel;
  appWindow.fullScreen = settings.fullScreen;
  char tablePath[BestGames::pathCapacity];
  bestGames.open(userFilePath(UserFolder::Data, "best-games", tablePath, sizeof tablePath) ? tablePath : "");
  if (!startDemoAndTrace(launch)) return 1;
  std::string searched;
  if (!platformFindDataFolder(launch.argv0, &searched)) {
    // Without them every picture is blank: say where we looked rather than open an empty window.
    const std::string text =
        "The game's graphics/ and sound/ folders were not found. Looked in:\n" + searched;
    platformShowError(text.c_str());
    finishDemoAndTrace();
    return 1;
  }

  if (!registerGameWindowClass(app)) {
    // Without a display there is nobody to read a box: one clear line on stderr is the message.
    std::fprintf(stderr, "cornkeeper: Error Registering Window Class! No usable display: %s\n",
                 SDL_GetError());
    SDL_Quit();
    finishDemoAndTrace();
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
    return finishDemoAndTrace() ? 0 : 1;
  } else {
    // The chooser's answer is the one remembered; a mode given on the command line is for this run.
    settings.width = appWindow.width;
    settings.height = appWindow.height;
    settings.bitsPerPixel = appWindow.bitsPerPixel;
    settings.fullScreen = appWindow.fullScreen;
    if (remembers) settings.save(settingsPath);
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
      // Playback as fast as it can draw: the swap must not wait for the display either.
      if (launch.fast) SDL_GL_SetSwapInterval(0);
      messageLoop(appWindow, launch.fast);
    } else {
      requestQuit(&appWindow);
    }
    gameShutdown();
    appWindow.destroy();
  }
  closePads();
  // The sound level may have changed during play.
  if (remembers) settings.save(settingsPath);
  SDL_Quit();
  return finishDemoAndTrace() ? 0 : 1;
}
