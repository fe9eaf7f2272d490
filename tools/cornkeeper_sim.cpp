// cornkeeper-sim: runs the real game offscreen with a virtual clock and a script of key presses,
// writing PNG frames and a per-frame trace of the game state. A test tool; the game reads no
// command line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "days/hud.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "offscreen_context.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "screens/screen_machine.h"
#include "shell/app_window.h"
#include "shell/key_state.h"
#include "shell/platform.h"

namespace {
struct KeyEvent {
  enum Action { Down, Up, Tap } action;
  uint32_t key;
};

struct Options {
  long frames = 600;
  uint32_t frameMs = 16;
  uint32_t seed = 1;
  std::string keysFile;
  std::string traceFile;
  std::map<long, std::vector<std::string>> shots;
  bool noDraw = false;
};

const char* usage =
    "usage: cornkeeper-sim [--frames N] [--frame-ms MS] [--seed S] [--keys FILE]\n"
    "                      [--shot FRAME:FILE.png]... [--trace FILE.csv] [--no-draw]\n";

bool parseNumber(const char* text, long& out) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0) return false;
  out = value;
  return true;
}

bool keyByName(const std::string& name, uint32_t& key) {
  static const std::map<std::string, uint32_t> names = {
      {"left", vkLeft},    {"up", vkUp},       {"right", vkRight},   {"down", vkDown},
      {"ctrl", vkControl}, {"shift", vkShift}, {"escape", vkEscape},
  };
  auto found = names.find(name);
  if (found == names.end()) return false;
  key = found->second;
  return true;
}

bool readKeyFile(const std::string& path, std::map<long, std::vector<KeyEvent>>& events) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "cornkeeper-sim: cannot read key file %s\n", path.c_str());
    return false;
  }
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string frameText, action, keyName, extra;
    if (!(words >> frameText)) continue;  // blank or comment
    long frame = 0;
    KeyEvent event{};
    bool ok = (words >> action >> keyName) && !(words >> extra) && parseNumber(frameText.c_str(), frame) &&
              keyByName(keyName, event.key);
    if (ok && action == "down") {
      event.action = KeyEvent::Down;
    } else if (ok && action == "up") {
      event.action = KeyEvent::Up;
    } else if (ok && action == "tap") {
      event.action = KeyEvent::Tap;
    } else {
      std::fprintf(stderr, "cornkeeper-sim: %s:%d: expected 'FRAME down|up|tap KEY', got '%s'\n",
                   path.c_str(), lineNumber, line.c_str());
      return false;
    }
    events[frame].push_back(event);
  }
  return true;
}

bool parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "cornkeeper-sim: %s needs a value\n", name);
        return nullptr;
      }
      return argv[++i];
    };
    long number = 0;
    if (arg == "--frames" || arg == "--frame-ms" || arg == "--seed") {
      const char* text = value(arg.c_str());
      if (!text || !parseNumber(text, number)) {
        if (text)
          std::fprintf(stderr, "cornkeeper-sim: %s takes a whole number, got '%s'\n", arg.c_str(), text);
        return false;
      }
      if (arg == "--frames") options.frames = number;
      if (arg == "--frame-ms") options.frameMs = static_cast<uint32_t>(number);
      if (arg == "--seed") options.seed = static_cast<uint32_t>(number);
    } else if (arg == "--keys" || arg == "--trace") {
      const char* text = value(arg.c_str());
      if (!text) return false;
      (arg == "--keys" ? options.keysFile : options.traceFile) = text;
    } else if (arg == "--shot") {
      const char* text = value("--shot");
      if (!text) return false;
      std::string shot = text;
      size_t colon = shot.find(':');
      if (colon == std::string::npos || colon + 1 >= shot.size() ||
          !parseNumber(shot.substr(0, colon).c_str(), number)) {
        std::fprintf(stderr, "cornkeeper-sim: --shot takes FRAME:FILE.png, got '%s'\n", text);
        return false;
      }
      options.shots[number].push_back(shot.substr(colon + 1));
    } else if (arg == "--no-draw") {
      options.noDraw = true;
    } else {
      std::fprintf(stderr, "cornkeeper-sim: unknown argument '%s'\n%s", arg.c_str(), usage);
      return false;
    }
  }
  return true;
}

void writeTraceHeader(FILE* out) {
  std::fputs(
      "frame,screen,day,ticksToday,money,score,breath,masks,stalks,ears,crows,particles,x,y,"
      "phase,light,shownMoney,gameOver,pelicans,cows,ooga\n",
      out);
}

void writeTraceRow(FILE* out, long frame) {
  std::fprintf(out, "%ld,%d", frame, static_cast<int>(screenMachine->currentScreen()));
  if (!worldLoaded) {
    std::fputs(",,,,,,,,,,,,,,,,,,,\n", out);  // the world's columns are unknown off the Play world
    return;
  }
  const ScarecrowState& s = Scarecrow::state();
  std::fprintf(out, ",%d,%d,%d,%d,%.3f,%d,%d,%d,%d,%d,%.2f,%.2f,%d,%.3f,%d,%d,%d,%d,%d\n", DayDirector::day(),
               DayDirector::ticksToday(), s.money, s.score, s.breath, s.masks, CornField::liveStalkCount(),
               CornField::earCount(), CrowFlock::countInUse(), BooShout::countInUse(), s.x, s.y,
               static_cast<int>(DayCycle::phase()), worldLight, Hud::shownMoney(), gameOver ? 1 : 0,
               PelicanFlock::countInUse(), CowHerd::countInUse(), OogaBooga::isActive() ? 1 : 0);
}

void applyKeyEvents(const std::vector<KeyEvent>& events) {
  for (const KeyEvent& event : events) {
    if (event.action == KeyEvent::Down) {
      KeyState::keyDown(event.key);
    } else if (event.action == KeyEvent::Up) {
      KeyState::keyUp(event.key);
    } else {
      KeyState::keyDown(event.key);
      KeyState::keyUp(event.key);
    }
  }
}
}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) return 2;
  std::map<long, std::vector<KeyEvent>> keyEvents;
  if (!options.keysFile.empty() && !readKeyFile(options.keysFile, keyEvents)) return 2;

  FILE* trace = nullptr;
  if (!options.traceFile.empty()) {
    trace = std::fopen(options.traceFile.c_str(), "w");
    if (!trace) {
      std::fprintf(stderr, "cornkeeper-sim: cannot write %s\n", options.traceFile.c_str());
      return 2;
    }
    writeTraceHeader(trace);
  }

  platformUseVirtualClock(true);
  platformSetVirtualTimer(options.seed);
  platformSetErrorBoxesEnabled(false);
  if (!platformFindDataFolder(argv[0])) {
    std::fprintf(stderr, "cornkeeper-sim: graphics/ and sound/ not found; frames will be blank\n");
  }

  OffscreenContext context(640, 480);
  if (!context.ok()) {
    std::fprintf(stderr, "cornkeeper-sim: no offscreen GL context\n");
    return 1;
  }
  AppRecord app;
  appWindow.app = &app;
  appWindow.title = "Cornkeeper";
  appWindow.visible = 1;
  appRunning = 1;
  gameStartup(&appWindow);

  int status = 0;
  uint32_t now = 0;
  for (long frame = 0; frame < options.frames && appRunning; ++frame) {
    auto events = keyEvents.find(frame);
    if (events != keyEvents.end()) applyKeyEvents(events->second);
    now += options.frameMs;
    platformSetVirtualTime(now);
    gameUpdate(options.frameMs);
    if (trace) writeTraceRow(trace, frame);

    auto shots = options.shots.find(frame);
    if (!options.noDraw || shots != options.shots.end()) gameDraw();
    if (shots != options.shots.end()) {
      for (const std::string& path : shots->second) {
        if (!context.writePng(path.c_str())) {
          std::fprintf(stderr, "cornkeeper-sim: cannot write %s\n", path.c_str());
          status = 1;
        }
      }
    }
  }

  gameShutdown();
  if (trace) std::fclose(trace);
  return status;
}
