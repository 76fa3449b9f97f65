// Component textures in closed form.
#include "texture/component_texture.h"

#include <algorithm>
#include <cmath>

namespace quorix {
namespace {

double LogBeta(double x, double y) { return std::lgamma(x) + std::lgamma(y) - std::lgamma(x + y); }

struct Kernel {
  double kappa, norm;
  explicit Kernel(double halfwidth)
      : kappa(ComponentKappa(halfwidth)), norm(std::exp(LogBeta(1.5, 0.5) - LogBeta(1.5, kappa + 0.5))) {}
};

std::vector<Mat3> Equivalents(const ComponentTexture& m, const Euler& e) {
  const Mat3 g = EulerToMatrix(e);
  std::vector<Mat3> out;
  for (const Mat3& s : ProperRotations(m.sample))
    for (const Mat3& c : ProperRotations(m.crystal)) out.push_back(MatMul(MatMul(s, g), c));
  return out;
}

}  // namespace

double ComponentKappa(double halfwidth) { return 0.5 * std::log(0.5) / std::log(std::cos(DegToRad(halfwidth) / 2)); }

double ComponentOdf(const ComponentTexture& m, const Mat3& g) {
  double f = m.random;
  for (const TextureComponent& c : m.components) {
    const Kernel k(c.halfwidth);
    const auto eq = Equivalents(m, c.ideal);
    double sum = 0;
    for (const Mat3& e : eq) {
      double trace = 0;
      for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) trace += e[j][i] * g[j][i];
      const double cosHalf2 = std::clamp((1 + trace) / 4, 0.0, 1.0);  // cos^2(omega / 2)
      sum += k.norm * std::pow(cosHalf2, k.kappa);
    }
    f += c.weight * sum / static_cast<double>(eq.size());
  }
  return f;
}

double ComponentPoleFigure(const ComponentTexture& m, const Vec3& h, const Vec3& r) {
  double p = m.random;
  for (const TextureComponent& c : m.components) {
    const double kappa = ComponentKappa(c.halfwidth);
    const auto eq = Equivalents(m, c.ideal);
    double sum = 0;
    for (const Mat3& e : eq) {
      const double t = std::clamp(Dot(MatVec(e, h), r), -1.0, 1.0);
      sum += (1 + kappa) * (std::pow((1 + t) / 2, kappa) + std::pow((1 - t) / 2, kappa)) / 2;
    }
    p += c.weight * sum / static_cast<double>(eq.size());
  }
  return p;
}

}  // namespace quorix
