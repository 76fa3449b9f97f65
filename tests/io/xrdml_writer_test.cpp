// XRDML output on a template: scans per complete circle byte for byte, the
// reflection element, counts, unusable templates, and the real diffractometer file.
#include "io/xrdml_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/text_file.h"
#include "io/load_pole_figure.h"
#include "test_support.h"

namespace quorix {
namespace {

std::string Fixture(const std::string& name) { return std::string(QUORIX_SOURCE_DIR) + "/tests/io/data/" + name; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::unique_ptr<TPoleFigure> ThreeCircles() {
  auto pf = NewPoleFigure();
  pf->CircleCount = 3;
  test::SizeTables(*pf, 3, 3);
  const double values[3][3] = {{2.5, 3.5, -3.7}, {1, -1, 1}, {10, 20, 30.5}};
  for (int i = 1; i <= 3; ++i) {
    pf->Alpha[i] = 5.0 * i;
    pf->BetaStep[i] = 120;
    pf->CirclePoints[i] = 3;
    for (int j = 1; j <= 3; ++j) pf->Intensity[i][j] = values[i - 1][j - 1];
  }
  return pf;
}

std::string Scan(const std::string& psi, const std::string& counts, bool reflection) {
  std::string s =
      "\t\t<scan appendNumber=\"0\" scanAxis=\"Phi\">\r\n"
      "\t\t\t<header>\r\n"
      "\t\t\t\t<author>tester</author>\r\n"
      "\t\t\t</HEADER>\r\n";
  if (reflection)
    s += "\t\t\t<reflection>\r\n\t\t\t\t<hkl>\r\n\t\t\t\t\t<h>1</h>\r\n\t\t\t\t\t<k>1</k>\r\n\t\t\t\t\t<l>1</l>\r\n"
         "\t\t\t\t</hkl>\r\n\t\t\t</reflection>\r\n";
  return s +
         "\t\t\t<DataPoints>\r\n"
         "\t\t\t\t<positions axis=\"Phi\" unit=\"deg\">\r\n"
         "\t\t\t\t\t<startPosition>0.00</startPosition>\r\n"
         "\t\t\t\t</positions>\r\n"
         "\t\t\t\t<positions axis=\"PSI\" unit=\"deg\">\r\n"
         "\t\t\t\t\t<commonPosition>" +
         psi +
         "</commonPosition>\r\n"
         "\t\t\t\t</positions>\r\n"
         "\t\t\t\t<commonCountingTime unit=\"seconds\">5.00</commonCountingTime>\r\n"
         "\t\t\t\t<intensities unit=\"counts\">" +
         counts +
         "</intensities>\r\n"
         "\t\t\t</dataPoints>\r\n"
         "\t\t</scan>\r\n";
}

const char* kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<xrdMeasurements xmlns=\"http://www.xrdml.com/XRDMeasurement/1.2\">\r\n"
    "\t<xrdMeasurement measurementType=\"Texture pole figure\">\r\n"
    "\t\t<DiffractedBeamPath>\r\n"
    "\t\t\t<radius unit=\"mm\">320.00</radius>\r\n"
    "\t\t</DiffractedBeamPath>\r\n";
const char* kTail = "\t</xrdMeasurement>\r\n</xrdMeasurements>\r\n";

std::string TemplateText(const std::string& name) {
  std::string text;
  EXPECT_EQ(ReadWholeFile(Fixture(name), text), FileStatus::Ok);
  return text;
}

TEST(XrdmlWriter, OneScanPerCompleteCircleOnAMixedCaseTemplate) {
  const auto pf = ThreeCircles();
  XrdmlOptions o;
  o.h = o.k = o.l = 1;
  const auto text = FormatPFXRDML(*pf, TemplateText("mixed_case_markers.xrdml"), o);
  ASSERT_TRUE(text);
  // Circle 2 holds a missing value and is left out; halves go to the even neighbour;
  // the first count closes the circle; a tilt of 5 gets a leading blank.
  EXPECT_EQ(*text, std::string(kHead) + Scan(" 5.00", "2 4 -4 2", true) + Scan("15.00", "10 20 30 10", true) + kTail);

  o.SetNegativeToZero = true;
  o.h = 2;
  o.k = o.l = 0;
  EXPECT_EQ(*FormatPFXRDML(*pf, TemplateText("mixed_case_markers.xrdml"), o),
            std::string(kHead) + Scan(" 5.00", "2 4 0 2", false) + Scan("15.00", "10 20 30 10", false) + kTail);
}

TEST(XrdmlWriter, EveryCircleIncompleteGivesTheHeaderAndTheClosingLines) {
  auto pf = ThreeCircles();
  pf->Intensity[1][1] = pf->Intensity[3][3] = -1;
  const auto text = FormatPFXRDML(*pf, TemplateText("mixed_case_markers.xrdml"), {});
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, std::string(kHead) + kTail);
}

TEST(XrdmlWriter, SeventyTwoPointsGiveSeventyThreeCounts) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 90, 72);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= 72; ++j) pf->Intensity[i][j] = 1000 + j;
  const auto text = FormatPFXRDML(*pf, TemplateText("mixed_case_markers.xrdml"), {});
  ASSERT_TRUE(text);
  const std::size_t start = text->find("<intensities unit=\"counts\">") + 27;
  const auto counts = SplitWhitespace(std::string_view(*text).substr(start, text->find('<', start) - start));
  ASSERT_EQ(counts.size(), 73u);
  EXPECT_EQ(counts.front(), "1001");
  EXPECT_EQ(counts[71], "1072");
  EXPECT_EQ(counts.back(), "1001");
}

TEST(XrdmlWriter, UnusableTemplatesAndMissingFilesWriteNothing) {
  const auto pf = ThreeCircles();
  const std::string out = test::WriteTempFile("kept.xrdml", "earlier output");
  CollectingSink sink;
  const std::string truncated = Fixture("template_ending_inside_the_scan.xrdml");
  EXPECT_FALSE(WritePFXRDML(*pf, truncated, out, {}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "The sample file " + truncated + " is not a usable XRDML template.");
  EXPECT_EQ(ReadFile(out), "earlier output");

  sink.messages.clear();
  const std::string missing = (test::TempDir() / "none.xrdml").string();
  const std::string fresh = (test::TempDir() / "fresh.xrdml").string();
  EXPECT_FALSE(WritePFXRDML(*pf, missing, fresh, {}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "Cannot open file: " + missing);
  EXPECT_FALSE(std::filesystem::exists(fresh));

  sink.messages.clear();
  const std::string noFolder = (test::TempDir() / "no" / "x.xrdml").string();
  EXPECT_FALSE(WritePFXRDML(*pf, Fixture("mixed_case_markers.xrdml"), noFolder, {}, sink));
  EXPECT_EQ(sink.messages.at(0), "Cannot create file " + noFolder + ": No such file or directory");
}

// Start and end tags pair up; declarations and self-closing tags stand alone.
bool WellFormed(const std::string& text, std::string& problem) {
  std::vector<std::string> open;
  std::size_t pos = 0;
  while ((pos = text.find('<', pos)) != std::string::npos) {
    const std::size_t end = text.find('>', pos);
    if (end == std::string::npos) return problem = "unclosed tag", false;
    const std::string tag = text.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    if (tag.empty() || tag[0] == '?' || tag[0] == '!' || tag.back() == '/') continue;
    const std::string name = tag.substr(tag[0] == '/' ? 1 : 0, tag.find_first_of(" \t\r\n") - (tag[0] == '/' ? 1 : 0));
    if (tag[0] != '/') {
      open.push_back(name);
    } else if (open.empty() || open.back() != name) {
      return problem = "</" + name + "> closes " + (open.empty() ? "nothing" : open.back()), false;
    } else {
      open.pop_back();
    }
  }
  if (!open.empty()) return problem = open.back() + " left open", false;
  return true;
}

TEST(XrdmlWriter, RealDiffractometerTemplate) {
  const std::string sample = test::RealDataPath("xrdml.xrdml");
  if (sample.empty()) GTEST_SKIP() << "the real XRDML template is not present";
  LoadRequest request;
  request.dataFile = test::ExamplePath("copper111.pol");
  request.gridFile = test::ExamplePath("grid5.rst");
  CollectingSink sink;
  const auto pf = LoadPoleFigure(request, sink);
  ASSERT_TRUE(pf);
  const std::string out = (test::TempDir() / "copper111.xrdml").string();
  XrdmlOptions o;
  o.h = o.k = o.l = 1;
  ASSERT_TRUE(WritePFXRDML(*pf, sample, out, o, sink)) << (sink.messages.empty() ? "" : sink.messages.back());
  const std::string text = ReadFile(out);
  std::string problem;
  EXPECT_TRUE(WellFormed(text, problem)) << problem;
  int complete = 0;
  for (int i = 1; i <= pf->CircleCount; ++i) {
    bool ok = true;
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) ok = ok && pf->Intensity[i][j] != -1;
    complete += ok;
  }
  int scans = 0;
  for (std::size_t p = 0; (p = text.find("<scan ", p)) != std::string::npos; ++p) ++scans;
  EXPECT_EQ(scans, complete);
  EXPECT_NE(text.find("\t\t\t\t\t<commonPosition>90.00</commonPosition>\r\n"), std::string::npos);
  // The template's own reflection and psi position are replaced, not copied.
  EXPECT_EQ(text.find("<commonPosition>0.00</commonPosition>"), std::string::npos);
}

}  // namespace
}  // namespace quorix
