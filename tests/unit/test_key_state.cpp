#include <gtest/gtest.h>

#include "shell/key_state.h"

namespace {
class KeyStateTest : public testing::Test {
 protected:
  void SetUp() override { KeyState::clearAll(); }
  void TearDown() override { KeyState::clearAll(); }
};

TEST_F(KeyStateTest, TapWithinOneFrameIsPressedOnceAndNeverHeld) {
  KeyState::keyDown(vkControl);
  KeyState::keyUp(vkControl);
  EXPECT_EQ(KeyState::rawByte(vkControl), 2);
  EXPECT_EQ(KeyState::isHeld(vkControl), 0);
  EXPECT_TRUE(KeyState::wasPressed(vkControl));
  EXPECT_FALSE(KeyState::wasPressed(vkControl));
  EXPECT_EQ(KeyState::rawByte(vkControl), 0);
}

TEST_F(KeyStateTest, HeldKeyLifecycle) {
  KeyState::keyDown(vkLeft);
  EXPECT_EQ(KeyState::rawByte(vkLeft), 3);
  EXPECT_EQ(KeyState::isHeld(vkLeft), 1);
  EXPECT_EQ(KeyState::isHeld(vkLeft), 1) << "isHeld must not change the table";
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  EXPECT_EQ(KeyState::rawByte(vkLeft), 1);
  // A repeated key-down while held sets the pressed bit again.
  KeyState::keyDown(vkLeft);
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  KeyState::keyUp(vkLeft);
  EXPECT_EQ(KeyState::rawByte(vkLeft), 0);
}

TEST_F(KeyStateTest, OnlyTheFirstReaderSeesAPress) {
  KeyState::keyDown(vkEscape);
  EXPECT_TRUE(KeyState::wasPressed(vkEscape));
  EXPECT_FALSE(KeyState::wasPressed(vkEscape));
  EXPECT_EQ(KeyState::isHeld(vkEscape), 1);
}

TEST_F(KeyStateTest, ClearPressedKeepsHeldBitsOfEveryKey) {
  KeyState::keyDown(vkUp);
  KeyState::keyDown(vkShift);
  KeyState::keyUp(vkShift);
  KeyState::clearPressed();
  EXPECT_EQ(KeyState::rawByte(vkUp), 1);
  EXPECT_EQ(KeyState::rawByte(vkShift), 0);
  EXPECT_FALSE(KeyState::wasPressed(vkUp));
}

TEST_F(KeyStateTest, CodesAreMaskedToEightBits) {
  KeyState::keyDown(256 + vkDown);
  EXPECT_EQ(KeyState::isHeld(vkDown), 1);
  EXPECT_EQ(KeyState::isHeld(0xFFFFFF00u + vkDown), 1);
  KeyState::keyUp(0x1000 + vkDown);
  EXPECT_EQ(KeyState::isHeld(vkDown), 0);
}
}  // namespace
