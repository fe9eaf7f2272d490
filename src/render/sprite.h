// A picture on a unit square with a default size and an anchor, drawn on the 640x480 logical screen.
#pragma once

#include <cstdint>
#include <memory>

class Texture;

class Sprite {
 public:
  Sprite(const char* fileName, float width, float height, float anchorX, float anchorY);
  ~Sprite();
  Sprite(const Sprite&) = delete;
  Sprite& operator=(const Sprite&) = delete;

  void draw(float x, float y);
  void drawTinted(float x, float y, float angle, float width, float height, float r, float g, float b);
  void drawBlended(float x, float y, float angle, float width, float height, float r, float g, float b,
                   float a);

  float width() const { return width_; }
  float height() const { return height_; }
  float anchorX() const { return anchorX_; }
  float anchorY() const { return anchorY_; }
  const Texture* texture() const { return texture_.get(); }

 private:
  // Binds, sets the colour and blending, places and calls the list; false when nothing was drawn.
  bool drawWithColour(float x, float y, float angle, float width, float height, float r, float g, float b,
                      float a) const;

  std::unique_ptr<Texture> texture_;
  // Two lists: the square trimmed to the picture's coverage, then the whole unit square.
  uint32_t displayList_ = 0;
  float width_;
  float height_;
  float anchorX_;
  float anchorY_;
};

// Inside the overlay, blending and an alpha test that drops fully transparent texels are on while a
// sprite with any see-through texel is drawn, and off for a wholly opaque one at full alpha.
// endOverlay2D leaves blending on and the alpha test off.
void beginOverlay2D();
void endOverlay2D();

// Draws every sprite as its whole square, always blended: the slow way, kept only to measure the
// fast one against and to check that both give the same picture.
extern bool spriteFullQuads;
