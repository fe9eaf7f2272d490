// The two instruction pages: keys and creatures on the first, the store, breath and masks on the second.
#include <cmath>
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

void creatureIcon(cairo_t* cr, CreaturePainter painter, int size, int facing, int frame, double x, double y,
                  double shown) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, shown / size, shown / size);
  cairo_rectangle(cr, 0, 0, size, size);
  cairo_clip(cr);
  cairo_push_group(cr);
  painter(cr, size, facing, frame);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
  cairo_restore(cr);
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
  parchment(cr, w, h, 101);
  const double left = 22, width = w - 44;
  double y = 12;
  y += heading(cr, "How to play", left, y, 34) + 4;
  y += body(cr,
            "You are the <b>scarecrow</b>. Crows, pelicans and cows are after your corn. Scare them off, "
            "earn money, and keep at least one stalk standing.",
            left, y, width) +
       10;
  y += heading(cr, "Keys", left, y, 24);
  arrowKeys(cr, left + 4, y + 2);
  body(cr, "<b>Arrow keys</b>: walk around the field.", left + 92, y + 16, width - 92);
  y += 58;
  keycap(cr, "Ctrl", left + 14, y, 54, 24);
  body(cr, "<b>Shout BOO!</b> Flying letters scare birds and turn cows. Costs breath.", left + 92, y - 2,
       width - 92);
  y += 34;
  keycap(cr, "Shift", left + 14, y, 54, 24);
  body(cr, "<b>OOGA-BOOGA!</b> Uses one mask and scares everything at once.", left + 92, y - 2, width - 92);
  y += 34;
  keycap(cr, "Esc", left + 14, y, 54, 24);
  body(cr, "Back to the title. Ctrl picks a menu button.", left + 92, y + 3, width - 92);
  y += 36;
  y += heading(cr, "Who comes to the field", left, y, 24);
  const double textLeft = left + 92;
  creatureIcon(cr, paintCrow, 128, 1, 0, left, y - 6, 84);
  body(
      cr,
      "<b>Crow</b> lands on a stalk and flies off with an ear.\n"
      "Scared away <b>+10</b>  \u2022  takes an ear <b>\u22125</b>  \u2022  escapes with it <b>\u221210</b>\n"
      "A scared crow drops its ear: walk over it for <b>+50</b>.",
      textLeft, y, width - 92);
  y += 72;
  creatureIcon(cr, paintPelican, 256, 1, 0, left, y - 6, 84);
  body(cr,
       "<b>Pelican</b> (every 5th day) gobbles ears of corn.\n"
       "Scared away <b>+50</b>  \u2022  eats an ear <b>\u221210</b>",
       textLeft, y + 6, width - 92);
  y += 72;
  creatureIcon(cr, paintCow, 256, 1, 0, left, y - 10, 84);
  body(cr,
       "<b>Cow</b> (every 10th day) eats whole stalks: <b>\u221220</b> each.\n"
       "It cannot be scared off, only turned. Steer it off the field for <b>+100</b>!",
       textLeft, y + 4, width - 92);
  y += 70;
  body(cr, "A stalk without ears withers away. When the last one is gone, the game is over.", left, y, width);
  // Scroll hint at the foot of the page.
  TextStyle more{kHeadFont, 18, true, kHeadInk, kHeadInk, 0, kHeadInk};
  drawText(cr, "\u2193 more below \u2193", more, w / 2.0, h - 48, Align::Centre);
}

void paintInstructions2(cairo_t* cr, int w, int h) {
  parchment(cr, w, h, 202);
  const double left = 22, width = w - 44;
  double y = 10;
  y += heading(cr, "The store", left, y, 28);
  y += body(cr, "After each day you shop with the money you earned. Ctrl buys, Esc or <b>Exit</b> leaves.",
            left, y, width) +
       6;
  const double cellW = width / 3, cellH = 78;
  for (int i = 0; i < 9; ++i) {
    const double cx = left + (i % 3) * cellW, cy = y + (i / 3) * cellH;
    paintInset(cr, kItems[i].painter, 128, 128, cx, cy + 4, 48.0 / 128.0);
    char markup[160];
    std::snprintf(markup, sizeof markup, "<b>%s</b>\n<span foreground='#8a2a10'><b>%s</b></span>\n%s",
                  kItems[i].name, kItems[i].price, kItems[i].what);
    drawParagraph(cr, markup, kBodyFont, 11, palette::kInk, cx + 52, cy, cellW - 54);
  }
  y += 3 * cellH + 4;
  y += heading(cr, "Breath", left, y, 24);
  paintInset(cr, paintBreathMeter, 256, 64, left, y + 6, 0.5);
  y += body(cr,
            "The bar at the top left is your breath. Every shout uses some; it refills by itself. "
            "With too little breath you only cough, and the bar turns <b>red</b>.",
            left + 140, y, width - 140) +
       8;
  y += heading(cr, "Masks", left, y, 24);
  for (int k = 0; k < 3; ++k) paintInset(cr, paintOogaMask, 64, 64, left + k * 30, y, 36.0 / 64.0);
  y += body(cr,
            "Each mask on the right of the screen is one ooga-booga (Shift). You start with one; the store "
            "sells more, up to five.",
            left + 110, y, width - 110) +
       8;
  body(cr, "Every stalk that loses its last ear may cost you one of your upgrades. Good luck, scarecrow!",
       left, y, width);
}

}  // namespace pictures
