#include "voice.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

enum class Kind { Vowel, Aspirate, VoicedStop, VoicelessStop, Nasal, Liquid, Silence };

struct PhoneTarget {
  const char* name;
  Kind kind;
  double f1, f2, f3;
  double burstFreq;  // stops: centre of the release burst
  double burstGain;
};

// Formant targets of an adult voice; stops give the locus their formants start from.
constexpr PhoneTarget kPhones[] = {
    {"i", Kind::Vowel, 280, 2250, 2900, 0, 0},
    {"e", Kind::Vowel, 530, 1840, 2480, 0, 0},
    {"a", Kind::Vowel, 750, 1150, 2500, 0, 0},
    {"ae", Kind::Vowel, 660, 1720, 2410, 0, 0},
    {"o", Kind::Vowel, 560, 860, 2400, 0, 0},
    {"u", Kind::Vowel, 320, 1100, 2300, 0, 0},
    {"U", Kind::Vowel, 440, 1020, 2240, 0, 0},
    {"@", Kind::Vowel, 640, 1190, 2390, 0, 0},
    {"er", Kind::Vowel, 480, 1250, 1650, 0, 0},
    {"l", Kind::Liquid, 360, 950, 2700, 0, 0},
    {"m", Kind::Nasal, 260, 1000, 2200, 0, 0},
    {"n", Kind::Nasal, 260, 1500, 2500, 0, 0},
    {"h", Kind::Aspirate, 0, 0, 0, 0, 0},
    {"b", Kind::VoicedStop, 250, 800, 2150, 900, 0.8},
    {"d", Kind::VoicedStop, 250, 1700, 2600, 3300, 0.8},
    {"g", Kind::VoicedStop, 250, 1900, 2100, 2000, 0.9},
    {"p", Kind::VoicelessStop, 250, 800, 2150, 900, 0.8},
    {"t", Kind::VoicelessStop, 250, 1700, 2600, 3800, 1.0},
    {"k", Kind::VoicelessStop, 250, 1900, 2100, 2000, 1.0},
    {"_", Kind::Silence, 500, 1500, 2500, 0, 0},
};

const PhoneTarget& findPhone(const char* name) {
  for (const PhoneTarget& p : kPhones) {
    if (std::strcmp(p.name, name) == 0) return p;
  }
  return kPhones[sizeof(kPhones) / sizeof(kPhones[0]) - 1];
}

// The synthesiser's controls at one moment.
struct Frame {
  double t;
  double voice, aspiration, frication, fricFreq, nasal;
  double f1, f2, f3;
};

constexpr double kVowelGlide = 0.045;
constexpr double kBurstSeconds = 0.014;
constexpr double kAspirationSeconds = 0.045;
constexpr double kVoiceBar = 0.12;
constexpr double kVoiceOnset = 0.006;
constexpr double kLocusTransition = 0.045;
// Bursts go round the formant cascade, so they need their own level.
constexpr double kBurstLevel = 4.0;
constexpr double kBurstTail = 0.3;

void addHold(std::vector<Frame>& frames, double start, double end, Frame f, double glide) {
  const double half = std::min(glide * 0.5, (end - start) * 0.45);
  f.t = start + half;
  frames.push_back(f);
  f.t = end - half;
  frames.push_back(f);
}

Frame vowelFrame(const PhoneTarget& p) {
  return {0, 1.0, 0, 0, 0, 0, p.f1, p.f2, p.f3};
}

// The next voiced target after phone i, whose formants aspirates and releases move into.
const PhoneTarget& nextSonorant(const std::vector<Phone>& phones, size_t i) {
  for (size_t j = i + 1; j < phones.size(); ++j) {
    const PhoneTarget& p = findPhone(phones[j].name);
    if (p.kind == Kind::Vowel || p.kind == Kind::Liquid || p.kind == Kind::Nasal) return p;
  }
  return findPhone("@");
}

std::vector<Frame> buildFrames(const std::vector<Phone>& phones, double& total) {
  std::vector<Frame> frames;
  double t = 0.0;
  const PhoneTarget* released = nullptr;  // the voiced stop just before this phone, if any
  for (size_t i = 0; i < phones.size(); ++i) {
    const PhoneTarget& p = findPhone(phones[i].name);
    if (released != nullptr && (p.kind == Kind::Vowel || p.kind == Kind::Liquid)) {
      // After a voiced release the voice starts at once while the formants still travel from
      // the stop's locus to the vowel: what makes a b a b and a g a g.
      const double voice = p.kind == Kind::Vowel ? 1.0 : 0.75;
      frames.push_back({t + kVoiceOnset, voice, 0, 0, 0, 0, released->f1, released->f2, released->f3});
      Frame target{
          t + std::min(kLocusTransition, phones[i].seconds * 0.6), voice, 0, 0, 0, 0, p.f1, p.f2, p.f3};
      frames.push_back(target);
      target.t = t + phones[i].seconds - std::min(kVowelGlide * 0.5, phones[i].seconds * 0.2);
      frames.push_back(target);
      t += phones[i].seconds;
      released = nullptr;
      continue;
    }
    released = nullptr;
    const double d = phones[i].seconds;
    const PhoneTarget& next = nextSonorant(phones, i);
    switch (p.kind) {
      case Kind::Vowel:
        addHold(frames, t, t + d, vowelFrame(p), kVowelGlide);
        break;
      case Kind::Liquid:
        addHold(frames, t, t + d, {0, 0.75, 0, 0, 0, 0, p.f1, p.f2, p.f3}, kVowelGlide);
        break;
      case Kind::Nasal:
        addHold(frames, t, t + d, {0, 0.55, 0, 0, 0, 1.0, p.f1, p.f2, p.f3}, 0.02);
        break;
      case Kind::Aspirate:
        addHold(frames, t, t + d, {0, 0, 0.8, 0, 0, 0, next.f1, next.f2, next.f3}, 0.02);
        break;
      case Kind::Silence:
        addHold(frames, t, t + d, {0, 0, 0, 0, 0, 0, p.f1, p.f2, p.f3}, 0.01);
        break;
      case Kind::VoicedStop:
      case Kind::VoicelessStop: {
        const bool voiced = p.kind == Kind::VoicedStop;
        // Closure: silence or a muffled voice bar, formants at the locus.
        addHold(frames, t, t + d, {0, voiced ? kVoiceBar : 0.0, 0, 0, 0, 0, 180, p.f2, p.f3}, 0.012);
        t += d;
        // Release: a short noise burst shaped by the place of closure.
        const double bar = voiced ? kVoiceBar : 0.0;
        frames.push_back({t + 0.001, bar, 0, p.burstGain, p.burstFreq, 0, p.f1, p.f2, p.f3});
        frames.push_back(
            {t + kBurstSeconds, bar, 0, p.burstGain * kBurstTail, p.burstFreq, 0, p.f1, p.f2, p.f3});
        t += kBurstSeconds;
        if (voiced) {
          released = &p;
        } else {
          // Aspiration carries the formants to the vowel, which then starts softly.
          frames.push_back({t + 0.004, 0, 0.7, 0, p.burstFreq, 0, p.f1, p.f2, p.f3});
          frames.push_back({t + kAspirationSeconds, 0, 0.5, 0, p.burstFreq, 0, next.f1, next.f2, next.f3});
          t += kAspirationSeconds;
        }
        continue;
      }
    }
    t += d;
  }
  total = t;
  return frames;
}

Frame frameAt(const std::vector<Frame>& frames, double t) {
  if (t <= frames.front().t) return frames.front();
  for (size_t i = 1; i < frames.size(); ++i) {
    if (t <= frames[i].t) {
      const Frame& a = frames[i - 1];
      const Frame& b = frames[i];
      const double span = b.t - a.t;
      const double u = span > 0 ? (t - a.t) / span : 1.0;
      auto mixv = [u](double x, double y) { return x + (y - x) * u; };
      return {t,
              mixv(a.voice, b.voice),
              mixv(a.aspiration, b.aspiration),
              mixv(a.frication, b.frication),
              mixv(a.fricFreq, b.fricFreq),
              mixv(a.nasal, b.nasal),
              mixv(a.f1, b.f1),
              mixv(a.f2, b.f2),
              mixv(a.f3, b.f3)};
    }
  }
  return frames.back();
}

constexpr double kNasalPole = 270.0;
constexpr double kNasalZeroShift = 230.0;
constexpr double kNasalBandwidth = 100.0;
// The fourth and fifth formants barely move between vowels.
constexpr double kF4 = 3500.0, kB4 = 250.0;
constexpr double kF5 = 4500.0, kB5 = 300.0;
constexpr double kB3 = 140.0;
constexpr double kAspirationLevel = 0.5;
constexpr double kFricationQ = 1.6;
// Filter coefficients follow the controls every this many samples.
constexpr size_t kControlInterval = 16;
// Resonators ring on after the last phone.
constexpr double kTailSeconds = 0.06;

// Formant bandwidths widen with frequency, as in a real vocal tract.
double bandwidth1(double f1) {
  return 60.0 + f1 * 0.06;
}
double bandwidth2(double f2) {
  return 80.0 + f2 * 0.04;
}

}  // namespace

Samples speak(std::initializer_list<Phone> phoneList, const Curve& pitch, const Curve& loudness,
              const VoiceStyle& style) {
  const std::vector<Phone> phones(phoneList);
  double total = 0.0;
  const std::vector<Frame> frames = buildFrames(phones, total);
  if (frames.empty()) return {};

  Samples out(static_cast<size_t>(samplesFor(total + kTailSeconds)), 0.0f);
  Noise noise(style.seed);
  Noise jitterNoise(style.seed * 7919u + 13u);
  HarmonicOsc glottis(Wave::Saw, style.tilt);
  Resonator formant[5];
  Resonator nasalPole;
  AntiResonator nasalZero;
  Biquad fricBand;
  Biquad aspirationTilt = Biquad::highpass(300.0, 0.7);
  double jitterState = 0.0;
  double subPhase = 0.0;
  const double fs = style.formantScale;
  const double bw = style.bandwidthScale;
  const double nyquistGuard = kSampleRate * 0.45;

  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const Frame f = frameAt(frames, t);
    if (i % kControlInterval == 0) {
      formant[0].set(std::min(f.f1 * fs, nyquistGuard), bandwidth1(f.f1) * bw);
      formant[1].set(std::min(f.f2 * fs, nyquistGuard), bandwidth2(f.f2) * bw);
      formant[2].set(std::min(f.f3 * fs, nyquistGuard), kB3 * bw);
      formant[3].set(std::min(kF4 * fs, nyquistGuard), kB4 * bw);
      formant[4].set(std::min(kF5 * fs, nyquistGuard), kB5 * bw);
      nasalPole.set(kNasalPole, kNasalBandwidth);
      // With no nasality the zero sits on the pole and cancels it.
      nasalZero.set(kNasalPole + kNasalZeroShift * f.nasal, kNasalBandwidth);
      fricBand.setBandpass(std::min(std::max(f.fricFreq, 200.0) * fs, nyquistGuard), kFricationQ);
    }
    // Slow random pitch wobble plus vibrato.
    jitterState += (jitterNoise.bipolar() - jitterState) * 0.02;
    const double vibrato = style.vibratoDepth * std::sin(kTwoPi * style.vibratoRate * t);
    const double f0 = pitch.at(t) * (1.0 + vibrato + style.jitter * jitterState * 4.0);
    double source = glottis.next(f0);
    // Period doubling: every other pulse weaker, the rasp of a harsh voice.
    subPhase += f0 * 0.5 / kSampleRate;
    subPhase -= std::floor(subPhase);
    source *= 1.0 - style.roughness * 0.5 * (1.0 + std::sin(kTwoPi * subPhase));
    source += style.breath * noise.bipolar();
    const double flutter = 1.0 - style.flutterDepth * 0.5 * (1.0 + std::sin(kTwoPi * style.flutterRate * t));
    const double gain = loudness.at(t) * flutter;
    double y =
        gain * (f.voice * source + f.aspiration * kAspirationLevel * aspirationTilt.process(noise.bipolar()));
    y = nasalZero.process(static_cast<float>(y));
    y = nasalPole.process(static_cast<float>(y));
    for (Resonator& r : formant) y = r.process(static_cast<float>(y));
    y += gain * f.frication * kBurstLevel * fricBand.process(noise.bipolar());
    out[i] = static_cast<float>(y);
  }
  fadeEdges(out, 0.0, kTailSeconds);
  return out;
}
