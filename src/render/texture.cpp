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
    opaque_ = false;
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
  uploaded_ = true;
}

void Texture::measureCoverage() {
  if (width_ <= 0 || height_ <= 0) {
    coverage_ = TexelBox{};
    opaque_ = false;
    return;
  }
  if (bitsPerPixel_ != 32) {
    coverage_ = TexelBox{0, 0, width_, height_};
    opaque_ = true;
    return;
  }
  int32_t left = width_, top = height_, right = -1, bottom = -1;
  bool opaque = true;
  const uint8_t* alpha = pixels_.get() + 3;
  for (int32_t y = 0; y < height_; ++y) {
    for (int32_t x = 0; x < width_; ++x, alpha += 4) {
      if (*alpha != 255) opaque = false;
      if (*alpha == 0) continue;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      if (y > bottom) bottom = y;
    }
  }
  opaque_ = opaque;
  if (right < 0) {
    coverage_ = TexelBox{};
    return;
  }
  // The linear filter blends each texel into half of its neighbours, and the default repeat wrap
  // blends each edge into the opposite one.
  coverage_.left = (right == width_ - 1) ? 0 : std::max(left - 1, 0);
  coverage_.right = (left == 0) ? width_ : std::min(right + 2, width_);
  coverage_.top = (bottom == height_ - 1) ? 0 : std::max(top - 1, 0);
  coverage_.bottom = (top == 0) ? height_ : std::min(bottom + 2, height_);
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
  opaque_ = false;
}
