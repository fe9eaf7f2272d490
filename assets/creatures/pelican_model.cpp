// The pelican: a big white bird with black wing tips, a long orange beak and a yellow-orange
// throat pouch, posed per frame from one model.
#include <cmath>

#include "creatures/bird_parts.h"
#include "creatures/creatures.h"
#include "creatures/model3d.h"

using namespace model3d;

namespace {

constexpr double kDrawnSize = 140;
constexpr int kFacings = 8;
constexpr int kFrames = 8;
constexpr double kDegreesPerFacing = 45;
constexpr int kNeckSegments = 4;

// 0-3 the flap from up to down, 4-5 eating (head up, then down into the stalk), 6-7 scared.
struct PelicanPose {
  double bodyPitch;
  double bodyHeight;
  double wingInner;
  double wingOuter;
  double sweep;      // wings swept back on the down stroke
  Vec3 neckBend;     // middle of the neck from the body centre
  Vec3 head;         // head centre from the body centre
  double beakPitch;  // degrees, beak down is negative
  double beakOpen;
  bool ruffled;
  bool standing;  // wings folded, feet on the ground point
};

constexpr PelicanPose kPoses[kFrames] = {
    {4, 30, 40, 54, 8, {4, 0, 14}, {10, 0, 13}, -8, 0, false, false},
    {2, 29, 12, 18, 12, {4, 0, 14}, {10, 0, 13}, -8, 0, false, false},
    {-2, 28, -10, -20, 24, {4, 0, 13}, {10, 0, 12}, -8, 0, false, false},
    {-4, 29, -28, -42, 30, {4, 0, 13}, {10, 0, 12}, -8, 0, false, false},
    {0, 16, 0, 0, 0, {9, 0, 16}, {8, 0, 24}, 14, 0, false, true},
    {-8, 16, 0, 0, 0, {14, 0, 12}, {12, 0, 14}, -75, 10, false, true},
    {10, 28, 58, 80, 10, {6, 0, 16}, {9, 0, 21}, 16, 30, true, false},
    {5, 29, 36, 58, 12, {7, 0, 15}, {11, 0, 19}, 6, 22, true, false},
};

const Look kLook{50, kDrawnSize, 50, 80, hex(0x1d1a22), 1.15};

const Paint kPlumage = paintOf(hex(0xf6f3ea), hex(0xb2b3c9), hex(0xffffff), true);
const Paint kWingWhite = paintOf(hex(0xeeebe2), hex(0xa9abc4), hex(0xffffff));
const Paint kPrimaries = paintOf(hex(0x33323c), hex(0x16151c), hex(0x6a6a7c));
const Paint kBeak = paintOf(hex(0xf39a2a), hex(0xbe5e1c), hex(0xffd08a), true);
const Paint kPouch = paintOf(hex(0xf8c14a), hex(0xd27a26), hex(0xffe6a0), true);
const Paint kFoot = paintOf(hex(0xf08c2c), hex(0xb0561c), hex(0xffc080));
const Paint kEyeRing = paintOf(hex(0xfbe7a8));
const Paint kPupil = paintOf(hex(0x141414));
const Paint kCrest = paintOf(hex(0xf3dc92), hex(0xc7a150), hex(0xfff2c4));

Vec3 bezier(Vec3 a, Vec3 b, Vec3 c, double t) {
  return a * ((1 - t) * (1 - t)) + b * (2 * (1 - t) * t) + c * (t * t);
}

void addWing(Scene& scene, const BodyFrame& body, const PelicanPose& pose, double side) {
  if (pose.standing) {  // wings folded
    Vec3 centre = body.at({-4, side * 8.2, 2});
    int wing = scene.ellipsoid(centre, body.dir(rotateY({15, 0, 0}, -10)), {0, side * 2, 0},
                               body.dir(rotateY({0, 0, 6.5}, -10)), kWingWhite);
    scene.setSortPoint(wing, body.at({-2, side * 11, 0}));
    // The black flight feathers show along the folded wing's back edge.
    Vec3 tip[] = {body.at({-8, side * 8.6, 4.5}), body.at({-22, side * 7.6, 2}),
                  body.at({-12, side * 9.6, -1}), body.at({-4, side * 9.8, 1})};
    scene.decalPolygon(wing, tip, 4, {0, side, 0.25}, kPrimaries, true);
    return;
  }
  WingShape shape{};
  shape.rootFront = {6, side * 7, 4};
  shape.rootBack = {-9, side * 7, 3.5};
  shape.innerSpan = 14;
  shape.outerSpan = 18;
  shape.chord = 13;
  shape.fingers = 5;
  shape.fingerLength = pose.ruffled ? 6 : 4.5;
  shape.side = side;
  shape.innerAngle = pose.wingInner;
  shape.outerAngle = pose.wingOuter;
  shape.sweep = pose.sweep;
  shape.ragged = pose.ruffled ? 2.0 : 0.0;
  addBirdWing(scene, body, shape, kWingWhite, kPrimaries);
}

void addFeet(Scene& scene, const BodyFrame& body, const PelicanPose& pose) {
  for (double side : {-1.0, 1.0}) {
    // Standing, the feet are on the ground point; in flight they trail under the tail.
    Vec3 hip = body.at({0, side * 4, -7});
    Vec3 ankle = pose.standing ? Vec3{-2.6, side * 4.2, 1.5} : body.at({-11, side * 3.6, -7.5});
    scene.limb(hip, ankle, 1.8, 1.3, kFoot);
    // Webbed feet: a flat fan of skin between the toes.
    double reach = pose.standing ? 1.0 : -1.0;
    Vec3 web[] = {ankle, ankle + Vec3{4.8 * reach, side * -2.2, -1.2},
                  ankle + Vec3{6 * reach, side * 0.4, -1.2}, ankle + Vec3{4.6 * reach, side * 2.8, -1.2}};
    int foot = scene.polygon(web, 4, kFoot);
    scene.setSortPoint(foot, ankle + Vec3{1, 0, 0});
  }
}

void addNeckAndHead(Scene& scene, const BodyFrame& body, const PelicanPose& pose) {
  Vec3 neckRoot = body.at({10, 0, 5});
  Vec3 headCentre = body.centre + pose.head;
  Vec3 bend = body.centre + pose.neckBend;
  Vec3 previous = neckRoot;
  for (int i = 1; i <= kNeckSegments; ++i) {
    Vec3 next = bezier(neckRoot, bend, headCentre, static_cast<double>(i) / kNeckSegments);
    double r0 = 4.6 - 0.35 * (i - 1);
    // One smooth neck: no seams between its pieces.
    int piece = scene.limb(previous, next, r0, r0 - 0.35, kPlumage);
    scene.setOutline(piece, true, false);
    previous = next;
  }
  int head = scene.ball(headCentre, {5.6, 4.6, 5}, kPlumage);

  // Beak and pouch hang from the face; the pouch sags under the lower mandible.
  double pitch = pose.beakPitch;
  Vec3 beakRoot = headCentre + rotateY({4, 0, -0.5}, pitch);
  Vec3 upperTip = beakRoot + rotateY({22, 0, 0}, pitch + pose.beakOpen * 0.45);
  Vec3 hookTip = upperTip + rotateY({0.5, 0, -2.2}, pitch + pose.beakOpen * 0.45);
  Vec3 lowerTip = beakRoot + rotateY({20, 0, -1}, pitch - pose.beakOpen * 0.55);
  Vec3 pouchCentre = (beakRoot + lowerTip) * 0.5 + rotateY({-1, 0, -3.2}, pitch - pose.beakOpen * 0.55);
  Vec3 along = lowerTip - beakRoot;
  double pouchDepth = pose.standing && pose.beakPitch < -30 ? 5.2 : 4.0;
  int pouch =
      scene.ellipsoid(pouchCentre, along * 0.5, {0, 3.2, 0}, rotateY({0, 0, pouchDepth}, pitch), kPouch);
  int upper = scene.limb(beakRoot, upperTip, 2.3, 1.2, kBeak);
  int hook = scene.limb(upperTip, hookTip, 1.2, 0.8, kBeak);
  scene.setSortPoint(pouch, headCentre + rotateY({6, 0, -1}, pitch));
  scene.setSortPoint(upper, headCentre + rotateY({7, 0, 1}, pitch));
  scene.setSortPoint(hook, headCentre + rotateY({7.5, 0, 1}, pitch));
  if (pose.beakOpen > 0) {
    int lower = scene.limb(beakRoot + rotateY({0, 0, -1}, pitch), lowerTip, 1.6, 0.8, kBeak);
    scene.setSortPoint(lower, headCentre + rotateY({6.5, 0, -0.5}, pitch));
  }
  Vec3 ridge[] = {beakRoot + rotateY({1, 0, 1.6}, pitch + pose.beakOpen * 0.45),
                  upperTip + rotateY({-1.5, 0, 0.9}, pitch + pose.beakOpen * 0.45)};
  scene.decalLine(upper, ridge, 2, {0, 0, 1}, hex(0xffd49a), 1.2, false);

  for (double side : {-1.0, 1.0}) {
    Vec3 out = normalized({0.45, side * 0.8, 0.4});
    Vec3 eye = headCentre + Vec3{out.x * 5.4, out.y * 4.4, out.z * 4.8};
    double size = pose.ruffled ? 1.9 : 1.5;
    scene.decalDisc(head, eye, out, {1, 0, 0}, size * 1.2, size * 1.2, kEyeRing, true);
    scene.decalDisc(head, eye + Vec3{0.3, 0, 0}, out, {1, 0, 0}, size * 0.6, size * 0.6, kPupil, false);
  }
  // A shaggy yellowish crest at the back of the head.
  double raise = pose.ruffled ? 6 : 0;
  for (int i = 0; i < 3; ++i) {
    Vec3 base = headCentre + Vec3{-3.2, (i - 1) * 1.5, 2.5};
    Vec3 tip = base + Vec3{-4.5 + raise * 0.2, (i - 1) * 1.2, 1.2 + raise * (0.6 + 0.2 * i)};
    int tuft = scene.limb(base, tip, 1.4, 0.4, kCrest);
    scene.setSortPoint(tuft, headCentre + Vec3{-4, (i - 1) * 1.5, 0});
  }
}

void addTail(Scene& scene, const BodyFrame& body, const PelicanPose& pose) {
  double lift = pose.ruffled ? 10 : 0;
  Vec3 t[] = {body.at({-13, -4, 2}), body.at(rotateY({-21, -5.5, 2}, lift)),
              body.at(rotateY({-22.5, 0, 2}, lift)), body.at(rotateY({-21, 5.5, 2}, lift)),
              body.at({-13, 4, 2})};
  int tail = scene.polygon(t, 5, kWingWhite);
  scene.setSortPoint(tail, body.at({-14, 0, 0}));
}

}  // namespace

void paintPelican(cairo_t* cr, int size, int facing, int frame) {
  if (size <= 0 || facing < 0 || facing >= kFacings || frame < 0 || frame >= kFrames) return;
  const PelicanPose& pose = kPoses[frame];
  Scene scene(cr, size, kLook, facing * kDegreesPerFacing);
  BodyFrame body{{0, 0, pose.bodyHeight}, pose.bodyPitch};
  scene.ellipsoid(body.centre, body.dir({15, 0, 0}), {0, 9.5, 0}, body.dir({0, 0, 9.5}), kPlumage);
  addTail(scene, body, pose);
  addFeet(scene, body, pose);
  addWing(scene, body, pose, -1);
  addWing(scene, body, pose, 1);
  addNeckAndHead(scene, body, pose);
  scene.render();
}
