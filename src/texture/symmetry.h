// Crystal (Laue) and sample symmetries as sets of proper rotations, and the
// Miller indices of a crystal's planes as unit normals of its Cartesian frame.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/formatted_writer.h"
#include "math/vector_math.h"

namespace quorix {

enum class LaueGroup {
  Triclinic,
  Monoclinic,
  Orthorhombic,
  TetragonalLow,
  Tetragonal,
  TrigonalLow,
  Trigonal,
  HexagonalLow,
  Hexagonal,
  CubicLow,
  Cubic
};
enum class SampleSymmetry { Triclinic, Monoclinic, Orthorhombic };

// "cubic" or "m-3m", ...; nothing for an unknown name.
std::optional<LaueGroup> LaueGroupNamed(std::string_view name);
std::optional<SampleSymmetry> SampleSymmetryNamed(std::string_view name);
// Beartex symmetry codes 1 (C1) .. 11 (D6).
std::optional<LaueGroup> LaueGroupOfBeartexCode(int code);
std::string LaueGroupName(LaueGroup g);    // "cubic"
std::string LaueGroupSymbol(LaueGroup g);  // "m-3m"
std::string SampleSymmetryName(SampleSymmetry s);

// Trigonal and hexagonal crystals: four Miller indices allowed, x along a1 and z along c.
bool IsHexagonalFamily(LaueGroup g);
bool IsCubic(LaueGroup g);

// The proper rotations of the group; the identity first. Monoclinic crystals
// have their 2-fold axis along b (y), trigonal ones a 2-fold axis along a1 (x).
std::vector<Mat3> ProperRotations(LaueGroup g);
// Diagonal matrices: the identity, then 2-folds about ND, RD, TD.
std::vector<Mat3> ProperRotations(SampleSymmetry s);

// Lattice from six numbers "a,b,c,alpha,beta,gamma"; the message says what is wrong.
std::optional<Lattice> ParseLattice(std::string_view text, std::string& error);
// The six numbers as ParseLattice reads them.
std::string LatticeText(const Lattice& l);

// Miller indices as typed or as a file names them: "1 1 1", "1,1,1", "111",
// "-1 0 1", four indices "1 0 -1 0" or "10-10" for trigonal and hexagonal
// crystals (i = -h - k). Gives h, k, l; `error` says what is wrong.
std::optional<std::array<int, 3>> ParseMiller(std::string_view text, LaueGroup group, std::string& error);

// The unit normal of plane (hkl) in the crystal's Cartesian frame (x along a,
// z along c*), through the reciprocal lattice.
Vec3 PlaneNormal(const std::array<int, 3>& hkl, const Lattice& lattice);
// Lattice parameters a cubic crystal may leave out.
Lattice CubicLattice();
// Why the lattice cannot serve (a zero length, angles that close no cell); nothing when it can.
std::optional<std::string> LatticeProblem(const Lattice& lattice);

}  // namespace quorix
