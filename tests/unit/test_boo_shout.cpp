#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "days/draw_queue.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "test_support.h"

namespace {
using std::make_tuple;
using enum ShoutParticleKind;

class BooShoutTest : public testing::Test {
 protected:
  void SetUp() override {
    for (auto step : {Scarecrow::load, CrowFlock::load, PelicanFlock::load, CowHerd::load, BooShout::load,
                      clearPlayedClips})
      step();
    Scarecrow::testing::state().x = 600,
    Scarecrow::testing::state().y = 460;  // far from everything the tests put down
  }
  void TearDown() override {
    for (auto step :
         {BooShout::unload, CowHerd::unload, PelicanFlock::unload, CrowFlock::unload, Scarecrow::unload})
      step();
  }

  static void placeCrow(int index, float x, float y) {
    Crow& c = CrowFlock::crow(index) = Crow{};
    c.x = x, c.y = y, c.height = 48, c.state = CrowState::Arriving, c.animSet = AnimSet::Flap;
  }
};

TEST_F(BooShoutTest, FanAnglesAndWhereTheBGoes) {
  // Facing, letters o, first angle, slot of the b. Exactly 10 and exactly 200 keep the b first; eight
  // o span facing - 45 to facing + 35.
  Scarecrow::testing::state().booRange = 70;  // every letter's life
  const int cases[][4] = {{0, 2, -15, 0}, {180, 2, 165, 2}, {270, 2, 255, 0},
                          {10, 2, -5, 0}, {200, 2, 185, 0}, {90, 8, 45, 8}};
  for (const auto& [facing, os, firstAngle, bSlot] : cases) {
    BooShout::clear();
    Scarecrow::testing::state().booLetters = static_cast<uint8_t>(os);
    BooShout::shout(100, 100, static_cast<float>(facing));
    ASSERT_EQ(BooShout::countInUse(), os + 1) << facing;
    for (int i = 0; i <= os; ++i) {
      EXPECT_EQ(make_tuple(BooShout::particle(i).angle, BooShout::particle(i).kind,
                           int(BooShout::particle(i).life)),
                make_tuple(firstAngle + 10.0f * i, i == bSlot ? LetterB : LetterO, 70))
          << facing << " slot " << i;
    }
  }
}

// Its first update comes in the tick that created it.
TEST_F(BooShoutTest, ALetterLivesTheRangeGrowsFadesAndRunsOut) {
  BooShout::spawn(LetterB, 100, 100, 0);  // with the starting range, 40
  const ShoutParticle& p = BooShout::particle(0);
  for (int update = 1; update <= 39; ++update) {
    BooShout::update();
    EXPECT_EQ(make_tuple(p.kind, int(p.life), p.size, p.y),
              make_tuple(LetterB, 40 - update, update < 16 ? 2.0f * update : 32.0f, 100.0f))
        << update;
    // Fading by 0.05 a tick once the life is below 20.
    EXPECT_NEAR(p.alpha, 1.0f - 0.05f * std::max(0, update - 20), 1e-5f) << update;
    EXPECT_NEAR(p.x, 100 + 3.0f * update, 1e-3f) << update;
  }
  BooShout::update();
  EXPECT_EQ(make_tuple(p.kind, BooShout::countInUse(), Scarecrow::money()), make_tuple(Free, 0, 0));
}

// Crows, pelicans and cows are all asked, in that order, even on the letter's last tick.
TEST_F(BooShoutTest, OnItsLastTickOneLetterScaresOneCrowTheLowerIndexFirstAndAPelicanToo) {
  placeCrow(7, 203, 100);
  placeCrow(3, 205, 105);
  Pelican& pelican = PelicanFlock::pelican(0) = Pelican{};
  pelican.x = 204, pelican.y = 101, pelican.height = 48, pelican.state = PelicanState::Flying;
  BooShout::spawn(LetterO, 200, 100, 0);  // reaches (203, 100) on its first move
  BooShout::particle(0).life = 1;
  BooShout::update();
  EXPECT_EQ(make_tuple(CrowFlock::crow(3).state, CrowFlock::crow(7).state, pelican.state,
                       BooShout::particle(0).kind, Scarecrow::money(), countPlayed("sound\\crow_fear.wav")),
            make_tuple(CrowState::Fleeing, CrowState::Arriving, PelicanState::Fleeing, Free, 10 + 50, 1));
}

TEST_F(BooShoutTest, ADroppedEarFallsLiesAndRunsOutAndIsPickedUpWithinTwentyFourEvenWhileFalling) {
  BooShout::spawn(DroppedCorn, 100, 100, 0);
  BooShout::spawn(DroppedCorn, 612, 472, 0);  // exactly 24 from the scarecrow
  const ShoutParticle &p = BooShout::particle(0), &near = BooShout::particle(1);
  BooShout::update();
  EXPECT_EQ(make_tuple(p.height, near.kind, near.height), make_tuple(44.0f, DroppedCorn, 44.0f));
  Scarecrow::testing::state().x = 601;
  BooShout::update();
  EXPECT_EQ(make_tuple(near.kind, Scarecrow::money(), countPlayed("sound\\corn_get.wav")),
            make_tuple(Free, 50, 1));
  for (int update = 3; update < 300; ++update) BooShout::update();
  EXPECT_EQ(make_tuple(p.kind, p.height, int(p.life)), make_tuple(DroppedCorn, 0.0f, 1));
  BooShout::update();
  EXPECT_EQ(make_tuple(p.kind, Scarecrow::money()), make_tuple(Free, 50));
}

TEST_F(BooShoutTest, AFullTableDropsFurtherLettersAndClearEmptiesIt) {
  for (int i = 0; i < BooShout::capacity; ++i) BooShout::spawn(LetterO, 0, 0, 0);
  EXPECT_EQ(BooShout::countInUse(), BooShout::capacity);
  BooShout::particle(17).kind = Free;
  BooShout::shout(50, 60, 90);  // three letters, room for one
  EXPECT_EQ(make_tuple(BooShout::countInUse(), BooShout::particle(17).x, BooShout::particle(17).angle),
            make_tuple(BooShout::capacity, 50.0f, 75.0f));
  BooShout::clear();
  EXPECT_EQ(BooShout::countInUse(), 0);
}

TEST_F(BooShoutTest, DrawLiftsLettersAndBlinksAnEarInItsLastSixtyTicks) {
  DrawQueue::load();
  BooShout::spawn(LetterB, 100, 100, 0);
  BooShout::particle(0).size = 18, BooShout::particle(0).alpha = 0.85f;
  BooShout::spawn(DroppedCorn, 100, 300, 0);
  BooShout::particle(1).height = 20;
  for (const auto& [life, shown] : {std::tuple{61, true}, {60, false}, {59, true}, {58, false}, {1, true}}) {
    BooShout::particle(1).life = life;
    DrawQueue::reset();
    BooShout::draw(0.5f);
    const DrawEntry& letter = DrawQueue::entryAt(DrawQueue::headIndex());  // first, being higher up
    const DrawEntry& ear = DrawQueue::entryAt(letter.next);
    EXPECT_EQ(make_tuple(letter.sprite != nullptr, letter.sprite, letter.elevation, letter.width,
                         letter.alpha, letter.tint, letter.next != -1),
              make_tuple(true, BooShout::letterSprite(LetterB), 64.0f, 18.0f, 0.85f, 0.5f, shown))
        << life;
    EXPECT_TRUE(!shown || make_tuple(ear.sprite, ear.elevation, ear.width, ear.alpha, ear.next) ==
                              make_tuple(CrowFlock::cornSprite(), 20.0f, 40.0f, 1.0f, -1))
        << life;
  }
  DrawQueue::unload();
}

}  // namespace
