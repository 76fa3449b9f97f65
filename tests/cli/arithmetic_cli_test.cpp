// quorix-cli diff and add: RP on stdout, result files, the log, sums as JSON
// or in the save layouts, and refused input with a failing status.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "base/text_file.h"
#include "test_support.h"

namespace quorix {
namespace {

using test::CliRun;
using test::RunCli;

std::string Example(const std::string& name) { return test::ExamplePath(name); }
std::string Grid() { return Example("grid5.rst"); }

TEST(CliDiff, SamePoleFigureGivesRPZeroAndWritesWhatIsAsked) {
  const std::string diff = (test::TempDir() / "c_diff.pol").string();
  const std::string log = (test::TempDir() / "rp.log").string();
  const std::string args = "diff " + Example("copper111.pol") + " " + Example("copper111.pol") + " " + Grid() +
                           " --eps 0.001 --diff-out " + diff + " --log " + log;
  CliRun run = RunCli(args);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "RP = 0.0 %   (Eps 0.005)\n");
  const auto lines = SplitLines(test::ReadFile(diff));
  EXPECT_EQ(lines.size(), 19u * 72u);
  EXPECT_EQ(lines.front(), "        0.000");
  EXPECT_FALSE(std::filesystem::exists(test::TempDir() / "c_RP.pol"));

  run = RunCli(args);
  ASSERT_EQ(run.status, 0) << run.err;
  const auto logLines = SplitLines(test::ReadFile(log));
  ASSERT_EQ(logLines.size(), 5u);  // header once, then one line per run
  EXPECT_EQ(logLines[3], "       copper111.pol       copper111.pol      0.01       0.0");
  EXPECT_EQ(logLines[4], logLines[3]);
}

// RP0 (Eps 0) is the most used measure: 0 and below count as every Eps under 0.01.
TEST(CliDiff, EpsZeroAndBelowGiveRP0) {
  const std::string args =
      "diff " + Example("copper.xpe") + " " + Example("copper.xpe") + " " + Grid() + " --index1 1 --index2 2 --eps ";
  const CliRun small = RunCli(args + "0.001");
  ASSERT_EQ(small.status, 0) << small.err;
  EXPECT_NE(small.out.find("(Eps 0.005)"), std::string::npos) << small.out;
  EXPECT_EQ(small.out.find("RP = 0.0 %"), std::string::npos) << small.out;
  for (const char* eps : {"0", "-1", "-0"}) {
    const CliRun run = RunCli(args + eps);
    EXPECT_EQ(run.status, 0) << eps << ": " << run.err;
    EXPECT_EQ(run.out, small.out) << eps;
  }
}

TEST(CliDiff, RefusesAMissingFile) {
  CliRun run = RunCli("diff " + Example("copper111.pol") + " " + Example("missing.pol") + " " + Grid());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("missing.pol does not exist"), std::string::npos) << run.err;
}

std::vector<double> Intensities(const std::string& json) {
  std::vector<double> v;
  const nlohmann::json record = nlohmann::json::parse(json);  // the loop must not outlive it
  for (const auto& row : record["intensity"])
    for (const auto& x : row) v.push_back(x.get<double>());
  return v;
}

TEST(CliAdd, WeightedSumOfTheSamePoleFigureIsItInMrd) {
  const CliRun info = RunCli("info " + Example("copper111.pol") + " " + Grid() + " --json");
  ASSERT_EQ(info.status, 0) << info.err;
  const double norm = nlohmann::json::parse(info.out)["norm_factor"].get<double>();
  const auto raw = Intensities(info.out);

  const CliRun run = RunCli("add weighted " + Example("copper111.pol") + " " + Grid() + " --with " +
                            Example("copper111.pol") + ":1@3 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto sum = Intensities(run.out);
  ASSERT_EQ(sum.size(), raw.size());
  // Missing points stay missing; the rest come out in m.r.d.
  for (std::size_t k = 0; k < sum.size(); ++k) ASSERT_NEAR(sum[k], raw[k] == -1 ? -1 : raw[k] / norm, 1e-9) << k;
}

TEST(CliAdd, FittedSumWritesInTheSaveLayout) {
  const std::string out = (test::TempDir() / "fitted.pol").string();
  const CliRun run = RunCli("add fitted " + Example("copper111.pol") + " " + Grid() + " --with " +
                            Example("copper.xpe") + ":2 --count 6 --digits 10 -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = SplitLines(test::ReadFile(out));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].size(), 60u);
  EXPECT_EQ(lines.size(), 19u * 72u / 6u);
}

TEST(CliAdd, RefusesBadListsAndMissingOutput) {
  const std::string base = "add weighted " + Example("copper111.pol") + " " + Grid();
  CliRun run = RunCli(base + " --with " + Example("copper111.pol") + "@heavy --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "add: the weight of --with " + Example("copper111.pol") + "@heavy is not a number of at most 3.4e38\n");
  run = RunCli(base + " --with " + Example("missing.pol") + " --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("missing.pol does not exist"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
}

}  // namespace
}  // namespace quorix
