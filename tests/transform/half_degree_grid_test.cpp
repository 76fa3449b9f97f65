// Every operation on the finest grid the record takes: 181 circles of 720
// points, alpha and beta in steps of 0.5 degree. The files are written here.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "io/ascii_writer.h"
#include "io/data_reader.h"
#include "io/formatted_writer.h"
#include "io/grid_reader.h"
#include "io/load_pole_figure.h"
#include "math/vector_math.h"
#include "oracles/plain_density.h"
#include "oracles/plain_smoothing.h"
#include "record/statistics.h"
#include "test_support.h"
#include "transform/density.h"
#include "transform/interpolation.h"
#include "transform/pf_add.h"
#include "transform/pf_difference.h"
#include "transform/smoothing.h"

namespace quorix {
namespace {

constexpr int kCircles = 181;
constexpr int kPoints = 720;

// A smooth texture with a peak at alpha 40, beta 70, on a background of 10;
// one decimal, as a measured file would give it.
double Texture(double alpha, double beta) {
  const Vec3 u = DirectionToVector(alpha, beta);
  const Vec3 peak = DirectionToVector(40, 70);
  const double c = std::fabs(u.x * peak.x + u.y * peak.y + u.z * peak.z);
  return std::round(10 * (10 + 200 * std::pow(c, 30))) / 10;
}

struct HalfDegreeFiles {
  std::string grid;
  std::string data;
};

const HalfDegreeFiles& Files() {
  static const HalfDegreeFiles files = [] {
    std::string grid;
    std::string data;
    for (int i = 0; i < kCircles; ++i) {
      grid += fmt::format("{} {}\n", 0.5 * i, kPoints);
      for (int k = 0; k < kPoints; ++k)
        data += fmt::format("{:.1f}{}", Texture(0.5 * i, 0.5 * k), k % 10 == 9 ? "\n" : " ");
    }
    return HalfDegreeFiles{test::WriteTempFile("half.rst", grid), test::WriteTempFile("half.pol", data)};
  }();
  return files;
}

std::unique_ptr<PoleFigure> LoadHalfDegree() { return test::LoadFile(Files().data, Files().grid); }

TEST(HalfDegreeGrid, LoadsWithItsStatisticsAndTablesOfItsOwnSize) {
  const auto pf = LoadHalfDegree();
  ASSERT_TRUE(pf);
  EXPECT_EQ(pf->CircleCount, kCircles);
  EXPECT_EQ(pf->PointCount, kCircles * kPoints);
  EXPECT_EQ(pf->Intensity.Rows(), kCircles + 2);
  EXPECT_EQ(pf->Intensity.Cols(), kPoints + 2);
  for (int i : {1, 2, 91, 180, 181})
    for (int k : {1, 2, 141, 360, 719, 720})
      ASSERT_EQ(pf->Intensity[i][k], Texture(0.5 * (i - 1), 0.5 * (k - 1))) << i << "," << k;
  EXPECT_EQ(pf->MaxValue, Texture(40, 70));
  EXPECT_EQ(pf->MaxCircle, 81);
  EXPECT_EQ(pf->MaxPoint, 141);
  // The statistics sample the sphere, not the grid: the coarse grid of the
  // same texture gives nearly the same normalisation and tensor.
  auto coarse = NewPoleFigure();
  NullSink quiet;
  ASSERT_TRUE(ReadSimpleGrid(*coarse, test::ExamplePath("grid5.rst"), quiet));
  InterpolatePoleFigure(*pf, *coarse, InterpolationOptions{});
  EXPECT_NEAR(coarse->NormFactor, pf->NormFactor, 1e-2 * pf->NormFactor);
  EXPECT_NEAR(pf->Eigenvalue[1] + pf->Eigenvalue[2] + pf->Eigenvalue[3], 3, 1e-9);
  EXPECT_NEAR(pf->Eigenvalue[1], coarse->Eigenvalue[1], 1e-2);
}

TEST(HalfDegreeGrid, RendersIntoARaster) {
  const std::string png = (test::TempDir() / "half.png").string();
  const test::CliRun run = test::RunCli("render " + Files().data + " " + Files().grid + " --fill -o " + png);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_GT(std::filesystem::file_size(png), 1000u);
}

// The loop over every pair takes minutes on this grid: it is asked for a
// sample of points, the peak among them.
TEST(HalfDegreeGrid, FftSmoothingAgreesWithTheLoopOverEveryPair) {
  const auto pf = LoadHalfDegree();
  ASSERT_TRUE(pf);
  const auto fft = SmoothedIntensities(*pf, 1.5, false);
  ASSERT_TRUE(fft);
  ASSERT_EQ(fft->Rows(), pf->Intensity.Rows());
  ASSERT_EQ(fft->Cols(), pf->Intensity.Cols());
  const test::PlainSmoother plain(*pf, 1.5, false);
  double worst = 0;
  int sampled = 0;
  for (int i = 3; i <= kCircles; i += 13)
    for (int k = 1; k <= kPoints; k += 29) {
      const double p = plain.Value(i, k);
      worst = std::max(worst, std::fabs((*fft)[i][k] - p) / std::fabs(p));
      ++sampled;
    }
  const double peak = plain.Value(81, 141);
  worst = std::max(worst, std::fabs((*fft)[81][141] - peak) / std::fabs(peak));
  EXPECT_EQ(sampled, 14 * 25);
  EXPECT_LT(worst, 1e-9);
  // A width of several steps flattens the peak.
  EXPECT_LT((*fft)[81][141], pf->Intensity[81][141]);
  EXPECT_GT((*fft)[81][141], 10);

  auto smoothed = std::make_unique<PoleFigure>(*pf);
  ASSERT_TRUE(SmoothPoleFigure(*smoothed, {1.5, false, false}, false));
  EXPECT_EQ(smoothed->Intensity[81][141], (*fft)[81][141]);
  EXPECT_EQ(smoothed->MaxValue, (*fft)[smoothed->MaxCircle][smoothed->MaxPoint]);
}

TEST(HalfDegreeGrid, InterpolationOntoItFromItAndRotatedWithinIt) {
  const auto copper = test::LoadExample("copper111.pol");
  const auto half = LoadHalfDegree();
  ASSERT_TRUE(copper && half);

  // Onto the fine grid: its points on the coarse grid take the coarse values.
  std::unique_ptr<PoleFigure> onto = std::make_unique<PoleFigure>(*copper);
  InterpolationRequest request;
  request.gridFile = Files().grid;
  CollectingSink sink;
  ASSERT_EQ(InterpolateRecords({&onto}, request, false, false, sink, {}, {}), InterpolationStatus::Done);
  ASSERT_EQ(onto->CircleCount, kCircles);
  ASSERT_EQ(onto->Intensity.Cols(), kPoints + 2);
  int matched = 0;
  for (int i = 1; i <= copper->CircleCount; ++i)
    for (int k = 1; k <= copper->CirclePoints[i]; ++k) {
      // A point beside a missing one has no value to interpolate from.
      if (onto->Intensity[10 * i - 9][10 * k - 9] == kMissing) continue;
      ++matched;
      ASSERT_NEAR(onto->Intensity[10 * i - 9][10 * k - 9], std::max(0.0, copper->Intensity[i][k]), 1e-9)
          << i << "," << k;
    }

  EXPECT_GT(matched, 1200);

  // From it: the coarse points lie on the fine grid.
  std::unique_ptr<PoleFigure> from = std::make_unique<PoleFigure>(*half);
  request.gridFile = test::ExamplePath("grid5.rst");
  ASSERT_EQ(InterpolateRecords({&from}, request, false, false, sink, {}, {}), InterpolationStatus::Done);
  ASSERT_EQ(from->CircleCount, 19);
  EXPECT_EQ(from->Intensity.Cols(), 74);
  for (int i = 1; i <= 19; ++i)
    for (int k = 1; k <= 72; ++k)
      ASSERT_NEAR(from->Intensity[i][k], half->Intensity[10 * i - 9][10 * k - 9], 1e-9) << i << "," << k;

  // Half a turn about the sample normal moves every value by 360 points.
  auto turned = NewPoleFigure();
  CopyGrid(*half, *turned);
  InterpolationOptions options;
  options.rotation.Mode = RotationMode::List;
  options.rotation.List = {{'Z', 180}};
  InterpolatePoleFigure(*half, *turned, options);
  for (int i = 2; i <= kCircles; i += 7)
    for (int k = 1; k <= kPoints; k += 13)
      ASSERT_NEAR(turned->Intensity[i][k], half->Intensity[i][(k + 359) % kPoints + 1], 1e-9) << i << "," << k;
}

TEST(HalfDegreeGrid, AddAndDifferenceOnTheSameGrid) {
  const auto half = LoadHalfDegree();
  ASSERT_TRUE(half);
  PoleFigure sum = *half;
  CollectingSink sink;
  ASSERT_TRUE(WeightedAddPF(sum, Files().grid, false, {1.0f, 0.5f}, {1, 1}, {Files().data, Files().data}, sink))
      << (sink.messages.empty() ? "" : sink.messages[0]);
  for (int i = 1; i <= kCircles; i += 9)
    for (int k = 1; k <= kPoints; k += 11) ASSERT_DOUBLE_EQ(sum.Intensity[i][k], 1.5 * half->Intensity[i][k]);

  const auto same = ComparePoleFigures(*half, *half, 0, sink);
  ASSERT_TRUE(same);
  ASSERT_TRUE(same->RP);
  EXPECT_EQ(*same->RP, 0);
  EXPECT_EQ(same->difference->Intensity.Cols(), kPoints + 2);
  for (int i = 1; i <= kCircles; ++i)
    for (double v : CircleValues(*same->difference, i)) ASSERT_EQ(v, 0);
  const auto scaled = ComparePoleFigures(*half, sum, 0, sink);
  ASSERT_TRUE(scaled);  // in m.r.d. the two agree up to the rounding of the statistics
  EXPECT_NEAR(scaled->RP.value_or(-1), 0, 1e-6);
}

TEST(HalfDegreeGrid, DensityFastPathMatchesThePlainLoop) {
  const auto half = LoadHalfDegree();
  ASSERT_TRUE(half);
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<Vec3> directions;
  for (int k = 0; k < 60; ++k) directions.push_back(DirectionToVector(RadToDeg(std::acos(unit(rng))), 360 * unit(rng)));
  auto plain = NewPoleFigure();
  auto fast = NewPoleFigure();
  CopyGrid(*half, *plain);
  CopyGrid(*half, *fast);
  test::AddDensityByPlainLoop(*plain, directions, 2);
  AddDensity(*fast, directions, 2);
  double worst = 0;
  double total = 0;
  for (int i = 1; i <= kCircles; ++i)
    for (int k = 1; k <= kPoints; ++k) {
      const double p = plain->Intensity[i][k];
      total += p;
      if (p != 0) worst = std::max(worst, std::fabs(fast->Intensity[i][k] - p) / p);
    }
  EXPECT_LT(worst, 1e-12);
  EXPECT_GT(total, 0);
}

TEST(HalfDegreeGrid, SavedValuesReadBackAndFixedLayoutsDoNotBreak) {
  const auto half = LoadHalfDegree();
  ASSERT_TRUE(half);
  AsciiWriteOptions plain;
  plain.Format.ValuesPerLine = 10;
  plain.Format.Decimals = 1;
  const std::string saved = FormatPFASCII(*half, plain);
  auto back = NewPoleFigure();
  CopyGrid(*half, *back);
  CollectingSink sink;
  DataReadOptions read;
  read.layout = DataLayout::Plain;
  ASSERT_TRUE(ReadPoleFigureDataText(*back, saved, "saved.pol", read, sink));
  for (int i = 1; i <= kCircles; ++i)
    for (int k = 1; k <= kPoints; ++k) ASSERT_EQ(back->Intensity[i][k], half->Intensity[i][k]) << i << "," << k;

  AsciiWriteOptions withAngles;
  withAngles.IncludeCoordinates = true;
  const std::string ascii = FormatPFASCII(*half, withAngles);
  EXPECT_GE(static_cast<long>(std::count(ascii.begin(), ascii.end(), '\n')), kCircles * kPoints);

  // A Beartex block holds only 5-degree grids: the fine grid is refused, with the way out named.
  SaveAllSettings settings;
  const auto problem = SaveAllProblem(*half, settings, SaveAllRow{}, 1);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find("Interpolate the pole figure onto a 5-degree grid first."), std::string::npos) << *problem;
}

}  // namespace
}  // namespace quorix
