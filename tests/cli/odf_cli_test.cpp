// quorix-cli odf: model pole figures written as a Beartex file come back as
// the model's ODF; the ODF file reads back; bad input is refused before any work.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "io/formatted_writer.h"
#include "record/statistics.h"
#include "test_support.h"
#include "texture/model_texture.h"

namespace quorix {
namespace {

using test::CliRun;
using test::RunCli;

// The rolling model's 111, 200 and 220 pole figures to 75 degrees, as a Beartex file (in m.r.d. x 100).
std::string WriteModelBeartex() {
  const test::ModelTexture m = test::RollingTexture();
  SaveAllSettings s;
  s.symmetry = 7;
  s.lattice = Lattice{3.615, 3.615, 3.615, 90, 90, 90};
  s.comments = {"rolling model", "", "", "", ""};
  std::string text;
  for (const auto& hkl : {std::array<int, 3>{1, 1, 1}, {2, 0, 0}, {2, 2, 0}}) {
    auto pf = NewPoleFigure();
    test::FillRegularGrid(*pf, 5, 72);
    const Vec3 h = PlaneNormal(hkl, CubicLattice());
    for (int i = 1; i <= pf->CircleCount; ++i)
      for (int k = 1; k <= pf->CirclePoints[i]; ++k)
        pf->Intensity[i][k] =
            pf->Alpha[i] > 75 ? -1
                              : 100 * test::ModelPoleFigure(m, h, DirectionToVector(pf->Alpha[i], BetaOf(*pf, i, k)));
    UpdateExtremes(*pf);  // the block's scale follows the maximum
    text += FormatSaveAllBlock(*pf, s, SaveAllRow{1, hkl[0], hkl[1], hkl[2], std::nullopt});
  }
  return test::WriteTempFile("rolling.xpe", text);
}

TEST(CliOdf, RecoversTheModelAndReadsItsOdfFileBack) {
  const std::string data = WriteModelBeartex();
  const std::string odf = (test::TempDir() / "rolling.odf").string();
  const std::string recalc = (test::TempDir() / "recalc.xpe").string();
  const CliRun run = RunCli("odf " + data + " --crystal m-3m --json --odf-out " + odf + " --recalc-out " + recalc +
                            " --recalc-hkl 3,1,1 --component Rotated=45,0,0");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  ASSERT_EQ(j["pole_figures"].size(), 3u);
  EXPECT_EQ(j["pole_figures"][1]["hkl"], nlohmann::json::parse("[2,0,0]"));
  for (const auto& pf : j["pole_figures"]) EXPECT_LT(pf["rp"].get<double>(), 3.0);
  EXPECT_NEAR(j["volume_fractions"]["Copper"].get<double>(), 0.194, 0.01);
  EXPECT_TRUE(j["volume_fractions"].contains("Rotated"));
  const double index = j["texture_index"].get<double>();
  EXPECT_NEAR(index, 2.51, 0.13);
  // Read back, the ODF gives the same texture index and recalculates 4 pole figures from it.
  const CliRun back = RunCli("odf --from-odf " + odf + " --json --recalc-hkl 1,1,1 --recalc-out " +
                             (test::TempDir() / "back.epf").string());
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_NEAR(nlohmann::json::parse(back.out)["texture_index"].get<double>(), index, 1e-3 * index);
  EXPECT_NE(test::ReadFile(recalc).find("3  1  1"), std::string::npos);
  // Any layout convert writes: an XRDML file of the one recalculated pole figure, read back.
  const std::string xrdml = (test::TempDir() / "back.xrdml").string();
  ASSERT_EQ(RunCli("odf --from-odf " + odf + " --recalc-hkl 1,1,1 --recalc-out " + xrdml).status, 0);
  const CliRun info = RunCli("info " + xrdml + " --json");
  ASSERT_EQ(info.status, 0) << info.err;
  const auto back_xrdml = nlohmann::json::parse(info.out);
  EXPECT_EQ(back_xrdml["layout"], "xrdml");
  EXPECT_EQ(back_xrdml["circles"], 19);
}

TEST(CliOdf, RefusesBadInputBeforeAnyWork) {
  const std::string data = WriteModelBeartex();
  const struct {
    std::string args;
    int status;
    std::string message;
  } cases[] = {
      {"--crystal cubical", 1, "Unknown crystal symmetry \"cubical\""},
      {"--crystal m-3m --sample cubic", 1, "Unknown sample symmetry \"cubic\""},
      {"--crystal m-3m --resolution 7", 1, "does not divide the Euler region"},
      {"--crystal m-3m --resolution 0.25", 1, "choose a coarser one"},
      {"--crystal hexagonal --lattice 1,1,0,90,90,120", 1, "Lattice lengths must be above 0"},
      {"--crystal m-3m --recalc-hkl 1,0,-1,0", 2, "need a trigonal or hexagonal crystal"},
      {"--crystal m-3m --component Bad=1,2", 2, "NAME=phi1,Phi,phi2"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli("odf " + data + " " + c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
  }
  const CliRun missing = RunCli("odf " + data + ":4 --crystal m-3m");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("holds 3 pole figures, not 4"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace quorix
