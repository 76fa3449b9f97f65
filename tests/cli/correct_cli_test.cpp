// quorix-cli correct: the options reach the corrections, the output takes the
// layout its extension names, and bad arguments say which.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "test_support.h"

namespace quorix {
namespace {

using test::RunCli;

std::vector<test::UxdCircle> Flat(double value) {
  return {{0, std::vector<double>(8, value)}, {5, std::vector<double>(8, value)}};
}

TEST(CliCorrect, BackgroundAt2ThetaAndCurveIntoAnXrdmlFile) {
  const auto peak = test::WriteTempFile("cu.uxd", test::UxdText(40, 0, Flat(100)));
  // A background file without 2theta of its own: the 2theta given with it counts.
  const auto low = test::WriteTempFile("low.uxd", test::UxdText(0, 0, Flat(20)));
  const auto high = test::WriteTempFile("high.uxd", test::UxdText(44, 0, Flat(60)));
  const auto curve = test::WriteTempFile("curve.txt", "0 1\n5 0.5\n");
  const std::string out = (test::TempDir() / "cu.xrdml").string();
  const auto run = RunCli("correct " + peak + " --background " + low + "@36 --background " + high +
                          " --defocus-curve " + curve + " -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  const auto info = RunCli("info " + out + " --json");
  ASSERT_EQ(info.status, 0) << info.err;
  const auto j = nlohmann::json::parse(info.out);
  EXPECT_EQ(j["format"], "xrdml");
  EXPECT_NEAR(j["intensity"][1][0].get<double>(), (100 - 40) / 0.5, 1e-6);
}

TEST(CliCorrect, BadArgumentsAndMissingFiles) {
  const auto peak = test::WriteTempFile("cu.uxd", test::UxdText(40, 0, Flat(100)));
  const std::string out = (test::TempDir() / "cu.pol").string();
  auto run = RunCli("correct " + peak + " --background " + peak + "@low -o " + out);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--background"), std::string::npos) << run.err;
  run = RunCli("correct " + peak + " --defocus nowhere.uxd -o " + out);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("nowhere.uxd"), std::string::npos) << run.err;
  run = RunCli("correct " + peak + " --to png -o " + out);
  EXPECT_EQ(run.status, 2);
}

}  // namespace
}  // namespace quorix
