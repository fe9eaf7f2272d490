#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;
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
    c.active = 1, c.x = x, c.y = y, c.angle = angle, c.target = -1;
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
  c.vx = 1.0f, c.vy = 0.0f;
  CowHerd::tick();  // at -36.5: four moves ahead is -32.5, out of reach
  EXPECT_EQ(make_tuple(stalk.ears, c.target, money()), make_tuple(int8_t{2}, -1, startingMoney));
  CowHerd::tick();  // at -35.5: four moves ahead is -31.5; all ears go at once
  EXPECT_EQ(make_tuple(stalk.ears, c.target, money(), countPlayed(powerDownClip)),
            make_tuple(int8_t{0}, 0, startingMoney - 20, 1));
  EXPECT_GT(distance(c.x, c.y, stalk.x, stalk.y), 32.0f) << "eaten before the cow itself gets there";
  ticks(40);  // walking over the bare stalk costs nothing more: stalks without ears are ignored
  EXPECT_EQ(make_tuple(money(), playedClips().size()), make_tuple(startingMoney - 20, size_t{1}))
      << "the power-down";
}

TEST_F(CowHerdTest, EatsOneStalkPerTickFirstInSlotOrder) {
  // Two stalks in reach of the same point; the higher slot is the nearer one.
  Cow& c = place(0, 100.0f, 300.0f, 0.0f);
  c.vx = 1.0f, c.vy = 0.0f;
  CornStalk& first = CornField::stalk(0);
  CornStalk& second = CornField::stalk(1);
  first.x = 130.0f, first.y = 300.0f, second.x = 110.0f, second.y = 300.0f;
  CowHerd::tick();  // looks at 105
  EXPECT_EQ(make_tuple(c.target, first.ears, second.ears, money()),
            make_tuple(0, int8_t{0}, int8_t{1}, startingMoney - 20));
  CowHerd::tick();  // the other one goes on the next tick
  EXPECT_EQ(make_tuple(c.target, second.ears, money(), countPlayed(powerDownClip)),
            make_tuple(1, int8_t{0}, startingMoney - 40, 2));
}

// --- Turning --------------------------------------------------------------------------------

TEST_F(CowHerdTest, BooReachesADiamondOfThirtyTwoAndTurnsACowOnlyOnceWithinSixtyTicks) {
  Cow& c = place(0, 600.0f, 60.0f, 180.0f);  // well away from the stalks
  const float startAngle = c.angle;
  EXPECT_FALSE(CowHerd::scareAt(c.x + 16.0f, c.y + 16.0f) || CowHerd::scareAt(c.x - 32.0f, c.y));
  EXPECT_EQ(make_tuple(c.mooCooldown, c.angle), make_tuple(uint8_t{0}, startAngle));
  ASSERT_TRUE(CowHerd::scareAt(c.x + 20.0f, c.y - 11.5f));
  EXPECT_NE(c.angle, startAngle);
  EXPECT_EQ(make_tuple(c.mooCooldown, countPlayed(mooClip)), make_tuple(uint8_t{60}, 1));
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

TEST_F(CowHerdTest, OneBooTurnsOnlyTheFirstCalmCowInSlotOrder) {
  Cow& busy = place(1, 600.0f, 60.0f, 180.0f);
  busy.mooCooldown = 10;
  Cow& calm = place(3, 605.0f, 60.0f, 180.0f);
  Cow& other = place(4, 600.0f, 65.0f, 180.0f);
  EXPECT_TRUE(CowHerd::scareAt(600.0f, 60.0f));
  EXPECT_EQ(make_tuple(busy.angle, other.angle, countPlayed(mooClip)), make_tuple(180.0f, 180.0f, 1));
  EXPECT_NE(calm.angle, 180.0f);
}

TEST_F(CowHerdTest, OogaBoogaTurnsEveryCowWhateverItsCooldown) {
  Cow& justTurned = place(0, 600.0f, 60.0f, 90.0f);
  justTurned.mooCooldown = 59;
  Cow& calm = place(6, 300.0f, 30.0f, 0.0f);
  CowHerd::scareAll();
  EXPECT_NE(justTurned.angle, 90.0f);
  EXPECT_NE(calm.angle, 0.0f);
  EXPECT_EQ(make_tuple(justTurned.mooCooldown, calm.mooCooldown, countPlayed(moogaClip), countPlayed(mooClip),
                       CowHerd::countInUse(), money()),
            make_tuple(uint8_t{60}, uint8_t{60}, 2, 0, 2, startingMoney));
}

TEST_F(CowHerdTest, FacingAngleAndVelocityAgreeAfterEveryTurn) {
  Cow& c = place(0, 320.0f, 240.0f, 0.0f);
  int turns[4] = {};  // by quarters clockwise
  // Facing 0 walks right, 1 down the screen, 2 left, 3 up.
  const float dirX[4] = {1.0f, 0.0f, -1.0f, 0.0f};
  const float dirY[4] = {0.0f, 1.0f, 0.0f, -1.0f};
  for (int turn = 0; turn < 40; ++turn) {
    const int before = c.facing;
    CowHerd::scareAll();
    const int after = c.facing;
    ASSERT_LT(after, 4);
    ++turns[(after - before + 4) % 4];
    EXPECT_EQ(c.angle, after * 90.0f);
    EXPECT_NEAR(c.vx, dirX[after] * walkSpeed(), 1e-5f);
    EXPECT_NEAR(c.vy, dirY[after] * walkSpeed(), 1e-5f);
  }
  EXPECT_EQ(turns[0] + turns[2], 0) << "only quarter turns";
  EXPECT_GT(turns[1], 0);
  EXPECT_GT(turns[3], 0);
}

// --- Leaving --------------------------------------------------------------------------------

TEST_F(CowHerdTest, LeavingTheWorldBoxPaysOneHundredOnce) {
  Cow& right = place(0, 739.5f, 40.0f, 0.0f);
  right.vx = 0.5f;
  Cow& up = place(1, 600.0f, -99.5f, 270.0f);
  up.vx = 0.0f, up.vy = -0.5f;
  CowHerd::tick();
  EXPECT_EQ(make_tuple(right.active, up.active, money()), make_tuple(uint8_t{1}, uint8_t{1}, startingMoney))
      << "x = 740 and y = -100 are still inside";
  CowHerd::tick();
  EXPECT_EQ(make_tuple(right.active, up.active, money()),
            make_tuple(uint8_t{0}, uint8_t{0}, startingMoney + 200));
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
    EXPECT_EQ(make_tuple(e.width, e.height, e.angle, e.tint), make_tuple(140.0f, 140.0f, 0.0f, 0.8f));
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
    SCOPED_TRACE(testing::Message() << "cow " << i << " at " << c.x << "," << c.y);
    ASSERT_EQ(c.active, 1);
    EXPECT_EQ(make_tuple(c.mooCooldown, c.animTick), make_tuple(uint8_t{0}, uint8_t{0}));
    // From the top it walks down (1), from the right left (2), from the bottom up (3), from the left right
    // (0).
    const int facing = c.y == -60.0f ? 1 : c.x == 700.0f ? 2 : c.y == 608.0f ? 3 : 0;
    if (facing == 0) {
      ASSERT_EQ(c.x, -60.0f);
    }
    const float along = facing % 2 == 1 ? c.x : c.y;
    EXPECT_TRUE(along >= 0.0f && along <= (facing % 2 == 1 ? 640.0f : 480.0f)) << along;
    edgeSeen[facing] = true;
    EXPECT_EQ(make_tuple(int(c.facing), c.angle), make_tuple(facing, facing * 90.0f));
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
  EXPECT_EQ(make_tuple(CowHerd::cow(1).active, CowHerd::cow(3).active), make_tuple(uint8_t{1}, uint8_t{0}));
  EXPECT_TRUE(playedClips().empty()) << "no arrival sound unless announced";
}

TEST_F(CowHerdTest, WalkCycleRunsTwentyNineTicksAndWrapsAndTheCooldownCountsDownOnceATick) {
  Cow& c = place(0, 600.0f, 60.0f, 180.0f);
  c.vx = c.vy = 0.0f;
  c.mooCooldown = 3;
  ticks(2);
  EXPECT_EQ(c.mooCooldown, 1);
  ticks(20);
  EXPECT_EQ(make_tuple(c.mooCooldown, CowHerd::shownFrame(0)), make_tuple(uint8_t{0}, 4));
  ticks(6);
  EXPECT_EQ(c.animTick, 28);
  CowHerd::tick();
  EXPECT_EQ(make_tuple(c.animTick, CowHerd::shownFrame(0)), make_tuple(uint8_t{0}, 0));
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
}  // namespace
