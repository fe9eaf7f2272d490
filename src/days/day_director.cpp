// Placeholder: replaced by the real module.
#include "days/day_director.h"

void DayDirector::beginGame() {}
void DayDirector::stepStartingDay() {}
void DayDirector::cycleStartingCorn() {}
int DayDirector::startingDay() { return {}; }
int DayDirector::startingCorn() { return {}; }
void DayDirector::startDay() {}
void DayDirector::tick() {}
int DayDirector::day() { return {}; }
DayKind DayDirector::kind() { return {}; }
float DayDirector::creatureSpeedFactor() { return {}; }
void DayDirector::turnBackTime() {}
int DayDirector::ticksToday() { return {}; }
int DayDirector::dayLength() { return {}; }
int DayDirector::spawnInterval() { return {}; }
int DayDirector::spawnCountdown() { return {}; }
void DayDirector::resetForTests() {}
