#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;
constexpr int32_t startingMoney = 1000;  // high enough that every loss shows in full

class CowHerdTest : public testing::Test {
 protected:
  // Pictures load once for the suite; every test starts from a fresh field and an empty pool.
  static void SetUpTestSuite() { Scarecrow::load(), CornField::load(), CowHerd::load(); }
  static void TearDownTestSuite() { CowHerd::unload(), CornField::unload(), Scarecrow::unload(); }
  void SetUp() override {
    seedRandom(777);
    DayDirector::resetForTests();
    DayDirector::startDay();  // first day: the slowest speed factor
    CornField::layOut();
    for (int i = 0; i < CowHerd::capacity; ++i) CowHerd::cow(i) = Cow{};
    Scarecrow::testing::state().money = startingMoney;
    clearPlayedClips();
  }
  // A walking cow; the speed comes from the day unless the test sets vx, vy itself.
  static Cow& place(int index, float x, float y, float angle) {
    CowHerd::cow(index) = Cow{x, y, angle, 0, 0, 0, 0, 1, 0, -1};  // active, aiming at no stalk
    return CowHerd::aim(index), CowHerd::cow(index);
  }
  static float walkSpeed() { return DayDirector::creatureSpeedFactor() * 0.7f; }
};

TEST_F(CowHerdTest, GrazesWithinReachFourMovesAheadOneStalkPerTickInSlotOrderAndIgnoresBareStalks) {
  CornStalk &stalk = CornField::stalk(0), &near = CornField::stalk(1);
  stalk.ears = 2;
  Cow& c = place(0, stalk.x - 37.5f, stalk.y, 0.0f);
  c.vx = 1.0f, c.vy = 0.0f;
  CowHerd::tick();  // at -36.5: four moves ahead is -32.5, out of reach
  EXPECT_EQ(make_tuple(stalk.ears, c.target, Scarecrow::money()), make_tuple(int8_t{2}, -1, startingMoney));
  CowHerd::tick();  // at -35.5: four moves ahead is -31.5; all ears go at once
  EXPECT_EQ(make_tuple(stalk.ears, c.target, Scarecrow::money(), countPlayed("sound\\powerdown.wav")),
            make_tuple(int8_t{0}, 0, startingMoney - 20, 1));
  for (int i = 0; i < 40; ++i) CowHerd::tick();  // walking over the bare stalk costs nothing more
  EXPECT_EQ(make_tuple(Scarecrow::money(), playedClips().size()), make_tuple(startingMoney - 20, size_t{1}));
  // Two stalks in reach of the same point; the higher slot is the nearer one.
  place(0, 100.0f, 300.0f, 0.0f).vx = 1.0f;
  stalk.ears = 1, stalk.x = 130.0f, stalk.y = 300.0f, near.x = 110.0f, near.y = 300.0f;
  CowHerd::tick();  // looks at 105
  EXPECT_EQ(make_tuple(c.target, stalk.ears, near.ears, Scarecrow::money()),
            make_tuple(0, int8_t{0}, int8_t{1}, startingMoney - 40));
  CowHerd::tick();  // the other one goes on the next tick
  EXPECT_EQ(make_tuple(near.ears, Scarecrow::money()), make_tuple(int8_t{0}, startingMoney - 60));
}

TEST_F(CowHerdTest, BooReachesADiamondOfThirtyTwoAndTurnsOnlyTheFirstCalmCowOnceWithinSixtyTicks) {
  Cow& c = place(0, 600.0f, 60.0f, 180.0f);  // well away from the stalks
  EXPECT_FALSE(CowHerd::scareAt(c.x + 16.0f, c.y + 16.0f) || CowHerd::scareAt(c.x - 32.0f, c.y));
  // A calm cow later in slot order waits while the first one turns.
  Cow& later = place(3, 605.0f, 60.0f, 180.0f);
  ASSERT_TRUE(CowHerd::scareAt(c.x + 20.0f, c.y - 11.5f));
  EXPECT_EQ(make_tuple(c.angle != 180.0f, c.mooCooldown, later.angle, countPlayed("sound\\cow_moo.wav")),
            make_tuple(true, uint8_t{60}, 180.0f, 1));
  // The first one is busy: the next calm one turns.
  EXPECT_TRUE(CowHerd::scareAt(c.x + 20.0f, c.y - 11.5f) && later.angle != 180.0f);
  CowHerd::tick();
  // The letters come before the cow's own tick: the boo at the cow's feet every tick.
  for (int tick = 1; tick < 60; ++tick, CowHerd::tick()) EXPECT_FALSE(CowHerd::scareAt(c.x, c.y)) << tick;
  EXPECT_TRUE(CowHerd::scareAt(c.x, c.y)) << "calm again on the sixtieth tick after the turn";
  const float angles[2] = {c.angle, later.angle};
  CowHerd::scareAll();  // the ooga-booga turns every cow whatever its cooldown, with its own clip
  EXPECT_EQ(
      make_tuple(c.angle != angles[0], later.angle != angles[1], c.mooCooldown,
                 countPlayed("sound\\cow_mooga.wav"), countPlayed("sound\\cow_moo.wav"), Scarecrow::money()),
      make_tuple(true, true, uint8_t{60}, 2, 3, startingMoney))
      << "three moos, and neither a boo nor the ooga-booga pays";
}

TEST_F(CowHerdTest, EveryTurnIsAQuarterEitherWayAndFacingAngleAndVelocityAgree) {
  Cow& c = place(0, 320.0f, 240.0f, 0.0f);
  // Facing 0 walks right, 1 down the screen, 2 left, 3 up.
  const float dirX[4] = {1.0f, 0.0f, -1.0f, 0.0f}, dirY[4] = {0.0f, 1.0f, 0.0f, -1.0f};
  bool turns[4] = {};
  for (int turn = 0, before = 0; turn < 40; ++turn, before = c.facing) {
    CowHerd::scareAll();
    ASSERT_LT(c.facing, 4);
    turns[(c.facing - before + 4) % 4] = true;
    EXPECT_EQ(c.angle, c.facing * 90.0f);
    EXPECT_NEAR(c.vx, dirX[c.facing] * walkSpeed(), 1e-5f);
    EXPECT_NEAR(c.vy, dirY[c.facing] * walkSpeed(), 1e-5f);
  }
  EXPECT_TRUE(!turns[0] && !turns[2] && turns[1] && turns[3]);
}

TEST_F(CowHerdTest, LeavingTheWorldBoxPaysOneHundredOnceAndACowTurnedTowardsTheNearEdgeLeavesSooner) {
  Cow& turned = place(2, 600.0f, 20.0f, 180.0f);   // walking left along the top
  while (turned.facing != 3) CowHerd::scareAll();  // until it walks up, towards the near edge
  place(0, 739.5f, 40.0f, 0.0f).vx = 0.5f;
  place(1, 600.0f, -99.5f, 270.0f).vy = -0.5f;
  CowHerd::tick();
  EXPECT_EQ(make_tuple(CowHerd::countInUse(), Scarecrow::money()), make_tuple(3, startingMoney))
      << "x = 740 and y = -100 are still inside";
  int ticksToLeave = 1;
  for (; turned.active != 0 && ticksToLeave < 10000; ++ticksToLeave) CowHerd::tick();
  EXPECT_EQ(ticksToLeave, static_cast<int>(std::floor(120.0f / walkSpeed())) + 1);
  for (int i = 0; i < 10; ++i) CowHerd::tick();
  EXPECT_EQ(make_tuple(CowHerd::isEmpty(), Scarecrow::money()), make_tuple(true, startingMoney + 300));
}

TEST_F(CowHerdTest, QueuesItsViewOnTheGroundWithAShadowAndWalksATwentyNineTickCycle) {
  DrawQueue::reset();
  Cow& down = place(0, 200.0f, 300.0f, 90.0f);
  place(1, 300.0f, 300.0f, 180.0f).animTick = 22;  // facing left, and a different frame of the walk
  CowHerd::draw(0.8f);
  const DrawEntry* sprites[2] = {};
  int shadows = 0;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    const DrawEntry& e = DrawQueue::entryAt(i);
    const float size = e.kind == DrawKind::Shadow ? 48.0f : 140.0f;  // cows walk on the ground
    EXPECT_EQ(make_tuple(e.elevation, e.width, e.height, e.angle, e.tint),
              make_tuple(0.0f, size, size, 0.0f, 0.8f));
    shadows += e.kind == DrawKind::Shadow;
    if (e.kind == DrawKind::Sprite) sprites[e.x == down.x ? 0 : 1] = &e;
  }
  EXPECT_EQ(make_tuple(shadows, CowHerd::shownFrame(1)), make_tuple(2, 4));
  ASSERT_TRUE(sprites[0] && sprites[1] && sprites[0]->sprite);
  EXPECT_NE(sprites[0]->sprite, sprites[1]->sprite);
  EXPECT_EQ(make_tuple(sprites[0]->sprite->width(), sprites[0]->sprite->anchorY()), make_tuple(256.0f, 0.1f));
  DrawQueue::reset();
  down.animTick = 27;
  CowHerd::tick(), CowHerd::tick();
  EXPECT_EQ(down.animTick, 0) << "29 ticks to the walk";
}

TEST_F(CowHerdTest, SpawnedCowsTakeTheFirstFreeSlotWalkInAlongAnAxisAndReloadingEmptiesTheHerd) {
  place(0, 600.0f, 60.0f, 180.0f), place(2, 600.0f, 60.0f, 180.0f);
  CowHerd::spawn(false);
  EXPECT_TRUE(CowHerd::cow(1).active && !CowHerd::cow(3).active && playedClips().empty());
  for (int i = 2; i < CowHerd::capacity; ++i) CowHerd::spawn(true);  // one more than there is room for
  EXPECT_EQ(make_tuple(countPlayed("sound\\cow_hello.wav"), CowHerd::countInUse()),
            make_tuple(CowHerd::capacity - 3, CowHerd::capacity))
      << "a full herd drops the request without a sound";
  bool edgeSeen[4] = {};
  for (int i = 1; i < CowHerd::capacity; i += i == 1 ? 2 : 1) {
    const Cow& c = CowHerd::cow(i);
    // In from the top it walks down (1), from the right left (2), from the bottom up (3), else right (0).
    const int facing = c.y == -60.0f ? 1 : c.x == 700.0f ? 2 : c.y == 608.0f ? 3 : 0;
    // Anywhere along its edge of the 640 x 480 screen.
    EXPECT_LE(facing % 2 ? std::fabs(c.x - 320.0f) : std::fabs(c.y - 240.0f), facing % 2 ? 320.0f : 240.0f);
    EXPECT_EQ(make_tuple(int(c.facing), c.angle, facing == 0 ? c.x : -60.0f),
              make_tuple(facing, facing * 90.0f, -60.0f));
    EXPECT_NEAR(std::hypot(c.vx, c.vy), walkSpeed(), 1e-5f);
    edgeSeen[facing] = true;
  }
  EXPECT_TRUE(edgeSeen[0] && edgeSeen[1] && edgeSeen[2] && edgeSeen[3]);
  CowHerd::load();  // reloading empties the herd
  EXPECT_TRUE(CowHerd::isEmpty());
  CowHerd::unload(), CowHerd::unload(), CowHerd::tick(), CowHerd::draw(1.0f);  // harmless when unloaded
  CowHerd::load();
}
}  // namespace
