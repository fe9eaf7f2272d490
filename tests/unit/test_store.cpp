// The store: the shopkeeper's rise and the dropped keys, the cursor's wrap rules, the nine items with
// their prices, conditions and effects, and leaving for the coming day.
#include "days/day_cycle.h"
#include "field/corn_field.h"
#include "scarecrow/scarecrow.h"
#include "screen_test_helpers.h"
#include "screens/store.h"

namespace screentest {

constexpr int stepsUntilKeysAreRead = 89;  // 608 down to 519
constexpr int plenty = 100000;

enum Slot : int { Exit, Seed, Fertilizer, Weight, Letter, Breath, Lung, Mask, Time, Rocket };

class StoreTest : public ScreenTest {
 protected:
  void SetUp() override {
    DayDirector::resetForTests();
    KeyState::clearAll();
    screenMachine->requestScreen(ScreenId::Play);
    screenMachine->takeChanged();
    Scarecrow::load();
    CrowFlock::load();
    PelicanFlock::load();
    CowHerd::load();
    CornField::load();
    CornField::layOut();
    CrowFlock::carrySpeedFactor() = 1.0f;  // as a new game starts
    clearPlayedClips();
  }
  void TearDown() override {
    Store::unload();
    DayCycle::unload();
    freeAllCreatures();
    CornField::unload();
    CowHerd::unload();
    PelicanFlock::unload();
    CrowFlock::unload();
    Scarecrow::unload();
  }

  static ScarecrowState& scarecrow() { return Scarecrow::state(); }
  static void steps(int n, uint32_t frameMs = 16) {
    for (int i = 0; i < n; ++i) Store::update(frameMs);
  }
  static void press(uint32_t key) {
    tap(key);
    steps(1);
  }
  static void openWithMoney(int32_t money) {
    scarecrow().money = money;
    Store::load();
    steps(stepsUntilKeysAreRead);
    clearPlayedClips();
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
// frames (524, then 518) none does, and it acts as soon as the shopkeeper is below 520.
TEST_F(StoreTest, LoadGreetsOnceAndKeysPressedWhileTheShopkeeperRisesAreDroppedOnlyAt520) {
  const std::tuple<uint32_t, int, float, int> rows[] = {{16, 88, 520.0f, Exit}, {96, 14, 524.0f, Seed}};
  for (const auto& [frameMs, frames, y, slotAfterOneMoreFrame] : rows) {
    SCOPED_TRACE(frameMs);
    Store::unload();
    clearPlayedClips();
    Store::load();
    Store::load();  // already open: nothing happens
    EXPECT_EQ(countPlayed("sound\\hello.wav"), 1);
    EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Store);
    EXPECT_EQ(Store::selection(), Exit);
    EXPECT_FLOAT_EQ(Store::cursorX(), 147.0f);
    EXPECT_FLOAT_EQ(Store::cursorY(), 70.0f);
    EXPECT_FLOAT_EQ(Store::cursorAngle(), 0.0f);
    EXPECT_FLOAT_EQ(Store::shopkeeperY(), 608.0f);
    EXPECT_TRUE(Store::isOffered(Exit));
    tap(vkDown);
    steps(frames, frameMs);
    EXPECT_FLOAT_EQ(Store::shopkeeperY(), y);
    EXPECT_EQ(Store::selection(), Exit);
    steps(1, frameMs);
    EXPECT_EQ(Store::selection(), slotAfterOneMoreFrame);
  }
  steps(128 - 15 * 6);  // 128 steps since the load: at rest
  EXPECT_FLOAT_EQ(Store::shopkeeperY(), 480.0f);
  steps(10);
  EXPECT_FLOAT_EQ(Store::shopkeeperY(), 480.0f);
  steps(359 - 138);
  EXPECT_FLOAT_EQ(Store::cursorAngle(), 359.0f);
  steps(1);
  EXPECT_FLOAT_EQ(Store::cursorAngle(), 0.0f);  // 360 itself is never kept
}

// Up from the top row goes to the exit and from the exit to slot 7, Down the other way round; Left and
// Right wrap within a row and do nothing on the exit. The cursor sits on the selection's centre.
TEST_F(StoreTest, CursorMovesWrapsAndSitsOnTheSelection) {
  openWithMoney(0);
  const std::pair<uint32_t, int> moves[] = {
      {vkLeft, Exit},   {vkRight, Exit}, {vkUp, Mask},      {vkDown, Exit},    {vkUp, Mask},
      {vkLeft, Rocket}, {vkRight, Mask}, {vkUp, Letter},    {vkRight, Breath}, {vkUp, Fertilizer},
      {vkUp, Exit},     {vkUp, Mask},    {vkRight, Time},   {vkDown, Exit},    {vkDown, Seed},
      {vkLeft, Weight}, {vkDown, Lung},  {vkRight, Letter}, {vkRight, Breath}, {vkRight, Lung}};
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
  s.booLetters = 7;
  s.booRange = 90;
  s.masks = 4;
  s.maxSpeed = 3.0f;
  s.maxBreath = 224.0f;
  s.breath = 10.0f;
  s.score = 5000;
  openWithMoney(plenty);
  ASSERT_EQ(DayDirector::startingCorn(), 1);
  const int32_t stalks = CornField::liveStalkCount();
  ASSERT_EQ(CornField::earCount(), stalks);
  const std::pair<int, int> purchases[] = {{Letter, 1}, {Breath, 1}, {Mask, 1},       {Rocket, 1},
                                           {Lung, 1},   {Weight, 9}, {Fertilizer, 2}, {Seed, 50 - stalks}};
  for (const auto& [slot, times] : purchases) {
    select(slot);
    for (int i = 0; i < times; ++i) {
      ASSERT_TRUE(Store::isOffered(slot)) << slot;
      press(vkControl);
    }
    EXPECT_FALSE(Store::isOffered(slot)) << slot;
    press(vkControl);
  }
  EXPECT_EQ(countPlayed("sound\\buy.wav"), 16 + 50 - stalks);
  EXPECT_EQ(countPlayed("sound\\nobuy.wav"), 8);
  EXPECT_EQ(CornField::liveStalkCount(), 50);
  EXPECT_EQ(CornField::earCount(), 3 * stalks + 50 - stalks);
  EXPECT_EQ(s.booLetters, 8);
  EXPECT_EQ(s.booRange, 100);
  EXPECT_EQ(s.masks, 5);
  EXPECT_FLOAT_EQ(s.maxSpeed, 4.0f);
  EXPECT_FLOAT_EQ(s.maxBreath, 256.0f);
  EXPECT_FLOAT_EQ(s.breath, 256.0f);
  EXPECT_LT(CrowFlock::carrySpeedFactor(), 0.1f);
  EXPECT_GT(CrowFlock::carrySpeedFactor(), 0.09f);
  EXPECT_EQ(s.money, plenty - 200 - 350 - 250 - 400 - 475 - 9 * 300 - 2 * 1200 - (50 - stalks) * 500);
  EXPECT_EQ(s.score, 5000);
}

// The director opens the store before every day of a game but the first (index 10). On the way from index 3
// to 12: the time item is offered from index 7; each item from exactly its price; with 199 nothing, every
// Ctrl is refused and every item (128 x 128 at (148 + 168 c, 200 + 100 r)) drawn at half opacity. Time bought
// on index 12 makes the coming day index 5, a short one, shown as 6.
TEST_F(StoreTest, PricesAndTheTimeItemThatMakesTheComingDayShortAndSevenLower) {
  DayDirector::stepStartingDay();
  DayDirector::beginGame();
  DayDirector::startDay();
  ASSERT_FALSE(Store::isLoaded());
  DayDirector::turnBackTime();  // index 3
  for (int day = 4; day <= 12; ++day) {
    ASSERT_TRUE(advanceDay());
    ASSERT_EQ(DayDirector::day(), day);
    EXPECT_EQ(Store::isLoaded(), day > 10) << day;  // opened before each day past the first
    if (day == 11) Store::unload();
    scarecrow().money = plenty;
    Store::refreshOffers();
    EXPECT_EQ(Store::isOffered(Time), day >= 7) << day;
  }
  const int32_t prices[Store::slotCount] = {0, 500, 1200, 300, 200, 350, 475, 250, 2800, 400};
  for (int slot = 1; slot < Store::slotCount; ++slot) {
    for (int32_t money : {prices[slot] - 1, prices[slot]}) {
      scarecrow().money = money;
      Store::refreshOffers();
      EXPECT_EQ(Store::isOffered(slot), money == prices[slot]) << slot;
    }
  }
  scarecrow().money = 199;
  Store::refreshOffers();
  steps(stepsUntilKeysAreRead);
  clearPlayedClips();
  const int32_t score = scarecrow().score;
  for (int slot = 1; slot < Store::slotCount; ++slot) {
    EXPECT_FALSE(Store::isOffered(slot)) << slot;
    select(slot);
    press(vkControl);
  }
  EXPECT_EQ(countPlayed("sound\\nobuy.wav"), 9);
  EXPECT_EQ(countPlayed("sound\\buy.wav"), 0);
  EXPECT_EQ(scarecrow().money, 199);
  EXPECT_EQ(scarecrow().score, score);
  EXPECT_TRUE(Store::isLoaded());
  const Frame poor = render(Store::draw);
  scarecrow().money = 3000;
  Store::refreshOffers();
  const Frame rich = render(Store::draw);
  for (int slot = 1; slot < Store::slotCount; ++slot) {
    const int cx = 148 + 168 * ((slot - 1) % 3), cy = 200 + 100 * ((slot - 1) / 3);
    EXPECT_GT(maxDifference(poor, rich, cx - 40, cy - 40, cx + 40, cy + 40), 16) << slot;
  }
  // The money at the bottom right is the real figure, drawn at once.
  EXPECT_GT(maxDifference(poor, rich, 490, 448, 634, 480), 64);
  const DayKind kind = DayDirector::kind();
  select(Time);
  press(vkControl);
  EXPECT_EQ(DayDirector::day(), 5);
  EXPECT_EQ(DayDirector::dayLength(), 300);
  EXPECT_EQ(DayDirector::spawnInterval(), 130);
  EXPECT_EQ(DayDirector::kind(), kind);
  EXPECT_EQ(scarecrow().money, 200);
  EXPECT_FALSE(Store::isOffered(Time));
  press(vkDown);
  ASSERT_EQ(Store::selection(), Exit);
  press(vkControl);
  EXPECT_EQ(DayCycle::shownDay(), 6);  // 13 was coming; 6 comes
}

// Ctrl on the exit, Escape from any slot, or both in one frame: the store closes, both keys are read, and
// the coming day's dawn starts over (a second load replaces the first). Even a closed store's unload does.
TEST_F(StoreTest, LeavingLoadsTheComingDayAndAClosedStoreDrawsNothing) {
  EXPECT_EQ(render(Store::draw).brightness(0, 0, 640, 480), 0);
  Store::unload();
  EXPECT_TRUE(DayCycle::isLoaded());
  EXPECT_EQ(DayCycle::shownDay(), DayDirector::day() + 1);
  const std::tuple<int, bool, bool> rows[] = {{Exit, true, false}, {Breath, false, true}, {Exit, true, true}};
  for (const auto& [slot, ctrl, escape] : rows) {
    SCOPED_TRACE(testing::Message() << slot << ctrl << escape);
    DayCycle::load(3);
    repeat(300, DayCycle::tick);
    ASSERT_TRUE(DayCycle::isDayRunning());
    openWithMoney(plenty);
    if (slot != Exit) select(slot);
    if (ctrl) tap(vkControl);
    if (escape) tap(vkEscape);
    steps(1);
    EXPECT_FALSE(Store::isLoaded());
    EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Play);
    EXPECT_TRUE(DayCycle::isLoaded());
    EXPECT_EQ(DayCycle::phase(), DayPhase::RoosterRise);
    EXPECT_EQ(DayCycle::shownDay(), DayDirector::day() + 1);
    EXPECT_FALSE(KeyState::wasPressed(vkControl) || KeyState::wasPressed(vkEscape));
    steps(5);  // a closed store ignores its updates
    EXPECT_FALSE(Store::isLoaded());
  }
}

}  // namespace screentest
