// The HUD: shown money and breath chasing the real values, the masks, and the breath bar's colour.
#include <gtest/gtest.h>

#include "days/hud.h"
#include "scarecrow/scarecrow.h"
#include "screen_test_helpers.h"
#include "screens/play_screen.h"
#include "screens/screen_machine.h"

namespace {

using screentest::Frame;
using screentest::render;

class HudTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { gameStartup(nullptr); }
  static void TearDownTestSuite() { gameShutdown(); }

  void SetUp() override {
    saved = Scarecrow::state();
    Scarecrow::state().money = 0;
    Scarecrow::state().breath = 0.0f;
    Scarecrow::state().masks = 0;
    worldLight = 1.0f;
    Hud::load();
  }
  void TearDown() override {
    Hud::unload();
    Scarecrow::state() = saved;
  }

  static void ticks(int n) {
    for (int i = 0; i < n; ++i) Hud::tick();
  }

  ScarecrowState saved{};
};

TEST_F(HudTest, LoadShowsNothingYet) {
  Scarecrow::state().money = 500;
  Scarecrow::state().breath = 32.0f;
  Hud::load();  // a new game: counters start from zero whatever the scarecrow holds
  EXPECT_EQ(Hud::shownMoney(), 0);
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 0.0f);
  EXPECT_TRUE(Hud::isLoaded());
}

TEST_F(HudTest, MoneyCountsOnePerTickTowardsTheRealAmount) {
  Scarecrow::state().money = 3;
  Hud::tick();
  EXPECT_EQ(Hud::shownMoney(), 1);
  Hud::tick();
  EXPECT_EQ(Hud::shownMoney(), 2);
  ticks(10);
  EXPECT_EQ(Hud::shownMoney(), 3);  // and stays there
}

TEST_F(HudTest, MoneyCountsDownAfterASpend) {
  Scarecrow::state().money = 3000;
  ticks(3000);
  ASSERT_EQ(Hud::shownMoney(), 3000);
  Scarecrow::state().money = 200;  // a purchase of 2800
  ticks(1);
  EXPECT_EQ(Hud::shownMoney(), 2999);
  ticks(2798);
  EXPECT_EQ(Hud::shownMoney(), 201);
  ticks(1);
  EXPECT_EQ(Hud::shownMoney(), 200);
  ticks(5);
  EXPECT_EQ(Hud::shownMoney(), 200);
}

TEST_F(HudTest, BreathGrowsByFourAndStopsOnTheRealValue) {
  Scarecrow::state().breath = 10.0f;
  Hud::tick();
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 4.0f);
  Hud::tick();
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 8.0f);
  Hud::tick();
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 10.0f);  // 12 would pass it
  ticks(3);
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 10.0f);
}

TEST_F(HudTest, BreathShrinksByFourAndStopsOnTheRealValue) {
  Scarecrow::state().breath = 32.0f;
  ticks(8);
  ASSERT_FLOAT_EQ(Hud::shownBreath(), 32.0f);
  Scarecrow::state().breath = 21.5f;  // a shout costs 16 of a fuller bar, recovery adds fractions
  Hud::tick();
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 28.0f);
  Hud::tick();
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 24.0f);
  Hud::tick();
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 21.5f);
}

TEST_F(HudTest, BarTurnsRedBelowTheBreathOfOneShout) {
  Scarecrow::state().breath = 15.9f;
  EXPECT_TRUE(Hud::breathBarIsRed());
  Scarecrow::state().breath = 16.0f;
  EXPECT_FALSE(Hud::breathBarIsRed());
  Scarecrow::state().breath = 0.0f;
  EXPECT_TRUE(Hud::breathBarIsRed());
}

// The bar is drawn from the top-left corner, shown-breath wide and 32 high.
TEST_F(HudTest, RedBarHasNoGreenOrBlueAndTheLitBarDoes) {
  Scarecrow::state().breath = 64.0f;
  ticks(16);
  ASSERT_FLOAT_EQ(Hud::shownBreath(), 64.0f);
  Scarecrow::state().breath = 15.9f;  // the real breath falls; the shown bar is still long
  const Frame red = render([] { Hud::draw(); });
  EXPECT_GT(red.channelSum(0, 0, 0, 64, 32), 0);
  EXPECT_EQ(red.channelSum(1, 0, 0, 64, 32), 0);
  EXPECT_EQ(red.channelSum(2, 0, 0, 64, 32), 0);
  Scarecrow::state().breath = 16.0f;
  const Frame lit = render([] { Hud::draw(); });
  EXPECT_GT(lit.channelSum(1, 0, 0, 64, 32) + lit.channelSum(2, 0, 0, 64, 32), 0);
  // Nothing of the bar beyond its shown length or below its 32 rows.
  EXPECT_EQ(lit.brightness(66, 0, 300, 34), 0);
  EXPECT_EQ(lit.brightness(0, 34, 300, 60), 0);
}

TEST_F(HudTest, BarAndMasksFollowTheWorldLight) {
  Scarecrow::state().breath = 64.0f;
  Scarecrow::state().masks = 1;
  ticks(16);
  worldLight = 1.0f;
  const Frame full = render([] { Hud::draw(); });
  worldLight = 0.25f;
  const Frame dim = render([] { Hud::draw(); });
  worldLight = 0.0f;
  const Frame dark = render([] { Hud::draw(); });
  worldLight = 1.0f;
  const long fullBar = full.brightness(0, 0, 64, 32);
  const long dimBar = dim.brightness(0, 0, 64, 32);
  EXPECT_GT(fullBar, 3 * dimBar);
  EXPECT_GT(dimBar, 0);
  EXPECT_EQ(dark.brightness(0, 0, 64, 32), 0);
  EXPECT_GT(full.brightness(576, 32, 640, 96), 3 * dim.brightness(576, 32, 640, 96));
  EXPECT_EQ(dark.brightness(576, 32, 640, 96), 0);
}

TEST_F(HudTest, OneMaskPerChargeInAColumnAtTheRightEdge) {
  // Mask i is centred at (608, 64 + 50 i); sample a small square around each centre.
  auto maskShown = [](const Frame& f, int i) { return f.brightness(598, 54 + 50 * i, 618, 74 + 50 * i) > 0; };
  Scarecrow::state().masks = 0;
  const Frame none = render([] { Hud::draw(); });
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(maskShown(none, i)) << i;
  Scarecrow::state().masks = 3;
  const Frame three = render([] { Hud::draw(); });
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(maskShown(three, i)) << i;
  for (int i = 3; i < 5; ++i) EXPECT_FALSE(maskShown(three, i)) << i;
  Scarecrow::state().masks = 5;
  const Frame five = render([] { Hud::draw(); });
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(maskShown(five, i)) << i;
}

TEST_F(HudTest, ZeroBreathDrawsNoBarAndUnloadedDrawsNothing) {
  Scarecrow::state().masks = 2;
  const Frame empty = render([] { Hud::draw(); });
  EXPECT_EQ(empty.brightness(0, 0, 300, 40), 0);
  Hud::unload();
  Hud::unload();
  const Frame unloaded = render([] { Hud::draw(); });
  EXPECT_EQ(unloaded.brightness(0, 0, 640, 480), 0);
}

}  // namespace
