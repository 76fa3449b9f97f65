// popLA files: fixed 4-character fields that may touch, the closing value at
// 360 degrees, several pole figures per file, and what a bad file gets.
#include "io/popla_reader.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace quorix {
namespace {

// A block of `circles` circles of `points` values (i*1000 + k), 18 to a
// line; with `closing`, the last line of each circle repeats its first value.
std::string Block(const std::string& hklField, int circles, int points, bool closing, const std::string& ranges) {
  std::string s = "comment line of " + hklField + "\n" + hklField + ranges + " 1 1 2-1 3  100    0\n";
  for (int i = 0; i < circles; ++i) {
    std::string line = " ";
    for (int k = 0; k < points; ++k) {
      line += fmt::format("{:4d}", (i * 1000 + k) % 10000);
      const bool lineFull = (k + 1) % 18 == 0 || k + 1 == points;
      if (lineFull) {
        if (k + 1 == points && closing) line += fmt::format("{:4d}", i * 1000);
        s += line + "\n";
        line = " ";
      }
    }
  }
  return s;
}

TEST(PoplaReader, FieldsThatTouchAndTheClosingValue) {
  // 10 circles of 72 points: 0..45 by 5, azimuths 0..355 by 5.
  const std::string text = Block("(111)", 10, 72, true, "  5.0 45.0  5.0360.0") + "\n" +
                           Block("(200)", 10, 72, false, "  5.0 45.0  5.0360.0");
  CollectingSink sink;
  const auto file = ReadPoplaText(text, "t.epf", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::Popla);
  ASSERT_EQ(file->poleFigures.size(), 2u);
  EXPECT_EQ(file->poleFigures[0].hkl, "1 1 1");
  EXPECT_EQ(file->poleFigures[1].name, "2 0 0");
  for (const auto& pf : file->poleFigures) {
    ASSERT_EQ(pf.circles.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
      const auto& c = pf.circles[i];
      EXPECT_DOUBLE_EQ(c.alpha, 5.0 * static_cast<double>(i));
      EXPECT_EQ(c.betaStart, 0.0);
      EXPECT_EQ(c.betaStep, 5.0);
      ASSERT_EQ(c.values.size(), 72u);
      // 4-digit values fill their field: 9071 sits right after 9070.
      EXPECT_EQ(c.values[71], static_cast<double>((i * 1000 + 71) % 10000));
    }
  }
  EXPECT_TRUE(LooksLikePopla(text));
}

TEST(PoplaReader, HalfStepShiftsAndCirclesBeyondTheHeaderRange) {
  // Tilts from 2.5, azimuths from 7.5 (switches 0); the block holds two more
  // circles than the range to 12.5 names: they are skipped.
  std::string text = "shifted\n(110)  5.0 12.5 15.0360.0 0 0 2 1 3  100    0\n";
  for (int i = 0; i < 5; ++i) {
    std::string line = " ";
    for (int k = 0; k < 24; ++k) {
      line += fmt::format("{:4d}", i * 100 + k);
      if (k == 17 || k == 23) {
        text += line + "\n";
        line = " ";
      }
    }
  }
  text += "\n" + Block(" 001 ", 1, 24, false, "  5.0  1.0 15.0360.0");
  CollectingSink sink;
  const auto file = ReadPoplaText(text, "s.epf", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  ASSERT_EQ(file->poleFigures.size(), 2u);
  const auto& pf = file->poleFigures[0];
  ASSERT_EQ(pf.circles.size(), 3u);
  EXPECT_EQ(pf.circles[0].alpha, 2.5);
  EXPECT_EQ(pf.circles[2].alpha, 12.5);
  EXPECT_EQ(pf.circles[1].betaStart, 7.5);
  EXPECT_EQ(pf.circles[2].values.at(23), 223);
  EXPECT_EQ(file->poleFigures[1].hkl, "0 0 1");
}

TEST(PoplaReader, BadFilesAreRefusedWithTheFileAndLine) {
  const std::string good = Block("(111)", 2, 18, false, "  5.0  5.0 20.0360.0");
  struct Case {
    std::string text;
    const char* says;
  } cases[] = {
      {"c\n(111)  5.0 xx.x  5.0360.0\n", "line 2"},
      {"c\n(111)  0.0 80.0  5.0360.0\n", "line 2"},
      {"c\n(111)  5.0 80.0  5.0360.0 7 1\n", "line 2"},
      {good.substr(0, good.size() - 20), "circle 2 ends"},
      {"c\n(111)  5.0  5.0 20.0360.0\n" + std::string(" ") + std::string(1 << 20, '7') + "\n", "more than 19"},
      {"c\n(111)  5.0  5.0 20.0360.0\n    1   2   x   4\n", "\"x\""},
      {"c\n(111)  5.0  5.0 20.0360.0\n    1   2 nan   4\n", "\"nan\""},
      // 36 points a circle: 19 values on its first line is no closing value.
      {"c\n(111)  5.0  5.0 10.0360.0\n" + std::string(" ") + std::string(4 * 19, '1') + "\n", "more values"},
      {"c\n(111)  5.0  5.0 20.0360.0\n" + std::string("\x01\xff\x7f garbage\0\0", 13) + "\n", "line 3"},
  };
  for (const auto& c : cases) {
    CollectingSink sink;
    EXPECT_FALSE(ReadPoplaText(c.text, "bad.epf", sink)) << c.says;
    ASSERT_EQ(sink.messages.size(), 1u) << c.says;
    EXPECT_NE(sink.messages[0].find("bad.epf"), std::string::npos) << sink.messages[0];
    EXPECT_NE(sink.messages[0].find(c.says), std::string::npos) << sink.messages[0];
  }
}

TEST(PoplaReader, DetectionWantsTheHeaderColumns) {
  EXPECT_TRUE(LooksLikePopla("x\n(100)  5.0 80.0  5.0360.0 1 1 2-1 3  100    2\n 1041 788\n"));
  EXPECT_TRUE(LooksLikePopla("\xEF\xBB\xBFMg\r\n 001   5.0 90.0  5.0360.0\r\n"));
  EXPECT_FALSE(LooksLikePopla("x\n   1  1  1  0.0 40.0  5.0  0.0360.0  5.0 1 1\n"));  // a Beartex block header
  EXPECT_FALSE(LooksLikePopla("x\n 1041 788 887 844 926 949 838 877 9291007\n"));
  EXPECT_FALSE(LooksLikePopla("(100)  5.0 80.0  5.0360.0\n"));
  EXPECT_FALSE(LooksLikePopla(""));
}

TEST(PoplaReader, RealFiles) {
  struct Case {
    const char* file;
    std::size_t count;
    const char* firstHkl;
    std::size_t circles;
    // circle (from 0), point (from 0), value as the file writes it
    std::size_t circle, point;
    double value;
  } cases[] = {{"popla.epf", 4, "1 0 3", 17, 1, 0, 40},
               {"popla_108.epf", 1, "1 0 0", 17, 0, 9, 1007},
               {"popla.GPF", 6, "0 0 1", 19, 0, 0, 0}};
  for (const auto& c : cases) {
    const std::string path = test::RealDataPath(c.file);
    if (path.empty()) GTEST_SKIP() << "shared real data not present";
    const std::string text = test::ReadFile(path);
    ASSERT_TRUE(LooksLikePopla(text)) << c.file;
    CollectingSink sink;
    const auto file = ReadPoplaText(text, path, sink);
    ASSERT_TRUE(file) << sink.messages.at(0);
    ASSERT_EQ(file->poleFigures.size(), c.count) << c.file;
    EXPECT_EQ(file->poleFigures[0].hkl, c.firstHkl) << c.file;
    for (const auto& pf : file->poleFigures) {
      ASSERT_EQ(pf.circles.size(), c.circles) << c.file;
      EXPECT_EQ(pf.circles.back().alpha, 5.0 * static_cast<double>(c.circles - 1));
      for (const auto& circle : pf.circles) ASSERT_EQ(circle.values.size(), 72u) << c.file;
    }
    EXPECT_EQ(file->poleFigures[0].circles[c.circle].values[c.point], c.value) << c.file;
  }
  // popla.epf: the 19th value of a circle's fourth line (33) is its 360-degree
  // point; the circle's own last value is 27.
  const std::string epf = test::RealDataPath("popla.epf");
  CollectingSink sink;
  const auto file = ReadPoplaText(test::ReadFile(epf), epf, sink);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->poleFigures[0].circles[0].values[71], 27);
  EXPECT_EQ(file->poleFigures[0].circles[0].values[0], 26);
  EXPECT_EQ(file->poleFigures[1].hkl, "1 1 0");
  EXPECT_EQ(file->poleFigures[1].circles[0].values[6], 5);
  // popla.GPF, pole figure 2 (100): the centre is 254 all round.
  const std::string gpf = test::RealDataPath("popla.GPF");
  const auto g = ReadPoplaText(test::ReadFile(gpf), gpf, sink);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->poleFigures[1].hkl, "1 0 0");
  EXPECT_EQ(g->poleFigures[1].circles[0].values[17], 254);
  EXPECT_EQ(g->poleFigures[5].name, "1 0 3");
}

}  // namespace
}  // namespace quorix
