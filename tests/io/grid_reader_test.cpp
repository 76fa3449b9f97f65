// Grid files: both layouts, mirror circles, and the grids that must be refused.
#include "io/grid_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace quorix {
namespace {

using test::WriteTempFile;

std::string Lines(int count, const std::string& line) {
  std::string s;
  for (int i = 0; i < count; ++i) s += line + "\n";
  return s;
}

TEST(SimpleGrid, ReadsAlphaAndPointsSkippingUnreadableLines) {
  const auto file = WriteTempFile("g.rst", "0 1\r\n\r\n  45 72  \r\nrubbish line\r\n50 0\r\n60 -3\r\n90 72");
  auto pf = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadSimpleGrid(*pf, file, sink));
  EXPECT_TRUE(sink.messages.empty());
  ASSERT_EQ(pf->CircleCount, 3);
  EXPECT_EQ(pf->CirclePoints[1], 1);
  EXPECT_DOUBLE_EQ(pf->BetaStep[1], 360);
  EXPECT_DOUBLE_EQ(pf->Alpha[2], 45);
  EXPECT_DOUBLE_EQ(pf->Alpha[3], 90);
  EXPECT_DOUBLE_EQ(pf->BetaStep[3], 5);
  EXPECT_DOUBLE_EQ(pf->BetaStart[3], 0);
  EXPECT_DOUBLE_EQ(pf->BetaRange, 360);  // 1 point x 360
  EXPECT_EQ(pf->InnerMirror, 0);
  EXPECT_EQ(pf->OuterMirror, 0);
}

TEST(SimpleGrid, MissingFileKeepsTheRecord) {
  auto pf = NewPoleFigure();
  pf->CircleCount = 7;
  CollectingSink sink;
  EXPECT_FALSE(ReadSimpleGrid(*pf, "/nonexistent/g.rst", sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "File /nonexistent/g.rst not found.");
  EXPECT_EQ(pf->CircleCount, 7);
}

TEST(SimpleGrid, LimitsOfTheRecord) {
  auto pf = NewPoleFigure();
  CollectingSink sink;
  EXPECT_TRUE(ReadSimpleGrid(*pf, WriteTempFile("182.rst", Lines(182, "10 721")), sink));
  EXPECT_EQ(pf->CircleCount, 182);
  EXPECT_EQ(pf->Intensity.Rows(), 184);
  EXPECT_EQ(pf->Intensity.Cols(), 723);

  pf->CircleCount = 5;
  const std::string manyCircles = WriteTempFile("183.rst", Lines(183, "10 72"));
  EXPECT_FALSE(ReadSimpleGrid(*pf, manyCircles, sink));
  EXPECT_EQ(sink.messages.back(), "Grid file " + manyCircles + ": more than 182 circles.");
  const std::string manyPoints = WriteTempFile("722.rst", "0 72\n10 722\n");
  EXPECT_FALSE(ReadSimpleGrid(*pf, manyPoints, sink));
  EXPECT_EQ(sink.messages.back(), "Grid file " + manyPoints + ": circle 2 has 722 points, more than 721.");
  EXPECT_FALSE(ReadSimpleGrid(*pf, WriteTempFile("empty.rst", ""), sink));
  EXPECT_EQ(pf->CircleCount, 5);  // untouched by every refusal
}

TEST(FullGrid, NegativeStepStartsAtLowestBeta) {
  const auto file = WriteTempFile("neg.grd", "comment\nI 0\nO 0\n10 0 5 72\n20 350 -5 72\n");
  auto pf = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadFullGrid(*pf, file, sink));
  ASSERT_EQ(pf->CircleCount, 2);
  EXPECT_DOUBLE_EQ(pf->BetaStart[2], 355);  // 350 - 355 + 360
  EXPECT_DOUBLE_EQ(pf->BetaStep[2], -5);    // reversed by the plain data reader
  EXPECT_EQ(pf->PointCount, 144);
  EXPECT_EQ(pf->InnerMirror, 1);  // "0" is not "I": switch on
  EXPECT_EQ(pf->OuterMirror, 1);
  EXPECT_DOUBLE_EQ(pf->Alpha[0], -10);
  EXPECT_DOUBLE_EQ(pf->BetaStart[0], 180);
  EXPECT_DOUBLE_EQ(pf->Alpha[3], 160);
  EXPECT_DOUBLE_EQ(pf->BetaStart[3], 535);
  EXPECT_EQ(pf->CirclePoints[3], 72);
}

TEST(FullGrid, SwitchValueIsTheCharacterAfterTheFirstBlank) {
  struct Case {
    const char* inner;
    int expected;
  } cases[] = {{"I I", 0}, {"i i", 0},     {"Inner I", 0},  {"I", 0},
               {"I ", 0},  {"Inner 1", 1}, {"Inner on", 1}, {"I yes", 1}};
  for (const auto& c : cases) {
    const auto file = WriteTempFile("sw.grd", std::string(c.inner) + "\nO I\n5 0 5 72\n10 0 5 72\n");
    auto pf = NewPoleFigure();
    CollectingSink sink;
    ASSERT_TRUE(ReadFullGrid(*pf, file, sink)) << c.inner;
    EXPECT_EQ(pf->InnerMirror, c.expected) << c.inner;
    EXPECT_EQ(pf->OuterMirror, 0) << c.inner;
  }
}

TEST(FullGrid, MirrorSwitchesWithoutEffectAtCentreAndRim) {
  const auto file = WriteTempFile("full.grd", "I 1\nO 1\n0 0 360 1\n45 0 5 72\n90 0 5 72\n");
  auto pf = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadFullGrid(*pf, file, sink));
  EXPECT_EQ(pf->InnerMirror, 0);
  EXPECT_EQ(pf->OuterMirror, 0);
  EXPECT_DOUBLE_EQ(pf->BetaRange, 360);
}

TEST(FullGrid, RefusedGridsLeaveTheRecordAsItWas) {
  const std::string header = "I 1\nO 1\n";
  struct Case {
    std::string contents;
    std::string expected;
  } cases[] = {
      {"I 1\n10 0 5 72\n", "ends before"},
      {"", "ends before"},
      {header + Lines(182, "10 0 5 72"), "more than 181 circles with the outer mirror"},
      {"I 1\nO I\n" + Lines(183, "10 0 5 72"), "more than 182 circles."},
      {header + "10 0 5 722\n", "circle 1 has 722 points, more than 721."},
      {header + "10 0 0 72\n", "beta step of 0"},
      {header + "10 0 0.45 72\n", "a full turn would need more than 721 points"},
      // The first circle that breaks a limit is named, whatever follows.
      {header + "10 0 5 72\n20 0 0 72\n30 0 5 9000000000\n", "circle 2 has a beta step of 0."},
      {header + "x y z w\n", "no circles"},
  };
  for (const auto& c : cases) {
    auto pf = NewPoleFigure();
    pf->CircleCount = 3;
    pf->Alpha[1] = 42;
    CollectingSink sink;
    const auto file = WriteTempFile("bad.grd", c.contents);
    EXPECT_FALSE(ReadFullGrid(*pf, file, sink)) << c.contents;
    ASSERT_EQ(sink.messages.size(), 1u) << c.contents;
    EXPECT_NE(sink.messages[0].find(c.expected), std::string::npos) << sink.messages[0];
    EXPECT_NE(sink.messages[0].find(file), std::string::npos) << sink.messages[0];
    EXPECT_EQ(pf->CircleCount, 3);
    EXPECT_DOUBLE_EQ(pf->Alpha[1], 42);
  }
  CollectingSink sink;
  auto pf = NewPoleFigure();
  EXPECT_FALSE(ReadFullGrid(*pf, "/nonexistent/x.grd", sink));
  EXPECT_EQ(sink.messages.at(0), "Cannot open /nonexistent/x.grd.");
}

TEST(FullGrid, AtTheLimits) {
  auto pf = NewPoleFigure();
  CollectingSink sink;
  EXPECT_TRUE(ReadFullGrid(*pf, WriteTempFile("90.grd", "I 1\nO 1\n" + Lines(90, "10 0 1 360")), sink));
  EXPECT_EQ(pf->CircleCount, 90);
  EXPECT_EQ(pf->OuterMirror, 1);
  EXPECT_TRUE(
      ReadFullGrid(*pf, WriteTempFile("91.grd", "I 1\nO 1\n" + Lines(90, "10 0 1 360") + "90 0 1 361\n"), sink));
  EXPECT_EQ(pf->CircleCount, 91);  // the rim circle gets no outer mirror
  EXPECT_EQ(pf->OuterMirror, 0);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(FullGrid, HugeNegativeStartEndsInRange) {
  auto pf = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadFullGrid(*pf, WriteTempFile("far.grd", "I I\nO I\n10 -1e300 5 72\n20 725 5 72\n"), sink));
  EXPECT_GE(pf->BetaStart[1], 0);
  EXPECT_LT(pf->BetaStart[1], 360);
  EXPECT_DOUBLE_EQ(pf->BetaStart[2], 5);
}

TEST(GridFileNames, EachRuleSelectsItsReaderAndDroppedFilesGoByExtension) {
  struct Case {
    const char* name;
    GridKind mainWindow, windowSlot;
  } cases[] = {{"a/grid5.rst", GridKind::Simple, GridKind::Simple},
               {"OFFSET.GRD", GridKind::Full, GridKind::Full},
               {"grid.txt", GridKind::Full, GridKind::Simple},
               {"x.rst.grd", GridKind::Simple, GridKind::Full}};
  for (const Case& c : cases) {
    EXPECT_EQ(GridKindOfName(c.name, GridRule::MainWindow), c.mainWindow) << c.name;
    EXPECT_EQ(GridKindOfName(c.name, GridRule::WindowSlot), c.windowSlot) << c.name;
  }
  auto pf = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadGridFile(*pf, test::ExamplePath("offset5.grd"), GridRule::WindowSlot, sink))
      << test::Joined(sink.messages);
  EXPECT_EQ(pf->Grid, GridKind::Full);
  EXPECT_TRUE(HasGridFileExtension("/d/Grid5.RST"));
  EXPECT_FALSE(HasGridFileExtension("grd.pol"));
}

}  // namespace
}  // namespace quorix
