// Crows: fly in, peck an ear, carry it off; scared by the shout and the ooga-booga.
#pragma once

#include <cstdint>

class Sprite;

enum class AnimSet : uint8_t { Flap = 0, Scared = 1, Peck = 2 };
enum class CrowState : uint8_t { Free = 0, Arriving = 1, Pecking = 2, Carrying = 3, Fleeing = 4 };

struct Crow {
  float x;
  float y;
  float height;
  float angle;
  float vx;
  float vy;
  AnimSet animSet;
  uint8_t animTick;
  CrowState state;
  uint8_t facing;
  int32_t target;
};

namespace CrowFlock {
constexpr int capacity = 64;
void load();
void unload();
void spawn(bool announce);
void tick();
void draw(float light);
bool scareAt(float x, float y);
void scareAll();
bool isEmpty();
Sprite* cornSprite();
void aim(int index);
// A random edge and a heading into the screen; pelicans arrive the same way.
void chooseEntry(float& x, float& y, float& angle);
float carrySpeedFactor();
void lightenCarry(float step);  // carrying crows fly slower

Crow& crow(int index);
int countInUse();
Sprite* frameSprite(int facing, int frame);  // null outside the table or when not loaded
}  // namespace CrowFlock
