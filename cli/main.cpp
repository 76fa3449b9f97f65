// quorix-cli: the batch interface to the same library the desktop program uses.
#include <clocale>
#include <iostream>

#include "commands.h"
#include "quorix_version.h"

namespace quorix::cli {

std::vector<CommandSetup>& Commands() {
  static std::vector<CommandSetup> commands;
  return commands;
}

static int g_exitCode = 0;
void SetExitCode(int code) { g_exitCode = code; }

}  // namespace quorix::cli

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  CLI::App app{"Quorix pole figure tool"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("quorix-cli ") + QUORIX_VERSION);
  for (auto& setup : quorix::cli::Commands()) setup(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help and --version end with 0; every usage error with 2, apart from
    // the 1 of a command that failed.
    return app.exit(e) == 0 ? 0 : 2;
  }
  return quorix::cli::g_exitCode;
}
