// An OSMesa context for drawing without a display (harness, tests, benchmarks).
#pragma once

#include <cstdint>
#include <vector>

class OffscreenContext {
 public:
  OffscreenContext(int width = 640, int height = 480);
  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  bool ok() const { return ok_; }
  // Draws into this context again after another one was made current.
  bool makeCurrent();
  int width() const { return width_; }
  int height() const { return height_; }
  // RGBA rows, top row first.
  std::vector<uint8_t> readPixels() const;
  // One pixel in window coordinates with y measured downwards from the top.
  void pixelAt(int x, int y, uint8_t rgba[4]) const;
  bool writePng(const char* path) const;

 private:
  void* context_ = nullptr;
  std::vector<uint8_t> buffer_;
  int width_;
  int height_;
  bool ok_ = false;
};
