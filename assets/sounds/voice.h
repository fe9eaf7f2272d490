// A small source-filter speech synthesiser: a glottal pulse train with a pitch contour drives a
// cascade of formant resonators, with aspiration, bursts and frication from filtered noise.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "synth.h"

// One sound of an utterance: a phoneme name ("a", "u", "b", "h", "m", ...) held for `seconds`.
// For stops the time is the closure; the burst follows it.
struct Phone {
  const char* name;
  double seconds;
};

struct VoiceStyle {
  double formantScale = 1.0;    // above 1 a smaller throat (a child, a bird), below 1 a bigger one
  double bandwidthScale = 1.0;  // wider formants sound duller and harsher
  double tilt = 0.0;            // extra source roll-off in dB per octave (negative is brighter)
  double jitter = 0.0;          // random pitch wobble, as a fraction of the pitch
  double roughness = 0.0;       // period doubling 0..1: the rasp of a crow or a shout
  double breath = 0.0;          // noise mixed into the voiced source
  double flutterRate = 0.0;     // fast loudness flutter: a rolled r, a bird's grating call
  double flutterDepth = 0.0;
  double vibratoRate = 5.5;
  double vibratoDepth = 0.0;  // fraction of the pitch
  uint32_t seed = 1;
};

// Speaks the phones in order. `pitch` gives the fundamental in hertz over time, `loudness` a
// gain over time; both are sampled on the utterance's own clock.
Samples speak(std::initializer_list<Phone> phones, const Curve& pitch, const Curve& loudness,
              const VoiceStyle& style);
