// Shared drawing helpers for the pictures: the palette, outlined and shaded shapes, and lettering.
#pragma once

#include <cairo.h>

#include <cstdint>

namespace pictures {

struct Rgb {
  double r, g, b;
};

namespace palette {
inline constexpr Rgb kOutline{0.16, 0.10, 0.06};
inline constexpr Rgb kCornYellow{1.00, 0.82, 0.22};
inline constexpr Rgb kCornDeep{0.93, 0.62, 0.10};
inline constexpr Rgb kHuskGreen{0.52, 0.72, 0.26};
inline constexpr Rgb kLeafGreen{0.36, 0.62, 0.20};
inline constexpr Rgb kLeafDark{0.22, 0.44, 0.14};
inline constexpr Rgb kStraw{0.93, 0.80, 0.45};
inline constexpr Rgb kWood{0.62, 0.40, 0.22};
inline constexpr Rgb kWoodDark{0.42, 0.26, 0.14};
inline constexpr Rgb kWoodLight{0.78, 0.56, 0.32};
inline constexpr Rgb kSky{0.55, 0.78, 0.96};
inline constexpr Rgb kRed{0.86, 0.18, 0.14};
inline constexpr Rgb kWhite{1.0, 1.0, 1.0};
inline constexpr Rgb kCream{1.0, 0.96, 0.84};
inline constexpr Rgb kParchment{0.98, 0.92, 0.76};
inline constexpr Rgb kInk{0.20, 0.13, 0.08};
inline constexpr Rgb kSunOrange{1.0, 0.66, 0.12};
}  // namespace palette

Rgb mix(Rgb a, Rgb b, double t);
Rgb lighter(Rgb c, double t);  // towards white
Rgb darker(Rgb c, double t);   // towards black

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius);

// Fills the current path with a flat colour lit from the upper left (highlight there, shade at the
// lower right, over the given box), then strokes the dark outline. The path is consumed.
void shadedFill(cairo_t* cr, Rgb base, double x0, double y0, double x1, double y1, double outline);
// A ribbon across the whole picture with notched ends.
void bannerPlate(cairo_t* cr, int w, int h, Rgb colour, double notch = 14);
void flatFill(cairo_t* cr, Rgb base, double outline);

enum class Align : uint8_t { Left, Centre, Right };

struct TextStyle {
  const char* family;
  double pixelSize;
  bool bold;
  Rgb fill;
  Rgb outline;
  double outlineWidth;  // 0: no outline
  Rgb fillBottom;       // the fill runs from fill at the top to this at the bottom
};

struct TextBox {
  double x, y, width, height;  // ink extents in picture pixels
};

// Measures the ink of the text as it would be drawn with its pen at (0, 0).
TextBox measureText(cairo_t* cr, const char* text, const TextStyle& style);
// Draws the text with the ink box's left, centre or right at x and its vertical centre at y.
// Returns the ink box drawn.
TextBox drawText(cairo_t* cr, const char* text, const TextStyle& style, double x, double y, Align align);
// Wraps Pango markup into the width with its top-left at (x, y); returns the height used.
double drawParagraph(cairo_t* cr, const char* markup, const char* family, double pixelSize, Rgb colour,
                     double x, double y, double width);
// Shrinks the style until the ink fits the width.
TextStyle fitText(cairo_t* cr, const char* text, TextStyle style, double maxWidth);

// A small deterministic random source for scattering grass, grain and kernels.
class Scatter {
 public:
  explicit Scatter(uint32_t seed) : state_(seed) {}
  double next();  // 0 .. 1
  double range(double lo, double hi) { return lo + (hi - lo) * next(); }

 private:
  uint32_t state_;
};

// Paints another picture painter into a box of this one, scaled from its own size.
using Painter = void (*)(cairo_t* cr, int width, int height);
void paintInset(cairo_t* cr, Painter painter, int width, int height, double x, double y, double scale);

}  // namespace pictures
