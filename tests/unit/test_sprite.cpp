// Sprite geometry and colour, drawn on the offscreen context and read back pixel by pixel.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "render/sprite.h"
#include "render/texture.h"
#include "test_render_images.h"

using namespace testimages;

namespace {

class SpriteDrawing : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    writeFile("graphics/white.tga", solidTarga(4, 4, white));
    writeFile("graphics/green.tga", solidTarga(4, 4, green));
    // Quadrants: red top-left, green top-right, blue bottom-left, yellow bottom-right.
    writeFile("graphics/quad.tga", targaFromRows(2, 2, {red, green, blue, yellow}));
    // Left half opaque red, right half fully transparent.
    writeFile("graphics/half.tga", targaFromRows(2, 1, {red, {0, 0, 255, 0}}));
    writeFile("graphics/quad.bmp", bitmapFromRows(2, 2, {red, green, blue, yellow}));
    setGameGlState();
    beginOverlay2D();
  }

  void TearDown() override {
    endOverlay2D();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  struct Probe {
    int x, y;
    Rgba colour;
  };
  // Checks the probes, then clears the frame for the next scene.
  static void expectPixels(std::initializer_list<Probe> probes, const char* what, bool clear = true) {
    SCOPED_TRACE(what);
    for (const Probe& p : probes) EXPECT_PIXEL(p.x, p.y, p.colour);
    if (clear) glClear(GL_COLOR_BUFFER_BIT);
  }
  static void tinted(Sprite& s, float x, float y, float angle, float w, float h) {
    s.drawTinted(x, y, angle, w, h, 1.0f, 1.0f, 1.0f);
  }

  ScratchFolder folder;
};

TEST_F(SpriteDrawing, PlacementTurnMirrorAndSize) {
  Sprite corner("graphics\\white.tga", 100.0f, 60.0f, -0.5f, -0.5f);
  corner.draw(0.0f, 0.0f);
  expectPixels({{1, 1, white}, {50, 30, white}, {98, 58, white}, {102, 30, black}, {50, 62, black}},
               "top-left anchor covers the corner region");
  Sprite("graphics\\white.tga", 640.0f, 480.0f, 0.0f, 0.0f).draw(320.0f, 240.0f);
  expectPixels({{0, 0, white}, {639, 0, white}, {0, 479, white}, {639, 479, white}},
               "centred full size covers the screen");
  Sprite("graphics\\quad.tga", 200.0f, 200.0f, 0.0f, 0.0f).draw(200.0f, 240.0f);
  Sprite("graphics\\quad.bmp", 200.0f, 200.0f, 0.0f, 0.0f).draw(440.0f, 240.0f);
  for (int x : {150, 390}) {
    expectPixels({{x, 190, red}, {x + 100, 190, green}, {x, 290, blue}, {x + 100, 290, yellow}},
                 "targa and bitmap upright and unmirrored", x == 390);
  }

  Sprite quad("graphics\\quad.tga", 10.0f, 10.0f, 0.0f, 0.0f);
  tinted(quad, 320.0f, 240.0f, 90.0f, 200.0f, 200.0f);
  expectPixels({{270, 190, green}, {370, 190, yellow}, {270, 290, red}, {370, 290, blue}},
               "positive angle turns counter-clockwise: the top edge to the left side");
  tinted(quad, 320.0f, 240.0f, 0.0f, -200.0f, 200.0f);
  expectPixels({{270, 190, green}, {370, 190, red}, {270, 290, yellow}, {370, 290, blue}},
               "negative width mirrors");

  Sprite white10("graphics\\white.tga", 10.0f, 10.0f, -0.5f, -0.5f);
  // 100 wide, 40 high, turned a quarter about its top-left corner at (300, 200): it now stands
  // 40 wide and 100 high, above and to the right of that corner (not where the unturned one would be).
  tinted(white10, 300.0f, 200.0f, 90.0f, 100.0f, 40.0f);
  expectPixels({{320, 150, white}, {302, 102, white}, {338, 198, white}, {320, 205, black}},
               "rotation is about the anchor", false);
  expectPixels({{320, 95, black}, {295, 150, black}, {345, 150, black}, {350, 220, black}},
               "nothing past the turned sprite");
  tinted(white10, 100.0f, 100.0f, 0.0f, -100.0f, 50.0f);
  expectPixels({{50, 125, white}, {150, 125, black}, {50, 155, black}},
               "negative width mirrors about the anchor");

  Sprite white100("graphics\\white.tga", 100.0f, 100.0f, -0.5f, -0.5f);
  tinted(white100, 0.0f, 0.0f, 0.0f, 50.0f, 50.0f);
  white100.drawBlended(200.0f, 0.0f, 0.0f, 30.0f, 30.0f, 1.0f, 1.0f, 1.0f, 1.0f);
  white100.draw(400.0f, 0.0f);
  expectPixels({{25, 25, white}, {75, 25, black}, {215, 15, white}, {245, 15, black}, {495, 95, white}},
               "draw uses the default size and the others ignore it");
}

TEST_F(SpriteDrawing, TintStaysCurrentAndBlendingEndsOnOpaqueWhite) {
  Sprite sprite("graphics\\white.tga", 100.0f, 100.0f, 0.0f, 0.0f);
  sprite.drawTinted(100.0f, 100.0f, 0.0f, 100.0f, 100.0f, 0.5f, 1.0f, 0.25f);
  EXPECT_PIXEL(100, 100, (Rgba{128, 255, 64, 255}));
  std::vector<float> colour(4);
  glGetFloatv(GL_CURRENT_COLOR, colour.data());
  EXPECT_EQ(colour, (std::vector<float>{0.5f, 1.0f, 0.25f, 1.0f}));
  // The next draw sets its own colour: white again.
  sprite.draw(300.0f, 100.0f);
  EXPECT_PIXEL(300, 100, white);

  Sprite background("graphics\\green.tga", 200.0f, 200.0f, 0.0f, 0.0f);
  background.draw(200.0f, 300.0f);
  sprite.drawBlended(200.0f, 300.0f, 0.0f, 100.0f, 100.0f, 1.0f, 0.0f, 0.0f, 0.5f);
  EXPECT_PIXEL(200, 300, (Rgba{128, 128, 0, 255}));
  sprite.drawBlended(400.0f, 300.0f, 0.0f, 100.0f, 100.0f, 1.0f, 1.0f, 1.0f, 0.25f);
  EXPECT_PIXEL(400, 300, (Rgba{64, 64, 64, 255}));
  glGetFloatv(GL_CURRENT_COLOR, colour.data());
  EXPECT_EQ(colour, std::vector<float>(4, 1.0f));
}

TEST_F(SpriteDrawing, PictureAlphaIsTransparencyAndAMissingPictureDrawsNothing) {
  Sprite background("graphics\\green.tga", 640.0f, 480.0f, 0.0f, 0.0f);
  background.draw(320.0f, 240.0f);
  Sprite missing("graphics\\no_such_picture.tga", 640.0f, 480.0f, 0.0f, 0.0f);
  missing.draw(320.0f, 240.0f);
  missing.drawTinted(320.0f, 240.0f, 30.0f, 300.0f, 300.0f, 1.0f, 0.0f, 0.0f);
  missing.drawBlended(320.0f, 240.0f, 0.0f, 300.0f, 300.0f, 1.0f, 1.0f, 1.0f, 1.0f);
  EXPECT_PIXEL(320, 240, green);
  EXPECT_PIXEL(5, 5, green);

  Sprite("graphics\\half.tga", 200.0f, 100.0f, 0.0f, 0.0f).draw(320.0f, 240.0f);
  EXPECT_PIXEL(270, 240, red);
  EXPECT_PIXEL(370, 240, green);
}

TEST_F(SpriteDrawing, DestructionReleasesTheTexture) {
  auto sprite = std::make_unique<Sprite>("graphics\\white.tga", 10.0f, 10.0f, 0.0f, 0.0f);
  ASSERT_NE(sprite->texture(), nullptr);
  const GLuint name = sprite->texture()->name();
  EXPECT_TRUE(glIsTexture(name));
  sprite.reset();
  EXPECT_FALSE(glIsTexture(name));
}

// --- the overlay bracket ---

TEST(Overlay2D, OrthographicLogicalScreenAndStateRestored) {
  auto matrix = [](GLenum which) {
    std::vector<float> m(16);
    glGetFloatv(which, m.data());
    return m;
  };
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glScalef(2.0f, 3.0f, 4.0f);
  const std::vector<float> projection = matrix(GL_PROJECTION_MATRIX);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(5.0f, 6.0f, 7.0f);
  const std::vector<float> modelview = matrix(GL_MODELVIEW_MATRIX);

  beginOverlay2D();
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  // Maps x 0..640 and y 0..480 onto -1..1.
  const std::vector<float> ortho = matrix(GL_PROJECTION_MATRIX);
  EXPECT_FLOAT_EQ(ortho[0], 2.0f / 640.0f);
  EXPECT_FLOAT_EQ(ortho[5], 2.0f / 480.0f);
  EXPECT_FLOAT_EQ(ortho[12], -1.0f);
  EXPECT_FLOAT_EQ(ortho[13], -1.0f);
  glLoadIdentity();
  glTranslatef(100.0f, 0.0f, 0.0f);
  endOverlay2D();

  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
  EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), modelview);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace
