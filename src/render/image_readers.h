// Decoders for the image files the game reads, working on a file's bytes already in memory.
// They touch neither files nor OpenGL, so they can be tested and fuzzed on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// A decoded picture: rows top first, tightly packed, red-green-blue(-alpha) order.
struct PixelImage {
  std::unique_ptr<uint8_t[]> pixels;
  int32_t width = 0;
  int32_t height = 0;
  uint8_t bitsPerPixel = 0;

  size_t byteSize() const {
    return static_cast<size_t>(width) * static_cast<size_t>(height) * (bitsPerPixel / 8u);
  }
};

namespace ImageReaders {
// Longest side accepted; larger claims are refused before any buffer is allocated.
constexpr int32_t maxSide = 8192;

// Each decoder leaves `image` untouched when it fails.
// Run-length targa, 32 bits; a 24-bit file is handed on to decodeTarga24.
bool decodeTarga32(const uint8_t* data, size_t size, PixelImage& image);
bool decodeTarga24(const uint8_t* data, size_t size, PixelImage& image);
// Uncompressed 24-bit Windows bitmap, bottom-up or top-down.
bool decodeBitmap(const uint8_t* data, size_t size, PixelImage& image);
}  // namespace ImageReaders
