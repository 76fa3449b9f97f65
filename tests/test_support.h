// Helpers shared by the test suites: temporary files, example and real-data paths, grids.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

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

// Four points per circle at beta 0, 90, 180, 270; a circle at alpha 0 is a
// single centre point. Small enough to work out contours by hand.
std::unique_ptr<PoleFigure> FourPointGrid(std::initializer_list<double> alphas);
// Intensities of circle i from its first point on.
void SetCircle(PoleFigure& pf, int i, const std::vector<double>& values);

// Tables for circles 0..circles + 1 of at most `points` points, for a test that
// fills a grid and its values in one pass (SizeTablesToGrid needs the grid first).
void SizeTables(PoleFigure& pf, int circles, int points);

std::string ReadFile(const std::string& path);
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
