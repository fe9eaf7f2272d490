// The platform boundary: clock, seed timer, error box and data files.
// Game code reads time only through here, so the offscreen harness can drive it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Milliseconds of the system tick counter (wraps at 2^32).
uint32_t platformTicks();
// Milliseconds of the timer used to seed the random generator.
uint32_t platformTimerMs();

// Replaces both clocks with virtual ones (harness, tests): the tick counter reads what
// platformSetVirtualTime set, the seed timer what platformSetVirtualTimer set.
void platformUseVirtualClock(bool enabled);
void platformSetVirtualTime(uint32_t ms);
void platformSetVirtualTimer(uint32_t ms);

// A start-up failure: an "Error" message box where a display exists, and the text on stderr.
void platformShowError(const char* text);
// Turns off message boxes (harness, tests): the text still goes to stderr.
void platformSetErrorBoxesEnabled(bool enabled);

// Opens a data file named as the game stores it ("graphics\\grass.tga"); backslashes become '/'.
FILE* platformOpenDataFile(const char* name, const char* mode);

// Changes to the folder that holds graphics/ and sound/: the working folder, the folder of the
// executable, or the installed data folder. Returns false when none has them; every folder
// looked in is then added to searched (one a line) when given.
bool platformFindDataFolder(const char* argv0, std::string* searched = nullptr);
