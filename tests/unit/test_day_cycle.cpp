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
  void TearDown() override {
    DayCycle::unload();
    Scarecrow::state().score = 0;
  }

  static void ticks(int n) {
    for (int i = 0; i < n; ++i) DayCycle::tick();
  }
  static void gameOverTicks(int n) {
    for (int i = 0; i < n; ++i) DayCycle::tickGameOver();
  }
  static int ticksUntilPhaseChanges() {
    const DayPhase start = DayCycle::phase();
    int n = 0;
    for (; DayCycle::phase() == start && n < 1000; ++n) DayCycle::tick();
    return n;
  }
  static Frame draw() {
    return render([] { DayCycle::draw(); });
  }
  static Frame drawGameOver() {
    return render([] { DayCycle::drawGameOver(); });
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
  static Frame holdFrameForCurrentDay() {
    DayCycle::load(DayDirector::day());
    ticks(roosterTicks + sunriseTicks + titleInTicks + 10);
    return draw();
  }
};

// One walk through the intro and into the day, tick by tick, checking the phase every tick and the
// rooster, sun, light and title at the ticks where they turn.
TEST_F(DayCycleTest, IntroTimeline) {
  DayCycle::load(0);
  EXPECT_TRUE(DayCycle::isLoaded());
  EXPECT_EQ(DayCycle::phase(), DayPhase::RoosterRise);
  EXPECT_EQ(DayCycle::shownDay(), 1);
  EXPECT_FLOAT_EQ(DayCycle::roosterY(), 736.0f);
  EXPECT_FLOAT_EQ(DayCycle::sunY(), 736.0f);
  EXPECT_FLOAT_EQ(DayCycle::lightLevel(), 0.2f);
  EXPECT_FLOAT_EQ(DayCycle::titleAlpha(), 0.0f);
  EXPECT_FALSE(DayCycle::isDayRunning());
  constexpr int sunUp = roosterTicks, titleIn = sunUp + sunriseTicks, hold = titleIn + titleInTicks;
  float highest = DayCycle::sunY(), full = 0.0f;
  for (int t = 1; t <= introTicks + 310; ++t) {
    DayCycle::tick();
    SCOPED_TRACE(testing::Message() << "tick " << t);
    const DayPhase phase = t < sunUp        ? DayPhase::RoosterRise
                           : t < titleIn    ? DayPhase::SunRise
                           : t < hold       ? DayPhase::DayTitleIn
                           : t < introTicks ? DayPhase::DayTitleHold
                                            : DayPhase::DayRunning;
    ASSERT_EQ(DayCycle::phase(), phase);
    // The driver's tick 256 still sees the intro, so tick 257 is the first to move the world.
    ASSERT_EQ(DayCycle::isDayRunning(), t >= introTicks);
    if (t <= 180) {
      ASSERT_FLOAT_EQ(DayCycle::sunAngle(), 2.0f * t);
    } else if (t == 181) {
      EXPECT_FLOAT_EQ(DayCycle::sunAngle(), 2.0f);  // 360 shown once before wrapping
    }
    // Light: dim until the sun passes above y = 300 on the sunrise's 39th tick, full on its 54th, never
    // raised again.
    if (t > sunUp && t <= sunUp + 38) {
      ASSERT_FLOAT_EQ(DayCycle::lightLevel(), 0.2f);
    } else if (t > sunUp + 54 && t <= introTicks + 20) {
      ASSERT_EQ(DayCycle::lightLevel(), full);
    }
    // Sun: overshoots, settles for the title, sinks first and then leaves through the top.
    if (t > sunUp && t <= titleIn) {
      highest = std::min(highest, DayCycle::sunY());
    } else if (t >= hold && t <= introTicks) {
      ASSERT_FLOAT_EQ(DayCycle::sunY(), 251.5f);
    } else if (t >= introTicks + 110) {
      ASSERT_LT(DayCycle::sunY(), -128.0f);
    }
    switch (t) {
      case sunUp - 1:  // 736 - 64 * 4 reaches the bottom edge
      case sunUp:      // 476 is put back on it
        EXPECT_FLOAT_EQ(DayCycle::roosterY(), 480.0f);
        break;
      case sunUp + 38:
        EXPECT_GE(DayCycle::sunY(), 300.0f);
        break;
      case sunUp + 39:
        EXPECT_LT(DayCycle::sunY(), 300.0f);
        EXPECT_NEAR(DayCycle::lightLevel(), 0.25f, 1e-6f);
        break;
      case sunUp + 53:
        EXPECT_LT(DayCycle::lightLevel(), 0.99f);
        break;
      case sunUp + 54:
        full = DayCycle::lightLevel();
        EXPECT_NEAR(full, 1.0f, 1e-5f);
        break;
      case titleIn:
        EXPECT_FLOAT_EQ(DayCycle::roosterY(), 480.0f);  // still while the sun rose
        EXPECT_FLOAT_EQ(DayCycle::sunY(), 261.5f);
        EXPECT_FLOAT_EQ(DayCycle::titleAlpha(), 0.0f);
        break;
      case hold:
        EXPECT_EQ(DayCycle::titleAlpha(), 1.0f);  // set exactly, not left at 1.0000001
        break;
      case introTicks:
        EXPECT_FLOAT_EQ(DayCycle::roosterY(), 480.0f + 4.0f * (titleInTicks + holdTicks));
        EXPECT_FLOAT_EQ(DayCycle::sunVelocity(), 10.0f);
        EXPECT_EQ(DayCycle::titleAlpha(), 1.0f);
        break;
      case introTicks + 5:
        EXPECT_NEAR(DayCycle::titleAlpha(), 0.5f, 1e-5f);
        break;
      case introTicks + 10:
        EXPECT_FLOAT_EQ(DayCycle::sunY(), 251.5f + 45.0f);
        break;
      case introTicks + 25:  // the fade stops once at or below 0
        EXPECT_LE(DayCycle::titleAlpha(), 1e-5f);
        EXPECT_GT(DayCycle::titleAlpha(), -0.1f);
        break;
      default:
        break;
    }
  }
  EXPECT_FLOAT_EQ(highest, 132.25f);
  ticks(5000);  // the last phase lasts until the next load
  EXPECT_EQ(DayCycle::phase(), DayPhase::DayRunning);
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

TEST_F(SpecialDayTest, EachSpecialDayPlaysItsOwnClip) {
  const struct {
    void (*reach)();
    int shownDay;
    const char* clip;
  } days[] = {{reachScurvyDay, 5, "sound\\scurvy.wav"}, {reachMoomaniaDay, 10, "sound\\mania.wav"}};
  for (const auto& d : days) {
    SCOPED_TRACE(d.clip);
    DayDirector::resetForTests();
    d.reach();
    DayCycle::load(DayDirector::day());
    EXPECT_EQ(DayCycle::shownDay(), d.shownDay);
    clearPlayedClips();
    ticks(roosterTicks);
    EXPECT_EQ(countPlayed(d.clip), 1);
    EXPECT_EQ(playedClips().size(), 1u);  // neither the rooster nor the other special clip
  }
}

// The banner sits at (320, 300), 256 x 64; the rest of the overlay is the same for every kind.
// Its top 22 rows share the band with the day number, which differs between the days compared.
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
  const Frame* pairs[][2] = {{&ordinary, &scurvy}, {&ordinary, &moomania}, {&scurvy, &moomania}};
  for (const auto& p : pairs) EXPECT_GT(screentest::maxDifference(*p[0], *p[1], 192, 290, 448, 332), 64);
  EXPECT_LE(screentest::maxDifference(ordinary, scurvy, 0, 340, 640, 480), 2);
  EXPECT_LE(screentest::maxDifference(ordinary, moomania, 0, 340, 640, 480), 2);
}

TEST_F(DayCycleTest, TitleRightEdgeMovesLeftAsTheNumberGrows) {
  const struct {
    int index;
    float x;
  } cases[] = {{0, 360.0f},  {8, 360.0f},   {9, 338.0f},   {98, 338.0f},
               {99, 316.0f}, {255, 316.0f}, {998, 316.0f}, {999, 294.0f}};
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
  for (int phaseTicks : {roosterTicks, sunriseTicks, titleInTicks})
    EXPECT_EQ(ticksUntilPhaseChanges(), phaseTicks);
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
  gameOverTicks(94);
  EXPECT_GT(DayCycle::lightLevel(), 0.04f);
  gameOverTicks(10);
  EXPECT_LE(DayCycle::lightLevel(), 1e-4f);
  gameOverTicks(100);
  EXPECT_GT(DayCycle::lightLevel(), -0.0101f);  // stops once it reaches black
  EXPECT_EQ(DayCycle::phase(), phase);
}

TEST_F(DayCycleTest, RoosterTakesTheDayLight) {
  DayCycle::load(0);
  ticks(roosterTicks + 1);  // rooster at the bottom edge, light 0.2
  ASSERT_FLOAT_EQ(DayCycle::lightLevel(), 0.2f);
  const Frame dim = draw();
  ticks(60);  // rooster still at the edge, light full
  ASSERT_NEAR(DayCycle::lightLevel(), 1.0f, 1e-5f);
  ASSERT_FLOAT_EQ(DayCycle::roosterY(), 480.0f);
  const Frame bright = draw();
  // Rooster: x 0..180, y 300..480; the sun never reaches x < 192.
  const long dimRooster = dim.brightness(0, 300, 180, 480);
  const long brightRooster = bright.brightness(0, 300, 180, 480);
  EXPECT_GT(dimRooster, 0);
  EXPECT_GT(brightRooster, 3 * dimRooster);
  EXPECT_LT(brightRooster, 6 * dimRooster);
}

TEST_F(DayCycleTest, GameOverOverlayShowsTheScoreAndStaysBrightWhileTheLightFades) {
  DayCycle::load(11);
  const Frame zero = drawGameOver();
  Scarecrow::state().score = 123456;
  EXPECT_GT(screentest::maxDifference(zero, drawGameOver(), 0, 0, 640, 480), 64);
  ticks(introTicks);  // full light
  const float startAngle = DayCycle::sunAngle();
  const Frame before = drawGameOver();
  ASSERT_NEAR(DayCycle::lightLevel(), 1.0f, 1e-5f);
  gameOverTicks(180);
  ASSERT_FLOAT_EQ(DayCycle::sunAngle(), startAngle);
  ASSERT_LE(DayCycle::lightLevel(), 1e-4f);  // the world beneath is black by now
  EXPECT_GT(before.brightness(0, 0, 640, 480), 0);
  EXPECT_LE(screentest::maxDifference(before, drawGameOver(), 0, 0, 640, 480), 1);
}

}  // namespace
