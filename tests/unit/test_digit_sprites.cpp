// Number layouts: each digit picture is a distinct solid colour, so reading a pixel tells which digit
// landed there.
#include <gtest/gtest.h>

#include "render/digit_sprites.h"
#include "test_render_images.h"

using namespace testimages;

namespace {

// A distinct colour per digit, none of them black.
Rgba digitColour(int d, float shade = 1.0f) {
  auto s = [shade](int v) { return static_cast<uint8_t>(v * shade + 0.5f); };
  return {s(25 * d), s(255 - 25 * d), s(d % 2 * 255), 255};
}

// The digit whose colour (scaled by `shade`) is at the point: '0'..'9', '.' for the black
// background, '?' for anything else.
char digitAt(int x, int y, float shade = 1.0f) {
  const Rgba p = pixelAt(x, y);
  for (int d = 0; d < 10; ++d)
    if (near(p, digitColour(d, shade))) return static_cast<char>('0' + d);
  return near(p, black) ? '.' : '?';
}

// Reads one character per cell, `step` apart from `firstX`.
std::string read(int firstX, int y, int step, int cells, float shade = 1.0f) {
  std::string text;
  for (int i = 0; i < cells; ++i) text += digitAt(firstX + i * step, y, shade);
  return text;
}

class DigitLayouts : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    for (int d = 0; d < 10; ++d)
      writeFile("graphics/text_" + std::to_string(d) + ".tga", solidTarga(4, 4, digitColour(d)));
    setGameGlState();
    loadDigitSprites();
    beginOverlay2D();
  }
  void TearDown() override { endOverlay2D(), unloadDigitSprites(); }
  ScratchFolder folder;
};

// What a list of points shows, one character each.
std::string spots(std::initializer_list<std::pair<int, int>> points) {
  std::string text;
  for (auto [x, y] : points) text += digitAt(x, y);
  return text;
}

// --- the six-digit counters: cells 24 apart (32 wide) or 44 apart (64 wide), drawn left to right ---

TEST_F(DigitLayouts, SixDigitCounters) {
  // A negative value leaves the last place empty, right of where the fifth cell ends.
  drawSixDigitsTop(-5, 1.0f);
  drawSixDigitsLarge(-5);
  EXPECT_EQ(read(490 + 12, 18, 24, 5) + read(188 + 20, 322, 44, 5) + spots({{630, 18}, {440, 322}}),
            "0000000000..");
  // The top counter takes the shade; the large one stays white and drops the seventh digit.
  drawSixDigitsTop(42, 0.3f);
  drawSixDigitsLarge(1234567);
  EXPECT_EQ(read(490 + 12, 18, 24, 6, 0.3f), "000042");
  EXPECT_EQ(read(188 + 20, 322, 44, 6), "234567");
}

// --- variable-length numbers ---

TEST_F(DigitLayouts, FadedNumbersRunLeftToRightFromTenBeforeXAndTakeTheirAlpha) {
  drawNumberFaded(100.0f, 100.0f, 0, 1.0f);
  drawNumberFaded(100.0f, 300.0f, 105, 1.0f);
  // 0 fills one cell from 90 to 154; the cells of 105 start at 90, 134 and 178, the last ending at 242.
  EXPECT_EQ(spots({{89, 110}, {91, 110}, {153, 110}, {155, 110}}), ".00.");
  EXPECT_EQ(read(90 + 20, 330, 44, 3) + spots({{89, 330}, {241, 330}, {243, 330}}), "105.5.");
  glClear(GL_COLOR_BUFFER_BIT);
  drawNumberFaded(100.0f, 100.0f, 8, 0.5f);
  EXPECT_EQ(digitAt(120, 120, 0.5f), '8');
}

TEST_F(DigitLayouts, SmallCentredNumbersSitAroundXAndNegativeValuesShowOnlyANonNegativeLastDigit) {
  drawNumberSmallCentred(300.0f, 200.0f, 7);
  // 25: the 5 at x + 14, then the 2 at x - 10 drawn over the 5's left edge.
  drawNumberSmallCentred(300.0f, 300.0f, 25);
  EXPECT_EQ(spots({{301, 216}, {303, 216}, {333, 216}, {335, 216}}), ".77.");
  EXPECT_EQ(spots({{289, 316}, {291, 316}, {320, 316}, {323, 316}, {345, 316}, {347, 316}}), ".2255.");
  glClear(GL_COLOR_BUFFER_BIT);
  // Ten digits: the leftmost cell at x + 12 * 10 - 10 - 24 * 9 = x - 106; each cell read to the right
  // of where the next digit to its left overlaps it.
  drawNumberSmallCentred(320.0f, 300.0f, 1234567890);
  EXPECT_EQ(read(214 + 20, 316, 24, 10), "1234567890");
  glClear(GL_COLOR_BUFFER_BIT);
  // A negative value shows only a non-negative last digit.
  drawNumberSmallCentred(300.0f, 100.0f, -5);
  drawNumberFaded(300.0f, 300.0f, -7, 1.0f);
  // Where a digit of either would land, were it drawn as one or two digits.
  EXPECT_EQ(spots({{279, 116}, {303, 116}, {333, 116}, {291, 330}, {350, 330}}), ".....");
  drawNumberSmallCentred(300.0f, 100.0f, -10);
  drawNumberFaded(300.0f, 300.0f, -20, 1.0f);
  EXPECT_EQ(spots({{301, 116}, {303, 116}, {289, 330}, {291, 330}}), ".0.0");
}

TEST_F(DigitLayouts, SingleDigitsOutsideZeroToNineAndAllDigitsOnceUnloadedDrawNothing) {
  for (int d : {-1, 10}) drawDigitSmall(100.0f, 100.0f, d), drawDigitFaded(100.0f, 100.0f, d, 1.0f);
  drawDigitSmall(300.0f, 100.0f, 9);
  drawDigitFaded(400.0f, 100.0f, 6, 1.0f);
  EXPECT_EQ(spots({{120, 120}, {301, 101}, {331, 131}, {333, 120}, {463, 163}}), ".99.6");
  glClear(GL_COLOR_BUFFER_BIT);
  unloadDigitSprites();
  drawSixDigitsLarge(888888);
  drawNumberFaded(100.0f, 100.0f, 8, 1.0f);
  drawDigitSmall(300.0f, 300.0f, 8);
  EXPECT_EQ(spots({{200, 320}, {110, 110}, {310, 310}}), "...");
  unloadDigitSprites();  // twice is harmless
}

}  // namespace
