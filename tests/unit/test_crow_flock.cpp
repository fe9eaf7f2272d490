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
const char* const laughClip = "sound\\crow_haha.wav";

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
    Scarecrow::state().x = 630;  // out of the way of dropped ears
    Scarecrow::state().y = 30;
    clearPlayedClips();
  }
  void TearDown() override {
    BooShout::unload();
    CrowFlock::unload();
    CornField::unload();
    Scarecrow::unload();
  }

  static Crow& place(int index, float x, float y, float angle, CrowState state) {
    Crow& c = CrowFlock::crow(index);
    c = Crow{};  // flapping from tick 0
    c.x = x, c.y = y, c.angle = angle, c.height = 48, c.state = state, c.target = -1;
    CrowFlock::aim(index);
    return c;
  }
  static void ticks(int n) {
    for (int i = 0; i < n; ++i) CrowFlock::tick();
  }
  static float speedOf(const Crow& c) { return std::hypot(c.vx, c.vy); }
};

TEST_F(CrowFlockTest, SpawnsComeFromTheFourEdgesHeadingInFoldBelow360AndCrossSilently) {
  // Replays a spawn's draws (edge, place on it, random part of the heading) to know its result.
  // The first few crows, meeting no corn, must cross and leave without a sound or money change.
  const float lowest[4] = {15, 105, 195, 285};
  bool edgeSeen[4] = {}, folded = false, kept = false;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    seedRandom(seed);
    const int edge = randomInt(4);
    const float along = randomFloat(edge % 2 == 0 ? 640 : 480), heading = lowest[edge] + randomFloat(150);
    CrowFlock::crow(0).state = CrowState::Free;
    seedRandom(seed);
    CrowFlock::spawn(true);
    const Crow& c = CrowFlock::crow(0);
    SCOPED_TRACE(testing::Message() << "seed " << seed << " edge " << edge << " angle " << c.angle);
    const float x[4] = {along, 700, along, -60}, y[4] = {-60, along, 608, along};
    EXPECT_EQ(make_tuple(c.x, c.y, c.state, c.height, c.animSet),
              make_tuple(x[edge], y[edge], CrowState::Arriving, 48.0f, AnimSet::Flap));
    EXPECT_FLOAT_EQ(c.angle, heading > 360 ? heading - 360 : heading);
    EXPECT_NEAR(speedOf(c), 2 * dayZeroFactor, 1e-5f);
    const float inward[4] = {c.vy, -c.vx, -c.vy, c.vx};
    EXPECT_GT(inward[edge], 0);
    edgeSeen[edge] = true;
    if (edge == 3) (heading > 360 ? folded : kept) = true;
    if (seed > 8) continue;
    clearPlayedClips();
    for (int tick = 0; !CrowFlock::isEmpty() && tick < 10000; ++tick) CrowFlock::tick();
    EXPECT_TRUE(CrowFlock::isEmpty() && playedClips().empty() && Scarecrow::money() == 100);
  }
  EXPECT_TRUE(edgeSeen[0] && edgeSeen[1] && edgeSeen[2] && edgeSeen[3] && folded && kept);
}

TEST_F(CrowFlockTest, AnnouncedSpawnsCallAndAFullFlockDropsTheRequest) {
  CrowFlock::spawn(false);
  EXPECT_EQ(countPlayed("sound\\crow_go.wav"), 0);
  for (int i = 1; i < CrowFlock::capacity; ++i) CrowFlock::spawn(true);
  const uint32_t before = randomState();
  CrowFlock::spawn(true);  // dropped: no call and nothing drawn
  EXPECT_EQ(make_tuple(CrowFlock::countInUse(), CrowFlock::isEmpty(), countPlayed("sound\\crow_go.wav"),
                       randomState()),
            make_tuple(CrowFlock::capacity, false, CrowFlock::capacity - 1, before));
  // Indices outside the pool reach a free scratch record.
  CrowFlock::crow(CrowFlock::capacity).state = CrowState::Carrying;
  EXPECT_EQ(CrowFlock::crow(-1).state, CrowState::Free);
  CrowFlock::aim(CrowFlock::capacity);
}

TEST_F(CrowFlockTest, PeckTimelineTakesTheEarOnTick21AndAStalkEmptiedMeanwhileSendsTheCrowOn) {
  CornField::layOut();
  Crow& c = place(0, 118, 165, 0, CrowState::Arriving);
  Crow& robbed = place(1, 118, 215, 0, CrowState::Arriving);  // over stalk 6, a row lower
  CrowFlock::tick();
  EXPECT_EQ(make_tuple(c.state, countPlayed("sound\\crow_corn.wav"), c.target, c.vx, c.height, robbed.target),
            make_tuple(CrowState::Pecking, 2, 0, 0.0f, 48.0f, 6));
  EXPECT_FLOAT_EQ(c.x, 118 + 2 * dayZeroFactor);  // stops over its own ground point
  for (int tick = 2; tick <= 20; ++tick) {
    CrowFlock::tick();
    const float expected = tick <= 9 ? 48.0f - 4 * (tick - 1) : std::fmin(16.0f + 4 * (tick - 9), 48.0f);
    EXPECT_EQ(make_tuple(c.height, int(c.animTick), c.state), make_tuple(expected, tick, CrowState::Pecking))
        << tick;
    if (tick == 15) {
      CornField::takeEar(6);  // another creature got there first
      Scarecrow::state().money = 100;
      clearPlayedClips();
    }
  }
  EXPECT_EQ(CornField::stalk(0).ears, 1);
  CrowFlock::tick();  // and that was the stalk's last ear; the robbed crow flies on in its old direction
  EXPECT_EQ(make_tuple(c.state, CornField::stalk(0).ears, Scarecrow::money(), c.angle, int(c.facing),
                       c.animSet, int(c.animTick), countPlayed("sound\\powerdown.wav")),
            make_tuple(CrowState::Carrying, int8_t{0}, 95, 180.0f, 4, AnimSet::Flap, 0, 1));
  EXPECT_NEAR(c.vx, -dayZeroFactor, 1e-5f);  // carrying: the speed factor alone
  EXPECT_NEAR(c.vy, 0, 1e-5f);
  EXPECT_EQ(make_tuple(robbed.state, robbed.angle), make_tuple(CrowState::Arriving, 0.0f));
  EXPECT_NEAR(robbed.vx, 2 * dayZeroFactor, 1e-5f);
  // It lands on the next stalk along its line.
  for (int i = 0; i < 300 && robbed.state == CrowState::Arriving; ++i) CrowFlock::tick();
  EXPECT_EQ(make_tuple(robbed.state, robbed.target), make_tuple(CrowState::Pecking, 7));
}

TEST_F(CrowFlockTest, ACarrierLaughsExactlyOnceOnItsFirstTickOutside) {
  Crow& c = place(0, 659.5f, 300, 0, CrowState::Carrying);
  const auto laughsAndMoney = [] { return make_tuple(countPlayed(laughClip), Scarecrow::money()); };
  ticks(2);
  EXPECT_EQ(make_tuple(laughsAndMoney(), c.state), make_tuple(make_tuple(0, 100), CrowState::Carrying));
  CrowFlock::tick();  // 660.1: outside
  EXPECT_EQ(make_tuple(laughsAndMoney(), CrowFlock::isEmpty()), make_tuple(make_tuple(1, 90), true));
  ticks(10);
  EXPECT_EQ(laughsAndMoney(), make_tuple(1, 90));

  // The same at the top, bottom and left of the escape box; an arriving crow out there does not laugh.
  place(1, 300, -19.9f, 270, CrowState::Carrying);
  place(2, 300, 539.9f, 90, CrowState::Carrying);
  place(3, -19.9f, 300, 180, CrowState::Carrying);
  place(4, 680, 300, 0, CrowState::Arriving);
  CrowFlock::tick();
  EXPECT_EQ(make_tuple(laughsAndMoney(), CrowFlock::countInUse()), make_tuple(make_tuple(4, 60), 1));
}

TEST_F(CrowFlockTest, ScaredWhileCarryingDropsTheEarHoversAndKeepsHeadingOut) {
  Crow& c = place(0, 300, 300, 0, CrowState::Carrying);
  EXPECT_FALSE(CrowFlock::scareAt(308, 308));  // exactly 16 away
  EXPECT_TRUE(CrowFlock::scareAt(308, 307));
  const ShoutParticle& ear = BooShout::particle(0);
  EXPECT_EQ(make_tuple(c.state, c.target, c.animSet, Scarecrow::money(), countPlayed("sound\\crow_fear.wav"),
                       BooShout::countInUse(), ear.kind, ear.x, ear.y),
            make_tuple(CrowState::Fleeing, static_cast<int32_t>(CrowState::Carrying), AnimSet::Scared, 110, 1,
                       1, ShoutParticleKind::DroppedCorn, 300.0f, 300.0f));
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
  ticks(200);
  EXPECT_EQ(make_tuple(CrowFlock::isEmpty(), countPlayed(laughClip), Scarecrow::money()),
            make_tuple(true, 0, 110));
}

TEST_F(CrowFlockTest, ScaredWhilePeckingTurnsAboutAtItsHeight) {
  CornField::layOut();
  Crow& c = place(0, 118, 165, 30, CrowState::Arriving);
  ticks(5);
  ASSERT_EQ(c.state, CrowState::Pecking);
  const float height = c.height, x = c.x;
  EXPECT_TRUE(CrowFlock::scareAt(c.x, c.y));
  EXPECT_EQ(BooShout::countInUse(), 0);  // nothing was carried, nothing dropped
  ticks(25);
  EXPECT_EQ(make_tuple(c.angle, c.height), make_tuple(210.0f, height));
  EXPECT_NEAR(speedOf(c), 4, 1e-5f);
  CrowFlock::tick();
  EXPECT_LT(c.x, x);
  EXPECT_EQ(make_tuple(c.height, CornField::stalk(0).ears), make_tuple(height, int8_t{1})) << "the ear stays";
}

TEST_F(CrowFlockTest, OogaScareSkipsFiveFramesOfFrightAndOneLetterScaresOnlyTheLowerIndex) {
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

  place(5, 200, 200, 0, CrowState::Arriving);
  place(9, 200, 200, 0, CrowState::Arriving);
  EXPECT_TRUE(CrowFlock::scareAt(201, 201));
  EXPECT_EQ(make_tuple(CrowFlock::crow(5).state, CrowFlock::crow(9).state, Scarecrow::money()),
            make_tuple(CrowState::Fleeing, CrowState::Arriving, 130));
}

TEST_F(CrowFlockTest, TheCarrySpeedFactorSlowsOnlyCarriersAndLastsTheGame) {
  EXPECT_FLOAT_EQ(CrowFlock::carrySpeedFactor(), 1);
  for (int weight = 0; weight < 3; ++weight) CrowFlock::carrySpeedFactor() -= 0.1f;
  EXPECT_NEAR(speedOf(place(0, 300, 300, 0, CrowState::Carrying)), 0.7f * dayZeroFactor, 1e-5f);
  EXPECT_NEAR(speedOf(place(1, 300, 300, 0, CrowState::Arriving)), 2 * dayZeroFactor, 1e-5f);
  DayDirector::startDay();
  EXPECT_NEAR(CrowFlock::carrySpeedFactor(), 0.7f, 1e-5f);
  CrowFlock::load();
  EXPECT_FLOAT_EQ(CrowFlock::carrySpeedFactor(), 1);
}

TEST_F(CrowFlockTest, FacingRowsFollowTheHeading) {
  const std::pair<float, int> rows[] = {{0, 0},   {22, 0},  {23, 1},  {90, 2},  {180, 4},
                                        {200, 4}, {270, 6}, {337, 7}, {338, 0}, {359.9f, 0}};
  for (auto [angle, row] : rows)
    EXPECT_EQ(place(0, 300, 300, angle, CrowState::Arriving).facing, row) << angle;
}

TEST_F(CrowFlockTest, DrawShowsTheAnimationFrameTheEarInTheBeakAndTheShadow) {
  DrawQueue::load();
  worldLight = 0.25f;
  // State, animation, tick, the frame shown, whether the ear shows in the beak.
  const std::tuple<CrowState, AnimSet, int, int, bool> cases[] = {
      {CrowState::Arriving, AnimSet::Flap, 2, 1, false}, {CrowState::Pecking, AnimSet::Peck, 10, 5, false},
      {CrowState::Pecking, AnimSet::Peck, 11, 5, true},  {CrowState::Pecking, AnimSet::Peck, 20, 4, true},
      {CrowState::Carrying, AnimSet::Flap, 6, 3, true},  {CrowState::Fleeing, AnimSet::Scared, 24, 4, false},
      {CrowState::Fleeing, AnimSet::Scared, 2, 7, false}};
  for (auto [state, animSet, animTick, frame, ear] : cases) {
    SCOPED_TRACE(testing::Message() << "state " << int(state) << " tick " << animTick);
    Crow& c = place(0, 200, 300, 90, state);
    c.animSet = animSet, c.animTick = static_cast<uint8_t>(animTick), c.height = 30;
    DrawQueue::reset();
    CrowFlock::draw();
    std::vector<DrawEntry> e;
    for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
      e.push_back(DrawQueue::entryAt(i));
    }
    ASSERT_EQ(e.size(), ear ? 3u : 2u);
    EXPECT_EQ(make_tuple(e[0].kind, e[0].width, e[0].y), make_tuple(DrawKind::Shadow, 48.0f, 300.0f));
    EXPECT_NE(e.back().sprite, nullptr);
    EXPECT_EQ(make_tuple(e.back().sprite, e.back().elevation, e.back().width, e.back().tint, e.back().angle),
              make_tuple(CrowFlock::frameSprite(2, frame), 30.0f, 128.0f, 0.25f, 0.0f));
    // The ear sits just in front in the depth order, so the crow covers it.
    if (ear) {
      EXPECT_EQ(make_tuple(e[1].sprite, e[1].elevation, e[1].width),
                make_tuple(CrowFlock::cornSprite(), 30.0f, 40.0f));
      EXPECT_LT(e[1].y, 300);
      EXPECT_NEAR(e[1].y, 300 - 0.01f, 1e-4f);
    }
  }
  DrawQueue::unload();
  worldLight = 0;
}

}  // namespace
