// The per-frame, depth-ordered list of figures and shadows on the field.
#pragma once

#include <cstdint>

class Sprite;

enum class DrawKind : uint8_t {
  Empty = 0,
  Sprite = 1,
  Shadow = 2,
};

// One queued draw. Entries are linked by index; -1 ends the list.
struct DrawEntry {
  int32_t next;
  int32_t prev;
  Sprite* sprite;
  DrawKind kind;
  float angle;
  float alpha;
  float x;
  float y;  // ground point, measured downwards: the sort key
  float elevation;
  float width;
  float height;
  float tint;
};

namespace DrawQueue {
constexpr int capacity = 512;
void load();
void unload();
void reset();
void add(Sprite* sprite, float x, float y, float elevation, float angle, float width, float height,
         float tint, float alpha, DrawKind kind);
void flush();

// Read access for tests: the first entry to draw (-1 when empty), the slot the next add fills
// (-1 when full), and any entry by index.
int32_t headIndex();
int32_t freeIndex();
const DrawEntry& entryAt(int32_t index);
}  // namespace DrawQueue
