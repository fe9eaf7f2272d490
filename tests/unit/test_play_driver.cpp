#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "scarecrow/scarecrow.h"
#include "screens/instructions_screen.h"
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

  // Runs whole ticks until the dawn intro is over and the world moves.
  void runUntilDayRuns() {
    for (int i = 0; i < 400 && !DayCycle::isDayRunning(); ++i) updatePlay(16);
    ASSERT_TRUE(DayCycle::isDayRunning());
  }

  AppWindow window_;
};

TEST_F(ScreenMachineTest, FirstFrameLoadsTheTitleBeforeItsFirstUpdate) {
  EXPECT_FALSE(TitleScreen::isLoaded());
  gameUpdate(0);
  EXPECT_TRUE(TitleScreen::isLoaded());
  EXPECT_EQ(countPlayed("sound\\title.wav"), 1);
}

TEST_F(ScreenMachineTest, PlayAndTitleSwapTheirResources) {
  gameUpdate(0);
  enterPlay();
  EXPECT_FALSE(TitleScreen::isLoaded());
  screenMachine->requestScreen(ScreenId::Title);
  gameDraw();  // the change takes effect at whichever of update or draw comes first
  EXPECT_FALSE(worldLoaded);
  EXPECT_TRUE(TitleScreen::isLoaded());
}

TEST_F(ScreenMachineTest, OnlyTheLastOfTwoRequestsRuns) {
  gameUpdate(0);
  screenMachine->requestScreen(ScreenId::Play);
  screenMachine->requestScreen(ScreenId::Title);
  gameUpdate(0);
  EXPECT_FALSE(worldLoaded);
  EXPECT_TRUE(TitleScreen::isLoaded());
  EXPECT_EQ(countPlayed("sound\\title.wav"), 2) << "the Title transition ran again";
}

TEST_F(ScreenMachineTest, RequestingTheCurrentScreenRunsItsTransitionAgain) {
  gameUpdate(0);
  screenMachine->requestScreen(ScreenId::Title);
  gameUpdate(0);
  EXPECT_EQ(countPlayed("sound\\title.wav"), 2);
}

TEST_F(ScreenMachineTest, QuitReleasesTheTitleAndAsksToQuitEveryFrame) {
  gameUpdate(0);
  screenMachine->requestScreen(ScreenId::Quit);
  gameUpdate(0);
  EXPECT_FALSE(TitleScreen::isLoaded());
  EXPECT_EQ(appRunning, 0);
  appRunning = 1;
  gameUpdate(16);
  EXPECT_EQ(appRunning, 0);
}

TEST_F(ScreenMachineTest, StoreAndInstructionsTransitions) {
  gameUpdate(0);
  screenMachine->requestScreen(ScreenId::Instructions);
  gameUpdate(0);
  EXPECT_FALSE(TitleScreen::isLoaded());
  screenMachine->requestScreen(ScreenId::Store);
  gameUpdate(0);
  EXPECT_TRUE(Store::isLoaded());
}

TEST_F(ScreenMachineTest, BacklogRunsWholeTicksAndCapsAtSix) {
  enterPlay();
  playTicksRun = 0;
  updatePlay(1000);
  EXPECT_EQ(playTicksRun, 6u);
  EXPECT_EQ(tickBacklog, 0u);
  updatePlay(40);
  EXPECT_EQ(playTicksRun, 8u);
  EXPECT_EQ(tickBacklog, 8u);
  updatePlay(8);
  EXPECT_EQ(playTicksRun, 9u);
  EXPECT_EQ(tickBacklog, 0u);
  updatePlay(0xFFFFFFFFu);  // a window minimised for weeks
  EXPECT_EQ(playTicksRun, 15u);
  EXPECT_EQ(tickBacklog, 0u);
}

TEST_F(ScreenMachineTest, ZeroElapsedRunsNoTickButStillReadsEscape) {
  enterPlay();
  playTicksRun = 0;
  KeyState::keyDown(vkEscape);
  updatePlay(0);
  EXPECT_EQ(playTicksRun, 0u);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);
  EXPECT_FALSE(KeyState::wasPressed(vkEscape)) << "reading Escape clears it";
}

TEST_F(ScreenMachineTest, DawnFreezesTheWorldButNotTheLight) {
  enterPlay();
  const float startX = Scarecrow::state().x;
  KeyState::keyDown(vkRight);
  updatePlay(96);
  EXPECT_EQ(Scarecrow::state().x, startX);
  EXPECT_GT(worldLight, 0.0f);
  KeyState::keyUp(vkRight);
}

TEST_F(ScreenMachineTest, GameOverFreezesTheWorldUntilEscape) {
  enterPlay();
  runUntilDayRuns();
  KeyState::keyDown(vkRight);
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

  // A new game starts from a fresh world.
  enterPlay();
  EXPECT_FALSE(gameOver);
  EXPECT_EQ(tickBacklog, 0u);
}

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
