// quorix-cli info as scripts use it: JSON that matches the library, errors on stderr.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "io/load_pole_figure.h"
#include "test_support.h"

namespace quorix {
namespace {

using test::CliRun;
using test::RunCli;

TEST(CliInfo, JsonMatchesTheLibraryToTheLastBit) {
  struct Case {
    const char* data;
    const char* grid;
    const char* layout;
    int index;
    std::size_t names;
  } cases[] = {{"copper111.pol", "grid5.rst", "plain", 1, 0},
               {"copper111_centre.pol", "grid5_centre.rst", "plain", 1, 0},
               {"copper200_offset.pol", "offset5.grd", "plain", 1, 0},
               {"copper.xpe", "grid5.rst", "hash", 2, 3},
               {"quartz.wko", "grid5.rst", "wko", 2, 2}};
  for (const auto& c : cases) {
    const CliRun run = RunCli(
        fmt::format("info {} {} --index {} --json", test::ExamplePath(c.data), test::ExamplePath(c.grid), c.index));
    ASSERT_EQ(run.status, 0) << c.data << run.err;
    EXPECT_TRUE(run.err.empty());
    const auto j = nlohmann::json::parse(run.out);

    LoadRequest request;
    request.dataFile = test::ExamplePath(c.data);
    request.gridFile = test::ExamplePath(c.grid);
    request.pfIndex = c.index;
    CollectingSink sink;
    const auto pf = LoadPoleFigure(request, sink);
    ASSERT_TRUE(pf);

    EXPECT_EQ(j.at("layout"), c.layout);
    EXPECT_EQ(j.at("names").size(), c.names);
    EXPECT_EQ(j.at("circles"), pf->CircleCount);
    EXPECT_EQ(j.at("points"), pf->PointCount);
    EXPECT_EQ(j.at("inner_mirror"), pf->InnerMirror);
    EXPECT_EQ(j.at("outer_mirror"), pf->OuterMirror);
    ASSERT_EQ(j.at("intensity").size(), static_cast<std::size_t>(pf->CircleCount));
    for (int i = 1; i <= pf->CircleCount; ++i) {
      EXPECT_EQ(j.at("circle_points").at(i - 1), pf->CirclePoints[i]);
      EXPECT_EQ(j.at("alpha").at(i - 1).get<double>(), pf->Alpha[i]);
      ASSERT_EQ(j.at("intensity").at(i - 1).size(), static_cast<std::size_t>(pf->CirclePoints[i]));
      for (int k = 1; k <= pf->CirclePoints[i]; ++k)
        EXPECT_EQ(j["intensity"][i - 1][k - 1].get<double>(), pf->Intensity[i][k]);
    }
    EXPECT_EQ(j.at("norm_factor").get<double>(), pf->NormFactor);
    EXPECT_EQ(j.at("max").at("value").get<double>(), pf->MaxValue);
    EXPECT_EQ(j.at("min").at("circle"), pf->MinCircle);
    EXPECT_EQ(j.at("eigenvalues").at(0).get<double>(), pf->Eigenvalue[1]);
    EXPECT_EQ(j.at("eigen_beta").at(2).get<double>(), pf->EigenBeta[3]);
    EXPECT_EQ(j.at("levels").size(), static_cast<std::size_t>(pf->LevelCount));
    EXPECT_EQ(j.at("lowest_level").get<double>(), pf->LowestLevel);
    for (const char* key : {"beta_range", "beta_start", "beta_step", "eigen_alpha", "T", "P"})
      EXPECT_TRUE(j.contains(key)) << key;
  }
}

TEST(CliInfo, AnInstrumentCentreGivesOneValueAndItsSpread) {
  // The example's tilt-0 scan counts the one centre direction 24 times with noise.
  const CliRun run = RunCli("info " + test::ExamplePath("copper_scan.uxd") + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  ASSERT_EQ(j.at("alpha").at(0).get<double>(), 0.0);
  const auto& centre = j.at("intensity").at(0);
  ASSERT_GT(centre.size(), 1u);
  for (const auto& v : centre) EXPECT_EQ(v, centre.at(0));
  EXPECT_GT(j.at("centre_spread").get<double>(), 0.0);
  const CliRun plain =
      RunCli(fmt::format("info {} {} --json", test::ExamplePath("copper111.pol"), test::ExamplePath("grid5.rst")));
  EXPECT_FALSE(nlohmann::json::parse(plain.out).contains("centre_spread"));
}

TEST(CliInfo, MrdSwitchesTheLevelUnit) {
  const CliRun run = RunCli(
      fmt::format("info {} {} --mrd --json", test::ExamplePath("copper111.pol"), test::ExamplePath("grid5.rst")));
  ASSERT_EQ(run.status, 0);
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_DOUBLE_EQ(j.at("levels").at(0).get<double>(), 1.0);
  EXPECT_DOUBLE_EQ(j.at("lowest_level").get<double>(), j.at("norm_factor").get<double>());
}

TEST(CliInfo, ErrorsGoToStderrWithExitCodeOne) {
  const CliRun missing = RunCli("info /nonexistent/a.pol " + test::ExamplePath("grid5.rst") + " --json");
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_EQ(missing.err, "File /nonexistent/a.pol does not exist\n");

  const CliRun count =
      RunCli("info " + test::ExamplePath("copper200_offset.pol") + " " + test::ExamplePath("grid5.rst"));
  EXPECT_EQ(count.status, 1);
  EXPECT_TRUE(count.out.empty());
  EXPECT_EQ(count.err, "Expected 1368 data, found 1296.\n");

  const CliRun summary =
      RunCli("info " + test::ExamplePath("copper.xpe") + " " + test::ExamplePath("grid5.rst") + " --index 3");
  EXPECT_EQ(summary.status, 0);
  EXPECT_NE(summary.out.find("pole figure 3 of 3"), std::string::npos);
}

}  // namespace
}  // namespace quorix
