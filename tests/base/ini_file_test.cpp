// Configuration files: reading as the profile functions do, writing one key
// without disturbing the rest, safe replacement of the file.
#include "base/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "test_support.h"

namespace quorix {
namespace {

TEST(IniFileRead, NamesIgnoreCaseAndBlanksValuesLoseBlanksAndQuotes) {
  IniFile ini = IniFile::FromText(
      "; comment\r\n"
      "[Options]\r\n"
      "  MRD  =  yes  \r\n"
      "title=\"  quoted  \"\r\n"
      "empty=\r\n"
      "[ Plot ]\r\n"
      "plotstretch=7\r\n");
  EXPECT_EQ(ini.ReadString("options", "mrd", "no"), "yes");
  EXPECT_EQ(ini.ReadString("OPTIONS", "Title", ""), "  quoted  ");
  EXPECT_EQ(ini.ReadString("Options", "empty", "fallback"), "");  // present but empty is not missing
  EXPECT_EQ(ini.ReadString("Options", "missing", "fallback"), "fallback");
  EXPECT_EQ(ini.ReadString("Nowhere", "mrd", "x"), "x");
  EXPECT_EQ(ini.ReadInteger("plot", "PlotStretch", 5), 7);
  EXPECT_FALSE(ini.HasKey("Plot", "mrd"));  // keys belong to their section
}

TEST(IniFileRead, FirstOfDuplicateSectionsAndKeysWins) {
  IniFile ini = IniFile::FromText("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nj=5\n");
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
  EXPECT_EQ(ini.ReadInteger("B", "k", 0), 3);
  // The second [a] is never consulted, as the profile functions do.
  EXPECT_FALSE(ini.HasKey("A", "j"));
}

TEST(IniFileRead, ByteOrderMarkAndMissingFinalLineEnd) {
  IniFile ini = IniFile::FromText("\xEF\xBB\xBF[Contour]\ncolor1=255");
  EXPECT_EQ(ini.ReadInteger("Contour", "color1", -11), 255);
}

TEST(IniFileRead, IntegersParseStrictlyWithinThirtyTwoBits) {
  IniFile ini = IniFile::FromText(
      "[N]\na=-11\nb=+42\nc=0x10\nd=$FF\ne=12abc\nf=2147483647\ng=2147483648\nh=-2147483648\n"
      "i=1.5\nj=\nk= 17 \nl=--3\n");
  EXPECT_EQ(ini.ReadInteger("N", "a", 0), -11);
  EXPECT_EQ(ini.ReadInteger("N", "b", 0), 42);
  EXPECT_EQ(ini.ReadInteger("N", "c", 0), 16);
  EXPECT_EQ(ini.ReadInteger("N", "d", 0), 255);
  EXPECT_EQ(ini.ReadInteger("N", "e", 99), 99);
  EXPECT_EQ(ini.ReadInteger("N", "f", 0), 2147483647);
  EXPECT_EQ(ini.ReadInteger("N", "g", 99), 99);
  EXPECT_EQ(ini.ReadInteger("N", "h", 0), -2147483647 - 1);
  EXPECT_EQ(ini.ReadInteger("N", "i", 99), 99);
  EXPECT_EQ(ini.ReadInteger("N", "j", 99), 99);
  EXPECT_EQ(ini.ReadInteger("N", "k", 99), 17);
  EXPECT_EQ(ini.ReadInteger("N", "l", 99), 99);
}

TEST(IniFileWrite, ReplacingAKeyKeepsEveryOtherLineByteForByte) {
  const std::string before =
      "; settings\r\n[Files]\r\ngrid = "
      "C:\\g.rst\r\n\r\n[Contour]\r\nColor1=255\r\ncolor2=0\r\n\r\n[Plot]\r\nplotstretch=5";
  IniFile ini = IniFile::FromText(before);
  ini.WriteInteger("contour", "COLOR1", 65280);
  EXPECT_EQ(ini.Text(),
            "; settings\r\n[Files]\r\ngrid = C:\\g.rst\r\n\r\n[Contour]\r\nColor1=65280\r\ncolor2=0\r\n\r\n[Plot]\r\n"
            "plotstretch=5");
}

TEST(IniFileWrite, NewKeyGoesAfterTheSectionsLastEntryNewSectionAtTheEnd) {
  IniFile ini = IniFile::FromText("[Contour]\ncolor1=1\n\n[Plot]\nx=1\n");
  ini.WriteString("Contour", "color2", "2");
  ini.WriteString("Rotation", "rot", "AXIS");
  EXPECT_EQ(ini.Text(), "[Contour]\ncolor1=1\ncolor2=2\n\n[Plot]\nx=1\n[Rotation]\nrot=AXIS\n");
  EXPECT_EQ(ini.ReadString("rotation", "ROT", ""), "AXIS");
}

TEST(IniFileWrite, AppendingToAFileWithoutFinalLineEndStartsANewLine) {
  IniFile ini = IniFile::FromText("[A]\r\nk=1");
  ini.WriteString("A", "j", "2");
  EXPECT_EQ(ini.Text(), "[A]\r\nk=1\r\nj=2\r\n");
  IniFile empty;
  empty.WriteInteger("Contour", "color1", 5);
  EXPECT_EQ(empty.Text(), "[Contour]\r\ncolor1=5\r\n");
}

TEST(IniFileWrite, ALineBreakInAValueCannotStartANewEntry) {
  IniFile ini = IniFile::FromText("[Files]\ngrid=a\n");
  ini.WriteString("Files", "grid", "x.rst\n[Plot]\r\nplotstretch=99");
  EXPECT_FALSE(ini.HasKey("Plot", "plotstretch"));
  EXPECT_EQ(ini.ReadString("Files", "grid", ""), "x.rst [Plot]  plotstretch=99");
}

TEST(IniFileWrite, ByteOrderMarkSurvivesAWrite) {
  IniFile ini = IniFile::FromText("\xEF\xBB\xBF[A]\nk=1\n");
  ini.WriteString("A", "k", "2");
  EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[A]\nk=2\n");
}

TEST(IniFileSave, RoundTripThroughTheFileAndNoTemporaryLeftBehind) {
  const std::filesystem::path dir = test::TempDir() / "ini_roundtrip";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "Quorix32.ini").string();
  { std::ofstream(path, std::ios::binary) << "[Data]\r\ndatapath=C:\\x\r\n"; }
  bool exists = false;
  IniFile ini = IniFile::Load(path, &exists);
  ASSERT_TRUE(exists);
  ini.WriteInteger("Contour", "color1", 32896);
  CollectingSink sink;
  ASSERT_TRUE(ini.Save(path, sink)) << test::Joined(sink.messages);
  EXPECT_EQ(test::ReadFile(path), "[Data]\r\ndatapath=C:\\x\r\n[Contour]\r\ncolor1=32896\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}

TEST(IniFileSave, FailureLeavesTheTargetAloneAndSaysWhy) {
  CollectingSink sink;
  IniFile ini = IniFile::FromText("[A]\nk=1\n");
  const std::string inMissingFolder = (test::TempDir() / "no_such_folder" / "x.ini").string();
  EXPECT_FALSE(ini.Save(inMissingFolder, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find("x.ini"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(inMissingFolder));

  // A folder in the way of the rename: the write fails, the folder stays.
  const std::filesystem::path blocked = test::TempDir() / "blocked.ini";
  std::filesystem::create_directories(blocked / "inside");
  sink.messages.clear();
  EXPECT_FALSE(ini.Save(blocked.string(), sink));
  EXPECT_EQ(sink.messages.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_directory(blocked / "inside"));
  for (const auto& e : std::filesystem::directory_iterator(test::TempDir()))
    EXPECT_EQ(e.path().filename().string().find("blocked.ini.tmp"), std::string::npos) << e.path();
}

TEST(IniFileLoad, MissingFileReadsAsEmpty) {
  bool exists = true;
  IniFile ini = IniFile::Load((test::TempDir() / "absent.ini").string(), &exists);
  EXPECT_FALSE(exists);
  EXPECT_EQ(ini.ReadInteger("Plot", "startupsize", 100), 100);
}

}  // namespace
}  // namespace quorix
