// Small image files built byte by byte for the rendering tests, a scratch folder to hold them, and
// the GL state the game sets at start-up, so that sprites can be drawn and read back.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

constexpr Rgba black = {0, 0, 0, 255}, white = {255, 255, 255, 255}, red = {255, 0, 0, 255},
               green = {0, 255, 0, 255}, blue = {0, 0, 255, 255}, yellow = {255, 255, 0, 255};

inline Bytes targaHeader(int width, int height, int depth, int imageType = 10) {
  Bytes h(18, 0);
  h[2] = imageType, h[12] = width, h[13] = width >> 8, h[14] = height, h[15] = height >> 8, h[16] = depth;
  return h;
}

// One packet of 1..128 pixels in the file's blue-green-red(-alpha) order: a run of `count` copies
// of one pixel, or (count 0) the pixels raw.
inline void appendPacket(Bytes& file, int count, const std::vector<Rgba>& pixels, int depth = 32) {
  file.push_back(static_cast<uint8_t>(count ? 0x80 | (count - 1) : pixels.size() - 1));
  for (const Rgba& p : pixels) {
    file.insert(file.end(), {p.b, p.g, p.r});
    if (depth == 32) file.push_back(p.a);
  }
}

// A picture of one colour, in run packets.
inline Bytes solidTarga(int width, int height, Rgba colour, int depth = 32) {
  Bytes file = targaHeader(width, height, depth);
  for (long left = static_cast<long>(width) * height; left > 0; left -= 128)
    appendPacket(file, left < 128 ? static_cast<int>(left) : 128, {colour}, depth);
  return file;
}

// A picture given top row first, written bottom row first in one raw packet per row (at most 128 wide).
inline Bytes targaFromRows(int width, int height, const std::vector<Rgba>& topFirst, int depth = 32) {
  Bytes file = targaHeader(width, height, depth);
  for (int row = height - 1; row >= 0; --row)
    appendPacket(file, 0, {topFirst.begin() + row * width, topFirst.begin() + (row + 1) * width}, depth);
  return file;
}

// A 24-bit bitmap from pixels given top row first; rows padded to 4 bytes, bottom-up unless topDown.
inline Bytes bitmapFromRows(int width, int height, const std::vector<Rgba>& topFirst, bool topDown = false) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  Bytes file(54 + rowBytes * height, 0);
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  // The signature, then the file's size, a reserved field, the pixels' offset, the header's size, the
  // sides, and one plane of 24 bits.
  put(0, 'B' | 'M' << 8, 2);
  size_t at = 2;
  for (int v : {static_cast<int>(file.size()), 0, 54, 40, width, topDown ? -height : height, 1 | 24 << 16})
    put(at, static_cast<uint32_t>(v), 4), at += 4;
  for (int fileRow = 0; fileRow < height; ++fileRow)
    for (int x = 0; x < width; ++x) {
      const Rgba& p = topFirst[static_cast<size_t>((topDown ? fileRow : height - 1 - fileRow) * width + x)];
      put(54 + static_cast<size_t>(fileRow * rowBytes + x * 3), p.b | (p.g << 8) | (p.r << 16), 3);
    }
  return file;
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline Bytes readFile(const std::string& path) {
  return Bytes(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
}

// A fresh folder with a graphics/ subfolder, made the working folder for the scope's life.
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/cornkeeper-render-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    path_ = pattern;
    std::filesystem::create_directories(path_ / "graphics");
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (ok()) std::filesystem::current_path(previous_), std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  bool ok() const { return !path_.empty(); }

 private:
  std::filesystem::path previous_ = std::filesystem::current_path(), path_;
};

// The part of the state the game sets once its window exists that 2-D drawing depends on, on a
// cleared black frame.
inline void setGameGlState() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  for (GLenum cap : {GL_DEPTH_TEST, GL_TEXTURE_2D, GL_BLEND}) glEnable(cap);
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
inline bool near(Rgba a, Rgba e, int t = 2) {
  return std::abs(a.r - e.r) <= t && std::abs(a.g - e.g) <= t && std::abs(a.b - e.b) <= t;
}

inline std::ostream& operator<<(std::ostream& out, Rgba p) {
  return out << "(" << +p.r << ", " << +p.g << ", " << +p.b << ", " << +p.a << ")";
}

// Checks the frame's colour at a point.
#define EXPECT_PIXEL(x, y, expected)                                                             \
  EXPECT_TRUE(testimages::near(testimages::pixelAt((x), (y)), (expected)))                       \
      << "at (" << (x) << ", " << (y) << "): " << testimages::pixelAt((x), (y)) << ", expected " \
      << (expected)

}  // namespace testimages
