// The generated wave files: every clip the game opens exists, loads, and meets the technical bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "sound/sound_clip.h"
#include "sound/sound_system.h"

namespace {

struct Clip {
  std::string name;  // as the game opens it
  double shortest, longest;
};

// Every clip the game opens, with the length its moment allows.
const std::vector<Clip>& clips() {
  static const std::vector<Clip> all = [] {
    const struct {
      double shortest, longest;
      std::vector<const char*> names;
    } moments[] = {
        {1.5, 4.2, {"title", "gameover"}},           // tunes
        {0.8, 2.5, {"rooster", "scurvy", "mania"}},  // stings
        // The ooga-booga clip is released when the power ends, 61 ticks of 16 ms after it starts.
        {0.5, 61 * 0.016, {"oogabooga"}},
        {0.1,
         0.8,
         {"nobuy", "buy", "hello", "cow_hello", "cow_moo", "cow_mooga", "crow_go", "crow_corn", "crow_fear",
          "crow_haha", "peli_go", "peli_eat", "peli_fear", "powerdown", "boo", "corn_get", "cough"}}};
    std::vector<Clip> list;
    for (const auto& m : moments) {
      for (const char* n : m.names)
        list.push_back({std::string("sound\\") + n + ".wav", m.shortest, m.longest});
    }
    return list;
  }();
  return all;
}

constexpr double kFullScale = 32768.0;

struct Wave {
  std::string problem;  // empty when the file is a readable wave
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
};

uint32_t le(const unsigned char* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

std::vector<unsigned char> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// The game's name of a clip as a path in the build folder.
std::string onDisk(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// A plain RIFF reader, independent of the generator's writer.
Wave readWave(const std::string& gameName) {
  Wave w;
  const std::vector<unsigned char> bytes = readBytes(onDisk(gameName));
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    w.problem = bytes.empty() ? "missing" : "not RIFF/WAVE";
    return w;
  }
  bool haveFormat = false, haveData = false;
  for (size_t pos = 12; pos + 8 <= bytes.size();) {
    const uint32_t size = le(bytes.data() + pos + 4, 4);
    const unsigned char* body = bytes.data() + pos + 8;
    if (pos + 8 + size > bytes.size()) {
      w.problem = "chunk runs past the end";
      return w;
    }
    if (std::memcmp(bytes.data() + pos, "fmt ", 4) == 0 && size >= 16) {
      w.format = le(body, 2);
      w.channels = le(body + 2, 2);
      w.rate = le(body + 4, 4);
      w.bits = le(body + 14, 2);
      haveFormat = true;
    } else if (std::memcmp(bytes.data() + pos, "data", 4) == 0) {
      for (uint32_t i = 0; i + 1 < size; i += 2) w.samples.push_back(static_cast<int16_t>(le(body + i, 2)));
      haveData = true;
    }
    pos += 8 + size + (size & 1);
  }
  if (!haveFormat || !haveData) w.problem = "no fmt or data chunk";
  return w;
}

// A second-order filter section, for the loudness weighting below.
struct Section {
  double b0, b1, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double run(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
  }
};

// Loudness as a listener judges it: the broadcast weighting (a +4 dB presence shelf, a low cut, designed
// for the clip's own rate), then RMS over the 50 ms windows within 20 dB of the loudest one.
double gatedLoudnessDb(const std::vector<int16_t>& samples, int rate) {
  const double pi = 3.14159265358979;
  double w = 2 * pi * 1681.0 / rate;
  const double a = std::pow(10.0, 4.0 / 40.0), c = std::cos(w);
  const double root = 2 * std::sqrt(a) * std::sin(w) / 2.0 * std::sqrt(2.0);
  double n = (a + 1) - (a - 1) * c + root;
  Section shelf{a * ((a + 1) + (a - 1) * c + root) / n, -2 * a * ((a - 1) + (a + 1) * c) / n,
                a * ((a + 1) + (a - 1) * c - root) / n, 2 * ((a - 1) - (a + 1) * c) / n,
                ((a + 1) - (a - 1) * c - root) / n};
  w = 2 * pi * 38.0 / rate;
  const double al = std::sin(w) / (2 * 0.5), cl = std::cos(w);
  n = 1 + al;
  Section lowCut{(1 + cl) / 2 / n, -(1 + cl) / n, (1 + cl) / 2 / n, -2 * cl / n, (1 - al) / n};
  std::vector<double> s;
  for (int16_t x : samples) s.push_back(lowCut.run(shelf.run(x)));
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
    if (p >= loudest / 100.0) sum += p, ++count;
  }
  return 10.0 * std::log10(sum / count / (kFullScale * kFullScale) + 1e-20);
}

const std::vector<Wave>& waves() {
  static const std::vector<Wave> all = [] {
    std::vector<Wave> list;
    for (const Clip& clip : clips()) list.push_back(readWave(clip.name));
    return list;
  }();
  return all;
}

// Mono 16-bit PCM of its moment's length, peaks at or below -1 dBFS, no DC offset, and a fade rather
// than a step at both ends.
TEST(SoundFiles, EveryClipIsQuietEdgedMono16BitPcmOfItsMomentsLength) {
  const double minusOneDbfs = std::pow(10.0, -1.0 / 20.0) * kFullScale;
  for (size_t i = 0; i < clips().size(); ++i) {
    const Wave& w = waves()[i];
    SCOPED_TRACE(clips()[i].name);
    ASSERT_EQ(w.problem, "");
    EXPECT_EQ(std::tie(w.format, w.channels, w.bits), std::make_tuple(1, 1, 16)) << "format, channels, bits";
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
    const double seconds = static_cast<double>(w.samples.size()) / w.rate;
    EXPECT_GE(seconds, clips()[i].shortest);
    EXPECT_LE(seconds, clips()[i].longest);
    ASSERT_GT(w.samples.size(), 100u);
    int peak = 0;
    double sum = 0;
    for (int16_t s : w.samples) {
      peak = std::max(peak, std::abs(static_cast<int>(s)));
      sum += s;
    }
    EXPECT_LE(peak, minusOneDbfs);
    EXPECT_LT(std::fabs(sum / w.samples.size()), 0.002 * kFullScale);
    EXPECT_LE(std::abs(w.samples.front()), 0.01 * kFullScale);
    EXPECT_LE(std::abs(w.samples.back()), 0.01 * kFullScale);
    for (size_t k = 0; k < static_cast<size_t>(w.rate / 2000); ++k) {  // the first and last half millisecond
      EXPECT_LE(std::abs(w.samples[k]), 0.06 * kFullScale) << "sample " << k;
      EXPECT_LE(std::abs(w.samples[w.samples.size() - 1 - k]), 0.06 * kFullScale) << "sample -" << k;
    }
  }
}

// Loud enough to hear over the others, none silent, all within 3 dB of the median.
TEST(SoundFiles, ClipsHaveSimilarLoudness) {
  std::vector<double> levels;
  for (const Wave& w : waves()) {
    ASSERT_EQ(w.problem, "");
    levels.push_back(gatedLoudnessDb(w.samples, w.rate));
  }
  std::vector<double> sorted = levels;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  EXPECT_GT(median, -24.0);
  for (size_t i = 0; i < levels.size(); ++i) EXPECT_NEAR(levels[i], median, 3.0) << clips()[i].name;
}

TEST(SoundFilesLoad, TheMixerLoadsEveryClip) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  SoundSystem system;
  ASSERT_TRUE(system.isAvailable());
  soundSystem = &system;
  for (const Clip& expected : clips())
    EXPECT_TRUE(SoundClip(expected.name.c_str()).isLoaded()) << expected.name;
  system.shutdown();
  soundSystem = nullptr;
}

// Two runs of the generator give the same bytes as each other and as the build's copy.
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
  for (const Clip& expected : clips()) {
    const std::string relative = onDisk(expected.name);
    const std::vector<unsigned char> first = readBytes((runs[0] / relative).string());
    EXPECT_FALSE(first.empty()) << relative;
    EXPECT_EQ(first, readBytes((runs[1] / relative).string())) << relative;
    EXPECT_EQ(first, readBytes(relative)) << relative << " differs from the build's copy";
  }
  // The review sheet is a PNG.
  const std::vector<unsigned char> sheet = readBytes((runs[0] / "sound-sheet.png").string());
  ASSERT_GE(sheet.size(), 8u);
  EXPECT_EQ(std::memcmp(sheet.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  fs::remove_all(scratch);
}

}  // namespace
