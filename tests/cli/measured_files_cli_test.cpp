// quorix-cli with files that carry their own grid: DATA [GRID], the error for
// a missing grid, the format and hkl in the JSON, and the plain-file warning.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "test_support.h"

namespace quorix {
namespace {

using test::CliRun;
using test::RunCli;

// Two popLA pole figures, (111) and (200), 3 circles of 72 points from 0 to 10 degrees.
std::string SmallPopla() {
  std::string s;
  for (const char* hkl : {"(111)", "(200)"}) {
    s += fmt::format("generated {}\n{}  5.0 10.0  5.0360.0 1 1 2-1 3  100    0\n", hkl, hkl);
    for (int i = 0; i < 3; ++i)
      for (int line = 0; line < 4; ++line) {
        std::string l = " ";
        for (int k = 0; k < 18; ++k) l += fmt::format("{:4d}", 100 + 10 * i + k);
        s += l + "\n";
      }
    s += "\n";
  }
  return s;
}

TEST(CliMeasuredFiles, GridIsOptionalForFilesThatCarryIt) {
  const std::string popla = test::WriteTempFile("small.epf", SmallPopla());
  const CliRun run = RunCli(fmt::format("info {} --index 2 --json", popla));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["format"], "popla");
  EXPECT_EQ(j["layout"], "popla");
  EXPECT_EQ(j["hkl"], "2 0 0");
  EXPECT_EQ(j["names"], (std::vector<std::string>{"1 1 1", "2 0 0"}));
  EXPECT_EQ(j["circles"], 3);
  EXPECT_EQ(j["circle_points"][2], 72);
  EXPECT_EQ(j["intensity"][1][17], 127);

  // Every command that loads one pole figure takes it the same way.
  const std::string out = (test::TempDir() / "small_out.txt").string();
  for (const std::string& args :
       {fmt::format("save {} -o {}", popla, out), fmt::format("smooth {} --fwhm 5 --json", popla),
        fmt::format("diff {} {}", popla, popla), fmt::format("saveall beartex {} -o {}", popla, out)}) {
    const CliRun r = RunCli(args);
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
  }

  // Old layouts report "format" too, and no hkl.
  const CliRun plain =
      RunCli(fmt::format("info {} {} --json", test::ExamplePath("copper111.pol"), test::ExamplePath("grid5.rst")));
  ASSERT_EQ(plain.status, 0) << plain.err;
  const auto p = nlohmann::json::parse(plain.out);
  EXPECT_EQ(p["format"], "plain");
  EXPECT_EQ(p["hkl"], "");

  // The lists give each block's reflection in its header.
  const CliRun beartex = RunCli(fmt::format("info {} --index 2 --json", test::ExamplePath("copper.xpe")));
  ASSERT_EQ(beartex.status, 0) << beartex.err;
  EXPECT_EQ(nlohmann::json::parse(beartex.out)["hkl"], "2 0 0");
}

// The tilts given on the command line serve the further files of `add` too.
TEST(CliMeasuredFiles, TiltsGivenServeEveryFileOfAnAddition) {
  const std::string txt = test::ExamplePath("copper_scan.txt");
  const CliRun added = RunCli(fmt::format("add fitted {0} --tilt-start 0 --tilt-step 5 --with {0} --json", txt));
  ASSERT_EQ(added.status, 0) << added.err;
  const CliRun alone = RunCli(fmt::format("info {} --tilt-start 0 --tilt-step 5 --json", txt));
  ASSERT_EQ(alone.status, 0) << alone.err;
  EXPECT_EQ(nlohmann::json::parse(added.out)["intensity"], nlohmann::json::parse(alone.out)["intensity"]);
  // Writing every pole figure of the file reads it once, with the tilts.
  const std::string out = (test::TempDir() / "rigaku.pol").string();
  for (const std::string& args : {fmt::format("convert {} -o {} --to ascii --tilt-start 0 --tilt-step 5", txt, out),
                                  fmt::format("saveall geesthacht {} -o {} --tilt-start 0 --tilt-step 5", txt, out)}) {
    const CliRun r = RunCli(args);
    EXPECT_EQ(r.status, 0) << args;
    EXPECT_EQ(r.err, "") << args;
  }
  const CliRun untilted = RunCli(fmt::format("add fitted {} --with {} --json", txt, txt));
  EXPECT_NE(untilted.status, 0);
  EXPECT_NE(untilted.err.find("tilts"), std::string::npos) << untilted.err;
}

TEST(CliMeasuredFiles, AMissingGridIsAUsageError) {
  for (const std::string& args :
       {fmt::format("info {}", test::ExamplePath("copper111.pol")),
        fmt::format("render {} -o x.png", test::ExamplePath("copper111_centre.pol")),
        fmt::format("diff {} {}", test::ExamplePath("copper111.pol"), test::ExamplePath("copper111.pol")),
        fmt::format("smooth {} --fwhm 5 --json", test::ExamplePath("copper111.pol")),
        fmt::format("saveall beartex {} -o x.xpe", test::ExamplePath("copper200_offset.pol")),
        fmt::format("convert {} -o x.epf --to popla", test::ExamplePath("copper111.pol"))}) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("a grid file is needed"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  // A broken file with its own layout is no usage error.
  const std::string bad = test::WriteTempFile("bad.epf", "c\n(111)  5.0 10.0  5.0360.0\n    1\n");
  const CliRun run = RunCli("info " + bad);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.epf"), std::string::npos) << run.err;
}

TEST(CliMeasuredFiles, LeftOverPlainValuesWarnButTheCommandSucceeds) {
  std::string values;
  for (int k = 0; k < 19 * 72 + 5; ++k) values += fmt::format("{}\n", k % 50);
  const std::string data = test::WriteTempFile("long.pol", values);
  const CliRun run = RunCli(fmt::format("info {} {}", data, test::ExamplePath("grid5.rst")));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, fmt::format("Data file {}: {} values, but the grid has {} points; the rest was ignored.\n", data,
                                 19 * 72 + 5, 19 * 72));
  EXPECT_NE(run.out.find("Layout:      plain"), std::string::npos);
}

TEST(CliMeasuredFiles, RealFiles) {
  const std::string gpf = test::RealDataPath("popla.GPF");
  const std::string jul = test::RealDataPath("juelich012.jul");
  if (gpf.empty() || jul.empty()) GTEST_SKIP() << "shared real data not present";
  const CliRun a = RunCli(fmt::format("info {} --index 6 --json", gpf));
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(nlohmann::json::parse(a.out)["hkl"], "1 0 3");
  const CliRun b = RunCli(fmt::format("info {} --json", jul));
  ASSERT_EQ(b.status, 0) << b.err;
  const auto j = nlohmann::json::parse(b.out);
  EXPECT_EQ(j["format"], "columns");
  EXPECT_EQ(j["circles"], 91);
}

}  // namespace
}  // namespace quorix

namespace quorix {
namespace {

// The exchange layouts need no grid file in any command; they convert to the
// layouts that take any grid.
TEST(CliMeasuredFiles, ExchangeLayoutsNeedNoGridFile) {
  const std::string seeds = std::string(QUORIX_SOURCE_DIR) + "/fuzz/seeds/";
  const std::string out = (test::TempDir() / "exchange").string();
  const std::pair<std::string, std::string> files[] = {{"wko_grid/older_variant_two_blocks.wko", "wko"},
                                                       {"dubna/goniometer_grid.cnv", "dubna"},
                                                       {"seifert/two_key_lines_crlf.nja", "seifert"},
                                                       {"tex_einzel/ST42-104-110.dat", "tex-einzel"}};
  for (const auto& [file, format] : files) {
    const std::string data = seeds + file;
    const CliRun info = RunCli(fmt::format("info {} --json", data));
    ASSERT_EQ(info.status, 0) << file << info.err;
    EXPECT_EQ(nlohmann::json::parse(info.out)["format"], format);
    for (const std::string& args :
         {fmt::format("render {} -o {}.png", data, out), fmt::format("save {} -o {}.pol", data, out),
          fmt::format("smooth {} --fwhm 5 --json", data),
          fmt::format("convert {} --to geesthacht -o {}.ibm", data, out),
          fmt::format("convert {} --index 1 --to ascii -o {}.txt", data, out),
          fmt::format("diff {} {} --json", data, data)}) {
      const CliRun run = RunCli(args);
      EXPECT_EQ(run.status, 0) << args << "\n" << run.err;
    }
  }
  // Beartex blocks hold the 5-degree grid only, unless interpolated onto it.
  const std::string seifert = seeds + "seifert/two_key_lines_crlf.nja";
  EXPECT_EQ(RunCli(fmt::format("convert {} --to beartex -o {}.xpe", seifert, out)).status, 1);
  const CliRun regridded = RunCli(fmt::format("convert {} --to beartex --regrid -o {}.xpe", seifert, out));
  EXPECT_EQ(regridded.status, 0) << regridded.err;
  EXPECT_EQ(RunCli(fmt::format("info {}.xpe --index 2", out)).status, 0);
  // The backgrounds of a Seifert file are pole figures of their own.
  const CliRun bg = RunCli(fmt::format("info {} --index 2 --json", seeds + "seifert/two_key_lines_crlf.nja"));
  const auto j = nlohmann::json::parse(bg.out);
  EXPECT_EQ(j["background"], true);
  EXPECT_EQ(j["two_theta"], 75.0);
}

}  // namespace
}  // namespace quorix
