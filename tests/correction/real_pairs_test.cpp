// The measured pairs of ../shared/realdata corrected as a user would: the
// defocused rim comes up, own backgrounds are found, the units agree.
#include <gtest/gtest.h>

#include <cmath>

#include "correction/correction_files.h"
#include "record/statistics.h"
#include "test_support.h"

namespace quorix {
namespace {

double CircleMeanAt(const PoleFigure& pf, double alpha) {
  for (int i = 1; i <= pf.CircleCount; ++i) {
    if (std::fabs(pf.Alpha[i] - alpha) > 1e-3) continue;
    double sum = 0;
    int n = 0;
    for (double v : CircleValues(pf, i))
      if (v != kMissing) sum += v, ++n;
    return n > 0 ? sum / n : NAN;
  }
  return NAN;
}

CorrectionOutcome Correct(const PoleFigure& data, const CorrectionFiles& files) {
  CollectingSink sink;
  auto outcome = CorrectWithFiles(data, files, sink);
  EXPECT_TRUE(outcome) << test::Joined(sink.messages);
  return outcome ? std::move(*outcome) : CorrectionOutcome{};
}

TEST(RealPairs, ZnCuTiRandomSamplesLiftTheRim) {
  for (const char* hkl : {"002", "102"}) {
    const std::string data = test::RealDataPath(std::string("ZnCuTi_Wal_50_5x5_PF_") + hkl + "_R.UXD");
    const std::string random = test::RealDataPath(std::string("ZnCuTi_defocusing_PF_") + hkl + "_R.UXD");
    if (data.empty()) GTEST_SKIP() << "shared real data not present";
    const auto pf = test::LoadFile(data, "");
    CorrectionFiles files;
    files.defocus = MeasurementChoice{random, 0, {}};
    const auto out = Correct(*pf, files);
    ASSERT_TRUE(out.pf);
    const auto& d = out.report.defocus;
    ASSERT_EQ(d.tilts.back(), 75) << hkl;
    EXPECT_GT(d.factors.back(), 0.3) << hkl;
    EXPECT_LT(d.factors.back(), 0.75) << hkl;
    EXPECT_NEAR(CircleMeanAt(*out.pf, 75), CircleMeanAt(*pf, 75) / d.factors.back(), 1e-6) << hkl;
    EXPECT_TRUE(out.report.notes.empty()) << test::Joined(out.report.notes);

    // The random sample corrected by itself has every circle's mean at the centre's.
    const auto flat = Correct(*test::LoadFile(random, ""), files);
    for (double alpha : {25.0, 50.0, 75.0})
      EXPECT_NEAR(CircleMeanAt(*flat.pf, alpha) / CircleMeanAt(*flat.pf, 0), 1, 1e-9) << hkl << " " << alpha;
  }
}

TEST(RealPairs, SiemensDumpOwnBackgroundsAndTexd5Defocusing) {
  const std::string data = test::RealDataPath("siemens.dat");
  if (data.empty()) GTEST_SKIP() << "shared real data not present";
  CorrectionFiles files;
  files.ownBackground = true;
  files.defocus = MeasurementChoice{test::RealDataPath("siemens.pwd"), 0, {}};
  // The backgrounds follow their pole figure; two per tilt, their mean without the peak's 2theta.
  const std::vector<std::pair<int, double>> negativeShares{{1, 0.315}, {4, 0.332}, {7, 0.215}, {10, 0.091}};
  for (const auto& [index, share] : negativeShares) {
    const auto pf = test::LoadFile(data, "", index);
    const auto out = Correct(*pf, files);
    ASSERT_TRUE(out.pf) << index;
    const double firstBackground = (3763.2 + 2934.8) / 2;  // 111, Khi 0
    if (index == 1) {
      EXPECT_NEAR(out.pf->Intensity[1][1], 3809.6 - firstBackground, 1e-9);
    }
    EXPECT_NEAR(static_cast<double>(out.report.negative) / out.report.valid, share, 0.001) << index;
    EXPECT_LT(out.report.defocus.factors.back(), 0.7) << index;
  }
}

TEST(RealPairs, SeifertColumnAndNeutronBlocks) {
  const std::string seifert = test::RealDataPath("seifert-111.nja");
  if (seifert.empty()) GTEST_SKIP() << "shared real data not present";
  CorrectionFiles files;
  files.ownBackground = true;
  const auto nja = test::LoadFile(seifert, "");
  EXPECT_EQ(nja->Unit, IntensityUnit::PerSecond);
  const auto column = test::LoadFile(seifert, "", 2);
  EXPECT_DOUBLE_EQ(Correct(*nja, files).pf->Intensity[5][7], nja->Intensity[5][7] - column->Intensity[5][7]);

  // Both neutron peaks lie between the backgrounds at 22.4 and 29.6, counted
  // to monitors of 400000 and 500000.
  const std::string neutron = test::RealDataPath("ST42-104-110.dat");
  const auto low = test::LoadFile(neutron, "", 2);
  const auto high = test::LoadFile(neutron, "", 4);
  for (int index : {1, 3}) {
    const auto pf = test::LoadFile(neutron, "", index);
    ASSERT_EQ(pf->Unit, IntensityUnit::PerMonitor);
    const auto out = Correct(*pf, files);
    ASSERT_TRUE(out.pf);
    const double w = (pf->TwoTheta - 22.4) / (29.6 - 22.4);
    const double l = low->Intensity[1][1] * pf->Monitor / 400000, h = high->Intensity[1][1] * pf->Monitor / 500000;
    EXPECT_NEAR(out.pf->Intensity[1][1], pf->Intensity[1][1] - (l + (h - l) * w), 1e-9) << index;
  }
}

}  // namespace
}  // namespace quorix
