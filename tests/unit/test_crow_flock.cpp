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
#include "scarecrow/scarecrow_testing.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;

constexpr float dayZeroFactor = 0.2f;

class CrowFlockTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { Scarecrow::load(); }
  static void TearDownTestSuite() { Scarecrow::unload(); }
  void SetUp() override {
    DayDirector::resetForTests();
    DayDirector::startDay();  // day index 0: speed factor 0.2
    CornField::load(), CrowFlock::load(), BooShout::load();
    // The scarecrow stands out of the way of dropped ears.
    Scarecrow::testing::state().money = 100, Scarecrow::testing::state().x = 630,
    Scarecrow::testing::state().y = 30;
    clearPlayedClips();
  }
  void TearDown() override { BooShout::unload(), CrowFlock::unload(), CornField::unload(); }

  // A crow at flight height, flapping from tick 0 and aiming at no stalk.
  static Crow& place(int index, float x, float y, float angle, CrowState state) {
    Crow& c = CrowFlock::crow(index) = Crow{x, y, 48, angle, 0, 0, AnimSet::Flap, 0, state, 0, -1};
    return CrowFlock::aim(index), c;
  }
};

TEST_F(CrowFlockTest, SpawnsComeFromTheFourEdgesFoldBelow360CrossSilentlyAndAFullFlockDropsTheRequest) {
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
    CrowFlock::spawn(false);
    const Crow& c = CrowFlock::crow(0);
    const float x[4] = {along, 700, along, -60}, y[4] = {-60, along, 608, along};
    EXPECT_EQ(make_tuple(c.x, c.y, c.angle, c.state, c.height, c.animSet),
              make_tuple(x[edge], y[edge], heading > 360 ? heading - 360 : heading, CrowState::Arriving,
                         48.0f, AnimSet::Flap));
    edgeSeen[edge] = true;
    if (edge == 3) (heading > 360 ? folded : kept) = true;
    if (seed > 8) continue;
    for (int tick = 0; !CrowFlock::isEmpty() && tick < 10000; ++tick) CrowFlock::tick();
    EXPECT_TRUE(CrowFlock::isEmpty() && playedClips().empty() && Scarecrow::money() == 100);
  }
  EXPECT_TRUE(edgeSeen[0] && edgeSeen[1] && edgeSeen[2] && edgeSeen[3] && folded && kept);
  // The last crow is still on its way in; announced ones call, and a full flock drops the request.
  for (int i = 1; i < CrowFlock::capacity; ++i) CrowFlock::spawn(true);
  const uint32_t before = randomState();
  CrowFlock::spawn(true);  // dropped: no call and nothing drawn
  EXPECT_EQ(make_tuple(CrowFlock::countInUse(), countPlayed("sound\\crow_go.wav"), randomState()),
            make_tuple(CrowFlock::capacity, CrowFlock::capacity - 1, before));
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
  // It stops over its own ground point.
  EXPECT_EQ(make_tuple(c.state, countPlayed("sound\\crow_corn.wav"), c.target, c.x, c.vx, robbed.target),
            make_tuple(CrowState::Pecking, 2, 0, 118 + 2 * dayZeroFactor, 0.0f, 6));
  for (int tick = 2; tick <= 20; ++tick) {
    CrowFlock::tick();
    const float expected = tick <= 9 ? 48.0f - 4 * (tick - 1) : std::fmin(16.0f + 4 * (tick - 9), 48.0f);
    EXPECT_EQ(make_tuple(c.height, int(c.animTick), c.state), make_tuple(expected, tick, CrowState::Pecking))
        << tick;
    if (tick == 15) CornField::stalk(6).ears = 0;  // another creature got there first
  }
  CrowFlock::tick();  // and that was the stalk's last ear; the robbed crow flies on in its old direction
  EXPECT_EQ(make_tuple(c.state, CornField::stalk(0).ears, Scarecrow::money(), c.angle, int(c.facing),
                       c.animSet, int(c.animTick), countPlayed("sound\\powerdown.wav")),
            make_tuple(CrowState::Carrying, int8_t{0}, 95, 180.0f, 4, AnimSet::Flap, 0, 1));
  EXPECT_EQ(make_tuple(robbed.state, robbed.angle), make_tuple(CrowState::Arriving, 0.0f));
}

TEST_F(CrowFlockTest, ACarrierLaughsExactlyOnceOnItsFirstTickOutsideTheEscapeBox) {
  // Each on its way out of one side of the escape box; an arriving crow out there does not laugh.
  place(0, 659.5f, 300, 0, CrowState::Carrying);
  place(1, 300, -19.5f, 270, CrowState::Carrying);
  place(2, 300, 539.5f, 90, CrowState::Carrying);
  place(3, -19.5f, 300, 180, CrowState::Carrying);
  place(4, 680, 300, 0, CrowState::Arriving);
  CrowFlock::tick(), CrowFlock::tick();
  EXPECT_EQ(make_tuple(countPlayed("sound\\crow_haha.wav"), Scarecrow::money(), CrowFlock::countInUse()),
            make_tuple(0, 100, 5));
  CrowFlock::tick();  // 660.1, -20.1, 540.1 and -20.1: outside
  EXPECT_EQ(make_tuple(countPlayed("sound\\crow_haha.wav"), Scarecrow::money(), CrowFlock::countInUse()),
            make_tuple(4, 60, 1));
}

TEST_F(CrowFlockTest, ScaredWhileCarryingDropsTheEarHoversAndKeepsHeadingOut) {
  Crow& c = place(0, 300, 300, 0, CrowState::Carrying);
  EXPECT_TRUE(!CrowFlock::scareAt(308, 308) && CrowFlock::scareAt(308, 307));  // 16 away is out of reach
  const ShoutParticle& ear = BooShout::particle(0);
  EXPECT_EQ(
      make_tuple(c.state, c.animSet, Scarecrow::money(), BooShout::countInUse(), ear.kind, ear.x, ear.y),
      make_tuple(CrowState::Fleeing, AnimSet::Scared, 110, 1, ShoutParticleKind::DroppedCorn, 300.0f,
                 300.0f));
  // The tick of the scare counts as the first; the crow hangs still until the 25th.
  for (int tick = 1; tick <= 25; ++tick) CrowFlock::tick();
  EXPECT_EQ(make_tuple(c.x, c.y, c.animSet), make_tuple(300.0f, 300.0f, AnimSet::Flap));
  CrowFlock::tick();
  EXPECT_EQ(make_tuple(c.x, c.y, c.angle), make_tuple(304.0f, 300.0f, 0.0f));
  // A fleeing crow can neither be scared again nor land, and it does not laugh on the way out.
  EXPECT_FALSE(CrowFlock::scareAt(c.x, c.y));
  for (int tick = 0; tick < 200; ++tick) CrowFlock::tick();
  EXPECT_TRUE(CrowFlock::isEmpty() && playedClips().size() == 1 && Scarecrow::money() == 110);
}

TEST_F(CrowFlockTest, OogaScareSkipsFiveFramesOfFrightAPeckingCrowTurnsAtItsHeightAndOneLetterScaresOne) {
  CornField::layOut();
  Crow& pecker = place(1, 138, 165, 180, CrowState::Arriving);
  for (int tick = 0; tick < 5; ++tick) CrowFlock::tick();
  ASSERT_EQ(pecker.state, CrowState::Pecking);
  const float height = pecker.height, x = pecker.x;
  Crow& carrier = place(0, 300, 300, 90, CrowState::Carrying);
  place(2, 200, 200, 0, CrowState::Fleeing);  // already fleeing: left alone
  CrowFlock::scareAll();
  EXPECT_EQ(make_tuple(Scarecrow::money(), countPlayed("sound\\crow_fear.wav"), int(carrier.animTick),
                       BooShout::countInUse()),
            make_tuple(120, 2, 5, 1));  // only the carrier drops an ear
  // Still on the 20th tick after the scare, one step further on the 21st: the carrier keeps heading
  // out, the pecker turns about (180 + 180 comes back to 0) at the height it had, and leaves the ear.
  for (int tick = 1; tick <= 21; ++tick) CrowFlock::tick();
  EXPECT_NEAR(carrier.y, 304, 1e-4f);
  EXPECT_NEAR(pecker.x, x + 4, 1e-4f);
  EXPECT_EQ(make_tuple(pecker.angle, pecker.height, CornField::stalk(0).ears),
            make_tuple(0.0f, height, int8_t{1}));

  place(5, 200, 200, 0, CrowState::Arriving), place(9, 200, 200, 0, CrowState::Arriving);
  EXPECT_TRUE(CrowFlock::scareAt(201, 201));
  EXPECT_EQ(make_tuple(CrowFlock::crow(5).state, CrowFlock::crow(9).state, Scarecrow::money()),
            make_tuple(CrowState::Fleeing, CrowState::Arriving, 130));
}

TEST_F(CrowFlockTest, TheCarrySpeedFactorSlowsOnlyCarriersAndLastsTheGame) {
  for (int weight = 0; weight < 3; ++weight) CrowFlock::lightenCarry(0.1f);
  EXPECT_NEAR(place(0, 300, 300, 0, CrowState::Carrying).vx, 0.7f * dayZeroFactor, 1e-5f);
  EXPECT_NEAR(place(1, 300, 300, 0, CrowState::Arriving).vx, 2 * dayZeroFactor, 1e-5f);
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
  using enum CrowState;
  using enum AnimSet;
  // State, animation, tick, the frame shown, whether the ear shows in the beak.
  const std::tuple<CrowState, AnimSet, int, int, bool> cases[] = {
      {Pecking, Peck, 10, 5, false}, {Pecking, Peck, 11, 5, true},    {Pecking, Peck, 20, 4, true},
      {Carrying, Flap, 6, 3, true},  {Fleeing, Scared, 24, 4, false}, {Fleeing, Scared, 2, 7, false}};
  for (auto [state, animSet, animTick, frame, ear] : cases) {
    SCOPED_TRACE(testing::Message() << "state " << int(state) << " tick " << animTick);
    CrowFlock::crow(0) = Crow{200, 300, 30, 90, 0, 0, animSet, static_cast<uint8_t>(animTick), state, 2, -1};
    DrawQueue::reset(), CrowFlock::draw(0.25f);
    std::vector<DrawEntry> e;
    for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next)
      e.push_back(DrawQueue::entryAt(i));
    ASSERT_TRUE(e.size() == (ear ? 3u : 2u) && e.back().sprite);
    EXPECT_EQ(make_tuple(e[0].kind, e[0].width, e[0].y), make_tuple(DrawKind::Shadow, 48.0f, 300.0f));
    EXPECT_EQ(make_tuple(e.back().sprite, e.back().elevation, e.back().width, e.back().tint, e.back().angle),
              make_tuple(CrowFlock::frameSprite(2, frame), 30.0f, 128.0f, 0.25f, 0.0f));
    if (!ear) continue;
    // The ear sits just in front in the depth order, so the crow covers it.
    EXPECT_EQ(make_tuple(e[1].sprite, e[1].elevation, e[1].width, e[1].y),
              make_tuple(CrowFlock::cornSprite(), 30.0f, 40.0f, 300.0f - 0.01f));
  }
  DrawQueue::unload();
}

}  // namespace
