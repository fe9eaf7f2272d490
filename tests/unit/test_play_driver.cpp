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
    appRunning = 1;
    gameStartup(&window_);
  }
  void TearDown() override {
    gameShutdown();
    KeyState::clearAll();
  }

  void enterPlay() {
    DayDirector::beginGame();
    screenMachine->requestScreen(ScreenId::Play);
    gameUpdate(0);
    ASSERT_TRUE(worldLoaded);
  }

  void switchTo(ScreenId screen) {
    screenMachine->requestScreen(screen);
    gameUpdate(0);
  }

  AppWindow window_;
};

// The first frame loads the Title before its first update; asking for the current screen runs its
// transition again; of two requests only the last runs.
TEST_F(ScreenMachineTest, RequestsRunAtTheNextFrameAndOnlyTheLastCounts) {
  EXPECT_FALSE(TitleScreen::isLoaded());
  gameUpdate(0);
  EXPECT_TRUE(TitleScreen::isLoaded());
  EXPECT_EQ(countPlayed("sound\\title.wav"), 1);
  switchTo(ScreenId::Title);
  EXPECT_EQ(countPlayed("sound\\title.wav"), 2);
  screenMachine->requestScreen(ScreenId::Play);
  switchTo(ScreenId::Title);
  EXPECT_FALSE(worldLoaded);
  EXPECT_TRUE(TitleScreen::isLoaded());
  EXPECT_EQ(countPlayed("sound\\title.wav"), 3);
  // Quit releases the Title and asks to quit on every frame.
  switchTo(ScreenId::Quit);
  EXPECT_FALSE(TitleScreen::isLoaded());
  EXPECT_EQ(appRunning, 0);
  appRunning = 1;
  gameUpdate(16);
  EXPECT_EQ(appRunning, 0);
}

// Each screen releases what the one before loaded.
TEST_F(ScreenMachineTest, ScreensSwapTheirResources) {
  gameUpdate(0);
  enterPlay();
  EXPECT_FALSE(TitleScreen::isLoaded());
  screenMachine->requestScreen(ScreenId::Title);
  gameDraw();  // the change takes effect at whichever of update or draw comes first
  EXPECT_FALSE(worldLoaded);
  EXPECT_TRUE(TitleScreen::isLoaded());
  switchTo(ScreenId::Instructions);
  EXPECT_FALSE(TitleScreen::isLoaded());
  switchTo(ScreenId::Store);
  EXPECT_TRUE(Store::isLoaded());
}

// 16 ms ticks, at most 96 ms of backlog: a stall slows the game down instead of jumping it ahead.
// 0 ms runs no tick, 1000 ms exactly six, 40 ms two and carries 8.
TEST_F(ScreenMachineTest, BacklogRunsWholeTicksAndCapsAtSix) {
  enterPlay();
  playTicksRun = 0;
  const struct {
    uint32_t elapsed, ticksSoFar, backlog;
  } rows[] = {
      {0, 0, 0}, {1000, 6, 0}, {40, 8, 8}, {8, 9, 0}, {0xFFFFFFFFu, 15, 0}};  // the last: minimised for weeks
  for (const auto& r : rows) {
    updatePlay(r.elapsed);
    EXPECT_EQ(playTicksRun, r.ticksSoFar) << r.elapsed;
    EXPECT_EQ(tickBacklog, r.backlog) << r.elapsed;
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
  ASSERT_TRUE(DayCycle::isDayRunning());
  const float before = Scarecrow::state().x;
  updatePlay(16);
  EXPECT_GT(Scarecrow::state().x, before);

  triggerGameOver();
  EXPECT_TRUE(gameOver);
  EXPECT_EQ(countPlayed("sound\\gameover.wav"), 1);
  const float frozen = Scarecrow::state().x;
  const float light = worldLight;
  updatePlay(96);
  EXPECT_EQ(Scarecrow::state().x, frozen);
  EXPECT_LT(worldLight, light) << "the world fades after game over";
  KeyState::keyUp(vkRight);

  KeyState::keyDown(vkEscape);
  updatePlay(16);
  gameUpdate(0);
  EXPECT_FALSE(worldLoaded);
  EXPECT_TRUE(TitleScreen::isLoaded());

  enterPlay();
  EXPECT_FALSE(gameOver);
  EXPECT_EQ(tickBacklog, 0u);
}

// Same tick gives 0; across the 2^32 wrap the elapsed value stays the small difference.
TEST(FrameTimingTest, ElapsedSurvivesTheCounterWrap) {
  EXPECT_EQ(frameElapsed(5u, 0xFFFFFFFBu), 10u);
  EXPECT_EQ(frameElapsed(1234u, 1234u), 0u);
  EXPECT_EQ(frameElapsed(2000u, 1000u), 1000u);
}

TEST(ViewportTest, ZeroHeightDoesNotBreakTheProjection) {
  resizeViewport(640, 0);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 640);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  for (float value : projection) EXPECT_TRUE(std::isfinite(value));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  resizeViewport(640, 480);
}
}  // namespace
