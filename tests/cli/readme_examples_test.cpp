// The command lines shown in the README run as written, so they cannot rot.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace quorix {
namespace {

std::vector<std::string> ReadmeCommands() {
  std::istringstream in(test::ReadFile(std::string(QUORIX_SOURCE_DIR) + "/README.md"));
  std::vector<std::string> commands;
  const std::string prefix = "build/cli/quorix-cli ";
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) commands.push_back(line.substr(prefix.size()));
  return commands;
}

TEST(Readme, ExampleCommandsRun) {
  const auto commands = ReadmeCommands();
  ASSERT_GE(commands.size(), 3u) << "no example command lines found in README.md";
  const std::filesystem::path dir = test::TempDir();
  std::filesystem::create_directory_symlink(std::string(QUORIX_SOURCE_DIR) + "/examples", dir / "examples");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  for (const std::string& args : commands) {
    const test::CliRun run = test::RunCli(args);
    EXPECT_EQ(run.status, 0) << args << "\n" << run.err;
  }
  std::filesystem::current_path(previous);
  EXPECT_TRUE(std::filesystem::exists(dir / "copper.png"));
  EXPECT_TRUE(std::filesystem::exists(dir / "rp.log"));
}

}  // namespace
}  // namespace quorix
