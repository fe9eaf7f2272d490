// The store: the shopkeeper's rise and the dropped keys, the cursor's wrap rules, the nine items with
// their prices, conditions and effects, and leaving for the coming day.
#include "days/day_cycle.h"
#include "field/corn_field.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "screen_test_helpers.h"
#include "screens/play_screen.h"
#include "screens/store.h"

namespace screentest {

constexpr int stepsUntilKeysAreRead = 89;  // 608 down to 519
constexpr int plenty = 100000;

enum Slot : int { Exit, Seed, Fertilizer, Weight, Letter, Breath, Lung, Mask, Time, Rocket };

// Every load below starts its module afresh, so only the store needs closing.
struct StoreTest : ScreenTest {
  void SetUp() override {
    DayDirector::resetForTests();
    KeyState::clearAll();
    Scarecrow::load();
    CrowFlock::load();  // a new game's carry speed too
    PelicanFlock::load();
    CowHerd::load();
    CornField::load();
    CornField::layOut();
    clearPlayedClips();
  }
  void TearDown() override { Store::unload(); }

  static ScarecrowState& scarecrow() { return Scarecrow::testing::state(); }
  // Frames of a store visit as the Play driver runs them; remembers where the last one asked to go.
  static void steps(int n, uint32_t frameMs = 16) {
    repeat(n, [=] { asked = updateStoreVisit(frameMs); });
  }
  static void drawInDaylight() { Store::draw(1.0f); }
  static inline ScreenId asked = ScreenId::None;
  static void press(uint32_t key) {
    tap(key);
    steps(1);
  }
  // Back up to the exit button, then Down to slot 1, along the row and down the column.
  static void select(int slot) {
    for (int i = 0; i < 4 && Store::selection() != Exit; ++i) press(vkUp);
    press(vkDown);
    for (int i = 0; i < (slot - 1) % 3; ++i) press(vkRight);
    for (int i = 0; i < (slot - 1) / 3; ++i) press(vkDown);
    ASSERT_EQ(Store::selection(), slot);
  }
};

// The store opens once with a greeting; the shopkeeper rises from 608 to 480 a step at a time while the
// cursor spins. A Down pressed as it opens is dropped by the frame that ends at 520 exactly; with 96 ms
// frames (524, then 518) none does, and it acts as soon as the shopkeeper is below 520. Up from the top row
// goes to the exit and from the exit to slot 7, Down the other way round; Left and Right wrap within a row
// and do nothing on the exit. The cursor sits on the selection's centre.
TEST_F(StoreTest, KeysPressedWhileTheShopkeeperRisesAreDroppedOnlyAt520AndTheCursorWraps) {
  const std::tuple<uint32_t, int, float, int> rows[] = {{16, 88, 520.0f, Exit}, {96, 14, 524.0f, Seed}};
  for (const auto& [frameMs, frames, y, slotAfterOneMoreFrame] : rows) {
    SCOPED_TRACE(frameMs);
    Store::unload();
    clearPlayedClips();
    Store::load();
    Store::load();  // already open: nothing happens
    EXPECT_EQ(countPlayed("sound\\hello.wav"), 1);
    tap(vkDown);
    steps(frames, frameMs);
    EXPECT_FLOAT_EQ(Store::shopkeeperY(), y);
    EXPECT_EQ(Store::selection(), Exit);
    steps(1, frameMs);
    EXPECT_EQ(Store::selection(), slotAfterOneMoreFrame);
  }
  steps(138 - 15 * 6);  // at rest since step 128
  EXPECT_FLOAT_EQ(Store::shopkeeperY(), 480.0f);
  steps(359 - 138);
  EXPECT_FLOAT_EQ(Store::cursorAngle(), 359.0f);
  steps(1);
  EXPECT_FLOAT_EQ(Store::cursorAngle(), 0.0f);  // 360 itself is never kept
  const std::pair<uint32_t, int> moves[] = {
      {vkUp, Exit},       {vkLeft, Exit},   {vkRight, Exit}, {vkUp, Mask},     {vkDown, Exit},
      {vkUp, Mask},       {vkLeft, Rocket}, {vkRight, Mask}, {vkUp, Letter},   {vkRight, Breath},
      {vkUp, Fertilizer}, {vkUp, Exit},     {vkDown, Seed},  {vkLeft, Weight}, {vkDown, Lung}};
  for (const auto& [key, slot] : moves) {
    press(key);
    SCOPED_TRACE(slot);
    EXPECT_EQ(Store::selection(), slot);
    EXPECT_FLOAT_EQ(Store::cursorX(), slot == Exit ? 147.0f : 148.0f + 168.0f * ((slot - 1) % 3));
    EXPECT_FLOAT_EQ(Store::cursorY(), slot == Exit ? 70.0f : 200.0f + 100.0f * ((slot - 1) / 3));
  }
}

// Each upgrade one step short of its limit, the weight from a new game's 1.0 (nine steps, ending just below
// 0.1 in single precision), fertilizer until every stalk carries three ears, seed until the field holds 50:
// the last purchase reaches the limit, after which Ctrl is refused. Purchases spend money, never score.
TEST_F(StoreTest, UpgradesStopAtTheirLimitsAndSpendMoneyNotScore) {
  ScarecrowState& s = scarecrow();
  std::tie(s.money, s.score, s.booLetters, s.booRange, s.masks, s.maxSpeed, s.maxBreath, s.breath) =
      std::tuple(plenty, 5000, 7, 90, 4, 3.0f, 224.0f, 10.0f);
  Store::load();
  steps(stepsUntilKeysAreRead);
  const int32_t stalks = CornField::liveStalkCount();  // each with one ear
  const std::pair<int, int> purchases[] = {{Letter, 1}, {Breath, 1}, {Mask, 1},       {Rocket, 1},
                                           {Lung, 1},   {Weight, 9}, {Fertilizer, 2}, {Seed, 50 - stalks}};
  for (const auto& [slot, times] : purchases) {
    select(slot);
    repeat(times, [] { press(vkControl); });
    EXPECT_FALSE(Store::isOffered(slot)) << slot;
    press(vkControl);
  }
  EXPECT_EQ(countPlayed("sound\\buy.wav"), 16 + 50 - stalks);
  EXPECT_EQ(countPlayed("sound\\nobuy.wav"), 8);
  EXPECT_EQ(CornField::liveStalkCount(), 50);
  EXPECT_EQ(CornField::earCount(), 3 * stalks + 50 - stalks);
  EXPECT_EQ(std::tuple(s.booLetters, s.booRange, s.masks, s.maxSpeed, s.maxBreath, s.breath, s.score),
            std::tuple(8, 100, 5, 4.0f, 256.0f, 256.0f, 5000));
  EXPECT_LT(CrowFlock::carrySpeedFactor(), 0.1f);
  EXPECT_GT(CrowFlock::carrySpeedFactor(), 0.09f);
  EXPECT_EQ(s.money, plenty - 200 - 350 - 250 - 400 - 475 - 9 * 300 - 2 * 1200 - (50 - stalks) * 500);
}

// A store visit comes before every day of a game but the first (index 10). On the way from index 3
// to 12: the time item is offered from index 7; each item from exactly its price; with 199 nothing, every
// Ctrl is refused and every item (128 x 128 at (148 + 168 c, 200 + 100 r)) drawn at half opacity. Time bought
// on index 12 makes the coming day index 5, shown as 6. Escape from any slot, Ctrl on the exit, or both in
// one frame: the store closes, both keys are read, and the coming day's dawn starts over (a second load
// replaces the first); a closed store draws nothing.
TEST_F(StoreTest, PricesTheTimeItemThatMakesTheComingDaySevenLowerAndLeaving) {
  DayDirector::stepStartingDay();
  DayDirector::beginGame();
  DayDirector::startDay();
  DayDirector::turnBackTime();  // index 3
  scarecrow().money = plenty;
  for (int day = 4; day <= 12; ++day) {
    bool storeDue = false;
    ASSERT_TRUE(advanceDay(&storeDue));
    EXPECT_EQ(storeDue, day > 10) << day;  // before each day past the first
    if (storeDue) Store::load();
    Store::refreshOffers();
    EXPECT_EQ(Store::isOffered(Time), day >= 7) << day;
  }
  const int32_t prices[Store::slotCount] = {0, 500, 1200, 300, 200, 350, 475, 250, 2800, 400};
  for (int slot = 1; slot < Store::slotCount; ++slot)
    for (int32_t money : {prices[slot] - 1, prices[slot]}) {
      scarecrow().money = money;
      Store::refreshOffers();
      EXPECT_EQ(Store::isOffered(slot), money == prices[slot]) << slot;
    }
  scarecrow().money = 199;
  Store::refreshOffers();
  steps(stepsUntilKeysAreRead);
  for (int slot = 1; slot < Store::slotCount; ++slot) {
    select(slot);
    press(vkControl);
  }
  EXPECT_EQ(countPlayed("sound\\nobuy.wav"), 9);
  EXPECT_EQ(scarecrow().money, 199);
  const Frame poor = render(drawInDaylight);
  scarecrow().money = 3000;
  Store::refreshOffers();
  const Frame rich = render(drawInDaylight);
  for (int cx : {148, 316, 484})
    for (int cy : {200, 300, 400})
      EXPECT_GT(maxDifference(poor, rich, cx - 40, cy - 40, cx + 40, cy + 40), 16) << cx << ", " << cy;
  // The money at the bottom right is the real figure, drawn at once.
  EXPECT_GT(maxDifference(poor, rich, 490, 448, 634, 480), 64);
  select(Time);
  press(vkControl);
  EXPECT_EQ(DayDirector::day(), 5);
  EXPECT_EQ(scarecrow().money, 200);
  DayCycle::unload();
  press(vkEscape);
  EXPECT_EQ(std::tuple(asked, Store::isLoaded(), DayCycle::isLoaded()),
            std::tuple(ScreenId::Play, false, true));
  EXPECT_EQ(DayCycle::shownDay(), 6);  // 13 was coming; 6 comes
  EXPECT_EQ(render(drawInDaylight).brightness(0, 0, 640, 480), 0);
  for (bool escape : {false, true}) {
    SCOPED_TRACE(escape);
    repeat(300, DayCycle::tick);
    ASSERT_TRUE(DayCycle::isDayRunning());
    Store::load();
    steps(stepsUntilKeysAreRead);
    tap(vkControl);
    if (escape) tap(vkEscape);
    steps(1);
    EXPECT_EQ(std::tuple(asked, Store::isLoaded()), std::tuple(ScreenId::Play, false));
    EXPECT_EQ(DayCycle::phase(), DayPhase::RoosterRise);
    EXPECT_EQ(DayCycle::shownDay(), 6);
    EXPECT_FALSE(KeyState::wasPressed(vkControl) || KeyState::wasPressed(vkEscape));
  }
}

}  // namespace screentest
