// The store: the shopkeeper's rise and the dropped keys, the cursor's wrap rules, the nine items with
// their prices, conditions and effects, and leaving for the coming day.
#include <gtest/gtest.h>

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/scarecrow.h"
#include "screen_test_helpers.h"
#include "screens/screen_machine.h"
#include "screens/store.h"
#include "shell/key_state.h"
#include "test_support.h"

namespace {

using screentest::Frame;
using screentest::render;

constexpr uint32_t stepMs = 16;
constexpr int stepsUntilKeysAreRead = 89;  // 608 down to 519
constexpr int plenty = 100000;

enum Slot : int { Exit, Seed, Fertilizer, Weight, Letter, Breath, Lung, Mask, Time, Rocket };

class StoreTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { gameStartup(nullptr); }
  static void TearDownTestSuite() { gameShutdown(); }

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
    screentest::freeAllCreatures();
    CornField::unload();
    CowHerd::unload();
    PelicanFlock::unload();
    CrowFlock::unload();
    Scarecrow::unload();
    KeyState::clearAll();
  }

  static ScarecrowState& scarecrow() { return Scarecrow::state(); }
  static void steps(int n) {
    for (int i = 0; i < n; ++i) Store::update(stepMs);
  }
  static void tap(uint32_t key) {
    KeyState::keyDown(key);
    KeyState::keyUp(key);
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
    while (Store::selection() != Exit) press(vkUp);
    press(vkDown);
    for (int i = 0; i < (slot - 1) % 3; ++i) press(vkRight);
    for (int i = 0; i < (slot - 1) / 3; ++i) press(vkDown);
    ASSERT_EQ(Store::selection(), slot);
  }
  static void buy() { press(vkControl); }
  static void beginGameAtIndex10() {
    DayDirector::stepStartingDay();
    DayDirector::beginGame();  // index 10: even the time item's condition holds
  }
  static Frame draw() {
    return render([] { Store::draw(); });
  }
  static void expectLeftForTheComingDay() {
    EXPECT_FALSE(Store::isLoaded());
    EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Play);
    EXPECT_TRUE(DayCycle::isLoaded());
    EXPECT_EQ(DayCycle::phase(), DayPhase::RoosterRise);
    EXPECT_EQ(DayCycle::shownDay(), DayDirector::day() + 1);
  }
};

TEST_F(StoreTest, LoadGreetsOnceThenTheShopkeeperRisesAndTheCursorSpins) {
  scarecrow().money = 0;
  Store::load();
  EXPECT_TRUE(Store::isLoaded());
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Store);
  EXPECT_EQ(Store::selection(), Exit);
  EXPECT_FLOAT_EQ(Store::cursorX(), 147.0f);
  EXPECT_FLOAT_EQ(Store::cursorY(), 70.0f);
  EXPECT_FLOAT_EQ(Store::cursorAngle(), 0.0f);
  EXPECT_FLOAT_EQ(Store::shopkeeperY(), 608.0f);
  EXPECT_TRUE(Store::isOffered(Exit));
  Store::load();  // already open: nothing happens
  EXPECT_EQ(countPlayed("sound\\hello.wav"), 1);
  steps(128);
  EXPECT_FLOAT_EQ(Store::shopkeeperY(), 480.0f);
  steps(10);
  EXPECT_FLOAT_EQ(Store::shopkeeperY(), 480.0f);
  steps(359 - 138);
  EXPECT_FLOAT_EQ(Store::cursorAngle(), 359.0f);
  steps(1);
  EXPECT_FLOAT_EQ(Store::cursorAngle(), 0.0f);  // 360 itself is never kept
}

TEST_F(StoreTest, KeysPressedWhileTheShopkeeperRisesAreDroppedAt520) {
  Store::load();
  steps(10);
  tap(vkDown);
  steps(77);  // 521
  EXPECT_EQ(Store::selection(), Exit);
  steps(1);  // ends at 520 exactly: the press is dropped
  EXPECT_FLOAT_EQ(Store::shopkeeperY(), 520.0f);
  steps(1);
  EXPECT_EQ(Store::selection(), Exit);
  press(vkDown);
  EXPECT_EQ(Store::selection(), Seed);
}

TEST_F(StoreTest, KeyActsAtOnceWhenNoFrameEndsAt520) {
  Store::load();
  tap(vkDown);
  for (int frame = 1; frame <= 14; ++frame) Store::update(96);  // 608 - 84 = 524
  EXPECT_FLOAT_EQ(Store::shopkeeperY(), 524.0f);
  EXPECT_EQ(Store::selection(), Exit);
  Store::update(96);  // 518: 520 was passed inside the frame
  EXPECT_EQ(Store::selection(), Seed);
}

TEST_F(StoreTest, CursorMovesAndWraps) {
  openWithMoney(0);
  const struct {
    uint32_t key;
    int slot;
  } moves[] = {
      {vkLeft, Exit},   {vkRight, Exit},  // sideways does nothing on the exit
      {vkUp, Mask},                       // from the exit up to the bottom row
      {vkLeft, Rocket}, {vkRight, Mask},  // left from the left column wraps to the right, and back
      {vkUp, Letter},   {vkRight, Breath}, {vkUp, Fertilizer},
      {vkUp, Exit},                                         // from the top row up to the exit
      {vkUp, Mask},     {vkRight, Time},   {vkDown, Exit},  // from the bottom row down to the exit
      {vkDown, Seed},   {vkDown, Letter},  {vkRight, Breath},
      {vkRight, Lung},  {vkRight, Letter},  // round the row
  };
  for (const auto& m : moves) {
    press(m.key);
    EXPECT_EQ(Store::selection(), m.slot);
  }
}

TEST_F(StoreTest, CursorSitsOnTheSelectedSlot) {
  openWithMoney(0);
  const float xs[] = {148, 316, 484}, ys[] = {200, 300, 400};
  for (int slot = 1; slot < Store::slotCount; ++slot) {
    select(slot);
    EXPECT_FLOAT_EQ(Store::cursorX(), xs[(slot - 1) % 3]) << slot;
    EXPECT_FLOAT_EQ(Store::cursorY(), ys[(slot - 1) / 3]) << slot;
  }
  while (Store::selection() != Exit) press(vkUp);
  EXPECT_FLOAT_EQ(Store::cursorX(), 147.0f);
  EXPECT_FLOAT_EQ(Store::cursorY(), 70.0f);
}

// Items: 128 x 128 at (148 + 168 c, 200 + 100 r). An item that cannot be bought is drawn at half opacity.
TEST_F(StoreTest, With199MoneyNothingCanBeBoughtAndEveryItemIsFaded) {
  beginGameAtIndex10();
  openWithMoney(199);
  const int32_t score = scarecrow().score;
  for (int slot = 1; slot < Store::slotCount; ++slot) {
    EXPECT_FALSE(Store::isOffered(slot)) << slot;
    select(slot);
    buy();
  }
  EXPECT_EQ(countPlayed("sound\\nobuy.wav"), 9);
  EXPECT_EQ(countPlayed("sound\\buy.wav"), 0);
  EXPECT_EQ(scarecrow().money, 199);
  EXPECT_EQ(scarecrow().score, score);
  EXPECT_TRUE(Store::isLoaded());

  const Frame poor = draw();
  scarecrow().money = plenty;
  Store::refreshOffers();
  const Frame rich = draw();
  for (int slot = 1; slot < Store::slotCount; ++slot) {
    const int cx = 148 + 168 * ((slot - 1) % 3), cy = 200 + 100 * ((slot - 1) / 3);
    EXPECT_GT(screentest::maxDifference(poor, rich, cx - 40, cy - 40, cx + 40, cy + 40), 16) << slot;
  }
  // The money at the bottom right is the real figure, drawn at once.
  EXPECT_GT(screentest::maxDifference(poor, rich, 490, 448, 634, 480), 64);
}

TEST_F(StoreTest, EachPriceIsTheLeastMoneyThatBuys) {
  beginGameAtIndex10();
  const int32_t prices[Store::slotCount] = {0, 500, 1200, 300, 200, 350, 475, 250, 2800, 400};
  for (int slot = 1; slot < Store::slotCount; ++slot) {
    EXPECT_EQ(Store::price(slot), prices[slot]);
    for (int32_t money : {prices[slot] - 1, prices[slot]}) {
      scarecrow().money = money;
      Store::refreshOffers();
      EXPECT_EQ(Store::isOffered(slot), money == prices[slot]) << slot;
    }
  }
}

TEST_F(StoreTest, PurchaseSpendsMoneyKeepsTheScoreAndRecomputesTheOffers) {
  scarecrow().score = 5000;
  openWithMoney(650);
  select(Letter);
  const uint8_t letters = scarecrow().booLetters;
  buy();
  EXPECT_EQ(scarecrow().booLetters, letters + 1);
  EXPECT_EQ(scarecrow().money, 450);
  EXPECT_EQ(scarecrow().score, 5000);
  EXPECT_EQ(countPlayed("sound\\buy.wav"), 1);
  EXPECT_EQ(countPlayed("sound\\nobuy.wav"), 0);
  EXPECT_TRUE(Store::isOffered(Rocket));
  select(Rocket);
  buy();
  EXPECT_EQ(scarecrow().money, 50);
  EXPECT_FALSE(Store::isOffered(Letter));  // 50 no longer buys anything
  buy();
  EXPECT_EQ(countPlayed("sound\\nobuy.wav"), 1);
}

TEST_F(StoreTest, WeightNineTimesThenNoMore) {
  openWithMoney(plenty);
  select(Weight);
  for (int i = 1; i <= 9; ++i) {
    ASSERT_TRUE(Store::isOffered(Weight)) << "purchase " << i;
    buy();
  }
  EXPECT_LT(CrowFlock::carrySpeedFactor(), 0.1f);  // single-precision steps land just below
  EXPECT_GT(CrowFlock::carrySpeedFactor(), 0.09f);
  EXPECT_FALSE(Store::isOffered(Weight));
  const float factor = CrowFlock::carrySpeedFactor();
  buy();
  EXPECT_EQ(CrowFlock::carrySpeedFactor(), factor);
  EXPECT_EQ(scarecrow().money, plenty - 9 * 300);
  EXPECT_EQ(countPlayed("sound\\nobuy.wav"), 1);
}

// One step short of each limit: the last purchase reaches it and the item is offered no more.
TEST_F(StoreTest, UpgradesStopAtTheirLimitsAndTheLastLungFillsTheBreath) {
  scarecrow().booLetters = 7;
  scarecrow().booRange = 90;
  scarecrow().masks = 4;
  scarecrow().maxSpeed = 3.0f;
  scarecrow().maxBreath = 224.0f;
  scarecrow().breath = 10.0f;
  openWithMoney(plenty);
  for (int slot : {Letter, Breath, Mask, Rocket, Lung}) {
    ASSERT_TRUE(Store::isOffered(slot)) << slot;
    select(slot);
    buy();
    EXPECT_FALSE(Store::isOffered(slot)) << slot;
  }
  EXPECT_EQ(scarecrow().booLetters, 8);
  EXPECT_EQ(scarecrow().booRange, 100);
  EXPECT_EQ(scarecrow().masks, 5);
  EXPECT_FLOAT_EQ(scarecrow().maxSpeed, 4.0f);
  EXPECT_FLOAT_EQ(scarecrow().maxBreath, 256.0f);
  EXPECT_FLOAT_EQ(scarecrow().breath, 256.0f);
  EXPECT_EQ(scarecrow().money, plenty - 200 - 350 - 250 - 400 - 475);
}

TEST_F(StoreTest, SeedPlantsUntilTheFieldIsFull) {
  openWithMoney(plenty);
  select(Seed);
  const int32_t before = CornField::liveStalkCount();
  ASSERT_LT(before, 50);
  buy();
  EXPECT_EQ(CornField::liveStalkCount(), before + 1);
  while (Store::isOffered(Seed) && CornField::liveStalkCount() < 60) buy();
  EXPECT_EQ(CornField::liveStalkCount(), 50);
  EXPECT_FALSE(Store::isOffered(Seed));
}

TEST_F(StoreTest, FertilizerUntilEveryStalkCarriesThree) {
  ASSERT_EQ(DayDirector::startingCorn(), 1);
  openWithMoney(plenty);
  ASSERT_TRUE(Store::isOffered(Fertilizer));
  select(Fertilizer);
  const int32_t ears = CornField::earCount();
  buy();
  EXPECT_EQ(CornField::earCount(), ears + CornField::liveStalkCount());
  EXPECT_TRUE(Store::isOffered(Fertilizer));
  buy();
  EXPECT_FALSE(Store::isOffered(Fertilizer));
  EXPECT_EQ(CornField::earCount(), 3 * CornField::liveStalkCount());
}

TEST_F(StoreTest, TimeItemIsOfferedFromIndexSeven) {
  beginGameAtIndex10();
  DayDirector::startDay();
  DayDirector::turnBackTime();  // index 3
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(screentest::advanceDay());
  ASSERT_EQ(DayDirector::day(), 6);
  scarecrow().money = plenty;
  Store::refreshOffers();
  EXPECT_FALSE(Store::isOffered(Time));
  ASSERT_TRUE(screentest::advanceDay());
  ASSERT_EQ(DayDirector::day(), 7);
  Store::refreshOffers();
  EXPECT_TRUE(Store::isOffered(Time));
}

TEST_F(StoreTest, TimeItemMakesTheComingDayShortAndSevenLower) {
  beginGameAtIndex10();
  DayDirector::startDay();
  ASSERT_FALSE(Store::isLoaded());  // no store before a game's first day
  ASSERT_TRUE(screentest::advanceDay());
  EXPECT_TRUE(Store::isLoaded());  // the director opens it before every later day
  Store::unload();
  ASSERT_TRUE(screentest::advanceDay());
  ASSERT_EQ(DayDirector::day(), 12);
  ASSERT_TRUE(Store::isLoaded());
  const DayKind kind = DayDirector::kind();
  scarecrow().money = 3000;
  Store::refreshOffers();
  steps(stepsUntilKeysAreRead);
  select(Time);
  buy();
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

TEST_F(StoreTest, CtrlOnExitOrEscapeFromAnySlotLeavesAndLoadsTheComingDay) {
  openWithMoney(0);
  DayCycle::load(3);
  for (int i = 0; i < 300; ++i) DayCycle::tick();
  ASSERT_TRUE(DayCycle::isDayRunning());
  press(vkControl);
  expectLeftForTheComingDay();
  DayCycle::unload();
  openWithMoney(plenty);
  select(Breath);
  press(vkEscape);
  expectLeftForTheComingDay();
}

TEST_F(StoreTest, LeavingTwiceInOneFrameReleasesOnceAndLoadsTheDayAgain) {
  openWithMoney(0);
  tap(vkControl);
  tap(vkEscape);
  steps(1);
  expectLeftForTheComingDay();
  EXPECT_FALSE(KeyState::wasPressed(vkEscape));  // both were read
  steps(5);  // a closed store ignores its updates' keys and has nothing to release
  EXPECT_FALSE(Store::isLoaded());
}

TEST_F(StoreTest, ClosedStoreDrawsNothingAndItsUnloadStillLoadsTheComingDay) {
  EXPECT_EQ(draw().brightness(0, 0, 640, 480), 0);
  ASSERT_FALSE(Store::isLoaded());
  Store::unload();
  EXPECT_TRUE(DayCycle::isLoaded());
  EXPECT_EQ(DayCycle::shownDay(), DayDirector::day() + 1);
}

}  // namespace
