// cornkeeper-sim: runs the real game offscreen with a virtual clock and a script of key and pad presses
// or a demo, writing PNG frames, a per-frame trace of the game state, or a demo of the run. A test tool.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "offscreen_context.h"
#include "screens/game_trace.h"
#include "screens/screen_machine.h"
#include "shell/app_window.h"
#include "shell/best_games.h"
#include "shell/demo.h"
#include "shell/demo_session.h"
#include "shell/game_pad.h"
#include "shell/key_state.h"
#include "shell/platform.h"

#ifndef CORNKEEPER_VERSION
#define CORNKEEPER_VERSION "unknown"
#endif

namespace {
// A key, a pad input, or the left stick moved to (x, y).
struct KeyEvent {
  enum Action { Down, Up, Tap, Stick } action;
  uint32_t key;
  bool onPad;
  PadInput input;
  int stickX, stickY;
};

// The pad the key script drives; no device stands behind it.
constexpr int32_t scriptPad = 1000;

struct Options {
  long frames = 600;
  bool framesGiven = false;
  uint32_t frameMs = 16;
  uint32_t seed = 1;
  std::string keysFile;
  std::string traceFile;
  std::string demoFile;       // played instead of a key script: its frame times, keys and seeds
  std::string recordFile;     // the run written as a demo
  std::string bestGamesFile;  // the best-games table kept over the run
  std::map<long, std::vector<std::string>> shots;
  bool noDraw = false;
};

const char* usage =
    "usage: cornkeeper-sim [--frames N] [--frame-ms MS] [--seed S] [--keys FILE | --demo FILE]\n"
    "                      [--record FILE] [--shot FRAME:FILE.png]... [--trace FILE.csv] [--no-draw]\n"
    "                      [--best-games FILE]\n"
    "key file lines: FRAME down|up|tap KEY, KEY one of left up right down ctrl shift escape\n"
    "                p pause m minus plus return space b\n"
    "                pad-a pad-b pad-x pad-y pad-start pad-back pad-up pad-down pad-left pad-right;\n"
    "                FRAME stick X Y, the left stick from -1 to 1 (right and down positive, 0 0 lets go)\n";

bool parseNumber(const char* text, long& out) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0) return false;
  out = value;
  return true;
}

// A stick position from -1 to 1 in raw axis units.
bool parseStick(const std::string& text, int& out) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !(value >= -1.0 && value <= 1.0)) return false;
  out = static_cast<int>(std::lround(value * 32767.0));
  return true;
}

bool keyByName(const std::string& name, uint32_t& key) {
  static const std::map<std::string, uint32_t> names = {
      {"left", vkLeft},   {"up", vkUp},         {"right", vkRight},   {"down", vkDown},   {"ctrl", vkControl},
      {"shift", vkShift}, {"escape", vkEscape}, {"p", vkP},           {"pause", vkPause}, {"m", vkM},
      {"minus", vkMinus}, {"plus", vkPlus},     {"return", vkReturn}, {"space", vkSpace}, {"b", vkB},
  };
  auto found = names.find(name);
  if (found == names.end()) return false;
  key = found->second;
  return true;
}

bool keyByName(const std::string& name, KeyEvent& event) {
  event.onPad = GamePad::inputByName(name.c_str(), event.input);
  return event.onPad || keyByName(name, event.key);
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
    std::string stickY;
    bool ok = (words >> action >> keyName) && parseNumber(frameText.c_str(), frame);
    if (ok && action == "stick") {
      event.action = KeyEvent::Stick;
      ok = (words >> stickY) && !(words >> extra) && parseStick(keyName, event.stickX) &&
           parseStick(stickY, event.stickY);
    } else {
      ok = ok && !(words >> extra) && keyByName(keyName, event);
      if (action == "down") {
        event.action = KeyEvent::Down;
      } else if (action == "up") {
        event.action = KeyEvent::Up;
      } else if (action == "tap") {
        event.action = KeyEvent::Tap;
      } else {
        ok = false;
      }
    }
    if (!ok) {
      std::fprintf(stderr,
                   "cornkeeper-sim: %s:%d: expected 'FRAME down|up|tap KEY' or 'FRAME stick X Y', got '%s'\n",
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
      if (arg == "--frames") {
        options.frames = number;
        options.framesGiven = true;
      }
      if (arg == "--frame-ms") options.frameMs = static_cast<uint32_t>(number);
      if (arg == "--seed") options.seed = static_cast<uint32_t>(number);
    } else if (arg == "--keys" || arg == "--trace" || arg == "--demo" || arg == "--record" ||
               arg == "--best-games") {
      const char* text = value(arg.c_str());
      if (!text) return false;
      std::string& field = arg == "--keys"     ? options.keysFile
                           : arg == "--trace"  ? options.traceFile
                           : arg == "--demo"   ? options.demoFile
                           : arg == "--record" ? options.recordFile
                                               : options.bestGamesFile;
      field = text;
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
  if (!options.demoFile.empty() && (!options.keysFile.empty() || !options.recordFile.empty())) {
    std::fprintf(stderr, "cornkeeper-sim: --demo brings its own keys; it takes no --keys or --record\n");
    return false;
  }
  return true;
}

void applyPadEvent(const KeyEvent& event, uint32_t nowMs) {
  if (event.action == KeyEvent::Stick) {
    GamePad::moveStick(scriptPad, true, event.stickX, nowMs);
    GamePad::moveStick(scriptPad, false, event.stickY, nowMs);
    return;
  }
  if (event.action != KeyEvent::Up) GamePad::press(scriptPad, event.input, nowMs);
  if (event.action != KeyEvent::Down) GamePad::release(scriptPad, event.input);
}

void applyKeyEvents(const std::vector<KeyEvent>& events, uint32_t nowMs) {
  for (const KeyEvent& event : events) {
    if (event.onPad || event.action == KeyEvent::Stick) {
      applyPadEvent(event, nowMs);
    } else if (event.action == KeyEvent::Down) {
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
  if (!options.demoFile.empty()) {
    if (!DemoSession::startPlayback(options.demoFile.c_str(), CORNKEEPER_VERSION)) return 2;
    const long demoFrames = static_cast<long>(DemoSession::demo()->frameCount());
    if (!options.framesGiven || options.frames > demoFrames) options.frames = demoFrames;
  }
  if (!options.recordFile.empty() &&
      !DemoSession::startRecording(options.recordFile.c_str(), CORNKEEPER_VERSION)) {
    return 2;
  }

  FILE* trace = nullptr;
  if (!options.traceFile.empty()) {
    trace = std::fopen(options.traceFile.c_str(), "w");
    if (!trace) {
      std::fprintf(stderr, "cornkeeper-sim: cannot write %s\n", options.traceFile.c_str());
      return 2;
    }
    GameTrace::writeHeader(trace);
  }

  // Without a table file the game keeps no table, so its game-over frames are the plain ones.
  if (!options.bestGamesFile.empty()) bestGames.open(options.bestGamesFile.c_str());

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
  GamePad::connect(scriptPad, nullptr);

  int status = 0;
  uint32_t now = 0;
  for (long frame = 0; frame < options.frames && appRunning; ++frame) {
    auto events = keyEvents.find(frame);
    if (events != keyEvents.end()) applyKeyEvents(events->second, now);
    const uint32_t elapsed = DemoSession::beginFrame(options.frameMs);
    now += elapsed;
    platformSetVirtualTime(now);
    gameUpdate(elapsed);
    if (trace) GameTrace::writeRow(trace, frame);

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
    DemoSession::endFrame();
  }

  GamePad::disconnect(scriptPad);
  gameShutdown();
  if (trace) std::fclose(trace);
  if (!DemoSession::finishRecording()) status = 1;
  return status;
}
