// The display options kept in the configuration file.
#pragma once

#include "record/program_state.h"
#include "base/ini_file.h"

namespace quorix {

// Sections "Options" and "Plot": the option flags, the two HPGL stretch
// factors and the start-up size. Missing keys take their defaults; the fill
// option is always off after reading.
void ReadDisplayOptions(const IniFile& ini, TProgramState& state);

}  // namespace quorix
