// Everything the windows of the desktop program share: the program state, the
// pole figure set, configuration and the state of the Load Files sequence.
#pragma once

#include <string>
#include <vector>

#include "record/pole_figure_set.h"
#include "record/program_state.h"
#include "settings/startup_config.h"
#include "base/ini_file.h"

namespace quorix {

// Flags of the Load Files dialog, kept between loads.
struct LoadFlags {
  bool DirectionalMode = false;
  bool HashListFile = false;
  bool WkoListFile = false;
  bool PlainFile = false;
  bool ResetRotation = true;
  int PFIndex = 1;

  bool Multi() const { return HashListFile || WkoListFile; }
  void ClearLayout() { HashListFile = WkoListFile = PlainFile = false; }
  bool AnyLayout() const { return HashListFile || WkoListFile || PlainFile; }
};

struct AppContext {
  TProgramState state;
  TPoleFigureSet set;
  std::string programPath;
  std::string IniFileName;  // where the configuration is written
  std::string HelpFileName;
  IniFile ini;
  StartupConfig startup;
  std::string GridFileName;
  std::string DataFileName;
  std::string TitlePrefix;
  LoadFlags load;
};

// Writes the last data and grid files and the data folder into the
// configuration file for the next start.
void StoreSettings(AppContext& context);

}  // namespace quorix
