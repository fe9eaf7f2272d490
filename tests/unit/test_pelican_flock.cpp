#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "render/sprite.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
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
    p.state = PelicanState::Flying;
    p.x = x;
    p.y = y;
    p.height = 48.0f;
    p.angle = angle;
    p.animSet = AnimSet::Flap;
    p.target = -1;
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
  ASSERT_EQ(p.state, PelicanState::Eating);
  EXPECT_EQ(p.target, 0);
  EXPECT_EQ(p.animSet, AnimSet::Peck);
  EXPECT_EQ(p.animTick, 1);
  EXPECT_EQ(p.vx, 0.0f);
  EXPECT_EQ(p.vy, 0.0f);
  EXPECT_FLOAT_EQ(p.height, 48.0f);
  EXPECT_LT(p.x, stalk.x - 23.0f) << "it stops over its own ground point, not on the stalk";
  EXPECT_EQ(countPlayed(eatClip), 1);
  const float landedX = p.x;

  // It sinks by 4 a tick down to 16, then rises back to 48.
  for (int visitTick = 2; visitTick <= 20; ++visitTick) {
    PelicanFlock::tick();
    const float expected =
        visitTick <= 9 ? 48.0f - 4.0f * (visitTick - 1) : std::min(48.0f, 16.0f + 4.0f * (visitTick - 9));
    EXPECT_FLOAT_EQ(p.height, expected) << "visit tick " << visitTick;
    EXPECT_EQ(p.state, PelicanState::Eating);
    EXPECT_EQ(p.x, landedX);
  }
  EXPECT_EQ(stalk.ears, 2) << "nothing is eaten before the twenty-first tick";
  EXPECT_EQ(money(), startingMoney);

  PelicanFlock::tick();
  EXPECT_EQ(stalk.ears, 1);
  EXPECT_EQ(money(), startingMoney - 10);
  EXPECT_EQ(p.state, PelicanState::Flying);
  EXPECT_EQ(p.animSet, AnimSet::Flap);
  EXPECT_EQ(p.animTick, 0);
  EXPECT_NEAR(std::hypot(p.vx, p.vy), flyingSpeed(), 1e-5f) << "off again at flying speed";
  EXPECT_EQ(countPlayed(eatClip), 1);
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
  EXPECT_EQ(p.state, PelicanState::Flying);
  EXPECT_EQ(money(), startingMoney);
  EXPECT_EQ(countPlayed("sound\\powerdown.wav"), 0) << "no ear was taken, so no stalk was emptied by it";
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
  EXPECT_EQ(stalk.ears, 0);
  EXPECT_EQ(money(), startingMoney - 30);
  EXPECT_EQ(countPlayed(eatClip), 3);
  EXPECT_EQ(countPlayed("sound\\powerdown.wav"), 1) << "the last ear powers the scarecrow down";
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
    if (inReach) {
      ++landedAgain;
      EXPECT_EQ(p.state, PelicanState::Eating) << "seed " << seed;
      EXPECT_EQ(p.target, 8);
      EXPECT_EQ(countPlayed(eatClip), 1);
    } else {
      ++flewOn;
      EXPECT_EQ(p.state, PelicanState::Flying) << "seed " << seed;
      EXPECT_EQ(countPlayed(eatClip), 0);
    }
    p = Pelican{};
  }
  EXPECT_GT(landedAgain, 0);
  EXPECT_GT(flewOn, 0);
}

TEST_F(PelicanFlockTest, LeavesTheWorldBoxSilentlyAndWithoutCost) {
  Pelican& right = placeFlying(0, 739.5f, 240.0f, 0.0f);
  right.vx = 0.5f;
  right.vy = 0.0f;
  Pelican& up = placeFlying(1, 300.0f, -99.5f, 270.0f);
  up.vx = 0.0f;
  up.vy = -0.5f;
  PelicanFlock::tick();
  EXPECT_EQ(right.state, PelicanState::Flying) << "x = 740 is still inside";
  EXPECT_EQ(up.state, PelicanState::Flying) << "y = -100 is still inside";
  PelicanFlock::tick();
  EXPECT_EQ(right.state, PelicanState::Free);
  EXPECT_EQ(up.state, PelicanState::Free);
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
  EXPECT_EQ(p.state, PelicanState::Fleeing);
  EXPECT_EQ(p.animSet, AnimSet::Scared);
  EXPECT_EQ(p.animTick, 0);
  EXPECT_EQ(money(), startingMoney + 50);
  EXPECT_EQ(countPlayed(fearClip), 1);

  const float hoverX = p.x;
  const float hoverY = p.y;
  ticks(24);
  EXPECT_EQ(p.animSet, AnimSet::Scared);
  EXPECT_EQ(p.x, hoverX);
  EXPECT_EQ(p.y, hoverY);
  PelicanFlock::tick();  // the fright's 25th tick: turned about
  EXPECT_EQ(p.animSet, AnimSet::Flap);
  EXPECT_FLOAT_EQ(p.angle, 210.0f);
  EXPECT_NEAR(p.vx, 3.0f * cosDeg(210.0f), 1e-5f);
  EXPECT_NEAR(p.vy, 3.0f * sinDeg(210.0f), 1e-5f);
  EXPECT_FLOAT_EQ(p.height, loweredHeight);
  PelicanFlock::tick();
  EXPECT_NEAR(p.x, hoverX + 3.0f * cosDeg(210.0f), 1e-4f);
  EXPECT_FLOAT_EQ(p.height, loweredHeight);
  EXPECT_EQ(stalk.ears, 2) << "a scared pelican eats nothing";
  EXPECT_EQ(money(), startingMoney + 50);
}

TEST_F(PelicanFlockTest, ScaredFlyingPelicanTurnsAboutAcrossTheWrapAndNeverLandsAgain) {
  CornStalk& stalk = CornField::stalk(0);
  Pelican& p = placeFlying(0, stalk.x + 60.0f, stalk.y, 200.0f);
  EXPECT_TRUE(PelicanFlock::scareAt(p.x, p.y));
  const float hoverX = p.x;
  const float hoverY = p.y;
  ticks(24);
  EXPECT_EQ(p.x, hoverX) << "it hovers in fright first";
  EXPECT_EQ(p.y, hoverY);
  PelicanFlock::tick();
  EXPECT_FLOAT_EQ(p.angle, 20.0f) << "200 + 180 comes back below 360";
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
  EXPECT_EQ(first.state, PelicanState::Fleeing);
  EXPECT_EQ(second.state, PelicanState::Flying);
  EXPECT_TRUE(PelicanFlock::scareAt(310.0f, 100.0f));
  EXPECT_EQ(second.state, PelicanState::Fleeing);
  EXPECT_FALSE(PelicanFlock::scareAt(310.0f, 100.0f));
  EXPECT_EQ(money(), startingMoney + 100);
  EXPECT_EQ(countPlayed(fearClip), 2);
}

TEST_F(PelicanFlockTest, ScareReachIsADiamondOfSixteen) {
  Pelican& p = placeFlying(0, 300.0f, 200.0f, 0.0f);
  EXPECT_FALSE(PelicanFlock::scareAt(308.0f, 208.0f)) << "8 + 8 is not below 16";
  EXPECT_FALSE(PelicanFlock::scareAt(311.0f, 200.0f + 5.5f));
  EXPECT_EQ(p.state, PelicanState::Flying);
  EXPECT_TRUE(PelicanFlock::scareAt(300.0f - 15.5f, 200.0f));
  EXPECT_EQ(money(), startingMoney + 50);
}

TEST_F(PelicanFlockTest, LastScaredFrameIsFrameFour) {
  Pelican& p = placeFlying(0, 300.0f, 100.0f, 0.0f);
  ASSERT_TRUE(PelicanFlock::scareAt(p.x, p.y));
  ticks(23);
  EXPECT_EQ(p.animTick, 23);
  EXPECT_EQ(PelicanFlock::shownFrame(0), 6);
  PelicanFlock::tick();
  EXPECT_EQ(p.animTick, 24);
  EXPECT_EQ(PelicanFlock::shownFrame(0), 4);
  PelicanFlock::tick();
  EXPECT_EQ(PelicanFlock::shownFrame(0), 0) << "flapping again";
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
  EXPECT_EQ(flying.state, PelicanState::Fleeing);
  EXPECT_EQ(eating.state, PelicanState::Fleeing);
  EXPECT_EQ(flying.animTick, 5);
  EXPECT_EQ(eating.animTick, 5);
  EXPECT_EQ(fleeing.animSet, AnimSet::Flap);
  EXPECT_EQ(fleeing.vx, fleeingVx);
  EXPECT_EQ(money(), before + 100);
  EXPECT_EQ(countPlayed(fearClip), 2);
  EXPECT_EQ(PelicanFlock::countInUse(), 3);

  ticks(19);
  EXPECT_EQ(flying.animSet, AnimSet::Scared);
  PelicanFlock::tick();  // the twentieth tick after the power caught it
  EXPECT_EQ(flying.animSet, AnimSet::Flap);
  EXPECT_FLOAT_EQ(flying.angle, 0.0f);
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
      EXPECT_EQ(e.width, 48.0f);
      EXPECT_EQ(e.height, 48.0f);
      EXPECT_EQ(e.elevation, e.x == low.x ? 28.0f : 48.0f) << "queued with the bird's height";
      continue;
    }
    ASSERT_EQ(e.kind, DrawKind::Sprite);
    const int which = e.x == low.x ? 0 : e.x == twin.x ? 1 : 2;
    sprites[which] = &e;
    EXPECT_EQ(e.width, 140.0f);
    EXPECT_EQ(e.height, 140.0f);
    EXPECT_EQ(e.angle, 0.0f) << "the facing rows are pre-drawn views";
    EXPECT_FLOAT_EQ(e.tint, 0.6f);
    EXPECT_EQ(e.alpha, 1.0f);
  }
  EXPECT_EQ(shadows, 3);
  ASSERT_TRUE(sprites[0] && sprites[1] && sprites[2]);
  EXPECT_EQ(sprites[0]->elevation, 28.0f);
  EXPECT_EQ(sprites[1]->elevation, 48.0f);
  ASSERT_NE(sprites[0]->sprite, nullptr);
  EXPECT_EQ(sprites[0]->sprite, sprites[1]->sprite) << "same facing, same frame";
  EXPECT_NE(sprites[0]->sprite, sprites[2]->sprite);
  EXPECT_EQ(sprites[0]->sprite->width(), 256.0f);
  EXPECT_FLOAT_EQ(sprites[0]->sprite->anchorY(), 0.3f);
  DrawQueue::reset();
  worldLight = 0.0f;
}

// --- Arrival --------------------------------------------------------------------------------

TEST_F(PelicanFlockTest, SpawnedPelicansComeInFromAnEdgeHeadingIntoTheScreen) {
  bool edgeSeen[4] = {};
  for (int i = 0; i < PelicanFlock::capacity; ++i) PelicanFlock::spawn(true);
  EXPECT_EQ(countPlayed(goClip), PelicanFlock::capacity);
  for (int i = 0; i < PelicanFlock::capacity; ++i) {
    const Pelican& p = PelicanFlock::pelican(i);
    ASSERT_EQ(p.state, PelicanState::Flying);
    EXPECT_FLOAT_EQ(p.height, 48.0f);
    EXPECT_GE(p.angle, 0.0f);
    EXPECT_LE(p.angle, 360.0f);
    if (p.y == -60.0f) {
      edgeSeen[0] = true;
      EXPECT_GE(p.angle, 15.0f);
      EXPECT_LE(p.angle, 165.0f);
    } else if (p.x == 700.0f) {
      edgeSeen[1] = true;
      EXPECT_GE(p.angle, 105.0f);
      EXPECT_LE(p.angle, 255.0f);
    } else if (p.y == 608.0f) {
      edgeSeen[2] = true;
      EXPECT_GE(p.angle, 195.0f);
      EXPECT_LE(p.angle, 345.0f);
    } else {
      ASSERT_EQ(p.x, -60.0f);
      edgeSeen[3] = true;
      EXPECT_TRUE(p.angle <= 75.0f || p.angle >= 285.0f) << p.angle;
    }
    EXPECT_NEAR(std::hypot(p.vx, p.vy), flyingSpeed(), 1e-5f);
    // The sprite row is the view nearest the heading.
    float offset = std::fabs(p.facing * 45.0f - p.angle);
    offset = std::min(offset, 360.0f - offset);
    EXPECT_LE(offset, 22.5f) << "facing " << int(p.facing) << " angle " << p.angle;
  }
  for (bool seen : edgeSeen) EXPECT_TRUE(seen);

  clearPlayedClips();
  PelicanFlock::spawn(true);
  EXPECT_TRUE(playedClips().empty()) << "a full pool drops the request without a sound";
  EXPECT_EQ(PelicanFlock::countInUse(), PelicanFlock::capacity);
}

TEST_F(PelicanFlockTest, ArrivalsSpanTheWholeEdgeAndHeadingRangeOfEachSide) {
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
    const int edge = p.y == -60.0f ? 0 : p.x == 700.0f ? 1 : p.y == 608.0f ? 2 : 3;
    place[edge].add(edge % 2 == 0 ? p.x : p.y);
    // The left edge's headings wrap through 0: measure them from 285 on.
    heading[edge].add(edge == 3 && p.angle < 180.0f ? p.angle + 360.0f : p.angle);
    p = Pelican{};
  }
  const float lowest[4] = {15.0f, 105.0f, 195.0f, 285.0f};
  const float across[4] = {640.0f, 480.0f, 640.0f, 480.0f};
  for (int edge = 0; edge < 4; ++edge) {
    EXPECT_GE(heading[edge].low, lowest[edge]) << "edge " << edge;
    EXPECT_LT(heading[edge].low, lowest[edge] + 2.0f) << "edge " << edge;
    EXPECT_LE(heading[edge].high, lowest[edge] + 150.0f) << "edge " << edge;
    EXPECT_GT(heading[edge].high, lowest[edge] + 148.0f) << "edge " << edge;
    EXPECT_GE(place[edge].low, 0.0f);
    EXPECT_LT(place[edge].low, 10.0f);
    EXPECT_LE(place[edge].high, across[edge]);
    EXPECT_GT(place[edge].high, across[edge] - 10.0f);
  }
}

TEST_F(PelicanFlockTest, SpawnTakesTheFirstFreeSlot) {
  placeFlying(0, 300.0f, 100.0f, 0.0f);
  placeFlying(2, 300.0f, 100.0f, 0.0f);
  EXPECT_FALSE(PelicanFlock::isEmpty());
  PelicanFlock::spawn(false);
  EXPECT_EQ(PelicanFlock::pelican(1).state, PelicanState::Flying);
  EXPECT_EQ(PelicanFlock::pelican(3).state, PelicanState::Free);
  EXPECT_TRUE(playedClips().empty());
}

TEST_F(PelicanFlockTest, ReloadingEmptiesThePoolAndUnloadingTwiceIsHarmless) {
  PelicanFlock::spawn(true);
  PelicanFlock::load();
  EXPECT_TRUE(PelicanFlock::isEmpty());
  PelicanFlock::unload();
  PelicanFlock::unload();
  PelicanFlock::tick();
  PelicanFlock::draw();
  EXPECT_TRUE(PelicanFlock::isEmpty());
  PelicanFlock::load();
}

TEST_F(PelicanFlockTest, RecordsOutsideThePoolAreNeverTouched) {
  Pelican& outside = PelicanFlock::pelican(PelicanFlock::capacity);
  Pelican& negative = PelicanFlock::pelican(-1);
  EXPECT_NE(&outside, &PelicanFlock::pelican(PelicanFlock::capacity - 1));
  EXPECT_NE(&negative, &PelicanFlock::pelican(0));
  PelicanFlock::aim(PelicanFlock::capacity);
  EXPECT_TRUE(PelicanFlock::isEmpty());
}
// --- A scurvy day in the running world -------------------------------------------------------

// Keeps every standing stalk in corn, so that the field outlives a whole day of raiders and the
// pelicans, never running out of corn where they sit, stay until they are scared off.
void keepFieldInCorn() {
  for (int i = 0; i < CornField::slotCount(); ++i) {
    CornStalk& stalk = CornField::stalk(i);
    if (stalk.stage == 1) stalk.ears = 3;
  }
}

bool fieldIsClear() {
  return CrowFlock::isEmpty() && PelicanFlock::isEmpty() && CowHerd::isEmpty();
}

TEST(ScurvyDay, OnlyPelicansComeAndTheDayEndsOnceTheOogaBoogaHasChasedThemOff) {
  DayDirector::resetForTests();
  KeyState::clearAll();
  DayDirector::stepStartingDay();
  DayDirector::beginGame();  // day index 10
  loadWorld();
  DayDirector::turnBackTime();  // a short day on index 3: the next one is shown as day 5
  for (int i = 0; i < 20000 && DayDirector::day() != 4 && !gameOver; ++i) {
    playTick();
    keepFieldInCorn();
  }
  ASSERT_EQ(DayDirector::day(), 4);
  ASSERT_EQ(DayDirector::kind(), DayKind::Scurvy);
  ASSERT_TRUE(fieldIsClear());

  clearPlayedClips();
  std::vector<int> arrivals;
  while (DayDirector::ticksToday() < 1800) {
    const int announced = countPlayed("sound\\peli_go.wav");
    playTick();
    keepFieldInCorn();
    ASSERT_FALSE(gameOver);
    ASSERT_EQ(CrowFlock::countInUse(), 0) << "tick " << DayDirector::ticksToday();
    ASSERT_EQ(CowHerd::countInUse(), 0);
    const int arrived = countPlayed("sound\\peli_go.wav") - announced;
    ASSERT_LE(arrived, 1);
    if (arrived == 1) arrivals.push_back(DayDirector::ticksToday());
  }
  std::vector<int> expected;
  for (int tick = 60; tick < 1800; tick += 150 - 2 * 4) expected.push_back(tick);
  EXPECT_EQ(arrivals, expected);

  // Pelicans that keep finding corn stay, and the day waits for them.
  for (int i = 0; i < 100; ++i) {
    playTick();
    keepFieldInCorn();
  }
  ASSERT_GT(PelicanFlock::countInUse(), 0);
  EXPECT_EQ(DayDirector::day(), 4);

  KeyState::keyDown(vkShift);
  KeyState::keyUp(vkShift);
  bool powerSeen = false;
  bool dayEnded = false;
  for (int i = 0; i < 3000 && !dayEnded; ++i) {
    const bool clearBefore = fieldIsClear();
    const bool powerBefore = OogaBooga::isActive();
    playTick();
    keepFieldInCorn();
    powerSeen = powerSeen || OogaBooga::isActive();
    dayEnded = DayDirector::day() == 5;
    if (dayEnded) {
      EXPECT_TRUE(clearBefore) << "the day ended with pelicans about";
    } else {
      EXPECT_FALSE(clearBefore && !powerBefore) << "the field was clear but the day went on";
    }
  }
  EXPECT_TRUE(powerSeen);
  EXPECT_TRUE(dayEnded);
  EXPECT_GE(countPlayed("sound\\peli_fear.wav"), 1);
  unloadWorld();
}
}  // namespace
