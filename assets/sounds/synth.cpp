#include "synth.h"

#include <algorithm>
#include <cmath>

int samplesFor(double seconds) {
  return static_cast<int>(std::lround(seconds * kSampleRate));
}

Samples silence(double seconds) {
  return Samples(static_cast<size_t>(std::max(0, samplesFor(seconds))), 0.0f);
}

void mixInto(Samples& dst, const Samples& src, double at, double gain) {
  const int start = std::max(0, samplesFor(at));
  const size_t end = static_cast<size_t>(start) + src.size();
  if (dst.size() < end) dst.resize(end, 0.0f);
  for (size_t i = 0; i < src.size(); ++i) dst[start + i] += static_cast<float>(src[i] * gain);
}

void scale(Samples& samples, double gain) {
  for (float& s : samples) s = static_cast<float>(s * gain);
}

uint32_t Noise::next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

float Noise::bipolar() {
  return static_cast<float>(next() >> 8) / 8388608.0f - 1.0f;
}

float Noise::unit() {
  return static_cast<float>(next() >> 8) / 16777216.0f;
}

double Curve::at(double t) const {
  if (points_.empty()) return 0.0;
  if (t <= points_.front().t) return points_.front().v;
  for (size_t i = 1; i < points_.size(); ++i) {
    const Point& b = points_[i];
    if (t <= b.t) {
      const Point& a = points_[i - 1];
      const double span = b.t - a.t;
      if (span <= 0.0) return b.v;
      return a.v + (b.v - a.v) * (t - a.t) / span;
    }
  }
  return points_.back().v;
}

double strikeEnvelope(double t, double attack, double decayTime) {
  if (t < 0.0) return 0.0;
  if (t < attack) return 0.5 - 0.5 * std::cos(kPi * t / attack);
  return std::exp(-(t - attack) / decayTime);
}

void fadeEdges(Samples& samples, double fadeIn, double fadeOut) {
  const int n = static_cast<int>(samples.size());
  const int in = std::min(n, samplesFor(fadeIn));
  const int out = std::min(n, samplesFor(fadeOut));
  for (int i = 0; i < in; ++i) samples[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / in));
  for (int i = 0; i < out; ++i) {
    samples[n - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / out));
  }
}

Biquad Biquad::lowpass(double freq, double q) {
  Biquad f;
  f.setLowpass(freq, q);
  return f;
}

Biquad Biquad::highpass(double freq, double q) {
  Biquad f;
  const double w = kTwoPi * freq / kSampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  f.b0_ = (1.0 + std::cos(w)) / 2.0 / a0;
  f.b1_ = -(1.0 + std::cos(w)) / a0;
  f.b2_ = f.b0_;
  f.a1_ = -2.0 * std::cos(w) / a0;
  f.a2_ = (1.0 - alpha) / a0;
  return f;
}

Biquad Biquad::highShelf(double freq, double gainDb) {
  Biquad f;
  const double a = std::pow(10.0, gainDb / 40.0);
  const double w = kTwoPi * freq / kSampleRate;
  const double cw = std::cos(w);
  const double alpha = std::sin(w) / 2.0 * std::sqrt(2.0);
  const double root = 2.0 * std::sqrt(a) * alpha;
  const double a0 = (a + 1) - (a - 1) * cw + root;
  f.b0_ = a * ((a + 1) + (a - 1) * cw + root) / a0;
  f.b1_ = -2 * a * ((a - 1) + (a + 1) * cw) / a0;
  f.b2_ = a * ((a + 1) + (a - 1) * cw - root) / a0;
  f.a1_ = 2 * ((a - 1) - (a + 1) * cw) / a0;
  f.a2_ = ((a + 1) - (a - 1) * cw - root) / a0;
  return f;
}

Biquad Biquad::bandpass(double freq, double q) {
  Biquad f;
  f.setBandpass(freq, q);
  return f;
}

void Biquad::setLowpass(double freq, double q) {
  freq = std::clamp(freq, 10.0, kSampleRate * 0.45);
  const double w = kTwoPi * freq / kSampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  b0_ = (1.0 - std::cos(w)) / 2.0 / a0;
  b1_ = (1.0 - std::cos(w)) / a0;
  b2_ = b0_;
  a1_ = -2.0 * std::cos(w) / a0;
  a2_ = (1.0 - alpha) / a0;
}

void Biquad::setBandpass(double freq, double q) {
  freq = std::clamp(freq, 10.0, kSampleRate * 0.45);
  const double w = kTwoPi * freq / kSampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  b0_ = alpha / a0;
  b1_ = 0.0;
  b2_ = -alpha / a0;
  a1_ = -2.0 * std::cos(w) / a0;
  a2_ = (1.0 - alpha) / a0;
}

float Biquad::process(float x) {
  const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return static_cast<float>(y);
}

void Resonator::set(double freq, double bandwidth) {
  const double t = 1.0 / kSampleRate;
  c_ = -std::exp(-kTwoPi * bandwidth * t);
  b_ = 2.0 * std::exp(-kPi * bandwidth * t) * std::cos(kTwoPi * freq * t);
  a_ = 1.0 - b_ - c_;
}

float Resonator::process(float x) {
  const double y = a_ * x + b_ * y1_ + c_ * y2_;
  y2_ = y1_;
  y1_ = y;
  return static_cast<float>(y);
}

void AntiResonator::set(double freq, double bandwidth) {
  const double t = 1.0 / kSampleRate;
  const double c = -std::exp(-kTwoPi * bandwidth * t);
  const double b = 2.0 * std::exp(-kPi * bandwidth * t) * std::cos(kTwoPi * freq * t);
  const double a = 1.0 - b - c;
  a_ = 1.0 / a;
  b_ = -b / a;
  c_ = -c / a;
}

float AntiResonator::process(float x) {
  const double y = a_ * x + b_ * x1_ + c_ * x2_;
  x2_ = x1_;
  x1_ = x;
  return static_cast<float>(y);
}

HarmonicOsc::HarmonicOsc(Wave wave, double tilt) : wave_(wave), tilt_(tilt) {
  // Each octave up loses `tilt` dB: weight k^(log2 of the per-octave gain).
  const double exponent = std::log2(std::pow(10.0, -tilt / 20.0));
  for (int k = 1; k < kMaxHarmonics; ++k) tiltTable_[k] = std::pow(static_cast<double>(k), exponent);
}

double HarmonicOsc::tiltWeight(int k) const {
  return k < kMaxHarmonics ? tiltTable_[k] : 0.0;
}

float HarmonicOsc::next(double freq, double brightness) {
  phase_ += freq / kSampleRate;
  phase_ -= std::floor(phase_);
  if (wave_ == Wave::Sine) return static_cast<float>(std::sin(kTwoPi * phase_));
  const double nyquist = kSampleRate * 0.5 * std::clamp(brightness, 0.02, 1.0) * 0.92;
  const double limit = nyquist / std::max(freq, 1.0);
  const int count = std::max(1, static_cast<int>(limit));
  const double theta = kTwoPi * phase_;
  const double twoCos = 2.0 * std::cos(theta);
  double sPrev = 0.0;
  double s = std::sin(theta);
  double sum = 0.0;
  for (int k = 1; k <= count; ++k) {
    double weight = 0.0;
    switch (wave_) {
      case Wave::Saw:
        weight = 1.0 / k;
        break;
      case Wave::Square:
        weight = (k % 2 == 1) ? 1.0 / k : 0.0;
        break;
      case Wave::Triangle:
        weight = (k % 2 == 1) ? ((k / 2) % 2 == 0 ? 1.0 : -1.0) / (static_cast<double>(k) * k) : 0.0;
        break;
      case Wave::Sine:
        break;
    }
    if (tilt_ != 0.0) weight *= tiltWeight(k);
    // Harmonics near the limit fade in and out smoothly as the pitch glides.
    const double edge = limit - k;
    if (edge < 1.0) weight *= std::max(0.0, edge);
    sum += weight * s;
    const double sNext = twoCos * s - sPrev;
    sPrev = s;
    s = sNext;
  }
  return static_cast<float>(sum * (wave_ == Wave::Triangle ? 0.81 : 0.6));
}

double noteFreq(double midi) {
  return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

Samples playAtSpeed(const Samples& samples, double speed) {
  if (samples.size() < 2 || speed <= 0.0) return samples;
  Samples out(static_cast<size_t>(static_cast<double>(samples.size() - 1) / speed) + 1);
  for (size_t i = 0; i < out.size(); ++i) {
    const double at = static_cast<double>(i) * speed;
    const size_t k = std::min(static_cast<size_t>(at), samples.size() - 2);
    const double u = at - static_cast<double>(k);
    out[i] = static_cast<float>(samples[k] + (samples[k + 1] - samples[k]) * u);
  }
  return out;
}

void removeDc(Samples& samples) {
  // Two passes of a one-pole high-pass (about 8 Hz), forwards then backwards, so no phase shift
  // smears the attacks.
  const double r = 1.0 - kTwoPi * 8.0 / kSampleRate;
  double x1 = 0.0, y1 = 0.0;
  for (float& s : samples) {
    const double y = s - x1 + r * y1;
    x1 = s;
    y1 = y;
    s = static_cast<float>(y);
  }
  x1 = y1 = 0.0;
  for (auto it = samples.rbegin(); it != samples.rend(); ++it) {
    const double y = *it - x1 + r * y1;
    x1 = *it;
    y1 = y;
    *it = static_cast<float>(y);
  }
}

void endAt(Samples& samples, double seconds, double fade) {
  samples.resize(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  const int n = static_cast<int>(samples.size());
  const int length = std::min(n, samplesFor(fade));
  for (int i = 0; i < length; ++i) {
    samples[n - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / length));
  }
}
