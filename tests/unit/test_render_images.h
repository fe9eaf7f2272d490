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
};

inline Bytes targaHeader(int width, int height, int depth, int imageType = 10) {
  Bytes header(18, 0);
  header[2] = static_cast<uint8_t>(imageType);
  header[12] = static_cast<uint8_t>(width & 0xFF);
  header[13] = static_cast<uint8_t>(width >> 8);
  header[14] = static_cast<uint8_t>(height & 0xFF);
  header[15] = static_cast<uint8_t>(height >> 8);
  header[16] = static_cast<uint8_t>(depth);
  return header;
}

// One run packet of `count` (1..128) copies of a pixel, in the file's blue-green-red(-alpha) order.
inline void appendRun(Bytes& file, int count, Rgba pixel, int depth = 32) {
  file.push_back(static_cast<uint8_t>(0x80 | (count - 1)));
  file.insert(file.end(), {pixel.b, pixel.g, pixel.r});
  if (depth == 32) file.push_back(pixel.a);
}

// One raw packet of 1..128 pixels.
inline void appendRaw(Bytes& file, const std::vector<Rgba>& pixels, int depth = 32) {
  file.push_back(static_cast<uint8_t>(pixels.size() - 1));
  for (const Rgba& p : pixels) {
    file.insert(file.end(), {p.b, p.g, p.r});
    if (depth == 32) file.push_back(p.a);
  }
}

// A picture of one colour, in run packets.
inline Bytes solidTarga(int width, int height, Rgba colour, int depth = 32) {
  Bytes file = targaHeader(width, height, depth);
  for (long left = static_cast<long>(width) * height; left > 0; left -= 128) {
    appendRun(file, left < 128 ? static_cast<int>(left) : 128, colour, depth);
  }
  return file;
}

// A picture given top row first, written bottom row first in raw packets of one row each
// (rows of at most 128 pixels).
inline Bytes targaFromRows(int width, int height, const std::vector<Rgba>& topFirst, int depth = 32) {
  Bytes file = targaHeader(width, height, depth);
  for (int row = height - 1; row >= 0; --row) {
    appendRaw(file, std::vector<Rgba>(topFirst.begin() + row * width, topFirst.begin() + (row + 1) * width),
              depth);
  }
  return file;
}

// A 24-bit bitmap from pixels given top row first; rows padded to 4 bytes, bottom-up unless topDown.
inline Bytes bitmapFromRows(int width, int height, const std::vector<Rgba>& topFirst, bool topDown = false) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const uint32_t pixelsAt = 54;
  const uint32_t fileSize = pixelsAt + static_cast<uint32_t>(rowBytes * height);
  Bytes file(fileSize, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    file[at] = static_cast<uint8_t>(v);
    file[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, fileSize);
  put32(10, pixelsAt);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(topDown ? -height : height));
  put16(26, 1);
  put16(28, 24);
  for (int fileRow = 0; fileRow < height; ++fileRow) {
    const int row = topDown ? fileRow : height - 1 - fileRow;
    for (int x = 0; x < width; ++x) {
      const Rgba& p = topFirst[static_cast<size_t>(row * width + x)];
      uint8_t* out = &file[pixelsAt + static_cast<size_t>(fileRow * rowBytes + x * 3)];
      out[0] = p.b;
      out[1] = p.g;
      out[2] = p.r;
    }
  }
  return file;
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
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
    const char* made = mkdtemp(pattern);
    if (made == nullptr) return;
    path_ = made;
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
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// The fixed state the game sets once its window exists, on a cleared black frame.
inline void setGameGlState() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
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

inline bool near(Rgba actual, Rgba expected, int tolerance = 2) {
  return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
         std::abs(actual.b - expected.b) <= tolerance;
}

inline std::string describe(Rgba p) {
  return "(" + std::to_string(p.r) + ", " + std::to_string(p.g) + ", " + std::to_string(p.b) + ")";
}

// Checks the frame's colour at a point, ignoring alpha (the frame buffer's alpha is not shown).
#define EXPECT_PIXEL(x, y, expected)                                                               \
  do {                                                                                             \
    const testimages::Rgba actual_ = testimages::pixelAt((x), (y));                                \
    EXPECT_TRUE(testimages::near(actual_, (expected)))                                             \
        << "at (" << (x) << ", " << (y) << "): " << testimages::describe(actual_) << ", expected " \
        << testimages::describe(expected);                                                         \
  } while (0)

constexpr Rgba black = {0, 0, 0, 255};
constexpr Rgba white = {255, 255, 255, 255};
constexpr Rgba red = {255, 0, 0, 255};
constexpr Rgba green = {0, 255, 0, 255};
constexpr Rgba blue = {0, 0, 255, 255};
constexpr Rgba yellow = {255, 255, 0, 255};

}  // namespace testimages
