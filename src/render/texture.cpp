#include "render/texture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "render/image_readers.h"
#include "shell/platform.h"

namespace {

using Decoder = bool (*)(const uint8_t* data, size_t size, PixelImage& image);

constexpr size_t shortestName = 5;
constexpr size_t extensionLength = 3;
// Past any picture of the largest accepted size, packets and all.
constexpr long largestFile =
    static_cast<long>(ImageReaders::maxSide) * ImageReaders::maxSide * 5 + 1024 * 1024;

// The whole file into memory, then the decoder; a file that cannot be read whole fails.
bool readFileWith(const char* fileName, Decoder decode, PixelImage& image) {
  if (fileName == nullptr) return false;
  FILE* file = platformOpenDataFile(fileName, "rb");
  if (file == nullptr) return false;
  std::vector<uint8_t> bytes;
  bool read = false;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size >= 0 && size <= largestFile && std::fseek(file, 0, SEEK_SET) == 0) {
      bytes.resize(static_cast<size_t>(size));
      read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
  }
  std::fclose(file);
  return read && decode(bytes.data(), bytes.size(), image);
}

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

Texture::Texture(const char* fileName) {
  readImageFile(fileName);
  upload();
}

Texture::~Texture() {
  release();
}

bool Texture::readImageFile(const char* fileName) {
  PixelImage none;
  const size_t length = fileName ? std::strlen(fileName) : 0;
  if (length < shortestName) return keep(false, none);
  // The dot before the extension is not examined.
  char extension[extensionLength + 1] = {};
  for (size_t i = 0; i < extensionLength; ++i)
    extension[i] = lowerAscii(fileName[length - extensionLength + i]);
  if (std::strcmp(extension, "bmp") == 0) return readBitmap(fileName);
  if (std::strcmp(extension, "tga") == 0) return readTarga32(fileName);
  return keep(false, none);
}

bool Texture::readBitmap(const char* fileName) {
  PixelImage image;
  return keep(readFileWith(fileName, ImageReaders::decodeBitmap, image), image);
}

bool Texture::readTarga32(const char* fileName) {
  PixelImage image;
  return keep(readFileWith(fileName, ImageReaders::decodeTarga32, image), image);
}

bool Texture::readTarga24(const char* fileName) {
  PixelImage image;
  return keep(readFileWith(fileName, ImageReaders::decodeTarga24, image), image);
}

bool Texture::keep(bool decoded, PixelImage& image) {
  if (decoded) {
    pixels_ = std::move(image.pixels);
    width_ = image.width;
    height_ = image.height;
    bitsPerPixel_ = image.bitsPerPixel;
  } else {
    pixels_.reset();
    width_ = 0;
    height_ = 0;
    bitsPerPixel_ = 0;
  }
  return decoded;
}

void Texture::upload() {
  if (uploaded_) glDeleteTextures(1, &name_);
  GLint largestSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestSide);
  glGenTextures(1, &name_);
  glBindTexture(GL_TEXTURE_2D, name_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

  // Rows are tightly packed, so a 24-bit row need not end on a 4-byte boundary.
  GLint previousAlignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (pixels_ && width_ <= largestSide && height_ <= largestSide) {
    const bool alpha = bitsPerPixel_ == 32;
    glTexImage2D(GL_TEXTURE_2D, 0, alpha ? 4 : 3, width_, height_, 0, alpha ? GL_RGBA : GL_RGB,
                 GL_UNSIGNED_BYTE, pixels_.get());
    measureCoverage();
  } else {
    // Nothing usable was read: one fully transparent texel, so that drawing shows nothing.
    static const uint8_t transparent[4] = {0, 0, 0, 0};
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, transparent);
    coverage_ = TexelBox{};
    bandCount_ = 0;
    opaque_ = false;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
  uploaded_ = true;
}

namespace {
constexpr int32_t fewestBandRows = 4;

// Columns [left, right) a span of columns first..last needs: one more each way for the linear
// filter, and the whole width when it touches a side (the repeat wrap blends each side into the other).
void widenColumns(int32_t first, int32_t last, int32_t width, int32_t& left, int32_t& right) {
  left = (last == width - 1) ? 0 : std::max(first - 1, 0);
  right = (first == 0) ? width : std::min(last + 2, width);
}
}  // namespace

void Texture::measureCoverage() {
  coverage_ = TexelBox{};
  bandCount_ = 0;
  opaque_ = false;
  if (width_ <= 0 || height_ <= 0) return;
  if (bitsPerPixel_ != 32) {
    coverage_ = TexelBox{0, 0, width_, height_};
    bands_[bandCount_++] = TexelBand{0, height_, 0, width_, 0, width_};
    opaque_ = true;
    return;
  }
  // The first and last column with alpha above zero in every row (last < first: none).
  std::vector<int32_t> first(static_cast<size_t>(height_), width_), last(static_cast<size_t>(height_), -1);
  bool opaque = true;
  const uint8_t* alpha = pixels_.get() + 3;
  for (int32_t y = 0; y < height_; ++y) {
    for (int32_t x = 0; x < width_; ++x, alpha += 4) {
      if (*alpha != 255) opaque = false;
      if (*alpha == 0) continue;
      first[y] = std::min(first[y], x);
      last[y] = std::max(last[y], x);
    }
  }
  opaque_ = opaque;
  int32_t top = -1, bottom = -1, left = width_, right = -1;
  for (int32_t y = 0; y < height_; ++y) {
    if (last[y] < 0) continue;
    if (top < 0) top = y;
    bottom = y;
    left = std::min(left, first[y]);
    right = std::max(right, last[y]);
  }
  if (top < 0) return;
  widenColumns(left, right, width_, coverage_.left, coverage_.right);
  coverage_.top = (bottom == height_ - 1) ? 0 : std::max(top - 1, 0);
  coverage_.bottom = (top == 0) ? height_ : std::min(bottom + 2, height_);

  // Bands of the box, each as wide as its own rows and the rows either side need (wrapping at the
  // top and bottom like the texture does).
  const int32_t rows = coverage_.bottom - coverage_.top;
  const int32_t bandRows = std::max(fewestBandRows, (rows + maxBands - 1) / maxBands);
  for (int32_t y0 = coverage_.top; y0 < coverage_.bottom; y0 += bandRows) {
    const int32_t y1 = std::min(y0 + bandRows, coverage_.bottom);
    int32_t from = width_, to = -1;
    for (int32_t y = y0 - 1; y <= y1; ++y) {
      const int32_t row = (y + height_) % height_;
      from = std::min(from, first[row]);
      to = std::max(to, last[row]);
    }
    if (to < 0) continue;
    TexelBand band{y0, y1, 0, 0, 0, 0};
    widenColumns(from, to, width_, band.topLeft, band.topRight);
    band.bottomLeft = band.topLeft;
    band.bottomRight = band.topRight;
    // A band that would cover no more joined to the one above joins it: fewer corners, less work
    // for the rasteriser.
    if (bandCount_ > 0) {
      TexelBand& above = bands_[bandCount_ - 1];
      const int32_t left = std::min(above.topLeft, band.topLeft);
      const int32_t right = std::max(above.topRight, band.topRight);
      const int32_t apart = (above.topRight - above.topLeft) * (above.bottom - above.top) +
                            (band.topRight - band.topLeft) * (band.bottom - band.top);
      if (above.bottom == band.top && (right - left) * (band.bottom - above.top) <= apart) {
        above = TexelBand{above.top, band.bottom, left, right, left, right};
        continue;
      }
    }
    bands_[bandCount_++] = band;
  }
  // Where two bands meet, both take the wider span there, so they share the corners and the
  // rasteriser leaves no seam between them; the sides slope from one span to the next.
  for (int32_t i = 0; i + 1 < bandCount_; ++i) {
    TexelBand& above = bands_[i];
    TexelBand& below = bands_[i + 1];
    if (above.bottom != below.top) continue;
    above.bottomLeft = below.topLeft = std::min(above.bottomLeft, below.topLeft);
    above.bottomRight = below.topRight = std::max(above.bottomRight, below.topRight);
  }
}

void Texture::bind() const {
  glBindTexture(GL_TEXTURE_2D, uploaded_ ? name_ : 0);
}

void Texture::release() {
  pixels_.reset();
  if (uploaded_) glDeleteTextures(1, &name_);
  name_ = 0;
  uploaded_ = false;
  coverage_ = TexelBox{};
  bandCount_ = 0;
  opaque_ = false;
}
