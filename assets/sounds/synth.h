// Building blocks of the sound generator: buffers, noise, oscillators, filters and envelopes.
// Everything is plain float arithmetic with our own noise generator, so the output is the same
// on every run.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

constexpr int kSampleRate = 22050;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

using Samples = std::vector<float>;

int samplesFor(double seconds);
Samples silence(double seconds);
// Adds src into dst starting at `at` seconds, growing dst when needed.
void mixInto(Samples& dst, const Samples& src, double at, double gain = 1.0);
void scale(Samples& samples, double gain);

// xorshift32: our own generator, so noise is identical everywhere.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}
  uint32_t next();
  float bipolar();  // -1..1
  float unit();     // 0..1
 private:
  uint32_t state_;
};

// A value that moves linearly between (time, value) points; held before the first and after the last.
class Curve {
 public:
  struct Point {
    double t;
    double v;
  };
  Curve(std::initializer_list<Point> points) : points_(points) {}
  explicit Curve(std::vector<Point> points) : points_(std::move(points)) {}
  double at(double t) const;
  double duration() const { return points_.empty() ? 0.0 : points_.back().t; }

 private:
  std::vector<Point> points_;
};

// Exponential rise-and-decay envelope of a struck or plucked sound.
double strikeEnvelope(double t, double attack, double decayTime);
// Raised-cosine fade over the first and last edges of a buffer.
void fadeEdges(Samples& samples, double fadeIn, double fadeOut);

// RBJ biquad.
class Biquad {
 public:
  static Biquad lowpass(double freq, double q);
  static Biquad highpass(double freq, double q);
  static Biquad bandpass(double freq, double q);  // peak gain 1
  static Biquad highShelf(double freq, double gainDb);
  void setLowpass(double freq, double q);
  void setBandpass(double freq, double q);
  float process(float x);

 private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Two-pole resonator with unity gain at 0 Hz, the building block of a formant cascade.
class Resonator {
 public:
  void set(double freq, double bandwidth);
  float process(float x);

 private:
  double a_ = 1, b_ = 0, c_ = 0, y1_ = 0, y2_ = 0;
};

// Two-zero anti-resonator (the inverse of a Resonator), for nasal sounds.
class AntiResonator {
 public:
  void set(double freq, double bandwidth);
  float process(float x);

 private:
  double a_ = 1, b_ = 0, c_ = 0, x1_ = 0, x2_ = 0;
};

// Band-limited harmonic oscillator following a per-sample pitch: every harmonic below the
// Nyquist frequency, weighted by the wave shape, summed by a cheap sine recurrence.
enum class Wave { Sine, Saw, Square, Triangle };
class HarmonicOsc {
 public:
  explicit HarmonicOsc(Wave wave, double tilt = 0.0);
  // One sample at `freq` Hz; `brightness` scales how many harmonics sound (0..1 of Nyquist).
  float next(double freq, double brightness = 1.0);
  void setPhase(double phase) { phase_ = phase; }

 private:
  static constexpr int kMaxHarmonics = 512;
  double tiltWeight(int k) const;

  Wave wave_;
  double tilt_;  // extra roll-off in dB per octave, for darker tones
  double phase_ = 0.0;
  double tiltTable_[kMaxHarmonics] = {};
};

// Musical pitch of a MIDI note number (69 = A4 = 440 Hz).
double noteFreq(double midi);

// Plays the buffer back at `speed` times its rate (below 1: slower, deeper pitch and formants).
Samples playAtSpeed(const Samples& samples, double speed);

// Removes DC with a one-pole high-pass at a few hertz.
void removeDc(Samples& samples);

// Ends the buffer at `seconds`, fading out over the last `fade` seconds.
void endAt(Samples& samples, double seconds, double fade);
