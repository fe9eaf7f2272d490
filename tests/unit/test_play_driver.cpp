#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "field/corn_field.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "screen_test_helpers.h"
#include "screens/play_screen.h"
#include "screens/play_screen_testing.h"
#include "screens/screen_machine.h"
#include "screens/store.h"
#include "screens/title_screen.h"
#include "shell/app_window.h"
#include "shell/key_state.h"
#include "shell/main_loop.h"
#include "test_support.h"

namespace {
class ScreenMachineTest : public testing::Test {
 protected:
  void SetUp() override {
    KeyState::clearAll();
    DayDirector::resetForTests();
    clearPlayedClips();
    gameStartup(&window_);
  }
  void TearDown() override { gameShutdown(); }
  void switchTo(ScreenId screen) { screenMachine->requestScreen(screen), gameUpdate(0); }
  void enterPlay() {
    DayDirector::beginGame();
    switchTo(ScreenId::Play);
    ASSERT_TRUE(isWorldLoaded());
  }
  AppWindow window_;
};

// The first frame loads the Title before its first update; asking for the current screen runs its
// transition again; a request takes effect at whichever of update or draw comes first; of two
// requests only the last runs; each screen releases what the one before loaded; Quit asks to quit on
// every frame.
TEST_F(ScreenMachineTest, RequestsRunAtTheNextFrameAndEachScreenReleasesTheLast) {
  gameUpdate(0);
  EXPECT_EQ(countPlayed("sound\\title.wav"), 1);
  switchTo(ScreenId::Title);
  EXPECT_EQ(countPlayed("sound\\title.wav"), 2);
  enterPlay();
  EXPECT_FALSE(TitleScreen::isLoaded());
  screenMachine->requestScreen(ScreenId::Title);
  gameDraw();
  EXPECT_FALSE(isWorldLoaded());
  EXPECT_EQ(countPlayed("sound\\title.wav"), 3);
  screenMachine->requestScreen(ScreenId::Title);
  switchTo(ScreenId::Instructions);
  EXPECT_FALSE(TitleScreen::isLoaded());
  EXPECT_EQ(countPlayed("sound\\title.wav"), 3);
  switchTo(ScreenId::Store);
  EXPECT_TRUE(Store::isLoaded());
  switchTo(ScreenId::Quit);
  appRunning = 1;
  gameUpdate(16);
  EXPECT_EQ(appRunning, 0);
}

// 16 ms ticks, at most 96 ms of backlog: a stall slows the game down instead of jumping it ahead.
// 0 ms runs no tick, 1000 ms exactly six, 40 ms two and carries 8; the last row is weeks minimised.
TEST_F(ScreenMachineTest, BacklogRunsWholeTicksAndCapsAtSix) {
  EXPECT_EQ(frameElapsed(5u, 0xFFFFFFFBu), 10u) << "across the 2^32 wrap";
  EXPECT_EQ(frameElapsed(1234u, 1234u), 0u);
  enterPlay();
  const uint32_t rows[][3] = {{0, 0, 0}, {1000, 6, 0}, {40, 8, 8}, {8, 9, 0}, {0xFFFFFFFFu, 15, 0}};
  for (const auto& [elapsed, ticksSoFar, backlog] : rows) {
    updatePlay(elapsed);
    EXPECT_EQ(PlayTesting::ticksRun(), ticksSoFar) << elapsed;
    EXPECT_EQ(playBacklog(), backlog) << elapsed;
  }
  // A frame without a tick still reads Escape, and reading it clears it.
  KeyState::keyDown(vkEscape);
  EXPECT_EQ(updatePlay(0), ScreenId::Title);
  EXPECT_EQ(PlayTesting::ticksRun(), 15u);
  EXPECT_FALSE(KeyState::wasPressed(vkEscape));
}

// During the dawn intro the world stands still while the light rises; after game over it stops and
// fades; Escape then returns to Title and a new game starts afresh.
TEST_F(ScreenMachineTest, DawnAndGameOverFreezeTheWorld) {
  enterPlay();
  const float startX = Scarecrow::testing::state().x;
  KeyState::keyDown(vkRight);
  updatePlay(96);
  EXPECT_EQ(Scarecrow::testing::state().x, startX);
  EXPECT_GT(worldLight(), 0.0f);
  for (int i = 0; i < 400 && !DayCycle::isDayRunning(); ++i) updatePlay(16);
  updatePlay(16);
  EXPECT_GT(Scarecrow::testing::state().x, startX) << "the day runs, and the held key moves the scarecrow";

  triggerGameOver();
  EXPECT_EQ(countPlayed("sound\\gameover.wav"), 1);
  const float frozen = Scarecrow::testing::state().x, light = worldLight();
  updatePlay(96);
  EXPECT_EQ(Scarecrow::testing::state().x, frozen);
  EXPECT_LT(worldLight(), light) << "the world fades after game over";
  KeyState::keyDown(vkEscape);
  gameUpdate(16);
  gameUpdate(0);
  EXPECT_TRUE(TitleScreen::isLoaded());
  enterPlay();
  EXPECT_FALSE(isGameOver());
}

// A short (turned back) day of 300 ticks on a field kept free of creatures. Its end opens the store in the
// tick it happens, and the frame's other ticks still run on the new day's clock; leaving the store brings
// the next day's dawn. When the last stalk goes in the very tick the day would end, the game is over
// instead: no store, the day stays, and the game-over presentation stays on the following frames.
TEST_F(ScreenMachineTest, TheDayEndsIntoTheStoreUnlessTheFieldIsLostInThatSameTick) {
  for (bool lose : {false, true}) {
    SCOPED_TRACE(lose);
    clearPlayedClips();
    enterPlay();
    for (int i = 0; i < 400 && !DayCycle::isDayRunning(); ++i) gameUpdate(16);
    DayDirector::turnBackTime();
    while (DayDirector::ticksToday() < 299) gameUpdate(16), screentest::freeAllCreatures();
    for (int slot = 0; lose && slot < CornField::slotCount(); ++slot) {
      CornStalk& stalk = CornField::stalk(slot);
      if (stalk.stage != 0) stalk.ears = 0, stalk.stage = 81;  // gone with the next tick
    }
    const uint32_t ticksBefore = PlayTesting::ticksRun();
    gameUpdate(48);
    gameUpdate(0);
    EXPECT_EQ(PlayTesting::ticksRun(), ticksBefore + 3);
    EXPECT_EQ(std::tuple(isGameOver(), Store::isLoaded(), screenMachine->currentScreen(), DayDirector::day()),
              std::tuple(lose, !lose, lose ? ScreenId::Play : ScreenId::Store, lose ? 0 : 1));
    EXPECT_EQ(std::tuple(countPlayed("sound\\gameover.wav"), countPlayed("sound\\hello.wav")),
              std::tuple(int(lose), int(!lose)));
    if (lose) {
      gameUpdate(160);
      EXPECT_EQ(std::tuple(Store::isLoaded(), screenMachine->currentScreen(), DayDirector::day()),
                std::tuple(false, ScreenId::Play, 0));
      continue;
    }
    EXPECT_EQ(DayDirector::ticksToday(), 2) << "the frame's two ticks left ran on the new day";
    for (int i = 0; i < 100; ++i) gameUpdate(16);
    KeyState::keyDown(vkControl), KeyState::keyUp(vkControl);  // the cursor starts on the exit
    gameUpdate(16);
    gameUpdate(0);
    EXPECT_EQ(std::tuple(Store::isLoaded(), screenMachine->currentScreen(), DayCycle::phase(),
                         DayCycle::shownDay()),
              std::tuple(false, ScreenId::Play, DayPhase::RoosterRise, 2));
    switchTo(ScreenId::Title);
  }
}

// A zero client height reaches the viewport unguarded; the projection must stay usable.
TEST(ViewportTest, ZeroHeightDoesNotBreakTheProjection) {
  resizeViewport(640, 0);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  for (float value : projection) EXPECT_TRUE(std::isfinite(value));
}
}  // namespace
