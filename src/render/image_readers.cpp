#include "render/image_readers.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace {

// Targa header: 18 bytes, little-endian fields.
constexpr size_t targaHeaderSize = 18;
constexpr size_t targaIdLengthAt = 0;
constexpr size_t targaColourMapTypeAt = 1;
constexpr size_t targaImageTypeAt = 2;
constexpr size_t targaColourMapLengthAt = 5;
constexpr size_t targaColourMapEntryBitsAt = 7;
constexpr size_t targaWidthAt = 12;
constexpr size_t targaHeightAt = 14;
constexpr size_t targaDepthAt = 16;
constexpr uint8_t targaRunLengthTrueColour = 10;
constexpr uint8_t targaRunBit = 0x80;
constexpr uint8_t targaCountMask = 0x7F;
constexpr int32_t targaLongestPacket = 128;

// Bitmap: a 14-byte file header, then an information header of at least 40 bytes.
constexpr size_t bitmapFileHeaderSize = 14;
constexpr size_t bitmapInfoHeaderSize = 40;
constexpr size_t bitmapPixelOffsetAt = 10;
constexpr size_t bitmapInfoSizeAt = bitmapFileHeaderSize + 0;
constexpr size_t bitmapWidthAt = bitmapFileHeaderSize + 4;
constexpr size_t bitmapHeightAt = bitmapFileHeaderSize + 8;
constexpr size_t bitmapBitCountAt = bitmapFileHeaderSize + 14;
constexpr size_t bitmapCompressionAt = bitmapFileHeaderSize + 16;
constexpr uint16_t bitmapTrueColourBits = 24;
constexpr uint32_t bitmapUncompressed = 0;
constexpr size_t bitmapRowAlignment = 4;

uint16_t readLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t readLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool sideFits(int64_t side) {
  return side > 0 && side <= ImageReaders::maxSide;
}

std::unique_ptr<uint8_t[]> allocatePixels(size_t bytes) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]);
}

// --- pixel conversion: the files hold blue, green, red(, alpha); the buffer red, green, blue(, alpha) ---

template <int BytesPerPixel>
struct PixelOps;

template <>
struct PixelOps<4> {
  using Pixel = uint32_t;

  static Pixel load(const uint8_t* src) {
    if constexpr (std::endian::native == std::endian::little) {
      uint32_t bgra;
      std::memcpy(&bgra, src, 4);
      // Swap the bytes of red and blue, keep green and alpha.
      return (bgra & 0xFF00FF00u) | ((bgra >> 16) & 0xFFu) | ((bgra & 0xFFu) << 16);
    } else {
      const uint8_t rgba[4] = {src[2], src[1], src[0], src[3]};
      uint32_t value;
      std::memcpy(&value, rgba, 4);
      return value;
    }
  }

  static void fill(uint8_t* dst, int32_t count, Pixel pixel) {
    for (int32_t i = 0; i < count; ++i) std::memcpy(dst + i * 4, &pixel, 4);
  }

  static void copy(uint8_t* dst, const uint8_t* src, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
      const Pixel pixel = load(src + i * 4);
      std::memcpy(dst + i * 4, &pixel, 4);
    }
  }
};

template <>
struct PixelOps<3> {
  struct Pixel {
    uint8_t r, g, b;
  };

  static Pixel load(const uint8_t* src) { return Pixel{src[2], src[1], src[0]}; }

  static void fill(uint8_t* dst, int32_t count, Pixel pixel) {
    for (int32_t i = 0; i < count; ++i) {
      dst[i * 3 + 0] = pixel.r;
      dst[i * 3 + 1] = pixel.g;
      dst[i * 3 + 2] = pixel.b;
    }
  }

  static void copy(uint8_t* dst, const uint8_t* src, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
      dst[i * 3 + 0] = src[i * 3 + 2];
      dst[i * 3 + 1] = src[i * 3 + 1];
      dst[i * 3 + 2] = src[i * 3 + 0];
    }
  }
};

struct TargaHeader {
  int32_t width = 0;
  int32_t height = 0;
  uint8_t depth = 0;
  size_t packetsAt = 0;
};

bool readTargaHeader(const uint8_t* data, size_t size, TargaHeader& header) {
  if (data == nullptr || size < targaHeaderSize) return false;
  if (data[targaImageTypeAt] != targaRunLengthTrueColour) return false;
  header.width = readLe16(data + targaWidthAt);
  header.height = readLe16(data + targaHeightAt);
  header.depth = data[targaDepthAt];
  // An image ID or a colour map, unused by a true-colour picture, sits between header and packets.
  size_t packetsAt = targaHeaderSize + data[targaIdLengthAt];
  if (data[targaColourMapTypeAt] != 0) {
    const size_t entryBytes = (data[targaColourMapEntryBitsAt] + 7u) / 8u;
    packetsAt += readLe16(data + targaColourMapLengthAt) * entryBytes;
  }
  if (packetsAt > size) return false;
  header.packetsAt = packetsAt;
  return true;
}

// Fills the buffer from its last row upwards, left to right, as the file's rows run bottom-up.
// Packets may cross rows; one that runs past the last pixel stops there. Running out of bytes fails.
template <int BytesPerPixel>
bool decodePackets(const uint8_t* in, const uint8_t* end, int32_t width, int32_t height, uint8_t* out) {
  using Ops = PixelOps<BytesPerPixel>;
  const size_t rowBytes = static_cast<size_t>(width) * BytesPerPixel;
  int32_t row = height - 1;
  uint8_t* dst = out + static_cast<size_t>(row) * rowBytes;
  int32_t roomInRow = width;

  // Moves to the row above once the current one is full; false when the picture is complete.
  auto nextRowIfFull = [&]() {
    if (roomInRow > 0) return true;
    if (row == 0) return false;
    --row;
    dst = out + static_cast<size_t>(row) * rowBytes;
    roomInRow = width;
    return true;
  };

  for (;;) {
    if (in == end) return false;
    const uint8_t packet = *in++;
    int32_t count = (packet & targaCountMask) + 1;
    if (packet & targaRunBit) {
      if (end - in < BytesPerPixel) return false;
      const typename Ops::Pixel pixel = Ops::load(in);
      in += BytesPerPixel;
      while (count > 0) {
        const int32_t n = std::min(count, roomInRow);
        Ops::fill(dst, n, pixel);
        dst += static_cast<size_t>(n) * BytesPerPixel;
        roomInRow -= n;
        count -= n;
        if (!nextRowIfFull()) return true;
      }
    } else {
      while (count > 0) {
        const int32_t n = std::min(count, roomInRow);
        const size_t bytes = static_cast<size_t>(n) * BytesPerPixel;
        if (static_cast<size_t>(end - in) < bytes) return false;
        Ops::copy(dst, in, n);
        in += bytes;
        dst += bytes;
        roomInRow -= n;
        count -= n;
        if (!nextRowIfFull()) return true;
      }
    }
  }
}

template <int BytesPerPixel>
bool decodeTarga(const uint8_t* data, size_t size, const TargaHeader& header, PixelImage& image) {
  if (!sideFits(header.width) || !sideFits(header.height)) return false;
  const size_t pixelCount = static_cast<size_t>(header.width) * static_cast<size_t>(header.height);
  // Every packet covers at most 128 pixels and costs a header byte and at least one pixel: a file too
  // short to cover the picture is refused before its buffer is allocated.
  const size_t fewestPackets = (pixelCount + targaLongestPacket - 1) / targaLongestPacket;
  if (size - header.packetsAt < fewestPackets * (1 + BytesPerPixel)) return false;

  std::unique_ptr<uint8_t[]> pixels = allocatePixels(pixelCount * BytesPerPixel);
  if (!pixels) return false;
  if (!decodePackets<BytesPerPixel>(data + header.packetsAt, data + size, header.width, header.height,
                                    pixels.get())) {
    return false;
  }
  image.pixels = std::move(pixels);
  image.width = header.width;
  image.height = header.height;
  image.bitsPerPixel = BytesPerPixel * 8;
  return true;
}

}  // namespace

namespace ImageReaders {

bool decodeTarga32(const uint8_t* data, size_t size, PixelImage& image) {
  TargaHeader header;
  if (!readTargaHeader(data, size, header)) return false;
  if (header.depth == 24) return decodeTarga24(data, size, image);
  if (header.depth != 32) return false;
  return decodeTarga<4>(data, size, header, image);
}

bool decodeTarga24(const uint8_t* data, size_t size, PixelImage& image) {
  TargaHeader header;
  if (!readTargaHeader(data, size, header)) return false;
  if (header.depth != 24) return false;
  return decodeTarga<3>(data, size, header, image);
}

bool decodeBitmap(const uint8_t* data, size_t size, PixelImage& image) {
  if (data == nullptr || size < bitmapFileHeaderSize + bitmapInfoHeaderSize) return false;
  if (readLe32(data + bitmapInfoSizeAt) < bitmapInfoHeaderSize) return false;
  if (readLe16(data + bitmapBitCountAt) != bitmapTrueColourBits) return false;
  if (readLe32(data + bitmapCompressionAt) != bitmapUncompressed) return false;

  const int64_t width = static_cast<int32_t>(readLe32(data + bitmapWidthAt));
  const int64_t signedHeight = static_cast<int32_t>(readLe32(data + bitmapHeightAt));
  // A negative height marks rows stored top first.
  const bool topDown = signedHeight < 0;
  const int64_t height = topDown ? -signedHeight : signedHeight;
  if (!sideFits(width) || !sideFits(height)) return false;

  const size_t pixelsAt = readLe32(data + bitmapPixelOffsetAt);
  if (pixelsAt < bitmapFileHeaderSize + bitmapInfoHeaderSize || pixelsAt > size) return false;
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  const size_t fileRowBytes = (rowBytes + bitmapRowAlignment - 1) / bitmapRowAlignment * bitmapRowAlignment;
  // The last row's padding is not required: some writers leave it off.
  const size_t needed = fileRowBytes * static_cast<size_t>(height - 1) + rowBytes;
  if (size - pixelsAt < needed) return false;

  std::unique_ptr<uint8_t[]> pixels = allocatePixels(rowBytes * static_cast<size_t>(height));
  if (!pixels) return false;
  for (int64_t fileRow = 0; fileRow < height; ++fileRow) {
    const int64_t row = topDown ? fileRow : height - 1 - fileRow;
    PixelOps<3>::copy(pixels.get() + static_cast<size_t>(row) * rowBytes,
                      data + pixelsAt + static_cast<size_t>(fileRow) * fileRowBytes,
                      static_cast<int32_t>(width));
  }
  image.pixels = std::move(pixels);
  image.width = static_cast<int32_t>(width);
  image.height = static_cast<int32_t>(height);
  image.bitsPerPixel = bitmapTrueColourBits;
  return true;
}

}  // namespace ImageReaders
