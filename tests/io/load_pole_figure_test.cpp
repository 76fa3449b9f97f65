// The load sequence on the bundled examples and on real measured files.
#include "io/load_pole_figure.h"

#include <gtest/gtest.h>

#include "io/data_layout.h"
#include "io/data_reader.h"
#include "io/grid_reader.h"
#include "test_support.h"

namespace quorix {
namespace {

using test::ExamplePath;
using test::WriteTempFile;

std::unique_ptr<PoleFigure> Load(const std::string& data, const std::string& grid, CollectingSink& sink, int index = 1,
                                 GridRule rule = GridRule::MainWindow) {
  LoadRequest r;
  r.dataFile = data;
  r.gridFile = grid;
  r.pfIndex = index;
  r.gridRule = rule;
  return LoadPoleFigure(r, sink);
}

void ExpectSameRecord(const PoleFigure& a, const PoleFigure& b) {
  ASSERT_EQ(a.CircleCount, b.CircleCount);
  EXPECT_EQ(a.Grid, b.Grid);
  EXPECT_EQ(a.BetaRange, b.BetaRange);
  EXPECT_EQ(a.InnerMirror, b.InnerMirror);
  EXPECT_EQ(a.OuterMirror, b.OuterMirror);
  EXPECT_EQ(a.MaxValue, b.MaxValue);
  EXPECT_EQ(a.NameInFile, b.NameInFile);
  for (int i = 0; i <= a.CircleCount + 1; ++i) {
    ASSERT_EQ(a.CirclePoints[i], b.CirclePoints[i]) << i;
    EXPECT_EQ(a.Alpha[i], b.Alpha[i]) << i;
    EXPECT_EQ(a.BetaStart[i], b.BetaStart[i]) << i;
    EXPECT_EQ(a.BetaStep[i], b.BetaStep[i]) << i;
    for (int j = 1; j <= a.CirclePoints[i]; ++j) ASSERT_EQ(a.Intensity[i][j], b.Intensity[i][j]) << i << "," << j;
  }
}

TEST(LoadPoleFigure, EveryExampleLoadsCompletely) {
  struct Case {
    const char* data;
    const char* grid;
    int circles;
  } cases[] = {{"copper111.pol", "grid5.rst", 19},
               {"copper111_centre.pol", "grid5_centre.rst", 19},
               {"copper200_offset.pol", "offset5.grd", 18},
               {"copper.xpe", "grid5.rst", 19},
               {"quartz.wko", "grid5.rst", 19}};
  for (const auto& c : cases) {
    CollectingSink sink;
    const auto pf = Load(ExamplePath(c.data), ExamplePath(c.grid), sink);
    ASSERT_TRUE(pf) << c.data << ": " << (sink.messages.empty() ? "" : sink.messages[0]);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(pf->CircleCount, c.circles);
    EXPECT_EQ(pf->FileName, ExamplePath(c.data));
    EXPECT_GT(pf->NormFactor, 0);
    EXPECT_GT(pf->LevelCount, 0);
    EXPECT_DOUBLE_EQ(pf->LowestLevel, pf->Level[1]);
    EXPECT_EQ(pf->Link[1][1].Mark1, 1);
  }
}

TEST(LoadPoleFigure, CentrePointGridKeepsOnePointAfterPreparation) {
  CollectingSink sink;
  const auto pf = Load(ExamplePath("copper111_centre.pol"), ExamplePath("grid5_centre.rst"), sink);
  ASSERT_TRUE(pf);
  EXPECT_EQ(pf->CirclePoints[1], 1);
  EXPECT_DOUBLE_EQ(pf->BetaStep[1], 360);
  EXPECT_DOUBLE_EQ(pf->Intensity[1][2], pf->Intensity[1][1]);
  EXPECT_EQ(pf->Link[2][5].InnerLink, 1);
}

TEST(LoadPoleFigure, GridReaderFollowsTheFileName) {
  // A simple grid under a name that is neither ".rst" nor ".grd": the main
  // window reads it as a full grid (no switches: refused), a window slot as a simple one.
  const auto grid = WriteTempFile("grid.txt", "0 4\n90 4\n");
  const auto data = WriteTempFile("d.pol", "1 2 3 4 5 6 7 8\n");
  CollectingSink sink;
  EXPECT_FALSE(Load(data, grid, sink));
  EXPECT_NE(sink.messages.at(0).find("switches"), std::string::npos);
  sink.messages.clear();
  EXPECT_TRUE(Load(data, grid, sink, 1, GridRule::WindowSlot));
  EXPECT_TRUE(sink.messages.empty());
}

TEST(LoadPoleFigure, MissingFilesAndBadIndex) {
  CollectingSink sink;
  EXPECT_FALSE(Load("/nonexistent/a.pol", ExamplePath("grid5.rst"), sink));
  EXPECT_EQ(sink.messages.at(0), "File /nonexistent/a.pol does not exist");
  EXPECT_FALSE(Load(ExamplePath("copper111.pol"), "/nonexistent/g.rst", sink));
  EXPECT_EQ(sink.messages.at(1), "File /nonexistent/g.rst does not exist");
  EXPECT_FALSE(Load(ExamplePath("copper.xpe"), ExamplePath("grid5.rst"), sink, 4));
  ASSERT_EQ(sink.problems.size(), 1u);
  EXPECT_EQ(sink.problems[0].file, ExamplePath("copper.xpe"));
  EXPECT_EQ(sink.problems[0].what, "there is no pole figure 4; the file holds 3.");
  EXPECT_FALSE(Load(ExamplePath("copper200_offset.pol"), ExamplePath("grid5.rst"), sink));
  EXPECT_EQ(sink.messages.at(3), "Expected 1368 data, found 1296.");
}

TEST(LoadPoleFigure, HashListsPickTheirPoleFigure) {
  CollectingSink sink;
  const auto second = Load(ExamplePath("copper.xpe"), ExamplePath("grid5.rst"), sink, 2);
  const auto third = Load(ExamplePath("copper.xpe"), ExamplePath("grid5.rst"), sink, -3);
  ASSERT_TRUE(second && third);
  EXPECT_NE(second->MaxValue, third->MaxValue);
}

TEST(LoadPoleFigure, BeartexListsWithoutAGridFileTakeTheGridTheirHeadersDescribe) {
  CollectingSink sink;
  for (int k = 1; k <= 3; ++k) {
    const auto withGrid = Load(ExamplePath("copper.xpe"), ExamplePath("grid5.rst"), sink, k);
    const auto implied = Load(ExamplePath("copper.xpe"), "", sink, k);
    ASSERT_TRUE(withGrid && implied) << sink.messages.at(0);
    ExpectSameRecord(*implied, *withGrid);
  }
  // A header with other steps names the file, the line and the way out; nothing is loaded.
  std::string text = test::ReadFile(ExamplePath("copper.xpe"));
  const std::size_t at = text.find("  5.0  0.0360.0  5.0");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 5, " 10.0");
  const std::string odd = WriteTempFile("odd_steps.xpe", text);
  CollectingSink refused;
  EXPECT_FALSE(Load(odd, "", refused, 1));
  ASSERT_EQ(refused.messages.size(), 1u);
  EXPECT_NE(refused.messages[0].find("odd_steps.xpe, line 7"), std::string::npos) << refused.messages[0];
  EXPECT_NE(refused.messages[0].find("give a grid file"), std::string::npos) << refused.messages[0];
  // With a grid file given, the file reads as before.
  EXPECT_TRUE(Load(odd, ExamplePath("grid5.rst"), refused, 1));
}

class RealData : public ::testing::TestWithParam<const char*> {};

TEST_P(RealData, EveryPoleFigureOfThePickerListLoads) {
  const std::string path = test::RealDataPath(GetParam());
  if (path.empty()) GTEST_SKIP() << "shared real data not present";
  CollectingSink sink;
  const LayoutInfo info = DetectLayout(path, sink);
  ASSERT_EQ(info.layout, DataLayout::Beartex);
  const auto names = PickerList(path, info.layout, sink);
  ASSERT_FALSE(names.empty());
  for (std::size_t k = 1; k <= names.size(); ++k) {
    const auto pf = Load(path, ExamplePath("grid5.rst"), sink, static_cast<int>(k));
    ASSERT_TRUE(pf) << k << ": " << sink.messages.at(0);
    EXPECT_GT(pf->MaxValue, 0);
    // Without a grid file, the grid the blocks imply: the same record.
    const auto implied = Load(path, "", sink, static_cast<int>(k));
    ASSERT_TRUE(implied) << k << ": " << sink.messages.at(0);
    ExpectSameRecord(*implied, *pf);
    for (const auto& name : names) EXPECT_EQ(name.find('\r'), std::string::npos);
  }
  EXPECT_TRUE(sink.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Beartex, RealData, ::testing::Values("beartex.xpe", "beartex2.xpe"));

TEST(RealDataNames, BeartexPickerLists) {
  const std::string a = test::RealDataPath("beartex.xpe");
  const std::string b = test::RealDataPath("beartex2.xpe");
  if (a.empty() || b.empty()) GTEST_SKIP() << "shared real data not present";
  CollectingSink sink;
  const auto names = PickerList(a, DataLayout::Beartex, sink);
  ASSERT_EQ(names.size(), 18u);
  EXPECT_EQ(names[0], "   1  1  1");
  EXPECT_EQ(names[1], "   2  0  0");
  EXPECT_EQ(PickerList(b, DataLayout::Beartex, sink).size(), 6u);
}

}  // namespace
}  // namespace quorix

namespace quorix {
namespace {

TEST(LoadPoleFigure, OneReadTellsTheLayoutAndTheNamesTheFileFormsFind) {
  for (const char* name : {"copper111.pol", "copper.xpe", "quartz.wko"}) {
    const std::string path = ExamplePath(name);
    CollectingSink sink;
    const LayoutInfo detected = DetectLayout(path, sink);
    const auto names = PickerList(path, detected.layout, sink);
    const std::string text = test::ReadFile(path);
    EXPECT_EQ(DetectLayoutText(text, path).layout, detected.layout) << name;
    EXPECT_EQ(PickerListText(text, detected.layout, path, sink), names) << name;

    LoadRequest request;
    request.dataFile = path;
    request.gridFile = ExamplePath("grid5.rst");
    request.pfIndex = 2;
    DataFileFacts facts;
    const auto pf = LoadPoleFigure(request, sink, facts);
    ASSERT_TRUE(pf) << name;
    EXPECT_EQ(facts.layout, detected.layout) << name;
    EXPECT_EQ(facts.names, names) << name;
    EXPECT_TRUE(sink.messages.empty()) << name;
  }
  // A failed load tells what it learnt before failing.
  LoadRequest request;
  request.dataFile = ExamplePath("copper.xpe");
  request.gridFile = ExamplePath("grid5.rst");
  request.pfIndex = 99;
  CollectingSink sink;
  DataFileFacts facts;
  EXPECT_FALSE(LoadPoleFigure(request, sink, facts));
  EXPECT_EQ(facts.layout, DataLayout::Beartex);
  EXPECT_FALSE(facts.names.empty());
}

// Saving several pole figures of one file reads it once and loads each from
// its text: the record must be the one the file gives, under the file's name.
TEST(LoadPoleFigure, TextGivenWithTheRequestLoadsAsTheFileWould) {
  for (const char* name : {"copper.xpe", "quartz.wko", "copper_scan.xrdml"}) {
    const std::string path = ExamplePath(name);
    const std::string text = test::ReadFile(path);
    LoadRequest request;
    request.dataFile = path;
    request.gridFile = std::string(name).find(".xrdml") == std::string::npos ? ExamplePath("grid5.rst") : "";
    request.pfIndex = 2;
    NullSink quiet;
    const auto fromFile = LoadPoleFigure(request, quiet);
    ASSERT_TRUE(fromFile) << name;
    // A name that is no file: nothing may open it.
    request.dataFile = (test::TempDir() / "never written" / name).string();
    request.dataText = &text;
    const auto fromText = LoadPoleFigure(request, quiet);
    ASSERT_TRUE(fromText) << name;
    EXPECT_EQ(fromText->FileName, request.dataFile);
    EXPECT_EQ(fromText->NameInFile, fromFile->NameInFile) << name;
    ASSERT_EQ(fromText->CircleCount, fromFile->CircleCount) << name;
    for (int i = 1; i <= fromFile->CircleCount; ++i)
      for (int j = 1; j <= fromFile->CirclePoints[i]; ++j)
        ASSERT_EQ(fromText->Intensity[i][j], fromFile->Intensity[i][j]) << name << " " << i << "," << j;
  }
}

TEST(TextForms, MessagesNameTheSourceAsTheFileFormsNameTheFile) {
  auto pf = NewPoleFigure();
  CollectingSink sink;
  EXPECT_FALSE(ReadSimpleGridText(*pf, "", "memory.rst", sink));
  EXPECT_FALSE(ReadFullGridText(*pf, "I 1\n", "memory.grd", sink));
  ASSERT_TRUE(ReadSimpleGridText(*pf,
                                 "\xEF\xBB\xBF"
                                 "0 4\r45 4\r",
                                 "memory.rst", sink));
  DataReadOptions options;
  options.layout = DataLayout::Plain;
  EXPECT_FALSE(ReadPoleFigureDataText(*pf, "1 2 3\n", "memory.pol", options, sink));
  options.layout = DataLayout::Geesthacht;
  EXPECT_FALSE(ReadPoleFigureDataText(*pf, "1\n2\n", "memory.wko", options, sink));
  EXPECT_EQ(sink.messages,
            (std::vector<std::string>{
                "Grid file memory.rst: no circles found.",
                "Grid file memory.grd: the file ends before the inner and outer mirror switches are both given.",
                "Expected 8 data, found 3.",
                "Data file memory.wko: the WKO header needs 5 lines, the file has 2.",
            }));
  options.layout = DataLayout::Plain;
  EXPECT_TRUE(ReadPoleFigureDataText(*pf, "title\nunit\n1 2 3 4\n5 6 7 8 9 10\n", "memory.pol", options, sink));
  EXPECT_DOUBLE_EQ(pf->Intensity[2][4], 8);
}

}  // namespace
}  // namespace quorix
