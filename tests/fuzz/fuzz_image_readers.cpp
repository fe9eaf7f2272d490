// libFuzzer target: every input goes straight to the targa and bitmap decoders, no files, no GL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/image_readers.h"

namespace {
volatile uint32_t sink;

// A decoded picture must be sane and its whole buffer readable (ASan checks the reads).
void checkImage(const PixelImage& image) {
  if (image.width < 1 || image.width > ImageReaders::maxSide || image.height < 1 ||
      image.height > ImageReaders::maxSide || (image.bitsPerPixel != 24 && image.bitsPerPixel != 32) ||
      image.pixels == nullptr) {
    std::abort();
  }
  uint32_t sum = 0;
  const size_t bytes = image.byteSize();
  for (size_t i = 0; i < bytes; ++i) sum += image.pixels[i];
  sink = sum;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PixelImage targa;
  if (ImageReaders::decodeTarga32(data, size, targa)) checkImage(targa);
  PixelImage targa24;
  if (ImageReaders::decodeTarga24(data, size, targa24)) checkImage(targa24);
  PixelImage bitmap;
  if (ImageReaders::decodeBitmap(data, size, bitmap)) checkImage(bitmap);
  return 0;
}
