// The field: grass, corn stalks in every state, the loose ear of corn and the soft ground shadow.
#include <algorithm>
#include <cmath>
#include <span>

#include "pictures/painters.h"

namespace pictures {
namespace {

constexpr double kDegToRad = M_PI / 180.0;

// Stalk pictures put their base at 85 % of the height, where the sprite's anchor lands.
constexpr double kStalkBaseY = 0.85;

struct PlantLook {
  Rgb leaf;
  Rgb stem;
  double droop;  // 0 upright .. 1 hanging
  double lean;   // sideways bend of the top, in units of the plant's height
};

// Withering runs from fresh green through yellow to dry brown.
constexpr PlantLook kPlantLooks[] = {
    {{0.36, 0.64, 0.20}, {0.42, 0.66, 0.22}, 0.0, 0.04},
    {{0.62, 0.66, 0.22}, {0.64, 0.66, 0.26}, 0.35, 0.10},
    {{0.66, 0.52, 0.24}, {0.66, 0.54, 0.28}, 0.65, 0.18},
    {{0.50, 0.36, 0.18}, {0.52, 0.38, 0.20}, 1.0, 0.28},
};

struct Point {
  double x, y;
};

Point stemPoint(double baseX, double baseY, double height, double lean, double t) {
  return {baseX + lean * height * t * t, baseY - height * t};
}

void drawLeaf(cairo_t* cr, Point root, double length, double width, double side, double lift, double droop,
              Rgb colour, double outline, double floorY) {
  // A blade rising out from the stem and arching over; droop pulls the tip down.
  const double up = lift * (1.0 - droop) - 0.25 * droop;
  // Even a hanging leaf stays above the ground point, where the stalk meets its shadow.
  const Point tip{root.x + side * length * (0.85 - 0.25 * droop),
                  std::min(floorY, root.y - length * up + length * 0.35 * droop)};
  const Point bend{root.x + side * length * 0.45,
                   root.y - length * (0.45 + 0.2 * lift) * (1.0 - 0.6 * droop)};
  cairo_move_to(cr, root.x, root.y - width * 0.6);
  cairo_curve_to(cr, bend.x, bend.y - width, bend.x + side * width, bend.y - width * 0.5, tip.x, tip.y);
  cairo_curve_to(cr, bend.x, bend.y + width * 0.8, bend.x - side * width, bend.y + width, root.x,
                 root.y + width * 0.6);
  cairo_close_path(cr);
  shadedFill(cr, colour, root.x - length, root.y - length, root.x + length, root.y + length * 0.3, outline);
  // Midrib
  cairo_move_to(cr, root.x, root.y);
  cairo_curve_to(cr, bend.x, bend.y, bend.x, bend.y, tip.x, tip.y);
  setColour(cr, darker(colour, 0.3), 0.7);
  cairo_set_line_width(cr, outline * 0.5);
  cairo_stroke(cr);
}

struct PlantShape {
  double height;     // base to tassel
  double leafReach;  // leaf length as a fraction of the height
  double earLength;
  double lighten;  // towards white, for plants far in the background
  bool slim;       // a field stalk: few narrow leaves and ears close to the stem
};

struct LeafSpot {
  double t, side, lengthFactor, lift;
};
constexpr LeafSpot kFullLeaves[] = {{0.16, -1, 0.50, 0.15}, {0.30, 1, 0.55, 0.35},  {0.46, -1, 0.50, 0.45},
                                    {0.60, 1, 0.44, 0.55},  {0.74, -1, 0.36, 0.65}, {0.86, 1, 0.26, 0.75}};
// Field stalks stand 76 px apart with figures walking between them: four steep blades, no more.
constexpr LeafSpot kSlimLeaves[] = {
    {0.10, -1, 0.36, 0.5}, {0.20, 1, 0.36, 0.6}, {0.66, -1, 0.26, 0.85}, {0.78, 1, 0.22, 0.9}};

struct EarSpot {
  double t, angle;
};
constexpr EarSpot kFullEars[] = {{0.40, 30}, {0.50, -32}, {0.62, 22}};
constexpr EarSpot kSlimEars[] = {{0.28, 16}, {0.38, -16}, {0.48, 12}};

void drawPlant(cairo_t* cr, double baseX, double baseY, const PlantShape& shape, int ears, int wither,
               double scale, uint32_t seed) {
  const double height = shape.height;
  PlantLook look = kPlantLooks[wither];
  look.leaf = lighter(look.leaf, shape.lighten);
  look.stem = lighter(look.stem, shape.lighten);
  Scatter scatter(seed);
  const double outline = 1.6 * scale;
  const double lean = look.lean;
  // Leaves behind the stem first (left side), then the stem, then the front leaves and the ears.
  const std::span<const LeafSpot> leaves =
      shape.slim ? std::span<const LeafSpot>(kSlimLeaves) : std::span<const LeafSpot>(kFullLeaves);
  const double stemBase = shape.slim ? 3.4 : 5.0, stemTaper = shape.slim ? 1.6 : 2.8;
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      // Tapering stem drawn as a filled band.
      const int steps = 24;
      for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const Point p = stemPoint(baseX, baseY, height, lean, t);
        const double half = (stemBase - stemTaper * t) * scale;
        if (i == 0) {
          cairo_move_to(cr, p.x - half, p.y);
        } else {
          cairo_line_to(cr, p.x - half, p.y);
        }
      }
      for (int i = steps; i >= 0; --i) {
        const double t = static_cast<double>(i) / steps;
        const Point p = stemPoint(baseX, baseY, height, lean, t);
        const double half = (stemBase - stemTaper * t) * scale;
        cairo_line_to(cr, p.x + half, p.y);
      }
      cairo_close_path(cr);
      shadedFill(cr, look.stem, baseX - 6 * scale, 0, baseX + 6 * scale, 0, outline);
      // Tassel at the top.
      const Point top = stemPoint(baseX, baseY, height, lean, 1.0);
      const Rgb tassel = mix(palette::kStraw, look.stem, 0.2 * wither);
      for (int k = -2; k <= 2; ++k) {
        const double a = (k * 22.0 + lean * 60.0) * kDegToRad;
        const double len = (9.0 - std::abs(k) * 1.2) * scale;
        cairo_move_to(cr, top.x, top.y + 2 * scale);
        cairo_line_to(cr, top.x + std::sin(a) * len, top.y - std::cos(a) * len + std::abs(k) * 2 * scale);
        setColour(cr, palette::kOutline);
        cairo_set_line_width(cr, 3.2 * scale);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke_preserve(cr);
        setColour(cr, tassel);
        cairo_set_line_width(cr, 1.4 * scale);
        cairo_stroke(cr);
      }
    }
    for (const LeafSpot& leaf : leaves) {
      const bool behind = leaf.side < 0;
      if ((pass == 0) != behind) continue;
      const Point root = stemPoint(baseX, baseY, height, lean, leaf.t);
      const double jitter = scatter.range(0.9, 1.1);
      drawLeaf(cr, root, height * leaf.lengthFactor * shape.leafReach * jitter,
               (shape.slim ? 3.0 : 4.6) * scale, leaf.side, leaf.lift, look.droop,
               behind ? darker(look.leaf, 0.12) : look.leaf, outline, baseY - 6 * scale);
    }
  }
  const EarSpot* kEars = shape.slim ? kSlimEars : kFullEars;
  for (int i = 0; i < ears; ++i) {
    const Point root = stemPoint(baseX, baseY, height, lean, kEars[i].t);
    drawEar(cr, root.x + (kEars[i].angle > 0 ? 2 : -2) * scale, root.y, shape.earLength,
            shape.earLength * 0.4, kEars[i].angle, seed + 17 * i);
  }
}

void paintStalk(cairo_t* cr, int w, int h, int ears, int wither) {
  const double scale = w / 128.0;
  // Neighbouring stalks stand 76 px apart on screen at 200 px, so the leaves keep close to the stem.
  const PlantShape shape{h * 0.6, 0.9, h * 0.21, 0.0, true};
  drawPlant(cr, w * 0.5, h * kStalkBaseY, shape, ears, wither, scale, 1234 + ears * 7 + wither * 31);
}

}  // namespace

void drawEar(cairo_t* cr, double x, double y, double length, double width, double angle, uint32_t seed) {
  Scatter scatter(seed);
  const double outline = std::max(1.2, width * 0.11);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle * kDegToRad);
  const double half = width / 2;
  // The cob.
  auto cobPath = [&] {
    cairo_move_to(cr, -half * 0.75, -length * 0.05);
    cairo_curve_to(cr, -half * 1.05, -length * 0.40, -half * 0.95, -length * 0.80, 0, -length);
    cairo_curve_to(cr, half * 0.95, -length * 0.80, half * 1.05, -length * 0.40, half * 0.75, -length * 0.05);
    cairo_close_path(cr);
  };
  cobPath();
  shadedFill(cr, palette::kCornYellow, -half, -length, half, 0, 0);
  // Kernels in staggered rows, clipped to the cob.
  cairo_save(cr);
  cobPath();
  cairo_clip(cr);
  const double kernel = std::max(1.5, width / 5.0);
  const int rows = static_cast<int>(length / (kernel * 0.95));
  for (int r = 0; r < rows; ++r) {
    const double ky = -length * 0.05 - r * kernel * 0.95;
    const double offset = (r % 2) * kernel * 0.5;
    for (double kx = -half - offset; kx <= half + kernel; kx += kernel) {
      const double shade = 1.0 - 0.45 * std::pow(std::abs(kx) / half, 2.0);
      const Rgb c = mix(palette::kCornDeep, palette::kCornYellow, std::clamp(shade, 0.0, 1.0));
      ellipsePath(cr, kx, ky, kernel * 0.46, kernel * 0.44);
      setColour(cr, c);
      cairo_fill_preserve(cr);
      setColour(cr, darker(palette::kCornDeep, 0.25), 0.6);
      cairo_set_line_width(cr, std::max(0.4, kernel * 0.14));
      cairo_stroke(cr);
      if (kernel > 3) {
        ellipsePath(cr, kx - kernel * 0.15, ky - kernel * 0.15, kernel * 0.14, kernel * 0.12);
        setColour(cr, palette::kCream, 0.8);
        cairo_fill(cr);
      }
    }
  }
  cairo_restore(cr);
  cobPath();
  setColour(cr, palette::kOutline);
  cairo_set_line_width(cr, outline);
  cairo_stroke(cr);
  // A stub of stalk, then two pointed husk leaves hugging the sides of the cob.
  cairo_rectangle(cr, -half * 0.22, 0, half * 0.44, length * 0.12);
  shadedFill(cr, palette::kHuskGreen, -half, 0, half, length * 0.12, outline);
  for (int side = -1; side <= 1; side += 2) {
    const double reach = length * scatter.range(0.50, 0.60);
    cairo_move_to(cr, -side * half * 0.2, length * 0.04);
    cairo_curve_to(cr, side * half * 1.3, -length * 0.02, side * half * 1.25, -reach * 0.55,
                   side * half * 0.7, -reach);
    cairo_curve_to(cr, side * half * 0.55, -reach * 0.5, side * half * 0.05, -length * 0.12,
                   -side * half * 0.2, length * 0.04);
    cairo_close_path(cr);
    shadedFill(cr, side < 0 ? palette::kHuskGreen : darker(palette::kHuskGreen, 0.1), -half, -reach, half,
               length * 0.1, outline);
  }
  cairo_restore(cr);
}

void paintGrass(cairo_t* cr, int w, int h) {
  cairo_pattern_t* ground = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(ground, 0, 0.42, 0.62, 0.24);
  cairo_pattern_add_color_stop_rgb(ground, 1, 0.48, 0.70, 0.28);
  cairo_set_source(cr, ground);
  cairo_paint(cr);
  cairo_pattern_destroy(ground);
  Scatter scatter(20240611);
  // Soft earth rows: the field is ploughed across.
  const int rows = 11;
  for (int r = 0; r < rows; ++r) {
    const double y = (r + 0.5) * h / rows;
    cairo_pattern_t* band = cairo_pattern_create_linear(0, y - 14, 0, y + 14);
    cairo_pattern_add_color_stop_rgba(band, 0, 0.45, 0.36, 0.20, 0);
    cairo_pattern_add_color_stop_rgba(band, 0.5, 0.45, 0.36, 0.20, 0.22);
    cairo_pattern_add_color_stop_rgba(band, 1, 0.45, 0.36, 0.20, 0);
    cairo_set_source(cr, band);
    cairo_rectangle(cr, 0, y - 14, w, 28);
    cairo_fill(cr);
    cairo_pattern_destroy(band);
  }
  // Patches of lighter and darker grass break up the flat colour.
  for (int i = 0; i < 60; ++i) {
    const double x = scatter.range(0, w), y = scatter.range(0, h);
    const double r = scatter.range(20, 60);
    cairo_pattern_t* patch = cairo_pattern_create_radial(x, y, 0, x, y, r);
    const bool light = scatter.next() < 0.5;
    const double a = scatter.range(0.05, 0.12);
    cairo_pattern_add_color_stop_rgba(patch, 0, light ? 0.7 : 0.2, light ? 0.85 : 0.4, light ? 0.4 : 0.1, a);
    cairo_pattern_add_color_stop_rgba(patch, 1, 0.5, 0.7, 0.3, 0);
    cairo_set_source(cr, patch);
    ellipsePath(cr, x, y, r, r * 0.6);
    cairo_fill(cr);
    cairo_pattern_destroy(patch);
  }
  // Tufts of short blades.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < 2600; ++i) {
    const double x = scatter.range(0, w), y = scatter.range(0, h);
    const double len = scatter.range(3, 7);
    const double tone = scatter.next();
    const Rgb c = tone < 0.5 ? mix(Rgb{0.30, 0.52, 0.16}, Rgb{0.40, 0.62, 0.22}, tone * 2)
                             : mix(Rgb{0.52, 0.74, 0.30}, Rgb{0.62, 0.80, 0.36}, tone * 2 - 1);
    setColour(cr, c, 0.85);
    cairo_set_line_width(cr, 1.3);
    for (int b = -1; b <= 1; ++b) {
      cairo_move_to(cr, x + b * 1.5, y);
      cairo_line_to(cr, x + b * 2.5 + scatter.range(-1, 1), y - len * (b == 0 ? 1.0 : 0.75));
    }
    cairo_stroke(cr);
  }
  // A few tiny flowers.
  for (int i = 0; i < 40; ++i) {
    const double x = scatter.range(4, w - 4), y = scatter.range(4, h - 4);
    const bool yellow = scatter.next() < 0.6;
    setColour(cr, yellow ? Rgb{1.0, 0.88, 0.3} : Rgb{1.0, 1.0, 0.95}, 0.9);
    ellipsePath(cr, x, y, 1.6, 1.3);
    cairo_fill(cr);
  }
}

void paintStalk3(cairo_t* cr, int w, int h) {
  paintStalk(cr, w, h, 3, 0);
}
void paintStalk2(cairo_t* cr, int w, int h) {
  paintStalk(cr, w, h, 2, 0);
}
void paintStalk1(cairo_t* cr, int w, int h) {
  paintStalk(cr, w, h, 1, 0);
}
void paintStalk0(cairo_t* cr, int w, int h) {
  paintStalk(cr, w, h, 0, 0);
}
void paintStalk0b(cairo_t* cr, int w, int h) {
  paintStalk(cr, w, h, 0, 1);
}
void paintStalk0c(cairo_t* cr, int w, int h) {
  paintStalk(cr, w, h, 0, 2);
}
void paintStalk0d(cairo_t* cr, int w, int h) {
  paintStalk(cr, w, h, 0, 3);
}

void paintCorn(cairo_t* cr, int w, int h) {
  // Big and bold: the game shows it at 40 px. Its husked base sits on the bottom centre.
  drawEar(cr, w * 0.42, h * 0.86, h * 0.76, w * 0.36, 16, 99);
}

void paintShadow(cairo_t* cr, int w, int h) {
  // Wider than tall, darkest in the middle and fading to nothing before the edge. Pure black, so the
  // game's untinted half-opacity shadows vanish once the world has faded to black.
  const double cx = w / 2.0, cy = h / 2.0;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 1.0, 0.62);
  cairo_pattern_t* soft = cairo_pattern_create_radial(0, 0, 0, 0, 0, w * 0.47);
  cairo_pattern_add_color_stop_rgba(soft, 0.0, 0, 0, 0, 0.85);
  cairo_pattern_add_color_stop_rgba(soft, 0.5, 0, 0, 0, 0.65);
  cairo_pattern_add_color_stop_rgba(soft, 1.0, 0, 0, 0, 0.0);
  cairo_set_source(cr, soft);
  cairo_arc(cr, 0, 0, w * 0.47, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(soft);
  cairo_restore(cr);
}

void paintTitleCorn(cairo_t* cr, int w, int h) {
  const double scale = w / 128.0;
  drawPlant(cr, w * 0.5, h * 0.99, PlantShape{h * 0.92, 1.0, h * 0.30, 0.0, false}, 3, 0, scale, 777);
}

void paintMiniStalk(cairo_t* cr, int w, int h) {
  // Slim and earless: dozens stand behind the title, and they should not compete with it.
  const double scale = w / 128.0 * 0.9;
  drawPlant(cr, w * 0.5, h * 0.99, PlantShape{h * 0.93, 0.6, 0, 0.3, true}, 0, 0, scale, 4321);
}

}  // namespace pictures
