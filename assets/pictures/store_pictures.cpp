// The store: its room, the nine items, the shopkeeper, the exit sign, the cursor and the side struts.
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "pictures/painters.h"

namespace pictures {
namespace {

// Where the game puts the items and the exit sign, in store picture pixels.
constexpr double kSpotX[] = {84, 252, 420};
constexpr double kSpotY[] = {200, 300, 400};
constexpr double kSpotWidth = 150;
constexpr double kSpotHeight = 90;
constexpr double kShelfBelow = 46;
// The tags sit on the shelf board's front, below the item standing on it.
constexpr double kLabelTop = 41, kLabelWidth = 108, kLabelHeight = 15;

struct ShelfLabel {
  const char* name;
  int price;
};
constexpr ShelfLabel kShelfLabels[9] = {{"Seed", 500},     {"Fertilizer", 1200}, {"Weight", 300},
                                        {"Letter O", 200}, {"Breath", 350},      {"Lung", 475},
                                        {"Mask", 250},     {"Time", 2800},       {"Rocket", 400}};

constexpr Rgb kWallWood{0.80, 0.60, 0.38};
constexpr Rgb kBurlap{0.80, 0.66, 0.44};
constexpr Rgb kSackGreen{0.36, 0.60, 0.30};
constexpr Rgb kIron{0.42, 0.44, 0.48};
constexpr Rgb kLungPink{0.94, 0.52, 0.56};
constexpr Rgb kSkin{0.98, 0.78, 0.62};
constexpr Rgb kApron{0.30, 0.46, 0.74};
constexpr Rgb kExitGreen{0.16, 0.56, 0.28};

void woodPlanksVertical(cairo_t* cr, double x0, double y0, double x1, double y1, double plankWidth, Rgb base,
                        uint32_t seed) {
  Scatter scatter(seed);
  for (double x = x0; x < x1; x += plankWidth) {
    const Rgb tone = mix(base, darker(base, 0.2), scatter.next());
    cairo_rectangle(cr, x, y0, plankWidth, y1 - y0);
    setColour(cr, tone);
    cairo_fill(cr);
    for (int g = 0; g < 3; ++g) {
      const double gx = x + scatter.range(4, plankWidth - 4);
      cairo_move_to(cr, gx, y0);
      cairo_curve_to(cr, gx + scatter.range(-3, 3), y0 + (y1 - y0) * 0.3, gx + scatter.range(-3, 3),
                     y0 + (y1 - y0) * 0.7, gx, y1);
      setColour(cr, darker(tone, 0.25), 0.35);
      cairo_set_line_width(cr, 1.0);
      cairo_stroke(cr);
    }
    cairo_move_to(cr, x + 0.5, y0);
    cairo_line_to(cr, x + 0.5, y1);
    setColour(cr, darker(base, 0.5), 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
}

void sack(cairo_t* cr, double cx, double bottom, double width, double height, Rgb colour) {
  const double half = width / 2, top = bottom - height;
  cairo_move_to(cr, cx - half * 0.7, top + height * 0.18);
  cairo_curve_to(cr, cx - half * 1.15, top + height * 0.5, cx - half * 1.1, bottom, cx - half * 0.6, bottom);
  cairo_line_to(cr, cx + half * 0.6, bottom);
  cairo_curve_to(cr, cx + half * 1.1, bottom, cx + half * 1.15, top + height * 0.5, cx + half * 0.7,
                 top + height * 0.18);
  cairo_close_path(cr);
  shadedFill(cr, colour, cx - half, top, cx + half, bottom, 3);
  // Gathered neck, tied with string.
  cairo_move_to(cr, cx - half * 0.7, top + height * 0.18);
  cairo_line_to(cr, cx - half * 0.5, top);
  cairo_line_to(cr, cx + half * 0.5, top);
  cairo_line_to(cr, cx + half * 0.7, top + height * 0.18);
  cairo_close_path(cr);
  shadedFill(cr, lighter(colour, 0.1), cx - half, top, cx + half, top + height * 0.2, 3);
  cairo_move_to(cr, cx - half * 0.66, top + height * 0.17);
  cairo_line_to(cr, cx + half * 0.66, top + height * 0.17);
  setColour(cr, palette::kWoodDark);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
}

void leafEmblem(cairo_t* cr, double cx, double cy, double size) {
  cairo_move_to(cr, cx, cy + size);
  cairo_curve_to(cr, cx - size, cy + size * 0.2, cx - size * 0.6, cy - size, cx, cy - size);
  cairo_curve_to(cr, cx + size * 0.6, cy - size, cx + size, cy + size * 0.2, cx, cy + size);
  cairo_close_path(cr);
  shadedFill(cr, palette::kLeafGreen, cx - size, cy - size, cx + size, cy + size, 2);
  cairo_move_to(cr, cx, cy + size);
  cairo_line_to(cr, cx, cy - size * 0.6);
  setColour(cr, palette::kLeafDark);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void cloud(cairo_t* cr, double cx, double cy, double scale, Rgb colour) {
  // Outline every bump thickly first, then fill them all: only the outer edge of the union stays dark.
  const double bumps[][3] = {{-26, 4, 16}, {-10, -8, 20}, {12, -6, 18}, {28, 6, 14}, {2, 10, 18}};
  for (const auto& b : bumps) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + b[0] * scale, cy + b[1] * scale, b[2] * scale, 0, 2 * M_PI);
  }
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 6);
  cairo_stroke_preserve(cr);
  setColour(cr, colour);
  cairo_fill(cr);
}

}  // namespace

void paintStore(cairo_t* cr, int w, int h) {
  woodPlanksVertical(cr, 0, 0, w, h, 32, kWallWood, 808);
  // Darker towards the floor, lighter under the lamp at the top.
  cairo_pattern_t* light = cairo_pattern_create_radial(w * 0.55, 20, 20, w * 0.55, 20, w * 0.9);
  cairo_pattern_add_color_stop_rgba(light, 0, 1, 0.95, 0.75, 0.35);
  cairo_pattern_add_color_stop_rgba(light, 1, 0.2, 0.1, 0.05, 0.2);
  cairo_set_source(cr, light);
  cairo_paint(cr);
  cairo_pattern_destroy(light);
  // Shop sign across the top right; the exit sign hangs at the top left.
  roundedRectPath(cr, 176, 26, 316, 80, 16);
  shadedFill(cr, palette::kWoodDark, 176, 26, 492, 106, 3.5);
  roundedRectPath(cr, 184, 34, 300, 64, 12);
  shadedFill(cr, palette::kStraw, 184, 34, 484, 98, 2.5);
  TextStyle sign{"Lobster Two", 44, true, palette::kRed, palette::kOutline, 3.0, darker(palette::kRed, 0.25)};
  sign = fitText(cr, "Mumbly's Store", sign, 276);
  drawText(cr, "Mumbly's Store", sign, 334, 66, Align::Centre);
  for (double nx : {196.0, 472.0}) {
    cairo_arc(cr, nx, 44, 3, 0, 2 * M_PI);
    flatFill(cr, kIron, 1);
  }
  // Three rows of cubbies, one per item, each on a shelf board.
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const double x = kSpotX[col] - kSpotWidth / 2, y = kSpotY[row] - kSpotHeight / 2;
      roundedRectPath(cr, x, y, kSpotWidth, kSpotHeight, 10);
      cairo_pattern_t* recess = cairo_pattern_create_linear(0, y, 0, y + kSpotHeight);
      cairo_pattern_add_color_stop_rgb(recess, 0, 0.22, 0.13, 0.07);
      cairo_pattern_add_color_stop_rgb(recess, 0.3, 0.34, 0.21, 0.11);
      cairo_pattern_add_color_stop_rgb(recess, 1, 0.44, 0.29, 0.16);
      cairo_set_source(cr, recess);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(recess);
      setColour(cr, palette::kOutline);
      cairo_set_line_width(cr, 3);
      cairo_stroke(cr);
    }
    const double shelfY = kSpotY[row] + kShelfBelow;
    cairo_rectangle(cr, 4, shelfY - 6, w - 8, 14);
    shadedFill(cr, palette::kWood, 0, shelfY - 6, 0, shelfY + 8, 3);
    for (double bx : {40.0, 168.0, 336.0, 472.0}) {
      cairo_move_to(cr, bx, shelfY + 8);
      cairo_line_to(cr, bx + 10, shelfY + 8);
      cairo_line_to(cr, bx + 5, shelfY + 20);
      cairo_close_path(cr);
      flatFill(cr, palette::kWoodDark, 2);
    }
  }
  // A tag on the shelf board under each cubby: the item's name and its price, fixed as the slots are.
  for (int slot = 0; slot < 9; ++slot) {
    const double cx = kSpotX[slot % 3], top = kSpotY[slot / 3] + kLabelTop;
    roundedRectPath(cr, cx - kLabelWidth / 2, top, kLabelWidth, kLabelHeight, 3);
    flatFill(cr, palette::kCream, 1.5);
    char text[40];
    std::snprintf(text, sizeof text, "%s  %d", kShelfLabels[slot].name, kShelfLabels[slot].price);
    TextStyle style{"DejaVu Sans", 11, true, palette::kInk, palette::kInk, 0, palette::kInk};
    style = fitText(cr, text, style, kLabelWidth - 8);
    drawText(cr, text, style, cx, top + kLabelHeight / 2, Align::Centre);
  }
  // Floorboards at the very bottom.
  cairo_rectangle(cr, 0, 462, w, h - 462);
  shadedFill(cr, palette::kWoodDark, 0, 462, 0, h, 3);
}

void paintStoreStrut(cairo_t* cr, int w, int h) {
  // A post that tiles vertically: nothing along it changes with height except the middle bolt.
  cairo_pattern_t* round = cairo_pattern_create_linear(0, 0, w, 0);
  const Rgb edge = darker(palette::kWood, 0.45), mid = lighter(palette::kWood, 0.15);
  cairo_pattern_add_color_stop_rgb(round, 0, edge.r, edge.g, edge.b);
  cairo_pattern_add_color_stop_rgb(round, 0.3, mid.r, mid.g, mid.b);
  cairo_pattern_add_color_stop_rgb(round, 0.75, palette::kWood.r, palette::kWood.g, palette::kWood.b);
  cairo_pattern_add_color_stop_rgb(round, 1, edge.r, edge.g, edge.b);
  cairo_set_source(cr, round);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(round);
  const double grain[] = {9, 17, 24, 33, 41, 50, 56};
  for (double gx : grain) {
    cairo_move_to(cr, gx * w / 64.0, 0);
    cairo_line_to(cr, gx * w / 64.0, h);
    setColour(cr, palette::kWoodDark, 0.35);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
  }
  for (double ex : {1.5, w - 1.5}) {
    cairo_move_to(cr, ex, 0);
    cairo_line_to(cr, ex, h);
    setColour(cr, palette::kOutline);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  cairo_arc(cr, w / 2.0, h / 2.0, 5, 0, 2 * M_PI);
  shadedFill(cr, kIron, w / 2.0 - 5, h / 2.0 - 5, w / 2.0 + 5, h / 2.0 + 5, 1.5);
}

void paintInstrArrows(cairo_t* cr, int w, int h) {
  const double s = w / 32.0;
  for (int dir = -1; dir <= 1; dir += 2) {
    const double tipY = h / 2.0 + dir * 14 * s, baseY = h / 2.0 + dir * 3 * s;
    cairo_move_to(cr, w / 2.0, tipY);
    cairo_line_to(cr, w / 2.0 + 10 * s, baseY);
    cairo_line_to(cr, w / 2.0 - 10 * s, baseY);
    cairo_close_path(cr);
    shadedFill(cr, palette::kCornYellow, 0, 0, w, h, 2 * s);
  }
}

static void designItemSeed(cairo_t* cr, int w, int h) {
  const double s = w / 128.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 128.0);
  sack(cr, 64, 118, 84, 92, kBurlap);
  // Seeds spilling at the foot and a corn picture on the sack.
  drawEar(cr, 64, 100, 44, 18, 0, 5);
  Scatter scatter(12);
  for (int i = 0; i < 9; ++i) {
    ellipsePath(cr, 18 + i * 11 + scatter.range(-2, 2), 118 + scatter.range(-3, 3), 4, 3);
    flatFill(cr, palette::kCornYellow, 1.4);
  }
  cairo_restore(cr);
}

static void designItemFertilizer(cairo_t* cr, int w, int h) {
  const double s = w / 128.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 128.0);
  sack(cr, 64, 120, 96, 104, kSackGreen);
  leafEmblem(cr, 64, 70, 20);
  // Sparkles: it makes corn grow.
  for (const auto& p : {std::pair{30.0, 46.0}, std::pair{100.0, 56.0}, std::pair{94.0, 100.0}}) {
    cairo_move_to(cr, p.first, p.second - 8);
    cairo_line_to(cr, p.first + 2.5, p.second - 2.5);
    cairo_line_to(cr, p.first + 8, p.second);
    cairo_line_to(cr, p.first + 2.5, p.second + 2.5);
    cairo_line_to(cr, p.first, p.second + 8);
    cairo_line_to(cr, p.first - 2.5, p.second + 2.5);
    cairo_line_to(cr, p.first - 8, p.second);
    cairo_line_to(cr, p.first - 2.5, p.second - 2.5);
    cairo_close_path(cr);
    flatFill(cr, palette::kCornYellow, 1.5);
  }
  cairo_restore(cr);
}

static void designItemWeight(cairo_t* cr, int w, int h) {
  const double s = w / 128.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 128.0);
  // Handle ring, then the body.
  cairo_arc(cr, 64, 30, 16, M_PI, 2 * M_PI);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 12);
  cairo_stroke_preserve(cr);
  setColour(cr, kIron);
  cairo_set_line_width(cr, 6);
  cairo_stroke(cr);
  cairo_move_to(cr, 40, 34);
  cairo_line_to(cr, 88, 34);
  cairo_line_to(cr, 112, 114);
  cairo_curve_to(cr, 112, 120, 108, 122, 102, 122);
  cairo_line_to(cr, 26, 122);
  cairo_curve_to(cr, 20, 122, 16, 120, 16, 114);
  cairo_close_path(cr);
  shadedFill(cr, kIron, 16, 34, 112, 122, 3.5);
  TextStyle label{"DejaVu Sans", 22, true, palette::kWhite, palette::kOutline, 0, Rgb{0.85, 0.85, 0.9}};
  drawText(cr, "1 TON", label, 64, 98, Align::Centre);
  cairo_restore(cr);
}

static void designItemO(cairo_t* cr, int w, int h) {
  // One more o in every shout: the shout's own letter with a +1 badge.
  cairo_save(cr);
  cairo_translate(cr, w * 0.02, h * 0.14);
  paintBooO(cr, static_cast<int>(w * 0.84), static_cast<int>(h * 0.84));
  cairo_restore(cr);
  cairo_arc(cr, w * 0.80, h * 0.22, w * 0.17, 0, 2 * M_PI);
  shadedFill(cr, palette::kLeafGreen, w * 0.63, h * 0.05, w * 0.97, h * 0.39, 3);
  const TextStyle plus{"DejaVu Sans", h * 0.2, true, palette::kWhite, palette::kOutline, 0, palette::kCream};
  drawText(cr, "+1", plus, w * 0.80, h * 0.22, Align::Centre);
}

static void designItemBreath(cairo_t* cr, int w, int h) {
  const double s = w / 128.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 128.0);
  // A long puff of breath carrying letters further.
  for (int k = 0; k < 3; ++k) {
    cairo_move_to(cr, 12, 50 + k * 14);
    cairo_line_to(cr, 40, 50 + k * 14);
    setColour(cr, palette::kOutline);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
  }
  cloud(cr, 76, 64, 1.2, Rgb{0.90, 0.96, 1.0});
  // Arrow showing the longer reach.
  cairo_move_to(cr, 22, 106);
  cairo_line_to(cr, 100, 106);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 9);
  cairo_stroke_preserve(cr);
  setColour(cr, palette::kCornYellow);
  cairo_set_line_width(cr, 4.5);
  cairo_stroke(cr);
  cairo_move_to(cr, 96, 94);
  cairo_line_to(cr, 116, 106);
  cairo_line_to(cr, 96, 118);
  cairo_close_path(cr);
  flatFill(cr, palette::kCornYellow, 3);
  cairo_restore(cr);
}

static void designItemLung(cairo_t* cr, int w, int h) {
  const double s = w / 128.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 128.0);
  // Windpipe.
  cairo_move_to(cr, 64, 12);
  cairo_line_to(cr, 64, 50);
  cairo_move_to(cr, 64, 48);
  cairo_line_to(cr, 50, 62);
  cairo_move_to(cr, 64, 48);
  cairo_line_to(cr, 78, 62);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 12);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke_preserve(cr);
  setColour(cr, Rgb{0.96, 0.84, 0.84});
  cairo_set_line_width(cr, 6);
  cairo_stroke(cr);
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(cr, 64 + side * 8, 40);
    cairo_curve_to(cr, 64 + side * 50, 24, 64 + side * 60, 100, 64 + side * 44, 116);
    cairo_curve_to(cr, 64 + side * 30, 122, 64 + side * 8, 112, 64 + side * 8, 96);
    cairo_close_path(cr);
    shadedFill(cr, kLungPink, 64 + side * 60 - 30, 30, 64 + side * 60 + 30, 120, 3.5);
  }
  cairo_restore(cr);
}

static void designItemMask(cairo_t* cr, int w, int h) {
  paintInset(cr, paintOogaMask, 64, 64, w * 0.06, h * 0.04, w / 64.0 * 0.88);
}

static void designItemTime(cairo_t* cr, int w, int h) {
  const double s = w / 128.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 128.0);
  // An alarm clock with an arrow running backwards round it.
  for (int side = -1; side <= 1; side += 2) {
    cairo_arc(cr, 64 + side * 30, 26, 12, 0, 2 * M_PI);
    shadedFill(cr, palette::kCornYellow, 64 + side * 30 - 12, 14, 64 + side * 30 + 12, 38, 3);
  }
  cairo_arc(cr, 64, 68, 44, 0, 2 * M_PI);
  shadedFill(cr, palette::kRed, 20, 24, 108, 112, 3.5);
  cairo_arc(cr, 64, 68, 34, 0, 2 * M_PI);
  shadedFill(cr, palette::kCream, 30, 34, 98, 102, 2.5);
  for (int t = 0; t < 12; ++t) {
    const double a = t * M_PI / 6;
    cairo_move_to(cr, 64 + std::cos(a) * 28, 68 + std::sin(a) * 28);
    cairo_line_to(cr, 64 + std::cos(a) * 32, 68 + std::sin(a) * 32);
  }
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  cairo_move_to(cr, 64, 68);
  cairo_line_to(cr, 64, 44);
  cairo_move_to(cr, 64, 68);
  cairo_line_to(cr, 48, 76);
  cairo_set_line_width(cr, 4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  // Backwards arrow.
  cairo_arc_negative(cr, 64, 68, 54, -0.3, -2.2);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 9);
  cairo_stroke(cr);
  cairo_arc_negative(cr, 64, 68, 54, -0.3, -2.2);
  setColour(cr, palette::kLeafGreen);
  cairo_set_line_width(cr, 4.5);
  cairo_stroke(cr);
  const double ax = 64 + std::cos(-2.2) * 54, ay = 68 + std::sin(-2.2) * 54;
  cairo_move_to(cr, ax - 12, ay + 2);
  cairo_line_to(cr, ax + 6, ay - 12);
  cairo_line_to(cr, ax + 8, ay + 10);
  cairo_close_path(cr);
  flatFill(cr, palette::kLeafGreen, 2.5);
  cairo_restore(cr);
}

static void designItemRocket(cairo_t* cr, int w, int h) {
  const double s = w / 128.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 128.0);
  cairo_translate(cr, 64, 64);
  cairo_rotate(cr, M_PI / 4);
  // Flame.
  cairo_move_to(cr, -12, 34);
  cairo_curve_to(cr, -14, 50, -4, 58, 0, 66);
  cairo_curve_to(cr, 4, 58, 14, 50, 12, 34);
  cairo_close_path(cr);
  flatFill(cr, palette::kSunOrange, 2.5);
  cairo_move_to(cr, -6, 34);
  cairo_curve_to(cr, -6, 44, -2, 50, 0, 54);
  cairo_curve_to(cr, 2, 50, 6, 44, 6, 34);
  cairo_close_path(cr);
  flatFill(cr, palette::kCornYellow, 0);
  // Fins.
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(cr, side * 12, 6);
    cairo_line_to(cr, side * 28, 32);
    cairo_line_to(cr, side * 12, 30);
    cairo_close_path(cr);
    shadedFill(cr, palette::kRed, -28, 6, 28, 32, 3);
  }
  // Body.
  cairo_move_to(cr, 0, -56);
  cairo_curve_to(cr, 18, -40, 16, 10, 12, 34);
  cairo_line_to(cr, -12, 34);
  cairo_curve_to(cr, -16, 10, -18, -40, 0, -56);
  cairo_close_path(cr);
  shadedFill(cr, palette::kCream, -16, -56, 16, 34, 3.5);
  cairo_move_to(cr, 0, -56);
  cairo_curve_to(cr, 10, -48, 13, -38, 14, -30);
  cairo_line_to(cr, -14, -30);
  cairo_curve_to(cr, -13, -38, -10, -48, 0, -56);
  cairo_close_path(cr);
  shadedFill(cr, palette::kRed, -14, -56, 14, -30, 3);
  cairo_arc(cr, 0, -10, 8, 0, 2 * M_PI);
  shadedFill(cr, palette::kSky, -8, -18, 8, -2, 3);
  cairo_restore(cr);
}

void paintMumbly(cairo_t* cr, int w, int h) {
  // The shopkeeper from the waist up, standing on the bottom edge, waving hello. He stands in the
  // corner left of the shelves: the game puts his bottom centre 100 px left of the first cubby's
  // middle, so he and his waving hand keep to the left of x 86 here.
  const double s = w / 128.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 128.0);
  cairo_translate(cr, 64, 128);
  cairo_scale(cr, 0.8, 0.8);
  cairo_translate(cr, -64 - 6, -128);
  // Waving arm behind, raised on the side away from the shelves.
  cairo_move_to(cr, 34, 96);
  cairo_curve_to(cr, 20, 84, 16, 66, 18, 50);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 15);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke_preserve(cr);
  setColour(cr, Rgb{0.92, 0.92, 0.88});
  cairo_set_line_width(cr, 10);
  cairo_stroke(cr);
  cairo_arc(cr, 18, 44, 8, 0, 2 * M_PI);
  shadedFill(cr, kSkin, 10, 36, 26, 52, 2.5);
  // Body: white shirt and a blue apron.
  cairo_move_to(cr, 22, 128);
  cairo_curve_to(cr, 22, 96, 34, 82, 64, 82);
  cairo_curve_to(cr, 94, 82, 106, 96, 106, 128);
  cairo_close_path(cr);
  shadedFill(cr, Rgb{0.92, 0.92, 0.88}, 22, 82, 106, 128, 3);
  cairo_move_to(cr, 40, 128);
  cairo_line_to(cr, 42, 96);
  cairo_line_to(cr, 86, 96);
  cairo_line_to(cr, 88, 128);
  cairo_close_path(cr);
  shadedFill(cr, kApron, 40, 96, 88, 128, 2.5);
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(cr, 64 + side * 22, 96);
    cairo_line_to(cr, 64 + side * 16, 84);
    setColour(cr, palette::kOutline);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
  }
  // Head.
  ellipsePath(cr, 64, 54, 28, 27);
  shadedFill(cr, kSkin, 36, 28, 92, 82, 3);
  for (int side = -1; side <= 1; side += 2) {
    ellipsePath(cr, 64 + side * 28, 56, 5, 7);
    shadedFill(cr, kSkin, 64 + side * 28 - 5, 49, 64 + side * 28 + 5, 63, 2.5);
    ellipsePath(cr, 64 + side * 10, 48, 3.5, 4.5);
    flatFill(cr, palette::kOutline, 0);
    ellipsePath(cr, 64 + side * 18, 60, 5, 3.5);
    setColour(cr, Rgb{1.0, 0.5, 0.45}, 0.5);
    cairo_fill(cr);
  }
  ellipsePath(cr, 64, 57, 5, 4.5);
  shadedFill(cr, darker(kSkin, 0.1), 59, 52, 69, 62, 2);
  // Moustache and a big smile.
  cairo_move_to(cr, 64, 63);
  cairo_curve_to(cr, 56, 58, 44, 62, 42, 68);
  cairo_curve_to(cr, 50, 66, 58, 68, 64, 66);
  cairo_curve_to(cr, 70, 68, 78, 66, 86, 68);
  cairo_curve_to(cr, 84, 62, 72, 58, 64, 63);
  cairo_close_path(cr);
  flatFill(cr, palette::kWoodDark, 2);
  cairo_arc(cr, 64, 68, 10, 0.2, M_PI - 0.2);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  // Straw hat.
  ellipsePath(cr, 64, 32, 40, 9);
  shadedFill(cr, palette::kStraw, 24, 23, 104, 41, 3);
  cairo_move_to(cr, 42, 32);
  cairo_curve_to(cr, 42, 10, 86, 10, 86, 32);
  cairo_close_path(cr);
  shadedFill(cr, palette::kStraw, 42, 12, 86, 32, 3);
  cairo_move_to(cr, 43, 28);
  cairo_curve_to(cr, 55, 31, 73, 31, 85, 28);
  setColour(cr, palette::kRed);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void paintShopExit(cairo_t* cr, int w, int h) {
  roundedRectPath(cr, 4, 6, w - 8, h - 12, 10);
  shadedFill(cr, kExitGreen, 4, 6, w * 0.4, h - 6, 3.5);
  roundedRectPath(cr, 9, 11, w - 18, h - 22, 7);
  setColour(cr, palette::kWhite, 0.9);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // Arrow pointing out, then the word.
  cairo_move_to(cr, 18, h / 2.0);
  cairo_line_to(cr, 34, h / 2.0 - 12);
  cairo_line_to(cr, 34, h / 2.0 + 12);
  cairo_close_path(cr);
  flatFill(cr, palette::kWhite, 0);
  TextStyle style{"Lobster Two", h * 0.6, true, palette::kWhite, palette::kOutline, 3, Rgb{0.85, 1.0, 0.85}};
  style = fitText(cr, "Exit", style, w - 56);
  drawText(cr, "Exit", style, (w + 36) / 2.0, h / 2.0, Align::Centre);
}

void paintShopTarget(cairo_t* cr, int w, int h) {
  // A thin ring at the rim, drawn at twice this size round the selected item or the exit sign: the
  // middle stays open so the item and its price show through. Short ticks make its spin visible.
  const double cx = w / 2.0, cy = h / 2.0, s = w / 64.0;
  cairo_arc(cr, cx, cy, 30.5 * s, 0, 2 * M_PI);
  cairo_arc_negative(cr, cx, cy, 27.5 * s, 2 * M_PI, 0);
  flatFill(cr, palette::kRed, 1 * s);
  for (int k = 0; k < 8; ++k) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, k * M_PI / 4);
    cairo_move_to(cr, 30 * s, 0);
    cairo_line_to(cr, 27.5 * s, -2 * s);
    cairo_line_to(cr, 27.5 * s, 2 * s);
    cairo_close_path(cr);
    flatFill(cr, palette::kCornYellow, 0.8 * s);
    cairo_restore(cr);
  }
}

// Items stand on their shelf: each design fills a 128 box and is shrunk onto the shelf, so a tall item
// does not reach into the cubby above.
namespace {
constexpr double kItemScale = 0.68;
constexpr double kItemTop = 0.11;  // standing on the board, clear of the tag

void itemOnShelf(cairo_t* cr, int w, int h, Painter design) {
  cairo_save(cr);
  cairo_translate(cr, w * (1 - kItemScale) / 2, h * kItemTop);
  cairo_scale(cr, kItemScale * w / 128.0, kItemScale * h / 128.0);
  design(cr, 128, 128);
  cairo_restore(cr);
}
}  // namespace

void paintItemSeed(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemSeed);
}
void paintItemFertilizer(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemFertilizer);
}
void paintItemWeight(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemWeight);
}
void paintItemO(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemO);
}
void paintItemBreath(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemBreath);
}
void paintItemLung(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemLung);
}
void paintItemMask(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemMask);
}
void paintItemTime(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemTime);
}
void paintItemRocket(cairo_t* cr, int w, int h) {
  itemOnShelf(cr, w, h, designItemRocket);
}

}  // namespace pictures
