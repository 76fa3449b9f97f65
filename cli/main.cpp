// quorix-cli: the batch interface to the same library the desktop program uses.
#include <clocale>
#include <iostream>

#include "commands.h"

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
  for (auto& setup : quorix::cli::Commands()) setup(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  return quorix::cli::g_exitCode;
}
