// The command line: the usual Linux options, parsed by getopt_long from one table.
#include <getopt.h>

#include <cstdio>
#include <cstring>

#include "shell/main_loop.h"

#ifndef CORNKEEPER_VERSION
#define CORNKEEPER_VERSION "unknown"
#endif

namespace {
constexpr int exitUsage = 2;

// One row per option: getopt's entry, the value's name in the usage ("" when it takes none), the
// help line, and what it does. A handler returns false when the value is bad. Options without a
// short letter take ids from 1000 up.
struct CommandOption {
  option entry;
  const char* valueName;
  const char* help;
  bool (*apply)(LaunchOptions& launch, const char* value);
};

enum OptionId {
  OptHelp = 'h',
  OptVersion = 'v',
  OptWindow = 1000,
  OptFullScreen,
  OptWindowed,
  OptRecord,
  OptPlay,
  OptFast,
  OptTrace,
};

bool setWindowSize(LaunchOptions& launch, const char* value) {
  static constexpr struct {
    const char* text;
    int32_t width, height;
  } sizes[] = {{"640x480", 640, 480}, {"800x600", 800, 600}, {"1024x768", 1024, 768}};
  for (const auto& size : sizes) {
    if (std::strcmp(value, size.text) == 0) {
      launch.width = size.width;
      launch.height = size.height;
      launch.chooseMode = false;
      return true;
    }
  }
  return false;
}

bool setFullScreen(LaunchOptions& launch, const char*) {
  launch.fullScreen = 1;
  launch.chooseMode = false;
  return true;
}

bool setWindowed(LaunchOptions& launch, const char*) {
  launch.fullScreen = 0;
  launch.chooseMode = false;
  return true;
}

bool setRecord(LaunchOptions& launch, const char* value) {
  launch.recordPath = value;
  return true;
}

bool setPlay(LaunchOptions& launch, const char* value) {
  launch.playPath = value;
  return true;
}

bool setFast(LaunchOptions& launch, const char*) {
  launch.fast = true;
  return true;
}

bool setTrace(LaunchOptions& launch, const char* value) {
  launch.tracePath = value;
  return true;
}

const CommandOption commandOptions[] = {
    {{"help", no_argument, nullptr, OptHelp}, "", "show this help and exit", nullptr},
    {{"version", no_argument, nullptr, OptVersion}, "", "show the version and exit", nullptr},
    {{"window", required_argument, nullptr, OptWindow},
     "WxH",
     "window size: 640x480, 800x600 or 1024x768 (skips the mode chooser)",
     setWindowSize},
    {{"fullscreen", no_argument, nullptr, OptFullScreen},
     "",
     "start in full screen (skips the mode chooser)",
     setFullScreen},
    {{"windowed", no_argument, nullptr, OptWindowed},
     "",
     "start in a window (skips the mode chooser)",
     setWindowed},
    {{"record", required_argument, nullptr, OptRecord},
     "FILE",
     "record the game into the demo FILE",
     setRecord},
    {{"play", required_argument, nullptr, OptPlay},
     "FILE",
     "play the demo FILE back (Escape stops it)",
     setPlay},
    {{"fast", no_argument, nullptr, OptFast}, "", "with --play: as fast as frames can be drawn", setFast},
    {{"trace", required_argument, nullptr, OptTrace},
     "FILE",
     "write the game's state every frame to FILE (CSV)",
     setTrace},
};
constexpr int commandOptionCount = sizeof(commandOptions) / sizeof(commandOptions[0]);

void printUsage(FILE* out) {
  std::fprintf(out,
               "Usage: cornkeeper [OPTION]...\n"
               "Guard the corn field from crows, pelicans and cows.\n"
               "Without a mode option, a chooser asks for the screen mode first.\n\n");
  for (const CommandOption& command : commandOptions) {
    char left[40];
    const bool takesValue = command.entry.has_arg != no_argument;
    if (command.entry.val < 256) {
      std::snprintf(left, sizeof(left), "-%c, --%s%s%s", command.entry.val, command.entry.name,
                    takesValue ? " " : "", command.valueName);
    } else {
      std::snprintf(left, sizeof(left), "    --%s%s%s", command.entry.name, takesValue ? " " : "",
                    command.valueName);
    }
    std::fprintf(out, "  %-24s %s\n", left, command.help);
  }
  std::fprintf(out,
               "\nIn play: arrows walk, Ctrl shouts, Shift spends a mask, Escape goes back, Alt+Enter\n"
               "or F11 toggles full screen. See cornkeeper(6).\n");
}

int usageError() {
  printUsage(stderr);
  return exitUsage;
}
}  // namespace

int main(int argc, char** argv) {
  option longOptions[commandOptionCount + 1] = {};
  char shortOptions[2 * commandOptionCount + 2] = ":";  // the leading ':' tells a missing value apart
  for (int i = 0; i < commandOptionCount; ++i) {
    longOptions[i] = commandOptions[i].entry;
    if (commandOptions[i].entry.val < 256) {
      const char shortName[3] = {static_cast<char>(commandOptions[i].entry.val),
                                 commandOptions[i].entry.has_arg != no_argument ? ':' : '\0', '\0'};
      std::strcat(shortOptions, shortName);
    }
  }

  LaunchOptions launch;
  launch.argv0 = argc > 0 ? argv[0] : nullptr;
  launch.version = CORNKEEPER_VERSION;
  opterr = 0;  // the complaints below are ours: one line, then the usage
  int id = 0;
  while ((id = getopt_long(argc, argv, shortOptions, longOptions, nullptr)) != -1) {
    if (id == OptHelp) {
      printUsage(stdout);
      return 0;
    }
    if (id == OptVersion) {
      std::printf("cornkeeper %s\n", CORNKEEPER_VERSION);
      return 0;
    }
    if (id == '?' || id == ':') {
      std::fprintf(
          stderr, id == ':' ? "cornkeeper: option '%s' needs a value\n" : "cornkeeper: unknown option '%s'\n",
          argv[optind - 1]);
      return usageError();
    }
    for (const CommandOption& command : commandOptions) {
      if (command.entry.val != id || !command.apply) continue;
      if (!command.apply(launch, optarg)) {
        std::fprintf(stderr, "cornkeeper: bad value '%s' for --%s\n", optarg ? optarg : "",
                     command.entry.name);
        return usageError();
      }
    }
  }
  if (optind < argc) {
    std::fprintf(stderr, "cornkeeper: unexpected argument '%s'\n", argv[optind]);
    return usageError();
  }
  if (launch.recordPath && launch.playPath) {
    std::fprintf(stderr, "cornkeeper: --record and --play cannot go together\n");
    return usageError();
  }
  if (launch.fast && !launch.playPath) {
    std::fprintf(stderr, "cornkeeper: --fast goes with --play\n");
    return usageError();
  }
  return runGame(launch);
}
