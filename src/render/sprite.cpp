#include "render/sprite.h"

#include <GL/gl.h>

#include <new>

#include "render/texture.h"

namespace {
constexpr float logicalWidth = 640.0f;
constexpr float logicalHeight = 480.0f;

// The unit square's corners, texture coordinate (s, t) then vertex (x, y). The texture's first row
// (the picture's top) is at t = 0, so the picture comes out upright and unmirrored.
struct Corner {
  float s, t, x, y;
};
constexpr Corner unitSquare[] = {
    {0.0f, 1.0f, -0.5f, -0.5f},
    {0.0f, 0.0f, -0.5f, 0.5f},
    {1.0f, 0.0f, 0.5f, 0.5f},
    {1.0f, 1.0f, 0.5f, -0.5f},
};

// Inside glBegin(GL_QUADS).
void putQuad(const Corner (&corners)[4]) {
  for (const Corner& corner : corners) {
    glTexCoord2f(corner.s, corner.t);
    glVertex2f(corner.x, corner.y);
  }
}

// What the overlay last set, so that a run of sprites alike changes no state between them.
enum class Blending : uint8_t { Untracked, On, Off };
Blending blending = Blending::Untracked;

void useBlending(bool on) {
  if (blending == Blending::Untracked || (blending == Blending::On) == on) return;
  if (on) {
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
  } else {
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
  }
  blending = on ? Blending::On : Blending::Off;
}
}  // namespace

bool spriteFullQuads = false;

Sprite::Sprite(const char* fileName, float width, float height, float anchorX, float anchorY)
    : texture_(new (std::nothrow) Texture(fileName)),
      width_(width),
      height_(height),
      anchorX_(anchorX),
      anchorY_(anchorY) {
  displayList_ = glGenLists(2);
  if (displayList_ == 0) return;
  // The trimmed outline keeps the unit square's mapping, so anchor, size and turn act on it unchanged.
  glNewList(displayList_, GL_COMPILE);
  glBegin(GL_QUADS);
  if (texture_) {
    const float width = static_cast<float>(texture_->width());
    const float height = static_cast<float>(texture_->height());
    auto corner = [&](int32_t column, int32_t row) {
      const float s = static_cast<float>(column) / width;
      const float t = static_cast<float>(row) / height;
      return Corner{s, t, s - 0.5f, 0.5f - t};
    };
    for (int32_t i = 0; i < texture_->bandCount(); ++i) {
      const TexelBand& b = texture_->band(i);
      const Corner trapezoid[] = {corner(b.bottomLeft, b.bottom), corner(b.topLeft, b.top),
                                  corner(b.topRight, b.top), corner(b.bottomRight, b.bottom)};
      putQuad(trapezoid);
    }
  }
  glEnd();
  glEndList();
  glNewList(displayList_ + 1, GL_COMPILE);
  glBegin(GL_QUADS);
  putQuad(unitSquare);
  glEnd();
  glEndList();
}

Sprite::~Sprite() {
  if (displayList_ != 0) glDeleteLists(displayList_, 2);
  texture_.reset();
}

void Sprite::draw(float x, float y) {
  drawWithColour(x, y, 0.0f, width_, height_, 1.0f, 1.0f, 1.0f, 1.0f);
}

void Sprite::drawTinted(float x, float y, float angle, float width, float height, float r, float g, float b) {
  drawWithColour(x, y, angle, width, height, r, g, b, 1.0f);
}

void Sprite::drawBlended(float x, float y, float angle, float width, float height, float r, float g, float b,
                         float a) {
  if (drawWithColour(x, y, angle, width, height, r, g, b, a)) glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// The anchor lands on (x, 480 - y) of the y-up overlay; rotation and size are about the anchor.
bool Sprite::drawWithColour(float x, float y, float angle, float width, float height, float r, float g,
                            float b, float a) const {
  if (!texture_) return false;
  glColor4f(r, g, b, a);
  const bool whole = spriteFullQuads;
  if (!whole && (displayList_ == 0 || texture_->coverage().empty())) return true;
  if (!whole) useBlending(!(texture_->opaque() && a >= 1.0f));
  texture_->bind();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(x, logicalHeight - y, 0.0f);
  if (angle != 0.0f) glRotatef(angle, 0.0f, 0.0f, 1.0f);
  glScalef(width, height, 1.0f);
  glTranslatef(-anchorX_, anchorY_, 0.0f);
  glCallList(whole ? displayList_ + 1 : displayList_);
  return true;
}

void beginOverlay2D() {
  glDisable(GL_DEPTH_TEST);
  if (!spriteFullQuads) {
    // A texel of alpha zero adds nothing to the blend, so it is dropped before it costs one.
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    blending = Blending::On;
  }
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, logicalWidth, 0.0, logicalHeight, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
}

void endOverlay2D() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glEnable(GL_DEPTH_TEST);
  if (blending != Blending::Untracked) {
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    blending = Blending::Untracked;
  }
}
