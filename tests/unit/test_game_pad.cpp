#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "shell/app_window.h"
#include "shell/game_pad.h"
#include "shell/key_state.h"
#include "shell/platform.h"
#include "shell/virtual_pad.h"
#include "shell/window_procedure.h"

namespace {
constexpr uint32_t gameKeys[] = {vkLeft, vkUp, vkRight, vkDown, vkControl, vkShift, vkEscape};

// Pads made by SDL's virtual joystick driver, fed through the same events a real pad sends.
class GamePadTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) << SDL_GetError();
  }
  static void TearDownTestSuite() { GamePad::stop(); }

  void SetUp() override {
    GamePad::start();
    GamePad::setEastButtonEscapes(true);
    KeyState::clearAll();
    platformSetVirtualTime(1000);
  }
  void TearDown() override {
    while (!devices_.empty()) unplug(0);
    KeyState::clearAll();
  }

  // Attaches a pad with every button and axis; returns its instance id once the game has opened it.
  SDL_JoystickID plug() {
    SDL_VirtualJoystickDesc desc = VirtualPad::fullPadDescription("test pad");
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(device, 0) << SDL_GetError();
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
    devices_.push_back(id);
    pump();
    return id;
  }

  void unplug(size_t which) {
    const SDL_JoystickID id = devices_[which];
    devices_.erase(devices_.begin() + static_cast<long>(which));
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    pump();
  }

  void button(SDL_JoystickID pad, SDL_GameControllerButton which, bool down) {
    SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(pad), which, down ? 1 : 0);
    pump();
  }

  void stick(SDL_JoystickID pad, int x, int y) {
    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(pad);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
    pump();
  }

  // Every pending event goes where the game window sends it.
  void pump() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event)) windowProcedure(window_, event);
  }

  void keyboard(Uint32 type, SDL_Keycode key, Uint32 timestamp) {
    SDL_Event event{};
    event.key = {type, timestamp, 0, 0, 0, 0, 0, {SDL_SCANCODE_UNKNOWN, key, 0, 0}};
    windowProcedure(window_, event);
  }

  static std::vector<uint32_t> heldKeys() {
    std::vector<uint32_t> held;
    for (uint32_t key : gameKeys) {
      if (KeyState::isHeld(key)) held.push_back(key);
    }
    return held;
  }

  AppWindow window_;
  std::vector<SDL_JoystickID> devices_;
};

// Each button holds its key while down and lets go when up, with the press seen once; B stands for Escape
// off the Play screen and for nothing on it; other buttons do nothing.
TEST_F(GamePadTest, EveryButtonHoldsItsKey) {
  struct Row {
    SDL_GameControllerButton button;
    uint32_t offPlay;
    uint32_t inPlay;
  };
  const Row rows[] = {
      {SDL_CONTROLLER_BUTTON_A, vkControl, vkControl},
      {SDL_CONTROLLER_BUTTON_B, vkEscape, 0},
      {SDL_CONTROLLER_BUTTON_X, vkShift, vkShift},
      {SDL_CONTROLLER_BUTTON_Y, vkShift, vkShift},
      {SDL_CONTROLLER_BUTTON_BACK, vkEscape, vkEscape},
      {SDL_CONTROLLER_BUTTON_START, vkControl, vkControl},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, vkUp, vkUp},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, vkDown, vkDown},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, vkLeft, vkLeft},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, vkRight, vkRight},
      {SDL_CONTROLLER_BUTTON_GUIDE, 0, 0},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, 0},
  };
  const SDL_JoystickID pad = plug();
  ASSERT_EQ(GamePad::connectedCount(), 1);
  for (bool inPlay : {false, true}) {
    GamePad::setEastButtonEscapes(!inPlay);
    for (const Row& row : rows) {
      const uint32_t key = inPlay ? row.inPlay : row.offPlay;
      const std::vector<uint32_t> expected = key ? std::vector<uint32_t>{key} : std::vector<uint32_t>{};
      button(pad, row.button, true);
      EXPECT_EQ(heldKeys(), expected) << "button " << row.button << (inPlay ? " in play" : "");
      EXPECT_EQ(KeyState::wasPressed(key), key != 0);
      button(pad, row.button, false);
      EXPECT_TRUE(heldKeys().empty()) << "button " << row.button;
      EXPECT_FALSE(KeyState::wasPressed(key)) << "button " << row.button;
      for (uint32_t other : gameKeys) ASSERT_EQ(KeyState::rawByte(other), 0) << row.button;
    }
  }
}

// The stick engages past its dead zone and lets go only well inside it, so a stick resting near the
// edge neither flickers nor presses again; diagonals hold two arrows.
TEST_F(GamePadTest, StickDeadZoneWithHysteresis) {
  struct Step {
    int x, y;
    std::vector<uint32_t> held;
    bool newPress;
  };
  const Step steps[] = {
      {0, 0, {}, false},
      {padStickEngage - 1, 0, {}, false},
      {padStickEngage, 0, {vkRight}, true},
      {padStickEngage - 1, 0, {vkRight}, false},
      {padStickRelease, 0, {vkRight}, false},
      {padStickRelease - 1, 0, {}, false},
      {padStickEngage - 1, 0, {}, false},
      {-padStickEngage, 0, {vkLeft}, true},
      {-32768, 0, {vkLeft}, false},
      {-padStickRelease, -padStickEngage, {vkLeft, vkUp}, true},
      {0, -padStickRelease, {vkUp}, false},
      {20000, 20000, {vkRight, vkDown}, true},
      {0, 0, {}, false},
  };
  const SDL_JoystickID pad = plug();
  for (const Step& step : steps) {
    stick(pad, step.x, step.y);
    EXPECT_EQ(heldKeys(), step.held) << step.x << "," << step.y;
    bool pressed = false;
    for (uint32_t key : gameKeys) pressed = KeyState::wasPressed(key) || pressed;
    EXPECT_EQ(pressed, step.newPress) << step.x << "," << step.y;
  }
}

// A held A repeats on the same ticks as a held Ctrl, and stops when let go.
TEST_F(GamePadTest, HeldARepeatsAsHeldCtrlDoes) {
  const uint32_t start = 5000;
  const uint32_t due = start + keyRepeatDelayMs, every = keyRepeatIntervalMs;
  const uint32_t ticks[] = {start + 100, due - 1, due, due + every - 1, due + every, due + 3 * every};
  auto timeline = [&](auto pressCtrl, auto releaseCtrl) {
    std::vector<bool> seen;
    pressCtrl();
    seen.push_back(KeyState::wasPressed(vkControl));
    for (uint32_t now : ticks) {
      repeatHeldKeys(now);
      seen.push_back(KeyState::wasPressed(vkControl));
    }
    releaseCtrl();
    repeatHeldKeys(ticks[5] + keyRepeatIntervalMs);
    seen.push_back(KeyState::wasPressed(vkControl) || KeyState::isHeld(vkControl));
    return seen;
  };
  const std::vector<bool> byKeyboard = timeline([&] { keyboard(SDL_KEYDOWN, SDLK_LCTRL, start); },
                                                [&] { keyboard(SDL_KEYUP, SDLK_LCTRL, ticks[5]); });
  const SDL_JoystickID pad = plug();
  platformSetVirtualTime(start);
  const std::vector<bool> byPad = timeline([&] { button(pad, SDL_CONTROLLER_BUTTON_A, true); },
                                           [&] { button(pad, SDL_CONTROLLER_BUTTON_A, false); });
  EXPECT_EQ(byPad, byKeyboard);
  EXPECT_EQ(byPad, (std::vector<bool>{true, false, false, true, false, true, true, false}));
}

// Unplugging lets go of every key the pad held, even mid-hold and with no button let go first; a pad plugged
// in later is opened and plays at once. Events from pads the game does not know change nothing.
TEST_F(GamePadTest, UnplugReleasesEverythingAndReplugWorks) {
  SDL_JoystickID pad = plug();
  button(pad, SDL_CONTROLLER_BUTTON_A, true);
  button(pad, SDL_CONTROLLER_BUTTON_X, true);
  button(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  stick(pad, 0, -30000);
  EXPECT_EQ(heldKeys(), (std::vector<uint32_t>{vkLeft, vkUp, vkControl, vkShift}));
  // The removal alone, as a driver may report it without letting go of the buttons first.
  SDL_Event removed{};
  removed.cdevice = {SDL_CONTROLLERDEVICEREMOVED, 0, pad};
  EXPECT_TRUE(GamePad::handleEvent(removed));
  unplug(0);
  EXPECT_EQ(GamePad::connectedCount(), 0);
  EXPECT_TRUE(heldKeys().empty());
  for (uint32_t key : gameKeys) EXPECT_EQ(GamePad::holdCount(key), 0) << key;

  SDL_Event stray{};
  stray.cbutton = {SDL_CONTROLLERBUTTONDOWN, 0, pad, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED, 0, 0};
  EXPECT_TRUE(GamePad::handleEvent(stray));
  stray.caxis = {SDL_CONTROLLERAXISMOTION, 0, pad, SDL_CONTROLLER_AXIS_LEFTX, 0, 0, 0, 32767, 0};
  EXPECT_TRUE(GamePad::handleEvent(stray));
  EXPECT_TRUE(heldKeys().empty());

  pad = plug();
  EXPECT_EQ(GamePad::connectedCount(), 1);
  button(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  EXPECT_EQ(heldKeys(), std::vector<uint32_t>{vkRight});
}

// A key held on the keyboard and on pads, or on two inputs of one pad, is let go only when all let go,
// in either order. B keeps the meaning it went down with across a screen change.
TEST_F(GamePadTest, HoldersCombine) {
  const SDL_JoystickID first = plug();
  const SDL_JoystickID second = plug();
  EXPECT_EQ(GamePad::connectedCount(), 2);

  keyboard(SDL_KEYDOWN, SDLK_LCTRL, 1000);
  button(first, SDL_CONTROLLER_BUTTON_A, true);
  keyboard(SDL_KEYUP, SDLK_LCTRL, 1010);
  EXPECT_TRUE(KeyState::isHeld(vkControl));
  button(first, SDL_CONTROLLER_BUTTON_A, false);
  EXPECT_FALSE(KeyState::isHeld(vkControl));

  button(first, SDL_CONTROLLER_BUTTON_START, true);
  keyboard(SDL_KEYDOWN, SDLK_RCTRL, 1020);
  button(first, SDL_CONTROLLER_BUTTON_START, false);
  EXPECT_TRUE(KeyState::isHeld(vkControl));
  keyboard(SDL_KEYUP, SDLK_RCTRL, 1030);
  EXPECT_FALSE(KeyState::isHeld(vkControl));

  button(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  stick(second, -32768, 0);
  button(second, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  EXPECT_EQ(GamePad::holdCount(vkLeft), 3);
  button(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  EXPECT_TRUE(KeyState::isHeld(vkLeft));
  unplug(1);
  EXPECT_FALSE(KeyState::isHeld(vkLeft));
  EXPECT_EQ(GamePad::holdCount(vkLeft), 0);

  KeyState::clearAll();
  button(first, SDL_CONTROLLER_BUTTON_B, true);
  GamePad::setEastButtonEscapes(false);
  EXPECT_TRUE(KeyState::isHeld(vkEscape));
  button(first, SDL_CONTROLLER_BUTTON_B, false);
  EXPECT_FALSE(KeyState::isHeld(vkEscape));
  KeyState::clearAll();
  button(first, SDL_CONTROLLER_BUTTON_B, true);
  GamePad::setEastButtonEscapes(true);
  button(first, SDL_CONTROLLER_BUTTON_B, false);
  for (uint32_t key : gameKeys) EXPECT_EQ(KeyState::rawByte(key), 0) << key;
}
}  // namespace
