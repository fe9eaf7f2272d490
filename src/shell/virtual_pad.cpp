#include "shell/virtual_pad.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr const char* variable = "CORNKEEPER_TEST_VIRTUAL_PAD";

int scriptFile = -1;
SDL_JoystickID padId = -1;
SDL_Joystick* joystick = nullptr;
char pending[256];
size_t pendingLength = 0;

Sint16 axisValue(double value) {
  if (!(value >= -1.0 && value <= 1.0)) value = 0.0;
  return static_cast<Sint16>(std::lround(value * 32767.0));
}

void playLine(char* line) {
  char verb[16] = {};
  char first[32] = {};
  char second[32] = {};
  const int words = std::sscanf(line, "%15s %31s %31s", verb, first, second);
  if (words <= 0) return;
  const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(first);
  if (words == 2 && button != SDL_CONTROLLER_BUTTON_INVALID &&
      (std::strcmp(verb, "down") == 0 || std::strcmp(verb, "up") == 0)) {
    SDL_JoystickSetVirtualButton(joystick, button, verb[0] == 'd' ? 1 : 0);
  } else if (words == 3 && std::strcmp(verb, "stick") == 0) {
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, axisValue(std::atof(first)));
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, axisValue(std::atof(second)));
  } else {
    std::fprintf(stderr, "cornkeeper: virtual pad: cannot play '%s'\n", line);
  }
}

// SDL calls this whenever it polls the pad: whatever was written to the file since is played now.
void SDLCALL readScript(void*) {
  if (scriptFile < 0 || !joystick) return;
  const ssize_t got = read(scriptFile, pending + pendingLength, sizeof(pending) - 1 - pendingLength);
  if (got <= 0) return;
  pendingLength += static_cast<size_t>(got);
  pending[pendingLength] = '\0';
  char* start = pending;
  while (char* end = std::strchr(start, '\n')) {
    *end = '\0';
    playLine(start);
    start = end + 1;
  }
  pendingLength = std::strlen(start);
  // A line longer than the buffer is dropped rather than left to block every later one.
  if (pendingLength == sizeof(pending) - 1) pendingLength = 0;
  std::memmove(pending, start, pendingLength);
}
}  // namespace

SDL_VirtualJoystickDesc VirtualPad::fullPadDescription(const char* name) {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.name = name;
  return desc;
}

bool VirtualPad::attachFromEnvironment() {
  const char* path = SDL_getenv(variable);
  if (!path || !*path || joystick) return false;
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
  scriptFile = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (scriptFile < 0) {
    std::fprintf(stderr, "cornkeeper: virtual pad: cannot read %s\n", path);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    return false;
  }
  SDL_VirtualJoystickDesc desc = VirtualPad::fullPadDescription("Cornkeeper test pad");
  desc.Update = readScript;
  const int deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
  padId = deviceIndex >= 0 ? SDL_JoystickGetDeviceInstanceID(deviceIndex) : -1;
  joystick = deviceIndex >= 0 ? SDL_JoystickOpen(deviceIndex) : nullptr;
  if (!joystick) {
    std::fprintf(stderr, "cornkeeper: virtual pad: %s\n", SDL_GetError());
    detach();
    return false;
  }
  return true;
}

void VirtualPad::detach() {
  if (joystick) SDL_JoystickClose(joystick);
  for (int i = 0; padId >= 0 && i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == padId) SDL_JoystickDetachVirtual(i);
  }
  if (scriptFile >= 0) {
    close(scriptFile);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  joystick = nullptr;
  padId = -1;
  scriptFile = -1;
  pendingLength = 0;
}
