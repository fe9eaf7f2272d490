// The progression of a game: which day it is, its length, spawning, and the title's two settings.
#pragma once

#include <cstdint>

enum class DayKind : uint8_t {
  Ordinary = 0,
  Scurvy = 1,
  Moomania = 2,
};

namespace DayDirector {
void beginGame();
void stepStartingDay();
void cycleStartingCorn();
int startingDay();
int startingCorn();
// A demo's title settings; values the title could not have chosen leave the settings as they are.
void restoreStartingSettings(int day, int corn);
void startDay();
bool tick();     // true once the day's time is up and the field is clear
bool nextDay();  // starts the day after; true when a store visit comes first
int day();       // day index; the player is shown day() + 1
DayKind kind();
float creatureSpeedFactor();
void turnBackTime();

int ticksToday();
int dayLength();
int spawnInterval();
int spawnCountdown();
void resetForTests();  // program-start values
}  // namespace DayDirector
