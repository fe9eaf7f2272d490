// A pad for the end-to-end tests, switched on only by CORNKEEPER_TEST_VIRTUAL_PAD naming a file (or a
// FIFO): a virtual game controller is attached and plays the lines written to that file as they come,
// "down BUTTON", "up BUTTON" (SDL's button names: a, b, x, y, back, start, dpup, dpdown, dpleft,
// dpright ...) and "stick X Y" (the left stick, -1 to 1, right and down positive).
#pragma once

#include <SDL.h>

namespace VirtualPad {
// A virtual game controller with every button and axis, for SDL_JoystickAttachVirtualEx.
SDL_VirtualJoystickDesc fullPadDescription(const char* name);

// Attaches the pad when the variable is set; false otherwise or when it cannot be made.
bool attachFromEnvironment();
void detach();
}  // namespace VirtualPad
