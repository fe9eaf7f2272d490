// Instruments and effects built from the synth blocks: plucked strings, brass, reeds, drums, bells.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "synth.h"

// Karplus-Strong plucked string (banjo, guitar); `damping` near 1 rings longer.
Samples pluck(double freq, double seconds, double damping, double brightness, uint32_t seed);

// Brass note: band-limited saw whose filter opens with the envelope (the "blat" of a horn).
// `wah` > 0 sweeps the filter once per note for a muted "wah".
Samples brass(const Curve& freq, double seconds, double attack, double release, double brightness,
              double wah = 0.0, double vibratoDepth = 0.0);

// Plunger-muted horn: `open` (0 closed .. 1 open) moves a vocal resonance, so a note says "wah".
Samples mutedHorn(const Curve& freq, const Curve& open, double seconds, double vibratoDepth);

// Free-reed note (accordion, concertina): two detuned reeds beating against each other.
Samples reed(double freq, double seconds, double attack, double release);

// Bowed-string note (fiddle): saw through body resonances, with delayed vibrato.
Samples fiddle(const Curve& freq, double seconds, double attack, double release);

// Tuned drum: a sine that drops in pitch, with a stick click.
Samples drum(double freq, double seconds, double drop, double click, uint32_t seed);

// Struck metal: inharmonic partials (ratio, relative level, decay seconds).
struct Partial {
  double ratio;
  double level;
  double decay;
};
Samples bell(double freq, std::initializer_list<Partial> partials, double seconds);

// Band-passed noise with a strike envelope: knocks, clicks, crunches, drawer rattles.
Samples noiseHit(double centre, double q, double attack, double decay, double seconds, uint32_t seed);
