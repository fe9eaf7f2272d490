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
    s().money = 0;
    s().breath = 0.0f;
    s().masks = 0;
    worldLight = 1.0f;
    Hud::load();
  }
  void TearDown() override {
    Hud::unload();
    Scarecrow::state() = saved;
  }

  static ScarecrowState& s() { return Scarecrow::state(); }
  static void ticks(int n) {
    for (int i = 0; i < n; ++i) Hud::tick();
  }
  static Frame draw() {
    return render([] { Hud::draw(); });
  }

  ScarecrowState saved{};
};

TEST_F(HudTest, LoadShowsNothingYet) {
  s().money = 500;
  s().breath = 32.0f;
  Hud::load();  // a new game: counters start from zero whatever the scarecrow holds
  EXPECT_EQ(Hud::shownMoney(), 0);
  EXPECT_FLOAT_EQ(Hud::shownBreath(), 0.0f);
  EXPECT_TRUE(Hud::isLoaded());
}

// Money moves one per tick towards the real amount, up and after a spend down, and stops on it.
TEST_F(HudTest, MoneyChasesTheRealAmountOnePerTick) {
  s().money = 3;
  const int upShown[] = {1, 2, 3, 3};
  for (int i = 0; i < 4; ++i) {
    ticks(i == 3 ? 10 : 1);
    EXPECT_EQ(Hud::shownMoney(), upShown[i]) << i;
  }
  s().money = 3000;
  ticks(3000);
  ASSERT_EQ(Hud::shownMoney(), 3000);
  s().money = 200;  // a purchase of 2800
  const struct { int ticks, shown; } down[] = {{1, 2999}, {2798, 201}, {1, 200}, {5, 200}};
  for (const auto& d : down) {
    ticks(d.ticks);
    EXPECT_EQ(Hud::shownMoney(), d.shown);
  }
}

// Breath moves four per tick and stops on the real value rather than passing it.
TEST_F(HudTest, BreathChasesTheRealValueFourPerTick) {
  const struct {
    float real;
    int ticks;
    float shown;
  } rows[] = {{10.0f, 1, 4.0f},  {10.0f, 1, 8.0f},  {10.0f, 1, 10.0f}, {10.0f, 3, 10.0f},
              {32.0f, 8, 32.0f}, {21.5f, 1, 28.0f}, {21.5f, 1, 24.0f}, {21.5f, 1, 21.5f}};
  for (const auto& r : rows) {
    s().breath = r.real;
    ticks(r.ticks);
    EXPECT_FLOAT_EQ(Hud::shownBreath(), r.shown) << r.real;
  }
}

TEST_F(HudTest, BarTurnsRedBelowTheBreathOfOneShout) {
  for (const auto& [breath, red] : {std::pair{15.9f, true}, {16.0f, false}, {0.0f, true}}) {
    s().breath = breath;
    EXPECT_EQ(Hud::breathBarIsRed(), red) << breath;
  }
}

// The bar is drawn from the top-left corner, shown-breath wide and 32 high.
TEST_F(HudTest, RedBarHasNoGreenOrBlueAndTheLitBarDoes) {
  s().breath = 64.0f;
  ticks(16);
  ASSERT_FLOAT_EQ(Hud::shownBreath(), 64.0f);
  s().breath = 15.9f;  // the real breath falls; the shown bar is still long
  const Frame red = draw();
  EXPECT_GT(red.channelSum(0, 0, 0, 64, 32), 0);
  EXPECT_EQ(red.channelSum(1, 0, 0, 64, 32), 0);
  EXPECT_EQ(red.channelSum(2, 0, 0, 64, 32), 0);
  s().breath = 16.0f;
  const Frame lit = draw();
  EXPECT_GT(lit.channelSum(1, 0, 0, 64, 32) + lit.channelSum(2, 0, 0, 64, 32), 0);
  // Nothing of the bar beyond its shown length or below its 32 rows.
  EXPECT_EQ(lit.brightness(66, 0, 300, 34), 0);
  EXPECT_EQ(lit.brightness(0, 34, 300, 60), 0);
}

TEST_F(HudTest, BarAndMasksFollowTheWorldLight) {
  s().breath = 64.0f;
  s().masks = 1;
  ticks(16);
  Frame frames[3];
  const float lights[] = {1.0f, 0.25f, 0.0f};
  for (int i = 0; i < 3; ++i) {
    worldLight = lights[i];
    frames[i] = draw();
  }
  worldLight = 1.0f;
  const auto& [full, dim, dark] = frames;
  EXPECT_GT(full.brightness(0, 0, 64, 32), 3 * dim.brightness(0, 0, 64, 32));
  EXPECT_GT(dim.brightness(0, 0, 64, 32), 0);
  EXPECT_EQ(dark.brightness(0, 0, 64, 32), 0);
  EXPECT_GT(full.brightness(576, 32, 640, 96), 3 * dim.brightness(576, 32, 640, 96));
  EXPECT_EQ(dark.brightness(576, 32, 640, 96), 0);
}

TEST_F(HudTest, OneMaskPerChargeInAColumnAtTheRightEdge) {
  // Mask i is centred at (608, 64 + 50 i); sample a small square around each centre.
  for (int masks : {0, 3, 5}) {
    s().masks = masks;
    const Frame f = draw();
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(f.brightness(598, 54 + 50 * i, 618, 74 + 50 * i) > 0, i < masks) << masks << " masks, " << i;
    }
  }
}

TEST_F(HudTest, ZeroBreathDrawsNoBarAndUnloadedDrawsNothing) {
  s().masks = 2;
  EXPECT_EQ(draw().brightness(0, 0, 300, 40), 0);
  Hud::unload();
  Hud::unload();
  EXPECT_EQ(draw().brightness(0, 0, 640, 480), 0);
}

}  // namespace
