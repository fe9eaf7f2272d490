// The title: background stalks, the logo's spring, the menu's fade and keys, and the five buttons.
#include "screen_test_helpers.h"
#include "screens/instructions_screen.h"
#include "screens/title_screen.h"
#include "shell/numeric.h"

namespace screentest {

constexpr int logoSteps = 180;
constexpr int stepsUntilMenuTakesKeys = logoSteps + 25;

class TitleTest : public ScreenTest {
 protected:
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
  }

  static void steps(int n) {
    for (int i = 0; i < n; ++i) TitleScreen::update(16);
  }
  static void press(uint32_t key) {
    tap(key);
    steps(1);
  }
  static ScreenId requested() { return screenMachine->currentScreen(); }
};

// Ctrl during the intro shows the menu at once, the logo swinging on, and the next Ctrl starts a game at
// the starting day. Every load, a return from the instructions too, starts the intro over with the tune,
// and lays out the background stalks from the generator: x, then tilt, then facing for each, rows fixed.
TEST_F(TitleTest, CtrlSkipsTheFadeAndStartsAndEveryLoadStartsOverWithStalksFromTheGenerator) {
  steps(10);
  press(vkControl);
  EXPECT_EQ(TitleScreen::menuAlpha(), 1.0f);
  EXPECT_EQ(requested(), ScreenId::Title);
  const float logoBefore = TitleScreen::logoSize();
  steps(1);
  EXPECT_NE(TitleScreen::logoSize(), logoBefore);
  DayDirector::stepStartingDay();
  press(vkControl);
  EXPECT_EQ(requested(), ScreenId::Play);
  EXPECT_EQ(DayDirector::day(), 10);
  press(vkDown);
  TitleScreen::unload();
  seedRandom(4242);
  TitleScreen::load();
  EXPECT_TRUE(TitleScreen::isLoaded());
  EXPECT_EQ(countPlayed("sound\\title.wav"), 2);
  EXPECT_FLOAT_EQ(TitleScreen::logoSize(), 0.0f);
  EXPECT_EQ(TitleScreen::logoTicks(), 0);
  EXPECT_FLOAT_EQ(TitleScreen::menuAlpha(), 0.0f);
  EXPECT_FLOAT_EQ(TitleScreen::cornOffset(), 350.0f);
  EXPECT_EQ(TitleScreen::selection(), 0);
  for (int i = 0; i < TitleScreen::buttonCount; ++i) EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(i), 0.0f);
  seedRandom(4242);
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

// The glows rise by 0.1 a step and stop on their targets. The logo springs past its size, biggest (about
// 348) on step 39, settles near 240 by step 180 and then snaps to it; the corn rises in 175 steps; the menu
// fades in after the logo, takes keys 25 steps later and stops just above 1 after 51 steps. The buttons
// (x 192..448, y 208..472; left of the numbers and below the subtitle) appear only with the fade, and left
// of them below the logo nothing changes but the ground's stalks, which stay.
TEST_F(TitleTest, IntroTimeline) {
  float biggest = 0.0f, top = 0.0f;
  int biggestStep = 0;
  Frame before, after;
  for (int step = 1; step <= logoSteps + 101; ++step) {
    steps(1);
    SCOPED_TRACE(testing::Message() << "step " << step);
    const float logo = TitleScreen::logoSize(), menu = TitleScreen::menuAlpha();
    if (step <= logoSteps && logo > biggest) {
      biggest = logo;
      biggestStep = step;
    }
    ASSERT_EQ(TitleScreen::logoTicks(), std::min(step, logoSteps));
    ASSERT_EQ(TitleScreen::cornOffset(), step < 175 ? 350.0f - 2.0f * step : 0.0f);
    ASSERT_EQ(TitleScreen::menuTakesKeys(), step >= stepsUntilMenuTakesKeys);
    if (step <= logoSteps) {
      ASSERT_EQ(menu, 0.0f);  // the fade waits for the logo
    } else {
      ASSERT_EQ(logo, 240.0f);
    }
    if (step == 1) {
      EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(0), 0.1f);
      EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(3), 0.1f);
    } else if (step == 10) {
      EXPECT_NEAR(TitleScreen::buttonGlow(0), 1.0f, 1e-5f);
      EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(1), 0.6f);  // stopped, not 0.7
    } else if (step == logoSteps) {
      EXPECT_NEAR(logo, 240.0f, 3.0f);
      before = render(TitleScreen::draw);
    } else if (step == logoSteps + 1) {
      EXPECT_FLOAT_EQ(menu, 0.02f);
    } else if (step == logoSteps + 50) {
      EXPECT_LT(menu, 1.0f);
    } else if (step == logoSteps + 51) {
      top = menu;
      EXPECT_GE(top, 1.0f);
      EXPECT_LT(top, 1.02f);
    } else if (step > logoSteps + 51) {
      ASSERT_EQ(menu, top);
    }
    if (step == logoSteps + 60) after = render(TitleScreen::draw);
  }
  EXPECT_EQ(biggestStep, 39);
  EXPECT_NEAR(biggest, 348.0f, 2.0f);
  EXPECT_GT(maxDifference(before, after, 200, 340, 380, 460), 64);
  EXPECT_LE(maxDifference(before, after, 0, 340, 150, 350), 2);
}

// Down pressed (three times) before the menu takes keys moves the selection once, when it starts taking
// them. The selected button's glow rises to 1 while the one left sinks to 0.6. Button 1 cycles the corn 1, 2,
// 3; button 2 steps the starting day by ten, shown 1 to 101 and round to 1; button 3 opens the instructions.
// Down from button 4 wraps to 0 and Up from 0 to 4, which quits.
TEST_F(TitleTest, EarlyDownActsOnceAndTheMenuWrapsAndEachButtonActs) {
  steps(20);
  press(vkDown);
  tap(vkDown);
  tap(vkDown);
  steps(stepsUntilMenuTakesKeys - 22);
  EXPECT_EQ(TitleScreen::selection(), 0);
  steps(1);
  EXPECT_EQ(TitleScreen::selection(), 1);
  steps(1);
  EXPECT_NEAR(TitleScreen::buttonGlow(0), 0.9f, 1e-5f);
  EXPECT_NEAR(TitleScreen::buttonGlow(1), 0.7f, 1e-5f);
  steps(10);
  EXPECT_EQ(TitleScreen::selection(), 1);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(0), 0.6f);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(1), 1.0f);
  for (int value : {2, 3, 1, 2}) {
    press(vkControl);
    EXPECT_EQ(DayDirector::startingCorn(), value);
  }
  press(vkDown);
  EXPECT_EQ(DayDirector::startingDay() + 1, 1);
  for (int n = 1; n <= 11; ++n) {
    press(vkControl);
    EXPECT_EQ(DayDirector::startingDay() + 1, n == 11 ? 1 : 1 + 10 * n);
  }
  EXPECT_EQ(requested(), ScreenId::Title);
  press(vkDown);
  press(vkControl);
  EXPECT_TRUE(InstructionsScreen::isLoaded());
  EXPECT_EQ(requested(), ScreenId::Instructions);
  for (auto [key, selection] : {std::pair{vkDown, 4}, {vkDown, 0}, {vkUp, 4}}) {
    press(key);
    EXPECT_EQ(TitleScreen::selection(), selection);
  }
  press(vkControl);
  EXPECT_EQ(requested(), ScreenId::Quit);
}

// Unloaded, the title draws nothing; keys pressed before the next load are forgotten. A slow frame runs
// six steps at most and drops the rest. Escape quits even during the intro.
TEST_F(TitleTest, UnloadDrawsNothingKeysBeforeALoadAreForgottenSlowFramesAndEscapeDuringTheIntro) {
  TitleScreen::unload();
  EXPECT_FALSE(TitleScreen::isLoaded());
  TitleScreen::unload();
  EXPECT_EQ(render(TitleScreen::draw).brightness(0, 0, 640, 480), 0);
  tap(vkEscape);
  tap(vkControl);
  TitleScreen::load();
  TitleScreen::update(1000);  // six steps at most, the rest dropped
  EXPECT_EQ(requested(), ScreenId::Title);
  EXPECT_FLOAT_EQ(TitleScreen::menuAlpha(), 0.0f);
  EXPECT_FLOAT_EQ(TitleScreen::cornOffset(), 350.0f - 6 * 2.0f);
  EXPECT_EQ(TitleScreen::logoTicks(), 6);
  TitleScreen::update(15);
  EXPECT_EQ(TitleScreen::logoTicks(), 6);
  TitleScreen::update(1);
  EXPECT_EQ(TitleScreen::logoTicks(), 7);
  press(vkEscape);
  EXPECT_EQ(requested(), ScreenId::Quit);
  EXPECT_LT(TitleScreen::menuAlpha(), 0.5f);
}

}  // namespace screentest
