#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
constexpr int32_t startingMoney = 1000;  // high enough that every loss shows in full

const char* const helloClip = "sound\\cow_hello.wav";
const char* const mooClip = "sound\\cow_moo.wav";
const char* const moogaClip = "sound\\cow_mooga.wav";
const char* const powerDownClip = "sound\\powerdown.wav";

class CowHerdTest : public testing::Test {
 protected:
  // Pictures load once for the suite; every test starts from a fresh field and an empty pool.
  static void SetUpTestSuite() {
    Scarecrow::load();
    CornField::load();
    CowHerd::load();
  }
  static void TearDownTestSuite() {
    CowHerd::unload();
    CornField::unload();
    Scarecrow::unload();
  }
  void SetUp() override {
    seedRandom(777);
    DayDirector::resetForTests();
    DayDirector::startDay();  // first day: the slowest speed factor
    CornField::layOut();
    for (int i = 0; i < CowHerd::capacity; ++i) CowHerd::cow(i) = Cow{};
    Scarecrow::state().money = startingMoney;
    clearPlayedClips();
  }

  // A walking cow; the speed comes from the day unless the test sets vx, vy itself.
  static Cow& place(int index, float x, float y, float angle) {
    Cow& c = CowHerd::cow(index);
    c = Cow{};
    c.active = 1;
    c.x = x;
    c.y = y;
    c.angle = angle;
    c.target = -1;
    CowHerd::aim(index);
    return c;
  }

  static void ticks(int n) {
    for (int i = 0; i < n; ++i) CowHerd::tick();
  }

  static int32_t money() { return Scarecrow::state().money; }
  static float walkSpeed() { return DayDirector::creatureSpeedFactor() * 0.7f; }
};

// --- Grazing --------------------------------------------------------------------------------

TEST_F(CowHerdTest, EatsTheStalkThatLiesWithinReachFourMovesAhead) {
  CornStalk& stalk = CornField::stalk(0);
  stalk.ears = 2;
  Cow& c = place(0, stalk.x - 37.5f, stalk.y, 0.0f);
  c.vx = 1.0f;
  c.vy = 0.0f;

  CowHerd::tick();  // at -36.5: four moves ahead is -32.5, out of reach
  EXPECT_EQ(stalk.ears, 2);
  EXPECT_EQ(c.target, -1);
  EXPECT_EQ(money(), startingMoney);

  CowHerd::tick();  // at -35.5: four moves ahead is -31.5
  EXPECT_EQ(stalk.ears, 0) << "all ears go at once";
  EXPECT_EQ(c.target, 0);
  EXPECT_GT(distance(c.x, c.y, stalk.x, stalk.y), 32.0f) << "eaten before the cow itself gets there";
  EXPECT_EQ(money(), startingMoney - 20);
  EXPECT_EQ(countPlayed(powerDownClip), 1);

  ticks(40);  // walking over the bare stalk costs nothing more
  EXPECT_EQ(money(), startingMoney - 20);
  EXPECT_EQ(countPlayed(powerDownClip), 1);
}

TEST_F(CowHerdTest, StalksWithoutEarsAreIgnored) {
  CornStalk& stalk = CornField::stalk(9);
  stalk.ears = 0;
  Cow& c = place(2, stalk.x - 10.0f, stalk.y, 0.0f);
  c.vx = 1.0f;
  c.vy = 0.0f;
  ticks(20);
  EXPECT_EQ(money(), startingMoney);
  EXPECT_TRUE(playedClips().empty());
}

TEST_F(CowHerdTest, EatsOneStalkPerTickFirstInSlotOrder) {
  // Two stalks in reach of the same point; the higher slot is the nearer one.
  Cow& c = place(0, 100.0f, 300.0f, 0.0f);
  c.vx = 1.0f;
  c.vy = 0.0f;
  CornStalk& first = CornField::stalk(0);
  CornStalk& second = CornField::stalk(1);
  first.x = 130.0f;
  first.y = 300.0f;
  second.x = 110.0f;
  second.y = 300.0f;

  CowHerd::tick();  // looks at 105
  EXPECT_EQ(c.target, 0);
  EXPECT_EQ(first.ears, 0);
  EXPECT_EQ(second.ears, 1);
  EXPECT_EQ(money(), startingMoney - 20);

  CowHerd::tick();  // the other one goes on the next tick
  EXPECT_EQ(c.target, 1);
  EXPECT_EQ(second.ears, 0);
  EXPECT_EQ(money(), startingMoney - 40);
  EXPECT_EQ(countPlayed(powerDownClip), 2);
}

// --- Turning --------------------------------------------------------------------------------

TEST_F(CowHerdTest, BooTurnsACowOnlyOnceWithinSixtyTicks) {
  Cow& c = place(0, 600.0f, 60.0f, 180.0f);  // well away from the stalks
  const float startAngle = c.angle;
  ASSERT_TRUE(CowHerd::scareAt(c.x + 20.0f, c.y - 11.0f));
  EXPECT_NE(c.angle, startAngle);
  EXPECT_EQ(c.mooCooldown, 60);
  EXPECT_EQ(countPlayed(mooClip), 1);
  CowHerd::tick();

  // The letters come before the cow's own tick: the boo at the cow's feet every tick.
  for (int tick = 1; tick < 60; ++tick) {
    EXPECT_FALSE(CowHerd::scareAt(c.x, c.y)) << "tick " << tick;
    CowHerd::tick();
  }
  EXPECT_EQ(countPlayed(mooClip), 1);
  EXPECT_TRUE(CowHerd::scareAt(c.x, c.y)) << "calm again on the sixtieth tick after the turn";
  EXPECT_EQ(countPlayed(mooClip), 2);
  EXPECT_EQ(money(), startingMoney) << "a boo never changes the money";
}

TEST_F(CowHerdTest, BooReachIsADiamondOfThirtyTwo) {
  Cow& c = place(0, 600.0f, 60.0f, 180.0f);
  EXPECT_FALSE(CowHerd::scareAt(c.x + 16.0f, c.y + 16.0f));
  EXPECT_FALSE(CowHerd::scareAt(c.x - 32.0f, c.y));
  EXPECT_EQ(c.mooCooldown, 0);
  EXPECT_TRUE(CowHerd::scareAt(c.x - 31.5f, c.y));
}

TEST_F(CowHerdTest, OneBooTurnsOnlyTheFirstCalmCowInSlotOrder) {
  Cow& busy = place(1, 600.0f, 60.0f, 180.0f);
  busy.mooCooldown = 10;
  Cow& calm = place(3, 605.0f, 60.0f, 180.0f);
  Cow& other = place(4, 600.0f, 65.0f, 180.0f);
  EXPECT_TRUE(CowHerd::scareAt(600.0f, 60.0f));
  EXPECT_EQ(busy.angle, 180.0f);
  EXPECT_NE(calm.angle, 180.0f);
  EXPECT_EQ(other.angle, 180.0f);
  EXPECT_EQ(countPlayed(mooClip), 1);
}

TEST_F(CowHerdTest, OogaBoogaTurnsEveryCowWhateverItsCooldown) {
  Cow& justTurned = place(0, 600.0f, 60.0f, 90.0f);
  justTurned.mooCooldown = 59;
  Cow& calm = place(6, 300.0f, 30.0f, 0.0f);
  CowHerd::scareAll();
  EXPECT_NE(justTurned.angle, 90.0f);
  EXPECT_NE(calm.angle, 0.0f);
  EXPECT_EQ(justTurned.mooCooldown, 60);
  EXPECT_EQ(calm.mooCooldown, 60);
  EXPECT_EQ(countPlayed(moogaClip), 2);
  EXPECT_EQ(countPlayed(mooClip), 0);
  EXPECT_EQ(CowHerd::countInUse(), 2);
  EXPECT_EQ(money(), startingMoney);
}

TEST_F(CowHerdTest, FacingAngleAndVelocityAgreeAfterEveryTurn) {
  Cow& c = place(0, 320.0f, 240.0f, 0.0f);
  int clockwise = 0;
  int anticlockwise = 0;
  for (int turn = 0; turn < 40; ++turn) {
    const int before = c.facing;
    CowHerd::scareAll();
    const int after = c.facing;
    ASSERT_LT(after, 4);
    if (after == (before + 1) % 4) {
      ++clockwise;
    } else {
      ASSERT_EQ(after, (before + 3) % 4) << "only quarter turns";
      ++anticlockwise;
    }
    EXPECT_EQ(c.angle, after * 90.0f);
    // Facing 0 walks right, 1 down the screen, 2 left, 3 up.
    const float dirX[4] = {1.0f, 0.0f, -1.0f, 0.0f};
    const float dirY[4] = {0.0f, 1.0f, 0.0f, -1.0f};
    EXPECT_NEAR(c.vx, dirX[after] * walkSpeed(), 1e-5f);
    EXPECT_NEAR(c.vy, dirY[after] * walkSpeed(), 1e-5f);
  }
  EXPECT_GT(clockwise, 0);
  EXPECT_GT(anticlockwise, 0);
}

// --- Leaving --------------------------------------------------------------------------------

TEST_F(CowHerdTest, LeavingTheWorldBoxPaysOneHundredOnce) {
  Cow& right = place(0, 739.5f, 40.0f, 0.0f);
  right.vx = 0.5f;
  Cow& up = place(1, 600.0f, -99.5f, 270.0f);
  up.vx = 0.0f;
  up.vy = -0.5f;
  CowHerd::tick();
  EXPECT_EQ(right.active, 1) << "x = 740 is still inside";
  EXPECT_EQ(up.active, 1) << "y = -100 is still inside";
  EXPECT_EQ(money(), startingMoney);
  CowHerd::tick();
  EXPECT_EQ(right.active, 0);
  EXPECT_EQ(up.active, 0);
  EXPECT_EQ(money(), startingMoney + 200);
  ticks(10);
  EXPECT_EQ(money(), startingMoney + 200);
  EXPECT_TRUE(CowHerd::isEmpty());
}

TEST_F(CowHerdTest, ACowTurnedTowardsTheNearEdgeLeavesSoonerAndStillPays) {
  Cow& c = place(0, 600.0f, 20.0f, 180.0f);  // walking left along the top
  // Turn it until it walks up, towards the near edge.
  while (c.facing != 3) CowHerd::scareAll();
  int ticksToLeave = 0;
  while (c.active != 0 && ticksToLeave < 10000) {
    CowHerd::tick();
    ++ticksToLeave;
  }
  EXPECT_LT(ticksToLeave, static_cast<int>(std::ceil(700.0f / walkSpeed())));
  EXPECT_EQ(ticksToLeave, static_cast<int>(std::floor(120.0f / walkSpeed())) + 1);
  EXPECT_EQ(money(), startingMoney + 100);
}

// --- Drawing --------------------------------------------------------------------------------

TEST_F(CowHerdTest, QueuesItsViewOnTheGroundWithAShadow) {
  DrawQueue::reset();
  worldLight = 0.8f;
  Cow& down = place(0, 200.0f, 300.0f, 90.0f);
  Cow& left = place(1, 300.0f, 300.0f, 180.0f);
  left.animTick = 22;  // a different frame of the walk as well
  CowHerd::draw();

  const DrawEntry* sprites[2] = {};
  int shadows = 0;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    const DrawEntry& e = DrawQueue::entryAt(i);
    EXPECT_EQ(e.elevation, 0.0f) << "cows walk on the ground";
    if (e.kind == DrawKind::Shadow) {
      ++shadows;
      EXPECT_EQ(e.width, 48.0f);
      continue;
    }
    sprites[e.x == down.x ? 0 : 1] = &e;
    EXPECT_EQ(e.width, 140.0f);
    EXPECT_EQ(e.height, 140.0f);
    EXPECT_EQ(e.angle, 0.0f);
    EXPECT_FLOAT_EQ(e.tint, 0.8f);
  }
  EXPECT_EQ(shadows, 2);
  ASSERT_TRUE(sprites[0] && sprites[1]);
  ASSERT_NE(sprites[0]->sprite, nullptr);
  EXPECT_NE(sprites[0]->sprite, sprites[1]->sprite);
  EXPECT_EQ(sprites[0]->sprite->width(), 256.0f);
  EXPECT_FLOAT_EQ(sprites[0]->sprite->anchorY(), 0.1f);
  DrawQueue::reset();
  worldLight = 0.0f;
}

// --- Arrival and walking --------------------------------------------------------------------

TEST_F(CowHerdTest, SpawnedCowsWalkInAlongAnAxis) {
  bool edgeSeen[4] = {};
  for (int i = 0; i < CowHerd::capacity; ++i) CowHerd::spawn(true);
  EXPECT_EQ(countPlayed(helloClip), CowHerd::capacity);
  for (int i = 0; i < CowHerd::capacity; ++i) {
    const Cow& c = CowHerd::cow(i);
    ASSERT_EQ(c.active, 1);
    EXPECT_EQ(c.mooCooldown, 0);
    EXPECT_EQ(c.animTick, 0);
    int facing = -1;
    if (c.y == -60.0f) {
      facing = 1;
      EXPECT_GE(c.x, 0.0f);
      EXPECT_LE(c.x, 640.0f);
    } else if (c.x == 700.0f) {
      facing = 2;
      EXPECT_GE(c.y, 0.0f);
      EXPECT_LE(c.y, 480.0f);
    } else if (c.y == 608.0f) {
      facing = 3;
    } else {
      ASSERT_EQ(c.x, -60.0f);
      facing = 0;
    }
    edgeSeen[facing] = true;
    EXPECT_EQ(c.facing, facing);
    EXPECT_EQ(c.angle, facing * 90.0f);
    EXPECT_NEAR(std::hypot(c.vx, c.vy), walkSpeed(), 1e-5f);
  }
  for (bool seen : edgeSeen) EXPECT_TRUE(seen);
  clearPlayedClips();
  CowHerd::spawn(true);
  EXPECT_TRUE(playedClips().empty()) << "a full herd drops the request without a sound";
}

TEST_F(CowHerdTest, SpawnTakesTheFirstFreeSlot) {
  place(0, 600.0f, 60.0f, 180.0f);
  place(2, 600.0f, 60.0f, 180.0f);
  CowHerd::spawn(false);
  EXPECT_EQ(CowHerd::cow(1).active, 1);
  EXPECT_EQ(CowHerd::cow(3).active, 0);
  EXPECT_TRUE(playedClips().empty()) << "no arrival sound unless announced";
}

TEST_F(CowHerdTest, WalkCycleRunsTwentyNineTicksAndWraps) {
  Cow& c = place(0, 600.0f, 60.0f, 180.0f);
  c.vx = c.vy = 0.0f;
  ticks(22);
  EXPECT_EQ(CowHerd::shownFrame(0), 4);
  ticks(6);
  EXPECT_EQ(c.animTick, 28);
  CowHerd::tick();
  EXPECT_EQ(c.animTick, 0);
  EXPECT_EQ(CowHerd::shownFrame(0), 0);
}

TEST_F(CowHerdTest, CooldownCountsDownOncePerTick) {
  Cow& c = place(0, 600.0f, 60.0f, 180.0f);
  c.mooCooldown = 3;
  ticks(2);
  EXPECT_EQ(c.mooCooldown, 1);
  ticks(5);
  EXPECT_EQ(c.mooCooldown, 0);
}

TEST_F(CowHerdTest, ReloadingEmptiesTheHerdAndUnloadingTwiceIsHarmless) {
  CowHerd::spawn(true);
  EXPECT_FALSE(CowHerd::isEmpty());
  CowHerd::load();
  EXPECT_TRUE(CowHerd::isEmpty());
  CowHerd::unload();
  CowHerd::unload();
  CowHerd::tick();
  CowHerd::draw();
  EXPECT_TRUE(CowHerd::isEmpty());
  CowHerd::load();
}
// --- A moomania day in the running world ------------------------------------------------------

// Keeps every standing stalk in corn, so that the field outlives a whole day of cows.
void keepFieldInCorn() {
  for (int i = 0; i < CornField::slotCount(); ++i) {
    CornStalk& stalk = CornField::stalk(i);
    if (stalk.stage == 1) stalk.ears = 3;
  }
}

bool fieldIsClear() {
  return CrowFlock::isEmpty() && PelicanFlock::isEmpty() && CowHerd::isEmpty();
}

TEST(MoomaniaDay, OnlyCowsComeAndTheDayEndsWhenTheLastHasWalkedOff) {
  DayDirector::resetForTests();
  KeyState::clearAll();
  for (int i = 0; i < 5; ++i) DayDirector::stepStartingDay();
  DayDirector::beginGame();  // day index 50
  loadWorld();
  for (int i = 0; i < 6; ++i) DayDirector::turnBackTime();  // a short day on index 8
  for (int i = 0; i < 20000 && DayDirector::day() != 9 && !gameOver; ++i) {
    playTick();
    keepFieldInCorn();
  }
  ASSERT_EQ(DayDirector::day(), 9);
  ASSERT_EQ(DayDirector::kind(), DayKind::Moomania);
  ASSERT_TRUE(fieldIsClear());

  clearPlayedClips();
  std::vector<int> arrivals;
  int left = 0;
  bool dayEnded = false;
  for (int i = 0; i < 20000 && !dayEnded; ++i) {
    const int announced = countPlayed("sound\\cow_hello.wav");
    const int cowsBefore = CowHerd::countInUse();
    const bool clearBefore = fieldIsClear();
    playTick();
    keepFieldInCorn();
    ASSERT_FALSE(gameOver);
    dayEnded = DayDirector::day() == 10;
    if (dayEnded) {
      EXPECT_TRUE(clearBefore) << "the day ended with cows about";
      EXPECT_GE(DayDirector::dayLength(), 1800);
      break;
    }
    EXPECT_FALSE(clearBefore && DayDirector::ticksToday() > 1800)
        << "the field was clear but the day went on";
    ASSERT_EQ(CrowFlock::countInUse(), 0) << "tick " << DayDirector::ticksToday();
    ASSERT_EQ(PelicanFlock::countInUse(), 0);
    const int arrived = countPlayed("sound\\cow_hello.wav") - announced;
    ASSERT_LE(arrived, 1);
    if (arrived == 1) arrivals.push_back(DayDirector::ticksToday());
    left += cowsBefore + arrived - CowHerd::countInUse();
  }
  EXPECT_TRUE(dayEnded);
  std::vector<int> expected;
  for (int tick = 60; tick < 1800; tick += 150 - 2 * 9) expected.push_back(tick);
  EXPECT_EQ(arrivals, expected);
  EXPECT_EQ(left, static_cast<int>(expected.size())) << "every cow walked off the field";
  unloadWorld();
}
}  // namespace
