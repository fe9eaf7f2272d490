#include <gtest/gtest.h>

#include <tuple>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "test_support.h"

namespace {
using std::make_tuple;

class CornFieldTest : public testing::Test {
 protected:
  void SetUp() override {
    for (auto step : {DayDirector::resetForTests, Scarecrow::load, CornField::load, clearPlayedClips}) step();
  }
  void TearDown() override {
    for (auto step : {CornField::unload, Scarecrow::unload, DayDirector::resetForTests}) step();
  }
  static int ears(int slot) { return CornField::stalk(slot).ears; }
  static int powerDowns() { return countPlayed("sound\\powerdown.wav"); }
};

TEST_F(CornFieldTest, LayOutFillsTheSixBySixGridRowByRowAndFindingCornIsAStrictDiamond) {
  EXPECT_EQ(CornField::findStalkWithCorn(128, 165, 24), -1);  // empty field
  DayDirector::cycleStartingCorn();                           // two ears a stalk
  CornField::layOut();
  EXPECT_EQ(make_tuple(CornField::slotCount(), CornField::liveStalkCount(), CornField::earCount()),
            make_tuple(36, 36, 72));
  for (int i = 0; i < 36; ++i) {
    const CornStalk& s = CornField::stalk(i);
    EXPECT_EQ(make_tuple(s.x, s.y, s.ears, s.stage, s.tilt >= -12 && s.tilt <= 13),
              make_tuple(128 + 76.0f * (i % 6), 165 + 50.0f * (i / 6), int8_t{2}, int8_t{1}, true))
        << i;
  }
  for (int i = 36; i < CornField::capacity; ++i) EXPECT_EQ(CornField::stalk(i).stage, 0);

  EXPECT_EQ(CornField::findStalkWithCorn(128 + 24, 165, 24), -1);       // exactly the radius
  EXPECT_EQ(CornField::findStalkWithCorn(128 + 12, 165 + 12, 24), -1);  // a diamond, not a circle
  EXPECT_EQ(CornField::findStalkWithCorn(128 + 12, 165 + 11.5f, 24), 0);
  EXPECT_EQ(CornField::findStalkWithCorn(170, 165, 50), 0);  // nearer to slot 1, but slot 0 comes first
  CornField::stalk(0).ears = 0;                              // a stalk without ears is passed over
  EXPECT_EQ(
      make_tuple(CornField::findStalkWithCorn(170, 165, 50), CornField::findStalkWithCorn(128, 165, 24)),
      make_tuple(1, -1));
}

TEST_F(CornFieldTest, TakingAndEatingPowerDownOnceAndRepeatsFail) {
  DayDirector::cycleStartingCorn();
  CornField::layOut();
  EXPECT_TRUE(CornField::takeEar(4));
  EXPECT_EQ(make_tuple(ears(4), powerDowns()), make_tuple(1, 0));
  EXPECT_TRUE(CornField::takeEar(4));
  EXPECT_FALSE(CornField::takeEar(4));  // a second creature on the just-emptied stalk
  EXPECT_EQ(make_tuple(ears(4), powerDowns()), make_tuple(0, 1));

  // Eating costs twenty whatever the ears.
  CornField::stalk(9).ears = 3;
  Scarecrow::testing::state().money = 100, Scarecrow::testing::state().score = 100;
  EXPECT_TRUE(CornField::eatStalk(9));
  EXPECT_FALSE(CornField::eatStalk(9));
  EXPECT_EQ(make_tuple(ears(9), powerDowns(), Scarecrow::money(), Scarecrow::testing::state().score),
            make_tuple(0, 2, 80, 80));

  // Slots outside the field are refused.
  EXPECT_FALSE(CornField::takeEar(-1) || CornField::takeEar(36) || CornField::eatStalk(CornField::capacity));
  CornField::stalk(CornField::capacity).stage = 1;  // lands in scratch, not beyond the pool
  EXPECT_EQ(make_tuple(CornField::stalk(-1).stage, CornField::liveStalkCount()), make_tuple(int8_t{0}, 36));
}

TEST_F(CornFieldTest, AnEmptiedStalkWithersEightyOneTicksAndOnlyTheLastOneGoneEndsTheGame) {
  for (int i = 0; i < 3; ++i) DayDirector::cycleStartingCorn();  // three ears, though planting gives one
  for (int i = 0; i < 2; ++i) CornField::plantStalk();
  EXPECT_EQ(make_tuple(CornField::slotCount(), CornField::earCount()), make_tuple(2, 2));
  for (int slot : {0, 1}) {
    CornField::takeEar(slot);
    EXPECT_EQ(CornField::stalk(slot).stage, 1);  // still standing until the next tick
    int lost = 0;
    for (int tick = 1; tick <= 80; ++tick) lost += CornField::tick();
    EXPECT_EQ(make_tuple(CornField::stalk(slot).stage, lost), make_tuple(int8_t{81}, 0));
    lost = CornField::tick();
    EXPECT_EQ(make_tuple(CornField::stalk(slot).stage, CornField::liveStalkCount(), lost),
              make_tuple(int8_t{0}, 1 - slot, slot == 1));  // the other one stands until its turn
  }
  int lost = 0;
  for (int i = 0; i < 100; ++i) lost += CornField::tick();
  EXPECT_EQ(make_tuple(lost, CornField::slotCount()), make_tuple(0, 2));  // only once; gaps stay
}

TEST_F(CornFieldTest, PlantingFillsAGridGapThenGoesBeyondTheGridAndFertilizingRaisesStandingStalksToThree) {
  EXPECT_FALSE(CornField::canFertilize());  // nothing standing
  CornField::layOut();
  CornStalk& five = CornField::stalk(5);
  five.stage = 0, five.ears = 0;
  CornField::plantStalk();
  EXPECT_EQ(make_tuple(five.stage, five.ears, five.x, five.y, CornField::slotCount()),
            make_tuple(int8_t{1}, int8_t{1}, 508.0f, 165.0f, 36));
  for (int planted = 0; planted < 15; ++planted) CornField::plantStalk();  // the last finds the pool full
  EXPECT_EQ(make_tuple(CornField::liveStalkCount(), CornField::slotCount(), CornField::earCount()),
            make_tuple(50, 50, 50));
  for (int slot = 36; slot < 50; ++slot) {
    const CornStalk& s = CornField::stalk(slot);
    EXPECT_TRUE(s.x >= 50 && s.x <= 590 && s.y >= 40 && s.y <= 440) << slot << ": " << s.x << "," << s.y;
  }

  // Slot 2 withering; slot 6 standing with no ears, not yet withering.
  CornField::stalk(0).ears = 3, CornField::stalk(1).ears = 2, CornField::stalk(2).ears = 0;
  CornField::stalk(2).stage = 2, CornField::stalk(6).ears = 0;
  EXPECT_TRUE(CornField::canFertilize());
  CornField::fertilize();
  EXPECT_EQ(make_tuple(ears(0), ears(1), ears(2), ears(3), ears(6)), make_tuple(3, 3, 0, 2, 1));
  CornField::tick();
  EXPECT_EQ(CornField::stalk(6).stage, 1) << "saved from withering";
  CornField::fertilize();
  CornField::fertilize();
  // Every standing stalk has three; the withering one does not count.
  EXPECT_EQ(make_tuple(CornField::canFertilize(), ears(2)), make_tuple(false, 0));
}

TEST_F(CornFieldTest, DrawFollowsTheStageTable) {
  DrawQueue::load();
  // stage, ears, picture, size
  const std::tuple<int8_t, int8_t, int, float> cases[] = {
      {1, 3, 0, 200},  {1, 2, 1, 200},  {1, 1, 2, 200},  {1, 0, 3, 200},  {7, 0, 3, 200},  {8, 0, 4, 200},
      {15, 0, 4, 200}, {16, 0, 5, 200}, {24, 0, 6, 200}, {32, 0, 6, 200}, {33, 0, 6, 196}, {81, 0, 6, 4}};
  CornField::plantStalk();
  CornField::stalk(0).tilt = -7;
  for (const auto& [stage, ears, picture, size] : cases) {
    CornField::stalk(0).stage = stage, CornField::stalk(0).ears = ears;
    DrawQueue::reset();
    CornField::draw(0.75f);
    const DrawEntry& e = DrawQueue::entryAt(DrawQueue::headIndex());  // nothing when the picture is missing
    EXPECT_EQ(make_tuple(e.next, e.sprite, e.width, e.height, e.angle, e.tint),
              make_tuple(-1, CornField::stalkSprite(picture), size, size, -7.0f, 0.75f))
        << "stage " << int(stage) << " ears " << int(ears);
  }
  CornField::stalk(0).stage = 0;
  DrawQueue::reset();
  CornField::draw(0.75f);
  EXPECT_EQ(DrawQueue::headIndex(), -1);  // an empty slot draws nothing
  DrawQueue::unload();
}

}  // namespace
