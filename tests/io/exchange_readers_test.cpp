// The exchange layouts that carry their own grid: small hand-written files
// (the fuzz seeds) for each reader's facts, bad files for the problems they
// report, and the real samples where the shared data are present.
#include "io/exchange_readers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "io/data_layout.h"
#include "io/load_pole_figure.h"
#include "io/measurement_record.h"
#include "test_support.h"

namespace quorix {
namespace {

std::string Seed(const std::string& name) { return std::string(QUORIX_SOURCE_DIR) + "/fuzz/seeds/" + name; }

// The file as the program reads it: detected by content (and name), then read.
MeasurementFile Detected(const std::string& path, DataLayout expected) {
  const std::string text = test::ReadFile(path);
  EXPECT_EQ(LayoutName(DetectLayoutText(text, path).layout), std::string(LayoutName(expected))) << path;
  CollectingSink sink;
  auto file = ReadMeasurementText(text, expected, path, {}, sink);
  EXPECT_TRUE(file) << test::Joined(sink.messages);
  return file ? *file : MeasurementFile{};
}

struct Shape {
  std::size_t circles, points;
  double alphaFirst, alphaLast, betaStep;
};

void ExpectShape(const MeasuredPoleFigure& pf, Shape s, const std::string& what) {
  ASSERT_EQ(pf.circles.size(), s.circles) << what;
  EXPECT_EQ(pf.circles.front().values.size(), s.points) << what;
  EXPECT_NEAR(pf.circles.front().alpha, s.alphaFirst, 1e-9) << what;
  EXPECT_NEAR(pf.circles.back().alpha, s.alphaLast, 1e-9) << what;
  EXPECT_NEAR(pf.circles.front().betaStep, s.betaStep, 1e-9) << what;
}

TEST(ExchangeReaders, EachLayoutGivesItsPoleFiguresHklAndGrid) {
  {
    const auto f = Detected(Seed("wko_grid/older_variant_two_blocks.wko"), DataLayout::Geesthacht);
    ASSERT_EQ(f.poleFigures.size(), 2u);
    EXPECT_EQ(f.poleFigures[0].hkl, "2 0 0");
    ExpectShape(f.poleFigures[0], {3, 4, 0, 90, 90}, "wko");
    // The second block measured two of its three circles: the third is missing.
    EXPECT_EQ(f.poleFigures[1].circles[2].values, std::vector<double>(4, -1.0));
    EXPECT_EQ(f.poleFigures[1].circles[1].values[3], 17);
  }
  {
    const auto f = Detected(Seed("wko_grid/geesthacht_layout.wko"), DataLayout::Geesthacht);
    EXPECT_EQ(f.poleFigures.at(0).hkl, "1 1 1");
    EXPECT_EQ(f.poleFigures[0].circles[2].values[0], 18);
  }
  {
    const auto f = Detected(Seed("dubna/goniometer_grid.cnv"), DataLayout::Dubna);
    const auto& pf = f.poleFigures.at(0);
    ExpectShape(pf, {19, 71, 0, 90, 360.0 / 71}, "dubna");
    EXPECT_NEAR(pf.circles[1].betaStart, 272.5, 1e-9);
    EXPECT_NEAR(pf.circles[18].betaStart, 0, 1e-9);
    // The first and the last value of a circle see one direction.
    EXPECT_NEAR(pf.circles[3].values[0], (3.0 + 3.71) / 2, 1e-9);
  }
  {
    const auto f = Detected(Seed("seifert/two_key_lines_crlf.nja"), DataLayout::Seifert);
    ASSERT_EQ(f.poleFigures.size(), 2u);
    EXPECT_EQ(f.poleFigures[0].hkl, "2 0 0");
    ExpectShape(f.poleFigures[0], {3, 4, 0, 10, 90}, "seifert");
    EXPECT_EQ(f.poleFigures[0].twoTheta, 77);
    EXPECT_EQ(f.poleFigures[0].countingTime, 2);
    EXPECT_TRUE(f.poleFigures[1].background);
    EXPECT_EQ(f.poleFigures[1].twoTheta, 75);
    EXPECT_EQ(f.poleFigures[1].circles[2].values[0], 9);
  }
  {
    const auto f = Detected(Seed("siemens_dump/two_figures_two_backgrounds.dat"), DataLayout::SiemensDump);
    ASSERT_EQ(f.poleFigures.size(), 6u);  // each peak followed by its two backgrounds
    EXPECT_EQ(f.poleFigures[0].hkl, "1 1 1");
    ExpectShape(f.poleFigures[0], {3, 4, 0, 10, 90}, "siemens");
    EXPECT_TRUE(f.poleFigures[2].background);
    EXPECT_EQ(f.poleFigures[2].twoTheta, 46);
    EXPECT_EQ(f.poleFigures[2].circles[1].values, std::vector<double>(4, 17.0));
    EXPECT_EQ(f.poleFigures[3].hkl, "2 0 0");
  }
  {
    const auto f = Detected(Seed("texd5/two_reflections.pwd"), DataLayout::Texd5);
    ASSERT_EQ(f.poleFigures.size(), 4u);
    EXPECT_EQ(f.poleFigures[2].hkl, "2 0 0");
    EXPECT_EQ(f.poleFigures[2].circles[1].values[0], 3842.91);
    EXPECT_TRUE(f.poleFigures[3].background);
  }
  {
    const auto f = Detected(Seed("tex_einzel/ST42-104-110.dat"), DataLayout::TexEinzel);
    ASSERT_EQ(f.poleFigures.size(), 3u);
    EXPECT_EQ(f.poleFigures[0].hkl, "1 0 4");
    EXPECT_EQ(f.poleFigures[2].hkl, "1 1 0");
    ExpectShape(f.poleFigures[0], {2, 3, 0, 10, 120}, "tex einzel");
    EXPECT_EQ(f.poleFigures[0].monitor, 400000);
    EXPECT_TRUE(f.poleFigures[1].background);
    EXPECT_EQ(f.poleFigures[1].name, "1 0 4 background 2theta 22.4");
    ExpectShape(f.poleFigures[1], {3, 1, 0, 20, 360}, "background");
  }
  {
    const auto f = Detected(Seed("labotex/figure_and_background.ppf"), DataLayout::LaboTex);
    ASSERT_EQ(f.poleFigures.size(), 2u);
    ExpectShape(f.poleFigures[1], {3, 4, 0, 10, 90}, "labotex");
    EXPECT_EQ(f.poleFigures[1].twoTheta, 41);
    EXPECT_TRUE(f.poleFigures[1].background);
    EXPECT_NEAR(f.poleFigures[1].circles[0].values[0], 2.2, 1e-9);
  }
  {
    const auto f = Detected(Seed("emse/three_circles.ana"), DataLayout::Emse);
    ExpectShape(f.poleFigures.at(0), {3, 4, 0, 10, 90}, "emse");
    EXPECT_NEAR(f.poleFigures[0].circles[2].values[3], 0.11, 1e-9);
  }
  {
    const auto f = Detected(Seed("gadds_slice/slc110.slc"), DataLayout::GaddsSlice);
    const auto& pf = f.poleFigures.at(0);
    EXPECT_EQ(pf.hkl, "1 1 0");
    ExpectShape(pf, {180, 36, 90 - 179 * 180.0 / 359, 90, 10}, "gadds");
    // The rim at azimuth 0 is met by frame 0 (+90) and frame 18 (-90); the
    // zero that begins frame 0 lies beyond the detector: only frame 18 counts.
    EXPECT_NEAR(pf.circles.back().values[0], 6, 1e-9);
    EXPECT_NEAR(pf.circles.back().values[18], (4 + 2) / 2.0, 1e-9);  // frames 18 (+90) and 0 (-90) at 180
  }
  {
    const auto f = Detected(Seed("explore3d/alpha_fastest.txt"), DataLayout::Explore3d);
    ExpectShape(f.poleFigures.at(0), {3, 4, 0, 20, 90}, "3dexplore");
    EXPECT_NEAR(f.poleFigures[0].circles[2].values[1], 169, 1e-9);  // alpha 70, beta 90
  }
  {
    const auto f = Detected(Seed("xpert_text/philips-111.txt"), DataLayout::XpertText);
    const auto& pf = f.poleFigures.at(0);
    EXPECT_EQ(pf.hkl, "1 1 1");
    ExpectShape(pf, {3, 4, 0, 10, 90}, "xpert");
    EXPECT_EQ(pf.circles[0].betaStart, 45);
    EXPECT_NEAR(pf.twoTheta, 44.3, 1e-9);
  }
  {
    const auto f = Detected(Seed("aachen/two_blocks.aachen"), DataLayout::Aachen);
    ASSERT_EQ(f.poleFigures.size(), 2u);
    EXPECT_EQ(f.poleFigures[1].hkl, "1 0 4");
    ExpectShape(f.poleFigures[1], {3, 4, 0, 90, 90}, "aachen");
    EXPECT_EQ(f.poleFigures[1].circles[2].values[3], 203);
  }
  {
    // Card images with no line ends; points in the middle of the grid's cells, half a turn.
    const auto f = Detected(Seed("aachen/card_images_one_line.cpf"), DataLayout::Aachen);
    ExpectShape(f.poleFigures.at(0), {3, 3, 15, 75, 60}, "aachen cards");
    EXPECT_EQ(f.poleFigures[0].circles[2].values, (std::vector<double>{21, 22, 23}));
  }
  {
    const auto f = Detected(Seed("queens/two_figures_star_ended.plf"), DataLayout::Queens);
    ASSERT_EQ(f.poleFigures.size(), 2u);
    EXPECT_EQ(f.poleFigures[1].hkl, "2 0 0");
    ExpectShape(f.poleFigures[1], {3, 4, 0, 10, 90}, "queens");
    EXPECT_EQ(f.poleFigures[1].circles[2].values[3], 12.56);
  }
  {
    const auto f = Detected(Seed("inel/net_counts_111.int"), DataLayout::Inel);
    const auto& pf = f.poleFigures.at(0);
    EXPECT_EQ(pf.hkl, "1 1 1");
    ExpectShape(pf, {3, 4, 20, 30, 90}, "inel");
    EXPECT_EQ(pf.twoTheta, 100.5);
    EXPECT_EQ(pf.circles[1].values, (std::vector<double>{9, 0, 11, 12}));  // net counts below zero are zero
  }
  {
    const auto f = Detected(Seed("autex/two_figures.EXP"), DataLayout::Autex);
    ASSERT_EQ(f.poleFigures.size(), 2u);
    EXPECT_EQ(f.poleFigures[1].hkl, "2 0 0");
    ExpectShape(f.poleFigures[1], {3, 4, 5, 15, 90}, "autex");
    EXPECT_NEAR(f.poleFigures[1].twoTheta, 52.62, 1e-9);
    EXPECT_EQ(f.poleFigures[1].circles[2].values[3], 497);
  }
}

TEST(ExchangeReaders, HklFromTheFileName) {
  using Groups = std::vector<std::string>;
  EXPECT_EQ(HklGroupsInName("/d/ST42-104-110.dat"), (Groups{"1 0 4", "1 1 0"}));
  EXPECT_EQ(HklGroupsInName("Bruker_xrd_10-10.ras"), (Groups{"1 0 -1 0"}));
  EXPECT_EQ(HklGroupsInName("Q(10-11)(01-11)_amp.cnv"), (Groups{"1 0 -1 1", "0 1 -1 1"}));
  EXPECT_EQ(HklGroupsInName("ZnCuTi_Wal_50_5x5_PF_002_R.UXD"), (Groups{"0 0 2"}));
  EXPECT_EQ(HklGroupsInName("2024-12-03.xrdml"), Groups{});
  // A file of one pole figure without hkl of its own takes the one its name gives.
  CollectingSink sink;
  const auto f =
      ReadMeasurementText(test::ReadFile(Seed("emse/three_circles.ana")), DataLayout::Emse, "Al-220.ana", {}, sink);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->poleFigures[0].hkl, "2 2 0");
}

TEST(ExchangeReaders, PlainFilesStayPlain) {
  std::string oneALine = "header\n";
  for (int k = 0; k < 20; ++k) oneALine += std::to_string(k) + "\n";
  EXPECT_EQ(DetectLayoutText(oneALine.substr(7), "a.pol").layout, DataLayout::Plain);
  EXPECT_EQ(DetectLayoutText("title\n(111) f(1.2)\n" + oneALine, "a.pol").layout, DataLayout::Plain);
  EXPECT_EQ(DetectLayoutText(oneALine.substr(7), "a.cnv").layout, DataLayout::Dubna);
  // A Queen's file without its closing stars is known by its name only.
  EXPECT_EQ(DetectLayoutText("111 title\n 1 2\n \n 3 4\n", "a.pol").layout, DataLayout::Plain);
  EXPECT_EQ(DetectLayoutText("111 title\n 1 2\n \n 3 4\n", "a.PLF").layout, DataLayout::Queens);
}

TEST(ExchangeReaders, BrokenFilesNameTheLineAndWhatWasExpected) {
  struct Case {
    DataLayout layout;
    std::string text;
    std::size_t line;
    std::string what;
  } cases[] = {
      {DataLayout::Geesthacht, "t\nc\n 1\n200  2  4  2\nWKO = 90.0\n 1 2 x\n", 6, "\"x\" is not a number."},
      {DataLayout::Geesthacht, "t\nc\n 1\n200  2  4  2\nWKO = 90.0\n 1 2\n", 6,
       "pole figure 2 0 0 ends after 2 of its 12 values."},
      {DataLayout::Dubna, "1 2 3\n", 0, "a Dubna file holds 1368 values (19 circles of 72), this one 3."},
      {DataLayout::Seifert, "&H=1\n#Values\n0 0 5\n", 3, "expected alpha, beta, intensity and background."},
      {DataLayout::SiemensDump, "*Pole figure: 111\n 1 2\n", 2, "values before the first \"*Khi =\" line."},
      {DataLayout::Texd5, "*** TEXD5\n 0 1 2\n", 2, "expected \"R<hkl>\" or a row of tilt, defocusing and background."},
      {DataLayout::TexEinzel, "CREATOR: TEX EINZEL\n 1 26.4 13.2 90\n", 2,
       "expected a row of number, 2theta, omega, chi, phi and counts."},
      {DataLayout::LaboTex, "t\n 1 number of Pole Figures\nhead\n 55 0 10 5 0 355\n", 4,
       "expected 2theta, alpha start, end and step, beta start, end and step, index, h, k, l and the pole "
       "figure/background flag."},
      {DataLayout::GaddsSlice, "2Theta integration range =1 to 2\nFRAME0.001 1 2\n", 2,
       "expected \"FRAME0.0NN\" (NN from 00 to 35) and 360 values."},
      {DataLayout::Explore3d, "# 3DExplore ascii\n95 0 1\n", 2, "expected alpha (0 to 90), beta and intensity."},
      {DataLayout::XpertText, "Phi\\Psi 0 5\n 0 1\n", 2, "expected the azimuth and 2 values."},
      {DataLayout::Aachen, "title\n003 hxxxx  5.00 5.0090.00  (12f6.0)\nscale\n     1     2\n", 4,
       "pole figure 0 0 3 holds 2 values where its header gives 1368."},
      {DataLayout::Aachen, "title\n003 hxxxx 30.0090.0090.00    1    3  (4f6.0)\nscale\n", 2,
       "expected hkl, the tilt step, the azimuth step and the largest tilt (columns 11 to 25), 0 or 1 and 0, 2 or 4 "
       "(columns 26 to 35) and a format such as \"(12f6.0)\"."},
      {DataLayout::Inel, "Fdt File Source : x\n 1 0 9 20 0 0 0 0 1\n", 0,
       "no line naming the columns (\"NB 2Theta Theta Khi ... Phi Value\")."},
      {DataLayout::Queens, "111 t\n 1 2 3 4\n \n 1 2 3\n \n", 5,
       "circle 2 of pole figure 1 1 1 holds 3 values, the first 4."},
      {DataLayout::Queens, "Al sheet\n 1 2\n", 1, "expected a title line that starts with the hkl, such as \"111\"."},
      {DataLayout::Inel, "Fdt File\nNB Khi Phi Value\n 1 0 9 95 0 0 0 0 1\n", 3,
       "expected a row of number, 2theta, theta, khi (-90 to 90), three translations, phi and intensity."},
      {DataLayout::Autex, "AUTEX\nALPHASTART 0 END 5 DELTA 5 BETASTART 0 DELTA 180\nHKL 111. THETA 9\n 1 2 -05.00\n", 4,
       "expected the circle's 2 values ended by its tilt \"-00.00\"."},
      {DataLayout::Autex, "AUTEX\nALPHASTART 0 END 5 DELTA 5 BETASTART 0 DELTA 180\nHKL 111. THETA 9\n 1 2 -00.00\n", 4,
       "pole figure 1 1 1 ends after 1 of its 2 circles."},
  };
  for (const auto& c : cases) {
    CollectingSink sink;
    EXPECT_FALSE(ReadMeasurementText(c.text, c.layout, "bad.file", {}, sink)) << c.what;
    ASSERT_EQ(sink.problems.size(), 1u) << c.what << test::Joined(sink.messages);
    EXPECT_EQ(sink.problems[0].file, "bad.file");
    EXPECT_EQ(sink.problems[0].line, c.line) << c.what;
    EXPECT_EQ(sink.problems[0].what, c.what);
  }
}

TEST(ExchangeReaders, ImpossibleIndicesLeaveThePoleFigureWithoutHkl) {
  const std::string values = "#Values\n0 0 5 1\n0 180 6 1\n";
  for (const std::string k : {"5555555555555555555555555555555550", "1.5"}) {
    CollectingSink sink;
    const auto f = ReadMeasurementText("&H=1\t&K=" + k + "\t&L=0\n" + values, DataLayout::Seifert, "a.nja", {}, sink);
    ASSERT_TRUE(f) << k;
    EXPECT_EQ(f->poleFigures.at(0).hkl, "") << k;
    EXPECT_EQ(f->poleFigures[0].name, "pole figure");
  }
}

TEST(ExchangeReaders, AGridFileGivenStillWinsForWkoListsAndDubnaFiles) {
  LoadRequest request;
  request.dataFile = test::ExamplePath("quartz.wko");
  request.pfIndex = 2;
  CollectingSink sink;
  DataFileFacts facts;
  const auto own = LoadPoleFigure(request, sink, facts);
  ASSERT_TRUE(own) << test::Joined(sink.messages);
  request.gridFile = test::ExamplePath("grid5.rst");
  const auto onGrid = LoadPoleFigure(request, sink);
  ASSERT_TRUE(onGrid) << test::Joined(sink.messages);
  // The block header describes the grid the grid file gives: the same record.
  EXPECT_EQ(own->CircleCount, onGrid->CircleCount);
  EXPECT_EQ(own->Intensity[10][7], onGrid->Intensity[10][7]);
  EXPECT_EQ(facts.names.size(), 2u);

  request = LoadRequest{};
  request.dataFile = Seed("dubna/goniometer_grid.cnv");
  const auto dubna = LoadPoleFigure(request, sink, facts);
  ASSERT_TRUE(dubna) << test::Joined(sink.messages);
  EXPECT_EQ(facts.layout, DataLayout::Dubna);
  request.gridFile = test::ExamplePath("grid5.rst");
  // On the 5-degree grid the 72 values of a circle fill it as a plain file's do.
  EXPECT_TRUE(LoadPoleFigure(request, sink, facts));
  EXPECT_EQ(facts.layout, DataLayout::Plain);
}

TEST(ExchangeReaders, RealSamplesGiveTheirPoleFiguresAndGrids) {
  struct Sample {
    const char* name;
    DataLayout layout;
    std::size_t figures;
    const char* hkl;
    std::size_t circles, points;
  } samples[] = {
      {"dubna.cnv", DataLayout::Dubna, 1, "", 19, 71},
      {"seifert-111.nja", DataLayout::Seifert, 2, "1 1 1", 21, 100},
      {"siemens.dat", DataLayout::SiemensDump, 12, "1 1 1", 15, 72},
      {"gt9104.ptx", DataLayout::SiemensDump, 1, "1 0 4", 17, 72},
      {"siemens.pwd", DataLayout::Texd5, 8, "1 1 1", 15, 72},
      {"ST42-104-110.dat", DataLayout::TexEinzel, 4, "1 0 4", 16, 3},
      {"LaboTEX.PPF", DataLayout::LaboTex, 3, "1 1 1", 17, 72},
      {"EMSE102.ana", DataLayout::Emse, 1, "1 0 2", 27, 400},  // 800 points of 0.45 degrees, binned by pairs
      {"slc110.slc", DataLayout::GaddsSlice, 1, "1 1 0", 180, 36},
      {"Rigaku002.txt", DataLayout::Explore3d, 1, "0 0 2", 17, 72},
      {"philips-111.txt", DataLayout::XpertText, 1, "1 1 1", 81, 360},
      {"aachen", DataLayout::Aachen, 2, "0 0 3", 19, 72},
  };
  for (const auto& s : samples) {
    const std::string path = test::RealDataPath(s.name);
    if (path.empty()) GTEST_SKIP() << "shared real data not present";
    const auto f = Detected(path, s.layout);
    ASSERT_EQ(f.poleFigures.size(), s.figures) << s.name;
    EXPECT_EQ(f.poleFigures[0].hkl, s.hkl) << s.name;
    EXPECT_EQ(f.poleFigures[0].circles.size(), s.circles) << s.name;
    EXPECT_EQ(f.poleFigures[0].circles[0].values.size(), s.points) << s.name;
    for (int k = 1; k <= static_cast<int>(f.poleFigures.size()); ++k) {
      CollectingSink sink;
      EXPECT_TRUE(MeasurementToRecord(f, k, path, false, sink)) << s.name << " " << k << test::Joined(sink.messages);
    }
  }
}

}  // namespace
}  // namespace quorix
