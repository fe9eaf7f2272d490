// The keyboard table: 256 bytes by virtual-key code, bit 0 held, bit 1 pressed since last read.
#pragma once

#include <cstdint>

enum VirtualKey : uint32_t {
  vkShift = 16,
  vkControl = 17,
  vkEscape = 27,
  vkLeft = 37,
  vkUp = 38,
  vkRight = 39,
  vkDown = 40,
  // The player's comforts: pause, sound level, Enter and Space on the menus, the best-games table.
  vkReturn = 13,
  vkPause = 19,
  vkSpace = 32,
  vkB = 66,
  vkM = 77,
  vkP = 80,
  vkPlus = 187,
  vkMinus = 189,
};

namespace KeyState {
void keyDown(uint32_t key);
void keyUp(uint32_t key);
int isHeld(uint32_t key);
bool wasPressed(uint32_t key);  // read and clear
void clearPressed();
// Sets only the press, as if the key had been tapped: Enter on a menu stands for Ctrl.
void markPressed(uint32_t key);
void clearAll();
uint8_t rawByte(uint32_t key);             // for tests, the harness and demos
void setByte(uint32_t key, uint8_t bits);  // demo playback: a key's byte as recorded
}  // namespace KeyState
