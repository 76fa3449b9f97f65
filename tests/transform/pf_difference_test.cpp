// Difference and RP distribution: Eps, the m.r.d. arithmetic at single
// points, missing values, the proposed names, the result files and the RP log.
#include "transform/pf_difference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "base/text_file.h"
#include "test_support.h"

namespace quorix {
namespace {

std::unique_ptr<PoleFigure> Uniform(double value, double normFactor, const std::string& name) {
  auto pf = test::RegularGrid(30, 12, value);
  pf->NormFactor = normFactor;
  pf->FileName = name;
  return pf;
}

TEST(PFDifference, EpsBelowOneHundredthIsHalfOfIt) {
  EXPECT_EQ(EffectiveEps(0), 0.005);
  EXPECT_EQ(EffectiveEps(0.009), 0.005);
  EXPECT_EQ(EffectiveEps(-2), 0.005);
  EXPECT_EQ(EffectiveEps(0.01), 0.01);
  EXPECT_FALSE(StepEps("0,5", true));
}

TEST(PFDifference, PointsInMrdWithMissingValuesOnEitherSide) {
  // PF1 is 2 m.r.d. everywhere (raw 4, norm 2), PF2 1.5 (raw 3, norm 2).
  auto pf1 = Uniform(4, 2, "/d/a.pol");
  auto pf2 = Uniform(3, 2, "/d/b.pol");
  pf1->Intensity[2][1] = 0;  // 0 m.r.d. against 0.4
  pf2->Intensity[2][1] = 0.8;
  pf2->Intensity[2][2] = -1;     // PF2 has no value
  pf1->Intensity[2][3] = -1;     // PF1 has no value
  pf1->Intensity[2][4] = 0.016;  // 0.008 m.r.d.: above Eps 0.005 only
  CollectingSink sink;

  auto r = ComparePoleFigures(*pf1, *pf2, 0.5, sink);
  ASSERT_TRUE(r) << sink.messages.front();
  EXPECT_EQ(r->eps, 0.5);
  EXPECT_DOUBLE_EQ(r->difference->Intensity[1][5], 0.5);
  EXPECT_DOUBLE_EQ(r->rp->Intensity[1][5], 25);
  EXPECT_DOUBLE_EQ(r->difference->Intensity[2][1], -0.4);
  EXPECT_EQ(r->rp->Intensity[2][1], -1);
  EXPECT_EQ(r->difference->Intensity[2][2], -1);
  EXPECT_EQ(r->rp->Intensity[2][2], -1);
  EXPECT_EQ(r->difference->Intensity[2][3], -1);
  EXPECT_EQ(r->rp->Intensity[2][3], -1);
  ASSERT_TRUE(r->RP);
  EXPECT_DOUBLE_EQ(*r->RP, 25);  // only points above Eps count

  for (const PoleFigure* pf : {r->difference.get(), r->rp.get()}) {
    EXPECT_EQ(pf->NormFactor, 1);
    EXPECT_EQ(pf->LowestLevel, 0);
    EXPECT_EQ(pf->FileName, "/d/a.pol");
    EXPECT_GT(pf->LevelCount, 0);
    EXPECT_LE(pf->LevelCount, kMaxLevels);
  }
  EXPECT_DOUBLE_EQ(r->difference->MinValue, 0.008 - 1.5);
  EXPECT_DOUBLE_EQ(r->difference->MaxValue, 0.5);

  // Eps typed as 0 takes the 0.008 m.r.d. point in: 100 * 0.0075 / 0.008 = 93.75.
  r = ComparePoleFigures(*pf1, *pf2, 0, sink);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->eps, 0.005);
  EXPECT_DOUBLE_EQ(r->rp->Intensity[2][4], 100 * std::fabs(0.008 - 1.5) / 0.008);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(PFDifference, NoPointAboveEpsGivesNoRPAndNoFailure) {
  auto pf1 = Uniform(0.1, 1, "/d/a.pol");
  auto pf2 = Uniform(0.2, 1, "/d/b.pol");
  CollectingSink sink;
  const auto r = ComparePoleFigures(*pf1, *pf2, 1, sink);
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->RP);
  EXPECT_EQ(FormatRP(r->RP), "n/a");
  EXPECT_EQ(RPCaption("/d/a_RP.pol", r->RP), "4 * a_RP.pol   [RP=n/a]");
  EXPECT_EQ(RPCaption("/d/a_RP.pol", 12.34), "4 * a_RP.pol   [RP=12.3%]");
  EXPECT_EQ(DifferenceCaption("/d/a_diff.pol"), "3 * a_diff.pol");
}

TEST(PFDifference, RefusesOtherGridsAndMissingNormalisation) {
  auto pf1 = Uniform(1, 1, "/d/a.pol");
  auto pf2 = NewPoleFigure();
  test::FillRegularGrid(*pf2, 30, 24);
  pf2->NormFactor = 1;
  pf2->FileName = "/d/b.pol";
  CollectingSink sink;
  EXPECT_FALSE(ComparePoleFigures(*pf1, *pf2, 0.5, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0],
            "PF1 (a.pol) and PF2 (b.pol) are not on the same grid: circle 1 has 12 points against 24.");

  // A reference measured to 60 degrees against a complete one: compared on its circles.
  auto partial = NewPoleFigure();
  GridDescription toSixty;
  for (const double a : {0.0, 30.0, 60.0}) toSixty.circles.push_back({a, 0, 30, 12});
  test::SetTestGrid(*partial, toSixty);
  for (int i = 1; i <= 3; ++i) test::SetCircle(*partial, i, std::vector<double>(12, 2.0));
  partial->NormFactor = 1;
  partial->FileName = "/d/p.pol";
  const auto onItsCircles = ComparePoleFigures(*partial, *pf1, 0.5, sink);
  ASSERT_TRUE(onItsCircles);
  EXPECT_DOUBLE_EQ(*onItsCircles->RP, 50);
  EXPECT_EQ(onItsCircles->difference->CircleCount, 3);
  EXPECT_FALSE(ComparePoleFigures(*pf1, *partial, 0.5, sink));
  EXPECT_EQ(sink.messages.back(), "PF1 (a.pol) and PF2 (p.pol) are not on the same grid: 4 circles against 3.");

  auto zero = Uniform(0, 0, "/d/z.pol");
  EXPECT_FALSE(ComparePoleFigures(*pf1, *zero, 0.5, sink));
  EXPECT_EQ(sink.messages.back(), "Pole figure z.pol has a mean intensity of 0 and cannot be taken in m.r.d.");
}

TEST(PFDifference, ProposedNames) {
  const DiffFileNames plain = ProposeDiffNames("/data/q.x01", false, "", "/data/logs", "rp.log");
  EXPECT_EQ(plain.rp, "/data/q_RP.x01");
  EXPECT_EQ(plain.diff, "/data/q_diff.x01");
  EXPECT_EQ(plain.log, "/data/logs/rp.log");

  const DiffFileNames multi = ProposeDiffNames("/my.data/copper.xpe", true, "[2]", "/data/", "old.log");
  EXPECT_EQ(multi.rp, "/my.data/copper[2]_RP.pol");
  EXPECT_EQ(multi.diff, "/my.data/copper[2]_diff.pol");
  EXPECT_EQ(multi.log, "/data/old.log");

  EXPECT_EQ(ProposeDiffNames("noext", false, "", "", "rp.log").rp, "noext_RP");
  EXPECT_EQ(CaptionIndex("2 * copper.xpe  [12]    [x]"), "[12");
  EXPECT_EQ(CaptionIndex("2 * q.pol"), "");
  const auto pf = NewPoleFigure();
  EXPECT_EQ(PlaceInFileText(*pf), "");
  pf->IndexInFile = 12;
  EXPECT_EQ(PlaceInFileText(*pf), "[12");
}

TEST(PFDifference, ResultFilesKeepNegativeValuesOnePerLine) {
  auto pf1 = Uniform(2, 1, "/d/a.pol");
  auto pf2 = Uniform(2.4, 1, "/d/b.pol");
  CollectingSink sink;
  const auto r = ComparePoleFigures(*pf1, *pf2, 0.5, sink);
  ASSERT_TRUE(r);
  const std::string diff = (test::TempDir() / "a_diff.pol").string();
  const std::string rp = (test::TempDir() / "a_RP.pol").string();
  ASSERT_TRUE(WriteComparisonFiles(*r->difference, *r->rp, diff, "", sink));
  EXPECT_FALSE(std::filesystem::exists(rp));
  const auto lines = SplitLines(test::ReadFile(diff));
  EXPECT_EQ(lines.size(), 4u * 12u);
  EXPECT_EQ(lines.front(), "       -0.400");
}

std::string LogPath(const std::string& name) { return (test::TempDir() / name).string(); }

RPLogEntry Entry(double rp) {
  RPLogEntry e;
  e.pf1File = "/d/a.pol";
  e.pf2File = "/d/bb.pol";
  e.eps = 0.005;
  e.rp = rp;
  return e;
}

TEST(RPLog, HeaderOnceThenOneLinePerComparison) {
  const std::string log = LogPath("rp.log");
  CollectingSink sink;
  ASSERT_TRUE(AppendRPLog(log, Entry(12.345), sink));
  ASSERT_TRUE(AppendRPLog(log, Entry(7), sink));
  const std::string line1 =
      std::string(15, ' ') + "a.pol" + std::string(14, ' ') + "bb.pol" + "      0.01" + "      12.3\r\n";
  const std::string line2 =
      std::string(15, ' ') + "a.pol" + std::string(14, ' ') + "bb.pol" + "      0.01" + "       7.0\r\n";
  EXPECT_EQ(test::ReadFile(log),
            "NOTE: - pole figure PF1 is reference!\r\n"
            "      - avoid subsequent normalization of difference pole figures and RP distributions!\r\n" +
                std::string(22, ' ') + "PF1\t" + std::string(22, ' ') + "PF2\t       Eps\t     RP[%]\r\n" + line1 +
                line2);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(RPLog, MultiLinesCarryTheIndexAndTabs) {
  RPLogEntry e = Entry(3.21);
  e.multi = true;
  e.pf1Index = "[1]";
  e.pf2Index = "[3]";
  e.rp.reset();
  EXPECT_EQ(RPLogLine(e),
            std::string(17, ' ') + "a.pol[1]\t" + std::string(16, ' ') + "bb.pol[3]\t      0.01\t       n/a\r\n");
}

TEST(RPLog, AppendingNeverLosesWhatIsThere) {
  const std::string log = LogPath("kept.log");
  std::filesystem::create_directories(test::TempDir());
  test::WriteTempFile("kept.log", "my own notes\r\nlast line without end");
  CollectingSink sink;
  ASSERT_TRUE(AppendRPLog(log, Entry(1), sink));
  const std::string text = test::ReadFile(log);
  EXPECT_EQ(text.rfind("my own notes\r\nlast line without end\r\n", 0), 0u);
  EXPECT_EQ(text.find("NOTE"), std::string::npos);
  EXPECT_EQ(SplitLines(text).size(), 3u);

  // A log in a folder that does not exist is reported, not half made.
  const std::string nowhere = LogPath("no/such/folder/rp.log");
  EXPECT_FALSE(AppendRPLog(nowhere, Entry(1), sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "Cannot create file " + nowhere + ": No such file or directory");

  // A log that exists but cannot be appended to stays as it was.
  const std::string folder = LogPath("a_folder.log");
  std::filesystem::create_directories(folder);
  EXPECT_FALSE(AppendRPLog(folder, Entry(1), sink));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(sink.messages.back(), "Cannot append to log file " + folder + ": it is a folder");
}

}  // namespace
}  // namespace quorix
