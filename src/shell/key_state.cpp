#include "shell/key_state.h"

namespace {
constexpr uint8_t heldBit = 1;
constexpr uint8_t pressedBit = 2;
uint8_t keys[256];  // zero by static construction
}  // namespace

void KeyState::keyDown(uint32_t key) {
  keys[key & 0xFF] |= heldBit | pressedBit;
}

void KeyState::keyUp(uint32_t key) {
  keys[key & 0xFF] &= 0xFE;
}

int KeyState::isHeld(uint32_t key) {
  return (keys[key & 0xFF] & heldBit) ? 1 : 0;
}

bool KeyState::wasPressed(uint32_t key) {
  uint8_t& byte = keys[key & 0xFF];
  bool pressed = (byte & pressedBit) != 0;
  byte &= static_cast<uint8_t>(~pressedBit);
  return pressed;
}

void KeyState::clearPressed() {
  for (uint8_t& byte : keys) byte &= static_cast<uint8_t>(~pressedBit);
}

void KeyState::markPressed(uint32_t key) {
  keys[key & 0xFF] |= pressedBit;
}

void KeyState::clearAll() {
  for (uint8_t& byte : keys) byte = 0;
}

uint8_t KeyState::rawByte(uint32_t key) {
  return keys[key & 0xFF];
}

void KeyState::setByte(uint32_t key, uint8_t bits) {
  keys[key & 0xFF] = bits & (heldBit | pressedBit);
}
