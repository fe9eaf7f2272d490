#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;

std::vector<DrawEntry> queued() {
  std::vector<DrawEntry> out;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    out.push_back(DrawQueue::entryAt(i));
  }
  return out;
}

class BooShoutTest : public testing::Test {
 protected:
  void SetUp() override {
    DayDirector::resetForTests();
    Scarecrow::load();
    CrowFlock::load();
    PelicanFlock::load();
    CowHerd::load();
    BooShout::load();
    clearPlayedClips();
    // Keep the scarecrow far from everything the tests put on the field.
    Scarecrow::state().x = 600;
    Scarecrow::state().y = 460;
  }
  void TearDown() override {
    BooShout::unload();
    CowHerd::unload();
    PelicanFlock::unload();
    CrowFlock::unload();
    Scarecrow::unload();
  }

  // Expected fan: angles in slot order and which slot holds the b.
  static void expectFan(float facing, int os, float firstAngle, int bSlot) {
    BooShout::clear();
    Scarecrow::state().booLetters = static_cast<uint8_t>(os);
    BooShout::shout(100, 100, facing);
    SCOPED_TRACE(testing::Message() << "facing " << facing << " with " << os << " o");
    ASSERT_EQ(BooShout::countInUse(), os + 1);
    for (int i = 0; i <= os; ++i) {
      const ShoutParticle& p = BooShout::particle(i);
      EXPECT_EQ(make_tuple(p.angle, p.kind),
                make_tuple(firstAngle + 10.0f * i,
                           i == bSlot ? ShoutParticleKind::LetterB : ShoutParticleKind::LetterO))
          << i;
    }
  }

  static Crow& placeCrow(int index, float x, float y, CrowState state) {
    Crow& c = CrowFlock::crow(index);
    c = Crow{};
    c.x = x, c.y = y, c.height = 48, c.state = state, c.animSet = AnimSet::Flap;
    return c;
  }
};

TEST_F(BooShoutTest, FanAnglesAndWhereTheBGoes) {
  expectFan(0, 2, -15, 0);
  expectFan(90, 2, 75, 2);
  expectFan(180, 2, 165, 2);
  expectFan(270, 2, 255, 0);
  expectFan(10, 2, -5, 0);    // exactly 10 keeps the b first
  expectFan(200, 2, 185, 0);  // and so does exactly 200
  expectFan(90, 8, 45, 8);    // eight o: from facing - 45 to facing + 35
}

TEST_F(BooShoutTest, ALetterStartsWithTheRangeAsLifeThenGrowsFadesAndRunsOut) {
  Scarecrow::state().booRange = 70;
  BooShout::spawn(ShoutParticleKind::LetterO, 50, 60, 90);
  const ShoutParticle& p = BooShout::particle(0);
  EXPECT_EQ(
      make_tuple(p.kind, p.x, p.y, int(p.life), p.size, p.alpha, p.vx, p.vy),
      make_tuple(ShoutParticleKind::LetterO, 50.0f, 60.0f, 70, 0.0f, 1.0f, cosDeg(90) * 3, sinDeg(90) * 3));

  // A letter that passes nothing lives its full life and vanishes.
  BooShout::clear();
  placeCrow(0, 300, 300, CrowState::Arriving);
  Scarecrow::state().booRange = 40;
  BooShout::spawn(ShoutParticleKind::LetterB, 100, 100, 0);
  for (int update = 1; update <= 39; ++update) {
    SCOPED_TRACE(update);
    BooShout::update();
    ASSERT_EQ(p.kind, ShoutParticleKind::LetterB);
    EXPECT_EQ(make_tuple(int(p.life), p.size), make_tuple(40 - update, update < 16 ? 2.0f * update : 32.0f));
    const int fadeTicks = update >= 21 ? update - 20 : 0;  // by 0.05 a tick once the life is below 20
    EXPECT_NEAR(p.alpha, 1.0f - 0.05f * fadeTicks, 1e-5f);
    EXPECT_NEAR(p.x, 100 + 3.0f * update, 1e-3f);
  }
  BooShout::update();
  EXPECT_EQ(make_tuple(p.kind, BooShout::countInUse(), CrowFlock::crow(0).state, Scarecrow::money()),
            make_tuple(ShoutParticleKind::Free, 0, CrowState::Arriving, 0));
}

// Crows, pelicans and cows are all asked, in that order, even on the letter's last tick.
TEST_F(BooShoutTest, OnItsLastTickOneLetterScaresOneCrowTheLowerIndexFirstAndAPelicanToo) {
  placeCrow(7, 203, 100, CrowState::Arriving);
  placeCrow(3, 205, 105, CrowState::Arriving);
  Pelican& pelican = PelicanFlock::pelican(0);
  pelican = Pelican{};
  pelican.x = 204, pelican.y = 101, pelican.height = 48, pelican.state = PelicanState::Flying;
  BooShout::spawn(ShoutParticleKind::LetterO, 200, 100, 0);  // reaches (203, 100) on its first move
  BooShout::particle(0).life = 1;
  BooShout::update();
  EXPECT_EQ(make_tuple(CrowFlock::crow(3).state, CrowFlock::crow(7).state, pelican.state,
                       BooShout::particle(0).kind, Scarecrow::money(), countPlayed("sound\\crow_fear.wav")),
            make_tuple(CrowState::Fleeing, CrowState::Arriving, PelicanState::Fleeing,
                       ShoutParticleKind::Free, 10 + 50, 1));
  // A second letter finds the other crow; the fleeing one cannot be scared again.
  BooShout::spawn(ShoutParticleKind::LetterO, 200, 100, 0);
  BooShout::update();
  EXPECT_EQ(make_tuple(CrowFlock::crow(7).state, Scarecrow::money()), make_tuple(CrowState::Fleeing, 70));
}

TEST_F(BooShoutTest, ADroppedEarFallsLiesAndRunsOutAndIsPickedUpWithinTwentyFourEvenWhileFalling) {
  BooShout::spawn(ShoutParticleKind::DroppedCorn, 100, 100, 0);
  BooShout::spawn(ShoutParticleKind::DroppedCorn, 612, 472, 0);  // exactly 24 from the scarecrow
  const ShoutParticle& p = BooShout::particle(0);
  const ShoutParticle& near = BooShout::particle(1);
  EXPECT_EQ(make_tuple(p.height, int(p.life), p.size), make_tuple(48.0f, 300, 40.0f));
  for (int update = 1; update <= 12; ++update) {
    BooShout::update();
    EXPECT_FLOAT_EQ(p.height, 48.0f - 4.0f * update) << update;
    if (update == 1) {
      EXPECT_EQ(near.kind, ShoutParticleKind::DroppedCorn);
      Scarecrow::state().x = 601;
    } else if (update == 2) {
      EXPECT_EQ(make_tuple(near.kind, Scarecrow::money(), Scarecrow::state().score,
                           countPlayed("sound\\corn_get.wav")),
                make_tuple(ShoutParticleKind::Free, 50, 50, 1));
    }
  }
  for (int update = 13; update < 300; ++update) BooShout::update();
  EXPECT_EQ(make_tuple(p.kind, p.height, int(p.life)), make_tuple(ShoutParticleKind::DroppedCorn, 0.0f, 1));
  BooShout::update();
  EXPECT_EQ(make_tuple(p.kind, Scarecrow::money()), make_tuple(ShoutParticleKind::Free, 50));
}

TEST_F(BooShoutTest, AFullTableDropsFurtherLettersAndClearEmptiesIt) {
  for (int i = 0; i < BooShout::capacity; ++i) BooShout::spawn(ShoutParticleKind::LetterO, 0, 0, 0);
  EXPECT_EQ(BooShout::countInUse(), BooShout::capacity);
  BooShout::particle(17).kind = ShoutParticleKind::Free;
  BooShout::shout(50, 60, 90);  // three letters, room for one
  EXPECT_EQ(make_tuple(BooShout::countInUse(), BooShout::particle(17).x, BooShout::particle(17).angle),
            make_tuple(BooShout::capacity, 50.0f, 75.0f));
  BooShout::clear();
  EXPECT_EQ(BooShout::countInUse(), 0);
}

TEST_F(BooShoutTest, DrawLiftsLettersAndBlinksAnEarInItsLastSixtyTicks) {
  DrawQueue::load();
  worldLight = 0.5f;
  BooShout::spawn(ShoutParticleKind::LetterB, 100, 200, 0);
  BooShout::particle(0).size = 18;
  BooShout::particle(0).alpha = 0.85f;
  DrawQueue::reset();
  BooShout::draw();
  std::vector<DrawEntry> entries = queued();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_NE(entries[0].sprite, nullptr);
  EXPECT_EQ(make_tuple(entries[0].sprite, entries[0].elevation, entries[0].width, entries[0].alpha,
                       entries[0].tint),
            make_tuple(BooShout::letterSprite(ShoutParticleKind::LetterB), 64.0f, 18.0f, 0.85f, 0.5f));

  BooShout::clear();
  BooShout::spawn(ShoutParticleKind::DroppedCorn, 100, 200, 0);
  ShoutParticle& ear = BooShout::particle(0);
  ear.height = 20;
  const std::pair<int, bool> blinks[] = {{300, true}, {61, true},  {60, false},
                                         {59, true},  {58, false}, {1, true}};
  for (const auto& [life, shown] : blinks) {
    ear.life = life;
    DrawQueue::reset();
    BooShout::draw();
    entries = queued();
    ASSERT_EQ(entries.size(), shown ? 1u : 0u) << life;
    if (!shown) continue;
    EXPECT_EQ(make_tuple(entries[0].sprite, entries[0].elevation, entries[0].width, entries[0].alpha),
              make_tuple(CrowFlock::cornSprite(), 20.0f, 40.0f, 1.0f));
  }
  DrawQueue::unload();
  worldLight = 0;
}

}  // namespace
