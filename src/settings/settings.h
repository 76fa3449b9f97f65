// Every key of the configuration file, read and written in one place: display
// options, start-up files and window positions, rotation, contour colour sets,
// the save format and the files the dialogs remember.
#pragma once

#include <string>
#include <vector>

#include "base/ini_file.h"
#include "io/ascii_writer.h"
#include "plot/contour_colors.h"
#include "record/program_state.h"
#include "settings/startup_config.h"
#include "transform/rotation_text.h"

namespace quorix {

// Sections "Options" and "Plot": the option flags, the two HPGL stretch
// factors and the start-up size. Missing keys take their defaults; the fill
// option is always off after reading.
void ReadDisplayOptions(const IniFile& ini, ProgramState& state);

StartupConfig ReadStartupConfig(const IniFile& ini);

// Keeps the last data file, its folder and the grid file for the next start.
void RememberLastFiles(IniFile& ini, const std::string& dataFile, const std::string& dataPath,
                       const std::string& gridFile);

// "markmissing" of section "Options", written when the options dialog closes with OK.
void WriteMissingMarksOption(IniFile& ini, bool markMissing);
// The options kept from one session to the next: missing marks, the zoom to
// the measured tilts, smoothed lines.
void WriteViewOptions(IniFile& ini, const DisplayOptions& options);

// A file of the File menu's recent list: the data file, its grid and the
// place of the pole figure in a file of several (0 for a file of one).
struct RecentFile {
  std::string dataFile;
  std::string gridFile;
  int index = 0;
  bool operator==(const RecentFile&) const = default;
};
inline constexpr int kMaxRecentFiles = 8;

// Section "Recent": "file1", "grid1", "index1", ... newest first, up to the
// first missing "fileN"; malformed indices read as 0.
std::vector<RecentFile> ReadRecentFiles(const IniFile& ini);
// Puts `file` in front (an entry with the same data file and index moves up)
// and keeps at most kMaxRecentFiles.
std::vector<RecentFile> AddRecentFile(IniFile& ini, const RecentFile& file);

// Section "Rotation": "hemis", "symmetry" and "rot".
RotationSettings ReadRotationSettings(const IniFile& ini);

// The start-up colours: "color1", "color2", ... of section "Contour" up to
// the first missing key, the rest black; the default set when "color1" is
// missing.
void LoadContourColors(const IniFile& ini, ContourColorTable& colors);
// A missing file gives the default set.
void LoadContourColors(const std::string& fileName, ContourColorTable& colors);

// A colour set loaded over the current one: each key read replaces its
// level's colour, the entry after the last one read becomes kMissingColor,
// later entries stay. Returns the number of colours read.
int LoadColorSet(const IniFile& ini, ContourColorTable& colors);

// Writes "color1".."color<count>" of section "Contour" (count clamped to
// 0..50); the file's other lines stay. False with `error` on failure.
void StoreColorSet(IniFile& ini, const ContourColorTable& colors, int count);
bool SaveColorSet(const std::string& fileName, const ContourColorTable& colors, int count, MessageSink& sink);

inline constexpr const char* kSaveFormatSection = "SaveFormat";

// Missing or malformed keys keep the values of `defaults`; "enter" is true when nonzero.
SaveFormat ReadSaveFormat(const IniFile& ini, const SaveFormat& defaults = {});
void WriteSaveFormat(IniFile& ini, const SaveFormat& format);

// The sample file the XRDML dialog proposes ("xrdml" of section "Files").
std::string ReadXrdmlSampleFile(const IniFile& ini);
// The output grid the interpolation dialog proposes ("outgrid" of section "Rotation").
std::string ReadInterpolationGrid(const IniFile& ini);

// Section "Figure": what "Export Figure..." was last set to.
struct FigureSettings {
  std::string file;
  int rows = 0, columns = 0;  // 0: automatic
  std::string levels;         // "0.5,1,2"; empty: automatic
  bool log = false;
  bool sharedScale = true;
  std::string style = "filled";      // filled, smooth, lines
  std::string colorMap = "viridis";  // or "set": the contour colours
  bool equalArea = false;
  int widthMm = 170;
  int fontPt = 8;
  int dpi = 300;
  bool lineLabels = false;
  bool extremes = true;
  std::string title;
};
// Missing or malformed keys keep the defaults above.
FigureSettings ReadFigureSettings(const IniFile& ini);
void WriteFigureSettings(IniFile& ini, const FigureSettings& s);

}  // namespace quorix
