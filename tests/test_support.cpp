// Helpers shared by the test suites.
#include "test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

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
  ASSERT_TRUE(SetGrid(pf, grid, "test grid", sink)) << Joined(sink.messages);
}

void FillRegularGrid(PoleFigure& pf, double alphaStep, int points) {
  GridDescription grid;
  for (double a = 0; a <= 90 + 1e-9; a += alphaStep) grid.circles.push_back({a, 0, 360.0 / points, points});
  SetTestGrid(pf, grid);
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

void SetCircle(PoleFigure& pf, int i, const std::vector<double>& values) {
  for (std::size_t j = 0; j < values.size(); ++j) pf.Intensity[i][j + 1] = values[j];
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

std::string ReadFile(const std::string& path) {
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
