// What the subcommands that change a pole figure share: loading the input
// with its layout, the rotation options and writing the result.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "io/data_layout.h"
#include "options.h"
#include "record/pole_figure.h"
#include "record/program_state.h"
#include "save_options.h"

namespace quorix::cli {

struct LoadedInput {
  std::unique_ptr<PoleFigure> pf;
  DataLayout layout = DataLayout::None;
  std::vector<std::string> names;
  int failure = 1;  // the exit code when pf is null
};

// Loads as `info` does; pf is null after a failure (already reported).
LoadedInput LoadInput(const LoadOptions& o, MessageSink& sink);

// -o OUT written as `save` writes (its format options apply), and/or --json.
struct OutputOptions {
  std::string out;
  bool json = false;
  SaveFormatOptions format;
};

void AddOutputOptions(CLI::App& cmd, OutputOptions& o);
// False after telling `command` needs -o or --json.
bool OutputAsked(const OutputOptions& o, const std::string& command);
// Exit code 0, or 1 after a message on stderr. `layout` names the input's
// layout in the JSON ("directional" when given as a string).
int WriteOutput(const PoleFigure& pf, const nlohmann::json& record, const OutputOptions& o, MessageSink& sink);
int WriteOutput(const LoadedInput& input, const OutputOptions& o, MessageSink& sink);

// "PHI,THETA,OMEGA" and "X:30,Z:-45" as the rotation dialog would hold them;
// false with `error` set when the text does not parse.
bool ParseRotateAxis(const std::string& text, Mat3& matrix, std::string& error);
bool ParseRotateList(const std::string& text, RotationList& list, std::string& error);

}  // namespace quorix::cli
