// The scarecrow: a sack-cloth head under a straw hat, a patched red check shirt and blue
// trousers stuffed with straw, hopping about on its wooden pole.
#include <cmath>

#include "creatures/creatures.h"
#include "creatures/model3d.h"

using namespace model3d;

namespace {

constexpr double kDrawnSize = 200;
constexpr int kDirections = 8;
constexpr int kFrames = 7;
constexpr double kDegreesPerDirection = 45;

constexpr double kPoleTop = 66;
constexpr double kPoleFoot = 4.5;
constexpr double kHipHeight = 44;
constexpr double kLegLength = 21;
constexpr double kShoulderHeight = 60;
constexpr double kArmLength = 17;
constexpr double kNeckHeight = 67;
// The face turns up a little towards the viewer above.
constexpr double kFaceUp = 10;
constexpr Vec3 kHead{9.4, 10, 10.4};

// Frame 0 idle, 1-2 one stride (half, full), 3-4 the other, 5 drawing breath, 6 shouting.
struct ScarecrowPose {
  double legSwing;   // degrees the right leg swings forwards; the left leg swings the other way
  double armSwing;   // degrees the right arm swings forwards; the left arm swings the other way
  double armBack;    // degrees both arms draw back
  double armRaise;   // degrees both arms lift above the horizontal
  double lean;       // whole figure leans forwards about the pole's foot
  double hop;        // body lifted on the pole
  double chest;      // chest puffed out, as a scale
  double headTilt;   // face up is positive
  double mouthOpen;  // 0 the stitched smile, up to 1 wide open
};

constexpr ScarecrowPose kPoses[kFrames] = {
    {0, 0, -12, -12, 0, 0, 1.0, 0, 0},      {-14, 12, -12, -14, 3, 1.2, 1.0, 0, 0},
    {-30, 26, -12, -16, 5, 0.4, 1.0, 0, 0}, {14, -12, -12, -14, 3, 1.2, 1.0, 0, 0},
    {30, -26, -12, -16, 5, 0.4, 1.0, 0, 0}, {0, 0, 22, -4, -5, 0.6, 1.1, 14, 0.35},
    {0, 0, -8, 52, 5, 1.5, 1.04, -4, 1.0},
};

const Look kLook{50, kDrawnSize, 50, 80, hex(0x241a14), 1.0};

const Paint kWood = paintOf(hex(0x9a6a3c), hex(0x5a3a24), hex(0xc89a66));
const Paint kShirt = paintOf(hex(0xd8413a), hex(0x8e2430), hex(0xf48a6e));
const Paint kTrousers = paintOf(hex(0x4d74b8), hex(0x2c3f74), hex(0x8cb0e4));
const Paint kSack = paintOf(hex(0xdcc28c), hex(0xa08054), hex(0xf6e6bc));
const Paint kStraw = paintOf(hex(0xf1cf58), hex(0xb88a2a), hex(0xfff0a0));
const Paint kHat = paintOf(hex(0xe9c45e), hex(0xac8434), hex(0xfbe8a4), true);
const Paint kHatBand = paintOf(hex(0x6a3a8a), hex(0x3e2058), hex(0xa078c0));
const Paint kPatchBlue = paintOf(hex(0x6fa6d6));
const Paint kPatchYellow = paintOf(hex(0xf0d060));
const Paint kPatchGreen = paintOf(hex(0x7fb069));
const Paint kButton = paintOf(hex(0x1c1818));
const Paint kMouth = paintOf(hex(0x4a1a1e));
const Paint kTongue = paintOf(hex(0xe0707a));
const Paint kRope = paintOf(hex(0xb48a50), hex(0x7a5a30), hex(0xdcc08a));

constexpr Rgb kStitch{0.22, 0.14, 0.1};
constexpr Rgb kCheck{0.55, 0.1, 0.14};

// The figure above the pole's foot, leaning with the stride.
struct Frame {
  double lean;
  double hop;
  Vec3 at(Vec3 p) const { return rotateY(p + Vec3{0, 0, hop}, -lean); }
  Vec3 dir(Vec3 v) const { return rotateY(v, -lean); }
};

void addStrawTuft(Scene& scene, const Frame& f, Vec3 root, Vec3 out, double length, int count) {
  // A fan of straws spreading about the direction `out`.
  Vec3 n = normalized(out);
  Vec3 side = normalized(cross(n, std::fabs(n.z) > 0.9 ? Vec3{1, 0, 0} : Vec3{0, 0, 1}));
  Vec3 other = cross(n, side);
  for (int i = 0; i < count; ++i) {
    double t = count > 1 ? (static_cast<double>(i) / (count - 1)) * 2 - 1 : 0;
    double wobble = (i % 2 == 0) ? 0.25 : -0.2;
    Vec3 tip = root + (n + side * (0.75 * t) + other * wobble) * (length * (0.8 + 0.25 * (i % 3)));
    int straw = scene.limb(f.at(root), f.at(tip), 1.1, 0.45, kStraw);
    scene.setSortPoint(straw, f.at(root + n * 0.5));
  }
}

void addLegs(Scene& scene, const Frame& f, const ScarecrowPose& pose) {
  for (double side : {-1.0, 1.0}) {
    double swing = pose.legSwing * side;
    Vec3 hip{0, side * 4.8, kHipHeight + 2};
    Vec3 foot = hip + rotateY({0, side * 0.8, -kLegLength}, swing);
    int leg = scene.limb(f.at(hip), f.at(foot), 4.4, 3.8, kTrousers);
    scene.setSortPoint(leg, f.at(hip + Vec3{0, side * 1.5, -6}));
    if (side > 0) {
      Vec3 knee = hip + rotateY({1.0, side * 0.6, -kLegLength * 0.55}, swing) + Vec3{3.2, side * 1.0, 0};
      Vec3 patch[] = {knee + Vec3{0, -2.6, 2.6}, knee + Vec3{0, 2.6, 2.2}, knee + Vec3{0, 2.4, -2.4},
                      knee + Vec3{0, -2.4, -2.2}};
      for (Vec3& p : patch) p = f.at(p);
      scene.decalPolygon(leg, patch, 4, f.dir(rotateY({1, 0.2, 0}, swing)), kPatchYellow, true);
    }
    addStrawTuft(scene, f, foot + rotateY({0, 0, 1}, swing), rotateY({0, side * 0.2, -1}, swing), 5, 4);
  }
}

void addArms(Scene& scene, const Frame& f, const ScarecrowPose& pose) {
  for (double side : {-1.0, 1.0}) {
    Vec3 shoulder{0, side * 9.5, kShoulderHeight};
    Vec3 reach = rotateX({0, side * kArmLength, 0}, side * pose.armRaise);
    reach = rotateZ(reach, -pose.armSwing + side * pose.armBack);
    Vec3 hand = shoulder + reach;
    int arm = scene.limb(f.at(shoulder), f.at(hand), 4.0, 3.4, kShirt);
    scene.setSortPoint(arm, f.at(shoulder + reach * 0.5 + Vec3{0, 0, 1}));
    Vec3 along = normalized(reach);
    Vec3 cuff = hand - along * 2.5;
    Vec3 cuffLine[] = {f.at(cuff + Vec3{0, 0, 3.4}), f.at(cuff + Vec3{2.4, 0, 0}),
                       f.at(cuff + Vec3{0, 0, -3.4})};
    scene.decalLine(arm, cuffLine, 3, f.dir({0.3, 0, 1}), kCheck, 1.6, false);
    addStrawTuft(scene, f, hand, along, 6, 5);
  }
}

void addBody(Scene& scene, const Frame& f, const ScarecrowPose& pose) {
  Vec3 centre{0, 0, 57};
  double k = pose.chest;
  int shirt =
      scene.ellipsoid(f.at(centre), f.dir({8.2 * k, 0, 0}), {0, 11 * k, 0}, f.dir({0, 0, 12.5}), kShirt);
  // Check lines and patches over the shirt.
  for (double y : {-6.0, 0.0, 6.0}) {
    for (double face : {-1.0, 1.0}) {
      Vec3 line[] = {f.at(centre + Vec3{face * 7.2 * k, y * k, 11}),
                     f.at(centre + Vec3{face * 8.2 * k, y * k, 0}),
                     f.at(centre + Vec3{face * 7.2 * k, y * k, -11})};
      scene.decalLine(shirt, line, 3, f.dir({face, y * 0.1, 0}), kCheck, 1.5, false);
    }
  }
  for (double z : {-5.0, 4.0}) {
    for (double face : {-1.0, 1.0}) {
      Vec3 line[] = {f.at(centre + Vec3{face * 6.5 * k, -9 * k, z}),
                     f.at(centre + Vec3{face * 8.2 * k, 0, z}),
                     f.at(centre + Vec3{face * 6.5 * k, 9 * k, z})};
      scene.decalLine(shirt, line, 3, f.dir({face, 0, z * 0.05}), kCheck, 1.5, false);
    }
  }
  for (double side : {-1.0, 1.0}) {
    Vec3 line[] = {f.at(centre + Vec3{-5, side * 10.5 * k, 8}), f.at(centre + Vec3{5, side * 10.5 * k, 8}),
                   f.at(centre + Vec3{5, side * 10.5 * k, -3}), f.at(centre + Vec3{-5, side * 10.5 * k, -3})};
    scene.decalLine(shirt, line, 4, f.dir({0, side, 0.1}), kCheck, 1.4, false);
  }
  Vec3 chestPatch[] = {centre + Vec3{7.6 * k, 2, 9}, centre + Vec3{7.8 * k, 8, 7.6},
                       centre + Vec3{7.8 * k, 7.4, 2}, centre + Vec3{8.0 * k, 1.8, 3}};
  for (Vec3& p : chestPatch) p = f.at(p);
  scene.decalPolygon(shirt, chestPatch, 4, f.dir({1, 0.35, 0.2}), kPatchBlue, true);
  Vec3 stitch[] = {chestPatch[0], chestPatch[1], chestPatch[2], chestPatch[3], chestPatch[0]};
  scene.decalLine(shirt, stitch, 5, f.dir({1, 0.35, 0.2}), hex(0xf6f0e0), 0.9, true);
  Vec3 backPatch[] = {centre + Vec3{-7.8 * k, -1, 4}, centre + Vec3{-7.6 * k, -8, 3},
                      centre + Vec3{-7.2 * k, -7, -4}, centre + Vec3{-7.6 * k, 0, -4}};
  for (Vec3& p : backPatch) p = f.at(p);
  scene.decalPolygon(shirt, backPatch, 4, f.dir({-1, -0.3, 0}), kPatchGreen, true);
  for (double z : {6.0, 0.0, -6.0}) {
    Vec3 spot = centre + Vec3{8.3 * k, -1.5, z};
    scene.decalDisc(shirt, f.at(spot), f.dir({1, 0, 0}), f.dir({0, 1, 0}), 1.1, 1.1, kButton, false);
  }

  int belt = scene.ellipsoid(f.at(centre + Vec3{0, 0, -10}), f.dir({8.4 * k, 0, 0}), {0, 11 * k, 0},
                             f.dir({0, 0, 1.6}), kRope);
  scene.setSortPoint(belt, f.at(centre + Vec3{0, 0, -6}));
  // Straw bursting out under the shirt and at the collar.
  for (double angle : {-50.0, 10.0, 70.0, 130.0, 190.0, 250.0}) {
    Vec3 out = rotateZ({1, 0, 0}, angle);
    Vec3 root = centre + Vec3{out.x * 7 * k, out.y * 9.5 * k, -11.5};
    addStrawTuft(scene, f, root, out * 0.5 + Vec3{0, 0, -1}, 4.5, 2);
  }
}

void addHead(Scene& scene, const Frame& f, const ScarecrowPose& pose) {
  double tilt = kFaceUp + pose.headTilt;
  Vec3 centre{0.5, 0, kNeckHeight + 9.5};
  auto local = [&](Vec3 p) { return f.at(centre + rotateY(p, tilt)); };
  auto facing = [&](Vec3 n) { return f.dir(rotateY(n, tilt)); };

  scene.ellipsoid(f.at({0, 0, kNeckHeight}), f.dir({4.5, 0, 0}), {0, 5, 0}, f.dir({0, 0, 2}), kRope);
  for (double angle : {0.0, 60.0, 120.0, 180.0, 240.0, 300.0}) {
    Vec3 out = rotateZ({1, 0, 0}, angle);
    addStrawTuft(scene, f, Vec3{0, 0, kNeckHeight} + out * 3.5, out + Vec3{0, 0, 0.3}, 4, 2);
  }

  int head = scene.ellipsoid(local({0, 0, 0}), facing({kHead.x, 0, 0}), {0, kHead.y, 0},
                             facing({0, 0, kHead.z}), kSack);
  // Button eyes, a stitched nose and mouth.
  for (double side : {-1.0, 1.0}) {
    Vec3 n = normalized({0.85, side * 0.38, 0.3});
    Vec3 eye{n.x * kHead.x, n.y * kHead.y, n.z * kHead.z};
    scene.decalDisc(head, local(eye), facing(n), facing({0, 0, 1}), 2.1, 2.1, kButton, false);
    Vec3 cross1[] = {local(eye + Vec3{0, -0.9, 0.9}), local(eye + Vec3{0, 0.9, -0.9})};
    scene.decalLine(head, cross1, 2, facing(n), hex(0xdcc28c), 0.8, false);
  }
  Vec3 noseN = normalized({1, 0, -0.05});
  Vec3 nose[] = {local({kHead.x + 0.1, 0, 0.6}), local({kHead.x + 0.3, -1.4, -2}),
                 local({kHead.x + 0.3, 1.4, -2})};
  scene.decalPolygon(head, nose, 3, facing(noseN), paintOf(hex(0xe0803a)), true);

  if (pose.mouthOpen <= 0) {
    Vec3 smile[7];
    for (int i = 0; i < 7; ++i) {
      double t = (i - 3) / 3.0;
      double y = t * 5;
      double z = -4.2 - 1.6 * (1 - t * t);
      double x = std::sqrt(std::max(0.0, 1 - (y * y) / (kHead.y * kHead.y) - (z * z) / (kHead.z * kHead.z))) *
                 kHead.x;
      smile[i] = local({x, y, z});
    }
    scene.decalLine(head, smile, 7, facing({1, 0, -0.4}), kStitch, 1.6, false);
    for (int i = 1; i < 6; i += 1) {
      Vec3 tick[] = {smile[i] + f.dir(rotateY({0, 0, 1.1}, tilt)),
                     smile[i] + f.dir(rotateY({0, 0, -1.1}, tilt))};
      scene.decalLine(head, tick, 2, facing({1, 0, -0.4}), kStitch, 1.1, false);
    }
  } else {
    double open = pose.mouthOpen;
    Vec3 n = normalized({1, 0, -0.45});
    Vec3 mouth{n.x * kHead.x * 0.97, 0, -4.6 - open * 0.6};
    scene.decalDisc(head, local(mouth), facing(n), facing({0, 1, 0}), 2.2 + open * 2.6, 1.4 + open * 2.6,
                    kMouth, true);
    if (open > 0.5) {
      scene.decalDisc(head, local(mouth + Vec3{0.2, 0, -open * 1.6}), facing(n), facing({0, 1, 0}), 2.4, 1.3,
                      kTongue, false);
    }
  }

  // Straw hair under the brim, then the hat, pushed back so the face shows from above.
  for (double angle : {90.0, 130.0, 180.0, 230.0, 270.0}) {
    Vec3 out = rotateZ({1, 0, 0}, angle);
    Vec3 root = Vec3{out.x * 7, out.y * 8, 4};
    Vec3 tip = root + out * 5 + Vec3{0, 0, -3};
    int straw = scene.limb(local(root), local(tip), 1.3, 0.5, kStraw);
    scene.setSortPoint(straw, local(root * 0.9));
  }
  constexpr double kHatBack = 20;
  Vec3 hatBase{-3.2, 0, 7.8};
  auto hat = [&](Vec3 p) { return local(hatBase + rotateY(p, kHatBack)); };
  auto hatDir = [&](Vec3 v) { return facing(rotateY(v, kHatBack)); };
  int brim = scene.ellipsoid(hat({0, 0, 0}), hatDir({12.5, 0, 0}), {0, 12.5, 0}, hatDir({0, 0, 0.9}), kHat);
  int crown = scene.ellipsoid(hat({-0.3, 0, 4.2}), hatDir({6.6, 0, 0}), {0, 7.2, 0}, hatDir({0, 0, 5}), kHat);
  scene.setSortPoint(brim, hat({0, 0, 2}));
  scene.setSortPoint(crown, hat({0, 0, 4}));
  // The hat band, as short strokes round the crown's foot so its far side stays hidden.
  constexpr int kBandPieces = 16;
  for (int i = 0; i < kBandPieces; ++i) {
    Vec3 a = rotateZ({1, 0, 0}, i * 360.0 / kBandPieces);
    Vec3 b = rotateZ({1, 0, 0}, (i + 1) * 360.0 / kBandPieces);
    Vec3 piece[] = {hat({-0.3 + a.x * 6.4, a.y * 7.0, 1.8}), hat({-0.3 + b.x * 6.4, b.y * 7.0, 1.8})};
    scene.decalLine(crown, piece, 2, hatDir(normalized(a + b)), kHatBand.base, 3.2, false);
  }
}

}  // namespace

void paintScarecrow(cairo_t* cr, int size, int direction, int frame) {
  if (size <= 0 || direction < 0 || direction >= kDirections || frame < 0 || frame >= kFrames) return;
  const ScarecrowPose& pose = kPoses[frame];
  Scene scene(cr, size, kLook, direction * kDegreesPerDirection);
  Frame f{pose.lean, pose.hop};

  // The pole's rounded foot, outline included, ends on the ground point.
  int pole = scene.limb({0, 0, kPoleFoot}, f.at({0, 0, kPoleTop}), 2.0, 1.8, kWood);
  scene.setSortPoint(pole, f.at({-1, 0, kHipHeight - 6}));
  addLegs(scene, f, pose);
  addBody(scene, f, pose);
  addArms(scene, f, pose);
  addHead(scene, f, pose);
  scene.render();
}
