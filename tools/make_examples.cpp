// Writes the example grids and data files of examples/ from a simple model:
// Gaussian peaks of different width on a fibre background, a little noise,
// some negative (background-corrected) values and a few missing points; and
// the pole figures of one rolling texture for the ODF.
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "texture/model_texture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Peak {
  double alpha, beta, height, fwhm;
};

// Deterministic on every platform, unlike the standard distributions.
class Noise {
 public:
  explicit Noise(std::uint64_t seed) : state_(seed) {}
  double Uniform() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
  }

 private:
  std::uint64_t state_;
};

double AngleBetween(double a1, double b1, double a2, double b2) {
  const double d = kPi / 180;
  const double x1 = std::sin(a1 * d) * std::cos(b1 * d), y1 = std::sin(a1 * d) * std::sin(b1 * d),
               z1 = std::cos(a1 * d);
  const double x2 = std::sin(a2 * d) * std::cos(b2 * d), y2 = std::sin(a2 * d) * std::sin(b2 * d),
               z2 = std::cos(a2 * d);
  // Antipodes diffract alike: a peak near the rim continues on the far side.
  const double c = std::fabs(x1 * x2 + y1 * y2 + z1 * z2);
  return std::acos(std::min(1.0, c)) / d;
}

double Model(const std::vector<Peak>& peaks, double alpha, double beta) {
  const double ca = std::cos(alpha * kPi / 180);
  double v = 40 + 35 * ca * ca;  // fibre background around the sample normal
  for (const Peak& p : peaks) {
    const double w = AngleBetween(alpha, beta, p.alpha, p.beta) / p.fwhm;
    v += p.height * std::exp(-4 * std::log(2.0) * w * w);
  }
  return v;
}

struct Circle {
  double alpha, betaStart, betaStep;
  int points;
};

using Figure = std::vector<std::vector<double>>;

Figure Sample(const std::vector<Circle>& grid, const std::vector<Peak>& peaks, std::uint64_t seed, bool integers) {
  Noise noise(seed);
  Figure f;
  for (const Circle& c : grid) {
    std::vector<double> row;
    for (int k = 0; k < c.points; ++k) {
      double v = Model(peaks, c.alpha, c.betaStart + k * c.betaStep);
      v *= 1 + 0.06 * (noise.Uniform() - 0.5);
      const double r = noise.Uniform();
      if (c.alpha >= 80 && r < 0.03) v = -2 - 8 * noise.Uniform();  // over-corrected background
      if (integers) v = std::round(v);
      if (r > 0.996) v = -1;  // not measured
      row.push_back(v);
    }
    f.push_back(row);
  }
  return f;
}

std::vector<Circle> FiveDegreeGrid() {
  std::vector<Circle> g;
  for (int a = 0; a <= 90; a += 5) g.push_back({double(a), 0, 5, 72});
  return g;
}

std::vector<Peak> Reflection(int which) {
  switch (which) {
    case 0: return {{35, 45, 420, 14}, {55, 225, 260, 20}, {80, 300, 160, 10}, {18, 140, 110, 8}};
    case 1: return {{50, 0, 380, 16}, {50, 120, 300, 16}, {50, 240, 300, 16}, {0, 0, 140, 12}};
    default: return {{25, 90, 250, 10}, {70, 10, 320, 24}, {88, 180, 150, 9}};
  }
}

// Pole figures of a texture rather than of peaks drawn on each figure alone,
// so that an ODF computed from them can reproduce them: rolled copper.
Figure SampleTexture(const std::vector<Circle>& grid, const std::array<int, 3>& hkl, std::uint64_t seed) {
  quorix::test::ModelTexture rolled;
  rolled.random = 0.35;
  rolled.components = {{{90, 35.26, 45}, 0.25, 12}, {{58.98, 36.7, 63.43}, 0.25, 12}, {{35.26, 45, 0}, 0.15, 12}};
  const quorix::Vec3 h = quorix::PlaneNormal(hkl, quorix::CubicLattice());
  Noise noise(seed);
  Figure f;
  for (const Circle& c : grid) {
    std::vector<double> row;
    for (int k = 0; k < c.points; ++k) {
      const double p =
          quorix::test::ModelPoleFigure(rolled, h, quorix::DirectionToVector(c.alpha, c.betaStart + k * c.betaStep));
      row.push_back(std::round(100 * p * (1 + 0.04 * (noise.Uniform() - 0.5))));
    }
    f.push_back(row);
  }
  return f;
}

void WritePlain(const std::string& path, const Figure& f, bool header) {
  std::ofstream out(path);
  if (header) out << "Simulated copper, (111) reflection\nintensities in counts, circle by circle\n";
  int column = 0;
  for (const auto& row : f) {
    for (double v : row) {
      out << fmt::format("{:9.2f}", v);
      if (++column == 8) {
        out << '\n';
        column = 0;
      }
    }
  }
  if (column) out << '\n';
}

void WriteHashList(const std::string& path, const std::vector<Figure>& figures, const std::vector<std::string>& names) {
  std::ofstream out(path);
  for (std::size_t k = 0; k < figures.size(); ++k) {
    out << fmt::format("{:<79}#\n", fmt::format("Simulated copper: experimental pole figure, {}", names[k]));
    out << "\n\n\n\n";
    out << "    3.6150    3.6150    3.6150   90.0000   90.0000   90.0000    7    1\n";
    out << fmt::format("{:<10}  0.0 90.0  5.0  0.0360.0  5.0 1 1\n", names[k]);
    for (const auto& row : figures[k]) {
      for (std::size_t j = 0; j < row.size(); j += 18) {
        std::string line = " ";
        for (std::size_t q = j; q < j + 18 && q < row.size(); ++q)
          line += fmt::format("{:4d}", static_cast<int>(row[q]));
        out << line << '\n';
      }
    }
    out << '\n';
  }
}

// popLA: per pole figure a comment, a header (hkl, tilt step and maximum,
// azimuth step and maximum in columns of 5) and 18 four-character fields a
// line, with the circle's first value again at 360 degrees on its last line.
void WritePopla(const std::string& path, const std::vector<Figure>& figures, const std::vector<std::string>& hkls,
                const std::string& title = "Simulated copper") {
  std::ofstream out(path);
  for (std::size_t k = 0; k < figures.size(); ++k) {
    out << fmt::format("{} {}\n", title, hkls[k]);
    out << fmt::format("{:<5}{:5.1f}{:5.1f}{:5.1f}{:5.1f} 1 1 2-1 3  100    0\n", hkls[k], 5.0,
                       5.0 * static_cast<double>(figures[k].size() - 1), 5.0, 360.0);
    for (const auto& row : figures[k]) {
      for (std::size_t j = 0; j < row.size(); j += 18) {
        std::string line = " ";
        for (std::size_t q = j; q < j + 18 && q < row.size(); ++q)
          line += fmt::format("{:4d}", static_cast<int>(row[q]));
        if (j + 18 >= row.size()) line += fmt::format("{:4d}", static_cast<int>(row[0]));
        out << line << '\n';
      }
    }
    out << '\n';
  }
}

// A column list: two header lines, then alpha, beta and intensity a line,
// from the rim inwards as some instruments write them.
void WriteColumns(const std::string& path, const std::vector<Circle>& grid, const Figure& f) {
  std::ofstream out(path);
  out << "Simulated copper (111), column list\n";
  out << "     alpha      beta intensity\n";
  for (std::size_t i = grid.size(); i-- > 0;)
    for (int k = 0; k < grid[i].points; ++k)
      out << fmt::format("{:10.3f}{:10.3f}{:10.2f}\n", grid[i].alpha, grid[i].betaStart + k * grid[i].betaStep,
                         f[i][static_cast<std::size_t>(k)]);
}

void WriteWkoList(const std::string& path, const std::vector<Figure>& figures, const std::vector<std::string>& names) {
  std::ofstream out(path);
  out << "Simulated quartz, WKO list\n";
  out << "two reflections\n";
  out << fmt::format("{:3d}  pole figures\n", figures.size());
  out << "\n";
  for (std::size_t k = 0; k < figures.size(); ++k) {
    // Characters 10..17: A + 1 circles of B points.
    out << fmt::format("{:<9}{:4d}{:4d}  5.0  5.0\n", names[k], 18, 72);
    out << "  WKO = 1  corrected for defocusing\n";
    out << "  alpha 0..90, beta 0..355\n";
    std::vector<double> all;
    for (const auto& row : figures[k]) all.insert(all.end(), row.begin(), row.end());
    std::size_t lines = 0;
    for (std::size_t j = 0; j < all.size(); j += 10) {
      for (std::size_t q = j; q < j + 10 && q < all.size(); ++q) out << fmt::format("{:7.1f}", all[q]);
      out << '\n';
      ++lines;
    }
    out << "  end of pole figure\n\n";
  }
}

void WriteGrid(const std::string& path, const std::vector<Circle>& grid, bool centrePoint) {
  std::ofstream out(path);
  for (std::size_t i = 0; i < grid.size(); ++i) {
    if (i == 0 && centrePoint) {
      out << "0 1\n";
      continue;
    }
    out << fmt::format("{:g} {}\n", grid[i].alpha, grid[i].points);
  }
}

// Crack normals of a sample: two families of cracks (normals clustered about
// a mean direction) and scattered single cracks. Each normal is written in
// one of the tag conventions of directional data files.
struct Family {
  double alpha, beta, spread;  // degrees; spread: standard deviation of the angle off the mean
  int count;
};

void Normal(double x, double y, double z, double& alpha, double& beta) {
  if (z < 0) {  // an axis: keep the end in the lower hemisphere
    x = -x;
    y = -y;
    z = -z;
  }
  alpha = std::acos(std::min(1.0, z)) * 180 / kPi;
  beta = std::atan2(y, x) * 180 / kPi;
  if (beta < 0) beta += 360;
}

// r and s under the convention of `tag` for the plot direction (alpha, beta).
void ToTagged(double alpha, double beta, const std::string& tag, double& r, double& s) {
  if (tag == "EP") {  // dip direction and dip of the cracked plane
    r = beta + 180;
    s = alpha;
  } else if (tag == "N") {  // azimuth from the top of the plot, angle off the centre
    r = beta - 90;
    s = alpha;
  } else {  // "X": trend clockwise from the top, plunge
    r = 90 - beta;
    s = 90 - alpha;
  }
  r = std::fmod(std::fmod(r, 360) + 360, 360);
}

void WriteCracks(const std::string& path) {
  Noise noise(41);
  const std::vector<Family> families = {{22, 60, 7, 160}, {78, 150, 10, 110}, {0, 0, -1, 50}};
  const std::vector<std::string> tags = {"X", "EP", "N"};
  std::ofstream out(path);
  out << "crack normals, simulated: r s tag\n";
  int line = 0;
  for (const Family& f : families) {
    for (int k = 0; k < f.count; ++k, ++line) {
      double x, y, z;
      if (f.spread < 0) {  // scatter: evenly over the hemisphere
        z = noise.Uniform();
        const double phi = 2 * kPi * noise.Uniform();
        x = std::sqrt(1 - z * z) * std::cos(phi);
        y = std::sqrt(1 - z * z) * std::sin(phi);
      } else {
        // Off the mean by a normally distributed angle (Box-Muller) in a random direction.
        const double u1 = std::max(noise.Uniform(), 1e-12), u2 = noise.Uniform();
        const double off = std::fabs(f.spread * std::sqrt(-2 * std::log(u1)) * std::cos(2 * kPi * u2)) * kPi / 180;
        const double turn = 2 * kPi * noise.Uniform();
        const double a = f.alpha * kPi / 180, b = f.beta * kPi / 180;
        const double c[3] = {std::sin(a) * std::cos(b), std::sin(a) * std::sin(b), std::cos(a)};
        const double e1[3] = {std::cos(a) * std::cos(b), std::cos(a) * std::sin(b), -std::sin(a)};
        const double e2[3] = {-std::sin(b), std::cos(b), 0};
        double v[3];
        for (int q = 0; q < 3; ++q)
          v[q] = std::cos(off) * c[q] + std::sin(off) * (std::cos(turn) * e1[q] + std::sin(turn) * e2[q]);
        x = v[0];
        y = v[1];
        z = v[2];
      }
      double alpha, beta, r, s;
      Normal(x, y, z, alpha, beta);
      const std::string& tag = tags[line % 3];
      ToTagged(alpha, beta, tag, r, s);
      out << fmt::format("{:6.1f} {:5.1f}  {}\n", r, s, tag);
    }
  }
}

// --- Diffractometer files --------------------------------------------------
// A coarse measurement (tilts 0 to 75 in 15, azimuths in 15) as counts of 2 s
// per point, in each instrument's own layout and angle conventions.

constexpr double kCountSeconds = 2;
constexpr int kScanPoints = 24;  // 15-degree azimuth steps

struct Measured {
  std::string hkl;  // "1 1 1"
  double twoTheta;  // copper, Cu K-alpha
  std::vector<double> tilts;
  Figure counts;  // per tilt, azimuths 0, 15, ... 345
};

Measured Measure(int reflection, const std::string& hkl, double twoTheta, std::uint64_t seed) {
  std::vector<Circle> grid;
  for (int a = 0; a <= 75; a += 15) grid.push_back({double(a), 0, 360.0 / kScanPoints, kScanPoints});
  Measured m{hkl, twoTheta, {}, Sample(grid, Reflection(reflection), seed, false)};
  for (const Circle& c : grid) m.tilts.push_back(c.alpha);
  // A counter counts: no negative or missing points.
  for (auto& row : m.counts)
    for (double& v : row) v = std::max(0.0, std::round(v * kCountSeconds));
  return m;
}

void WriteXrdml(const std::string& path, const std::vector<Measured>& ms) {
  std::ofstream out(path);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<xrdMeasurements xmlns=\"http://www.xrdml.com/XRDMeasurement/1.2\" status=\"Completed\">\n"
         "\t<sample type=\"To be analyzed\">\n\t\t<id>copper</id>\n\t\t<name>Simulated copper</name>\n\t</sample>\n";
  for (const Measured& m : ms) {
    out << "\t<xrdMeasurement measurementType=\"Texture pole figure\" status=\"Completed\" "
           "measurementStepAxis=\"Psi\">\n";
    for (std::size_t i = 0; i < m.tilts.size(); ++i) {
      char h = m.hkl[0], k = m.hkl[2], l = m.hkl[4];
      out << "\t\t<scan appendNumber=\"0\" mode=\"Continuous\" scanAxis=\"Phi\" status=\"Completed\">\n"
          << fmt::format(
                 "\t\t\t<reflection>\n\t\t\t\t<hkl>\n\t\t\t\t\t<h>{}</h>\n\t\t\t\t\t<k>{}</k>\n"
                 "\t\t\t\t\t<l>{}</l>\n\t\t\t\t</hkl>\n\t\t\t</reflection>\n",
                 h, k, l)
          << "\t\t\t<dataPoints>\n"
          << fmt::format(
                 "\t\t\t\t<positions axis=\"2Theta\" unit=\"deg\">\n\t\t\t\t\t<commonPosition>{:.3f}"
                 "</commonPosition>\n\t\t\t\t</positions>\n",
                 m.twoTheta)
          << fmt::format(
                 "\t\t\t\t<positions axis=\"Phi\" unit=\"deg\">\n\t\t\t\t\t<startPosition>0.00"
                 "</startPosition>\n\t\t\t\t\t<endPosition>{:.2f}</endPosition>\n\t\t\t\t</positions>\n",
                 360.0 - 360.0 / kScanPoints)
          << fmt::format(
                 "\t\t\t\t<positions axis=\"Psi\" unit=\"deg\">\n\t\t\t\t\t<commonPosition>{:.2f}"
                 "</commonPosition>\n\t\t\t\t</positions>\n",
                 m.tilts[i])
          << fmt::format("\t\t\t\t<commonCountingTime unit=\"seconds\">{:.2f}</commonCountingTime>\n", kCountSeconds)
          << "\t\t\t\t<intensities unit=\"counts\">";
      for (std::size_t j = 0; j < m.counts[i].size(); ++j) out << (j ? " " : "") << m.counts[i][j];
      out << "</intensities>\n\t\t\t</dataPoints>\n\t\t</scan>\n";
    }
    out << "\t</xrdMeasurement>\n";
  }
  out << "</xrdMeasurements>\n";
}

// Bruker's drive here runs backwards, from 345 down to 0.
void WriteUxd(const std::string& path, const std::vector<Measured>& ms) {
  std::ofstream out(path);
  out << "; Simulated copper, converted by make_examples\n_FILEVERSION=2\n_SAMPLE='Simulated copper'\n"
         "_WL1=1.540600\n_ANODE='Cu'\n";
  int range = 0;
  for (const Measured& m : ms) {
    for (std::size_t i = 0; i < m.tilts.size(); ++i) {
      out << fmt::format(
          "; (Data for Range number {})\n_DRIVE='PHI'\n_STEPTIME={:.6f}\n_STEPSIZE={:.6f}\n"
          "_STEPMODE='C'\n_START={:.6f}\n_2THETA={:.6f}\n_KHI={:.6f}\n_PHI={:.6f}\n_2THETACOUNTS\n",
          ++range, kCountSeconds, -360.0 / kScanPoints, 345.0, m.twoTheta, m.tilts[i], 345.0);
      for (int j = kScanPoints - 1; j >= 0; --j)
        out << fmt::format("{:9.4f} {:9.1f}\n", j * 360.0 / kScanPoints, m.counts[i][static_cast<std::size_t>(j)]);
    }
  }
}

// Rigaku counts alpha from the sample plane: 90 at the centre. Each circle
// closes with the first point once more, at 360.
void WriteAsc(const std::string& path, const Measured& m) {
  std::ofstream out(path);
  out << "*TYPE\t\t=  Raw\n*CLASS\t\t=  Polefig\n*SAMPLE\t\t=  Simulated copper\n*GROUP_COUNT\t=  1\n"
         "*SCAN_AXIS\t=  beta\n*SPEED_DIM\t=  sec./step\n*XUNIT\t\t=  deg.\n*YUNIT\t\t=  counts\n"
      << fmt::format("*PF_2THANGLE\t=  1, {:.3f}\n*MEMO\t\t=  copper {}\n\n", m.twoTheta, m.hkl);
  for (std::size_t i = m.tilts.size(); i-- > 0;) {
    out << fmt::format(
        "*BEGIN\n*GROUP\t\t=  0\n*START\t\t=  0.000000\n*STOP\t\t=  360\n*STEP\t\t=  {:g}\n"
        "*SPEED\t\t=  {:g}\n*PF_AANGLE\t=  {:g}\n*PF_BANGLE\t=  0.000000\n*COUNT\t\t=  {}\n",
        360.0 / kScanPoints, kCountSeconds, 90 - m.tilts[i], kScanPoints + 1);
    for (int j = 0; j <= kScanPoints; ++j) {
      const double v = m.counts[i][static_cast<std::size_t>(j % kScanPoints)];
      out << fmt::format("{:g}", v) << (j == kScanPoints ? "\n" : (j % 4 == 3 ? "\n" : ", "));
    }
    out << "*END\n\n";
  }
  out << "*EOF\n";
}

void WriteRas(const std::string& path, const Measured& m) {
  std::ofstream out(path);
  const double step = 360.0 / kScanPoints;
  const double degPerMin = step * 60 / kCountSeconds;
  out << "*RAS_DATA_START\n";
  for (std::size_t i = 0; i < m.tilts.size(); ++i) {
    out << "*RAS_HEADER_START\n*FILE_DATA_TYPE \"RAS_3DE_POLEFIG\"\n*FILE_SAMPLE \"Simulated copper\"\n"
        << fmt::format("*MEAS_3DE_ALPHA_ANGLE \"{:.1f}\"\n*MEAS_3DE_TWOTHETA_ANGLE \"{:.4f}\"\n", 90 - m.tilts[i],
                       m.twoTheta)
        << fmt::format("*MEAS_DATA_COUNT \"{}\"\n*MEAS_SCAN_AXIS_X \"Phi\"\n*MEAS_SCAN_MODE \"CONTINUOUS\"\n",
                       kScanPoints + 1)
        << fmt::format(
               "*MEAS_SCAN_SPEED \"{:.3f}\"\n*MEAS_SCAN_SPEED_UNIT \"deg/min\"\n*MEAS_SCAN_START \"0.000\"\n"
               "*MEAS_SCAN_STEP \"{:.3f}\"\n*MEAS_SCAN_STOP \"360.000\"\n*MEAS_SCAN_UNIT_X \"deg\"\n"
               "*MEAS_SCAN_UNIT_Y \"counts\"\n*RAS_HEADER_END\n*RAS_INT_START\n",
               degPerMin, step);
    for (int j = 0; j <= kScanPoints; ++j)
      out << fmt::format("{:.3f} {:.3f} 1.000\n", j * step, m.counts[i][static_cast<std::size_t>(j % kScanPoints)]);
    out << "*RAS_INT_END\n";
  }
  out << "*RAS_DATA_END\n";
}

// No tilts in this layout: the circles are 0, 15, ... 75 in file order.
void WriteRigakuTxt(const std::string& path, const Measured& m) {
  std::ofstream out(path);
  const double step = 360.0 / kScanPoints;
  for (std::size_t i = 0; i < m.tilts.size(); ++i) {
    if (i == 0)
      out << "Sample\tSimulated copper\nComments\t\nFilename\tcopper_scan.raw\nScanningMode\tBeta\n"
             "ScanningType\tContinuous Scanning\n";
    out << fmt::format("X-Ray\t40kV/40mA\nStart\t0\nStop\t360\nStep\t{:g}\nSpeed\t{:g}\nOffset\t0\n", step,
                       step * 60 / kCountSeconds);
    for (int j = 0; j <= kScanPoints; ++j)
      out << fmt::format("{:g}\t{:g}\n", j * step, m.counts[i][static_cast<std::size_t>(j % kScanPoints)]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_examples OUTDIR\n";
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const auto grid = FiveDegreeGrid();
  WriteGrid(dir + "grid5.rst", grid, false);
  WriteGrid(dir + "grid5_centre.rst", grid, true);

  // Offset grid: circles between the 5-degree rings, mirrored at both ends.
  std::vector<Circle> offset;
  for (double a = 2.5; a < 90; a += 5) offset.push_back({a, 2.5, 5, 72});
  {
    std::ofstream out(dir + "offset5.grd");
    out << "Offset 5-degree grid, 2.5 to 87.5\n";
    out << "Inner 1\n";
    out << "Outer 1\n";
    for (const Circle& c : offset)
      out << fmt::format("{:5.1f} {:5.1f} {:5.1f} {:3d}\n", c.alpha, c.betaStart, c.betaStep, c.points);
  }

  WritePlain(dir + "copper111.pol", Sample(grid, Reflection(0), 11, false), true);
  WritePlain(dir + "copper200_offset.pol", Sample(offset, Reflection(1), 12, false), false);
  {
    auto centre = grid;
    centre[0].points = 1;
    WritePlain(dir + "copper111_centre.pol", Sample(centre, Reflection(0), 13, false), false);
  }
  WriteHashList(dir + "copper.xpe",
                {Sample(grid, Reflection(0), 21, true), Sample(grid, Reflection(1), 22, true),
                 Sample(grid, Reflection(2), 23, true)},
                {"   1  1  1", "   2  0  0", "   2  2  0"});
  WriteWkoList(dir + "quartz.wko", {Sample(grid, Reflection(1), 31, false), Sample(grid, Reflection(2), 32, false)},
               {"Qz 10-10", "Qz 10-11"});
  WriteCracks(dir + "cracks.txt");
  {
    // Measured to 80 degrees, as popLA files often are.
    const std::vector<Circle> to80(grid.begin(), grid.begin() + 17);
    // Measured to 75 degrees, as a reflection goniometer gives them.
    const std::vector<Circle> to75(grid.begin(), grid.begin() + 16);
    WritePopla(
        dir + "rolled_copper.epf",
        {SampleTexture(to75, {1, 1, 1}, 61), SampleTexture(to75, {2, 0, 0}, 62), SampleTexture(to75, {2, 2, 0}, 63)},
        {"(111)", "(200)", "(220)"}, "Simulated rolled copper");
    WritePopla(dir + "copper.epf", {Sample(to80, Reflection(0), 41, true), Sample(to80, Reflection(1), 42, true)},
               {"(111)", "(200)"});
  }
  WriteColumns(dir + "copper111.jul", grid, Sample(grid, Reflection(0), 51, false));

  const Measured c111 = Measure(0, "1 1 1", 43.297, 41);
  const Measured c200 = Measure(1, "2 0 0", 50.433, 42);
  WriteXrdml(dir + "copper_scan.xrdml", {c111, c200});
  WriteUxd(dir + "copper_scan.uxd", {c111, c200});
  WriteAsc(dir + "copper_scan.asc", c111);
  WriteRas(dir + "copper_scan.ras", c111);
  WriteRigakuTxt(dir + "copper_scan.txt", c111);
  return 0;
}
