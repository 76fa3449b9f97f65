// Helpers shared by the test suites.
#include "test_support.h"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/message_sink.h"
#include "io/data_reader.h"
#include "io/grid_reader.h"
#include "io/load_pole_figure.h"
#include "record/circle_links.h"

namespace quorix::test {

std::filesystem::path TempDir() {
  static const std::filesystem::path root = [] {
    auto p = std::filesystem::temp_directory_path() / ("quorix_tests_" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  auto dir = root / (info ? std::string(info->test_suite_name()) + "." + info->name() : std::string("global"));
  std::filesystem::create_directories(dir);
  return dir;
}

std::string WriteTempFile(const std::string& name, const std::string& contents) {
  const auto path = TempDir() / name;
  std::ofstream out(path, std::ios::binary);
  out << contents;
  return path.string();
}

std::string ExamplePath(const std::string& name) { return std::string(QUORIX_SOURCE_DIR) + "/examples/" + name; }

std::string RealDataPath(const std::string& name) {
  const auto p = std::filesystem::path(QUORIX_SOURCE_DIR) / ".." / "shared" / "realdata" / name;
  return std::filesystem::exists(p) ? p.string() : std::string();
}

void SetTestGrid(PoleFigure& pf, const GridDescription& grid) {
  CollectingSink sink;
  ASSERT_TRUE(SetGrid(pf, grid, "test grid", FileRole::Data, sink)) << Joined(sink.messages);
}

void FillRegularGrid(PoleFigure& pf, double alphaStep, int points) {
  GridDescription grid;
  for (double a = 0; a <= 90 + 1e-9; a += alphaStep) grid.circles.push_back({a, 0, 360.0 / points, points});
  SetTestGrid(pf, grid);
}

std::unique_ptr<PoleFigure> RegularGrid(double alphaStep, int points, double value) {
  auto pf = NewPoleFigure();
  FillRegularGrid(*pf, alphaStep, points);
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j) pf->Intensity[i][j] = value;
  return pf;
}

std::unique_ptr<PoleFigure> CentrePointGrid(double alphaStep, int points) {
  auto pf = NewPoleFigure();
  FillRegularGrid(*pf, alphaStep, points);
  pf->CirclePoints[1] = 1;
  pf->BetaStep[1] = 360;
  pf->PointCount = 1 + (pf->CircleCount - 1) * points;
  SizeTablesToGrid(*pf);
  return pf;
}

std::unique_ptr<PoleFigure> FourPointGrid(std::initializer_list<double> alphas) {
  auto pf = NewPoleFigure();
  GridDescription grid;
  for (double a : alphas) grid.circles.push_back({a, 0, a == 0 ? 360.0 : 90.0, a == 0 ? 1 : 4});
  SetTestGrid(*pf, grid);
  return pf;
}

void SizeTables(PoleFigure& pf, int circles, int points) {
  pf.Intensity.Resize(circles + 2, points + 2);
  pf.Link.Resize(circles + 2, points + 2);
}

std::unique_ptr<PoleFigure> SmallGrid(int circles, int points, double firstAlpha) {
  auto pf = NewPoleFigure();
  pf->CircleCount = circles;
  SizeTables(*pf, circles, points);
  for (int i = 1; i <= circles; ++i) {
    pf->Alpha[i] = firstAlpha + 5.0 * (i - 1);
    pf->BetaStart[i] = 0;
    pf->BetaStep[i] = 360.0 / points;
    pf->CirclePoints[i] = points;
    for (int j = 1; j <= points; ++j) pf->Intensity[i][j] = 1;
  }
  pf->PointCount = circles * points;
  return pf;
}

void SetCircle(PoleFigure& pf, int i, const std::vector<double>& values) {
  for (std::size_t j = 0; j < values.size(); ++j) pf.Intensity[i][j + 1] = values[j];
}

std::unique_ptr<PoleFigure> CentrePeak() {
  auto pf = FourPointGrid({0, 30, 60});
  SetCircle(*pf, 1, {10});
  SetCircle(*pf, 2, {4, 4, 4, 4});
  SetCircle(*pf, 3, {1, 1, 1, 1});
  EXPECT_TRUE(BuildCircleLinks(*pf));
  return pf;
}

std::unique_ptr<PoleFigure> RadialLines() {
  auto pf = FourPointGrid({30, 60, 80});
  SetCircle(*pf, 1, {1, 3, 3, 1});
  SetCircle(*pf, 2, {1, 4, 3, 0.5});
  SetCircle(*pf, 3, {1.5, 5, 4, 1});
  EXPECT_TRUE(BuildCircleLinks(*pf));
  return pf;
}

std::unique_ptr<PoleFigure> ReadGridFile(const std::string& path) {
  auto pf = NewPoleFigure();
  CollectingSink sink;
  const bool full = std::filesystem::path(path).extension() == ".grd";
  EXPECT_TRUE(full ? ReadFullGrid(*pf, path, sink) : ReadSimpleGrid(*pf, path, sink))
      << path << ": " << Joined(sink.messages);
  return pf;
}

std::unique_ptr<PoleFigure> GridFromText(const std::string& name, const std::string& contents) {
  return ReadGridFile(WriteTempFile(name, contents));
}

bool ReadData(PoleFigure& pf, const std::string& file, DataLayout layout, MessageSink& sink, int index) {
  DataReadOptions o;
  o.layout = layout;
  o.pfIndex = index;
  return ReadPoleFigureData(pf, file, o, sink);
}

std::unique_ptr<PoleFigure> LoadFile(const std::string& data, const std::string& grid, int index) {
  LoadRequest request;
  request.dataFile = data;
  request.gridFile = grid;
  request.pfIndex = index;
  CollectingSink sink;
  auto pf = LoadPoleFigure(request, sink);
  EXPECT_TRUE(pf) << data << " " << index << ": " << Joined(sink.messages);
  return pf;
}

std::unique_ptr<PoleFigure> LoadExample(const std::string& data, const std::string& grid, int index) {
  return LoadFile(ExamplePath(data), ExamplePath(grid), index);
}

std::string ExampleArgs(const std::string& data, const std::string& grid) {
  return ExamplePath(data) + " " + ExamplePath(grid);
}

std::unique_ptr<PoleFigure> WithExtremes(double minValue, double maxValue, double normFactor) {
  auto pf = NewPoleFigure();
  pf->MinValue = minValue;
  pf->MaxValue = maxValue;
  pf->NormFactor = normFactor;
  return pf;
}

void ExpectLevels(const PoleFigure& pf, const std::vector<double>& expected, double tolerance) {
  ASSERT_EQ(pf.LevelCount, static_cast<int>(expected.size()));
  for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_NEAR(pf.Level[k + 1], expected[k], tolerance) << k;
}

namespace {
// Removes the temporary folder when the run ends.
struct Cleanup {
  ~Cleanup() {
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / ("quorix_tests_" + std::to_string(::getpid())),
                                ec);
  }
} cleanup;
}  // namespace

std::string UxdText(double twoTheta, double stepTime, const std::vector<UxdCircle>& circles) {
  std::string text = "_FILEVERSION=2\n";
  for (const UxdCircle& c : circles) {
    const double step = 360.0 / static_cast<double>(c.values.size());
    text += fmt::format("_DRIVE='PHI'\n_STEPSIZE={}\n_START=0\n_2THETA={}\n_KHI={}\n", step, twoTheta, c.khi);
    if (stepTime > 0) text += fmt::format("_STEPTIME={}\n", stepTime);
    text += stepTime > 0 ? "_2THETACOUNTS\n" : "_2THETACPS\n";
    for (std::size_t k = 0; k < c.values.size(); ++k)
      text += fmt::format("{} {}\n", step * static_cast<double>(k), c.values[k]);
  }
  return text;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

CliRun RunCli(const std::string& args) {
  const std::string errFile = (TempDir() / "stderr.txt").string();
  const std::string cmd = std::string(QUORIX_CLI_PATH) + " " + args + " 2>" + errFile;
  CliRun r;
  FILE* pipe = ::popen(cmd.c_str(), "r");
  if (!pipe) return r;
  std::array<char, 65536> buffer{};
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.err = ReadFile(errFile);
  return r;
}

std::string Joined(const std::vector<std::string>& messages) {
  std::string all;
  for (const std::string& m : messages) all += m + "\n";
  return all;
}

}  // namespace quorix::test
