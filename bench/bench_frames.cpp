// Whole frames of the game on the offscreen context: the title at 1024x768 and a running day with a
// full field, ten crows and the scarecrow at 640x480 and 1024x768. Each iteration draws the frame
// with trimmed quads and then as whole blended squares, so both are timed under the same load;
// "trim_ms" and "full_ms" are milliseconds per frame, "ratio" is full over trimmed.
// Run from the build folder, where graphics/ and sound/ are generated.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <ctime>

#include "frame_scenes.h"
#include "offscreen_context.h"
#include "render/sprite.h"
#include "screens/screen_machine.h"

namespace {

// Processor time of the whole process, the renderer's threads included: on a shared machine the
// wall clock measures the neighbours as much as the frame.
double cpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double drawMs(bool fullQuads) {
  spriteFullQuads = fullQuads;
  const double start = cpuMs();
  gameDraw();
  glFinish();
  return cpuMs() - start;
}

void BM_Frame(benchmark::State& state) {
  const auto scene = static_cast<FrameScenes::Scene>(state.range(0));
  OffscreenContext context(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  if (!context.ok()) {
    state.SkipWithError("no offscreen GL context");
    return;
  }
  if (!FrameScenes::start(scene)) {
    FrameScenes::stop();
    state.SkipWithError("the scene was never reached (run from the build folder)");
    return;
  }
  // One frame each way first: texture and shader set-up is not what is measured.
  drawMs(false);
  drawMs(true);
  double trimmed = 0.0, full = 0.0;
  for (auto _ : state) {
    const double t = drawMs(false);
    full += drawMs(true);
    trimmed += t;
    state.SetIterationTime(t / 1000.0);
  }
  spriteFullQuads = false;
  FrameScenes::stop();
  const double frames = static_cast<double>(state.iterations());
  state.SetLabel(FrameScenes::name(scene));
  state.counters["trim_ms"] = trimmed / frames;
  state.counters["full_ms"] = full / frames;
  state.counters["ratio"] = trimmed > 0.0 ? full / trimmed : 0.0;
}

constexpr int title = static_cast<int>(FrameScenes::Scene::Title);
constexpr int midDay = static_cast<int>(FrameScenes::Scene::MidDay);

BENCHMARK(BM_Frame)
    ->ArgNames({"scene", "w", "h"})
    ->Args({title, 1024, 768})
    ->Args({midDay, 640, 480})
    ->Args({midDay, 1024, 768})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
