#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "days/day_director.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;
namespace Day = DayDirector;

class DayDirectorTest : public testing::Test {
 protected:
  void SetUp() override {
    for (auto step : {Day::resetForTests, Scarecrow::load, CrowFlock::load, PelicanFlock::load, CowHerd::load,
                      clearPlayedClips})
      step();
  }
  void TearDown() override {
    for (auto unload : {CowHerd::unload, PelicanFlock::unload, CrowFlock::unload, Scarecrow::unload})
      unload();
  }

  static void clearField() {
    for (int i = 0; i < CrowFlock::capacity; ++i) CrowFlock::crow(i).state = CrowState::Free;
    for (int i = 0; i < PelicanFlock::capacity; ++i) PelicanFlock::pelican(i).state = PelicanState::Free;
    for (int i = 0; i < CowHerd::capacity; ++i) CowHerd::cow(i).active = 0;
  }
  static int creatureCount() {
    return CrowFlock::countInUse() + PelicanFlock::countInUse() + CowHerd::countInUse();
  }
  static void startAt(int startingDayPresses) {
    for (int i = 0; i < startingDayPresses; ++i) Day::stepStartingDay();
    Day::beginGame();
    Day::startDay();
  }
  // Ticks once and, as the driver does, starts the next day when this one reports its end.
  // Reports whether a store visit comes before the new day.
  static bool tickAndFollow(bool& ended) {
    ended = Day::tick();
    return ended && Day::nextDay();
  }
  // Runs the current day to its end, sending every creature away once its time is up.
  static bool playThroughDay() {
    const int day = Day::day();
    bool ended = false, store = false;
    for (int guard = 0; !ended && guard < 10000; ++guard) {
      if (Day::ticksToday() + 1 >= Day::dayLength()) clearField();
      store = tickAndFollow(ended);
    }
    EXPECT_EQ(Day::day(), day + 1);
    clearField();
    return store;
  }
  // The running ticks of today at which a spawn event brought something, up to `lastTick`.
  static std::vector<int> spawnTicks(int lastTick) {
    std::vector<int> ticks;
    while (Day::ticksToday() < lastTick) {
      const int before = creatureCount();
      Day::tick();
      if (creatureCount() != before) ticks.push_back(Day::ticksToday());
    }
    return ticks;
  }
};

// The two title settings and their wrap are followed through the title screen's buttons (title tests).
TEST_F(DayDirectorTest, FirstDaySpawnsOneCrowEveryHundredFiftyTicksFromSixtyThenWaitsForTheLastCreature) {
  startAt(0);
  EXPECT_EQ(spawnTicks(1800),
            (std::vector<int>{60, 210, 360, 510, 660, 810, 960, 1110, 1260, 1410, 1560, 1710}));
  EXPECT_EQ(make_tuple(countPlayed("sound\\crow_go.wav"), CrowFlock::countInUse()), make_tuple(12, 12));
  // No more spawns; the countdown went on cycling (1860, 2010, 2160) while the crows held the day open.
  EXPECT_TRUE(spawnTicks(2300).empty());
  EXPECT_EQ(make_tuple(Day::day(), Day::spawnCountdown()), make_tuple(0, 10));

  for (int alone = 0; alone < 3; ++alone) {  // a pelican or a cow alone still holds the day open
    clearField();
    if (alone == 0) PelicanFlock::pelican(3).state = PelicanState::Flying;
    CowHerd::cow(15).active = alone == 1;
    bool ended = false;
    const bool store = tickAndFollow(ended);
    EXPECT_EQ(make_tuple(ended, store, Day::day()), make_tuple(alone == 2, alone == 2, alone / 2)) << alone;
  }
  EXPECT_EQ(Day::spawnInterval(), 148);
  // Up to index 5 an ordinary event brings exactly one creature: 13 of them at 60, 200, ... 1740.
  while (Day::day() < 5) playThroughDay();
  spawnTicks(1800);
  EXPECT_EQ(creatureCount(), 13);
}

TEST_F(DayDirectorTest, AGameStartedOnDayHundredOneHasNoEventOnTick1800AndCountsDaysPast255) {
  startAt(10);
  Scarecrow::testing::state().x = 10;
  KeyState::keyDown(vkControl);
  KeyState::keyUp(vkControl);
  Day::startDay();
  EXPECT_EQ(make_tuple(Day::day(), KeyState::wasPressed(vkControl), Day::dayLength(), Day::ticksToday(),
                       Day::spawnCountdown(), Day::spawnInterval(), Scarecrow::testing::state().x),
            make_tuple(100, false, 1800, 0, 60, 1, 320.0f));
  EXPECT_FLOAT_EQ(Day::creatureSpeedFactor(), 100 * 0.05f + 0.2f);

  // An event falls due on every tick, tick 1800 too, and that one draws nothing.
  while (Day::ticksToday() < 1799) Day::tick();
  clearField();
  const uint32_t before = randomState();
  bool ended = false;
  const bool store = tickAndFollow(ended);
  // The field was clear, so the day ended on its first tick >= 1800, and the store comes before the next.
  EXPECT_EQ(make_tuple(randomState(), ended, Day::day(), store), make_tuple(before, true, 101, true));
  while (Day::day() < 255) playThroughDay();
  EXPECT_TRUE(playThroughDay());  // a wrap to day 0 would fall below the starting day and skip the store
  EXPECT_FLOAT_EQ(Day::creatureSpeedFactor(), 256 * 0.05f + 0.2f);

  // The spawn interval shrinks by 2 a day down to 1.
  Day::resetForTests();
  startAt(7);
  while (Day::day() < 74) playThroughDay();
  EXPECT_EQ(Day::spawnInterval(), 2);
  playThroughDay();
  EXPECT_EQ(Day::spawnInterval(), 1);
}

TEST_F(DayDirectorTest, KindsOfDaysAndTheirSpawns) {
  startAt(0);
  for (int day : {4, 9, 14, 19}) {  // shown days 5 and 15 bring pelicans, 10 and 20 cows
    while (Day::day() < day) playThroughDay();
    clearPlayedClips();
    spawnTicks(60);  // one of the day's own creatures, announced, never a crow
    const bool scurvy = day % 10 == 4;
    EXPECT_EQ(
        make_tuple(Day::kind(), PelicanFlock::countInUse(), CowHerd::countInUse(), CrowFlock::countInUse(),
                   countPlayed(scurvy ? "sound\\peli_go.wav" : "sound\\cow_hello.wav")),
        make_tuple(scurvy ? DayKind::Scurvy : DayKind::Moomania, int(scurvy), int(!scurvy), 0, 1));
    // With the family's table full the next event draws nothing at all.
    for (int s = 0; s < PelicanFlock::capacity; ++s) PelicanFlock::pelican(s).state = PelicanState::Flying;
    for (int s = 0; s < CowHerd::capacity; ++s) CowHerd::cow(s).active = 1;
    spawnTicks(59 + Day::spawnInterval());
    const uint32_t before = randomState();
    Day::tick();
    EXPECT_EQ(randomState(), before);
  }
}

TEST_F(DayDirectorTest, OrdinaryEventsFollowTheirDrawsInOrder) {
  startAt(2);  // day index 20: pelicans, cows and up to three crows are possible
  const int day = Day::day();
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    clearField();
    Day::startDay();
    spawnTicks(59);
    // The rule's own draws; a crow that comes takes three draws of its own (edge, place, heading).
    seedRandom(seed);
    const int pelican = randomInt(500) < day, cow = !pelican && randomInt(1000) < day;
    const bool third = !pelican && !cow && randomInt(day + 1) > 10;
    for (int d = 0; third && d < 3; ++d) randomInt(2);
    const int crows = pelican || cow ? 0 : 1 + third + (randomInt(day + 1) > 5);
    seedRandom(seed);
    Day::tick();
    EXPECT_EQ(make_tuple(PelicanFlock::countInUse(), CowHerd::countInUse(), CrowFlock::countInUse()),
              make_tuple(pelican, cow, crows))
        << seed;
  }
}

TEST_F(DayDirectorTest, TurningBackTimeOnDaysTwelveAndFourteen) {
  startAt(1);
  while (Day::day() < 12) EXPECT_TRUE(playThroughDay());
  Day::turnBackTime();
  EXPECT_EQ(make_tuple(Day::day(), Day::dayLength(), Day::spawnInterval()), make_tuple(5, 300, 130));
  EXPECT_FLOAT_EQ(Day::creatureSpeedFactor(), 5 * 0.05f + 0.2f);
  EXPECT_EQ(spawnTicks(299), (std::vector<int>{60, 190}));
  // Below the starting day no store opens until the days pass it again.
  std::vector<bool> stores;
  while (Day::day() < 12) stores.push_back(playThroughDay());
  EXPECT_EQ(stores, (std::vector<bool>{false, false, false, false, false, true, true}));

  // The short day keeps the kind of the day it was bought on.
  while (Day::day() < 14) playThroughDay();
  Day::turnBackTime();
  EXPECT_EQ(make_tuple(Day::day(), Day::kind(), Day::spawnInterval()), make_tuple(7, DayKind::Scurvy, 110));
  spawnTicks(61);
  EXPECT_EQ(make_tuple(PelicanFlock::countInUse(), CrowFlock::countInUse()), make_tuple(1, 0));

  // Out of range: turning back from below day 7 stops at the first day.
  Day::resetForTests();
  startAt(0);
  Day::turnBackTime();
  EXPECT_EQ(make_tuple(Day::day(), Day::spawnInterval()), make_tuple(0, 180));
}

}  // namespace
