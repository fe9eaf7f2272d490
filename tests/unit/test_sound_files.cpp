// The generated wave files: every clip the game opens exists, loads, and meets the technical bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "sound/sound_clip.h"
#include "sound/sound_system.h"

namespace {

enum class Moment { Effect, Power, Sting, Tune };

struct ExpectedClip {
  const char* name;
  Moment moment;
};

// Every clip the game opens, by its owners.
constexpr ExpectedClip kClips[] = {
    {"sound\\title.wav", Moment::Tune},       {"sound\\gameover.wav", Moment::Tune},
    {"sound\\rooster.wav", Moment::Sting},    {"sound\\scurvy.wav", Moment::Sting},
    {"sound\\mania.wav", Moment::Sting},      {"sound\\oogabooga.wav", Moment::Power},
    {"sound\\nobuy.wav", Moment::Effect},     {"sound\\buy.wav", Moment::Effect},
    {"sound\\hello.wav", Moment::Effect},     {"sound\\cow_hello.wav", Moment::Effect},
    {"sound\\cow_moo.wav", Moment::Effect},   {"sound\\cow_mooga.wav", Moment::Effect},
    {"sound\\crow_go.wav", Moment::Effect},   {"sound\\crow_corn.wav", Moment::Effect},
    {"sound\\crow_fear.wav", Moment::Effect}, {"sound\\crow_haha.wav", Moment::Effect},
    {"sound\\peli_go.wav", Moment::Effect},   {"sound\\peli_eat.wav", Moment::Effect},
    {"sound\\peli_fear.wav", Moment::Effect}, {"sound\\powerdown.wav", Moment::Effect},
    {"sound\\boo.wav", Moment::Effect},       {"sound\\corn_get.wav", Moment::Effect},
    {"sound\\cough.wav", Moment::Effect},
};

struct LengthRange {
  double shortest;
  double longest;
};

LengthRange allowedLength(Moment moment) {
  switch (moment) {
    case Moment::Effect:
      return {0.1, 0.8};
    case Moment::Power:
      // The ooga-booga clip is released when the power ends, 61 ticks of 16 ms after it starts.
      return {0.5, 61 * 0.016};
    case Moment::Sting:
      return {0.8, 2.5};
    case Moment::Tune:
      return {1.5, 4.2};
  }
  return {0, 0};
}

constexpr double kFullScale = 32768.0;
const double kMinusOneDbfs = std::pow(10.0, -1.0 / 20.0) * kFullScale;

struct Wave {
  bool valid = false;
  std::string problem;
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
  double seconds() const { return rate > 0 ? static_cast<double>(samples.size()) / rate : 0.0; }
};

uint32_t le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t le16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

std::vector<unsigned char> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// The game's name of a clip as a path in the build folder.
std::string onDisk(const char* gameName) {
  std::string path(gameName);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// A plain RIFF reader, independent of the generator's writer.
Wave readWave(const char* gameName) {
  Wave w;
  const std::vector<unsigned char> bytes = readBytes(onDisk(gameName));
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    w.problem = bytes.empty() ? "missing" : "not RIFF/WAVE";
    return w;
  }
  bool haveFormat = false, haveData = false;
  size_t pos = 12;
  while (pos + 8 <= bytes.size()) {
    const uint32_t size = le32(bytes.data() + pos + 4);
    const unsigned char* body = bytes.data() + pos + 8;
    if (pos + 8 + size > bytes.size()) {
      w.problem = "chunk runs past the end";
      return w;
    }
    if (std::memcmp(bytes.data() + pos, "fmt ", 4) == 0 && size >= 16) {
      w.format = le16(body);
      w.channels = le16(body + 2);
      w.rate = static_cast<int>(le32(body + 4));
      w.bits = le16(body + 14);
      haveFormat = true;
    } else if (std::memcmp(bytes.data() + pos, "data", 4) == 0) {
      for (uint32_t i = 0; i + 1 < size; i += 2) w.samples.push_back(static_cast<int16_t>(le16(body + i)));
      haveData = true;
    }
    pos += 8 + size + (size & 1);
  }
  if (!haveFormat || !haveData) {
    w.problem = "no fmt or data chunk";
    return w;
  }
  w.valid = true;
  return w;
}

// A second-order filter section, for the loudness weighting below.
struct Section {
  double b0, b1, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double run(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// The two stages of the broadcast loudness weighting (a +4 dB presence shelf, a low cut),
// designed for the clip's own rate.
std::vector<double> weighted(const std::vector<int16_t>& s, int rate) {
  const double pi = 3.14159265358979;
  double w = 2 * pi * 1681.0 / rate;
  const double a = std::pow(10.0, 4.0 / 40.0);
  const double alpha = std::sin(w) / 2.0 * std::sqrt(2.0);
  const double root = 2 * std::sqrt(a) * alpha;
  double n = (a + 1) - (a - 1) * std::cos(w) + root;
  Section shelf{a * ((a + 1) + (a - 1) * std::cos(w) + root) / n,
                -2 * a * ((a - 1) + (a + 1) * std::cos(w)) / n,
                a * ((a + 1) + (a - 1) * std::cos(w) - root) / n, 2 * ((a - 1) - (a + 1) * std::cos(w)) / n,
                ((a + 1) - (a - 1) * std::cos(w) - root) / n};
  w = 2 * pi * 38.0 / rate;
  const double q = 0.5;
  const double al = std::sin(w) / (2 * q);
  n = 1 + al;
  Section lowCut{(1 + std::cos(w)) / 2 / n, -(1 + std::cos(w)) / n, (1 + std::cos(w)) / 2 / n,
                 -2 * std::cos(w) / n, (1 - al) / n};
  std::vector<double> out;
  out.reserve(s.size());
  for (int16_t x : s) out.push_back(lowCut.run(shelf.run(x)));
  return out;
}

// Loudness as a listener judges it: weighted RMS over the 50 ms windows within 20 dB of the
// loudest one.
double gatedLoudnessDb(const std::vector<int16_t>& samples, int rate) {
  const std::vector<double> s = weighted(samples, rate);
  const size_t window = static_cast<size_t>(rate / 20);
  std::vector<double> power;
  for (size_t start = 0; start + window <= s.size(); start += window / 2) {
    double sum = 0;
    for (size_t i = start; i < start + window; ++i) sum += s[i] * s[i];
    power.push_back(sum / window);
  }
  if (power.empty()) return -200.0;
  const double loudest = *std::max_element(power.begin(), power.end());
  double sum = 0;
  int count = 0;
  for (double p : power) {
    if (p >= loudest / 100.0) {
      sum += p;
      ++count;
    }
  }
  return 10.0 * std::log10(sum / count / (kFullScale * kFullScale) + 1e-20);
}

class SoundFiles : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const ExpectedClip& clip : kClips) waves().push_back(readWave(clip.name));
  }
  static std::vector<Wave>& waves() {
    static std::vector<Wave> all;
    return all;
  }
};

TEST_F(SoundFiles, EveryClipIsQuietEdgedMono16BitPcmOfItsMomentsLength) {
  for (size_t i = 0; i < std::size(kClips); ++i) {
    const Wave& w = waves()[i];
    SCOPED_TRACE(kClips[i].name);
    ASSERT_TRUE(w.valid) << w.problem;
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.bits, 16);
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
    const LengthRange range = allowedLength(kClips[i].moment);
    EXPECT_GE(w.seconds(), range.shortest);
    EXPECT_LE(w.seconds(), range.longest);
    ASSERT_GT(w.samples.size(), 100u);
    // Peaks at or below -1 dBFS, no DC offset.
    int peak = 0;
    double sum = 0;
    for (int16_t s : w.samples) {
      peak = std::max(peak, std::abs(static_cast<int>(s)));
      sum += s;
    }
    EXPECT_LE(peak, kMinusOneDbfs);
    EXPECT_LT(std::fabs(sum / w.samples.size()), 0.002 * kFullScale);
    EXPECT_LE(std::abs(w.samples.front()), 0.01 * kFullScale);
    EXPECT_LE(std::abs(w.samples.back()), 0.01 * kFullScale);
    // A fade, not a step: the first and last half millisecond stay quiet.
    for (size_t k = 0; k < static_cast<size_t>(w.rate / 2000); ++k) {
      EXPECT_LE(std::abs(w.samples[k]), 0.06 * kFullScale) << "sample " << k;
      EXPECT_LE(std::abs(w.samples[w.samples.size() - 1 - k]), 0.06 * kFullScale) << "sample -" << k;
    }
  }
}

TEST_F(SoundFiles, ClipsHaveSimilarLoudness) {
  std::vector<double> levels;
  for (const Wave& w : waves()) {
    ASSERT_TRUE(w.valid);
    levels.push_back(gatedLoudnessDb(w.samples, w.rate));
  }
  std::vector<double> sorted = levels;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  // Loud enough to hear over the others, and none silent.
  EXPECT_GT(median, -24.0);
  for (size_t i = 0; i < levels.size(); ++i) {
    EXPECT_NEAR(levels[i], median, 3.0) << kClips[i].name;
  }
}

TEST(SoundFilesLoad, TheMixerLoadsEveryClip) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  SoundSystem system;
  ASSERT_TRUE(system.isAvailable());
  soundSystem = &system;
  for (const ExpectedClip& expected : kClips) {
    SoundClip clip(expected.name);
    EXPECT_TRUE(clip.isLoaded()) << expected.name;
  }
  system.shutdown();
  soundSystem = nullptr;
}

TEST(SoundGenerator, TwoRunsGiveIdenticalBytes) {
  namespace fs = std::filesystem;
  const fs::path generator = fs::path(CORNKEEPER_BUILD_DIR) / "assets" / "sounds" / "cornkeeper-sing";
  ASSERT_TRUE(fs::exists(generator));
  const fs::path scratch = fs::temp_directory_path() / ("cornkeeper-sing-test-" + std::to_string(getpid()));
  const fs::path runs[] = {scratch / "a", scratch / "b"};
  for (const fs::path& run : runs) {
    const std::string command = "'" + generator.string() + "' '" + run.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  for (const ExpectedClip& expected : kClips) {
    const std::string relative = onDisk(expected.name);
    const std::vector<unsigned char> first = readBytes((runs[0] / relative).string());
    const std::vector<unsigned char> second = readBytes((runs[1] / relative).string());
    const std::vector<unsigned char> built = readBytes(relative);
    EXPECT_FALSE(first.empty()) << relative;
    EXPECT_EQ(first, second) << relative;
    EXPECT_EQ(first, built) << relative << " differs from the build's copy";
  }
  // The review sheet is a PNG.
  const std::vector<unsigned char> sheet = readBytes((runs[0] / "sound-sheet.png").string());
  ASSERT_GE(sheet.size(), 8u);
  EXPECT_EQ(std::memcmp(sheet.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  fs::remove_all(scratch);
}

}  // namespace
