// Number layouts: each digit picture is a distinct solid colour, so reading a pixel tells which digit
// landed there.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "render/digit_sprites.h"
#include "screens/play_screen.h"
#include "test_render_images.h"

using namespace testimages;

namespace {

constexpr Rgba digitColours[10] = {
    {255, 0, 0, 255},   {0, 255, 0, 255},   {0, 0, 255, 255},   {255, 255, 0, 255},   {255, 0, 255, 255},
    {0, 255, 255, 255}, {255, 128, 0, 255}, {128, 0, 255, 255}, {255, 255, 255, 255}, {0, 128, 64, 255},
};

Rgba scaled(Rgba c, float f) {
  auto s = [f](uint8_t v) { return static_cast<uint8_t>(v * f + 0.5f); };
  return Rgba{s(c.r), s(c.g), s(c.b), 255};
}

// The digit whose colour (scaled by `shade`) is at the point: '0'..'9', '.' for the black
// background, '?' for anything else.
char digitAt(int x, int y, float shade = 1.0f) {
  const Rgba p = pixelAt(x, y);
  if (near(p, black)) return '.';
  for (int d = 0; d < 10; ++d)
    if (near(p, scaled(digitColours[d], shade))) return static_cast<char>('0' + d);
  return '?';
}

// Reads one character per cell, `step` apart from `firstX`, at the given depth into each cell.
std::string readCells(int firstX, int y, int step, int cells, float shade = 1.0f) {
  std::string text;
  for (int i = 0; i < cells; ++i) text += digitAt(firstX + i * step, y, shade);
  return text;
}

struct Spot {
  int x, y;
  char digit;
};

class DigitLayouts : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    for (int d = 0; d < 10; ++d)
      writeFile("graphics/text_" + std::to_string(d) + ".tga", solidTarga(4, 4, digitColours[d]));
    savedLight = worldLight;
    worldLight = 1.0f;
    setGameGlState();
    loadDigitSprites();
    beginOverlay2D();
  }

  void TearDown() override {
    endOverlay2D();
    unloadDigitSprites();
    worldLight = savedLight;
  }

  // Checks what each spot shows, then clears the frame for the next layout.
  static void expectSpots(const char* what, std::initializer_list<Spot> spots, float shade = 1.0f,
                          bool clear = true) {
    for (const Spot& s : spots)
      EXPECT_EQ(digitAt(s.x, s.y, shade), s.digit) << what << " at " << s.x << "," << s.y;
    if (clear) glClear(GL_COLOR_BUFFER_BIT);
  }

  ScratchFolder folder;
  float savedLight = 0.0f;
};

// --- the six-digit counters: cells 24 apart (32 wide) or 44 apart (64 wide), drawn left to right ---

TEST_F(DigitLayouts, SixDigitCounters) {
  drawSixDigitsTop(42);
  EXPECT_EQ(readCells(490 + 12, 18, 24, 6), "000042");
  // The last cell spans 610 to 642; cells start at y 2 and are 32 high.
  expectSpots("top 42",
              {{489, 18, '.'}, {621, 18, '2'}, {502, 3, '0'}, {502, 1, '.'}, {502, 33, '0'}, {502, 35, '.'}});

  worldLight = 0.5f;  // the top and bottom counters take the world light
  drawSixDigitsTop(987654);
  drawSixDigitsBottom(123450);
  EXPECT_EQ(readCells(490 + 12, 18, 24, 6, 0.5f), "987654");
  EXPECT_EQ(readCells(490 + 12, 464, 24, 6, 0.5f), "123450");
  expectSpots("bottom", {{502, 447, '.'}, {502, 449, '1'}}, 0.5f);

  worldLight = 0.3f;  // the large one stays white and drops the seventh digit
  drawSixDigitsLarge(1234567);
  EXPECT_EQ(readCells(188 + 20, 322, 44, 6), "234567");
  // The last cell spans 408 to 472.
  expectSpots("large", {{187, 322, '.'}, {189, 291, '2'}, {189, 289, '.'}, {471, 322, '7'}, {473, 322, '.'}});

  // A negative value leaves the last place empty.
  worldLight = 1.0f;
  drawSixDigitsTop(-5);
  drawSixDigitsLarge(-5);
  EXPECT_EQ(readCells(490 + 12, 18, 24, 5), "00000");
  EXPECT_EQ(readCells(188 + 20, 322, 44, 5), "00000");
  expectSpots("negative", {{630, 18, '.'}, {440, 322, '.'}});  // right of where the fifth cells end
}

// --- variable-length numbers ---

TEST_F(DigitLayouts, FadedNumbersRunLeftToRightFromTenBeforeXAndTakeTheirAlpha) {
  drawNumberFaded(100.0f, 100.0f, 0, 1.0f);
  drawNumberFaded(100.0f, 300.0f, 105, 1.0f);
  EXPECT_EQ(readCells(90 + 20, 330, 44, 3), "105");
  // The last cell of 105 spans 178 to 242.
  expectSpots("0", {{91, 110, '0'}, {89, 110, '.'}, {153, 110, '0'}, {155, 110, '.'}}, 1.0f, false);
  expectSpots("105", {{89, 330, '.'}, {241, 330, '5'}, {243, 330, '.'}});
  drawNumberFaded(100.0f, 100.0f, 8, 0.5f);
  EXPECT_PIXEL(120, 120, (Rgba{128, 128, 128, 255}));
  drawNumberFaded(300.0f, 100.0f, 2000000000, 1.0f);  // ten digits
  EXPECT_EQ(readCells(290 + 20, 120, 44, 2), "20");
}

TEST_F(DigitLayouts, SmallCentredNumbersSitAroundX) {
  drawNumberSmallCentred(300.0f, 200.0f, 7);
  // 25: the 5 at x + 14, then the 2 at x - 10 drawn over the 5's left edge.
  drawNumberSmallCentred(300.0f, 300.0f, 25);
  expectSpots("7", {{303, 216, '7'}, {301, 216, '.'}, {333, 216, '7'}, {335, 216, '.'}}, 1.0f, false);
  expectSpots("25: the 2", {{291, 316, '2'}, {289, 316, '.'}, {320, 316, '2'}}, 1.0f, false);
  expectSpots("25: the 5", {{323, 316, '5'}, {345, 316, '5'}, {347, 316, '.'}});
  // Leftmost cell at x + 12k - 10 - 24(k - 1) = x - 70; read each cell to the right of where the
  // next digit to its left overlaps it.
  drawNumberSmallCentred(320.0f, 100.0f, 1234567);
  EXPECT_EQ(readCells(250 + 20, 116, 24, 7), "1234567");
  drawNumberSmallCentred(320.0f, 300.0f, 1234567890);
  EXPECT_EQ(readCells(214 + 20, 316, 24, 10), "1234567890");
}

TEST_F(DigitLayouts, NegativeValuesShowOnlyANonNegativeLastDigit) {
  drawNumberSmallCentred(300.0f, 100.0f, -5);
  drawNumberFaded(300.0f, 300.0f, -7, 1.0f);
  // Where a digit of either would land, were it drawn as one or two digits.
  expectSpots("-5 and -7",
              {{279, 116, '.'}, {303, 116, '.'}, {333, 116, '.'}, {291, 330, '.'}, {350, 330, '.'}});
  drawNumberSmallCentred(300.0f, 100.0f, -10);
  drawNumberFaded(300.0f, 300.0f, -20, 1.0f);
  expectSpots("-10 and -20", {{303, 116, '0'}, {301, 116, '.'}, {291, 330, '0'}, {289, 330, '.'}});
}

TEST_F(DigitLayouts, SingleDigitsOutsideZeroToNineDrawNothing) {
  drawDigitSmall(100.0f, 100.0f, -1);
  drawDigitSmall(100.0f, 100.0f, 10);
  drawDigitFaded(100.0f, 100.0f, 10, 1.0f);
  drawDigitFaded(100.0f, 100.0f, -3, 1.0f);
  EXPECT_EQ(digitAt(120, 120), '.');
  drawDigitSmall(100.0f, 100.0f, 9);
  drawDigitFaded(200.0f, 100.0f, 6, 1.0f);
  expectSpots("9 and 6", {{101, 101, '9'}, {131, 131, '9'}, {133, 120, '.'}, {263, 163, '6'}});
}

TEST_F(DigitLayouts, NothingIsDrawnOnceUnloaded) {
  unloadDigitSprites();
  drawSixDigitsLarge(888888);
  drawNumberFaded(100.0f, 100.0f, 8, 1.0f);
  drawDigitSmall(300.0f, 300.0f, 8);
  expectSpots("unloaded", {{200, 320, '.'}, {110, 110, '.'}, {310, 310, '.'}});
  unloadDigitSprites();  // twice is harmless
  loadDigitSprites();
}

}  // namespace
