// Display options read from the configuration file.
#include <gtest/gtest.h>

#include "settings/settings.h"

namespace quorix {
namespace {

TEST(ReadDisplayOptions, EmptyFileGivesTheDefaults) {
  ProgramState s;
  s.Options.FillAreas = true;
  s.Options.ShowMrd = true;
  s.StartupSize = 70;
  ReadDisplayOptions(IniFile{}, s);
  EXPECT_FALSE(s.Options.ShowMrd);
  EXPECT_TRUE(s.Options.DrawGrid);
  EXPECT_FALSE(s.Options.DrawTriangles);
  EXPECT_FALSE(s.Options.EqualArea);
  EXPECT_FALSE(s.Options.ShowEigenvalues);
  EXPECT_FALSE(s.Options.FillAreas);
  EXPECT_EQ(s.Options.PlotStretch, 5.0);
  EXPECT_EQ(s.Options.TextStretch, 2.0);
  EXPECT_EQ(s.StartupSize, 100);
}

TEST(ReadDisplayOptions, AnOptionIsOnWhenItsValueContainsYesInAnyCase) {
  ProgramState s;
  ReadDisplayOptions(IniFile::FromText("[OPTIONS]\nmrd=YES\ndrawgrid=no\ndrawtriangles=oh yes\n"
                                       "equalarea=Yes\neigenvalues=y\n"),
                     s);
  EXPECT_TRUE(s.Options.ShowMrd);
  EXPECT_FALSE(s.Options.DrawGrid);
  EXPECT_TRUE(s.Options.DrawTriangles);
  EXPECT_TRUE(s.Options.EqualArea);
  EXPECT_FALSE(s.Options.ShowEigenvalues);
}

TEST(ReadDisplayOptions, StretchesAreIntegersAndStartupSizeIsClamped) {
  ProgramState s;
  ReadDisplayOptions(IniFile::FromText("[Plot]\nplotstretch=8\ntextstretch=2.5\nstartupsize=30\n"), s);
  EXPECT_EQ(s.Options.PlotStretch, 8.0);
  EXPECT_EQ(s.Options.TextStretch, 2.0);  // not an integer: the default
  EXPECT_EQ(s.StartupSize, 50);
  ReadDisplayOptions(IniFile::FromText("[Plot]\nstartupsize=150\n"), s);
  EXPECT_EQ(s.StartupSize, 100);
  ReadDisplayOptions(IniFile::FromText("[Plot]\nstartupsize=75\n"), s);
  EXPECT_EQ(s.StartupSize, 75);
}

}  // namespace
}  // namespace quorix
