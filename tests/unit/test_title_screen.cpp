// The title: background stalks, the logo's spring, the menu's fade and keys, and the five buttons.
#include "screen_test_helpers.h"
#include "screens/title_screen.h"
#include "shell/numeric.h"

namespace screentest {

constexpr int logoSteps = 180;
constexpr int stepsUntilMenuTakesKeys = logoSteps + 25;

// Every title load starts over.
struct TitleTest : ScreenTest {
  void SetUp() override {
    DayDirector::resetForTests();
    KeyState::clearAll();
    clearPlayedClips();
    TitleScreen::load();
  }

  // Frames of the title; remembers the screen the last one asked for.
  static void steps(int n) {
    repeat(n, [] { asked = TitleScreen::update(16); });
  }
  static void press(uint32_t key) {
    tap(key);
    steps(1);
  }
  static ScreenId requested() { return asked; }
  static inline ScreenId asked = ScreenId::None;
};

// The logo springs past its size, biggest (about 348) on step 39, and holds 240 once its 180 steps are
// done; the corn rises in 175 steps; the menu fades in after the logo, takes keys 25 steps later and
// stops just above 1 after 51 steps. The buttons (x 192..448, y 208..472; left of the numbers and below the
// subtitle) appear only with the fade.
TEST_F(TitleTest, IntroTimeline) {
  float top = 0.0f;
  std::vector<float> logos;
  Frame before;
  for (int step = 1; step <= logoSteps + 101; ++step) {
    steps(1);
    SCOPED_TRACE(testing::Message() << "step " << step);
    const float logo = TitleScreen::logoSize(), menu = TitleScreen::menuAlpha();
    logos.push_back(logo);
    ASSERT_EQ(TitleScreen::logoTicks(), std::min(step, logoSteps));
    ASSERT_EQ(TitleScreen::cornOffset(), step < 175 ? 350.0f - 2.0f * step : 0.0f);
    ASSERT_EQ(TitleScreen::menuTakesKeys(), step >= stepsUntilMenuTakesKeys);
    // The fade waits for the logo, which then holds its size.
    ASSERT_TRUE(step <= logoSteps ? menu == 0.0f : logo == 240.0f) << menu << " " << logo;
    EXPECT_TRUE(step != logoSteps + 1 || menu == 0.02f) << menu;
    EXPECT_TRUE(step != logoSteps + 50 || menu < 1.0f) << menu;
    if (step == logoSteps + 51) top = menu;
    ASSERT_TRUE(step <= logoSteps + 51 || menu == top) << menu;
    if (step == logoSteps) before = render(TitleScreen::draw);
  }
  EXPECT_GE(top, 1.0f);
  EXPECT_LT(top, 1.02f);
  const auto biggest = std::max_element(logos.begin(), logos.begin() + logoSteps);
  EXPECT_EQ(biggest - logos.begin() + 1, 39);
  EXPECT_NEAR(*biggest, 348.0f, 2.0f);
  EXPECT_GT(maxDifference(before, render(TitleScreen::draw), 200, 340, 380, 460), 64);
}

// Down pressed (three times) before the menu takes keys moves the selection once, when it starts taking
// them. The selected button's glow rises to 1 while the one left sinks to 0.6. Button 1 cycles the corn 1, 2,
// 3; button 2 steps the starting day by ten, shown 1 to 101 and round to 1; button 3 opens the instructions.
// Down from button 4 wraps to 0 and Up from 0 to 4, which quits. Every load, a return from the instructions
// too, starts the intro over with the tune, and lays out the background stalks from the generator: x, then
// tilt, then facing for each, rows fixed.
TEST_F(TitleTest, EarlyDownActsOnceEachButtonActsTheMenuWrapsAndEveryLoadStartsOver) {
  steps(20);
  repeat(3, [] { press(vkDown); });
  steps(stepsUntilMenuTakesKeys - 24);
  EXPECT_EQ(TitleScreen::selection(), 0);
  steps(1);
  EXPECT_EQ(TitleScreen::selection(), 1);
  steps(1);
  EXPECT_NEAR(TitleScreen::buttonGlow(0), 0.9f, 1e-5f);
  EXPECT_NEAR(TitleScreen::buttonGlow(1), 0.7f, 1e-5f);
  steps(10);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(0), 0.6f);
  EXPECT_FLOAT_EQ(TitleScreen::buttonGlow(1), 1.0f);
  for (int value : {2, 3, 1}) {
    press(vkControl);
    EXPECT_EQ(DayDirector::startingCorn(), value);
  }
  press(vkDown);
  for (int n = 1; n <= 11; ++n) {
    press(vkControl);
    EXPECT_EQ(DayDirector::startingDay() + 1, n == 11 ? 1 : 1 + 10 * n);
  }
  press(vkDown);
  tap(vkEscape);  // with the instructions chosen in the same frame, Escape is dropped and does not quit
  press(vkControl);
  EXPECT_EQ(requested(), ScreenId::Instructions);
  for (auto [key, selection] : {std::pair{vkDown, 4}, {vkDown, 0}, {vkUp, 4}}) {
    press(key);
    EXPECT_EQ(TitleScreen::selection(), selection);
  }
  press(vkControl);
  EXPECT_EQ(requested(), ScreenId::Quit);
  seedRandom(4242);
  TitleScreen::load();  // back from the instructions
  EXPECT_EQ(countPlayed("sound\\title.wav"), 2);
  EXPECT_EQ(std::tuple(TitleScreen::logoSize(), TitleScreen::logoTicks(), TitleScreen::menuAlpha(),
                       TitleScreen::cornOffset(), TitleScreen::selection()),
            std::tuple(0.0f, 0, 0.0f, 350.0f, 0));
  for (int i = 0; i < TitleScreen::buttonCount; ++i) EXPECT_EQ(TitleScreen::buttonGlow(i), 0.0f);
  seedRandom(4242);
  for (int i = 0; i < TitleScreen::backgroundStalkCount; ++i) {
    const TitleScreen::BackgroundStalk& s = TitleScreen::backgroundStalk(i);
    ASSERT_FLOAT_EQ(s.x, randomFloat(760.0f) - 60.0f) << i;
    ASSERT_FLOAT_EQ(s.y, 4.0625f * static_cast<float>(i)) << i;
    ASSERT_FLOAT_EQ(s.angle, randomFloat(20.0f) - 10.0f) << i;
    ASSERT_EQ(s.facing, randomInt(2) != 0 ? 1.0f : -1.0f) << i;
  }
}

// Unloaded, the title draws nothing; keys pressed before the next load are forgotten. A slow frame runs
// six steps at most and drops the rest. Escape quits even during the intro; Ctrl there shows the menu at
// once, and the next Ctrl starts a game at the starting day.
TEST_F(TitleTest, KeysBeforeALoadAreForgottenSlowFramesAndEscapeOrCtrlDuringTheIntro) {
  TitleScreen::unload();
  TitleScreen::unload();
  EXPECT_EQ(render(TitleScreen::draw).brightness(0, 0, 640, 480), 0);
  tap(vkEscape);
  tap(vkControl);
  TitleScreen::load();
  EXPECT_EQ(TitleScreen::update(1000), ScreenId::None);  // six steps at most, the rest dropped
  EXPECT_FLOAT_EQ(TitleScreen::menuAlpha(), 0.0f);
  EXPECT_EQ(TitleScreen::logoTicks(), 6);
  TitleScreen::update(15);
  EXPECT_EQ(TitleScreen::logoTicks(), 6);
  TitleScreen::update(1);
  EXPECT_EQ(TitleScreen::logoTicks(), 7);
  press(vkEscape);
  EXPECT_EQ(requested(), ScreenId::Quit);
  press(vkControl);
  EXPECT_EQ(TitleScreen::menuAlpha(), 1.0f);
  EXPECT_EQ(requested(), ScreenId::None);
  DayDirector::stepStartingDay();
  press(vkControl);
  EXPECT_EQ(requested(), ScreenId::Play);
  EXPECT_EQ(DayDirector::day(), 10);
}

}  // namespace screentest
