// The cow: black-and-white patched, pink muzzle, short horns, walking on four legs.
#include <cmath>

#include "creatures/creatures.h"
#include "creatures/model3d.h"

using namespace model3d;

namespace {

constexpr double kDrawnSize = 140;
constexpr int kFacings = 4;
constexpr int kFrames = 5;
constexpr double kDegreesPerFacing = 90;

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr double kHipHeight = 17;
constexpr double kBodyAboveHips = 5;
constexpr double kUpperLeg = 8;
constexpr double kLowerLeg = 8.2;

// Leg swings in degrees (forwards is positive) for front-left, front-right, back-left,
// back-right; frames 1-2 step with one diagonal pair, 3-4 with the other.
struct CowPose {
  double swing[4];
  double lift[4];  // knee bend of a leg carried forwards
  double bob;      // body height change
  double headNod;  // degrees
};

constexpr CowPose kPoses[kFrames] = {
    {{0, 0, 0, 0}, {0, 0, 0, 0}, 0, 0},           {{12, -8, -8, 12}, {25, 0, 0, 25}, 0.5, 3},
    {{22, -16, -16, 22}, {8, 0, 0, 8}, -0.3, -2}, {{-8, 12, 12, -8}, {0, 25, 25, 0}, 0.5, 3},
    {{-16, 22, 22, -16}, {0, 8, 8, 0}, -0.3, -2},
};

const Look kLook{50, kDrawnSize, 50, 60, hex(0x1c1a20), 1.4};

const Paint kHide = paintOf(hex(0xf7f4ec), hex(0xb4b2c4), hex(0xffffff), true);
const Paint kPatch = paintOf(hex(0x24232a));
const Paint kMuzzle = paintOf(hex(0xf4a8b0), hex(0xc8707e), hex(0xffd8dc), true);
const Paint kHoof = paintOf(hex(0x3a3034), hex(0x1a1416), hex(0x6a5a5e));
const Paint kHorn = paintOf(hex(0xf1e3bc), hex(0xb9a273), hex(0xfffbe8));
const Paint kUdder = paintOf(hex(0xf2a2ae), hex(0xc56c7c), hex(0xffd4da));
const Paint kEyeWhite = paintOf(hex(0xfcfaf2));
const Paint kPupil = paintOf(hex(0x121212));
const Paint kTuft = paintOf(hex(0x2a282e), hex(0x111014), hex(0x5c5a66));

struct PatchSpot {
  Vec3 centre;  // on the body, from its centre
  double along;
  double across;
  double turn;  // degrees about the surface normal
};

// Hand-placed patches; left and right flanks differ like a real cow's.
constexpr PatchSpot kBodyPatches[] = {
    {{6, 8.6, 3}, 6.5, 4.8, 20},   {{-9, 8.4, -1}, 5.2, 6.0, -30}, {{-3, -8.6, 4}, 7.5, 5.0, 10},
    {{10, -7.8, -2}, 4.0, 3.4, 0}, {{-2, 2.5, 8.6}, 6.0, 4.2, 40}, {{-13, -3, 6.5}, 4.0, 3.2, 0},
    {{12, 3, 7}, 3.6, 3.0, 15},
};

struct Body {
  Vec3 centre;
  Vec3 radii;
};

Vec3 surfaceNormal(const Body& body, Vec3 offset) {
  return normalized({offset.x / (body.radii.x * body.radii.x), offset.y / (body.radii.y * body.radii.y),
                     offset.z / (body.radii.z * body.radii.z)});
}

void addLeg(Scene& scene, Vec3 hip, double swing, double lift, const Paint& paint) {
  Vec3 knee = hip + rotateY({0, 0, -kUpperLeg}, -swing);
  Vec3 foot = knee + rotateY({0, 0, -kLowerLeg}, -swing + lift);
  // A foot carried forwards never sinks below the ground.
  if (foot.z < 1.5) {
    double sink = 1.5 - foot.z;
    knee.z += sink;
    foot.z += sink;
  }
  int upper = scene.limb(hip, knee, 3.2, 2.4, paint);
  int lower = scene.limb(knee, foot, 2.4, 2.1, paint);
  Vec3 shin = normalized(foot - knee);
  int hoof = scene.limb(foot - shin * 1.2, foot + shin * 0.6, 2.4, 2.3, kHoof);
  scene.setSortPoint(upper, hip + Vec3{0, 0, -6});
  scene.setSortPoint(lower, knee + Vec3{0, 0, -5});
  scene.setSortPoint(hoof, foot + Vec3{0, 0, -3});
}

void addHead(Scene& scene, const Body& body, const CowPose& pose) {
  Vec3 headCentre = body.centre + Vec3{20, 0, 3 + pose.headNod * 0.15};
  double nod = -24 + pose.headNod;
  auto onHead = [&](Vec3 p) { return headCentre + rotateY(p, nod); };
  // A thick neck joins the head to the shoulders; it sorts with the body so the head covers it.
  int neck = scene.limb(body.centre + Vec3{12, 0, 3}, headCentre + Vec3{-3, 0, 0}, 7.2, 5.4, kHide);
  scene.setSortPoint(neck, body.centre + Vec3{10, 0, 0});
  scene.setOutline(neck, true, false);
  int head =
      scene.ellipsoid(headCentre, rotateY({7, 0, 0}, nod), {0, 5.4, 0}, rotateY({0, 0, 6}, nod), kHide);
  // A black patch over the crown and round the near eye.
  scene.decalDisc(head, onHead({-0.5, 2.8, 3.8}), rotateY({0.1, 0.55, 0.8}, nod), rotateY({1, 0, 0}, nod),
                  5.2, 3.6, kPatch, false);
  Vec3 muzzleCentre = onHead({7.2, 0, -2.2});
  int muzzle = scene.ellipsoid(muzzleCentre, rotateY({3.6, 0, 0}, nod), {0, 5.0, 0},
                               rotateY({0, 0, 3.8}, nod), kMuzzle);
  for (double side : {-1.0, 1.0}) {
    Vec3 nostril = muzzleCentre + rotateY({3.3, side * 2.0, 0.8}, nod);
    scene.decalDisc(muzzle, nostril, rotateY({1, side * 0.35, 0.25}, nod), rotateY({0, 0, 1}, nod), 1.1, 0.75,
                    kPatch, false);
  }
  for (double side : {-1.0, 1.0}) {
    Vec3 out = normalized(rotateY({0.5, side * 0.72, 0.5}, nod));
    Vec3 eye = headCentre + Vec3{out.x * 7, out.y * 5.4, out.z * 6};
    scene.decalDisc(head, eye, out, rotateY({1, 0, 0}, nod), 1.9, 1.7, kEyeWhite, true);
    scene.decalDisc(head, eye + rotateY({0.7, 0, -0.1}, nod), out, rotateY({1, 0, 0}, nod), 1.0, 1.1, kPupil,
                    false);

    Vec3 hornRoot = onHead({-2.5, side * 3.2, 4.6});
    Vec3 hornMid = hornRoot + Vec3{0.3, side * 3.0, 1.6};
    int horn = scene.limb(hornRoot, hornMid, 1.5, 1.0, kHorn);
    int tip = scene.limb(hornMid, hornMid + Vec3{1.2, side * 0.6, 2.2}, 1.0, 0.4, kHorn);
    scene.setSortPoint(horn, hornRoot + Vec3{0, side * 1.5, 0});
    scene.setSortPoint(tip, hornRoot + Vec3{0, side * 2, 0});

    // Ears stick out sideways below the horns, pink inside.
    Vec3 earRoot = onHead({-3.6, side * 4.6, 1.6});
    Vec3 earCentre = earRoot + Vec3{-0.8, side * 3.2, -1.0};
    int ear = scene.ellipsoid(earCentre, {-0.6, side * 3.6, -0.9}, {2.0, 0, 0}, {0, 0, 0.9}, kHide);
    scene.setSortPoint(ear, earRoot + Vec3{-1, side * 2, 0});
    scene.decalDisc(ear, earCentre + Vec3{0.2, side * 0.4, 0.5}, {0, 0, 1}, {0, side, 0}, 2.4, 1.1, kUdder,
                    false);
  }
}

void addTail(Scene& scene, const Body& body, const CowPose& pose) {
  Vec3 root = body.centre + Vec3{-16, 0, 5};
  Vec3 end = root + Vec3{-3.5, pose.headNod * 0.4, -13};
  int tail = scene.limb(root, end, 1.0, 0.8, kHide);
  int tuft = scene.limb(end, end + Vec3{-0.6, 0, -3}, 1.8, 1.2, kTuft);
  scene.setSortPoint(tail, root + Vec3{-2, 0, 0});
  scene.setSortPoint(tuft, root + Vec3{-2, 0, 0});
}

}  // namespace

void paintCow(cairo_t* cr, int size, int facing, int frame) {
  if (size <= 0 || facing < 0 || facing >= kFacings || frame < 0 || frame >= kFrames) return;
  const CowPose& pose = kPoses[frame];
  Scene scene(cr, size, kLook, facing * kDegreesPerFacing);
  Body body{{0, 0, kHipHeight + kBodyAboveHips + pose.bob}, {17, 9.5, 8.6}};

  int trunk = scene.ball(body.centre, body.radii, kHide);
  for (const PatchSpot& spot : kBodyPatches) {
    Vec3 n = surfaceNormal(body, spot.centre);
    // The patch's long axis: the body's length laid onto the surface, then turned about the normal.
    Vec3 along = normalized(Vec3{1, 0, 0} - n * n.x);
    double turn = spot.turn * kRadiansPerDegree;
    Vec3 turned = along * std::cos(turn) + cross(n, along) * std::sin(turn);
    scene.decalDisc(trunk, body.centre + spot.centre, n, turned, spot.along, spot.across, kPatch, false);
  }
  int udder = scene.ball(body.centre + Vec3{-7, 0, -8}, {4, 4, 3.2}, kUdder);
  scene.setSortPoint(udder, body.centre + Vec3{-7, 0, -9});

  const Vec3 hips[4] = {
      {11, -5, kHipHeight}, {11, 5, kHipHeight}, {-12, -5, kHipHeight}, {-12, 5, kHipHeight}};
  for (int leg = 0; leg < 4; ++leg) {
    addLeg(scene, hips[leg] + Vec3{0, 0, pose.bob}, pose.swing[leg], pose.lift[leg], kHide);
  }
  addTail(scene, body, pose);
  addHead(scene, body, pose);
  scene.render();
}
