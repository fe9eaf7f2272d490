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
#include "screens/play_screen.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;
constexpr int32_t startingMoney = 1000;  // high enough that every loss shows in full

const char* const eatClip = "sound\\peli_eat.wav";
const char* const fearClip = "sound\\peli_fear.wav";

class PelicanFlockTest : public testing::Test {
 protected:
  // Pictures load once for the suite; every test starts from a fresh field and an empty pool.
  static void SetUpTestSuite() {
    Scarecrow::load();
    CornField::load();
    PelicanFlock::load();
  }
  static void TearDownTestSuite() {
    PelicanFlock::unload();
    CornField::unload();
    Scarecrow::unload();
  }
  void SetUp() override {
    seedRandom(4242);
    DayDirector::resetForTests();
    DayDirector::startDay();  // first day: the slowest speed factor
    CornField::layOut();
    for (int i = 0; i < PelicanFlock::capacity; ++i) PelicanFlock::pelican(i) = Pelican{};
    Scarecrow::state().money = startingMoney;
    clearPlayedClips();
  }

  // A flying pelican; `hover` stops it so that it lands right where it is put.
  static Pelican& placeFlying(int index, float x, float y, float angle, bool hover = false) {
    Pelican& p = PelicanFlock::pelican(index);
    p = Pelican{};
    p.state = PelicanState::Flying, p.target = -1, p.x = x, p.y = y, p.height = 48.0f, p.angle = angle;
    PelicanFlock::aim(index);
    if (hover) p.vx = p.vy = 0.0f;
    return p;
  }
  static void ticks(int n) {
    for (int i = 0; i < n; ++i) PelicanFlock::tick();
  }
  static int32_t money() { return Scarecrow::state().money; }
  static float flyingSpeed() { return DayDirector::creatureSpeedFactor() * 1.5f; }
};

TEST_F(PelicanFlockTest,
       LandsSinksRisesAndEatsOneEarOnTheTwentyFirstTickButAStalkEmptiedMeanwhileCostsNothing) {
  CornStalk& stalk = CornField::stalk(0);
  stalk.ears = 2;
  Pelican& p = placeFlying(0, stalk.x - 24.0f, stalk.y, 0.0f);  // exactly 24 away: not yet in reach
  Pelican& robbed = placeFlying(3, CornField::stalk(7).x, CornField::stalk(7).y, 90.0f);
  PelicanFlock::tick();
  EXPECT_EQ(make_tuple(p.state, p.target, p.animSet, p.animTick, p.vx, p.vy, p.height, robbed.target),
            make_tuple(PelicanState::Eating, 0, AnimSet::Peck, uint8_t{1}, 0.0f, 0.0f, 48.0f, 7));
  EXPECT_LT(p.x, stalk.x - 23.0f) << "it stops over its own ground point, not on the stalk";
  const float landedX = p.x;
  // It sinks by 4 a tick down to 16, then rises back to 48; nothing is eaten before tick 21.
  for (int visitTick = 2; visitTick <= 20; ++visitTick) {
    PelicanFlock::tick();
    const float expected =
        visitTick <= 9 ? 48.0f - 4.0f * (visitTick - 1) : std::min(48.0f, 16.0f + 4.0f * (visitTick - 9));
    EXPECT_EQ(make_tuple(p.height, p.state, p.x, stalk.ears, money()),
              make_tuple(expected, PelicanState::Eating, landedX, int8_t{2}, startingMoney))
        << visitTick;
    if (visitTick == 11) CornField::stalk(7).ears = 0;  // another creature got there first
  }
  PelicanFlock::tick();  // only the full stalk costs money
  EXPECT_EQ(make_tuple(stalk.ears, money(), p.state, p.animSet, p.animTick, countPlayed(eatClip)),
            make_tuple(int8_t{1}, startingMoney - 10, PelicanState::Flying, AnimSet::Flap, uint8_t{0}, 2));
  EXPECT_NEAR(std::hypot(p.vx, p.vy), flyingSpeed(), 1e-5f) << "off again at flying speed";
  EXPECT_EQ(make_tuple(robbed.state, countPlayed("sound\\powerdown.wav")),
            make_tuple(PelicanState::Flying, 0));
  EXPECT_NEAR(std::hypot(robbed.vx, robbed.vy), flyingSpeed(), 1e-5f);
  PelicanFlock::tick();
  EXPECT_EQ(robbed.state, PelicanState::Flying) << "a bare stalk does not make it land";
}

TEST_F(PelicanFlockTest, AfterAMealItLandsAgainAndEatsAnotherEarOnlyIfItsFirstMoveLeavesItInReach) {
  int landedAgain = 0, flewOn = 0;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    CornStalk& stalk = CornField::stalk(8);
    stalk.ears = 3;
    Scarecrow::state().money = startingMoney;
    Pelican& p = placeFlying(0, stalk.x - 23.9f, stalk.y, 0.0f, true);
    ticks(20);
    seedRandom(seed * 2654435761u);  // spread out: small seeds all start with tiny draws
    PelicanFlock::tick();            // the meal and a new heading
    ASSERT_EQ(make_tuple(p.state, stalk.ears), make_tuple(PelicanState::Flying, int8_t{2}));
    const bool inReach = distance(p.x + p.vx, p.y + p.vy, stalk.x, stalk.y) < 24.0f;
    clearPlayedClips();
    PelicanFlock::tick();
    ++(inReach ? landedAgain : flewOn);
    EXPECT_EQ(make_tuple(p.state, countPlayed(eatClip)),
              inReach ? make_tuple(PelicanState::Eating, 1) : make_tuple(PelicanState::Flying, 0));
    if (inReach) {
      ticks(20);
      EXPECT_EQ(make_tuple(p.target, stalk.ears, money()), make_tuple(8, int8_t{1}, startingMoney - 20));
    }
    p = Pelican{};
  }
  EXPECT_GT(landedAgain, 0);
  EXPECT_GT(flewOn, 0);
}

TEST_F(PelicanFlockTest, LeavesTheWorldBoxSilentlyAndWithoutCost) {
  Pelican& right = placeFlying(0, 739.5f, 240.0f, 0.0f);
  right.vx = 0.5f, right.vy = 0.0f;
  Pelican& up = placeFlying(1, 300.0f, -99.5f, 270.0f);
  up.vx = 0.0f, up.vy = -0.5f;
  PelicanFlock::tick();
  EXPECT_EQ(make_tuple(right.state, up.state), make_tuple(PelicanState::Flying, PelicanState::Flying))
      << "x = 740 and y = -100 are still inside";
  PelicanFlock::tick();
  EXPECT_EQ(make_tuple(PelicanFlock::isEmpty(), money(), playedClips().empty()),
            make_tuple(true, startingMoney, true));
}

TEST_F(PelicanFlockTest, ScaredWhileEatingHoversThenFliesBackAtItsLoweredHeight) {
  CornStalk& stalk = CornField::stalk(20);
  stalk.ears = 2;
  Pelican& p = placeFlying(0, stalk.x, stalk.y, 30.0f, true);
  ticks(6);
  ASSERT_EQ(p.state, PelicanState::Eating);
  const float loweredHeight = p.height, hoverX = p.x, hoverY = p.y;
  ASSERT_LT(loweredHeight, 48.0f);
  EXPECT_TRUE(PelicanFlock::scareAt(p.x + 6.0f, p.y - 9.0f));
  EXPECT_EQ(make_tuple(p.state, p.animSet, p.animTick, money(), countPlayed(fearClip)),
            make_tuple(PelicanState::Fleeing, AnimSet::Scared, uint8_t{0}, startingMoney + 50, 1));
  ticks(24);
  EXPECT_EQ(make_tuple(p.animSet, p.x, p.y), make_tuple(AnimSet::Scared, hoverX, hoverY));
  PelicanFlock::tick();  // the fright's 25th tick: turned about
  EXPECT_EQ(make_tuple(p.animSet, p.angle, p.height), make_tuple(AnimSet::Flap, 210.0f, loweredHeight));
  EXPECT_NEAR(p.vx, 3.0f * cosDeg(210.0f), 1e-5f);
  EXPECT_NEAR(p.vy, 3.0f * sinDeg(210.0f), 1e-5f);
  PelicanFlock::tick();
  EXPECT_NEAR(p.x, hoverX + 3.0f * cosDeg(210.0f), 1e-4f);
  EXPECT_EQ(make_tuple(p.height, stalk.ears, money()),
            make_tuple(loweredHeight, int8_t{2}, startingMoney + 50))
      << "a scared pelican eats nothing";
}

TEST_F(PelicanFlockTest, ScaredFlyingPelicanHoversShowsFrameFourLastTurnsAboutAndNeverLandsAgain) {
  CornStalk& stalk = CornField::stalk(0);
  Pelican& p = placeFlying(0, stalk.x + 60.0f, stalk.y, 200.0f);
  // The reach is a diamond: 8 + 8 is not below 16. A letter right on a higher-indexed pelican
  // still scares the lower-indexed one within reach, and only that one.
  Pelican& second = placeFlying(5, p.x - 15.5f, p.y, 90.0f, true);
  EXPECT_FALSE(PelicanFlock::scareAt(p.x + 8.0f, p.y + 8.0f) ||
               PelicanFlock::scareAt(p.x + 11.0f, p.y + 5.5f));
  EXPECT_TRUE(PelicanFlock::scareAt(second.x, second.y));
  EXPECT_EQ(make_tuple(p.state, second.state, money()),
            make_tuple(PelicanState::Fleeing, PelicanState::Flying, startingMoney + 50));
  const float hoverX = p.x, hoverY = p.y;
  ticks(23);
  EXPECT_EQ(make_tuple(p.animTick, PelicanFlock::shownFrame(0)), make_tuple(uint8_t{23}, 6));
  PelicanFlock::tick();  // the last frightened frame, still hovering
  EXPECT_EQ(make_tuple(p.animTick, PelicanFlock::shownFrame(0), p.x, p.y),
            make_tuple(uint8_t{24}, 4, hoverX, hoverY));
  PelicanFlock::tick();  // flapping again, turned: 200 + 180 comes back below 360
  EXPECT_EQ(make_tuple(PelicanFlock::shownFrame(0), p.angle), make_tuple(0, 20.0f));
  // Sent straight over a stalk with corn, it neither lands nor can be scared again.
  p.angle = 180.0f;
  PelicanFlock::aim(0);
  clearPlayedClips();
  for (int i = 0; i < 40; ++i) {
    PelicanFlock::tick();
    EXPECT_EQ(p.state, PelicanState::Fleeing);
  }
  EXPECT_LT(p.x, stalk.x) << "it has passed over the stalk";
  EXPECT_EQ(countPlayed(eatClip), 0);
  EXPECT_FALSE(PelicanFlock::scareAt(p.x, p.y));
  EXPECT_TRUE(PelicanFlock::scareAt(second.x, second.y));
  EXPECT_EQ(make_tuple(money(), countPlayed(fearClip)), make_tuple(startingMoney + 100, 1));
}

TEST_F(PelicanFlockTest, OogaBoogaScaresEveryPelicanNotAlreadyFleeing) {
  CornStalk& stalk = CornField::stalk(3);
  Pelican& flying = placeFlying(0, 600.0f, 50.0f, 180.0f);
  Pelican& eating = placeFlying(1, stalk.x, stalk.y, 90.0f, true);
  PelicanFlock::tick();
  ASSERT_EQ(eating.state, PelicanState::Eating);
  Pelican& fleeing = placeFlying(4, 100.0f, 50.0f, 0.0f);
  fleeing.state = PelicanState::Fleeing;
  PelicanFlock::aim(4);
  const float fleeingVx = fleeing.vx;
  clearPlayedClips();
  const int32_t before = money();
  PelicanFlock::scareAll();
  EXPECT_EQ(
      make_tuple(flying.state, eating.state, flying.animTick, eating.animTick, fleeing.animSet, fleeing.vx),
      make_tuple(PelicanState::Fleeing, PelicanState::Fleeing, uint8_t{5}, uint8_t{5}, AnimSet::Flap,
                 fleeingVx));
  EXPECT_EQ(make_tuple(money(), countPlayed(fearClip), PelicanFlock::countInUse()),
            make_tuple(before + 100, 2, 3));
  ticks(19);
  EXPECT_EQ(flying.animSet, AnimSet::Scared);
  PelicanFlock::tick();  // the twentieth tick after the power caught it
  EXPECT_EQ(make_tuple(flying.animSet, flying.angle), make_tuple(AnimSet::Flap, 0.0f));
  EXPECT_NEAR(flying.vx, 3.0f, 1e-5f);
}

TEST_F(PelicanFlockTest, QueuesItsViewAtItsHeightThenAShadowOnTheGround) {
  DrawQueue::reset();
  worldLight = 0.6f;
  Pelican& low = placeFlying(0, 200.0f, 300.0f, 90.0f);  // facing down
  low.height = 28.0f;
  Pelican& twin = placeFlying(1, 260.0f, 310.0f, 90.0f);
  placeFlying(2, 320.0f, 320.0f, 180.0f);  // facing left
  PelicanFlock::draw();
  const DrawEntry* sprites[3] = {};
  int shadows = 0;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    const DrawEntry& e = DrawQueue::entryAt(i);
    const float height = e.x == low.x ? 28.0f : 48.0f;  // shadows too are queued with the bird's height
    if (e.kind == DrawKind::Shadow) {
      ++shadows;
      EXPECT_EQ(make_tuple(e.width, e.height, e.elevation), make_tuple(48.0f, 48.0f, height));
      continue;
    }
    ASSERT_EQ(e.kind, DrawKind::Sprite);
    sprites[e.x == low.x ? 0 : e.x == twin.x ? 1 : 2] = &e;
    // The facing rows are pre-drawn views: no turning.
    EXPECT_EQ(make_tuple(e.width, e.height, e.angle, e.tint, e.alpha, e.elevation),
              make_tuple(140.0f, 140.0f, 0.0f, 0.6f, 1.0f, height));
  }
  EXPECT_EQ(shadows, 3);
  ASSERT_TRUE(sprites[0] && sprites[1] && sprites[2] && sprites[0]->sprite);
  EXPECT_EQ(sprites[0]->sprite, sprites[1]->sprite) << "same facing, same frame";
  EXPECT_NE(sprites[0]->sprite, sprites[2]->sprite);
  EXPECT_EQ(make_tuple(sprites[0]->sprite->width(), sprites[0]->sprite->anchorY()), make_tuple(256.0f, 0.3f));
  DrawQueue::reset();
  worldLight = 0.0f;
}

TEST_F(PelicanFlockTest,
       SpawnsComeFromEveryEdgeIntoTheFirstFreeSlotAFullPoolDropsTheRequestAndReloadingEmptiesIt) {
  placeFlying(0, 300.0f, 100.0f, 0.0f);
  placeFlying(2, 300.0f, 100.0f, 0.0f);
  PelicanFlock::spawn(false);
  EXPECT_EQ(make_tuple(PelicanFlock::pelican(1).state, PelicanFlock::pelican(3).state, playedClips().empty()),
            make_tuple(PelicanState::Flying, PelicanState::Free, true));
  for (int i = 3; i < PelicanFlock::capacity; ++i) PelicanFlock::spawn(true);
  EXPECT_EQ(countPlayed("sound\\peli_go.wav"), PelicanFlock::capacity - 3);
  // The edges themselves are the crows' (checked draw by draw there); pelicans come from all four,
  // flying in at their own speed and shown in the view nearest their heading.
  bool edgeSeen[4] = {};
  for (int i = 3; i < PelicanFlock::capacity; ++i) {
    const Pelican& p = PelicanFlock::pelican(i);
    const int edge = p.y == -60.0f ? 0 : p.x == 700.0f ? 1 : p.y == 608.0f ? 2 : 3;
    SCOPED_TRACE(testing::Message() << "edge " << edge << " angle " << p.angle);
    EXPECT_EQ(make_tuple(p.state, p.height, p.animSet, edge == 3 ? p.x : -60.0f),
              make_tuple(PelicanState::Flying, 48.0f, AnimSet::Flap, -60.0f));
    EXPECT_NEAR(std::hypot(p.vx, p.vy), flyingSpeed(), 1e-5f);
    const float inward[4] = {p.vy, -p.vx, -p.vy, p.vx}, offset = std::fabs(p.facing * 45.0f - p.angle);
    EXPECT_GT(inward[edge], 0);
    EXPECT_LE(std::min(offset, 360.0f - offset), 22.5f) << "facing " << int(p.facing);
    edgeSeen[edge] = true;
  }
  EXPECT_TRUE(edgeSeen[0] && edgeSeen[1] && edgeSeen[2] && edgeSeen[3]);
  clearPlayedClips();
  PelicanFlock::spawn(true);  // dropped, without a sound
  EXPECT_EQ(make_tuple(playedClips().empty(), PelicanFlock::countInUse()),
            make_tuple(true, PelicanFlock::capacity));
  // Reloading empties the pool, unloading twice is harmless and outside records are scratch.
  PelicanFlock::load();
  EXPECT_TRUE(PelicanFlock::isEmpty());
  PelicanFlock::unload();
  PelicanFlock::unload();
  PelicanFlock::tick();
  PelicanFlock::draw();
  EXPECT_TRUE(PelicanFlock::isEmpty());
  PelicanFlock::load();
  EXPECT_NE(&PelicanFlock::pelican(PelicanFlock::capacity),
            &PelicanFlock::pelican(PelicanFlock::capacity - 1));
  EXPECT_NE(&PelicanFlock::pelican(-1), &PelicanFlock::pelican(0));
  PelicanFlock::aim(PelicanFlock::capacity);
  EXPECT_TRUE(PelicanFlock::isEmpty());
}
}  // namespace
