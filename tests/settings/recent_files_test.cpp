// The recent-file list and the missing-point option of the configuration file.
#include <gtest/gtest.h>

#include "settings/settings.h"

namespace quorix {
namespace {

TEST(RecentFiles, NewestFirstWithoutRepeatsAndAtMostEight) {
  IniFile ini;
  EXPECT_TRUE(ReadRecentFiles(ini).empty());
  AddRecentFile(ini, {"/d/a.pol", "/g/grid5.rst", 0});
  AddRecentFile(ini, {"/d/b.xpe", "/g/grid5.rst", 2});
  AddRecentFile(ini, {"/d/b.xpe", "/g/grid5.rst", 3});  // another pole figure of the same file
  // The same file again moves up; a changed grid goes with it.
  AddRecentFile(ini, {"/d/a.pol", "/g/offset5.grd", 0});
  std::vector<RecentFile> files = ReadRecentFiles(ini);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0], (RecentFile{"/d/a.pol", "/g/offset5.grd", 0}));
  EXPECT_EQ(files[1], (RecentFile{"/d/b.xpe", "/g/grid5.rst", 3}));
  EXPECT_EQ(files[2], (RecentFile{"/d/b.xpe", "/g/grid5.rst", 2}));

  for (int n = 0; n < 12; ++n) AddRecentFile(ini, {"/d/f" + std::to_string(n) + ".pol", "/g/grid5.rst", 0});
  files = ReadRecentFiles(ini);
  ASSERT_EQ(files.size(), static_cast<std::size_t>(kMaxRecentFiles));
  EXPECT_EQ(files.front().dataFile, "/d/f11.pol");
  EXPECT_EQ(files.back().dataFile, "/d/f4.pol");
}

TEST(RecentFiles, SurviveTheFileTextAndToleratesHandEdits) {
  IniFile written;
  AddRecentFile(written, {"/d/with space.pol", "/g/grid5.rst", 0});
  AddRecentFile(written, {"/d/quartz.wko", "/g/grid5.rst", 4});
  const std::vector<RecentFile> back = ReadRecentFiles(IniFile::FromText(written.Text()));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0], (RecentFile{"/d/quartz.wko", "/g/grid5.rst", 4}));
  EXPECT_EQ(back[1], (RecentFile{"/d/with space.pol", "/g/grid5.rst", 0}));

  // A gap ends the list; a broken or negative index reads as a file of one.
  const std::vector<RecentFile> edited = ReadRecentFiles(
      IniFile::FromText("[Recent]\nfile1=/d/a.pol\nindex1=x\nfile2=/d/b.pol\nindex2=-3\nfile4=/d/lost.pol\n"));
  ASSERT_EQ(edited.size(), 2u);
  EXPECT_EQ(edited[0].index, 0);
  EXPECT_EQ(edited[1].index, 0);
  EXPECT_TRUE(edited[0].gridFile.empty());
}

TEST(RecentFiles, MissingPointMarksAreOffUntilSwitchedOn) {
  ProgramState s;
  ReadDisplayOptions(IniFile{}, s);
  EXPECT_FALSE(s.Options.MarkMissing);
  IniFile ini;
  WriteMissingMarksOption(ini, true);
  ReadDisplayOptions(IniFile::FromText(ini.Text()), s);
  EXPECT_TRUE(s.Options.MarkMissing);
  WriteMissingMarksOption(ini, false);
  ReadDisplayOptions(ini, s);
  EXPECT_FALSE(s.Options.MarkMissing);
}

TEST(RecentFiles, ZoomIsOffAndSmoothLinesOnUntilChanged) {
  ProgramState s;
  ReadDisplayOptions(IniFile{}, s);
  EXPECT_FALSE(s.Options.ZoomToMeasured);
  EXPECT_TRUE(s.Options.SmoothLines);
  IniFile ini;
  s.Options.ZoomToMeasured = true;
  s.Options.SmoothLines = false;
  WriteViewOptions(ini, s.Options);
  ProgramState read;
  ReadDisplayOptions(IniFile::FromText(ini.Text()), read);
  EXPECT_TRUE(read.Options.ZoomToMeasured);
  EXPECT_FALSE(read.Options.SmoothLines);
}

}  // namespace
}  // namespace quorix
