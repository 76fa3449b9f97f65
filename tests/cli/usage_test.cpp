// The exit codes scripts rely on: 0 for --help and --version, 2 for a usage
// error before any file is touched, 1 only for a command that failed.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "test_support.h"

namespace quorix {
namespace {

using test::CliRun;
using test::RunCli;

TEST(CliUsage, VersionAndHelpSucceedOnStdout) {
  const CliRun version = RunCli("--version");
  EXPECT_EQ(version.status, 0);
  // The number itself is checked against project() by the install.cli_version test.
  EXPECT_TRUE(std::regex_match(version.out, std::regex("quorix-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
  EXPECT_TRUE(version.err.empty());

  for (const char* args : {"--help", "save --help"}) {
    const CliRun help = RunCli(args);
    EXPECT_EQ(help.status, 0) << args;
    EXPECT_NE(help.out.find("Usage:"), std::string::npos) << args;
  }
}

TEST(CliUsage, UsageErrorsExitWithTwoAndWriteNothing) {
  const std::string data = test::ExamplePath("copper111.pol");
  const std::string grid = test::ExamplePath("grid5.rst");
  const std::string out = (test::TempDir() / "never.pol").string();
  for (const std::string& args : {
           std::string(""),                                                    // no command
           std::string("convert ") + data + " " + grid,                        // unknown command
           "save " + data + " -o " + out,                                      // missing GRID
           "save " + data + " " + grid + " -o " + out + " --bogus",            // unknown option
           "save " + data + " " + grid + " -o " + out + " --index 0",          // failed check
           "save " + data + " " + grid + " -o " + out + " --count x",          // not a number
           "edit " + data + " " + grid + " --all + 1 --suppress 2 -o " + out,  // excluded pair
       }) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_FALSE(run.err.empty()) << args;
    EXPECT_FALSE(std::filesystem::exists(out)) << args;
  }
  const CliRun unknown = RunCli("rectify " + data + " " + grid);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(
      unknown.err,
      "quorix-cli: unknown command \"rectify\". The commands are: add, convert, correct, density, diff, edit, "
      "figure, info, interpolate, odf, render, save, saveall, smooth, xrdml.\nRun quorix-cli COMMAND --help for a "
      "command's arguments.\n");
  // A well-formed command that fails is not a usage error.
  EXPECT_EQ(RunCli("info " + test::ExamplePath("no_such.pol") + " " + grid).status, 1);
}

}  // namespace
}  // namespace quorix
