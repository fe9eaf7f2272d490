#include "days/day_director.h"

#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/scarecrow.h"
#include "shell/key_state.h"
#include "shell/numeric.h"

namespace {
constexpr int fullDayLength = 1800;
constexpr int firstSpawnTick = 60;
constexpr int baseSpawnInterval = 150;
constexpr int spawnIntervalPerDay = 2;
constexpr int minSpawnInterval = 1;
constexpr float baseSpeedFactor = 0.2f;
constexpr float speedFactorPerDay = 0.05f;

constexpr int scurvyEvery = 5;     // every fifth shown day brings pelicans
constexpr int moomaniaEvery = 10;  // every tenth brings cows instead

// The ordinary spawn rule: rare pelicans and cows, and more crows as the days go by.
constexpr int pelicanFromDay = 4;
constexpr int pelicanOdds = 500;
constexpr int cowFromDay = 9;
constexpr int cowOdds = 1000;
constexpr int thirdCrowAbove = 10;
constexpr int secondCrowAbove = 5;

// Turning back time: a short day, seven days earlier, with a gentler spawn rhythm.
constexpr int daysTurnedBack = 7;
constexpr int turnedBackDayLength = 300;
constexpr int turnedBackBaseInterval = 180;
constexpr int turnedBackIntervalPerDay = 10;

constexpr int startingDayStep = 10;
constexpr int lastStartingDay = 100;
constexpr int fewestEars = 1;
constexpr int mostEars = 3;

// Day indices are counted in int: a long game never wraps back to an early day.
int dayIndex = 0;
int firstDay = 0;
int earsPerStalk = fewestEars;
DayKind dayKind = DayKind::Ordinary;
int ticks = 0;
int length = 0;
int interval = 0;
int countdown = 0;
float speedFactor = 0;

float speedFactorFor(int day) {
  return static_cast<float>(day) * speedFactorPerDay + baseSpeedFactor;
}

int atLeastOne(int value) {
  return value < minSpawnInterval ? minSpawnInterval : value;
}

DayKind kindOf(int day) {
  const int shown = day + 1;
  if (shown % scurvyEvery != 0) return DayKind::Ordinary;
  if (shown % moomaniaEvery != 0) return DayKind::Scurvy;
  return DayKind::Moomania;
}

void ordinarySpawn() {
  if (dayIndex >= pelicanFromDay && randomInt(pelicanOdds) < dayIndex) {
    PelicanFlock::spawn(true);
    return;
  }
  if (dayIndex >= cowFromDay && randomInt(cowOdds) < dayIndex) {
    CowHerd::spawn(true);
    return;
  }
  if (randomInt(dayIndex + 1) > thirdCrowAbove) CrowFlock::spawn(true);
  if (randomInt(dayIndex + 1) > secondCrowAbove) CrowFlock::spawn(true);
  CrowFlock::spawn(true);
}

void spawnEvent() {
  switch (dayKind) {
    case DayKind::Scurvy:
      PelicanFlock::spawn(true);
      break;
    case DayKind::Moomania:
      CowHerd::spawn(true);
      break;
    case DayKind::Ordinary:
    default:
      ordinarySpawn();
      break;
  }
}

bool fieldIsClear() {
  return CrowFlock::isEmpty() && PelicanFlock::isEmpty() && CowHerd::isEmpty();
}
}  // namespace

void DayDirector::beginGame() {
  dayIndex = firstDay;
}

void DayDirector::stepStartingDay() {
  firstDay += startingDayStep;
  if (firstDay > lastStartingDay) firstDay = 0;
}

void DayDirector::cycleStartingCorn() {
  earsPerStalk += 1;
  if (earsPerStalk > mostEars) earsPerStalk = fewestEars;
}

int DayDirector::startingDay() {
  return firstDay;
}

int DayDirector::startingCorn() {
  return earsPerStalk;
}

void DayDirector::restoreStartingSettings(int day, int corn) {
  if (day >= 0 && day <= lastStartingDay && day % startingDayStep == 0) firstDay = day;
  if (corn >= fewestEars && corn <= mostEars) earsPerStalk = corn;
}

void DayDirector::startDay() {
  KeyState::clearPressed();
  length = fullDayLength;
  ticks = 0;
  speedFactor = speedFactorFor(dayIndex);
  interval = atLeastOne(baseSpawnInterval - spawnIntervalPerDay * dayIndex);
  dayKind = kindOf(dayIndex);
  countdown = firstSpawnTick;
  Scarecrow::startDay();
}

bool DayDirector::tick() {
  ticks += 1;
  countdown -= 1;
  if (countdown <= 0) {
    if (ticks < length) spawnEvent();
    countdown = interval;  // keeps cycling after the day's time is up
  }
  return ticks >= length && fieldIsClear();
}

bool DayDirector::nextDay() {
  dayIndex += 1;
  startDay();
  return dayIndex > firstDay;  // none before the first day of a game, nor below it after turning back time
}

int DayDirector::day() {
  return dayIndex;
}

DayKind DayDirector::kind() {
  return dayKind;
}

float DayDirector::creatureSpeedFactor() {
  return speedFactor;
}

void DayDirector::turnBackTime() {
  // The store offers this only from day index 7; an earlier call stops at the first day.
  dayIndex = dayIndex >= daysTurnedBack ? dayIndex - daysTurnedBack : 0;
  length = turnedBackDayLength;
  ticks = 0;
  speedFactor = speedFactorFor(dayIndex);
  interval = atLeastOne(turnedBackBaseInterval - turnedBackIntervalPerDay * dayIndex);
  countdown = firstSpawnTick;
}

int DayDirector::ticksToday() {
  return ticks;
}

int DayDirector::dayLength() {
  return length;
}

int DayDirector::spawnInterval() {
  return interval;
}

int DayDirector::spawnCountdown() {
  return countdown;
}

void DayDirector::resetForTests() {
  dayIndex = 0;
  firstDay = 0;
  earsPerStalk = fewestEars;
  dayKind = DayKind::Ordinary;
  ticks = 0;
  length = 0;
  interval = 0;
  countdown = 0;
  speedFactor = 0;
}
