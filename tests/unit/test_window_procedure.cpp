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
    for (SDL_Keycode key : {SDLK_LCTRL, SDLK_LEFT, SDLK_LSHIFT}) send(SDL_KEYUP, key, 0);
    KeyState::clearAll();
  }
  void send(Uint32 type, SDL_Keycode key, Uint32 timestamp, bool repeat = false, Uint16 mod = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.timestamp = timestamp;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat ? 1 : 0;
    windowProcedure(window_, event);
  }
  AppWindow window_;
};

TEST_F(WindowProcedureTest, TheSevenKeysMapToTheirCodes) {
  const std::pair<SDL_Keycode, uint32_t> rows[] = {
      {SDLK_LEFT, 37},  {SDLK_UP, 38},     {SDLK_RIGHT, 39},  {SDLK_DOWN, 40},   {SDLK_LCTRL, 17},
      {SDLK_RCTRL, 17}, {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16}, {SDLK_ESCAPE, 27}, {SDLK_a, 0}};
  for (const auto& [key, code] : rows) EXPECT_EQ(virtualKeyFor(key), code) << key;
}

// Used keys reach the table; other keys and the full-screen toggles (Alt+Enter,
// F11) do not.
TEST_F(WindowProcedureTest, KeyEventsFeedTheTable) {
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

TEST_F(WindowProcedureTest, SystemRepeatsSetThePressedBitAgain) {
  send(SDL_KEYDOWN, SDLK_LEFT, 100);
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  send(SDL_KEYDOWN, SDLK_LEFT, 600, true);
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  // The system repeats this key, so the shell adds none of its own.
  repeatHeldKeys(2000);
  EXPECT_FALSE(KeyState::wasPressed(vkLeft));
}

// Modifiers the system does not repeat are repeated after the delay, then at
// the interval, until released.
TEST_F(WindowProcedureTest, ModifiersTheSystemDoesNotRepeatAreRepeatedAtTheUsualRate) {
  send(SDL_KEYDOWN, SDLK_LCTRL, 1000);
  EXPECT_TRUE(KeyState::wasPressed(vkControl));
  const struct {
    uint32_t now;
    bool pressed;
  } rows[] = {{1000 + keyRepeatDelayMs - 1, false},
              {1000 + keyRepeatDelayMs, true},
              {1000 + keyRepeatDelayMs + 1, false},
              {1000 + keyRepeatDelayMs + keyRepeatIntervalMs, true}};
  for (const auto& r : rows) {
    repeatHeldKeys(r.now);
    EXPECT_EQ(KeyState::wasPressed(vkControl), r.pressed) << r.now;
  }
  send(SDL_KEYUP, SDLK_LCTRL, 1600);
  repeatHeldKeys(5000);
  EXPECT_FALSE(KeyState::wasPressed(vkControl)) << "released keys are not repeated";
}

TEST_F(WindowProcedureTest, RepeatTimingSurvivesTheCounterWrap) {
  send(SDL_KEYDOWN, SDLK_LSHIFT, 0xFFFFFF00u);
  EXPECT_TRUE(KeyState::wasPressed(vkShift));
  repeatHeldKeys(0xFFFFFF10u);
  EXPECT_FALSE(KeyState::wasPressed(vkShift));
  repeatHeldKeys(0xFFFFFF00u + keyRepeatDelayMs);  // past the wrap
  EXPECT_TRUE(KeyState::wasPressed(vkShift));
}

// Minimising stops frames, restoring resumes them, and a close request ends the
// run.
TEST_F(WindowProcedureTest, WindowEventsDriveVisibilityAndClose) {
  window_.visible = 1;
  appRunning = 1;
  const struct {
    Uint8 event;
    int visible, running;
  } rows[] = {
      {SDL_WINDOWEVENT_MINIMIZED, 0, 1}, {SDL_WINDOWEVENT_RESTORED, 1, 1}, {SDL_WINDOWEVENT_CLOSE, 1, 0}};
  for (const auto& r : rows) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = r.event;
    windowProcedure(window_, event);
    EXPECT_EQ(window_.visible, r.visible) << int{r.event};
    EXPECT_EQ(appRunning, r.running) << int{r.event};
  }
}
}  // namespace
