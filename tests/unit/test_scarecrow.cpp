#include <gtest/gtest.h>

#include <cmath>
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

std::vector<DrawEntry> queued() {
  std::vector<DrawEntry> out;
  for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
    out.push_back(DrawQueue::entryAt(i));
  }
  return out;
}

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
};

TEST_F(ScarecrowTest, LoadAndNewDayValues) {
  EXPECT_FLOAT_EQ(s().x, 320);
  EXPECT_FLOAT_EQ(s().y, 240);
  EXPECT_FLOAT_EQ(s().facing, 90);
  EXPECT_EQ(s().direction, 2);
  EXPECT_EQ(s().action, ScarecrowAction::None);
  EXPECT_EQ(s().animMode, AnimMode::Idle);
  EXPECT_EQ(s().money, 0);
  EXPECT_EQ(s().score, 0);
  EXPECT_EQ(s().masks, 1);
  EXPECT_EQ(s().booLetters, 2);
  EXPECT_FLOAT_EQ(s().maxSpeed, 1);
  EXPECT_FLOAT_EQ(s().maxBreath, 32);
  EXPECT_FLOAT_EQ(s().breath, 32);
  EXPECT_EQ(s().booRange, 40);

  // A new day puts the figure back but keeps what was earned and bought.
  s().x = 100;
  s().y = 400;
  s().vx = 1;
  s().direction = 5;
  s().facing = 225;
  s().action = ScarecrowAction::Shout;
  s().animMode = AnimMode::Act;
  s().animTick = 7;
  s().money = 120;
  s().score = 300;
  s().masks = 3;
  s().maxBreath = 64;
  s().breath = 3;
  Scarecrow::startDay();
  EXPECT_FLOAT_EQ(s().x, 320);
  EXPECT_FLOAT_EQ(s().y, 240);
  EXPECT_FLOAT_EQ(s().vx, 0);
  EXPECT_EQ(s().direction, 2);
  EXPECT_FLOAT_EQ(s().facing, 90);
  EXPECT_EQ(s().action, ScarecrowAction::None);
  EXPECT_EQ(s().animMode, AnimMode::Idle);
  EXPECT_EQ(s().animTick, 0);
  EXPECT_EQ(s().money, 120);
  EXPECT_EQ(s().score, 300);
  EXPECT_EQ(s().masks, 3);
  EXPECT_FLOAT_EQ(s().breath, 64);
}

TEST_F(ScarecrowTest, WalkingStepsAndGlideWithTheFirstSpeedLimit) {
  KeyState::keyDown(vkRight);
  const float expected[] = {2, 3, 3, 3, 3};
  for (float step : expected) EXPECT_FLOAT_EQ(stepX(), step);
  EXPECT_FLOAT_EQ(s().y, 240);
  EXPECT_EQ(s().direction, 0);
  EXPECT_FLOAT_EQ(s().facing, 0);
  EXPECT_EQ(s().animMode, AnimMode::Walk);

  KeyState::keyUp(vkRight);
  EXPECT_FLOAT_EQ(stepX(), 1);
  EXPECT_FLOAT_EQ(stepX(), 0.5f);
  EXPECT_FLOAT_EQ(stepX(), 0);
  EXPECT_EQ(s().animMode, AnimMode::Idle);
  EXPECT_EQ(s().direction, 0);  // the last direction is kept while standing
}

TEST_F(ScarecrowTest, WalkingStepsWithTheFullRocket) {
  s().maxSpeed = 4;
  KeyState::keyDown(vkRight);
  const float expected[] = {2, 3.5f, 5, 6, 6, 6};
  for (float step : expected) EXPECT_FLOAT_EQ(stepX(), step);
}

TEST_F(ScarecrowTest, DiagonalsMoveAsFarOnBothAxes) {
  KeyState::keyDown(vkLeft);
  KeyState::keyDown(vkUp);
  for (int i = 0; i < 3; ++i) Scarecrow::update();
  EXPECT_FLOAT_EQ(s().x, 320 - 8);
  EXPECT_FLOAT_EQ(s().y, 240 - 8);
  EXPECT_EQ(s().direction, 5);
  EXPECT_FLOAT_EQ(s().facing, 225);
}

TEST_F(ScarecrowTest, OppositeKeysCancelButStillChooseADirection) {
  struct Case {
    std::vector<uint32_t> keys;
    uint8_t direction;
    float facing;
    float dx;
    float dy;
  };
  const Case cases[] = {
      {{vkLeft, vkRight}, 0, 0, 0, 0},          {{vkLeft, vkRight, vkDown}, 1, 45, 0, 1},
      {{vkLeft, vkRight, vkUp}, 7, 315, 0, -1}, {{vkUp, vkDown}, 6, 270, 0, 0},
      {{vkUp, vkDown, vkRight}, 7, 315, 1, 0},  {{vkUp, vkDown, vkLeft}, 5, 225, -1, 0},
      {{vkDown, vkLeft}, 3, 135, -1, 1},
  };
  for (const Case& c : cases) {
    KeyState::clearAll();
    Scarecrow::startDay();
    for (uint32_t key : c.keys) KeyState::keyDown(key);
    for (int i = 0; i < 4; ++i) Scarecrow::update();
    SCOPED_TRACE(testing::Message() << "direction " << int(c.direction));
    EXPECT_EQ(s().direction, c.direction);
    EXPECT_FLOAT_EQ(s().facing, c.facing);
    // Four ticks of a single key cover 2 + 3 + 3 + 3.
    EXPECT_FLOAT_EQ(s().x, 320 + c.dx * 11);
    EXPECT_FLOAT_EQ(s().y, 240 + c.dy * 11);
  }
}

TEST_F(ScarecrowTest, BoundsStopTheFigureButNotItsPush) {
  struct Case {
    uint32_t key;
    float startX;
    float startY;
    float boundX;
    float boundY;
  };
  const Case cases[] = {{vkLeft, 14, 240, 10, 240},
                        {vkRight, 626, 240, 630, 240},
                        {vkUp, 320, 34, 320, 30},
                        {vkDown, 320, 476, 320, 480}};
  for (const Case& c : cases) {
    KeyState::clearAll();
    Scarecrow::startDay();
    s().x = c.startX;
    s().y = c.startY;
    KeyState::keyDown(c.key);
    for (int i = 0; i < 10; ++i) Scarecrow::update();
    EXPECT_FLOAT_EQ(s().x, c.boundX);
    EXPECT_FLOAT_EQ(s().y, c.boundY);
    EXPECT_FLOAT_EQ(std::abs(s().vx) + std::abs(s().vy), s().maxSpeed);
  }
  // Standing exactly on a bound is allowed.
  KeyState::clearAll();
  Scarecrow::startDay();
  s().x = 630;
  s().y = 480;
  Scarecrow::update();
  EXPECT_FLOAT_EQ(s().x, 630);
  EXPECT_FLOAT_EQ(s().y, 480);
}

TEST_F(ScarecrowTest, WalkAnimationCyclesAndIdleKeepsTheTick) {
  KeyState::keyDown(vkDown);
  Scarecrow::update();
  EXPECT_EQ(s().animTick, 0);
  for (int i = 1; i < 28; ++i) Scarecrow::update();
  EXPECT_EQ(s().animTick, 27);
  Scarecrow::update();
  EXPECT_EQ(s().animTick, 0);
  Scarecrow::update();
  Scarecrow::update();
  KeyState::keyUp(vkDown);
  Scarecrow::update();
  EXPECT_EQ(s().animMode, AnimMode::Idle);
  EXPECT_EQ(s().animTick, 2);
  KeyState::keyDown(vkDown);
  Scarecrow::update();
  EXPECT_EQ(s().animTick, 0);  // a new walk starts from the first frame
}

TEST_F(ScarecrowTest, BreathAndCoughTimelineWithRepeatedPresses) {
  std::vector<int> booTicks;
  std::vector<int> coughTicks;
  float breathAfterSecondBoo = 0;
  // Tick 0 reads the first press; one more press arrives during every running shout.
  press(vkControl);
  for (int t = 0; t <= 40; ++t) {
    if (t > 0 && s().action == ScarecrowAction::Shout) press(vkControl);
    clearPlayedClips();
    Scarecrow::update();
    if (countPlayed("sound\\boo.wav") == 1) {
      booTicks.push_back(t);
      if (booTicks.size() == 2) breathAfterSecondBoo = s().breath;
    }
    if (countPlayed("sound\\cough.wav") == 1) coughTicks.push_back(t);
  }
  EXPECT_EQ(booTicks, (std::vector<int>{5, 18}));
  ASSERT_FALSE(coughTicks.empty());
  EXPECT_EQ(coughTicks.front(), 31);
  EXPECT_NEAR(breathAfterSecondBoo, 4.225f, 1e-3f);
  // Two boos made two fans of three letters; the cough made none.
  EXPECT_EQ(BooShout::countInUse(), 6);
}

TEST_F(ScarecrowTest, ABooNeedsThirtySevenTicksOfRestAfterTheSecond) {
  for (int rest : {36, 37}) {
    Scarecrow::startDay();
    s().breath = 16 + 0.325f * 13 - 16;  // what the second boo of a quick pair leaves
    // The shout's fifth tick is the `rest`-th recovery: the press tick and five more end it.
    for (int i = 0; i < rest - 6; ++i) Scarecrow::update();
    press(vkControl);
    clearPlayedClips();
    for (int i = 0; i < 6; ++i) Scarecrow::update();
    EXPECT_EQ(countPlayed("sound\\boo.wav"), rest == 37 ? 1 : 0) << rest;
    EXPECT_EQ(countPlayed("sound\\cough.wav"), rest == 37 ? 0 : 1) << rest;
  }
}

TEST_F(ScarecrowTest, SeveralPressesDuringOneShoutCountAsOne) {
  press(vkControl);
  Scarecrow::update();
  for (int i = 0; i < 3; ++i) {
    press(vkControl);
    Scarecrow::update();
  }
  clearPlayedClips();
  for (int i = 0; i < 60; ++i) Scarecrow::update();
  // One boo of the first shout and one cough or boo of the single follow-up.
  EXPECT_EQ(countPlayed("sound\\boo.wav") + countPlayed("sound\\cough.wav"), 2);
  EXPECT_EQ(s().action, ScarecrowAction::None);
}

TEST_F(ScarecrowTest, KeysAreIgnoredWhileAShoutRunsButMomentumCarriesOn) {
  KeyState::keyDown(vkRight);
  Scarecrow::update();
  Scarecrow::update();
  press(vkControl);
  Scarecrow::update();  // reads the shout; the push of this tick still counts
  EXPECT_EQ(s().action, ScarecrowAction::Shout);
  const float x = s().x;
  Scarecrow::update();  // held Right is no longer read: the speed of 1 glides out
  EXPECT_FLOAT_EQ(s().x - x, 1);
  Scarecrow::update();
  EXPECT_FLOAT_EQ(s().x - x, 1.5f);
  EXPECT_EQ(s().animMode, AnimMode::Act);
}

TEST_F(ScarecrowTest, OogaActionSpendsAChargeAndStartsThePowerOnItsFifthTick) {
  s().direction = 0;
  press(vkShift);
  Scarecrow::update();
  EXPECT_EQ(s().action, ScarecrowAction::Ooga);
  EXPECT_EQ(s().masks, 0);
  EXPECT_EQ(s().direction, 2);
  EXPECT_FLOAT_EQ(s().facing, 90);
  for (int t = 1; t < 5; ++t) {
    Scarecrow::update();
    EXPECT_FALSE(OogaBooga::isActive()) << t;
  }
  Scarecrow::update();
  EXPECT_TRUE(OogaBooga::isActive());
  OogaBooga::end();
  for (int t = 6; t < 12; ++t) Scarecrow::update();
  EXPECT_EQ(s().action, ScarecrowAction::Ooga);
  Scarecrow::update();
  EXPECT_EQ(s().action, ScarecrowAction::None);
  EXPECT_EQ(s().animTick, 0);
}

TEST_F(ScarecrowTest, ShiftWithoutAChargeIsConsumed) {
  s().masks = 0;
  press(vkShift);
  Scarecrow::update();
  EXPECT_EQ(s().action, ScarecrowAction::None);
  EXPECT_FALSE(KeyState::wasPressed(vkShift));
}

TEST_F(ScarecrowTest, OogaWinsOverAShoutOfTheSameTickAndTheShoutIsLost) {
  press(vkControl);
  press(vkShift);
  Scarecrow::update();
  EXPECT_EQ(s().action, ScarecrowAction::Ooga);
  OogaBooga::end();
  clearPlayedClips();
  for (int i = 0; i < 30; ++i) {
    Scarecrow::update();
    OogaBooga::end();
  }
  EXPECT_EQ(s().action, ScarecrowAction::None);
  EXPECT_EQ(countPlayed("sound\\boo.wav"), 0);
  EXPECT_EQ(countPlayed("sound\\cough.wav"), 0);
}

TEST_F(ScarecrowTest, AwardFloorsTheMoneyAndKeepsTheScore) {
  s().money = 15;
  s().score = 100;
  Scarecrow::award(-20);
  EXPECT_EQ(s().money, 0);
  EXPECT_EQ(s().score, 100);

  s().money = 25;
  Scarecrow::award(-20);
  EXPECT_EQ(s().money, 5);
  EXPECT_EQ(s().score, 80);

  s().money = 20;
  Scarecrow::award(-20);  // landing exactly on 0 counts as a floored loss
  EXPECT_EQ(s().money, 0);
  EXPECT_EQ(s().score, 80);

  Scarecrow::award(0);
  EXPECT_EQ(s().money, 0);
  EXPECT_EQ(s().score, 80);

  Scarecrow::award(10);
  EXPECT_EQ(s().money, 10);
  EXPECT_EQ(s().score, 90);
  EXPECT_EQ(Scarecrow::money(), 10);
}

TEST_F(ScarecrowTest, PickUpReachIsAStrictDiamond) {
  struct Case {
    float dx;
    float dy;
    bool taken;
  };
  const Case cases[] = {{12, 12, false},   {20, 0, true},   {15, 15, false},
                        {0, -23.5f, true}, {-24, 0, false}, {-11, 12.5f, true}};
  int expectedMoney = 0;
  for (const Case& c : cases) {
    clearPlayedClips();
    EXPECT_EQ(Scarecrow::tryPickUp(320 + c.dx, 240 + c.dy), c.taken) << c.dx << "," << c.dy;
    expectedMoney += c.taken ? 50 : 0;
    EXPECT_EQ(s().money, expectedMoney);
    EXPECT_EQ(s().score, expectedMoney);
    EXPECT_EQ(countPlayed("sound\\corn_get.wav"), c.taken ? 1 : 0);
  }
}

TEST_F(ScarecrowTest, PowerDownAtTheFloorsOnlyPlaysTheSound) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    seedRandom(seed);
    clearPlayedClips();
    Scarecrow::powerDown();
    EXPECT_EQ(countPlayed("sound\\powerdown.wav"), 1);
  }
  EXPECT_EQ(s().booRange, 40);
  EXPECT_EQ(s().booLetters, 2);
  EXPECT_FLOAT_EQ(s().maxBreath, 32);
  EXPECT_FLOAT_EQ(s().maxSpeed, 1);
}

TEST_F(ScarecrowTest, PowerDownLowersTheDrawnUpgrade) {
  bool seen[5] = {};
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    seedRandom(seed);
    const int drawn = randomInt(5);
    s().booRange = 100;
    s().booLetters = 8;
    s().maxBreath = 256;
    s().breath = 256;
    s().maxSpeed = 4;
    seedRandom(seed);
    Scarecrow::powerDown();
    seen[drawn] = true;
    EXPECT_EQ(s().booRange, drawn == 0 ? 90 : 100);
    EXPECT_EQ(s().booLetters, drawn == 1 ? 7 : 8);
    EXPECT_FLOAT_EQ(s().maxBreath, drawn == 2 ? 224 : 256);
    EXPECT_FLOAT_EQ(s().maxSpeed, drawn == 3 ? 3 : 4);
    EXPECT_FLOAT_EQ(s().breath, 256);
  }
  for (bool outcome : seen) EXPECT_TRUE(outcome);
}

TEST_F(ScarecrowTest, BreathAboveTheCapacityIsKeptUntilSpent) {
  s().maxBreath = 32;
  s().breath = 64;  // left by a power-down from 64
  for (int i = 0; i < 10; ++i) Scarecrow::update();
  EXPECT_FLOAT_EQ(s().breath, 64);
  press(vkControl);
  for (int i = 0; i < 6; ++i) Scarecrow::update();
  EXPECT_FLOAT_EQ(s().breath, 48);
  Scarecrow::update();
  EXPECT_FLOAT_EQ(s().breath, 48);  // still above the capacity: no recovery

  s().breath = 31.9f;
  Scarecrow::update();
  EXPECT_FLOAT_EQ(s().breath, 32);  // recovery stops at the capacity
}

TEST_F(ScarecrowTest, TheShoutFanLeavesFromTheFeetInTheFacingDirection) {
  s().direction = 4;
  s().facing = 180;
  s().x = 200;
  s().y = 300;
  press(vkControl);
  for (int i = 0; i < 6; ++i) Scarecrow::update();
  ASSERT_EQ(BooShout::countInUse(), 3);
  for (int i = 0; i < 3; ++i) {
    const ShoutParticle& p = BooShout::particle(i);
    EXPECT_NEAR(p.angle, 165 + 10 * i, 1e-4f);
    EXPECT_LT(p.vx, 0);  // heading left
  }
  EXPECT_EQ(BooShout::particle(2).kind, ShoutParticleKind::LetterB);
}

TEST_F(ScarecrowTest, DrawQueuesTheFrameOfTheAnimationAndAShadow) {
  DrawQueue::load();
  worldLight = 0.5f;
  struct Case {
    AnimMode mode;
    uint8_t animTick;
    int frame;
  };
  // Idle shows frame 0; walk and action frames come from their tables.
  const Case cases[] = {{AnimMode::Idle, 9, 0},  {AnimMode::Walk, 4, 2}, {AnimMode::Walk, 14, 3},
                        {AnimMode::Walk, 27, 0}, {AnimMode::Act, 2, 6},  {AnimMode::Act, 11, 5}};
  for (const Case& c : cases) {
    s().animMode = c.mode;
    s().animTick = c.animTick;
    s().direction = 3;
    s().x = 111;
    s().y = 222;
    DrawQueue::reset();
    Scarecrow::draw();
    const std::vector<DrawEntry> entries = queued();
    ASSERT_EQ(entries.size(), 2u);
    const DrawEntry& shadow = entries[0];
    const DrawEntry& figure = entries[1];
    EXPECT_EQ(shadow.kind, DrawKind::Shadow);
    EXPECT_FLOAT_EQ(shadow.width, 64);
    EXPECT_FLOAT_EQ(shadow.x, 111);
    EXPECT_EQ(figure.kind, DrawKind::Sprite);
    EXPECT_EQ(figure.sprite, Scarecrow::frameSprite(3, c.frame)) << int(c.animTick);
    EXPECT_NE(figure.sprite, nullptr);
    EXPECT_FLOAT_EQ(figure.x, 111);
    EXPECT_FLOAT_EQ(figure.y, 222);
    EXPECT_FLOAT_EQ(figure.elevation, 0);
    EXPECT_FLOAT_EQ(figure.width, 200);
    EXPECT_FLOAT_EQ(figure.height, 200);
    EXPECT_FLOAT_EQ(figure.tint, 0.5f);
    EXPECT_FLOAT_EQ(figure.alpha, 1);
  }
  DrawQueue::unload();
  worldLight = 0;
}

}  // namespace
