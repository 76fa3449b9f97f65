// Plotter text of whole plots and of its parts, byte for byte.
#include "plot/hpgl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "record/circle_links.h"
#include "test_support.h"

namespace quorix {
namespace {

using test::FourPointGrid;
using test::SetCircle;

// Grid of an open contour: circles at 30, 60, 80 degrees, the last measured
// circle below the rim.
std::unique_ptr<PoleFigure> RadialLinesFigure() {
  auto pf = test::RadialLines();
  pf->Level[1] = 2;
  pf->LevelCount = 1;
  pf->NormFactor = 2.5;
  pf->SampledShare = 1;
  pf->MaxValue = 5, pf->MaxCircle = 3, pf->MaxPoint = 2;
  pf->MinValue = 0.5, pf->MinCircle = 2, pf->MinPoint = 4;
  pf->FileName = "/data/radial.xpo";
  return pf;
}

ProgramState PlainState() {
  ProgramState state;
  state.Options.DrawGrid = false;
  state.ContourColor[1] = 255;
  return state;
}

const std::string kOutline650 =
    "SP1;PU3200.000,1625.000;PD3194.007,1762.270,3176.072,1898.496,3146.333,2032.640,3105.016,2163.682,"
    "3052.435,2290.624,2988.990,2412.500,2915.164,2528.383,2831.520,2637.390,2738.693,2738.693,2637.390,"
    "2831.520,2528.383,2915.164,2412.500,2988.990,2290.624,3052.435,2163.682,3105.016,2032.640,3146.333,"
    "1898.496,3176.072,1762.270,3194.007,1625.000,3200.000,1487.730,3194.007,1351.504,3176.072,1217.360,"
    "3146.333,1086.318,3105.016, 959.376,3052.435, 837.500,2988.990, 721.617,2915.164, 612.610,2831.520, "
    "511.307,2738.693, 418.480,2637.390, 334.836,2528.383, 261.010,2412.500, 197.565,2290.624, 144.984,"
    "2163.682, 103.667,2032.640,  73.928,1898.496,  55.993,1762.270,  50.000,1625.000,  55.993,1487.730,  "
    "73.928,1351.504, 103.667,1217.360, 144.984,1086.318, 197.565, 959.376, 261.010, 837.500, 334.836, "
    "721.617, 418.480, 612.610, 511.307, 511.307, 612.610, 418.480, 721.617, 334.836, 837.500, 261.010, "
    "959.376, 197.565,1086.318, 144.984,1217.360, 103.667,1351.504,  73.928,1487.730,  55.993,1625.000,  "
    "50.000,1762.270,  55.993,1898.496,  73.928,2032.640, 103.667,2163.682, 144.984,2290.624, 197.565,"
    "2412.500, 261.010,2528.383, 334.836,2637.390, 418.480,2738.693, 511.307,2831.520, 612.610,2915.164, "
    "721.617,2988.990, 837.500,3052.435, 959.376,3105.016,1086.318,3146.333,1217.360,3176.072,1351.504,"
    "3194.007,1487.730,3200.000,1625.000;\r\n";
const std::string kTicks650Stereo =
    "PU3200,1625;PD3230,1625;PU;PU1625,3200;PD1625,3230;PU;PU50,1625;PD20,1625;PU;PU1625,50;PD1625,20;PU;";

TEST(HpglPlot, ClosedContourAroundCentreMaximum) {
  auto pf = FourPointGrid({0, 30, 60});
  SetCircle(*pf, 1, {10});
  SetCircle(*pf, 2, {4, 4, 4, 4});
  SetCircle(*pf, 3, {1, 1, 1, 1});
  ASSERT_TRUE(BuildCircleLinks(*pf));
  pf->Level[1] = 5;
  pf->LevelCount = 1;
  pf->NormFactor = 4;
  pf->SampledShare = 1;
  pf->MaxValue = 10, pf->MaxCircle = 1, pf->MaxPoint = 1;
  pf->MinValue = 1, pf->MinCircle = 3, pf->MinPoint = 1;
  pf->LowestLevel = 2;
  pf->FileName = "C:\\data\\peak.xpo";
  ProgramState state = PlainState();
  state.Options.DrawGrid = true;

  const std::string expected =
      "IN;\r\n\r\nDT\x03;SR1,2;"
      "SP2;PW0; ;PU3250,3155;PW0;LO2;LB 5.000\x03;"
      "SP1;PU3250,2985;LBA:  225.0%\x03;"
      "PU3250,170LBpeak.xpo\x03;"
      "PU3250,255LB\x03;"
      "PU3250,255LBEqu. angular low. hem. proj.\x03;"
      "PU3250,425;LBmax:   10.000  at   0.0 /  0.0\x03;"
      "PU3250,510;LBmin:   1.000  at   0.0 /  60.0\x03;"
      // Threshold 5.001 crosses the four edges to the centre at alpha 24.995.
      "SP2; PU1625,1975;PD1975,1625,1625,1275,1275,1625,1625,1975; "
      "SP1;PU2535,1625PD2535,1630;PU1625,2535PD1625,2540;PU715,1625PD715,1630;PU1625,715PD1625,720;" +
      kOutline650 + kTicks650Stereo + "PU;PA0,0;\r\n";
  EXPECT_EQ(HpglPlotFile(*pf, state, 650, 910, ""), expected);
  // What pixel surfaces draw with their primitives leaves nothing on the plotter.
  HpglCanvas plotter(5, 2);
  const std::string empty = plotter.File();
  plotter.Rectangle(0, 0, 10, 10);
  plotter.MoveTo(1, 1);
  plotter.LineTo(5, 5);
  plotter.TextOut(1, 1, "x");
  plotter.Polygon({{1, 1}, {5, 5}, {5, 1}});
  plotter.FloodFill(2, 2, 0);
  EXPECT_EQ(plotter.File(), empty);
}

TEST(HpglPlot, OpenLinesEndAtTheBorderOfTheMeasuredArea) {
  auto pf = RadialLinesFigure();
  ProgramState state = PlainState();
  state.AddListFiles = {"/data/second.xpo"};

  const std::string expected =
      "IN;\r\n\r\nDT\x03;SR1,2;"
      "SP2;PW0; ;PU3250,3155;PW0;LO2;LB 2.000\x03;"
      "SP1;PU3250,2985;LBA:  180.0%\x03;"
      "PU20,170LB[radial]\x03;"
      "PU3250,170LBradial.xpo\x03;"
      "PU3250,255LBsecond.xpo\x03;"
      "PU3250,340LB\x03;"
      "PU3250,340LBEqu. angular low. hem. proj.\x03;"
      "PU3250,510;LBmax:   5.000  at   90.0 /  80.0\x03;"
      "PU3250,595;LBmin:   0.500  at   270.0 /  60.0\x03;"
      // Each line joined from its two traces: outermost circle to innermost.
      "SP2; PU2915,1920;PD2795,2005,2410,2080,2085,2085,1925,1925; "
      "SP2; PU1325,1325;PD1165,1165,890,1090,955,785,965,480; " +
      kOutline650 + kTicks650Stereo + "PU;PA0,0;\r\n";
  EXPECT_EQ(HpglPlotFile(*pf, state, 650, 910, "[radial]"), expected);
}

TEST(HpglPlot, LineCrossingTheRimUnderRotationContinuesOpposite) {
  auto pf = RadialLinesFigure();
  ProgramState state = PlainState();
  state.Rotation.Mode = RotationMode::List;
  state.Rotation.List = {{'Y', 20}};

  const std::string expected =
      "IN;\r\n\r\nDT\x03;SR1,2;"
      "SP2;PW0; ;PU3250,3155;PW0;LO2;LB 2.000\x03;"
      "SP1;PU3250,2985;LBA:  180.0%\x03;"
      "PU3250,170LBradial.xpo\x03;"
      "PU3250,255LB\x03;"
      "PU3250,255LBEqu. angular low. hem. proj.\x03;"
      "PU3250,425;LBmax:   5.000  at   86.5 /  80.6\x03;"
      "PU3250,510;LBmin:   0.500  at   281.2 /  62.0\x03;"
      "PU0,3250;LBRotation:\x03;PU0,3135LBY:  20\x03;"
      // The first two points fold to the antipode; the line leaves at the
      // rim point of beta 200.1 and comes back at beta 20.1.
      "SP2; PU325,1330;PD250,1190,145,1085;PU3105,2165;PD2760,2190,2375,2150,2210,1955; "
      "SP2; PU1595,1335;PD1430,1195,1175,1155,1195,880,1150,615; " +
      kOutline650 + kTicks650Stereo + "PU;PA0,0;\r\n";
  EXPECT_EQ(HpglPlotFile(*pf, state, 650, 910, ""), expected);
}

TEST(HpglPlot, FreshRecordGivesFourLines) {
  auto pf = NewPoleFigure();
  ProgramState state;
  const std::string file = HpglPlotFile(*pf, state, 650, 910, "");
  EXPECT_EQ(file.rfind("IN;\r\n\r\nDT\x03;SR1,2;SP1;PU3250,3060;LBA:  -\x03;", 0), 0u) << file;
  std::size_t lineEnds = 0;
  for (std::size_t p = file.find("\r\n"); p != std::string::npos; p = file.find("\r\n", p + 2)) ++lineEnds;
  EXPECT_EQ(lineEnds, 4u);
  // No measured range: the outline is the degenerate sector through the centre.
  EXPECT_NE(file.find("SP1;PU3200.000,1625.000;PD1625.000,1625.000,3200.000,1625.000;\r\nPU;PA0,0;\r\n"),
            std::string::npos);
}

TEST(HpglParts, MinimumLabelSpacingFollowsTheUnit) {
  auto pf = RadialLinesFigure();
  ProgramState state = PlainState();
  state.Options.ShowMrd = true;
  pf->Level[1] = 0.8;  // mrd
  HpglCanvas plotter(state.Options.PlotStretch, state.Options.TextStretch);
  PlotPoleFigure(*pf, state, plotter, 650, 910, "");
  const std::string file = plotter.File();
  EXPECT_NE(file.find(";LBmin:    0.200  at "), std::string::npos) << file;
  EXPECT_NE(file.find(";LBnorm:   2.500      A:  180.0%\x03;"), std::string::npos);
}

TEST(HpglParts, CharacterSizeFromTextStretch) {
  StringHpglSink a, b;
  WriteHpglHeader(a, 2);
  WriteHpglHeader(b, 3);
  EXPECT_EQ(a.text, "DT\x03;SR1,2;");
  EXPECT_EQ(b.text, "DT\x03;SR1.5,3;");
}

TEST(HpglParts, EigenvectorMarksAreFilledDiscs) {
  StringHpglSink sink;
  WriteEigenMarksHPGL(sink, HpglFrame{650, 5}, {{325, 325}});
  EXPECT_EQ(sink.text, "SP1;FT1;PT1;PU1625,1625;PD;WG24,0,360;PT0;");
}

TEST(HpglParts, SingleCrossingLineIsOnlyAPenMove) {
  StringHpglSink sink;
  WriteContourHPGL(sink, HpglFrame{650, 5}, 4, {PathStep{PathStepKind::Start, {100, 200}, {}}});
  EXPECT_EQ(sink.text, "SP4; PU500,2250;PD");
}

TEST(HpglParts, LowPointStrokeIsOnePixelHigh) {
  StringHpglSink sink;
  WriteLowPointsHPGL(sink, HpglFrame{650, 5}, {{10, 20}});
  EXPECT_EQ(sink.text, "SP1;PU50,3150PD50,3155;");
}

TEST(HpglParts, SectorOutlinePassesTheCentre) {
  StringHpglSink half, full;
  WriteOutlineHPGL(half, 315, 180, 5);
  WriteOutlineHPGL(full, 315, 360, 5);
  EXPECT_EQ(full.text, kOutline650);
  // 5..175 degrees, then the centre, then back to beta 0.
  const std::string& h = half.text;
  EXPECT_EQ(std::count(h.begin(), h.end(), ','), 1 + 2 * 35 + 2 + 1);
  const std::string tail = "1625.000,1625.000,3200.000,1625.000;\r\n";
  ASSERT_GE(h.size(), tail.size());
  EXPECT_EQ(h.substr(h.size() - tail.size()), tail);
  // The last rim point before the centre is beta 175.
  EXPECT_NE(h.find(",  55.993,1762.270,1625.000,1625.000,"), std::string::npos) << h;
  EXPECT_EQ(full.text.find("1625.000,1625.000,"), std::string::npos);
}

TEST(HpglParts, TicksOnlyWhenTheLastRimPointHasValue) {
  auto pf = RadialLinesFigure();
  ProgramState state = PlainState();
  pf->Intensity[3][4] = 0;
  EXPECT_EQ(HpglPlotFile(*pf, state, 650, 910, "").find("PD3230,1625;PU;"), std::string::npos);
}

TEST(HpglParts, NoLevelsNoLevelPens) {
  auto pf = RadialLinesFigure();
  pf->LevelCount = 0;
  ProgramState state = PlainState();
  const std::string file = HpglPlotFile(*pf, state, 650, 910, "");
  EXPECT_EQ(file.find("SP2"), std::string::npos);
  EXPECT_NE(file.find("SR1,2;SP1;PU3250,3060;LBA:"), std::string::npos);
}

}  // namespace
}  // namespace quorix
