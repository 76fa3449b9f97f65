// The load sequence on a session: what changes after a load, what a failure
// leaves alone, the facts a record keeps, and the navigation keys.
#include "workflow/load_sequence.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"
#include "workflow/file_navigation.h"
#include "workflow/rp_log.h"

namespace quorix {
namespace {

using test::ExamplePath;

MainLoad Plain(const std::string& data, const std::string& grid, bool resetRotation = false) {
  MainLoad r;
  r.dataFile = ExamplePath(data);
  r.gridFile = ExamplePath(grid);
  r.resetRotation = resetRotation;
  return r;
}

MainLoad Multi(const std::string& data, int index) {
  MainLoad r = Plain(data, "grid5.rst");
  r.layout = data == "quartz.wko" ? DataLayout::Geesthacht : DataLayout::Beartex;
  r.pfIndex = -index;
  return r;
}

TEST(LoadMainPoleFigure, SuccessTakesTheFilesLayoutAndNames) {
  Session s;
  s.state.AddListFiles = {"added.pol"};
  CollectingSink sink;
  ASSERT_TRUE(LoadMainPoleFigure(s, Multi("copper.xpe", 2), sink));
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(s.DataFileName, ExamplePath("copper.xpe"));
  EXPECT_EQ(s.GridFileName, ExamplePath("grid5.rst"));
  EXPECT_TRUE(s.load.HashListFile);
  EXPECT_FALSE(s.load.PlainFile);
  EXPECT_EQ(s.load.PFIndex, -2);
  EXPECT_EQ(s.load.PoleFigureNames.size(), 3u);
  EXPECT_TRUE(LayoutKnownFor(s.load, ExamplePath("copper.xpe")));
  EXPECT_FALSE(LayoutKnownFor(s.load, ExamplePath("copper111.pol")));
  EXPECT_TRUE(s.state.AddListFiles.empty());
  EXPECT_EQ(PoleFigureTitle(*s.set.PF[1]), "copper.xpe  [2]    [   2  0  0]");

  ASSERT_TRUE(LoadMainPoleFigure(s, Plain("copper111.pol", "grid5.rst"), sink));
  EXPECT_TRUE(s.load.PlainFile);
  EXPECT_FALSE(s.load.Multi());
  EXPECT_TRUE(s.load.PoleFigureNames.empty());
  EXPECT_EQ(PoleFigureTitle(*s.set.PF[1]), "copper111.pol");
}

TEST(LoadMainPoleFigure, AFailureLeavesTheSessionAsItWas) {
  Session s;
  CollectingSink sink;
  ASSERT_TRUE(LoadMainPoleFigure(s, Multi("copper.xpe", 1), sink));
  s.state.Rotation.Mode = RotationMode::List;
  s.state.Rotation.List.push_back({'X', 30});
  const PoleFigure* before = s.set.PF[1].get();
  const double maxValue = before->MaxValue;

  // Wrong number of data; then a grid that does not fit the data.
  for (const MainLoad& bad :
       {Plain("copper200_offset.pol", "grid5.rst", true), Plain("copper200_offset.pol", "grid5_centre.rst", true)}) {
    sink.messages.clear();
    EXPECT_FALSE(LoadMainPoleFigure(s, bad, sink));
    EXPECT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(s.set.PF[1].get(), before);
    EXPECT_EQ(s.set.PF[1]->MaxValue, maxValue);
    EXPECT_EQ(s.DataFileName, ExamplePath("copper.xpe"));
    EXPECT_EQ(s.GridFileName, ExamplePath("grid5.rst"));
    EXPECT_TRUE(s.load.HashListFile);
    EXPECT_EQ(s.load.PFIndex, -1);
    EXPECT_EQ(s.load.PoleFigureNames.size(), 3u);
    EXPECT_EQ(s.state.Rotation.Mode, RotationMode::List);
    EXPECT_TRUE(s.load.ResetRotation);
  }
}

TEST(LoadMainPoleFigure, ResetsTheRotationButNotTheTriclinicChoice) {
  Session s;
  s.state.Rotation.Mode = RotationMode::Matrix;
  s.state.Rotation.Matrix = AxisAngleMatrix(10, 20, 30);
  s.state.Rotation.List.push_back({'Z', 45});
  s.state.Rotation.TriclinicSymmetry = true;
  CollectingSink sink;
  ASSERT_TRUE(LoadMainPoleFigure(s, Plain("copper111.pol", "grid5.rst", true), sink));
  EXPECT_EQ(s.state.Rotation.Mode, RotationMode::None);
  EXPECT_EQ(s.state.Rotation.Matrix, IdentityMatrix());
  EXPECT_TRUE(s.state.Rotation.List.empty());
  EXPECT_TRUE(s.state.Rotation.TriclinicSymmetry);
  EXPECT_FALSE(s.load.ResetRotation);

  // Without the request the rotation stays.
  s.state.Rotation.Mode = RotationMode::Matrix;
  ASSERT_TRUE(LoadMainPoleFigure(s, Plain("copper111.pol", "grid5.rst"), sink));
  EXPECT_EQ(s.state.Rotation.Mode, RotationMode::Matrix);
}

TEST(LoadedRecord, KeepsItsGridKindAndPlaceInTheFile) {
  NullSink quiet;
  LoadRequest r;
  r.dataFile = ExamplePath("copper200_offset.pol");
  r.gridFile = ExamplePath("offset5.grd");
  LoadedFile full = LoadDataFile(r, quiet);
  ASSERT_TRUE(full.pf);
  EXPECT_EQ(full.pf->Grid, GridKind::Full);
  EXPECT_EQ(full.pf->IndexInFile, 0);
  EXPECT_EQ(full.layout, DataLayout::Plain);

  r.dataFile = ExamplePath("quartz.wko");
  r.gridFile = ExamplePath("grid5.rst");
  r.pfIndex = 2;
  LoadedFile wko = LoadDataFile(r, quiet);
  ASSERT_TRUE(wko.pf);
  EXPECT_EQ(wko.pf->Grid, GridKind::Simple);
  EXPECT_EQ(wko.layout, DataLayout::Geesthacht);
  EXPECT_EQ(wko.pf->IndexInFile, 2);
  EXPECT_EQ(wko.pf->NameInFile, wko.names.at(1));

  // A simple grid under a name without ".rst": the main window reads it as a full grid.
  const auto grid = test::WriteTempFile("grid.txt", "I I\nO I\n0 0 90 4\n90 0 90 4\n");
  const auto data = test::WriteTempFile("d.pol", "1 2 3 4 5 6 7 8\n");
  r.dataFile = data;
  r.gridFile = grid;
  LoadedFile named = LoadDataFile(r, quiet);
  ASSERT_TRUE(named.pf);
  EXPECT_EQ(named.pf->Grid, GridKind::Full);
}

// A file without tilts is looked at with the tilts the user gave; without
// them the detection stops with one message, so that the load after it does
// not say the same again.
TEST(DetectDataFile, FilesWithoutTiltsAreReadWithTheGivenOnesAndToldOnce) {
  const std::string txt = ExamplePath("copper_scan.txt");
  CollectingSink sink;
  MeasurementOptions tilts;
  tilts.tiltStart = 0;
  tilts.tiltStep = 5;
  DataFileLayout detected = DetectDataFile(txt, tilts, sink);
  EXPECT_TRUE(detected.ok);
  EXPECT_EQ(detected.layout, DataLayout::RigakuTxt);
  EXPECT_TRUE(sink.messages.empty()) << test::Joined(sink.messages);

  detected = DetectDataFile(txt, {}, sink);
  EXPECT_FALSE(detected.ok);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find("tilts"), std::string::npos);

  sink.messages.clear();
  detected = DetectDataFile(ExamplePath("copper.xpe"), {}, sink);
  EXPECT_TRUE(detected.ok);
  EXPECT_EQ(detected.layout, DataLayout::Beartex);
  EXPECT_FALSE(detected.names.empty());
  EXPECT_TRUE(sink.messages.empty());
}

TEST(LoadIntoWindow, UsesTheMainLoadsGridAndLayout) {
  Session s;
  CollectingSink sink;
  ASSERT_TRUE(LoadMainPoleFigure(s, Multi("copper.xpe", 1), sink));
  s.load.PFIndex = 3;
  ASSERT_TRUE(LoadIntoWindow(s, 4, ExamplePath("copper.xpe"), sink));
  EXPECT_EQ(WindowTitle(4, *s.set.PF[4]), "4 * copper.xpe  [3]    [   2  2  0]");
  s.load.PFIndex = 9;
  EXPECT_FALSE(LoadIntoWindow(s, 5, ExamplePath("copper.xpe"), sink));
  EXPECT_FALSE(s.set.Occupied(5));
}

TEST(StepThroughSeries, MultiPoleFigureFileKeys) {
  Session s;
  CollectingSink sink;
  ASSERT_TRUE(LoadMainPoleFigure(s, Multi("copper.xpe", 1), sink));
  EXPECT_EQ(StepThroughSeries(s, SeriesKey::Right, 0, false, 0, sink), SeriesLoad::Main);
  EXPECT_EQ(s.load.PFIndex, -2);
  EXPECT_EQ(s.set.PF[1]->IndexInFile, 2);
  // Beyond the list nothing loads; the index follows the key as it always did.
  EXPECT_EQ(StepThroughSeries(s, SeriesKey::Digit, '5', false, 0, sink), SeriesLoad::Nothing);
  EXPECT_EQ(s.set.PF[1]->IndexInFile, 2);
  EXPECT_EQ(StepThroughSeries(s, SeriesKey::Digit, '3', true, 0, sink), SeriesLoad::Nothing);
  EXPECT_EQ(StepThroughSeries(s, SeriesKey::Digit, '3', true, 6, sink), SeriesLoad::Window);
  EXPECT_EQ(s.set.PF[6]->IndexInFile, 3);
  EXPECT_EQ(s.load.PFIndex, 3);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(StepThroughSeries, PlainSeriesAndAFailedStep) {
  const auto dir = test::TempDir();
  const std::string grid = ExamplePath("grid5.rst");
  const auto overwrite = std::filesystem::copy_options::overwrite_existing;
  std::filesystem::copy_file(ExamplePath("copper111.pol"), dir / "series01", overwrite);
  std::filesystem::copy_file(ExamplePath("copper200_offset.pol"), dir / "series02", overwrite);
  Session s;
  CollectingSink sink;
  MainLoad first;
  first.dataFile = (dir / "series01").string();
  first.gridFile = grid;
  ASSERT_TRUE(LoadMainPoleFigure(s, first, sink));
  // series02 does not fit the grid: the failure keeps the file and the index.
  EXPECT_EQ(StepThroughSeries(s, SeriesKey::Right, 0, false, 0, sink), SeriesLoad::Nothing);
  EXPECT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(s.DataFileName, first.dataFile);
  EXPECT_EQ(s.load.PFIndex, -1);
  // series03 does not exist.
  EXPECT_EQ(StepThroughSeries(s, SeriesKey::Digit, '3', false, 0, sink), SeriesLoad::Nothing);
  EXPECT_EQ(StepThroughSeries(s, SeriesKey::Left, 0, false, 0, sink), SeriesLoad::Nothing);
  EXPECT_EQ(StepThroughSeries(s, SeriesKey::Digit, '1', true, 2, sink), SeriesLoad::Window);
  EXPECT_EQ(WindowTitle(2, *s.set.PF[2]), "2 * series01");
}

TEST(CopyArguments, DirectionalDataAreMarked) {
  Session s;
  s.DataFileName = "a.pol";
  s.GridFileName = "g.rst";
  EXPECT_EQ(CopyArguments(s), (std::vector<std::string>{"a.pol", "g.rst"}));
  s.load.DirectionalMode = true;
  EXPECT_EQ(CopyArguments(s), (std::vector<std::string>{kDirectionalArgument, "a.pol", "g.rst"}));
}

}  // namespace
}  // namespace quorix

namespace quorix {
namespace {

// The log names each pole figure with its place in its file, as the captions did.
TEST(RPLogEntryFor, PlacesComeFromTheRecords) {
  Session s;
  NullSink quiet;
  ASSERT_TRUE(LoadMainPoleFigure(s, Multi("copper.xpe", 2), quiet));
  s.load.PFIndex = 3;
  ASSERT_TRUE(LoadIntoWindow(s, 2, ExamplePath("copper.xpe"), quiet));
  const auto result = ComparePoleFigures(*s.set.PF[1], *s.set.PF[2], 0.5, quiet);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->difference->IndexInFile, 0);
  const RPLogEntry entry = RPLogEntryFor(*s.set.PF[1], *s.set.PF[2], true, *result);
  EXPECT_EQ(entry.pf1Index, "[2]");
  EXPECT_EQ(entry.pf2Index, "[3]");
  EXPECT_EQ(entry.pf1File, ExamplePath("copper.xpe"));
  EXPECT_EQ(entry.eps, result->eps);
  EXPECT_EQ(RPLogLine(entry).substr(0, 25), fmt::format("{:>25}", "copper.xpe[2]"));
}

}  // namespace
}  // namespace quorix
