// XRDML output on a template: a scan per complete circle with the grid's
// azimuths, tilt and counts, the reflection element, unusable templates, and
// the real diffractometer file.
#include "io/xrdml_writer.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/text_file.h"
#include "io/instrument_readers.h"
#include "io/load_pole_figure.h"
#include "test_support.h"

namespace quorix {
namespace {

std::string Fixture(const std::string& name) { return std::string(QUORIX_SOURCE_DIR) + "/tests/io/data/" + name; }

std::unique_ptr<PoleFigure> ThreeCircles() {
  auto pf = test::SmallGrid(3, 3, 5);
  const double values[3][3] = {{2.5, 3.5, -3.7}, {1, -1, 1}, {10, 20, 30.5}};
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) pf->Intensity[i][j] = values[i - 1][j - 1];
  return pf;
}

std::string TemplateText(const std::string& name) {
  std::string text;
  EXPECT_EQ(ReadWholeFile(Fixture(name), text), FileStatus::Ok);
  return text;
}

// The scans of an output, in order.
std::vector<std::string> Scans(const std::string& text) {
  std::vector<std::string> scans;
  for (std::size_t p = 0; (p = text.find("<scan ", p)) != std::string::npos;) {
    const std::size_t end = text.find("</scan>", p);
    scans.push_back(text.substr(p, end - p));
    p = end;
  }
  return scans;
}

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  const std::size_t from = text.find(open);
  if (from == std::string::npos) return "(none)";
  const std::size_t start = from + open.size();
  return text.substr(start, text.find(close, start) - start);
}

TEST(XrdmlWriter, OneScanPerCompleteCircleOnAMixedCaseTemplate) {
  const auto pf = ThreeCircles();
  XrdmlOptions o;
  o.h = o.k = o.l = 1;
  const auto text = FormatPFXRDML(*pf, TemplateText("mixed_case_markers.xrdml"), o);
  ASSERT_TRUE(text);
  // Circle 2 holds a missing value and is left out.
  const auto scans = Scans(*text);
  ASSERT_EQ(scans.size(), 2u);
  EXPECT_EQ(Between(scans[0], "<commonPosition>", "<"), "5.00");
  EXPECT_EQ(Between(scans[1], "<commonPosition>", "<"), "15.00");
  // The azimuths of the grid, not the template's 1.5 to 358.5.
  EXPECT_EQ(Between(scans[0], "<startPosition>", "<"), "0.00");
  EXPECT_EQ(Between(scans[0], "<endPosition>", "<"), "240.00");
  // Counts are value x 5 seconds, halves to the even neighbour; one per point.
  EXPECT_EQ(Between(scans[0], "<Intensities unit=\"counts\">", "<"), "12 18 -18");
  EXPECT_EQ(Between(scans[1], "<Intensities unit=\"counts\">", "<"), "50 100 152");
  EXPECT_EQ(Between(scans[0], "<h>", "<"), "1");
  EXPECT_EQ(text->find("<h>9</h>"), std::string::npos);  // the template's own reflection goes
  EXPECT_NE(text->find("\t\t<DiffractedBeamPath>\r\n"), std::string::npos);

  o.SetNegativeToZero = true;
  o.h = 2;
  o.k = o.l = 0;
  const auto second = FormatPFXRDML(*pf, TemplateText("mixed_case_markers.xrdml"), o);
  ASSERT_TRUE(second);
  EXPECT_EQ(Between(Scans(*second)[0], "<Intensities unit=\"counts\">", "<"), "12 18 0");
  // A reflection with zero indices is still named; only 0 0 0 writes none.
  EXPECT_EQ(Between(Scans(*second)[0], "<h>", "<"), "2");
  EXPECT_EQ(Between(Scans(*second)[0], "<l>", "<"), "0");
  o.h = 0;
  const auto third = FormatPFXRDML(*pf, TemplateText("mixed_case_markers.xrdml"), o);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->find("<reflection"), std::string::npos);
}

TEST(XrdmlWriter, EveryCircleIncompleteGivesTheMeasurementWithoutScans) {
  auto pf = ThreeCircles();
  pf->Intensity[1][1] = pf->Intensity[3][3] = -1;
  const auto text = FormatPFXRDML(*pf, TemplateText("mixed_case_markers.xrdml"), {});
  ASSERT_TRUE(text);
  EXPECT_TRUE(Scans(*text).empty());
  EXPECT_NE(text->find("\t</xrdMeasurement>\r\n</xrdMeasurements>"), std::string::npos);
}

// Newer files count into <counts> with a counting time per point and may tilt about Chi.
TEST(XrdmlWriter, CountsElementsChiAxesAndCountingTimeListsFollowTheGrid) {
  const std::string sample =
      "<?xml version=\"1.0\"?>\n<xrdMeasurements><xrdMeasurement>\n"
      "<scan scanAxis=\"Phi\"><dataPoints>\n"
      "<positions axis=\"Phi\" "
      "unit=\"deg\"><startPosition>0</startPosition><endPosition>357</endPosition></positions>\n"
      "<positions axis=\"Chi\" unit=\"deg\"><startPosition>0</startPosition><endPosition>3</endPosition></positions>\n"
      "<countingTimes unit=\"seconds\">2 2 2 2</countingTimes>\n"
      "<counts unit=\"counts\">1 2 3 4</counts>\n"
      "</dataPoints></scan></xrdMeasurement></xrdMeasurements>\n";
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 45, 72);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= 72; ++j) pf->Intensity[i][j] = 10 * i + j / 4.0;
  const auto text = FormatPFXRDML(*pf, sample, {});
  ASSERT_TRUE(text);
  const auto scans = Scans(*text);
  ASSERT_EQ(scans.size(), 3u);
  for (int i = 1; i <= 3; ++i) {
    const std::string& scan = scans[static_cast<std::size_t>(i - 1)];
    EXPECT_EQ(Between(Between(scan, "axis=\"Chi\"", "</positions>"), "<commonPosition>", "<"),
              fmt::format("{:.2f}", 45.0 * (i - 1)));
    EXPECT_EQ(Between(scan, "<endPosition>", "<"), "355.00");
    EXPECT_EQ(SplitWhitespace(Between(scan, "<countingTimes unit=\"seconds\">", "<")).size(), 72u);
    const std::string countText = Between(scan, "<counts unit=\"counts\">", "<");
    const auto counts = SplitWhitespace(countText);
    ASSERT_EQ(counts.size(), 72u);
    // Whole counts over a time of 2 seconds: within a quarter.
    for (int j = 1; j <= 72; ++j)
      EXPECT_NEAR(ParseNumber(counts[static_cast<std::size_t>(j - 1)]).value_or(-1e9) / 2, pf->Intensity[i][j], 0.25);
  }
}

TEST(XrdmlWriter, UnusableTemplatesAndMissingFilesWriteNothing) {
  const auto pf = ThreeCircles();
  const std::string out = test::WriteTempFile("kept.xrdml", "earlier output");
  CollectingSink sink;
  const std::string truncated = Fixture("template_ending_inside_the_scan.xrdml");
  EXPECT_FALSE(WritePFXRDML(*pf, truncated, out, {}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "The sample file " + truncated + " is not a usable XRDML template.");
  EXPECT_EQ(test::ReadFile(out), "earlier output");

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
  const std::string text = test::ReadFile(out);
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
  // The template's azimuths are replaced, not copied.
  EXPECT_EQ(text.find("<startPosition>1.50</startPosition>"), std::string::npos);
}

TEST(XrdmlWriter, ATemplateOfSeveralMeasurementsGivesOnePoleFigureThatReadsBack) {
  // The example scan holds two reflections; only the one written may remain.
  LoadRequest request;
  request.dataFile = test::ExamplePath("copper111.pol");
  request.gridFile = test::ExamplePath("grid5.rst");
  CollectingSink sink;
  const auto pf = LoadPoleFigure(request, sink);
  ASSERT_TRUE(pf);
  XrdmlOptions o;
  o.h = 2;
  const std::string out = (test::TempDir() / "two_measurements.xrdml").string();
  ASSERT_TRUE(WritePFXRDML(*pf, test::ExamplePath("copper_scan.xrdml"), out, o, sink));
  LoadRequest back;
  back.dataFile = out;
  const auto read = LoadPoleFigure(back, sink);
  ASSERT_TRUE(read) << (sink.messages.empty() ? "" : sink.messages.back());
  const auto file = ReadXrdmlText(test::ReadFile(out), out, sink);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->poleFigures.size(), 1u);
  EXPECT_EQ(read->Hkl, "2 0 0");
  // Circles holding a missing point are left out; the others keep tilt and values.
  ASSERT_GT(read->CircleCount, 0);
  for (int r = 1; r <= read->CircleCount; ++r) {
    int i = 1;
    while (i <= pf->CircleCount && pf->Alpha[i] != read->Alpha[r]) ++i;
    ASSERT_LE(i, pf->CircleCount) << "alpha " << read->Alpha[r];
    // Read back as an instrument file, tilt 0 is one direction at the mean of its counts.
    double centreMean = 0;
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) centreMean += pf->Intensity[i][j] / pf->CirclePoints[i];
    for (int j = 1; j <= pf->CirclePoints[i]; ++j)
      ASSERT_NEAR(read->Intensity[r][j], read->Alpha[r] == 0 ? centreMean : pf->Intensity[i][j], 0.5) << i << "," << j;
  }
}

// Without a sample file the built-in template serves, and the output reads
// back; the circles left out are named after the write.
TEST(XrdmlWriter, BuiltInTemplateNamesTheCirclesLeftOut) {
  LoadRequest request;
  request.dataFile = test::ExamplePath("copper.xpe");
  request.gridFile = test::ExamplePath("grid5.rst");
  CollectingSink sink;
  const auto pf = LoadPoleFigure(request, sink);
  ASSERT_TRUE(pf);
  EXPECT_EQ(CirclesLeftOutOfXrdml(*pf), (std::vector<int>{5, 7, 9, 12, 17}));
  const std::string out = (test::TempDir() / "built_in.xrdml").string();
  ASSERT_TRUE(WritePFXRDML(*pf, "", out, {}, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], out +
                                  ": 14 of 19 circles written; the circles at alpha 20, 30, 40, 55, 80 degrees were "
                                  "left out: each holds missing points, and XRDML has no mark for a missing point.");
  LoadRequest back;
  back.dataFile = out;
  const auto read = LoadPoleFigure(back, sink);
  ASSERT_TRUE(read) << sink.messages.back();
  ASSERT_EQ(read->CircleCount, 14);
  EXPECT_EQ(read->Alpha[5], 25);
  for (int j = 1; j <= 72; ++j) ASSERT_NEAR(read->Intensity[5][j], pf->Intensity[6][j], 0.5) << j;

  // A complete pole figure writes every circle and says nothing more.
  auto full = ThreeCircles();
  full->Intensity[2][2] = 4;
  CollectingSink quiet;
  ASSERT_TRUE(WritePFXRDML(*full, "", out, {}, quiet));
  EXPECT_TRUE(quiet.messages.empty()) << quiet.messages.at(0);
  EXPECT_EQ(Scans(test::ReadFile(out)).size(), 3u);
}

}  // namespace
}  // namespace quorix
