// Numeric helpers every game rule uses.
#pragma once

#include <cmath>
#include <cstdint>

void approachZero(float& v, float step);
void approachValue(float& v, float step, float target);
void clampMagnitude(float& v, float limit);

// The game's one 15-bit linear congruential generator (state 1 at program start).
float randomFloat(float max);
int32_t randomInt(int32_t n);
void seedRandom(uint32_t seed);  // 0: seed from the millisecond timer
uint32_t randomState();

float cosDeg(float degrees);
float sinDeg(float degrees);

// Sum of the absolute coordinate differences: every "within reach" test is a diamond.
// Inline: every creature's search calls it for every slot, every tick.
inline float distance(float x1, float y1, float x2, float y2) {
  return std::fabs(x2 - x1) + std::fabs(y2 - y1);
}
