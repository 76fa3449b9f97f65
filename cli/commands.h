// Subcommands of quorix-cli register themselves here, one file each.
#pragma once

#include <functional>
#include <vector>

#include <CLI/CLI.hpp>

namespace quorix::cli {

// Adds a subcommand to the app; the callback it installs returns through
// SetExitCode.
using CommandSetup = std::function<void(CLI::App&)>;

std::vector<CommandSetup>& Commands();

struct RegisterCommand {
  explicit RegisterCommand(CommandSetup setup) { Commands().push_back(std::move(setup)); }
};

void SetExitCode(int code);

}  // namespace quorix::cli
