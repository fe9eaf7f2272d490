#include "frame_scenes.h"

#include "days/day_cycle.h"
#include "field/corn_field.h"
#include "field/crow_flock.h"
#include "screens/play_screen.h"
#include "screens/screen_machine.h"
#include "screens/title_screen.h"

namespace {
constexpr uint32_t frameMs = 16;
constexpr int frameLimit = 3000;
// Past the menu's fade-in, so logo, buttons and stalks are all at full strength.
constexpr int titleSettleFrames = 120;
constexpr int crowCount = 10;

template <typename Done>
bool runUntil(Done done) {
  for (int i = 0; i < frameLimit; ++i) {
    if (done()) return true;
    gameUpdate(frameMs);
  }
  return done();
}

// Ten crows over the field, some pecking on the ground, some in the air, turned every way.
void placeCrows() {
  for (int i = 0; i < CrowFlock::capacity; ++i) CrowFlock::crow(i).state = CrowState::Free;
  for (int i = 0; i < crowCount; ++i) {
    Crow& c = CrowFlock::crow(i);
    c = Crow{};
    c.x = 60.0f + 52.0f * static_cast<float>(i);
    c.y = 120.0f + static_cast<float>((i * 71) % 300);
    const bool pecking = i % 3 == 0;
    c.height = pecking ? 0.0f : 40.0f;
    c.angle = static_cast<float>((i * 67) % 360);
    c.state = pecking ? CrowState::Pecking : CrowState::Arriving;
    c.animSet = pecking ? AnimSet::Peck : AnimSet::Flap;
    c.animTick = static_cast<uint8_t>(i);
    c.facing = static_cast<uint8_t>(i % 2);
    c.target = -1;
  }
}
}  // namespace

bool FrameScenes::start(Scene scene) {
  if (!gameStartup(nullptr)) return false;
  if (scene == Scene::Title) {
    int settled = 0;
    return runUntil([&] { return TitleScreen::menuTakesKeys() && ++settled > titleSettleFrames; });
  }
  screenMachine->requestScreen(ScreenId::Play);
  gameUpdate(frameMs);  // the world loads here; until then the day cycle may still tell of an earlier one
  if (!isWorldLoaded() || !runUntil([] { return DayCycle::isDayRunning(); })) return false;
  while (CornField::slotCount() < CornField::capacity) CornField::plantStalk();
  placeCrows();
  return true;
}

const char* FrameScenes::name(Scene scene) {
  return scene == Scene::Title ? "title" : "midday";
}

void FrameScenes::stop() {
  gameShutdown();
}
