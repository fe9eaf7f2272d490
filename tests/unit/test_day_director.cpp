#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "days/day_director.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "screens/store.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;

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

  static void clearField() {
    for (int i = 0; i < CrowFlock::capacity; ++i) CrowFlock::crow(i).state = CrowState::Free;
    for (int i = 0; i < PelicanFlock::capacity; ++i) PelicanFlock::pelican(i).state = PelicanState::Free;
    for (int i = 0; i < CowHerd::capacity; ++i) CowHerd::cow(i).active = 0;
  }

  static int creatureCount() {
    return CrowFlock::countInUse() + PelicanFlock::countInUse() + CowHerd::countInUse();
  }

  static void startGameAt(int startingDayPresses) {
    for (int i = 0; i < startingDayPresses; ++i) DayDirector::stepStartingDay();
    DayDirector::beginGame();
    DayDirector::startDay();
  }

  // Runs the current day to its end, sending every creature away once its time is up.
  // Reports whether the store opened for the next day.
  static bool playThroughDay() {
    Store::unload();
    const int day = DayDirector::day();
    int guard = 0;
    while (DayDirector::day() == day && guard++ < 10000) {
      if (DayDirector::ticksToday() + 1 >= DayDirector::dayLength()) clearField();
      DayDirector::tick();
    }
    EXPECT_EQ(DayDirector::day(), day + 1);
    clearField();
    return Store::isLoaded();
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
};

TEST_F(DayDirectorTest, ProgramStartValuesAndSettings) {
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::startingDay(), DayDirector::startingCorn(),
                       DayDirector::kind(), DayDirector::spawnInterval()),
            make_tuple(0, 0, 1, DayKind::Ordinary, 0));

  std::vector<int> days;
  for (int i = 0; i < 11; ++i) {
    DayDirector::stepStartingDay();
    days.push_back(DayDirector::startingDay());
  }
  EXPECT_EQ(days, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0}));

  std::vector<int> corn;
  for (int i = 0; i < 4; ++i) {
    DayDirector::cycleStartingCorn();
    corn.push_back(DayDirector::startingCorn());
  }
  EXPECT_EQ(corn, (std::vector<int>{2, 3, 1, 2}));
}

TEST_F(DayDirectorTest, StartingADayPreparesItAndClearsUnreadPresses) {
  startGameAt(3);
  EXPECT_EQ(DayDirector::day(), 30);
  Scarecrow::state().x = 10;
  KeyState::keyDown(vkControl);
  KeyState::keyUp(vkControl);
  DayDirector::startDay();
  EXPECT_FALSE(KeyState::wasPressed(vkControl));
  EXPECT_FALSE(Store::isLoaded());  // the first day of a game has no store
  EXPECT_EQ(make_tuple(DayDirector::dayLength(), DayDirector::ticksToday(), DayDirector::spawnCountdown(),
                       DayDirector::spawnInterval(), Scarecrow::state().x),
            make_tuple(1800, 0, 60, 90, 320.0f));
  EXPECT_FLOAT_EQ(DayDirector::creatureSpeedFactor(), 30 * 0.05f + 0.2f);
}

TEST_F(DayDirectorTest, FirstDaySpawnsOneCrowEveryHundredFiftyTicksFromSixtyThenWaitsForTheLastCreature) {
  startGameAt(0);
  EXPECT_EQ(DayDirector::spawnInterval(), 150);
  std::vector<int> expected;
  for (int t = 60; t < 1800; t += 150) expected.push_back(t);
  EXPECT_EQ(spawnTicks(1800), expected);
  const int events = static_cast<int>(expected.size());
  EXPECT_EQ(make_tuple(countPlayed("sound\\crow_go.wav"), CrowFlock::countInUse()),
            make_tuple(events, events))
      << "one crow an event";
  EXPECT_TRUE(spawnTicks(2300).empty());
  EXPECT_EQ(make_tuple(CrowFlock::countInUse(), DayDirector::day()), make_tuple(events, 0));
  // The countdown went on cycling: the suppressed events fell on 1860, 2010 and 2160.
  EXPECT_EQ(DayDirector::spawnCountdown(), 2310 - 2300);

  // A pelican or a cow alone still holds the day open.
  clearField();
  PelicanFlock::pelican(3).state = PelicanState::Flying;
  DayDirector::tick();
  const int dayWithAPelican = DayDirector::day();
  clearField();
  CowHerd::cow(15).active = 1;
  DayDirector::tick();
  EXPECT_EQ(make_tuple(dayWithAPelican, DayDirector::day()), make_tuple(0, 0));
  clearField();
  DayDirector::tick();
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::ticksToday(), DayDirector::spawnCountdown(),
                       DayDirector::spawnInterval(), Store::isLoaded()),
            make_tuple(1, 0, 60, 148, true));
}

TEST_F(DayDirectorTest, AnEventDueOnTick1800DoesNotHappen) {
  startGameAt(6);  // day index 60: every 30 ticks, and 60 + 58 x 30 is 1800
  ASSERT_EQ(DayDirector::spawnInterval(), 30);
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
}

TEST_F(DayDirectorTest, KindsOfDaysAndTheirSpawns) {
  startGameAt(0);
  const int days[] = {4, 9, 14, 19};
  const DayKind kinds[] = {DayKind::Scurvy, DayKind::Moomania, DayKind::Scurvy, DayKind::Moomania};
  for (int i = 0; i < 4; ++i) {
    if (i == 1) {  // on the way: an early ordinary day brings one creature an event
      while (DayDirector::day() < 5) playThroughDay();
      for (int event = 0; event < 11; ++event) {
        clearField();
        while (DayDirector::spawnCountdown() > 1) DayDirector::tick();
        DayDirector::tick();
        EXPECT_EQ(creatureCount(), 1) << event;
      }
      clearField();
    }
    while (DayDirector::day() < days[i]) playThroughDay();
    EXPECT_EQ(DayDirector::kind(), kinds[i]) << days[i];

    // Every event brings exactly one creature of the day's kind and never a crow.
    for (int event = 0; event < 5; ++event) {
      while (DayDirector::spawnCountdown() > 1) DayDirector::tick();
      const int pelicans = PelicanFlock::countInUse();
      const int cows = CowHerd::countInUse();
      DayDirector::tick();
      EXPECT_EQ(make_tuple(PelicanFlock::countInUse() - pelicans, CowHerd::countInUse() - cows,
                           CrowFlock::countInUse()),
                make_tuple(kinds[i] == DayKind::Scurvy ? 1 : 0, kinds[i] == DayKind::Moomania ? 1 : 0, 0));
    }
    // With the family's table full the event draws nothing at all.
    for (int s = 0; s < PelicanFlock::capacity; ++s) PelicanFlock::pelican(s).state = PelicanState::Flying;
    for (int s = 0; s < CowHerd::capacity; ++s) CowHerd::cow(s).active = 1;
    while (DayDirector::spawnCountdown() > 1) DayDirector::tick();
    const uint32_t before = randomState();
    DayDirector::tick();
    EXPECT_EQ(randomState(), before);
    clearField();
  }
}

TEST_F(DayDirectorTest, OrdinaryEventsFollowTheirDrawsInOrder) {
  startGameAt(2);  // day index 20: pelicans, cows and up to three crows are possible
  const int day = DayDirector::day();
  int outcomes[5] = {};  // pelican, cow, one, two, three crows
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    clearField();
    DayDirector::startDay();
    while (DayDirector::spawnCountdown() > 1) DayDirector::tick();

    // The same draws the rule makes; each crow that comes takes three draws of its own (edge, place,
    // heading).
    seedRandom(seed);
    int expected = randomInt(500) < day ? 0 : randomInt(1000) < day ? 1 : -1;
    if (expected < 0) {
      const bool second = randomInt(day + 1) > 10;
      for (int d = 0; second && d < 3; ++d) randomInt(2);
      expected = 2 + (second ? 1 : 0) + (randomInt(day + 1) > 5 ? 1 : 0);
    }

    seedRandom(seed);
    DayDirector::tick();
    const int crows = CrowFlock::countInUse();
    const int got = PelicanFlock::countInUse() == 1 ? 0 : CowHerd::countInUse() == 1 ? 1 : crows + 1;
    EXPECT_EQ(got, expected) << seed;
    EXPECT_EQ(PelicanFlock::countInUse() + CowHerd::countInUse() + (crows > 0 ? 1 : 0), 1) << seed;
    ++outcomes[got];
  }
  EXPECT_GT(outcomes[2], 0);
  EXPECT_GT(outcomes[3], 0);
  EXPECT_GT(outcomes[4], 0);
}

TEST_F(DayDirectorTest, SpawnIntervalsShrinkToOne) {
  startGameAt(7);
  while (DayDirector::day() < 74) playThroughDay();
  EXPECT_EQ(DayDirector::spawnInterval(), 2);
  EXPECT_FLOAT_EQ(DayDirector::creatureSpeedFactor(), 74 * 0.05f + 0.2f);
  playThroughDay();
  EXPECT_EQ(DayDirector::spawnInterval(), 1);
  playThroughDay();
  EXPECT_EQ(DayDirector::spawnInterval(), 1);
}

TEST_F(DayDirectorTest, TurningBackTimeOnDaysTwelveAndFourteen) {
  startGameAt(1);
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
  EXPECT_FALSE(Store::isLoaded());
  std::vector<bool> stores;
  while (DayDirector::day() < 12) stores.push_back(playThroughDay());
  EXPECT_EQ(stores, (std::vector<bool>{false, false, false, false, true, true}));

  // The short day keeps the kind of the day it was bought on.
  while (DayDirector::day() < 14) playThroughDay();
  ASSERT_EQ(DayDirector::kind(), DayKind::Scurvy);
  DayDirector::turnBackTime();
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::kind(), DayDirector::spawnInterval()),
            make_tuple(7, DayKind::Scurvy, 110));
  spawnTicks(61);
  EXPECT_EQ(make_tuple(PelicanFlock::countInUse(), CrowFlock::countInUse()), make_tuple(1, 0));
}

TEST_F(DayDirectorTest, TurningBackTimeNeverGoesBeforeTheFirstDay) {
  startGameAt(0);
  DayDirector::turnBackTime();
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::spawnInterval()), make_tuple(0, 180));
}

TEST_F(DayDirectorTest, AGameStartedOnDayHundredOneOpensTheStoreBeforeTheNextAndDaysCountPast255) {
  startGameAt(10);
  EXPECT_EQ(make_tuple(DayDirector::day(), Store::isLoaded()), make_tuple(100, false));
  EXPECT_TRUE(playThroughDay());
  EXPECT_EQ(DayDirector::day(), 101);
  while (DayDirector::day() < 254) playThroughDay();
  EXPECT_EQ(DayDirector::kind(), DayKind::Scurvy);  // shown day 255
  EXPECT_TRUE(playThroughDay());
  EXPECT_EQ(make_tuple(DayDirector::day(), DayDirector::kind()), make_tuple(255, DayKind::Ordinary));
  EXPECT_TRUE(playThroughDay());  // a wrap to day 0 would fall below the starting day and skip the store
  EXPECT_EQ(DayDirector::day(), 256);
  while (DayDirector::day() < 259) playThroughDay();
  EXPECT_EQ(make_tuple(DayDirector::kind(), DayDirector::spawnInterval(), DayDirector::dayLength()),
            make_tuple(DayKind::Moomania, 1, 1800));  // shown day 260
  EXPECT_FLOAT_EQ(DayDirector::creatureSpeedFactor(), 259 * 0.05f + 0.2f);
}

// --- Scurvy and moomania days in the running world ----------------------------------------------

// Keeps every standing stalk in corn, so that the field outlives a whole day of raiders, and pelicans,
// never running out of corn where they sit, stay until they are scared off.
void keepFieldInCorn() {
  for (int i = 0; i < CornField::slotCount(); ++i) {
    if (CornField::stalk(i).stage == 1) CornField::stalk(i).ears = 3;
  }
}

bool fieldIsClear() {
  return CrowFlock::isEmpty() && PelicanFlock::isEmpty() && CowHerd::isEmpty();
}

TEST(SpecialDays, OnlyTheDaysCreaturesComeAndTheDayEndsOnceTheLastHasLeft) {
  struct Case {
    int startingDayPresses, turnBacks, day;  // a short day on index day - 1 leads to `day`
    DayKind kind;
    const char* arrivalClip;
  };
  const Case cases[] = {{1, 1, 4, DayKind::Scurvy, "sound\\peli_go.wav"},
                        {5, 6, 9, DayKind::Moomania, "sound\\cow_hello.wav"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.day);
    const bool scurvy = c.kind == DayKind::Scurvy;
    const auto own = [&] { return scurvy ? PelicanFlock::countInUse() : CowHerd::countInUse(); };
    DayDirector::resetForTests();
    KeyState::clearAll();
    for (int i = 0; i < c.startingDayPresses; ++i) DayDirector::stepStartingDay();
    DayDirector::beginGame();
    loadWorld();
    for (int i = 0; i < c.turnBacks; ++i) DayDirector::turnBackTime();
    for (int i = 0; i < 20000 && DayDirector::day() != c.day && !gameOver; ++i) {
      playTick();
      keepFieldInCorn();
    }
    ASSERT_EQ(make_tuple(DayDirector::day(), DayDirector::kind(), fieldIsClear()),
              make_tuple(c.day, c.kind, true));

    clearPlayedClips();
    std::vector<int> arrivals;
    int left = 0;
    bool dayEnded = false, chased = false, powerSeen = false;
    for (int i = 0; i < 20000 && !dayEnded; ++i) {
      // Pelicans that keep finding corn stay past the day's end, until the ooga-booga chases them off.
      if (scurvy && !chased && DayDirector::ticksToday() == 1900) {
        ASSERT_GT(own(), 0);
        KeyState::keyDown(vkShift);
        KeyState::keyUp(vkShift);
        chased = true;
      }
      const int announced = countPlayed(c.arrivalClip);
      const int before = own();
      const bool clearBefore = fieldIsClear();
      const bool powerBefore = OogaBooga::isActive();
      playTick();
      keepFieldInCorn();
      powerSeen = powerSeen || OogaBooga::isActive();
      ASSERT_FALSE(gameOver);
      dayEnded = DayDirector::day() == c.day + 1;
      if (dayEnded) {
        EXPECT_TRUE(clearBefore) << "the day ended with creatures about";
        EXPECT_GE(DayDirector::dayLength(), 1800);
        break;
      }
      EXPECT_FALSE(clearBefore && !powerBefore && DayDirector::ticksToday() > 1800)
          << "the field was clear but the day went on";
      ASSERT_EQ(CrowFlock::countInUse() + PelicanFlock::countInUse() + CowHerd::countInUse(), own())
          << "tick " << DayDirector::ticksToday();
      const int arrived = countPlayed(c.arrivalClip) - announced;
      ASSERT_LE(arrived, 1);
      if (arrived == 1) arrivals.push_back(DayDirector::ticksToday());
      left += before + arrived - own();
    }
    EXPECT_TRUE(dayEnded);
    std::vector<int> expected;
    for (int tick = 60; tick < 1800; tick += 150 - 2 * c.day) expected.push_back(tick);
    EXPECT_EQ(arrivals, expected);
    EXPECT_EQ(left, static_cast<int>(expected.size())) << "every one of them left the field";
    EXPECT_EQ(make_tuple(chased, powerSeen, countPlayed("sound\\peli_fear.wav") >= 1),
              make_tuple(scurvy, scurvy, scurvy));
    unloadWorld();
  }
}

}  // namespace
