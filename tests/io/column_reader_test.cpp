// Column lists: the grid from the alphas and betas, circles in any order and
// direction, and the files that do not make a grid.
#include "io/column_reader.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace quorix {
namespace {

// Circles at the given alphas, `points` betas from `start` by `step`, value alpha*1000 + k.
std::string Columns(std::initializer_list<double> alphas, int points, double start, double step) {
  std::string s = "sample name\n  alpha  beta  intensity\n";
  for (double a : alphas)
    for (int k = 0; k < points; ++k) s += fmt::format("{:10.3f}{:10.3f}{:10g}\n", a, start + k * step, a * 1000 + k);
  return s;
}

TEST(ColumnReader, GridFromAlphasAndBetas) {
  // Alphas falling as in the Juelich files; betas from 180 running past 360.
  const std::string text = Columns({10, 5, 0}, 36, 180, 10);
  ASSERT_TRUE(LooksLikeColumns(text));
  CollectingSink sink;
  const auto file = ReadColumnsText(text, "c.jul", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::Columns);
  ASSERT_EQ(file->poleFigures.size(), 1u);
  const auto& circles = file->poleFigures[0].circles;
  ASSERT_EQ(circles.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(circles[i].alpha, 5.0 * static_cast<double>(i));
    EXPECT_EQ(circles[i].betaStart, 180.0);
    EXPECT_EQ(circles[i].betaStep, 10.0);
    ASSERT_EQ(circles[i].values.size(), 36u);
    EXPECT_EQ(circles[i].values[20], circles[i].alpha * 1000 + 20);  // beta 20, past the turn
  }
}

TEST(ColumnReader, FallingBetasAndTheClosingPoint) {
  // Betas 360, 350 .. 0: reversed into increasing beta, the repeat at 0 dropped.
  std::string text;
  for (int k = 0; k <= 36; ++k) text += fmt::format("30 {} {}\n", 360 - 10 * k, k);
  CollectingSink sink;
  const auto file = ReadColumnsText(text, "f.txt", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  const auto& c = file->poleFigures[0].circles.at(0);
  EXPECT_EQ(c.betaStep, 10.0);
  ASSERT_EQ(c.values.size(), 36u);
  EXPECT_EQ(c.betaStart, 0.0);
  EXPECT_EQ(c.values[0], 36);  // beta 0
  EXPECT_EQ(c.values[35], 1);  // beta 350
}

TEST(ColumnReader, FilesThatMakeNoGridAreRefused) {
  struct Case {
    std::string text;
    const char* says;
  } cases[] = {
      {"0 0 1\n0 10 2\n0 25 3\n", "equal steps"},
      {"0 0 1\n0 0 2\n", "equal steps"},
      {"0 0 1\n0 10 2\n5 0 1\n0 20 3\n", "comes back"},
      {"0 0 1\n0 10 2\nfooter text\n", "line 3"},
      {"0 0 1\n0 10 inf\n", "line 2"},
      {"0 0 1\n0 10 2 4\n", "line 2"},
      {"95 0 1\n95 10 2\n", "outside 0 to 90"},
      {"header only\n", "no lines"},
      {"", "no lines"},
      {std::string(1 << 20, '9') + " 1 2\n", "no lines"},
  };
  std::string many;
  for (int k = 0; k < 800; ++k) many += fmt::format("0 {} 1\n", k * 0.5);
  cases[1] = {many, "more than once"};
  for (const auto& c : cases) {
    CollectingSink sink;
    EXPECT_FALSE(ReadColumnsText(c.text, "bad.jul", sink)) << c.says;
    ASSERT_EQ(sink.messages.size(), 1u) << c.says;
    EXPECT_NE(sink.messages[0].find("bad.jul"), std::string::npos) << sink.messages[0];
    EXPECT_NE(sink.messages[0].find(c.says), std::string::npos) << sink.messages[0];
  }
}

TEST(ColumnReader, DetectionLeavesOtherNumberFilesAlone) {
  EXPECT_TRUE(LooksLikeColumns(Columns({0, 5}, 72, 0, 5)));
  // A plain stream of three values a line, of zeros, or of six a line.
  EXPECT_FALSE(LooksLikeColumns("1 2 3\n4 5 6\n7 8 9\n10 11 12\n"));
  EXPECT_FALSE(LooksLikeColumns("0 0 0\n0 0 0\n0 0 0\n0 0 0\n"));
  EXPECT_FALSE(LooksLikeColumns("0 0 1 2 3 4\n0 5 1 2 3 4\n0 10 1 2 3 4\n"));
  // Alphas going back and forth are no circles.
  EXPECT_FALSE(LooksLikeColumns("0 0 1\n0 5 1\n5 0 1\n5 5 1\n0 10 1\n0 15 1\n"));
  EXPECT_FALSE(LooksLikeColumns("a\nb\nc\nd\ne\nf\n0 0 1\n0 5 1\n0 10 1\n"));
  EXPECT_FALSE(LooksLikeColumns(""));
}

TEST(ColumnReader, RealFile) {
  const std::string path = test::RealDataPath("juelich012.jul");
  if (path.empty()) GTEST_SKIP() << "shared real data not present";
  const std::string text = test::ReadFile(path);
  ASSERT_TRUE(LooksLikeColumns(text));
  CollectingSink sink;
  const auto file = ReadColumnsText(text, path, sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  const auto& circles = file->poleFigures.at(0).circles;
  ASSERT_EQ(circles.size(), 91u);
  EXPECT_EQ(circles.front().alpha, 0.0);
  EXPECT_EQ(circles.back().alpha, 90.0);
  // The centre circles hold 36 points by 10 degrees, the rest 360 by 1; all from 180.
  EXPECT_EQ(circles[0].values.size(), 36u);
  EXPECT_EQ(circles[0].betaStep, 10.0);
  EXPECT_EQ(circles[89].values.size(), 360u);
  EXPECT_EQ(circles[89].betaStep, 1.0);
  EXPECT_EQ(circles[45].betaStep, 3.0);
  for (const auto& c : circles) EXPECT_EQ(c.betaStart, 180.0) << c.alpha;
  // "0.000 180.000 -9", "0.000 190.000 -14", "89.000 181.000 -8", "89.000 0.000 -6", "45.000 183.000 -7"
  EXPECT_EQ(circles[0].values[0], -9);
  EXPECT_EQ(circles[0].values[1], -14);
  EXPECT_EQ(circles[89].values[1], -8);
  EXPECT_EQ(circles[89].values[180], -6);
  EXPECT_EQ(circles[45].values[1], -7);
}

}  // namespace
}  // namespace quorix
