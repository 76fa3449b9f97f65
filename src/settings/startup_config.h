// The start-up keys of the configuration file that are not display options:
// grid file, data folder and the screen positions of windows 2..8.
#pragma once

#include <array>
#include <string>

#include "base/ini_file.h"

namespace quorix {

struct WindowPosition {
  int top = 0;
  int left = 0;
};

struct StartupConfig {
  std::string GridFileName;
  std::string GridPath;
  std::string DataPath;
  std::array<WindowPosition, 9> PlotWindow{};  // 2..8
};

StartupConfig ReadStartupConfig(const IniFile& ini);

// "top0051_left0051": top from the digits at character 4, left from characters 13..16.
WindowPosition ParseWindowPosition(const std::string& value);

// The configuration file beside the program: its path with the extension "ini".
std::string IniFileNameFor(const std::string& programPath, const std::string& currentFolder);

}  // namespace quorix
