#include "screens/play_screen.h"

#include <memory>

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "days/draw_queue.h"
#include "days/ground.h"
#include "days/hud.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "screens/screen_machine.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "sound/sound_clip.h"

bool worldLoaded = false;
bool gameOver = false;
uint32_t tickBacklog = 0;
float worldLight = 0.0f;
uint32_t playTicksRun = 0;

namespace {
constexpr uint32_t tickMs = 16;
constexpr uint32_t backlogCapMs = 96;  // at most six ticks a frame: after a stall the game slows down
std::unique_ptr<SoundClip> gameOverClip;
}  // namespace

void loadWorld() {
  if (worldLoaded) return;
  gameOverClip = std::make_unique<SoundClip>("sound\\gameover.wav");
  gameOver = false;
  seedRandom(0);
  tickBacklog = 0;
  worldLight = 0.0f;
  playTicksRun = 0;
  DrawQueue::load();
  Ground::load();
  Scarecrow::load();
  CrowFlock::load();
  CowHerd::load();
  PelicanFlock::load();
  CornField::load();
  CornField::layOut();
  BooShout::load();
  Hud::load();
  DayDirector::startDay();
  DayCycle::load(DayDirector::day());
  worldLoaded = true;
}

void unloadWorld() {
  if (!worldLoaded) return;
  gameOverClip.reset();
  OogaBooga::end();
  CrowFlock::unload();
  CowHerd::unload();
  PelicanFlock::unload();
  Hud::unload();
  BooShout::unload();
  CornField::unload();
  DrawQueue::unload();
  Scarecrow::unload();
  Ground::unload();
  DayCycle::unload();
  worldLoaded = false;
}

void playTick() {
  if (!gameOver) {
    if (DayCycle::isDayRunning()) {
      if (!OogaBooga::isActive()) {
        Scarecrow::update();
        BooShout::update();
        CornField::tick();
        DayDirector::tick();
      } else {
        OogaBooga::update();
      }
      CrowFlock::tick();
      PelicanFlock::tick();
      CowHerd::tick();
    }
    DayCycle::tick();
  } else {
    DayCycle::tickGameOver();
  }
  Hud::tick();
  worldLight = DayCycle::lightLevel();
  ++playTicksRun;
}

void updatePlay(uint32_t elapsedMs) {
  // Saturating: a huge elapsed value (a long-minimised window) must not wrap the sum around.
  tickBacklog = elapsedMs > backlogCapMs - tickBacklog ? backlogCapMs : tickBacklog + elapsedMs;
  while (tickBacklog >= tickMs) {
    playTick();
    tickBacklog -= tickMs;
  }
  if (KeyState::wasPressed(vkEscape)) screenMachine->requestScreen(ScreenId::Title);
}

void drawPlay() {
  Ground::draw(worldLight);
  Scarecrow::draw();
  CornField::draw();
  BooShout::draw();
  CrowFlock::draw();
  CowHerd::draw();
  PelicanFlock::draw();
  DrawQueue::flush();
  Hud::draw();
  OogaBooga::draw();
  if (!gameOver) {
    DayCycle::draw();
  } else {
    DayCycle::drawGameOver();
  }
}

void triggerGameOver() {
  gameOver = true;
  if (gameOverClip) gameOverClip->play();
}
