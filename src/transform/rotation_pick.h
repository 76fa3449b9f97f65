// A rotation picked by dragging in the plot: the rotation about the normal of
// the start and end directions that brings the start onto the end.
#pragma once

#include <string>

namespace quorix {

// To a multiple of 5 degrees: up from 2.5 below the next multiple, down
// otherwise (a value exactly halfway rounds down; negative values give 0).
double RoundToFiveDegrees(double x);

struct PickedRotation {
  bool valid = false;  // false when the two directions coincide
  double phi = 0;      // azimuth of the axis
  double theta = 0;    // polar angle of the axis, folded into the lower hemisphere
  double omega = 0;    // rotation angle for AxisAngleMatrix
};

// Directions (alpha, beta) in degrees where the drag started and ended; with
// `roundAngles` each is first rounded to a multiple of 5 degrees.
PickedRotation PickRotation(double alpha1, double beta1, double alpha2, double beta2, bool roundAngles);

// The texts of the Phi, Theta and Alpha fields: one decimal each.
struct PickFields {
  std::string phi, theta, alpha;
};
PickFields FormatPickFields(const PickedRotation& r);

}  // namespace quorix
