// A tiny pose-able model kit for the creature pictures: parts placed in 3-D around the figure's
// ground point, turned about the vertical axis for the facing, projected in the game's steep
// three-quarter view and painted back to front with cairo in a flat cartoon style.
#pragma once

#include <cairo.h>

#include <array>

namespace model3d {

// Model space: x forward (where the figure looks), y to the figure's right, z up; the origin is
// the ground point. One unit is one percent of the picture's width.
struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double k) {
  return {a.x * k, a.y * k, a.z * k};
}
inline Vec3 operator*(double k, Vec3 a) {
  return a * k;
}
double dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
Vec3 normalized(Vec3 a);
double length(Vec3 a);

// Rotations of a model-space vector, in degrees, about the model's axes.
Vec3 rotateX(Vec3 v, double degrees);  // roll: +y goes up (towards +z)
Vec3 rotateY(Vec3 v, double degrees);  // pitch: +x goes up (nose up)
Vec3 rotateZ(Vec3 v, double degrees);  // yaw: +x turns to the right (+y)

struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;
};

Rgb hex(unsigned rgb);
Rgb mix(Rgb a, Rgb b, double t);

// A flat colour with its one shade and one highlight.
struct Paint {
  Rgb base;
  Rgb shade;
  Rgb light;
  bool glossy = false;  // adds a small bright spot on round parts
};

Paint paintOf(Rgb base, bool glossy = false);
Paint paintOf(Rgb base, Rgb shade, Rgb light, bool glossy = false);

struct Look {
  double pitchDegrees;  // how far the camera looks down from the horizon
  double drawnSize;     // pixels the game draws the picture at, to size the outlines
  double groundX;       // ground point in the picture, in percent of its size
  double groundY;
  Rgb ink;       // outline colour
  double scale;  // model units per percent of the picture
};

class Scene {
 public:
  static constexpr int kMaxParts = 320;
  static constexpr int kMaxPoints = 16;

  Scene(cairo_t* cr, int size, const Look& look, double facingDegrees);

  // Each call returns the part's index (or -1 when the scene is full). A part is sorted by the
  // nearness of its sort point, which defaults to its centre.
  int ellipsoid(Vec3 centre, Vec3 axisA, Vec3 axisB, Vec3 axisC, const Paint& paint);
  int ball(Vec3 centre, Vec3 radii, const Paint& paint);
  int limb(Vec3 from, Vec3 to, double radiusFrom, double radiusTo, const Paint& paint);
  int polygon(const Vec3* points, int count, const Paint& paint);
  void setSortPoint(int part, Vec3 point);
  void nudge(int part, double nearer);  // small hand correction of the drawing order
  void setOutline(int part, bool silhouette, bool innerLine);

  // Details painted right after their parent, clipped to it, and left out when the surface
  // they lie on turns away from the viewer. `normal` is the outward surface direction.
  void decalDisc(int parent, Vec3 centre, Vec3 normal, Vec3 along, double radiusAlong, double radiusAcross,
                 const Paint& paint, bool inked);
  void decalPolygon(int parent, const Vec3* points, int count, Vec3 normal, const Paint& paint, bool inked);
  void decalLine(int parent, const Vec3* points, int count, Vec3 normal, Rgb colour, double widthPx,
                 bool dashed);

  void render();
  // Parts asked for beyond the scene's room are dropped; a model keeps this at zero.
  int droppedParts() const { return dropped_; }
  int partCount() const { return count_; }

 private:
  enum class Kind { Ellipse, Limb, Polygon, DecalEllipse, DecalPolygon, DecalLine };
  struct Point2 {
    double x;
    double y;
  };
  struct Part {
    Kind kind;
    Paint paint;
    double depth;
    int parent;
    bool silhouette;
    bool innerLine;
    bool inked;
    bool dashed;
    double width;
    // Ellipse: centre, rotation and radii; limb: two ends and radii; polygons: points.
    Point2 centre;
    double angle;
    double radiusA;
    double radiusB;
    Point2 ends[2];
    double endRadius[2];
    int pointCount;
    std::array<Point2, kMaxPoints> points;
  };

  Vec3 toWorld(Vec3 model) const;
  Point2 project(Vec3 world) const;
  double nearness(Vec3 world) const;
  bool facesViewer(Vec3 modelNormal) const;
  int addPart(const Part& part, Vec3 sortPoint);
  void projectEllipse(Part& part, Vec3 centre, Vec3 a, Vec3 b, Vec3 c) const;
  void tracePath(const Part& part) const;
  void fillShaded(const Part& part) const;
  void paintPart(const Part& part, double innerWidth) const;

  cairo_t* cr_;
  Look look_;
  double cosFacing_;
  double sinFacing_;
  double sinPitch_;
  double cosPitch_;
  int count_ = 0;
  int dropped_ = 0;
  std::array<Part, kMaxParts> parts_;
};

}  // namespace model3d
