#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "field/pelican_flock.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;
constexpr int32_t startingMoney = 1000;  // high enough that every loss shows in full
const char* const eatClip = "sound\\peli_eat.wav";

class PelicanFlockTest : public testing::Test {
 protected:
  // Pictures load once for the suite; every test starts from a fresh field and an empty pool.
  static void SetUpTestSuite() { Scarecrow::load(), CornField::load(), PelicanFlock::load(); }
  static void TearDownTestSuite() { PelicanFlock::unload(), CornField::unload(), Scarecrow::unload(); }
  void SetUp() override {
    seedRandom(4242);
    DayDirector::resetForTests();
    DayDirector::startDay();  // first day: the slowest speed factor
    CornField::layOut();
    for (int i = 0; i < PelicanFlock::capacity; ++i) PelicanFlock::pelican(i) = Pelican{};
    Scarecrow::testing::state().money = startingMoney;
    clearPlayedClips();
  }
  // A pelican flying at 48, aiming at no stalk; `hover` stops it so that it lands right where it is put.
  static Pelican& placeFlying(int index, float x, float y, float angle, bool hover = false) {
    Pelican& p = PelicanFlock::pelican(index) =
        Pelican{x, y, 48.0f, angle, 0, 0, AnimSet::Flap, 0, PelicanState::Flying, 0, -1};
    PelicanFlock::aim(index);
    if (hover) p.vx = p.vy = 0.0f;
    return p;
  }
  static int32_t money() { return Scarecrow::testing::state().money; }
  static float flyingSpeed() { return DayDirector::creatureSpeedFactor() * 1.5f; }
};

TEST_F(PelicanFlockTest, EatsOneEarOnTheTwentyFirstTickButAnEmptiedStalkOrLeavingTheWorldBoxCostsNothing) {
  CornStalk& stalk = CornField::stalk(0);
  stalk.ears = 2;
  Pelican& p = placeFlying(0, stalk.x - 24.0f, stalk.y, 0.0f);  // exactly 24 away: not yet in reach
  Pelican& robbed = placeFlying(3, CornField::stalk(7).x, CornField::stalk(7).y, 90.0f);
  // Two more on their way out: x = 740 and y = -100 are still inside the world box.
  placeFlying(1, 739.5f, 240.0f, 0.0f).vx = 0.5f;
  placeFlying(2, 300.0f, -99.5f, 270.0f).vy = -0.5f;
  PelicanFlock::tick();
  EXPECT_EQ(make_tuple(p.state, p.target, p.animSet, p.animTick, p.vx, p.vy, p.height, robbed.target,
                       PelicanFlock::countInUse()),
            make_tuple(PelicanState::Eating, 0, AnimSet::Peck, uint8_t{1}, 0.0f, 0.0f, 48.0f, 7, 4));
  const float landedX = stalk.x - 24.0f + flyingSpeed();  // its own ground point, not the stalk's
  // It sinks by 4 a tick down to 16, then rises back to 48; nothing is eaten before tick 21.
  for (int visitTick = 2; visitTick <= 20; ++visitTick) {
    PelicanFlock::tick();
    const float expected =
        visitTick <= 9 ? 48.0f - 4.0f * (visitTick - 1) : std::min(48.0f, 16.0f + 4.0f * (visitTick - 9));
    EXPECT_EQ(make_tuple(p.height, p.state, p.x, stalk.ears, money(), PelicanFlock::countInUse()),
              make_tuple(expected, PelicanState::Eating, landedX, int8_t{2}, startingMoney, 2))
        << visitTick;
    if (visitTick == 11) CornField::stalk(7).ears = 0;  // another creature got there first
  }
  PelicanFlock::tick();  // only the full stalk costs money; only the two landings made a sound
  EXPECT_EQ(
      make_tuple(stalk.ears, money(), p.state, p.animSet, p.animTick, playedClips().size(), robbed.state),
      make_tuple(int8_t{1}, startingMoney - 10, PelicanState::Flying, AnimSet::Flap, uint8_t{0}, size_t{2},
                 PelicanState::Flying));
  EXPECT_NEAR(std::hypot(p.vx, p.vy), flyingSpeed(), 1e-5f) << "off again at flying speed";
}

TEST_F(PelicanFlockTest, AfterAMealItLandsAgainAndEatsAnotherEarOnlyIfItsFirstMoveLeavesItInReach) {
  int landedAgain = 0, flewOn = 0;
  CornStalk& stalk = CornField::stalk(8);
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    stalk.ears = 3;
    Scarecrow::testing::state().money = startingMoney;
    Pelican& p = placeFlying(0, stalk.x - 23.9f, stalk.y, 0.0f, true);
    for (int i = 0; i < 20; ++i) PelicanFlock::tick();
    seedRandom(seed * 2654435761u);  // spread out: small seeds all start with tiny draws
    PelicanFlock::tick();            // the meal and a new heading
    ASSERT_EQ(make_tuple(p.state, stalk.ears), make_tuple(PelicanState::Flying, int8_t{2}));
    const bool inReach = distance(p.x + p.vx, p.y + p.vy, stalk.x, stalk.y) < 24.0f;
    clearPlayedClips();
    PelicanFlock::tick();
    ++(inReach ? landedAgain : flewOn);
    EXPECT_EQ(make_tuple(p.state, countPlayed(eatClip)),
              inReach ? make_tuple(PelicanState::Eating, 1) : make_tuple(PelicanState::Flying, 0));
    if (!inReach) continue;
    for (int i = 0; i < 20; ++i) PelicanFlock::tick();
    EXPECT_EQ(make_tuple(p.target, stalk.ears, money()), make_tuple(8, int8_t{1}, startingMoney - 20));
  }
  EXPECT_TRUE(landedAgain > 0 && flewOn > 0);
}

TEST_F(PelicanFlockTest, ScaredWhileEatingHoversThenFliesBackAtItsLoweredHeight) {
  CornStalk& stalk = CornField::stalk(20);  // one ear, from the day's start
  Pelican& p = placeFlying(0, stalk.x, stalk.y, 30.0f, true);
  for (int i = 0; i < 6; ++i) PelicanFlock::tick();
  ASSERT_EQ(make_tuple(p.state, p.height), make_tuple(PelicanState::Eating, 28.0f));
  EXPECT_TRUE(PelicanFlock::scareAt(p.x + 6.0f, p.y - 9.0f));
  EXPECT_EQ(make_tuple(p.state, p.animSet, p.animTick, money(), countPlayed("sound\\peli_fear.wav")),
            make_tuple(PelicanState::Fleeing, AnimSet::Scared, uint8_t{0}, startingMoney + 50, 1));
  // Still over the stalk for the fright's 25 ticks, then one step back the way it came.
  for (int i = 0; i < 26; ++i) PelicanFlock::tick();
  EXPECT_EQ(make_tuple(p.animSet, p.angle, p.height, stalk.ears, money()),
            make_tuple(AnimSet::Flap, 210.0f, 28.0f, int8_t{1}, startingMoney + 50))
      << "a scared pelican eats nothing";
  EXPECT_NEAR(p.x, stalk.x + 3.0f * cosDeg(210.0f), 1e-4f);
  EXPECT_NEAR(p.y, stalk.y + 3.0f * sinDeg(210.0f), 1e-4f);
}

TEST_F(PelicanFlockTest, ScaredFlyingPelicanHoversShowsFrameFourLastTurnsAboutAndNeverLandsAgain) {
  CornStalk& stalk = CornField::stalk(0);
  Pelican& p = placeFlying(0, stalk.x - 60.0f, stalk.y - 22.0f, 200.0f);
  // The reach is a diamond: 8 + 8 is not below 16. A letter right on a higher-indexed pelican
  // still scares the lower-indexed one within reach, and only that one.
  Pelican& second = placeFlying(5, p.x - 15.5f, p.y, 90.0f, true);
  EXPECT_FALSE(PelicanFlock::scareAt(p.x + 8.0f, p.y + 8.0f));
  EXPECT_TRUE(PelicanFlock::scareAt(second.x, second.y));
  EXPECT_EQ(make_tuple(p.state, second.state, money()),
            make_tuple(PelicanState::Fleeing, PelicanState::Flying, startingMoney + 50));
  for (int i = 0; i < 24; ++i) PelicanFlock::tick();  // the last frightened frame, still hovering
  EXPECT_EQ(make_tuple(p.animTick, PelicanFlock::shownFrame(0), p.x, p.y),
            make_tuple(uint8_t{24}, 4, stalk.x - 60.0f, stalk.y - 22.0f));
  PelicanFlock::tick();  // flapping again, turned: 200 + 180 comes back below 360
  EXPECT_EQ(make_tuple(PelicanFlock::shownFrame(0), p.angle), make_tuple(0, 20.0f));
  // Its way back runs straight over a stalk with corn: it neither lands nor can be scared again.
  clearPlayedClips();
  for (int i = 0; i < 40; ++i) PelicanFlock::tick();
  EXPECT_GT(p.x, stalk.x) << "it has passed over the stalk";
  EXPECT_FALSE(PelicanFlock::scareAt(p.x, p.y));
  EXPECT_EQ(make_tuple(p.state, playedClips().empty(), money()),
            make_tuple(PelicanState::Fleeing, true, startingMoney + 50));
}

TEST_F(PelicanFlockTest, OogaBoogaScaresEveryPelicanNotAlreadyFleeing) {
  Pelican& flying = placeFlying(0, 600.0f, 50.0f, 180.0f);
  Pelican& eating = placeFlying(1, CornField::stalk(3).x, CornField::stalk(3).y, 90.0f, true);
  eating.state = PelicanState::Eating;
  Pelican& fleeing = placeFlying(4, 100.0f, 50.0f, 0.0f);
  fleeing.state = PelicanState::Fleeing;
  PelicanFlock::scareAll();
  EXPECT_EQ(
      make_tuple(flying.state, eating.state, flying.animTick, eating.animTick, fleeing.animSet, fleeing.vx),
      make_tuple(PelicanState::Fleeing, PelicanState::Fleeing, uint8_t{5}, uint8_t{5}, AnimSet::Flap,
                 flyingSpeed()));
  EXPECT_EQ(make_tuple(money(), countPlayed("sound\\peli_fear.wav")), make_tuple(startingMoney + 100, 2));
  // On the twentieth tick after the power caught it, it turns about before it moves.
  for (int i = 0; i < 20; ++i) PelicanFlock::tick();
  EXPECT_EQ(make_tuple(flying.animSet, flying.angle, flying.x), make_tuple(AnimSet::Flap, 0.0f, 600.0f));
  EXPECT_NEAR(flying.vx, 3.0f, 1e-5f);
}

TEST_F(PelicanFlockTest, QueuesItsViewAtItsHeightThenAShadowOnTheGround) {
  DrawQueue::reset();
  Pelican& low = placeFlying(0, 200.0f, 300.0f, 90.0f);  // facing down
  low.height = 28.0f;
  placeFlying(1, 320.0f, 320.0f, 180.0f);  // facing left
  PelicanFlock::draw(0.6f);
  const DrawEntry* sprites[2] = {};
  int shadows = 0;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    const DrawEntry& e = DrawQueue::entryAt(i);
    const float size = e.kind == DrawKind::Shadow ? 48.0f : 140.0f;  // shadows too go at the bird's height
    EXPECT_EQ(make_tuple(e.width, e.height, e.elevation),
              make_tuple(size, size, e.x == low.x ? 28.0f : 48.0f));
    shadows += e.kind == DrawKind::Shadow;
    if (e.kind == DrawKind::Sprite) sprites[e.x == low.x ? 0 : 1] = &e;
  }
  ASSERT_TRUE(shadows == 2 && sprites[0] && sprites[1] && sprites[0]->sprite);
  EXPECT_NE(sprites[0]->sprite, sprites[1]->sprite);
  // The facing rows are pre-drawn views: no turning.
  const DrawEntry& e = *sprites[0];
  EXPECT_EQ(make_tuple(e.angle, e.tint, e.alpha, e.sprite->width(), e.sprite->anchorY()),
            make_tuple(0.0f, 0.6f, 1.0f, 256.0f, 0.3f));
  DrawQueue::reset();
}

TEST_F(PelicanFlockTest, SpawnsIntoTheFirstFreeSlotAFullPoolDropsTheRequestAndReloadingEmptiesIt) {
  placeFlying(0, 300.0f, 100.0f, 0.0f), placeFlying(2, 300.0f, 100.0f, 0.0f);
  PelicanFlock::spawn(false);
  EXPECT_TRUE(PelicanFlock::pelican(1).state == PelicanState::Flying &&
              PelicanFlock::pelican(3).state == PelicanState::Free && playedClips().empty());
  // One more than there is room for.
  for (int i = 2; i < PelicanFlock::capacity; ++i) PelicanFlock::spawn(true);
  EXPECT_EQ(make_tuple(countPlayed("sound\\peli_go.wav"), PelicanFlock::countInUse()),
            make_tuple(PelicanFlock::capacity - 3, PelicanFlock::capacity));
  // The edges are the crows' own chooser (checked draw by draw there); pelicans fly in at their own
  // speed and show the view nearest their heading.
  for (int i = 3; i < PelicanFlock::capacity; ++i) {
    const Pelican& p = PelicanFlock::pelican(i);
    EXPECT_TRUE(p.state == PelicanState::Flying && p.height == 48.0f && p.animSet == AnimSet::Flap);
    EXPECT_NEAR(std::hypot(p.vx, p.vy), flyingSpeed(), 1e-5f);
    const float offset = std::fabs(p.facing * 45.0f - p.angle);
    EXPECT_LE(std::min(offset, 360.0f - offset), 22.5f) << "facing " << int(p.facing);
  }
  PelicanFlock::load();  // reloading empties the pool
  EXPECT_TRUE(PelicanFlock::isEmpty());
  PelicanFlock::unload(), PelicanFlock::unload(), PelicanFlock::tick(), PelicanFlock::draw(1.0f);  // harmless
  PelicanFlock::load();
  // Records outside the pool are scratch.
  PelicanFlock::pelican(PelicanFlock::capacity).state = PelicanState::Flying;
  PelicanFlock::pelican(-1).state = PelicanState::Flying;
  PelicanFlock::aim(PelicanFlock::capacity);
  EXPECT_TRUE(PelicanFlock::isEmpty());
}
}  // namespace
