// Adding pole figures: the checks of the add list, the weighted sum against
// hand-made further files, the fitted sum with missing points on either side,
// and files that cannot be added.
#include "transform/pf_add.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "io/load_pole_figure.h"
#include "test_support.h"

namespace quorix {
namespace {

// --- the add list ----------------------------------------------------------------

TEST(AddList, WeightsAreNormalisedToASumOfOne) {
  const std::vector<AddListRow> rows{{"1", "/d/a.pol", "1"}, {"3.0", "/d/b.pol", "2"}};
  AddListCheck c = CheckAddList(rows, true, true);
  ASSERT_TRUE(c.tables);
  EXPECT_EQ(c.tables->weights, (std::vector<float>{0.25f, 0.75f}));
  EXPECT_EQ(c.tables->indices, (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(c.tables->files, (std::vector<std::string>{"/d/a.pol", "/d/b.pol"}));

  c = CheckAddList({{"0.5", "/d/a.pol", "1"}, {"0.5", "/d/b.pol", "1"}}, true, true);
  EXPECT_EQ(c.tables->weights, (std::vector<float>{0.5f, 0.5f}));
  c = CheckAddList({{"1", "/d/a.pol", "1"}, {"-1", "/d/b.pol", "1"}}, true, true);
  EXPECT_FALSE(c.tables);
  EXPECT_EQ(c.message, "The weights sum to 0 and cannot be normalized to 1.0.");
}

TEST(AddList, ChecksInOrderNamingTheLine) {
  AddListCheck c = CheckAddList({{"1.0", "", ""}}, true, true);
  EXPECT_EQ(c.message, "Error in file list!");
  EXPECT_EQ(c.line, 0);

  c = CheckAddList({{"1.0", "/d/a.pol", ""}, {"x", "/d/b.pol", ""}}, true, true);
  EXPECT_EQ(c.message, "weight in line 2 is not correct");
  EXPECT_EQ(c.line, 2);

  c = CheckAddList({{"1.0", "/d/a.pol", ""}}, true, true);
  EXPECT_EQ(c.message, "PF index in line 1 is not correct");
  EXPECT_EQ(c.line, 1);
  for (const char* bad : {"1.5", "256", "-1"}) {
    c = CheckAddList({{"1.0", "/d/a.pol", "1"}, {"1.0", "/d/b.pol", bad}}, true, true);
    EXPECT_EQ(c.message, "PF index in line 2 is not correct") << bad;
  }
  c = CheckAddList({{"1e39", "/d/a.pol", "1"}}, true, false);  // beyond single precision
  EXPECT_EQ(c.message, "weight in line 1 is not correct");

  // The fitted sum has no weights to check.
  c = CheckAddList({{"1.0", "/d/a.pol", "1"}, {"", "/d/b.pol", "3"}}, false, true);
  ASSERT_TRUE(c.tables) << c.message;
  EXPECT_TRUE(c.tables->weights.empty());
}

// --- the sums ------------------------------------------------------------------------

std::string Grid() { return test::ExamplePath("grid5.rst"); }

std::unique_ptr<PoleFigure> Copper() { return test::LoadExample("copper111.pol"); }

// A plain file on grid5.rst holding f(value of copper, circle, point), and
// -1 where copper has no value.
template <class F>
std::string Derived(const std::string& name, const PoleFigure& copper, F f) {
  std::string text;
  for (int i = 1; i <= copper.CircleCount; ++i)
    for (int j = 1; j <= copper.CirclePoints[i]; ++j) {
      const double v = copper.Intensity[i][j];
      text += fmt::format("{}\n", v == kMissing ? kMissing : f(v, i, j));
    }
  return test::WriteTempFile(name, text);
}

bool SameIntensities(const PoleFigure& a, const PoleFigure& b) { return a.Intensity == b.Intensity; }

TEST(WeightedAdd, NormalisedSumIsInMrdAndMissingAnywhereIsMissing) {
  auto pf1 = Copper();
  const auto copper = Copper();
  // Five times copper is copper again in m.r.d.
  const std::string scaled = Derived("scaled.pol", *copper, [](double v, int, int) { return 5 * v; });
  CollectingSink sink;
  ASSERT_TRUE(WeightedAddPF(*pf1, Grid(), true, {0.25f, 0.75f}, {1, 1}, {copper->FileName, scaled}, sink));
  for (int i = 1; i <= pf1->CircleCount; ++i)
    for (int j = 1; j <= pf1->CirclePoints[i]; ++j) {
      const double v = copper->Intensity[i][j];
      ASSERT_NEAR(pf1->Intensity[i][j], v == kMissing ? kMissing : v / copper->NormFactor, 1e-9) << i << "," << j;
    }
  EXPECT_NEAR(pf1->NormFactor, 1, 1e-9);

  auto pf2 = Copper();
  pf2->Intensity[2][2] = -1;
  const std::string gap =
      Derived("gap.pol", *copper, [](double v, int i, int j) { return i == 7 && j == 10 ? -1 : 2 * v; });
  ASSERT_TRUE(WeightedAddPF(*pf2, Grid(), false, {1.0f, 3.0f}, {1, 1}, {copper->FileName, gap}, sink));
  EXPECT_EQ(pf2->Intensity[2][2], -1);
  EXPECT_EQ(pf2->Intensity[7][10], -1);
  EXPECT_DOUBLE_EQ(pf2->Intensity[8][11], 7 * copper->Intensity[8][11]);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(WeightedAdd, OnlyTheFirstLineScalesPF1) {
  auto pf1 = Copper();
  const auto copper = Copper();
  CollectingSink sink;
  ASSERT_TRUE(WeightedAddPF(*pf1, Grid(), true, {2.0f}, {0}, {copper->FileName}, sink));
  EXPECT_NEAR(pf1->Intensity[5][5], 2 * copper->Intensity[5][5] / copper->NormFactor, 1e-12);
  EXPECT_NEAR(pf1->NormFactor, 2, 1e-9);
}

TEST(WeightedAdd, APoleFigureWithoutPositiveMeanIsLeftOutWhenNormalising) {
  const auto copper = Copper();
  // A difference averaging to a rounding error, one below zero, one of zeros.
  const std::string difference =
      Derived("difference.pol", *copper, [](double v, int, int) { return v - v * (1 + 1e-15); });
  const std::string negative = Derived("negative.pol", *copper, [](double v, int, int) { return -5 - v; });
  const std::string zeros = Derived("zeros.pol", *copper, [](double, int, int) { return 0; });
  auto pf1 = Copper();
  CollectingSink sink;
  ASSERT_TRUE(WeightedAddPF(*pf1, Grid(), true, {0.25f, 0.25f, 0.25f, 0.25f}, {1, 1, 1, 1},
                            {copper->FileName, difference, negative, zeros}, sink));
  ASSERT_EQ(sink.messages.size(), 3u);
  const std::string leftOut[] = {difference, negative, zeros};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_NE(sink.messages[k].find(leftOut[k]), std::string::npos) << sink.messages[k];
    EXPECT_NE(sink.messages[k].find("cannot be normalized; it was not added."), std::string::npos) << sink.messages[k];
  }
  // What is left is copper alone in m.r.d., weighted by its quarter.
  EXPECT_NEAR(pf1->Intensity[5][5], 0.25 * copper->Intensity[5][5] / copper->NormFactor, 1e-9);
  EXPECT_LE(pf1->MinValue, pf1->MaxValue);

  // The pole figure in memory is left out the same way; the others still add up.
  auto diff = Copper();
  for (int i = 1; i <= diff->CircleCount; ++i)
    for (int j = 1; j <= diff->CirclePoints[i]; ++j)
      if (diff->Intensity[i][j] != kMissing) diff->Intensity[i][j] = 0;
  CollectingSink sink2;
  ASSERT_TRUE(WeightedAddPF(*diff, Grid(), true, {0.5f, 0.5f}, {1, 1}, {copper->FileName, copper->FileName}, sink2));
  ASSERT_EQ(sink2.messages.size(), 1u);
  EXPECT_NEAR(diff->Intensity[5][5], 0.5 * copper->Intensity[5][5] / copper->NormFactor, 1e-9);
}

TEST(FittedAdd, TwiceTheMainPoleFigureLeavesItUnchanged) {
  auto pf1 = Copper();
  const auto copper = Copper();
  const std::string twice = Derived("twice.pol", *copper, [](double v, int, int) { return 2 * v; });
  CollectingSink sink;
  ASSERT_TRUE(FittedAddPF(*pf1, Grid(), {copper->FileName, twice}, {1, 1}, sink));
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_TRUE(SameIntensities(*pf1, *copper));
}

TEST(FittedAdd, MissingPointsAreFilledFromTheOtherSideOrKept) {
  auto pf1 = Copper();
  const auto copper = Copper();
  pf1->Intensity[5][3] = -1;  // missing in the main pole figure only
  const std::string twice =
      Derived("gaps.pol", *copper, [](double v, int i, int j) { return i == 7 && j == 10 ? -1 : 2 * v; });
  CollectingSink sink;
  ASSERT_TRUE(FittedAddPF(*pf1, Grid(), {copper->FileName, twice}, {1, 1}, sink));
  EXPECT_DOUBLE_EQ(pf1->Intensity[5][3], copper->Intensity[5][3]);  // 2v scaled by 1/2
  EXPECT_EQ(pf1->Intensity[7][10], copper->Intensity[7][10]);
  EXPECT_DOUBLE_EQ(pf1->Intensity[9][9], copper->Intensity[9][9]);
}

TEST(FittedAdd, AFileWithoutCommonPointsIsLeftOut) {
  auto pf1 = Copper();
  const auto copper = Copper();
  const std::string empty = Derived("empty.pol", *copper, [](double, int, int) { return -1; });
  const std::string zeros = Derived("zeros.pol", *copper, [](double, int, int) { return 0; });
  CollectingSink sink;
  ASSERT_TRUE(FittedAddPF(*pf1, Grid(), {copper->FileName, empty, zeros}, {1, 1, 1}, sink));
  EXPECT_TRUE(SameIntensities(*pf1, *copper));
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0],
            "Data file " + empty + " has no point with a value where the main pole figure has one; it was not added.");
  EXPECT_EQ(sink.messages[1],
            "Data file " + zeros + " sums to 0 over the points it shares with the main pole figure; it was not added.");
}

// After a weighted sum the record is no pole figure of its first file: a
// save-all prefill or RP log must not take the first file's reflection for it.
TEST(WeightedAdd, TheSumForgetsItsPlaceInTheFirstFile) {
  LoadRequest request;
  request.dataFile = test::ExamplePath("copper.epf");
  request.pfIndex = 2;
  NullSink quiet;
  auto pf1 = LoadPoleFigure(request, quiet);
  ASSERT_TRUE(pf1);
  ASSERT_EQ(pf1->IndexInFile, 2);
  ASSERT_FALSE(pf1->Hkl.empty());
  CollectingSink sink;
  ASSERT_TRUE(WeightedAddPF(*pf1, "", true, {1, 1}, {2, 1}, {request.dataFile, request.dataFile}, sink))
      << test::Joined(sink.messages);
  EXPECT_EQ(pf1->IndexInFile, 0);
  EXPECT_EQ(pf1->NameInFile, "");
  EXPECT_EQ(pf1->Hkl, "");
  EXPECT_EQ(pf1->CommentInFile, "");
}

TEST(AddPoleFigures, AFileThatCannotBeAddedLeavesPF1AsItWas) {
  const auto copper = Copper();
  const std::string twice = Derived("twice.pol", *copper, [](double v, int, int) { return 2 * v; });
  const std::string missing = (test::TempDir() / "missing.pol").string();
  const std::string shortFile = test::WriteTempFile("short.pol", "1 2 3\n");
  for (bool weighted : {true, false}) {
    for (const std::string& bad : {missing, shortFile, test::ExamplePath("copper111_centre.pol")}) {
      auto pf1 = Copper();
      CollectingSink sink;
      const std::vector<std::string> files{copper->FileName, twice, bad};
      const bool ok = weighted ? WeightedAddPF(*pf1, Grid(), true, {1, 1, 1}, {1, 1, 1}, files, sink)
                               : FittedAddPF(*pf1, Grid(), files, {1, 1, 1}, sink);
      EXPECT_FALSE(ok) << bad;
      EXPECT_TRUE(SameIntensities(*pf1, *copper)) << bad;
      ASSERT_FALSE(sink.messages.empty());
    }
  }
  // The same file on another grid is refused by name.
  auto pf1 = Copper();
  CollectingSink sink;
  EXPECT_FALSE(FittedAddPF(*pf1, test::ExamplePath("grid5_centre.rst"),
                           {copper->FileName, test::ExamplePath("copper111_centre.pol")}, {1, 1}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find("copper111_centre.pol"), std::string::npos);
  EXPECT_NE(sink.messages[0].find("does not lie on the grid of the main pole figure"), std::string::npos);
}

// A file that gives no tilts is added on the tilts the main one was loaded
// with; without them it is refused and the sum left alone. A file with its own
// grid that differs is refused without naming a grid file it never had.
TEST(AddPoleFigures, FurtherFilesWithoutTiltsTakeTheGivenOnes) {
  const std::string txt = test::ExamplePath("copper_scan.txt");
  LoadRequest request;
  request.dataFile = txt;
  request.measurement.tiltStart = 0;
  request.measurement.tiltStep = 5;
  NullSink quiet;
  const auto main = LoadPoleFigure(request, quiet);
  ASSERT_TRUE(main);
  for (bool weighted : {true, false}) {
    auto sum = std::make_unique<PoleFigure>(*main);
    CollectingSink sink;
    const std::vector<std::string> files{txt, txt};
    const bool ok = weighted ? WeightedAddPF(*sum, "", false, {1, 1}, {1, 1}, files, sink, request.measurement)
                             : FittedAddPF(*sum, "", files, {1, 1}, sink, request.measurement);
    ASSERT_TRUE(ok) << test::Joined(sink.messages);
    EXPECT_DOUBLE_EQ(sum->Intensity[3][7], (weighted ? 2 : 1) * main->Intensity[3][7]);

    sum = std::make_unique<PoleFigure>(*main);
    sink.messages.clear();
    EXPECT_FALSE(weighted ? WeightedAddPF(*sum, "", false, {1, 1}, {1, 1}, files, sink)
                          : FittedAddPF(*sum, "", files, {1, 1}, sink));
    EXPECT_TRUE(SameIntensities(*sum, *main));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].find("tilts"), std::string::npos) << sink.messages[0];
  }
  auto sum = std::make_unique<PoleFigure>(*main);
  CollectingSink sink;
  EXPECT_FALSE(FittedAddPF(*sum, "", {txt, test::ExamplePath("copper_scan.uxd")}, {1, 1}, sink, request.measurement));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].find("on grid"), std::string::npos) << sink.messages[0];
}

}  // namespace
}  // namespace quorix
