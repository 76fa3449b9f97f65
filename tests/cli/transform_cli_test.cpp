// quorix-cli smooth and interpolate: the library's results, the ASCII output
// in the interpolation's format, and errors on stderr with a failing status.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "io/ascii_writer.h"
#include "io/load_pole_figure.h"
#include "test_support.h"
#include "transform/smoothing.h"

namespace quorix {
namespace {

using test::CliRun;
using test::RunCli;

std::string Copper() { return test::ExampleArgs("copper111.pol"); }
std::unique_ptr<PoleFigure> LoadCopper() { return test::LoadExample("copper111.pol"); }

TEST(CliSmooth, JsonHoldsTheSmoothedRecord) {
  const CliRun run = RunCli("smooth " + Copper() + " --fwhm 7.5 --exclude-negative --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  auto pf = LoadCopper();
  ASSERT_TRUE(pf);
  ASSERT_TRUE(SmoothPoleFigure(*pf, {7.5, true, true}, false));
  ASSERT_EQ(j["circles"], pf->CircleCount);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int k = 1; k <= pf->CirclePoints[i]; ++k)
      ASSERT_EQ(j["intensity"][i - 1][k - 1].get<double>(), pf->Intensity[i][k]) << i << "," << k;
  EXPECT_EQ(j["max"]["value"].get<double>(), pf->MaxValue);
  EXPECT_EQ(j["levels"].size(), static_cast<std::size_t>(pf->LevelCount));
}

TEST(CliSmooth, WritesAsSaveDoes) {
  const std::string out = (test::TempDir() / "smoothed.y01").string();
  const CliRun run = RunCli("smooth " + Copper() + " --fwhm 5 -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  auto pf = LoadCopper();
  ASSERT_TRUE(SmoothPoleFigure(*pf, {5, false, true}, false));
  EXPECT_EQ(test::ReadFile(out), FormatPFASCII(*pf, AsciiWriteOptions{}));
}

TEST(CliSmooth, FormatOptionsReachTheWriter) {
  const std::string out = (test::TempDir() / "smoothed.y02").string();
  const CliRun run =
      RunCli("smooth " + Copper() + " --fwhm 5 --count 6 --digits 10 --comma 1 --factor 1 --enter -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  auto pf = LoadCopper();
  ASSERT_TRUE(SmoothPoleFigure(*pf, {5, false, true}, false));
  std::ifstream in(out, std::ios::binary);
  std::string first;
  std::getline(in, first);
  if (!first.empty() && first.back() == '\r') first.pop_back();
  std::string expected;
  for (int k = 1; k <= 6; ++k) expected += fmt::format("{:10.1f}", pf->Intensity[1][k] * 10);
  EXPECT_EQ(first, expected);
}

TEST(CliSmooth, RefusesBadWidthAndMissingOutput) {
  CliRun run = RunCli("smooth " + Copper() + " --fwhm 0 --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("--fwhm"), std::string::npos);
  EXPECT_TRUE(run.out.empty());
  run = RunCli("smooth " + Copper() + " --fwhm 5");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("-o OUT"), std::string::npos);
  run =
      RunCli("smooth " + test::ExamplePath("missing.pol") + " " + test::ExamplePath("grid5.rst") + " --fwhm 5 --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("does not exist"), std::string::npos);
}

TEST(CliInterpolate, OntoTheSameGridKeepsTheValues) {
  const CliRun run = RunCli("interpolate " + Copper() + " --out-grid " + test::ExamplePath("grid5.rst") + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  auto pf = LoadCopper();
  int spoiled = 0;  // next to one of the file's missing points
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int k = 1; k <= pf->CirclePoints[i]; ++k) {
      const double v = j["intensity"][i - 1][k - 1].get<double>();
      if (v == -1.0) {
        ++spoiled;
        continue;
      }
      ASSERT_NEAR(v, std::max(pf->Intensity[i][k], 0.0), 1e-9) << i << "," << k;  // negatives become 0
    }
  EXPECT_LT(spoiled, 25);
  EXPECT_EQ(j["file"], test::ExamplePath("copper111.pol"));
}

TEST(CliInterpolate, RotationsAndTriclinChangeTheResult) {
  const std::string grid = " --out-grid " + test::ExamplePath("grid5.rst") + " --json";
  const CliRun plain = RunCli("interpolate " + Copper() + grid);
  const CliRun list = RunCli("interpolate " + Copper() + grid + " --rotate-list X:90");
  const CliRun triclin = RunCli("interpolate " + Copper() + grid + " --rotate-list x:90 --triclin");
  const CliRun axis = RunCli("interpolate " + Copper() + grid + " --rotate-axis 0,90,-90");
  for (const CliRun* r : {&plain, &list, &triclin, &axis}) ASSERT_EQ(r->status, 0) << r->err;
  const auto jp = nlohmann::json::parse(plain.out);
  const auto jl = nlohmann::json::parse(list.out);
  const auto jt = nlohmann::json::parse(triclin.out);
  const auto ja = nlohmann::json::parse(axis.out);
  EXPECT_NE(jl["intensity"], jp["intensity"]);
  int missingList = 0, missingTriclin = 0;
  for (const auto& row : jl["intensity"])
    for (const auto& v : row) missingList += v.get<double>() == -1.0;
  for (const auto& row : jt["intensity"])
    for (const auto& v : row) missingTriclin += v.get<double>() == -1.0;
  EXPECT_LT(missingList, 40);  // only next to the file's own missing points
  EXPECT_GT(missingTriclin, missingList + 72 * 19 / 3);
  EXPECT_NE(ja["intensity"], jp["intensity"]);
}

TEST(CliInterpolate, ReportsBadRotationsAndMissingGrids) {
  const std::string grid = " --out-grid " + test::ExamplePath("grid5.rst") + " --json";
  CliRun run = RunCli("interpolate " + Copper() + grid + " --rotate-list W:30");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("W:30"), std::string::npos);
  run = RunCli("interpolate " + Copper() + grid + " --rotate-axis 1,2");
  EXPECT_EQ(run.status, 1);
  run = RunCli("interpolate " + Copper() + grid + " --rotate-axis 1,2,3 --rotate-list X:3");
  EXPECT_NE(run.status, 0);
  const std::string missing = (test::TempDir() / "none.rst").string();
  run = RunCli("interpolate " + Copper() + " --out-grid " + missing + " --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("File " + missing + " does not exist"), std::string::npos);
  EXPECT_TRUE(run.out.empty());
}

TEST(CliInterpolate, WritesNegativeValuesAsZeroUnlessKept) {
  const std::string data = test::WriteTempFile("negative.pol", [] {
    std::string s;
    for (int i = 0; i < 19 * 72; ++i) s += i == 100 ? "-3.5\n" : "2\n";
    return s;
  }());
  const std::string args =
      "interpolate " + data + " " + test::ExamplePath("grid5.rst") + " --out-grid " + test::ExamplePath("grid5.rst");
  const std::string zeroed = (test::TempDir() / "zeroed.y01").string();
  const std::string kept = (test::TempDir() / "kept.y01").string();
  ASSERT_EQ(RunCli(args + " --count 1 -o " + zeroed).status, 0);
  ASSERT_EQ(RunCli(args + " --count 1 --keep-negative -o " + kept).status, 0);
  const auto line101 = [](const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    for (int k = 0; k <= 100; ++k) std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  };
  EXPECT_EQ(line101(zeroed), "   0.000");
  EXPECT_EQ(line101(kept), "  -3.500");
}

}  // namespace
}  // namespace quorix
