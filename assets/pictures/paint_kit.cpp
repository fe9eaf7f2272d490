#include "pictures/paint_kit.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

namespace pictures {

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb lighter(Rgb c, double t) {
  return mix(c, palette::kWhite, t);
}
Rgb darker(Rgb c, double t) {
  return mix(c, Rgb{0, 0, 0}, t);
}

void setColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius) {
  radius = std::min({radius, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
  cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
  cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cr, x + radius, y + radius, radius, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void shadedFill(cairo_t* cr, Rgb base, double x0, double y0, double x1, double y1, double outline) {
  cairo_pattern_t* light = cairo_pattern_create_linear(x0, y0, x1, y1);
  const Rgb high = lighter(base, 0.35);
  const Rgb shade = darker(base, 0.28);
  cairo_pattern_add_color_stop_rgb(light, 0.0, high.r, high.g, high.b);
  cairo_pattern_add_color_stop_rgb(light, 0.45, base.r, base.g, base.b);
  cairo_pattern_add_color_stop_rgb(light, 1.0, shade.r, shade.g, shade.b);
  cairo_set_source(cr, light);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(light);
  if (outline > 0) {
    setColour(cr, palette::kOutline);
    cairo_set_line_width(cr, outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  cairo_new_path(cr);
}

void flatFill(cairo_t* cr, Rgb base, double outline) {
  setColour(cr, base);
  cairo_fill_preserve(cr);
  if (outline > 0) {
    setColour(cr, palette::kOutline);
    cairo_set_line_width(cr, outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  cairo_new_path(cr);
}

namespace {

// Hinting off and fixed language: the same glyph outlines on every machine and locale.
PangoLayout* makeLayout(cairo_t* cr, const char* text, const TextStyle& style) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoContext* context = pango_layout_get_context(layout);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  PangoLanguage* english = pango_language_from_string("en");
  pango_context_set_language(context, english);
  pango_layout_context_changed(layout);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, style.family);
  pango_font_description_set_weight(font, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font, style.pixelSize * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_text(layout, text, -1);
  return layout;
}

TextBox inkOf(PangoLayout* layout) {
  PangoRectangle ink;
  pango_layout_get_extents(layout, &ink, nullptr);
  return {static_cast<double>(ink.x) / PANGO_SCALE, static_cast<double>(ink.y) / PANGO_SCALE,
          static_cast<double>(ink.width) / PANGO_SCALE, static_cast<double>(ink.height) / PANGO_SCALE};
}

}  // namespace

TextBox measureText(cairo_t* cr, const char* text, const TextStyle& style) {
  PangoLayout* layout = makeLayout(cr, text, style);
  TextBox box = inkOf(layout);
  g_object_unref(layout);
  return box;
}

TextBox drawText(cairo_t* cr, const char* text, const TextStyle& style, double x, double y, Align align) {
  PangoLayout* layout = makeLayout(cr, text, style);
  const TextBox ink = inkOf(layout);
  double left = x;
  if (align == Align::Centre) left = x - ink.width / 2;
  if (align == Align::Right) left = x - ink.width;
  const double penX = left - ink.x;
  const double penY = y - ink.height / 2 - ink.y;
  cairo_save(cr);
  cairo_move_to(cr, penX, penY);
  pango_cairo_layout_path(cr, layout);
  if (style.outlineWidth > 0) {
    setColour(cr, style.outline);
    cairo_set_line_width(cr, style.outlineWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  const double top = y - ink.height / 2;
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, top, 0, top + ink.height);
  cairo_pattern_add_color_stop_rgb(fill, 0, style.fill.r, style.fill.g, style.fill.b);
  cairo_pattern_add_color_stop_rgb(fill, 1, style.fillBottom.r, style.fillBottom.g, style.fillBottom.b);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  cairo_restore(cr);
  g_object_unref(layout);
  const double grow = style.outlineWidth / 2;
  return {left - grow, top - grow, ink.width + 2 * grow, ink.height + 2 * grow};
}

double drawParagraph(cairo_t* cr, const char* markup, const char* family, double pixelSize, Rgb colour,
                     double x, double y, double width) {
  const TextStyle style{family, pixelSize, false, colour, colour, 0, colour};
  PangoLayout* layout = makeLayout(cr, "", style);
  pango_layout_set_markup(layout, markup, -1);
  pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  cairo_move_to(cr, x, y);
  setColour(cr, colour);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  return static_cast<double>(logical.height) / PANGO_SCALE;
}

TextStyle fitText(cairo_t* cr, const char* text, TextStyle style, double maxWidth) {
  for (int guard = 0; guard < 60; ++guard) {
    const TextBox box = measureText(cr, text, style);
    if (box.width + style.outlineWidth <= maxWidth) break;
    style.pixelSize *= 0.95;
  }
  return style;
}

double Scatter::next() {
  state_ = state_ * 1664525u + 1013904223u;
  return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
}

void paintInset(cairo_t* cr, Painter painter, int width, int height, double x, double y, double scale) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_clip(cr);
  cairo_push_group(cr);
  painter(cr, width, height);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
  cairo_restore(cr);
}

void bannerPlate(cairo_t* cr, int w, int h, Rgb colour, double notch) {
  const double inset = 4;
  cairo_move_to(cr, inset, inset);
  cairo_line_to(cr, w - inset, inset);
  cairo_line_to(cr, w - inset - notch, h / 2.0);
  cairo_line_to(cr, w - inset, h - inset);
  cairo_line_to(cr, inset, h - inset);
  cairo_line_to(cr, inset + notch, h / 2.0);
  cairo_close_path(cr);
  shadedFill(cr, colour, 0, 0, w * 0.2, h, 3.0);
}

}  // namespace pictures
