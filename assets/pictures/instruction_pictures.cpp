// The two instruction pages: keys and creatures on the first, the store, breath and masks on the second.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "creatures/creatures.h"
#include "pictures/painters.h"

namespace pictures {
namespace {

constexpr const char* kBodyFont = "DejaVu Sans";
constexpr const char* kHeadFont = "Lobster Two";
constexpr double kBodySize = 13.5;
constexpr Rgb kHeadInk{0.55, 0.16, 0.08};

void parchment(cairo_t* cr, int w, int h, uint32_t seed) {
  cairo_pattern_t* paper = cairo_pattern_create_linear(0, 0, w, h);
  cairo_pattern_add_color_stop_rgb(paper, 0, 0.99, 0.95, 0.82);
  cairo_pattern_add_color_stop_rgb(paper, 1, 0.94, 0.86, 0.66);
  cairo_set_source(cr, paper);
  cairo_paint(cr);
  cairo_pattern_destroy(paper);
  Scatter scatter(seed);
  for (int i = 0; i < 30; ++i) {
    const double x = scatter.range(0, w), y = scatter.range(0, h), r = scatter.range(10, 40);
    cairo_pattern_t* spot = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(spot, 0, 0.75, 0.60, 0.35, 0.08);
    cairo_pattern_add_color_stop_rgba(spot, 1, 0.75, 0.60, 0.35, 0);
    cairo_set_source(cr, spot);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

double heading(cairo_t* cr, const char* text, double x, double y, double size) {
  const TextStyle style{kHeadFont, size, true, kHeadInk, palette::kOutline, 0, darker(kHeadInk, 0.2)};
  const TextBox box = drawText(cr, text, style, x, y + size * 0.5, Align::Left);
  cairo_move_to(cr, x, box.y + box.height + 4);
  cairo_line_to(cr, x + box.width + 30, box.y + box.height + 4);
  setColour(cr, kHeadInk, 0.6);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  return size * 1.25;
}

double body(cairo_t* cr, const char* markup, double x, double y, double width) {
  return drawParagraph(cr, markup, kBodyFont, kBodySize, palette::kInk, x, y, width);
}

void keycap(cairo_t* cr, const char* label, double x, double y, double w, double h) {
  roundedRectPath(cr, x, y, w, h, 6);
  shadedFill(cr, Rgb{0.93, 0.92, 0.88}, x, y, x + w, y + h, 2);
  roundedRectPath(cr, x + 4, y + 3, w - 8, h - 9, 4);
  setColour(cr, palette::kWhite, 0.7);
  cairo_fill(cr);
  TextStyle style{kBodyFont, 13, true, palette::kInk, palette::kInk, 0, palette::kInk};
  style = fitText(cr, label, style, w - 8);
  drawText(cr, label, style, x + w / 2, y + h / 2 - 2, Align::Centre);
}

void arrowKeys(cairo_t* cr, double x, double y) {
  const double k = 24;
  const char* arrows[] = {"\u2191", "\u2190", "\u2193", "\u2192"};
  keycap(cr, arrows[0], x + k + 2, y, k, k);
  keycap(cr, arrows[1], x, y + k + 2, k, k);
  keycap(cr, arrows[2], x + k + 2, y + k + 2, k, k);
  keycap(cr, arrows[3], x + 2 * k + 4, y + k + 2, k, k);
}

using CreaturePainter = void (*)(cairo_t*, int, int, int);

// Paints one frame of a creature on its own and fits the drawn part into a shown x shown box.
void creatureIcon(cairo_t* cr, CreaturePainter painter, int size, int facing, int frame, double x, double y,
                  double shown) {
  cairo_surface_t* frameSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* frameCr = cairo_create(frameSurface);
  painter(frameCr, size, facing, frame);
  cairo_destroy(frameCr);
  cairo_surface_flush(frameSurface);
  const uint8_t* data = cairo_image_surface_get_data(frameSurface);
  const int stride = cairo_image_surface_get_stride(frameSurface);
  int left = size, right = -1, top = size, bottom = -1;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      if (data[py * stride + px * 4 + 3] > 16) {
        left = std::min(left, px);
        right = std::max(right, px);
        top = std::min(top, py);
        bottom = std::max(bottom, py);
      }
    }
  }
  if (right >= 0) {
    const double inkW = right - left + 1, inkH = bottom - top + 1;
    const double scale = shown / std::max(inkW, inkH);
    cairo_save(cr);
    cairo_translate(cr, x + (shown - inkW * scale) / 2, y + (shown - inkH * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, frameSurface, -left, -top);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  cairo_surface_destroy(frameSurface);
}

struct ItemLine {
  Painter painter;
  const char* name;
  const char* price;
  const char* what;
};

constexpr ItemLine kItems[] = {
    {paintItemSeed, "Seed", "500", "plants a new stalk"},
    {paintItemFertilizer, "Fertilizer", "1200", "+1 ear on every stalk"},
    {paintItemWeight, "Weight", "300", "crows carry corn slower"},
    {paintItemO, "Letter O", "200", "one more o per shout"},
    {paintItemBreath, "Breath range", "350", "letters fly further"},
    {paintItemLung, "Lung", "475", "more breath"},
    {paintItemMask, "Mask", "250", "one more ooga-booga"},
    {paintItemTime, "Turn back time", "2800", "day number -7"},
    {paintItemRocket, "Rocket", "400", "walk faster"},
};

}  // namespace

void paintInstructions1(cairo_t* cr, int w, int h) {
  // The whole page is seen while scrolling down to the second one.
  parchment(cr, w, h, 101);
  const double left = 22, width = w - 44;
  const double keyText = left + 84, keyWidth = width - 84;
  double y = 8;
  y += heading(cr, "How to play", left, y, 34);
  y += body(cr,
            "You are the <b>scarecrow</b>. Crows, pelicans and cows are after your corn. Scare them off, "
            "earn money, and keep at least one stalk standing.",
            left, y, width) +
       6;
  y += heading(cr, "Keys", left, y, 24);
  arrowKeys(cr, left + 2, y + 4);
  body(cr, "<b>Arrow keys</b>: walk around the field.", keyText, y + 20, keyWidth);
  y += 58;
  keycap(cr, "Ctrl", left + 12, y, 54, 24);
  body(cr, "<b>Shout BOO!</b> Flying letters scare birds and turn cows. Uses breath.", keyText, y - 4,
       keyWidth);
  y += 32;
  keycap(cr, "Shift", left + 12, y, 54, 24);
  body(cr, "<b>OOGA-BOOGA!</b> Spends one mask and scares everything at once.", keyText, y - 4, keyWidth);
  y += 32;
  keycap(cr, "Esc", left + 12, y, 54, 24);
  body(cr, "Back to the title. On menus Ctrl chooses.", keyText, y + 3, keyWidth);
  y += 34;
  y += heading(cr, "Who comes to the field", left, y, 24);
  const double icon = 56;
  creatureIcon(cr, paintCrow, 128, 0, 0, left + 6, y, icon);
  body(cr,
       "<b>Crow</b>: lands on a stalk and flies off with an ear.\n"
       "Scared off <b>+10</b> \u2022 takes an ear <b>\u22125</b> \u2022 gets away <b>\u221210</b>\n"
       "A scared crow drops its ear: walk over it for <b>+50</b>.",
       keyText, y, keyWidth);
  y += 60;
  creatureIcon(cr, paintPelican, 256, 0, 4, left + 6, y, icon);
  body(cr,
       "<b>Pelican</b> (every 5th day): gobbles ears of corn.\n"
       "Scared off <b>+50</b> \u2022 eats an ear <b>\u221210</b>",
       keyText, y + 6, keyWidth);
  y += 58;
  creatureIcon(cr, paintCow, 256, 0, 0, left + 6, y, icon);
  body(cr,
       "<b>Cow</b> (every 10th day): eats whole stalks, <b>\u221220</b> each. BOO cannot chase it off, "
       "only turn it: steer it off the field for <b>+100</b>!",
       keyText, y, keyWidth);
  y += 58;
  body(cr, "A stalk with no ears left withers away. Lose the last stalk and the game is over.", left, y,
       width);
}

void paintInstructions2(cairo_t* cr, int w, int h) {
  // The game never shows the last 32 rows of this page.
  parchment(cr, w, h, 202);
  const double left = 22, width = w - 44;
  double y = 8;
  y += heading(cr, "The store", left, y, 28);
  y +=
      body(cr, "Between days, spend what you earned. Ctrl buys; Esc or <b>Exit</b> leaves.", left, y, width) +
      6;
  const double cellW = width / 3, cellH = 68;
  for (int i = 0; i < 9; ++i) {
    const double cx = left + (i % 3) * cellW, cy = y + (i / 3) * cellH;
    paintInset(cr, kItems[i].painter, 128, 128, cx, cy + 2, 48.0 / 128.0);
    char markup[160];
    std::snprintf(markup, sizeof markup, "<b>%s</b>\n<span foreground='#8a2a10'><b>%s</b></span>\n%s",
                  kItems[i].name, kItems[i].price, kItems[i].what);
    drawParagraph(cr, markup, kBodyFont, 11, palette::kInk, cx + 52, cy, cellW - 54);
  }
  y += 3 * cellH + 2;
  y += heading(cr, "Breath", left, y, 24);
  paintInset(cr, paintBreathMeter, 256, 64, left, y + 8, 0.45);
  y += body(cr,
            "The bar at the top left is your breath. Each shout uses some and it refills by itself. "
            "Short of breath you only cough, and the bar turns <b>red</b>.",
            left + 130, y, width - 130) +
       6;
  y += heading(cr, "Masks", left, y, 24);
  for (int k = 0; k < 3; ++k) paintInset(cr, paintOogaMask, 64, 64, left + k * 30, y, 36.0 / 64.0);
  y += body(cr,
            "The masks down the right of the screen are your ooga-boogas (Shift). You start with one; "
            "the store sells more, up to five.",
            left + 110, y, width - 110) +
       6;
  body(cr, "Beware: a stalk that loses its last ear may cost you one of your upgrades. Good luck!", left, y,
       width);
}

}  // namespace pictures
