// Every writer's file read back with Quorix's own readers: full 5-degree grids,
// grids measured to 40 degrees, missing points and several pole figures per
// file; the refusals of values and header fields that do not fit.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>

#include "base/nearest.h"
#include "base/text_file.h"
#include "io/ascii_writer.h"
#include "io/data_layout.h"
#include "io/formatted_writer.h"
#include "io/load_pole_figure.h"
#include "io/popla_reader.h"
#include "io/popla_writer.h"
#include "io/xrdml_writer.h"
#include "test_support.h"
#include "workflow/convert.h"

namespace quorix {
namespace {

enum class Case { Full, To40, Missing };

// 5-degree circles of 72 points up to 90 (or 40) degrees with values from 1 to
// about `top`; Missing: one point of circle 3 and all of the last circle are missing.
std::unique_ptr<PoleFigure> Figure(Case c, double top, int seed) {
  auto pf = NewPoleFigure();
  test::FillRegularGrid(*pf, 5, 72);
  if (c == Case::To40) pf->CircleCount = 9;
  pf->MaxValue = 0;
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= 72; ++j) {
      const double v = 1 + (top - 1) * (0.5 + 0.5 * std::sin(0.1 * (i * 7 + j * seed)));
      pf->Intensity[i][j] = v;
      pf->MaxValue = std::max(pf->MaxValue, v);
    }
  // The circle at 90 degrees holds each direction twice; readers average the pairs.
  if (pf->CircleCount == 19)
    for (int j = 2; j <= 72; ++j) pf->Intensity[19][j] = pf->Intensity[19][1];
  if (c == Case::Missing) {
    pf->Intensity[3][10] = kMissing;
    for (int j = 1; j <= 72; ++j) pf->Intensity[pf->CircleCount][j] = j % 2 ? kMissing : 5;
  }
  pf->PointCount = pf->CircleCount * 72;
  return pf;
}

std::string GridFile(int circles) {
  std::string text;
  for (int i = 0; i < circles; ++i) text += std::to_string(5 * i) + " 72\n";
  return test::WriteTempFile("grid" + std::to_string(circles) + ".rst", text);
}

const char* Name(Case c) { return c == Case::Full ? "full" : c == Case::To40 ? "to 40" : "missing"; }

TEST(WriterRoundTrip, BeartexBlocksReadBackThroughTheHashListReader) {
  for (Case c : {Case::Full, Case::To40, Case::Missing}) {
    const auto a = Figure(c, 90, 1);
    const auto b = Figure(c, 25000, 3);  // scaled down by 10
    SaveAllSettings s;
    s.layout = DataLayout::Beartex;
    s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}, SaveAllRow{2, 2, 0, 0, std::nullopt}};
    PoleFigureSlots figures{};
    figures[1] = a.get();
    figures[2] = b.get();
    const std::string out = (test::TempDir() / "rt.xpe").string();
    CollectingSink sink;
    ASSERT_TRUE(WriteSaveAll(out, s, figures, sink)) << Name(c) << ": " << sink.messages.at(0);
    const auto lines = SplitLines(test::ReadFile(out));
    ASSERT_EQ(lines.size(), 2 * 84u) << Name(c);
    // The header gives the measured range, not the block's.
    EXPECT_EQ(lines[6].substr(10, 10), c == Case::To40 ? "  0.0 40.0" : "  0.0 90.0") << Name(c);
    NullSink quiet;
    EXPECT_EQ(PickerList(out, DataLayout::Beartex, quiet).size(), 2u);
    // Read with a full grid and with the grid the data were measured on.
    for (const std::string& grid : {test::ExamplePath("grid5.rst"), GridFile(a->CircleCount)})
      for (int k = 1; k <= 2; ++k) {
        const PoleFigure& source = k == 1 ? *a : *b;
        const auto back = test::LoadFile(out, grid, k);
        ASSERT_TRUE(back);
        const double scale = BeartexScale(source.MaxValue);
        for (int i = 1; i <= back->CircleCount; ++i)
          for (int j = 1; j <= 72; ++j) {
            const double v = back->Intensity[i][j];
            if (i > source.CircleCount)
              ASSERT_TRUE(v == 0 || v == kMissing) << Name(c) << " " << i << "," << j << ": " << v;
            else if (source.Intensity[i][j] == kMissing)
              ASSERT_EQ(v, kMissing) << Name(c) << " " << i << "," << j;  // not -1 times the scale
            else
              ASSERT_EQ(v, Nearest(source.Intensity[i][j] * scale)) << Name(c) << " " << i << "," << j;
          }
      }
  }
}

TEST(WriterRoundTrip, GeesthachtBlocksReadBackThroughTheWkoReader) {
  for (Case c : {Case::Full, Case::To40, Case::Missing}) {
    const auto a = Figure(c, 90, 1);
    const auto b = Figure(c, 800, 5);
    SaveAllSettings s;
    s.layout = DataLayout::Geesthacht;
    s.lattice = {4.913, 4.913, 5.405, 90, 90, 120};
    s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}, SaveAllRow{2, 2, 0, 0, std::nullopt},
              SaveAllRow{3, 1, 0, 1, std::nullopt}};
    PoleFigureSlots figures{};
    figures[1] = a.get();
    figures[2] = b.get();
    figures[3] = a.get();
    const std::string out = (test::TempDir() / "rt.ibm").string();
    CollectingSink sink;
    ASSERT_TRUE(WriteSaveAll(out, s, figures, sink)) << Name(c) << ": " << sink.messages.at(0);
    NullSink quiet;
    const auto names = PickerList(out, DataLayout::Geesthacht, quiet);
    ASSERT_EQ(names.size(), 3u) << Name(c);
    EXPECT_EQ(names[2], "  1  0  1");
    const std::string grid = GridFile(a->CircleCount);
    for (int k = 1; k <= 3; ++k) {
      const PoleFigure& source = k == 2 ? *b : *a;
      const auto back = test::LoadFile(out, grid, k);
      ASSERT_TRUE(back) << Name(c) << " " << k;
      const double scale = GeesthachtScale(source.MaxValue);
      for (int i = 1; i <= source.CircleCount; ++i)
        for (int j = 1; j <= 72; ++j) {
          const double v = source.Intensity[i][j];
          // Every circle holding a value is written, its missing points as -1.
          const double expected = v == kMissing ? kMissing : Nearest(v * scale);
          ASSERT_EQ(back->Intensity[i][j], expected) << Name(c) << " " << k << ": " << i << "," << j;
        }
    }
  }
}

// The fixed fields of the popLA layout as other programs read them: the
// header's steps, ranges and scale, then 4-character integers after one blank.
struct PoplaFigure {
  std::string comment, hkl;
  double alphaStep = 0, alphaMax = 0, betaStep = 0, betaMax = 0, scale = 0;
  std::vector<double> values;
};

std::vector<PoplaFigure> ParsePopla(const std::string& text) {
  std::vector<PoplaFigure> figures;
  const auto lines = SplitLines(text);
  std::size_t k = 0;
  while (k + 2 < lines.size()) {
    PoplaFigure f;
    f.comment = lines[k];
    const std::string& h = lines[k + 1];
    f.hkl = h.substr(0, 5);
    f.alphaStep = ParseNumber(Trim(h.substr(5, 5))).value_or(-1);
    f.alphaMax = ParseNumber(Trim(h.substr(10, 5))).value_or(-1);
    f.betaStep = ParseNumber(Trim(h.substr(15, 5))).value_or(-1);
    f.betaMax = ParseNumber(Trim(h.substr(20, 5))).value_or(-1);
    f.scale = ParseNumber(Trim(h.substr(35, 5))).value_or(-1);
    for (k += 2; k < lines.size() && !Trim(lines[k]).empty(); ++k)
      for (std::size_t p = 1; p + 4 <= lines[k].size(); p += 4)
        f.values.push_back(ParseNumber(Trim(lines[k].substr(p, 4))).value_or(1e9));
    ++k;
    figures.push_back(f);
  }
  return figures;
}

TEST(WriterRoundTrip, PoplaFilesHaveTheLayoutOfTheRealOnesAndKeepTheirValues) {
  for (Case c : {Case::Full, Case::To40, Case::Missing}) {
    const auto a = Figure(c, 90, 1);     // scale 100
    const auto b = Figure(c, 30000, 2);  // scale 0.1
    SaveAllSettings s;
    s.layout = DataLayout::Popla;
    s.comments = {"copper, rolled"};
    s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}, SaveAllRow{2, 2, 0, 0, std::nullopt}};
    PoleFigureSlots figures{};
    figures[1] = a.get();
    figures[2] = b.get();
    const std::string out = (test::TempDir() / "rt.epf").string();
    CollectingSink sink;
    ASSERT_TRUE(WriteSaveAll(out, s, figures, sink)) << Name(c) << ": " << sink.messages.at(0);
    const std::string text = test::ReadFile(out);
    const auto lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 2 * (2 + 76 + 1u));
    for (std::size_t k = 2; k < 78; ++k) ASSERT_EQ(lines[k].size(), 1 + 18 * 4u) << k;
    const auto parsed = ParsePopla(text);
    ASSERT_EQ(parsed.size(), 2u);
    for (int k = 0; k < 2; ++k) {
      const PoleFigure& source = k == 0 ? *a : *b;
      const PoplaFigure& f = parsed[static_cast<std::size_t>(k)];
      EXPECT_EQ(f.comment, "copper, rolled");
      EXPECT_EQ(f.hkl, k == 0 ? "(111)" : "(200)");
      EXPECT_EQ(f.alphaStep, 5);
      EXPECT_EQ(f.alphaMax, c == Case::To40 ? 40 : 90);
      EXPECT_EQ(f.betaStep, 5);
      EXPECT_EQ(f.betaMax, 360);
      EXPECT_EQ(f.scale, k == 0 ? 100 : 0.1);
      ASSERT_EQ(f.values.size(), 19 * 72u);
      for (int i = 1; i <= 19; ++i)
        for (int j = 1; j <= 72; ++j) {
          const double got = f.values[static_cast<std::size_t>((i - 1) * 72 + j - 1)];
          const double v = i <= source.CircleCount ? source.Intensity[i][j] : 0;
          if (v == kMissing)
            ASSERT_EQ(got, -1);
          else
            ASSERT_NEAR(got / f.scale, v, 0.5 / f.scale) << k << ": " << i << "," << j;
        }
    }
    // Quorix's own popLA reader finds both, their reflections and the circles of the measured range.
    CollectingSink readSink;
    const auto read = ReadPoplaText(text, out, readSink);
    ASSERT_TRUE(read) << readSink.messages.at(0);
    ASSERT_EQ(read->poleFigures.size(), 2u);
    for (int k = 0; k < 2; ++k) {
      const MeasuredPoleFigure& m = read->poleFigures[static_cast<std::size_t>(k)];
      EXPECT_EQ(m.hkl, k == 0 ? "1 1 1" : "2 0 0");
      ASSERT_EQ(m.circles.size(), c == Case::To40 ? 9u : 19u);
      const PoplaFigure& f = parsed[static_cast<std::size_t>(k)];
      for (std::size_t i = 0; i < m.circles.size(); ++i) {
        EXPECT_EQ(m.circles[i].alpha, 5.0 * static_cast<double>(i));
        ASSERT_EQ(m.circles[i].values.size(), 72u);
        for (std::size_t j = 0; j < 72; ++j) ASSERT_EQ(m.circles[i].values[j], f.values[i * 72 + j]) << i << "," << j;
      }
    }
  }
  // The header from the tilt step on has the columns of the real files.
  const std::string real = test::RealDataPath("popla.GPF");
  if (real.empty()) GTEST_SKIP() << "the real popLA files are not present";
  const auto realLines = SplitLines(test::ReadFile(real));
  const auto a = Figure(Case::Full, 90, 1);
  const std::string block = FormatPoplaBlock(*a, "Mg", 0, 0, 1, false, false);
  const auto ours = SplitLines(block);
  // All but the background, which the real file gives as 1 and ours leaves at 0.
  EXPECT_EQ(ours[1].substr(5, ours[1].size() - 10), realLines[1].substr(5, realLines[1].size() - 10));
  EXPECT_EQ(ours.size(), 79u);
  EXPECT_EQ(realLines[78], "");
}

TEST(WriterRoundTrip, XrdmlScansFollowTheGridAndGiveBackTheValues) {
  const std::string sample = test::RealDataPath("xrdml.xrdml");
  if (sample.empty()) GTEST_SKIP() << "the real XRDML template is not present";
  for (Case c : {Case::Full, Case::To40, Case::Missing}) {
    const auto pf = Figure(c, 900, 1);
    const std::string out = (test::TempDir() / "rt.xrdml").string();
    CollectingSink sink;
    ASSERT_TRUE(WritePFXRDML(*pf, sample, out, {}, sink)) << sink.messages.at(0);
    const std::string text = test::ReadFile(out);
    // One scan per complete circle; each with its own Phi range and 72 counts of value x 5 seconds.
    std::size_t at = 0;
    int scans = 0;
    for (int i = 1; i <= pf->CircleCount; ++i) {
      bool complete = true;
      for (int j = 1; j <= 72; ++j) complete = complete && pf->Intensity[i][j] != kMissing;
      if (!complete) continue;
      ++scans;
      at = text.find("<scan ", at);
      ASSERT_NE(at, std::string::npos) << Name(c) << " " << i;
      const std::size_t end = text.find("</scan>", at);
      const std::string scan = text.substr(at, end - at);
      at = end;
      EXPECT_NE(scan.find("<startPosition>0.00</startPosition>"), std::string::npos);
      EXPECT_NE(scan.find("<endPosition>355.00</endPosition>"), std::string::npos);
      EXPECT_NE(scan.find(fmt::format("<commonPosition>{:.2f}</commonPosition>", pf->Alpha[i])), std::string::npos);
      const std::size_t from = scan.find("<intensities unit=\"counts\">") + 27;
      const auto counts = SplitWhitespace(std::string_view(scan).substr(from, scan.find('<', from) - from));
      ASSERT_EQ(counts.size(), 72u);
      for (int j = 1; j <= 72; ++j)
        ASSERT_NEAR(*ParseNumber(counts[static_cast<std::size_t>(j - 1)]) / 5, pf->Intensity[i][j], 0.1);
    }
    EXPECT_EQ(text.find("<scan ", at), std::string::npos) << Name(c);
    EXPECT_EQ(scans, c == Case::To40 ? 9 : c == Case::Full ? 19 : 17);
  }
}

TEST(WriterRoundTrip, AsciiValuesReadBackThroughThePlainReader) {
  for (Case c : {Case::Full, Case::To40, Case::Missing}) {
    const auto pf = Figure(c, 90, 1);  // times 10 still leaves a blank in the 8-wide field
    AsciiWriteOptions o;
    o.Format.FactorExponent = 1;
    const std::string out = (test::TempDir() / "rt.pol").string();
    CollectingSink sink;
    ASSERT_TRUE(WritePFASCII(*pf, out, o, sink)) << sink.messages.at(0);
    const auto back = test::LoadFile(out, GridFile(pf->CircleCount), 1);
    ASSERT_TRUE(back);
    for (int i = 1; i <= pf->CircleCount; ++i)
      for (int j = 1; j <= 72; ++j) {
        const double v = pf->Intensity[i][j];
        // Missing points stay -1, unscaled by the factor.
        ASSERT_NEAR(back->Intensity[i][j], v == kMissing ? v : v * 10, 0.0005) << Name(c) << i << "," << j;
      }
  }
}

TEST(WriterRoundTrip, RealBeartexFileConvertedAndReadBackKeepsItsValues) {
  const std::string real = test::RealDataPath("beartex.xpe");
  if (real.empty()) GTEST_SKIP() << "the real Beartex file is not present";
  NullSink quiet;
  const auto names = PickerList(real, DataLayout::Beartex, quiet);
  ASSERT_EQ(names.size(), 18u);
  for (DataLayout to : {DataLayout::Beartex, DataLayout::Geesthacht, DataLayout::Popla}) {
    ConvertRequest r;
    r.to = to;
    r.file.data = real;
    r.file.grid = test::ExamplePath("grid5.rst");
    r.file.output = (test::TempDir() / "converted").string();
    CollectingSink sink;
    ASSERT_TRUE(ConvertFile(r, sink)) << sink.messages.at(0);
    const std::string text = test::ReadFile(r.file.output);
    if (to == DataLayout::Popla) {
      const auto parsed = ParsePopla(text);
      ASSERT_EQ(parsed.size(), 18u);
      EXPECT_EQ(parsed[0].alphaMax, 40);  // the source's measured range
      continue;
    }
    EXPECT_EQ(PickerList(r.file.output, to == DataLayout::Beartex ? DataLayout::Beartex : DataLayout::Geesthacht, quiet)
                  .size(),
              18u);
    for (int k : {1, 7, 18}) {
      const auto source = test::LoadFile(real, test::ExamplePath("grid5.rst"), k);
      const auto back = test::LoadFile(r.file.output, test::ExamplePath("grid5.rst"), k);
      ASSERT_TRUE(source && back);
      const double scale =
          to == DataLayout::Beartex ? BeartexScale(source->MaxValue) : GeesthachtScale(source->MaxValue);
      for (int i = 1; i <= 19; ++i)
        for (int j = 1; j <= 72; ++j) {
          const double v = source->Intensity[i][j];
          ASSERT_EQ(back->Intensity[i][j], v == kMissing ? v : Nearest(v * scale)) << k << ": " << i << "," << j;
        }
    }
    if (to == DataLayout::Beartex) {
      EXPECT_EQ(SplitLines(text)[6].substr(10, 10), "  0.0 40.0");
    }
  }
}

TEST(WriterRoundTrip, SaveAllWithTheWindowLimitTakesTheFirstPoleFiguresUnlessMoreAreNamed) {
  const std::string real = test::RealDataPath("beartex.xpe");
  if (real.empty()) GTEST_SKIP() << "the real Beartex file is not present";
  NullSink quiet;
  SaveAllFileRequest r;
  r.data = real;
  r.grid = test::ExamplePath("grid5.rst");
  r.output = (test::TempDir() / "first8.xpe").string();
  r.maxFigures = 8;
  CollectingSink sink;
  ASSERT_TRUE(SaveAllFromFile(r, sink)) << sink.messages.at(0);
  EXPECT_EQ(PickerList(r.output, DataLayout::Beartex, quiet).size(), 8u);
  r.indices = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  CollectingSink refused;
  EXPECT_FALSE(SaveAllFromFile(r, refused));
  ASSERT_EQ(refused.messages.size(), 1u);
  EXPECT_EQ(refused.messages[0], "Between 1 and 8 pole figures can be saved together.");
}

TEST(WriterRoundTrip, AFileOfOnePoleFigureKeepsItsReflectionThroughConvert) {
  ConvertRequest r;
  r.to = DataLayout::Popla;
  r.file.data = test::ExamplePath("copper.epf");
  r.file.indices = {2};
  r.file.output = (test::TempDir() / "one.epf").string();
  CollectingSink sink;
  ASSERT_TRUE(ConvertFile(r, sink)) << sink.messages.at(0);
  // Now a file of one pole figure: its reflection comes from the record, not a picker name.
  for (DataLayout to : {DataLayout::Popla, DataLayout::Xrdml}) {
    ConvertRequest again;
    again.to = to;
    again.file.data = r.file.output;
    again.file.output = (test::TempDir() / "again").string();
    again.xrdmlTemplate = test::ExamplePath("copper_scan.xrdml");
    ASSERT_TRUE(ConvertFile(again, sink)) << sink.messages.at(0);
    LoadRequest back;
    back.dataFile = again.file.output;
    const auto pf = LoadPoleFigure(back, sink);
    ASSERT_TRUE(pf);
    EXPECT_EQ(pf->Hkl, "2 0 0") << static_cast<int>(to);
  }
}

// A popLA block's comment line says which sample and measurement it holds:
// converting keeps each block's own line unless the user gives one.
TEST(WriterRoundTrip, PoplaBlocksKeepTheirOwnCommentLines) {
  const std::string source = test::WriteTempFile(
      "two.epf", "sample A, rolled\n" + test::ReadFile(test::ExamplePath("copper.epf"))
                                            .substr(test::ReadFile(test::ExamplePath("copper.epf")).find('\n') + 1));
  ConvertRequest r;
  r.to = DataLayout::Popla;
  r.file.data = source;
  r.file.output = (test::TempDir() / "kept.epf").string();
  CollectingSink sink;
  ASSERT_TRUE(ConvertFile(r, sink)) << test::Joined(sink.messages);
  NullSink quiet;
  const std::string text = test::ReadFile(source), written = test::ReadFile(r.file.output);
  const auto names = PickerList(source, DataLayout::Popla, quiet);
  ASSERT_GE(names.size(), 2u);
  // The comment line of every block, in order: the line before each header.
  const auto comments = [](const std::string& t) {
    std::vector<std::string> lines, found;
    std::istringstream in(t);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    for (std::size_t i = 1; i < lines.size(); ++i)
      if (lines[i].rfind("(", 0) == 0)
        found.push_back(lines[i - 1].substr(0, lines[i - 1].find_last_not_of(" \r") + 1));
    return found;
  };
  EXPECT_EQ(comments(written), comments(text));
  EXPECT_EQ(comments(written).front(), "sample A, rolled");

  r.file.comments = {"mine"};
  ASSERT_TRUE(ConvertFile(r, sink)) << test::Joined(sink.messages);
  for (const std::string& c : comments(test::ReadFile(r.file.output))) EXPECT_EQ(c, "mine");
}

TEST(WriterRoundTrip, CommentsWithLineBreaksOrATrailingHashKeepTheFileReadable) {
  const auto a = Figure(Case::Full, 90, 1);
  PoleFigureSlots figures{};
  figures[1] = a.get();
  figures[2] = a.get();
  for (DataLayout layout : {DataLayout::Beartex, DataLayout::Geesthacht, DataLayout::Popla}) {
    SaveAllSettings s;
    s.layout = layout;
    s.comments = {"first\nsecond\r\nthird #", "ends in #", "x"};
    s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}, SaveAllRow{2, 2, 0, 0, std::nullopt}};
    const std::string out = (test::TempDir() / "comments").string();
    CollectingSink sink;
    ASSERT_TRUE(WriteSaveAll(out, s, figures, sink));
    const std::string text = test::ReadFile(out);
    EXPECT_NE(text.find("first second  third"), std::string::npos);
    if (layout == DataLayout::Popla) {
      EXPECT_EQ(ParsePopla(text).size(), 2u);
      continue;
    }
    const DataLayout read = layout == DataLayout::Beartex ? DataLayout::Beartex : DataLayout::Geesthacht;
    EXPECT_EQ(DetectLayoutText(text, out).layout, read);
    NullSink quiet;
    EXPECT_EQ(PickerList(out, read, quiet).size(), 2u);
    for (int k = 1; k <= 2; ++k) EXPECT_TRUE(test::LoadFile(out, test::ExamplePath("grid5.rst"), k));
  }
}

// Every value and header field that would run into its neighbour, or is not
// finite, is refused with a message naming it; nothing is written.
TEST(WriterRefusals, ValuesAndFieldsThatDoNotFit) {
  const std::string out = test::WriteTempFile("earlier", "earlier output");
  const auto refused = [&](auto write, const std::string& expected) {
    CollectingSink sink;
    EXPECT_FALSE(write(sink)) << expected;
    ASSERT_EQ(sink.messages.size(), 1u) << expected;
    EXPECT_NE(sink.messages[0].find(expected), std::string::npos) << sink.messages[0];
    EXPECT_EQ(test::ReadFile(out), "earlier output") << expected;
  };
  auto pf = Figure(Case::Full, 90, 1);
  pf->Intensity[2][3] = 76.68073;

  // ASCII: a field of 4 characters cannot keep a blank before 76.681.
  AsciiWriteOptions narrow;
  narrow.Format.Width = 4;
  refused([&](MessageSink& s) { return WritePFASCII(*pf, out, narrow, s); }, "field of 4 characters");
  AsciiWriteOptions huge;
  huge.Format.FactorExponent = 400;
  refused([&](MessageSink& s) { return WritePFASCII(*pf, out, huge, s); }, "factor exponent");
  huge.Format.FactorExponent = 99;
  pf->Intensity[1][1] = 1e300;
  refused([&](MessageSink& s) { return WritePFASCII(*pf, out, huge, s); }, "inf");
  pf->Intensity[1][1] = std::numeric_limits<double>::quiet_NaN();
  refused([&](MessageSink& s) { return WritePFASCII(*pf, out, AsciiWriteOptions{}, s); }, "nan");
  AsciiWriteOptions popla;
  ApplyStandard(popla.Format, *FindStandard("POPLA"));
  pf->Intensity[1][1] = 12345;
  refused([&](MessageSink& s) { return WritePFASCII(*pf, out, popla, s); }, "12345");

  // The block layouts.
  PoleFigureSlots figures{};
  figures[1] = pf.get();
  const auto settings = [](DataLayout layout) {
    SaveAllSettings s;
    s.layout = layout;
    s.rows = {SaveAllRow{1, 1, 1, 1, std::nullopt}};
    return s;
  };
  pf->Intensity[1][1] = std::numeric_limits<double>::infinity();
  for (DataLayout layout : {DataLayout::Beartex, DataLayout::Geesthacht, DataLayout::Popla})
    refused([&](MessageSink& s) { return WriteSaveAll(out, settings(layout), figures, s); }, "inf");
  pf->Intensity[1][1] = 1;
  pf->Intensity[4][4] = -5000;  // scaled by 100 with a maximum of 90
  refused([&](MessageSink& s) { return WriteSaveAll(out, settings(DataLayout::Beartex), figures, s); }, "-500000");
  pf->Intensity[4][4] = 1;
  SaveAllSettings s = settings(DataLayout::Beartex);
  s.rows[0].h = 1000000;
  refused([&](MessageSink& m) { return WriteSaveAll(out, s, figures, m); }, "1000000");
  s = settings(DataLayout::Beartex);
  s.lattice.a = 1e308;
  refused([&](MessageSink& m) { return WriteSaveAll(out, s, figures, m); }, "lattice constant a");
  s = settings(DataLayout::Geesthacht);
  s.lattice.gamma = 1000;
  refused([&](MessageSink& m) { return WriteSaveAll(out, s, figures, m); }, "lattice angle gamma");
  s = settings(DataLayout::Popla);
  s.rows[0].h = 10;
  refused([&](MessageSink& m) { return WriteSaveAll(out, s, figures, m); }, "10,1,1");

  // Grids a block cannot hold.
  auto coarse = NewPoleFigure();
  test::FillRegularGrid(*coarse, 10, 36);
  figures[1] = coarse.get();
  for (DataLayout layout : {DataLayout::Beartex, DataLayout::Popla})
    refused([&](MessageSink& m) { return WriteSaveAll(out, settings(layout), figures, m); },
            "Interpolate the pole figure onto a 5-degree grid first.");

  // XRDML: no count of a non-finite value.
  pf->Intensity[2][2] = std::numeric_limits<double>::infinity();
  const std::string sample = test::WriteTempFile(
      "sample.xrdml",
      "<xrdMeasurements><xrdMeasurement><scan scanAxis=\"Phi\"><dataPoints/></scan></xrdMeasurement>"
      "</xrdMeasurements>");
  refused([&](MessageSink& m) { return WritePFXRDML(*pf, sample, out, {}, m); }, "inf");
}

TEST(WriterNames, AProposalNeverNamesTheDataFile) {
  EXPECT_EQ(ProposedSaveAllName("/d/copper.xpe", DataLayout::Beartex), "/d/copper_saved.xpe");
  EXPECT_EQ(ProposedSaveAllName("/d/copper.xpe", DataLayout::Popla), "/d/copper.epf");
  EXPECT_EQ(ProposedAsciiName("/d.x/q.z01"), "/d.x/q_saved.z01");
  EXPECT_EQ(AvoidingSource("/d.x/q", "/d.x/q"), "/d.x/q_saved");
}

}  // namespace
}  // namespace quorix
