#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "shell/numeric.h"
#include "shell/platform.h"

namespace {
TEST(NumericTest, ApproachZeroStopsAtZero) {
  float v = 0.3f;
  approachZero(v, 0.5f);
  EXPECT_EQ(v, 0.0f);
  v = -0.3f;
  approachZero(v, 0.5f);
  EXPECT_EQ(v, 0.0f);
  v = 2.0f;
  approachZero(v, 0.5f);
  EXPECT_EQ(v, 1.5f);
  v = -2.0f;
  approachZero(v, 0.5f);
  EXPECT_EQ(v, -1.5f);
  v = 0.0f;
  approachZero(v, 0.5f);
  EXPECT_EQ(v, 0.0f);
}

TEST(NumericTest, ApproachValueNeverOvershoots) {
  float v = 5.0f;
  approachValue(v, 1.0f, 4.8f);
  EXPECT_EQ(v, 4.8f);
  approachValue(v, 1.0f, 4.8f);
  EXPECT_EQ(v, 4.8f);
  v = 0.0f;
  approachValue(v, 0.1f, 0.6f);
  EXPECT_FLOAT_EQ(v, 0.1f);
  v = 0.55f;
  approachValue(v, 0.1f, 0.6f);
  EXPECT_EQ(v, 0.6f);
}

TEST(NumericTest, ClampMagnitudeIsSymmetric) {
  float v = -7.0f;
  clampMagnitude(v, 4.0f);
  EXPECT_EQ(v, -4.0f);
  v = 3.0f;
  clampMagnitude(v, 4.0f);
  EXPECT_EQ(v, 3.0f);
  v = 16.5f;
  clampMagnitude(v, 16.0f);
  EXPECT_EQ(v, 16.0f);
}

TEST(NumericTest, GeneratorFollowsItsRecurrence) {
  seedRandom(1);
  EXPECT_EQ(randomInt(32768), 41);
  // state = state * 214013 + 2531011, draws are bits 16..30.
  seedRandom(12345);
  uint32_t state = 12345;
  for (int i = 0; i < 1000; ++i) {
    state = state * 214013u + 2531011u;
    ASSERT_EQ(randomInt(32768), static_cast<int32_t>((state >> 16) & 32767u));
  }
}

TEST(NumericTest, RandomRangesReachBothEnds) {
  seedRandom(99);
  std::set<int32_t> seen;
  float low = 100.0f;
  float high = -1.0f;
  for (int i = 0; i < 200000; ++i) {
    int32_t r = randomInt(5);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 5);
    seen.insert(r);
    float f = randomFloat(25.0f);
    ASSERT_GE(f, 0.0f);
    ASSERT_LE(f, 25.0f);
    low = std::min(low, f);
    high = std::max(high, f);
  }
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(low, 0.0f);
  EXPECT_EQ(high, 25.0f) << "a draw of 32767 gives exactly the maximum";
}

TEST(NumericTest, SeedZeroComesFromTheTimer) {
  platformSetVirtualTimer(4242);
  seedRandom(0);
  EXPECT_EQ(randomState(), 4242u);
  platformSetVirtualTimer(0);
}

TEST(NumericTest, DegreesUseTheGamesPi) {
  EXPECT_NE(cosDeg(90.0f), 0.0f);
  EXPECT_NEAR(cosDeg(90.0f), 1.3e-6f, 0.5e-6f);
  EXPECT_NEAR(sinDeg(90.0f), 1.0f, 1e-6f);
  EXPECT_NEAR(cosDeg(180.0f), -1.0f, 1e-6f);
  EXPECT_NEAR(sinDeg(270.0f), -1.0f, 1e-6f);
}

TEST(NumericTest, DistanceIsADiamond) {
  EXPECT_EQ(distance(0, 0, 3, -4), 7.0f);
  EXPECT_EQ(distance(3, -4, 0, 0), 7.0f);
  // 15 right and 15 down: 30, though the straight line is only about 21.
  EXPECT_EQ(distance(100, 100, 115, 115), 30.0f);
}
}  // namespace
