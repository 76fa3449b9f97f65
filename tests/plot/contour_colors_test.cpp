// Contour colour sets: the built-in set, start-up loading, loading over the
// current set and saving into a configuration file.
#include "plot/contour_colors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/settings.h"
#include "test_support.h"

namespace quorix {
namespace {

constexpr ColorValue Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

std::string ColorKeys(int from, int to, ColorValue value) {
  std::string s = "[Contour]\n";
  for (int k = from; k <= to; ++k) s += "color" + std::to_string(k) + "=" + std::to_string(value + k) + "\n";
  return s;
}

TEST(ContourColors, DefaultSetIsTenNamedColoursThenBlack) {
  const ContourColorTable c = DefaultContourColors();
  const ColorValue expected[11] = {0,
                                   Rgb(128, 128, 0),   // olive
                                   Rgb(255, 0, 255),   // fuchsia
                                   Rgb(0, 0, 255),     // blue
                                   Rgb(128, 0, 0),     // maroon
                                   Rgb(0, 128, 0),     // green
                                   Rgb(0, 255, 0),     // lime
                                   Rgb(255, 0, 0),     // red
                                   Rgb(0, 0, 128),     // navy
                                   Rgb(0, 255, 255),   // aqua
                                   Rgb(255, 255, 0)};  // yellow
  for (int k = 1; k <= 10; ++k) EXPECT_EQ(c[k], expected[k]) << "level " << k;
  for (int k = 11; k <= 50; ++k) EXPECT_EQ(c[k], 0) << "level " << k;
}

TEST(LoadContourColors, WithoutColor1TheDefaultSetIsUsed) {
  ContourColorTable c{};
  c.fill(7);
  LoadContourColors(IniFile::FromText("[Contour]\ncolor2=5\n"), c);
  EXPECT_EQ(c, DefaultContourColors());
  c.fill(7);
  LoadContourColors((test::TempDir() / "no_such.ini").string(), c);
  EXPECT_EQ(c, DefaultContourColors());
}

TEST(LoadContourColors, ReadsUpToTheFirstMissingKeyRestBlack) {
  ContourColorTable c{};
  c.fill(7);
  // color4 is missing, so color5 is never reached.
  LoadContourColors(IniFile::FromText("[contour]\nCOLOR1=255\ncolor2=65280\ncolor3=16711680\ncolor5=1\n"), c);
  EXPECT_EQ(c[1], 255);
  EXPECT_EQ(c[2], 65280);
  EXPECT_EQ(c[3], 16711680);
  for (int k = 4; k <= 50; ++k) EXPECT_EQ(c[k], 0) << k;
}

TEST(LoadContourColors, AnUnreadableValueEndsTheSetLikeAMissingKey) {
  ContourColorTable c{};
  LoadContourColors(IniFile::FromText("[Contour]\ncolor1=12\ncolor2=red\ncolor3=14\n"), c);
  EXPECT_EQ(c[1], 12);
  EXPECT_EQ(c[2], 0);
  EXPECT_EQ(c[3], 0);
}

TEST(LoadContourColors, StopsAfterFiftyColours) {
  ContourColorTable c{};
  LoadContourColors(IniFile::FromText(ColorKeys(1, 60, 100)), c);
  for (int k = 1; k <= 50; ++k) EXPECT_EQ(c[k], 100 + k);
}

TEST(LoadColorSet, ReplacesReadEntriesMarksTheNextAndKeepsTheRest) {
  ContourColorTable c{};
  c.fill(7);
  EXPECT_EQ(LoadColorSet(IniFile::FromText(ColorKeys(1, 2, 1000)), c), 2);
  EXPECT_EQ(c[1], 1001);
  EXPECT_EQ(c[2], 1002);
  EXPECT_EQ(c[3], kMissingColor);
  for (int k = 4; k <= 50; ++k) EXPECT_EQ(c[k], 7) << k;
}

TEST(LoadColorSet, AFileWithoutColor1OnlyMarksEntry1) {
  ContourColorTable c = DefaultContourColors();
  EXPECT_EQ(LoadColorSet(IniFile::FromText("[Other]\ncolor1=3\n"), c), 0);
  EXPECT_EQ(c[1], kMissingColor);
  for (int k = 2; k <= 50; ++k) EXPECT_EQ(c[k], DefaultContourColors()[k]) << k;
}

TEST(LoadColorSet, FiftyColoursLeaveNothingToMark) {
  ContourColorTable c{};
  EXPECT_EQ(LoadColorSet(IniFile::FromText(ColorKeys(1, 55, 0)), c), 50);
  for (int k = 1; k <= 50; ++k) EXPECT_EQ(c[k], k);
}

TEST(SaveColorSet, WritesOnlyTheGivenCountAndKeepsTheFile) {
  const std::string path = (test::TempDir() / "colors.ini").string();
  { std::ofstream(path, std::ios::binary) << "[Files]\r\ngrid=g.rst\r\n[Contour]\r\ncolor1=1\r\ncolor9=9\r\n"; }
  ContourColorTable c = DefaultContourColors();
  c[3] = kMissingColor;
  CollectingSink sink;
  ASSERT_TRUE(SaveColorSet(path, c, 3, sink)) << test::Joined(sink.messages);
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "[Files]\r\ngrid=g.rst\r\n[Contour]\r\ncolor1=32896\r\ncolor9=9\r\ncolor2=16711935\r\ncolor3=-11\r\n");

  // Read back as the dialog does: three colours, then the next entry marked.
  ContourColorTable back{};
  back.fill(5);
  EXPECT_EQ(LoadColorSet(IniFile::Load(path), back), 2);  // color3 = -11 reads as missing
  EXPECT_EQ(back[1], 32896);
  EXPECT_EQ(back[2], 16711935);
  EXPECT_EQ(back[3], kMissingColor);
}

TEST(SaveColorSet, CountIsClampedToFifty) {
  IniFile ini;
  ContourColorTable c{};
  for (int k = 1; k <= 50; ++k) c[k] = k;
  StoreColorSet(ini, c, 80);
  EXPECT_TRUE(ini.HasKey("Contour", "color50"));
  EXPECT_FALSE(ini.HasKey("Contour", "color51"));
  IniFile none;
  StoreColorSet(none, c, -3);
  EXPECT_EQ(none.Text(), "");
}

TEST(SaveColorSet, UnwritableTargetReportsFailure) {
  ContourColorTable c = DefaultContourColors();
  CollectingSink sink;
  EXPECT_FALSE(SaveColorSet((test::TempDir() / "missing_dir" / "c.ini").string(), c, 10, sink));
  EXPECT_EQ(sink.messages.size(), 1u);
}

}  // namespace
}  // namespace quorix
