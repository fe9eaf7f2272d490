// The dawn intro of a day, its light and clip, the day title and banners, and the game-over fade.
#include "days/day_cycle.h"
#include "screen_test_helpers.h"

namespace screentest {

constexpr int roosterTicks = 65;
constexpr int sunriseTicks = 121;
constexpr int titleInTicks = 10;
constexpr int holdTicks = 60;
constexpr int introTicks = roosterTicks + sunriseTicks + titleInTicks + holdTicks;

// The creatures are loaded so that the director can play whole days to reach the scurvy and moomania days;
// every load starts its module afresh.
struct DayCycleTest : ScreenTest {
  void SetUp() override {
    DayDirector::resetForTests();
    clearPlayedClips();
    CrowFlock::load();
    PelicanFlock::load();
    CowHerd::load();
  }
  void TearDown() override { DayCycle::unload(); }

  static void ticks(int n) { repeat(n, DayCycle::tick); }
};

// One walk through the intro and into the day, tick by tick, checking the phase every tick and the
// rooster, sun, light and title at the ticks where they turn.
TEST_F(DayCycleTest, IntroTimeline) {
  DayCycle::load(0);
  constexpr int sunUp = roosterTicks, titleIn = sunUp + sunriseTicks, hold = titleIn + titleInTicks;
  // At these ticks (0 the load) a value lies in [value - below, value + above].
  const struct {
    int tick;
    float (*get)();
    float value, below = 0.0f, above = 0.0f;
  } marks[] = {
      {0, DayCycle::roosterY, 736.0f},
      {sunUp - 1, DayCycle::roosterY, 480.0f},  // 736 - 64 * 4 reaches the bottom edge
      {sunUp, DayCycle::roosterY, 480.0f},      // 476 is put back on it
      {sunUp + 38, DayCycle::sunY, 300.0f, 0.0f, 1e9f},
      {sunUp + 39, DayCycle::sunY, 299.99f, 1e9f},
      {sunUp + 39, DayCycle::lightLevel, 0.25f, 1e-6f, 1e-6f},
      {sunUp + 53, DayCycle::lightLevel, 0.95f, 1e-5f, 1e-5f},
      {sunUp + 54, DayCycle::lightLevel, 1.0f, 1e-5f, 1e-5f},
      {titleIn, DayCycle::titleAlpha, 0.0f},
      {hold, DayCycle::titleAlpha, 1.0f},  // set exactly, not left at 1.0000001
      {introTicks, DayCycle::roosterY, 480.0f + 4.0f * (titleInTicks + holdTicks)},
      {introTicks, DayCycle::sunVelocity, 10.0f},
      {introTicks + 5, DayCycle::titleAlpha, 0.5f, 1e-5f, 1e-5f},
      {introTicks + 10, DayCycle::sunY, 251.5f + 45.0f},
      {introTicks + 25, DayCycle::titleAlpha, 0.0f, 0.1f, 1e-5f},  // the fade stops once at or below 0
  };
  float highest = DayCycle::sunY(), full = 0.0f;
  Frame dim, bright;  // the rooster at the bottom edge in the dawn light and in the full light
  for (int t = 0; t <= introTicks + 310; ++t) {
    if (t > 0) DayCycle::tick();
    SCOPED_TRACE(testing::Message() << "tick " << t);
    const DayPhase phase = t < sunUp        ? DayPhase::RoosterRise
                           : t < titleIn    ? DayPhase::SunRise
                           : t < hold       ? DayPhase::DayTitleIn
                           : t < introTicks ? DayPhase::DayTitleHold
                                            : DayPhase::DayRunning;
    ASSERT_EQ(DayCycle::phase(), phase);
    // The driver's tick 256 still sees the intro, so tick 257 is the first to move the world.
    ASSERT_EQ(DayCycle::isDayRunning(), t >= introTicks);
    ASSERT_TRUE(t > 180 || DayCycle::sunAngle() == 2.0f * t) << DayCycle::sunAngle();
    EXPECT_TRUE(t != 181 || DayCycle::sunAngle() == 2.0f);  // 360 shown once before wrapping
    // Light: dim until the sun passes above y = 300 on the sunrise's 39th tick, full on its 54th, never
    // raised again.
    ASSERT_TRUE(t <= sunUp || t > sunUp + 38 || DayCycle::lightLevel() == 0.2f) << DayCycle::lightLevel();
    ASSERT_TRUE(t <= sunUp + 54 || t > introTicks + 20 || DayCycle::lightLevel() == full);
    // Sun: overshoots, settles for the title, sinks first and then leaves through the top.
    if (t > sunUp && t <= titleIn) highest = std::min(highest, DayCycle::sunY());
    ASSERT_TRUE(t < hold || t > introTicks || DayCycle::sunY() == 251.5f) << DayCycle::sunY();
    ASSERT_TRUE(t < introTicks + 110 || DayCycle::sunY() < -128.0f) << DayCycle::sunY();
    for (const auto& m : marks)
      EXPECT_TRUE(m.tick != t || (m.get() >= m.value - m.below && m.get() <= m.value + m.above)) << m.get();
    if (t == sunUp + 54) full = DayCycle::lightLevel();
    if (t == sunUp + 1) dim = render(DayCycle::draw);
    if (t == sunUp + 61) bright = render(DayCycle::draw);
  }
  EXPECT_FLOAT_EQ(highest, 132.25f);
  ticks(5000);  // the last phase lasts until the next load
  EXPECT_EQ(DayCycle::phase(), DayPhase::DayRunning);
  // The rooster (x 0..180, y 300..480, where the sun never reaches) takes the day's light.
  const long dimRooster = dim.brightness(0, 300, 180, 480), lit = bright.brightness(0, 300, 180, 480);
  EXPECT_GT(dimRooster, 0);
  EXPECT_GT(lit, 3 * dimRooster);
  EXPECT_LT(lit, 6 * dimRooster);
}

// The day's clip starts as the rooster reaches the bottom edge, 65 ticks after the load, once a day. The
// banner at (320, 300), 256 x 64, tells the kinds apart; the rest of the overlay is the same for each.
TEST_F(DayCycleTest, EachKindPlaysItsOwnClipAndShowsItsBanner) {
  const std::tuple<int, DayKind, const char*> days[] = {{1, DayKind::Ordinary, "sound\\rooster.wav"},
                                                        {5, DayKind::Scurvy, "sound\\scurvy.wav"},
                                                        {10, DayKind::Moomania, "sound\\mania.wav"}};
  Frame frames[3];
  DayDirector::startDay();
  for (int i = 0; i < 3; ++i) {
    const auto& [shownDay, kind, clip] = days[i];
    SCOPED_TRACE(clip);
    while (DayDirector::day() + 1 < shownDay) ASSERT_TRUE(advanceDay());
    ASSERT_EQ(DayDirector::kind(), kind);
    DayCycle::load(DayDirector::day());
    EXPECT_EQ(DayCycle::shownDay(), shownDay);
    clearPlayedClips();
    ticks(roosterTicks - 1);
    EXPECT_TRUE(playedClips().empty());
    DayCycle::tick();
    EXPECT_EQ(countPlayed(clip), 1);
    ticks(sunriseTicks + titleInTicks + 10);
    frames[i] = render(DayCycle::draw);
    ticks(introTicks);
    EXPECT_EQ(playedClips().size(), 1u);  // no other clip, and this one once
  }
  // The shown days differ in their number too: compare only the banner band, and the sun's left and right
  // below it, which no number reaches.
  for (const auto& [a, b] : {std::pair{0, 1}, {0, 2}, {1, 2}}) {
    EXPECT_GT(maxDifference(frames[a], frames[b], 192, 290, 448, 332), 64) << a << b;
    EXPECT_LE(maxDifference(frames[a], frames[b], 0, 340, 640, 480), 2) << a << b;
  }
}

// The title's right edge moves left half a digit for each digit after the first, past 999 too, so a
// four-digit day stays centred with the word. A reload mid-hold starts the new day from dawn,
// every phase's counter too; an unload, even twice, leaves nothing to tick or draw.
TEST_F(DayCycleTest, TitleEdgeByTheNumberAReloadStartsTheDayFromDawnAndUnloadIsHarmless) {
  for (const auto& [index, x] :
       {std::pair{8, 360.0f}, {9, 338.0f}, {98, 338.0f}, {99, 316.0f}, {998, 316.0f}, {999, 294.0f}}) {
    DayCycle::load(index);
    EXPECT_EQ(DayCycle::shownDay(), index + 1);
    EXPECT_FLOAT_EQ(DayCycle::titleX(), x) << "shown day " << index + 1;
  }
  ticks(roosterTicks + sunriseTicks + titleInTicks + 30);  // halfway through the hold
  DayCycle::load(1);
  EXPECT_EQ(DayCycle::shownDay(), 2);
  EXPECT_FLOAT_EQ(DayCycle::lightLevel(), 0.2f);
  EXPECT_FLOAT_EQ(DayCycle::sunAngle(), 0.0f);
  ticks(introTicks - 1);
  EXPECT_EQ(DayCycle::phase(), DayPhase::DayTitleHold);
  DayCycle::tick();
  EXPECT_TRUE(DayCycle::isDayRunning());
  DayCycle::unload();
  DayCycle::unload();
  ticks(roosterTicks);  // no clip to play: silent, no crash
  EXPECT_EQ(render(DayCycle::draw).brightness(0, 0, 640, 480), 0);
  EXPECT_EQ(render(DayCycle::drawGameOver).brightness(0, 0, 640, 480), 0);
}

// After game over the sun keeps spinning and the light fades by 0.01 a tick to black; the sun, day, score
// and banner stay at full brightness, and the phase no longer changes.
TEST_F(DayCycleTest, GameOverFadesTheLightInAboutAHundredTicksButNotTheOverlay) {
  DayCycle::load(11);
  ticks(introTicks + 40);
  const float angle = DayCycle::sunAngle();
  const DayPhase phase = DayCycle::phase();
  const Frame before = render(DayCycle::drawGameOver);
  DayCycle::tickGameOver();
  EXPECT_NEAR(DayCycle::lightLevel(), 0.99f, 1e-5f);
  EXPECT_FLOAT_EQ(DayCycle::sunAngle(), angle + 2.0f);
  repeat(104, DayCycle::tickGameOver);
  EXPECT_LE(DayCycle::lightLevel(), 1e-4f);
  repeat(75, DayCycle::tickGameOver);           // 180 in all: the sun has made one whole turn
  EXPECT_GT(DayCycle::lightLevel(), -0.0101f);  // stops once it reaches black
  EXPECT_EQ(DayCycle::phase(), phase);
  ASSERT_FLOAT_EQ(DayCycle::sunAngle(), angle);
  EXPECT_GT(before.brightness(0, 0, 640, 480), 0);
  EXPECT_LE(maxDifference(before, render(DayCycle::drawGameOver), 0, 0, 640, 480), 1);
}

}  // namespace screentest
