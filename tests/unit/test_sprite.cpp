// Sprite geometry and colour, drawn on the offscreen context and read back pixel by pixel.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

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

  static void currentColour(float rgba[4]) { glGetFloatv(GL_CURRENT_COLOR, rgba); }

  ScratchFolder folder;
};

TEST_F(SpriteDrawing, TopLeftAnchorCoversTheCornerRegion) {
  Sprite sprite("graphics\\white.tga", 100.0f, 60.0f, -0.5f, -0.5f);
  sprite.draw(0.0f, 0.0f);
  EXPECT_PIXEL(1, 1, white);
  EXPECT_PIXEL(50, 30, white);
  EXPECT_PIXEL(98, 58, white);
  EXPECT_PIXEL(102, 30, black);
  EXPECT_PIXEL(50, 62, black);
}

TEST_F(SpriteDrawing, CentredFullSizeSpriteCoversTheWholeScreen) {
  Sprite sprite("graphics\\white.tga", 640.0f, 480.0f, 0.0f, 0.0f);
  sprite.draw(320.0f, 240.0f);
  EXPECT_PIXEL(0, 0, white);
  EXPECT_PIXEL(639, 0, white);
  EXPECT_PIXEL(0, 479, white);
  EXPECT_PIXEL(639, 479, white);
}

TEST_F(SpriteDrawing, PicturesAreUprightAndUnmirrored) {
  Sprite targa("graphics\\quad.tga", 200.0f, 200.0f, 0.0f, 0.0f);
  targa.draw(200.0f, 240.0f);
  EXPECT_PIXEL(150, 190, red);
  EXPECT_PIXEL(250, 190, green);
  EXPECT_PIXEL(150, 290, blue);
  EXPECT_PIXEL(250, 290, yellow);

  // A 24-bit bitmap comes out the same way up.
  Sprite bitmap("graphics\\quad.bmp", 200.0f, 200.0f, 0.0f, 0.0f);
  bitmap.draw(440.0f, 240.0f);
  EXPECT_PIXEL(390, 190, red);
  EXPECT_PIXEL(490, 190, green);
  EXPECT_PIXEL(390, 290, blue);
  EXPECT_PIXEL(490, 290, yellow);
}

TEST_F(SpriteDrawing, PositiveAngleTurnsCounterClockwise) {
  Sprite sprite("graphics\\quad.tga", 10.0f, 10.0f, 0.0f, 0.0f);
  sprite.drawTinted(320.0f, 240.0f, 90.0f, 200.0f, 200.0f, 1.0f, 1.0f, 1.0f);
  // The top edge turns to the left side.
  EXPECT_PIXEL(270, 190, green);
  EXPECT_PIXEL(370, 190, yellow);
  EXPECT_PIXEL(270, 290, red);
  EXPECT_PIXEL(370, 290, blue);
}

TEST_F(SpriteDrawing, RotationIsAboutTheAnchor) {
  Sprite sprite("graphics\\white.tga", 10.0f, 10.0f, -0.5f, -0.5f);
  // 100 wide, 40 high, turned a quarter about its top-left corner at (300, 200): it now stands
  // 40 wide and 100 high, above and to the right of that corner.
  sprite.drawTinted(300.0f, 200.0f, 90.0f, 100.0f, 40.0f, 1.0f, 1.0f, 1.0f);
  EXPECT_PIXEL(320, 150, white);
  EXPECT_PIXEL(302, 102, white);
  EXPECT_PIXEL(338, 198, white);
  EXPECT_PIXEL(320, 205, black);
  EXPECT_PIXEL(320, 95, black);
  EXPECT_PIXEL(295, 150, black);
  EXPECT_PIXEL(345, 150, black);
  EXPECT_PIXEL(350, 220, black);  // where the unturned picture would be
}

TEST_F(SpriteDrawing, NegativeWidthMirrorsAboutTheAnchor) {
  Sprite quad("graphics\\quad.tga", 10.0f, 10.0f, 0.0f, 0.0f);
  quad.drawTinted(320.0f, 240.0f, 0.0f, -200.0f, 200.0f, 1.0f, 1.0f, 1.0f);
  EXPECT_PIXEL(270, 190, green);
  EXPECT_PIXEL(370, 190, red);
  EXPECT_PIXEL(270, 290, yellow);
  EXPECT_PIXEL(370, 290, blue);

  glClear(GL_COLOR_BUFFER_BIT);
  Sprite corner("graphics\\white.tga", 10.0f, 10.0f, -0.5f, -0.5f);
  corner.drawTinted(100.0f, 100.0f, 0.0f, -100.0f, 50.0f, 1.0f, 1.0f, 1.0f);
  EXPECT_PIXEL(50, 125, white);
  EXPECT_PIXEL(150, 125, black);
  EXPECT_PIXEL(50, 155, black);
}

TEST_F(SpriteDrawing, DrawUsesTheDefaultSizeAndTheOthersIgnoreIt) {
  Sprite sprite("graphics\\white.tga", 100.0f, 100.0f, -0.5f, -0.5f);
  sprite.drawTinted(0.0f, 0.0f, 0.0f, 50.0f, 50.0f, 1.0f, 1.0f, 1.0f);
  EXPECT_PIXEL(25, 25, white);
  EXPECT_PIXEL(75, 25, black);
  sprite.drawBlended(200.0f, 0.0f, 0.0f, 30.0f, 30.0f, 1.0f, 1.0f, 1.0f, 1.0f);
  EXPECT_PIXEL(215, 15, white);
  EXPECT_PIXEL(245, 15, black);
  sprite.draw(400.0f, 0.0f);
  EXPECT_PIXEL(495, 95, white);
}

TEST_F(SpriteDrawing, TintMultipliesAndStaysCurrent) {
  Sprite sprite("graphics\\white.tga", 100.0f, 100.0f, 0.0f, 0.0f);
  sprite.drawTinted(100.0f, 100.0f, 0.0f, 100.0f, 100.0f, 0.5f, 1.0f, 0.25f);
  EXPECT_PIXEL(100, 100, (Rgba{128, 255, 64, 255}));
  float colour[4];
  currentColour(colour);
  EXPECT_FLOAT_EQ(colour[0], 0.5f);
  EXPECT_FLOAT_EQ(colour[1], 1.0f);
  EXPECT_FLOAT_EQ(colour[2], 0.25f);
  EXPECT_FLOAT_EQ(colour[3], 1.0f);

  // The next draw sets its own colour: white again.
  sprite.draw(300.0f, 100.0f);
  EXPECT_PIXEL(300, 100, white);
}

TEST_F(SpriteDrawing, BlendedAlphaThenOpaqueWhite) {
  Sprite background("graphics\\green.tga", 200.0f, 200.0f, 0.0f, 0.0f);
  Sprite sprite("graphics\\white.tga", 100.0f, 100.0f, 0.0f, 0.0f);
  background.draw(200.0f, 200.0f);
  sprite.drawBlended(200.0f, 200.0f, 0.0f, 100.0f, 100.0f, 1.0f, 0.0f, 0.0f, 0.5f);
  EXPECT_PIXEL(200, 200, (Rgba{128, 128, 0, 255}));
  sprite.drawBlended(400.0f, 200.0f, 0.0f, 100.0f, 100.0f, 1.0f, 1.0f, 1.0f, 0.25f);
  EXPECT_PIXEL(400, 200, (Rgba{64, 64, 64, 255}));
  float colour[4];
  currentColour(colour);
  for (float c : colour) EXPECT_FLOAT_EQ(c, 1.0f);
}

TEST_F(SpriteDrawing, PictureAlphaIsTransparency) {
  Sprite background("graphics\\green.tga", 640.0f, 480.0f, 0.0f, 0.0f);
  Sprite half("graphics\\half.tga", 200.0f, 100.0f, 0.0f, 0.0f);
  background.draw(320.0f, 240.0f);
  half.draw(320.0f, 240.0f);
  EXPECT_PIXEL(270, 240, red);
  EXPECT_PIXEL(370, 240, green);
}

TEST_F(SpriteDrawing, AMissingPictureDrawsNothingSilently) {
  Sprite background("graphics\\green.tga", 640.0f, 480.0f, 0.0f, 0.0f);
  Sprite missing("graphics\\no_such_picture.tga", 640.0f, 480.0f, 0.0f, 0.0f);
  background.draw(320.0f, 240.0f);
  missing.draw(320.0f, 240.0f);
  missing.drawTinted(320.0f, 240.0f, 30.0f, 300.0f, 300.0f, 1.0f, 0.0f, 0.0f);
  missing.drawBlended(320.0f, 240.0f, 0.0f, 300.0f, 300.0f, 1.0f, 1.0f, 1.0f, 1.0f);
  EXPECT_PIXEL(320, 240, green);
  EXPECT_PIXEL(5, 5, green);
}

TEST_F(SpriteDrawing, DestructionReleasesTheTexture) {
  GLuint name = 0;
  {
    Sprite sprite("graphics\\white.tga", 10.0f, 10.0f, 0.0f, 0.0f);
    ASSERT_NE(sprite.texture(), nullptr);
    name = sprite.texture()->name();
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_FLOAT_EQ(sprite.width(), 10.0f);
  }
  EXPECT_FALSE(glIsTexture(name));
}

// --- the overlay bracket ---

TEST(Overlay2D, OrthographicLogicalScreenAndStateRestored) {
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glScalef(2.0f, 3.0f, 4.0f);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(5.0f, 6.0f, 7.0f);

  beginOverlay2D();
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  float projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  // Maps x 0..640 and y 0..480 onto -1..1.
  EXPECT_FLOAT_EQ(projection[0], 2.0f / 640.0f);
  EXPECT_FLOAT_EQ(projection[5], 2.0f / 480.0f);
  EXPECT_FLOAT_EQ(projection[12], -1.0f);
  EXPECT_FLOAT_EQ(projection[13], -1.0f);
  glLoadIdentity();
  glTranslatef(100.0f, 0.0f, 0.0f);
  endOverlay2D();

  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  float after[16];
  glGetFloatv(GL_PROJECTION_MATRIX, after);
  EXPECT_FLOAT_EQ(after[0], 2.0f);
  EXPECT_FLOAT_EQ(after[5], 3.0f);
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  EXPECT_FLOAT_EQ(after[12], 5.0f);
  EXPECT_FLOAT_EQ(after[13], 6.0f);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace
