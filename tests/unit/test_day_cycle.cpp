// The dawn intro of a day, its light and clip, the day title and banners, and the game-over fade.
#include <gtest/gtest.h>

#include "days/day_cycle.h"
#include "days/day_director.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "scarecrow/scarecrow.h"
#include "screen_test_helpers.h"
#include "screens/screen_machine.h"
#include "shell/key_state.h"
#include "test_support.h"

namespace {

using screentest::Frame;
using screentest::render;

constexpr int roosterTicks = 65;
constexpr int sunriseTicks = 121;
constexpr int titleInTicks = 10;
constexpr int holdTicks = 60;
constexpr int introTicks = roosterTicks + sunriseTicks + titleInTicks + holdTicks;

class DayCycleTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { gameStartup(nullptr); }
  static void TearDownTestSuite() { gameShutdown(); }

  void SetUp() override {
    DayDirector::resetForTests();
    KeyState::clearAll();
    clearPlayedClips();
  }
  void TearDown() override { DayCycle::unload(); }

  static void ticks(int n) {
    for (int i = 0; i < n; ++i) DayCycle::tick();
  }

  static int ticksUntilPhaseChanges() {
    const DayPhase start = DayCycle::phase();
    int n = 0;
    while (DayCycle::phase() == start && n < 1000) {
      DayCycle::tick();
      ++n;
    }
    return n;
  }
};

// The director reaches shown day 5 (pelicans) and shown day 10 (cows) only by playing days; a turned-back
// day lasts 300 ticks, which keeps this short.
class SpecialDayTest : public DayCycleTest {
 protected:
  void SetUp() override {
    DayCycleTest::SetUp();
    CrowFlock::load();
    PelicanFlock::load();
    CowHerd::load();
  }
  void TearDown() override {
    screentest::freeAllCreatures();
    CrowFlock::unload();
    PelicanFlock::unload();
    CowHerd::unload();
    DayCycleTest::TearDown();
  }

  static void reachScurvyDay() {
    DayDirector::stepStartingDay();  // index 10
    DayDirector::beginGame();
    DayDirector::startDay();
    DayDirector::turnBackTime();  // index 3, a short day
    ASSERT_TRUE(screentest::advanceDay());
    ASSERT_EQ(DayDirector::day(), 4);
    ASSERT_EQ(DayDirector::kind(), DayKind::Scurvy);
  }

  static void reachMoomaniaDay() {
    DayDirector::stepStartingDay();
    DayDirector::stepStartingDay();  // index 20
    DayDirector::beginGame();
    DayDirector::startDay();
    DayDirector::turnBackTime();  // 13
    ASSERT_TRUE(screentest::advanceDay());
    DayDirector::turnBackTime();  // 14 -> 7
    ASSERT_TRUE(screentest::advanceDay());
    ASSERT_TRUE(screentest::advanceDay());
    ASSERT_EQ(DayDirector::day(), 9);
    ASSERT_EQ(DayDirector::kind(), DayKind::Moomania);
  }
};

TEST_F(DayCycleTest, LoadStartsTheIntroFromDawn) {
  DayCycle::load(0);
  EXPECT_TRUE(DayCycle::isLoaded());
  EXPECT_EQ(DayCycle::phase(), DayPhase::RoosterRise);
  EXPECT_EQ(DayCycle::shownDay(), 1);
  EXPECT_FLOAT_EQ(DayCycle::roosterY(), 736.0f);
  EXPECT_FLOAT_EQ(DayCycle::sunY(), 736.0f);
  EXPECT_FLOAT_EQ(DayCycle::lightLevel(), 0.2f);
  EXPECT_FLOAT_EQ(DayCycle::titleAlpha(), 0.0f);
  EXPECT_FALSE(DayCycle::isDayRunning());
}

TEST_F(DayCycleTest, PhasesLast65_121_10_And60Ticks) {
  DayCycle::load(0);
  EXPECT_EQ(ticksUntilPhaseChanges(), roosterTicks);
  EXPECT_EQ(DayCycle::phase(), DayPhase::SunRise);
  EXPECT_EQ(ticksUntilPhaseChanges(), sunriseTicks);
  EXPECT_EQ(DayCycle::phase(), DayPhase::DayTitleIn);
  EXPECT_EQ(ticksUntilPhaseChanges(), titleInTicks);
  EXPECT_EQ(DayCycle::phase(), DayPhase::DayTitleHold);
  EXPECT_EQ(ticksUntilPhaseChanges(), holdTicks);
  EXPECT_EQ(DayCycle::phase(), DayPhase::DayRunning);
  ticks(5000);  // the last phase lasts until the next load
  EXPECT_EQ(DayCycle::phase(), DayPhase::DayRunning);
}

TEST_F(DayCycleTest, WorldFirstMovesOnTick257) {
  DayCycle::load(0);
  ticks(introTicks - 1);
  EXPECT_FALSE(DayCycle::isDayRunning());  // the driver's tick 256 still sees the intro
  DayCycle::tick();
  EXPECT_TRUE(DayCycle::isDayRunning());  // so tick 257 is the first to move the world
}

TEST_F(DayCycleTest, RoosterStopsAtTheBottomEdgeThenSinks) {
  DayCycle::load(0);
  ticks(roosterTicks - 1);
  EXPECT_FLOAT_EQ(DayCycle::roosterY(), 480.0f);  // 736 - 64 * 4: not yet below the edge
  EXPECT_EQ(DayCycle::phase(), DayPhase::RoosterRise);
  DayCycle::tick();
  EXPECT_FLOAT_EQ(DayCycle::roosterY(), 480.0f);  // 476 is put back on the edge
  ticks(sunriseTicks);
  EXPECT_FLOAT_EQ(DayCycle::roosterY(), 480.0f);  // still while the sun rises
  ticks(titleInTicks + holdTicks);
  EXPECT_FLOAT_EQ(DayCycle::roosterY(), 480.0f + 4.0f * (titleInTicks + holdTicks));
}

TEST_F(DayCycleTest, LightRisesFromTheSunrisesThirtyNinthTickToFullOnTheFiftyFourth) {
  DayCycle::load(0);
  ticks(roosterTicks);
  for (int t = 1; t <= 38; ++t) {
    DayCycle::tick();
    ASSERT_FLOAT_EQ(DayCycle::lightLevel(), 0.2f) << "sunrise tick " << t;
  }
  EXPECT_GE(DayCycle::sunY(), 300.0f);
  DayCycle::tick();  // 39: the sun has passed above y = 300
  EXPECT_LT(DayCycle::sunY(), 300.0f);
  EXPECT_NEAR(DayCycle::lightLevel(), 0.25f, 1e-6f);
  ticks(53 - 39);
  EXPECT_LT(DayCycle::lightLevel(), 0.99f);
  DayCycle::tick();  // 54
  const float full = DayCycle::lightLevel();
  EXPECT_NEAR(full, 1.0f, 1e-5f);
  ticks(sunriseTicks - 54 + titleInTicks + holdTicks + 20);
  EXPECT_EQ(DayCycle::lightLevel(), full);  // never raised again
}

TEST_F(DayCycleTest, SunOvershootsThenSettlesForTheTitle) {
  DayCycle::load(0);
  ticks(roosterTicks);
  float highest = DayCycle::sunY();
  for (int t = 0; t < sunriseTicks; ++t) {
    DayCycle::tick();
    if (DayCycle::sunY() < highest) highest = DayCycle::sunY();
  }
  EXPECT_FLOAT_EQ(highest, 132.25f);
  EXPECT_EQ(DayCycle::phase(), DayPhase::DayTitleIn);
  EXPECT_FLOAT_EQ(DayCycle::sunY(), 261.5f);
  ticks(titleInTicks);
  EXPECT_FLOAT_EQ(DayCycle::sunY(), 251.5f);
  for (int t = 0; t < holdTicks; ++t) {
    DayCycle::tick();
    ASSERT_FLOAT_EQ(DayCycle::sunY(), 251.5f);
  }
  EXPECT_FLOAT_EQ(DayCycle::sunVelocity(), 10.0f);
  ticks(10);
  EXPECT_FLOAT_EQ(DayCycle::sunY(), 251.5f + 45.0f);  // sinks first
  for (int t = 0; t < 100 && DayCycle::sunY() > -128.0f; ++t) DayCycle::tick();
  EXPECT_LT(DayCycle::sunY(), -128.0f);  // then leaves through the top
  ticks(200);
  EXPECT_LT(DayCycle::sunY(), -128.0f);
}

TEST_F(DayCycleTest, SunAngleShows360OnceBeforeWrapping) {
  DayCycle::load(0);
  for (int t = 1; t <= 180; ++t) {
    DayCycle::tick();
    ASSERT_FLOAT_EQ(DayCycle::sunAngle(), 2.0f * t);
  }
  DayCycle::tick();
  EXPECT_FLOAT_EQ(DayCycle::sunAngle(), 2.0f);
}

TEST_F(DayCycleTest, TitleFadesInHoldsAndFadesOutWhenTheDayRuns) {
  DayCycle::load(0);
  ticks(roosterTicks + sunriseTicks);
  EXPECT_FLOAT_EQ(DayCycle::titleAlpha(), 0.0f);
  ticks(titleInTicks);
  EXPECT_EQ(DayCycle::titleAlpha(), 1.0f);  // set exactly, not left at 1.0000001
  ticks(holdTicks);
  EXPECT_EQ(DayCycle::titleAlpha(), 1.0f);
  ticks(5);
  EXPECT_NEAR(DayCycle::titleAlpha(), 0.5f, 1e-5f);
  ticks(20);
  EXPECT_LE(DayCycle::titleAlpha(), 1e-5f);
  EXPECT_GT(DayCycle::titleAlpha(), -0.1f);  // stops once at or below 0
}

TEST_F(DayCycleTest, OrdinaryDayPlaysTheRoosterWhenItReachesTheEdge) {
  DayDirector::startDay();
  ASSERT_EQ(DayDirector::kind(), DayKind::Ordinary);
  DayCycle::load(DayDirector::day());
  clearPlayedClips();
  ticks(roosterTicks - 1);
  EXPECT_TRUE(playedClips().empty());
  DayCycle::tick();
  EXPECT_EQ(countPlayed("sound\\rooster.wav"), 1);
  EXPECT_EQ(playedClips().size(), 1u);
  ticks(introTicks);
  EXPECT_EQ(playedClips().size(), 1u);  // once per day
}

TEST_F(SpecialDayTest, ScurvyDayPlaysItsOwnClip) {
  reachScurvyDay();
  DayCycle::load(DayDirector::day());
  EXPECT_EQ(DayCycle::shownDay(), 5);
  clearPlayedClips();
  ticks(roosterTicks);
  EXPECT_EQ(countPlayed("sound\\scurvy.wav"), 1);
  EXPECT_EQ(countPlayed("sound\\rooster.wav"), 0);
  EXPECT_EQ(countPlayed("sound\\mania.wav"), 0);
}

TEST_F(SpecialDayTest, MoomaniaDayPlaysItsOwnClip) {
  reachMoomaniaDay();
  DayCycle::load(DayDirector::day());
  EXPECT_EQ(DayCycle::shownDay(), 10);
  clearPlayedClips();
  ticks(roosterTicks);
  EXPECT_EQ(countPlayed("sound\\mania.wav"), 1);
  EXPECT_EQ(countPlayed("sound\\rooster.wav"), 0);
  EXPECT_EQ(countPlayed("sound\\scurvy.wav"), 0);
}

// The banner sits at (320, 300), 256 x 64; the rest of the overlay is the same for every kind.
// Its top 22 rows share the band with the day number, which differs between the days compared.
constexpr int bannerLeft = 192, bannerTop = 290, bannerRight = 448, bannerBottom = 332;

Frame holdFrameForCurrentDay() {
  DayCycle::load(DayDirector::day());
  for (int i = 0; i < roosterTicks + sunriseTicks + titleInTicks + 10; ++i) DayCycle::tick();
  return render([] { DayCycle::draw(); });
}

TEST_F(SpecialDayTest, EachKindShowsItsBannerAndOrdinaryDaysNone) {
  DayDirector::startDay();
  const Frame ordinary = holdFrameForCurrentDay();
  reachScurvyDay();
  const Frame scurvy = holdFrameForCurrentDay();
  DayDirector::resetForTests();
  reachMoomaniaDay();
  const Frame moomania = holdFrameForCurrentDay();

  // Shown days 1, 5 and 10 differ in their number too; compare only the banner band and the sun's
  // left and right, which no number reaches.
  EXPECT_GT(screentest::maxDifference(ordinary, scurvy, bannerLeft, bannerTop, bannerRight, bannerBottom),
            64);
  EXPECT_GT(screentest::maxDifference(ordinary, moomania, bannerLeft, bannerTop, bannerRight, bannerBottom),
            64);
  EXPECT_GT(screentest::maxDifference(scurvy, moomania, bannerLeft, bannerTop, bannerRight, bannerBottom),
            64);
  EXPECT_LE(screentest::maxDifference(ordinary, scurvy, 0, 340, 640, 480), 2);
  EXPECT_LE(screentest::maxDifference(ordinary, moomania, 0, 340, 640, 480), 2);
}

TEST_F(DayCycleTest, TitleRightEdgeMovesLeftAsTheNumberGrows) {
  const struct {
    int index;
    float x;
  } cases[] = {
      {0, 360.0f},  {8, 360.0f},   {9, 338.0f},   {98, 338.0f},
      {99, 316.0f}, {255, 316.0f}, {998, 316.0f}, {999, 294.0f},
  };
  for (const auto& c : cases) {
    DayCycle::load(c.index);
    EXPECT_EQ(DayCycle::shownDay(), c.index + 1);
    EXPECT_FLOAT_EQ(DayCycle::titleX(), c.x) << "shown day " << c.index + 1;
  }
}

TEST_F(DayCycleTest, ReloadMidIntroStartsTheNewDayFromDawn) {
  DayCycle::load(0);
  ticks(roosterTicks + 100);  // deep in the sunrise: its counter must start over
  DayCycle::load(1);
  EXPECT_EQ(DayCycle::shownDay(), 2);
  EXPECT_FLOAT_EQ(DayCycle::lightLevel(), 0.2f);
  EXPECT_FLOAT_EQ(DayCycle::sunAngle(), 0.0f);
  EXPECT_EQ(ticksUntilPhaseChanges(), roosterTicks);
  EXPECT_EQ(ticksUntilPhaseChanges(), sunriseTicks);
  EXPECT_EQ(ticksUntilPhaseChanges(), titleInTicks);
  ticks(30);  // halfway through the hold: its counter too
  DayCycle::load(2);
  ticks(roosterTicks + sunriseTicks + titleInTicks);
  EXPECT_EQ(ticksUntilPhaseChanges(), holdTicks);
  EXPECT_FLOAT_EQ(DayCycle::sunVelocity(), 10.0f);
}

TEST_F(DayCycleTest, UnloadTwiceAndTickWhileUnloadedAreHarmless) {
  DayCycle::load(0);
  DayCycle::unload();
  DayCycle::unload();
  EXPECT_FALSE(DayCycle::isLoaded());
  ticks(roosterTicks);  // no clip to play: silent, no crash
  const Frame frame = render([] {
    DayCycle::draw();
    DayCycle::drawGameOver();
  });
  EXPECT_EQ(frame.brightness(0, 0, 640, 480), 0);
}

TEST_F(DayCycleTest, GameOverFadesTheLightInAboutAHundredTicks) {
  DayCycle::load(0);
  ticks(introTicks + 40);
  const float angle = DayCycle::sunAngle();
  const DayPhase phase = DayCycle::phase();
  DayCycle::tickGameOver();
  EXPECT_NEAR(DayCycle::lightLevel(), 0.99f, 1e-5f);
  EXPECT_FLOAT_EQ(DayCycle::sunAngle(), angle + 2.0f);  // the sun keeps spinning
  for (int t = 0; t < 94; ++t) DayCycle::tickGameOver();
  EXPECT_GT(DayCycle::lightLevel(), 0.04f);
  for (int t = 0; t < 10; ++t) DayCycle::tickGameOver();
  EXPECT_LE(DayCycle::lightLevel(), 1e-4f);
  for (int t = 0; t < 100; ++t) DayCycle::tickGameOver();
  EXPECT_GT(DayCycle::lightLevel(), -0.0101f);  // stops once it reaches black
  EXPECT_EQ(DayCycle::phase(), phase);
}

TEST_F(DayCycleTest, RoosterTakesTheDayLight) {
  DayCycle::load(0);
  ticks(roosterTicks + 1);  // rooster at the bottom edge, light 0.2
  ASSERT_FLOAT_EQ(DayCycle::lightLevel(), 0.2f);
  const Frame dim = render([] { DayCycle::draw(); });
  ticks(60);  // rooster still at the edge, light full
  ASSERT_NEAR(DayCycle::lightLevel(), 1.0f, 1e-5f);
  ASSERT_FLOAT_EQ(DayCycle::roosterY(), 480.0f);
  const Frame bright = render([] { DayCycle::draw(); });
  // Rooster: x 0..180, y 300..480; the sun never reaches x < 192.
  const long dimRooster = dim.brightness(0, 300, 180, 480);
  const long brightRooster = bright.brightness(0, 300, 180, 480);
  EXPECT_GT(dimRooster, 0);
  EXPECT_GT(brightRooster, 3 * dimRooster);
  EXPECT_LT(brightRooster, 6 * dimRooster);
}

TEST_F(DayCycleTest, GameOverOverlayStaysBrightWhileTheLightFades) {
  Scarecrow::state().score = 123456;
  DayCycle::load(11);
  ticks(introTicks);  // full light
  const float startAngle = DayCycle::sunAngle();
  const Frame before = render([] { DayCycle::drawGameOver(); });
  const float lightBefore = DayCycle::lightLevel();
  for (int t = 0; t < 180; ++t) DayCycle::tickGameOver();
  ASSERT_FLOAT_EQ(DayCycle::sunAngle(), startAngle);
  ASSERT_NEAR(lightBefore, 1.0f, 1e-5f);
  ASSERT_LE(DayCycle::lightLevel(), 1e-4f);  // the world beneath is black by now
  const Frame after = render([] { DayCycle::drawGameOver(); });
  EXPECT_GT(before.brightness(0, 0, 640, 480), 0);
  EXPECT_LE(screentest::maxDifference(before, after, 0, 0, 640, 480), 1);
  Scarecrow::state().score = 0;
}

TEST_F(DayCycleTest, GameOverOverlayShowsTheScore) {
  DayCycle::load(0);
  Scarecrow::state().score = 0;
  const Frame zero = render([] { DayCycle::drawGameOver(); });
  Scarecrow::state().score = 987654;
  const Frame high = render([] { DayCycle::drawGameOver(); });
  Scarecrow::state().score = 0;
  EXPECT_GT(screentest::maxDifference(zero, high, 0, 0, 640, 480), 64);
}

}  // namespace
