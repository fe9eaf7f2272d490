#include <gtest/gtest.h>

#include "shell/app_window.h"
#include "shell/key_state.h"
#include "shell/window_procedure.h"

namespace {
class WindowProcedureTest : public testing::Test {
 protected:
  void SetUp() override { KeyState::clearAll(); }
  void TearDown() override {
    // Release anything a test left held so the shell stops repeating it.
    for (SDL_Keycode key : {SDLK_LCTRL, SDLK_LEFT}) send(SDL_KEYUP, key, 0);
    KeyState::clearAll();
  }
  void send(Uint32 type, SDL_Keycode key, Uint32 timestamp, bool repeat = false, Uint16 mod = 0) {
    SDL_Event event{};
    event.key = {
        type, timestamp, 0, 0, static_cast<Uint8>(repeat), 0, 0, {SDL_SCANCODE_UNKNOWN, key, mod, 0}};
    windowProcedure(window_, event);
  }
  AppWindow window_;
};

// The seven keys reach the table; other keys and the full-screen toggles (Alt+Enter, F11) do not.
TEST_F(WindowProcedureTest, TheSevenKeysFeedTheTable) {
  const std::pair<SDL_Keycode, uint32_t> rows[] = {
      {SDLK_LEFT, 37},  {SDLK_UP, 38},     {SDLK_RIGHT, 39},  {SDLK_DOWN, 40},   {SDLK_LCTRL, 17},
      {SDLK_RCTRL, 17}, {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16}, {SDLK_ESCAPE, 27}, {SDLK_a, 0}};
  for (const auto& [key, code] : rows) EXPECT_EQ(virtualKeyFor(key), code) << key;
  send(SDL_KEYDOWN, SDLK_RCTRL, 100);
  EXPECT_EQ(KeyState::rawByte(vkControl), 3);
  send(SDL_KEYUP, SDLK_RCTRL, 120);
  EXPECT_EQ(KeyState::rawByte(vkControl), 2);
  KeyState::clearAll();
  send(SDL_KEYDOWN, SDLK_a, 130);
  send(SDL_KEYDOWN, SDLK_RETURN, 140, false, KMOD_LALT);
  send(SDL_KEYDOWN, SDLK_F11, 150);
  for (uint32_t key = 0; key < 256; ++key) ASSERT_EQ(KeyState::rawByte(key), 0) << key;
}

// A key the system repeats gets no repeats from the shell; a modifier it does not repeat is repeated
// after the delay, then at the interval, until released, also across the counter's wrap.
TEST_F(WindowProcedureTest, HeldKeysRepeatAtTheUsualRate) {
  const uint32_t t0 = 0xFFFFFF00u, due = t0 + keyRepeatDelayMs;
  send(SDL_KEYDOWN, SDLK_LEFT, t0 - 1000);
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  send(SDL_KEYDOWN, SDLK_LEFT, t0 - 500, true);
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  send(SDL_KEYDOWN, SDLK_LCTRL, t0);
  EXPECT_TRUE(KeyState::wasPressed(vkControl));
  const std::pair<uint32_t, bool> rows[] = {
      {t0 + 16, false}, {due - 1, false}, {due, true}, {due + 1, false}, {due + keyRepeatIntervalMs, true}};
  for (auto [now, pressed] : rows) {
    repeatHeldKeys(now);
    EXPECT_EQ(KeyState::wasPressed(vkControl), pressed) << now;
    EXPECT_FALSE(KeyState::wasPressed(vkLeft)) << now;
  }
  send(SDL_KEYUP, SDLK_LCTRL, 1600);
  repeatHeldKeys(5000);
  EXPECT_FALSE(KeyState::wasPressed(vkControl)) << "released keys are not repeated";
}

// Minimising stops frames, restoring resumes them, and a close request ends the run.
TEST_F(WindowProcedureTest, WindowEventsDriveVisibilityAndClose) {
  window_.visible = 1;
  appRunning = 1;
  for (auto [type, visible, running] : {std::tuple{SDL_WINDOWEVENT_MINIMIZED, 0, 1},
                                        {SDL_WINDOWEVENT_RESTORED, 1, 1},
                                        {SDL_WINDOWEVENT_CLOSE, 1, 0}}) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(type);
    windowProcedure(window_, event);
    EXPECT_EQ(window_.visible, visible) << type;
    EXPECT_EQ(appRunning, running) << type;
  }
}
}  // namespace
