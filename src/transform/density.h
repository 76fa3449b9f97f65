// Density pole figures: every direction spreads a Gaussian weight over the
// points of a grid, and each point receives the sum.
#pragma once

#include <vector>

#include "base/work_control.h"
#include "math/vector_math.h"
#include "record/pole_figure.h"

namespace quorix {

// FWHM w in degrees: weight exp(-q d^2), q = ln 2 / w^2 with d and w in
// radians, so 1 at the direction itself and 1/2 at w; nothing beyond 4 w.
struct DensityKernel {
  double cutoff = 0;  // radians
  double q = 0;
};
DensityKernel MakeDensityKernel(double fwhm);

// Adds the weights of all directions to Intensity[i][k] of circles
// 1..CircleCount. Axes, not vectors: v and -v give the same density.
// Grid points that certainly lie beyond the cut-off are never visited, and
// the weights come from a table over 1 - |cos d| (RadialKernel) instead of an
// arc cosine and an exponential each: every sum adds the same terms in the
// same order as the loop of every direction against every point, the sums
// within 1e-13 relative of that loop's for widths of 2 degrees and more;
// below, its arc cosine formula loses digits near its clamp (as 1 / FWHM^2). The circles are
// spread over `threads` threads, 0 meaning one per core. With `control`, the
// finished circles are reported and a cancel stops the work: false then, with
// the intensities half summed (the caller's copy is to be dropped).
bool AddDensity(PoleFigure& pf, const std::vector<Vec3>& directions, double fwhm, int threads = 0,
                const WorkControl* control = nullptr);

}  // namespace quorix
