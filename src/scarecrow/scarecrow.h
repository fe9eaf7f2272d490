// The player's scarecrow: movement, shout, ooga action, money, score, breath and upgrades.
#pragma once

#include <cstdint>

class Sprite;

enum class AnimMode : uint8_t { Idle = 0, Walk = 1, Act = 2 };
enum class ScarecrowAction : uint8_t { None = 0, Shout = 1, Ooga = 2 };

struct ScarecrowState {
  float x;
  float y;
  float vx;
  float vy;
  float facing;
  AnimMode animMode;
  uint8_t animTick;
  uint8_t direction;
  ScarecrowAction action;
  int32_t money;
  int32_t score;
  uint8_t masks;
  uint8_t booLetters;
  float maxSpeed;
  float breath;
  float maxBreath;
  int32_t booRange;
};

namespace Scarecrow {
constexpr float shoutBreath = 16.0f;  // what one shout costs
void load();
void unload();
void startDay();
void update();
void draw(float light);
int32_t money();
float breath();
uint8_t masks();
void award(int32_t points);
bool tryPickUp(float x, float y);
void powerDown();
const ScarecrowState& state();
// Upgrades and purchases, as the store sells them.
void spend(int32_t amount);  // money only: the score keeps what was earned
void addLetter();
void lengthenShout(int32_t range);
void growLungs(float capacity);  // and fills them
void addMask();
void quicken(float speed);
Sprite* frameSprite(int direction, int frame);  // null outside the table or when not loaded
}  // namespace Scarecrow
