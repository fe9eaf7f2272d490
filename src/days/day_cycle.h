// The dawn intro of every day, the world light level, and the game-over presentation.
#pragma once

#include <cstdint>

enum class DayPhase : uint8_t {
  RoosterRise = 0,
  SunRise = 1,
  DayTitleIn = 2,
  DayTitleHold = 3,
  DayRunning = 4,
};

namespace DayCycle {
void load(int dayIndex);
void unload();
void tick();
void tickGameOver();
bool isDayRunning();
float lightLevel();
void draw();
void drawGameOver();
DayPhase phase();
bool isLoaded();

// Read by tests and the harness.
int shownDay();
float roosterY();
float sunY();
float sunVelocity();
float sunAngle();
float titleAlpha();
float titleX();  // right edge of the day title: keeps word and number centred as digits grow
}  // namespace DayCycle
