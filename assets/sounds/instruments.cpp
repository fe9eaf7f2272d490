#include "instruments.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Every struck or plucked sound is cut to its length; this keeps the cut from clicking.
constexpr double kTailFade = 0.02;
constexpr double kPickAttack = 0.0015;
}  // namespace

Samples pluck(double freq, double seconds, double damping, double brightness, uint32_t seed) {
  Samples out(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  // The two-point average adds half a sample of delay; an all-pass takes up the fraction.
  const double period = kSampleRate / freq - 0.5;
  const int length = std::max(2, static_cast<int>(std::floor(period - 0.5)));
  const double fraction = period - length;
  const double allpass = (1.0 - fraction) / (1.0 + fraction);
  std::vector<double> line(static_cast<size_t>(length), 0.0);
  Noise noise(seed);
  // A pick excites a bright burst: noise softened by brightness.
  double smooth = 0.0;
  for (double& v : line) {
    smooth += (noise.bipolar() - smooth) * std::clamp(brightness, 0.05, 1.0);
    v = smooth;
  }
  double mean = 0.0;
  for (double v : line) mean += v;
  mean /= length;
  for (double& v : line) v -= mean;
  size_t pos = 0;
  double prev = 0.0, apIn = 0.0, apOut = 0.0;
  for (float& s : out) {
    const double current = line[pos];
    const double averaged = damping * 0.5 * (current + prev);
    prev = current;
    const double tuned = allpass * (averaged - apOut) + apIn;
    apIn = averaged;
    apOut = tuned;
    line[pos] = tuned;
    pos = (pos + 1) % line.size();
    s = static_cast<float>(current);
  }
  // A pick, not a click: the string takes a millisecond and a half to speak.
  fadeEdges(out, kPickAttack, kTailFade);
  return out;
}

Samples brass(const Curve& freq, double seconds, double attack, double release, double brightness, double wah,
              double vibratoDepth) {
  Samples out(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  HarmonicOsc osc(Wave::Saw);
  Biquad filter;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double rise = std::min(1.0, t / attack);
    const double fall = std::clamp((seconds - t) / release, 0.0, 1.0);
    const double env = std::sqrt(rise) * fall;
    const double vibratoRamp = std::clamp((t - 0.15) / 0.3, 0.0, 1.0);
    const double f = freq.at(t) * (1.0 + vibratoDepth * vibratoRamp * std::sin(kTwoPi * 5.5 * t));
    const double wahSweep = wah > 0.0 ? wah * (1.0 - std::exp(-t / 0.12)) - wah * 0.5 : 0.0;
    if (i % 16 == 0) filter.setLowpass(f * (1.5 + brightness * 6.0 * env * (1.0 + wahSweep)), 1.2);
    out[i] = static_cast<float>(env * filter.process(osc.next(f)));
  }
  return out;
}

Samples mutedHorn(const Curve& freq, const Curve& open, double seconds, double vibratoDepth) {
  Samples out(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  HarmonicOsc osc(Wave::Saw);
  Resonator mouth1, mouth2;
  Biquad tame = Biquad::lowpass(3000, 0.7);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double o = std::clamp(open.at(t), 0.0, 1.0);
    const double vibratoRamp = std::clamp((t - 0.2) / 0.4, 0.0, 1.0);
    const double f = freq.at(t) * (1.0 + vibratoDepth * vibratoRamp * std::sin(kTwoPi * 5.0 * t));
    if (i % 16 == 0) {
      // Closed the horn says "oo", open it says "ah".
      mouth1.set(320 + 450 * o, 90);
      mouth2.set(800 + 500 * o, 130);
    }
    const float x = tame.process(osc.next(f));
    out[i] = static_cast<float>((0.25 + 0.75 * o) * mouth2.process(mouth1.process(x)));
  }
  return out;
}

Samples reed(double freq, double seconds, double attack, double release) {
  Samples out(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  HarmonicOsc a(Wave::Saw, 1.5), b(Wave::Square, 2.0), c(Wave::Saw, 1.5);
  Biquad body = Biquad::bandpass(1400.0, 0.8);
  Biquad warm = Biquad::lowpass(3500.0, 0.7);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double env = std::min(1.0, t / attack) * std::clamp((seconds - t) / release, 0.0, 1.0);
    const double tone = a.next(freq) + 0.8 * c.next(freq * 1.006) + 0.5 * b.next(freq * 0.5 * 0.997);
    const double shaped =
        warm.process(static_cast<float>(tone)) + 0.6 * body.process(static_cast<float>(tone));
    out[i] = static_cast<float>(env * shaped);
  }
  return out;
}

Samples fiddle(const Curve& freq, double seconds, double attack, double release) {
  Samples out(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  HarmonicOsc osc(Wave::Saw);
  Biquad body1 = Biquad::bandpass(450.0, 1.5), body2 = Biquad::bandpass(1000.0, 1.2),
         body3 = Biquad::bandpass(2700.0, 1.5);
  Noise bow(4711);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double env = std::min(1.0, t / attack) * std::clamp((seconds - t) / release, 0.0, 1.0);
    const double vibrato = 0.006 * std::clamp((t - 0.12) / 0.2, 0.0, 1.0) * std::sin(kTwoPi * 6.0 * t);
    const float x = static_cast<float>(osc.next(freq.at(t) * (1.0 + vibrato)) + 0.05 * bow.bipolar());
    out[i] =
        static_cast<float>(env * (body1.process(x) + body2.process(x) + 0.8 * body3.process(x) + 0.15 * x));
  }
  return out;
}

Samples drum(double freq, double seconds, double drop, double click, uint32_t seed) {
  Samples out(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  Noise noise(seed);
  Biquad clickBand = Biquad::bandpass(2500.0, 0.9);
  double phase = 0.0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double f = freq * (1.0 + drop * std::exp(-t / 0.03));
    phase += f / kSampleRate;
    const double body = std::sin(kTwoPi * phase) * strikeEnvelope(t, 0.002, seconds * 0.35);
    const double stick = click * clickBand.process(noise.bipolar()) * strikeEnvelope(t, 0.0005, 0.012);
    out[i] = static_cast<float>(body + stick);
  }
  fadeEdges(out, 0.0, kTailFade);
  return out;
}

Samples bell(double freq, std::initializer_list<Partial> partials, double seconds) {
  Samples out(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  for (const Partial& p : partials) {
    const double f = freq * p.ratio;
    if (f >= kSampleRate * 0.45) continue;
    for (size_t i = 0; i < out.size(); ++i) {
      const double t = static_cast<double>(i) / kSampleRate;
      out[i] += static_cast<float>(p.level * std::sin(kTwoPi * f * t) * strikeEnvelope(t, 0.001, p.decay));
    }
  }
  fadeEdges(out, 0.0, kTailFade);
  return out;
}

Samples noiseHit(double centre, double q, double attack, double decay, double seconds, uint32_t seed) {
  Samples out(static_cast<size_t>(samplesFor(seconds)), 0.0f);
  Noise noise(seed);
  Biquad band = Biquad::bandpass(centre, q);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    out[i] = static_cast<float>(band.process(noise.bipolar()) * strikeEnvelope(t, attack, decay));
  }
  fadeEdges(out, 0.0, kTailFade);
  return out;
}
