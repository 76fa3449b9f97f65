// quorix-cli save, saveall and xrdml: the same bytes as the library writers,
// files that read back, and failures that leave no file.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "base/nearest.h"
#include "base/text_file.h"
#include "io/ascii_writer.h"
#include "io/formatted_writer.h"
#include "io/load_pole_figure.h"
#include "test_support.h"

namespace quorix {
namespace {

using test::CliRun;
using test::ReadFile;
using test::RunCli;

std::unique_ptr<PoleFigure> Load(const std::string& data, int index = 1) {
  return test::LoadFile(data, test::ExamplePath("grid5.rst"), index);
}

std::string Examples(const char* data) { return test::ExampleArgs(data); }

TEST(CliSave, WritesWhatTheLibraryWrites) {
  const auto pf = Load(test::ExamplePath("copper.xpe"), 2);
  ASSERT_TRUE(pf);
  const std::string out = (test::TempDir() / "copper.z01").string();
  struct Case {
    std::string args;
    AsciiWriteOptions options;
  } cases[] = {
      {"", {}},
      {"--standard dubna --factor -1 --invert-phi", {}},
      {"--count 5 --digits 6 --comma 1 --enter --keep-negative --invert-theta", {}},
      {"--coords polar", {}},
  };
  cases[1].options.Format = {6, 8, 3, -1, true};
  cases[1].options.InvertPhi = true;
  cases[2].options.Format = {5, 6, 1, 0, true};
  cases[2].options.SetNegativeToZero = false;
  cases[2].options.InvertTheta = true;
  cases[3].options.IncludeCoordinates = true;
  cases[3].options.Coordinates = CoordinateType::Polar;
  for (const Case& c : cases) {
    const CliRun run = RunCli(fmt::format("save {} --index 2 -o {} {}", Examples("copper.xpe"), out, c.args));
    ASSERT_EQ(run.status, 0) << c.args << ": " << run.err;
    EXPECT_EQ(ReadFile(out), FormatPFASCII(*pf, c.options)) << c.args;
  }
}

TEST(CliSave, FailedWritesExitWithOneAndLeaveNoFile) {
  const std::string noFolder = (test::TempDir() / "missing" / "x.z01").string();
  CliRun run = RunCli(fmt::format("save {} -o {}", Examples("copper111.pol"), noFolder));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Cannot create file " + noFolder + ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(noFolder));
  if (std::filesystem::exists("/dev/full")) {
    run = RunCli(fmt::format("save {} -o /dev/full", Examples("copper111.pol")));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Error writing file /dev/full: No space left on device.\n");
  }
  run = RunCli(fmt::format("saveall beartex {} -o {}", Examples("copper.xpe"), noFolder));
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(std::filesystem::exists(noFolder));
}

TEST(CliSaveAll, BeartexFromAHashListFileKeepsItsHeaderAndReadsBack) {
  const std::string out = (test::TempDir() / "copper.xpe").string();
  const CliRun run =
      RunCli(fmt::format("saveall beartex {} -o {} --comment 'Copper again'", Examples("copper.xpe"), out));
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = SplitLines(ReadFile(out));
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[0], fmt::format("{:<79}#", "Copper again"));
  // Lattice and symmetry from line 6 of the source, indices from the pole figure names.
  EXPECT_EQ(lines[5], "     3.615     3.615     3.615    90.000    90.000    90.000    7    1");
  EXPECT_EQ(lines[6].substr(0, 10), "   1  1  1");
  for (int k = 1; k <= 3; ++k) {
    const auto source = Load(test::ExamplePath("copper.xpe"), k);
    const auto back = Load(out, k);
    ASSERT_TRUE(source && back) << k;
    const double scale = BeartexScale(source->MaxValue);
    for (int i = 1; i <= source->CircleCount; ++i)
      for (int j = 1; j <= source->CirclePoints[i]; ++j) {
        const double v = source->Intensity[i][j];
        // Missing points stay -1, not -1 times the scale.
        ASSERT_EQ(back->Intensity[i][j], v == kMissing ? v : Nearest(v * scale)) << k << ": " << i << "," << j;
      }
  }
}

TEST(CliSaveAll, GeesthachtWritesWhatTheLibraryWrites) {
  const auto a = Load(test::ExamplePath("copper111.pol"));
  ASSERT_TRUE(a);
  const std::string out = (test::TempDir() / "copper.ibm").string();
  const CliRun run = RunCli(fmt::format(
      "saveall geesthacht {} -o {} --comment one --comment two --symmetry 4 --lattice 3.615,3.615,3.615,90,90,90 "
      "--hkl 1,1,1 --misalignment 5 --invert-phi",
      Examples("copper111.pol"), out));
  ASSERT_EQ(run.status, 0) << run.err;
  SaveAllSettings s;
  s.layout = DataLayout::Geesthacht;
  s.comments = {"one", "two"};
  s.symmetry = 4;
  s.lattice = {3.615, 3.615, 3.615, 90, 90, 90};
  s.misalignment = 5;
  s.invertPhi = true;
  s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}};
  PoleFigureSlots figures{};
  figures[1] = a.get();
  EXPECT_EQ(ReadFile(out), FormatSaveAll(s, figures));
}

TEST(CliSaveAll, RefusesNamesWithoutIndicesAndBadOptions) {
  const std::string out = (test::TempDir() / "q.ibm").string();
  CliRun run = RunCli(fmt::format("saveall geesthacht {} -o {}", Examples("quartz.wko"), out));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("give --hkl"), std::string::npos);
  run = RunCli(
      fmt::format("saveall geesthacht {} -o {} --hkl 1,0,0 --hkl 1,0,1 --symmetry 7", Examples("quartz.wko"), out));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Output file " + out + ": The symmetry code must be from 0 to 6.\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  run = RunCli(fmt::format("saveall geesthacht {} -o {} --hkl 1,0,0 --hkl 1,0,1", Examples("quartz.wko"), out));
  EXPECT_EQ(run.status, 0) << run.err;
}

TEST(CliXrdml, WritesOnATemplateAndRefusesAnUnusableOne) {
  const std::string out = (test::TempDir() / "copper.xrdml").string();
  const std::string good = std::string(QUORIX_SOURCE_DIR) + "/tests/io/data/mixed_case_markers.xrdml";
  CliRun run = RunCli(
      fmt::format("xrdml {} --template {} -o {} --hkl 1,1,1 --zero-negative", Examples("copper111.pol"), good, out));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(ReadFile(out).find("\t\t\t\t\t<h>1</h>\r\n"), std::string::npos);

  const std::string bad = std::string(QUORIX_SOURCE_DIR) + "/tests/io/data/template_ending_inside_the_scan.xrdml";
  const std::string other = (test::TempDir() / "other.xrdml").string();
  run = RunCli(fmt::format("xrdml {} --template {} -o {}", Examples("copper111.pol"), bad, other));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "The sample file " + bad + " is not a usable XRDML template.\n");
  EXPECT_FALSE(std::filesystem::exists(other));
  run = RunCli(fmt::format("xrdml {} --template {} -o {} --hkl 1,1", Examples("copper111.pol"), good, other));
  EXPECT_EQ(run.status, 1);
}

// XRDML cannot mark a missing point: the circles left out are named, in
// `xrdml` and `convert` alike, and no template is needed.
TEST(CliXrdml, TheBuiltInTemplateServesAndLeftOutCirclesAreNamed) {
  const std::string note =
      ": 14 of 19 circles written; the circles at alpha 20, 30, 40, 55, 80 degrees were left out: each holds "
      "missing points, and XRDML has no mark for a missing point.\n";
  const std::string out = (test::TempDir() / "built_in.xrdml").string();
  CliRun run = RunCli(fmt::format("xrdml {} -o {}", Examples("copper.xpe"), out));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, out + note);
  const std::string converted = (test::TempDir() / "converted.xrdml").string();
  run = RunCli(fmt::format("convert {} --to xrdml --index 1 -o {}", Examples("copper.xpe"), converted));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, converted + note);
  // convert names the reflection the list gives.
  EXPECT_NE(ReadFile(converted).find("<h>1</h>"), std::string::npos);
  EXPECT_EQ(ReadFile(out).find("<reflection>"), std::string::npos);
  run = RunCli("info " + converted + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["circles"], 14);
}

TEST(CliConvert, GeesthachtKeepsEveryCircleThatHoldsAValue) {
  // Alpha 0 to 40: the 40-degree circle of the first pole figure lacks one point of 72.
  std::string grid;
  for (int alpha = 0; alpha <= 40; alpha += 5) grid += fmt::format("{} 72\n", alpha);
  const std::string gridFile = test::WriteTempFile("grid40.rst", grid);
  const std::string out = (test::TempDir() / "copper40.ibm").string();
  CliRun run = RunCli(
      fmt::format("convert {} {} --to geesthacht --index 1 -o {}", test::ExamplePath("copper.xpe"), gridFile, out));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(SplitLines(ReadFile(out))[4], "  1  1  1   8  72   8");
  run = RunCli(fmt::format("info {} {} --json", out, gridFile));
  ASSERT_EQ(run.status, 0) << run.err;
  const auto outer = nlohmann::json::parse(run.out)["intensity"][8];
  EXPECT_EQ(std::count(outer.begin(), outer.end(), -1), 1);
  EXPECT_EQ(outer.size(), 72u);
}

TEST(CliConvert, BeartexGetsASymmetryCodeWhereTheSourceHasNone) {
  const std::string out = (test::TempDir() / "from_popla.xpe").string();
  CliRun run = RunCli(fmt::format("convert {} --to beartex -o {}", test::ExamplePath("copper.epf"), out));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, out + ": " + test::ExamplePath("copper.epf") +
                         " gives no Beartex crystal symmetry code; code 1 (triclinic) was assumed. --symmetry N "
                         "gives another.\n");
  EXPECT_EQ(SplitLines(ReadFile(out))[5].substr(60), "    1    1");
  run = RunCli(fmt::format("convert {} --to beartex --symmetry 7 -o {}", test::ExamplePath("copper.epf"), out));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  EXPECT_EQ(SplitLines(ReadFile(out))[5].substr(60), "    7    1");
  // A hash list keeps its own code.
  run = RunCli(fmt::format("convert {} --to beartex --index 1 -o {}", test::ExamplePath("copper.xpe"), out));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  EXPECT_EQ(SplitLines(ReadFile(out))[5].substr(60), "    7    1");
}

}  // namespace
}  // namespace quorix
