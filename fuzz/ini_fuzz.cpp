// Configuration and colour-set files: every reader of their keys, and a
// write that must keep the rest of the file and read back.
#include "base/ini_file.h"
#include "fuzz_support.h"
#include "grid_check.h"
#include "io/ascii_writer.h"
#include "plot/contour_colors.h"
#include "record/program_state.h"
#include "settings/settings.h"
#include "settings/startup_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("ini");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  IniFile ini = IniFile::FromText(text);
  progress.Accepted();

  ProgramState state;
  ReadDisplayOptions(ini, state);
  (void)ReadRotationSettings(ini);
  const StartupConfig startup = ReadStartupConfig(ini);
  (void)startup;
  (void)ReadSaveFormat(ini);
  ContourColorTable colors = DefaultContourColors();
  LoadContourColors(ini, colors);
  const int read = LoadColorSet(ini, colors);
  fuzz::Require(read >= 0 && read <= kMaxLevels, "colour count within the table");

  // The written text reads back as itself: nothing is lost or invented.
  const std::string once = ini.Text();
  fuzz::Require(IniFile::FromText(once).Text() == once, "text survives a read");

  // Writing one key: it reads back, and the other keys keep their values.
  const std::optional<std::string> other = ini.Find("Plot", "plotstretch");
  StoreColorSet(ini, colors, read);
  ini.WriteString("Contour", "color7", "12345");
  fuzz::Require(ini.ReadInteger("Contour", "color7", -1) == 12345, "a written key reads back");
  fuzz::Require(ini.Find("Plot", "plotstretch") == other, "other keys stay");
  const IniFile again = IniFile::FromText(ini.Text());
  fuzz::Require(again.ReadInteger("Contour", "color7", -1) == 12345, "a written key survives the file");
  progress.Ran();
  return 0;
}
