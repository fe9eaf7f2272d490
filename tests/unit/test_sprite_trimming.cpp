// Sprites drawn on squares trimmed to what their pictures cover, compared with the same sprites drawn
// as whole blended squares: the coverage found at load, when blending is off, and frames of small
// pictures and of the real game that must come out the same both ways.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "frame_scenes.h"
#include "render/texture.h"
#include "screens/screen_machine.h"
#include "test_render_images.h"

using namespace testimages;

namespace {

constexpr Rgba clear = {0, 0, 0, 0};

// A w x h picture of `fill` with the texels given as (x, y, colour), top row first.
std::vector<Rgba> picture(int w, int h, std::initializer_list<std::tuple<int, int, Rgba>> texels,
                          Rgba fill = clear) {
  std::vector<Rgba> rows(static_cast<size_t>(w * h), fill);
  for (auto [x, y, colour] : texels) rows[static_cast<size_t>(y * w + x)] = colour;
  return rows;
}

Bytes targa(int w, int h, std::initializer_list<std::tuple<int, int, Rgba>> texels, Rgba fill = clear) {
  return targaFromRows(w, h, picture(w, h, texels, fill));
}

struct FrameDifference {
  int largest = 0;     // per channel, 0..255
  long off = 0;        // pixels with a channel more than 2 apart
  double rmse = 0.0;   // over the colour channels, 0..1
  double shown = 0.0;  // share of pixels that are not black in the trimmed frame
};

// Red, green and blue of two frames of the same size; alpha is not shown.
FrameDifference compare(const std::vector<uint8_t>& full, const std::vector<uint8_t>& trimmed) {
  FrameDifference d;
  double squares = 0.0;
  long lit = 0;
  for (size_t i = 0; i < full.size(); i += 4) {
    int most = 0;
    for (size_t c = 0; c < 3; ++c) {
      const int step = std::abs(full[i + c] - trimmed[i + c]);
      most = std::max(most, step);
      squares += (step / 255.0) * (step / 255.0);
    }
    d.largest = std::max(d.largest, most);
    d.off += most > 2;
    lit += (trimmed[i] | trimmed[i + 1] | trimmed[i + 2]) != 0;
  }
  const double pixels = static_cast<double>(full.size() / 4);
  d.rmse = std::sqrt(squares / (pixels * 3));
  d.shown = lit / pixels;
  return d;
}

// The frame `draw` gives inside the overlay, drawn both ways on the current context.
FrameDifference drawBothWays(const OffscreenContext& context, const std::function<void()>& draw) {
  std::vector<uint8_t> frames[2];
  for (bool full : {true, false}) {
    spriteFullQuads = full;
    draw();
    frames[full ? 0 : 1] = context.readPixels();
  }
  spriteFullQuads = false;
  return compare(frames[0], frames[1]);
}

TEST(TexelCoverage, AlphaAboveZeroGrownByTheFilterAndWrappedAtTheEdges) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  const Rgba half = {10, 20, 30, 128}, faint = {200, 0, 0, 1}, nearly = {255, 0, 0, 254};
  struct Case {
    const char* what;
    Bytes file;
    TexelBox box;
    bool opaque;
  };
  const Case cases[] = {
      {"a block grows a texel each way", targa(8, 8, {{3, 2, red}, {4, 5, half}}), {2, 1, 6, 7}, false},
      {"alpha 1 counts", targa(8, 8, {{1, 1, faint}}), {0, 0, 3, 3}, false},
      {"the right column bleeds into the left", targa(8, 8, {{7, 3, red}}), {0, 2, 8, 5}, false},
      {"the top row bleeds into the bottom", targa(8, 4, {{2, 0, red}}), {1, 0, 4, 4}, false},
      {"wholly opaque", solidTarga(8, 4, red), {0, 0, 8, 4}, true},
      {"one texel short of opaque", targa(4, 4, {{2, 2, nearly}}, red), {0, 0, 4, 4}, false},
      {"nothing shows", solidTarga(8, 8, clear), {}, false},
      {"24 bits", solidTarga(4, 2, red, 24), {0, 0, 4, 2}, true},
      {"a bitmap", bitmapFromRows(3, 2, picture(3, 2, {}, blue)), {0, 0, 3, 2}, true},
      {"a broken file", Bytes{1, 2, 3}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool bitmap = c.file.size() > 2 && c.file[0] == 'B' && c.file[1] == 'M';
    const std::string path = bitmap ? "graphics/picture.bmp" : "graphics/picture.tga";
    writeFile(path, c.file);
    Texture texture(path.c_str());
    const TexelBox& box = texture.coverage();
    EXPECT_EQ(std::tie(box.left, box.top, box.right, box.bottom),
              std::tie(c.box.left, c.box.top, c.box.right, c.box.bottom));
    EXPECT_EQ(box.empty(), c.box.empty());
    EXPECT_EQ(texture.opaque(), c.opaque);
    texture.release();
    EXPECT_TRUE(texture.coverage().empty());
  }
  EXPECT_TRUE(Texture("graphics/no_such_picture.tga").coverage().empty());
}

// A thin diagonal: the bands must hold every texel the filter can show (each drawn texel and its
// eight neighbours) while covering far less than the box around it.
TEST(TexelCoverage, BandsHoldEveryShowingTexelAndFollowTheShape) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  constexpr int side = 64;
  std::vector<Rgba> rows(side * side, clear);
  for (int y = 4; y < 60; ++y) rows[static_cast<size_t>(y * side + y)] = {255, 255, 255, 40};
  writeFile("graphics/line.tga", targaFromRows(side, side, rows));
  Texture texture("graphics/line.tga");
  ASSERT_GT(texture.bandCount(), 1);
  auto inside = [&](int x, int y) {
    for (int32_t i = 0; i < texture.bandCount(); ++i) {
      const TexelBand& b = texture.band(i);
      if (y < b.top || y >= b.bottom) continue;
      // Both ends of the texel row lie within the sloping sides.
      auto within = [&](float row) {
        const float f = (row - static_cast<float>(b.top)) / static_cast<float>(b.bottom - b.top);
        return x >= b.topLeft + f * (b.bottomLeft - b.topLeft) &&
               x + 1 <= b.topRight + f * (b.bottomRight - b.topRight);
      };
      return within(static_cast<float>(y)) && within(static_cast<float>(y + 1));
    }
    return false;
  };
  long area = 0;
  for (int32_t i = 0; i < texture.bandCount(); ++i) {
    const TexelBand& b = texture.band(i);
    if (i > 0) {
      // Bands that meet share their corners there: no seam for the rasteriser to leave open.
      const TexelBand& a = texture.band(i - 1);
      EXPECT_GE(b.top, a.bottom);
      if (b.top == a.bottom) {
        EXPECT_EQ(std::tie(a.bottomLeft, a.bottomRight), std::tie(b.topLeft, b.topRight));
      }
    }
    area += (b.topRight - b.topLeft + b.bottomRight - b.bottomLeft) * (b.bottom - b.top) / 2;
  }
  for (int y = 4; y < 60; ++y)
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        EXPECT_TRUE(inside(y + dx, y + dy)) << "texel " << y + dx << ", " << y + dy;
  const TexelBox& box = texture.coverage();
  EXPECT_LT(area * 3, (box.right - box.left) * (box.bottom - box.top));
}

class TrimmedDrawing : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    // A backdrop with a different colour in every pixel, so any blending shows.
    std::vector<Rgba> ramp;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        ramp.push_back({static_cast<uint8_t>(x * 16), static_cast<uint8_t>(y * 16), 90, 255});
    writeFile("graphics/backdrop.tga", targaFromRows(16, 16, ramp));
    // A figure in a transparent margin, soft at its edges; a mark on the right edge; and nothing.
    writeFile("graphics/figure.tga", targa(8, 8,
                                           {{3, 2, {250, 250, 0, 90}},
                                            {3, 3, white},
                                            {4, 3, red},
                                            {3, 4, green},
                                            {4, 4, {0, 0, 255, 200}},
                                            {5, 5, {255, 0, 255, 30}}}));
    std::vector<Rgba> diagonal(32 * 32, clear);
    for (int y = 2; y < 30; ++y)
      diagonal[static_cast<size_t>(y * 32 + 31 - y)] = {0, 200, 255, static_cast<uint8_t>(y * 8)};
    writeFile("graphics/diagonal.tga", targaFromRows(32, 32, diagonal));
    writeFile("graphics/edge.tga", targa(8, 8, {{7, 2, yellow}, {7, 3, yellow}}));
    writeFile("graphics/empty.tga", solidTarga(8, 8, clear));
    writeFile("graphics/solid.tga", solidTarga(4, 4, green));
  }
  void TearDown() override {
    spriteFullQuads = false;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  // One frame: the backdrop, then `draw`, inside the overlay.
  void frame(Sprite& backdrop, const std::function<void()>& draw) {
    setGameGlState();
    beginOverlay2D();
    backdrop.draw(320.0f, 240.0f);
    draw();
    endOverlay2D();
  }

  ScratchFolder folder;
};

TEST_F(TrimmedDrawing, PicturesComeOutTheSameMagnifiedTurnedMirroredAndFaded) {
  Sprite backdrop("graphics\\backdrop.tga", 640.0f, 480.0f, 0.0f, 0.0f);
  Sprite figure("graphics\\figure.tga", 64.0f, 64.0f, -0.3f, 0.2f);
  Sprite edge("graphics\\edge.tga", 64.0f, 64.0f, 0.0f, 0.0f);
  Sprite empty("graphics\\empty.tga", 64.0f, 64.0f, 0.0f, 0.0f);
  Sprite diagonal("graphics\\diagonal.tga", 64.0f, 64.0f, 0.1f, -0.2f);
  using Draw = std::function<void()>;
  const std::pair<const char*, Draw> draws[] = {
      {"default size", [&] { figure.draw(100, 100); }},
      {"magnified so one texel is 40 pixels", [&] { figure.drawTinted(320, 240, 0, 320, 320, 1, 1, 1); }},
      {"turned and tinted", [&] { figure.drawTinted(300, 260, 33, 280, 200, 0.5f, 1, 0.8f); }},
      {"mirrored and faded", [&] { figure.drawBlended(330, 220, -70, -300, 260, 1, 1, 1, 0.6f); }},
      {"smaller than the picture", [&] { figure.drawTinted(500, 400, 10, 5, 5, 1, 1, 1); }},
      {"the right edge bleeding round to the left", [&] { edge.drawTinted(320, 240, 0, 400, 400, 1, 1, 1); }},
      {"a thin diagonal in bands, magnified and turned",
       [&] { diagonal.drawBlended(320, 240, 21, -460, 420, 1, 1, 1, 0.9f); }},
      {"an empty picture", [&] { empty.drawBlended(320, 240, 0, 640, 480, 1, 0, 0, 1); }},
  };
  for (const auto& [what, draw] : draws) {
    SCOPED_TRACE(what);
    const FrameDifference d = drawBothWays(testContext(), [&] { frame(backdrop, draw); });
    EXPECT_LE(d.largest, 2);
    EXPECT_LE(d.rmse, 0.003);
    EXPECT_GT(d.shown, 0.9);
  }
  // The figure really is drawn: it changes the backdrop where it lands.
  frame(backdrop, [] {});
  // Its left edge at 320 - 0.2 x 320 and top at 240 - 0.7 x 320; texel (4, 3) is red.
  const Rgba bare = pixelAt(436, 156);
  frame(backdrop, draws[1].second);
  EXPECT_FALSE(near(pixelAt(436, 156), bare));
  EXPECT_TRUE(near(pixelAt(436, 156), red, 8)) << pixelAt(436, 156);
}

TEST_F(TrimmedDrawing, OpaquePicturesAtFullAlphaAloneDrawUnblended) {
  Sprite solid("graphics\\solid.tga", 100.0f, 100.0f, 0.0f, 0.0f);
  Sprite figure("graphics\\figure.tga", 100.0f, 100.0f, 0.0f, 0.0f);
  Sprite empty("graphics\\empty.tga", 100.0f, 100.0f, 0.0f, 0.0f);
  auto blending = [] {
    return std::pair{glIsEnabled(GL_BLEND) == GL_TRUE, glIsEnabled(GL_ALPHA_TEST) == GL_TRUE};
  };
  using State = std::pair<bool, bool>;
  const State unblended{false, false}, blended{true, true};
  setGameGlState();
  beginOverlay2D();
  const std::tuple<const char*, std::function<void()>, State> steps[] = {
      {"opaque, drawn", [&] { solid.draw(100, 100); }, unblended},
      {"see-through", [&] { figure.drawTinted(100, 100, 0, 50, 50, 1, 1, 1); }, blended},
      {"opaque, tinted", [&] { solid.drawTinted(100, 100, 0, 50, 50, 1, 0, 0); }, unblended},
      {"nothing to draw leaves the state", [&] { empty.draw(100, 100); }, unblended},
      {"opaque at half alpha", [&] { solid.drawBlended(300, 300, 0, 50, 50, 1, 1, 1, 0.5f); }, blended},
      {"opaque at full alpha", [&] { solid.drawBlended(500, 100, 0, 50, 50, 1, 1, 1, 1); }, unblended},
  };
  for (const auto& [what, draw, want] : steps) {
    SCOPED_TRACE(what);
    draw();
    EXPECT_EQ(blending(), want);
  }
  endOverlay2D();
  EXPECT_EQ(blending(), (State{true, false}));
  // Half-alpha green over black still mixes.
  EXPECT_PIXEL(300, 300, (Rgba{0, 128, 0, 255}));
}

// The real game's pictures at the sizes the game runs at. Where a picture is opaque up to the side of
// its square, the trimmed square's side runs from a different corner, and snapping the corners to the
// rasteriser's grid can move a pixel centre lying on that side in or out: a rare whole pixel at a
// figure's edge, allowed at one in ten thousand.
TEST(GameFrames, TitleAndRunningDayLookTheSameBothWays) {
  const std::tuple<FrameScenes::Scene, int, int> scenes[] = {
      {FrameScenes::Scene::Title, 1024, 768},
      {FrameScenes::Scene::Title, 640, 480},
      {FrameScenes::Scene::MidDay, 640, 480},
      {FrameScenes::Scene::MidDay, 1024, 768},
  };
  for (auto [scene, width, height] : scenes) {
    SCOPED_TRACE(std::string(FrameScenes::name(scene)) + " at " + std::to_string(width));
    {
      OffscreenContext context(width, height);
      ASSERT_TRUE(context.ok());
      ASSERT_TRUE(FrameScenes::start(scene));
      const FrameDifference d = drawBothWays(context, gameDraw);
      FrameScenes::stop();
      EXPECT_LE(d.off, width * height / 10000) << "largest difference " << d.largest;
      EXPECT_LE(d.rmse, 0.003);
      EXPECT_GT(d.shown, 0.5) << "the scene drew too little to compare";
    }
    ASSERT_TRUE(testContext().makeCurrent());
  }
}

}  // namespace
