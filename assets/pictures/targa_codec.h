// Run-length targa (image type 10), 32 bits with straight alpha, rows stored bottom-up, no ID field.
// The encoder is what the generator writes with; the decoder exists so the encoder can be checked
// without the game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace pictures {

inline constexpr int kTargaHeaderSize = 18;
inline constexpr uint8_t kTargaTypeRunLength = 10;
inline constexpr uint8_t kTargaDepth32 = 32;
inline constexpr uint8_t kTargaAlphaBits = 8;  // descriptor: 8 alpha bits, origin bottom-left
inline constexpr int kMaxPacketPixels = 128;
inline constexpr uint8_t kRunPacketBit = 0x80;

// pixels: width x height x 4 bytes in the order blue, green, red, alpha, top row first.
inline std::vector<uint8_t> encodeTarga(const uint8_t* pixels, int width, int height) {
  std::vector<uint8_t> out(kTargaHeaderSize, 0);
  out[2] = kTargaTypeRunLength;
  out[12] = static_cast<uint8_t>(width & 0xFF);
  out[13] = static_cast<uint8_t>(width >> 8);
  out[14] = static_cast<uint8_t>(height & 0xFF);
  out[15] = static_cast<uint8_t>(height >> 8);
  out[16] = kTargaDepth32;
  out[17] = kTargaAlphaBits;
  auto same = [](const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 4) == 0; };
  // Packets stay within a row: every reader handles that, not all handle packets that wrap.
  for (int row = height - 1; row >= 0; --row) {
    const uint8_t* line = pixels + static_cast<size_t>(row) * width * 4;
    int i = 0;
    while (i < width) {
      int run = 1;
      while (i + run < width && run < kMaxPacketPixels && same(line + i * 4, line + (i + run) * 4)) ++run;
      if (run >= 2) {
        out.push_back(static_cast<uint8_t>(kRunPacketBit | (run - 1)));
        out.insert(out.end(), line + i * 4, line + i * 4 + 4);
        i += run;
        continue;
      }
      // A raw packet runs until the next pair of equal pixels begins.
      int count = 1;
      while (i + count < width && count < kMaxPacketPixels &&
             !(i + count + 1 < width && same(line + (i + count) * 4, line + (i + count + 1) * 4))) {
        ++count;
      }
      out.push_back(static_cast<uint8_t>(count - 1));
      out.insert(out.end(), line + i * 4, line + (i + count) * 4);
      i += count;
    }
  }
  return out;
}

struct DecodedTarga {
  int width = 0;
  int height = 0;
  int depth = 0;
  std::vector<uint8_t> rgba;  // top row first, 4 bytes per pixel; alpha 255 for 24-bit files
};

// Reads type-10 files of depth 24 or 32 whose first pixel is the bottom-left one. Returns nothing for
// anything else, a truncated file, or packets that run past the last pixel.
inline std::optional<DecodedTarga> decodeTarga(const uint8_t* data, size_t size) {
  if (size < kTargaHeaderSize) return std::nullopt;
  if (data[0] != 0 || data[1] != 0 || data[2] != kTargaTypeRunLength) return std::nullopt;
  DecodedTarga image;
  image.width = data[12] | (data[13] << 8);
  image.height = data[14] | (data[15] << 8);
  image.depth = data[16];
  if (image.depth != 24 && image.depth != 32) return std::nullopt;
  const size_t bytesPerPixel = static_cast<size_t>(image.depth / 8);
  const size_t total = static_cast<size_t>(image.width) * image.height;
  image.rgba.assign(total * 4, 0);
  size_t at = kTargaHeaderSize;
  size_t stored = 0;
  auto store = [&](const uint8_t* p) {
    const size_t row = static_cast<size_t>(image.height) - 1 - stored / image.width;
    const size_t column = stored % image.width;
    uint8_t* dst = image.rgba.data() + (row * image.width + column) * 4;
    dst[0] = p[2];
    dst[1] = p[1];
    dst[2] = p[0];
    dst[3] = bytesPerPixel == 4 ? p[3] : 255;
    ++stored;
  };
  while (stored < total) {
    if (at >= size) return std::nullopt;
    const uint8_t header = data[at++];
    const size_t count = static_cast<size_t>(header & 0x7F) + 1;
    if (stored + count > total) return std::nullopt;
    if (header & kRunPacketBit) {
      if (at + bytesPerPixel > size) return std::nullopt;
      for (size_t k = 0; k < count; ++k) store(data + at);
      at += bytesPerPixel;
    } else {
      if (at + count * bytesPerPixel > size) return std::nullopt;
      for (size_t k = 0; k < count; ++k, at += bytesPerPixel) store(data + at);
    }
  }
  return image;
}

}  // namespace pictures
