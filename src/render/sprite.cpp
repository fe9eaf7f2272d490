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
}  // namespace

Sprite::Sprite(const char* fileName, float width, float height, float anchorX, float anchorY)
    : texture_(new (std::nothrow) Texture(fileName)),
      width_(width),
      height_(height),
      anchorX_(anchorX),
      anchorY_(anchorY) {
  displayList_ = glGenLists(1);
  glNewList(displayList_, GL_COMPILE);
  glBegin(GL_QUADS);
  for (const Corner& corner : unitSquare) {
    glTexCoord2f(corner.s, corner.t);
    glVertex2f(corner.x, corner.y);
  }
  glEnd();
  glEndList();
}

Sprite::~Sprite() {
  if (displayList_ != 0) glDeleteLists(displayList_, 1);
  texture_.reset();
}

void Sprite::draw(float x, float y) {
  if (!texture_) return;
  texture_->bind();
  glColor3f(1.0f, 1.0f, 1.0f);
  placeAndCall(x, y, 0.0f, width_, height_);
}

void Sprite::drawTinted(float x, float y, float angle, float width, float height, float r, float g, float b) {
  if (!texture_) return;
  texture_->bind();
  glColor4f(r, g, b, 1.0f);
  placeAndCall(x, y, angle, width, height);
}

void Sprite::drawBlended(float x, float y, float angle, float width, float height, float r, float g, float b,
                         float a) {
  if (!texture_) return;
  texture_->bind();
  glColor4f(r, g, b, a);
  placeAndCall(x, y, angle, width, height);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// The anchor lands on (x, 480 - y) of the y-up overlay; rotation and size are about the anchor.
void Sprite::placeAndCall(float x, float y, float angle, float width, float height) const {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(x, logicalHeight - y, 0.0f);
  if (angle != 0.0f) glRotatef(angle, 0.0f, 0.0f, 1.0f);
  glScalef(width, height, 1.0f);
  glTranslatef(-anchorX_, anchorY_, 0.0f);
  glCallList(displayList_);
}

void beginOverlay2D() {
  glDisable(GL_DEPTH_TEST);
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
}
