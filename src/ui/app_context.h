// Everything the windows of the desktop program share: the session (program
// state, pole figure set, load state), configuration and the caption prefix.
#pragma once

#include <string>
#include <vector>

#include "core/startup_config.h"
#include "io/ini_file.h"
#include "workflow/session.h"

namespace quorix {

struct AppContext : Session {
  std::string programPath;
  std::string IniFileName;
  std::string HelpFileName;
  IniFile ini;
  StartupConfig startup;
  std::string TitlePrefix;
};

}  // namespace quorix
