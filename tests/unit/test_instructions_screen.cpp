// The instructions: scrolling with held keys between the page tops, slow frames, and the way back.
#include "screen_test_helpers.h"
#include "screens/instructions_screen.h"

namespace screentest {

class InstructionsTest : public ScreenTest {
 protected:
  void SetUp() override {
    KeyState::clearAll();
    screenMachine->requestScreen(ScreenId::Title);
    screenMachine->takeChanged();
    InstructionsScreen::load();
  }
  void TearDown() override { InstructionsScreen::unload(); }

  static void steps(int n) {
    for (int i = 0; i < n; ++i) InstructionsScreen::update(16);
  }
  static void hold(uint32_t key, int n) {
    KeyState::keyDown(key);
    steps(n);
    KeyState::keyUp(key);
  }
};

// The screen opens at the top. Held Up and Down scroll four a step between 0 and 512; both held cancel out,
// a press without a hold scrolls nothing, a second load keeps the scroll, and a slow frame runs six steps
// at most, though a short one carries its rest.
TEST_F(InstructionsTest, HeldKeysScrollFourPerStepWithinBoundsAndSlowFramesAtMostSix) {
  EXPECT_TRUE(InstructionsScreen::isLoaded());
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Instructions);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 0.0f);
  const std::tuple<uint32_t, int, float> rows[] = {
      {vkUp, 5, 0.0f}, {vkDown, 3, 12.0f}, {vkUp, 1, 8.0f}, {vkDown, 200, 512.0f}, {vkUp, 128, 0.0f}};
  for (const auto& [key, n, scroll] : rows) {
    hold(key, n);
    EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), scroll) << n << " steps";
  }
  hold(vkDown, 10);
  KeyState::keyDown(vkUp);
  KeyState::keyDown(vkDown);
  steps(5);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);
  KeyState::clearAll();
  tap(vkDown);
  steps(3);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);
  screenMachine->requestScreen(ScreenId::Title);
  InstructionsScreen::load();
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);  // nothing requested again
  KeyState::keyDown(vkDown);
  const std::pair<uint32_t, float> frames[] = {{1000, 64.0f}, {40, 72.0f}, {8, 76.0f}};  // 8 ms carried
  for (const auto& [ms, scroll] : frames) {
    InstructionsScreen::update(ms);
    EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), scroll) << ms << " ms";
  }
}

// Ctrl or Escape returns to the title at once, whatever the scroll; with both, Escape is left unread. A key
// pressed on the title is forgotten on load, and a closed screen draws nothing.
TEST_F(InstructionsTest, CtrlOrEscapeLeavesForTheTitleAndTheClosedScreenDrawsNothing) {
  const std::pair<bool, bool> rows[] = {{true, false}, {false, true}, {true, true}};
  for (const auto& [ctrl, escape] : rows) {
    SCOPED_TRACE(testing::Message() << ctrl << escape);
    InstructionsScreen::unload();
    tap(vkControl);
    InstructionsScreen::load();
    hold(vkDown, 37);
    ASSERT_TRUE(InstructionsScreen::isLoaded());
    if (ctrl) tap(vkControl);
    if (escape) tap(vkEscape);
    steps(1);
    EXPECT_FALSE(InstructionsScreen::isLoaded());
    EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);
    EXPECT_EQ(KeyState::wasPressed(vkEscape), ctrl && escape);
  }
  InstructionsScreen::unload();
  EXPECT_EQ(render(InstructionsScreen::draw).brightness(0, 0, 640, 480), 0);
}

// The pages span x 64..576 between the strut columns and move up by the scroll, whole pixels, while the
// frame stays: the same struts down both sides, the arrows at (610, 440). At 508 the last four rows of
// page 1 are still at the top; at 512 page 2 fills the screen from its top.
TEST_F(InstructionsTest, PagesMoveUpByTheScrollAndTheFrameStays) {
  const Frame top = render(InstructionsScreen::draw);
  hold(vkDown, 1);
  const Frame down4 = render(InstructionsScreen::draw);
  EXPECT_LE(maxDifference(down4, top, 64, 0, 576, 476, 0, 4), 2);
  EXPECT_GT(maxDifference(top, down4, 64, 0, 576, 480), 32);  // the page has content
  EXPECT_LE(maxDifference(top, down4, 0, 0, 64, 480), 0);
  EXPECT_LE(maxDifference(top, down4, 576, 0, 640, 480), 0);
  EXPECT_GT(top.brightness(0, 0, 64, 480), 0);
  EXPECT_LE(maxDifference(top, top, 576, 0, 640, 420, -576), 0);  // right struts as the left ones
  hold(vkDown, 126);
  const Frame almost = render(InstructionsScreen::draw);
  hold(vkDown, 5);
  ASSERT_FLOAT_EQ(InstructionsScreen::scroll(), 512.0f);
  const Frame bottom = render(InstructionsScreen::draw);
  EXPECT_LE(maxDifference(bottom, almost, 64, 0, 576, 476, 0, 4), 2);
  Sprite page2("graphics\\instructions2.tga", 512.0f, 512.0f, 0.0f, -0.5f);
  EXPECT_LE(maxDifference(bottom, render([&] { page2.draw(320.0f, 0.0f); }), 64, 0, 576, 480), 2);
}

}  // namespace screentest
