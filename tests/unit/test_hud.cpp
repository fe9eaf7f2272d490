// The HUD: shown money and breath chasing the real values, the masks, and the breath bar's colour.
#include "days/hud.h"
#include "scarecrow/scarecrow.h"
#include "screen_test_helpers.h"
#include "screens/play_screen.h"

namespace screentest {

class HudTest : public ScreenTest {
 protected:
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
  static void ticks(int n) { repeat(n, Hud::tick); }

  ScarecrowState saved{};
};

// A new game's counters start from zero whatever the scarecrow holds. Then money moves one a tick towards
// the real amount, up and after a purchase of 2800 down, and breath four a tick, up and down; each stops
// on the real value rather than passing it.
TEST_F(HudTest, LoadStartsFromZeroAndTheCountersChaseTheRealValues) {
  s().money = 3;
  s().breath = 10.0f;
  Hud::load();
  EXPECT_TRUE(Hud::isLoaded());
  const std::tuple<int32_t, float, int, int32_t, float> rows[] = {
      {3, 10.0f, 0, 0, 0.0f},           {3, 10.0f, 1, 1, 4.0f},       {3, 10.0f, 1, 2, 8.0f},
      {3, 10.0f, 1, 3, 10.0f},          {3, 10.0f, 10, 3, 10.0f},     {3000, 32.0f, 8, 11, 32.0f},
      {3000, 21.5f, 1, 12, 28.0f},      {3000, 21.5f, 1, 13, 24.0f},  {3000, 21.5f, 1, 14, 21.5f},
      {3000, 21.5f, 2986, 3000, 21.5f}, {200, 21.5f, 1, 2999, 21.5f}, {200, 21.5f, 2798, 201, 21.5f},
      {200, 21.5f, 1, 200, 21.5f},      {200, 21.5f, 5, 200, 21.5f}};
  for (const auto& [money, breath, n, shownMoney, shownBreath] : rows) {
    s().money = money;
    s().breath = breath;
    ticks(n);
    EXPECT_EQ(Hud::shownMoney(), shownMoney) << money << " after " << n;
    EXPECT_FLOAT_EQ(Hud::shownBreath(), shownBreath) << breath << " after " << n;
  }
}

// Below the breath of one shout the whole bar turns red at once, though the shown bar is still long; at 16
// exactly it is drawn in the light. The bar is drawn from the top-left corner, shown-breath wide, 32 high.
// Bar and masks follow the world light.
TEST_F(HudTest, BarTurnsRedBelowTheBreathOfOneShoutAndFollowsTheLightWithTheMasks) {
  s().breath = 64.0f;
  s().masks = 1;
  ticks(16);
  ASSERT_FLOAT_EQ(Hud::shownBreath(), 64.0f);
  s().breath = 15.9f;
  EXPECT_TRUE(Hud::breathBarIsRed());
  const Frame red = render(Hud::draw);
  EXPECT_GT(red.channelSum(0, 0, 0, 0, 64, 32), 0);
  EXPECT_EQ(red.channelSum(1, 2, 0, 0, 64, 32), 0);
  s().breath = 16.0f;
  EXPECT_FALSE(Hud::breathBarIsRed());
  Frame full, dim, dark;
  for (auto [light, frame] : {std::pair{1.0f, &full}, {0.25f, &dim}, {0.0f, &dark}}) {
    worldLight = light;
    *frame = render(Hud::draw);
  }
  worldLight = 1.0f;
  EXPECT_GT(full.channelSum(1, 2, 0, 0, 64, 32), 0);
  // Nothing of the bar beyond its shown length or below its 32 rows.
  EXPECT_EQ(full.brightness(66, 0, 300, 34), 0);
  EXPECT_EQ(full.brightness(0, 34, 300, 60), 0);
  EXPECT_GT(full.brightness(0, 0, 64, 32), 3 * dim.brightness(0, 0, 64, 32));
  EXPECT_GT(dim.brightness(0, 0, 64, 32), 0);
  EXPECT_EQ(dark.brightness(0, 0, 64, 32), 0);
  EXPECT_GT(full.brightness(576, 32, 640, 96), 3 * dim.brightness(576, 32, 640, 96));
  EXPECT_EQ(dark.brightness(576, 32, 640, 96), 0);
}

// One mask per charge, mask i centred at (608, 64 + 50 i), in a small square around each centre; with no
// breath no bar. Unloaded, the HUD draws nothing.
TEST_F(HudTest, OneMaskPerChargeAtTheRightEdgeNoBarWithoutBreathAndNothingUnloaded) {
  for (int masks : {0, 3, 5}) {
    s().masks = masks;
    const Frame f = render(Hud::draw);
    EXPECT_EQ(f.brightness(0, 0, 300, 40), 0);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(f.brightness(598, 54 + 50 * i, 618, 74 + 50 * i) > 0, i < masks) << masks << " masks, " << i;
    }
  }
  Hud::unload();
  Hud::unload();
  EXPECT_EQ(render(Hud::draw).brightness(0, 0, 640, 480), 0);
}

}  // namespace screentest
