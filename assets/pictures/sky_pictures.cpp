// The dawn pictures (sun, rooster) and the HUD's mask and breath bar.
#include <cmath>

#include "pictures/painters.h"

namespace pictures {
namespace {

constexpr Rgb kComb{0.88, 0.12, 0.10};
constexpr Rgb kRoosterBody{0.86, 0.46, 0.16};
constexpr Rgb kRoosterNeck{0.98, 0.72, 0.26};
constexpr Rgb kTailDark{0.10, 0.22, 0.18};
constexpr Rgb kLegYellow{0.98, 0.78, 0.20};
constexpr Rgb kMaskWood{0.70, 0.42, 0.18};

}  // namespace

void paintSun(cairo_t* cr, int w, int h) {
  // It spins and stops at any angle, so it has no face and no lit side: the same picture every way up.
  const double cx = w / 2.0, cy = h / 2.0, s = w / 256.0;
  const int rays = 16;
  for (int i = 0; i < rays; ++i) {
    const double a = 2 * M_PI * i / rays;
    const double reach = (i % 2 == 0 ? 124 : 104) * s;
    const double spread = (i % 2 == 0 ? 0.16 : 0.13);
    cairo_move_to(cr, cx + std::cos(a - spread) * 70 * s, cy + std::sin(a - spread) * 70 * s);
    cairo_line_to(cr, cx + std::cos(a) * reach, cy + std::sin(a) * reach);
    cairo_line_to(cr, cx + std::cos(a + spread) * 70 * s, cy + std::sin(a + spread) * 70 * s);
    cairo_close_path(cr);
    flatFill(cr, i % 2 == 0 ? palette::kSunOrange : palette::kCornYellow, 3 * s);
  }
  cairo_arc(cr, cx, cy, 78 * s, 0, 2 * M_PI);
  cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 4 * s, cx, cy, 80 * s);
  cairo_pattern_add_color_stop_rgb(glow, 0, 1.0, 0.98, 0.70);
  cairo_pattern_add_color_stop_rgb(glow, 0.6, 1.0, 0.86, 0.25);
  cairo_pattern_add_color_stop_rgb(glow, 1, 0.98, 0.66, 0.12);
  cairo_set_source(cr, glow);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(glow);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 3.5 * s);
  cairo_stroke(cr);
  // A ring of warm light inside the rim.
  cairo_arc(cr, cx, cy, 60 * s, 0, 2 * M_PI);
  setColour(cr, palette::kWhite, 0.35);
  cairo_set_line_width(cr, 6 * s);
  cairo_stroke(cr);
}

void paintRooster(cairo_t* cr, int w, int h) {
  // Standing on the bottom edge, facing right, crowing at the sky.
  cairo_save(cr);
  cairo_scale(cr, w / 256.0, h / 256.0);
  // Tail: long sickle feathers arching up and back over the rump, the longest at the back.
  const Rgb tails[] = {kTailDark, {0.62, 0.22, 0.10}, {0.16, 0.34, 0.26}, {0.78, 0.34, 0.12}, kTailDark};
  for (int i = 0; i < 5; ++i) {
    const double k = i * 1.0;
    cairo_move_to(cr, 96, 150 + k * 4);
    cairo_curve_to(cr, 70 - k * 4, 40 + k * 16, 24 + k * 2, 40 + k * 16, 22 + k * 6, 110 + k * 14);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, palette::kOutline);
    cairo_set_line_width(cr, 21 - k * 1.5);
    cairo_stroke_preserve(cr);
    setColour(cr, tails[i]);
    cairo_set_line_width(cr, 15 - k * 1.5);
    cairo_stroke_preserve(cr);
    setColour(cr, lighter(tails[i], 0.35), 0.7);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  // Legs.
  for (int leg = 0; leg < 2; ++leg) {
    const double lx = 112 + leg * 28;
    cairo_move_to(cr, lx, 196);
    cairo_line_to(cr, lx - 4 + leg * 3, 246);
    setColour(cr, palette::kOutline);
    cairo_set_line_width(cr, 9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke_preserve(cr);
    setColour(cr, kLegYellow);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    for (int toe = -1; toe <= 1; ++toe) {
      const double fx = lx - 4 + leg * 3;
      cairo_move_to(cr, fx, 246);
      cairo_line_to(cr, fx + 14 + toe * 8, 250 + std::abs(toe) * 1.0 - (toe < 0 ? 2 : 0));
      setColour(cr, palette::kOutline);
      cairo_set_line_width(cr, 7);
      cairo_stroke_preserve(cr);
      setColour(cr, kLegYellow);
      cairo_set_line_width(cr, 3.5);
      cairo_stroke(cr);
    }
  }
  // Body.
  ellipsePath(cr, 128, 164, 60, 42);
  shadedFill(cr, kRoosterBody, 70, 120, 180, 210, 3.5);
  // Neck and chest feathers rising to the head.
  cairo_move_to(cr, 136, 132);
  cairo_curve_to(cr, 150, 100, 160, 82, 172, 70);
  cairo_line_to(cr, 200, 84);
  cairo_curve_to(cr, 196, 110, 190, 140, 182, 172);
  cairo_curve_to(cr, 166, 176, 150, 160, 136, 132);
  cairo_close_path(cr);
  shadedFill(cr, kRoosterNeck, 140, 70, 200, 170, 3.5);
  // Wing.
  cairo_move_to(cr, 96, 150);
  cairo_curve_to(cr, 110, 130, 150, 134, 162, 160);
  cairo_curve_to(cr, 150, 186, 118, 190, 96, 150);
  cairo_close_path(cr);
  shadedFill(cr, Rgb{0.62, 0.26, 0.10}, 96, 130, 162, 190, 3);
  for (int f = 0; f < 3; ++f) {
    cairo_move_to(cr, 112 + f * 12, 160 + f * 2);
    cairo_curve_to(cr, 124 + f * 12, 170, 134 + f * 10, 172, 146 + f * 6, 168);
    setColour(cr, palette::kOutline, 0.6);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
  }
  // Head.
  const double hx = 188, hy = 66;
  // Comb.
  for (int k = 0; k < 4; ++k) {
    cairo_arc(cr, hx - 18 + k * 10, hy - 22 + std::abs(k - 1.5) * 3, 8, 0, 2 * M_PI);
  }
  flatFill(cr, kComb, 3);
  ellipsePath(cr, hx, hy, 22, 20);
  shadedFill(cr, kRoosterNeck, hx - 20, hy - 20, hx + 20, hy + 20, 3.5);
  // Open beak, crowing up and to the right.
  cairo_move_to(cr, hx + 16, hy - 10);
  cairo_line_to(cr, hx + 46, hy - 26);
  cairo_line_to(cr, hx + 20, hy - 1);
  cairo_close_path(cr);
  flatFill(cr, kLegYellow, 3);
  cairo_move_to(cr, hx + 20, hy + 3);
  cairo_line_to(cr, hx + 44, hy + 6);
  cairo_line_to(cr, hx + 16, hy + 11);
  cairo_close_path(cr);
  flatFill(cr, darker(kLegYellow, 0.1), 3);
  // Wattle.
  ellipsePath(cr, hx + 12, hy + 22, 7, 11);
  flatFill(cr, kComb, 3);
  // Eye, squeezed shut with effort.
  cairo_arc(cr, hx + 4, hy - 6, 5, M_PI * 1.1, M_PI * 1.9);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 3.5);
  cairo_stroke(cr);
  // The crow itself: little sound strokes by the beak.
  for (int k = 0; k < 3; ++k) {
    cairo_arc(cr, hx + 40, hy - 14, 14 + k * 9, -0.9, 0.1);
    setColour(cr, palette::kOutline, 0.8);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void paintOogaMask(cairo_t* cr, int w, int h) {
  const double s = w / 64.0;
  cairo_save(cr);
  cairo_scale(cr, s, h / 64.0);
  // Feathers on top.
  const Rgb feathers[] = {kComb, palette::kCornYellow, {0.20, 0.55, 0.30}};
  for (int k = -1; k <= 1; ++k) {
    ellipsePath(cr, 32 + k * 10, 10 - (k == 0 ? 3 : 0), 4.5, 9);
    flatFill(cr, feathers[k + 1], 1.5);
  }
  // Long wooden face.
  cairo_move_to(cr, 32, 8);
  cairo_curve_to(cr, 52, 8, 56, 26, 52, 42);
  cairo_curve_to(cr, 49, 54, 40, 62, 32, 62);
  cairo_curve_to(cr, 24, 62, 15, 54, 12, 42);
  cairo_curve_to(cr, 8, 26, 12, 8, 32, 8);
  cairo_close_path(cr);
  shadedFill(cr, kMaskWood, 12, 8, 52, 62, 2.2);
  // Painted stripes.
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(cr, 32 + side * 8, 16);
    cairo_line_to(cr, 32 + side * 17, 20);
    setColour(cr, palette::kWhite);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_move_to(cr, 32 + side * 11, 36);
    cairo_line_to(cr, 32 + side * 17, 44);
    setColour(cr, kComb);
    cairo_stroke(cr);
    // Eye holes.
    ellipsePath(cr, 32 + side * 10, 28, 6.5, 4);
    flatFill(cr, Rgb{0.08, 0.04, 0.02}, 1.5);
  }
  // Nose and a toothy grin.
  cairo_move_to(cr, 32, 27);
  cairo_line_to(cr, 35, 39);
  cairo_line_to(cr, 29, 39);
  cairo_close_path(cr);
  flatFill(cr, darker(kMaskWood, 0.2), 1.2);
  ellipsePath(cr, 32, 49, 11, 6);
  flatFill(cr, Rgb{0.08, 0.04, 0.02}, 1.5);
  for (int t = -2; t <= 2; ++t) {
    cairo_rectangle(cr, 32 + t * 4.2 - 1.6, 44.5, 3.2, 4);
  }
  setColour(cr, palette::kWhite);
  cairo_fill(cr);
  cairo_restore(cr);
}

void paintBreathMeter(cairo_t* cr, int w, int h) {
  // The bar is stretched to any length, so it has edges only along the top and bottom. Kept light, so
  // the red tint the game gives it when breath runs low shows as red.
  cairo_pattern_t* bar = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(bar, 0.00, 0.30, 0.45, 0.55);
  cairo_pattern_add_color_stop_rgb(bar, 0.08, 0.30, 0.45, 0.55);
  cairo_pattern_add_color_stop_rgb(bar, 0.10, 0.97, 1.00, 1.00);
  cairo_pattern_add_color_stop_rgb(bar, 0.35, 0.86, 0.96, 1.00);
  cairo_pattern_add_color_stop_rgb(bar, 0.80, 0.62, 0.84, 0.98);
  cairo_pattern_add_color_stop_rgb(bar, 0.90, 0.50, 0.74, 0.92);
  cairo_pattern_add_color_stop_rgb(bar, 0.92, 0.30, 0.45, 0.55);
  cairo_pattern_add_color_stop_rgb(bar, 1.00, 0.30, 0.45, 0.55);
  cairo_set_source(cr, bar);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(bar);
  // A shine along the upper third.
  cairo_rectangle(cr, 0, h * 0.16, w, h * 0.08);
  setColour(cr, palette::kWhite, 0.7);
  cairo_fill(cr);
}

}  // namespace pictures
