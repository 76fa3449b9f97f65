// What the transform subcommands (smooth, interpolate) share: loading the
// input with its layout, the rotation options and writing the result.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "core/message_sink.h"
#include "core/pole_figure.h"
#include "core/program_state.h"
#include "io/data_layout.h"
#include "options.h"

namespace quorix::cli {

struct LoadedInput {
  std::unique_ptr<TPoleFigure> pf;
  DataLayout layout = DataLayout::None;
  std::vector<std::string> names;
};

// Loads as `info` does; pf is null after a failure (already reported).
LoadedInput LoadInput(const LoadOptions& o, MessageSink& sink);

// -o OUT in the plain layout of the interpolation dialog's defaults, or --json.
struct OutputOptions {
  std::string out;
  bool json = false;
  int count = 1;
  int digits = 8;
  int comma = 3;
  int factor = 0;
  bool enter = false;
};

void AddOutputOptions(CLI::App& cmd, OutputOptions& o);
// Exit code 0, or 1 after a message on stderr.
int WriteOutput(const LoadedInput& input, const OutputOptions& o, bool negativeToZero, MessageSink& sink);

// "PHI,THETA,OMEGA" and "X:30,Z:-45" as the rotation dialog would hold them;
// false with `error` set when the text does not parse.
bool ParseRotateAxis(const std::string& text, Mat3& matrix, std::string& error);
bool ParseRotateList(const std::string& text, RotationList& list, std::string& error);

}  // namespace quorix::cli
