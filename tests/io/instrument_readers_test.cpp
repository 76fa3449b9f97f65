// The diffractometer readers: real measured files checked against what their
// text says at known positions, the layouts' conventions on small texts, and
// bad input.
#include "io/instrument_readers.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <string>

#include "base/text_file.h"
#include "io/xrdml_writer.h"
#include "test_support.h"

namespace quorix {
namespace {

struct Expected {
  std::size_t circles;
  std::size_t points;
  double alphaFirst, alphaLast, betaStart, betaStep;
};

void ExpectGrid(const MeasuredPoleFigure& pf, const Expected& e) {
  ASSERT_EQ(pf.circles.size(), e.circles) << pf.name;
  EXPECT_DOUBLE_EQ(pf.circles.front().alpha, e.alphaFirst);
  EXPECT_DOUBLE_EQ(pf.circles.back().alpha, e.alphaLast);
  for (const auto& c : pf.circles) {
    EXPECT_EQ(c.values.size(), e.points) << pf.name << " alpha " << c.alpha;
    EXPECT_NEAR(c.betaStart, e.betaStart, 1e-9);
    EXPECT_NEAR(c.betaStep, e.betaStep, 1e-9);
  }
  for (std::size_t i = 1; i < pf.circles.size(); ++i) EXPECT_LT(pf.circles[i - 1].alpha, pf.circles[i].alpha);
}

std::string RealText(const char* name) {
  const std::string path = test::RealDataPath(name);
  return path.empty() ? std::string() : test::ReadFile(path);
}

TEST(InstrumentRealData, XrdmlCopper111) {
  const std::string text = RealText("xrdml.xrdml");
  if (text.empty()) GTEST_SKIP() << "shared real data not present";
  CollectingSink sink;
  const auto file = ReadXrdmlText(text, "xrdml.xrdml", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::Xrdml);
  ASSERT_EQ(file->poleFigures.size(), 1u);
  const auto& pf = file->poleFigures[0];
  EXPECT_EQ(pf.hkl, "1 1 1");
  EXPECT_EQ(pf.name, "1 1 1");
  // Phi 1.5 to 358.5 over 120 counts: steps of 3, no closing point.
  ExpectGrid(pf, {30, 120, 0, 87, 1.5, 3});
  // Psi 30, the eleventh scan: "54621 54900 ... 54122", 5 s per point.
  const auto& c = pf.circles[10];
  EXPECT_DOUBLE_EQ(c.alpha, 30);
  EXPECT_DOUBLE_EQ(c.values[0], 54621 / 5.0);
  EXPECT_DOUBLE_EQ(c.values[1], 54900 / 5.0);
  EXPECT_DOUBLE_EQ(c.values[119], 54122 / 5.0);
  EXPECT_DOUBLE_EQ(pf.circles[0].values[0], 160142 / 5.0);
  EXPECT_DOUBLE_EQ(pf.circles[29].values[0], 3943 / 5.0);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(InstrumentRealData, UxdFourReflectionsGroupedBy2Theta) {
  const std::string text = RealText("bruker.UXD");
  if (text.empty()) GTEST_SKIP() << "shared real data not present";
  CollectingSink sink;
  const auto file = ReadUxdText(text, "bruker.UXD", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::Uxd);
  ASSERT_EQ(file->poleFigures.size(), 4u);
  const char* names[] = {"2theta 34.40", "2theta 36.45", "2theta 31.00", "2theta 47.80"};
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(file->poleFigures[k].name, names[k]);
    EXPECT_TRUE(file->poleFigures[k].hkl.empty());
    // _KHI 0 to 80 in 5; 0 to 355 in 5 (72 points, no closing point).
    ExpectGrid(file->poleFigures[k], {17, 72, 0, 80, 0, 5});
  }
  // _2THETA=47.799999, _KHI=40: "0.0000 476.00", "5.0000 467.00", "355.0000 457.00";
  // _2THETACPS holds counts per second already.
  const auto& c = file->poleFigures[3].circles[8];
  EXPECT_DOUBLE_EQ(c.alpha, 40);
  EXPECT_DOUBLE_EQ(c.values[0], 476);
  EXPECT_DOUBLE_EQ(c.values[1], 467);
  EXPECT_DOUBLE_EQ(c.values[71], 457);
  EXPECT_DOUBLE_EQ(file->poleFigures[0].circles[0].values[0], 2436);
}

TEST(InstrumentRealData, UxdSingleReflectionWithCrLf) {
  const std::string text = RealText("ZnCuTi_Wal_50_5x5_PF_002_R.UXD");
  if (text.empty()) GTEST_SKIP() << "shared real data not present";
  CollectingSink sink;
  const auto file = ReadUxdText(text, "ZnCuTi.UXD", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  ASSERT_EQ(file->poleFigures.size(), 1u);
  ExpectGrid(file->poleFigures[0], {16, 72, 0, 75, 0, 5});
  // _KHI=75: "0.0000 101.75" and "180.0000 161.59" (counts per second, _STEPTIME=11.9998 not applied).
  const auto& c = file->poleFigures[0].circles[15];
  EXPECT_DOUBLE_EQ(c.values[0], 101.75);
  EXPECT_DOUBLE_EQ(c.values[36], 161.59);
}

TEST(InstrumentRealData, RasTiltsFromTheSamplePlane) {
  const std::string text = RealText("Bruker_xrd_10-10.ras");
  if (text.empty()) GTEST_SKIP() << "shared real data not present";
  CollectingSink sink;
  const auto file = ReadKeyText(text, "10-10.ras", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::Ras);
  ASSERT_EQ(file->poleFigures.size(), 1u);
  const auto& pf = file->poleFigures[0];
  EXPECT_EQ(pf.name, "am30 ED 25 10-10");
  // *MEAS_3DE_ALPHA_ANGLE 0 .. 90 is tilt 90 .. 0; 0 to 360 in 5 with the closing point dropped.
  ExpectGrid(pf, {19, 72, 0, 90, 0, 5});
  // 5 degrees at 200 deg/min: 1.5 s a point. Block 1 (alpha 0, tilt 90): "0.000 1522.000 1.000",
  // "5.000 1513.000 1.000"; block 19 (alpha 90): "355.000 14403.000 1.000"; block 10 (alpha 45): "90.000 10739.000".
  EXPECT_DOUBLE_EQ(pf.circles[18].values[0], 1522 / 1.5);
  EXPECT_DOUBLE_EQ(pf.circles[18].values[1], 1513 / 1.5);
  EXPECT_DOUBLE_EQ(pf.circles[0].values[71], 14403 / 1.5);
  EXPECT_DOUBLE_EQ(pf.circles[9].alpha, 45);
  EXPECT_DOUBLE_EQ(pf.circles[9].values[18], 10739 / 1.5);
}

TEST(InstrumentRealData, AscFineGridNearTheCentre) {
  const std::string text = RealText("Rigaku_xrd_110.asc");
  if (text.empty()) GTEST_SKIP() << "shared real data not present";
  CollectingSink sink;
  const auto file = ReadKeyText(text, "110.asc", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::Asc);
  ASSERT_EQ(file->poleFigures.size(), 1u);
  const auto& pf = file->poleFigures[0];
  EXPECT_EQ(pf.name, "pf_Al2O3_110@110");
  // *PF_AANGLE 80 .. 90 is tilt 10 .. 0; 721 counts from 0 to 360 in 0.5: 720 points.
  ExpectGrid(pf, {11, 720, 0, 10, 0, 0.5});
  // *PF_AANGLE 87 (tilt 3): count 537 is 7354, count 1 is 1; 0.0833333 sec./step.
  EXPECT_NEAR(pf.circles[3].values[537], 7354 / 0.0833333, 1e-6);
  EXPECT_NEAR(pf.circles[3].values[1], 1 / 0.0833333, 1e-9);
  EXPECT_NEAR(pf.circles[0].values[360], 3 / 0.0833333, 1e-9);
}

TEST(InstrumentRealData, RigakuTxtWithGivenTilts) {
  const std::string text = RealText("Rigaku_txt.TXT");
  if (text.empty()) GTEST_SKIP() << "shared real data not present";
  CollectingSink sink;
  EXPECT_FALSE(ReadRigakuTxtText(text, "NiTi.TXT", {}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find("NiTi.TXT"), std::string::npos);
  EXPECT_NE(sink.messages[0].find("gives no tilts"), std::string::npos);

  sink.messages.clear();
  MeasurementOptions options;
  options.tiltStart = 0;
  options.tiltStep = 3;
  const auto file = ReadRigakuTxtText(text, "NiTi.TXT", options, sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::RigakuTxt);
  ASSERT_EQ(file->poleFigures.size(), 1u);
  const auto& pf = file->poleFigures[0];
  EXPECT_EQ(pf.name, "NiTi_082812_42deg.raw");
  ExpectGrid(pf, {31, 120, 0, 90, 0, 3});
  // Speed 180 deg/min over steps of 3: 1 s a point. Circle 16: "12 107", "357 83"; circle 31: "180 256".
  EXPECT_DOUBLE_EQ(pf.circles[15].values[4], 107);
  EXPECT_DOUBLE_EQ(pf.circles[15].values[119], 83);
  EXPECT_DOUBLE_EQ(pf.circles[30].values[60], 256);
}

TEST(InstrumentRealData, DetectionPicksEachFileByItsOwnReader) {
  struct Case {
    const char* name;
    bool (*looks)(std::string_view);
  } cases[] = {{"xrdml.xrdml", LooksLikeXrdml},
               {"bruker.UXD", LooksLikeUxd},
               {"ZnCuTi_Wal_50_5x5_PF_002_R.UXD", LooksLikeUxd},
               {"Bruker_xrd_10-10.ras", LooksLikeKeyText},
               {"Rigaku_xrd_110.asc", LooksLikeKeyText},
               {"Rigaku_txt.TXT", LooksLikeRigakuTxt},
               {"popla.epf", nullptr},
               {"beartex.xpe", nullptr},
               {"juelich012.jul", nullptr},
               {"dubna.cnv", nullptr}};
  bool (*all[])(std::string_view) = {LooksLikeXrdml, LooksLikeUxd, LooksLikeKeyText, LooksLikeRigakuTxt};
  int seen = 0;
  for (const auto& c : cases) {
    const std::string text = RealText(c.name);
    if (text.empty()) continue;
    ++seen;
    for (auto* looks : all) EXPECT_EQ(looks(text), looks == c.looks) << c.name;
  }
  if (seen == 0) GTEST_SKIP() << "shared real data not present";
}

// The examples hold one simulated measurement in five layouts, each in its
// own conventions (tilts from the plane, a drive running backwards, closing
// points, tilts only from the user): read, they must agree to the last bit.
TEST(InstrumentExamples, EveryLayoutGivesTheSameMeasurement) {
  CollectingSink sink;
  const auto read = [&](const char* name) {
    const std::string text = test::ReadFile(test::ExamplePath(name));
    MeasurementOptions tilts;
    tilts.tiltStart = 0;
    tilts.tiltStep = 15;
    if (LooksLikeXrdml(text)) return ReadXrdmlText(text, name, sink);
    if (LooksLikeUxd(text)) return ReadUxdText(text, name, sink);
    if (LooksLikeKeyText(text)) return ReadKeyText(text, name, sink);
    if (LooksLikeRigakuTxt(text)) return ReadRigakuTxtText(text, name, tilts, sink);
    ADD_FAILURE() << name << " not recognised";
    return std::optional<MeasurementFile>();
  };
  const auto xrdml = read("copper_scan.xrdml");
  ASSERT_TRUE(xrdml) << sink.messages.at(0);
  ASSERT_EQ(xrdml->poleFigures.size(), 2u);
  EXPECT_EQ(xrdml->poleFigures[1].hkl, "2 0 0");
  const auto& reference = xrdml->poleFigures[0];
  EXPECT_EQ(reference.hkl, "1 1 1");
  ExpectGrid(reference, {6, 24, 0, 75, 0, 15});
  for (const char* name : {"copper_scan.uxd", "copper_scan.asc", "copper_scan.ras", "copper_scan.txt"}) {
    const auto file = read(name);
    ASSERT_TRUE(file) << name << ": " << sink.messages.at(0);
    const auto& pf = file->poleFigures.at(0);
    ASSERT_EQ(pf.circles.size(), reference.circles.size()) << name;
    for (std::size_t i = 0; i < pf.circles.size(); ++i) {
      EXPECT_EQ(pf.circles[i].alpha, reference.circles[i].alpha) << name;
      EXPECT_EQ(pf.circles[i].betaStart, reference.circles[i].betaStart) << name;
      EXPECT_EQ(pf.circles[i].betaStep, reference.circles[i].betaStep) << name;
      EXPECT_EQ(pf.circles[i].values, reference.circles[i].values) << name << " circle " << i;
    }
  }
  const auto uxd = read("copper_scan.uxd");
  ASSERT_TRUE(uxd && uxd->poleFigures.size() == 2);
  EXPECT_EQ(uxd->poleFigures[1].circles.back().values, xrdml->poleFigures[1].circles.back().values);
  EXPECT_TRUE(sink.messages.empty());
}

// --- Small texts -------------------------------------------------------------

std::string Num(double v) { return fmt::format("{}", v); }

std::string With(std::string s, std::string_view from, std::string_view to) {
  const auto at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

std::string XrdmlScan(double psi, double phiStart, double phiEnd, const std::string& counts,
                      const std::string& extra = "<commonCountingTime unit=\"seconds\">2.00</commonCountingTime>") {
  return "<scan scanAxis=\"Phi\"><reflection><hkl><h>2</h><k>0</k><l>0</l></hkl></reflection><dataPoints>"
         "<positions axis=\"Phi\" unit=\"deg\"><startPosition>" +
         Num(phiStart) + "</startPosition><endPosition>" + Num(phiEnd) +
         "</endPosition></positions>"
         "<positions axis=\"Psi\" unit=\"deg\"><commonPosition>" +
         Num(psi) + "</commonPosition></positions>" + extra + "<intensities unit=\"counts\">" + counts +
         "</intensities></dataPoints></scan>";
}

std::string Xrdml(const std::string& measurements) {
  return "<?xml version=\"1.0\"?>\n<xrdMeasurements xmlns=\"http://www.xrdml.com/XRDMeasurement/1.2\">"
         "<sample><name>Brass</name></sample>" +
         measurements + "</xrdMeasurements>\n";
}

std::string Measurement(const std::string& scans) {
  return "<xrdMeasurement measurementType=\"Texture pole figure\">" + scans + "</xrdMeasurement>";
}

TEST(XrdmlReader, ConventionsOfTheScans) {
  // Scans out of tilt order; the second runs towards decreasing phi and
  // closes its circle at 360; counts over 2 s.
  const std::string text =
      Xrdml(Measurement(XrdmlScan(10, 0, 270, "2 4 6 8") + XrdmlScan(0, 360, 0, "10 20 30 40 50")));
  CollectingSink sink;
  const auto file = ReadXrdmlText(text, "t.xrdml", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  const auto& pf = file->poleFigures.at(0);
  EXPECT_EQ(pf.hkl, "2 0 0");
  ASSERT_EQ(pf.circles.size(), 2u);
  EXPECT_DOUBLE_EQ(pf.circles[0].alpha, 0);
  EXPECT_DOUBLE_EQ(pf.circles[0].betaStart, 0);
  EXPECT_DOUBLE_EQ(pf.circles[0].betaStep, 90);
  // Reversed: 0 -> 25, 90 -> 20, ...; the value at 360 (5) repeats the one at 0.
  EXPECT_EQ(pf.circles[0].values, (std::vector<double>{25, 20, 15, 10}));
  EXPECT_EQ(pf.circles[1].values, (std::vector<double>{1, 2, 3, 4}));
}

TEST(XrdmlReader, TimesUnitsAndAttenuation) {
  const std::string each =
      "<countingTimes>1 2 4</countingTimes><beamAttenuationFactors>1 1 10</beamAttenuationFactors>";
  const std::string cps = "<commonCountingTime>4</commonCountingTime>";
  const std::string perSecond = With(XrdmlScan(5, 0, 240, "8 8 8", cps), "unit=\"counts\"", "unit=\"cps\"");
  const std::string text = Xrdml(Measurement(XrdmlScan(0, 0, 240, "8 8 8", each) + perSecond));
  CollectingSink sink;
  const auto file = ReadXrdmlText(text, "t.xrdml", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->poleFigures[0].circles[0].values, (std::vector<double>{8, 4, 20}));
  EXPECT_EQ(file->poleFigures[0].circles[1].values, (std::vector<double>{8, 8, 8}));
}

TEST(XrdmlReader, OnePoleFigurePerMeasurement) {
  std::string noHkl = XrdmlScan(0, 0, 180, "1 2");
  noHkl.erase(noHkl.find("<reflection>"), noHkl.find("<dataPoints>") - noHkl.find("<reflection>"));
  const std::string text =
      Xrdml(Measurement(XrdmlScan(0, 0, 180, "1 2")) +
            "<xrdMeasurement measurementType=\"Scan\"><scan/></xrdMeasurement>" + Measurement(noHkl));
  CollectingSink sink;
  const auto file = ReadXrdmlText(text, "t.xrdml", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  ASSERT_EQ(file->poleFigures.size(), 2u);
  EXPECT_EQ(file->poleFigures[0].name, "2 0 0");
  EXPECT_EQ(file->poleFigures[1].name, "Brass 2");
  EXPECT_TRUE(file->poleFigures[1].hkl.empty());
}

TEST(XrdmlReader, WhatTheWriterWritesReadsBack) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 30, 12);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= 12; ++j) pf->Intensity[i][j] = 100 * i + j;
  // A template whose counting time is one second.
  const std::string sample =
      "<?xml version=\"1.0\"?>\n<xrdMeasurements>\n<xrdMeasurement>\n<diffractedBeamPath></diffractedBeamPath>\n"
      "<scan>\n<header></header>\n<dataPoints>\n<positions axis=\"Phi\">\n<startPosition>0</startPosition>\n"
      "<endPosition>360</endPosition>\n</positions>\n<positions axis=\"Psi\">\n<commonPosition>0"
      "</commonPosition>\n</positions>\n<commonCountingTime>1.00</commonCountingTime>\n"
      "<intensities>1</intensities>\n</dataPoints>\n</scan>\n</xrdMeasurement>\n</xrdMeasurements>\n";
  XrdmlOptions options;
  options.h = 1, options.k = 1, options.l = 1;
  const auto written = FormatPFXRDML(*pf, sample, options);
  ASSERT_TRUE(written);
  CollectingSink sink;
  const auto file = ReadXrdmlText(*written, "out.xrdml", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  const auto& back = file->poleFigures.at(0);
  EXPECT_EQ(back.hkl, "1 1 1");
  ASSERT_EQ(back.circles.size(), static_cast<std::size_t>(pf->CircleCount));
  for (int i = 1; i <= pf->CircleCount; ++i) {
    const auto& c = back.circles[static_cast<std::size_t>(i - 1)];
    EXPECT_DOUBLE_EQ(c.alpha, pf->Alpha[i]);
    EXPECT_DOUBLE_EQ(c.betaStep, 30);
    ASSERT_EQ(c.values.size(), 12u);
    for (int j = 1; j <= 12; ++j) EXPECT_DOUBLE_EQ(c.values[static_cast<std::size_t>(j - 1)], pf->Intensity[i][j]);
  }
}

std::string UxdRange(double khi, double twoTheta, const std::string& label, const std::string& data,
                     const std::string& more = "_STEPSIZE=90\n_START=0\n") {
  return "; (Data for Range)\n_DRIVE='PHI'\n_STEPTIME=2.0\n" + more + "_2THETA=" + std::to_string(twoTheta) +
         "\n_KHI=" + std::to_string(khi) + "\n" + label + "\n" + data;
}

TEST(UxdReader, CountsLabelsStepsAndGroups) {
  const std::string text = "_FILEVERSION=2\n" + UxdRange(5, 40, "_2THETACOUNTS", "0 2\n90 4\n180 6\n270 8\n360 2\n") +
                           UxdRange(0, 40, "_COUNTS", "10 20 30\n40\n") +
                           UxdRange(0, 50, "_CPS", "7 7 7 7", "_STEPSIZE=-90\n_START=270\n");
  CollectingSink sink;
  const auto file = ReadUxdText(text, "t.uxd", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  ASSERT_EQ(file->poleFigures.size(), 2u);
  const auto& first = file->poleFigures[0];
  ASSERT_EQ(first.circles.size(), 2u);
  // _COUNTS: one value after another from _START in _STEPSIZE, over _STEPTIME.
  EXPECT_DOUBLE_EQ(first.circles[0].alpha, 0);
  EXPECT_EQ(first.circles[0].values, (std::vector<double>{5, 10, 15, 20}));
  // Angle-count pairs closing the circle at 360.
  EXPECT_EQ(first.circles[1].values, (std::vector<double>{1, 2, 3, 4}));
  EXPECT_DOUBLE_EQ(first.circles[1].betaStep, 90);
  // A decreasing drive from 270: increasing from 0 after normalising.
  const auto& second = file->poleFigures[1].circles.at(0);
  EXPECT_DOUBLE_EQ(second.betaStart, 0);
  EXPECT_DOUBLE_EQ(second.betaStep, 90);
  EXPECT_EQ(second.values, (std::vector<double>{7, 7, 7, 7}));
}

std::string AscBlock(double aangle, const std::string& counts, const std::string& speed = "*SPEED = 0.5\n") {
  return "*BEGIN\n*GROUP = 0\n*START = 0\n*STOP = 360\n*STEP = 120\n" + speed +
         "*PF_AANGLE = " + std::to_string(aangle) + "\n*COUNT = 4\n" + counts + "\n*END\n";
}

TEST(KeyTextReader, AscTiltsAndTimes) {
  const std::string text =
      "*TYPE = Raw\n*MEMO = quartz\n*SPEED_DIM = sec./step\n*YUNIT = counts\n*PF_ASTART = 1, 80\n" +
      AscBlock(90, "1, 2, 3, 1") + AscBlock(75, "4, 5,\n6, 4") + "*EOF\n";
  CollectingSink sink;
  const auto file = ReadKeyText(text, "t.asc", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::Asc);
  const auto& pf = file->poleFigures.at(0);
  EXPECT_EQ(pf.name, "quartz");
  ASSERT_EQ(pf.circles.size(), 2u);
  EXPECT_DOUBLE_EQ(pf.circles[0].alpha, 0);
  EXPECT_DOUBLE_EQ(pf.circles[1].alpha, 15);
  EXPECT_EQ(pf.circles[0].values, (std::vector<double>{2, 4, 6}));
  EXPECT_EQ(pf.circles[1].values, (std::vector<double>{8, 10, 12}));

  // Degrees per minute: 120 degrees at 240 deg/min is 30 s.
  const std::string perMinute = "*SPEED_DIM = deg./min.\n" + AscBlock(90, "30, 60, 90, 30", "*SPEED = 240\n");
  const auto minute = ReadKeyText(perMinute, "m.asc", sink);
  ASSERT_TRUE(minute) << sink.messages.at(0);
  EXPECT_EQ(minute->poleFigures[0].circles[0].values, (std::vector<double>{1, 2, 3}));
}

TEST(KeyTextReader, RasAttenuationAndReflections) {
  const auto block = [](double alpha, double twoTheta, const std::string& rows) {
    return "*RAS_HEADER_START\n*FILE_SAMPLE \"steel\"\n*MEAS_3DE_ALPHA_ANGLE \"" + std::to_string(alpha) +
           "\"\n*MEAS_3DE_TWOTHETA_ANGLE \"" + std::to_string(twoTheta) +
           "\"\n*MEAS_SCAN_START \"0\"\n*MEAS_SCAN_STEP \"180\"\n*MEAS_SCAN_STOP \"360\"\n"
           "*MEAS_SCAN_SPEED \"60\"\n*MEAS_SCAN_SPEED_UNIT \"deg/min\"\n*MEAS_SCAN_UNIT_Y \"counts\"\n"
           "*RAS_HEADER_END\n*RAS_INT_START\n" +
           rows + "*RAS_INT_END\n";
  };
  const std::string text = "*RAS_DATA_START\n" + block(80, 44, "0 360 1\n180 90 4\n360 360 1\n") +
                           block(80, 50, "0 18 1.0\n180 36\n360 18\n") + "*RAS_DATA_END\n";
  CollectingSink sink;
  const auto file = ReadKeyText(text, "t.ras", sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  EXPECT_EQ(file->format, DataLayout::Ras);
  ASSERT_EQ(file->poleFigures.size(), 2u);
  EXPECT_EQ(file->poleFigures[0].name.rfind("steel 2theta 44", 0), 0u);
  // 180 degrees at 60 deg/min: 180 s a point; the attenuation factor multiplies.
  const auto& c = file->poleFigures[0].circles.at(0);
  EXPECT_DOUBLE_EQ(c.alpha, 10);
  EXPECT_EQ(c.values, (std::vector<double>{2, 2}));
  EXPECT_EQ(file->poleFigures[1].circles.at(0).values, (std::vector<double>{0.1, 0.2}));
}

std::string TxtCircle(const std::string& rows, const std::string& head = "") {
  return head + "Start\t0\nStop\t360\nStep\t90\nSpeed\t180\nOffset\t0\n" + rows;
}

TEST(RigakuTxtReader, TiltsComeFromTheOptions) {
  const std::string text = "Sample\tNi\nScanningType\tContinuos Scanning\n" +
                           TxtCircle("0\t3\n90\t6\n180\t9\n270\t12\n360\t3\n") + "X-Ray\t40kV\n" +
                           TxtCircle("0\t1\n90\t1\n180\t1\n270\t1\n360\t1\n");
  MeasurementOptions options;
  options.tiltStart = 85;
  options.tiltStep = -5;
  CollectingSink sink;
  const auto file = ReadRigakuTxtText(text, "t.txt", options, sink);
  ASSERT_TRUE(file) << sink.messages.at(0);
  const auto& pf = file->poleFigures.at(0);
  EXPECT_EQ(pf.name, "Ni");
  ASSERT_EQ(pf.circles.size(), 2u);
  // The second circle of the file is the tilt 80; 90 degrees at 180 deg/min is 30 s.
  EXPECT_DOUBLE_EQ(pf.circles[0].alpha, 80);
  EXPECT_DOUBLE_EQ(pf.circles[1].alpha, 85);
  EXPECT_EQ(pf.circles[1].values, (std::vector<double>{0.1, 0.2, 0.3, 0.4}));

  // Tilts that run past the rim are refused rather than folded back.
  options.tiltStep = 10;
  EXPECT_FALSE(ReadRigakuTxtText(text, "t.txt", options, sink));
  EXPECT_NE(sink.messages.back().find("outside 0 to 90"), std::string::npos);
}

// --- Bad input ---------------------------------------------------------------

enum class Reader { Xrdml, Uxd, Key, Txt };

std::optional<MeasurementFile> Read(Reader r, std::string_view text, MessageSink& sink) {
  MeasurementOptions tilts;
  tilts.tiltStart = 0;
  tilts.tiltStep = 5;
  switch (r) {
    case Reader::Xrdml: return ReadXrdmlText(text, "bad.file", sink);
    case Reader::Uxd: return ReadUxdText(text, "bad.file", sink);
    case Reader::Key: return ReadKeyText(text, "bad.file", sink);
    case Reader::Txt: return ReadRigakuTxtText(text, "bad.file", tilts, sink);
  }
  return std::nullopt;
}

struct BadCase {
  const char* what;
  Reader reader;
  std::string text;
  const char* message;  // a part of the one message
};

TEST(InstrumentReaders, BadInputIsRefusedWithOneMessageNamingTheFile) {
  const std::string good = XrdmlScan(0, 0, 180, "1 2");
  std::string noPhi = good;
  noPhi.erase(noPhi.find("<positions axis=\"Phi\""),
              noPhi.find("<positions axis=\"Psi\"") - noPhi.find("<positions axis=\"Phi\""));
  const std::string full = Xrdml(Measurement(good));
  const std::string garbage("\x00\xff\x13<xrdMeasurements\x01\xfe", 21);
  std::string megaLine;
  for (int i = 0; i < 1'000'000; ++i) megaLine += "1 ";
  const std::string pairs = "0 1\n90 1\n180 1\n270 1\n";
  const BadCase cases[] = {
      {"truncated XML", Reader::Xrdml, full.substr(0, full.size() / 2), "the XML is broken"},
      {"another root", Reader::Xrdml, "<x><xrdMeasurement/></x>", "no <xrdMeasurements>"},
      {"binary garbage", Reader::Xrdml, garbage, "bad.file"},
      {"scan without Phi", Reader::Xrdml, Xrdml(Measurement(noPhi)), "no Phi positions"},
      {"NaN count", Reader::Xrdml, Xrdml(Measurement(XrdmlScan(0, 0, 180, "1 nan"))), "not a finite number"},
      {"huge count", Reader::Xrdml, Xrdml(Measurement(XrdmlScan(0, 0, 180, "1 1e999"))), "not a finite number"},
      {"tiny phi step", Reader::Xrdml, Xrdml(Measurement(XrdmlScan(0, 0, 1e-300, "1 2"))), "too small"},
      {"more than a turn", Reader::Xrdml, Xrdml(Measurement(XrdmlScan(0, 0, 720, "1 2 3"))), "more than a full turn"},
      {"tilt beyond the rim", Reader::Xrdml, Xrdml(Measurement(XrdmlScan(95, 0, 180, "1 2"))), "outside 0 to 90"},
      {"two scans at one tilt", Reader::Xrdml, Xrdml(Measurement(good + good)), "two circles at the tilt 0"},
      {"zero counting time", Reader::Xrdml,
       Xrdml(Measurement(XrdmlScan(0, 0, 180, "1 2", "<commonCountingTime>0</commonCountingTime>"))), "counting time"},
      {"no measurement", Reader::Xrdml, Xrdml(""), "no pole figure measurement"},
      {"range without counts", Reader::Uxd, "_FILEVERSION=2\n_KHI=0\n_2THETA=40\n_STEPSIZE=5\n_START=0\n", "no counts"},
      {"range without tilt", Reader::Uxd, "_DRIVE='PHI'\n_2THETA=40\n_STEPSIZE=90\n_START=0\n_COUNTS\n1 2\n",
       "no _KHI"},
      {"uneven angles", Reader::Uxd, UxdRange(0, 40, "_2THETACPS", "0 1\n90 1\n200 1\n"), "not evenly spaced"},
      {"angles against _STEPSIZE", Reader::Uxd, UxdRange(0, 40, "_2THETACPS", "0 1\n45 1\n"), "_STEPSIZE"},
      {"another drive", Reader::Uxd, "_DRIVE='2THETA'\n_KHI=0\n_2THETA=4\n_STEPSIZE=1\n_START=0\n_COUNTS\n1\n",
       "not the azimuth"},
      {"infinite count", Reader::Uxd, UxdRange(0, 40, "_COUNTS", "1 inf 3"), "not a finite number"},
      {"megabyte line", Reader::Uxd, UxdRange(0, 40, "_COUNTS", megaLine), "more than a full turn"},
      {"step of 1e-300", Reader::Uxd, UxdRange(0, 40, "_COUNTS", "1 2 3", "_STEPSIZE=1e-300\n_START=0\n"), "too small"},
      {"absurd _STEPCOUNT", Reader::Uxd, UxdRange(0, 40, "_COUNTS", "1 2", "_STEPSIZE=5\n_START=0\n_STEPCOUNT=1e12\n"),
       "_STEPCOUNT"},
      {"absurd point count", Reader::Key, With(AscBlock(90, "1, 2, 3, 4"), "*STEP = 120", "*STEP = 1e-300"),
       "whole number"},
      {"count mismatch", Reader::Key, AscBlock(90, "1, 2, 3"), "make 4 points, the block holds 3"},
      {"truncated block", Reader::Key, "*PF_X = 1\n*BEGIN\n*START = 0\n*COUNT = 2\n1, 2\n", "ends inside the block"},
      {"no tilt", Reader::Key, "*BEGIN\n*START = 0\n*STOP = 180\n*STEP = 180\n*COUNT = 2\n1, 2\n*END\n",
       "no *MEAS_3DE_ALPHA_ANGLE"},
      {"bad number", Reader::Key, AscBlock(90, "1, x, 3, 1"), "\"x\" is not a finite number"},
      {"unknown speed unit", Reader::Key, "*SPEED_DIM = furlongs\n" + AscBlock(90, "1, 2, 3, 1"), "not known"},
      {"ras angles off the step", Reader::Key,
       "*RAS_HEADER_START\n*MEAS_3DE_ALPHA_ANGLE \"90\"\n*MEAS_SCAN_START \"0\"\n*MEAS_SCAN_STEP \"180\"\n"
       "*MEAS_SCAN_STOP \"360\"\n*RAS_HEADER_END\n*RAS_INT_START\n0 1\n90 1\n360 1\n*RAS_INT_END\n",
       "do not follow"},
      {"no blocks", Reader::Key, "*TYPE = Raw\n*PF_AANGLE = 80\n", "no block"},
      {"txt count mismatch", Reader::Txt, TxtCircle(pairs.substr(0, 15)), "do not make"},
      {"txt angles off", Reader::Txt, TxtCircle("0 1\n90 1\n180 1\n271 1\n360 1\n"), "do not follow Start and Step"},
      {"txt three columns", Reader::Txt, TxtCircle("0 1 2\n"), "expected an azimuth and an intensity"},
      {"txt no step", Reader::Txt, "Start\t0\nStop\t360\n0 1\n", "no Step line"},
      {"txt garbage", Reader::Txt, garbage, "bad.file"},
      {"txt empty", Reader::Txt, "", "no circle"},
  };
  for (const auto& c : cases) {
    CollectingSink sink;
    EXPECT_FALSE(Read(c.reader, c.text, sink)) << c.what;
    ASSERT_EQ(sink.messages.size(), 1u) << c.what;
    EXPECT_NE(sink.messages[0].find("bad.file"), std::string::npos) << c.what << ": " << sink.messages[0];
    EXPECT_NE(sink.messages[0].find(c.message), std::string::npos) << c.what << ": " << sink.messages[0];
  }
}

TEST(InstrumentReaders, DetectionLooksAtContentOnly) {
  const std::string xrdml = Xrdml(Measurement(XrdmlScan(0, 0, 180, "1 2")));
  const std::string uxd = UxdRange(0, 40, "_COUNTS", "1 2 3 4");
  const std::string asc = "*TYPE = Raw\n*PF_ASTART = 0, 80\n" + AscBlock(90, "1, 2, 3, 1");
  const std::string ras = "*RAS_DATA_START\n*RAS_HEADER_START\n";
  const std::string txt = "Sample\tx\nStart\t0\nStop\t360\nStep\t5\n0\t1\n";
  const std::string plain = "1 2 3 4\n5 6 7 8\n";
  const std::string prose = "Start the engine.\nStop here.\nStep by step.\n";
  EXPECT_TRUE(LooksLikeXrdml(xrdml));
  EXPECT_TRUE(LooksLikeUxd(uxd));
  EXPECT_TRUE(LooksLikeKeyText(asc));
  EXPECT_TRUE(LooksLikeKeyText(ras));
  EXPECT_TRUE(LooksLikeRigakuTxt(txt));
  for (const std::string* other : {&plain, &prose, &txt, &asc}) {
    EXPECT_FALSE(LooksLikeXrdml(*other));
    EXPECT_FALSE(LooksLikeUxd(*other));
  }
  for (const std::string* other : {&plain, &prose, &xrdml, &uxd, &txt}) EXPECT_FALSE(LooksLikeKeyText(*other));
  for (const std::string* other : {&plain, &prose, &xrdml, &uxd, &asc, &ras}) EXPECT_FALSE(LooksLikeRigakuTxt(*other));
  // Only the start is looked at: a marker far down a long file does not count.
  EXPECT_FALSE(LooksLikeUxd(std::string(100000, '\n') + "_FILEVERSION=2\n"));
}

}  // namespace
}  // namespace quorix
