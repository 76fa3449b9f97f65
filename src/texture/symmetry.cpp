// The 11 Laue groups and 3 sample symmetries as proper rotations; Miller
// indices, the reciprocal lattice and the plane normals.
#include "texture/symmetry.h"

#include <fmt/format.h>

#include <cctype>
#include <cmath>

#include "base/number_format.h"
#include "base/text_file.h"
#include "texture/orientation.h"

namespace quorix {
namespace {

struct GroupName {
  LaueGroup group;
  const char* name;
  const char* symbol;
};
constexpr GroupName kGroups[] = {
    {LaueGroup::Triclinic, "triclinic", "-1"},
    {LaueGroup::Monoclinic, "monoclinic", "2/m"},
    {LaueGroup::Orthorhombic, "orthorhombic", "mmm"},
    {LaueGroup::TetragonalLow, "tetragonal-low", "4/m"},
    {LaueGroup::Tetragonal, "tetragonal", "4/mmm"},
    {LaueGroup::TrigonalLow, "trigonal-low", "-3"},
    {LaueGroup::Trigonal, "trigonal", "-3m"},
    {LaueGroup::HexagonalLow, "hexagonal-low", "6/m"},
    {LaueGroup::Hexagonal, "hexagonal", "6/mmm"},
    {LaueGroup::CubicLow, "cubic-low", "m-3"},
    {LaueGroup::Cubic, "cubic", "m-3m"},
};

std::string Lower(std::string_view s) {
  std::string out(Trim(s));
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool SameMatrix(const Mat3& a, const Mat3& b) {
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t k = 0; k < 3; ++k)
      if (std::abs(a[i][k] - b[i][k]) > 1e-9) return false;
  return true;
}

// The group the generators span, identity first.
std::vector<Mat3> Closure(const std::vector<Mat3>& generators) {
  std::vector<Mat3> group{IdentityMatrix()};
  for (std::size_t k = 0; k < group.size(); ++k)
    for (const Mat3& gen : generators) {
      const Mat3 m = MatMul(group[k], gen);
      bool known = false;
      for (const Mat3& e : group) known = known || SameMatrix(e, m);
      if (!known) group.push_back(m);
    }
  // Clean rounding so that the 0s and 1s of the matrices are exact.
  for (Mat3& m : group)
    for (auto& row : m)
      for (double& v : row)
        for (double exact : {0.0, 1.0, -1.0, 0.5, -0.5})
          if (std::abs(v - exact) < 1e-12) v = exact;
  return group;
}

const Mat3 kThreeFold111{{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}};

}  // namespace

std::optional<LaueGroup> LaueGroupNamed(std::string_view name) {
  const std::string n = Lower(name);
  for (const GroupName& g : kGroups)
    if (n == g.name || n == g.symbol) return g.group;
  return std::nullopt;
}

std::optional<SampleSymmetry> SampleSymmetryNamed(std::string_view name) {
  const std::string n = Lower(name);
  if (n == "triclinic" || n == "-1") return SampleSymmetry::Triclinic;
  if (n == "monoclinic" || n == "2/m") return SampleSymmetry::Monoclinic;
  if (n == "orthorhombic" || n == "mmm") return SampleSymmetry::Orthorhombic;
  return std::nullopt;
}

std::optional<LaueGroup> LaueGroupOfBeartexCode(int code) {
  static constexpr LaueGroup kByCode[] = {LaueGroup::Triclinic,     LaueGroup::Monoclinic,  LaueGroup::Orthorhombic,
                                          LaueGroup::TetragonalLow, LaueGroup::Tetragonal,  LaueGroup::CubicLow,
                                          LaueGroup::Cubic,         LaueGroup::TrigonalLow, LaueGroup::Trigonal,
                                          LaueGroup::HexagonalLow,  LaueGroup::Hexagonal};
  if (code < 1 || code > 11) return std::nullopt;
  return kByCode[code - 1];
}

std::string LaueGroupName(LaueGroup g) { return kGroups[static_cast<int>(g)].name; }
std::string LaueGroupSymbol(LaueGroup g) { return kGroups[static_cast<int>(g)].symbol; }
std::string SampleSymmetryName(SampleSymmetry s) {
  return s == SampleSymmetry::Triclinic ? "triclinic" : s == SampleSymmetry::Monoclinic ? "monoclinic" : "orthorhombic";
}

bool IsHexagonalFamily(LaueGroup g) {
  return g == LaueGroup::TrigonalLow || g == LaueGroup::Trigonal || g == LaueGroup::HexagonalLow ||
         g == LaueGroup::Hexagonal;
}
bool IsCubic(LaueGroup g) { return g == LaueGroup::Cubic || g == LaueGroup::CubicLow; }

std::vector<Mat3> ProperRotations(LaueGroup g) {
  const Mat3 x2 = AxisRotationMatrix('X', 180);
  switch (g) {
    case LaueGroup::Triclinic: return Closure({});
    case LaueGroup::Monoclinic: return Closure({AxisRotationMatrix('Y', 180)});
    case LaueGroup::Orthorhombic: return Closure({x2, AxisRotationMatrix('Z', 180)});
    case LaueGroup::TetragonalLow: return Closure({AxisRotationMatrix('Z', 90)});
    case LaueGroup::Tetragonal: return Closure({AxisRotationMatrix('Z', 90), x2});
    case LaueGroup::TrigonalLow: return Closure({AxisRotationMatrix('Z', 120)});
    case LaueGroup::Trigonal: return Closure({AxisRotationMatrix('Z', 120), x2});
    case LaueGroup::HexagonalLow: return Closure({AxisRotationMatrix('Z', 60)});
    case LaueGroup::Hexagonal: return Closure({AxisRotationMatrix('Z', 60), x2});
    case LaueGroup::CubicLow: return Closure({x2, AxisRotationMatrix('Z', 180), kThreeFold111});
    case LaueGroup::Cubic: return Closure({AxisRotationMatrix('Z', 90), kThreeFold111});
  }
  return Closure({});
}

std::vector<Mat3> ProperRotations(SampleSymmetry s) {
  switch (s) {
    case SampleSymmetry::Triclinic: return Closure({});
    case SampleSymmetry::Monoclinic: return Closure({AxisRotationMatrix('Z', 180)});
    case SampleSymmetry::Orthorhombic: return Closure({AxisRotationMatrix('Z', 180), AxisRotationMatrix('X', 180)});
  }
  return Closure({});
}

std::string LatticeText(const Lattice& l) {
  return fmt::format("{},{},{},{},{},{}", FormatGeneral(l.a), FormatGeneral(l.b), FormatGeneral(l.c),
                     FormatGeneral(l.alpha), FormatGeneral(l.beta), FormatGeneral(l.gamma));
}

std::optional<Lattice> ParseLattice(std::string_view text, std::string& error) {
  std::string spaced(text);
  for (char& c : spaced)
    if (c == ',') c = ' ';
  const auto tokens = SplitWhitespace(spaced);
  std::vector<double> v;
  for (std::string_view t : tokens) {
    const auto x = ParseNumber(t);
    if (!x) {
      error = fmt::format("\"{}\" in the lattice \"{}\" is no number.", t, text);
      return std::nullopt;
    }
    v.push_back(*x);
  }
  if (v.size() != 6) {
    error = fmt::format("The lattice \"{}\" needs six numbers: a,b,c,alpha,beta,gamma.", text);
    return std::nullopt;
  }
  const Lattice l{v[0], v[1], v[2], v[3], v[4], v[5]};
  if (const auto problem = LatticeProblem(l)) {
    error = *problem;
    return std::nullopt;
  }
  return l;
}

std::optional<std::array<int, 3>> ParseMiller(std::string_view text, LaueGroup group, std::string& error) {
  std::string spaced(Trim(text));
  for (char& c : spaced)
    if (c == ',' || c == '(' || c == ')' || c == '{' || c == '}') c = ' ';
  std::vector<long long> idx;
  const auto tokens = SplitWhitespace(spaced);
  if (tokens.size() == 1) {
    // Digits run together ("111", "10-11"): one digit per index, a sign in front.
    int sign = 1;
    for (char c : tokens[0]) {
      if (c == '-') {
        sign = -1;
      } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
        idx.push_back(sign * (c - '0'));
        sign = 1;
      } else {
        idx.clear();
        break;
      }
    }
  } else {
    for (std::string_view t : tokens) {
      const auto v = ParseInteger(t);
      if (!v || *v < -99 || *v > 99) {
        idx.clear();
        break;
      }
      idx.push_back(*v);
    }
  }
  if (idx.size() != 3 && idx.size() != 4) {
    error = fmt::format("\"{}\" are no Miller indices (three or four whole numbers).", text);
    return std::nullopt;
  }
  if (idx.size() == 4) {
    if (!IsHexagonalFamily(group)) {
      error =
          fmt::format("Four indices \"{}\" need a trigonal or hexagonal crystal, not {}.", text, LaueGroupName(group));
      return std::nullopt;
    }
    if (idx[2] != -idx[0] - idx[1]) {
      error = fmt::format("In \"{}\" the third index must be -h-k = {}.", text, -idx[0] - idx[1]);
      return std::nullopt;
    }
    idx.erase(idx.begin() + 2);
  }
  if (idx[0] == 0 && idx[1] == 0 && idx[2] == 0) {
    error = fmt::format("The Miller indices \"{}\" are all zero.", text);
    return std::nullopt;
  }
  return std::array<int, 3>{static_cast<int>(idx[0]), static_cast<int>(idx[1]), static_cast<int>(idx[2])};
}

Lattice CubicLattice() { return Lattice{1, 1, 1, 90, 90, 90}; }

namespace {
// Columns a, b, c of the direct lattice in the Cartesian frame (x along a, z along c*).
Mat3 DirectBasis(const Lattice& l) {
  const double ca = std::cos(DegToRad(l.alpha)), cb = std::cos(DegToRad(l.beta));
  const double cg = std::cos(DegToRad(l.gamma)), sg = std::sin(DegToRad(l.gamma));
  const double cy = (ca - cb * cg) / sg;
  const double cz2 = 1 - cb * cb - cy * cy;
  const double cz = cz2 > 0 ? std::sqrt(cz2) : 0.0;
  return Mat3{{{l.a, l.b * cg, l.c * cb}, {0, l.b * sg, l.c * cy}, {0, 0, l.c * cz}}};
}
}  // namespace

std::optional<std::string> LatticeProblem(const Lattice& l) {
  if (!(l.a > 0 && l.b > 0 && l.c > 0))
    return fmt::format("Lattice lengths must be above 0, not {}, {}, {}.", l.a, l.b, l.c);
  for (double angle : {l.alpha, l.beta, l.gamma})
    if (!(angle > 0 && angle < 180))
      return fmt::format("Lattice angles must lie between 0 and 180 degrees, not {}.", angle);
  const Mat3 b = DirectBasis(l);
  if (b[2][2] < 1e-6 * l.c) return std::string("The lattice angles close no cell.");
  return std::nullopt;
}

Vec3 PlaneNormal(const std::array<int, 3>& hkl, const Lattice& lattice) {
  // Rows of the inverse of the upper-triangular direct basis are a*, b*, c*.
  const Mat3 m = DirectBasis(lattice);
  const double a = m[0][0], b = m[0][1], c = m[0][2], d = m[1][1], e = m[1][2], f = m[2][2];
  const Mat3 inv{{{1 / a, -b / (a * d), (b * e - c * d) / (a * d * f)}, {0, 1 / d, -e / (d * f)}, {0, 0, 1 / f}}};
  const double h = hkl[0], k = hkl[1], l = hkl[2];
  // n = h a* + k b* + l c*: the reciprocal vectors are the rows of the inverse.
  const Vec3 n{h * inv[0][0] + k * inv[1][0] + l * inv[2][0], h * inv[0][1] + k * inv[1][1] + l * inv[2][1],
               h * inv[0][2] + k * inv[1][2] + l * inv[2][2]};
  return Normalized(n);
}

}  // namespace quorix
