// quorix-cli density: the same record and bytes as the library's directional
// load, and failures that exit with 1 and write nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "io/ascii_writer.h"
#include "io/load_pole_figure.h"
#include "test_support.h"
#include "transform/directional_density.h"

namespace quorix {
namespace {

using test::CliRun;
using test::ExamplePath;
using test::RunCli;

std::unique_ptr<PoleFigure> LoadCracks(const std::string& grid, DirectionalOptions options) {
  LoadRequest r;
  r.dataFile = ExamplePath("cracks.txt");
  r.gridFile = ExamplePath(grid);
  r.gridRule = GridRule::WindowSlot;
  CollectingSink sink;
  return LoadDensityPoleFigure(r, options, sink);
}

std::string Args(const std::string& grid) { return "density " + ExamplePath("cracks.txt") + " " + ExamplePath(grid); }

TEST(CliDensity, WritesWhatTheLibraryWrites) {
  DirectionalOptions options;
  options.fwhm = 7.5;
  const auto pf = LoadCracks("offset5.grd", options);
  ASSERT_TRUE(pf);
  const std::string out = (test::TempDir() / "cracks.pol").string();
  const CliRun run = RunCli(Args("offset5.grd") + " --fwhm 7.5 -o " + out + " --count 8 --comma 2 --enter");
  ASSERT_EQ(run.status, 0) << run.err;
  AsciiWriteOptions w;
  w.Format.ValuesPerLine = 8;
  w.Format.Decimals = 2;  // 4 would fill the 8-wide field of 107.9724
  w.Format.LineEndAfterCircle = true;
  EXPECT_EQ(test::ReadFile(out), FormatPFASCII(*pf, w));
}

TEST(CliDensity, JsonOfASectionIsTheLibraryRecord) {
  DirectionalOptions options;
  options.kind = 'Y';
  options.sectionAngles[1] = 30;
  const auto pf = LoadCracks("grid5.rst", options);
  ASSERT_TRUE(pf);
  const CliRun run = RunCli(Args("grid5.rst") + " --section y --angle 30 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["layout"], "directional");
  EXPECT_EQ(j["file"], ExamplePath("cracks.txt"));
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int k = 1; k <= pf->CirclePoints[i]; ++k)
      ASSERT_EQ(j["intensity"][i - 1][k - 1].get<double>(), pf->Intensity[i][k]) << i << "," << k;
  ASSERT_EQ(j["levels"].size(), static_cast<std::size_t>(pf->LevelCount));
  // Without --angle the section keeps its default turn (90 for Y).
  const CliRun byDefault = RunCli(Args("grid5.rst") + " --section Y --json");
  options.sectionAngles[1] = 90;
  EXPECT_EQ(nlohmann::json::parse(byDefault.out)["max"]["value"].get<double>(),
            LoadCracks("grid5.rst", options)->MaxValue);
}

TEST(CliDensity, RefusalsExitWithOneAndWriteNothing) {
  const std::string out = (test::TempDir() / "never.pol").string();
  const std::string missing = ExamplePath("no_such_cracks.txt");
  struct Case {
    std::string args;
    std::string err;
  } cases[] = {
      {"density " + missing + " " + ExamplePath("grid5.rst") + " -o " + out, "File " + missing + " does not exist\n"},
      {Args("grid5.rst"), "density: give -o OUT or --json\n"},
      {Args("grid5.rst") + " --angle 10 -o " + out, "density: --angle needs --section\n"},
      {Args("grid5.rst") + " --fwhm 0 -o " + out,
       "density: --fwhm: The FWHM must be a number of degrees of at least 1e-06, not 0.\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_EQ(run.err, c.err) << c.args;
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

}  // namespace
}  // namespace quorix
