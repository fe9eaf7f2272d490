// The corn field: a fixed pool of stalks carrying ears of corn.
#pragma once

#include <cstdint>

class Sprite;

struct CornStalk {
  float x;
  float y;
  float tilt;
  int8_t ears;
  int8_t stage;  // 0 empty, 1 standing, 2..81 withering
};

namespace CornField {
constexpr int capacity = 50;
void load();
void unload();
void layOut();
bool tick();  // true in the tick the last stalk is gone
void draw(float light);
int32_t findStalkWithCorn(float x, float y, float radius);
bool takeEar(int32_t slot);
bool eatStalk(int32_t slot);
int32_t liveStalkCount();
void plantStalk();
bool canFertilize();
void fertilize();

CornStalk& stalk(int32_t slot);
int32_t slotCount();
int32_t earCount();              // ears on all stalks
Sprite* stalkSprite(int index);  // 0..6: stalk3 down to stalk0, then the withering pictures
}  // namespace CornField
