#include "days/draw_queue.h"

#include <memory>

#include "render/sprite.h"

namespace {
constexpr int32_t none = -1;

constexpr float shadowImageSize = 32.0f;
constexpr float shadowAnchor = 0.0f;
// Shadows lie on the ground at half opacity, whatever the light.
constexpr float shadowAlpha = 0.5f;

DrawEntry entries[DrawQueue::capacity];
int32_t head = none;
int32_t freeSlot = 0;
std::unique_ptr<Sprite> shadow;

const DrawEntry emptyEntry = {none, none, nullptr, DrawKind::Empty, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                              0.0f, 0.0f, 0.0f};

// Entries are only freed all at once by reset, so every slot below the one just filled is in use.
int32_t nextFreeSlotAfter(int32_t filled) {
  for (int32_t i = filled + 1; i < DrawQueue::capacity; ++i) {
    if (entries[i].kind == DrawKind::Empty) return i;
  }
  return none;
}

// Shadows go to the very front, the latest first.
void linkShadow(int32_t index) {
  entries[index].prev = none;
  entries[index].next = head;
  if (head != none) entries[head].prev = index;
  head = index;
}

// Before the first sprite entry whose y is not less than the new one's; a new entry thus goes
// behind the queued entries of equal y.
void linkSprite(int32_t index) {
  DrawEntry& entry = entries[index];
  if (head == none) {
    entry.prev = none;
    entry.next = none;
    head = index;
    return;
  }
  for (int32_t visit = head;; visit = entries[visit].next) {
    DrawEntry& v = entries[visit];
    if (v.kind == DrawKind::Sprite && v.y >= entry.y) {
      entry.prev = v.prev;
      entry.next = visit;
      if (v.prev != none) {
        entries[v.prev].next = index;
      } else {
        head = index;
      }
      v.prev = index;
      return;
    }
    if (v.next == none) {
      v.next = index;
      entry.prev = visit;
      entry.next = none;
      return;
    }
  }
}
}  // namespace

void DrawQueue::load() {
  reset();
  shadow = std::make_unique<Sprite>("graphics\\shadow.tga", shadowImageSize, shadowImageSize, shadowAnchor,
                                    shadowAnchor);
}

void DrawQueue::unload() {
  shadow.reset();
}

void DrawQueue::reset() {
  for (DrawEntry& entry : entries) entry = emptyEntry;
  head = none;
  freeSlot = 0;
}

void DrawQueue::add(Sprite* sprite, float x, float y, float elevation, float angle, float width, float height,
                    float tint, float alpha, DrawKind kind) {
  if (freeSlot == none) return;
  if (kind != DrawKind::Sprite && kind != DrawKind::Shadow) return;
  const int32_t index = freeSlot;
  entries[index] = DrawEntry{none, none, sprite, kind, angle, alpha, x, y, elevation, width, height, tint};
  if (kind == DrawKind::Shadow) {
    linkShadow(index);
  } else {
    linkSprite(index);
  }
  freeSlot = nextFreeSlotAfter(index);
}

void DrawQueue::flush() {
  for (int32_t index = head; index != none; index = entries[index].next) {
    const DrawEntry& entry = entries[index];
    if (entry.kind == DrawKind::Sprite) {
      if (entry.sprite == nullptr) continue;
      const float drawnY = entry.y - entry.elevation;
      if (entry.alpha == 1.0f) {
        entry.sprite->drawTinted(entry.x, drawnY, entry.angle, entry.width, entry.height, entry.tint,
                                 entry.tint, entry.tint);
      } else {
        entry.sprite->drawBlended(entry.x, drawnY, entry.angle, entry.width, entry.height, entry.tint,
                                  entry.tint, entry.tint, entry.alpha);
      }
    } else if (entry.kind == DrawKind::Shadow && shadow) {
      shadow->drawBlended(entry.x, entry.y, 0.0f, entry.width, entry.height, 1.0f, 1.0f, 1.0f, shadowAlpha);
    }
  }
  reset();
}

int32_t DrawQueue::headIndex() {
  return head;
}

int32_t DrawQueue::freeIndex() {
  return freeSlot;
}

const DrawEntry& DrawQueue::entryAt(int32_t index) {
  if (index < 0 || index >= capacity) return emptyEntry;
  return entries[index];
}
