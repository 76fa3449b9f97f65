// The subcommands of quorix-cli, one file each; main lists them in its table.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>

namespace quorix::cli {

// A subcommand added to the app, and what runs it once it was parsed: the
// command's exit code.
struct Command {
  CLI::App* app = nullptr;
  std::function<int()> run;
};

Command AddAddCommand(CLI::App& app);
Command AddConvertCommand(CLI::App& app);
Command AddCorrectCommand(CLI::App& app);
Command AddDensityCommand(CLI::App& app);
Command AddDiffCommand(CLI::App& app);
Command AddEditCommand(CLI::App& app);
Command AddFigureCommand(CLI::App& app);
Command AddInfoCommand(CLI::App& app);
Command AddInterpolateCommand(CLI::App& app);
Command AddOdfCommand(CLI::App& app);
Command AddRenderCommand(CLI::App& app);
Command AddSaveCommand(CLI::App& app);
Command AddSaveAllCommand(CLI::App& app);
Command AddSmoothCommand(CLI::App& app);
Command AddXrdmlCommand(CLI::App& app);

}  // namespace quorix::cli
