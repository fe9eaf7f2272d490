#include "shell/game_pad.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include "shell/key_state.h"
#include "shell/platform.h"
#include "shell/window_procedure.h"

namespace {
// The one mapping: what each input holds on the Play screen and on the others.
struct PadBinding {
  PadInput input;
  SDL_GameControllerButton button;  // SDL_CONTROLLER_BUTTON_INVALID for the stick
  const char* name;
  uint32_t inPlay;
  uint32_t offPlay;
};
constexpr PadBinding bindings[padInputCount] = {
    {PadInput::A, SDL_CONTROLLER_BUTTON_A, "pad-a", vkControl, vkControl},
    {PadInput::B, SDL_CONTROLLER_BUTTON_B, "pad-b", 0, vkEscape},
    {PadInput::X, SDL_CONTROLLER_BUTTON_X, "pad-x", vkShift, vkShift},
    {PadInput::Y, SDL_CONTROLLER_BUTTON_Y, "pad-y", vkShift, vkShift},
    {PadInput::Back, SDL_CONTROLLER_BUTTON_BACK, "pad-back", vkEscape, vkEscape},
    {PadInput::Start, SDL_CONTROLLER_BUTTON_START, "pad-start", vkControl, vkControl},
    {PadInput::DpadUp, SDL_CONTROLLER_BUTTON_DPAD_UP, "pad-up", vkUp, vkUp},
    {PadInput::DpadDown, SDL_CONTROLLER_BUTTON_DPAD_DOWN, "pad-down", vkDown, vkDown},
    {PadInput::DpadLeft, SDL_CONTROLLER_BUTTON_DPAD_LEFT, "pad-left", vkLeft, vkLeft},
    {PadInput::DpadRight, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, "pad-right", vkRight, vkRight},
    {PadInput::StickUp, SDL_CONTROLLER_BUTTON_INVALID, nullptr, vkUp, vkUp},
    {PadInput::StickDown, SDL_CONTROLLER_BUTTON_INVALID, nullptr, vkDown, vkDown},
    {PadInput::StickLeft, SDL_CONTROLLER_BUTTON_INVALID, nullptr, vkLeft, vkLeft},
    {PadInput::StickRight, SDL_CONTROLLER_BUTTON_INVALID, nullptr, vkRight, vkRight},
};

constexpr int keyCount = 256;

struct PadSlot {
  bool used = false;
  int32_t id = -1;
  SDL_GameController* controller = nullptr;
  bool down[padInputCount] = {};
  uint32_t holding[padInputCount] = {};  // the key each input holds, 0 for none
};

PadSlot slots[padSlotCount];
int holders[keyCount];
uint32_t nextRepeatMs[keyCount];
bool eastEscapes = true;  // the game opens on the title
bool subsystemOpen = false;

PadSlot* slotOf(int32_t pad) {
  for (PadSlot& slot : slots) {
    if (slot.used && slot.id == pad) return &slot;
  }
  return nullptr;
}

void holdKey(uint32_t key, uint32_t nowMs) {
  ++holders[key];
  KeyState::keyDown(key);
  nextRepeatMs[key] = nowMs + keyRepeatDelayMs;
}

void letGo(uint32_t key) {
  if (holders[key] > 0) --holders[key];
  // The key stays held while another input or the keyboard still holds it.
  if (holders[key] == 0 && !keyboardHolds(key)) KeyState::keyUp(key);
}

void pressInput(PadSlot& slot, PadInput input, uint32_t nowMs) {
  const int index = static_cast<int>(input);
  if (slot.down[index]) return;
  slot.down[index] = true;
  // What B means is fixed when it goes down, so it lets go of the same key even if the screen changed.
  const PadBinding& binding = bindings[index];
  const uint32_t key = eastEscapes ? binding.offPlay : binding.inPlay;
  slot.holding[index] = key;
  if (key != 0) holdKey(key, nowMs);
}

void releaseInput(PadSlot& slot, PadInput input) {
  const int index = static_cast<int>(input);
  if (!slot.down[index]) return;
  slot.down[index] = false;
  const uint32_t key = slot.holding[index];
  slot.holding[index] = 0;
  if (key != 0) letGo(key);
}

bool inputForButton(uint8_t button, PadInput& input) {
  for (const PadBinding& binding : bindings) {
    if (binding.button != SDL_CONTROLLER_BUTTON_INVALID && binding.button == button) {
      input = binding.input;
      return true;
    }
  }
  return false;
}

void openDevice(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (id < 0 || slotOf(id)) return;  // already open: start() and the plug-in event both report it
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (!controller) {
    std::fprintf(stderr, "cornkeeper: a game controller could not be opened: %s\n", SDL_GetError());
    return;
  }
  const SDL_JoystickID openedId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  if (!GamePad::connect(openedId, controller)) {
    std::fprintf(stderr, "cornkeeper: more than %d game controllers; this one is ignored\n", padSlotCount);
    SDL_GameControllerClose(controller);
  }
}
}  // namespace

bool GamePad::start() {
  if (!subsystemOpen) {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
      std::fprintf(stderr, "cornkeeper: no game controller support (%s); keys only\n", SDL_GetError());
      return false;
    }
    subsystemOpen = true;
  }
  for (int i = 0; i < SDL_NumJoysticks(); ++i) openDevice(i);
  return connectedCount() > 0;
}

void GamePad::stop() {
  for (PadSlot& slot : slots) {
    if (slot.used) disconnect(slot.id);
  }
  if (subsystemOpen) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  subsystemOpen = false;
}

bool GamePad::handleDeviceEvent(const SDL_Event& event) {
  if (event.type == SDL_CONTROLLERDEVICEADDED) {
    openDevice(event.cdevice.which);  // a device index here
    return true;
  }
  if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
    disconnect(event.cdevice.which);  // an instance id here
    return true;
  }
  return false;
}

bool GamePad::handleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      PadInput input{};
      if (inputForButton(event.cbutton.button, input)) {
        if (event.type == SDL_CONTROLLERBUTTONDOWN) {
          press(event.cbutton.which, input, platformTicks());
        } else {
          release(event.cbutton.which, input);
        }
      }
      return true;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX || event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
        moveStick(event.caxis.which, event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX, event.caxis.value,
                  platformTicks());
      return true;
    default:
      return handleDeviceEvent(event);
  }
}

void GamePad::setEastButtonEscapes(bool escapes) {
  eastEscapes = escapes;
}

bool GamePad::connect(int32_t pad, SDL_GameController* controller) {
  if (slotOf(pad)) return true;
  for (PadSlot& slot : slots) {
    if (!slot.used) {
      slot = PadSlot{};
      slot.used = true;
      slot.id = pad;
      slot.controller = controller;
      return true;
    }
  }
  return false;
}

void GamePad::disconnect(int32_t pad) {
  PadSlot* slot = slotOf(pad);
  if (!slot) return;
  for (int i = 0; i < padInputCount; ++i) releaseInput(*slot, static_cast<PadInput>(i));
  if (slot->controller) SDL_GameControllerClose(slot->controller);
  *slot = PadSlot{};
}

void GamePad::press(int32_t pad, PadInput input, uint32_t nowMs) {
  if (PadSlot* slot = slotOf(pad)) pressInput(*slot, input, nowMs);
}

void GamePad::release(int32_t pad, PadInput input) {
  if (PadSlot* slot = slotOf(pad)) releaseInput(*slot, input);
}

void GamePad::moveStick(int32_t pad, bool horizontal, int value, uint32_t nowMs) {
  PadSlot* slot = slotOf(pad);
  if (!slot) return;
  const PadInput negative = horizontal ? PadInput::StickLeft : PadInput::StickUp;
  const PadInput positive = horizontal ? PadInput::StickRight : PadInput::StickDown;
  for (const auto& [input, travel] : {std::pair{negative, -value}, std::pair{positive, value}}) {
    const bool engaged = slot->down[static_cast<int>(input)];
    if (!engaged && travel >= padStickEngage) pressInput(*slot, input, nowMs);
    if (engaged && travel < padStickRelease) releaseInput(*slot, input);
  }
}

void GamePad::repeatHeld(uint32_t nowMs) {
  for (uint32_t key = 0; key < keyCount; ++key) {
    if (holders[key] == 0) continue;
    // Signed difference: correct across the wrap of the tick counter.
    if (static_cast<int32_t>(nowMs - nextRepeatMs[key]) >= 0) {
      KeyState::keyDown(key);
      nextRepeatMs[key] = nowMs + keyRepeatIntervalMs;
    }
  }
}

int GamePad::holdCount(uint32_t key) {
  return holders[key & 0xFF];
}

int GamePad::connectedCount() {
  int count = 0;
  for (const PadSlot& slot : slots) count += slot.used ? 1 : 0;
  return count;
}

bool GamePad::inputByName(const char* name, PadInput& input) {
  if (!name) return false;
  for (const PadBinding& binding : bindings) {
    if (binding.name && std::strcmp(binding.name, name) == 0) {
      input = binding.input;
      return true;
    }
  }
  return false;
}
