#include <gtest/gtest.h>

#include <vector>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "test_support.h"

namespace {

std::vector<DrawEntry> queued() {
  std::vector<DrawEntry> out;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    out.push_back(DrawQueue::entryAt(i));
  }
  return out;
}

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
};

TEST_F(CornFieldTest, LayOutFillsTheSixBySixGridRowByRow) {
  DayDirector::cycleStartingCorn();  // two ears a stalk
  CornField::layOut();
  const float columns[] = {128, 204, 280, 356, 432, 508};
  const float rows[] = {165, 215, 265, 315, 365, 415};
  EXPECT_EQ(CornField::slotCount(), 36);
  EXPECT_EQ(CornField::liveStalkCount(), 36);
  EXPECT_EQ(CornField::earCount(), 72);
  for (int i = 0; i < 36; ++i) {
    const CornStalk& s = CornField::stalk(i);
    EXPECT_FLOAT_EQ(s.x, columns[i % 6]) << i;
    EXPECT_FLOAT_EQ(s.y, rows[i / 6]) << i;
    EXPECT_EQ(s.ears, 2);
    EXPECT_EQ(s.stage, 1);
    EXPECT_GE(s.tilt, -12);
    EXPECT_LE(s.tilt, 13);
  }
  for (int i = 36; i < CornField::capacity; ++i) EXPECT_EQ(CornField::stalk(i).stage, 0);
}

TEST_F(CornFieldTest, FindStalkWithCornIsAStrictDiamondAndTakesTheFirstSlot) {
  CornField::layOut();
  EXPECT_EQ(CornField::findStalkWithCorn(128 + 24, 165, 24), -1);       // exactly the radius
  EXPECT_EQ(CornField::findStalkWithCorn(128 + 12, 165 + 12, 24), -1);  // a diamond, not a circle
  EXPECT_EQ(CornField::findStalkWithCorn(128 + 12, 165 + 11.5f, 24), 0);
  EXPECT_EQ(CornField::findStalkWithCorn(204, 215 - 23, 24), 7);
  // Nearer to slot 1, but slot 0 qualifies first.
  EXPECT_EQ(CornField::findStalkWithCorn(170, 165, 50), 0);
  // A stalk without ears is passed over.
  strip(0);
  EXPECT_EQ(CornField::findStalkWithCorn(170, 165, 50), 1);
  EXPECT_EQ(CornField::findStalkWithCorn(128, 165, 24), -1);
}

TEST_F(CornFieldTest, TakingTheLastEarPowersDownOnceAndASecondTakeFails) {
  DayDirector::cycleStartingCorn();
  CornField::layOut();
  EXPECT_TRUE(CornField::takeEar(4));
  EXPECT_EQ(CornField::stalk(4).ears, 1);
  EXPECT_EQ(countPlayed("sound\\powerdown.wav"), 0);
  EXPECT_TRUE(CornField::takeEar(4));
  EXPECT_EQ(CornField::stalk(4).ears, 0);
  EXPECT_EQ(countPlayed("sound\\powerdown.wav"), 1);
  EXPECT_FALSE(CornField::takeEar(4));
  EXPECT_EQ(CornField::stalk(4).ears, 0);
  EXPECT_EQ(countPlayed("sound\\powerdown.wav"), 1);
  // Slots outside the field are refused.
  EXPECT_FALSE(CornField::takeEar(-1));
  EXPECT_FALSE(CornField::takeEar(36));
  EXPECT_FALSE(CornField::eatStalk(CornField::capacity));
  CornField::stalk(CornField::capacity).stage = 1;  // lands in scratch, not beyond the pool
  EXPECT_EQ(CornField::stalk(-1).stage, 0);
  EXPECT_EQ(CornField::liveStalkCount(), 36);
}

TEST_F(CornFieldTest, EatingAStalkCostsTwentyWhateverItsEars) {
  for (int i = 0; i < 2; ++i) DayDirector::cycleStartingCorn();  // three ears
  CornField::layOut();
  Scarecrow::state().money = 100;
  Scarecrow::state().score = 100;
  EXPECT_TRUE(CornField::eatStalk(9));
  EXPECT_EQ(CornField::stalk(9).ears, 0);
  EXPECT_EQ(Scarecrow::money(), 80);
  EXPECT_EQ(Scarecrow::state().score, 80);
  EXPECT_EQ(countPlayed("sound\\powerdown.wav"), 1);
  EXPECT_FALSE(CornField::eatStalk(9));
  EXPECT_EQ(Scarecrow::money(), 80);
  EXPECT_EQ(countPlayed("sound\\powerdown.wav"), 1);
}

TEST_F(CornFieldTest, AnEmptiedStalkWithersAndVanishesOnTheEightyFirstTick) {
  CornField::layOut();
  CornField::takeEar(10);
  EXPECT_EQ(CornField::stalk(10).stage, 1);
  for (int tick = 1; tick <= 80; ++tick) {
    CornField::tick();
    ASSERT_EQ(CornField::stalk(10).stage, tick + 1);
  }
  EXPECT_EQ(CornField::liveStalkCount(), 36);
  CornField::tick();
  EXPECT_EQ(CornField::stalk(10).stage, 0);
  EXPECT_EQ(CornField::liveStalkCount(), 35);
  EXPECT_FALSE(gameOver);
  // The others are untouched and the gap stays a gap.
  for (int i = 0; i < 200; ++i) CornField::tick();
  EXPECT_EQ(CornField::liveStalkCount(), 35);
  EXPECT_EQ(CornField::stalk(11).stage, 1);
  EXPECT_EQ(CornField::slotCount(), 36);
}

TEST_F(CornFieldTest, TheGameEndsOnceEightyOneTicksAfterTheLastEar) {
  CornField::layOut();
  for (int i = 0; i < 35; ++i) {
    CornField::stalk(i).ears = 0;
    CornField::stalk(i).stage = 0;
  }
  CornField::stalk(20).stage = 1;  // two stalks left, one already withering
  CornField::stalk(20).ears = 0;
  CornField::tick();
  CornField::takeEar(35);
  for (int tick = 1; tick <= 80; ++tick) {
    CornField::tick();
    ASSERT_FALSE(gameOver) << tick;
  }
  EXPECT_EQ(CornField::liveStalkCount(), 1);
  CornField::tick();
  EXPECT_TRUE(gameOver);
  EXPECT_EQ(CornField::liveStalkCount(), 0);
  gameOver = false;
  for (int i = 0; i < 100; ++i) CornField::tick();
  EXPECT_FALSE(gameOver);
}

TEST_F(CornFieldTest, StalksVanishingTogetherEndTheGameOnlyWithTheLast) {
  CornField::plantStalk();
  CornField::plantStalk();
  EXPECT_EQ(CornField::slotCount(), 2);
  CornField::takeEar(0);
  CornField::takeEar(1);
  for (int tick = 1; tick <= 80; ++tick) CornField::tick();
  EXPECT_FALSE(gameOver);
  CornField::tick();
  EXPECT_TRUE(gameOver);
  EXPECT_EQ(CornField::liveStalkCount(), 0);
}

TEST_F(CornFieldTest, PlantingFillsAGridGapThenGoesBeyondTheGrid) {
  CornField::layOut();
  const CornStalk before = CornField::stalk(5);
  CornField::stalk(5).stage = 0;
  CornField::stalk(5).ears = 0;
  CornField::plantStalk();
  EXPECT_EQ(CornField::stalk(5).stage, 1);
  EXPECT_EQ(CornField::stalk(5).ears, 1);
  EXPECT_FLOAT_EQ(CornField::stalk(5).x, before.x);
  EXPECT_FLOAT_EQ(CornField::stalk(5).y, before.y);
  EXPECT_EQ(CornField::slotCount(), 36);

  for (int planted = 0; planted < 14; ++planted) {
    CornField::plantStalk();
    const CornStalk& s = CornField::stalk(36 + planted);
    EXPECT_EQ(CornField::slotCount(), 37 + planted);
    EXPECT_EQ(s.stage, 1);
    EXPECT_EQ(s.ears, 1);
    EXPECT_GE(s.x, 50);
    EXPECT_LE(s.x, 590);
    EXPECT_GE(s.y, 40);
    EXPECT_LE(s.y, 440);
  }
  EXPECT_EQ(CornField::liveStalkCount(), 50);
  CornField::plantStalk();  // the pool is full
  EXPECT_EQ(CornField::liveStalkCount(), 50);
  EXPECT_EQ(CornField::slotCount(), 50);
}

TEST_F(CornFieldTest, PlantingIgnoresTheStartingCornSetting) {
  for (int i = 0; i < 2; ++i) DayDirector::cycleStartingCorn();
  CornField::plantStalk();
  EXPECT_EQ(CornField::stalk(0).ears, 1);
}

TEST_F(CornFieldTest, FertilizingRaisesStandingStalksUpToThree) {
  CornField::layOut();
  CornField::stalk(0).ears = 3;
  CornField::stalk(1).ears = 2;
  strip(2);
  CornField::tick();  // slot 2 starts withering
  ASSERT_EQ(CornField::stalk(2).stage, 2);
  EXPECT_TRUE(CornField::canFertilize());
  CornField::fertilize();
  EXPECT_EQ(CornField::stalk(0).ears, 3);
  EXPECT_EQ(CornField::stalk(1).ears, 3);
  EXPECT_EQ(CornField::stalk(2).ears, 0);
  EXPECT_EQ(CornField::stalk(3).ears, 2);
  CornField::fertilize();
  EXPECT_FALSE(
      CornField::canFertilize());  // every standing stalk has three; the withering one does not count
  EXPECT_EQ(CornField::stalk(2).ears, 0);
}

TEST_F(CornFieldTest, AStandingStalkWithNoEarsCanBeFertilizedBeforeItWithers) {
  CornField::layOut();
  strip(6);
  CornField::fertilize();
  EXPECT_EQ(CornField::stalk(6).ears, 1);
  CornField::tick();
  EXPECT_EQ(CornField::stalk(6).stage, 1);
}

TEST_F(CornFieldTest, AnEmptyFieldCannotBeFertilized) {
  EXPECT_FALSE(CornField::canFertilize());
  EXPECT_EQ(CornField::findStalkWithCorn(128, 165, 24), -1);
  EXPECT_EQ(CornField::liveStalkCount(), 0);
}

TEST_F(CornFieldTest, DrawFollowsTheStageTable) {
  DrawQueue::load();
  worldLight = 0.75f;
  struct Case {
    int8_t stage;
    int8_t ears;
    int picture;
    float size;
  };
  const Case cases[] = {{1, 3, 0, 200},  {1, 2, 1, 200},  {1, 1, 2, 200},  {1, 0, 3, 200},  {2, 0, 3, 200},
                        {7, 0, 3, 200},  {8, 0, 4, 200},  {15, 0, 4, 200}, {16, 0, 5, 200}, {24, 0, 6, 200},
                        {31, 0, 6, 200}, {32, 0, 6, 200}, {33, 0, 6, 196}, {81, 0, 6, 4}};
  CornField::plantStalk();
  CornStalk& s = CornField::stalk(0);
  s.x = 140;
  s.y = 170;
  s.tilt = -7;
  for (const Case& c : cases) {
    s.stage = c.stage;
    s.ears = c.ears;
    DrawQueue::reset();
    CornField::draw();
    const std::vector<DrawEntry> entries = queued();
    ASSERT_EQ(entries.size(), 1u) << int(c.stage);
    const DrawEntry& e = entries[0];
    EXPECT_EQ(e.kind, DrawKind::Sprite);
    EXPECT_EQ(e.sprite, CornField::stalkSprite(c.picture)) << int(c.stage) << " " << int(c.ears);
    EXPECT_NE(e.sprite, nullptr);
    EXPECT_FLOAT_EQ(e.width, c.size) << int(c.stage);
    EXPECT_FLOAT_EQ(e.height, c.size);
    EXPECT_FLOAT_EQ(e.angle, -7);
    EXPECT_FLOAT_EQ(e.elevation, 0);
    EXPECT_FLOAT_EQ(e.tint, 0.75f);
    EXPECT_FLOAT_EQ(e.x, 140);
    EXPECT_FLOAT_EQ(e.y, 170);
  }
  s.stage = 0;
  DrawQueue::reset();
  CornField::draw();
  EXPECT_EQ(DrawQueue::headIndex(), -1);  // an empty slot draws nothing
  DrawQueue::unload();
  worldLight = 0;
}

}  // namespace
