// From the game's start to its first title frame on the offscreen context: every picture and
// sound loaded, one update and one frame drawn and finished. Window and display set-up are the
// system's and not counted. Run from the build folder, where graphics/ and sound/ are generated.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "offscreen_context.h"
#include "screens/screen_machine.h"
#include "shell/app_window.h"
#include "shell/platform.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t firstFrameMs = 16;

void BM_StartToTitle(benchmark::State& state) {
  OffscreenContext context(640, 480);
  if (!context.ok()) {
    state.SkipWithError("no offscreen GL context");
    return;
  }
  if (!platformFindDataFolder(nullptr)) {
    state.SkipWithError("graphics/ and sound/ not found (run from the build folder)");
    return;
  }
  platformUseVirtualClock(true);
  platformSetErrorBoxesEnabled(false);
  AppRecord app;
  appWindow.app = &app;
  appWindow.title = "Cornkeeper";
  appWindow.visible = 1;
  for (auto _ : state) {
    appRunning = 1;
    const Clock::time_point start = Clock::now();
    const bool started = gameStartup(&appWindow);
    gameUpdate(firstFrameMs);
    gameDraw();
    glFinish();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    gameShutdown();
    if (!started) {
      state.SkipWithError("the game did not start");
      break;
    }
  }
}
BENCHMARK(BM_StartToTitle)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
