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
    DayDirector::resetForTests();
    KeyState::clearAll();
    loadWorld();
    for (int i = 0; i < 1000 && !DayCycle::isDayRunning(); ++i) playTick();
    ASSERT_TRUE(DayCycle::isDayRunning());
    clearPlayedClips();
  }
  void TearDown() override {
    unloadWorld();
    KeyState::clearAll();
  }
  static void updates(int n) {
    for (int i = 0; i < n; ++i) OogaBooga::update();
  }
};

TEST_F(OogaBoogaTest, TheWordsFlyFromTheStartToTheScreenCentreGrowingForSixtyUpdates) {
  struct Case {
    float x, y, stepX, stepOogaY, stepBoogaY;
  };
  // From the scarecrow's day-start place they only move vertically.
  const Case cases[] = {{320, 240, 0, -140.0f / 60, 140.0f / 60},
                        {10, 480, 310.0f / 60, -380.0f / 60, -100.0f / 60}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    OogaBooga::end();
    clearPlayedClips();
    OogaBooga::start(c.x, c.y);
    const OogaBoogaState& s = OogaBooga::state();
    EXPECT_EQ(make_tuple(OogaBooga::isActive(), OogaBooga::holdsResources(), countPlayed(powerClip), s.scale,
                         int(s.ticks), s.oogaY, s.boogaY),
              make_tuple(true, true, 1, 0.0f, 0, c.y, c.y));
    EXPECT_FLOAT_EQ(s.stepX, c.stepX);
    EXPECT_FLOAT_EQ(s.stepOogaY, c.stepOogaY);
    EXPECT_FLOAT_EQ(s.stepBoogaY, c.stepBoogaY);
    updates(1);
    EXPECT_FLOAT_EQ(s.scale, 1.0f / 60.0f);
    updates(58);
    EXPECT_LT(s.scale, 0.99f);
    updates(1);
    EXPECT_NEAR(s.scale, 1.0f, 1e-5f);
    EXPECT_NEAR(s.oogaX, 320.0f, 1e-3f);
    EXPECT_NEAR(s.oogaY, 100.0f, 1e-3f);
    EXPECT_NEAR(s.boogaY, 380.0f, 1e-3f);
    EXPECT_EQ(make_tuple(int(s.ticks), OogaBooga::isActive(), OogaBooga::holdsResources()),
              make_tuple(60, true, true));
  }
  const OogaBoogaState& s = OogaBooga::state();
  updates(1);
  // Over on the sixty-first update, its pictures and sound gone; further calls change nothing.
  EXPECT_FALSE(OogaBooga::isActive() || OogaBooga::holdsResources());
  const float oogaX = s.oogaX;
  updates(3);
  OogaBooga::end();
  OogaBooga::draw();
  EXPECT_EQ(s.oogaX, oogaX);
  EXPECT_EQ(countPlayed(powerClip), 1);
}

// How each family reacts is the families' own business; here: all three at the start, only once.
TEST_F(OogaBoogaTest, ScaresWhatIsOnTheFieldAtTheStartAndNothingThatArrivesLater) {
  PelicanFlock::spawn(true);
  CowHerd::spawn(true);
  CrowFlock::spawn(true);
  const float cowAngle = CowHerd::cow(0).angle;
  clearPlayedClips();
  OogaBooga::start(320.0f, 240.0f);
  EXPECT_NE(CowHerd::cow(0).angle, cowAngle);
  EXPECT_EQ(
      make_tuple(PelicanFlock::pelican(0).state, CrowFlock::crow(0).state, int(CowHerd::cow(0).mooCooldown),
                 Scarecrow::money(), countPlayed("sound\\cow_mooga.wav")),
      make_tuple(PelicanState::Fleeing, CrowState::Fleeing, 60, 50 + 10, 1));

  // Newcomers during the power, ticked along with everything else as the driver does.
  PelicanFlock::spawn(true);
  CowHerd::spawn(true);
  const float lateCowAngle = CowHerd::cow(1).angle;
  for (int tick = 0; tick < 61; ++tick) {
    OogaBooga::update();
    CrowFlock::tick();
    PelicanFlock::tick();
    CowHerd::tick();
  }
  ASSERT_FALSE(OogaBooga::isActive());
  EXPECT_EQ(make_tuple(PelicanFlock::pelican(1).state == PelicanState::Fleeing, CowHerd::cow(1).angle,
                       int(CowHerd::cow(1).mooCooldown), countPlayed("sound\\peli_fear.wav"),
                       countPlayed("sound\\cow_mooga.wav")),
            make_tuple(false, lateCowAngle, 0, 1, 1));
}

TEST_F(OogaBoogaTest, OnlyTheCreaturesTheDayCycleAndTheHudMoveWhileItRuns) {
  ScarecrowState& sc = Scarecrow::state();
  sc.money = 500;
  sc.breath = 10.0f;
  const uint8_t masks = sc.masks;
  ASSERT_GT(masks, 0);
  CornStalk& withering = CornField::stalk(0);
  withering.ears = 0;
  PelicanFlock::spawn(true);
  CowHerd::spawn(true);
  CrowFlock::spawn(true);
  BooShout::spawn(ShoutParticleKind::LetterO, 40.0f, 60.0f, 0.0f);
  BooShout::spawn(ShoutParticleKind::DroppedCorn, 40.0f, 450.0f, 0.0f);

  KeyState::keyDown(vkShift);
  KeyState::keyUp(vkShift);
  playTick();  // the press is read and a charge spent
  EXPECT_EQ(make_tuple(int(sc.masks), sc.action), make_tuple(masks - 1, ScarecrowAction::Ooga));
  for (int i = 0; i < 4; ++i) playTick();
  EXPECT_FALSE(OogaBooga::isActive());
  playTick();  // five ticks later, the action's fifth
  ASSERT_TRUE(OogaBooga::isActive());
  EXPECT_EQ(make_tuple(PelicanFlock::pelican(0).state, CrowFlock::crow(0).state),
            make_tuple(PelicanState::Fleeing, CrowState::Fleeing));

  const ScarecrowState frozen = sc;
  const ShoutParticle letter = BooShout::particle(0);
  const ShoutParticle ear = BooShout::particle(1);
  const int8_t stage = withering.stage;
  const int ticksToday = DayDirector::ticksToday();
  const int countdown = DayDirector::spawnCountdown();
  const Pelican pelican = PelicanFlock::pelican(0);
  const Cow cow = CowHerd::cow(0);
  const Crow crow = CrowFlock::crow(0);
  const int32_t shownMoney = Hud::shownMoney();
  ASSERT_LT(shownMoney, sc.money);

  for (int tick = 1; tick <= 61; ++tick) {
    EXPECT_TRUE(OogaBooga::isActive()) << "tick " << tick;
    if (tick == 10) KeyState::keyDown(vkControl);
    playTick();
    EXPECT_EQ(make_tuple(sc.x, sc.y, sc.animTick, sc.breath, BooShout::particle(0).x,
                         BooShout::particle(0).life, BooShout::particle(1).height, BooShout::particle(1).life,
                         withering.stage, DayDirector::ticksToday(), DayDirector::spawnCountdown()),
              make_tuple(frozen.x, frozen.y, frozen.animTick, frozen.breath, letter.x, letter.life,
                         ear.height, ear.life, stage, ticksToday, countdown))
        << "tick " << tick;
  }
  EXPECT_FALSE(OogaBooga::isActive());
  EXPECT_EQ(sc.animTick, 5) << "the scarecrow waited on its action's fifth tick";
  EXPECT_NE(PelicanFlock::pelican(0).x + PelicanFlock::pelican(0).y, pelican.x + pelican.y);
  EXPECT_NE(CowHerd::cow(0).x + CowHerd::cow(0).y, cow.x + cow.y);
  EXPECT_NE(CrowFlock::crow(0).x + CrowFlock::crow(0).y, crow.x + crow.y);
  EXPECT_GT(Hud::shownMoney(), shownMoney);
  EXPECT_NE(KeyState::rawByte(vkControl) & 2, 0) << "a press made meanwhile waits unread";

  playTick();  // the world runs again
  EXPECT_EQ(make_tuple(int(sc.animTick), DayDirector::ticksToday()), make_tuple(6, ticksToday + 1));
  EXPECT_NE(BooShout::particle(0).x, letter.x);
  KeyState::keyUp(vkControl);

  // Releasing the world (Escape to the title) while the power runs leaves it over and empty-handed.
  OogaBooga::start(sc.x, sc.y);
  playTick();
  ASSERT_TRUE(OogaBooga::isActive());
  unloadWorld();
  OogaBooga::draw();
  OogaBooga::update();
  EXPECT_FALSE(OogaBooga::isActive() || OogaBooga::holdsResources());
}

}  // namespace
