#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "field/crow_flock.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;

constexpr float dayZeroFactor = 0.2f;

std::vector<DrawEntry> queued() {
  std::vector<DrawEntry> out;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    out.push_back(DrawQueue::entryAt(i));
  }
  return out;
}

class CrowFlockTest : public testing::Test {
 protected:
  void SetUp() override {
    DayDirector::resetForTests();
    Scarecrow::load();
    DayDirector::startDay();  // day index 0: speed factor 0.2
    CornField::load();
    CrowFlock::load();
    BooShout::load();
    Scarecrow::state().money = 100;
    Scarecrow::state().score = 100;
    Scarecrow::state().x = 630;  // out of the way of dropped ears
    Scarecrow::state().y = 30;
    clearPlayedClips();
  }
  void TearDown() override {
    BooShout::unload();
    CrowFlock::unload();
    CornField::unload();
    Scarecrow::unload();
    DayDirector::resetForTests();
  }

  static Crow& place(int index, float x, float y, float angle, CrowState state) {
    Crow& c = CrowFlock::crow(index);
    c = Crow{};
    c.x = x, c.y = y, c.angle = angle, c.height = 48;
    c.state = state, c.animSet = AnimSet::Flap, c.target = -1;
    CrowFlock::aim(index);
    return c;
  }

  static float speedOf(const Crow& c) { return std::hypot(c.vx, c.vy); }
};

TEST_F(CrowFlockTest, SpawnsComeFromTheFourEdgesHeadingInAndTheLeftEdgeFoldsBelow360) {
  // Edges: top, right, bottom, left; the lowest heading of each; the heading's random part is 0..150.
  const float lowest[4] = {15, 105, 195, 285};
  bool edgeSeen[4] = {}, folded = false, kept = false;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    // The same draws as a spawn: the edge, the place on that edge, then the random part of the heading.
    seedRandom(seed);
    const int drawnEdge = randomInt(4);
    randomFloat(drawnEdge % 2 == 0 ? 640 : 480);
    const float part = randomFloat(150);
    CrowFlock::load();
    seedRandom(seed);
    CrowFlock::spawn(true);
    ASSERT_EQ(CrowFlock::countInUse(), 1);
    const Crow& c = CrowFlock::crow(0);
    SCOPED_TRACE(testing::Message() << "seed " << seed << " at " << c.x << "," << c.y << " angle "
                                    << c.angle);
    EXPECT_EQ(c.state, CrowState::Arriving);
    EXPECT_FLOAT_EQ(c.height, 48);
    EXPECT_EQ(c.animSet, AnimSet::Flap);
    EXPECT_NEAR(speedOf(c), 2 * dayZeroFactor, 1e-5f);
    EXPECT_GE(c.angle, 0);
    EXPECT_LT(c.angle, 360);
    EXPECT_EQ(c.facing, static_cast<int>(std::floor(c.angle / 45 + 0.5f)) % 8);
    const int edge = c.y == -60 ? 0 : c.x == 700 ? 1 : c.y == 608 ? 2 : 3;
    if (edge == 3) {
      ASSERT_FLOAT_EQ(c.x, -60);
    }
    edgeSeen[edge] = true;
    EXPECT_EQ(edge, drawnEdge);
    const float unfolded = edge == 3 && c.angle <= 75 ? c.angle + 360 : c.angle;
    EXPECT_GE(unfolded, lowest[edge]);
    EXPECT_LE(unfolded, lowest[edge] + 150);
    EXPECT_FLOAT_EQ(unfolded, lowest[edge] + part);
    const float inward[4] = {c.vy, -c.vx, -c.vy, c.vx};
    EXPECT_GT(inward[edge], 0);
    if (edge == 3) (part + 285 > 360 ? folded : kept) = true;
  }
  for (bool seen : edgeSeen) EXPECT_TRUE(seen);
  EXPECT_TRUE(folded);
  EXPECT_TRUE(kept);
}

TEST_F(CrowFlockTest, AnnouncedSpawnsCallAndAFullFlockDropsTheRequest) {
  CrowFlock::spawn(false);
  EXPECT_EQ(countPlayed("sound\\crow_go.wav"), 0);
  for (int i = 1; i < CrowFlock::capacity; ++i) CrowFlock::spawn(true);
  EXPECT_EQ(CrowFlock::countInUse(), CrowFlock::capacity);
  EXPECT_EQ(countPlayed("sound\\crow_go.wav"), CrowFlock::capacity - 1);
  const uint32_t before = randomState();
  CrowFlock::spawn(true);  // dropped: no call and nothing drawn
  EXPECT_EQ(make_tuple(countPlayed("sound\\crow_go.wav"), randomState()),
            make_tuple(CrowFlock::capacity - 1, before));
  EXPECT_FALSE(CrowFlock::isEmpty());
  // Indices outside the pool reach a free scratch record.
  CrowFlock::crow(CrowFlock::capacity).state = CrowState::Carrying;
  EXPECT_EQ(CrowFlock::crow(-1).state, CrowState::Free);
  CrowFlock::aim(CrowFlock::capacity);
}

TEST_F(CrowFlockTest, ACrowThatMeetsNoCornLeavesSilently) {
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    CrowFlock::load();
    seedRandom(seed);
    CrowFlock::spawn(false);
    clearPlayedClips();
    for (int ticks = 0; !CrowFlock::isEmpty() && ticks < 10000; ++ticks) CrowFlock::tick();
    EXPECT_TRUE(CrowFlock::isEmpty() && playedClips().empty()) << seed;
    EXPECT_EQ(Scarecrow::money(), 100);
  }
}

TEST_F(CrowFlockTest, PeckTimelineLandsSinksRisesAndTakesTheEarOnTick21) {
  CornField::layOut();
  Crow& c = place(0, 118, 165, 0, CrowState::Arriving);
  CrowFlock::tick();
  EXPECT_EQ(make_tuple(c.state, countPlayed("sound\\crow_corn.wav"), c.target, c.vx, c.height),
            make_tuple(CrowState::Pecking, 1, 0, 0.0f, 48.0f));
  EXPECT_FLOAT_EQ(c.x, 118 + 2 * dayZeroFactor);  // stops over its own ground point
  for (int tick = 2; tick <= 20; ++tick) {
    CrowFlock::tick();
    const float expected = tick <= 9 ? 48.0f - 4 * (tick - 1) : std::fmin(16.0f + 4 * (tick - 9), 48.0f);
    EXPECT_EQ(make_tuple(c.height, int(c.animTick), c.state), make_tuple(expected, tick, CrowState::Pecking))
        << tick;
  }
  EXPECT_EQ(CornField::stalk(0).ears, 1);
  CrowFlock::tick();  // and that was the stalk's last ear
  EXPECT_EQ(make_tuple(c.state, CornField::stalk(0).ears, Scarecrow::money(), c.angle, int(c.facing),
                       c.animSet, int(c.animTick), countPlayed("sound\\powerdown.wav")),
            make_tuple(CrowState::Carrying, int8_t{0}, 95, 180.0f, 4, AnimSet::Flap, 0, 1));
  EXPECT_NEAR(c.vx, -dayZeroFactor, 1e-5f);  // carrying: the speed factor alone
  EXPECT_NEAR(c.vy, 0, 1e-5f);
}

TEST_F(CrowFlockTest, AStalkEmptiedDuringThePeckSendsTheCrowOnWithoutMoneyChange) {
  CornField::layOut();
  Crow& c = place(0, 118, 165, 0, CrowState::Arriving);
  for (int tick = 1; tick <= 15; ++tick) CrowFlock::tick();
  CornField::takeEar(0);  // another creature got there first
  Scarecrow::state().money = 100;
  for (int tick = 16; tick <= 21; ++tick) CrowFlock::tick();
  EXPECT_EQ(make_tuple(c.state, c.angle, Scarecrow::money()), make_tuple(CrowState::Arriving, 0.0f, 100));
  EXPECT_NEAR(c.vx, 2 * dayZeroFactor, 1e-5f);
  // It flies on and lands on the next stalk along its line.
  for (int i = 0; i < 300 && c.state == CrowState::Arriving; ++i) CrowFlock::tick();
  EXPECT_EQ(make_tuple(c.state, c.target), make_tuple(CrowState::Pecking, 1));
}

TEST_F(CrowFlockTest, ACarrierLaughsExactlyOnceOnItsFirstTickOutside) {
  Crow& c = place(0, 659.5f, 300, 0, CrowState::Carrying);
  const auto laughsAndMoney = [] {
    return make_tuple(countPlayed("sound\\crow_haha.wav"), Scarecrow::money());
  };
  CrowFlock::tick();
  CrowFlock::tick();
  EXPECT_EQ(make_tuple(laughsAndMoney(), c.state), make_tuple(make_tuple(0, 100), CrowState::Carrying));
  CrowFlock::tick();  // 660.1: outside
  EXPECT_EQ(laughsAndMoney(), make_tuple(1, 90));
  EXPECT_TRUE(CrowFlock::isEmpty());
  for (int i = 0; i < 10; ++i) CrowFlock::tick();
  EXPECT_EQ(laughsAndMoney(), make_tuple(1, 90));

  // The same at the top, bottom and left of the escape box; an arriving crow out there does not laugh.
  place(1, 300, -19.9f, 270, CrowState::Carrying);
  place(2, 300, 539.9f, 90, CrowState::Carrying);
  place(3, -19.9f, 300, 180, CrowState::Carrying);
  place(4, 680, 300, 0, CrowState::Arriving);
  CrowFlock::tick();
  EXPECT_EQ(make_tuple(laughsAndMoney(), CrowFlock::countInUse()), make_tuple(make_tuple(4, 60), 1));

  // Any crow beyond the world box is freed without a sound.
  clearPlayedClips();
  place(5, 740, 100, 0, CrowState::Fleeing);
  place(6, 100, -99.9f, 270, CrowState::Fleeing);
  CrowFlock::tick();
  EXPECT_EQ(make_tuple(CrowFlock::crow(5).state, CrowFlock::crow(6).state, playedClips().empty(),
                       Scarecrow::money()),
            make_tuple(CrowState::Free, CrowState::Free, true, 60));
}

TEST_F(CrowFlockTest, ScaredWhileCarryingDropsTheEarHoversAndKeepsHeadingOut) {
  Crow& c = place(0, 300, 300, 0, CrowState::Carrying);
  EXPECT_FALSE(CrowFlock::scareAt(308, 308));  // exactly 16 away
  EXPECT_TRUE(CrowFlock::scareAt(308, 307));
  EXPECT_EQ(
      make_tuple(c.state, c.target, c.animSet, Scarecrow::money(), countPlayed("sound\\crow_fear.wav")),
      make_tuple(CrowState::Fleeing, static_cast<int32_t>(CrowState::Carrying), AnimSet::Scared, 110, 1));
  const ShoutParticle& ear = BooShout::particle(0);
  EXPECT_EQ(make_tuple(BooShout::countInUse(), ear.kind, ear.x, ear.y),
            make_tuple(1, ShoutParticleKind::DroppedCorn, 300.0f, 300.0f));

  // The tick of the scare counts as the first; the crow hangs still until the 25th.
  for (int tick = 1; tick <= 25; ++tick) {
    CrowFlock::tick();
    ASSERT_EQ(make_tuple(c.x, c.y), make_tuple(300.0f, 300.0f)) << tick;
  }
  EXPECT_EQ(c.animSet, AnimSet::Flap);
  CrowFlock::tick();
  EXPECT_NEAR(c.x, 304, 1e-4f);
  EXPECT_NEAR(c.y, 300, 1e-4f);
  EXPECT_FLOAT_EQ(c.angle, 0);
  // A fleeing crow can neither be scared again nor land, and it does not laugh on the way out.
  EXPECT_FALSE(CrowFlock::scareAt(c.x, c.y));
  for (int i = 0; i < 200; ++i) CrowFlock::tick();
  EXPECT_EQ(make_tuple(CrowFlock::isEmpty(), countPlayed("sound\\crow_haha.wav"), Scarecrow::money()),
            make_tuple(true, 0, 110));
}

TEST_F(CrowFlockTest, ScaredWhilePeckingTurnsAboutAtItsHeight) {
  CornField::layOut();
  Crow& c = place(0, 118, 165, 30, CrowState::Arriving);
  for (int tick = 1; tick <= 5; ++tick) CrowFlock::tick();
  ASSERT_EQ(c.state, CrowState::Pecking);
  const float height = c.height, x = c.x;
  EXPECT_TRUE(CrowFlock::scareAt(c.x, c.y));
  EXPECT_EQ(BooShout::countInUse(), 0);  // nothing was carried, nothing dropped
  for (int tick = 1; tick <= 25; ++tick) CrowFlock::tick();
  EXPECT_EQ(make_tuple(c.angle, c.height), make_tuple(210.0f, height));
  EXPECT_NEAR(speedOf(c), 4, 1e-5f);
  CrowFlock::tick();
  EXPECT_LT(c.x, x);
  EXPECT_EQ(make_tuple(c.height, CornField::stalk(0).ears), make_tuple(height, int8_t{1})) << "the ear stays";
}

TEST_F(CrowFlockTest, OogaScareSkipsFiveFramesOfFright) {
  Crow& carrier = place(0, 300, 300, 90, CrowState::Carrying);
  place(1, 100, 100, 0, CrowState::Arriving);
  Crow& fleeing = place(2, 200, 200, 0, CrowState::Fleeing);
  CrowFlock::scareAll();
  EXPECT_EQ(make_tuple(Scarecrow::money(), countPlayed("sound\\crow_fear.wav"), int(carrier.animTick),
                       BooShout::countInUse()),
            make_tuple(120, 2, 5, 1));
  const float fleeingX = fleeing.x;
  for (int tick = 1; tick <= 20; ++tick) {
    CrowFlock::tick();
    ASSERT_FLOAT_EQ(carrier.y, 300) << tick;
  }
  EXPECT_GT(fleeing.x, fleeingX);  // an already fleeing crow flew on untouched
  CrowFlock::tick();
  EXPECT_NEAR(carrier.y, 304, 1e-4f);
}

TEST_F(CrowFlockTest, TwoCrowsInReachOfOnePointOnlyTheLowerIndexIsScared) {
  place(5, 200, 200, 0, CrowState::Arriving);
  place(9, 200, 200, 0, CrowState::Arriving);
  EXPECT_TRUE(CrowFlock::scareAt(201, 201));
  EXPECT_EQ(make_tuple(CrowFlock::crow(5).state, CrowFlock::crow(9).state, Scarecrow::money()),
            make_tuple(CrowState::Fleeing, CrowState::Arriving, 110));
}

TEST_F(CrowFlockTest, TheCarrySpeedFactorSlowsOnlyCarriersAndLastsTheGame) {
  EXPECT_FLOAT_EQ(CrowFlock::carrySpeedFactor(), 1);
  for (int weight = 0; weight < 3; ++weight) CrowFlock::carrySpeedFactor() -= 0.1f;
  const Crow& carrier = place(0, 300, 300, 0, CrowState::Carrying);
  const Crow& arriving = place(1, 300, 300, 0, CrowState::Arriving);
  EXPECT_NEAR(speedOf(carrier), 0.7f * dayZeroFactor, 1e-5f);
  EXPECT_NEAR(speedOf(arriving), 2 * dayZeroFactor, 1e-5f);
  DayDirector::startDay();
  EXPECT_NEAR(CrowFlock::carrySpeedFactor(), 0.7f, 1e-5f);
  CrowFlock::load();
  EXPECT_FLOAT_EQ(CrowFlock::carrySpeedFactor(), 1);
}

TEST_F(CrowFlockTest, FacingRowsFollowTheHeading) {
  const float angles[] = {0, 22, 23, 90, 180, 200, 270, 337, 338, 359.9f};
  const int rows[] = {0, 0, 1, 2, 4, 4, 6, 7, 0, 0};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(place(0, 300, 300, angles[i], CrowState::Arriving).facing, rows[i]) << angles[i];
  }
}

TEST_F(CrowFlockTest, DrawShowsTheAnimationFrameTheEarInTheBeakAndTheShadow) {
  DrawQueue::load();
  worldLight = 0.25f;
  struct Case {
    CrowState state;
    AnimSet animSet;
    uint8_t animTick;
    int frame;
    bool ear;
  };
  const Case cases[] = {
      {CrowState::Arriving, AnimSet::Flap, 2, 1, false},  {CrowState::Pecking, AnimSet::Peck, 10, 5, false},
      {CrowState::Pecking, AnimSet::Peck, 11, 5, true},   {CrowState::Pecking, AnimSet::Peck, 20, 4, true},
      {CrowState::Carrying, AnimSet::Flap, 6, 3, true},   {CrowState::Fleeing, AnimSet::Scared, 24, 4, false},
      {CrowState::Fleeing, AnimSet::Scared, 2, 7, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "state " << int(k.state) << " tick " << int(k.animTick));
    CrowFlock::load();
    Crow& c = place(0, 200, 300, 90, k.state);
    c.animSet = k.animSet;
    c.animTick = k.animTick;
    c.height = 30;
    DrawQueue::reset();
    CrowFlock::draw();
    const std::vector<DrawEntry> entries = queued();
    ASSERT_EQ(entries.size(), k.ear ? 3u : 2u);
    EXPECT_EQ(make_tuple(entries[0].kind, entries[0].width, entries[0].y),
              make_tuple(DrawKind::Shadow, 48.0f, 300.0f));
    const DrawEntry& crow = entries.back();
    EXPECT_NE(crow.sprite, nullptr);
    EXPECT_EQ(make_tuple(crow.sprite, crow.elevation, crow.width, crow.tint, crow.angle),
              make_tuple(CrowFlock::frameSprite(2, k.frame), 30.0f, 128.0f, 0.25f, 0.0f));
    if (!k.ear) continue;
    // Just in front in the depth order, so the crow covers it.
    const DrawEntry& ear = entries[1];
    EXPECT_EQ(make_tuple(ear.sprite, ear.elevation, ear.width),
              make_tuple(CrowFlock::cornSprite(), 30.0f, 40.0f));
    EXPECT_LT(ear.y, 300);
    EXPECT_NEAR(ear.y, 300 - 0.01f, 1e-4f);
  }
  DrawQueue::unload();
  worldLight = 0;
}

}  // namespace
