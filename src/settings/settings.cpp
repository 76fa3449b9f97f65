#include "settings/settings.h"

#include <fmt/format.h>

#include <algorithm>
#include <filesystem>

#include "base/text_file.h"

namespace quorix {

namespace {

bool YesNo(const IniFile& ini, const char* key, const char* fallback) {
  std::string v = ini.ReadString("Options", key, fallback);
  std::transform(v.begin(), v.end(), v.begin(), [](unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : static_cast<char>(c);
  });
  return v.find("yes") != std::string::npos;
}

constexpr const char* kContourSection = "Contour";

std::string ColorKey(int level) { return "color" + std::to_string(level); }

}  // namespace

void ReadDisplayOptions(const IniFile& ini, ProgramState& state) {
  DisplayOptions& o = state.Options;
  o.ShowMrd = YesNo(ini, "mrd", "no");
  o.DrawGrid = YesNo(ini, "drawgrid", "yes");
  o.DrawTriangles = YesNo(ini, "drawtriangles", "no");
  o.EqualArea = YesNo(ini, "equalarea", "no");
  o.ShowEigenvalues = YesNo(ini, "eigenvalues", "no");
  o.FillAreas = false;
  o.MarkMissing = YesNo(ini, "markmissing", "no");
  o.ZoomToMeasured = YesNo(ini, "zoomtilts", "no");
  o.SmoothLines = YesNo(ini, "smoothlines", "yes");
  o.OneScale = YesNo(ini, "onescale", "no");
  o.PlotStretch = ini.ReadInteger("Plot", "plotstretch", 5);
  o.TextStretch = ini.ReadInteger("Plot", "textstretch", 2);
  state.StartupSize = std::clamp(ini.ReadInteger("Plot", "startupsize", 100), 50, 100);
}

StartupConfig ReadStartupConfig(const IniFile& ini) {
  StartupConfig c;
  c.DataFileName = ini.ReadString("Files", "data", "");
  c.GridFileName = ini.ReadString("Files", "grid", "");
  c.GridPath = c.GridFileName.empty() ? std::string() : std::filesystem::path(c.GridFileName).parent_path().string();
  c.DataPath = ini.ReadString("Data", "datapath", "");
  for (int n = 2; n <= 8; ++n) {
    const int offset = 50 * (n - 2) + 1;
    const std::string fallback = fmt::format("top{:04d}_left{:04d}", offset, offset);
    c.PlotWindowPositions[n] = ParseWindowPosition(ini.ReadString("Plot", "plot" + std::to_string(n), fallback));
    c.PlotWindowGiven[n] = !ini.ReadString("Plot", "plot" + std::to_string(n), "").empty();
  }
  return c;
}

void RememberLastFiles(IniFile& ini, const std::string& dataFile, const std::string& dataPath,
                       const std::string& gridFile) {
  ini.WriteString("Files", "data", dataFile);
  ini.WriteString("Files", "grid", gridFile);
  ini.WriteString("Data", "datapath", dataPath);
}

void WriteMissingMarksOption(IniFile& ini, bool markMissing) {
  ini.WriteString("Options", "markmissing", markMissing ? "yes" : "no");
}

void WriteViewOptions(IniFile& ini, const DisplayOptions& options) {
  WriteMissingMarksOption(ini, options.MarkMissing);
  ini.WriteString("Options", "zoomtilts", options.ZoomToMeasured ? "yes" : "no");
  ini.WriteString("Options", "smoothlines", options.SmoothLines ? "yes" : "no");
  ini.WriteString("Options", "onescale", options.OneScale ? "yes" : "no");
}

namespace {
constexpr const char* kRecentSection = "Recent";
}  // namespace

std::vector<RecentFile> ReadRecentFiles(const IniFile& ini) {
  std::vector<RecentFile> files;
  for (int n = 1; n <= kMaxRecentFiles; ++n) {
    const std::string k = std::to_string(n);
    RecentFile f;
    f.dataFile = ini.ReadString(kRecentSection, "file" + k, "");
    if (f.dataFile.empty()) break;
    f.gridFile = ini.ReadString(kRecentSection, "grid" + k, "");
    f.index = std::max(0, ini.ReadInteger(kRecentSection, "index" + k, 0));
    files.push_back(std::move(f));
  }
  return files;
}

std::vector<RecentFile> AddRecentFile(IniFile& ini, const RecentFile& file) {
  std::vector<RecentFile> files = ReadRecentFiles(ini);
  std::erase_if(files, [&](const RecentFile& f) { return f.dataFile == file.dataFile && f.index == file.index; });
  files.insert(files.begin(), file);
  if (files.size() > static_cast<std::size_t>(kMaxRecentFiles)) files.resize(kMaxRecentFiles);
  // The list never shrinks here, so the entries written cover every one there was.
  for (std::size_t n = 1; n <= files.size(); ++n) {
    const std::string k = std::to_string(n);
    ini.WriteString(kRecentSection, "file" + k, files[n - 1].dataFile);
    ini.WriteString(kRecentSection, "grid" + k, files[n - 1].gridFile);
    ini.WriteString(kRecentSection, "index" + k, std::to_string(files[n - 1].index));
  }
  return files;
}

RotationSettings ReadRotationSettings(const IniFile& ini) {
  RotationSettings s;
  const std::string hemis = ToLower(ini.ReadString("Rotation", "hemis", "upper"));
  const std::string symmetry = ToLower(ini.ReadString("Rotation", "symmetry", "monoclin"));
  const std::string rot = ToUpper(ini.ReadString("Rotation", "rot", "AXIS"));
  s.UpperHemisphere = hemis.find("lower") == std::string::npos;
  s.Triclin = symmetry.find("tri") != std::string::npos;
  s.DefaultMode = rot.find("AX") != std::string::npos ? RotationMode::Matrix : RotationMode::List;
  return s;
}

void LoadContourColors(const IniFile& ini, ContourColorTable& colors) {
  if (ini.ReadInteger(kContourSection, ColorKey(1), kMissingColor) == kMissingColor) {
    colors = DefaultContourColors();
    return;
  }
  ContourColorTable loaded{};
  for (int k = 1; k <= kMaxLevels; ++k) {
    ColorValue c = ini.ReadInteger(kContourSection, ColorKey(k), kMissingColor);
    if (c == kMissingColor) break;
    loaded[k] = c;
  }
  colors = loaded;
}

void LoadContourColors(const std::string& fileName, ContourColorTable& colors) {
  LoadContourColors(IniFile::Load(fileName), colors);
}

int LoadColorSet(const IniFile& ini, ContourColorTable& colors) {
  for (int k = 1; k <= kMaxLevels; ++k) {
    ColorValue c = ini.ReadInteger(kContourSection, ColorKey(k), kMissingColor);
    colors[k] = c;
    if (c == kMissingColor) return k - 1;
  }
  return kMaxLevels;
}

void StoreColorSet(IniFile& ini, const ContourColorTable& colors, int count) {
  count = std::clamp(count, 0, kMaxLevels);
  for (int k = 1; k <= count; ++k) ini.WriteInteger(kContourSection, ColorKey(k), colors[k]);
}

bool SaveColorSet(const std::string& fileName, const ContourColorTable& colors, int count, MessageSink& sink) {
  bool readable = false;
  IniFile ini = IniFile::Load(fileName, &readable);
  std::error_code ec;
  if (!readable && std::filesystem::exists(fileName, ec)) {
    // Writing now would drop the file's other sections.
    sink.Message("Cannot read " + fileName);
    return false;
  }
  StoreColorSet(ini, colors, count);
  return ini.Save(fileName, sink);
}

SaveFormat ReadSaveFormat(const IniFile& ini, const SaveFormat& defaults) {
  SaveFormat f;
  f.ValuesPerLine = ini.ReadInteger(kSaveFormatSection, "count", defaults.ValuesPerLine);
  f.Width = ini.ReadInteger(kSaveFormatSection, "digits", defaults.Width);
  f.Decimals = ini.ReadInteger(kSaveFormatSection, "comma", defaults.Decimals);
  f.FactorExponent = ini.ReadInteger(kSaveFormatSection, "factor", defaults.FactorExponent);
  f.LineEndAfterCircle = ini.ReadInteger(kSaveFormatSection, "enter", defaults.LineEndAfterCircle ? 1 : 0) != 0;
  return f;
}

void WriteSaveFormat(IniFile& ini, const SaveFormat& format) {
  ini.WriteInteger(kSaveFormatSection, "count", format.ValuesPerLine);
  ini.WriteInteger(kSaveFormatSection, "digits", format.Width);
  ini.WriteInteger(kSaveFormatSection, "comma", format.Decimals);
  ini.WriteInteger(kSaveFormatSection, "factor", format.FactorExponent);
  ini.WriteInteger(kSaveFormatSection, "enter", format.LineEndAfterCircle ? 1 : 0);
}

std::string ReadXrdmlSampleFile(const IniFile& ini) { return ini.ReadString("Files", "xrdml", ""); }

std::string ReadInterpolationGrid(const IniFile& ini) { return ini.ReadString("Rotation", "outgrid", ""); }

namespace {
constexpr const char* kFigureSection = "Figure";
}  // namespace

FigureSettings ReadFigureSettings(const IniFile& ini) {
  FigureSettings s;
  const auto text = [&](const char* key, std::string& v) { v = ini.ReadString(kFigureSection, key, v); };
  const auto number = [&](const char* key, int& v, int lo, int hi) {
    const std::int32_t read = ini.ReadInteger(kFigureSection, key, v);
    if (read >= lo && read <= hi) v = read;
  };
  const auto flag = [&](const char* key, bool& v) { v = ini.ReadInteger(kFigureSection, key, v ? 1 : 0) != 0; };
  text("file", s.file);
  number("rows", s.rows, 0, 50);
  number("columns", s.columns, 0, 50);
  text("levels", s.levels);
  flag("log", s.log);
  flag("sharedscale", s.sharedScale);
  text("style", s.style);
  if (s.style != "filled" && s.style != "smooth" && s.style != "lines") s.style = "filled";
  text("colormap", s.colorMap);
  flag("equalarea", s.equalArea);
  number("width", s.widthMm, 20, 2000);
  number("font", s.fontPt, 3, 72);
  number("dpi", s.dpi, 10, 2400);
  flag("linelabels", s.lineLabels);
  flag("extremes", s.extremes);
  text("title", s.title);
  return s;
}

void WriteFigureSettings(IniFile& ini, const FigureSettings& s) {
  ini.WriteString(kFigureSection, "file", s.file);
  ini.WriteInteger(kFigureSection, "rows", s.rows);
  ini.WriteInteger(kFigureSection, "columns", s.columns);
  ini.WriteString(kFigureSection, "levels", s.levels);
  ini.WriteInteger(kFigureSection, "log", s.log);
  ini.WriteInteger(kFigureSection, "sharedscale", s.sharedScale);
  ini.WriteString(kFigureSection, "style", s.style);
  ini.WriteString(kFigureSection, "colormap", s.colorMap);
  ini.WriteInteger(kFigureSection, "equalarea", s.equalArea);
  ini.WriteInteger(kFigureSection, "width", s.widthMm);
  ini.WriteInteger(kFigureSection, "font", s.fontPt);
  ini.WriteInteger(kFigureSection, "dpi", s.dpi);
  ini.WriteInteger(kFigureSection, "linelabels", s.lineLabels);
  ini.WriteInteger(kFigureSection, "extremes", s.extremes);
  ini.WriteString(kFigureSection, "title", s.title);
}

}  // namespace quorix
