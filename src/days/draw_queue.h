// The per-frame, depth-ordered list of figures and shadows on the field.
#pragma once

#include <cstdint>

class Sprite;

enum class DrawKind : uint8_t {
  Empty = 0,
  Sprite = 1,
  Shadow = 2,
};

namespace DrawQueue {
constexpr int capacity = 512;
void load();
void unload();
void reset();
void add(Sprite* sprite, float x, float y, float elevation, float angle, float width, float height,
         float tint, float alpha, DrawKind kind);
void flush();
}  // namespace DrawQueue
