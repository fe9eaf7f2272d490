// The game's wave files: each one's name as the game opens it and the recipe that makes it.
#pragma once

#include "synth.h"

struct ClipRecipe {
  const char* fileName;  // as the game names it: "sound\\boo.wav"
  Samples (*make)();
};

constexpr int kClipCount = 23;
extern const ClipRecipe kClipRecipes[kClipCount];
