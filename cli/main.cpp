// quorix-cli: the batch interface to the same library the desktop program uses.
#include <clocale>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "base/safe_write.h"
#include "commands.h"
#include "file_guard.h"
#include "options.h"
#include "quorix_version.h"

namespace {

using AddCommandFunction = quorix::cli::Command (*)(CLI::App&);

// In the order `--help` lists them.
constexpr AddCommandFunction kCommandTable[] = {
    quorix::cli::AddAddCommand,     quorix::cli::AddConvertCommand, quorix::cli::AddCorrectCommand,
    quorix::cli::AddDensityCommand, quorix::cli::AddDiffCommand,    quorix::cli::AddEditCommand,
    quorix::cli::AddFigureCommand,  quorix::cli::AddInfoCommand,    quorix::cli::AddInterpolateCommand,
    quorix::cli::AddOdfCommand,     quorix::cli::AddRenderCommand,  quorix::cli::AddSaveCommand,
    quorix::cli::AddSaveAllCommand, quorix::cli::AddSmoothCommand,  quorix::cli::AddXrdmlCommand,
};

}  // namespace

// Whatever escapes a command, even a failed allocation, ends the program
// with a message and 1 instead of an abort.
int main(int argc, char** argv) try {
  std::setlocale(LC_ALL, "C");
  quorix::RemoveTemporariesOnTermination();
  CLI::App app{"Quorix pole figure tool"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("quorix-cli ") + QUORIX_VERSION);
  std::vector<quorix::cli::Command> commands;
  for (AddCommandFunction add : kCommandTable) commands.push_back(add(app));
  // CLI11 takes an unknown word for a stray argument and asks for a command.
  std::string names;
  bool known = false;
  for (const quorix::cli::Command& command : commands) {
    names += (names.empty() ? "" : ", ") + command.app->get_name();
    known = known || (argc > 1 && command.app->get_name() == argv[1]);
  }
  if (argc > 1 && argv[1][0] != '-' && !known) {
    std::cerr << "quorix-cli: unknown command \"" << argv[1] << "\". The commands are: " << names
              << ".\nRun quorix-cli COMMAND --help for a command's arguments.\n";
    return 2;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help and --version end with 0; every usage error with 2, apart from
    // the 1 of a command that failed.
    return app.exit(e) == 0 ? 0 : 2;
  }
  for (const quorix::cli::Command& command : commands) {
    if (!command.app->parsed()) continue;
    quorix::cli::StderrSink sink;
    return quorix::cli::OutputsAreNotInputs(*command.app, sink) ? command.run() : 1;
  }
  return 0;
} catch (const std::bad_alloc&) {
  std::cerr << "quorix-cli: not enough memory for this command.\n";
  return 1;
} catch (const std::exception& e) {
  std::cerr << "quorix-cli: " << e.what() << '\n';
  return 1;
} catch (...) {
  std::cerr << "quorix-cli: an unexpected error ended the command.\n";
  return 1;
}
