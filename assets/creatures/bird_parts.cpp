#include "creatures/bird_parts.h"

#include <algorithm>
#include <cmath>

using namespace model3d;

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr int kMaxFingers = 5;
// Uneven finger lengths for a ruffled wing, fixed so every build paints the same bird.
constexpr double kRaggedPattern[kMaxFingers] = {0.6, -0.8, 1.0, -0.3, 0.7};

Vec3 spanDirection(double side, double angle, double sweep) {
  double a = angle * kRadiansPerDegree;
  double s = sweep * kRadiansPerDegree;
  return normalized({-std::sin(s), side * std::cos(a) * std::cos(s), std::sin(a) * std::cos(s)});
}

Vec3 lerp(Vec3 a, Vec3 b, double t) {
  return a + (b - a) * t;
}

}  // namespace

void addBirdWing(Scene& scene, const BodyFrame& body, const WingShape& w, const Paint& inner,
                 const Paint& tip) {
  auto place = [&](Vec3 local) { return body.at(local); };
  Vec3 back{-1, 0, 0};
  Vec3 innerDir = spanDirection(w.side, w.innerAngle, w.sweep);
  Vec3 outerDir = spanDirection(w.side, w.outerAngle, w.sweep * 1.8);
  Vec3 wristFront = w.rootFront + innerDir * w.innerSpan;
  Vec3 wristBack = wristFront + back * w.chord;
  Vec3 tipFront = wristFront + outerDir * w.outerSpan;

  // Wings come out of the bird's back: they sort as a point behind and beside the shoulder.
  Vec3 sortLocal = (w.rootFront + w.rootBack) * 0.5 + Vec3{-4, w.side * 2.5, -2};

  Vec3 innerPanel[] = {place(w.rootFront), place(wristFront), place(wristBack), place(w.rootBack)};
  int innerPart = scene.polygon(innerPanel, 4, inner);
  scene.setSortPoint(innerPart, place(sortLocal));

  Vec3 outer[Scene::kMaxPoints];
  int n = 0;
  outer[n++] = place(wristFront);
  outer[n++] = place(tipFront);
  int fingers = std::clamp(w.fingers, 1, kMaxFingers);
  Vec3 firstBase = tipFront + back * (w.chord * 0.25);
  for (int i = 0; i < fingers; ++i) {
    double t = fingers > 1 ? static_cast<double>(i) / fingers : 0.0;
    Vec3 base = lerp(firstBase, wristBack, t);
    double length = w.fingerLength * (1.0 - 0.35 * t) + w.ragged * kRaggedPattern[i];
    Vec3 reach = normalized(back * 1.0 + outerDir * (0.9 - 0.6 * t)) * std::max(1.0, length);
    outer[n++] = place(base + reach);
    Vec3 notch = lerp(firstBase, wristBack, t + 0.5 / fingers);
    outer[n++] = place(notch);
  }
  outer[n++] = place(wristBack);
  // A line of covert feathers across each panel keeps the wing from reading as flat card.
  Vec3 covert[] = {place(w.rootFront + back * (w.chord * 0.5)), place(wristFront + back * (w.chord * 0.5))};
  scene.decalLine(innerPart, covert, 2, {}, inner.shade, 1.0, false);
  int outerPart = scene.polygon(outer, std::min(n, Scene::kMaxPoints), tip);
  Vec3 primaries[] = {place(wristFront + back * (w.chord * 0.45)), place(firstBase + outerDir * -1.0)};
  scene.decalLine(outerPart, primaries, 2, {}, tip.shade, 1.0, false);
  scene.setSortPoint(outerPart, place(sortLocal + Vec3{0, w.side * 0.5, 0}));
  scene.nudge(outerPart, -0.01);
}
