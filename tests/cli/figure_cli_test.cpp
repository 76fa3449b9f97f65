// quorix-cli figure: the kinds it writes with text kept as text, the ODF
// panels, and usage faults that leave no file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace quorix {
namespace {

namespace fs = std::filesystem;

TEST(FigureCommand, WritesEveryKindWithItsTextsAsText) {
  const fs::path dir = test::TempDir() / "figure_kinds";
  fs::create_directories(dir);
  for (const char* kind : {"svg", "pdf", "png", "emf"}) {
    const fs::path out = dir / (std::string("cu.") + kind);
    const test::CliRun r =
        test::RunCli("figure " + test::ExampleArgs("copper.xpe") + " --index 1,2 --style smooth -o " + out.string());
    ASSERT_EQ(r.status, 0) << kind << ": " << r.err;
    ASSERT_TRUE(fs::exists(out)) << kind;
  }
  const std::string svg = test::ReadFile(dir / "cu.svg");
  EXPECT_NE(svg.find(">m.r.d.</text>"), std::string::npos);
  EXPECT_NE(svg.find(">RD</text>"), std::string::npos);
  EXPECT_NE(svg.find("width=\"170mm\""), std::string::npos);
  EXPECT_EQ(test::ReadFile(dir / "cu.pdf").substr(0, 5), "%PDF-");
}

TEST(FigureCommand, DrawsInversePoleFiguresAndSectionsOfAnOdfFile) {
  const fs::path dir = test::TempDir() / "figure_odf";
  fs::create_directories(dir);
  const std::string odf = (dir / "cu.odf").string();
  ASSERT_EQ(test::RunCli("odf " + test::ExamplePath("copper.xpe") + " --grid " + test::ExamplePath("grid5.rst") +
                         " --crystal cubic --iterations 3 --odf-out " + odf)
                .status,
            0);
  const std::string out = (dir / "odf.svg").string();
  const test::CliRun r = test::RunCli("figure --from-odf " + odf + " --ipf --sections --log -o " + out);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string svg = test::ReadFile(out);
  for (const char* text : {">111</text>", ">101</text>", ">ND</text>", "\u03c62 = 2.5\u00b0"})
    EXPECT_NE(svg.find(text), std::string::npos) << text;
}

TEST(FigureCommand, UsageFaultsSayWhatIsWrongAndWriteNothing) {
  const std::string out = (test::TempDir() / "never.svg").string();
  const std::string data = test::ExampleArgs("copper.xpe");
  struct Case {
    std::string args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"--ipf -o " + out, 2, "--ipf and --sections need --from-odf FILE"},
      {data + " --layout 3 -o " + out, 2, "--layout: \"3\" is not ROWSxCOLUMNS"},
      {data + " --levels 1,x -o " + out, 2, "--levels: \"x\" is not a number"},
      {data + " --colormap rainbow -o " + out, 2, "neither viridis, white-red, grey nor a readable colour-set file"},
      {data + " --index 9 -o " + out, 1, ""},
      {data + " -o " + (test::TempDir() / "never.txt").string(), 1, "use .png, .svg, .pdf or .emf"},
  };
  for (const Case& c : cases) {
    const test::CliRun r = test::RunCli("figure " + c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    EXPECT_FALSE(fs::exists(out)) << c.args;
  }
}

}  // namespace
}  // namespace quorix
