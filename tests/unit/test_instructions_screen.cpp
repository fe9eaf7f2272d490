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
};

TEST_F(InstructionsTest, LoadRequestsTheScreenAtTheTop) {
  EXPECT_TRUE(InstructionsScreen::isLoaded());
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Instructions);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 0.0f);
}

TEST_F(InstructionsTest, SecondLoadKeepsTheScroll) {
  hold(vkDown, 10);
  screenMachine->requestScreen(ScreenId::Title);
  InstructionsScreen::load();
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);  // nothing requested again
}

TEST_F(InstructionsTest, HeldKeysScrollFourPerStepWithinBounds) {
  hold(vkUp, 5);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 0.0f);
  hold(vkDown, 3);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 12.0f);
  hold(vkUp, 1);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 8.0f);
  hold(vkDown, 200);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 512.0f);
  hold(vkUp, 128);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 0.0f);  // the whole range in 128 steps
}

TEST_F(InstructionsTest, BothKeysHeldCancelOut) {
  hold(vkDown, 10);
  KeyState::keyDown(vkUp);
  KeyState::keyDown(vkDown);
  steps(5);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 40.0f);
  KeyState::keyUp(vkUp);
  KeyState::keyUp(vkDown);
}

TEST_F(InstructionsTest, PressWithoutHoldScrollsNothing) {
  KeyState::keyDown(vkDown);
  KeyState::keyUp(vkDown);
  steps(3);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 0.0f);
}

TEST_F(InstructionsTest, SlowFrameScrollsSixStepsAtMost) {
  KeyState::keyDown(vkDown);
  InstructionsScreen::update(1000);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 24.0f);
  InstructionsScreen::update(40);  // two steps, 8 ms carried
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 32.0f);
  InstructionsScreen::update(8);
  EXPECT_FLOAT_EQ(InstructionsScreen::scroll(), 36.0f);
  KeyState::keyUp(vkDown);
}

TEST_F(InstructionsTest, CtrlLeavesForTheTitleWhateverTheScroll) {
  hold(vkDown, 37);
  KeyState::keyDown(vkControl);
  steps(1);
  EXPECT_FALSE(InstructionsScreen::isLoaded());
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);
  KeyState::keyUp(vkControl);
}

TEST_F(InstructionsTest, EscapeLeavesForTheTitle) {
  KeyState::keyDown(vkEscape);
  KeyState::keyUp(vkEscape);
  steps(1);
  EXPECT_FALSE(InstructionsScreen::isLoaded());
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);
}

TEST_F(InstructionsTest, CtrlWithEscapeLeavesEscapeUnread) {
  KeyState::keyDown(vkControl);
  KeyState::keyDown(vkEscape);
  steps(1);
  EXPECT_FALSE(InstructionsScreen::isLoaded());
  EXPECT_TRUE(KeyState::wasPressed(vkEscape));
  KeyState::keyUp(vkControl);
  KeyState::keyUp(vkEscape);
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
  const Frame top = render([] { InstructionsScreen::draw(); });
  hold(vkDown, 1);
  const Frame down4 = render([] { InstructionsScreen::draw(); });
  int worst = 0;
  for (int y = 0; y < 476; ++y) {
    for (int x = 64; x < 576; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int d = std::abs(static_cast<int>(down4.at(x, y)[c]) - static_cast<int>(top.at(x, y + 4)[c]));
        if (d > worst) worst = d;
      }
    }
  }
  EXPECT_LE(worst, 2);
  EXPECT_GT(screentest::maxDifference(top, down4, 64, 0, 576, 480), 32);  // the page has content
  EXPECT_LE(screentest::maxDifference(top, down4, 0, 0, 64, 480), 0);     // struts stay
  EXPECT_LE(screentest::maxDifference(top, down4, 576, 0, 640, 480), 0);  // struts and arrows stay
  EXPECT_GT(top.brightness(0, 0, 64, 480), 0);
  EXPECT_GT(top.brightness(576, 0, 640, 480), 0);
}

TEST_F(InstructionsTest, AtTheBottomPageTwoFillsTheScreen) {
  hold(vkDown, 127);
  const Frame almost = render([] { InstructionsScreen::draw(); });
  hold(vkDown, 5);
  ASSERT_FLOAT_EQ(InstructionsScreen::scroll(), 512.0f);
  const Frame bottom = render([] { InstructionsScreen::draw(); });
  // At 508 the last four rows of page 1 are still at the top; at 512 they are gone.
  int worst = 0;
  for (int y = 0; y < 476; ++y) {
    for (int x = 64; x < 576; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int d =
            std::abs(static_cast<int>(bottom.at(x, y)[c]) - static_cast<int>(almost.at(x, y + 4)[c]));
        if (d > worst) worst = d;
      }
    }
  }
  EXPECT_LE(worst, 2);
}

TEST_F(InstructionsTest, UnloadedDrawsNothing) {
  InstructionsScreen::unload();
  InstructionsScreen::unload();
  const Frame frame = render([] { InstructionsScreen::draw(); });
  EXPECT_EQ(frame.brightness(0, 0, 640, 480), 0);
}

}  // namespace
