// Small image files built byte by byte for the rendering tests, a scratch folder to hold them, and
// the GL state the game sets at start-up, so that sprites can be drawn and read back.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/sprite.h"
#include "test_support.h"

namespace testimages {

using Bytes = std::vector<uint8_t>;

struct Rgba {
  uint8_t r, g, b, a;
  bool operator==(const Rgba&) const = default;
};

inline Bytes targaHeader(int width, int height, int depth, int imageType = 10) {
  Bytes header(18, 0);
  header[2] = static_cast<uint8_t>(imageType);
  for (int i : {0, 1}) {
    header[12 + i] = static_cast<uint8_t>(width >> (8 * i));
    header[14 + i] = static_cast<uint8_t>(height >> (8 * i));
  }
  header[16] = static_cast<uint8_t>(depth);
  return header;
}

// A pixel in the file's blue-green-red(-alpha) order.
inline void appendPixel(Bytes& file, Rgba p, int depth) {
  file.insert(file.end(), {p.b, p.g, p.r});
  if (depth == 32) file.push_back(p.a);
}

// One run packet of `count` (1..128) copies of a pixel.
inline void appendRun(Bytes& file, int count, Rgba pixel, int depth = 32) {
  file.push_back(static_cast<uint8_t>(0x80 | (count - 1)));
  appendPixel(file, pixel, depth);
}

// One raw packet of 1..128 pixels.
inline void appendRaw(Bytes& file, const std::vector<Rgba>& pixels, int depth = 32) {
  file.push_back(static_cast<uint8_t>(pixels.size() - 1));
  for (const Rgba& p : pixels) appendPixel(file, p, depth);
}

// A picture of one colour, in run packets.
inline Bytes solidTarga(int width, int height, Rgba colour, int depth = 32) {
  Bytes file = targaHeader(width, height, depth);
  for (long left = static_cast<long>(width) * height; left > 0; left -= 128)
    appendRun(file, left < 128 ? static_cast<int>(left) : 128, colour, depth);
  return file;
}

// A picture given top row first, written bottom row first in one raw packet per row (at most 128 wide).
inline Bytes targaFromRows(int width, int height, const std::vector<Rgba>& topFirst, int depth = 32) {
  Bytes file = targaHeader(width, height, depth);
  for (int row = height - 1; row >= 0; --row)
    appendRaw(file, {topFirst.begin() + row * width, topFirst.begin() + (row + 1) * width}, depth);
  return file;
}

// A 24-bit bitmap from pixels given top row first; rows padded to 4 bytes, bottom-up unless topDown.
inline Bytes bitmapFromRows(int width, int height, const std::vector<Rgba>& topFirst, bool topDown = false) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const uint32_t pixelsAt = 54, fileSize = pixelsAt + static_cast<uint32_t>(rowBytes * height);
  Bytes file(fileSize, 0);
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, fileSize, 4);
  put(10, pixelsAt, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(topDown ? -height : height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int fileRow = 0; fileRow < height; ++fileRow) {
    const int row = topDown ? fileRow : height - 1 - fileRow;
    for (int x = 0; x < width; ++x) {
      const Rgba& p = topFirst[static_cast<size_t>(row * width + x)];
      put(pixelsAt + static_cast<size_t>(fileRow * rowBytes + x * 3), p.b | (p.g << 8) | (p.r << 16), 3);
    }
  }
  return file;
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  ASSERT_TRUE(out) << path;
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder with a graphics/ subfolder, made the working folder for the scope's life.
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/cornkeeper-render-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    path_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::create_directories(path_ / "graphics");
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    if (path_.empty()) return;
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  bool ok() const { return !path_.empty(); }

 private:
  std::filesystem::path path_, previous_;
};

// The part of the state the game sets once its window exists that 2-D drawing depends on, on a
// cleared black frame.
inline void setGameGlState() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glEnable(GL_DEPTH_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

inline Rgba pixelAt(int x, int y) {
  uint8_t p[4];
  testContext().pixelAt(x, y, p);
  return Rgba{p[0], p[1], p[2], p[3]};
}

// Colours within 2 per channel; alpha is ignored (the frame buffer's alpha is not shown).
inline bool near(Rgba actual, Rgba expected, int tolerance = 2) {
  return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
         std::abs(actual.b - expected.b) <= tolerance;
}

inline std::ostream& operator<<(std::ostream& out, Rgba p) {
  return out << "(" << +p.r << ", " << +p.g << ", " << +p.b << ", " << +p.a << ")";
}

// Checks the frame's colour at a point.
#define EXPECT_PIXEL(x, y, expected)                                                        \
  do {                                                                                      \
    const testimages::Rgba actual_ = testimages::pixelAt((x), (y)), expected_ = (expected); \
    EXPECT_TRUE(testimages::near(actual_, expected_))                                       \
        << "at (" << (x) << ", " << (y) << "): " << actual_ << ", expected " << expected_;  \
  } while (0)

constexpr Rgba black = {0, 0, 0, 255};
constexpr Rgba white = {255, 255, 255, 255};
constexpr Rgba red = {255, 0, 0, 255};
constexpr Rgba green = {0, 255, 0, 255};
constexpr Rgba blue = {0, 0, 255, 255};
constexpr Rgba yellow = {255, 255, 0, 255};

}  // namespace testimages
