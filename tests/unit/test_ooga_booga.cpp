#include <gtest/gtest.h>

#include <tuple>

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "days/hud.h"
#include "field/corn_field.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow.h"
#include "scarecrow/scarecrow_testing.h"
#include "screens/play_screen.h"
#include "shell/key_state.h"
#include "test_support.h"

namespace {
using std::make_tuple;
const char* const powerClip = "sound\\oogabooga.wav";

// The whole Play world, past the dawn; tests drive the power or the world tick by tick.
class OogaBoogaTest : public testing::Test {
 protected:
  void SetUp() override {
    for (auto step : {DayDirector::resetForTests, KeyState::clearAll, loadWorld}) step();
    for (int i = 0; i < 1000 && !DayCycle::isDayRunning(); ++i) playTick();
    ASSERT_TRUE(DayCycle::isDayRunning());
    clearPlayedClips();
  }
  void TearDown() override {
    for (auto step : {unloadWorld, KeyState::clearAll}) step();
  }
};

TEST_F(OogaBoogaTest, TheWordsFlyFromTheStartToTheScreenCentreGrowingForSixtyUpdates) {
  const OogaBoogaState& s = OogaBooga::state();
  // From the scarecrow's day-start place they only move vertically.
  for (const auto& [x, y, stepX, stepOogaY, stepBoogaY] :
       {std::tuple{320.0f, 240.0f, 0.0f, -140.0f / 60, 140.0f / 60},
        {10.0f, 480.0f, 310.0f / 60, -380.0f / 60, -100.0f / 60}}) {
    OogaBooga::end();
    clearPlayedClips();
    OogaBooga::start(x, y);
    EXPECT_EQ(make_tuple(OogaBooga::isActive(), OogaBooga::holdsResources(), countPlayed(powerClip), s.scale,
                         int(s.ticks), s.oogaY, s.boogaY, s.stepX, s.stepOogaY, s.stepBoogaY),
              make_tuple(true, true, 1, 0.0f, 0, y, y, stepX, stepOogaY, stepBoogaY));
    OogaBooga::update();
    EXPECT_FLOAT_EQ(s.scale, 1.0f / 60.0f);
    for (int i = 0; i < 59; ++i) OogaBooga::update();
    EXPECT_NEAR(s.scale, 1.0f, 1e-5f);
    EXPECT_NEAR(s.oogaX, 320.0f, 1e-3f);
    EXPECT_NEAR(s.oogaY, 100.0f, 1e-3f);
    EXPECT_NEAR(s.boogaY, 380.0f, 1e-3f);
    EXPECT_EQ(make_tuple(int(s.ticks), OogaBooga::isActive(), OogaBooga::holdsResources()),
              make_tuple(60, true, true));
  }
  OogaBooga::update();
  // Over on the sixty-first update, its pictures and sound gone; further calls change nothing.
  EXPECT_FALSE(OogaBooga::isActive() || OogaBooga::holdsResources());
  const float oogaX = s.oogaX;
  for (int i = 0; i < 3; ++i) OogaBooga::update();
  OogaBooga::end();
  OogaBooga::draw();
  EXPECT_EQ(make_tuple(s.oogaX, countPlayed(powerClip)), make_tuple(oogaX, 1));
}

// How each family reacts is the families' own business; here: all three at the start, only once.
TEST_F(OogaBoogaTest, ScaresWhatIsThereAtTheStartAndOnlyTheCreaturesTheDayCycleAndTheHudMoveWhileItRuns) {
  ScarecrowState& sc = Scarecrow::testing::state();
  sc.money = 500, sc.breath = 10.0f;
  CornStalk& withering = CornField::stalk(0);
  withering.ears = 0;
  for (auto spawn : {PelicanFlock::spawn, CowHerd::spawn, CrowFlock::spawn}) spawn(true);
  BooShout::spawn(ShoutParticleKind::LetterO, 40.0f, 60.0f, 0.0f);
  BooShout::spawn(ShoutParticleKind::DroppedCorn, 40.0f, 450.0f, 0.0f);
  KeyState::keyDown(vkShift);
  for (int i = 0; i < 5; ++i) playTick();  // the press is read, then four ticks of the action
  EXPECT_FALSE(OogaBooga::isActive());
  const float cowAngle = CowHerd::cow(0).angle;
  clearPlayedClips();
  playTick();  // the action's fifth; the cow then counts one tick of its new cooldown
  ASSERT_TRUE(OogaBooga::isActive());
  EXPECT_NE(CowHerd::cow(0).angle, cowAngle);
  EXPECT_EQ(make_tuple(PelicanFlock::pelican(0).state, CrowFlock::crow(0).state,
                       int(CowHerd::cow(0).mooCooldown), sc.money, countPlayed("sound\\cow_mooga.wav")),
            make_tuple(PelicanState::Fleeing, CrowState::Fleeing, 59, 500 + 50 + 10, 1));

  const ScarecrowState frozen = sc;
  const ShoutParticle letter = BooShout::particle(0), ear = BooShout::particle(1);
  const int8_t stage = withering.stage;
  const int ticksToday = DayDirector::ticksToday(), countdown = DayDirector::spawnCountdown();
  const Pelican pelican = PelicanFlock::pelican(0);
  const Cow cow = CowHerd::cow(0);
  const Crow crow = CrowFlock::crow(0);
  const int32_t shownMoney = Hud::shownMoney();
  ASSERT_LT(shownMoney, sc.money);
  PelicanFlock::spawn(true);  // newcomers during the power are left alone
  CowHerd::spawn(true);
  const float lateCowAngle = CowHerd::cow(1).angle;
  KeyState::keyDown(vkControl);
  for (int tick = 1; tick <= 61; ++tick) playTick();  // the power's last update ends it
  EXPECT_EQ(
      make_tuple(sc.x, sc.y, sc.animTick, sc.breath, BooShout::particle(0).x, BooShout::particle(0).life,
                 BooShout::particle(1).height, BooShout::particle(1).life, withering.stage,
                 DayDirector::ticksToday(), DayDirector::spawnCountdown()),
      make_tuple(frozen.x, frozen.y, uint8_t{5}, frozen.breath, letter.x, letter.life, ear.height, ear.life,
                 stage, ticksToday, countdown));  // the scarecrow waited on its action's fifth tick
  EXPECT_NE(PelicanFlock::pelican(0).x + PelicanFlock::pelican(0).y, pelican.x + pelican.y);
  EXPECT_NE(CowHerd::cow(0).x + CowHerd::cow(0).y, cow.x + cow.y);
  EXPECT_NE(CrowFlock::crow(0).x + CrowFlock::crow(0).y, crow.x + crow.y);
  EXPECT_GT(Hud::shownMoney(), shownMoney);
  EXPECT_NE(KeyState::rawByte(vkControl) & 2, 0) << "a press made meanwhile waits unread";
  EXPECT_EQ(make_tuple(CowHerd::cow(1).angle, int(CowHerd::cow(1).mooCooldown),
                       countPlayed("sound\\peli_fear.wav"), countPlayed("sound\\cow_mooga.wav")),
            make_tuple(lateCowAngle, 0, 1, 1));

  playTick();  // the world runs again
  EXPECT_EQ(make_tuple(int(sc.animTick), DayDirector::ticksToday()), make_tuple(6, ticksToday + 1));

  // Releasing the world (Escape to the title) while the power runs leaves it over and empty-handed.
  OogaBooga::start(sc.x, sc.y);
  unloadWorld();
  OogaBooga::draw();
  OogaBooga::update();
  EXPECT_FALSE(OogaBooga::isActive() || OogaBooga::holdsResources());
}

}  // namespace
