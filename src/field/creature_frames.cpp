#include "field/creature_frames.h"

#include <cstdio>

#include "render/sprite.h"

namespace {
// Room for the longest family path plus a facing number of any width.
constexpr int fileNameCapacity = 128;
}  // namespace

void loadCreatureFrames(const CreatureFrameSet& set, Sprite** table) {
  char fileName[fileNameCapacity];
  for (int facing = 0; facing < set.facings; ++facing) {
    for (int frame = 0; frame < set.frames; ++frame) {
      std::snprintf(fileName, sizeof fileName, set.format, facing, set.suffixes[frame]);
      table[facing * set.frames + frame] =
          new Sprite(fileName, set.width, set.height, set.anchorX, set.anchorY);
    }
  }
}

void unloadCreatureFrames(const CreatureFrameSet& set, Sprite** table) {
  for (int slot = 0; slot < set.facings * set.frames; ++slot) {
    delete table[slot];
    table[slot] = nullptr;
  }
}
