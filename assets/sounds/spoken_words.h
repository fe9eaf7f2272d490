// Words spoken by espeak-ng at build time, as raw material for the voices our own synthesiser
// cannot make convincingly. Its output is deterministic, so the clips stay the same on every build.
#pragma once

#include "synth.h"

struct SpokenStyle {
  int pitch = 50;  // espeak-ng's 0..100 base pitch
  int range = 50;  // 0..100: how far the intonation moves
  int rate = 175;  // words a minute
};

// The words in espeak-ng's English voice at the generator's sample rate; empty when espeak-ng or
// its data is missing, or when it speaks at another rate.
Samples speakWords(const char* text, const SpokenStyle& style);

// Lets espeak-ng go, once every clip is made.
void finishSpeaking();
