// What follows from an ODF: recalculated and inverse pole figures, ODF
// sections, volume fractions of ideal orientations.
#pragma once

#include <string>
#include <utility>
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
// Where that sector starts: 30 for -3m, whose mirror lines (normal to its
// 2-fold axes along a1, a2, a3) lie at 30, 90 and 150 degrees; else 0.
double InverseSectorStart(LaueGroup g);
// The region of an inverse pole figure: the standard triangle of cubic
// crystals, else the sector above, as (alpha, beta) points in order around
// it every degree or so, and its corners with their direction indices.
struct InverseSectorShape {
  std::vector<std::pair<double, double>> outline;
  struct Corner {
    double alpha = 0, beta = 0;
    std::string indices;
  };
  std::vector<Corner> corners;
};
InverseSectorShape InverseSectorOutline(LaueGroup g);
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
// Cube, Goss, Brass, Copper, S: the rolling and recrystallisation components
// of cubic metals; none for the other crystals.
std::vector<Component> NamedComponents(LaueGroup crystal);
// The Haar measure of f over the union of the balls of radius `spread`
// degrees around every equivalent s g c of the ideal orientation (total 1).
double VolumeFraction(const Odf& odf, const Euler& ideal, double spread);

}  // namespace quorix
