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
#include "screens/fixed_step.h"
#include "screens/game_over_place.h"
#include "screens/play_pause.h"
#include "screens/play_screen_testing.h"
#include "screens/screen_machine.h"
#include "screens/store.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "sound/sound_clip.h"

namespace {
bool worldLoaded = false;
bool gameOver = false;
float light = 0.0f;
uint32_t ticksSinceLoad = 0;
FixedStep stepper;
std::unique_ptr<SoundClip> gameOverClip;
bool storeOpened = false;  // by a tick of this frame
}  // namespace

void loadWorld() {
  if (worldLoaded) return;
  gameOverClip = std::make_unique<SoundClip>("sound\\gameover.wav");
  gameOver = false;
  seedRandom(0);
  stepper.reset();
  light = 0.0f;
  ticksSinceLoad = 0;
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
  GameOverPlace::load();
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
  GameOverPlace::unload();
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
        if (CornField::tick()) triggerGameOver();
        // A day whose field was lost in this very tick does not end: the game-over presentation stays.
        if (DayDirector::tick() && !gameOver && DayDirector::nextDay()) {
          Store::load();
          storeOpened = true;
        }
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
  light = DayCycle::lightLevel();
  ++ticksSinceLoad;
}

ScreenId updatePlay(uint32_t elapsedMs) {
  storeOpened = false;
  // Paused, the frame's time is dropped, not saved up. The ticks left in this frame run on even
  // after the store opened, as they always have.
  if (!PlayPause::update()) stepper.run(elapsedMs, playTick);
  if (KeyState::wasPressed(vkEscape)) return ScreenId::Title;
  return storeOpened ? ScreenId::Store : ScreenId::None;
}

ScreenId updateStoreVisit(uint32_t elapsedMs) {
  const ScreenId next = Store::update(elapsedMs);
  if (next == ScreenId::Play) {
    Store::unload();
    DayCycle::load(DayDirector::day());  // the coming day's dawn
  }
  return next;
}

bool isWorldLoaded() {
  return worldLoaded;
}

bool isGameOver() {
  return gameOver;
}

float worldLight() {
  return light;
}

uint32_t PlayTesting::ticksRun() {
  return ticksSinceLoad;
}

void PlayTesting::clearGameOver() {
  gameOver = false;
}

uint32_t playBacklog() {
  return stepper.backlog();
}

void drawPlay() {
  Ground::draw(light);
  Scarecrow::draw(light);
  CornField::draw(light);
  BooShout::draw(light);
  CrowFlock::draw(light);
  CowHerd::draw(light);
  PelicanFlock::draw(light);
  DrawQueue::flush();
  Hud::draw(light);
  OogaBooga::draw();
  if (!gameOver) {
    DayCycle::draw();
  } else {
    DayCycle::drawGameOver();
    GameOverPlace::draw();
  }
  PlayPause::draw();
}

void triggerGameOver() {
  const bool first = !gameOver;
  gameOver = true;
  if (gameOverClip) gameOverClip->play();
  if (first)
    GameOverPlace::record(Scarecrow::state().score, DayDirector::day() + 1,
                          screenMachine ? screenMachine->window() : nullptr);
}
