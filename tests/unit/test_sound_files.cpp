// The generated wave files: every clip the game opens exists, loads, and meets the technical bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sound/sound_clip.h"
#include "sound/sound_system.h"

namespace {

constexpr double kFullScale = 32768.0;

struct Clip {
  std::string name;  // the game opens sound\<name>.wav
  double shortest, longest;
  std::string problem;  // empty when the file is a readable wave
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples{};
};

uint32_t le(const unsigned char* p, int bytes) {
  return bytes == 2 ? p[0] | p[1] << 8 : p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A plain RIFF reader, independent of the generator's writer.
Clip readClip(const std::string& name, double shortest, double longest) {
  Clip w{name, shortest, longest, "not a RIFF/WAVE file with fmt and data"};
  const std::string file = readBytes("sound/" + name + ".wav");
  const auto* b = reinterpret_cast<const unsigned char*>(file.data());
  if (file.size() < 12 || file.compare(0, 4, "RIFF") != 0 || file.compare(8, 4, "WAVE") != 0) return w;
  for (size_t pos = 12, size = 0; pos + 8 <= file.size(); pos += 8 + size + (size & 1)) {
    size = le(b + pos + 4, 4);
    const unsigned char* body = b + pos + 8;
    if (pos + 8 + size > file.size()) return Clip{name, shortest, longest, "chunk runs past the end"};
    if (file.compare(pos, 4, "fmt ") == 0 && size >= 16) {
      w.format = le(body, 2), w.channels = le(body + 2, 2), w.rate = le(body + 4, 4),
      w.bits = le(body + 14, 2);
    } else if (file.compare(pos, 4, "data") == 0) {
      for (uint32_t i = 0; i + 1 < size; i += 2) w.samples.push_back(static_cast<int16_t>(le(body + i, 2)));
    }
  }
  if (w.rate != 0 && !w.samples.empty()) w.problem.clear();
  return w;
}

// Every clip the game opens, with the length its moment allows: tunes, stings, the ooga-booga clip
// (released when the power ends, 61 ticks of 16 ms after it starts) and the effects.
std::vector<Clip> clips() {
  const char* effects =
      "nobuy buy hello cow_hello cow_moo cow_mooga crow_go crow_corn crow_fear crow_haha peli_go peli_eat "
      "peli_fear powerdown boo corn_get cough";
  std::vector<Clip> list;
  for (const auto& [shortest, longest, names] : {std::tuple{1.5, 4.2, "title gameover"},
                                                 {0.8, 2.5, "rooster scurvy mania"},
                                                 {0.5, 61 * 0.016, "oogabooga"},
                                                 {0.1, 0.8, effects}}) {
    std::istringstream words(names);
    for (std::string n; words >> n;) list.push_back(readClip(n, shortest, longest));
  }
  return list;
}

// A second-order filter section run over a whole signal, for the loudness weighting below.
std::vector<double> biquad(const std::vector<double>& x, double b0, double b1, double b2, double a1,
                           double a2) {
  std::vector<double> y(x.size());
  for (size_t i = 0; i < x.size(); ++i)
    y[i] =
        b0 * x[i] + (i > 0 ? b1 * x[i - 1] - a1 * y[i - 1] : 0) + (i > 1 ? b2 * x[i - 2] - a2 * y[i - 2] : 0);
  return y;
}

// Loudness as a listener judges it: the broadcast weighting (a +4 dB presence shelf, a low cut, designed
// for the clip's own rate), then RMS over the 50 ms windows within 20 dB of the loudest one.
double gatedLoudnessDb(const Clip& w) {
  const double pi = 3.14159265358979, a = std::pow(10.0, 4.0 / 40.0), t = 2 * pi * 1681.0 / w.rate;
  const double c = std::cos(t), root = std::sqrt(2 * a) * std::sin(t), n = (a + 1) - (a - 1) * c + root;
  const std::vector<double> shelved =
      biquad({w.samples.begin(), w.samples.end()}, a * ((a + 1) + (a - 1) * c + root) / n,
             -2 * a * ((a - 1) + (a + 1) * c) / n, a * ((a + 1) + (a - 1) * c - root) / n,
             2 * ((a - 1) - (a + 1) * c) / n, ((a + 1) - (a - 1) * c - root) / n);
  const double cl = std::cos(2 * pi * 38.0 / w.rate), al = std::sin(2 * pi * 38.0 / w.rate), m = 1 + al;
  const std::vector<double> s =
      biquad(shelved, (1 + cl) / 2 / m, -(1 + cl) / m, (1 + cl) / 2 / m, -2 * cl / m, (1 - al) / m);
  std::vector<double> energy{0}, power;  // energy[i]: the sum of the first i squares
  for (double x : s) energy.push_back(energy.back() + x * x);
  const size_t window = static_cast<size_t>(w.rate / 20);
  for (size_t start = 0; start + window < energy.size(); start += window / 2)
    power.push_back((energy[start + window] - energy[start]) / window);
  double loudest = 0, sum = 0, count = 0;
  for (double p : power) loudest = std::max(loudest, p);
  for (double p : power)
    if (p >= loudest / 100.0) sum += p, ++count;
  return 10.0 * std::log10(sum / count / (kFullScale * kFullScale) + 1e-20);
}

// Mono 16-bit PCM of its moment's length, peaks at or below -1 dBFS, no DC offset, and a fade rather
// than a step at both ends: the end samples near silence, the first and last half millisecond quiet.
// The mixer loads each one.
TEST(SoundFiles, EveryClipIsQuietEdgedMono16BitPcmOfItsMomentsLength) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  SoundSystem system;
  ASSERT_TRUE(system.isAvailable());
  soundSystem = &system;
  for (const Clip& w : clips()) {
    SCOPED_TRACE(w.name);
    EXPECT_TRUE(SoundClip(("sound\\" + w.name + ".wav").c_str()).isLoaded());
    ASSERT_EQ(w.problem, "");
    EXPECT_EQ(std::tie(w.format, w.channels, w.bits), std::make_tuple(1, 1, 16)) << "format, channels, bits";
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
    const double seconds = static_cast<double>(w.samples.size()) / w.rate;
    ASSERT_GE(seconds, w.shortest);  // also keeps the edge checks below inside the clip
    EXPECT_LE(seconds, w.longest);
    double peak = 0, sum = 0;
    for (int16_t s : w.samples) peak = std::max(peak, std::fabs(s)), sum += s;
    EXPECT_LE(peak, std::pow(10.0, -1.0 / 20.0) * kFullScale);
    EXPECT_LT(std::fabs(sum / w.samples.size()), 0.002 * kFullScale);
    for (size_t k = 0; k < static_cast<size_t>(w.rate / 2000); ++k) {
      const double limit = (k == 0 ? 0.01 : 0.06) * kFullScale;
      EXPECT_LE(std::abs(w.samples[k]), limit) << "sample " << k;
      EXPECT_LE(std::abs(w.samples[w.samples.size() - 1 - k]), limit) << "sample -" << k;
    }
  }
  soundSystem = nullptr;
}

// Loud enough to hear over the others, none silent, all within 3 dB of the median.
TEST(SoundFiles, ClipsHaveSimilarLoudness) {
  std::vector<double> levels;
  const std::vector<Clip> all = clips();
  for (const Clip& clip : all) {
    ASSERT_EQ(clip.problem, "") << clip.name;
    levels.push_back(gatedLoudnessDb(clip));
  }
  std::vector<double> sorted = levels;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  EXPECT_GT(median, -24.0);
  for (size_t i = 0; i < levels.size(); ++i) EXPECT_NEAR(levels[i], median, 3.0) << all[i].name;
}

// The generator is deterministic: a run here gives the bytes of the build's copy, and a PNG review sheet.
TEST(GeneratorRerun, ASoundRunGivesTheBuildsBytesAgain) {
  namespace fs = std::filesystem;
  const fs::path run = fs::temp_directory_path() / ("cornkeeper-sing-test-" + std::to_string(getpid()));
  const std::string command =
      "'" CORNKEEPER_BUILD_DIR "/assets/sounds/cornkeeper-sing' '" + run.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const Clip& clip : clips()) {
    const std::string relative = "sound/" + clip.name + ".wav";
    EXPECT_TRUE(readBytes((run / relative).string()) == readBytes(relative)) << relative;
  }
  EXPECT_EQ(readBytes((run / "sound-sheet.png").string()).substr(0, 8), "\x89PNG\r\n\x1a\n");
  fs::remove_all(run);
}

}  // namespace
