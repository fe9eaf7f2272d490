#include <gtest/gtest.h>

#include <tuple>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "test_support.h"

namespace {
using std::make_tuple;

class CornFieldTest : public testing::Test {
 protected:
  void SetUp() override {
    DayDirector::resetForTests();
    Scarecrow::load();
    CornField::load();
    gameOver = false;
    clearPlayedClips();
  }
  void TearDown() override {
    CornField::unload();
    Scarecrow::unload();
    DayDirector::resetForTests();
    gameOver = false;
  }

  // Takes every ear of a stalk, the way crows would.
  static void strip(int slot) {
    while (CornField::takeEar(slot)) {
    }
  }
  static int powerDowns() { return countPlayed("sound\\powerdown.wav"); }
};

TEST_F(CornFieldTest, LayOutFillsTheSixBySixGridRowByRow) {
  DayDirector::cycleStartingCorn();  // two ears a stalk
  CornField::layOut();
  const float columns[] = {128, 204, 280, 356, 432, 508};
  const float rows[] = {165, 215, 265, 315, 365, 415};
  EXPECT_EQ(make_tuple(CornField::slotCount(), CornField::liveStalkCount(), CornField::earCount()),
            make_tuple(36, 36, 72));
  for (int i = 0; i < 36; ++i) {
    const CornStalk& s = CornField::stalk(i);
    EXPECT_EQ(make_tuple(s.x, s.y, s.ears, s.stage, s.tilt >= -12 && s.tilt <= 13),
              make_tuple(columns[i % 6], rows[i / 6], int8_t{2}, int8_t{1}, true))
        << i;
  }
  for (int i = 36; i < CornField::capacity; ++i) EXPECT_EQ(CornField::stalk(i).stage, 0);
}

TEST_F(CornFieldTest, FindStalkWithCornIsAStrictDiamondAndTakesTheFirstSlot) {
  EXPECT_EQ(CornField::findStalkWithCorn(128, 165, 24), -1);  // empty field
  CornField::layOut();
  EXPECT_EQ(CornField::findStalkWithCorn(128 + 24, 165, 24), -1);       // exactly the radius
  EXPECT_EQ(CornField::findStalkWithCorn(128 + 12, 165 + 12, 24), -1);  // a diamond, not a circle
  EXPECT_EQ(CornField::findStalkWithCorn(128 + 12, 165 + 11.5f, 24), 0);
  EXPECT_EQ(CornField::findStalkWithCorn(204, 215 - 23, 24), 7);
  EXPECT_EQ(CornField::findStalkWithCorn(170, 165, 50), 0);  // nearer to slot 1, but slot 0 comes first
  strip(0);                                                  // a stalk without ears is passed over
  EXPECT_EQ(CornField::findStalkWithCorn(170, 165, 50), 1);
  EXPECT_EQ(CornField::findStalkWithCorn(128, 165, 24), -1);
}

TEST_F(CornFieldTest, TakingAndEatingPowerDownOnceAndRepeatsFail) {
  DayDirector::cycleStartingCorn();
  CornField::layOut();
  const auto earsAndPowerDowns = [](int slot) {
    return make_tuple(int(CornField::stalk(slot).ears), powerDowns());
  };
  EXPECT_TRUE(CornField::takeEar(4));
  EXPECT_EQ(earsAndPowerDowns(4), make_tuple(1, 0));
  EXPECT_TRUE(CornField::takeEar(4));
  EXPECT_EQ(earsAndPowerDowns(4), make_tuple(0, 1));
  EXPECT_FALSE(CornField::takeEar(4));  // a second creature on the just-emptied stalk
  EXPECT_EQ(earsAndPowerDowns(4), make_tuple(0, 1));

  // Eating costs twenty whatever the ears.
  CornField::stalk(9).ears = 3;
  Scarecrow::state().money = 100, Scarecrow::state().score = 100;
  EXPECT_TRUE(CornField::eatStalk(9));
  EXPECT_EQ(make_tuple(earsAndPowerDowns(9), Scarecrow::money(), Scarecrow::state().score),
            make_tuple(make_tuple(0, 2), 80, 80));
  EXPECT_FALSE(CornField::eatStalk(9));
  EXPECT_EQ(make_tuple(earsAndPowerDowns(9), Scarecrow::money()), make_tuple(make_tuple(0, 2), 80));

  // Slots outside the field are refused.
  EXPECT_FALSE(CornField::takeEar(-1) || CornField::takeEar(36) || CornField::eatStalk(CornField::capacity));
  CornField::stalk(CornField::capacity).stage = 1;  // lands in scratch, not beyond the pool
  EXPECT_EQ(CornField::stalk(-1).stage, 0);
  EXPECT_EQ(CornField::liveStalkCount(), 36);
}

TEST_F(CornFieldTest, AnEmptiedStalkWithersEightyOneTicksAndOnlyTheLastOneGoneEndsTheGame) {
  for (int i = 0; i < 3; ++i) DayDirector::cycleStartingCorn();  // three ears, though planting gives one
  for (int i = 0; i < 3; ++i) CornField::plantStalk();
  EXPECT_EQ(make_tuple(CornField::slotCount(), CornField::earCount()), make_tuple(3, 3));
  CornField::takeEar(0);
  CornField::tick();  // slot 0 is one stage ahead when slot 1 loses its last ear
  CornField::takeEar(1);
  EXPECT_EQ(CornField::stalk(1).stage, 1);  // still standing until the next tick
  for (int tick = 1; tick <= 80; ++tick) {
    CornField::tick();
    ASSERT_EQ(make_tuple(CornField::stalk(1).stage, gameOver), make_tuple(int8_t(tick + 1), false)) << tick;
  }
  EXPECT_EQ(make_tuple(CornField::stalk(0).stage, CornField::liveStalkCount()), make_tuple(int8_t{0}, 2));
  CornField::tick();
  EXPECT_EQ(
      make_tuple(CornField::stalk(1).stage, CornField::liveStalkCount(), CornField::stalk(2).stage, gameOver),
      make_tuple(int8_t{0}, 1, int8_t{1}, false));  // the standing one stays; gaps stay gaps

  CornField::takeEar(2);
  for (int tick = 1; tick <= 80; ++tick) {
    CornField::tick();
    ASSERT_FALSE(gameOver) << tick;
  }
  CornField::tick();
  EXPECT_EQ(make_tuple(gameOver, CornField::liveStalkCount(), CornField::slotCount()),
            make_tuple(true, 0, 3));
  gameOver = false;
  for (int i = 0; i < 100; ++i) CornField::tick();
  EXPECT_FALSE(gameOver);
}

TEST_F(CornFieldTest, PlantingFillsAGridGapThenGoesBeyondTheGrid) {
  CornField::layOut();
  const CornStalk before = CornField::stalk(5);
  CornField::stalk(5).stage = 0;
  CornField::stalk(5).ears = 0;
  CornField::plantStalk();
  const CornStalk& five = CornField::stalk(5);
  EXPECT_EQ(make_tuple(five.stage, five.ears, five.x, five.y, CornField::slotCount()),
            make_tuple(int8_t{1}, int8_t{1}, before.x, before.y, 36));

  for (int planted = 0; planted < 14; ++planted) {
    CornField::plantStalk();
    const CornStalk& s = CornField::stalk(36 + planted);
    EXPECT_EQ(make_tuple(CornField::slotCount(), s.stage, s.ears,
                         s.x >= 50 && s.x <= 590 && s.y >= 40 && s.y <= 440),
              make_tuple(37 + planted, int8_t{1}, int8_t{1}, true))
        << planted << ": " << s.x << "," << s.y;
  }
  EXPECT_EQ(CornField::liveStalkCount(), 50);
  CornField::plantStalk();  // the pool is full
  EXPECT_EQ(make_tuple(CornField::liveStalkCount(), CornField::slotCount()), make_tuple(50, 50));
}

TEST_F(CornFieldTest, FertilizingRaisesStandingStalksUpToThree) {
  EXPECT_FALSE(CornField::canFertilize());  // nothing standing
  CornField::layOut();
  CornField::stalk(0).ears = 3;
  CornField::stalk(1).ears = 2;
  strip(2);
  CornField::tick();  // slot 2 starts withering
  ASSERT_EQ(CornField::stalk(2).stage, 2);
  strip(6);  // standing with no ears, not yet withering
  EXPECT_TRUE(CornField::canFertilize());
  CornField::fertilize();
  const auto ears = [](int slot) { return int(CornField::stalk(slot).ears); };
  EXPECT_EQ(make_tuple(ears(0), ears(1), ears(2), ears(3), ears(6)), make_tuple(3, 3, 0, 2, 1));
  CornField::tick();
  EXPECT_EQ(CornField::stalk(6).stage, 1) << "saved from withering";
  CornField::fertilize();
  EXPECT_TRUE(CornField::canFertilize());  // slot 6 has two
  CornField::fertilize();
  EXPECT_FALSE(
      CornField::canFertilize());  // every standing stalk has three; the withering one does not count
  EXPECT_EQ(CornField::stalk(2).ears, 0);
}

TEST_F(CornFieldTest, DrawFollowsTheStageTable) {
  DrawQueue::load();
  worldLight = 0.75f;
  const std::tuple<int8_t, int8_t, int, float> cases[] = {
      {1, 3, 0, 200},  {1, 2, 1, 200},  {1, 1, 2, 200},  {1, 0, 3, 200},  {2, 0, 3, 200},
      {7, 0, 3, 200},  {8, 0, 4, 200},  {15, 0, 4, 200}, {16, 0, 5, 200}, {24, 0, 6, 200},
      {31, 0, 6, 200}, {32, 0, 6, 200}, {33, 0, 6, 196}, {81, 0, 6, 4}};
  CornField::plantStalk();
  CornStalk& s = CornField::stalk(0);
  s.x = 140, s.y = 170, s.tilt = -7;
  for (const auto& [stage, ears, picture, size] : cases) {
    SCOPED_TRACE(testing::Message() << "stage " << int(stage) << " ears " << int(ears));
    s.stage = stage, s.ears = ears;
    DrawQueue::reset();
    CornField::draw();
    ASSERT_NE(DrawQueue::headIndex(), -1);  // a stalk whose picture is missing would queue nothing
    const DrawEntry& e = DrawQueue::entryAt(DrawQueue::headIndex());
    EXPECT_EQ(make_tuple(e.next, e.kind, e.sprite, e.width, e.height, e.angle, e.elevation, e.tint, e.x, e.y),
              make_tuple(-1, DrawKind::Sprite, CornField::stalkSprite(picture), size, size, -7.0f, 0.0f,
                         0.75f, 140.0f, 170.0f));
  }
  s.stage = 0;
  DrawQueue::reset();
  CornField::draw();
  EXPECT_EQ(DrawQueue::headIndex(), -1);  // an empty slot draws nothing
  DrawQueue::unload();
  worldLight = 0;
}

}  // namespace
