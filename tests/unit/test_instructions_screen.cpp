// The instructions: scrolling with held keys between the page tops, slow frames, and the way back.
#include <gtest/gtest.h>

#include "screen_test_helpers.h"
#include "screens/instructions_screen.h"
#include "screens/screen_machine.h"
#include "shell/key_state.h"

namespace {

using screentest::Frame;
using screentest::render;

constexpr uint32_t stepMs = 16;

class InstructionsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { gameStartup(nullptr); }
  static void TearDownTestSuite() { gameShutdown(); }

  void SetUp() override {
    KeyState::clearAll();
    screenMachine->requestScreen(ScreenId::Title);
    screenMachine->takeChanged();
    InstructionsScreen::load();
  }
  void TearDown() override {
    InstructionsScreen::unload();
    KeyState::clearAll();
  }

  static void steps(int n) {
    for (int i = 0; i < n; ++i) InstructionsScreen::update(stepMs);
  }
  static void hold(uint32_t key, int n) {
    KeyState::keyDown(key);
    steps(n);
    KeyState::keyUp(key);
  }
  static Frame draw() {
    return render([] { InstructionsScreen::draw(); });
  }
  static void expectBackOnTheTitle() {
    EXPECT_FALSE(InstructionsScreen::isLoaded());
    EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);
  }
};

TEST_F(InstructionsTest, LoadRequestsTheScreenAtTheTopAndASecondLoadKeepsTheScroll) {
  EXPECT_TRUE(InstructionsScreen::isLoaded());
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Instructions);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 0.0f);
  hold(vkDown, 10);
  screenMachine->requestScreen(ScreenId::Title);
  InstructionsScreen::load();
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);  // nothing requested again
}

TEST_F(InstructionsTest, HeldKeysScrollFourPerStepWithinBounds) {
  const struct {
    uint32_t key;
    int steps;
    float scroll;
  } rows[] = {{vkUp, 5, 0.0f}, {vkDown, 3, 12.0f}, {vkUp, 1, 8.0f}, {vkDown, 200, 512.0f}, {vkUp, 128, 0.0f}};
  for (const auto& r : rows) {
    hold(r.key, r.steps);
    EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), r.scroll) << r.steps << " steps";
  }
  hold(vkDown, 10);
  KeyState::keyDown(vkUp);
  KeyState::keyDown(vkDown);
  steps(5);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);  // both held cancel out
  KeyState::clearAll();
  KeyState::keyDown(vkDown);
  KeyState::keyUp(vkDown);
  steps(3);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);  // a press without a hold scrolls nothing
}

TEST_F(InstructionsTest, SlowFrameScrollsSixStepsAtMost) {
  KeyState::keyDown(vkDown);
  InstructionsScreen::update(1000);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 24.0f);
  InstructionsScreen::update(40);  // two steps, 8 ms carried
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 32.0f);
  InstructionsScreen::update(8);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 36.0f);
}

TEST_F(InstructionsTest, CtrlOrEscapeLeavesForTheTitleWhateverTheScroll) {
  hold(vkDown, 37);
  KeyState::keyDown(vkControl);
  steps(1);
  expectBackOnTheTitle();
  KeyState::clearAll();
  InstructionsScreen::load();
  KeyState::keyDown(vkEscape);
  KeyState::keyUp(vkEscape);
  steps(1);
  expectBackOnTheTitle();
}

TEST_F(InstructionsTest, CtrlWithEscapeLeavesEscapeUnread) {
  KeyState::keyDown(vkControl);
  KeyState::keyDown(vkEscape);
  steps(1);
  EXPECT_FALSE(InstructionsScreen::isLoaded());
  EXPECT_TRUE(KeyState::wasPressed(vkEscape));
}

TEST_F(InstructionsTest, KeysPressedOnTheTitleAreForgottenOnLoad) {
  InstructionsScreen::unload();
  KeyState::keyDown(vkControl);
  KeyState::keyUp(vkControl);
  InstructionsScreen::load();
  steps(1);
  EXPECT_TRUE(InstructionsScreen::isLoaded());
}

// The pages span x 64..576 between the strut columns; scrolling moves them up by whole pixels.
TEST_F(InstructionsTest, PagesMoveUpByTheScrollAndTheFrameStays) {
  const Frame top = draw();
  hold(vkDown, 1);
  const Frame down4 = draw();
  EXPECT_LE(screentest::maxDifference(down4, top, 64, 0, 576, 476, 4), 2);
  EXPECT_GT(screentest::maxDifference(top, down4, 64, 0, 576, 480), 32);  // the page has content
  EXPECT_LE(screentest::maxDifference(top, down4, 0, 0, 64, 480), 0);     // struts stay
  EXPECT_LE(screentest::maxDifference(top, down4, 576, 0, 640, 480), 0);  // struts and arrows stay
  EXPECT_GT(top.brightness(0, 0, 64, 480), 0);
  EXPECT_GT(top.brightness(576, 0, 640, 480), 0);
}

TEST_F(InstructionsTest, AtTheBottomPageTwoFillsTheScreen) {
  hold(vkDown, 127);
  const Frame almost = draw();
  hold(vkDown, 5);
  ASSERT_FLOAT_EQ(InstructionsScreen::scroll(), 512.0f);
  // At 508 the last four rows of page 1 are still at the top; at 512 they are gone.
  EXPECT_LE(screentest::maxDifference(draw(), almost, 64, 0, 576, 476, 4), 2);
}

TEST_F(InstructionsTest, UnloadedDrawsNothing) {
  InstructionsScreen::unload();
  InstructionsScreen::unload();
  EXPECT_EQ(draw().brightness(0, 0, 640, 480), 0);
}

}  // namespace
