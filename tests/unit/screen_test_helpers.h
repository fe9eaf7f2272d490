// Helpers shared by the day, HUD and screen tests: a fixture on the game's GL state, drawing one frame
// offscreen and reading it back, and driving the day director to a chosen day without a Play world.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "days/day_director.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "render/sprite.h"
#include "screens/screen_machine.h"
#include "shell/key_state.h"
#include "test_support.h"

namespace screentest {

constexpr int frameWidth = 640, frameHeight = 480;

struct ScreenTest : testing::Test {
  static void SetUpTestSuite() { gameStartup(nullptr); }
  static void TearDownTestSuite() { gameShutdown(); }
  static void tap(uint32_t key) {
    KeyState::keyDown(key);
    KeyState::keyUp(key);
  }
};

template <typename Fn>
void repeat(int n, Fn fn) {
  for (int i = 0; i < n; ++i) fn();
}

struct Frame {
  std::vector<uint8_t> rgba;

  // x, y in logical screen units, y down from the top (the read-back rows run bottom-up).
  const uint8_t* at(int x, int y) const { return &rgba[((frameHeight - 1 - y) * frameWidth + x) * 4]; }
  // Sum of channels first..last (0 red, 1 green, 2 blue) over a rectangle [x0, x1) x [y0, y1).
  long channelSum(int first, int last, int x0, int y0, int x1, int y1) const {
    long sum = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        for (int c = first; c <= last; ++c) sum += at(x, y)[c];
    return sum;
  }
  long brightness(int x0, int y0, int x1, int y1) const { return channelSum(0, 2, x0, y0, x1, y1); }
};

// Largest per-channel difference between two frames over a rectangle of `a`, compared with the same
// rectangle of `b` moved right by `bShiftX` columns and down by `bShiftY` rows.
inline int maxDifference(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1, int bShiftX = 0,
                         int bShiftY = 0) {
  int most = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      for (int c = 0; c < 3; ++c)
        most = std::max(most, std::abs(a.at(x, y)[c] - b.at(x + bShiftX, y + bShiftY)[c]));
  return most;
}

// Draws one frame the way the game does (gameStartup set the clear colour): cleared to black, white colour,
// inside the 2D overlay.
template <typename DrawFn>
Frame render(DrawFn drawFn) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 1.0f);
  beginOverlay2D();
  drawFn();
  endOverlay2D();
  Frame frame{std::vector<uint8_t>(static_cast<size_t>(frameWidth) * frameHeight * 4)};
  glReadPixels(0, 0, frameWidth, frameHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
  return frame;
}

inline void freeAllCreatures() {
  for (int i = 0; i < CrowFlock::capacity; ++i) CrowFlock::crow(i).state = CrowState::Free;
  for (int i = 0; i < PelicanFlock::capacity; ++i) PelicanFlock::pelican(i).state = PelicanState::Free;
  for (int i = 0; i < CowHerd::capacity; ++i) CowHerd::cow(i).active = 0;
}

// Ticks the director, clearing the field of creatures after every tick, until the day ends, then starts
// the next. Returns false when it does not end within two full days; `storeDue` tells whether a store
// visit comes before the new day.
inline bool advanceDay(bool* storeDue = nullptr) {
  for (int n = 0; n < 2 * 1800 + 10; ++n) {
    const bool ended = DayDirector::tick();
    freeAllCreatures();
    if (!ended) continue;
    const bool store = DayDirector::nextDay();
    if (storeDue) *storeDue = store;
    return true;
  }
  return false;
}

}  // namespace screentest
