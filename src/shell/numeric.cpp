#include "shell/numeric.h"

#include <cmath>

#include "shell/demo_session.h"
#include "shell/platform.h"

namespace {
uint32_t generatorState = 1;
constexpr float piApprox = 3.14159f;  // the game's own pi: cosDeg(90) is not exactly 0

int32_t nextDraw() {
  generatorState = generatorState * 214013u + 2531011u;
  return static_cast<int32_t>((generatorState >> 16) & 32767u);
}

float radians(float degrees) {
  return degrees * piApprox / 180.0f;
}
}  // namespace

void approachZero(float& v, float step) {
  if (v > 0) {
    v -= step;
    if (v < 0) v = 0;
  } else if (v < 0) {
    v += step;
    if (v > 0) v = 0;
  }
}

void approachValue(float& v, float step, float target) {
  if (v > target) {
    v -= step;
    if (v < target) v = target;
  } else if (v < target) {
    v += step;
    if (v > target) v = target;
  }
}

void clampMagnitude(float& v, float limit) {
  if (v > limit) {
    v = limit;
  } else if (v < -limit) {
    v = -limit;
  }
}

float randomFloat(float max) {
  return static_cast<float>(nextDraw()) * max / 32767.0f;
}

int32_t randomInt(int32_t n) {
  int32_t r = nextDraw();
  return n == 0 ? 0 : r % n;  // n = 0 would divide by zero; no caller passes it
}

void seedRandom(uint32_t seed) {
  if (seed == 0) seed = DemoSession::worldSeed(platformTimerMs());
  generatorState = seed;
}

uint32_t randomState() {
  return generatorState;
}

float cosDeg(float degrees) {
  return std::cos(radians(degrees));
}

float sinDeg(float degrees) {
  return std::sin(radians(degrees));
}
