// Decoding throughput of 32-bit run-length targa files at the game's sizes (256x256 and 128x128):
// our reader, stb_image on the same bytes, and a plain copy of the decoded size for scale.
// Each reports MB of decoded pixels per second ("MB=…/s") and the size of the file it decodes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "render/image_readers.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

namespace {

constexpr int bytesPerPixel = 4;
constexpr double bytesPerMegabyte = 1e6;

struct Bgra {
  uint8_t b, g, r, a;
  bool operator==(const Bgra&) const = default;
};

// A figure like the game's: a transparent surround, a soft edge, flat shaded bands and a noisy patch.
std::vector<Bgra> gameLikePicture(int side) {
  std::vector<Bgra> pixels;
  pixels.reserve(static_cast<size_t>(side) * side);
  uint32_t noise = 2463534242u;
  const float centre = side * 0.5f;
  const float radius = side * 0.42f;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const float d = std::hypot(x + 0.5f - centre, y + 0.5f - centre);
      if (d > radius + 1.0f) {
        pixels.push_back({0, 0, 0, 0});
        continue;
      }
      const uint8_t alpha = d > radius ? static_cast<uint8_t>((radius + 1.0f - d) * 255.0f) : uint8_t{255};
      const uint8_t shade = static_cast<uint8_t>(200 - (y * 96 / side) / 8 * 8);
      Bgra pixel = {40, static_cast<uint8_t>(shade - 40), shade, alpha};
      if (d > radius - 2.0f) pixel = {20, 20, 30, alpha};  // outline
      if (y > side / 2 && y < side * 3 / 4 && x > side / 3 && x < side * 2 / 3) {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        pixel.g = static_cast<uint8_t>(pixel.g + (noise & 15));
      }
      pixels.push_back(pixel);
    }
  }
  return pixels;
}

// Greedy run-length encoding over the whole picture, bottom row first, packets crossing rows.
std::vector<uint8_t> encodeTarga(const std::vector<Bgra>& topFirst, int side) {
  std::vector<Bgra> stream;
  for (int row = side - 1; row >= 0; --row) {
    stream.insert(stream.end(), topFirst.begin() + row * side, topFirst.begin() + (row + 1) * side);
  }
  std::vector<uint8_t> file(18, 0);
  file[2] = 10;
  file[12] = static_cast<uint8_t>(side & 0xFF);
  file[13] = static_cast<uint8_t>(side >> 8);
  file[14] = static_cast<uint8_t>(side & 0xFF);
  file[15] = static_cast<uint8_t>(side >> 8);
  file[16] = 32;
  file[17] = 8;  // eight alpha bits, rows bottom-up
  auto put = [&](const Bgra& p) { file.insert(file.end(), {p.b, p.g, p.r, p.a}); };
  size_t i = 0;
  while (i < stream.size()) {
    size_t run = 1;
    while (i + run < stream.size() && run < 128 && stream[i + run] == stream[i]) ++run;
    if (run >= 2) {
      file.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      put(stream[i]);
      i += run;
      continue;
    }
    size_t count = 1;
    while (i + count < stream.size() && count < 128 &&
           !(i + count + 1 < stream.size() && stream[i + count] == stream[i + count + 1])) {
      ++count;
    }
    file.push_back(static_cast<uint8_t>(count - 1));
    for (size_t k = 0; k < count; ++k) put(stream[i + k]);
    i += count;
  }
  return file;
}

const std::vector<uint8_t>& targaOfSide(int side) {
  static const std::vector<uint8_t> large = encodeTarga(gameLikePicture(256), 256);
  static const std::vector<uint8_t> small = encodeTarga(gameLikePicture(128), 128);
  return side == 256 ? large : small;
}

void reportMegabytesPerSecond(benchmark::State& state, int side) {
  const double decoded = static_cast<double>(side) * side * bytesPerPixel;
  state.counters["MB"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * decoded / bytesPerMegabyte, benchmark::Counter::kIsRate);
  state.counters["file_bytes"] = static_cast<double>(targaOfSide(side).size());
}

void BM_OurReader(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const std::vector<uint8_t>& file = targaOfSide(side);
  for (auto _ : state) {
    PixelImage image;
    if (!ImageReaders::decodeTarga32(file.data(), file.size(), image)) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(image.pixels.get());
    benchmark::ClobberMemory();
  }
  reportMegabytesPerSecond(state, side);
}

void BM_StbImage(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const std::vector<uint8_t>& file = targaOfSide(side);
  for (auto _ : state) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height,
                                            &channels, bytesPerPixel);
    if (pixels == nullptr) {
      state.SkipWithError("stb_image failed");
      break;
    }
    benchmark::DoNotOptimize(pixels);
    benchmark::ClobberMemory();
    stbi_image_free(pixels);
  }
  reportMegabytesPerSecond(state, side);
}

void BM_PlainCopy(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const size_t bytes = static_cast<size_t>(side) * side * bytesPerPixel;
  std::vector<uint8_t> from(bytes, 7), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  reportMegabytesPerSecond(state, side);
}

// The two must agree before their speeds mean anything.
bool sameDecoding(int side) {
  const std::vector<uint8_t>& file = targaOfSide(side);
  PixelImage ours;
  if (!ImageReaders::decodeTarga32(file.data(), file.size(), ours)) return false;
  int width = 0, height = 0, channels = 0;
  stbi_uc* theirs = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height,
                                          &channels, bytesPerPixel);
  const bool same = theirs != nullptr && width == side && height == side &&
                    std::memcmp(theirs, ours.pixels.get(), ours.byteSize()) == 0;
  stbi_image_free(theirs);
  return same;
}

}  // namespace

BENCHMARK(BM_OurReader)->Arg(256)->Arg(128);
BENCHMARK(BM_StbImage)->Arg(256)->Arg(128);
BENCHMARK(BM_PlainCopy)->Arg(256)->Arg(128);

int main(int argc, char** argv) {
  if (!sameDecoding(256) || !sameDecoding(128)) {
    std::fprintf(stderr, "bench_texture: our reader and stb_image decode the test files differently\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
