// Turns the window's events into the behaviour of the game window: keys into KeyState,
// size changes into the viewport, close requests into requestQuit, Alt+Enter / F11 into a
// full-screen toggle.
#pragma once

#include <SDL_events.h>

#include <cstdint>

struct AppWindow;

void windowProcedure(AppWindow& window, const SDL_Event& event);

// The virtual-key code of an SDL key, or 0 for the keys the game ignores.
uint32_t virtualKeyFor(SDL_Keycode key);

// Held keys the system does not repeat (modifiers on X11) and keys held on a pad are repeated here, so
// that holding Ctrl keeps shouting. Called once per loop pass with the tick counter.
void repeatHeldKeys(uint32_t nowMs);
constexpr uint32_t keyRepeatDelayMs = 500;
constexpr uint32_t keyRepeatIntervalMs = 33;

// Whether the keyboard holds the key now (a pad may hold it too).
bool keyboardHolds(uint32_t key);

// Full screen on the live window; the GL context survives, so nothing is reloaded.
void toggleFullScreen(AppWindow& window);

// Viewport for the window's drawable: stretched in a window, 4:3 with black bars in full screen.
void fitViewport(AppWindow& window);
