// The frame-file scheme shared by crows, pelicans and cows: a [facing][frame] table of sprites
// loaded from a format such as "graphics\\crow\\cro%d%s.tga" and the family's suffix table.
#pragma once

class Sprite;

struct CreatureFrameSet {
  const char* format;
  int facings;
  const char* const* suffixes;
  int frames;
  float width;
  float height;
  float anchorX;
  float anchorY;
};

// Fills table[facing * set.frames + frame], facing by facing, frames in table order.
void loadCreatureFrames(const CreatureFrameSet& set, Sprite** table);
// Destroys every sprite of the table that exists and clears its slot.
void unloadCreatureFrames(const CreatureFrameSet& set, Sprite** table);
