// The ooga-booga power: scares every creature at once while the words fly in.
#pragma once

#include <cstdint>

struct OogaBoogaState {
  bool active;
  float scale;  // of the words, as a fraction of full size
  float oogaX;  // both words share it
  float oogaY;
  float boogaY;
  float stepX;
  float stepOogaY;
  float stepBoogaY;
  int32_t ticks;
};

namespace OogaBooga {
void start(float x, float y);
bool isActive();
void update();
void draw();
void end();

const OogaBoogaState& state();
bool holdsResources();  // its pictures and sound exist only while it runs
}  // namespace OogaBooga
