// Wings shared by the crow and the pelican: an inner panel from the shoulder to the wrist and an
// outer panel ending in spread finger feathers, each hinged about the body's long axis.
#pragma once

#include "creatures/model3d.h"

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

// Adds the wing of a body centred at `bodyCentre` (model space) and pitched by `bodyPitch`.
void addBirdWing(model3d::Scene& scene, model3d::Vec3 bodyCentre, double bodyPitch, const WingShape& wing,
                 const model3d::Paint& inner, const model3d::Paint& tip);
