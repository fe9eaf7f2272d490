// One world tick with every pool full, and loading the world with the real pictures.
// Run from the build folder, where graphics/ and sound/ are generated.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "days/day_cycle.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "offscreen_context.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "screens/play_screen.h"
#include "screens/play_screen_testing.h"
#include "shell/key_state.h"

namespace {

constexpr int dawnTickLimit = 2000;

// Everything a tick may change, so every measured tick starts from the same full field.
struct WorldSnapshot {
  Crow crows[CrowFlock::capacity];
  Pelican pelicans[PelicanFlock::capacity];
  Cow cows[CowHerd::capacity];
  ShoutParticle particles[BooShout::capacity];
  CornStalk stalks[CornField::capacity];
  ScarecrowState scarecrow;
};

void take(WorldSnapshot& s) {
  for (int i = 0; i < CrowFlock::capacity; ++i) s.crows[i] = CrowFlock::crow(i);
  for (int i = 0; i < PelicanFlock::capacity; ++i) s.pelicans[i] = PelicanFlock::pelican(i);
  for (int i = 0; i < CowHerd::capacity; ++i) s.cows[i] = CowHerd::cow(i);
  for (int i = 0; i < BooShout::capacity; ++i) s.particles[i] = BooShout::particle(i);
  for (int i = 0; i < CornField::capacity; ++i) s.stalks[i] = CornField::stalk(i);
  s.scarecrow = Scarecrow::testing::state();
}

void restore(const WorldSnapshot& s) {
  for (int i = 0; i < CrowFlock::capacity; ++i) CrowFlock::crow(i) = s.crows[i];
  for (int i = 0; i < PelicanFlock::capacity; ++i) PelicanFlock::pelican(i) = s.pelicans[i];
  for (int i = 0; i < CowHerd::capacity; ++i) CowHerd::cow(i) = s.cows[i];
  for (int i = 0; i < BooShout::capacity; ++i) BooShout::particle(i) = s.particles[i];
  for (int i = 0; i < CornField::capacity; ++i) CornField::stalk(i) = s.stalks[i];
  Scarecrow::testing::state() = s.scarecrow;
  PlayTesting::clearGameOver();
}

// Spread over the field so that landings, scares and pick-ups all have work to do.
float fieldX(int i, int count) {
  return 40.0f + 560.0f * static_cast<float>(i) / static_cast<float>(count);
}
float fieldY(int i) {
  return 60.0f + static_cast<float>((i * 37) % 380);
}

void fillPools() {
  const CrowState crowStates[] = {CrowState::Arriving, CrowState::Pecking, CrowState::Carrying,
                                  CrowState::Fleeing};
  for (int i = 0; i < CrowFlock::capacity; ++i) {
    Crow& c = CrowFlock::crow(i);
    c = Crow{};
    c.x = fieldX(i, CrowFlock::capacity);
    c.y = fieldY(i);
    c.height = 48;
    c.angle = static_cast<float>((i * 53) % 360);
    c.state = crowStates[i % 4];
    c.animSet = c.state == CrowState::Pecking ? AnimSet::Peck : AnimSet::Flap;
    c.animTick = static_cast<uint8_t>(i % 10);
    c.target = c.state == CrowState::Pecking ? i % CornField::capacity : -1;
    CrowFlock::aim(i);
  }
  // Pelicans and cows are only given plausible records: their own rules decide what a tick does.
  for (int i = 0; i < PelicanFlock::capacity; ++i) {
    Pelican& p = PelicanFlock::pelican(i);
    p = Pelican{};
    p.x = fieldX(i, PelicanFlock::capacity) + 3;
    p.y = fieldY(i + 7);
    p.height = 48;
    p.angle = static_cast<float>((i * 41) % 360);
    p.vx = 0.5f;
    p.vy = 0.25f;
    p.state = PelicanState::Flying;
    p.target = -1;
  }
  for (int i = 0; i < CowHerd::capacity; ++i) {
    Cow& c = CowHerd::cow(i);
    c = Cow{};
    c.x = fieldX(i, CowHerd::capacity);
    c.y = fieldY(i + 3);
    c.angle = 180;
    c.vx = -0.5f;
    c.active = 1;
    c.target = -1;
  }
  while (CornField::slotCount() < CornField::capacity) CornField::plantStalk();
}

// Letters live at most 100 ticks and a shout of one b and eight o can start every 13 ticks, so play
// never has more than 72 letters in flight; the rest of a full table is dropped ears.
constexpr int lettersInPlay = 72;

void fillParticles(int letters) {
  Scarecrow::testing::state().booRange = 100;
  for (int i = 0; i < BooShout::capacity; ++i) {
    const ShoutParticleKind kind = i >= letters ? ShoutParticleKind::DroppedCorn
                                   : i % 9 == 0 ? ShoutParticleKind::LetterB
                                                : ShoutParticleKind::LetterO;
    BooShout::spawn(kind, fieldX(i, BooShout::capacity), fieldY(i + 11), static_cast<float>((i * 29) % 360));
  }
}

void BM_PlayTick(benchmark::State& state) {
  const int letters = static_cast<int>(state.range(0));
  OffscreenContext context;
  if (!context.ok()) {
    state.SkipWithError("no offscreen GL context");
    return;
  }
  loadWorld();
  for (int i = 0; i < dawnTickLimit && !DayCycle::isDayRunning(); ++i) playTick();
  if (!DayCycle::isDayRunning()) {
    unloadWorld();
    state.SkipWithError("the day never started running");
    return;
  }
  fillPools();
  fillParticles(letters);
  KeyState::keyDown(vkRight);  // the scarecrow walks while the field is busy
  static WorldSnapshot snapshot;
  take(snapshot);
  for (auto _ : state) {
    playTick();
    state.PauseTiming();
    OogaBooga::end();
    restore(snapshot);
    state.ResumeTiming();
  }
  KeyState::clearAll();
  unloadWorld();
}
// The game's own worst case, and a table of nothing but letters that play cannot reach.
BENCHMARK(BM_PlayTick)->Arg(lettersInPlay)->Arg(BooShout::capacity)->Unit(benchmark::kMicrosecond);

void BM_LoadWorld(benchmark::State& state) {
  OffscreenContext context;
  if (!context.ok()) {
    state.SkipWithError("no offscreen GL context");
    return;
  }
  std::FILE* probe = std::fopen("graphics/grass.tga", "rb");
  if (!probe) {
    state.SkipWithError("run from the build folder: graphics/grass.tga not found");
    return;
  }
  std::fclose(probe);
  for (auto _ : state) {
    loadWorld();
    state.PauseTiming();
    unloadWorld();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadWorld)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
