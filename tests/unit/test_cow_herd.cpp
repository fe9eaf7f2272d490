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

const char* const mooClip = "sound\\cow_moo.wav";
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
  EXPECT_EQ(make_tuple(money(), playedClips().size()), make_tuple(startingMoney - 20, size_t{1}));
}

TEST_F(CowHerdTest, EatsOneStalkPerTickFirstInSlotOrder) {
  // Two stalks in reach of the same point; the higher slot is the nearer one.
  Cow& c = place(0, 100.0f, 300.0f, 0.0f);
  c.vx = 1.0f, c.vy = 0.0f;
  CornStalk &first = CornField::stalk(0), &second = CornField::stalk(1);
  first.x = 130.0f, first.y = 300.0f, second.x = 110.0f, second.y = 300.0f;
  CowHerd::tick();  // looks at 105
  EXPECT_EQ(make_tuple(c.target, first.ears, second.ears, money()),
            make_tuple(0, int8_t{0}, int8_t{1}, startingMoney - 20));
  CowHerd::tick();  // the other one goes on the next tick
  EXPECT_EQ(make_tuple(c.target, second.ears, money(), countPlayed(powerDownClip)),
            make_tuple(1, int8_t{0}, startingMoney - 40, 2));
}

TEST_F(CowHerdTest, BooReachesADiamondOfThirtyTwoAndTurnsOnlyTheFirstCalmCowOnceWithinSixtyTicks) {
  Cow& c = place(0, 600.0f, 60.0f, 180.0f);  // well away from the stalks
  EXPECT_FALSE(CowHerd::scareAt(c.x + 16.0f, c.y + 16.0f) || CowHerd::scareAt(c.x - 32.0f, c.y));
  EXPECT_EQ(make_tuple(c.mooCooldown, c.angle), make_tuple(uint8_t{0}, 180.0f));
  // A calm cow later in slot order waits while the first one turns.
  Cow& later = place(3, 605.0f, 60.0f, 180.0f);
  ASSERT_TRUE(CowHerd::scareAt(c.x + 20.0f, c.y - 11.5f));
  EXPECT_NE(c.angle, 180.0f);
  EXPECT_EQ(make_tuple(c.mooCooldown, later.angle, countPlayed(mooClip)), make_tuple(uint8_t{60}, 180.0f, 1));
  EXPECT_TRUE(CowHerd::scareAt(c.x + 20.0f, c.y - 11.5f));  // the first one is busy: the next calm one turns
  EXPECT_NE(later.angle, 180.0f);
  later.active = 0;
  CowHerd::tick();
  // The letters come before the cow's own tick: the boo at the cow's feet every tick.
  for (int tick = 1; tick < 60; ++tick) {
    EXPECT_FALSE(CowHerd::scareAt(c.x, c.y)) << "tick " << tick;
    CowHerd::tick();
  }
  EXPECT_TRUE(CowHerd::scareAt(c.x, c.y)) << "calm again on the sixtieth tick after the turn";
  EXPECT_EQ(make_tuple(countPlayed(mooClip), money()), make_tuple(3, startingMoney)) << "a boo never pays";
}

TEST_F(CowHerdTest, OogaBoogaTurnsEveryCowWhateverItsCooldownAndFacingAngleAndVelocityAgree) {
  Cow& c = place(0, 320.0f, 240.0f, 0.0f);
  Cow& calm = place(6, 300.0f, 30.0f, 90.0f);
  c.mooCooldown = 59;
  CowHerd::scareAll();
  EXPECT_EQ(make_tuple(c.mooCooldown, calm.mooCooldown, countPlayed("sound\\cow_mooga.wav"),
                       countPlayed(mooClip), CowHerd::countInUse(), money()),
            make_tuple(uint8_t{60}, uint8_t{60}, 2, 0, 2, startingMoney));
  EXPECT_NE(calm.angle, 90.0f);
  // Facing 0 walks right, 1 down the screen, 2 left, 3 up; each turn is a quarter either way.
  const float dirX[4] = {1.0f, 0.0f, -1.0f, 0.0f}, dirY[4] = {0.0f, 1.0f, 0.0f, -1.0f};
  int turns[4] = {};
  for (int turn = 0, before = 0; turn < 40; ++turn) {
    if (turn > 0) CowHerd::scareAll();
    const int after = c.facing;
    ASSERT_LT(after, 4);
    ++turns[(after - before + 4) % 4];
    before = after;
    EXPECT_EQ(c.angle, after * 90.0f);
    EXPECT_NEAR(c.vx, dirX[after] * walkSpeed(), 1e-5f);
    EXPECT_NEAR(c.vy, dirY[after] * walkSpeed(), 1e-5f);
  }
  EXPECT_EQ(make_tuple(turns[0], turns[2]), make_tuple(0, 0));
  EXPECT_TRUE(turns[1] > 0 && turns[3] > 0);
}

TEST_F(CowHerdTest, LeavingTheWorldBoxPaysOneHundredOnceAndACowTurnedTowardsTheNearEdgeLeavesSooner) {
  Cow& turned = place(2, 600.0f, 20.0f, 180.0f);   // walking left along the top
  while (turned.facing != 3) CowHerd::scareAll();  // until it walks up, towards the near edge
  Cow& right = place(0, 739.5f, 40.0f, 0.0f);
  right.vx = 0.5f;
  Cow& up = place(1, 600.0f, -99.5f, 270.0f);
  up.vx = 0.0f, up.vy = -0.5f;
  CowHerd::tick();
  EXPECT_EQ(make_tuple(right.active, up.active, money()), make_tuple(uint8_t{1}, uint8_t{1}, startingMoney))
      << "x = 740 and y = -100 are still inside";
  int ticksToLeave = 1;
  for (; turned.active != 0 && ticksToLeave < 10000; ++ticksToLeave) CowHerd::tick();
  EXPECT_EQ(ticksToLeave, static_cast<int>(std::floor(120.0f / walkSpeed())) + 1);
  ticks(10);
  EXPECT_EQ(make_tuple(CowHerd::isEmpty(), money()), make_tuple(true, startingMoney + 300));
}

TEST_F(CowHerdTest, QueuesItsViewOnTheGroundWithAShadow) {
  DrawQueue::reset();
  worldLight = 0.8f;
  Cow& down = place(0, 200.0f, 300.0f, 90.0f);
  place(1, 300.0f, 300.0f, 180.0f).animTick = 22;  // facing left, and a different frame of the walk
  CowHerd::draw();
  const DrawEntry* sprites[2] = {};
  int shadows = 0;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    const DrawEntry& e = DrawQueue::entryAt(i);
    EXPECT_EQ(e.elevation, 0.0f) << "cows walk on the ground";
    if (e.kind == DrawKind::Shadow) {
      EXPECT_EQ(e.width, 48.0f);
      ++shadows;
    } else {
      sprites[e.x == down.x ? 0 : 1] = &e;
      EXPECT_EQ(make_tuple(e.width, e.height, e.angle, e.tint), make_tuple(140.0f, 140.0f, 0.0f, 0.8f));
    }
  }
  EXPECT_EQ(shadows, 2);
  ASSERT_TRUE(sprites[0] && sprites[1] && sprites[0]->sprite);
  EXPECT_NE(sprites[0]->sprite, sprites[1]->sprite);
  EXPECT_EQ(make_tuple(sprites[0]->sprite->width(), sprites[0]->sprite->anchorY()), make_tuple(256.0f, 0.1f));
  DrawQueue::reset();
  worldLight = 0.0f;
}

TEST_F(CowHerdTest, SpawnedCowsTakeTheFirstFreeSlotWalkInAlongAnAxisAndReloadingEmptiesTheHerd) {
  place(0, 600.0f, 60.0f, 180.0f);
  place(2, 600.0f, 60.0f, 180.0f);
  CowHerd::spawn(false);
  EXPECT_EQ(make_tuple(CowHerd::cow(1).active, CowHerd::cow(3).active, playedClips().empty()),
            make_tuple(uint8_t{1}, uint8_t{0}, true));
  for (int i = 3; i < CowHerd::capacity; ++i) CowHerd::spawn(true);
  EXPECT_EQ(countPlayed("sound\\cow_hello.wav"), CowHerd::capacity - 3);
  bool edgeSeen[4] = {};
  for (int i = 0; i < CowHerd::capacity; ++i) {
    if (i == 0 || i == 2) continue;
    const Cow& c = CowHerd::cow(i);
    SCOPED_TRACE(testing::Message() << "cow " << i << " at " << c.x << "," << c.y);
    // From the top it walks down (1), from the right left (2), from the bottom up (3), from the left right
    // (0).
    const int facing = c.y == -60.0f ? 1 : c.x == 700.0f ? 2 : c.y == 608.0f ? 3 : 0;
    const float along = facing % 2 == 1 ? c.x : c.y;
    EXPECT_TRUE(along >= 0.0f && along <= (facing % 2 == 1 ? 640.0f : 480.0f)) << along;
    EXPECT_EQ(
        make_tuple(c.active, c.mooCooldown, c.animTick, int(c.facing), c.angle, facing == 0 ? c.x : -60.0f),
        make_tuple(uint8_t{1}, uint8_t{0}, uint8_t{0}, facing, facing * 90.0f, -60.0f));
    EXPECT_NEAR(std::hypot(c.vx, c.vy), walkSpeed(), 1e-5f);
    edgeSeen[facing] = true;
  }
  EXPECT_TRUE(edgeSeen[0] && edgeSeen[1] && edgeSeen[2] && edgeSeen[3]);
  clearPlayedClips();
  CowHerd::spawn(true);
  EXPECT_EQ(make_tuple(playedClips().empty(), CowHerd::countInUse()), make_tuple(true, CowHerd::capacity))
      << "a full herd drops the request without a sound";
  // Reloading empties the herd; unloading twice is harmless.
  CowHerd::load();
  EXPECT_TRUE(CowHerd::isEmpty());
  CowHerd::unload();
  CowHerd::unload();
  CowHerd::tick();
  CowHerd::draw();
  EXPECT_TRUE(CowHerd::isEmpty());
  CowHerd::load();
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

}  // namespace
