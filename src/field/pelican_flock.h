// Pelicans: land on stalks and eat ears where they stand; scared off for a big reward.
#pragma once

#include <cstdint>

#include "field/crow_flock.h"  // AnimSet

enum class PelicanState : uint8_t { Free = 0, Flying = 1, Eating = 2, Fleeing = 4 };

struct Pelican {
  float x;
  float y;
  float height;
  float angle;
  float vx;
  float vy;
  AnimSet animSet;
  uint8_t animTick;
  PelicanState state;
  uint8_t facing;
  int32_t target;
};

namespace PelicanFlock {
constexpr int capacity = 64;
void load();
void unload();
void spawn(bool announce);
void tick();
void draw(float light);
bool scareAt(float x, float y);
void scareAll();
bool isEmpty();
void aim(int index);

Pelican& pelican(int index);
int countInUse();
int shownFrame(int index);  // frame column its next draw will use
}  // namespace PelicanFlock
