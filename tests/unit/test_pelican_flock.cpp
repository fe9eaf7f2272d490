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
const char* const goClip = "sound\\peli_go.wav";

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

  static Pelican& placeFlying(int index, float x, float y, float angle) {
    Pelican& p = PelicanFlock::pelican(index);
    p = Pelican{};
    p.state = PelicanState::Flying, p.animSet = AnimSet::Flap, p.target = -1;
    p.x = x, p.y = y, p.height = 48.0f, p.angle = angle;
    PelicanFlock::aim(index);
    return p;
  }

  static void ticks(int n) {
    for (int i = 0; i < n; ++i) PelicanFlock::tick();
  }

  static int32_t money() { return Scarecrow::state().money; }
  static float flyingSpeed() { return DayDirector::creatureSpeedFactor() * 1.5f; }
};

// --- Eating ---------------------------------------------------------------------------------

TEST_F(PelicanFlockTest, LandsSinksRisesAndEatsOneEarOnTheTwentyFirstTick) {
  CornStalk& stalk = CornField::stalk(0);
  stalk.ears = 2;
  Pelican& p = placeFlying(0, stalk.x - 24.0f, stalk.y, 0.0f);  // exactly 24 away: not yet in reach

  PelicanFlock::tick();
  EXPECT_EQ(make_tuple(p.state, p.target, p.animSet, p.animTick, p.vx, p.vy, p.height, countPlayed(eatClip)),
            make_tuple(PelicanState::Eating, 0, AnimSet::Peck, uint8_t{1}, 0.0f, 0.0f, 48.0f, 1));
  EXPECT_LT(p.x, stalk.x - 23.0f) << "it stops over its own ground point, not on the stalk";
  const float landedX = p.x;

  // It sinks by 4 a tick down to 16, then rises back to 48.
  for (int visitTick = 2; visitTick <= 20; ++visitTick) {
    PelicanFlock::tick();
    const float expected =
        visitTick <= 9 ? 48.0f - 4.0f * (visitTick - 1) : std::min(48.0f, 16.0f + 4.0f * (visitTick - 9));
    EXPECT_EQ(make_tuple(p.height, p.state, p.x), make_tuple(expected, PelicanState::Eating, landedX))
        << visitTick;
  }
  EXPECT_EQ(make_tuple(stalk.ears, money()), make_tuple(int8_t{2}, startingMoney))
      << "nothing eaten before tick 21";
  PelicanFlock::tick();
  EXPECT_EQ(make_tuple(stalk.ears, money(), p.state, p.animSet, p.animTick, countPlayed(eatClip)),
            make_tuple(int8_t{1}, startingMoney - 10, PelicanState::Flying, AnimSet::Flap, uint8_t{0}, 1));
  EXPECT_NEAR(std::hypot(p.vx, p.vy), flyingSpeed(), 1e-5f) << "off again at flying speed";
}

TEST_F(PelicanFlockTest, StalkEmptiedDuringTheVisitCostsNothing) {
  CornStalk& stalk = CornField::stalk(7);
  Pelican& p = placeFlying(3, stalk.x, stalk.y, 90.0f);
  PelicanFlock::tick();
  ASSERT_EQ(p.state, PelicanState::Eating);
  ticks(10);
  stalk.ears = 0;  // another creature got there first
  ticks(9);
  EXPECT_EQ(p.state, PelicanState::Eating);
  PelicanFlock::tick();
  EXPECT_EQ(make_tuple(p.state, money(), countPlayed("sound\\powerdown.wav")),
            make_tuple(PelicanState::Flying, startingMoney, 0));
  EXPECT_GT(std::hypot(p.vx, p.vy), 0.0f);
  PelicanFlock::tick();
  EXPECT_EQ(p.state, PelicanState::Flying) << "a bare stalk does not make it land";
}

TEST_F(PelicanFlockTest, KeepsEatingAtTheSameStalkUntilItIsBare) {
  CornStalk& stalk = CornField::stalk(14);
  stalk.ears = 3;
  Pelican& p = placeFlying(0, stalk.x, stalk.y, 0.0f);
  p.vx = p.vy = 0.0f;  // lands right over the stalk

  ticks(21);
  EXPECT_EQ(stalk.ears, 2);
  PelicanFlock::tick();  // one small step in any direction leaves it in reach
  EXPECT_EQ(p.state, PelicanState::Eating);
  EXPECT_EQ(p.target, 14);
  ticks(20);
  EXPECT_EQ(stalk.ears, 1);
  ticks(21);
  EXPECT_EQ(make_tuple(stalk.ears, money(), countPlayed(eatClip), countPlayed("sound\\powerdown.wav")),
            make_tuple(int8_t{0}, startingMoney - 30, 3, 1));
  PelicanFlock::tick();
  EXPECT_EQ(p.state, PelicanState::Flying);
}

TEST_F(PelicanFlockTest, AfterAMealItLandsAgainOnlyIfItsFirstMoveLeavesItInReach) {
  int landedAgain = 0;
  int flewOn = 0;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    CornStalk& stalk = CornField::stalk(8);
    stalk.ears = 3;
    Pelican& p = placeFlying(0, stalk.x - 23.9f, stalk.y, 0.0f);
    p.vx = p.vy = 0.0f;
    ticks(20);
    seedRandom(seed * 2654435761u);  // spread out: small seeds all start with tiny draws
    PelicanFlock::tick();            // the meal and a new heading
    ASSERT_EQ(p.state, PelicanState::Flying);
    ASSERT_EQ(stalk.ears, 2);
    const bool inReach = distance(p.x + p.vx, p.y + p.vy, stalk.x, stalk.y) < 24.0f;
    clearPlayedClips();
    PelicanFlock::tick();
    ++(inReach ? landedAgain : flewOn);
    if (inReach) {
      EXPECT_EQ(make_tuple(p.state, p.target, countPlayed(eatClip)), make_tuple(PelicanState::Eating, 8, 1));
    } else {
      EXPECT_EQ(make_tuple(p.state, countPlayed(eatClip)), make_tuple(PelicanState::Flying, 0));
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
  EXPECT_TRUE(PelicanFlock::isEmpty());
  EXPECT_EQ(money(), startingMoney);
  EXPECT_TRUE(playedClips().empty());
}

// --- Scares ---------------------------------------------------------------------------------

TEST_F(PelicanFlockTest, ScaredWhileEatingHoversThenFliesBackAtItsLoweredHeight) {
  CornStalk& stalk = CornField::stalk(20);
  stalk.ears = 2;
  Pelican& p = placeFlying(0, stalk.x, stalk.y, 30.0f);
  p.vx = p.vy = 0.0f;
  ticks(6);
  ASSERT_EQ(p.state, PelicanState::Eating);
  const float loweredHeight = p.height;
  ASSERT_LT(loweredHeight, 48.0f);

  EXPECT_TRUE(PelicanFlock::scareAt(p.x + 6.0f, p.y - 9.0f));
  EXPECT_EQ(make_tuple(p.state, p.animSet, p.animTick, money(), countPlayed(fearClip)),
            make_tuple(PelicanState::Fleeing, AnimSet::Scared, uint8_t{0}, startingMoney + 50, 1));

  const float hoverX = p.x;
  const float hoverY = p.y;
  ticks(24);
  EXPECT_EQ(make_tuple(p.animSet, p.x, p.y), make_tuple(AnimSet::Scared, hoverX, hoverY));
  PelicanFlock::tick();  // the fright's 25th tick: turned about
  EXPECT_EQ(make_tuple(p.animSet, p.angle), make_tuple(AnimSet::Flap, 210.0f));
  EXPECT_NEAR(p.vx, 3.0f * cosDeg(210.0f), 1e-5f);
  EXPECT_NEAR(p.vy, 3.0f * sinDeg(210.0f), 1e-5f);
  EXPECT_FLOAT_EQ(p.height, loweredHeight);
  PelicanFlock::tick();
  EXPECT_NEAR(p.x, hoverX + 3.0f * cosDeg(210.0f), 1e-4f);
  EXPECT_EQ(make_tuple(p.height, stalk.ears, money()),
            make_tuple(loweredHeight, int8_t{2}, startingMoney + 50))
      << "a scared pelican eats nothing";
}

TEST_F(PelicanFlockTest, ScaredFlyingPelicanHoversShowsFrameFourLastTurnsAboutAndNeverLandsAgain) {
  CornStalk& stalk = CornField::stalk(0);
  Pelican& p = placeFlying(0, stalk.x + 60.0f, stalk.y, 200.0f);
  // The reach is a diamond: 8 + 8 is not below 16.
  EXPECT_FALSE(PelicanFlock::scareAt(p.x + 8.0f, p.y + 8.0f) ||
               PelicanFlock::scareAt(p.x + 11.0f, p.y + 5.5f));
  EXPECT_EQ(p.state, PelicanState::Flying);
  EXPECT_TRUE(PelicanFlock::scareAt(p.x - 15.5f, p.y));
  EXPECT_EQ(money(), startingMoney + 50);
  const float hoverX = p.x, hoverY = p.y;
  ticks(23);
  EXPECT_EQ(make_tuple(p.animTick, PelicanFlock::shownFrame(0)), make_tuple(uint8_t{23}, 6));
  PelicanFlock::tick();  // the last frightened frame, still hovering
  EXPECT_EQ(make_tuple(p.animTick, PelicanFlock::shownFrame(0), p.x, p.y),
            make_tuple(uint8_t{24}, 4, hoverX, hoverY));
  PelicanFlock::tick();  // flapping again, turned: 200 + 180 comes back below 360
  EXPECT_EQ(make_tuple(PelicanFlock::shownFrame(0), p.angle), make_tuple(0, 20.0f));
  // Send it straight over a stalk with corn.
  p.angle = 180.0f;
  PelicanFlock::aim(0);
  clearPlayedClips();
  for (int i = 0; i < 40; ++i) {
    PelicanFlock::tick();
    EXPECT_EQ(p.state, PelicanState::Fleeing);
  }
  EXPECT_LT(p.x, stalk.x) << "it has passed over the stalk";
  EXPECT_EQ(countPlayed(eatClip), 0);
  EXPECT_FALSE(PelicanFlock::scareAt(p.x, p.y)) << "a fleeing pelican cannot be scared again";
}

TEST_F(PelicanFlockTest, OneLetterScaresOnlyTheLowerIndexedPelican) {
  Pelican& first = placeFlying(2, 300.0f, 100.0f, 90.0f);
  Pelican& second = placeFlying(5, 310.0f, 100.0f, 90.0f);
  // The letter sits right on the second one but the first in slot order wins.
  EXPECT_TRUE(PelicanFlock::scareAt(310.0f, 100.0f));
  EXPECT_EQ(make_tuple(first.state, second.state), make_tuple(PelicanState::Fleeing, PelicanState::Flying));
  EXPECT_TRUE(PelicanFlock::scareAt(310.0f, 100.0f));
  EXPECT_EQ(second.state, PelicanState::Fleeing);
  EXPECT_FALSE(PelicanFlock::scareAt(310.0f, 100.0f));
  EXPECT_EQ(make_tuple(money(), countPlayed(fearClip)), make_tuple(startingMoney + 100, 2));
}

TEST_F(PelicanFlockTest, OogaBoogaScaresEveryPelicanNotAlreadyFleeing) {
  CornStalk& stalk = CornField::stalk(3);
  Pelican& flying = placeFlying(0, 600.0f, 50.0f, 180.0f);
  Pelican& eating = placeFlying(1, stalk.x, stalk.y, 90.0f);
  eating.vx = eating.vy = 0.0f;
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

// --- Drawing --------------------------------------------------------------------------------

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
    if (e.kind == DrawKind::Shadow) {
      ++shadows;
      EXPECT_EQ(make_tuple(e.width, e.height, e.elevation),
                make_tuple(48.0f, 48.0f, e.x == low.x ? 28.0f : 48.0f))
          << "queued with the bird's height";
      continue;
    }
    ASSERT_EQ(e.kind, DrawKind::Sprite);
    const int which = e.x == low.x ? 0 : e.x == twin.x ? 1 : 2;
    sprites[which] = &e;
    EXPECT_EQ(make_tuple(e.width, e.height, e.angle, e.tint, e.alpha),
              make_tuple(140.0f, 140.0f, 0.0f, 0.6f, 1.0f))
        << "the facing rows are pre-drawn views";
  }
  EXPECT_EQ(shadows, 3);
  ASSERT_TRUE(sprites[0] && sprites[1] && sprites[2]);
  EXPECT_EQ(make_tuple(sprites[0]->elevation, sprites[1]->elevation), make_tuple(28.0f, 48.0f));
  ASSERT_NE(sprites[0]->sprite, nullptr);
  EXPECT_EQ(sprites[0]->sprite, sprites[1]->sprite) << "same facing, same frame";
  EXPECT_NE(sprites[0]->sprite, sprites[2]->sprite);
  EXPECT_EQ(sprites[0]->sprite->width(), 256.0f);
  EXPECT_FLOAT_EQ(sprites[0]->sprite->anchorY(), 0.3f);
  DrawQueue::reset();
  worldLight = 0.0f;
}

// --- Arrival --------------------------------------------------------------------------------

TEST_F(PelicanFlockTest, ArrivalsComeFromEveryEdgeHeadingInAndSpanItsPlacesAndHeadings) {
  struct Range {
    float low = 1e9f;
    float high = -1e9f;
    void add(float v) {
      low = std::min(low, v);
      high = std::max(high, v);
    }
  };
  Range place[4];
  Range heading[4];
  for (int i = 0; i < 2000; ++i) {
    PelicanFlock::spawn(false);
    Pelican& p = PelicanFlock::pelican(0);
    ASSERT_EQ(p.state, PelicanState::Flying);
    const int edge = p.y == -60.0f ? 0 : p.x == 700.0f ? 1 : p.y == 608.0f ? 2 : 3;
    if (edge == 3) {
      ASSERT_EQ(p.x, -60.0f);
    }
    SCOPED_TRACE(testing::Message() << "edge " << edge << " angle " << p.angle);
    EXPECT_FLOAT_EQ(p.height, 48.0f);
    EXPECT_TRUE(p.angle >= 0.0f && p.angle <= 360.0f);
    EXPECT_NEAR(std::hypot(p.vx, p.vy), flyingSpeed(), 1e-5f);
    // The sprite row is the view nearest the heading.
    float offset = std::fabs(p.facing * 45.0f - p.angle);
    EXPECT_LE(std::min(offset, 360.0f - offset), 22.5f) << "facing " << int(p.facing);
    place[edge].add(edge % 2 == 0 ? p.x : p.y);
    // The left edge's headings wrap through 0: measure them from 285 on.
    heading[edge].add(edge == 3 && p.angle < 180.0f ? p.angle + 360.0f : p.angle);
    p = Pelican{};
  }
  EXPECT_TRUE(playedClips().empty()) << "unannounced arrivals are silent";
  const float lowest[4] = {15.0f, 105.0f, 195.0f, 285.0f};
  const float across[4] = {640.0f, 480.0f, 640.0f, 480.0f};
  for (int edge = 0; edge < 4; ++edge) {
    SCOPED_TRACE(edge);  // nearly the whole range is used, and nothing beyond it
    EXPECT_TRUE(heading[edge].low >= lowest[edge] && heading[edge].low < lowest[edge] + 2.0f)
        << heading[edge].low;
    EXPECT_TRUE(heading[edge].high <= lowest[edge] + 150.0f && heading[edge].high > lowest[edge] + 148.0f)
        << heading[edge].high;
    EXPECT_TRUE(place[edge].low >= 0.0f && place[edge].low < 10.0f) << place[edge].low;
    EXPECT_TRUE(place[edge].high <= across[edge] && place[edge].high > across[edge] - 10.0f)
        << place[edge].high;
  }
}

TEST_F(PelicanFlockTest, SpawnTakesTheFirstFreeSlotAndAFullPoolDropsTheRequest) {
  placeFlying(0, 300.0f, 100.0f, 0.0f);
  placeFlying(2, 300.0f, 100.0f, 0.0f);
  PelicanFlock::spawn(false);
  EXPECT_EQ(make_tuple(PelicanFlock::pelican(1).state, PelicanFlock::pelican(3).state),
            make_tuple(PelicanState::Flying, PelicanState::Free));
  EXPECT_TRUE(playedClips().empty());
  for (int i = 3; i < PelicanFlock::capacity; ++i) PelicanFlock::spawn(true);
  EXPECT_EQ(countPlayed(goClip), PelicanFlock::capacity - 3);
  clearPlayedClips();
  PelicanFlock::spawn(true);
  EXPECT_TRUE(playedClips().empty()) << "a full pool drops the request without a sound";
  EXPECT_EQ(PelicanFlock::countInUse(), PelicanFlock::capacity);
}

TEST_F(PelicanFlockTest, ReloadingEmptiesThePoolUnloadingTwiceIsHarmlessAndOutsideRecordsAreScratch) {
  PelicanFlock::spawn(true);
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
