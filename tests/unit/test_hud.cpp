// The HUD: shown money and breath chasing the real values, the masks, and the breath bar's colour.
#include "days/hud.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "screen_test_helpers.h"

namespace screentest {

// Only money, breath and masks reach the HUD; this binary has no other user of the scarecrow.
struct HudTest : ScreenTest {
  void SetUp() override {
    Scarecrow::testing::state() = {};
    Hud::load();
  }
  void TearDown() override { Hud::unload(); }

  static ScarecrowState& s() { return Scarecrow::testing::state(); }
  static void drawInDaylight() { Hud::draw(1.0f); }
};

// A new game's counters start from zero whatever the scarecrow holds. Then money moves one a tick towards
// the real amount, up and after a purchase of 2800 down, and breath four a tick, up and down; each stops
// on the real value rather than passing it.
TEST_F(HudTest, LoadStartsFromZeroAndTheCountersChaseTheRealValues) {
  s().money = 3;
  s().breath = 10.0f;
  repeat(2, Hud::tick);  // counters left over from an earlier game
  Hud::load();
  const std::tuple<int32_t, float, int, int32_t, float> rows[] = {
      {3, 10.0f, 0, 0, 0.0f},           {3, 10.0f, 1, 1, 4.0f},       {3, 10.0f, 12, 3, 10.0f},
      {3000, 32.0f, 8, 11, 32.0f},      {3000, 21.5f, 1, 12, 28.0f},  {3000, 21.5f, 2, 14, 21.5f},
      {3000, 21.5f, 2986, 3000, 21.5f}, {200, 21.5f, 1, 2999, 21.5f}, {200, 21.5f, 2798, 201, 21.5f},
      {200, 21.5f, 6, 200, 21.5f}};
  for (const auto& [money, breath, n, shownMoney, shownBreath] : rows) {
    s().money = money;
    s().breath = breath;
    repeat(n, Hud::tick);
    EXPECT_EQ(Hud::shownMoney(), shownMoney) << money << " after " << n;
    EXPECT_FLOAT_EQ(Hud::shownBreath(), shownBreath) << breath << " after " << n;
  }
}

// One mask per charge, mask i centred at (608, 64 + 50 i), in a small square around each centre; with no
// breath no bar. Below the breath of one shout the whole bar turns red at once, though the shown bar is
// still long; at 16 exactly it is drawn in the light. The bar is drawn from the top-left corner, shown-breath
// wide. Bar and masks follow the world light; unloaded, the HUD draws nothing.
TEST_F(HudTest, MasksAndTheBarThatTurnsRedBelowOneShoutFollowTheLightAndNothingIsDrawnUnloaded) {
  for (int masks : {0, 3, 5}) {
    s().masks = masks;
    const Frame f = render(drawInDaylight);
    EXPECT_EQ(f.brightness(0, 0, 300, 40), 0);
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(f.brightness(598, 54 + 50 * i, 618, 74 + 50 * i) > 0, i < masks) << masks << " masks, " << i;
  }
  s().breath = 64.0f;
  repeat(16, Hud::tick);
  s().breath = 15.9f;
  const Frame red = render(drawInDaylight);
  EXPECT_GT(red.channelSum(0, 0, 0, 0, 64, 32), 0);
  EXPECT_EQ(red.channelSum(1, 2, 0, 0, 64, 32), 0);
  s().breath = 16.0f;
  const Frame full = render(drawInDaylight);
  const Frame dim = render([] { Hud::draw(0.25f); });
  EXPECT_GT(full.channelSum(1, 2, 0, 0, 64, 32), 0);
  EXPECT_EQ(full.brightness(66, 0, 300, 34), 0);  // nothing beyond the shown length
  EXPECT_GT(full.brightness(0, 0, 64, 32), 3 * dim.brightness(0, 0, 64, 32));
  EXPECT_GT(dim.brightness(0, 0, 64, 32), 0);
  EXPECT_GT(full.brightness(576, 32, 640, 96), 3 * dim.brightness(576, 32, 640, 96));
  Hud::unload();
  Hud::unload();
  EXPECT_EQ(render(drawInDaylight).brightness(0, 0, 640, 480), 0);
}

}  // namespace screentest
