#include "creatures/model3d.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace model3d {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180.0;

// Outline thicknesses in pixels at the size the game draws the picture.
constexpr double kSilhouettePx = 2.4;
constexpr double kInnerLinePx = 1.1;

// The light falls from the upper left of the screen and from above: in world space that is
// towards -X (left), -Y (up the screen) and +Z.
constexpr Vec3 kLight{-0.52, -0.42, 0.74};
// The same light as a direction on the picture, for the round parts.
constexpr double kLightScreenX = -0.6;
constexpr double kLightScreenY = -0.8;

// Parts thinner than this on the picture are kept visible as a sliver.
constexpr double kMinRadius = 0.25;
// A decal whose surface turns away further than this is left out.
constexpr double kDecalFacingLimit = 0.08;

double clamp01(double v) {
  return std::min(1.0, std::max(0.0, v));
}

void setColour(cairo_t* cr, Rgb c) {
  cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

void addStop(cairo_pattern_t* pattern, double offset, Rgb c, double alpha = 1.0) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, alpha);
}

}  // namespace

double dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(Vec3 a) {
  return std::sqrt(dot(a, a));
}
Vec3 normalized(Vec3 a) {
  double len = length(a);
  return len > 1e-12 ? a * (1.0 / len) : Vec3{0, 0, 1};
}

Vec3 rotateX(Vec3 v, double degrees) {
  double c = std::cos(degrees * kRadiansPerDegree);
  double s = std::sin(degrees * kRadiansPerDegree);
  return {v.x, v.y * c - v.z * s, v.y * s + v.z * c};
}

Vec3 rotateY(Vec3 v, double degrees) {
  double c = std::cos(degrees * kRadiansPerDegree);
  double s = std::sin(degrees * kRadiansPerDegree);
  return {v.x * c - v.z * s, v.y, v.x * s + v.z * c};
}

Vec3 rotateZ(Vec3 v, double degrees) {
  double c = std::cos(degrees * kRadiansPerDegree);
  double s = std::sin(degrees * kRadiansPerDegree);
  return {v.x * c - v.y * s, v.x * s + v.y * c, v.z};
}

Rgb hex(unsigned rgb) {
  return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0};
}

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Paint paintOf(Rgb base, bool glossy) {
  // Shades lean a little towards violet, highlights towards warm white: late-summer light.
  Rgb shade = mix(mix(base, hex(0x2a1f3d), 0.38), Rgb{0, 0, 0}, 0.12);
  Rgb light = mix(base, hex(0xfff6dc), 0.42);
  return {base, shade, light, glossy};
}

Paint paintOf(Rgb base, Rgb shade, Rgb light, bool glossy) {
  return {base, shade, light, glossy};
}

Scene::Scene(cairo_t* cr, int size, const Look& look, double facingDegrees)
    : cr_(cr),
      look_(look),
      cosFacing_(std::cos(facingDegrees * kRadiansPerDegree)),
      sinFacing_(std::sin(facingDegrees * kRadiansPerDegree)),
      sinPitch_(std::sin(look.pitchDegrees * kRadiansPerDegree)),
      cosPitch_(std::cos(look.pitchDegrees * kRadiansPerDegree)) {
  cairo_save(cr_);
  cairo_scale(cr_, size / 100.0, size / 100.0);
}

Vec3 Scene::toWorld(Vec3 m) const {
  // Forward is (cos, sin) on the ground, the figure's right is a quarter turn clockwise on screen.
  double k = look_.scale;
  return {k * (m.x * cosFacing_ - m.y * sinFacing_), k * (m.x * sinFacing_ + m.y * cosFacing_), k * m.z};
}

Scene::Point2 Scene::project(Vec3 w) const {
  return {look_.groundX + w.x, look_.groundY + w.y * sinPitch_ - w.z * cosPitch_};
}

double Scene::nearness(Vec3 w) const {
  return w.y * cosPitch_ + w.z * sinPitch_;
}

bool Scene::facesViewer(Vec3 modelNormal) const {
  // Details on thin two-sided parts (wings) pass no normal: they show from either side.
  if (length(modelNormal) < 1e-9) return true;
  return nearness(normalized(toWorld(modelNormal))) > kDecalFacingLimit;
}

int Scene::addPart(const Part& part, Vec3 sortPoint) {
  if (count_ >= kMaxParts) {
    ++dropped_;
    return -1;
  }
  Part& p = parts_[count_];
  p = part;
  p.depth = nearness(toWorld(sortPoint));
  return count_++;
}

void Scene::projectEllipse(Part& part, Vec3 centre, Vec3 a, Vec3 b, Vec3 c) const {
  // The outline of an ellipsoid under parallel projection is the ellipse whose shape matrix is
  // the sum of the projected axes' outer products.
  double sxx = 0;
  double sxy = 0;
  double syy = 0;
  for (Vec3 axis : {a, b, c}) {
    Point2 q = project(toWorld(axis));
    q.x -= look_.groundX;
    q.y -= look_.groundY;
    sxx += q.x * q.x;
    sxy += q.x * q.y;
    syy += q.y * q.y;
  }
  double mean = (sxx + syy) / 2;
  double spread = std::sqrt((sxx - syy) * (sxx - syy) / 4 + sxy * sxy);
  part.centre = project(toWorld(centre));
  part.angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
  part.radiusA = std::max(kMinRadius, std::sqrt(std::max(0.0, mean + spread)));
  part.radiusB = std::max(kMinRadius, std::sqrt(std::max(0.0, mean - spread)));
}

int Scene::ellipsoid(Vec3 centre, Vec3 axisA, Vec3 axisB, Vec3 axisC, const Paint& paint) {
  Part p{};
  p.kind = Kind::Ellipse;
  p.paint = paint;
  p.parent = -1;
  p.silhouette = true;
  p.innerLine = true;
  projectEllipse(p, centre, axisA, axisB, axisC);
  return addPart(p, centre);
}

int Scene::ball(Vec3 centre, Vec3 radii, const Paint& paint) {
  return ellipsoid(centre, {radii.x, 0, 0}, {0, radii.y, 0}, {0, 0, radii.z}, paint);
}

int Scene::limb(Vec3 from, Vec3 to, double radiusFrom, double radiusTo, const Paint& paint) {
  Part p{};
  p.kind = Kind::Limb;
  p.paint = paint;
  p.parent = -1;
  p.silhouette = true;
  p.innerLine = true;
  p.ends[0] = project(toWorld(from));
  p.ends[1] = project(toWorld(to));
  p.endRadius[0] = std::max(kMinRadius, radiusFrom * look_.scale);
  p.endRadius[1] = std::max(kMinRadius, radiusTo * look_.scale);
  return addPart(p, (from + to) * 0.5);
}

int Scene::polygon(const Vec3* points, int count, const Paint& paint) {
  count = std::min(count, kMaxPoints);
  if (count < 3) return -1;
  Part p{};
  p.kind = Kind::Polygon;
  p.parent = -1;
  p.silhouette = true;
  p.innerLine = true;
  Vec3 centre{};
  Vec3 normal{};  // Newell's method, in world space
  for (int i = 0; i < count; ++i) {
    Vec3 w = toWorld(points[i]);
    Vec3 next = toWorld(points[(i + 1) % count]);
    normal.x += (w.y - next.y) * (w.z + next.z);
    normal.y += (w.z - next.z) * (w.x + next.x);
    normal.z += (w.x - next.x) * (w.y + next.y);
    centre = centre + points[i];
    p.points[i] = project(w);
  }
  p.pointCount = count;
  normal = normalized(normal);
  if (nearness(normal) < 0) normal = normal * -1.0;
  // One flat colour per face, picked from the paint's three tones by how it meets the light.
  double lit = dot(normal, normalized(kLight));
  p.paint = paint;
  if (lit >= 0.55) {
    p.paint.base = mix(paint.base, paint.light, clamp01((lit - 0.55) / 0.45) * 0.7);
  } else {
    p.paint.base = mix(paint.shade, paint.base, clamp01((lit + 0.25) / 0.8));
  }
  return addPart(p, centre * (1.0 / count));
}

void Scene::setSortPoint(int part, Vec3 point) {
  if (part >= 0) parts_[part].depth = nearness(toWorld(point));
}

void Scene::nudge(int part, double nearer) {
  if (part >= 0) parts_[part].depth += nearer;
}

void Scene::setOutline(int part, bool silhouette, bool innerLine) {
  if (part < 0) return;
  parts_[part].silhouette = silhouette;
  parts_[part].innerLine = innerLine;
}

void Scene::decalDisc(int parent, Vec3 centre, Vec3 normal, Vec3 along, double radiusAlong,
                      double radiusAcross, const Paint& paint, bool inked) {
  if (parent < 0 || !facesViewer(normal)) return;
  Vec3 n = normalized(normal);
  Vec3 u = normalized(along - n * dot(along, n));
  Vec3 v = cross(n, u);
  Part p{};
  p.kind = Kind::DecalEllipse;
  p.paint = paint;
  p.parent = parent;
  p.inked = inked;
  projectEllipse(p, centre, u * radiusAlong, v * radiusAcross, n * 0.01);
  addPart(p, centre);
}

void Scene::decalPolygon(int parent, const Vec3* points, int count, Vec3 normal, const Paint& paint,
                         bool inked) {
  count = std::min(count, kMaxPoints);
  if (parent < 0 || count < 3 || !facesViewer(normal)) return;
  Part p{};
  p.kind = Kind::DecalPolygon;
  p.paint = paint;
  p.parent = parent;
  p.inked = inked;
  for (int i = 0; i < count; ++i) p.points[i] = project(toWorld(points[i]));
  p.pointCount = count;
  addPart(p, points[0]);
}

void Scene::decalLine(int parent, const Vec3* points, int count, Vec3 normal, Rgb colour, double widthPx,
                      bool dashed) {
  count = std::min(count, kMaxPoints);
  if (parent < 0 || count < 2 || !facesViewer(normal)) return;
  Part p{};
  p.kind = Kind::DecalLine;
  p.paint = paintOf(colour);
  p.parent = parent;
  p.dashed = dashed;
  p.width = widthPx * 100.0 / look_.drawnSize;
  for (int i = 0; i < count; ++i) p.points[i] = project(toWorld(points[i]));
  p.pointCount = count;
  addPart(p, points[0]);
}

void Scene::tracePath(const Part& p) const {
  cairo_new_path(cr_);
  switch (p.kind) {
    case Kind::Ellipse:
    case Kind::DecalEllipse:
      cairo_save(cr_);
      cairo_translate(cr_, p.centre.x, p.centre.y);
      cairo_rotate(cr_, p.angle);
      cairo_scale(cr_, p.radiusA, p.radiusB);
      cairo_arc(cr_, 0, 0, 1, 0, 2 * kPi);
      cairo_restore(cr_);
      cairo_close_path(cr_);
      break;
    case Kind::Limb: {
      // The hull of the two end circles: a capsule that may taper.
      double dx = p.ends[1].x - p.ends[0].x;
      double dy = p.ends[1].y - p.ends[0].y;
      double len = std::sqrt(dx * dx + dy * dy);
      double r0 = p.endRadius[0];
      double r1 = p.endRadius[1];
      if (len <= std::fabs(r0 - r1) + 1e-6) {
        int big = r0 >= r1 ? 0 : 1;
        cairo_arc(cr_, p.ends[big].x, p.ends[big].y, p.endRadius[big], 0, 2 * kPi);
      } else {
        double theta = std::atan2(dy, dx);
        double alpha = std::acos((r0 - r1) / len);
        cairo_arc(cr_, p.ends[1].x, p.ends[1].y, r1, theta - alpha, theta + alpha);
        cairo_arc(cr_, p.ends[0].x, p.ends[0].y, r0, theta + alpha, theta + 2 * kPi - alpha);
      }
      cairo_close_path(cr_);
      break;
    }
    case Kind::Polygon:
    case Kind::DecalPolygon:
    case Kind::DecalLine:
      cairo_move_to(cr_, p.points[0].x, p.points[0].y);
      for (int i = 1; i < p.pointCount; ++i) cairo_line_to(cr_, p.points[i].x, p.points[i].y);
      if (p.kind != Kind::DecalLine) cairo_close_path(cr_);
      break;
  }
}

void Scene::fillShaded(const Part& p) const {
  const Paint& paint = p.paint;
  if (p.kind == Kind::Ellipse) {
    // In the ellipse's own unit circle: the shade gathers on the side away from the light.
    cairo_matrix_t toUnit;
    cairo_matrix_init_translate(&toUnit, p.centre.x, p.centre.y);
    cairo_matrix_rotate(&toUnit, p.angle);
    cairo_matrix_scale(&toUnit, p.radiusA, p.radiusB);
    cairo_matrix_invert(&toUnit);
    double ux = kLightScreenX;
    double uy = kLightScreenY;
    cairo_matrix_transform_distance(&toUnit, &ux, &uy);
    double ulen = std::sqrt(ux * ux + uy * uy);
    ux /= ulen;
    uy /= ulen;
    cairo_pattern_t* body =
        cairo_pattern_create_radial(ux * 0.22, uy * 0.22, 0.0, ux * 0.22, uy * 0.22, 1.22);
    addStop(body, 0.0, paint.base);
    addStop(body, 0.62, paint.base);
    addStop(body, 0.93, paint.shade);
    addStop(body, 1.0, paint.shade);
    cairo_pattern_set_matrix(body, &toUnit);
    cairo_set_source(cr_, body);
    cairo_fill_preserve(cr_);
    cairo_pattern_destroy(body);
    if (paint.glossy) {
      cairo_pattern_t* spot = cairo_pattern_create_radial(ux * 0.5, uy * 0.5, 0.0, ux * 0.5, uy * 0.5, 0.42);
      addStop(spot, 0.0, paint.light, 0.95);
      addStop(spot, 0.45, paint.light, 0.55);
      addStop(spot, 1.0, paint.light, 0.0);
      cairo_pattern_set_matrix(spot, &toUnit);
      cairo_set_source(cr_, spot);
      cairo_fill_preserve(cr_);
      cairo_pattern_destroy(spot);
    }
    return;
  }
  if (p.kind == Kind::Limb) {
    // Across the limb, from its lit edge to its shaded edge.
    double dx = p.ends[1].x - p.ends[0].x;
    double dy = p.ends[1].y - p.ends[0].y;
    double len = std::sqrt(dx * dx + dy * dy);
    double nx = len > 1e-9 ? -dy / len : 0.0;
    double ny = len > 1e-9 ? dx / len : 1.0;
    if (nx * -kLightScreenX + ny * -kLightScreenY < 0) {
      nx = -nx;
      ny = -ny;
    }
    double mx = (p.ends[0].x + p.ends[1].x) / 2;
    double my = (p.ends[0].y + p.ends[1].y) / 2;
    double r = std::max(p.endRadius[0], p.endRadius[1]);
    cairo_pattern_t* across = cairo_pattern_create_linear(mx - nx * r, my - ny * r, mx + nx * r, my + ny * r);
    if (paint.glossy) {
      addStop(across, 0.0, paint.base);
      addStop(across, 0.2, paint.light);
      addStop(across, 0.38, paint.base);
    } else {
      addStop(across, 0.0, paint.base);
    }
    addStop(across, 0.6, paint.base);
    addStop(across, 0.95, paint.shade);
    cairo_set_source(cr_, across);
    cairo_fill_preserve(cr_);
    cairo_pattern_destroy(across);
    return;
  }
  setColour(cr_, paint.base);
  cairo_fill_preserve(cr_);
}

void Scene::paintPart(const Part& p, double innerWidth) const {
  if (p.kind == Kind::DecalLine) {
    tracePath(p);
    setColour(cr_, p.paint.base);
    cairo_set_line_width(cr_, p.width);
    if (p.dashed) {
      double dashes[] = {p.width * 1.6, p.width * 1.4};
      cairo_set_dash(cr_, dashes, 2, 0);
    }
    cairo_stroke(cr_);
    cairo_set_dash(cr_, nullptr, 0, 0);
    return;
  }
  tracePath(p);
  fillShaded(p);
  bool line = p.kind == Kind::DecalEllipse || p.kind == Kind::DecalPolygon ? p.inked : p.innerLine;
  if (line) {
    setColour(cr_, look_.ink);
    cairo_set_line_width(cr_, innerWidth);
    cairo_stroke(cr_);
  } else {
    cairo_new_path(cr_);
  }
}

void Scene::render() {
  if (dropped_ > 0) std::fprintf(stderr, "creature model: %d parts did not fit the scene\n", dropped_);
  double unitsPerPx = 100.0 / look_.drawnSize;
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);

  std::array<int, kMaxParts> order{};
  int figures = 0;
  for (int i = 0; i < count_; ++i) {
    if (parts_[i].parent < 0) order[figures++] = i;
  }
  std::stable_sort(order.begin(), order.begin() + figures,
                   [this](int a, int b) { return parts_[a].depth < parts_[b].depth; });

  // First the whole figure's silhouette, grown by the outline, in ink; the fills then leave a
  // thick outer line and thin lines where parts overlap.
  setColour(cr_, look_.ink);
  cairo_set_line_width(cr_, 2 * kSilhouettePx * unitsPerPx);
  for (int k = 0; k < figures; ++k) {
    const Part& p = parts_[order[k]];
    if (!p.silhouette) continue;
    tracePath(p);
    cairo_stroke_preserve(cr_);
    cairo_fill(cr_);
  }

  double innerWidth = kInnerLinePx * unitsPerPx;
  for (int k = 0; k < figures; ++k) {
    int index = order[k];
    paintPart(parts_[index], innerWidth);
    bool clipped = false;
    for (int d = index + 1; d < count_; ++d) {
      if (parts_[d].parent != index) continue;
      if (!clipped) {
        cairo_save(cr_);
        tracePath(parts_[index]);
        cairo_clip(cr_);
        clipped = true;
      }
      paintPart(parts_[d], innerWidth * 0.8);
    }
    if (clipped) cairo_restore(cr_);
  }
  cairo_restore(cr_);
}

}  // namespace model3d
