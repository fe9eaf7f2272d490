// The title: background stalks, the logo's spring, the menu's fade and keys, and the five buttons.
#include <gtest/gtest.h>

#include <cmath>

#include "days/day_director.h"
#include "screen_test_helpers.h"
#include "screens/instructions_screen.h"
#include "screens/screen_machine.h"
#include "screens/title_screen.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {

using screentest::Frame;
using screentest::render;

constexpr uint32_t stepMs = 16;
constexpr int logoSteps = 180;
constexpr int stepsUntilMenuTakesKeys = logoSteps + 25;

class TitleTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { gameStartup(nullptr); }
  static void TearDownTestSuite() { gameShutdown(); }

  void SetUp() override {
    DayDirector::resetForTests();
    KeyState::clearAll();
    screenMachine->requestScreen(ScreenId::Title);
    screenMachine->takeChanged();
    clearPlayedClips();
    TitleScreen::load();
  }
  void TearDown() override {
    TitleScreen::unload();
    InstructionsScreen::unload();
    KeyState::clearAll();
  }

  static void steps(int n) {
    for (int i = 0; i < n; ++i) TitleScreen::update(stepMs);
  }
  static void tap(uint32_t key) {
    KeyState::keyDown(key);
    KeyState::keyUp(key);
  }
  static void press(uint32_t key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      tap(key);
      steps(1);
    }
  }
  static void readyMenu() {
    steps(stepsUntilMenuTakesKeys);
    ASSERT_TRUE(TitleScreen::menuTakesKeys());
  }
  static ScreenId requested() { return screenMachine->currentScreen(); }
};

TEST_F(TitleTest, LoadPlaysTheTuneAndStartsFromTheBeginning) {
  EXPECT_TRUE(TitleScreen::isLoaded());
  EXPECT_EQ(countPlayed("sound\\title.wav"), 1);
  EXPECT_FLOAT_EQ(TitleScreen::logoSize(), 0.0f);
  EXPECT_FLOAT_EQ(TitleScreen::menuAlpha(), 0.0f);
  EXPECT_FLOAT_EQ(TitleScreen::cornOffset(), 350.0f);
  EXPECT_EQ(TitleScreen::selection(), 0);
  for (int i = 0; i < TitleScreen::buttonCount; ++i) EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(i), 0.0f);
}

TEST_F(TitleTest, BackgroundStalksComeFromTheGeneratorInOrderAndFaceBothWays) {
  const uint32_t seed = 4242;
  seedRandom(seed);
  TitleScreen::load();
  // Each stalk draws x, then tilt, then facing (the row is fixed): replay the generator the same way.
  seedRandom(seed);
  int mirrored = 0;
  for (int i = 0; i < TitleScreen::backgroundStalkCount; ++i) {
    const TitleScreen::BackgroundStalk& s = TitleScreen::backgroundStalk(i);
    const float x = randomFloat(760.0f) - 60.0f;
    const float angle = randomFloat(20.0f) - 10.0f;
    const float facing = randomInt(2) != 0 ? 1.0f : -1.0f;
    ASSERT_FLOAT_EQ(s.x, x) << i;
    ASSERT_FLOAT_EQ(s.y, 4.0625f * static_cast<float>(i)) << i;
    ASSERT_FLOAT_EQ(s.angle, angle) << i;
    ASSERT_EQ(s.facing, facing) << i;
    mirrored += s.facing < 0 ? 1 : 0;
  }
  EXPECT_GT(mirrored, 20);
  EXPECT_LT(mirrored, 108);
}

TEST_F(TitleTest, LogoSpringsPastItsSizeAndSettles) {
  float biggest = 0.0f;
  int biggestStep = 0;
  for (int step = 1; step <= logoSteps; ++step) {
    steps(1);
    if (TitleScreen::logoSize() > biggest) {
      biggest = TitleScreen::logoSize();
      biggestStep = step;
    }
  }
  EXPECT_EQ(biggestStep, 39);
  EXPECT_NEAR(biggest, 348.0f, 2.0f);
  EXPECT_NEAR(TitleScreen::logoSize(), 240.0f, 3.0f);
  EXPECT_EQ(TitleScreen::logoTicks(), logoSteps);
  EXPECT_FLOAT_EQ(TitleScreen::menuAlpha(), 0.0f);  // the fade waits for the logo
  steps(1);
  EXPECT_EQ(TitleScreen::logoSize(), 240.0f);  // snapped
  EXPECT_FLOAT_EQ(TitleScreen::menuAlpha(), 0.02f);
}

TEST_F(TitleTest, CornRisesIn175StepsAndTheMenuTakesKeys25StepsAfterTheLogoAndStopsJustAboveOne) {
  steps(174);
  EXPECT_FLOAT_EQ(TitleScreen::cornOffset(), 2.0f);
  steps(1);
  EXPECT_FLOAT_EQ(TitleScreen::cornOffset(), 0.0f);
  steps(stepsUntilMenuTakesKeys - 1 - 175);
  EXPECT_FLOAT_EQ(TitleScreen::cornOffset(), 0.0f);
  EXPECT_FALSE(TitleScreen::menuTakesKeys());
  steps(1);
  EXPECT_TRUE(TitleScreen::menuTakesKeys());
  steps(25);
  EXPECT_LT(TitleScreen::menuAlpha(), 1.0f);
  steps(1);  // the 51st fade step
  const float top = TitleScreen::menuAlpha();
  EXPECT_GE(top, 1.0f);
  EXPECT_LT(top, 1.02f);
  steps(50);
  EXPECT_EQ(TitleScreen::menuAlpha(), top);
}

TEST_F(TitleTest, GlowsMoveTowardsTheirTargetsWithoutPassing) {
  steps(1);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(0), 0.1f);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(3), 0.1f);
  steps(9);
  EXPECT_NEAR(TitleScreen::buttonGlow(0), 1.0f, 1e-5f);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(1), 0.6f);  // stopped, not 0.7
  steps(stepsUntilMenuTakesKeys);
  press(vkDown);
  EXPECT_EQ(TitleScreen::selection(), 1);
  steps(1);
  EXPECT_NEAR(TitleScreen::buttonGlow(0), 0.9f, 1e-5f);
  EXPECT_NEAR(TitleScreen::buttonGlow(1), 0.7f, 1e-5f);
  steps(10);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(0), 0.6f);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(1), 1.0f);
}

TEST_F(TitleTest, SlowFrameRunsAtMostSixSteps) {
  TitleScreen::update(1000);
  EXPECT_FLOAT_EQ(TitleScreen::cornOffset(), 350.0f - 6 * 2.0f);
  EXPECT_EQ(TitleScreen::logoTicks(), 6);
  TitleScreen::update(15);  // the dropped time is not carried
  EXPECT_EQ(TitleScreen::logoTicks(), 6);
  TitleScreen::update(1);
  EXPECT_EQ(TitleScreen::logoTicks(), 7);
}

TEST_F(TitleTest, CtrlDuringTheIntroShowsTheMenuAndTheNextCtrlStarts) {
  steps(10);
  press(vkControl);
  EXPECT_EQ(TitleScreen::menuAlpha(), 1.0f);
  EXPECT_EQ(requested(), ScreenId::Title);
  const float logoBefore = TitleScreen::logoSize();
  steps(1);
  EXPECT_NE(TitleScreen::logoSize(), logoBefore);  // the logo keeps swinging
  DayDirector::stepStartingDay();
  press(vkControl);
  EXPECT_EQ(requested(), ScreenId::Play);
  EXPECT_EQ(DayDirector::day(), 10);  // the game begins at the starting day
}

TEST_F(TitleTest, UpAndDownWrapAround) {
  readyMenu();
  const struct {
    uint32_t key;
    int times, selection;
  } moves[] = {{vkUp, 1, 4}, {vkDown, 1, 0}, {vkUp, 2, 3}, {vkDown, 2, 0}};
  for (const auto& m : moves) {
    press(m.key, m.times);
    EXPECT_EQ(TitleScreen::selection(), m.selection);
  }
}

TEST_F(TitleTest, DownPressedBeforeTheMenuTakesKeysActsOnce) {
  steps(20);
  press(vkDown);
  tap(vkDown);
  tap(vkDown);
  steps(stepsUntilMenuTakesKeys - 22);
  EXPECT_EQ(TitleScreen::selection(), 0);
  steps(1);
  EXPECT_EQ(TitleScreen::selection(), 1);
  steps(5);
  EXPECT_EQ(TitleScreen::selection(), 1);
}

TEST_F(TitleTest, StartingDayButtonStepsByTenAndWraps) {
  readyMenu();
  press(vkDown, 2);
  ASSERT_EQ(TitleScreen::selection(), 2);
  EXPECT_EQ(DayDirector::startingDay() + 1, 1);
  for (int n = 1; n <= 10; ++n) {
    press(vkControl);
    EXPECT_EQ(DayDirector::startingDay() + 1, 1 + 10 * n);
  }
  press(vkControl);
  EXPECT_EQ(DayDirector::startingDay() + 1, 1);
  EXPECT_EQ(requested(), ScreenId::Title);
}

TEST_F(TitleTest, CornButtonCyclesOneTwoThree) {
  readyMenu();
  press(vkDown);
  for (int value : {2, 3, 1, 2}) {
    press(vkControl);
    EXPECT_EQ(DayDirector::startingCorn(), value);
  }
}

TEST_F(TitleTest, InstructionsButtonOpensTheInstructions) {
  readyMenu();
  press(vkDown, 3);
  press(vkControl);
  EXPECT_TRUE(InstructionsScreen::isLoaded());
  EXPECT_EQ(requested(), ScreenId::Instructions);
}

TEST_F(TitleTest, QuitButtonQuits) {
  readyMenu();
  press(vkUp);
  press(vkControl);
  EXPECT_EQ(requested(), ScreenId::Quit);
}

TEST_F(TitleTest, EscapeQuitsEvenDuringTheIntro) {
  steps(3);
  press(vkEscape);
  EXPECT_EQ(requested(), ScreenId::Quit);
  EXPECT_LT(TitleScreen::menuAlpha(), 0.5f);
}

TEST_F(TitleTest, UnloadReleasesOnceDrawsNothingAndKeysPressedBeforeTheNextLoadAreForgotten) {
  TitleScreen::unload();
  EXPECT_FALSE(TitleScreen::isLoaded());
  TitleScreen::unload();
  EXPECT_EQ(render([] { TitleScreen::draw(); }).brightness(0, 0, 640, 480), 0);
  tap(vkEscape);
  tap(vkControl);
  TitleScreen::load();
  steps(1);
  EXPECT_EQ(requested(), ScreenId::Title);
  EXPECT_FLOAT_EQ(TitleScreen::menuAlpha(), 0.0f);
}

TEST_F(TitleTest, MenuAppearsOnlyAsItFadesIn) {
  // The button column (x 192..448, y 208..472) below the subtitle picture's reach: compare the menu
  // region before the fade and after it, with the corn plants already risen in both.
  steps(logoSteps);
  const Frame before = render([] { TitleScreen::draw(); });
  steps(60);
  const Frame after = render([] { TitleScreen::draw(); });
  EXPECT_GT(screentest::maxDifference(before, after, 200, 340, 440, 460), 64);
  // Left of the buttons and below the logo nothing changes but the ground's stalks, which stay.
  EXPECT_LE(screentest::maxDifference(before, after, 0, 340, 150, 350), 2);
}

}  // namespace
