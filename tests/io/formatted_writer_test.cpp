// Beartex and Geesthacht files byte for byte, read back through the hash-list
// and WKO readers, and the prefill from captions and file headers.
#include "io/formatted_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/nearest.h"
#include "base/text_file.h"
#include "io/load_pole_figure.h"
#include "io/wko_header.h"
#include "test_support.h"

namespace quorix {
namespace {

// Circles at alpha 0, 5, ...; values from `values` circle by circle.
std::unique_ptr<PoleFigure> Small(int circles, int points, std::initializer_list<double> values) {
  auto pf = test::SmallGrid(circles, points);
  auto v = values.begin();
  for (int i = 1; i <= circles; ++i)
    for (int j = 1; j <= points; ++j) {
      pf->Intensity[i][j] = v != values.end() ? *v++ : 1;
      pf->MaxValue = std::max(pf->MaxValue, pf->Intensity[i][j]);
    }
  return pf;
}

std::unique_ptr<PoleFigure> Example(const std::string& data, int index = 1) {
  return test::LoadFile(data, test::ExamplePath("grid5.rst"), index);
}

SaveAllSettings Settings(DataLayout layout) {
  SaveAllSettings s;
  s.layout = layout;
  s.lattice = {3.615, 3.615, 3.615, 90, 90, 90};
  s.symmetry = 7;
  s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}};
  return s;
}

TEST(FormattedScale, FirstPowerOfTenBelowTheLimit) {
  EXPECT_DOUBLE_EQ(BeartexScale(5000), 1);
  EXPECT_DOUBLE_EQ(GeesthachtScale(5000), 1);
  EXPECT_DOUBLE_EQ(BeartexScale(99.9), 100);
  EXPECT_DOUBLE_EQ(GeesthachtScale(99.9), 100);
  EXPECT_DOUBLE_EQ(BeartexScale(12000), 0.1);
  EXPECT_DOUBLE_EQ(GeesthachtScale(12000), 1);
  EXPECT_DOUBLE_EQ(BeartexScale(0.5), 1000);
  // A maximum no factor can bring down must not hang.
  EXPECT_EQ(BeartexScale(std::nan("")), 0);
}

TEST(FormattedBeartex, AShortGridStillFillsTheBlockAndTellsItsRange) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  pf->CircleCount = 2;
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 72; ++j) pf->Intensity[i][j] = 10 * i + j % 10;
  pf->Intensity[2][2] = kMissing;
  pf->MaxValue = 29;
  SaveAllSettings s = Settings(DataLayout::Beartex);
  s.comments = {"Ten chars!"};
  const auto lines = SplitLines(FormatBeartexBlock(*pf, s, s.rows[0]));
  ASSERT_EQ(lines.size(), 84u);
  EXPECT_EQ(lines[0], "Ten chars!" + std::string(69, ' ') + "#");
  EXPECT_EQ(lines[5], "     3.615     3.615     3.615    90.000    90.000    90.000    7    1");
  EXPECT_EQ(lines[6], "   1  1  1  0.0  5.0  5.0  0.0360.0  5.0 1 1");
  EXPECT_EQ(lines[7].substr(0, 13), " 110012001300");  // scale 100
  // Circle 2 starts on its own line; its missing point stays -1.
  EXPECT_EQ(lines[11].substr(0, 9), " 2100  -1");
  std::string zeros = " ";
  for (int n = 0; n < 18; ++n) zeros += "   0";
  for (std::size_t k = 15; k < 83; ++k) EXPECT_EQ(lines[k], zeros) << k;
  EXPECT_EQ(lines[83], " ");
  // "360 - phi": point 1 first, then the others backwards.
  s.invertPhi = true;
  EXPECT_EQ(SplitLines(FormatBeartexBlock(*pf, s, s.rows[0]))[7].substr(0, 13), " 110012001100");
}

TEST(FormattedBeartex, FullGridFillsSeventySixLinesOfEighteen) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  ASSERT_EQ(pf->CircleCount, 19);
  for (int i = 1; i <= 19; ++i)
    for (int j = 1; j <= 72; ++j) pf->Intensity[i][j] = i + j;
  pf->MaxValue = 19 + 72;
  const SaveAllSettings s = Settings(DataLayout::Beartex);
  const auto lines = SplitLines(FormatBeartexBlock(*pf, s, s.rows[0]));
  ASSERT_EQ(lines.size(), 84u);  // the block length the hash-list reader expects for 72 points
  for (std::size_t k = 7; k < 83; ++k) EXPECT_EQ(lines[k].size(), 1 + 18 * 4u) << k;
  EXPECT_EQ(lines[83], " ");
  EXPECT_EQ(lines[7].substr(0, 9), "  200 300");  // scale 100
}

TEST(FormattedGeesthacht, SmallFileByteForByte) {
  // The third circle holds a missing value: written as -1, and counted in the header.
  const auto pf = Small(3, 3, {10, 20, 30.4, 40, 50, 60, 70, -1, 80});
  SaveAllSettings s = Settings(DataLayout::Geesthacht);
  s.comments = {"c1"};
  s.symmetry = 2;
  s.lattice = {4.913, 4.913, 5.405, 90, 90, 120};
  s.misalignment = 12;
  s.rows = {SaveAllRow{1, 1, 0, 0, SecondReflection{1, 0, 1, 0.5}}};
  PoleFigureSlots figures{};
  figures[1] = pf.get();
  EXPECT_EQ(FormatSaveAll(s, figures),
            "c1\r\n \r\n"
            "  1  2\r\n"
            "   4.913  4.913  5.405120.000\r\n"
            "  1  0  0   2   3   2\r\n"
            "WKO = 12.0\r\n"
            "SUP =  2  1  0  1  0.5\r\n"
            "   1000   2000   3040   4000   5000   6000   7000     -1   8000\r\n"
            "      0      0      0\r\n"
            "\r\n");  // the block is as long as the reader steps
  s.rows[0].second.reset();
  EXPECT_NE(FormatSaveAll(s, figures).find("\r\nSUP =  1  1  1  1  1.0\r\n"), std::string::npos);
  // Rows naming a closed window write nothing but still count in the header.
  s.rows.push_back(SaveAllRow{3, 1, 1, 1, std::nullopt});
  EXPECT_EQ(SplitLines(FormatSaveAll(s, figures))[2], "  2  2");
}

// An incomplete circle keeps its place with -1 for its missing points; only
// outer circles without any value are left out.
TEST(FormattedGeesthacht, OnlyOuterCirclesWithoutValuesAreLeftOut) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  for (int i = 1; i <= 19; ++i)
    for (int j = 1; j <= 72; ++j) pf->Intensity[i][j] = 100;
  pf->Intensity[18][5] = -1;
  pf->Intensity[19][72] = -1;
  pf->MaxValue = 100;
  SaveAllSettings s = Settings(DataLayout::Geesthacht);
  auto lines = SplitLines(FormatGeesthachtBlock(*pf, s, s.rows[0]));
  EXPECT_EQ(lines[0], "  1  1  1  18  72  18");
  // 19 circles of 72 values: 136 full lines and one of 8, then 19 zeros.
  ASSERT_EQ(lines.size(), 3u + 137u + 2u);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(WkoBlockLines(19 * 72)));
  EXPECT_EQ(lines[3 + (17 * 72 + 4) / 10].substr((17 * 72 + 4) % 10 * 7, 7), "     -1");
  EXPECT_EQ(lines[3 + 136].substr(7 * 7), "     -1");
  EXPECT_EQ(lines[3 + 136].size(), 8 * 7u);
  std::string zeros;
  for (int k = 0; k < 10; ++k) zeros += "      0";
  EXPECT_EQ(lines[140], zeros);
  EXPECT_EQ(lines[141], zeros.substr(0, 9 * 7));

  for (int j = 1; j <= 72; ++j) pf->Intensity[19][j] = -1;
  lines = SplitLines(FormatGeesthachtBlock(*pf, s, s.rows[0]));
  EXPECT_EQ(lines[0], "  1  1  1  18  72  17");
  // 18 circles: 129 full lines and one of 6, then 18 zeros.
  ASSERT_EQ(lines.size(), 3u + 130u + 2u);
  EXPECT_EQ(lines[3 + 129].size(), 6 * 7u);
  EXPECT_EQ(lines[134], zeros.substr(0, 8 * 7));
}

TEST(FormattedGeesthacht, ABlockIsAsLongAsTheReaderStepsForItsCircles) {
  // Two complete circles of 5 points and an incomplete third: 15 values, two lines.
  const auto pf = Small(3, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, 1, 1, 1, 1});
  SaveAllSettings s = Settings(DataLayout::Geesthacht);
  const auto lines = SplitLines(FormatGeesthachtBlock(*pf, s, s.rows[0]));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(WkoBlockLines(15)));
  EXPECT_EQ(lines[0], "  1  1  1   2   5   2");
  EXPECT_EQ(lines[3].size(), 70u);
  EXPECT_EQ(lines[4].substr(0, 7), "     -1");
  EXPECT_EQ(lines[4].size(), 35u);
  EXPECT_EQ(lines[5], "      0      0      0");
}

TEST(FormattedRoundTrip, BeartexReadsBackThroughTheHashListReader) {
  const auto a = Example(test::ExamplePath("copper111.pol"));
  ASSERT_TRUE(a);
  auto b = NewPoleFigure();
  *b = *a;
  for (int i = 1; i <= b->CircleCount; ++i)
    for (int j = 1; j <= b->CirclePoints[i]; ++j) b->Intensity[i][j] *= 30;
  b->MaxValue *= 30;
  SaveAllSettings s = Settings(DataLayout::Beartex);
  s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}, SaveAllRow{2, 2, 0, 0, std::nullopt}};
  PoleFigureSlots figures{};
  figures[1] = a.get();
  figures[2] = b.get();
  const std::string out = (test::TempDir() / "two.xpe").string();
  CollectingSink sink;
  ASSERT_TRUE(WriteSaveAll(out, s, figures, sink));
  for (int k = 1; k <= 2; ++k) {
    const PoleFigure& source = k == 1 ? *a : *b;
    const auto back = Example(out, k);
    ASSERT_TRUE(back);
    const double scale = BeartexScale(source.MaxValue);
    for (int i = 1; i <= source.CircleCount; ++i)
      for (int j = 1; j <= source.CirclePoints[i]; ++j)
        ASSERT_EQ(back->Intensity[i][j],
                  source.Intensity[i][j] == kMissing ? kMissing : Nearest(source.Intensity[i][j] * scale))
            << k << ": " << i << "," << j;
  }
}

TEST(FormattedRoundTrip, GeesthachtReadsBackThroughTheWkoReader) {
  // Missing points go out as -1 and come back missing.
  const auto a = Example(test::ExamplePath("copper111.pol"));
  const auto b = Example(test::ExamplePath("copper.xpe"), 2);
  ASSERT_TRUE(a && b);
  a->Intensity[3][7] = kMissing;
  SaveAllSettings s = Settings(DataLayout::Geesthacht);
  s.symmetry = 6;  // the highest code the layout has
  s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}, SaveAllRow{2, 2, 0, 0, std::nullopt}};
  PoleFigureSlots figures{};
  figures[1] = a.get();
  figures[2] = b.get();
  const std::string out = (test::TempDir() / "two.ibm").string();
  CollectingSink sink;
  ASSERT_TRUE(WriteSaveAll(out, s, figures, sink)) << sink.messages.at(0);
  for (int k = 1; k <= 2; ++k) {
    const PoleFigure& source = k == 1 ? *a : *b;
    const auto back = Example(out, k);
    ASSERT_TRUE(back);
    const double scale = GeesthachtScale(source.MaxValue);
    for (int i = 1; i <= source.CircleCount; ++i)
      for (int j = 1; j <= source.CirclePoints[i]; ++j)
        ASSERT_EQ(back->Intensity[i][j],
                  source.Intensity[i][j] == kMissing ? kMissing : Nearest(source.Intensity[i][j] * scale))
            << k << ": " << i << "," << j;
  }
}

// The indices a window caption "... [n]    [   1  1  1]" showed: the text
// after the second "[" within 20 characters from the first, without its last
// character and, when 10 characters are left, without the first; then three
// fields of 3 characters. The prefill once read them back from there; the
// record's own facts must give the same.
std::optional<MillerText> MillerFromCaption(std::string_view caption) {
  const std::size_t first = caption.find('[');
  if (first == std::string_view::npos) return std::nullopt;
  std::string_view s = caption.substr(first, 20);
  const std::size_t second = s.find('[', 1);
  if (second == std::string_view::npos) return std::nullopt;
  s.remove_prefix(second + 1);
  if (!s.empty()) s.remove_suffix(1);
  if (s.size() == 10) s.remove_prefix(1);
  return MillerText{std::string(Trim(Columns(s, 1, 3))), std::string(Trim(Columns(s, 4, 6))),
                    std::string(Trim(Columns(s, 7, 9)))};
}

TEST(FormattedPrefill, MillerIndicesFromTheRecordsNameInItsFile) {
  auto pf = NewPoleFigure();
  EXPECT_FALSE(MillerOf(*pf));
  pf->IndexInFile = 2;
  pf->NameInFile = "   1  1  1";
  auto hash = MillerOf(*pf);
  ASSERT_TRUE(hash);
  EXPECT_EQ(hash->h + "," + hash->k + "," + hash->l, "1,1,1");
  pf->NameInFile = "  2 -1  0";
  const auto wko = MillerOf(*pf);
  ASSERT_TRUE(wko);
  EXPECT_EQ(wko->h + "," + wko->k + "," + wko->l, "2,-1,0");
  // Indices read from a file's header win over the name.
  pf->Hkl = "1 0 3";
  hash = MillerOf(*pf);
  ASSERT_TRUE(hash);
  EXPECT_EQ(hash->h + "," + hash->k + "," + hash->l, "1,0,3");
}

// The record's name in its file gives what its caption gave, for every pole
// figure of both multi-pole-figure examples.
TEST(FormattedPrefill, MillerIndicesOfLoadedRecordsMatchTheirCaptions) {
  const std::pair<const char*, DataLayout> files[] = {{"copper.xpe", DataLayout::Beartex},
                                                      {"quartz.wko", DataLayout::Geesthacht}};
  for (const auto& [file, layout] : files) {
    NullSink quiet;
    const auto names = PickerList(test::ExamplePath(file), layout, quiet);
    ASSERT_FALSE(names.empty()) << file;
    for (int k = 1; k <= static_cast<int>(names.size()); ++k) {
      LoadRequest request;
      request.dataFile = test::ExamplePath(file);
      request.gridFile = test::ExamplePath("grid5.rst");
      request.pfIndex = k;
      const auto pf = LoadPoleFigure(request, quiet);
      ASSERT_TRUE(pf) << file << " " << k;
      const auto fromRecord = MillerOf(*pf);
      const auto fromCaption = MillerFromCaption(std::to_string(k) + " * x" + MultiSuffix(k, names[k - 1]));
      ASSERT_TRUE(fromRecord && fromCaption) << file << " " << k;
      EXPECT_EQ(fromRecord->h + "," + fromRecord->k + "," + fromRecord->l,
                fromCaption->h + "," + fromCaption->k + "," + fromCaption->l);
    }
  }
  const auto plain = NewPoleFigure();
  EXPECT_FALSE(MillerOf(*plain));
}

TEST(FormattedPrefill, HeadersOfBothLayoutsGiveBackWhatWasWritten) {
  const auto pf = Small(2, 3, {1, 2, 3, 4, 5, 6});
  PoleFigureSlots figures{};
  figures[1] = pf.get();
  SaveAllSettings g = Settings(DataLayout::Geesthacht);
  g.symmetry = 4;
  g.lattice = {4.913, 4.913, 5.405, 0, 0, 120};
  g.misalignment = -12;
  g.rows[0].second = SecondReflection{1, 0, 1, 0.5};
  const SaveAllHeader wko = ParseSaveAllHeader(SplitLines(FormatSaveAll(g, figures)), DataLayout::Geesthacht);
  EXPECT_EQ(wko.symmetry, 4);
  EXPECT_EQ(wko.abcText, (std::array<std::string, 3>{"4.913", "4.913", "5.405"}));
  EXPECT_EQ(wko.gamma, 120);  // characters 23-29 are gamma
  EXPECT_EQ(wko.misalignment, -12);
  EXPECT_TRUE(wko.secondReflection);
  EXPECT_EQ(wko.h2 + wko.k2 + wko.l2, "101");
  EXPECT_EQ(wko.fac, 0.5);

  SaveAllSettings b = Settings(DataLayout::Beartex);
  b.lattice = {4.913, 4.913, 5.405, 90, 90, 120};
  b.symmetry = 9;
  const SaveAllHeader hash = ParseSaveAllHeader(SplitLines(FormatSaveAll(b, figures)), DataLayout::Beartex);
  EXPECT_EQ(hash.symmetry, 9);
  EXPECT_EQ(hash.c, 5.405);
  EXPECT_EQ(hash.alpha, 90);
  EXPECT_EQ(hash.gamma, 120);

  // Short or foreign headers leave the fields empty.
  const SaveAllHeader empty = ParseSaveAllHeader({"only one line"}, DataLayout::Geesthacht);
  EXPECT_FALSE(empty.symmetry || empty.gamma || empty.misalignment || empty.secondReflection);
}

TEST(FormattedPrefill, SymmetryTranslationsAndNames) {
  EXPECT_EQ(BeartexToGeesthachtSymmetry(2), 1);
  EXPECT_EQ(BeartexToGeesthachtSymmetry(3), 2);
  for (int c : {4, 5, 6, 7}) EXPECT_EQ(BeartexToGeesthachtSymmetry(c), 4);
  for (int c : {8, 9}) EXPECT_EQ(BeartexToGeesthachtSymmetry(c), 3);
  for (int c : {10, 11}) EXPECT_EQ(BeartexToGeesthachtSymmetry(c), 6);
  EXPECT_EQ(BeartexToGeesthachtSymmetry(1), 0);
  EXPECT_EQ(GeesthachtToBeartexSymmetry(1), 2);
  EXPECT_EQ(GeesthachtToBeartexSymmetry(2), 3);
  EXPECT_EQ(GeesthachtToBeartexSymmetry(6), 0);
  // A code from a file of the target's own numbering is kept.
  EXPECT_EQ(SymmetryForLayout(DataLayout::Beartex, 7, DataLayout::Beartex), 7);
  EXPECT_EQ(SymmetryForLayout(DataLayout::Beartex, 2, DataLayout::Geesthacht), 3);
  EXPECT_EQ(SymmetryForLayout(DataLayout::Geesthacht, 6, DataLayout::Geesthacht), 6);
  EXPECT_EQ(SymmetryForLayout(DataLayout::Geesthacht, 7, DataLayout::None), 4);

  EXPECT_EQ(ProposedSaveAllName("/d/x.y/copper.b.pol", DataLayout::Beartex), "/d/x.y/copper.xpe");
  EXPECT_EQ(ProposedSaveAllName("copper.pol", DataLayout::Geesthacht), "copper.ibm");
  EXPECT_EQ(ProposedSaveAllName("copper", DataLayout::Beartex), "xpe");
}

TEST(FormattedFiles, FailedWriteLeavesNoFile) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  PoleFigureSlots figures{};
  figures[1] = pf.get();
  const std::string out = (test::TempDir() / "missing" / "x.xpe").string();
  CollectingSink sink;
  EXPECT_FALSE(WriteSaveAll(out, Settings(DataLayout::Beartex), figures, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "Cannot create file " + out + ": No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace quorix
