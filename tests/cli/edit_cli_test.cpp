// quorix-cli edit: each kind of edit against the library, output as `save`
// writes it, and bad operands or files ending with a message and status 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "io/load_pole_figure.h"
#include "test_support.h"
#include "transform/ssci.h"

namespace quorix {
namespace {

using test::CliRun;
using test::RunCli;

std::string Copper() { return test::ExampleArgs("copper111.pol"); }

nlohmann::json Intensities(const std::string& args) {
  const CliRun run = RunCli(args);
  EXPECT_EQ(run.status, 0) << args << "\n" << run.err;
  if (run.status != 0) return nlohmann::json::array();
  return nlohmann::json::parse(run.out)["intensity"];
}

// The loaded values, circle by circle, and how each one changes.
template <class F>
void ExpectEachValue(const nlohmann::json& before, const nlohmann::json& after, F expected) {
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    ASSERT_EQ(before[i].size(), after[i].size());
    for (std::size_t j = 0; j < before[i].size(); ++j) {
      const double v = before[i][j];
      ASSERT_DOUBLE_EQ(after[i][j].get<double>(), v == -1 ? -1 : expected(v, static_cast<int>(i) + 1))
          << "circle " << i + 1 << ", point " << j + 1;
    }
  }
}

TEST(CliEdit, AllCirclesAndRasterChangeEveryValueButTheMissingOnes) {
  const nlohmann::json loaded = Intensities("info " + Copper() + " --json");
  ExpectEachValue(loaded, Intensities("edit " + Copper() + " --all '*' 2 --json"), [](double v, int) { return 2 * v; });

  std::string edt;
  for (int i = 1; i <= 19; ++i) edt += std::to_string(i) + "    ;" + std::to_string(i) + "\n";
  const std::string edtFile = test::WriteTempFile("one_to_nineteen.edt", edt);
  ExpectEachValue(loaded, Intensities("edit " + Copper() + " --circles + " + edtFile + " --json"),
                  [](double v, int circle) { return v + circle; });

  ExpectEachValue(loaded,
                  Intensities("edit " + Copper() + " --raster / " + test::ExamplePath("copper111.pol") + " --json"),
                  [](double v, int) { return v == 0 ? 0 : 1; });
}

TEST(CliEdit, SuppressionMatchesTheLibraryAndLevelZeroKeepsTheData) {
  EXPECT_EQ(Intensities("edit " + Copper() + " --suppress 0 --json"), Intensities("info " + Copper() + " --json"));

  // A flat pole figure with one single-crystal spike.
  std::string values;
  for (int k = 1; k <= 19 * 72; ++k) values += (k == 500 ? "50000" : "100") + std::string(k % 10 ? " " : "\n");
  const std::string data = test::WriteTempFile("flat_with_spike.pol", values + "\n");
  const std::string args = data + " " + test::ExamplePath("grid5.rst");
  LoadRequest request;
  request.dataFile = data;
  request.gridFile = test::ExamplePath("grid5.rst");
  NullSink sink;
  auto pf = LoadPoleFigure(request, sink);
  ASSERT_TRUE(pf);
  ASSERT_EQ(pf->MaxValue, 50000);
  const SuppressionBackup backup = BeginSuppression(*pf);
  SetSuppressionLevel(*pf, backup, 1);
  ASSERT_EQ(pf->MaxValue, 100);
  const nlohmann::json suppressed = Intensities("edit " + args + " --suppress 1 --json");
  ASSERT_EQ(suppressed.size(), 19u);
  for (int i = 1; i <= 19; ++i)
    for (int j = 1; j <= pf->CirclePoints[i]; ++j)
      ASSERT_EQ(suppressed[i - 1][j - 1].get<double>(), pf->Intensity[i][j]);
}

TEST(CliEdit, OutputFileIsWrittenAsSaveWritesIt) {
  const std::string edited = (test::TempDir() / "edited.pol").string();
  const std::string saved = (test::TempDir() / "saved.pol").string();
  const std::string format = " --count 8 --digits 10 --comma 2 --keep-negative";
  ASSERT_EQ(RunCli("edit " + Copper() + " --all + 0 -o " + edited + format).status, 0);
  ASSERT_EQ(RunCli("save " + Copper() + " -o " + saved + format).status, 0);
  EXPECT_EQ(test::ReadFile(edited), test::ReadFile(saved));
}

TEST(CliEdit, BadOperandsAndFilesFailWithTheirMessageAndNoOutput) {
  const std::string shortEdt = test::WriteTempFile("four_lines.edt", "1\n2\n3\n4\n");
  const std::string out = (test::TempDir() / "never.pol").string();
  const struct {
    std::string args, message;
  } cases[] = {
      {"--all / 0", "Division by Zero"},
      {"--all x 2", "one of + - * /"},
      {"--circles + " + shortEdt, "To less or incorrect values on line 5"},
      {"--raster + " + (test::TempDir() / "absent.pol").string(), "absent.pol does not exist"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli("edit " + Copper() + " " + c.args + " -o " + out);
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_NE(RunCli("edit " + Copper() + " --all + 1 --suppress 2 --json").status, 0);
  EXPECT_NE(RunCli("edit " + Copper() + " --json").status, 0);
}

}  // namespace
}  // namespace quorix
