#include "render/digit_sprites.h"

#include <cstdio>
#include <memory>

#include "render/sprite.h"

namespace {
constexpr int digitCount = 10;
constexpr float digitSize = 64.0f;
// The drawing position is the top-left corner of the digit's cell.
constexpr float digitAnchor = -0.5f;

constexpr float smallSize = 32.0f;
constexpr float smallCentredHalfStep = 12.0f;
constexpr float smallCentredStep = 24.0f;
constexpr float cellInset = 10.0f;
constexpr float fadedStep = 44.0f;

// Fixed six-digit counters: start x, y, digit size and step.
struct SixDigitLayout {
  float x;
  float y;
  float size;
  float step;
};
constexpr SixDigitLayout sixDigitsTop = {490.0f, 2.0f, smallSize, 24.0f};
constexpr SixDigitLayout sixDigitsBottom = {490.0f, 448.0f, smallSize, 24.0f};
constexpr SixDigitLayout sixDigitsLarge = {188.0f, 290.0f, digitSize, 44.0f};
constexpr int sixDigitPlaces = 6;
constexpr int32_t sixDigitsLeadingPlace = 100000;

std::unique_ptr<Sprite> digits[digitCount];

Sprite* digitSprite(int32_t digit) {
  if (digit < 0 || digit >= digitCount) return nullptr;
  return digits[digit].get();
}

// Decimal digits of a positive value; 1 for zero and for any negative value.
int32_t digitCountOf(int32_t value) {
  int32_t count = 1;
  for (int32_t m = value; m > 0;) {
    m /= 10;
    if (m > 0) ++count;
  }
  return count;
}

// Six places with leading zeros; a place whose digit comes out negative is left empty.
void drawSixDigits(int32_t value, const SixDigitLayout& layout, float shade) {
  int32_t place = sixDigitsLeadingPlace;
  float x = layout.x;
  for (int i = 0; i < sixDigitPlaces; ++i) {
    if (Sprite* sprite = digitSprite(value / place % 10)) {
      sprite->drawTinted(x, layout.y, 0.0f, layout.size, layout.size, shade, shade, shade);
    }
    x += layout.step;
    place /= 10;
  }
}
}  // namespace

void loadDigitSprites() {
  for (int i = 0; i < digitCount; ++i) {
    char fileName[32];
    std::snprintf(fileName, sizeof fileName, "graphics\\text_%d.tga", i);
    digits[i] = std::make_unique<Sprite>(fileName, digitSize, digitSize, digitAnchor, digitAnchor);
  }
}

void unloadDigitSprites() {
  for (std::unique_ptr<Sprite>& sprite : digits) sprite.reset();
}

void drawDigitSmall(float x, float y, int32_t digit) {
  if (Sprite* sprite = digitSprite(digit))
    sprite->drawTinted(x, y, 0.0f, smallSize, smallSize, 1.0f, 1.0f, 1.0f);
}

void drawDigitFaded(float x, float y, int32_t digit, float alpha) {
  if (Sprite* sprite = digitSprite(digit)) {
    sprite->drawBlended(x, y, 0.0f, digitSize, digitSize, 1.0f, 1.0f, 1.0f, alpha);
  }
}

// Least significant digit first, at x + 12k - 10, each further digit 24 to the left.
void drawNumberSmallCentred(float x, float y, int32_t value) {
  const int32_t count = digitCountOf(value);
  float px = x + smallCentredHalfStep * static_cast<float>(count);
  int64_t place = 1;  // ten digits would take a 32-bit place past its range on the last step
  for (int32_t i = 0; i < count; ++i) {
    drawDigitSmall(px - cellInset, y, static_cast<int32_t>(value / place % 10));
    px -= smallCentredStep;
    place *= 10;
  }
}

// Most significant digit first, its cell starting at x - 10.
void drawNumberFaded(float x, float y, int32_t value, float alpha) {
  const int32_t count = digitCountOf(value);
  int32_t place = 1;
  for (int32_t i = 1; i < count; ++i) place *= 10;
  float px = x;
  for (int32_t i = 0; i < count; ++i) {
    drawDigitFaded(px - cellInset, y, value / place % 10, alpha);
    px += fadedStep;
    place /= 10;
  }
}

void drawSixDigitsTop(int32_t value, float shade) {
  drawSixDigits(value, sixDigitsTop, shade);
}

void drawSixDigitsBottom(int32_t value, float shade) {
  drawSixDigits(value, sixDigitsBottom, shade);
}

void drawSixDigitsLarge(int32_t value) {
  drawSixDigits(value, sixDigitsLarge, 1.0f);
}
