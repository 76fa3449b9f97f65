// Textures made of ideal orientations with de la Vallee Poussin spreads and a
// random part, whose ODF and pole figures are known in closed form: simulated
// measurements, and the truth an ODF estimate is checked against.
#pragma once

#include <vector>

#include "texture/orientation.h"
#include "texture/symmetry.h"

namespace quorix {

struct TextureComponent {
  Euler ideal;
  double weight = 0;
  double halfwidth = 10;  // degrees
};

struct ComponentTexture {
  LaueGroup crystal = LaueGroup::Cubic;
  SampleSymmetry sample = SampleSymmetry::Orthorhombic;
  double random = 1;  // the weights and this sum to 1
  std::vector<TextureComponent> components;
};

// The kernel's exponent for a halfwidth in degrees.
double ComponentKappa(double halfwidth);
// f(g), m.r.d.
double ComponentOdf(const ComponentTexture& m, const Mat3& g);
// The pole figure of plane normal h (crystal frame, unit) at sample direction r, m.r.d.
double ComponentPoleFigure(const ComponentTexture& m, const Vec3& h, const Vec3& r);

}  // namespace quorix
