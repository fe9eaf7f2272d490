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
constexpr double kBodySize = 12.5;
// Inside the page: the struts cover nothing of it, but text must not touch its edges.
constexpr double kMargin = 28, kTopMargin = 22;
constexpr Rgb kHeadInk{0.55, 0.16, 0.08};

void parchment(cairo_t* cr, int w, int h, uint32_t seed) {
  // One flat paper colour with faint stains inside the page: the two pages are shown one under the
  // other, so nothing may change from the top edge to the bottom edge.
  setColour(cr, Rgb{0.97, 0.91, 0.75});
  cairo_paint(cr);
  Scatter scatter(seed);
  for (int i = 0; i < 30; ++i) {
    const double r = scatter.range(10, 40);
    const double x = scatter.range(0, w), y = scatter.range(r, h - r);
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
    {paintItemSeed, "Seed", "500", "plants one new stalk"},
    {paintItemFertilizer, "Fertilizer", "1200", "one more ear on every stalk"},
    {paintItemWeight, "Weight", "300", "crows fly off slower with corn"},
    {paintItemO, "Letter O", "200", "one more o in every shout"},
    {paintItemBreath, "Breath", "350", "shout letters fly further"},
    {paintItemLung, "Lung", "475", "more breath, filled up"},
    {paintItemMask, "Mask", "250", "one more ooga-booga"},
    {paintItemTime, "Time", "2800", "the day counter goes back 7 days"},
    {paintItemRocket, "Rocket", "400", "the scarecrow walks faster"},
};

// A small rounded button face in the style of the key caps, for the gamepad's buttons.
void padButton(cairo_t* cr, const char* label, double x, double y, double w) {
  roundedRectPath(cr, x, y, w, 20, 10);
  shadedFill(cr, Rgb{0.36, 0.38, 0.44}, x, y, x + w, y + 20, 1.5);
  TextStyle style{kBodyFont, 11, true, palette::kWhite, palette::kWhite, 0, palette::kWhite};
  style = fitText(cr, label, style, w - 6);
  drawText(cr, label, style, x + w / 2, y + 10, Align::Centre);
}

// The gamepad's controls, one row of buttons each with what it does. Returns the height used.
double gamepadLegend(cairo_t* cr, double x, double y, double width) {
  body(cr, "<b>Gamepad</b>", x, y + 2, 90);
  struct PadEntry {
    const char* button;
    double buttonWidth;
    const char* what;
  };
  constexpr PadEntry kPad[] = {{"D-pad / stick", 88, "walk"},
                               {"A", 22, "boo, choose, buy"},
                               {"X / Y", 40, "ooga-booga"},
                               {"B / Back", 58, "go back"},
                               {"Start", 40, "same as Ctrl"}};
  double cx = x + 76, cy = y;
  for (const PadEntry& e : kPad) {
    const double textWidth =
        measureText(cr, e.what, {kBodyFont, 11, false, palette::kInk, palette::kInk, 0, palette::kInk}).width;
    if (cx + e.buttonWidth + textWidth + 8 > x + width) cx = x + 76, cy += 24;
    padButton(cr, e.button, cx, cy, e.buttonWidth);
    drawParagraph(cr, e.what, kBodyFont, 11, palette::kInk, cx + e.buttonWidth + 4, cy + 2, textWidth + 4);
    cx += e.buttonWidth + textWidth + 16;
  }
  return cy - y + 26;
}

}  // namespace

void paintInstructions1(cairo_t* cr, int w, int h) {
  // The whole page is seen while scrolling down to the second one.
  parchment(cr, w, h, 101);
  const double left = kMargin, width = w - 2 * kMargin;
  const double keyText = left + 84, keyWidth = width - 84;
  double y = kTopMargin;
  y += heading(cr, "How to play", left, y, 30);
  y += body(cr,
            "You are the <b>scarecrow</b>. Crows, pelicans and cows come for your corn. Scare them away "
            "to earn money. Keep at least one stalk standing.",
            left, y, width) +
       6;
  y += heading(cr, "Keys", left, y, 22);
  arrowKeys(cr, left + 2, y + 2);
  body(cr, "<b>Arrows</b>: walk. In menus, move up and down.", keyText, y + 16, keyWidth);
  y += 56;
  keycap(cr, "Ctrl", left + 12, y, 54, 22);
  body(cr, "<b>Shout BOO!</b> The letters scare birds away. Each shout uses breath.", keyText, y - 3,
       keyWidth);
  y += 30;
  keycap(cr, "Shift", left + 12, y, 54, 22);
  body(cr, "<b>OOGA-BOOGA!</b> Uses one mask. Scares everything on the field.", keyText, y - 3, keyWidth);
  y += 30;
  keycap(cr, "Esc", left + 12, y, 54, 22);
  body(cr, "Leave the store or this page. On the title it quits.", keyText, y + 3, keyWidth);
  y += 28;
  y += gamepadLegend(cr, left, y, width) + 2;
  y += body(cr,
            "<b>P</b> pause   <b>M</b> sound on or off   <b>−</b> <b>+</b> volume   "
            "<b>B</b> on the title: best games",
            left, y, width) +
       4;
  y += heading(cr, "Who comes to the field", left, y, 22);
  const double icon = 46;
  creatureIcon(cr, paintCrow, 128, 0, 0, left + 6, y, icon);
  body(cr,
       "<b>Crow</b>: takes ears of corn. Scare it: <b>+10</b>. It takes an ear: <b>\u22125</b>. "
       "It gets away with it: <b>\u221210</b>. A scared crow drops its ear: pick it up for <b>+50</b>.",
       keyText, y - 2, keyWidth);
  y += 64;
  creatureIcon(cr, paintPelican, 256, 0, 4, left + 6, y, icon);
  body(cr,
       "<b>Pelican</b> (every 5th day): eats ears of corn. Scare it: <b>+50</b>. "
       "It eats an ear: <b>\u221210</b>.",
       keyText, y, keyWidth);
  y += 50;
  creatureIcon(cr, paintCow, 256, 0, 0, left + 6, y, icon);
  body(cr,
       "<b>Cow</b> (every 10th day): eats whole stalks, <b>\u221220</b> each. A shout only turns it. "
       "Steer it off the field: <b>+100</b>.",
       keyText, y, keyWidth);
}

void paintInstructions2(cairo_t* cr, int w, int h) {
  // The game never shows the last 32 rows of this page.
  parchment(cr, w, h, 202);
  const double left = kMargin, width = w - 2 * kMargin;
  double y = 10;
  y += heading(cr, "Before you start", left, y, 20);
  y += body(cr,
            "On the title, <b>Corn</b> sets how many ears each stalk has at the start (1 to 3). "
            "<b>Day</b> sets the day you start on (1, 11, 21 \u2026 101).",
            left, y, width) +
       2;
  y += heading(cr, "The store", left, y, 20);
  y += body(cr, "After each day you can shop. Ctrl buys. Esc or <b>Exit</b> starts the next day.", left, y,
            width) +
       2;
  const double cellW = width / 3, cellH = 50;
  for (int i = 0; i < 9; ++i) {
    const double cx = left + (i % 3) * cellW, cy = y + (i / 3) * cellH;
    paintInset(cr, kItems[i].painter, 128, 128, cx - 4, cy - 2, 44.0 / 128.0);
    char markup[160];
    std::snprintf(markup, sizeof markup, "<b>%s</b> <span foreground='#8a2a10'><b>%s</b></span>\n%s",
                  kItems[i].name, kItems[i].price, kItems[i].what);
    drawParagraph(cr, markup, kBodyFont, 10.5, palette::kInk, cx + 40, cy, cellW - 42);
  }
  y += 3 * cellH;
  y += heading(cr, "Breath", left, y, 20);
  paintInset(cr, paintBreathMeter, 256, 64, left, y + 6, 0.4);
  y += body(cr,
            "The bar at the top left is your breath. Shouting uses it; it fills up again by itself. "
            "When it turns <b>red</b> you are out of breath: you only cough until it refills.",
            left + 116, y, width - 116) +
       2;
  y += heading(cr, "Masks", left, y, 20);
  paintInset(cr, paintOogaMask, 64, 64, left + 20, y, 40.0 / 64.0);
  y += body(cr,
            "Each mask on the right of the screen is one ooga-booga (Shift). You start with one mask. "
            "The store sells more, up to five.",
            left + 116, y, width - 116) +
       2;
  y += heading(cr, "The end", left, y, 20);
  body(cr,
       "A stalk with no ears left withers and is gone. Each time a stalk loses its last ear you may "
       "lose one upgrade. When the last stalk is gone, the game is over.",
       left, y, width);
}

}  // namespace pictures
