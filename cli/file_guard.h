// A command never writes over one of its own input files.
#pragma once

#include <CLI/CLI.hpp>

#include "base/message_sink.h"

namespace quorix::cli {

// False after a message when an output of the parsed command (-o, --diff-out,
// --rp-out, --log) is the same file as one of its inputs, whatever names the
// two go by (links, "./", other folders): device and inode decide.
bool OutputsAreNotInputs(const CLI::App& command, MessageSink& sink);

}  // namespace quorix::cli
