// Files that carry their own grid, loaded as records: the grid a simple grid
// file would give, the facts of the file, the limits, and a failed load that
// leaves the program's pole figure as it was.
#include "io/measurement_record.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <limits>

#include "io/grid_reader.h"
#include "io/load_pole_figure.h"
#include "test_support.h"
#include "workflow/load_sequence.h"

namespace quorix {
namespace {

MeasuredCircle Circle(double alpha, int points, double start = 0, double value = 1) {
  MeasuredCircle c;
  c.alpha = alpha;
  c.betaStart = start;
  c.betaStep = 360.0 / points;
  c.values.assign(static_cast<std::size_t>(points), value);
  return c;
}

MeasurementFile OneFigure(std::vector<MeasuredCircle> circles) {
  MeasurementFile f;
  f.poleFigures.push_back({"1 1 1", "1 1 1", std::move(circles), ""});
  return f;
}

TEST(MeasurementToRecord, GridAsTheSimpleGridFileWouldGiveIt) {
  // The same circles from a grid file and from a measurement: one record.
  auto fromGrid = NewPoleFigure();
  CollectingSink sink;
  ASSERT_TRUE(ReadSimpleGridText(*fromGrid, "0 1\n45 8\n90 8\n", "g.rst", sink));
  std::vector<MeasuredCircle> circles{Circle(0, 1, 0, 2), Circle(45, 8, 0, 3), Circle(90, 8, 0, 4)};
  circles[1].values[2] = 7;
  const auto pf = MeasurementToRecord(OneFigure(circles), 1, "m.dat", false, sink);
  ASSERT_TRUE(pf) << sink.messages.at(0);
  EXPECT_EQ(pf->CircleCount, fromGrid->CircleCount);
  for (int i = 0; i <= 4; ++i) {
    EXPECT_EQ(pf->Alpha[i], fromGrid->Alpha[i]) << i;
    EXPECT_EQ(pf->CirclePoints[i], fromGrid->CirclePoints[i]) << i;
    EXPECT_EQ(pf->BetaStep[i], fromGrid->BetaStep[i]) << i;
  }
  EXPECT_EQ(pf->BetaRange, fromGrid->BetaRange);
  EXPECT_EQ(pf->InnerMirror, 0);
  EXPECT_EQ(pf->OuterMirror, 0);
  EXPECT_EQ(pf->Grid, GridKind::Simple);
  EXPECT_EQ(pf->PointCount, 17);
  EXPECT_EQ(pf->Intensity[2][3], 7);
  EXPECT_EQ(pf->MaxValue, 7);
  EXPECT_EQ(pf->Hkl, "1 1 1");
  EXPECT_EQ(pf->IndexInFile, 0);  // a file of one
  EXPECT_EQ(pf->FileName, "m.dat");
  EXPECT_GT(pf->LevelCount, 0);
}

TEST(MeasurementToRecord, AnInstrumentCentreIsOneDirectionAtTheMeanOfItsCounts) {
  MeasuredCircle centre = Circle(0, 4);
  centre.values = {1, 2, 3, kMissing};
  for (DataLayout layout : {DataLayout::Uxd, DataLayout::Xrdml, DataLayout::Ras, DataLayout::Popla}) {
    MeasurementFile file = OneFigure({centre, Circle(45, 4, 0, 5)});
    file.format = layout;
    CollectingSink sink;
    const auto pf = MeasurementToRecord(file, 1, "c.uxd", false, sink);
    ASSERT_TRUE(pf) << test::Joined(sink.messages);
    ASSERT_EQ(pf->CirclePoints[1], 4);  // the points stay
    if (layout == DataLayout::Popla) {  // an exchange layout keeps what it holds
      EXPECT_EQ(pf->Intensity[1][1], 1);
      EXPECT_FALSE(pf->CentreSpread);
      continue;
    }
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(pf->Intensity[1][j], 2) << LayoutName(layout);
    ASSERT_TRUE(pf->CentreSpread);
    EXPECT_DOUBLE_EQ(*pf->CentreSpread, 1.0);  // sample deviation of 1, 2, 3
    EXPECT_EQ(pf->MaxValue, 5);
  }
  // A lowest circle above tilt 0 is many directions.
  MeasurementFile tilted = OneFigure({Circle(5, 4, 0, 1), Circle(45, 4)});
  tilted.format = DataLayout::Uxd;
  tilted.poleFigures[0].circles[0].values[0] = 9;
  NullSink quiet;
  const auto pf = MeasurementToRecord(tilted, 1, "t.uxd", false, quiet);
  ASSERT_TRUE(pf);
  EXPECT_EQ(pf->Intensity[1][1], 9);
  EXPECT_FALSE(pf->CentreSpread);
}

TEST(MeasurementToRecord, LimitsAreCheckedInOnePlaceAndNamed) {
  std::vector<MeasuredCircle> many;
  for (int i = 0; i <= kMaxCircles; ++i) many.push_back(Circle(i * 0.5, 8));
  std::vector<MeasuredCircle> wide{Circle(0, 8)};
  wide[0].values.assign(kMaxPoints + 1, 1.0);
  wide[0].betaStep = 0.5;
  std::vector<MeasuredCircle> fine{Circle(0, 8)};
  fine[0].betaStep = 0.1;
  std::vector<MeasuredCircle> order{Circle(10, 8), Circle(5, 8)};
  std::vector<MeasuredCircle> nan{Circle(0, 8)};
  nan[0].values[3] = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::vector<MeasuredCircle> circles;
    std::string says;
  } cases[] = {{many, fmt::format("more than {} circles.", kMaxCircles)},
               {wide, fmt::format("more than {}.", kMaxPoints)},
               {fine, "beta step of 0.1"},
               {order, "out of order"},
               {nan, "not a finite number"},
               {{}, "no circles"}};
  for (const auto& c : cases) {
    CollectingSink sink;
    EXPECT_FALSE(MeasurementToRecord(OneFigure(c.circles), 1, "big.jul", false, sink)) << c.says;
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].find("big.jul"), std::string::npos) << sink.messages[0];
    EXPECT_NE(sink.messages[0].find(c.says), std::string::npos) << sink.messages[0];
  }
  CollectingSink sink;
  EXPECT_FALSE(MeasurementToRecord(OneFigure({Circle(0, 8)}), 2, "one.jul", false, sink));
  ASSERT_EQ(sink.problems.size(), 1u);
  EXPECT_EQ(sink.problems[0].file, "one.jul");
  EXPECT_EQ(sink.problems[0].what, "there is no pole figure 2; the file holds 1.");
}

struct RealCase {
  const char* file;
  DataLayout layout;
  std::size_t names;
  int index;
  const char* hkl;
  int circles, points;
  double lastAlpha, betaStart, betaStep;
  int circle, point;  // from 1
  double value;
};

TEST(LoadMeasuredFile, EveryRealPoplaAndColumnFileLoadsWithoutAGrid) {
  const RealCase cases[] = {
      {"popla.epf", DataLayout::Popla, 4, 2, "1 1 0", 17, 17 * 72, 80, 0, 5, 1, 7, 5},
      {"popla_108.epf", DataLayout::Popla, 0, 1, "1 0 0", 17, 17 * 72, 80, 0, 5, 1, 10, 1007},
      {"popla.GPF", DataLayout::Popla, 6, 2, "1 0 0", 19, 19 * 72, 90, 0, 5, 1, 18, 254},
      // "89.000 181.000 -8"
      {"juelich012.jul", DataLayout::Columns, 0, 1, "0 1 2", 91, 0, 90, 180, 1, 90, 2, -8},  // hkl from the name
  };
  for (const auto& c : cases) {
    const std::string path = test::RealDataPath(c.file);
    if (path.empty()) GTEST_SKIP() << "shared real data not present";
    LoadRequest request;
    request.dataFile = path;
    request.pfIndex = c.index;
    CollectingSink sink;
    DataFileFacts facts;
    const auto pf = LoadPoleFigure(request, sink, facts);
    ASSERT_TRUE(pf) << c.file << ": " << sink.messages.at(0);
    EXPECT_TRUE(sink.messages.empty()) << sink.messages.at(0);
    EXPECT_EQ(facts.layout, c.layout) << c.file;
    EXPECT_EQ(facts.names.size(), c.names) << c.file;
    EXPECT_EQ(pf->Hkl, c.hkl) << c.file;
    EXPECT_EQ(pf->IndexInFile, c.names > 0 ? c.index : 0) << c.file;
    if (c.names > 0) {
      EXPECT_EQ(pf->NameInFile, c.hkl) << c.file;
    }
    EXPECT_EQ(pf->CircleCount, c.circles) << c.file;
    if (c.layout == DataLayout::Popla) {
      EXPECT_EQ(pf->PointCount, c.points) << c.file;
    }
    EXPECT_EQ(pf->Alpha[1], 0.0) << c.file;
    EXPECT_EQ(pf->Alpha[c.circles], c.lastAlpha) << c.file;
    EXPECT_EQ(pf->BetaStart[c.circles], c.betaStart) << c.file;
    EXPECT_EQ(pf->BetaStep[c.circles], c.betaStep) << c.file;
    EXPECT_EQ(pf->Intensity[c.circle][c.point], c.value) << c.file;
  }
}

TEST(LoadMeasuredFile, APlainReadOfAColumnListWarnsOfTheValuesLeftOver) {
  const std::string path = test::RealDataPath("juelich012.jul");
  if (path.empty()) GTEST_SKIP() << "shared real data not present";
  LoadRequest request;
  request.dataFile = path;
  request.gridFile = test::ExamplePath("grid5.rst");
  request.layout = DataLayout::Plain;
  CollectingSink sink;
  ASSERT_TRUE(LoadPoleFigure(request, sink));
  ASSERT_EQ(sink.problems.size(), 1u);
  EXPECT_EQ(sink.problems[0].file, path);
  EXPECT_EQ(sink.problems[0].what, "43848 values, but the grid has 1368 points; the rest was ignored.");
}

TEST(LoadMeasuredFile, ABadFileLeavesTheLoadedPoleFigureAsItWas) {
  Session session;
  MainLoad good;
  good.dataFile = test::ExamplePath("copper111.pol");
  good.gridFile = test::ExamplePath("grid5.rst");
  CollectingSink sink;
  ASSERT_TRUE(LoadMainPoleFigure(session, good, sink));
  const PoleFigure* before = session.set.PF[1].get();
  const double value = before->Intensity[3][5];
  const std::string bad[] = {
      test::WriteTempFile("bad.epf", "comment\n(111)  5.0 80.0  5.0360.0 1 1\n    1   2\n"),
      test::WriteTempFile("bad.jul", "alpha beta intensity\n0 0 1\n0 10 2\n0 25 3\n"),
  };
  for (const std::string& file : bad) {
    MainLoad load;
    load.dataFile = file;
    load.layout = DataLayout::None;
    CollectingSink messages;
    EXPECT_FALSE(LoadMainPoleFigure(session, load, messages)) << file;
    ASSERT_EQ(messages.messages.size(), 1u) << file;
    EXPECT_NE(messages.messages[0].find(file), std::string::npos) << messages.messages[0];
    EXPECT_EQ(session.set.PF[1].get(), before);
    EXPECT_EQ(session.set.PF[1]->Intensity[3][5], value);
    EXPECT_EQ(session.DataFileName, good.dataFile);
  }
  // A plain file without a grid is told to need one.
  MainLoad noGrid;
  noGrid.dataFile = good.dataFile;
  noGrid.layout = DataLayout::None;
  CollectingSink messages;
  EXPECT_FALSE(LoadMainPoleFigure(session, noGrid, messages));
  EXPECT_NE(messages.messages.at(0).find("a grid file is needed"), std::string::npos);
}

TEST(LoadMeasuredFile, LoadingIntoAFurtherWindowKeepsTheLayout) {
  const std::string path = test::RealDataPath("popla.GPF");
  if (path.empty()) GTEST_SKIP() << "shared real data not present";
  Session session;
  MainLoad load;
  load.dataFile = path;
  load.layout = DataLayout::None;
  load.pfIndex = -1;
  CollectingSink sink;
  ASSERT_TRUE(LoadMainPoleFigure(session, load, sink)) << sink.messages.at(0);
  EXPECT_EQ(session.load.Layout(), DataLayout::Popla);
  EXPECT_TRUE(session.load.Multi());
  EXPECT_EQ(session.load.PoleFigureNames.size(), 6u);
  session.load.PFIndex = 3;
  ASSERT_TRUE(LoadIntoWindow(session, 2, path, sink)) << sink.messages.at(0);
  EXPECT_EQ(session.set.PF[2]->Hkl, "1 1 0");
  EXPECT_EQ(WindowTitle(2, *session.set.PF[2]), "2 * popla.GPF" + MultiSuffix(3, "1 1 0"));
  EXPECT_EQ(CopyArguments(session), std::vector<std::string>{path});
}

}  // namespace
}  // namespace quorix
