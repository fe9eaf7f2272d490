#include <gtest/gtest.h>

#include "shell/numeric.h"
#include "shell/platform.h"

namespace {
// The stepping helpers stop at their target instead of stepping past it, from either side. The game's
// pi is 3.14159, so cosDeg(90) is a little above 0; distance is |dx| + |dy|.
TEST(NumericTest, PlainHelpersMeetTheirEdgeValues) {
  const struct {
    char helper;  // 'z' approachZero, 'v' approachValue, 'c' clampMagnitude
    float value, step, target, expected;
  } rows[] = {{'z', 0.3f, 0.5f, 0, 0.0f},    {'z', -0.3f, 0.5f, 0, 0.0f},   {'z', 2.0f, 0.5f, 0, 1.5f},
              {'v', 5.0f, 1.0f, 4.8f, 4.8f}, {'v', 4.8f, 1.0f, 4.8f, 4.8f}, {'v', 0.55f, 0.1f, 0.6f, 0.6f},
              {'c', 16.5f, 16.0f, 0, 16.0f}, {'c', -7.0f, 4.0f, 0, -4.0f},  {'c', 3.0f, 4.0f, 0, 3.0f}};
  for (const auto& r : rows) {
    float v = r.value;
    if (r.helper == 'z') approachZero(v, r.step);
    if (r.helper == 'v') approachValue(v, r.step, r.target);
    if (r.helper == 'c') clampMagnitude(v, r.step);
    EXPECT_EQ(v, r.expected) << r.helper << " " << r.value << " " << r.step << " " << r.target;
  }
  EXPECT_NEAR(cosDeg(90.0f), 1.3e-6f, 0.5e-6f);
  EXPECT_NEAR(sinDeg(270.0f), -1.0f, 1e-6f);
  EXPECT_EQ(distance(0, 0, 3, -4), 7.0f);
  EXPECT_EQ(distance(100, 100, 115, 115), 30.0f);
}

// state = state * 214013 + 2531011, draws are bits 16..30; seed 0 comes from the timer; the ranges
// reach both ends, a draw of 32767 giving exactly the maximum.
TEST(NumericTest, GeneratorFollowsItsRecurrenceAndReachesBothEnds) {
  seedRandom(1);
  EXPECT_EQ(randomInt(32768), 41);
  seedRandom(12345);
  uint32_t state = 12345;
  for (int i = 0; i < 1000; ++i) {
    state = state * 214013u + 2531011u;
    ASSERT_EQ(randomInt(32768), static_cast<int32_t>((state >> 16) & 32767u));
  }
  platformSetVirtualTimer(4242);
  seedRandom(0);
  EXPECT_EQ(randomState(), 4242u);
  int seen = 0;
  float low = 100.0f, high = -1.0f;
  for (int i = 0; i < 200000; ++i) {
    const int32_t r = randomInt(5);
    ASSERT_TRUE(r >= 0 && r < 5) << r;
    seen |= 1 << r;
    const float f = randomFloat(25.0f);
    low = std::min(low, f), high = std::max(high, f);
  }
  EXPECT_EQ(seen, 31);
  EXPECT_EQ(low, 0.0f);
  EXPECT_EQ(high, 25.0f);
}
}  // namespace
