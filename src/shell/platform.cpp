#include "shell/platform.h"

#include <SDL.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {
bool virtualClock = false;
uint32_t virtualTime = 0;
uint32_t virtualTimer = 0;
bool errorBoxes = true;

bool hasGameData(const std::filesystem::path& folder) {
  std::error_code ec;
  return std::filesystem::is_directory(folder / "graphics", ec) &&
         std::filesystem::is_directory(folder / "sound", ec);
}
}  // namespace

uint32_t platformTicks() {
  return virtualClock ? virtualTime : SDL_GetTicks();
}

uint32_t platformTimerMs() {
  return virtualClock ? virtualTimer : SDL_GetTicks();
}

void platformUseVirtualClock(bool enabled) {
  virtualClock = enabled;
}

void platformSetVirtualTime(uint32_t ms) {
  virtualTime = ms;
}

void platformSetVirtualTimer(uint32_t ms) {
  virtualTimer = ms;
}

void platformShowError(const char* text) {
  std::fprintf(stderr, "cornkeeper: %s\n", text);
  if (errorBoxes) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Error", text, nullptr);
}

void platformSetErrorBoxesEnabled(bool enabled) {
  errorBoxes = enabled;
}

FILE* platformOpenDataFile(const char* name, const char* mode) {
  std::string path(name);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return std::fopen(path.c_str(), mode);
}

bool platformFindDataFolder(const char* argv0, std::string* searched) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path here = fs::current_path(ec);
  if (!ec && hasGameData(here)) return true;

  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec && argv0) self = fs::absolute(argv0, ec);
  const fs::path candidates[] = {
      self.parent_path(),
      (self.parent_path() / ".." / "share" / "cornkeeper").lexically_normal(),
      "/usr/local/share/cornkeeper",
      "/usr/share/cornkeeper",
  };
  for (const fs::path& folder : candidates) {
    if (!folder.empty() && hasGameData(folder)) {
      fs::current_path(folder, ec);
      if (!ec) return true;
    }
  }
  if (searched) {
    std::string seen;
    for (const fs::path& folder : {here, candidates[0], candidates[1], candidates[2], candidates[3]}) {
      const std::string line = "  " + folder.string() + "\n";
      if (!folder.empty() && seen.find(line) == std::string::npos) seen += line;
    }
    *searched += seen;
  }
  return false;
}
