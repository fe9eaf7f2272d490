// The program's entry and its only loop.
#pragma once

#include <cstdint>

// What the command line settled before anything opens.
struct LaunchOptions {
  const char* argv0 = nullptr;
  bool chooseMode = true;  // the start-up chooser asks unless a mode option already answered
  int32_t width = 640;
  int32_t height = 480;
  int32_t fullScreen = 0;
  const char* version = "unknown";
  const char* recordPath = nullptr;  // the game is written to this demo
  const char* playPath = nullptr;    // this demo is played back instead of the player's keys
  bool fast = false;                 // playback draws frames as fast as it can
  const char* tracePath = nullptr;   // one CSV row of the game's state per frame
};

int runGame(const LaunchOptions& launch);

// Milliseconds since the previous frame, in unsigned arithmetic so the counter's wrap is harmless.
inline uint32_t frameElapsed(uint32_t nowMs, uint32_t lastMs) {
  return nowMs - lastMs;
}

// Fills the record with its defaults before the chooser and the window see it.
void prepareAppWindow(struct AppWindow& window, struct AppRecord& app);

// Shows the start-up chooser; it writes the four mode fields. Defaults stand when it cannot show.
// False when the player closed it instead of choosing: the program ends.
bool runModeChooser(struct AppWindow& window);
