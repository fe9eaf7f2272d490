#include <gtest/gtest.h>

#include "shell/app_window.h"
#include "shell/key_state.h"
#include "shell/window_procedure.h"

namespace {
SDL_Event keyEvent(Uint32 type, SDL_Keycode key, Uint32 timestamp, bool repeat = false, Uint16 mod = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.timestamp = timestamp;
  event.key.keysym.sym = key;
  event.key.keysym.mod = mod;
  event.key.repeat = repeat ? 1 : 0;
  return event;
}

class WindowProcedureTest : public testing::Test {
 protected:
  void SetUp() override { KeyState::clearAll(); }
  void TearDown() override {
    // Release anything a test left held so the shell stops repeating it.
    for (SDL_Keycode key : {SDLK_LCTRL, SDLK_RCTRL, SDLK_LEFT, SDLK_LSHIFT})
      windowProcedure(window_, keyEvent(SDL_KEYUP, key, 0));
    KeyState::clearAll();
  }
  AppWindow window_;
};

TEST_F(WindowProcedureTest, TheSevenKeysMapToTheirCodes) {
  EXPECT_EQ(virtualKeyFor(SDLK_LEFT), 37u);
  EXPECT_EQ(virtualKeyFor(SDLK_UP), 38u);
  EXPECT_EQ(virtualKeyFor(SDLK_RIGHT), 39u);
  EXPECT_EQ(virtualKeyFor(SDLK_DOWN), 40u);
  EXPECT_EQ(virtualKeyFor(SDLK_LCTRL), 17u);
  EXPECT_EQ(virtualKeyFor(SDLK_RCTRL), 17u);
  EXPECT_EQ(virtualKeyFor(SDLK_LSHIFT), 16u);
  EXPECT_EQ(virtualKeyFor(SDLK_RSHIFT), 16u);
  EXPECT_EQ(virtualKeyFor(SDLK_ESCAPE), 27u);
  EXPECT_EQ(virtualKeyFor(SDLK_a), 0u);
  EXPECT_EQ(virtualKeyFor(SDLK_SPACE), 0u);
}

TEST_F(WindowProcedureTest, KeyEventsFeedTheTable) {
  windowProcedure(window_, keyEvent(SDL_KEYDOWN, SDLK_RCTRL, 100));
  EXPECT_EQ(KeyState::rawByte(vkControl), 3);
  windowProcedure(window_, keyEvent(SDL_KEYUP, SDLK_RCTRL, 120));
  EXPECT_EQ(KeyState::rawByte(vkControl), 2);
  windowProcedure(window_, keyEvent(SDL_KEYDOWN, SDLK_a, 130));
  EXPECT_EQ(KeyState::rawByte('A'), 0) << "keys the game does not use stay out of the table";
}

TEST_F(WindowProcedureTest, SystemRepeatsSetThePressedBitAgain) {
  windowProcedure(window_, keyEvent(SDL_KEYDOWN, SDLK_LEFT, 100));
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  windowProcedure(window_, keyEvent(SDL_KEYDOWN, SDLK_LEFT, 600, true));
  EXPECT_TRUE(KeyState::wasPressed(vkLeft));
  // The system repeats this key, so the shell adds none of its own.
  repeatHeldKeys(2000);
  EXPECT_FALSE(KeyState::wasPressed(vkLeft));
}

TEST_F(WindowProcedureTest, ModifiersTheSystemDoesNotRepeatAreRepeatedAtTheUsualRate) {
  windowProcedure(window_, keyEvent(SDL_KEYDOWN, SDLK_LCTRL, 1000));
  EXPECT_TRUE(KeyState::wasPressed(vkControl));
  repeatHeldKeys(1000 + keyRepeatDelayMs - 1);
  EXPECT_FALSE(KeyState::wasPressed(vkControl)) << "no repeat before the delay";
  repeatHeldKeys(1000 + keyRepeatDelayMs);
  EXPECT_TRUE(KeyState::wasPressed(vkControl));
  repeatHeldKeys(1000 + keyRepeatDelayMs + 1);
  EXPECT_FALSE(KeyState::wasPressed(vkControl)) << "not on every frame";
  repeatHeldKeys(1000 + keyRepeatDelayMs + keyRepeatIntervalMs);
  EXPECT_TRUE(KeyState::wasPressed(vkControl));
  windowProcedure(window_, keyEvent(SDL_KEYUP, SDLK_LCTRL, 1600));
  repeatHeldKeys(5000);
  EXPECT_FALSE(KeyState::wasPressed(vkControl)) << "released keys are not repeated";
}

TEST_F(WindowProcedureTest, RepeatTimingSurvivesTheCounterWrap) {
  windowProcedure(window_, keyEvent(SDL_KEYDOWN, SDLK_LSHIFT, 0xFFFFFF00u));
  EXPECT_TRUE(KeyState::wasPressed(vkShift));
  repeatHeldKeys(0xFFFFFF10u);
  EXPECT_FALSE(KeyState::wasPressed(vkShift));
  repeatHeldKeys(0xFFFFFF00u + keyRepeatDelayMs);  // past the wrap
  EXPECT_TRUE(KeyState::wasPressed(vkShift));
}

TEST_F(WindowProcedureTest, AltEnterAndF11DoNotReachTheTable) {
  windowProcedure(window_, keyEvent(SDL_KEYDOWN, SDLK_RETURN, 10, false, KMOD_LALT));
  windowProcedure(window_, keyEvent(SDL_KEYDOWN, SDLK_F11, 20));
  for (uint32_t key = 0; key < 256; ++key) ASSERT_EQ(KeyState::rawByte(key), 0) << key;
}

TEST_F(WindowProcedureTest, MinimisingStopsFramesAndRestoringResumesThem) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_MINIMIZED;
  window_.visible = 1;
  windowProcedure(window_, event);
  EXPECT_EQ(window_.visible, 0);
  event.window.event = SDL_WINDOWEVENT_RESTORED;
  windowProcedure(window_, event);
  EXPECT_EQ(window_.visible, 1);
}

TEST_F(WindowProcedureTest, CloseRequestsClearTheRunningFlag) {
  appRunning = 1;
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  windowProcedure(window_, event);
  EXPECT_EQ(appRunning, 0);
}
}  // namespace
