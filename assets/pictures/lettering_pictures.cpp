// Pictures that are mostly words: the logo, menu buttons, digits, day banners and the shouted letters.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "pictures/painters.h"

namespace pictures {
namespace {

constexpr const char* kLogoFont = "Leckerli One";
constexpr const char* kSignFont = "Lobster Two";
constexpr const char* kDigitFont = "DejaVu Sans";
constexpr const char* kShoutFont = "Comic Neue";

// Digits stay inside the left 68 % of their cell: the game steps them closer than the cell is wide.
constexpr double kDigitBand = 0.68;
constexpr double kDigitMargin = 2.0;

TextStyle logoStyle(double size) {
  return {kShoutFont, size, true, {1.0, 0.93, 0.45}, palette::kOutline, size * 0.09, {0.96, 0.58, 0.10}};
}

// The logo lettering with a dark extruded edge below and to the right.
void drawExtruded(cairo_t* cr, const char* text, const TextStyle& style, double x, double y, Align align,
                  double depth) {
  TextStyle shadow = style;
  shadow.fill = shadow.fillBottom = darker(palette::kWood, 0.35);
  for (double d = depth; d > 0; d -= 1.0) drawText(cr, text, shadow, x + d * 0.6, y + d, align);
  drawText(cr, text, style, x, y, align);
}

void plank(cairo_t* cr, double x, double y, double w, double h, Rgb colour, double outline) {
  roundedRectPath(cr, x, y, w, h, h * 0.3);
  shadedFill(cr, colour, x, y, x + w * 0.3, y + h, outline);
  // A little wood grain.
  Scatter scatter(static_cast<uint32_t>(w * 31 + h));
  cairo_save(cr);
  roundedRectPath(cr, x + outline, y + outline, w - 2 * outline, h - 2 * outline, h * 0.25);
  cairo_clip(cr);
  for (int i = 0; i < 5; ++i) {
    const double gy = y + h * (0.2 + 0.15 * i) + scatter.range(-2, 2);
    cairo_move_to(cr, x, gy);
    cairo_curve_to(cr, x + w * 0.3, gy + scatter.range(-3, 3), x + w * 0.7, gy + scatter.range(-3, 3), x + w,
                   gy);
    setColour(cr, darker(colour, 0.25), 0.25);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
  }
  // Highlight along the top edge.
  cairo_move_to(cr, x + h * 0.35, y + outline + 2.5);
  cairo_line_to(cr, x + w - h * 0.35, y + outline + 2.5);
  setColour(cr, palette::kWhite, 0.45);
  cairo_set_line_width(cr, 2.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);
}

TextStyle buttonStyle() {
  return {kSignFont, 38, true, palette::kCream, palette::kOutline, 4.0, palette::kCornYellow};
}

// Labels of buttons 1 and 2 start at the left: the game writes the setting's number on the right.
constexpr double kButtonLabelLeft = 26;
constexpr double kButtonLabelRightLimit = 180;

void paintButton(cairo_t* cr, int w, int h, const char* label, bool leftLabel) {
  plank(cr, 3, 4, w - 6, h - 8, palette::kWood, 3.0);
  TextStyle style = buttonStyle();
  if (leftLabel) {
    style = fitText(cr, label, style, kButtonLabelRightLimit - kButtonLabelLeft);
    drawText(cr, label, style, kButtonLabelLeft, h / 2.0, Align::Left);
  } else {
    style = fitText(cr, label, style, w - 40);
    drawText(cr, label, style, w / 2.0, h / 2.0, Align::Centre);
  }
}

double digitPixelSize(cairo_t* cr, int cell) {
  TextStyle style = digitStyle(cell * 0.95);
  const double band = cell * kDigitBand - 2 * kDigitMargin;
  for (char d = '0'; d <= '9'; ++d) {
    const char text[2] = {d, 0};
    style = fitText(cr, text, style, band);
  }
  return style.pixelSize;
}

void paintDigit(cairo_t* cr, int w, int h, char digit) {
  const char text[2] = {digit, 0};
  const TextStyle style = digitStyle(digitPixelSize(cr, w));
  drawText(cr, text, style, w * kDigitBand / 2, h / 2.0, Align::Centre);
}

void skullAndBones(cairo_t* cr, double x, double y, double s) {
  const Rgb bone{0.96, 0.94, 0.86};
  for (int d = -1; d <= 1; d += 2) {
    cairo_move_to(cr, x - 13 * s, y - d * 13 * s);
    cairo_line_to(cr, x + 13 * s, y + d * 13 * s);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 7 * s);
  cairo_stroke_preserve(cr);
  setColour(cr, bone);
  cairo_set_line_width(cr, 4 * s);
  cairo_stroke(cr);
  ellipsePath(cr, x, y - 2 * s, 10 * s, 9.5 * s);
  flatFill(cr, bone, 1.8 * s);
  roundedRectPath(cr, x - 5.5 * s, y + 4 * s, 11 * s, 8 * s, 2 * s);
  flatFill(cr, bone, 1.8 * s);
  for (int side = -1; side <= 1; side += 2) {
    ellipsePath(cr, x + side * 4 * s, y - 2 * s, 2.8 * s, 3.2 * s);
    flatFill(cr, palette::kOutline, 0);
  }
}

// Letters one by one, each turned and lifted a little, for the wild chant words.
void drawWildWord(cairo_t* cr, const char* word, int w, int h, uint32_t seed) {
  Scatter scatter(seed);
  TextStyle style{kLogoFont, h * 0.92,          false, {1.0, 0.86, 0.25}, {0.10, 0.05, 0.02},
                  h * 0.09,  {0.90, 0.22, 0.08}};
  const size_t n = std::strlen(word);
  double widths[16] = {};
  double total = 0;
  const double gap = h * 0.02;
  for (size_t i = 0; i < n && i < 16; ++i) {
    const char letter[2] = {word[i], 0};
    widths[i] = measureText(cr, letter, style).width + style.outlineWidth;
    total += widths[i] + gap;
  }
  const double fit = std::min(1.0, (w * 0.94) / total);
  style.pixelSize *= fit;
  style.outlineWidth *= fit;
  double x = (w - total * fit) / 2;
  for (size_t i = 0; i < n && i < 16; ++i) {
    const char letter[2] = {word[i], 0};
    const double cx = x + widths[i] * fit / 2;
    const double cy = h / 2.0 + scatter.range(-h * 0.06, h * 0.06);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, scatter.range(-0.16, 0.16));
    TextStyle back = style;
    back.fill = back.fillBottom = Rgb{0.25, 0.08, 0.03};
    back.outlineWidth = style.outlineWidth * 1.9;
    drawText(cr, letter, back, 3, 4, Align::Centre);
    drawText(cr, letter, style, 0, 0, Align::Centre);
    cairo_restore(cr);
    x += (widths[i] + gap) * fit;
  }
}

void paintBooLetter(cairo_t* cr, int w, int h, const char* letter) {
  // Shouted letters fly over grass at 32 px at most: they fill the whole cell, stretched wide if the
  // letter is narrow, in hot yellow with a thick near-black outline.
  TextStyle style{kShoutFont, h * 1.0,          true, {1.0, 0.92, 0.30}, {0.08, 0.04, 0.02},
                  w * 0.15,   {1.0, 0.55, 0.10}};
  const TextBox box = measureText(cr, letter, style);
  const double room = std::min(w, h) - 1.0 - w * 0.12;
  const double sy = room / box.height, sx = std::min(room / box.width, sy * 1.35);
  cairo_save(cr);
  cairo_translate(cr, w / 2.0, h / 2.0);
  cairo_scale(cr, sx / sy, 1.0);
  style.pixelSize *= sy;
  style.outlineWidth = w * 0.12;
  drawText(cr, letter, style, 0, 0, Align::Centre);
  cairo_restore(cr);
}

}  // namespace

TextStyle digitStyle(double pixelSize) {
  // A thick dark edge: digits are shown over the yellow sun, the sky and the grass.
  return {kDigitFont,       pixelSize,        true, palette::kWhite, {0.08, 0.05, 0.03},
          pixelSize * 0.14, {1.0, 0.90, 0.62}};
}

void paintTitle(cairo_t* cr, int w, int h) {
  // The logo sits in the upper half: the subtitle and the menu come below it on the title screen.
  // Plain upright letters, set one by one with a little air between them, so the r never runs
  // into the n beside it.
  const char* word = "Cornkeeper";
  const size_t n = std::strlen(word);
  TextStyle style = logoStyle(h * 0.5);
  const double gap = h * 0.025;
  auto widthAt = [&](const TextStyle& st) {
    double total = 0;
    for (size_t i = 0; i < n; ++i) {
      const char letter[2] = {word[i], 0};
      total += measureText(cr, letter, st).width + (i ? gap : 0);
    }
    return total;
  };
  style.pixelSize *= std::min(1.0, (w - 150) / widthAt(style));
  const double y = h * 0.27;
  // An ear of corn at each end, leaning in towards the word.
  drawEar(cr, w * 0.075, y + h * 0.21, h * 0.36, h * 0.13, 14, 7);
  drawEar(cr, w * 0.925, y + h * 0.21, h * 0.36, h * 0.13, -14, 8);
  // Letters share one baseline: every letter's pen sits where the capital's does, the capital centred
  // on y.
  const TextBox cap = measureText(cr, "C", style);
  const double penY = y - cap.height / 2 - cap.y;
  double x = w / 2.0 - widthAt(style) / 2;
  for (size_t i = 0; i < n; ++i) {
    const char letter[2] = {word[i], 0};
    const TextBox box = measureText(cr, letter, style);
    drawExtruded(cr, letter, style, x, penY + box.y + box.height / 2, Align::Left, h * 0.03);
    x += box.width + gap;
  }
}

void paintTitle2(cairo_t* cr, int w, int h) {
  // Low in the picture: on the title screen it sits between the logo and the first button.
  TextStyle style{kSignFont, h * 0.17, true, palette::kCream, palette::kOutline, 5.0, palette::kCornYellow};
  style = fitText(cr, "guard the corn!", style, w * 0.72);
  drawText(cr, "guard the corn!", style, w / 2.0, h * 0.655, Align::Centre);
}

void paintButton0(cairo_t* cr, int w, int h) {
  paintButton(cr, w, h, "Play", false);
}
void paintButton1(cairo_t* cr, int w, int h) {
  paintButton(cr, w, h, "Corn", true);
}
void paintButton2(cairo_t* cr, int w, int h) {
  paintButton(cr, w, h, "Day", true);
}
void paintButton3(cairo_t* cr, int w, int h) {
  paintButton(cr, w, h, "Instructions", false);
}
void paintButton4(cairo_t* cr, int w, int h) {
  paintButton(cr, w, h, "Quit", false);
}

void paintDigit0(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '0');
}
void paintDigit1(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '1');
}
void paintDigit2(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '2');
}
void paintDigit3(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '3');
}
void paintDigit4(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '4');
}
void paintDigit5(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '5');
}
void paintDigit6(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '6');
}
void paintDigit7(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '7');
}
void paintDigit8(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '8');
}
void paintDigit9(cairo_t* cr, int w, int h) {
  paintDigit(cr, w, h, '9');
}

void paintTextDay(cairo_t* cr, int w, int h) {
  // The day number follows from 10 px left of the right edge, so the word ends a little before it.
  TextStyle style = digitStyle(digitPixelSize(cr, h));
  style = fitText(cr, "DAY", style, w - 18);
  drawText(cr, "DAY", style, w - 14, h / 2.0, Align::Right);
}

void paintScurvy(cairo_t* cr, int w, int h) {
  // A pirate flag: a skull and crossbones at each end of the black ribbon.
  bannerPlate(cr, w, h, Rgb{0.14, 0.16, 0.22});
  for (double x : {32.0, w - 32.0}) skullAndBones(cr, x, h / 2.0, h / 64.0);
  TextStyle style{kSignFont, h * 0.6, true, palette::kWhite, palette::kOutline, 3.0, Rgb{0.85, 0.85, 0.80}};
  style = fitText(cr, "SCURVY DAY", style, w - 100);
  drawText(cr, "SCURVY DAY", style, w / 2.0, h / 2.0, Align::Centre);
}

void paintMoomania(cairo_t* cr, int w, int h) {
  bannerPlate(cr, w, h, Rgb{0.97, 0.96, 0.92});
  // Cow patches on the ribbon.
  cairo_save(cr);
  cairo_rectangle(cr, 20, 7, w - 40, h - 14);
  cairo_clip(cr);
  Scatter scatter(55);
  for (int i = 0; i < 7; ++i) {
    const double x = 24 + i * (w - 48) / 6.0 + scatter.range(-6, 6);
    const double y = scatter.next() < 0.5 ? 12 : h - 12;
    ellipsePath(cr, x, y, scatter.range(8, 14), scatter.range(5, 8));
    setColour(cr, Rgb{0.12, 0.10, 0.10});
    cairo_fill(cr);
  }
  cairo_restore(cr);
  TextStyle style{
      kSignFont, h * 0.62, true, Rgb{1.0, 0.72, 0.78}, palette::kOutline, 4.0, Rgb{0.90, 0.40, 0.52}};
  style = fitText(cr, "MOOMANIA", style, w - 60);
  // A pale halo keeps the word clear of the patches behind it.
  TextStyle halo = style;
  halo.fill = halo.fillBottom = halo.outline = palette::kWhite;
  halo.outlineWidth = 11;
  drawText(cr, "MOOMANIA", halo, w / 2.0, h / 2.0, Align::Centre);
  drawText(cr, "MOOMANIA", style, w / 2.0, h / 2.0, Align::Centre);
}

void paintGameOver(cairo_t* cr, int w, int h) {
  bannerPlate(cr, w, h, Rgb{0.72, 0.12, 0.10});
  TextStyle style{kSignFont, h * 0.6, true, palette::kCream, palette::kOutline, 3.5, palette::kCornYellow};
  style = fitText(cr, "GAME OVER", style, w - 56);
  drawText(cr, "GAME OVER", style, w / 2.0, h / 2.0, Align::Centre);
}

void paintOoga(cairo_t* cr, int w, int h) {
  drawWildWord(cr, "OOGA", w, h, 31);
}
void paintBooga(cairo_t* cr, int w, int h) {
  drawWildWord(cr, "BOOGA!", w, h, 47);
}

void paintBooB(cairo_t* cr, int w, int h) {
  paintBooLetter(cr, w, h, "b");
}
void paintBooO(cairo_t* cr, int w, int h) {
  paintBooLetter(cr, w, h, "o");
}

}  // namespace pictures
