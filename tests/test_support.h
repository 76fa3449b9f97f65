// Helpers shared by the test suites: temporary files, example and real-data paths, grids.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "io/data_layout.h"
#include "record/pole_figure.h"

namespace quorix::test {

// A fresh folder per test; removed when the test binary ends.
std::filesystem::path TempDir();
std::string WriteTempFile(const std::string& name, const std::string& contents);

std::string ExamplePath(const std::string& name);
// Empty when the shared real-data folder is not there.
std::string RealDataPath(const std::string& name);

// SetGrid, failing the test with its messages when the grid is refused.
void SetTestGrid(PoleFigure& pf, const GridDescription& grid);

// A record with circles at alpha 0, step .. 90 (inclusive), `points` points each, beta from 0.
void FillRegularGrid(PoleFigure& pf, double alphaStep, int points);
// The same grid as a new record with every value `value`.
std::unique_ptr<PoleFigure> RegularGrid(double alphaStep, int points, double value = 0);
// The regular grid with a single centre point as its first circle.
std::unique_ptr<PoleFigure> CentrePointGrid(double alphaStep, int points);

// Four points per circle at beta 0, 90, 180, 270; a circle at alpha 0 is a
// single centre point. Small enough to work out contours by hand.
std::unique_ptr<PoleFigure> FourPointGrid(std::initializer_list<double> alphas);
// Intensities of circle i from its first point on.
void SetCircle(PoleFigure& pf, int i, const std::vector<double>& values);
// Linked four-point grids small enough to contour by hand: a peak of 10 at the
// centre over circles of 4 and 1 at 30 and 60 degrees, and an open contour on
// circles at 30, 60 and 80 degrees (the last below the rim).
std::unique_ptr<PoleFigure> CentrePeak();
std::unique_ptr<PoleFigure> RadialLines();

// The grid of a grid file, read as a full grid for ".grd" and as a simple
// one otherwise; a failure is a test failure.
std::unique_ptr<PoleFigure> ReadGridFile(const std::string& path);
// The same for `contents` written to a temporary file `name`.
std::unique_ptr<PoleFigure> GridFromText(const std::string& name, const std::string& contents);
// Pole figure `index` of a data file of `layout` onto the grid `pf` holds.
bool ReadData(PoleFigure& pf, const std::string& file, DataLayout layout, MessageSink& sink, int index = 1);

// Pole figure `index` of `data` on `grid` (paths) as the main window loads it;
// a failure is a test failure that carries the loader's message.
std::unique_ptr<PoleFigure> LoadFile(const std::string& data, const std::string& grid, int index = 1);
// The same for files of examples/.
std::unique_ptr<PoleFigure> LoadExample(const std::string& data, const std::string& grid = "grid5.rst", int index = 1);
// "DATA GRID" of examples/ for a quorix-cli command line.
std::string ExampleArgs(const std::string& data, const std::string& grid = "grid5.rst");

// A record without a grid, only its extremes and normalisation, for the level rules.
std::unique_ptr<PoleFigure> WithExtremes(double minValue, double maxValue, double normFactor);
// Levels 1..LevelCount equal `expected` within `tolerance`.
void ExpectLevels(const PoleFigure& pf, const std::vector<double>& expected, double tolerance = 1e-9);

// `circles` circles 5 degrees apart from `firstAlpha`, `points` points each
// from beta 0, every value 1; sized by SizeTables.
std::unique_ptr<PoleFigure> SmallGrid(int circles, int points, double firstAlpha = 0);

// Tables for circles 0..circles + 1 of at most `points` points, for a test that
// fills a grid and its values in one pass (SizeTablesToGrid needs the grid first).
void SizeTables(PoleFigure& pf, int circles, int points);

// A Bruker UXD file of one reflection: per circle a range at its _KHI with
// its values a full turn from phi 0, as counts over `stepTime` seconds
// ("_2THETACOUNTS") or, with stepTime 0, as rates ("_2THETACPS").
struct UxdCircle {
  double khi = 0;
  std::vector<double> values;
};
std::string UxdText(double twoTheta, double stepTime, const std::vector<UxdCircle>& circles);

std::string ReadFile(const std::filesystem::path& path);
// A sink's messages on one line each, for failure output.
std::string Joined(const std::vector<std::string>& messages);

// quorix-cli run with `args` (split by the shell), its exit status and both outputs.
struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};
CliRun RunCli(const std::string& args);

}  // namespace quorix::test
