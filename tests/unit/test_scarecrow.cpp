#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "days/draw_queue.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "screens/play_screen.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "test_support.h"

namespace {

using std::make_tuple;

class ScarecrowTest : public testing::Test {
 protected:
  void SetUp() override {
    KeyState::clearAll();
    Scarecrow::load();
    BooShout::load();
    clearPlayedClips();
  }
  void TearDown() override {
    OogaBooga::end();
    BooShout::unload();
    Scarecrow::unload();
    KeyState::clearAll();
  }

  static ScarecrowState& s() { return Scarecrow::state(); }
  static void updates(int n) {
    for (int i = 0; i < n; ++i) Scarecrow::update();
  }
  // Runs one update and reports how far x moved.
  static float stepX() {
    const float before = s().x;
    Scarecrow::update();
    return s().x - before;
  }
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
  EXPECT_EQ(make_tuple(m.x, m.y, m.facing, m.direction, m.action, m.animMode, m.money, m.score),
            make_tuple(320.0f, 240.0f, 90.0f, uint8_t{2}, ScarecrowAction::None, AnimMode::Idle, 0, 0));
  EXPECT_EQ(make_tuple(m.masks, m.booLetters, m.maxSpeed, m.maxBreath, m.breath, m.booRange),
            make_tuple(uint8_t{1}, uint8_t{2}, 1.0f, 32.0f, 32.0f, 40));

  // A new day puts the figure back but keeps what was earned and bought.
  m.x = 100, m.y = 400, m.vx = 1, m.direction = 5, m.facing = 225, m.action = ScarecrowAction::Shout;
  m.animMode = AnimMode::Act, m.animTick = 7, m.money = 120, m.score = 300, m.masks = 3, m.maxBreath = 64;
  m.breath = 3;
  Scarecrow::startDay();
  EXPECT_EQ(
      make_tuple(m.x, m.y, m.vx, m.direction, m.facing, m.action, m.animMode, m.animTick),
      make_tuple(320.0f, 240.0f, 0.0f, uint8_t{2}, 90.0f, ScarecrowAction::None, AnimMode::Idle, uint8_t{0}));
  EXPECT_EQ(make_tuple(m.money, m.score, m.masks, m.breath), make_tuple(120, 300, uint8_t{3}, 64.0f));
}

TEST_F(ScarecrowTest, WalkingStepsAndGlideForEachSpeedLimit) {
  const std::pair<float, std::vector<float>> cases[] = {{4, {2, 3.5f, 5, 6, 6, 6}}, {1, {2, 3, 3, 3, 3}}};
  for (const auto& [maxSpeed, steps] : cases) {
    SCOPED_TRACE(maxSpeed);
    restart();
    s().maxSpeed = maxSpeed;
    KeyState::keyDown(vkRight);
    for (float step : steps) EXPECT_FLOAT_EQ(stepX(), step);
  }
  EXPECT_EQ(make_tuple(s().y, s().direction, s().facing, s().animMode),
            make_tuple(240.0f, uint8_t{0}, 0.0f, AnimMode::Walk));
  KeyState::keyUp(vkRight);
  for (float step : {1.0f, 0.5f, 0.0f}) EXPECT_FLOAT_EQ(stepX(), step);
  EXPECT_EQ(make_tuple(s().animMode, s().direction), make_tuple(AnimMode::Idle, uint8_t{0}));  // kept

  // A shout stops the keys being read, so a held key glides out the same way.
  KeyState::keyDown(vkRight);
  updates(2);
  press(vkControl);
  EXPECT_FLOAT_EQ(stepX(), 3);  // reads the shout; this tick's push still counts
  for (float step : {1.0f, 0.5f, 0.0f}) EXPECT_FLOAT_EQ(stepX(), step);
  EXPECT_EQ(make_tuple(s().action, s().animMode), make_tuple(ScarecrowAction::Shout, AnimMode::Act));
}

TEST_F(ScarecrowTest, OppositeKeysCancelButStillChooseADirection) {
  const std::tuple<std::vector<uint32_t>, uint8_t, float, float, float> cases[] = {
      {{vkLeft, vkRight}, 0, 0, 0, 0},          {{vkLeft, vkRight, vkDown}, 1, 45, 0, 1},
      {{vkLeft, vkRight, vkUp}, 7, 315, 0, -1}, {{vkUp, vkDown}, 6, 270, 0, 0},
      {{vkUp, vkDown, vkRight}, 7, 315, 1, 0},  {{vkUp, vkDown, vkLeft}, 5, 225, -1, 0},
      {{vkDown, vkLeft}, 3, 135, -1, 1},        {{vkLeft, vkUp}, 5, 225, -1, -1},
  };
  for (const auto& [keys, direction, facing, dx, dy] : cases) {
    restart();
    for (uint32_t key : keys) KeyState::keyDown(key);
    updates(4);  // four ticks of a single key cover 2 + 3 + 3 + 3, on each axis alike
    EXPECT_EQ(make_tuple(s().direction, s().facing, s().x, s().y),
              make_tuple(direction, facing, 320 + dx * 11, 240 + dy * 11));
  }
}

TEST_F(ScarecrowTest, BoundsStopTheFigureButNotItsPush) {
  const std::tuple<uint32_t, float, float, float, float> cases[] = {
      {vkLeft, 14, 240, 10, 240},
      {vkRight, 626, 240, 630, 240},
      {vkUp, 320, 34, 320, 30},
      {vkDown, 320, 476, 320, 480},
      {0, 630, 480, 630, 480}};  // standing exactly on a bound is allowed
  for (const auto& [key, startX, startY, boundX, boundY] : cases) {
    SCOPED_TRACE(key);
    restart();
    s().x = startX, s().y = startY;
    if (key != 0) KeyState::keyDown(key);
    updates(10);
    EXPECT_EQ(make_tuple(s().x, s().y, std::abs(s().vx) + std::abs(s().vy)),
              make_tuple(boundX, boundY, key != 0 ? s().maxSpeed : 0));
  }
}

TEST_F(ScarecrowTest, WalkAnimationCyclesAndIdleKeepsTheTick) {
  KeyState::keyDown(vkDown);
  for (int t = 0; t < 31; ++t) {
    Scarecrow::update();
    ASSERT_EQ(s().animTick, t % 28) << t;
  }
  KeyState::keyUp(vkDown);
  Scarecrow::update();
  EXPECT_EQ(make_tuple(s().animMode, s().animTick), make_tuple(AnimMode::Idle, uint8_t{2}));
  KeyState::keyDown(vkDown);
  Scarecrow::update();
  EXPECT_EQ(s().animTick, 0);  // a new walk starts from the first frame
}

TEST_F(ScarecrowTest, BreathAndCoughTimelineWithRepeatedPresses) {
  std::vector<int> booTicks, coughTicks;
  float breathAfterSecondBoo = 0;
  // Tick 0 reads the first press; then a press every tick a shout runs, so several presses during
  // one shout count as one.
  press(vkControl);
  for (int t = 0; t <= 40; ++t) {
    if (t > 0 && s().action == ScarecrowAction::Shout) press(vkControl);
    clearPlayedClips();
    Scarecrow::update();
    if (boos() == 1) booTicks.push_back(t);
    if (booTicks.size() == 2 && booTicks.back() == t) breathAfterSecondBoo = s().breath;
    if (coughs() == 1) coughTicks.push_back(t);
  }
  EXPECT_EQ(booTicks, (std::vector<int>{5, 18}));
  ASSERT_FALSE(coughTicks.empty());
  EXPECT_EQ(coughTicks.front(), 31);
  EXPECT_NEAR(breathAfterSecondBoo, 4.225f, 1e-3f);
  EXPECT_EQ(BooShout::countInUse(), 6) << "two fans of three letters; the cough made none";
  for (int i = 0; i < 3; ++i) {  // the first fan leaves the feet at the facing, 90
    const ShoutParticle& p = BooShout::particle(i);
    EXPECT_EQ(make_tuple(p.angle, p.x, p.y), make_tuple(75.0f + 10 * i, 320.0f, 240.0f)) << i;
  }

  // After such a second boo, 37 ticks of rest are needed before the next succeeds.
  // The shout's fifth tick is the `rest`-th recovery: the press tick and five more end it.
  for (int rest : {36, 37}) {
    restart();
    s().breath = 16 + 0.325f * 13 - 16;
    updates(rest - 6);
    press(vkControl);
    clearPlayedClips();
    updates(6);
    EXPECT_EQ(make_tuple(boos(), coughs()), make_tuple(rest == 37 ? 1 : 0, rest == 37 ? 0 : 1)) << rest;
  }
  restart();
  clearPlayedClips();
  s().maxBreath = s().breath = 16;  // exactly enough, with nothing to recover
  press(vkControl);
  updates(6);
  EXPECT_EQ(make_tuple(boos(), s().breath), make_tuple(1, 0.0f));
}

// The power itself starting on the action's fifth tick is followed in the Play world (ooga tests).
TEST_F(ScarecrowTest, OogaWinsOverAShoutOfTheSameTickAndShiftWithNoChargeIsConsumed) {
  s().direction = 0;
  press(vkControl);
  press(vkShift);
  Scarecrow::update();
  EXPECT_EQ(make_tuple(s().action, s().masks, s().direction, s().facing),
            make_tuple(ScarecrowAction::Ooga, uint8_t{0}, uint8_t{2}, 90.0f));
  updates(11);  // the power started on the fifth of them
  EXPECT_EQ(make_tuple(s().action, OogaBooga::isActive()), make_tuple(ScarecrowAction::Ooga, true));
  OogaBooga::end();
  Scarecrow::update();
  EXPECT_EQ(make_tuple(s().action, s().animTick), make_tuple(ScarecrowAction::None, uint8_t{0}));

  press(vkShift);  // no charge left: nothing happens, and a charge bought later does not revive it
  Scarecrow::update();
  s().masks = 1;
  updates(20);
  EXPECT_EQ(make_tuple(s().action, s().masks, OogaBooga::isActive(), boos(), coughs()),
            make_tuple(ScarecrowAction::None, uint8_t{1}, false, 0, 0));  // the first tick's Ctrl was lost
}

TEST_F(ScarecrowTest, AwardFloorsTheMoneyAndKeepsTheScore) {
  // A loss that would go below 0 (or lands exactly on it) takes the money to 0 and spares the score.
  const int32_t cases[][4] = {
      {15, -20, 0, 100}, {25, -20, 5, 80}, {20, -20, 0, 100}, {0, 0, 0, 100}, {0, 10, 10, 110}};
  for (const auto& [money, award, moneyAfter, scoreAfter] : cases) {
    SCOPED_TRACE(testing::Message() << money << " + " << award);
    s().money = money;
    s().score = 100;
    Scarecrow::award(award);
    EXPECT_EQ(make_tuple(s().money, s().score, Scarecrow::money()),
              make_tuple(moneyAfter, scoreAfter, moneyAfter));
  }
}

TEST_F(ScarecrowTest, PickUpReachIsAStrictDiamond) {
  const std::tuple<float, float, bool> cases[] = {{12, 12, false},   {20, 0, true},   {15, 15, false},
                                                  {0, -23.5f, true}, {-24, 0, false}, {-11, 12.5f, true}};
  int money = 0;
  for (const auto& [dx, dy, taken] : cases) {
    SCOPED_TRACE(testing::Message() << dx << "," << dy);
    clearPlayedClips();
    EXPECT_EQ(Scarecrow::tryPickUp(320 + dx, 240 + dy), taken);
    money += taken ? 50 : 0;
    EXPECT_EQ(make_tuple(s().money, s().score, countPlayed("sound\\corn_get.wav")),
              make_tuple(money, money, taken ? 1 : 0));
  }
}

TEST_F(ScarecrowTest, PowerDownLowersTheDrawnUpgradeButNeverBelowItsFloor) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {  // every upgrade at its floor: only the sound
    seedRandom(seed);
    Scarecrow::powerDown();
  }
  EXPECT_EQ(make_tuple(countPlayed("sound\\powerdown.wav"), s().booRange, s().booLetters, s().maxBreath,
                       s().maxSpeed),
            make_tuple(20, 40, uint8_t{2}, 32.0f, 1.0f));

  bool seen[5] = {};
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    seedRandom(seed);
    const int drawn = randomInt(5);
    s().booRange = 100, s().booLetters = 8, s().maxBreath = 256, s().breath = 256, s().maxSpeed = 4;
    seedRandom(seed);
    Scarecrow::powerDown();
    seen[drawn] = true;
    EXPECT_EQ(make_tuple(s().booRange, s().booLetters, s().maxBreath, s().maxSpeed, s().breath),
              make_tuple(drawn == 0 ? 90 : 100, uint8_t(drawn == 1 ? 7 : 8), drawn == 2 ? 224.0f : 256.0f,
                         drawn == 3 ? 3.0f : 4.0f, 256.0f))
        << "drawn " << drawn;
  }
  for (bool outcome : seen) EXPECT_TRUE(outcome);
}

TEST_F(ScarecrowTest, BreathAboveTheCapacityIsKeptUntilSpent) {
  s().breath = 64;  // left by a power-down of the capacity from 64 to 32
  updates(10);
  press(vkControl);
  updates(6);
  EXPECT_FLOAT_EQ(s().breath, 48);  // no recovery while above the capacity, and no cut to it
  s().breath = 31.9f;
  Scarecrow::update();
  EXPECT_FLOAT_EQ(s().breath, 32);  // recovery stops at the capacity
}

TEST_F(ScarecrowTest, DrawQueuesTheFrameOfTheAnimationAndAShadow) {
  DrawQueue::load();
  worldLight = 0.5f;
  // Idle shows frame 0; walk and action frames come from their tables.
  const std::tuple<AnimMode, uint8_t, int> cases[] = {{AnimMode::Idle, 9, 0},  {AnimMode::Walk, 4, 2},
                                                      {AnimMode::Walk, 14, 3}, {AnimMode::Walk, 27, 0},
                                                      {AnimMode::Act, 2, 6},   {AnimMode::Act, 11, 5}};
  for (const auto& [mode, animTick, frame] : cases) {
    SCOPED_TRACE(int(animTick));
    s().animMode = mode, s().animTick = animTick, s().direction = 3, s().x = 111, s().y = 222;
    DrawQueue::reset();
    Scarecrow::draw();
    ASSERT_NE(DrawQueue::headIndex(), -1);
    const DrawEntry& shadow = DrawQueue::entryAt(DrawQueue::headIndex());
    ASSERT_NE(shadow.next, -1);
    const DrawEntry& figure = DrawQueue::entryAt(shadow.next);
    EXPECT_EQ(figure.next, -1);
    EXPECT_EQ(make_tuple(shadow.kind, shadow.width, shadow.x), make_tuple(DrawKind::Shadow, 64.0f, 111.0f));
    EXPECT_EQ(make_tuple(figure.sprite, figure.kind, figure.x, figure.y, figure.elevation, figure.width,
                         figure.height, figure.tint, figure.alpha),
              make_tuple(Scarecrow::frameSprite(3, frame), DrawKind::Sprite, 111.0f, 222.0f, 0.0f, 200.0f,
                         200.0f, 0.5f, 1.0f));
  }
  DrawQueue::unload();
  worldLight = 0;
}

}  // namespace
