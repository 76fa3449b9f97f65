// Everything the windows of the desktop program share: the session (program
// state, pole figure set, load state), configuration and the caption prefix.
#pragma once

#include <string>
#include <vector>

#include "base/ini_file.h"
#include "record/pole_figure_set.h"
#include "record/program_state.h"
#include "settings/startup_config.h"
#include "workflow/session.h"

namespace quorix {

struct AppContext : Session {
  std::string programPath;
  std::string IniFileName;  // where the configuration is written
  std::string HelpFileName;
  IniFile ini;
  StartupConfig startup;
  std::string TitlePrefix;
};

// Writes the last data and grid files and the data folder into the
// configuration file for the next start.
void StoreSettings(AppContext& context);

}  // namespace quorix
