// The crow: a glossy blue-black bird with a yellow-orange beak, posed per frame from one model.
#include <cmath>

#include "creatures/bird_parts.h"
#include "creatures/creatures.h"
#include "creatures/model3d.h"

using namespace model3d;

namespace {

constexpr double kDrawnSize = 128;
constexpr int kFacings = 8;
constexpr int kFrames = 8;
constexpr double kDegreesPerFacing = 45;

// Wing angles (degrees above the horizontal) and body attitude for each frame: 0-3 the flap from
// up to down, 4-5 pecking with folded wings, 6-7 scared with the wings flung up.
struct CrowPose {
  double bodyPitch;   // nose up is positive
  double bodyHeight;  // centre of the body above the ground point
  double wingInner;
  double wingOuter;
  double sweep;      // wings swept back on the down stroke
  Vec3 head;         // head centre from the body centre
  double headPitch;  // beak down is negative
  double beakOpen;   // degrees between the mandibles
  bool ruffled;
  bool perched;  // standing with folded wings, feet on the ground point
};

constexpr CrowPose kPoses[kFrames] = {
    {4, 28, 42, 58, 8, {11, 0, 6.5}, 0, 0, false, false},
    {2, 27.5, 14, 20, 12, {11, 0, 6.5}, 0, 0, false, false},
    {-2, 27, -12, -22, 20, {11, 0, 6}, 0, 0, false, false},
    {-4, 28.5, -26, -38, 24, {11, 0, 6}, 0, 0, false, false},
    {0, 15, 0, 0, 0, {10, 0, 9}, 5, 0, false, true},
    {-18, 15, 0, 0, 0, {10, 0, 3}, -65, 14, false, true},
    {12, 27, 62, 84, 12, {9.5, 0, 8}, 14, 38, true, false},
    {6, 28, 40, 62, 14, {10, 0, 7.5}, 8, 26, true, false},
};

const Look kLook{50, kDrawnSize, 50, 80, hex(0x14121c), 1.3};

const Paint kFeather = paintOf(hex(0x363d56), hex(0x171827), hex(0x8fa6e0), true);
const Paint kWing = paintOf(hex(0x30364c), hex(0x15162a), hex(0x7488c0));
const Paint kBeak = paintOf(hex(0xf4ad1c), hex(0xc4661a), hex(0xffe08a), true);
const Paint kLeg = paintOf(hex(0xd08a2a), hex(0x8a4e1c), hex(0xf2c070));
const Paint kEyeWhite = paintOf(hex(0xfbf8ee));
const Paint kPupil = paintOf(hex(0x101010));

void addWing(Scene& scene, const BodyFrame& body, const CrowPose& pose, double side) {
  if (pose.perched) {  // wings folded
    Vec3 centre = body.at({-5, side * 6.6, 1.5});
    int wing = scene.ellipsoid(centre, body.dir(rotateY({12.5, 0, 0}, -12)), {0, side * 1.6, 0},
                               body.dir(rotateY({0, 0, 5.2}, -12)), kWing);
    // Folded feathers stay on the body's side: nearer than the body only on the near side.
    scene.setSortPoint(wing, body.at({-2, side * 9, 0}));
    Vec3 tip[] = {body.at({-12, side * 6.5, 2.5}), body.at({-20, side * 5.5, 0.5}),
                  body.at({-13, side * 7.2, -1.5})};
    scene.decalLine(wing, tip, 3, {0, side, 0.2}, hex(0x0c0c14), 0.9, false);
    return;
  }
  WingShape shape{};
  shape.rootFront = {5, side * 5.5, 3.5};
  shape.rootBack = {-8, side * 5.5, 3};
  shape.innerSpan = 13;
  shape.outerSpan = 17;
  shape.chord = 12;
  shape.fingers = 5;
  shape.fingerLength = pose.ruffled ? 6.5 : 4.5;
  shape.side = side;
  shape.innerAngle = pose.wingInner;
  shape.outerAngle = pose.wingOuter;
  shape.sweep = pose.sweep;
  shape.ragged = pose.ruffled ? 2.2 : 0.0;
  addBirdWing(scene, body, shape, kWing, kWing);
}

void addLegs(Scene& scene, const BodyFrame& body, const CrowPose& pose) {
  for (double side : {-1.0, 1.0}) {
    // Perched, the feet grip the ground point; in flight they are tucked under the tail and the
    // ground point is only the spot the bird hovers over.
    Vec3 hip = body.at({-1, side * 2.6, -6});
    Vec3 foot = pose.perched ? Vec3{0.5, side * 2.6, 1.2} : body.at({-8, side * 2.2, -8.5});
    scene.limb(hip, foot, 1.2, 0.9, kLeg);
    for (double toe : {-30.0, 0.0, 30.0}) {
      Vec3 reach = pose.perched ? rotateZ({3.6, 0, -0.6}, toe) : body.dir(rotateZ({-2.4, 0, -0.8}, toe));
      scene.limb(foot, foot + reach, 0.75, 0.55, kLeg);
    }
    if (pose.perched) scene.limb(foot, foot + Vec3{-2.4, 0, -0.4}, 0.7, 0.5, kLeg);
  }
}

void addHead(Scene& scene, const BodyFrame& body, const CrowPose& pose) {
  // The head keeps its own attitude while the body tilts: a crow watches where it goes.
  Vec3 headCentre = body.centre + pose.head;
  double headPitch = pose.headPitch;
  int head = scene.ball(headCentre, {6.6, 6, 6}, kFeather);

  Vec3 beakRoot = headCentre + rotateY({5.0, 0, -0.8}, headPitch);
  Vec3 upperTip = beakRoot + rotateY({9.5, 0, 0}, headPitch - 6 + pose.beakOpen * 0.4);
  Vec3 lowerTip = beakRoot + rotateY({8.0, 0, -0.8}, headPitch - 6 - pose.beakOpen * 0.6);
  int lower = scene.limb(beakRoot + rotateY({0, 0, -1.2}, headPitch), lowerTip, 2.0, 0.35, kBeak);
  int top = scene.limb(beakRoot, upperTip, 2.6, 0.35, kBeak);
  scene.setSortPoint(lower, headCentre + rotateY({4.5, 0, -0.5}, headPitch));
  scene.setSortPoint(top, headCentre + rotateY({4.8, 0, 0.2}, headPitch));

  double eyeSize = pose.ruffled ? 3.0 : 2.6;
  for (double side : {-1.0, 1.0}) {
    Vec3 out = normalized(rotateY({0.5, side * 0.64, 0.58}, headPitch));
    Vec3 eye = headCentre + Vec3{out.x * 6.4, out.y * 5.8, out.z * 5.8};
    scene.decalDisc(head, eye, out, {1, 0, 0}, eyeSize, eyeSize, kEyeWhite, true);
    Vec3 pupil = eye + Vec3{0.7, 0, pose.ruffled ? 0.0 : -0.1};
    scene.decalDisc(head, pupil, out, {1, 0, 0}, eyeSize * 0.45, eyeSize * 0.5, kPupil, false);
    if (!pose.ruffled) {
      // A frowning brow makes the crow look like the rascal it is.
      Vec3 brow[] = {eye + Vec3{-2.2, 0, 2.6}, eye + Vec3{2.2, 0, 1.4}};
      scene.decalLine(head, brow, 2, out, hex(0x0a0a10), 1.3, false);
    }
  }
  if (pose.ruffled) {
    // Feathers standing up on the crown.
    for (int i = 0; i < 3; ++i) {
      double back = -1.5 - 2.2 * i;
      Vec3 base = headCentre + Vec3{back * 0.6, 0, 4.5};
      Vec3 tip = base + Vec3{-2.5 - i, (i - 1) * 1.6, 5.5 - i};
      scene.limb(base, tip, 1.5, 0.3, kFeather);
    }
  }
}

void addTail(Scene& scene, const BodyFrame& body, const CrowPose& pose) {
  // A wedge of tail feathers whose tips fan out from the rump.
  constexpr int kFeathers = 5;
  double lift = pose.ruffled ? 8 : (pose.perched ? -10 : 0);
  double spread = pose.ruffled ? 9.5 : 6.5;
  Vec3 t[2 * kFeathers + 2];
  int n = 0;
  t[n++] = body.at({-10, -3, 1.5});
  for (int i = 0; i < kFeathers; ++i) {
    double across = (static_cast<double>(i) / (kFeathers - 1)) * 2 - 1;
    double reach = 24.5 - 1.5 * across * across;
    t[n++] = body.at(rotateY({-reach, across * spread, 1}, lift));
    if (i + 1 < kFeathers) {
      double between = across + 1.0 / (kFeathers - 1);
      t[n++] = body.at(rotateY({-reach + 2.2, between * spread * 0.92, 1}, lift));
    }
  }
  t[n++] = body.at({-10, 3, 1.5});
  int tail = scene.polygon(t, n, kWing);
  scene.setSortPoint(tail, body.at({-12, 0, 0}));
}

void addBodyFeathers(Scene& scene, const BodyFrame& body) {
  // Scared: the body's feathers bristle outwards.
  const Vec3 tufts[] = {{-4, 0, 7}, {-9, 4, 5}, {-9, -4, 5}, {2, 6, -3}, {2, -6, -3}, {-6, 0, -7}};
  for (Vec3 base : tufts) {
    Vec3 out = normalized(Vec3{base.x * 0.3, base.y, base.z});
    scene.limb(body.at(base), body.at(base + out * 5 + Vec3{-2, 0, 0}), 1.6, 0.3, kFeather);
  }
}

}  // namespace

void paintCrow(cairo_t* cr, int size, int facing, int frame) {
  if (size <= 0 || facing < 0 || facing >= kFacings || frame < 0 || frame >= kFrames) return;
  const CrowPose& pose = kPoses[frame];
  Scene scene(cr, size, kLook, facing * kDegreesPerFacing);
  BodyFrame body{{0, 0, pose.bodyHeight}, pose.bodyPitch};

  scene.ellipsoid(body.centre, body.dir({12.5, 0, 0}), {0, 8, 0}, body.dir({0, 0, 8.2}), kFeather);
  addTail(scene, body, pose);
  addLegs(scene, body, pose);
  addWing(scene, body, pose, -1);
  addWing(scene, body, pose, 1);
  addHead(scene, body, pose);
  if (pose.ruffled) addBodyFeathers(scene, body);
  scene.render();
}
