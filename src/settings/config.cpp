// Display options from the configuration file.
#include "settings/config.h"

#include <algorithm>
#include <string>

namespace quorix {

namespace {

bool YesNo(const IniFile& ini, const char* key, const char* fallback) {
  std::string v = ini.ReadString("Options", key, fallback);
  std::transform(v.begin(), v.end(), v.begin(),
                 [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : static_cast<char>(c); });
  return v.find("yes") != std::string::npos;
}

}  // namespace

void ReadDisplayOptions(const IniFile& ini, TProgramState& state) {
  TOptions& o = state.Options;
  o.ShowMrd = YesNo(ini, "mrd", "no");
  o.DrawGrid = YesNo(ini, "drawgrid", "yes");
  o.DrawTriangles = YesNo(ini, "drawtriangles", "no");
  o.EqualArea = YesNo(ini, "equalarea", "no");
  o.ShowEigenvalues = YesNo(ini, "eigenvalues", "no");
  o.FillAreas = false;
  o.PlotStretch = ini.ReadInteger("Plot", "plotstretch", 5);
  o.TextStretch = ini.ReadInteger("Plot", "textstretch", 2);
  state.StartupSize = std::clamp(ini.ReadInteger("Plot", "startupsize", 100), 50, 100);
}

}  // namespace quorix
