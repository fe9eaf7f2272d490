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

void compileQuad(const Corner (&corners)[4]) {
  glBegin(GL_QUADS);
  for (const Corner& corner : corners) {
    glTexCoord2f(corner.s, corner.t);
    glVertex2f(corner.x, corner.y);
  }
  glEnd();
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
  // The trimmed square keeps the unit square's mapping, so anchor, size and turn act on it unchanged.
  const TexelBox box = texture_ ? texture_->coverage() : TexelBox{};
  glNewList(displayList_, GL_COMPILE);
  if (!box.empty()) {
    const float width = static_cast<float>(texture_->width());
    const float height = static_cast<float>(texture_->height());
    const float s0 = static_cast<float>(box.left) / width;
    const float s1 = static_cast<float>(box.right) / width;
    const float t0 = static_cast<float>(box.top) / height;
    const float t1 = static_cast<float>(box.bottom) / height;
    const Corner trimmed[] = {
        {s0, t1, s0 - 0.5f, 0.5f - t1},
        {s0, t0, s0 - 0.5f, 0.5f - t0},
        {s1, t0, s1 - 0.5f, 0.5f - t0},
        {s1, t1, s1 - 0.5f, 0.5f - t1},
    };
    compileQuad(trimmed);
  }
  glEndList();
  glNewList(displayList_ + 1, GL_COMPILE);
  compileQuad(unitSquare);
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
