// What follows from an ODF: recalculated and inverse pole figures, ODF
// sections, volume fractions of ideal orientations.
#pragma once

#include <string>
#include <vector>

#include "record/angle_grid.h"
#include "texture/odf.h"
#include "texture/paths.h"

namespace quorix {

// The pole figure of the reflection(s) at the sample directions, m.r.d.
std::vector<double> RecalculatePoleFigure(const Odf& odf, const std::vector<Reflection>& reflections,
                                          const std::vector<Vec3>& directions, int threads = 2);

// The azimuth range (from a) of the crystal's sector that holds every
// direction once up to the Laue group: 45 for m-3m, 30 for 6/mmm, ...
double InverseSectorWidth(LaueGroup g);
// Density of the crystal directions (alpha from c*, i.e. z, beta from a,
// i.e. x) along `sampleDirection`, alpha 0..90 and beta over the sector, every `step` degrees.
AngleGrid InversePoleFigure(const Odf& odf, const Vec3& sampleDirection, double step, int threads = 2);

// f on a section phi2 = angle (rows Phi, columns phi1), or phi1 = angle (rows Phi, columns phi2).
enum class SectionAxis { Phi2, Phi1 };
AngleGrid OdfSection(const Odf& odf, SectionAxis axis, double angle);

struct Component {
  std::string name;
  Euler ideal;
};
// Cube, Goss, Brass, Copper, S.
std::vector<Component> NamedComponents();
// The Haar measure of f over the union of the balls of radius `spread`
// degrees around every equivalent s g c of the ideal orientation (total 1).
double VolumeFraction(const Odf& odf, const Euler& ideal, double spread);

}  // namespace quorix
