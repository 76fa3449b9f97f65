// Arguments a script may get wrong: outputs naming an input, numbers outside
// what an option takes, outputs through links and at the longest legal
// names, and values whose result leaves the double range.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "test_support.h"

namespace quorix {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::ReadFile;
using test::RunCli;

// Copies of the examples in a folder of their own, so that a failed
// refusal cannot damage the examples.
struct Inputs {
  fs::path dir;
  std::string data, grid;
};

Inputs CopyExamples(const std::string& name) {
  Inputs in{test::TempDir() / name, "", ""};
  fs::create_directories(in.dir);
  in.data = (in.dir / "copper111.pol").string();
  in.grid = (in.dir / "grid5.rst").string();
  fs::copy_file(test::ExamplePath("copper111.pol"), in.data, fs::copy_options::overwrite_existing);
  fs::copy_file(test::ExamplePath("grid5.rst"), in.grid, fs::copy_options::overwrite_existing);
  return in;
}

TEST(CliOutputs, AnOutputThatIsAnInputOfTheCommandIsRefused) {
  const Inputs in = CopyExamples("own_inputs");
  const std::string data = ReadFile(in.data), grid = ReadFile(in.grid);
  // Another name for the grid: the same file all the same.
  const std::string alias = (in.dir / "alias.rst").string();
  fs::create_hard_link(in.grid, alias);
  const std::string template_ = (in.dir / "sample.xrdml").string();
  fs::copy_file(std::string(QUORIX_SOURCE_DIR) + "/tests/io/data/mixed_case_markers.xrdml", template_);
  const std::string sample = ReadFile(template_);
  struct Case {
    std::string args, victim;
    bool log = false;
  } cases[] = {
      {fmt::format("save {} {} -o {}", in.data, in.grid, in.grid), in.grid},
      {fmt::format("save {} {} -o {}", in.data, in.grid, alias), alias},
      {fmt::format("smooth {} {} --fwhm 5 -o {}/./copper111.pol", in.data, in.grid, in.dir.string()),
       in.dir.string() + "/./copper111.pol"},
      {fmt::format("diff {0} {0} {1} --log {0}", in.data, in.grid), in.data, true},
      {fmt::format("diff {0} {0} {1} --rp-out {1}", in.data, in.grid), in.grid},
      {fmt::format("add weighted {0} {1} --with {0}:1@2 -o {0}", in.data, in.grid), in.data},
      {fmt::format("xrdml {} {} --template {} -o {}", in.data, in.grid, template_, template_), template_},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_EQ(run.err, (c.log ? "Cannot append to log file " : "Cannot create file ") + c.victim +
                           ": it is an input of this command\n")
        << c.args;
  }
  EXPECT_EQ(ReadFile(in.data), data);
  EXPECT_EQ(ReadFile(in.grid), grid);
  EXPECT_EQ(ReadFile(template_), sample);
  // A copy is another file and may be written.
  const std::string copy = (in.dir / "copy.rst").string();
  fs::copy_file(in.grid, copy);
  EXPECT_EQ(RunCli(fmt::format("save {} {} -o {}", in.data, in.grid, copy)).status, 0);
}

TEST(CliOptions, RangesAreStatedInAFewWords) {
  const std::string data = test::ExamplePath("copper111.pol"), grid = test::ExamplePath("grid5.rst");
  const std::string out = (test::TempDir() / "never.z01").string();
  struct Case {
    std::string args, message;
  } cases[] = {
      {fmt::format("save {} {} -o {} --index 0", data, grid, out),
       "--index: must be a whole number from 1 (the first pole figure) to 2147483647, not 0"},
      {fmt::format("save {} {} -o {} --index 99999999999", data, grid, out),
       "--index: must be a whole number from 1 (the first pole figure) to 2147483647, not 99999999999"},
      {fmt::format("diff {0} {0} {1} --index2 -3", data, grid), "not -3"},
      {fmt::format("diff {0} {0} {1} --eps nan", data, grid), "--eps: must be a number, not nan"},
      {fmt::format("diff {0} {0} {1} --eps 1e999", data, grid), "--eps: must be a number, not 1e999"},
      {fmt::format("render {} {} -o {}.png --plot-stretch inf", data, grid, out), "not inf"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 2) << c.args;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    // CLI11's own range check printed the largest double in 309 digits.
    EXPECT_LT(run.err.size(), 400u) << c.args << "\n" << run.err;
  }
  EXPECT_FALSE(fs::exists(out));

  // The add list's "line 2" means nothing on a command line.
  CliRun run = RunCli(fmt::format("add weighted {0} {1} --with {0}:2147483647 -o {2}", data, grid, out));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "add: the pole figure index of --with " + data + ":2147483647 is not a whole number from 0 to 255\n");
  run = RunCli(fmt::format("add weighted {0} {1} --with {0}@heavy -o {2}", data, grid, out));
  EXPECT_EQ(run.err, "add: the weight of --with " + data + "@heavy is not a number of at most 3.4e38\n");
  EXPECT_FALSE(fs::exists(out));
}

TEST(CliOutputs, PicturesGoThroughTheSafeWriter) {
  const std::string args = test::ExamplePath("copper111.pol") + " " + test::ExamplePath("grid5.rst");
  const fs::path dir = test::TempDir() / "pictures";
  fs::create_directories(dir / "real");
  for (const char* kind : {".png", ".svg", ".pdf"}) {
    // 255 bytes is as long as a name may be; the temporary must not need more.
    const std::string longest = std::string(255 - 4, 'p') + kind;
    CliRun run = RunCli(fmt::format("render {} -o {}", args, (dir / longest).string()));
    EXPECT_EQ(run.status, 0) << kind << ": " << run.err;
    EXPECT_GT(fs::file_size(dir / longest), 0u) << kind;

    // A link is written through and stays a link; the target keeps its mode.
    const fs::path target = dir / "real" / (std::string("target") + kind);
    const fs::path link = dir / (std::string("link") + kind);
    { std::ofstream(target) << "old"; }
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, link);
    run = RunCli(fmt::format("render {} -o {}", args, link.string()));
    EXPECT_EQ(run.status, 0) << kind << ": " << run.err;
    EXPECT_TRUE(fs::is_symlink(link)) << kind;
    EXPECT_NE(ReadFile(target.string()), "old") << kind;
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
        << kind;
  }
  // Nothing but the pictures, the links and their targets.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3 + 3 + 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 3);
}

TEST(CliNumbers, ResultsBeyondTheDoubleRangeAreRefused) {
  // 0.5 everywhere and one 1e308: doubled, the one used to stay 1e308 while
  // the rest doubled.
  std::string text = "half\nand one huge\n";
  for (int k = 0; k < 19 * 72; ++k) text += k == 100 ? " 1e308" : " 0.5";
  const std::string data = test::WriteTempFile("huge.pol", text + "\n");
  const std::string grid = test::ExamplePath("grid5.rst");
  const std::string out = (test::TempDir() / "never_huge.z01").string();
  CliRun run = RunCli(fmt::format("edit {} {} --all '*' 2 -o {}", data, grid, out));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "The result would exceed the largest number a value can hold (about 1.8e308); the intensities were left "
            "as they were.\n");
  EXPECT_FALSE(fs::exists(out));

  // Widths that square to zero gave a file of "-nan" and exit 0.
  const std::string copper = test::ExamplePath("copper111.pol");
  run = RunCli(fmt::format("smooth {} {} --fwhm 1e-200 -o {}", copper, grid, out));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "smooth: --fwhm: The FWHM must be a number of degrees of at least 1e-06, not 1e-200.\n");
  const std::string directions = test::WriteTempFile("on_a_point.txt", "0 90 X\n");
  run = RunCli(fmt::format("density {} {} --fwhm 1e-200 -o {}", directions, grid, out));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "density: --fwhm: The FWHM must be a number of degrees of at least 1e-06, not 1e-200.\n");
  EXPECT_FALSE(fs::exists(out));

  // Data near the largest double compare as any other data: the same
  // texture in two units differs by nothing once both are in m.r.d.
  std::string large = "large\nunit\n", larger = "larger\nunit\n";
  for (int k = 0; k < 19 * 72; ++k) {
    large += " 0.85e308";
    larger += " 1.7e308";
  }
  const std::string pf1 = test::WriteTempFile("large.pol", large + "\n");
  const std::string pf2 = test::WriteTempFile("larger.pol", larger + "\n");
  run = RunCli(fmt::format("diff {} {} {}", pf1, pf2, grid));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("RP = 0.0 %", 0), 0u) << run.out;
}

}  // namespace
}  // namespace quorix
