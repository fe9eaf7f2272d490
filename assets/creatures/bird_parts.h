// Wings shared by the crow and the pelican: an inner panel from the shoulder to the wrist and an
// outer panel ending in spread finger feathers, each hinged about the body's long axis.
#pragma once

#include "creatures/model3d.h"

// A bird's body placed for a pose: body-local points (origin at the body's centre, x forwards)
// turned by the body's pitch and moved to where the body is.
struct BodyFrame {
  model3d::Vec3 centre;
  double pitch;  // nose up is positive
  model3d::Vec3 at(model3d::Vec3 local) const { return centre + model3d::rotateY(local, pitch); }
  model3d::Vec3 dir(model3d::Vec3 local) const { return model3d::rotateY(local, pitch); }
};

struct WingShape {
  model3d::Vec3 rootFront;  // body-local shoulder, leading edge
  model3d::Vec3 rootBack;   // body-local shoulder, trailing edge
  double innerSpan;
  double outerSpan;
  double chord;
  int fingers;  // 1..5
  double fingerLength;
  double side;        // -1 the bird's left wing, +1 its right
  double innerAngle;  // degrees above the horizontal
  double outerAngle;
  double sweep;   // degrees the wing leans back
  double ragged;  // uneven finger lengths when the bird is ruffled
};

// Adds one spread wing, hinged on the body.
void addBirdWing(model3d::Scene& scene, const BodyFrame& body, const WingShape& wing,
                 const model3d::Paint& inner, const model3d::Paint& tip);
