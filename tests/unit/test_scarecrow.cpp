#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "days/draw_queue.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {
using std::make_tuple;

class ScarecrowTest : public testing::Test {
 protected:
  void SetUp() override {
    for (auto step : {KeyState::clearAll, Scarecrow::load, BooShout::load, clearPlayedClips}) step();
  }
  void TearDown() override {
    for (auto step : {OogaBooga::end, BooShout::unload, Scarecrow::unload, KeyState::clearAll}) step();
  }

  static ScarecrowState& s() { return Scarecrow::testing::state(); }
  static void updates(int n) {
    for (int i = 0; i < n; ++i) Scarecrow::update();
  }
  // Runs one update and reports how far x moved.
  static float stepX(float before = s().x) { return Scarecrow::update(), s().x - before; }
  static void press(uint32_t key) {
    KeyState::keyDown(key);
    KeyState::keyUp(key);
  }
  // A fresh day with no keys down.
  static void restart() {
    KeyState::clearAll();
    Scarecrow::startDay();
  }
  static int boos() { return countPlayed("sound\\boo.wav"); }
  static int coughs() { return countPlayed("sound\\cough.wav"); }
};

TEST_F(ScarecrowTest, LoadAndNewDayValues) {
  ScarecrowState& m = s();
  EXPECT_EQ(make_tuple(m.x, m.y, m.money, m.score, m.masks, m.booLetters, m.maxSpeed, m.maxBreath, m.breath,
                       m.booRange),
            make_tuple(320.0f, 240.0f, 0, 0, uint8_t{1}, uint8_t{2}, 1.0f, 32.0f, 32.0f, 40));

  // A new day puts the figure back but keeps what was earned and bought.
  m.x = 100, m.y = 400, m.vx = 1, m.direction = 5, m.facing = 225, m.action = ScarecrowAction::Shout;
  m.animMode = AnimMode::Act, m.animTick = 7, m.money = 120, m.score = 300, m.masks = 3, m.maxBreath = 64;
  Scarecrow::startDay();
  EXPECT_EQ(
      make_tuple(m.x, m.y, m.vx, m.direction, m.facing, m.action, m.animMode, m.animTick),
      make_tuple(320.0f, 240.0f, 0.0f, uint8_t{2}, 90.0f, ScarecrowAction::None, AnimMode::Idle, uint8_t{0}));
  EXPECT_EQ(make_tuple(m.money, m.score, m.masks, m.breath), make_tuple(120, 300, uint8_t{3}, 64.0f));
}

TEST_F(ScarecrowTest, WalkingStepsAndGlideForEachSpeedLimit) {
  const std::pair<float, std::vector<float>> cases[] = {{4, {2, 3.5f, 5, 6, 6, 6}}, {1, {2, 3, 3, 3, 3}}};
  for (const auto& [maxSpeed, steps] : cases) {
    restart();
    s().maxSpeed = maxSpeed;
    KeyState::keyDown(vkRight);
    for (float step : steps) EXPECT_FLOAT_EQ(stepX(), step);
  }
  updates(26);  // the walk frames count 0 ... 27, 0, 1, 2
  EXPECT_EQ(make_tuple(s().y, s().animMode, s().animTick), make_tuple(240.0f, AnimMode::Walk, uint8_t{2}));
  KeyState::keyUp(vkRight);
  for (float step : {1.0f, 0.5f, 0.0f}) EXPECT_FLOAT_EQ(stepX(), step);
  EXPECT_EQ(make_tuple(s().animMode, s().direction, s().animTick),
            make_tuple(AnimMode::Idle, uint8_t{0}, uint8_t{2}));  // kept

  // A shout stops the keys being read, so a held key glides out the same way.
  KeyState::keyDown(vkRight);
  updates(2);
  EXPECT_EQ(s().animTick, 1);  // a new walk starts from the first frame
  press(vkControl);
  EXPECT_FLOAT_EQ(stepX(), 3);  // reads the shout; this tick's push still counts
  for (float step : {1.0f, 0.5f, 0.0f}) EXPECT_FLOAT_EQ(stepX(), step);
  EXPECT_EQ(make_tuple(s().action, s().animMode), make_tuple(ScarecrowAction::Shout, AnimMode::Act));
}

// Opposite keys cancel but still choose the picture; a bound stops the figure exactly on it, not its push.
TEST_F(ScarecrowTest, KeysChooseTheDirectionAndBoundsStopTheFigure) {
  const std::tuple<std::vector<uint32_t>, uint8_t, float, float, float, float> cases[] = {
      {{vkLeft, vkRight}, 0, 320, 240, 0, 0},       {{vkLeft, vkRight, vkDown}, 1, 320, 480, 0, 1},
      {{vkLeft, vkRight, vkUp}, 7, 320, 30, 0, -1}, {{vkUp, vkDown}, 6, 320, 240, 0, 0},
      {{vkUp, vkDown, vkRight}, 7, 630, 240, 1, 0}, {{vkUp, vkDown, vkLeft}, 5, 10, 240, -1, 0},
      {{vkDown, vkLeft}, 3, 10, 480, -1, 1}};
  for (const auto& [keys, direction, x, y, vx, vy] : cases) {
    restart();
    for (uint32_t key : keys) KeyState::keyDown(key);
    updates(200);
    EXPECT_EQ(make_tuple(s().direction, s().facing, s().x, s().y, s().vx, s().vy),
              make_tuple(direction, direction * 45.0f, x, y, vx, vy));
  }
}

TEST_F(ScarecrowTest, BreathAndCoughTimelineWithRepeatedPresses) {
  std::vector<int> booTicks, coughTicks;
  // Tick 0 reads the first press; then a press every tick a shout runs, so several presses during
  // one shout count as one.
  press(vkControl);
  for (int t = 0; t <= 40; ++t) {
    if (t > 0 && s().action == ScarecrowAction::Shout) press(vkControl);
    clearPlayedClips();
    Scarecrow::update();
    if (boos() == 1) booTicks.push_back(t);
    if (coughs() == 1) coughTicks.push_back(t);
    EXPECT_TRUE(t != 18 || std::abs(s().breath - 4.225f) <= 1e-3f) << s().breath;  // after the second boo
  }
  EXPECT_EQ(make_tuple(booTicks, coughTicks), make_tuple(std::vector<int>{5, 18}, std::vector<int>{31}));
  // Two fans of three letters, the first from the feet at the facing, 90; the cough made none.
  const ShoutParticle& fan = BooShout::particle(0);
  EXPECT_EQ(make_tuple(BooShout::countInUse(), fan.angle, fan.x, fan.y),
            make_tuple(6, 75.0f, 320.0f, 240.0f));

  // After such a second boo, 37 ticks of rest are needed before the next succeeds; exactly 16 with
  // nothing to recover is enough; breath above the capacity (left by a power-down of it from 64 to
  // 32) is neither recovered nor cut. The shout's fifth tick is the `rest`-th recovery.
  const std::tuple<int, float, float, bool, float> rests[] = {
      {36, 32, 4.225f, false, -1}, {37, 32, 4.225f, true, -1}, {6, 16, 16, true, 0}, {6, 32, 64, true, 48}};
  for (const auto& [rest, maxBreath, breath, boo, breathAfter] : rests) {
    restart();
    s().maxBreath = maxBreath, s().breath = breath;
    updates(rest - 6);
    press(vkControl);
    clearPlayedClips();
    updates(6);
    EXPECT_EQ(make_tuple(boos(), coughs()), make_tuple(int(boo), int(!boo))) << rest;
    EXPECT_TRUE(breathAfter < 0 || s().breath == breathAfter) << rest << ": " << s().breath;
  }
  s().breath = 31.9f;
  Scarecrow::update();
  EXPECT_FLOAT_EQ(s().breath, 32);  // recovery stops at the capacity
}

// The power itself starting on the action's fifth tick is followed in the Play world (ooga tests).
TEST_F(ScarecrowTest, OogaWinsOverAShoutOfTheSameTickAndShiftWithNoChargeIsConsumed) {
  s().direction = 0;
  press(vkControl);
  press(vkShift);
  Scarecrow::update();
  EXPECT_EQ(make_tuple(s().action, s().masks, s().direction, s().facing),
            make_tuple(ScarecrowAction::Ooga, uint8_t{0}, uint8_t{2}, 90.0f));
  updates(12);  // the power started on the fifth of them
  EXPECT_EQ(make_tuple(s().action, s().animTick, OogaBooga::isActive()),
            make_tuple(ScarecrowAction::None, uint8_t{0}, true));
  OogaBooga::end();

  press(vkShift);  // no charge left: nothing happens, and a charge bought later does not revive it
  Scarecrow::update();
  s().masks = 1;
  updates(20);
  EXPECT_EQ(make_tuple(s().action, s().masks, OogaBooga::isActive(), boos(), coughs()),
            make_tuple(ScarecrowAction::None, uint8_t{1}, false, 0, 0));  // the first tick's Ctrl was lost
}

TEST_F(ScarecrowTest, AwardFloorsTheMoneyAndKeepsTheScoreAndPickUpReachIsAStrictDiamond) {
  // A loss that would go below 0 (or lands exactly on it) takes the money to 0 and spares the score.
  const int32_t cases[][4] = {
      {15, -20, 0, 100}, {25, -20, 5, 80}, {20, -20, 0, 100}, {0, 0, 0, 100}, {0, 10, 10, 110}};
  for (const auto& [money, award, moneyAfter, scoreAfter] : cases) {
    s().money = money, s().score = 100;
    Scarecrow::award(award);
    EXPECT_EQ(make_tuple(s().money, s().score), make_tuple(moneyAfter, scoreAfter));
  }

  const std::tuple<float, float, bool> reach[] = {{12, 12, false},   {20, 0, true},   {15, 15, false},
                                                  {0, -23.5f, true}, {-24, 0, false}, {-11, 12.5f, true}};
  for (const auto& [dx, dy, taken] : reach) {
    clearPlayedClips();
    s().money = s().score = 0;
    EXPECT_EQ(Scarecrow::tryPickUp(320 + dx, 240 + dy), taken);
    EXPECT_EQ(make_tuple(s().money, s().score, countPlayed("sound\\corn_get.wav")),
              make_tuple(50 * taken, 50 * taken, int(taken)));
  }
}

TEST_F(ScarecrowTest, PowerDownLowersTheDrawnUpgradeButNeverBelowItsFloor) {
  for (int i = 0; i < 20; ++i) Scarecrow::powerDown();  // every upgrade at its floor: only the sound
  EXPECT_EQ(make_tuple(countPlayed("sound\\powerdown.wav"), s().booRange, s().booLetters, s().maxBreath,
                       s().maxSpeed),
            make_tuple(20, 40, uint8_t{2}, 32.0f, 1.0f));

  for (uint32_t seed = 1; seed <= 200; ++seed) {
    seedRandom(seed);
    const int drawn = randomInt(5);
    s().booRange = 100, s().booLetters = 8, s().maxBreath = 256, s().breath = 256, s().maxSpeed = 4;
    seedRandom(seed);
    Scarecrow::powerDown();
    EXPECT_EQ(make_tuple(s().booRange, s().booLetters, s().maxBreath, s().maxSpeed, s().breath),
              make_tuple(drawn == 0 ? 90 : 100, uint8_t(drawn == 1 ? 7 : 8), drawn == 2 ? 224.0f : 256.0f,
                         drawn == 3 ? 3.0f : 4.0f, 256.0f))
        << drawn;
  }
}

TEST_F(ScarecrowTest, DrawQueuesTheFrameOfTheAnimationAndAShadow) {
  DrawQueue::load();
  // Idle shows frame 0; walk and action frames come from their tables.
  using enum AnimMode;
  for (const auto& [mode, animTick, frame] :
       {std::tuple{Idle, 9, 0}, {Walk, 4, 2}, {Walk, 14, 3}, {Act, 2, 6}, {Act, 11, 5}}) {
    s().animMode = mode, s().animTick = animTick, s().direction = 3;
    DrawQueue::reset();
    Scarecrow::draw(0.5f);
    // Shadow first, then the figure.
    const DrawEntry& figure = DrawQueue::entryAt(DrawQueue::entryAt(DrawQueue::headIndex()).next);
    EXPECT_EQ(make_tuple(figure.sprite, figure.tint), make_tuple(Scarecrow::frameSprite(3, frame), 0.5f))
        << int(animTick);
  }
  DrawQueue::unload();
}

}  // namespace
