#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "days/day_director.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/scarecrow.h"
#include "screens/store.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;

void clearField() {
  for (int i = 0; i < CrowFlock::capacity; ++i) CrowFlock::crow(i).state = CrowState::Free;
  for (int i = 0; i < PelicanFlock::capacity; ++i) PelicanFlock::pelican(i).state = PelicanState::Free;
  for (int i = 0; i < CowHerd::capacity; ++i) CowHerd::cow(i).active = 0;
}

int creatureCount() {
  return CrowFlock::countInUse() + PelicanFlock::countInUse() + CowHerd::countInUse();
}

class DayDirectorTest : public testing::Test {
 protected:
  void SetUp() override {
    DayDirector::resetForTests();
    Scarecrow::load();
    CrowFlock::load();
    PelicanFlock::load();
    CowHerd::load();
    clearPlayedClips();
  }
  void TearDown() override {
    Store::unload();
    CowHerd::unload();
    PelicanFlock::unload();
    CrowFlock::unload();
    Scarecrow::unload();
    DayDirector::resetForTests();
  }

  static void startAt(int startingDayPresses) {
    for (int i = 0; i < startingDayPresses; ++i) DayDirector::stepStartingDay();
    DayDirector::beginGame();
    DayDirector::startDay();
  }
  // Runs the current day to its end, sending every creature away once its time is up.
  // Reports whether the store opened for the next day.
  static bool playThroughDay() {
    Store::unload();
    const int day = DayDirector::day();
    for (int guard = 0; DayDirector::day() == day && guard < 10000; ++guard) {
      if (DayDirector::ticksToday() + 1 >= DayDirector::dayLength()) clearField();
      DayDirector::tick();
    }
    EXPECT_EQ(DayDirector::day(), day + 1);
    clearField();
    return Store::isLoaded();
  }
  static void playTo(int day) {
    while (DayDirector::day() < day) playThroughDay();
  }
  // The running ticks of today at which a spawn event brought something, up to `lastTick`.
  static std::vector<int> spawnTicks(int lastTick) {
    std::vector<int> ticks;
    while (DayDirector::ticksToday() < lastTick) {
      const int before = creatureCount();
      DayDirector::tick();
      if (creatureCount() != before) ticks.push_back(DayDirector::ticksToday());
    }
    return ticks;
  }
  // Ticks until the next spawn event is due on the following tick.
  static void toEventEve() {
    while (DayDirector::spawnCountdown() > 1) DayDirector::tick();
  }
};

// The two title settings and their wrap are followed through the title screen's buttons (title tests).
TEST_F(DayDirectorTest, FirstDaySpawnsOneCrowEveryHundredFiftyTicksFromSixtyThenWaitsForTheLastCreature) {
  startAt(0);
  std::vector<int> expected;
  for (int t = 60; t < 1800; t += 150) expected.push_back(t);
  EXPECT_EQ(spawnTicks(1800), expected);
  const int events = static_cast<int>(expected.size());
  EXPECT_EQ(make_tuple(countPlayed("sound\\crow_go.wav"), CrowFlock::countInUse()),
            make_tuple(events, events));
  EXPECT_TRUE(spawnTicks(2300).empty());
  // The countdown went on cycling (1860, 2010, 2160) while the crows held the day open.
  EXPECT_EQ(make_tuple(CrowFlock::countInUse(), DayDirector::day(), DayDirector::spawnCountdown()),
            make_tuple(events, 0, 10));

  // A pelican or a cow alone still holds the day open.
  clearField();
  PelicanFlock::pelican(3).state = PelicanState::Flying;
  DayDirector::tick();
  clearField();
  CowHerd::cow(15).active = 1;
  DayDirector::tick();
  EXPECT_EQ(DayDirector::day(), 0);
  clearField();
  DayDirector::tick();
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::ticksToday(), DayDirector::spawnCountdown(),
                       DayDirector::spawnInterval(), Store::isLoaded()),
            make_tuple(1, 0, 60, 148, true));
}

TEST_F(DayDirectorTest, StartingADayThenNoEventOnTick1800AndIntervalsShrinkToOne) {
  startAt(6);
  Scarecrow::state().x = 10;
  KeyState::keyDown(vkControl);
  KeyState::keyUp(vkControl);
  DayDirector::startDay();
  EXPECT_EQ(make_tuple(DayDirector::day(), KeyState::wasPressed(vkControl), Store::isLoaded(),
                       DayDirector::dayLength(), DayDirector::ticksToday(), DayDirector::spawnCountdown(),
                       DayDirector::spawnInterval(), Scarecrow::state().x),
            make_tuple(60, false, false, 1800, 0, 60, 30, 320.0f));  // the first day has no store
  EXPECT_FLOAT_EQ(DayDirector::creatureSpeedFactor(), 60 * 0.05f + 0.2f);

  // Every 30 ticks from 60, so an event falls due on tick 1800.
  while (DayDirector::ticksToday() < 1769) DayDirector::tick();
  uint32_t before = randomState();
  DayDirector::tick();
  EXPECT_NE(randomState(), before);  // the event of tick 1770 drew its numbers
  while (DayDirector::ticksToday() < 1799) DayDirector::tick();
  clearField();
  before = randomState();
  ASSERT_EQ(DayDirector::spawnCountdown(), 1);
  DayDirector::tick();
  EXPECT_EQ(randomState(), before);
  EXPECT_EQ(DayDirector::day(), 61);  // the field was clear, so the day ended on its first tick >= 1800

  playTo(74);
  EXPECT_EQ(DayDirector::spawnInterval(), 2);
  EXPECT_FLOAT_EQ(DayDirector::creatureSpeedFactor(), 74 * 0.05f + 0.2f);
  for (int day : {75, 76}) {
    playTo(day);
    EXPECT_EQ(DayDirector::spawnInterval(), 1) << day;
  }
}

TEST_F(DayDirectorTest, KindsOfDaysAndTheirSpawns) {
  startAt(0);
  const std::pair<int, DayKind> cases[] = {
      {4, DayKind::Scurvy}, {9, DayKind::Moomania}, {14, DayKind::Scurvy}, {19, DayKind::Moomania}};
  for (const auto& [day, kind] : cases) {
    SCOPED_TRACE(day);
    if (day == 9) {  // on the way: an early ordinary day (index 5) brings one creature an event
      playTo(5);
      for (int event = 0; event < 11; ++event) {
        clearField();
        toEventEve();
        DayDirector::tick();
        EXPECT_EQ(creatureCount(), 1) << event;
      }
      clearField();
    }
    playTo(day);
    EXPECT_EQ(DayDirector::kind(), kind);
    const bool scurvy = kind == DayKind::Scurvy;
    for (int event = 0; event < 5; ++event) {  // one of the day's own creatures an event, never a crow
      toEventEve();
      const int pelicans = PelicanFlock::countInUse(), cows = CowHerd::countInUse();
      clearPlayedClips();
      DayDirector::tick();
      EXPECT_EQ(make_tuple(PelicanFlock::countInUse() - pelicans, CowHerd::countInUse() - cows,
                           CrowFlock::countInUse(),
                           countPlayed(scurvy ? "sound\\peli_go.wav" : "sound\\cow_hello.wav")),
                make_tuple(scurvy ? 1 : 0, scurvy ? 0 : 1, 0, 1));  // announced
    }
    // With the family's table full the event draws nothing at all.
    for (int s = 0; s < PelicanFlock::capacity; ++s) PelicanFlock::pelican(s).state = PelicanState::Flying;
    for (int s = 0; s < CowHerd::capacity; ++s) CowHerd::cow(s).active = 1;
    toEventEve();
    const uint32_t before = randomState();
    DayDirector::tick();
    EXPECT_EQ(randomState(), before);
    clearField();
  }
}

TEST_F(DayDirectorTest, OrdinaryEventsFollowTheirDrawsInOrder) {
  startAt(2);  // day index 20: pelicans, cows and up to three crows are possible
  const int day = DayDirector::day();
  int outcomes[5] = {};  // pelican, cow, one, two, three crows
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    clearField();
    DayDirector::startDay();
    toEventEve();
    // The rule's own draws; a crow that comes takes three draws of its own (edge, place, heading).
    seedRandom(seed);
    int expected = randomInt(500) < day ? 0 : randomInt(1000) < day ? 1 : -1;
    if (expected < 0) {
      const bool third = randomInt(day + 1) > 10;
      for (int d = 0; third && d < 3; ++d) randomInt(2);
      expected = 2 + (third ? 1 : 0) + (randomInt(day + 1) > 5 ? 1 : 0);
    }
    seedRandom(seed);
    DayDirector::tick();
    const int crows = CrowFlock::countInUse();
    const int got = PelicanFlock::countInUse() == 1 ? 0 : CowHerd::countInUse() == 1 ? 1 : crows + 1;
    EXPECT_EQ(got, expected) << seed;
    EXPECT_EQ(PelicanFlock::countInUse() + CowHerd::countInUse() + (crows > 0 ? 1 : 0), 1) << seed;
    ++outcomes[got];
  }
  EXPECT_TRUE(outcomes[2] > 0 && outcomes[3] > 0 && outcomes[4] > 0);
}

TEST_F(DayDirectorTest, TurningBackTimeOnDaysTwelveAndFourteen) {
  startAt(1);
  while (DayDirector::day() < 12) EXPECT_TRUE(playThroughDay());
  DayDirector::turnBackTime();
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::dayLength(), DayDirector::ticksToday(),
                       DayDirector::spawnInterval(), DayDirector::spawnCountdown(), DayDirector::kind()),
            make_tuple(5, 300, 0, 130, 60, DayKind::Ordinary));
  EXPECT_FLOAT_EQ(DayDirector::creatureSpeedFactor(), 5 * 0.05f + 0.2f);
  EXPECT_EQ(spawnTicks(299), (std::vector<int>{60, 190}));
  clearField();
  DayDirector::tick();
  EXPECT_EQ(DayDirector::day(), 6);
  // Below the starting day no store opens until the days pass it again.
  Store::unload();
  std::vector<bool> stores;
  while (DayDirector::day() < 12) stores.push_back(playThroughDay());
  EXPECT_EQ(stores, (std::vector<bool>{false, false, false, false, true, true}));

  // The short day keeps the kind of the day it was bought on.
  playTo(14);
  ASSERT_EQ(DayDirector::kind(), DayKind::Scurvy);
  DayDirector::turnBackTime();
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::kind(), DayDirector::spawnInterval()),
            make_tuple(7, DayKind::Scurvy, 110));
  spawnTicks(61);
  EXPECT_EQ(make_tuple(PelicanFlock::countInUse(), CrowFlock::countInUse()), make_tuple(1, 0));

  // Out of range: turning back from below day 7 stops at the first day.
  DayDirector::resetForTests();
  startAt(0);
  DayDirector::turnBackTime();
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::spawnInterval()), make_tuple(0, 180));
}

TEST_F(DayDirectorTest, AGameStartedOnDayHundredOneOpensTheStoreBeforeTheNextAndDaysCountPast255) {
  startAt(10);
  EXPECT_EQ(make_tuple(DayDirector::day(), Store::isLoaded()), make_tuple(100, false));
  EXPECT_TRUE(playThroughDay());
  playTo(254);
  EXPECT_EQ(DayDirector::kind(), DayKind::Scurvy);  // shown day 255
  EXPECT_TRUE(playThroughDay());
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::kind()), make_tuple(255, DayKind::Ordinary));
  EXPECT_TRUE(playThroughDay());  // a wrap to day 0 would fall below the starting day and skip the store
  playTo(259);
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::kind(), DayDirector::spawnInterval(),
                       DayDirector::dayLength()),
            make_tuple(259, DayKind::Moomania, 1, 1800));  // shown day 260
  EXPECT_FLOAT_EQ(DayDirector::creatureSpeedFactor(), 259 * 0.05f + 0.2f);
}

}  // namespace
