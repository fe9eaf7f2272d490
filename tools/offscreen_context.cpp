#include "offscreen_context.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/osmesa.h>
#include <png.h>

#include <cstdio>

#include "shell/app_window.h"

OffscreenContext::OffscreenContext(int width, int height) : width_(width), height_(height) {
  OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
  if (!ctx) return;
  context_ = ctx;
  buffer_.assign(static_cast<size_t>(width) * height * 4, 0);
  if (!OSMesaMakeCurrent(ctx, buffer_.data(), GL_UNSIGNED_BYTE, width, height)) return;
  // A link-order mistake (libOpenGL before OSMesa) makes every GL call a silent no-op.
  if (glGetString(GL_VERSION) == nullptr) {
    std::fprintf(stderr, "offscreen context: glGetString(GL_VERSION) is null; check the GL link order\n");
    return;
  }
  OSMesaPixelStore(OSMESA_Y_UP, 1);
  resizeViewport(width, height);
  ok_ = true;
}

OffscreenContext::~OffscreenContext() {
  if (context_) OSMesaDestroyContext(static_cast<OSMesaContext>(context_));
}

bool OffscreenContext::makeCurrent() {
  return ok_ && OSMesaMakeCurrent(static_cast<OSMesaContext>(context_), buffer_.data(), GL_UNSIGNED_BYTE,
                                  width_, height_);
}

std::vector<uint8_t> OffscreenContext::readPixels() const {
  glFinish();
  std::vector<uint8_t> rows(buffer_.size());
  const size_t stride = static_cast<size_t>(width_) * 4;
  for (int y = 0; y < height_; ++y) {
    // The buffer's first row is the bottom of the picture.
    const uint8_t* src = buffer_.data() + static_cast<size_t>(height_ - 1 - y) * stride;
    std::copy(src, src + stride, rows.data() + static_cast<size_t>(y) * stride);
  }
  return rows;
}

void OffscreenContext::pixelAt(int x, int y, uint8_t rgba[4]) const {
  glFinish();
  const uint8_t* p = buffer_.data() + (static_cast<size_t>(height_ - 1 - y) * width_ + x) * 4;
  for (int i = 0; i < 4; ++i) rgba[i] = p[i];
}

bool OffscreenContext::writePng(const char* path) const {
  std::vector<uint8_t> rows = readPixels();
  for (size_t i = 3; i < rows.size(); i += 4) rows[i] = 255;  // frames are shown opaque
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width_);
  image.height = static_cast<png_uint_32>(height_);
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path, 0, rows.data(), 0, nullptr) != 0;
}
