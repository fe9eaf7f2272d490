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
  void placeAndCall(float x, float y, float angle, float width, float height) const;

  std::unique_ptr<Texture> texture_;
  uint32_t displayList_ = 0;
  float width_;
  float height_;
  float anchorX_;
  float anchorY_;
};

void beginOverlay2D();
void endOverlay2D();
