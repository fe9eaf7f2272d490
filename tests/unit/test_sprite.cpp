// Sprite geometry and colour, drawn on the offscreen context and read back pixel by pixel.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "render/texture.h"
#include "test_render_images.h"

using namespace testimages;

namespace {

class SpriteDrawing : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    for (auto [name, colour] : {std::pair{"white", white}, {"green", green}})
      writeFile("graphics/" + std::string(name) + ".tga", solidTarga(4, 4, colour));
    // Quadrants: red top-left, green top-right, blue bottom-left, yellow bottom-right.
    writeFile("graphics/quad.tga", targaFromRows(2, 2, {red, green, blue, yellow}));
    // Left half opaque red, right half fully transparent.
    writeFile("graphics/half.tga", targaFromRows(2, 1, {red, {0, 0, 255, 0}}));
    setGameGlState();
    beginOverlay2D();
  }
  void TearDown() override {
    endOverlay2D();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  // Checks the points' colours, then clears the frame for the next scene.
  static void expectPixels(std::initializer_list<std::tuple<int, int, Rgba>> probes, const char* what) {
    SCOPED_TRACE(what);
    for (auto [x, y, colour] : probes) EXPECT_PIXEL(x, y, colour);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  ScratchFolder folder;
};

TEST_F(SpriteDrawing, PlacementTurnMirrorAndSize) {
  Sprite("graphics\\white.tga", 100.0f, 60.0f, -0.5f, -0.5f).draw(0.0f, 0.0f);
  expectPixels({{1, 1, white}, {98, 58, white}, {102, 30, black}, {50, 62, black}},
               "top-left anchor covers the corner region");
  Sprite("graphics\\white.tga", 640.0f, 480.0f, 0.0f, 0.0f).draw(320.0f, 240.0f);
  expectPixels({{0, 0, white}, {639, 479, white}}, "centred full size covers the screen");

  Sprite quad("graphics\\quad.tga", 10.0f, 10.0f, 0.0f, 0.0f);
  quad.drawTinted(320.0f, 240.0f, 90.0f, 200.0f, 200.0f, 1.0f, 1.0f, 1.0f);
  expectPixels({{270, 190, green}, {370, 190, yellow}, {270, 290, red}, {370, 290, blue}},
               "positive angle turns counter-clockwise: the top edge to the left side");
  quad.drawTinted(320.0f, 240.0f, 0.0f, -200.0f, 200.0f, 1.0f, 1.0f, 1.0f);
  expectPixels({{270, 190, green}, {370, 190, red}, {270, 290, yellow}, {370, 290, blue}},
               "negative width mirrors");

  Sprite white10("graphics\\white.tga", 10.0f, 10.0f, -0.5f, -0.5f);
  // 100 wide, 40 high, turned a quarter about its top-left corner at (300, 200): it now stands
  // 40 wide and 100 high, above and to the right of that corner (not where the unturned one would be).
  white10.drawTinted(300.0f, 200.0f, 90.0f, 100.0f, 40.0f, 1.0f, 1.0f, 1.0f);
  expectPixels({{302, 102, white}, {338, 198, white}, {320, 205, black}, {345, 150, black}},
               "rotation is about the anchor");
  white10.drawTinted(100.0f, 100.0f, 0.0f, -100.0f, 50.0f, 1.0f, 1.0f, 1.0f);
  expectPixels({{50, 125, white}, {150, 125, black}}, "negative width mirrors about the anchor");

  Sprite white100("graphics\\white.tga", 100.0f, 100.0f, -0.5f, -0.5f);
  white100.drawTinted(0.0f, 0.0f, 0.0f, 50.0f, 50.0f, 1.0f, 1.0f, 1.0f);
  white100.drawBlended(200.0f, 0.0f, 0.0f, 30.0f, 30.0f, 1.0f, 1.0f, 1.0f, 1.0f);
  white100.draw(400.0f, 0.0f);
  expectPixels({{25, 25, white}, {75, 25, black}, {215, 15, white}, {245, 15, black}, {495, 95, white}},
               "draw uses the default size and the others ignore it");
}

TEST_F(SpriteDrawing, TintStaysCurrentBlendingEndsOnOpaqueWhiteAndAlphaIsTransparency) {
  Sprite sprite("graphics\\white.tga", 100.0f, 100.0f, 0.0f, 0.0f);
  sprite.drawTinted(100.0f, 100.0f, 0.0f, 100.0f, 100.0f, 0.5f, 1.0f, 0.25f);
  EXPECT_PIXEL(100, 100, (Rgba{128, 255, 64, 255}));
  std::vector<float> colour(4);
  glGetFloatv(GL_CURRENT_COLOR, colour.data());
  EXPECT_EQ(colour, (std::vector<float>{0.5f, 1.0f, 0.25f, 1.0f}));
  // The next draw sets its own colour: white again.
  sprite.draw(300.0f, 100.0f);
  EXPECT_PIXEL(300, 100, white);

  Sprite("graphics\\green.tga", 200.0f, 200.0f, 0.0f, 0.0f).draw(200.0f, 300.0f);
  sprite.drawBlended(200.0f, 300.0f, 0.0f, 100.0f, 100.0f, 1.0f, 0.0f, 0.0f, 0.5f);
  EXPECT_PIXEL(200, 300, (Rgba{128, 128, 0, 255}));
  glGetFloatv(GL_CURRENT_COLOR, colour.data());
  EXPECT_EQ(colour, std::vector<float>(4, 1.0f));

  // Picture alpha is transparency, and a missing picture draws nothing.
  Sprite("graphics\\green.tga", 640.0f, 480.0f, 0.0f, 0.0f).draw(320.0f, 240.0f);
  auto missing = std::make_unique<Sprite>("graphics\\no_such_picture.tga", 640.0f, 480.0f, 0.0f, 0.0f);
  missing->draw(320.0f, 240.0f);
  missing->drawTinted(320.0f, 240.0f, 30.0f, 300.0f, 300.0f, 1.0f, 0.0f, 0.0f);
  missing->drawBlended(320.0f, 240.0f, 0.0f, 300.0f, 300.0f, 1.0f, 1.0f, 1.0f, 1.0f);
  Sprite("graphics\\half.tga", 200.0f, 100.0f, 0.0f, 0.0f).draw(320.0f, 240.0f);
  expectPixels({{5, 5, green}, {270, 240, red}, {370, 240, green}}, "only the opaque half shows");
  // Destruction releases the texture, even the stand-in of a missing picture.
  const GLuint name = missing->texture()->name();
  EXPECT_TRUE(glIsTexture(name));
  missing.reset();
  EXPECT_FALSE(glIsTexture(name));
}

// The overlay bracket turns depth testing off and puts back both matrices and the depth test after;
// its mapping of the logical screen is pinned by the placement checks above.
TEST(Overlay2D, StateRestored) {
  auto matrices = [] {
    std::vector<float> m(32);
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data() + 16);
    return m;
  };
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glScalef(2.0f, 3.0f, 4.0f);
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(5.0f, 6.0f, 7.0f);
  const std::vector<float> before = matrices();
  beginOverlay2D();
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  glTranslatef(100.0f, 0.0f, 0.0f);
  endOverlay2D();
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(matrices(), before);
  for (GLenum which : {GL_PROJECTION, GL_MODELVIEW}) glMatrixMode(which), glLoadIdentity();
}

}  // namespace
