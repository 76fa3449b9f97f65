// What the program starts with (last files, folders, window positions; read
// by settings/settings.h), where the configuration file lives and where the
// manual is.
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
  std::string DataFileName;
  std::string GridFileName;
  std::string GridPath;
  std::string DataPath;
  std::array<WindowPosition, 9> PlotWindowPositions{};  // 2..8
  // Whether the file gave window n its place; the others open beside the main window.
  std::array<bool, 9> PlotWindowGiven{};
};

// "top0051_left0051": top from the digits at character 4, left from characters 13..16.
WindowPosition ParseWindowPosition(const std::string& value);

// Where the program runs: its path as started (a bare name lies in the
// folder it was started in) and that folder.
struct ProgramPlace {
  std::string path;
  std::string currentFolder;
};

// The configuration file beside the program: its path with the extension "ini".
std::string IniFileNameFor(const ProgramPlace& program);

struct SettingsFiles {
  std::string read;  // empty: start with an empty configuration
  std::string write;
};

// The user's file (<userFolder>/<program name>.ini) once it exists; before
// that a file beside the program (a portable install) is read, and changes go
// to the user's file. An empty userFolder keeps everything beside the program.
SettingsFiles ChooseSettingsFiles(const ProgramPlace& program, const std::string& userFolder);

// IniFile::Save after creating the file's folder.
bool SaveSettings(const IniFile& ini, const std::string& path, MessageSink& sink);

// The HTML manual: installed beside the program's prefix
// (<prefix>/share/doc/quorix/manual/index.html), else `sourceTreeManual` (a
// program run from its build folder); empty when neither exists.
std::string FindManual(const ProgramPlace& program, const std::string& sourceTreeManual);

}  // namespace quorix
