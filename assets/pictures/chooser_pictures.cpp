// The start-up chooser's pictures: its banner, lettering for each choice, and the widgets.
#include <cmath>

#include "creatures/creatures.h"
#include "pictures/painters.h"

namespace pictures {
namespace {

constexpr const char* kChooserFont = "DejaVu Sans";
constexpr double kLetteringSize = 19;
// Room before the word for the focus frame's left side.
constexpr double kLetteringLeft = 14;
constexpr Rgb kChooserInk{0.12, 0.10, 0.08};
constexpr Rgb kWidgetBlue{0.22, 0.42, 0.72};
constexpr int kBannerWidth = 291;
constexpr int kBannerHeight = 165;

void lettering(cairo_t* cr, int h, const char* text) {
  const TextStyle style{kChooserFont, kLetteringSize, false, kChooserInk, kChooserInk, 0, kChooserInk};
  drawText(cr, text, style, kLetteringLeft, h / 2.0, Align::Left);
}

void radio(cairo_t* cr, int w, int h, bool on) {
  const double cx = w / 2.0, cy = h / 2.0, r = w * 0.36;
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_pattern_t* face = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
  cairo_pattern_add_color_stop_rgb(face, 0, 0.86, 0.86, 0.84);
  cairo_pattern_add_color_stop_rgb(face, 1, 1, 1, 1);
  cairo_set_source(cr, face);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(face);
  setColour(cr, Rgb{0.35, 0.33, 0.30});
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  if (on) {
    cairo_arc(cr, cx, cy, r * 0.5, 0, 2 * M_PI);
    shadedFill(cr, kWidgetBlue, cx - r, cy - r, cx + r, cy + r, 0);
  }
}

void checkBox(cairo_t* cr, int w, int h, bool on) {
  const double side = w * 0.7, x = (w - side) / 2, y = (h - side) / 2;
  roundedRectPath(cr, x, y, side, side, 3);
  cairo_pattern_t* face = cairo_pattern_create_linear(0, y, 0, y + side);
  cairo_pattern_add_color_stop_rgb(face, 0, 0.86, 0.86, 0.84);
  cairo_pattern_add_color_stop_rgb(face, 1, 1, 1, 1);
  cairo_set_source(cr, face);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(face);
  setColour(cr, Rgb{0.35, 0.33, 0.30});
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  if (on) {
    cairo_move_to(cr, x + side * 0.2, y + side * 0.52);
    cairo_line_to(cr, x + side * 0.42, y + side * 0.76);
    cairo_line_to(cr, x + side * 0.84, y + side * 0.22);
    setColour(cr, kWidgetBlue);
    cairo_set_line_width(cr, w * 0.11);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
  }
}

}  // namespace

void paintChooserBanner(cairo_t* cr, int w, int h) {
  // Sky, a low sun, the field with its stalks, the scarecrow on guard, and the logo.
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h * 0.6);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.42, 0.68, 0.94);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.86, 0.93, 0.98);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);
  paintInset(cr, paintSun, 256, 256, w * 0.04, h * 0.06, 0.26);
  // Rolling field.
  cairo_move_to(cr, 0, h * 0.58);
  cairo_curve_to(cr, w * 0.3, h * 0.52, w * 0.6, h * 0.64, w, h * 0.56);
  cairo_line_to(cr, w, h);
  cairo_line_to(cr, 0, h);
  cairo_close_path(cr);
  shadedFill(cr, Rgb{0.46, 0.68, 0.26}, 0, h * 0.5, 0, h, 0);
  for (int i = 0; i < 7; ++i) {
    const double x = w * (0.42 + 0.09 * i);
    paintInset(cr, i % 2 ? paintStalk2 : paintStalk3, 128, 128, x - 28, h * 0.42 + (i % 2) * 6, 0.45);
  }
  cairo_save(cr);
  const double size = h * 0.95;
  cairo_translate(cr, w * 0.2 - size / 2, h * 0.97 - size * 0.8);
  cairo_scale(cr, size / 256.0, size / 256.0);
  cairo_push_group(cr);
  paintScarecrow(cr, 256, 2, 0);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
  cairo_restore(cr);
  TextStyle logo{"Leckerli One", 44, false, {1.0, 0.93, 0.45}, palette::kOutline, 4.5, {0.96, 0.58, 0.10}};
  logo = fitText(cr, "Cornkeeper", logo, w * 0.62);
  drawText(cr, "Cornkeeper", logo, w * 0.66, h * 0.2, Align::Centre);
  cairo_rectangle(cr, 1, 1, w - 2, h - 2);
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void paintChooserBanner512(cairo_t* cr, int, int) {
  cairo_rectangle(cr, 0, 0, kBannerWidth, kBannerHeight);
  cairo_clip(cr);
  paintChooserBanner(cr, kBannerWidth, kBannerHeight);
  cairo_reset_clip(cr);
}

void paintLabelMode(cairo_t* cr, int, int h) {
  lettering(cr, h, "Select Screen Mode :");
}
void paintOpt640(cairo_t* cr, int, int h) {
  lettering(cr, h, "640x480");
}
void paintOpt800(cairo_t* cr, int, int h) {
  lettering(cr, h, "800x600");
}
void paintOpt1024(cairo_t* cr, int, int h) {
  lettering(cr, h, "1024x768");
}
void paintOpt16(cairo_t* cr, int, int h) {
  lettering(cr, h, "16bpp");
}
void paintOpt32(cairo_t* cr, int, int h) {
  lettering(cr, h, "32bpp");
}
void paintOptFull(cairo_t* cr, int, int h) {
  lettering(cr, h, "FullScreen");
}

void paintButtonOk(cairo_t* cr, int w, int h) {
  roundedRectPath(cr, 2, 2, w - 4, h - 4, 7);
  shadedFill(cr, Rgb{0.90, 0.86, 0.74}, 2, 2, 2, h - 2, 2);
  const TextStyle style{kChooserFont, kLetteringSize, true, kChooserInk, kChooserInk, 0, kChooserInk};
  drawText(cr, "OK", style, w / 2.0, h / 2.0, Align::Centre);
}

void paintRadioOff(cairo_t* cr, int w, int h) {
  radio(cr, w, h, false);
}
void paintRadioOn(cairo_t* cr, int w, int h) {
  radio(cr, w, h, true);
}
void paintCheckOff(cairo_t* cr, int w, int h) {
  checkBox(cr, w, h, false);
}
void paintCheckOn(cairo_t* cr, int w, int h) {
  checkBox(cr, w, h, true);
}

void paintFocus(cairo_t* cr, int w, int h) {
  // A thin frame right at the picture's edge, clear inside: it is stretched round whichever control
  // has the keyboard and must not touch its lettering.
  roundedRectPath(cr, 0.8, 0.8, w - 1.6, h - 1.6, 5);
  setColour(cr, Rgb{0.95, 0.62, 0.10});
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
}

void paintPanel(cairo_t* cr, int w, int h) {
  cairo_pattern_t* paper = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(paper, 0, 0.98, 0.95, 0.86);
  cairo_pattern_add_color_stop_rgb(paper, 1, 0.92, 0.86, 0.70);
  cairo_set_source(cr, paper);
  cairo_paint(cr);
  cairo_pattern_destroy(paper);
  cairo_rectangle(cr, 2, 2, w - 4, h - 4);
  setColour(cr, palette::kWood);
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
}

}  // namespace pictures
