// The shout's flying letters and the dropped ears of corn.
#pragma once

#include <cstdint>

class Sprite;

enum class ShoutParticleKind : uint8_t { Free = 0, LetterB = 1, LetterO = 2, DroppedCorn = 3 };

struct ShoutParticle {
  float x;
  float y;
  float height;
  float angle;
  float vx;
  float vy;
  int32_t life;
  float size;
  float alpha;
  ShoutParticleKind kind;
};

namespace BooShout {
constexpr int capacity = 256;
void load();
void unload();
void clear();
void spawn(ShoutParticleKind kind, float x, float y, float angle);
void shout(float x, float y, float facing);
void update();
void draw(float light);
ShoutParticle& particle(int slot);
int countInUse();
Sprite* letterSprite(ShoutParticleKind kind);  // the b or the o; null for other kinds
}  // namespace BooShout
