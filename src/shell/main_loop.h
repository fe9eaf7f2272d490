// The program's entry and its only loop.
#pragma once

#include <cstdint>

int runGame(int argc, char** argv);

// Milliseconds since the previous frame, in unsigned arithmetic so the counter's wrap is harmless.
inline uint32_t frameElapsed(uint32_t nowMs, uint32_t lastMs) {
  return nowMs - lastMs;
}

// Fills the record with its defaults before the chooser and the window see it.
void prepareAppWindow(struct AppWindow& window, struct AppRecord& app);

// Shows the start-up chooser; it writes the four mode fields. Defaults stand when it cannot show.
// False when the player closed it instead of choosing: the program ends.
bool runModeChooser(struct AppWindow& window);
