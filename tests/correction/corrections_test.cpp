// The correction rules on small hand-made measurements.
#include "correction/corrections.h"

#include <gtest/gtest.h>

#include <cmath>

#include "correction/correction_files.h"
#include "correction/units.h"
#include "test_support.h"

namespace quorix {
namespace {

using test::UxdCircle;

std::vector<UxdCircle> Circles(std::initializer_list<double> khis, int points, double value) {
  std::vector<UxdCircle> circles;
  for (double k : khis) circles.push_back({k, std::vector<double>(static_cast<std::size_t>(points), value)});
  return circles;
}

CorrectionOutcome Corrected(const PoleFigure& data, const CorrectionFiles& files) {
  CollectingSink sink;
  auto outcome = CorrectWithFiles(data, files, sink);
  EXPECT_TRUE(outcome) << test::Joined(sink.messages);
  return outcome ? std::move(*outcome) : CorrectionOutcome{};
}

// Counts over different step times become rates before the two backgrounds
// are weighted by their distance in 2theta from the peak.
TEST(Background, TwoSidesInterpolatedIn2ThetaAfterTheUnitRule) {
  const auto data = test::WriteTempFile("peak.uxd", test::UxdText(40, 2, Circles({0, 5}, 4, 200)));
  const auto low = test::WriteTempFile("low.uxd", test::UxdText(38, 4, Circles({0, 5}, 4, 80)));
  const auto high = test::WriteTempFile("high.uxd", test::UxdText(43, 1, Circles({0, 5}, 4, 50)));
  const auto pf = test::LoadFile(data, "");
  ASSERT_EQ(pf->Unit, IntensityUnit::PerSecond);
  CorrectionFiles files;
  files.backgrounds = {{high, 0, {}}, {low, 0, {}}};
  const auto out = Corrected(*pf, files);
  ASSERT_TRUE(out.pf);
  // 100 cps over 20 + (50 - 20) * 2 / 5 = 32 cps
  EXPECT_NEAR(out.pf->Intensity[2][3], 68, 1e-9);
  EXPECT_TRUE(out.pf->Corrected);
  EXPECT_TRUE(out.report.notes.empty()) << test::Joined(out.report.notes);

  files.backgrounds[0].twoTheta = 44;  // FILE@2THETA overrides the file's
  EXPECT_NEAR(Corrected(*pf, files).pf->Intensity[1][1], 70, 1e-9);

  // Without the peak's 2theta only the mean is left, and a note says so.
  PoleFigure unknown = *pf;
  unknown.TwoTheta = 0;
  const auto mean = Corrected(unknown, files);
  EXPECT_NEAR(mean.pf->Intensity[1][1], 100 - 35, 1e-9);
  EXPECT_EQ(mean.report.notes.size(), 1u);
  files.twoTheta = 40;
  EXPECT_TRUE(Corrected(unknown, files).report.notes.empty());
}

TEST(Background, FourAzimuthsInterpolatedAlongBetaAndBetweenCircles) {
  auto data = test::SmallGrid(4, 8, 10);  // alpha 10, 15, 20, 25; beta every 45
  for (int i = 1; i <= 4; ++i) test::SetCircle(*data, i, std::vector<double>(8, 100));
  auto bg = test::FourPointGrid({10, 20});
  test::SetCircle(*bg, 1, {0, 10, 20, 10});
  test::SetCircle(*bg, 2, {20, 30, 40, 30});
  CollectingSink sink;
  CorrectionReport report;
  CorrectionInputs in;
  in.backgrounds = {bg.get()};
  const auto out = CorrectPoleFigure(*data, in, sink, report);
  ASSERT_TRUE(out) << test::Joined(sink.messages);
  EXPECT_DOUBLE_EQ(out->Intensity[1][3], 90);  // its own point, beta 90
  EXPECT_DOUBLE_EQ(out->Intensity[1][2], 95);  // half way from beta 0 to 90
  EXPECT_DOUBLE_EQ(out->Intensity[2][2], 85);  // and half way in alpha
  EXPECT_DOUBLE_EQ(out->Intensity[2][8], 85);  // beta 315: across 360
  // Beyond the background's last circle: no value, counted in a note.
  EXPECT_EQ(out->Intensity[4][1], kMissing);
  EXPECT_EQ(report.lackingCorrection, 8);
  ASSERT_EQ(report.circleBackground.size(), 4u);
  EXPECT_DOUBLE_EQ(report.circleBackground[0], 10);
}

std::unique_ptr<PoleFigure> RandomWithMissingPoint() {
  auto random = test::SmallGrid(3, 4, 0);  // alpha 0, 5, 10
  test::SetCircle(*random, 1, {100, 100, 100, 100});
  test::SetCircle(*random, 2, {80, 80, kMissing, 80});
  test::SetCircle(*random, 3, {40, 60, 50, 50});
  return random;
}

TEST(Defocusing, RandomSampleGivesCircleMeansOverTheFirst) {
  const auto random = RandomWithMissingPoint();
  auto data = test::SmallGrid(4, 4, 0);  // one circle beyond the random sample
  for (int i = 1; i <= 4; ++i) test::SetCircle(*data, i, {200, 200, 200, kMissing});
  CollectingSink sink;
  CorrectionReport report;
  CorrectionInputs in;
  in.defocus = random.get();
  const auto out = CorrectPoleFigure(*data, in, sink, report);
  ASSERT_TRUE(out) << test::Joined(sink.messages);
  EXPECT_EQ(report.defocus.factors, (std::vector<double>{1, 0.8, 0.5}));
  EXPECT_DOUBLE_EQ(out->Intensity[2][1], 250);
  EXPECT_DOUBLE_EQ(out->Intensity[3][3], 400);
  EXPECT_EQ(out->Intensity[3][4], kMissing);  // missing stays missing, uncounted
  EXPECT_EQ(report.lackingCorrection, 3);
  EXPECT_EQ(report.beyondCurve, 3);

  // Point by point the random sample's missing point leaves one more gap.
  in.pointwise = true;
  const auto pointwise = CorrectPoleFigure(*data, in, sink, report);
  EXPECT_DOUBLE_EQ(pointwise->Intensity[3][1], 500);
  EXPECT_DOUBLE_EQ(pointwise->Intensity[3][2], 200 / 0.6);
  EXPECT_EQ(pointwise->Intensity[2][3], kMissing);
  EXPECT_EQ(report.lackingCorrection, 4);
}

TEST(Defocusing, CurveFileAndTexd5Block) {
  CollectingSink sink;
  const auto curve = ReadDefocusCurveText("# tilt factor\n0 1\n40 0.9\n80 0.5\n", "d.txt", sink);
  ASSERT_TRUE(curve);
  EXPECT_DOUBLE_EQ(*CurveFactorAt(*curve, 60), 0.7);
  EXPECT_FALSE(CurveFactorAt(*curve, 85));
  EXPECT_FALSE(ReadDefocusCurveText("0 1\n0 0.9\n", "d.txt", sink));
  EXPECT_FALSE(ReadDefocusCurveText("0 1\n10 zero\n", "d.txt", sink));
  EXPECT_FALSE(ReadDefocusCurveText("0 1\n95 0.2\n", "d.txt", sink));
  ASSERT_EQ(sink.problems.size(), 3u);
  EXPECT_EQ(sink.problems[0].line, 2u);
  EXPECT_NE(sink.problems[1].what.find("tilt and defocusing factor"), std::string::npos);

  const auto pwd = test::WriteTempFile("random.pwd",
                                       "*** TEXD5 V1.0 Correction file ***\nR111\n 0 900 100\n 10 700 100\n"
                                       "R200\n 0 500 100\n 10 300 60\n");
  auto data = test::SmallGrid(2, 4, 0);
  for (int i = 1; i <= 2; ++i) test::SetCircle(*data, i, {60, 60, 60, 60});
  data->FileName = "peak.uxd";
  CorrectionFiles files;
  files.defocus = MeasurementChoice{pwd, 0, {}};
  CollectingSink refused;
  EXPECT_FALSE(CorrectWithFiles(*data, files, refused));
  ASSERT_EQ(refused.problems.size(), 1u);
  EXPECT_NE(refused.problems[0].what.find("peak.uxd"), std::string::npos);
  EXPECT_EQ(refused.problems[0].file, pwd);

  data->Hkl = "2 0 0";
  const auto own = Corrected(*data, files);
  EXPECT_DOUBLE_EQ(own.report.defocus.factors.back(), 0.6);
  files.defocusBlock = "111";
  EXPECT_DOUBLE_EQ(Corrected(*data, files).report.defocus.factors.back(), 0.75);
}

TEST(Corrections, ThinFilmUnitsNegativesAndNormalisation) {
  EXPECT_DOUBLE_EQ(ThinFilmFactor(0.1, 20, 0), 1);
  EXPECT_LT(ThinFilmFactor(0.1, 20, 60), 0.9);
  EXPECT_NEAR(ThinFilmFactor(50, 20, 60), 1, 1e-12);  // a thick sample needs none

  PoleFigure target, other;
  target.Unit = other.Unit = IntensityUnit::PerMonitor;
  target.Monitor = 400000;
  other.Monitor = 500000;
  std::string note;
  EXPECT_DOUBLE_EQ(UnitFactor(target, other, note), 0.8);
  EXPECT_TRUE(note.empty());
  other.Unit = IntensityUnit::Unknown;
  EXPECT_DOUBLE_EQ(UnitFactor(target, other, note), 1);
  EXPECT_NE(note.find("unit unknown"), std::string::npos);

  auto data = test::SmallGrid(2, 4, 0);
  test::SetCircle(*data, 2, {5, 20, 30, kMissing});
  auto bg = test::SmallGrid(2, 4, 0);
  for (int i = 1; i <= 2; ++i) test::SetCircle(*bg, i, {10, 10, 10, 10});
  CorrectionInputs in;
  in.backgrounds = {bg.get()};
  CollectingSink sink;
  CorrectionReport report;
  const auto out = CorrectPoleFigure(*data, in, sink, report);
  EXPECT_EQ(report.negative, 5);  // circle 1 holds 1s
  EXPECT_EQ(report.valid, 7);
  EXPECT_EQ(out->Intensity[2][1], -5);  // kept, not clipped
  EXPECT_EQ(out->Intensity[2][4], kMissing);

  in.mrd = true;
  test::SetCircle(*data, 1, {20, 20, 20, 20});
  const auto mrd = CorrectPoleFigure(*data, in, sink, report);
  ASSERT_TRUE(mrd) << test::Joined(sink.messages);
  EXPECT_TRUE(mrd->InMrd);
  EXPECT_NEAR(mrd->NormFactor, 1, 1e-9);
}

TEST(Corrections, BadRequestsNameTheFile) {
  const auto pf = test::LoadFile(test::WriteTempFile("plain.uxd", test::UxdText(40, 0, Circles({0, 5}, 4, 9))), "");
  CollectingSink sink;
  CorrectionFiles files;
  files.ownBackground = true;
  EXPECT_FALSE(CorrectWithFiles(*pf, files, sink));
  files = CorrectionFiles{};
  files.thinFilmMuT = 0.1;
  PoleFigure no2Theta = *pf;
  no2Theta.TwoTheta = 0;
  EXPECT_FALSE(CorrectWithFiles(no2Theta, files, sink));
  ASSERT_EQ(sink.problems.size(), 2u);
  EXPECT_NE(sink.problems[0].what.find("no background of its own"), std::string::npos);
  EXPECT_NE(sink.problems[1].what.find("2theta"), std::string::npos);
  // The numbers typed hold for the command line and the dialog alike.
  files.twoTheta = 200;
  EXPECT_FALSE(CorrectWithFiles(*pf, files, sink));
  EXPECT_EQ(sink.messages.back(), "The peak's 2theta must be a number of degrees from 0 to 180.");

  MeasurementChoice choice;
  std::string error;
  ASSERT_TRUE(ParseMeasurementChoice("C:/data/bg.uxd:2@38.5", choice, error));
  EXPECT_EQ(choice.file, "C:/data/bg.uxd");
  EXPECT_EQ(choice.index, 2);
  EXPECT_EQ(choice.twoTheta, 38.5);
  EXPECT_FALSE(ParseMeasurementChoice("bg.uxd@low", choice, error));
  EXPECT_NE(error.find("low"), std::string::npos);
}

}  // namespace
}  // namespace quorix
