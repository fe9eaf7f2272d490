#include <gtest/gtest.h>

#include "shell/key_state.h"

namespace {
// A tap within one frame is seen once and never as held; only the first reader sees a press; isHeld
// never changes the table; a repeated key-down while held sets the press again.
TEST(KeyStateTest, PressedAndHeldBits) {
  KeyState::clearAll();
  KeyState::keyDown(vkControl);
  KeyState::keyUp(vkControl);
  EXPECT_EQ(KeyState::isHeld(vkControl), 0);
  EXPECT_TRUE(KeyState::wasPressed(vkControl));
  EXPECT_FALSE(KeyState::wasPressed(vkControl));

  KeyState::keyDown(vkLeft);
  EXPECT_EQ(KeyState::isHeld(vkLeft), 1);
  EXPECT_EQ(KeyState::rawByte(vkLeft), 3);
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  EXPECT_EQ(KeyState::rawByte(vkLeft), 1);
  KeyState::keyDown(vkLeft);
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  KeyState::keyUp(vkLeft);
  EXPECT_EQ(KeyState::rawByte(vkLeft), 0);
}

// clearPressed drops the press of every key but keeps what is held; codes are masked to eight bits.
TEST(KeyStateTest, ClearPressedKeepsHeldBitsAndCodesAreMasked) {
  KeyState::clearAll();
  KeyState::keyDown(256 + vkUp);
  KeyState::keyDown(vkShift);
  KeyState::keyUp(0x1000 + vkShift);
  EXPECT_EQ(KeyState::rawByte(vkShift), 2);
  EXPECT_EQ(KeyState::isHeld(0xFFFFFF00u + vkUp), 1);
  KeyState::clearPressed();
  EXPECT_EQ(KeyState::rawByte(vkUp), 1);
  EXPECT_EQ(KeyState::rawByte(vkShift), 0);
  KeyState::clearAll();
}
}  // namespace
