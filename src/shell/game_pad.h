// Game controllers as a second keyboard: every connected pad feeds the key table through one mapping,
// so the screens never know a pad exists. Each pad input remembers the key it holds and each key counts
// its holders, so pads and the keyboard combine and an unplugged pad lets go of all it held.
#pragma once

#include <SDL_events.h>
#include <SDL_gamecontroller.h>

#include <cstdint>

// The inputs the game listens to; the left stick counts as four directions.
enum class PadInput : uint8_t {
  A,
  B,
  X,
  Y,
  Back,
  Start,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight,
  StickUp,
  StickDown,
  StickLeft,
  StickRight,
};
inline constexpr int padInputCount = 14;

// A stick direction engages beyond the first value and lets go below the second (of 32767): a dead zone
// of about a third of the travel whose edges do not flicker.
inline constexpr int padStickEngage = 12000;
inline constexpr int padStickRelease = 9800;

// Pads open at once; more are ignored until one leaves.
inline constexpr int padSlotCount = 8;

namespace GamePad {
// Opens the controller subsystem and every pad already connected. False when there is none to open:
// the game is played with the keys alone.
bool start();
// Lets go of every key, closes the pads and the subsystem.
void stop();

// Plugging, unplugging, buttons and the left stick; false for every other event.
bool handleEvent(const SDL_Event& event);
// Only plugging and unplugging (the chooser reads the buttons itself).
bool handleDeviceEvent(const SDL_Event& event);

// B stands for Escape off the Play screen and for nothing on it: a back button there would end the game.
void setEastButtonEscapes(bool escapes);

// The same inputs without an SDL event. A pad is its joystick instance id; the controller may be null
// (the harness drives a pad that is no device).
bool connect(int32_t pad, SDL_GameController* controller);
void disconnect(int32_t pad);
void press(int32_t pad, PadInput input, uint32_t nowMs);
void release(int32_t pad, PadInput input);
// One axis of the left stick, -32768..32767, right and down positive.
void moveStick(int32_t pad, bool horizontal, int value, uint32_t nowMs);

// Keys held on a pad repeat on the shell's timing, as a held Ctrl does on the keyboard.
void repeatHeld(uint32_t nowMs);
// How many pad inputs hold the key now.
int holdCount(uint32_t key);
int connectedCount();

// The input a harness or test names ("pad-a", "pad-left" ...), false for any other word.
bool inputByName(const char* name, PadInput& input);
}  // namespace GamePad
