// The launcher icon: a ripe ear of corn leaning across a sky-blue tile. Each size is painted afresh
// rather than scaled down, so the 16-pixel one keeps a clean silhouette; the SVG is the same
// painting on a vector surface.
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "pictures/painters.h"

namespace pictures {
namespace {

constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
constexpr int kSvgSize = 256;
// Below this the kernels and husk veins would only blur: a plain cob with two husk leaves reads better.
constexpr int kDetailedFrom = 48;

// A small ear: flat cob, a few kernel rows as strokes, two husk leaves. Base at the origin, pointing up.
void drawSimpleEar(cairo_t* cr, double length, double width, double outline) {
  const double half = width / 2;
  auto cobPath = [&] {
    cairo_move_to(cr, -half * 0.8, 0);
    cairo_curve_to(cr, -half * 1.05, -length * 0.45, -half * 0.8, -length * 0.85, 0, -length);
    cairo_curve_to(cr, half * 0.8, -length * 0.85, half * 1.05, -length * 0.45, half * 0.8, 0);
    cairo_close_path(cr);
  };
  cobPath();
  setColour(cr, palette::kCornYellow);
  cairo_fill(cr);
  cairo_save(cr);
  cobPath();
  cairo_clip(cr);
  setColour(cr, palette::kCornDeep);
  cairo_set_line_width(cr, std::max(0.6, width * 0.09));
  for (double row = 0.22; row < 0.9; row += 0.22) {
    cairo_move_to(cr, -half, -length * row);
    cairo_line_to(cr, half, -length * row);
  }
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, 0, -length);
  cairo_stroke(cr);
  cairo_restore(cr);
  cobPath();
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, outline);
  cairo_stroke(cr);
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(cr, 0, length * 0.08);
    cairo_curve_to(cr, side * half * 1.5, -length * 0.05, side * half * 1.3, -length * 0.4, side * half * 0.6,
                   -length * 0.58);
    cairo_curve_to(cr, side * half * 0.5, -length * 0.3, side * half * 0.1, -length * 0.1, 0, length * 0.08);
    cairo_close_path(cr);
    flatFill(cr, side < 0 ? palette::kHuskGreen : palette::kLeafGreen, outline);
  }
}

}  // namespace

void paintIcon(cairo_t* cr, int w, int h) {
  const double s = std::min(w, h);
  const double inset = std::max(0.5, s * 0.03);
  // The tile: sky above, a strip of field below, so the icon reads on dark and light panels alike.
  roundedRectPath(cr, inset, inset, s - 2 * inset, s - 2 * inset, s * 0.2);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, s);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.62, 0.83, 0.98);
  cairo_pattern_add_color_stop_rgb(sky, 0.7, palette::kSky.r, palette::kSky.g, palette::kSky.b);
  cairo_set_source(cr, sky);
  cairo_fill(cr);
  cairo_pattern_destroy(sky);
  cairo_rectangle(cr, 0, s * 0.74, s, s * 0.26);
  setColour(cr, palette::kLeafGreen);
  cairo_fill(cr);
  cairo_restore(cr);
  roundedRectPath(cr, inset, inset, s - 2 * inset, s - 2 * inset, s * 0.2);
  setColour(cr, palette::kLeafDark);
  cairo_set_line_width(cr, std::max(1.0, s * 0.03));
  cairo_stroke(cr);

  // The ear leans to the right, its base low on the left.
  const double length = s * 0.72, width = s * 0.34, angle = 32;
  if (s >= kDetailedFrom) {
    drawEar(cr, s * 0.36, s * 0.86, length, width, angle, 7);
  } else {
    cairo_save(cr);
    cairo_translate(cr, s * 0.38, s * 0.86);
    cairo_rotate(cr, angle * 3.14159265358979 / 180);
    drawSimpleEar(cr, length, width, std::max(1.0, s * 0.06));
    cairo_restore(cr);
  }
}

bool writeIcons(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  bool ok = !ec;
  for (int size : kIconSizes) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    paintIcon(cr, size, size);
    cairo_destroy(cr);
    const std::string path = (folder / ("cornkeeper-" + std::to_string(size) + ".png")).string();
    ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS && ok;
    cairo_surface_destroy(surface);
  }
  const std::string svgPath = (folder / "cornkeeper.svg").string();
  cairo_surface_t* svg = cairo_svg_surface_create(svgPath.c_str(), kSvgSize, kSvgSize);
  cairo_t* cr = cairo_create(svg);
  paintIcon(cr, kSvgSize, kSvgSize);
  cairo_destroy(cr);
  cairo_surface_finish(svg);
  ok = cairo_surface_status(svg) == CAIRO_STATUS_SUCCESS && ok;
  cairo_surface_destroy(svg);
  if (!ok) std::fprintf(stderr, "cornkeeper-paint: could not write the icons in %s\n", folder.c_str());
  return ok;
}

}  // namespace pictures
