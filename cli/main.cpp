// quorix-cli: the batch interface to the same library the desktop program uses.
#include <clocale>
#include <exception>
#include <iostream>
#include <new>

#include "commands.h"

namespace quorix::cli {

std::vector<CommandSetup>& Commands() {
  static std::vector<CommandSetup> commands;
  return commands;
}

static int g_exitCode = 0;
void SetExitCode(int code) { g_exitCode = code; }

}  // namespace quorix::cli

// Whatever escapes a command, even a failed allocation, ends the program
// with a message and 1 instead of an abort.
int main(int argc, char** argv) try {
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
