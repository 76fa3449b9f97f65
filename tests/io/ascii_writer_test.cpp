// ASCII pole figure files byte for byte, their names and settings, read-back
// through the plain reader, and writes that fail without leaving a file.
#include "io/ascii_writer.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/text_file.h"
#include "io/load_pole_figure.h"
#include "settings/settings.h"
#include "test_support.h"

namespace quorix {
namespace {

// Circles at alpha 0, 5, ... with `points` points each; value = 100 i + j.
std::unique_ptr<PoleFigure> Numbered(int circles, int points) {
  auto pf = test::SmallGrid(circles, points);
  for (int i = 1; i <= circles; ++i)
    for (int j = 1; j <= points; ++j) pf->Intensity[i][j] = 100 * i + j;
  return pf;
}

AsciiWriteOptions Plain(int perLine, int width, int decimals, bool enter = false, int factor = 0) {
  AsciiWriteOptions o;
  o.Format = {perLine, width, decimals, factor, enter};
  return o;
}

TEST(AsciiWriterPlain, FieldsGrowAndCountRunsOverTheWholeFile) {
  auto pf = Numbered(2, 4);
  pf->Intensity[1][1] = 1.5;
  pf->Intensity[1][2] = 12345;
  // Width 8 with 3 decimals: three blanks and 1.500; a number needing more room takes it.
  EXPECT_EQ(FormatPFASCII(*pf, Plain(3, 8, 3)),
            "   1.50012345.000 103.000\r\n 104.000 201.000 202.000\r\n 203.000 204.000");
  // Width 8 without decimals: seven blanks and the integer, no point.
  pf->Intensity[1][1] = 2.4;
  EXPECT_EQ(FormatPFASCII(*pf, Plain(8, 8, 0)).substr(0, 8), "       2");
}

TEST(AsciiWriterPlain, PoplaFieldsTouchAndNoLineEndAtTheEnd) {
  auto pf = Numbered(1, 3);
  pf->Intensity[1][1] = 12345;
  pf->Intensity[1][2] = 1;
  pf->Intensity[1][3] = 22;
  AsciiWriteOptions o = Plain(1, 1, 1);
  ApplyStandard(o.Format, *FindStandard("POPLA"));
  EXPECT_EQ(FormatPFASCII(*pf, o), "12345   1  22");
}

TEST(AsciiWriterPlain, ValuesFillingTheirFieldAreWrittenWiderOnesAreRefused) {
  auto pf = Numbered(1, 3);
  pf->Intensity[1][1] = 1041;
  pf->Intensity[1][2] = 9999;
  pf->Intensity[1][3] = 1381;
  AsciiWriteOptions popla = Plain(1, 1, 1);
  ApplyStandard(popla.Format, *FindStandard("POPLA"));
  // Fixed columns touching is what 18I4 readers expect, and what earlier files hold.
  EXPECT_FALSE(AsciiWriteProblem(*pf, popla));
  EXPECT_FALSE(AsciiWriteProblem(*pf, Plain(10, 8, 3)));
  pf->Intensity[1][2] = 10000;
  const auto problem = AsciiWriteProblem(*pf, popla);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find("(circle 1, point 2)"), std::string::npos) << *problem;
  EXPECT_NE(problem->find("wider than the field of 4 characters"), std::string::npos) << *problem;
}

TEST(AsciiWriterPlain, DubnaEndsEachCircleAndLeavesAnEmptyLineWhenTheCircleFillsItsLines) {
  auto pf = Numbered(2, 72);
  AsciiWriteOptions o = Plain(1, 1, 1);
  ApplyStandard(o.Format, *FindStandard("DUBNA"));
  const auto lines = SplitLines(FormatPFASCII(*pf, o));
  ASSERT_EQ(lines.size(), 26u);  // 12 lines, an empty one, 12 lines, an empty one
  EXPECT_EQ(lines[0], " 101.000 102.000 103.000 104.000 105.000 106.000");
  EXPECT_EQ(lines[12], "");
  EXPECT_EQ(lines[13].substr(0, 8), " 201.000");
  EXPECT_EQ(lines[25], "");
  // A circle that does not fill its last line: one line end, and the count restarts.
  auto odd = Numbered(2, 4);
  EXPECT_EQ(FormatPFASCII(*odd, Plain(3, 4, 0, true)), " 101 102 103\r\n 104\r\n 201 202 203\r\n 204\r\n");
}

TEST(AsciiWriterPlain, NegativeToZeroNeverTouchesMinusOneAndFactorScales) {
  auto pf = Numbered(1, 3);
  pf->Intensity[1][1] = -1;
  pf->Intensity[1][2] = -0.5;
  pf->Intensity[1][3] = 250;
  AsciiWriteOptions o = Plain(3, 8, 3);
  EXPECT_EQ(FormatPFASCII(*pf, o), "  -1.000   0.000 250.000\r\n");
  o.SetNegativeToZero = false;
  EXPECT_EQ(FormatPFASCII(*pf, o), "  -1.000  -0.500 250.000\r\n");
  // -1 marks a missing point and is never scaled; factor -2 divides by 100.
  o.SetNegativeToZero = true;
  o.Format.FactorExponent = 1;
  EXPECT_EQ(FormatPFASCII(*pf, o), "  -1.000   0.0002500.000\r\n");
  o.Format.FactorExponent = -2;
  EXPECT_EQ(FormatPFASCII(*pf, o), "  -1.000   0.000   2.500\r\n");
}

TEST(AsciiWriterPlain, RearrangementOrders) {
  // A circle 0, 5, ..., 355 with value = beta: "360 - phi" gives 0, 355, 350, ..., 5.
  auto pf = Numbered(2, 72);
  for (int j = 1; j <= 72; ++j) pf->Intensity[1][j] = 5.0 * (j - 1);
  AsciiWriteOptions o = Plain(1, 4, 0);
  o.InvertPhi = true;
  const auto lines = SplitLines(FormatPFASCII(*pf, o));
  ASSERT_EQ(lines.size(), 144u);
  EXPECT_EQ(lines[0], "   0");
  EXPECT_EQ(lines[1], " 355");
  EXPECT_EQ(lines[2], " 350");
  EXPECT_EQ(lines[71], "   5");
  // "90 - theta": the outermost circle first.
  o = Plain(3, 4, 0);
  o.InvertTheta = true;
  auto small = Numbered(2, 3);
  EXPECT_EQ(FormatPFASCII(*small, o), " 201 202 203\r\n 101 102 103\r\n");
}

TEST(AsciiWriterCoordinates, EqualAreaAndEqualAngularAgainstTheirFormulas) {
  auto pf = Numbered(1, 4);
  pf->Alpha[1] = 90;
  AsciiWriteOptions o = Plain(6, 8, 3);
  o.IncludeCoordinates = true;
  o.Coordinates = CoordinateType::EqualArea;
  // r = sqrt(2) sin(45) = 1 on the rim for both projections.
  EXPECT_EQ(FormatPFASCII(*pf, o),
            "  1.00000    0.00000      101.000\r\n"
            "  0.00000    1.00000      102.000\r\n"
            " -1.00000    0.00000      103.000\r\n"
            " -0.00000   -1.00000      104.000\r\n");
  pf->Alpha[1] = 60;
  pf->BetaStart[1] = 30;
  o.Coordinates = CoordinateType::EqualAngular;
  const auto lines = SplitLines(FormatPFASCII(*pf, o));
  const double r = std::tan(30 * M_PI / 180);
  EXPECT_EQ(lines[0], fmt::format("{:9.5f}{:11.5f}{:13.3f}", r * std::cos(M_PI / 6), r * std::sin(M_PI / 6), 101.0));
}

TEST(AsciiWriterCoordinates, LabelsFollowThePositionValuesTheRearrangement) {
  auto pf = Numbered(2, 3);
  pf->BetaStep[1] = pf->BetaStep[2] = 90;
  pf->Alpha[1] = 10;
  pf->Alpha[2] = 20;
  AsciiWriteOptions o = Plain(6, 8, 3);
  o.IncludeCoordinates = true;
  o.Coordinates = CoordinateType::Polar;
  o.InvertTheta = true;
  o.InvertPhi = true;  // a plain reversal here
  EXPECT_EQ(FormatPFASCII(*pf, o),
            "            A          '0'         '90'        '180'\r\n"
            "        10.00      203.000      202.000      201.000\r\n"
            "        20.00      103.000      102.000      101.000\r\n");
}

TEST(AsciiWriterStandards, NamingIgnoresTheFactorAndFallsBackToUser) {
  ASSERT_EQ(SaveStandards().size(), 4u);
  EXPECT_EQ(StandardName({6, 8, 3, 5, true}), "DUBNA");
  EXPECT_EQ(StandardName({10, 7, 0, 0, false}), "DAHMS");
  EXPECT_EQ(StandardName({7, 7, 0, -3, false}), "CLAUSTHAL");
  EXPECT_EQ(StandardName({18, 4, 0, 0, false}), "POPLA");
  EXPECT_EQ(StandardName({6, 8, 3, 0, false}), "user");  // the defaults are no standard
  EXPECT_EQ(FindStandard("dahms")->ValuesPerLine, 10);
  EXPECT_FALSE(FindStandard("user"));
  SaveFormat f{1, 2, 3, 7, false};
  ApplyStandard(f, *FindStandard("DUBNA"));
  EXPECT_EQ(f, (SaveFormat{6, 8, 3, 7, true}));
}

TEST(AsciiWriterSettings, SaveFormatSectionWithDefaults) {
  EXPECT_EQ(ReadSaveFormat(IniFile::FromText("")), (SaveFormat{6, 8, 3, 0, false}));
  const auto ini = IniFile::FromText("[SaveFormat]\ncount=10\ndigits = 7\ncomma=0\nfactor=-2\nenter=1\n");
  EXPECT_EQ(ReadSaveFormat(ini), (SaveFormat{10, 7, 0, -2, true}));
  // Another dialog's defaults, and a malformed key keeps its default.
  const auto bad = IniFile::FromText("[saveformat]\ncount=many\n");
  EXPECT_EQ(ReadSaveFormat(bad, {1, 8, 3, 0, false}).ValuesPerLine, 1);
  IniFile out;
  WriteSaveFormat(out, {18, 4, 0, 2, true});
  EXPECT_EQ(ReadSaveFormat(out), (SaveFormat{18, 4, 0, 2, true}));
}

TEST(AsciiWriterNames, ProposedNameAndSaveAllSuffixes) {
  EXPECT_EQ(ProposedAsciiName("a.b.pol"), "a.z01");
  EXPECT_EQ(ProposedAsciiName("/data/copper"), "/data/copper.z01");
  // At most ten characters from the dot; a dot in a folder name stays.
  EXPECT_EQ(ProposedAsciiName("/x.y/name.longextension1"), "/x.y/namesion1.z01");

  SaveAllNames z("q.z01");
  EXPECT_EQ(z.Next(), "q.z02");
  EXPECT_EQ(z.Next(), "q.z03");
  SaveAllNames txt("q.txt");  // "xt" is no number: counting starts at 0
  EXPECT_EQ(txt.Next(), "q.t01");
  EXPECT_EQ(txt.Next(), "q.t02");
  SaveAllNames nine("p.z09");
  EXPECT_EQ(nine.Next(), "p.z10");
  SaveAllNames last("p.z99");
  EXPECT_EQ(last.Next(), "p.z10");  // 100 is cut to two characters
  SaveAllNames tiny("7");
  EXPECT_EQ(tiny.Next(), "08");
}

TEST(AsciiWriterFiles, DubnaFileReadsBackThroughThePlainReader) {
  LoadRequest request;
  request.dataFile = test::ExamplePath("copper111.pol");
  request.gridFile = test::ExamplePath("grid5.rst");
  CollectingSink sink;
  const auto original = LoadPoleFigure(request, sink);
  ASSERT_TRUE(original);
  AsciiWriteOptions o = Plain(1, 1, 1);
  ApplyStandard(o.Format, *FindStandard("DUBNA"));
  o.SetNegativeToZero = false;
  const std::string out = (test::TempDir() / "copper.z01").string();
  ASSERT_TRUE(WritePFASCII(*original, out, o, sink));
  request.dataFile = out;
  const auto back = LoadPoleFigure(request, sink);
  ASSERT_TRUE(back) << (sink.messages.empty() ? "" : sink.messages.back());
  for (int i = 1; i <= original->CircleCount; ++i)
    for (int j = 1; j <= original->CirclePoints[i]; ++j)
      ASSERT_NEAR(back->Intensity[i][j], original->Intensity[i][j], 0.0005) << i << "," << j;
}

TEST(AsciiWriterFiles, FailedWritesLeaveNoFile) {
  auto pf = Numbered(2, 4);
  CollectingSink sink;
  const auto dir = test::TempDir();
  const std::string missingFolder = (dir / "no_such_folder" / "x.z01").string();
  EXPECT_FALSE(WritePFASCII(*pf, missingFolder, Plain(6, 8, 3), sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "Cannot create file " + missingFolder + ": No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(missingFolder));

  if (std::filesystem::exists("/dev/full")) {
    sink.messages.clear();
    EXPECT_FALSE(WritePFASCII(*pf, "/dev/full", Plain(6, 8, 3), sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], "Error writing file /dev/full: No space left on device.");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
  }
}

TEST(AsciiWriterFiles, ReadOnlyFolderKeepsTheOldFile) {
  auto pf = Numbered(2, 4);
  CollectingSink sink;
  const auto dir = test::TempDir();
  const std::string existing = test::WriteTempFile("old.z01", "old contents");
  std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const bool folderWritable = std::ofstream(dir / "probe").good();
  const bool written = WritePFASCII(*pf, existing, Plain(6, 8, 3), sink);
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
  if (folderWritable) GTEST_SKIP() << "running with rights that ignore a read-only folder";
  EXPECT_FALSE(written);
  EXPECT_EQ(test::ReadFile(existing), "old contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}

}  // namespace
}  // namespace quorix
