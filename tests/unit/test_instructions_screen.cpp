// The instructions: scrolling with held keys between the page tops, slow frames, and the way back.
#include "screen_test_helpers.h"
#include "screens/instructions_screen.h"

namespace screentest {

struct InstructionsTest : ScreenTest {
  void SetUp() override {
    KeyState::clearAll();
    screenMachine->requestScreen(ScreenId::Instructions);
    applyScreenChange();
  }
  void TearDown() override { InstructionsScreen::unload(); }

  static void steps(int n) {
    repeat(n, [] { InstructionsScreen::update(16); });
  }
  static void hold(uint32_t key, int n) {
    KeyState::keyDown(key);
    steps(n);
    KeyState::keyUp(key);
  }
};

// The screen opens at the top. The pages span x 64..576 between the strut columns and move up by the
// scroll, whole pixels, while the frame stays: the same struts down both sides, the arrows at (610, 440).
// Held Up and Down scroll four a step between 0 and 512, where page 2 fills the screen from its top; both
// held cancel out, a press without a hold scrolls nothing, a second load keeps the scroll, and a slow frame
// runs six steps at most, though a short one carries its rest.
TEST_F(InstructionsTest, HeldKeysScrollThePagesWithinBoundsSlowFramesAtMostSixAndCtrlOrEscapeLeave) {
  ASSERT_TRUE(InstructionsScreen::isLoaded());
  const Frame top = render(InstructionsScreen::draw);
  hold(vkDown, 1);
  const Frame down4 = render(InstructionsScreen::draw);
  EXPECT_LE(maxDifference(down4, top, 64, 0, 576, 476, 0, 4), 2);
  EXPECT_GT(maxDifference(top, down4, 64, 0, 576, 480), 32);  // the page has content
  EXPECT_LE(maxDifference(top, down4, 0, 0, 64, 480), 0);
  EXPECT_GT(top.brightness(0, 0, 64, 480), 0);
  EXPECT_LE(maxDifference(top, top, 576, 0, 640, 420, -576), 0);  // right struts as the left ones
  const std::tuple<uint32_t, int, float> rows[] = {
      {vkUp, 5, 0.0f}, {vkDown, 3, 12.0f}, {vkUp, 1, 8.0f}, {vkDown, 200, 512.0f}};
  for (const auto& [key, n, scroll] : rows) {
    hold(key, n);
    EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), scroll) << n << " steps";
  }
  Sprite page2("graphics\\instructions2.tga", 512.0f, 512.0f, 0.0f, -0.5f);
  const Frame bottom = render(InstructionsScreen::draw);
  EXPECT_LE(maxDifference(bottom, render([&] { page2.draw(320.0f, 0.0f); }), 64, 0, 576, 480), 2);
  tap(vkDown);  // pressed, never held
  hold(vkUp, 118);
  KeyState::keyDown(vkDown);
  hold(vkUp, 5);  // Down stays held
  InstructionsScreen::load();
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);
  for (const auto& [ms, scroll] : {std::pair{1000u, 64.0f}, {40u, 72.0f}, {8u, 76.0f}}) {  // 8 ms carried
    InstructionsScreen::update(ms);
    EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), scroll) << ms << " ms";
  }
  // Ctrl or Escape asks for the title at once, whatever the scroll; with both, Escape is left unread. A
  // key pressed on the title is forgotten on load; going back closes the screen, which then draws nothing.
  for (const auto& [ctrl, escape] : {std::pair{true, false}, {false, true}, {true, true}}) {
    InstructionsScreen::unload();
    tap(vkControl);
    InstructionsScreen::load();
    hold(vkDown, 37);
    ASSERT_TRUE(InstructionsScreen::isLoaded());
    if (ctrl) tap(vkControl);
    if (escape) tap(vkEscape);
    EXPECT_EQ(InstructionsScreen::update(16), ScreenId::Title) << ctrl << escape;
    EXPECT_EQ(KeyState::wasPressed(vkEscape), ctrl && escape);
    screenMachine->requestScreen(ScreenId::Title);
    applyScreenChange();
    EXPECT_FALSE(InstructionsScreen::isLoaded()) << ctrl << escape;
  }
  EXPECT_EQ(render(InstructionsScreen::draw).brightness(0, 0, 640, 480), 0);
}

}  // namespace screentest
