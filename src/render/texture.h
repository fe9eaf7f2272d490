// A picture read from an image file into memory and uploaded once as an OpenGL texture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct PixelImage;

// A rectangle of texels, left and top inclusive, right and bottom exclusive, rows counted from the top.
struct TexelBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

// A slice of rows [top, bottom) of a picture's outline, in texels: a trapezoid whose top edge spans
// columns [topLeft, topRight) and whose bottom edge spans [bottomLeft, bottomRight).
struct TexelBand {
  int32_t top, bottom, topLeft, topRight, bottomLeft, bottomRight;
};

class Texture {
 public:
  // Reads the file and uploads whatever came of it: a file that failed to read draws fully transparent.
  explicit Texture(const char* fileName);
  // An empty texture, nothing read and nothing uploaded.
  Texture() = default;
  ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // Picks the reader by the name's last three letters, compared case-insensitively.
  bool readImageFile(const char* fileName);
  bool readBitmap(const char* fileName);
  // A 24-bit file is handed on to readTarga24.
  bool readTarga32(const char* fileName);
  bool readTarga24(const char* fileName);

  void upload();
  void bind() const;
  void release();

  // Rows top first, tightly packed; null when no image was read.
  const uint8_t* pixels() const { return pixels_.get(); }
  uint32_t name() const { return name_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  uint8_t bitsPerPixel() const { return bitsPerPixel_; }
  bool uploaded() const { return uploaded_; }
  // Found at upload: the texels that can show through the linear filter (the ones with alpha above
  // zero and their neighbours), empty when nothing usable was uploaded; and whether every texel is
  // fully opaque, so that drawing need not blend.
  const TexelBox& coverage() const { return coverage_; }
  bool opaque() const { return opaque_; }
  // The same texels more closely: the box cut into bands of rows, each only as wide as it needs,
  // that meet without gaps. A picture with nothing to show has none.
  static constexpr int32_t maxBands = 64;
  int32_t bandCount() const { return bandCount_; }
  const TexelBand& band(int32_t index) const { return bands_[index]; }

 private:
  // Takes a decoded picture, or drops the held one when the read failed.
  bool keep(bool decoded, PixelImage& image);
  void measureCoverage();

  std::unique_ptr<uint8_t[]> pixels_;
  uint32_t name_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint8_t bitsPerPixel_ = 0;
  bool uploaded_ = false;
  TexelBox coverage_;
  TexelBand bands_[maxBands] = {};
  int32_t bandCount_ = 0;
  bool opaque_ = false;
};
