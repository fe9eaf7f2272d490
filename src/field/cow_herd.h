// Cows: walk across the field eating whole stalks; a boo only turns them.
#pragma once

#include <cstdint>

struct Cow {
  float x;
  float y;
  float angle;
  float vx;
  float vy;
  uint8_t mooCooldown;
  uint8_t animTick;
  uint8_t active;
  uint8_t facing;
  int32_t target;
};

namespace CowHerd {
constexpr int capacity = 16;
void load();
void unload();
void spawn(bool announce);
void tick();
void draw(float light);
bool scareAt(float x, float y);
void scareAll();
bool isEmpty();
void aim(int index);

Cow& cow(int index);
int countInUse();
int shownFrame(int index);  // frame column its next draw will use
}  // namespace CowHerd
