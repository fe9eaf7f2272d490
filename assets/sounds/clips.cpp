#include "clips.h"

#include <cmath>
#include <vector>

#include "instruments.h"
#include "spoken_words.h"
#include "voice.h"

namespace {

// ---- music ----

constexpr double kEighth = 0.2;  // the title tune runs at 150 beats a minute

struct Note {
  double midi;
  double start;  // in eighths
  double length;
};

Samples titleTune() {
  Samples out = silence(4.0);
  // Banjo melody: a rising run, a turn at the top, then down to the tonic.
  const Note melody[] = {{67, 0, 1},  {69, 1, 1},  {71, 2, 1},  {74, 3, 1},  {76, 4, 1},  {74, 5, 1},
                         {71, 6, 1},  {74, 7, 1},  {76, 8, 1},  {79, 9, 1},  {76, 10, 1}, {74, 11, 1},
                         {72, 12, 1}, {69, 13, 1}, {66, 14, 1}, {69, 15, 1}, {67, 16, 4}, {79, 16, 4}};
  uint32_t seed = 100;
  for (const Note& n : melody) {
    mixInto(out, pluck(noteFreq(n.midi), n.length * kEighth + 0.5, 0.996, 0.9, seed++), n.start * kEighth,
            0.55);
  }
  // Boom-chick: bass on the beat, strummed chord on the off-beat.
  const Note bass[] = {{43, 0, 2}, {38, 4, 2}, {48, 8, 2}, {38, 12, 2}, {43, 16, 4}};
  for (const Note& n : bass) {
    mixInto(out, pluck(noteFreq(n.midi), n.length * kEighth + 0.6, 0.997, 0.3, seed++), n.start * kEighth,
            0.8);
  }
  struct Chord {
    double start;
    double notes[3];
  };
  const Chord chords[] = {
      {2, {55, 59, 62}}, {6, {55, 59, 62}}, {10, {55, 60, 64}}, {14, {57, 62, 66}}, {16, {55, 59, 62}}};
  for (const Chord& c : chords) {
    for (int k = 0; k < 3; ++k) {
      mixInto(out, pluck(noteFreq(c.notes[k]), 0.9, 0.993, 0.5, seed++), c.start * kEighth + 0.012 * k, 0.28);
    }
  }
  // A fiddle draws long notes above, sliding up into each one.
  const Note fiddleLine[] = {{74, 0, 4}, {71, 4, 4}, {76, 8, 4}, {78, 12, 4}, {79, 16, 4}};
  for (const Note& n : fiddleLine) {
    const Curve slide{{0, noteFreq(n.midi - 1)}, {0.07, noteFreq(n.midi)}};
    mixInto(out, fiddle(slide, n.length * kEighth, 0.06, 0.12), n.start * kEighth, 0.12);
  }
  endAt(out, 4.0, 0.5);
  return out;
}

Samples gameOverTune() {
  Samples out;
  // Four muted horn notes falling by semitones, each one a "wah"; the last one long, wah-wahing.
  const double notes[] = {55, 54, 53};
  for (int i = 0; i < 3; ++i) {
    Samples note =
        mutedHorn(Curve{{0, noteFreq(notes[i])}}, Curve{{0, 0}, {0.12, 1}, {0.38, 0.8}, {0.5, 0.2}}, 0.5, 0);
    fadeEdges(note, 0.02, 0.08);
    mixInto(out, note, i * 0.55);
  }
  std::vector<Curve::Point> wobble;
  for (int k = 0; k <= 16; ++k) wobble.push_back({0.2 + k * 0.1, k % 2 == 0 ? 1.0 : 0.45});
  wobble.insert(wobble.begin(), {0.0, 0.0});
  Samples last = mutedHorn(Curve{{0, noteFreq(52)}, {1.7, noteFreq(51.6)}}, Curve(wobble), 1.8, 0.015);
  fadeEdges(last, 0.02, 0.6);
  mixInto(out, last, 1.65);
  return out;
}

Samples pirateSting() {
  Samples out = silence(2.3);
  const Note tune[] = {{69, 0, 1}, {74, 1, 2}, {76, 3, 1}, {77, 4, 2},
                       {76, 6, 1}, {72, 7, 1}, {69, 8, 1}, {74, 9, 5}};
  constexpr double step = 0.15;
  for (const Note& n : tune) {
    mixInto(out, reed(noteFreq(n.midi), n.length * step - 0.01, 0.015, 0.04), n.start * step, 0.5);
  }
  // Minor drone, then the dominant, then home.
  mixInto(out, reed(noteFreq(50), 1.2, 0.05, 0.1), 0.0, 0.25);
  mixInto(out, reed(noteFreq(57), 1.2, 0.05, 0.1), 0.0, 0.2);
  mixInto(out, reed(noteFreq(45), 0.15, 0.02, 0.05), 1.2, 0.3);
  mixInto(out, reed(noteFreq(50), 0.8, 0.02, 0.4), 1.35, 0.3);
  mixInto(out, reed(noteFreq(57), 0.8, 0.02, 0.4), 1.35, 0.2);
  for (int i = 0; i < 4; ++i) mixInto(out, drum(70, 0.35, 1.0, 0.3, 300 + i), i * 0.45, 0.7);
  // The captain growls over the last chord, his r rolled.
  VoiceStyle captain;
  captain.formantScale = 0.92;
  captain.roughness = 0.5;
  captain.tilt = -1.0;
  captain.flutterRate = 26.0;
  captain.flutterDepth = 0.35;
  captain.seed = 310;
  mixInto(out,
          speak({{"a", 0.22}, {"er", 0.4}}, Curve{{0, 120}, {0.1, 135}, {0.62, 90}},
                Curve{{0, 0.6}, {0.05, 1.0}, {0.45, 0.8}, {0.62, 0.1}}, captain),
          1.36, 0.75);
  return out;
}

// ---- voices ----

VoiceStyle cowVoice(uint32_t seed) {
  VoiceStyle v;
  v.formantScale = 0.78;
  v.bandwidthScale = 1.3;
  v.tilt = 2.0;
  v.jitter = 0.01;
  v.roughness = 0.3;
  v.breath = 0.05;
  v.seed = seed;
  return v;
}

Samples moo(double seconds, double low, double high, uint32_t seed) {
  const double open = seconds - 0.36;
  return speak(
      {{"m", 0.13}, {"U", 0.08}, {"o", open}, {"u", 0.15}},
      Curve{{0, low}, {0.15, low * 1.1}, {0.3, high}, {seconds * 0.7, high * 0.95}, {seconds, low * 0.85}},
      Curve{{0, 0.5}, {0.12, 0.7}, {0.25, 1.0}, {seconds - 0.15, 0.9}, {seconds, 0.3}}, cowVoice(seed));
}

Samples mooingFanfare() {
  Samples out = silence(2.3);
  const double starts[] = {0.0, 0.12, 0.24};
  for (double s : starts) mixInto(out, brass(Curve{{0, noteFreq(67)}}, 0.1, 0.01, 0.03, 1.0), s, 0.6);
  mixInto(out, brass(Curve{{0, noteFreq(72)}}, 0.5, 0.015, 0.1, 1.0), 0.36, 0.6);
  const double chord[] = {60, 64, 67};
  for (double n : chord) mixInto(out, brass(Curve{{0, noteFreq(n)}}, 1.3, 0.1, 0.4, 0.6), 0.9, 0.25);
  mixInto(out, moo(1.25, 100, 135, 21), 0.9, 1.0);
  return out;
}

Samples oogaBooga() {
  Samples out;
  // Two chanting voices a little apart in pitch and time sound like a tribe.
  for (int voice = 0; voice < 2; ++voice) {
    Samples chant = speakWords("ooga booga", SpokenStyle{voice == 0 ? 35 : 60, 70, 190});
    if (chant.empty()) return {};
    mixInto(out, chant, voice * 0.012, voice == 0 ? 0.6 : 0.45);
  }
  const double beats[] = {0.0, 0.2, 0.4, 0.6};
  for (int i = 0; i < 4; ++i)
    mixInto(out, drum(i % 2 == 0 ? 85 : 110, 0.25, 0.8, 0.5, 50 + i), beats[i], 0.5);
  return out;
}

Samples refusalBuzz() {
  Samples out;
  for (int i = 0; i < 2; ++i) {
    Samples blast = silence(0.15);
    HarmonicOsc a(Wave::Square), b(Wave::Square);
    Biquad soft = Biquad::lowpass(2200, 0.7);
    for (size_t k = 0; k < blast.size(); ++k) {
      blast[k] = soft.process(static_cast<float>(a.next(110.0) + b.next(116.5)));
    }
    fadeEdges(blast, 0.005, 0.01);
    mixInto(out, blast, i * 0.2);
  }
  return out;
}

Samples cashRegister() {
  Samples out = silence(0.8);
  // "Ka": the lever, the drawer's spring and its rattle.
  mixInto(out, noiseHit(1800, 1.2, 0.001, 0.015, 0.08, 61), 0.0, 0.9);
  mixInto(out, drum(120, 0.12, 0.6, 0.0, 62), 0.0, 0.5);
  Noise n(63);
  for (int i = 0; i < 8; ++i) {
    mixInto(out, noiseHit(2500 + 1500 * n.unit(), 3.0, 0.0005, 0.006, 0.03, 64 + i), 0.03 + i * 0.011,
            0.5 * (1.0 - i * 0.08));
  }
  // "Ching": two small bells.
  mixInto(out, bell(2093, {{1, 1, 0.35}, {2.0, 0.4, 0.25}, {2.76, 0.5, 0.2}, {5.4, 0.25, 0.1}}, 0.68), 0.12,
          0.5);
  mixInto(out, bell(2637, {{1, 1, 0.3}, {2.0, 0.3, 0.2}, {2.76, 0.4, 0.15}}, 0.66), 0.135, 0.4);
  return out;
}

Samples shopkeeperHello() {
  VoiceStyle v;
  // A friendly speaking voice: softer highs than a shout, a little breath.
  v.formantScale = 1.05;
  v.tilt = 2.5;
  v.vibratoDepth = 0.01;
  v.jitter = 0.005;
  v.breath = 0.05;
  v.seed = 70;
  return speak({{"h", 0.06}, {"e", 0.11}, {"l", 0.07}, {"o", 0.14}, {"U", 0.08}, {"u", 0.12}},
               Curve{{0, 130}, {0.06, 145}, {0.17, 135}, {0.24, 130}, {0.3, 175}, {0.42, 205}, {0.58, 160}},
               Curve{{0, 0.6}, {0.06, 1.0}, {0.45, 1.0}, {0.58, 0.5}}, v);
}

// Words said slowly and played back slower still: a bigger throat, a lower voice, with the
// cow's breathy roughness laid over the top.
Samples cowSays(const char* words, uint32_t seed) {
  Samples said = playAtSpeed(speakWords(words, SpokenStyle{10, 60, 140}), 0.8);
  Noise breath(seed);
  Biquad husk = Biquad::lowpass(1500, 0.7);
  for (float& s : said) s *= static_cast<float>(1.0 + 0.3 * husk.process(breath.bipolar()));
  return said;
}

Samples cowHello() {
  return cowSays("hello", 80);
}
Samples cowMoo() {
  return moo(0.45, 110, 130, 81);
}

Samples cowMooga() {
  return cowSays("mooga", 82);
}

VoiceStyle crowVoice(uint32_t seed) {
  VoiceStyle v;
  v.formantScale = 1.5;
  v.bandwidthScale = 1.8;
  v.tilt = -2.0;
  v.jitter = 0.04;
  v.roughness = 0.8;
  v.breath = 0.3;
  v.seed = seed;
  return v;
}

Samples crowCaw() {
  VoiceStyle v = crowVoice(90);
  v.flutterRate = 38.0;
  v.flutterDepth = 0.45;
  return speak({{"k", 0.01}, {"a", 0.26}}, Curve{{0, 430}, {0.08, 520}, {0.2, 500}, {0.33, 380}},
               Curve{{0, 0.7}, {0.07, 1.0}, {0.24, 0.85}, {0.33, 0.2}}, v);
}

Samples crowPeckAndCrunch() {
  Samples out = silence(0.38);
  for (int i = 0; i < 2; ++i) {
    mixInto(out, noiseHit(3000, 3.0, 0.0005, 0.008, 0.05, 91 + i), i * 0.07, 0.9);
    mixInto(out, drum(900, 0.04, 0.3, 0.0, 93), i * 0.07, 0.4);
  }
  Noise n(94);
  for (int i = 0; i < 26; ++i) {
    const double t = 0.13 + 0.21 * n.unit() * n.unit();
    mixInto(out, noiseHit(1500 + 3000 * n.unit(), 2.0, 0.0005, 0.004 + 0.006 * n.unit(), 0.03, 100 + i), t,
            0.3 + 0.5 * n.unit());
  }
  return out;
}

// Wing beats of a bird taking off: soft whooshes of low noise, quickening away.
Samples wingFlaps(int beats, double interval, uint32_t seed) {
  Samples out;
  for (int i = 0; i < beats; ++i) {
    Samples beat = noiseHit(500 + 90 * i, 0.8, 0.018, 0.03, 0.12, seed + i);
    mixInto(out, beat, i * interval, 1.0 - 0.12 * i);
  }
  return out;
}

Samples crowSquawk() {
  VoiceStyle v = crowVoice(95);
  v.roughness = 0.9;
  v.breath = 0.3;
  v.vibratoRate = 18;
  v.vibratoDepth = 0.05;
  v.flutterRate = 45.0;
  v.flutterDepth = 0.3;
  // A shriek that jumps up at once, over frantic wing beats.
  Samples out = speak({{"k", 0.005}, {"ae", 0.26}}, Curve{{0, 760}, {0.05, 1080}, {0.2, 960}, {0.32, 700}},
                      Curve{{0, 0.8}, {0.04, 1.0}, {0.22, 0.9}, {0.32, 0.15}}, v);
  mixInto(out, wingFlaps(5, 0.075, 97), 0.03, 0.35);
  return out;
}

Samples crowLaugh() {
  VoiceStyle v = crowVoice(96);
  v.formantScale = 1.4;
  v.roughness = 0.6;
  // Ha-ha-ha-haaa: each syllable a push of breath that dies away, each a step lower. A catch of
  // silence between them keeps the syllables apart; without it they blur into one long cry.
  constexpr double catchSeconds = 0.035, h = 0.035, a = 0.09;
  constexpr double syllable = catchSeconds + h + a;
  std::vector<Curve::Point> pitch, push;
  const double steps[] = {720, 670, 630, 590};
  for (int k = 0; k < 4; ++k) {
    const double t = k * syllable;
    pitch.push_back({t, steps[k] * 1.04});
    pitch.push_back({t + syllable - 0.005, steps[k] * 0.96});
    push.push_back({t, 0.25});
    push.push_back({t + 0.045, 1.0});
    push.push_back({t + syllable - catchSeconds, 0.15});
  }
  pitch.push_back({4 * syllable + 0.15, 470});
  push.back() = {3 * syllable + 0.12, 0.9};
  push.push_back({4 * syllable + 0.15, 0.1});
  return speak({{"h", h},
                {"a", a},
                {"_", catchSeconds},
                {"h", h},
                {"a", a},
                {"_", catchSeconds},
                {"h", h},
                {"a", a},
                {"_", catchSeconds},
                {"h", h},
                {"a", 0.15}},
               Curve(pitch), Curve(push), v);
}

Samples honk(double pitch, double seconds, uint32_t seed) {
  VoiceStyle v;
  v.formantScale = 1.2;
  v.roughness = 0.35;
  v.tilt = -4.0;
  v.jitter = 0.01;
  v.seed = seed;
  // "Honk": a brassy open vowel closing into a short nasal.
  return speak({{"U", 0.06}, {"o", seconds * 0.55}, {"n", seconds * 0.2}},
               Curve{{0, pitch * 0.9}, {0.05, pitch * 1.1}, {seconds, pitch}},
               Curve{{0, 0.6}, {0.02, 1.0}, {seconds * 0.6, 0.9}, {seconds * 0.8, 0.5}, {seconds, 0.0}}, v);
}

Samples pelicanHonk() {
  return honk(300, 0.34, 110);
}

// A rising water bubble: the "bloop" of something going down a throat.
Samples bubble(double from, double to, double seconds) {
  Samples out = silence(seconds);
  double phase = 0.0;
  for (size_t k = 0; k < out.size(); ++k) {
    const double t = static_cast<double>(k) / kSampleRate;
    phase += (from + (to - from) * t / seconds) / kSampleRate;
    out[k] = static_cast<float>(std::sin(kTwoPi * phase) * strikeEnvelope(t, 0.01, seconds * 0.33));
  }
  return out;
}

Samples pelicanGulp() {
  Samples out = silence(0.42);
  // The bill snaps shut on the corn...
  mixInto(out, noiseHit(1200, 4.0, 0.0005, 0.01, 0.05, 111), 0.0, 0.8);
  mixInto(out, drum(600, 0.05, 0.2, 0.0, 112), 0.0, 0.4);
  // ...a deep-throated "gulp"...
  VoiceStyle throat;
  throat.formantScale = 0.8;
  throat.tilt = 3.0;
  throat.roughness = 0.2;
  throat.seed = 114;
  mixInto(out,
          speak({{"g", 0.02}, {"@", 0.07}, {"l", 0.04}, {"p", 0.01}}, Curve{{0, 130}, {0.15, 95}},
                Curve{{0, 1.0}, {0.1, 1.0}, {0.16, 0.4}}, throat),
          0.05, 0.9);
  // ...and it goes down.
  mixInto(out, bubble(170, 650, 0.12), 0.24, 0.5);
  mixInto(out, drum(120, 0.15, 1.2, 0.0, 113), 0.24, 0.6);
  return out;
}

Samples pelicanFear() {
  Samples out;
  const double pitches[] = {360, 410, 470};
  for (int i = 0; i < 3; ++i) mixInto(out, honk(pitches[i], 0.14, 120 + i), i * 0.16);
  return out;
}

Samples powerDown() {
  Samples out = silence(0.8);
  HarmonicOsc osc(Wave::Square);
  Biquad soft;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double f = 880.0 * std::pow(55.0 / 880.0, t / 0.8) * (1.0 + 0.04 * std::sin(kTwoPi * 10 * t));
    if (i % 16 == 0) soft.setLowpass(f * 5.0, 0.8);
    out[i] = static_cast<float>(soft.process(osc.next(f)) * (1.0 - 0.5 * t / 0.8));
  }
  return out;
}

Samples shoutBoo() {
  VoiceStyle v;
  v.tilt = 0.0;
  v.roughness = 0.15;
  v.jitter = 0.01;
  v.vibratoDepth = 0.01;
  v.seed = 130;
  // Short and punchy: a held Ctrl shouts again every fifth of a second.
  return speak({{"b", 0.025}, {"u", 0.32}}, Curve{{0, 180}, {0.08, 265}, {0.24, 230}, {0.37, 165}},
               Curve{{0, 0.8}, {0.05, 1.0}, {0.27, 0.85}, {0.37, 0.2}}, v);
}

Samples cornChime() {
  Samples out;
  const double notes[] = {84, 88, 91, 96};
  for (int i = 0; i < 4; ++i) {
    mixInto(out, bell(noteFreq(notes[i]), {{1, 1, 0.18}, {2, 0.25, 0.08}, {3, 0.1, 0.05}}, 0.45), i * 0.05,
            0.5);
  }
  return out;
}

Samples coughTwice() {
  Samples out;
  VoiceStyle v;
  v.roughness = 0.9;
  v.breath = 1.2;
  v.jitter = 0.04;
  v.tilt = -2.0;
  for (int i = 0; i < 2; ++i) {
    v.seed = 140 + i;
    // The glottis bursts open straight into a rough, breathy "uh".
    Samples cough = speak({{"@", 0.12}, {"h", 0.07}}, Curve{{0, 190}, {0.19, 120}},
                          Curve{{0, 0.0}, {0.006, 1.0}, {0.05, 0.7}, {0.12, 0.3}, {0.19, 0.0}}, v);
    mixInto(cough, noiseHit(1400, 0.7, 0.002, 0.025, 0.1, 145 + i), 0.0, 1.5);
    mixInto(out, cough, i * 0.24, i == 0 ? 1.0 : 0.75);
  }
  return out;
}

Samples roosterCrow() {
  VoiceStyle v;
  v.formantScale = 1.5;
  v.bandwidthScale = 1.3;
  v.tilt = -3.0;
  v.jitter = 0.02;
  v.roughness = 0.5;
  v.breath = 0.05;
  v.vibratoRate = 9.0;
  v.vibratoDepth = 0.01;
  v.seed = 150;
  // Open vowels throughout: a rooster's pitch sits above a closed vowel's first formant.
  return speak({{"k", 0.02},
                {"a", 0.11},
                {"k", 0.025},
                {"@", 0.09},
                {"d", 0.02},
                {"o", 0.16},
                {"d", 0.02},
                {"@", 0.04},
                {"l", 0.06},
                {"d", 0.02},
                {"o", 0.5},
                {"U", 0.25}},
               Curve{{0, 480},
                     {0.19, 520},
                     {0.27, 600},
                     {0.36, 640},
                     {0.4, 720},
                     {0.55, 740},
                     {0.69, 700},
                     {0.75, 820},
                     {1.1, 860},
                     {1.35, 760},
                     {1.47, 560}},
               // The opening syllables sit between harmonics and formants: push them up.
               Curve{{0, 2.2}, {0.69, 2.2}, {0.76, 1.0}, {1.3, 1.0}, {1.47, 0.3}}, v);
}

}  // namespace

// clang-format off
const ClipRecipe kClipRecipes[kClipCount] = {
    {"sound\\title.wav", titleTune},
    {"sound\\gameover.wav", gameOverTune},
    {"sound\\rooster.wav", roosterCrow},
    {"sound\\scurvy.wav", pirateSting},
    {"sound\\mania.wav", mooingFanfare},
    {"sound\\oogabooga.wav", oogaBooga},
    {"sound\\nobuy.wav", refusalBuzz},
    {"sound\\buy.wav", cashRegister},
    {"sound\\hello.wav", shopkeeperHello},
    {"sound\\cow_hello.wav", cowHello},
    {"sound\\cow_moo.wav", cowMoo},
    {"sound\\cow_mooga.wav", cowMooga},
    {"sound\\crow_go.wav", crowCaw},
    {"sound\\crow_corn.wav", crowPeckAndCrunch},
    {"sound\\crow_fear.wav", crowSquawk},
    {"sound\\crow_haha.wav", crowLaugh},
    {"sound\\peli_go.wav", pelicanHonk},
    {"sound\\peli_eat.wav", pelicanGulp},
    {"sound\\peli_fear.wav", pelicanFear},
    {"sound\\powerdown.wav", powerDown},
    {"sound\\boo.wav", shoutBoo},
    {"sound\\corn_get.wav", cornChime},
    {"sound\\cough.wav", coughTwice},
};
// clang-format on
