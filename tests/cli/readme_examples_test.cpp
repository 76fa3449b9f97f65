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

namespace quorix {
namespace {

// The manual's examples run inside a copy of the examples folder, as a user
// of the installed package runs them in /usr/share/doc/quorix/examples.
TEST(Manual, ExampleCommandsRun) {
  std::istringstream in(test::ReadFile(std::string(QUORIX_SOURCE_DIR) + "/docs/manual/index.html"));
  std::vector<std::string> commands;
  const std::string prefix = "quorix-cli ";
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("<pre>", 0) == 0) line.erase(0, 5);
    if (line.rfind(prefix, 0) == 0) commands.push_back(line.substr(prefix.size()));
  }
  ASSERT_GE(commands.size(), 5u) << "no example command lines found in the manual";
  const std::filesystem::path dir = test::TempDir() / "examples";
  std::filesystem::copy(std::string(QUORIX_SOURCE_DIR) + "/examples", dir);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  for (std::string args : commands) {
    if (const std::size_t end = args.find("</pre>"); end != std::string::npos) args.erase(end);
    const test::CliRun run = test::RunCli(args);
    EXPECT_EQ(run.status, 0) << args << "\n" << run.err;
  }
  std::filesystem::current_path(previous);
  EXPECT_TRUE(std::filesystem::exists(dir / "turned.pol"));
  EXPECT_TRUE(std::filesystem::exists(dir / "cracks.x01"));
}

}  // namespace
}  // namespace quorix
