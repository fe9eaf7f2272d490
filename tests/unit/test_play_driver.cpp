#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
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
    ASSERT_TRUE(worldLoaded);
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
  EXPECT_FALSE(worldLoaded);
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
    EXPECT_EQ(playTicksRun, ticksSoFar) << elapsed;
    EXPECT_EQ(tickBacklog, backlog) << elapsed;
  }
  // A frame without a tick still reads Escape, and reading it clears it.
  KeyState::keyDown(vkEscape);
  updatePlay(0);
  EXPECT_EQ(playTicksRun, 15u);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);
  EXPECT_FALSE(KeyState::wasPressed(vkEscape));
}

// During the dawn intro the world stands still while the light rises; after game over it stops and
// fades; Escape then returns to Title and a new game starts afresh.
TEST_F(ScreenMachineTest, DawnAndGameOverFreezeTheWorld) {
  enterPlay();
  const float startX = Scarecrow::state().x;
  KeyState::keyDown(vkRight);
  updatePlay(96);
  EXPECT_EQ(Scarecrow::state().x, startX);
  EXPECT_GT(worldLight, 0.0f);
  for (int i = 0; i < 400 && !DayCycle::isDayRunning(); ++i) updatePlay(16);
  updatePlay(16);
  EXPECT_GT(Scarecrow::state().x, startX) << "the day runs, and the held key moves the scarecrow";

  triggerGameOver();
  EXPECT_EQ(countPlayed("sound\\gameover.wav"), 1);
  const float frozen = Scarecrow::state().x, light = worldLight;
  updatePlay(96);
  EXPECT_EQ(Scarecrow::state().x, frozen);
  EXPECT_LT(worldLight, light) << "the world fades after game over";
  KeyState::keyDown(vkEscape);
  updatePlay(16);
  gameUpdate(0);
  EXPECT_TRUE(TitleScreen::isLoaded());
  enterPlay();
  EXPECT_FALSE(gameOver);
}

// A zero client height reaches the viewport unguarded; the projection must stay usable.
TEST(ViewportTest, ZeroHeightDoesNotBreakTheProjection) {
  resizeViewport(640, 0);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  for (float value : projection) EXPECT_TRUE(std::isfinite(value));
}
}  // namespace
