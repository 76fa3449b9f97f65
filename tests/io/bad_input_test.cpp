// Damaged and unusual files for every reader: each one is either read as a
// well-formed file would be or refused with a message that names the file,
// and a refusal leaves the record as it was.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "base/ini_file.h"
#include "base/text_file.h"
#include "io/ascii_writer.h"
#include "io/data_layout.h"
#include "io/data_reader.h"
#include "io/directional_reader.h"
#include "io/edt_file.h"
#include "io/grid_reader.h"
#include "io/load_pole_figure.h"
#include "io/xrdml_writer.h"
#include "math/vector_math.h"
#include "plot/contour_colors.h"
#include "record/statistics.h"
#include "settings/settings.h"
#include "test_support.h"
#include "transform/directional_density.h"
#include "transform/intensity_edit.h"
#include "transform/pf_add.h"
#include "transform/pf_difference.h"
#include "transform/radial_kernel.h"
#include "transform/smoothing.h"

// gcc says so with __SANITIZE_ADDRESS__, clang with __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define QUORIX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORIX_ADDRESS_SANITIZER 1
#endif
#endif
namespace quorix {
namespace {

using test::WriteTempFile;

const std::string kBom = "\xEF\xBB\xBF";

// Reproducible bytes of every value, NUL and line ends included.
std::string Garbage(std::size_t n, unsigned seed) {
  std::string s(n, '\0');
  for (auto& c : s) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return s;
}

std::string Repeat(int count, const std::string& line) {
  std::string s;
  for (int i = 0; i < count; ++i) s += line;
  return s;
}

bool Mentions(const std::vector<std::string>& messages, const std::string& what) {
  for (const auto& m : messages)
    if (m.find(what) != std::string::npos) return true;
  return false;
}

// A record whose grid a refused read must not touch.
std::unique_ptr<PoleFigure> MarkedRecord() {
  auto pf = NewPoleFigure();
  pf->CircleCount = 3;
  pf->Alpha[1] = 42;
  pf->CirclePoints[1] = 17;
  return pf;
}

void ExpectUntouched(const PoleFigure& pf) {
  EXPECT_EQ(pf.CircleCount, 3);
  EXPECT_DOUBLE_EQ(pf.Alpha[1], 42);
  EXPECT_EQ(pf.CirclePoints[1], 17);
}

// --- simple grids --------------------------------------------------------------

TEST(SimpleGridBadInput, NothingReadableIsRefusedWithTheFileName) {
  for (const std::string& contents :
       {std::string(), kBom, std::string("\r\n\r\n"), Garbage(4096, 1), std::string("nan 72\ninf 72\n1e999 72\n")}) {
    auto pf = MarkedRecord();
    CollectingSink sink;
    const auto file = WriteTempFile("nothing.rst", contents);
    EXPECT_FALSE(ReadSimpleGrid(*pf, file, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].find(file), std::string::npos) << sink.messages[0];
    EXPECT_NE(sink.messages[0].find("no circles"), std::string::npos) << sink.messages[0];
    ExpectUntouched(*pf);
  }
}

TEST(SimpleGridBadInput, ByteOrderMarkTabsAndEveryLineEndReadAlike) {
  for (const std::string& contents :
       {kBom + "0\t72\n45\t72\n90 72\n", std::string("0 72\r\n45\t 72\r\n90 72"), std::string("0 72\r45 72\r90 72\r"),
        std::string("0 72\n\n\n45 72\r\n\r90 72\n")}) {
    auto pf = NewPoleFigure();
    CollectingSink sink;
    ASSERT_TRUE(ReadSimpleGrid(*pf, WriteTempFile("ends.rst", contents), sink)) << contents;
    EXPECT_EQ(pf->CircleCount, 3);
    EXPECT_DOUBLE_EQ(pf->Alpha[2], 45);
    EXPECT_EQ(pf->CirclePoints[3], 72);
  }
}

TEST(SimpleGridBadInput, UnreadableLinesAreSkipped) {
  // Overflowing, fractional and non-finite numbers, a megabyte line, and
  // points that are zero or negative: none of them makes a circle.
  const std::string contents = "nan 72\n10 1e3\n10 72.5\n10 99999999999999999999\n" + std::string(1 << 20, '7') +
                               " 72\n" + std::string(1 << 20, ' ') + "\n20 0\n30 -5\n-0 36\n40 +72\n";
  auto pf = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadSimpleGrid(*pf, WriteTempFile("odd.rst", contents), sink));
  EXPECT_TRUE(sink.messages.empty());
  ASSERT_EQ(pf->CircleCount, 2);
  EXPECT_DOUBLE_EQ(pf->Alpha[1], 0);
  EXPECT_EQ(pf->CirclePoints[1], 36);
  EXPECT_DOUBLE_EQ(pf->Alpha[2], 40);
  EXPECT_EQ(pf->CirclePoints[2], 72);
}

// --- full grids ----------------------------------------------------------------

TEST(FullGridBadInput, NothingReadableIsRefusedWithTheFileName) {
  for (const std::string& contents :
       {std::string(), kBom, Garbage(4096, 2), std::string("I 1\nO 1\n") + Garbage(4096, 3),
        std::string("I 1\nO 1\n10 0 5 0\n20 0 5 -72\n30 nan 5 72\n40 0 1e999 72\n")}) {
    auto pf = MarkedRecord();
    CollectingSink sink;
    const auto file = WriteTempFile("nothing.grd", contents);
    EXPECT_FALSE(ReadFullGrid(*pf, file, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].find(file), std::string::npos) << sink.messages[0];
    ExpectUntouched(*pf);
  }
}

TEST(FullGridBadInput, ByteOrderMarkDoesNotHideTheFirstSwitch) {
  for (const std::string& contents : {kBom + "I 1\nO I\n10 0 5 72\n", std::string("I 1\rO I\r10 0 5 72"),
                                      std::string("I 1\r\nO I\r\n10\t0\t5\t72\r\n")}) {
    auto pf = NewPoleFigure();
    CollectingSink sink;
    ASSERT_TRUE(ReadFullGrid(*pf, WriteTempFile("bom.grd", contents), sink)) << contents;
    EXPECT_EQ(pf->InnerMirror, 1);
    EXPECT_EQ(pf->OuterMirror, 0);
    EXPECT_EQ(pf->CircleCount, 1);
  }
}

TEST(FullGridBadInput, NegativeZeroStepIsAStepOfZero) {
  auto pf = MarkedRecord();
  CollectingSink sink;
  EXPECT_FALSE(ReadFullGrid(*pf, WriteTempFile("zero.grd", "I 1\nO 1\n10 0 -0 72\n"), sink));
  EXPECT_TRUE(Mentions(sink.messages, "beta step of 0"));
  ExpectUntouched(*pf);
}

TEST(FullGridBadInput, AtAndOneOverEveryLimit) {
  struct Case {
    std::string contents;
    bool accepted;
  } cases[] = {
      {"I 1\nO I\n" + Repeat(182, "10 0 0.5 721\n"), true},  // 182 circles, no outer mirror
      {"I 1\nO I\n" + Repeat(183, "10 0 0.5 721\n"), false},
      {"I 1\nO 1\n" + Repeat(181, "10 0 5 72\n"), true},  // 181 and the outer mirror
      {"I 1\nO 1\n" + Repeat(182, "10 0 5 72\n"), false},
      {"I 1\nO I\n10 0 0.49931 721\n", true},  // 721 points, a turn just inside
      {"I 1\nO I\n10 0 0.5 722\n", false},
      {"I 1\nO I\n10 0 0.4987 72\n", true},   // a turn of 721 points and a bit
      {"I 1\nO I\n10 0 0.4986 72\n", false},  // a turn of 722 points
  };
  for (const auto& c : cases) {
    auto pf = MarkedRecord();
    CollectingSink sink;
    EXPECT_EQ(ReadFullGrid(*pf, WriteTempFile("limit.grd", c.contents), sink), c.accepted) << c.contents.substr(0, 30);
    if (!c.accepted) {
      EXPECT_TRUE(Mentions(sink.messages, "limit.grd"));
      ExpectUntouched(*pf);
    }
  }
}

// --- data files ----------------------------------------------------------------

std::unique_ptr<PoleFigure> Grid(const std::string& simpleGrid) { return test::GridFromText("grid.rst", simpleGrid); }

using test::ReadData;

TEST(PlainDataBadInput, EmptyAndGarbageAreCountedShort) {
  for (const std::string& contents : {std::string(), kBom, std::string("\n\n\n"), Garbage(4096, 4)}) {
    auto pf = Grid("0 4\n45 4\n");
    CollectingSink sink;
    EXPECT_FALSE(ReadData(*pf, WriteTempFile("g.pol", contents), DataLayout::Plain, sink));
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages.back().rfind("Expected 8 data, found ", 0), 0u) << sink.messages.back();
  }
}

TEST(PlainDataBadInput, MegabyteLinesOfBlanksOrDigits) {
  auto pf = Grid("0 4\n45 4\n");
  CollectingSink sink;
  // A megabyte of blanks between numbers is only a separator.
  EXPECT_TRUE(ReadData(*pf, WriteTempFile("wide.pol", "1 2 3" + std::string(1 << 20, ' ') + "4\t5\t6\t7\t8\n"),
                       DataLayout::Plain, sink));
  EXPECT_DOUBLE_EQ(pf->Intensity[2][4], 8);
  // A megabyte-long number overflows and is an error, not an infinity.
  EXPECT_FALSE(ReadData(*pf, WriteTempFile("long.pol", "1 2 " + std::string(1 << 20, '9') + " 4 5 6 7 8\n"),
                        DataLayout::Plain, sink));
  EXPECT_TRUE(Mentions(sink.messages, "Error in data file or unexpected end."));
}

TEST(PlainDataBadInput, NegativeZeroIsAValueNotAMissingPoint) {
  auto pf = Grid("0 4\n45 4\n");
  CollectingSink sink;
  ASSERT_TRUE(ReadData(*pf, WriteTempFile("zero.pol", "-0 -0 -0 -0 1 1 1 1\n"), DataLayout::Plain, sink));
  EXPECT_DOUBLE_EQ(pf->MinValue, 0);
  EXPECT_EQ(pf->MinCircle, 1);
}

TEST(PlainDataBadInput, HugeValuesOnTheRimStayFinite) {
  // Opposite rim points are averaged; the largest doubles must not add up
  // to an infinity there.
  auto pf = Grid("45 4\n90 4\n");
  CollectingSink sink;
  ASSERT_TRUE(
      ReadData(*pf, WriteTempFile("rim.pol", "1 2 3 4 1.7e308 1.7e308 1.7e308 1.7e308\n"), DataLayout::Plain, sink));
  EXPECT_DOUBLE_EQ(pf->Intensity[2][1], 1.7e308);
  EXPECT_TRUE(std::isfinite(pf->Intensity[2][3]));
}

// Hash-list blocks of the examples' form on a grid of 19-point circles.
std::string HashFile(const std::string& lineEnd) {
  std::string s = "head #" + lineEnd + Repeat(5, lineEnd) + "name" + lineEnd;
  for (int circle = 0; circle < 2; ++circle) {
    s += "x";
    for (int k = 1; k <= 19; ++k) s += fmt::format("{:4d}", 10 * circle + k);
    s += lineEnd;
  }
  return s;
}

TEST(HashListBadInput, EveryLineEndAndAByteOrderMarkReadAlike) {
  for (const std::string& contents : {HashFile("\n"), HashFile("\r\n"), HashFile("\r"), kBom + HashFile("\n")}) {
    auto pf = Grid("0 19\n90 19\n");
    CollectingSink sink;
    ASSERT_TRUE(ReadData(*pf, WriteTempFile("ends.xpe", contents), DataLayout::Beartex, sink)) << sink.messages.at(0);
    EXPECT_DOUBLE_EQ(pf->Intensity[1][19], 19);
    EXPECT_DOUBLE_EQ(pf->Intensity[2][1], 11);
  }
}

TEST(HashListBadInput, EmptyGarbageAndFarIndicesAreRefusedWithTheFileName) {
  struct Case {
    std::string contents;
    int index;
  } cases[] = {{"", 1},
               {Garbage(4096, 5), 1},
               {HashFile("\n"), 2},
               {HashFile("\n"), INT_MAX},
               {HashFile("\n"), INT_MIN},  // only the size counts, and INT_MIN's is no int
               {HashFile("\n").substr(0, 30) + std::string(1 << 20, '1') + "\n", 1}};
  for (const auto& c : cases) {
    auto pf = Grid("0 19\n90 19\n");
    CollectingSink sink;
    const auto file = WriteTempFile("bad.xpe", c.contents);
    EXPECT_FALSE(ReadData(*pf, file, DataLayout::Beartex, sink, c.index)) << c.index;
    ASSERT_FALSE(sink.messages.empty());
    const std::string& m = sink.messages.back();
    EXPECT_TRUE(m.find(file) != std::string::npos || m.rfind("Expected ", 0) == 0) << m;
  }
}

std::string WkoHeader(const std::string& counts) { return "title\nsecond\n  1\n\n" + counts + "\n WKO = 1\n third\n"; }

TEST(WkoListBadInput, HugeAndNegativeCountsInTheHeader) {
  struct Case {
    std::string header;
    int index;
    std::string expected;
  } cases[] = {
      {WkoHeader("PF 1     99999999"), 2, "lies beyond the end"},  // M of about 1e8 values: far beyond the file
      {WkoHeader("PF 1     9999999"), 1, "Expected 24 data"},
      {WkoHeader("PF 1       -1  12"), 1, "line 5"},
      {WkoHeader("PF 1     +1e9  12"), 1, "line 5"},
      {WkoHeader("PF 1"), 1, "line 5"},
  };
  for (const auto& c : cases) {
    auto pf = Grid("0 12\n45 12\n");
    CollectingSink sink;
    const auto file = WriteTempFile("huge.wko", c.header + "    1.0    2.0\n");
    EXPECT_FALSE(ReadData(*pf, file, DataLayout::Geesthacht, sink, c.index)) << c.header;
    EXPECT_TRUE(Mentions(sink.messages, c.expected)) << c.header << (sink.messages.empty() ? "" : sink.messages.back());
    EXPECT_TRUE(Mentions(sink.messages, c.expected == "Expected 24 data" ? "Expected" : file));
  }
  CollectingSink sink;
  // A picker list over a header announcing 999 pole figures stops at the end of the file.
  const auto names =
      PickerList(WriteTempFile("many.wko", "a\nb\n999\n\nPF 1        0  12\n WKO = 1\n"), DataLayout::Geesthacht, sink);
  EXPECT_EQ(names.size(), 1u);
}

TEST(DataBadInput, NoFileIsMistakenForAnotherLayout) {
  struct Case {
    std::string contents;
    DataLayout layout;
  } cases[] = {
      {"", DataLayout::Plain},
      {kBom, DataLayout::Plain},
      {Garbage(4096, 6), DataLayout::Plain},
      {kBom + "header #\n", DataLayout::Beartex},
      {"header #\r\n1\r\n", DataLayout::Beartex},
      {"1\r2\r3\r4\r5\r  WKO = 1\r", DataLayout::Geesthacht},
      {std::string(1 << 20, 'x') + "#\n", DataLayout::Beartex},
  };
  for (const auto& c : cases) {
    CollectingSink sink;
    const LayoutInfo info = DetectLayout(WriteTempFile("detect.dat", c.contents), sink);
    EXPECT_TRUE(info.ok);
    EXPECT_EQ(info.layout, c.layout) << c.contents.substr(0, 40);
    EXPECT_TRUE(sink.messages.empty());
  }
}

TEST(DataBadInput, AFailedLoadNamesTheFileAndReturnsNothing) {
  const auto grid = WriteTempFile("load.rst", "0 4\n45 4\n");
  for (const std::string& contents : {std::string(), Garbage(2048, 7), std::string("1 2 3 nan 5 6 7 8\n")}) {
    LoadRequest request;
    request.dataFile = WriteTempFile("load.pol", contents);
    request.gridFile = grid;
    CollectingSink sink;
    EXPECT_EQ(LoadPoleFigure(request, sink), nullptr);
    EXPECT_FALSE(sink.messages.empty());
  }
  LoadRequest request;
  request.dataFile = WriteTempFile("load.xpe", HashFile("\n"));
  request.gridFile = WriteTempFile("load19.rst", "0 19\n90 19\n");
  request.pfIndex = INT_MIN;
  CollectingSink sink;
  EXPECT_EQ(LoadPoleFigure(request, sink), nullptr);
  EXPECT_TRUE(Mentions(sink.messages, "there is no pole figure"));
}

// --- configuration and colour-set files -----------------------------------------

TEST(IniBadInput, GarbageAndNulBytesReadAsMissingKeys) {
  IniFile ini = IniFile::FromText(Garbage(8192, 8) + std::string("\n[Contour]\ncolor1=2\0\n", 21));
  EXPECT_EQ(ini.ReadInteger("Contour", "color1", -5), -5);  // "2\0" is no number
  EXPECT_EQ(IniFile::FromText(ini.Text()).Text(), ini.Text());
  ContourColorTable colors{};
  LoadContourColors(WriteTempFile("garbage.ini", Garbage(8192, 9)), colors);
  EXPECT_EQ(colors, DefaultContourColors());
}

TEST(IniBadInput, DuplicatesLineEndsAndLongValues) {
  const std::string text = kBom +
                           "[Contour]\r\ncolor1=255\r\n[contour]\r\ncolor1=1\r\ncolor2=" + std::string(1 << 20, '7') +
                           "\r\n[CONTOUR]\r\ncolor2 = 0x10";
  IniFile ini = IniFile::FromText(text);
  ContourColorTable colors = DefaultContourColors();
  // Only the first "Contour" section counts; it ends after color1.
  EXPECT_EQ(LoadColorSet(ini, colors), 1);
  EXPECT_EQ(colors[1], 255);
  EXPECT_EQ(colors[2], kMissingColor);
  ini.WriteInteger("Contour", "color2", 7);
  EXPECT_EQ(ini.ReadInteger("Contour", "color2", 0), 7);
  EXPECT_EQ(ini.Text().substr(0, 3), kBom);
  EXPECT_EQ(ini.Text().substr(ini.Text().size() - 13), "color2 = 0x10");  // still no final line end
}

TEST(IniBadInput, SaveFormatWithAHugeWidthWritesBoundedValues) {
  // "digits" comes straight from the file; two billion would make every
  // value two gigabytes wide.
  const IniFile ini = IniFile::FromText("[SaveFormat]\ncount=4\ndigits=2000000000\ncomma=2000000000\n");
  AsciiWriteOptions options;
  options.Format = ReadSaveFormat(ini);
  auto pf = Grid("0 4\n45 4\n");
  for (int i = 1; i <= 2; ++i)
    for (int k = 1; k <= 4; ++k) pf->Intensity[i][k] = k;
  EXPECT_LT(FormatPFASCII(*pf, options).size(), 8u * 250);
}

TEST(IniBadInput, EveryLineEndReadsAlikeAndEachLineKeepsItsOwn) {
  // A file saved by an old Macintosh editor has nothing but CRs; read as one
  // long line it lost every key.
  const IniFile crOnly = IniFile::FromText("[Plot]\rplotstretch=5\r\r[Colors]\rcount=3\r");
  EXPECT_EQ(crOnly.ReadInteger("Plot", "plotstretch", 0), 5);
  EXPECT_EQ(crOnly.ReadInteger("Colors", "count", 0), 3);
  IniFile grown = crOnly;
  grown.WriteInteger("Plot", "textstretch", 2);
  EXPECT_EQ(grown.Text(), "[Plot]\rplotstretch=5\rtextstretch=2\r\r[Colors]\rcount=3\r");

  // Mixed line ends stay as they were around a rewritten key, so that saving
  // a colour set changes no unrelated line.
  const std::string text = "[A]\r\nk=1\r\r\nm=3\nlast=2\r";
  IniFile ini = IniFile::FromText(text);
  EXPECT_EQ(ini.Text(), text);
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
  EXPECT_EQ(ini.ReadInteger("A", "m", 0), 3);
  EXPECT_EQ(ini.ReadInteger("A", "last", 0), 2);
  ini.WriteInteger("A", "m", 4);
  EXPECT_EQ(ini.Text(), "[A]\r\nk=1\r\r\nm=4\nlast=2\r");
  ini.WriteInteger("A", "new", 5);
  EXPECT_EQ(ini.Text(), "[A]\r\nk=1\r\r\nm=4\nlast=2\rnew=5\r\n");
}

// --- circle correction files -----------------------------------------------------

TEST(EdtBadInput, ByteOrderMarkTabsAndEveryLineEndReadAlike) {
  for (const std::string& text : {kBom + "1.5\n2\n3\n", std::string("1.5\r\n2\r\n3\r\n"), std::string("1.5\r2\r3\r"),
                                  std::string("1.5\t;1\n2\t\t;2\n3\t;3"), kBom + "1.5    ;1\r2    ;2\r\n3    ;3\n"}) {
    CollectingSink sink;
    const EdtValues read = ReadEdtFile(WriteTempFile("circles.edt", text), 3, sink);
    EXPECT_TRUE(read.complete) << text;
    EXPECT_EQ(read.values, (std::vector<double>{1.5, 2, 3})) << text;
    EXPECT_TRUE(sink.messages.empty()) << sink.messages.at(0);
  }
}

TEST(EdtBadInput, EmptyGarbageAndUnusableNumbersStopAtTheirLine) {
  struct Case {
    std::string text;
    std::size_t readBefore;
  } cases[] = {{"", 0},
               {kBom, 0},
               {Garbage(4096, 11), 0},
               {"1\n1e999\n3\n", 1},
               {"1\n2\nnan\n", 2},
               {"inf\n", 0},
               {std::string(1 << 20, '7') + "\n", 0},  // a megabyte of digits overflows a double
               {"1\n" + std::string(1 << 20, ' ') + "\n", 1}};
  for (const Case& c : cases) {
    CollectingSink sink;
    const EdtValues read = ReadEdtFile(WriteTempFile("bad.edt", c.text), 3, sink);
    EXPECT_TRUE(read.opened);
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.values.size(), c.readBefore);
    EXPECT_EQ(sink.messages,
              std::vector<std::string>{"To less or incorrect values on line " + std::to_string(c.readBefore + 1)});
  }
  // -0 is a number like any other.
  CollectingSink sink;
  EXPECT_TRUE(ReadEdtFile(WriteTempFile("zero.edt", "-0\n"), 1, sink).complete);
}

// --- directional data --------------------------------------------------------------

TEST(DirectionalBadInput, ByteOrderMarkTabsAndEveryLineEndReadAlike) {
  for (const std::string& text : {kBom + "10 20 X\n30 40 EP\n", std::string("10 20 X\r\n30 40 EP\r\n"),
                                  std::string("10 20 X\r30 40 EP\r"), std::string("10\t20\tX\n30\t40\tEP")}) {
    CollectingSink sink;
    const auto list = ReadDirections(WriteTempFile("dirs.txt", text), {}, sink);
    ASSERT_TRUE(list) << text;
    EXPECT_EQ(list->directions.size(), 2u) << text;
    EXPECT_EQ(list->skippedLines, 0) << text;
  }
}

TEST(DirectionalBadInput, GarbageTagsReadAsNoConventionAndStayOnTheSphere) {
  const TaggedDirection plain = TagDirection(10, 20, "");
  for (const std::string& tag : {std::string("QQ"), std::string("\xff\xfe\x01"), std::string("ZZZZ"),
                                 std::string(1 << 20, 'K'), std::string("\xef\xbb\xbf"), std::string("1e999")}) {
    const TaggedDirection d = TagDirection(10, 20, tag);
    EXPECT_EQ(d.alpha, plain.alpha);
    EXPECT_EQ(d.beta, plain.beta);
  }
  CollectingSink sink;
  const auto list = ReadDirections(
      WriteTempFile("tags.txt", "10 20 \xff\xfe\n10 20 QQ\n10 20 " + std::string(1 << 20, 'K') + "\n"), {}, sink);
  ASSERT_TRUE(list);
  ASSERT_EQ(list->directions.size(), 3u);
  for (const Vec3& v : list->directions) EXPECT_NEAR(Norm(v), 1.0, 1e-12);
}

TEST(DirectionalBadInput, EmptyGarbageAndUnusableNumbersAreRefusedWithTheFileName) {
  for (const std::string& text : {std::string(), kBom, std::string("\r\r\n\n"), Garbage(4096, 12),
                                  std::string("1e999 20 X\nnan 20 X\n20 inf X\n")}) {
    auto pf = NewPoleFigure();
    test::FillRegularGrid(*pf, 5, 72);
    pf->Intensity[2][3] = 7;
    const std::string file = WriteTempFile("nothing.txt", text);
    CollectingSink sink;
    EXPECT_FALSE(ReadDirectionalData(*pf, file, {}, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_TRUE(Mentions(sink.messages, file));
    EXPECT_EQ(pf->Intensity[2][3], 7);
  }
}

// --- further files of an add list ---------------------------------------------------

TEST(FurtherFileBadInput, EmptyAndGarbageAreRefusedByNameLineEndsReadAlike) {
  const std::string grid = WriteTempFile("main.rst", "0 1\n45 4\n90 4\n");
  LoadRequest request;
  request.gridFile = grid;
  request.dataFile = WriteTempFile("main.pol", "5\n1 2 3 4\n5 6 7 8\n");
  CollectingSink quiet;
  const auto main = LoadPoleFigure(request, quiet);
  ASSERT_TRUE(main);
  for (const std::string& text : {kBom + "5\r\n1 2 3 4\r\n5 6 7 8\r\n", std::string("5\r1\t2\t3\t4\r5 6 7 8")}) {
    CollectingSink sink;
    const auto further = ReadFurtherPoleFigure(*main, grid, WriteTempFile("same.pol", text), 1, sink);
    ASSERT_TRUE(further) << text;
    for (int i = 1; i <= main->CircleCount; ++i)
      for (int k = 1; k <= main->CirclePoints[i]; ++k) EXPECT_EQ(further->Intensity[i][k], main->Intensity[i][k]);
  }
  for (const std::string& text : {std::string(), kBom, Garbage(4096, 13), std::string("5\n1 2 3 4\n5 6 7 1e999\n")}) {
    const std::string file = WriteTempFile("bad.pol", text);
    CollectingSink sink;
    EXPECT_FALSE(ReadFurtherPoleFigure(*main, grid, file, 1, sink)) << text.substr(0, 40);
    EXPECT_TRUE(Mentions(sink.messages, file)) << (sink.messages.empty() ? "" : sink.messages[0]);
  }
}

// --- output files ---------------------------------------------------------------------

std::unique_ptr<PoleFigure> SmallRecord() {
  auto pf = test::FourPointGrid({30, 60, 90});
  for (int i = 1; i <= 3; ++i) test::SetCircle(*pf, i, {1, 2, 3, 4});
  return pf;
}

std::size_t EntriesIn(const std::filesystem::path& dir) {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()));
}

TEST(OutputBadInput, SymlinksAreWrittenThroughAndStayLinks) {
  namespace fs = std::filesystem;
  const auto pf = SmallRecord();
  const std::string expected = FormatPFASCII(*pf, AsciiWriteOptions{});
  const fs::path dir = test::TempDir() / "links";
  fs::create_directories(dir / "real");
  const fs::path target = dir / "real" / "target.z01";
  WriteTempFile("links/real/target.z01", "old");
  fs::create_symlink("real/target.z01", dir / "link.z01");
  // A dangling link is written through to its target, as the shell's ">" does.
  fs::create_symlink("real/new.z01", dir / "dangling.z01");
  CollectingSink sink;
  ASSERT_TRUE(WritePFASCII(*pf, (dir / "link.z01").string(), AsciiWriteOptions{}, sink)) << sink.messages.at(0);
  ASSERT_TRUE(WritePFASCII(*pf, (dir / "dangling.z01").string(), AsciiWriteOptions{}, sink)) << sink.messages.at(0);
  EXPECT_TRUE(fs::is_symlink(dir / "link.z01"));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.z01"));
  EXPECT_EQ(test::ReadFile(target.string()), expected);
  EXPECT_EQ(test::ReadFile((dir / "real" / "new.z01").string()), expected);
  EXPECT_EQ(EntriesIn(dir / "real"), 2u) << "a temporary was left";
}

TEST(OutputBadInput, ModeIsKeptAndTheLongestLegalNameIsWritten) {
  namespace fs = std::filesystem;
  const auto pf = SmallRecord();
  const fs::path dir = test::TempDir() / "modes";
  fs::create_directories(dir);
  const fs::path shared = dir / "shared.z01";
  WriteTempFile("modes/shared.z01", "old");
  fs::permissions(shared, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  CollectingSink sink;
  ASSERT_TRUE(WritePFASCII(*pf, shared.string(), AsciiWriteOptions{}, sink));
  EXPECT_EQ(fs::status(shared).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // A new file gets what the shell would give it, not the temporary's 0600.
  const mode_t before = ::umask(022);
  ASSERT_TRUE(WritePFASCII(*pf, (dir / "fresh.z01").string(), AsciiWriteOptions{}, sink));
  ::umask(before);
  EXPECT_EQ(fs::status(dir / "fresh.z01").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);

  // 255 bytes is as long as a name may be; the temporary must not need more.
  const std::string longest = std::string(251, 'n') + ".z01";
  ASSERT_TRUE(WritePFASCII(*pf, (dir / longest).string(), AsciiWriteOptions{}, sink))
      << (sink.messages.empty() ? "" : sink.messages[0]);
  EXPECT_TRUE(fs::is_regular_file(dir / longest));
  EXPECT_EQ(EntriesIn(dir), 3u);
}

TEST(OutputBadInput, AFileTheUserMayNotWriteIsRefusedAndKept) {
  if (::geteuid() == 0) GTEST_SKIP() << "running as root, who may write any file";
  namespace fs = std::filesystem;
  const auto pf = SmallRecord();
  fs::create_directories(test::TempDir() / "protected");
  const std::string data = WriteTempFile("protected/p.z01", "protected data");
  const std::string colours = WriteTempFile("protected/colours.ini", "[Contour]\ncolor1=255\n");
  for (const std::string& name : {data, colours}) fs::permissions(name, fs::perms::owner_read | fs::perms::group_read);
  CollectingSink sink;
  EXPECT_FALSE(WritePFASCII(*pf, data, AsciiWriteOptions{}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "Cannot create file " + data + ": Permission denied");
  CollectingSink refusal;
  EXPECT_FALSE(SaveColorSet(colours, DefaultContourColors(), 3, refusal));
  EXPECT_EQ(refusal.messages, std::vector<std::string>{"Cannot create file " + colours + ": Permission denied"});
  EXPECT_EQ(test::ReadFile(data), "protected data");
  EXPECT_EQ(test::ReadFile(colours), "[Contour]\ncolor1=255\n");
}

TEST(OutputBadInput, SpecialFilesAreWrittenInPlaceOrRefusedWithoutWaiting) {
  namespace fs = std::filesystem;
  const auto pf = SmallRecord();
  CollectingSink sink;
  if (fs::is_character_file("/dev/null")) {
    EXPECT_TRUE(WritePFASCII(*pf, "/dev/null", AsciiWriteOptions{}, sink));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
  }
  // Nobody reads this FIFO: opening it for writing the usual way never returns.
  const fs::path fifo = test::TempDir() / "fifo.z01";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(WritePFASCII(*pf, fifo.string(), AsciiWriteOptions{}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "Cannot create file " + fifo.string() + ": nobody reads it");
  // The log probes its last byte; a FIFO never gives one.
  sink.messages.clear();
  EXPECT_FALSE(AppendRPLog(fifo.string(), RPLogEntry{}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "Cannot append to log file " + fifo.string() + ": it is not a regular file");
  // Nor is it read as data.
  sink.messages.clear();
  LoadRequest request;
  request.dataFile = fifo.string();
  request.gridFile = test::ExamplePath("grid5.rst");
  EXPECT_EQ(LoadPoleFigure(request, sink), nullptr);
  EXPECT_TRUE(Mentions(sink.messages, fifo.string() + ": it is not a regular file")) << sink.messages.at(0);
  // Nor by the readers of files that carry their own grid, asked for by name.
  for (const DataLayout layout : {DataLayout::Xrdml, DataLayout::Uxd, DataLayout::Asc, DataLayout::Ras,
                                  DataLayout::RigakuTxt, DataLayout::Popla, DataLayout::Columns}) {
    sink.messages.clear();
    LoadRequest measured;
    measured.dataFile = fifo.string();
    measured.layout = layout;
    EXPECT_EQ(LoadPoleFigure(measured, sink), nullptr) << LayoutName(layout);
    EXPECT_TRUE(Mentions(sink.messages, fifo.string() + ": it is not a regular file")) << LayoutName(layout);
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// --- numbers at the ends of the double range ------------------------------------------

// The copper example with every value written as "VALUEeEXPONENT": the same
// texture in another unit.
std::string ScaledCopper(int exponent) {
  const std::vector<std::string> lines = SplitLines(test::ReadFile(test::ExamplePath("copper111.pol")));
  std::string text = lines.at(0) + "\n" + lines.at(1) + "\n";
  for (std::size_t k = 2; k < lines.size(); ++k) {
    // -1 marks a missing point in every unit.
    for (std::string_view token : SplitWhitespace(lines[k]))
      text += " " + std::string(token) + (token == "-1.00" ? "" : "e" + std::to_string(exponent));
    text += "\n";
  }
  return WriteTempFile("copper_e" + std::to_string(exponent) + ".pol", text);
}

std::unique_ptr<PoleFigure> LoadOnGrid5(const std::string& data) {
  return test::LoadFile(data, test::ExamplePath("grid5.rst"));
}

TEST(MagnitudeBadInput, StatisticsDoNotDependOnTheUnit) {
  const auto plain = LoadOnGrid5(test::ExamplePath("copper111.pol"));
  ASSERT_TRUE(plain);
  ASSERT_GT(plain->Eigenvalue[1], 1.5);  // a texture, not an isotropic default
  // 1e75 squares beyond the double range in the tensor's Jacobi step, 1e-100
  // below it; 1e304 summed over the sampling directions overflows the mean.
  for (const int exponent : {75, -100, 304}) {
    const auto scaled = LoadOnGrid5(ScaledCopper(exponent));
    ASSERT_TRUE(scaled);
    const double unit = std::pow(10.0, exponent);
    EXPECT_NEAR(scaled->NormFactor / unit, plain->NormFactor, 1e-9 * plain->NormFactor) << exponent;
    for (int k = 1; k <= 3; ++k) {
      EXPECT_NEAR(scaled->Eigenvalue[k], plain->Eigenvalue[k], 1e-9) << exponent << " eigenvalue " << k;
      EXPECT_NEAR(scaled->EigenAlpha[k], plain->EigenAlpha[k], 1e-6) << exponent << " eigenvalue " << k;
      EXPECT_NEAR(scaled->EigenBeta[k], plain->EigenBeta[k], 1e-6) << exponent << " eigenvalue " << k;
    }
    EXPECT_NEAR(ShapeParameterT(*scaled), ShapeParameterT(*plain), 1e-9) << exponent;
    EXPECT_EQ(scaled->MaxCircle, plain->MaxCircle) << exponent;
    EXPECT_EQ(scaled->MaxPoint, plain->MaxPoint) << exponent;
    // All values lie above 1e10: the minimum is one of them, not the bound.
    EXPECT_EQ(scaled->MinCircle, plain->MinCircle) << exponent;
    EXPECT_EQ(scaled->MinPoint, plain->MinPoint) << exponent;
    CollectingSink sink;
    const auto compared = ComparePoleFigures(*scaled, *plain, 0.5, sink);
    ASSERT_TRUE(compared) << exponent;
    ASSERT_TRUE(compared->RP) << exponent;
    EXPECT_NEAR(*compared->RP, 0, 1e-9) << exponent;
  }
  // Negated, only copper's few negative values stay above zero: the largest
  // of them is the maximum, at its own position. The file's smallest value
  // (-8.99 at circle 19, point 52) is not among them: the rim rule has
  // averaged it with the opposite point to 14.99 after the extremes were
  // taken on load, so the smallest value held is -8.86 at circle 18, point 23.
  auto negative = LoadOnGrid5(test::ExamplePath("copper111.pol"));
  double smallestHeld = 0;
  for (int i = 1; i <= negative->CircleCount; ++i)
    for (const double v : CircleValues(*negative, i))
      if (v != kMissing) smallestHeld = std::min(smallestHeld, v);
  CollectingSink sink;
  ASSERT_TRUE(EditIntensities(*negative, '*', UniformOperands(-1), false, sink));
  EXPECT_EQ(negative->MaxValue, negative->Intensity[negative->MaxCircle][negative->MaxPoint]);
  EXPECT_EQ(negative->MaxValue, -smallestHeld);
  EXPECT_EQ(negative->MaxValue, 8.86);
  EXPECT_EQ(negative->MaxCircle, 18);
  EXPECT_EQ(negative->MaxPoint, 23);
}

TEST(MagnitudeBadInput, AnEditOrSumThatWouldOverflowChangesNothing) {
  auto pf = test::FourPointGrid({30, 60});
  test::SetCircle(*pf, 1, {0.5, 0.5, 0.5, 0.5});
  test::SetCircle(*pf, 2, {1e308, 0.5, 0.5, 0.5});
  UpdateExtremes(*pf);
  UpdateStatistics(*pf);
  const auto before = std::make_unique<PoleFigure>(*pf);
  const auto expectUnchanged = [&](const char* what) {
    for (int i = 1; i <= 2; ++i)
      for (int j = 1; j <= 4; ++j) EXPECT_EQ(pf->Intensity[i][j], before->Intensity[i][j]) << what;
    EXPECT_EQ(pf->MaxValue, before->MaxValue) << what;
  };
  CollectingSink sink;
  // Only the point that overflowed used to keep its value: 1e308 became the
  // smallest of the pole figure.
  EXPECT_FALSE(EditIntensities(*pf, '*', UniformOperands(2), false, sink));
  expectUnchanged("times 2");
  EXPECT_FALSE(EditIntensities(*pf, '/', UniformOperands(1e-10), false, sink));
  expectUnchanged("divided by 1e-10");
  EXPECT_FALSE(MergeRaster(*pf, '+', *before));
  expectUnchanged("raster sum");
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0], kEditOverflowMessage);
  // Non-finite or zero divisors still leave single points as they were.
  EXPECT_TRUE(EditIntensities(*pf, '/', UniformOperands(0), false, sink));
  expectUnchanged("divided by 0");

  // The sum of the main pole figure, doubled, with a file.
  auto huge = LoadOnGrid5(test::ExamplePath("copper111.pol"));
  ASSERT_TRUE(EditIntensities(*huge, '*', UniformOperands(1.5e308 / huge->MaxValue), false, sink));
  const auto hugeBefore = std::make_unique<PoleFigure>(*huge);
  sink.messages.clear();
  const std::vector<std::string> files{"", test::ExamplePath("copper111.pol")};
  EXPECT_FALSE(WeightedAddPF(*huge, test::ExamplePath("grid5.rst"), false, {2.0f, 1.0f}, {1, 1}, files, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find("largest number"), std::string::npos) << sink.messages[0];
  EXPECT_EQ(huge->Intensity[3][5], hugeBefore->Intensity[3][5]);
  EXPECT_EQ(huge->MaxValue, hugeBefore->MaxValue);
}

TEST(MagnitudeBadInput, WidthsTooNarrowForTheGaussianAreRefused) {
  // 1e-200 degrees squares to 0 in the exponent's denominator: every value NaN.
  auto pf = LoadOnGrid5(test::ExamplePath("copper111.pol"));
  ASSERT_TRUE(pf);
  const auto before = std::make_unique<PoleFigure>(*pf);
  for (const double fwhm : {1e-200, 1e-7, 0.0, -1.0, std::nan("")}) {
    SmoothingSettings settings;
    settings.fwhm = fwhm;
    EXPECT_FALSE(SmoothPoleFigure(*pf, settings, false)) << fwhm;
    EXPECT_EQ(pf->Intensity[4][7], before->Intensity[4][7]) << fwhm;
    EXPECT_NE(FwhmProblem(fwhm), "") << fwhm;
  }
  EXPECT_EQ(FwhmProblem(1e-200), "The FWHM must be a number of degrees of at least 1e-06, not 1e-200.");
  EXPECT_EQ(FwhmProblem(kMinFwhm), "");
  SmoothingSettings narrowest;
  narrowest.fwhm = kMinFwhm;
  ASSERT_TRUE(SmoothPoleFigure(*pf, narrowest, false));
  EXPECT_EQ(pf->Intensity[4][7], before->Intensity[4][7]);  // no neighbour within reach

  // A direction on a grid point at the narrowest width still gives numbers.
  auto density = LoadOnGrid5(test::ExamplePath("copper111.pol"));
  DirectionalOptions options;
  options.fwhm = kMinFwhm;
  CollectingSink sink;
  ASSERT_TRUE(ReadDirectionalDataText(*density, "0 90 X\n", "point.txt", options, sink))
      << (sink.messages.empty() ? "" : sink.messages[0]);
  for (int i = 1; i <= density->CircleCount; ++i)
    for (int j = 1; j <= density->CirclePoints[i]; ++j) ASSERT_TRUE(std::isfinite(density->Intensity[i][j]));
  options.fwhm = 1e-200;
  EXPECT_FALSE(ReadDirectionalDataText(*density, "0 90 X\n", "point.txt", options, sink));
  EXPECT_EQ(sink.messages.back(),
            "Directional data file point.txt: The FWHM must be a number of degrees of at least 1e-06, not 1e-200.");
}

// --- memory and time bounded by the input ------------------------------------------

// How far the peak memory rises while `work` runs, in a child process so that
// earlier tests' high-water mark hides nothing; nothing when `work` fails.
template <class Work>
std::optional<long> PeakGrowthKb(Work work) {
  int fds[2];
  if (pipe(fds) != 0) return std::nullopt;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const bool ok = work();
    getrusage(RUSAGE_SELF, &after);
    const long growth = after.ru_maxrss - before.ru_maxrss;
    if (write(fds[1], &growth, sizeof growth) != sizeof growth) _exit(2);
    _exit(ok ? 0 : 1);
  }
  close(fds[1]);
  long growth = -1;
  const bool got = read(fds[0], &growth, sizeof growth) == sizeof growth;
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return growth;
}

TEST(BoundedByInput, DataAfterTheGridsValuesCostsNoMoreThanTheFile) {
#ifdef QUORIX_ADDRESS_SANITIZER
  GTEST_SKIP() << "the sanitizer's shadow memory and quarantine are not the reader's";
#endif
  // Eight values, then 24 MB more: as many short lines, or one long line.
  constexpr std::size_t kTail = 24u << 20;
  const auto grid = WriteTempFile("bounded.rst", "0 4\n45 4\n");
  std::string lines = "1 2 3 4\n5 6 7 8\n";
  lines.reserve(lines.size() + kTail);
  while (lines.size() < kTail) lines += "9\n";
  std::string oneLine = "1 2 3 4\n5 6 7 8 ";
  oneLine.reserve(oneLine.size() + kTail);
  while (oneLine.size() < kTail) oneLine += "9 ";
  for (const auto& [name, contents] : {std::pair{"lines.pol", &lines}, std::pair{"line.pol", &oneLine}}) {
    LoadRequest request;
    request.dataFile = WriteTempFile(name, *contents);
    request.gridFile = grid;
    const auto growth = PeakGrowthKb([&] {
      NullSink quiet;
      const auto pf = LoadPoleFigure(request, quiet);
      return pf && pf->Intensity[2][4] == 8;
    });
    ASSERT_TRUE(growth) << name << " did not load";
    // The text once, and a little: a list of lines or of tokens took 10 to 22 times the file.
    EXPECT_LT(*growth, static_cast<long>(3 * kTail / 1024)) << name;
  }
}

TEST(BoundedByInput, ConfigurationFileLargerThanOneMegabyteIsIgnoredWithAMessage) {
  const std::string keys = "[Contour]\ncolor1=255\n";
  const std::string large = WriteTempFile("large.ini", keys + std::string(kMaxIniFileSize, ';'));
  CollectingSink sink;
  bool exists = false;
  const IniFile ini = IniFile::Load(large, sink, &exists);
  EXPECT_TRUE(exists);  // dealt with: the caller goes on with the defaults
  EXPECT_FALSE(ini.HasKey("Contour", "color1"));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0],
            "The configuration file " + large + " is larger than 1 MB and was ignored; the defaults are used.");
  // Without a sink the file reads as unreadable, so a colour set is not written over it.
  EXPECT_FALSE(IniFile::Load(large, &exists).HasKey("Contour", "color1"));
  EXPECT_FALSE(exists);
  CollectingSink refusal;
  EXPECT_FALSE(SaveColorSet(large, DefaultContourColors(), 2, refusal));
  EXPECT_EQ(test::ReadFile(large).size(), keys.size() + kMaxIniFileSize);
  // At the cap the file still counts.
  const std::string atCap = keys + std::string(kMaxIniFileSize - keys.size(), ';');
  EXPECT_TRUE(IniFile::Load(WriteTempFile("cap.ini", atCap), sink, &exists).HasKey("Contour", "color1"));
  EXPECT_EQ(sink.messages.size(), 1u);
}

std::string XrdmlTemplate(std::size_t scanPadding) {
  std::string text = test::ReadFile(std::string(QUORIX_SOURCE_DIR) + "/tests/io/data/mixed_case_markers.xrdml");
  // A comment inside the scan, which is repeated for every circle.
  const std::size_t lineEnd = text.find('\n', text.find("<author>"));
  EXPECT_NE(lineEnd, std::string::npos);
  text.insert(lineEnd + 1, "<!--" + std::string(scanPadding, '-') + "-->\n");
  return text;
}

TEST(BoundedByInput, XrdmlTemplateIsCappedAndTheOutputNotHeldWhole) {
#ifdef QUORIX_ADDRESS_SANITIZER
  GTEST_SKIP() << "the sanitizer's shadow memory and quarantine are not the reader's";
#endif
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);  // 19 circles
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int k = 1; k <= 72; ++k) pf->Intensity[i][k] = k;
  const std::string out = (test::TempDir() / "bounded.xrdml").string();

  const std::string large = WriteTempFile("large.xrdml", XrdmlTemplate(kMaxXrdmlTemplateSize));
  CollectingSink sink;
  EXPECT_FALSE(WritePFXRDML(*pf, large, out, {}, sink));
  EXPECT_EQ(sink.messages, std::vector<std::string>{"The sample file " + large +
                                                    " is larger than 16 MB; an XRDML template is far smaller."});
  EXPECT_FALSE(std::filesystem::exists(out));

  // 2 MB repeated for 19 circles: 38 MB of output.
  constexpr std::size_t kPadding = 2u << 20;
  const std::string padded = WriteTempFile("padded.xrdml", XrdmlTemplate(kPadding));
  const auto growth = PeakGrowthKb([&] {
    NullSink quiet;
    return WritePFXRDML(*pf, padded, out, {}, quiet);
  });
  ASSERT_TRUE(growth);
  EXPECT_LT(*growth, static_cast<long>(4 * kPadding / 1024));
  EXPECT_GT(std::filesystem::file_size(out), 19 * kPadding);
}

}  // namespace
}  // namespace quorix
