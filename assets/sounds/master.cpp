#include "master.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr double kFadeIn = 0.004;
constexpr double kFadeOut = 0.025;
constexpr double kBlockSeconds = 0.02;
constexpr double kGateRatio = 0.1;  // 20 dB
constexpr double kKnee = 0.55;

void put16(std::FILE* f, uint16_t v) {
  const unsigned char b[2] = {static_cast<unsigned char>(v & 0xFF), static_cast<unsigned char>(v >> 8)};
  std::fwrite(b, 1, 2, f);
}

void put32(std::FILE* f, uint32_t v) {
  put16(f, static_cast<uint16_t>(v & 0xFFFF));
  put16(f, static_cast<uint16_t>(v >> 16));
}

// Smooth limiter: untouched below the knee, bends towards the ceiling above it.
double softLimit(double x) {
  const double a = std::fabs(x);
  if (a <= kKnee) return x;
  const double room = kPeakCeiling - kKnee;
  const double bent = kKnee + room * std::tanh((a - kKnee) / room);
  return x < 0 ? -bent : bent;
}
}  // namespace

double gatedLoudness(const Samples& raw) {
  // Weighted the way ears weigh: presence lifted, rumble cut (as broadcast loudness meters do).
  Samples samples(raw);
  Biquad presence = Biquad::highShelf(1700.0, 4.0);
  Biquad rumble = Biquad::highpass(60.0, 0.5);
  for (float& s : samples) s = rumble.process(presence.process(s));
  const size_t block = static_cast<size_t>(samplesFor(kBlockSeconds));
  std::vector<double> power;
  for (size_t start = 0; start < samples.size(); start += block) {
    const size_t end = std::min(samples.size(), start + block);
    double sum = 0.0;
    for (size_t i = start; i < end; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    power.push_back(sum / static_cast<double>(end - start));
  }
  if (power.empty()) return 0.0;
  const double loudest = *std::max_element(power.begin(), power.end());
  double sum = 0.0;
  int count = 0;
  for (double p : power) {
    if (p >= loudest * kGateRatio * kGateRatio) {
      sum += p;
      ++count;
    }
  }
  return count > 0 ? std::sqrt(sum / count) : 0.0;
}

void masterClip(Samples& samples) {
  removeDc(samples);
  fadeEdges(samples, kFadeIn, kFadeOut);
  const double loudness = gatedLoudness(samples);
  if (loudness <= 0.0) return;
  scale(samples, kTargetLoudness / loudness);
  for (float& s : samples) s = static_cast<float>(softLimit(s));
  // The limiter is odd-symmetric but the waveform need not be: take out what DC it left.
  removeDc(samples);
  fadeEdges(samples, kFadeIn, kFadeOut);
  double peak = 0.0;
  for (float s : samples) peak = std::max(peak, static_cast<double>(std::fabs(s)));
  if (peak > kPeakCeiling) scale(samples, kPeakCeiling / peak);
}

std::vector<int16_t> toPcm(const Samples& samples) {
  std::vector<int16_t> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    const long v = std::lround(std::clamp(static_cast<double>(samples[i]), -1.0, 1.0) * 32767.0);
    pcm[i] = static_cast<int16_t>(v);
  }
  return pcm;
}

bool writeWave(const std::string& path, const std::vector<int16_t>& pcm) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
  std::fwrite("RIFF", 1, 4, f);
  put32(f, 36 + dataBytes);
  std::fwrite("WAVEfmt ", 1, 8, f);
  put32(f, 16);
  put16(f, 1);  // PCM
  put16(f, 1);  // mono
  put32(f, kSampleRate);
  put32(f, kSampleRate * 2);
  put16(f, 2);
  put16(f, 16);
  std::fwrite("data", 1, 4, f);
  put32(f, dataBytes);
  for (int16_t s : pcm) put16(f, static_cast<uint16_t>(s));
  const bool ok = std::ferror(f) == 0;
  return std::fclose(f) == 0 && ok;
}
