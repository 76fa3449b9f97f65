// Directional data: tag conventions, the Gaussian kernel and its cut-off, the
// sections, failures, and the fast density against the plain loop.
#include "io/directional_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "io/grid_reader.h"
#include "io/load_pole_figure.h"
#include "oracles/plain_density.h"
#include "test_support.h"
#include "transform/density.h"
#include "transform/directional_density.h"

namespace quorix {
namespace {

using test::ExamplePath;
using test::FillRegularGrid;
using test::WriteTempFile;

std::unique_ptr<PoleFigure> Density(const std::string& lines, DirectionalOptions options = {}, double alphaStep = 5,
                                    int points = 72) {
  auto pf = NewPoleFigure();
  FillRegularGrid(*pf, alphaStep, points);
  CollectingSink sink;
  const std::string file = WriteTempFile("directions.txt", lines);
  EXPECT_TRUE(ReadDirectionalData(*pf, file, options, sink)) << (sink.messages.empty() ? "" : sink.messages[0]);
  return pf;
}

TEST(TagDirection, EveryConventionWithAndWithoutPole) {
  // r = 30, s = 20 worked through the table by hand.
  struct Case {
    const char* tag;
    double alpha, beta;
  } cases[] = {
      {"X", 70, 60},   {"", 70, 60},    {"Q", 70, 60},    {"E", 70, 30},       {"EP", 20, 210}, {"N", 20, 120},
      {"NP", 70, 300}, {"S", 20, 300},  {"SP", 70, 120},  {"W", 70, 210},      {"WP", 20, 30},  {"P", 20, 240},
      {"PP", 20, 240}, {"ep", 20, 210}, {"e P", 20, 210}, {" E\tP ", 20, 210}, {"Ex", 70, 30},  {"wp 12", 20, 30},
  };
  for (const auto& c : cases) {
    const TaggedDirection d = TagDirection(30, 20, c.tag);
    EXPECT_DOUBLE_EQ(d.alpha, c.alpha) << '"' << c.tag << '"';
    EXPECT_DOUBLE_EQ(d.beta, c.beta) << '"' << c.tag << '"';
  }
}

TEST(TagDirection, BetaIsReducedFromAboveOnly) {
  EXPECT_DOUBLE_EQ(TagDirection(0, 90, "X").beta, 90);  // 1170 -> 90
  EXPECT_DOUBLE_EQ(TagDirection(90, 90, "X").beta, 360);
  EXPECT_DOUBLE_EQ(TagDirection(-1000, 90, "X").beta, 10);
  EXPECT_DOUBLE_EQ(TagDirection(2000, 90, "X").beta, -830);
  const TaggedDirection huge = TagDirection(-1e300, 0, "X");
  EXPECT_TRUE(std::isfinite(huge.beta));
  EXPECT_GT(huge.beta, 0);
  EXPECT_LE(huge.beta, 360);
}

TEST(ParseDirectionLine, NeedsTwoNumbersThenTakesTheRestAsTag) {
  ASSERT_TRUE(ParseDirectionLine("  30   20   E P"));
  EXPECT_DOUBLE_EQ(ParseDirectionLine("30 20 E P")->beta, 210);
  EXPECT_DOUBLE_EQ(ParseDirectionLine("30\t20")->alpha, 70);
  for (const char* bad :
       {"", "   ", "azimuth dip tag", "30", "30 x20 E", "30,5 20 E", "1e999 20 X", "nan 20 X", "30 20X"})
    EXPECT_FALSE(ParseDirectionLine(bad)) << '"' << bad << '"';
}

TEST(ReadDirectionalData, CentreDirectionGivesOneAtTheCentreAndHalfAtTheWidth) {
  const auto pf = Density("0 90 X\n");
  for (int k = 1; k <= 72; ++k) EXPECT_DOUBLE_EQ(pf->Intensity[1][k], 1.0);   // alpha 0
  for (int k = 1; k <= 72; ++k) EXPECT_NEAR(pf->Intensity[2][k], 0.5, 1e-6);  // alpha 5
  EXPECT_NEAR(pf->Intensity[3][1], std::pow(0.5, 4), 1e-6);                   // 10 = 2 w
  EXPECT_DOUBLE_EQ(pf->Intensity[6][1], 0.0);                                 // 25 > 4 w
  EXPECT_DOUBLE_EQ(pf->MaxValue, 1.0);
  EXPECT_EQ(pf->MaxCircle, 1);
}

TEST(ReadDirectionalData, CutOffAtFourWidths) {
  // 19.8 degrees from the centre counts at the centre, 20.2 does not.
  EXPECT_NEAR(Density("0 70.2 X\n")->Intensity[1][1], std::exp(-0.6931472 * std::pow(19.8 / 5, 2)), 1e-9);
  EXPECT_EQ(Density("0 69.8 X\n")->Intensity[1][1], 0.0);
  // A direction on the rim is farther than 4 w from every point of a grid
  // that ends at alpha 30: the density is that of the other direction alone.
  auto lower = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadSimpleGrid(*lower, WriteTempFile("cap.rst", "0 72\n10 72\n20 72\n30 72\n"), sink));
  auto both = NewPoleFigure();
  *both = *lower;
  ASSERT_TRUE(ReadDirectionalData(*lower, WriteTempFile("one.txt", "40 80 X\n"), {}, sink));
  ASSERT_TRUE(ReadDirectionalData(*both, WriteTempFile("two.txt", "40 80 X\n123 0 X\n"), {}, sink));
  EXPECT_EQ(lower->Intensity, both->Intensity);
}

TEST(ReadDirectionalData, OppositeDirectionsGiveTheSameDensity) {
  const auto a = Density("30 40 X\n200 5 EP\n");
  const auto b = Density("210 -40 X\n200 5 EP\n");  // the first direction reversed
  for (int i = 1; i <= a->CircleCount; ++i)
    for (int k = 1; k <= a->CirclePoints[i]; ++k) EXPECT_NEAR(a->Intensity[i][k], b->Intensity[i][k], 1e-9);
  EXPECT_GT(a->MaxValue, 0.9);
}

TEST(ReadDirectionalData, SectionsAreTurnedAboutTheirAxis) {
  // The centre turned by 90 degrees about X lies on the rim at beta 90 / 270.
  DirectionalOptions x;
  x.kind = 'X';
  const auto pf = Density("0 90 X\n", x);
  const int rim = pf->CircleCount;
  EXPECT_NEAR(pf->Intensity[rim][1 + 18], 1.0, 1e-9);  // beta 90
  EXPECT_NEAR(pf->Intensity[rim][1 + 54], 1.0, 1e-9);  // beta 270
  EXPECT_EQ(pf->Intensity[1][1], 0.0);
  // Z by 0 and a single set leave the directions where they are, whatever the angles.
  DirectionalOptions z;
  z.kind = 'Z';
  DirectionalOptions single;
  single.sectionAngles = {45, 45, 45};
  EXPECT_EQ(Density("30 40 N\n", z)->Intensity, Density("30 40 N\n", single)->Intensity);
}

TEST(ReadDirections, GarbageLinesAreSkippedAndCounted) {
  CollectingSink sink;
  const std::string file = WriteTempFile(
      "mixed.txt", "crack normals r s tag\r\n\r\n10 20 X\r\nabc def\r\n12.5\r\n  \r\n30 40 EP\r\n\x01\x02\xff\r\n");
  const auto list = ReadDirections(file, {}, sink);
  ASSERT_TRUE(list);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(list->directions.size(), 2u);
  EXPECT_EQ(list->skippedLines, 4);
}

TEST(ReadDirectionalData, FailuresNameTheFileAndLeaveTheRecordAlone) {
  auto pf = NewPoleFigure();
  FillRegularGrid(*pf, 5, 72);
  pf->Intensity[1][1] = 7;
  const std::string missing = (test::TempDir() / "gone.txt").string();
  const std::string empty = WriteTempFile("header_only.txt", "azimuth dip tag\n");
  const std::string good = WriteTempFile("good.txt", "0 90 X\n");
  struct Case {
    std::string file;
    double fwhm;
    std::string message;
  } cases[] = {
      {missing, 5, "File " + missing + " does not exist"},
      {empty, 5, "Directional data file " + empty + ": no directions: no line starts with two numbers."},
      {good, 0, "Directional data file " + good + ": The FWHM must be a number of degrees of at least 1e-06, not 0."},
  };
  for (const auto& c : cases) {
    CollectingSink sink;
    DirectionalOptions options;
    options.fwhm = c.fwhm;
    EXPECT_FALSE(ReadDirectionalData(*pf, c.file, options, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], c.message);
    EXPECT_EQ(pf->Intensity[1][1], 7);
  }
  auto noGrid = NewPoleFigure();
  CollectingSink sink;
  EXPECT_FALSE(ReadDirectionalData(*noGrid, good, {}, sink));
  EXPECT_EQ(sink.messages.at(0), "Directional data file " + good + ": no grid to compute the density on.");
}

TEST(LoadDirectional, ExampleLoadsLikeAnyPoleFigure) {
  for (const char* grid : {"grid5.rst", "offset5.grd"}) {
    LoadRequest r;
    r.dataFile = ExamplePath("cracks.txt");
    r.gridFile = ExamplePath(grid);
    r.gridRule = GridRule::WindowSlot;
    CollectingSink sink;
    const auto pf = LoadDensityPoleFigure(r, DirectionalOptions{}, sink);
    ASSERT_TRUE(pf) << grid << ": " << (sink.messages.empty() ? "" : sink.messages[0]);
    EXPECT_EQ(pf->FileName, r.dataFile);
    EXPECT_GT(pf->MaxValue, 5);
    EXPECT_GT(pf->NormFactor, 0);
    EXPECT_GT(pf->LevelCount, 1);
    if (pf->InnerMirror) {
      EXPECT_TRUE(std::ranges::equal(pf->Intensity[0], pf->Intensity[1]));
    }
    if (pf->OuterMirror) {
      EXPECT_TRUE(std::ranges::equal(pf->Intensity[pf->CircleCount + 1], pf->Intensity[pf->CircleCount]));
    }
  }
}

// Directions where the search is most easily wrong: at the centre, on the
// rim where a direction and its antipode both reach the plot, at beta 0/360.
std::vector<Vec3> AwkwardDirections() {
  std::vector<Vec3> v;
  for (double alpha : {0.0, 1e-9, 0.04, 0.5, 3.0, 19.9, 20.1, 45.0, 70.0, 88.0, 89.99, 90.0, 90.01, 92.0, 179.0, 180.0})
    for (double beta : {0.0, 1e-9, 0.5, 90.0, 179.99, 271.3, 359.5, 359.999999, 360.0})
      v.push_back(DirectionToVector(alpha, beta));
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int k = 0; k < 200; ++k) v.push_back(DirectionToVector(RadToDeg(std::acos(2 * unit(rng) - 1)), 360 * unit(rng)));
  // A rotated section: vectors that are not exactly unit and not snapped.
  const Mat3 m = AxisRotationMatrix('Y', 33.3);
  for (int k = 0; k < 30; ++k) v.push_back(MatVec(m, v[v.size() - 200 + k]));
  return v;
}

// The same terms in the same order, each weight from a table: within 1e-13
// relative for widths of a few degrees; for narrow kernels the plain loop's
// own arc cosine formula loses digits near its clamp (as 1 / FWHM^2), which
// the bound follows.
double MaxRelativeDeviation(const PoleFigure& plain, const PoleFigure& fast) {
  if (plain.Intensity.Rows() != fast.Intensity.Rows() || plain.Intensity.Cols() != fast.Intensity.Cols())
    return HUGE_VAL;
  double worst = 0;
  for (int i = 0; i < plain.Intensity.Rows(); ++i)
    for (int j = 0; j < plain.Intensity.Cols(); ++j) {
      const double p = plain.Intensity[i][j], f = fast.Intensity[i][j];
      if (p == 0 || f == 0) {
        if (p != f) return HUGE_VAL;
        continue;
      }
      worst = std::max(worst, std::fabs(f - p) / std::fabs(p));
    }
  return worst;
}

TEST(AddDensity, WithinBoundOfThePlainLoop) {
  const std::vector<Vec3> directions = AwkwardDirections();
  std::vector<std::unique_ptr<PoleFigure>> grids;
  auto regular = NewPoleFigure();
  FillRegularGrid(*regular, 1, 360);
  grids.push_back(std::move(regular));
  CollectingSink sink;
  for (const char* name : {"grid5_centre.rst", "offset5.grd"}) {
    auto pf = NewPoleFigure();
    const std::string path = ExamplePath(name);
    ASSERT_TRUE(std::string(name).find(".grd") != std::string::npos ? ReadFullGrid(*pf, path, sink)
                                                                    : ReadSimpleGrid(*pf, path, sink));
    grids.push_back(std::move(pf));
  }
  // Odd steps, a start off zero and circles beyond the rim.
  auto odd = NewPoleFigure();
  ASSERT_TRUE(ReadFullGrid(
      *odd,
      WriteTempFile("odd.grd",
                    "odd\nInner 0\nOuter 0\n0 0 360 1\n7.3 11 7 52\n45 350 13 28\n89.9 3.3 2.5 144\n95 0 10 36\n"),
      sink));
  grids.push_back(std::move(odd));

  for (const auto& grid : grids) {
    const bool dense = grid->CirclePoints[1] == 360;  // the plain loop is slow there
    for (double fwhm : {0.2, 1.0, 5.0, 12.5, 20.0, 30.0}) {
      if (dense && fwhm != 1.0 && fwhm != 5.0 && fwhm != 20.0) continue;
      auto plain = NewPoleFigure();
      *plain = *grid;
      auto fast = NewPoleFigure();
      *fast = *grid;
      test::AddDensityByPlainLoop(*plain, directions, fwhm);
      AddDensity(*fast, directions, fwhm, 2);
      const double bound = 1e-13 * std::max(1.0, 4 / (fwhm * fwhm));
      EXPECT_LE(MaxRelativeDeviation(*plain, *fast), bound) << "circles " << grid->CircleCount << ", fwhm " << fwhm;
    }
  }
}

}  // namespace
}  // namespace quorix

namespace quorix {
namespace {

TEST(ReadDirectionalData, ACancelledDensityLeavesTheRecordAsItWas) {
  // Enough directions for the gauge to be asked several times per circle.
  std::string text;
  for (int k = 0; k < 200000; ++k) text += std::to_string(k % 360) + " " + std::to_string(k % 90) + " X\n";
  LoadRequest request;
  request.dataFile = test::WriteTempFile("many.txt", text);
  request.gridFile = ExamplePath("grid5.rst");
  request.gridRule = GridRule::WindowSlot;
  DirectionalOptions options;
  std::atomic<bool> cancel{false};
  int reports = 0;
  options.work.cancel = &cancel;
  options.work.progress = [&](int done, int total) {
    EXPECT_LE(done, total);
    if (++reports == 2) cancel = true;
  };
  CollectingSink sink;
  EXPECT_EQ(LoadDensityPoleFigure(request, options, sink), nullptr);
  EXPECT_TRUE(sink.messages.empty());  // the user asked for it: nothing to report
  EXPECT_GE(reports, 2);

  LoadRequest copper;
  copper.dataFile = ExamplePath("copper111.pol");
  copper.gridFile = ExamplePath("grid5.rst");
  auto pf = LoadPoleFigure(copper, sink);
  ASSERT_TRUE(pf);
  const auto before = std::make_unique<PoleFigure>(*pf);
  reports = 0;
  cancel = false;
  EXPECT_FALSE(ReadDirectionalData(*pf, request.dataFile, options, sink));
  EXPECT_EQ(pf->Intensity[3][4], before->Intensity[3][4]);
  EXPECT_EQ(pf->MaxValue, before->MaxValue);

  // Without Cancel the same work reports every circle and ends.
  cancel = false;
  options.work.progress = [&](int done, int total) { reports = done == total ? -1 : reports; };
  EXPECT_NE(LoadDensityPoleFigure(request, options, sink), nullptr);
  EXPECT_EQ(reports, -1);
}

}  // namespace
}  // namespace quorix
