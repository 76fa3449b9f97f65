// The three data layouts read onto a grid: counts, order, rim and mirror rules,
// and the files that must be refused.
#include "io/data_reader.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "io/grid_reader.h"
#include "test_support.h"

namespace quorix {
namespace {

using test::WriteTempFile;

using test::GridFromText;

std::string Values(int from, int count, int perLine) {
  std::string s;
  for (int k = 0; k < count; ++k) s += fmt::format("{}{}", from + k, (k + 1) % perLine == 0 ? "\n" : " ");
  return s;
}

bool Read(PoleFigure& pf, const std::string& file, DataLayout layout, CollectingSink& sink, int index = 1) {
  return test::ReadData(pf, file, layout, sink, index);
}

// A hash-list block: header, five lines, the data lines (18 four-character
// fields after one ignored character), a closing blank line.
std::string HashBlock(const std::string& name, int circles, int points, int base) {
  std::string s = fmt::format("{:<60}#\n\n\n\n\n lattice line\n{:<10} rest\n", "Header " + name, name);
  for (int i = 0; i < circles; ++i) {
    for (int j = 0; j < points; j += 18) {
      s += "x";
      for (int q = j; q < std::min(points, j + 18); ++q) s += fmt::format("{:4d}", base + i);
      s += "\n";
    }
  }
  return s + "\n";
}

TEST(PlainData, HeaderLinesAreSkippedOnlyWhenTheFirstItemIsText) {
  auto pf = GridFromText("g.rst", "0 4\n45 4\n80 4\n");
  CollectingSink sink;
  ASSERT_TRUE(Read(*pf, WriteTempFile("h.pol", "Sample 12 3\n1 2 3 is also header\n" + Values(1, 12, 5)),
                   DataLayout::Plain, sink));
  EXPECT_DOUBLE_EQ(pf->Intensity[1][1], 1);
  EXPECT_DOUBLE_EQ(pf->Intensity[2][4], 8);
  ASSERT_TRUE(Read(*pf, WriteTempFile("n.pol", Values(101, 12, 7)), DataLayout::Plain, sink));
  EXPECT_DOUBLE_EQ(pf->Intensity[1][1], 101);
  EXPECT_DOUBLE_EQ(pf->Intensity[3][1], 109);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(pf->PointCount, 12);
}

TEST(PlainData, ValuesAfterTheGridAreIgnoredButNotSilently) {
  auto pf = GridFromText("g.rst", "0 4\n45 4\n");
  CollectingSink sink;
  const std::string path = WriteTempFile("more.pol", Values(1, 8, 8) + "9 10 zz\n11\n");
  EXPECT_TRUE(Read(*pf, path, DataLayout::Plain, sink));
  ASSERT_EQ(sink.problems.size(), 1u);
  EXPECT_EQ(sink.problems[0].file, path);
  EXPECT_EQ(sink.problems[0].severity, Severity::Warning);
  EXPECT_EQ(sink.problems[0].what, "11 values, but the grid has 8 points; the rest was ignored.");
  EXPECT_DOUBLE_EQ(pf->Intensity[2][4], 8);
  // Exactly as many values as points, and text after them, say nothing.
  CollectingSink quiet;
  EXPECT_TRUE(Read(*pf, WriteTempFile("exact.pol", Values(1, 8, 8) + "end\n"), DataLayout::Plain, quiet));
  EXPECT_TRUE(quiet.messages.empty());
}

TEST(HashListData, CirclesBeyondTheBlocksTiltRangeAreMissing) {
  // Blocks of 19 circles whose headers say "0.0 40.0": circles 10..19 were never measured.
  auto pf = GridFromText("g5.rst", [] {
    std::string g;
    for (int i = 0; i <= 18; ++i) g += fmt::format("{} 72\n", 5 * i);
    return g;
  }());
  std::string file =
      fmt::format("{:<79}#\n\n\n\n\n lattice\n   1  1  1  0.0 40.0  5.0  0.0360.0  5.0 1 1\n", "Copper 111");
  for (int i = 0; i < 19; ++i)
    for (int line = 0; line < 4; ++line) {
      std::string l = " ";
      for (int k = 0; k < 18; ++k) l += fmt::format("{:4d}", i + 1);
      file += l + "\n";
    }
  CollectingSink sink;
  ASSERT_TRUE(Read(*pf, WriteTempFile("range.xpe", file), DataLayout::Beartex, sink)) << sink.messages.at(0);
  EXPECT_DOUBLE_EQ(pf->Intensity[9][72], 9);  // alpha 40
  for (int i = 10; i <= 19; ++i) EXPECT_EQ(pf->Intensity[i][1], kMissing) << i;
  EXPECT_DOUBLE_EQ(pf->MaxValue, 9);
}

TEST(PlainData, LineEndsAndFinalLineEndReadAlike) {
  const std::string body = "1 2\t3\n4 5 6\n7 8";
  for (const std::string& text : {body, body + "\n", body + "\r\n", std::string("1 2\t3\r\n4 5 6\r\n7 8\r\n"),
                                  std::string("1 2\t3\r4 5 6\r7 8"), std::string("\xEF\xBB\xBF") + body}) {
    auto pf = GridFromText("g.rst", "0 4\n45 4\n");
    CollectingSink sink;
    ASSERT_TRUE(Read(*pf, WriteTempFile("le.pol", text), DataLayout::Plain, sink)) << sink.messages.at(0);
    EXPECT_DOUBLE_EQ(pf->Intensity[2][4], 8);
  }
}

TEST(PlainData, CountAndNumberErrors) {
  auto pf = GridFromText("g.rst", "0 4\n45 4\n");
  CollectingSink sink;
  EXPECT_FALSE(Read(*pf, WriteTempFile("short.pol", Values(1, 7, 4)), DataLayout::Plain, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "Expected 8 data, found 7.");

  for (const char* bad : {"abc", "1e999", "nan", "inf", "-inf", "1.5.2", "+-3"}) {
    sink.messages.clear();
    EXPECT_FALSE(Read(*pf, WriteTempFile("bad.pol", fmt::format("1 2 3 {} 5 6 7 8\n", bad)), DataLayout::Plain, sink))
        << bad;
    ASSERT_EQ(sink.messages.size(), 2u) << bad;
    EXPECT_EQ(sink.messages[0], "Error in data file or unexpected end.");
    EXPECT_EQ(sink.messages[1], "Expected 8 data, found 3.");
  }
  sink.messages.clear();
  EXPECT_TRUE(Read(*pf, WriteTempFile("signs.pol", "+1 -0 1e2 .5 5. -1 7E-1 8\n"), DataLayout::Plain, sink));
  EXPECT_DOUBLE_EQ(pf->Intensity[1][1], 1);
  EXPECT_DOUBLE_EQ(pf->Intensity[1][3], 100);
  EXPECT_DOUBLE_EQ(pf->Intensity[2][2], -1);
}

TEST(PlainData, NegativeStepCircleIsStoredLastPointFirst) {
  auto pf = GridFromText("neg.grd", "I I\nO I\n10 0 90 4\n20 350 -5 72\n");
  CollectingSink sink;
  ASSERT_TRUE(
      Read(*pf, WriteTempFile("neg.pol", Values(1, 4, 10) + "\n" + Values(1001, 72, 9)), DataLayout::Plain, sink));
  EXPECT_DOUBLE_EQ(pf->BetaStep[2], 5);
  EXPECT_DOUBLE_EQ(pf->BetaStart[2], 355);
  // The first value was measured at beta 350, which is now point 72 (355 + 355).
  EXPECT_DOUBLE_EQ(pf->Intensity[2][72], 1001);
  EXPECT_DOUBLE_EQ(pf->Intensity[2][1], 1072);
  EXPECT_DOUBLE_EQ(pf->Intensity[1][4], 4);
}

TEST(DataRules, RimPointsAreAveragedAndMirrorsCopied) {
  auto pf = GridFromText("rim.grd", "I 1\nO 1\n45 0 5 72\n90 0 5 72\n");
  std::string rim;
  for (int k = 1; k <= 72; ++k) {
    double v = k;
    if (k == 3) v = -1;   // missing: takes its opposite
    if (k == 40) v = -1;  // missing opposite of 4
    rim += fmt::format("{} ", v);
  }
  CollectingSink sink;
  ASSERT_TRUE(Read(*pf, WriteTempFile("rim.pol", Values(500, 72, 12) + rim), DataLayout::Plain, sink));
  EXPECT_EQ(pf->OuterMirror, 0);
  EXPECT_EQ(pf->InnerMirror, 1);
  for (int k = 1; k <= 36; ++k) EXPECT_DOUBLE_EQ(pf->Intensity[2][k], pf->Intensity[2][k + 36]) << k;
  EXPECT_DOUBLE_EQ(pf->Intensity[2][1], (1 + 37) / 2.0);
  EXPECT_DOUBLE_EQ(pf->Intensity[2][3], 39);
  EXPECT_DOUBLE_EQ(pf->Intensity[2][4], 4);
  for (int k = 1; k <= 72; ++k) EXPECT_DOUBLE_EQ(pf->Intensity[0][k], pf->Intensity[1][k]);
  EXPECT_DOUBLE_EQ(pf->MaxValue, 571);
  EXPECT_EQ(pf->MaxCircle, 1);
}

TEST(DataRules, OuterMirrorCopiesTheLastCircle) {
  auto pf = GridFromText("m.grd", "I 1\nO 1\n40 0 90 4\n80 45 90 4\n");
  CollectingSink sink;
  ASSERT_TRUE(Read(*pf, WriteTempFile("m.pol", Values(1, 8, 8)), DataLayout::Plain, sink));
  for (int k = 1; k <= 4; ++k) EXPECT_DOUBLE_EQ(pf->Intensity[3][k], pf->Intensity[2][k]);
  EXPECT_DOUBLE_EQ(pf->Alpha[3], 100);
}

TEST(HashList, ThirdPoleFigureStartsOnLine176) {
  auto pf = GridFromText("g.rst", "0 72\n5 72\n90 72\n");
  // 19 circles of 72 points would need 84-line blocks; here the grid has 3
  // circles, so each block is padded to 84 lines.
  std::string file;
  for (int b = 0; b < 3; ++b) {
    std::string block = HashBlock(fmt::format("pf{}", b + 1), 3, 72, 100 * (b + 1));
    int lines = 0;
    for (char c : block) lines += c == '\n';
    for (; lines < 84; ++lines) block += "\n";
    file += block;
  }
  const auto path = WriteTempFile("three.xpe", file);
  CollectingSink sink;
  ASSERT_TRUE(Read(*pf, path, DataLayout::Beartex, sink, -3)) << sink.messages.at(0);
  EXPECT_DOUBLE_EQ(pf->Intensity[1][1], 300);
  EXPECT_DOUBLE_EQ(pf->Intensity[3][72], 302);
  // Line 176 is the first data line of block 3.
  std::vector<std::string> lines;
  std::size_t pos = 0;
  for (std::size_t next; (next = file.find('\n', pos)) != std::string::npos; pos = next + 1)
    lines.push_back(file.substr(pos, next - pos));
  EXPECT_EQ(lines.at(175).substr(0, 9), "x 300 300");

  EXPECT_FALSE(Read(*pf, path, DataLayout::Beartex, sink, 5));
  EXPECT_NE(sink.messages.back().find("pole figure 5 lies beyond the end"), std::string::npos);
}

TEST(HashList, FieldsBlanksAndEmptyLines) {
  auto pf = GridFromText("g.rst", "0 19\n90 19\n");
  // Circle 1 over two lines (the second one holding a blank field and a short
  // last field), circle 2 with an empty line for its first value.
  std::string file = "head #\n\n\n\n\n\nname\n";
  file += "x   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  17  18\n";
  file += "x  19\n";
  file += "\n";
  file += "x   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  17  18  19    \n";
  CollectingSink sink;
  ASSERT_TRUE(Read(*pf, WriteTempFile("f.xpe", file), DataLayout::Beartex, sink)) << sink.messages.at(0);
  EXPECT_DOUBLE_EQ(pf->Intensity[1][19], 19);
  EXPECT_DOUBLE_EQ(pf->Intensity[2][1], 0);  // the empty line
  EXPECT_DOUBLE_EQ(pf->Intensity[2][19], 19);
}

TEST(HashList, RefusedFiles) {
  const std::string head = "head #\n\n\n\n\n\nname\n";
  struct Case {
    std::string grid, data, expected;
  } cases[] = {
      {"0 36\n", head + "x   1\n", "19, 25, 37 or 72 points, not 36"},
      {"0 19\n", head + "x" + std::string(19 * 4, ' ') + "   5\n", "more values than circle 1 has points"},
      {"0 19\n90 19\n", head + "x   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16  17  18  19\n",
       "Expected 38 data, found 19."},
      {"0 19\n", head + "x   1 nan\n", "\"nan\" is not a number"},
      {"0 19\n", head + "x   1   2\n", "Expected 19 data, found 2."},
  };
  for (const auto& c : cases) {
    auto pf = GridFromText("g.rst", c.grid);
    CollectingSink sink;
    EXPECT_FALSE(Read(*pf, WriteTempFile("bad.xpe", c.data), DataLayout::Beartex, sink)) << c.data;
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_NE(sink.messages.back().find(c.expected), std::string::npos) << sink.messages.back();
  }
}

std::string WkoFile(int figures, int circles, int points) {
  const int m = circles * points;
  const int l = static_cast<int>(std::nearbyint(m / 10.0 + 0.5));
  std::string s = "title\nsecond\n" + fmt::format("{:3d}\n", figures) + "\n";
  for (int f = 0; f < figures; ++f) {
    s += fmt::format("{:<9}{:4d}{:4d}\n", fmt::format("PF {}", f + 1), circles - 1, points);
    s += " WKO = 1\n third\n";
    for (int k = 0; k < m; k += 10) {
      for (int q = k; q < std::min(m, k + 10); ++q) s += fmt::format("{:7.1f}", 1000.0 * (f + 1) + q);
      s += "\n";
    }
    for (int extra = (m + 9) / 10; extra < l; ++extra) s += "\n";
    s += " end\n\n";
  }
  return s;
}

TEST(WkoList, ValuesRunAcrossCirclesAndBlocks) {
  auto pf = GridFromText("g.rst", "0 12\n45 12\n80 12\n");  // M = 36, L = 4
  const auto path = WriteTempFile("two.wko", WkoFile(2, 3, 12));
  CollectingSink sink;
  ASSERT_TRUE(Read(*pf, path, DataLayout::Geesthacht, sink, 2)) << sink.messages.at(0);
  EXPECT_DOUBLE_EQ(pf->Intensity[1][1], 2000);
  EXPECT_DOUBLE_EQ(pf->Intensity[2][1], 2012);  // starts mid-line
  EXPECT_DOUBLE_EQ(pf->Intensity[3][12], 2035);
  ASSERT_TRUE(Read(*pf, path, DataLayout::Geesthacht, sink, 1));
  EXPECT_DOUBLE_EQ(pf->Intensity[3][12], 1035);
}

TEST(WkoList, RefusedFiles) {
  auto pf = GridFromText("g.rst", "0 12\n45 12\n");
  CollectingSink sink;
  // The file describes 3 circles; the grid has 2, so values run past it.
  EXPECT_FALSE(Read(*pf, WriteTempFile("over.wko", WkoFile(1, 3, 12)), DataLayout::Geesthacht, sink));
  EXPECT_NE(sink.messages.back().find("more values than the grid"), std::string::npos);
  EXPECT_FALSE(
      Read(*pf, WriteTempFile("hdr.wko", "a\nb\n  1\n\nname     abcd  12\n WKO =\n"), DataLayout::Geesthacht, sink));
  EXPECT_NE(sink.messages.back().find("line 5"), std::string::npos);
  EXPECT_FALSE(Read(*pf, WriteTempFile("short.wko", "a\nb\n"), DataLayout::Geesthacht, sink));
  EXPECT_NE(sink.messages.back().find("short.wko"), std::string::npos);
}

TEST(DataRules, NoGridMeansNoRead) {
  auto pf = NewPoleFigure();
  CollectingSink sink;
  EXPECT_FALSE(Read(*pf, WriteTempFile("x.pol", "1 2 3\n"), DataLayout::Plain, sink));
  EXPECT_EQ(sink.messages.size(), 1u);
}

}  // namespace
}  // namespace quorix
