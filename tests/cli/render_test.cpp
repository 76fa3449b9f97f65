// quorix-cli render as scripts use it: the file kinds, the options that
// reach the plot, and failures that leave no file behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "io/load_pole_figure.h"
#include "plot/contour_colors.h"
#include "plot/hpgl.h"
#include "record/program_state.h"
#include "test_support.h"

namespace quorix {
namespace {

namespace fs = std::filesystem;

struct RenderRun {
  int status = -1;
  std::string err;
};

RenderRun Render(const std::string& args) {
  const std::string errFile = (test::TempDir() / "render_stderr.txt").string();
  const std::string cmd = std::string(QUORIX_CLI_PATH) + " render " + args + " >/dev/null 2>" + errFile;
  RenderRun r;
  const int status = std::system(cmd.c_str());
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errFile, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  r.err = s.str();
  return r;
}

std::string Inputs() { return test::ExamplePath("copper111.pol") + " " + test::ExamplePath("grid5.rst"); }

fs::path OutDir(const std::string& name) {
  const fs::path d = test::TempDir() / ("render_" + name);
  fs::create_directories(d);
  return d;
}

TEST(CliRender, HpglFileIsTheExportOfTheLibrary) {
  const fs::path out = OutDir("hpgl") / "copper.plt";
  RenderRun r = Render(Inputs() + " -o " + out.string() + " --title \"[copper 111]\"");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = test::ReadFile(out);

  LoadRequest request;
  request.dataFile = test::ExamplePath("copper111.pol");
  request.gridFile = test::ExamplePath("grid5.rst");
  CollectingSink sink;
  auto pf = LoadPoleFigure(request, sink);
  ASSERT_TRUE(pf);
  ProgramState state;
  state.ContourColor = DefaultContourColors();
  EXPECT_EQ(text, HpglPlotFile(*pf, state, 650, 910, "[copper 111]"));
  EXPECT_EQ(text.substr(0, 5), "IN;\r\n");
  EXPECT_EQ(text.substr(text.size() - 11), "PU;PA0,0;\r\n");
  // Default size 910 x 650 with plot stretch 5: the first legend label sits at 650 * 5.
  EXPECT_NE(text.find("PU3250,3155;"), std::string::npos);
}

TEST(CliRender, RotationOptionsReachTheRotationNote) {
  const fs::path dir = OutDir("rotation");
  // 20 degrees about the axis (30/40): the plot inverts the rotation, whose
  // axis then points upward and is folded back with the angle negated, so
  // the note shows the axis and angle as given.
  RenderRun r = Render(Inputs() + " -o " + (dir / "axis.plt").string() + " --rotate-axis 30,40,20");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string axis = test::ReadFile(dir / "axis.plt");
  EXPECT_NE(axis.find("LBRotation:\x03"), std::string::npos);
  EXPECT_NE(axis.find("LB30/40  20\x03"), std::string::npos);

  r = Render(Inputs() + " -o " + (dir / "list.plt").string() + " --rotate-list X:30,y:0,Z:-45 --triclin");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string list = test::ReadFile(dir / "list.plt");
  EXPECT_NE(list.find("LBX:  30\x03"), std::string::npos);
  EXPECT_EQ(list.find("LBY:"), std::string::npos);  // a zero angle adds nothing
  EXPECT_NE(list.find("LBZ:  -45\x03"), std::string::npos);

  r = Render(Inputs() + " -o " + (dir / "none.plt").string() + " --rotate-list Z:0");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(dir / "none.plt").find("Rotation:"), std::string::npos);
}

TEST(CliRender, ConfigurationFileSetsOptionsAndColoursFlagsOverride) {
  const fs::path dir = OutDir("ini");
  const fs::path ini = dir / "Quorix32.ini";
  std::ofstream(ini, std::ios::binary) << "[Options]\r\nequalarea=yes\r\n[Plot]\r\nplotstretch=10\r\n"
                                          "[Contour]\r\ncolor1=1193046\r\n";  // 0x123456
  RenderRun r = Render(Inputs() + " -o " + (dir / "a.plt").string() + " --ini " + ini.string());
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string plt = test::ReadFile(dir / "a.plt");
  EXPECT_NE(plt.find("Equ. area low. hem. proj."), std::string::npos);
  EXPECT_NE(plt.find("PU6500,"), std::string::npos);  // legend at 650 * 10

  r = Render(Inputs() + " -o " + (dir / "b.plt").string() + " --ini " + ini.string() + " --plot-stretch 2");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(test::ReadFile(dir / "b.plt").find("PU1300,"), std::string::npos);

  // The colour set reaches the metafile's pens: level 1 in the file's colour.
  auto hasPenColour = [](const std::string& emf, std::uint32_t colour) {
    for (std::size_t at = 0; at + 28 <= emf.size();) {
      auto u32 = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(emf[i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(emf[i + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(emf[i + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(emf[i + 3])) << 24;
      };
      const std::uint32_t type = u32(at), size = u32(at + 4);
      if (size < 8) return false;
      if (type == 38 && u32(at + 24) == colour) return true;  // EMR_CREATEPEN
      at += size;
    }
    return false;
  };
  r = Render(Inputs() + " -o " + (dir / "c.emf").string() + " --ini " + ini.string());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(hasPenColour(test::ReadFile(dir / "c.emf"), 0x123456));
  r = Render(Inputs() + " -o " + (dir / "d.emf").string());
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string plain = test::ReadFile(dir / "d.emf");
  EXPECT_FALSE(hasPenColour(plain, 0x123456));
  EXPECT_TRUE(hasPenColour(plain, 32896));  // olive, the default level 1
}

TEST(CliRender, RasterAndVectorKindsFollowTheExtension) {
  const fs::path dir = OutDir("kinds");
  for (const char* name : {"p.png", "p.PNG", "p.svg", "p.pdf", "p.emf"}) {
    RenderRun r =
        Render(Inputs() + " -o " + (dir / name).string() + " --fill --eigen --triangles --width 700 --height 500");
    ASSERT_EQ(r.status, 0) << name << ": " << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
  }
  EXPECT_EQ(test::ReadFile(dir / "p.png").substr(1, 3), "PNG");
  EXPECT_EQ(test::ReadFile(dir / "p.PNG").substr(1, 3), "PNG");
  const std::string svg = test::ReadFile(dir / "p.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("copper111.pol"), std::string::npos);
  EXPECT_EQ(test::ReadFile(dir / "p.pdf").substr(0, 5), "%PDF-");
  EXPECT_EQ(test::ReadFile(dir / "p.emf").substr(40, 4), " EMF");
  // Nothing but the outputs: no temporary files left beside them.
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 5u);
}

TEST(CliRender, FailuresExitWithOneAndLeaveNoFile) {
  const fs::path dir = OutDir("failures");
  struct Case {
    std::string args;
    std::string file;
    std::string message;
  } cases[] = {
      {Inputs() + " -o " + (dir / "x.gif").string(), "x.gif", "Unknown output kind"},
      {test::ExamplePath("no_such.pol") + " " + test::ExamplePath("grid5.rst") + " -o " + (dir / "m.png").string(),
       "m.png", "no_such.pol"},
      {Inputs() + " -o " + (dir / "r.png").string() + " --rotate-axis 1,2", "r.png", "--rotate-axis"},
      {Inputs() + " -o " + (dir / "l.png").string() + " --rotate-list W:30", "l.png", "--rotate-list"},
      {Inputs() + " -o " + (dir / "w.png").string() + " --width 0", "w.png", "Width"},
      {Inputs() + " -o " + (dir / "i.png").string() + " --ini " + (dir / "absent.ini").string(), "i.png", "absent.ini"},
  };
  for (const Case& c : cases) {
    RenderRun r = Render(c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
    EXPECT_FALSE(fs::exists(dir / c.file)) << c.file;
  }
  // An output folder that does not exist: an error, nothing written anywhere.
  RenderRun r = Render(Inputs() + " -o " + (dir / "missing" / "p.png").string());
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.err.empty());
  r = Render(Inputs() + " -o " + (dir / "missing" / "p.emf").string());
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST(CliRender, AFailedRenderKeepsAnExistingOutput) {
  const fs::path dir = OutDir("keep");
  std::ofstream(dir / "old.png", std::ios::binary) << "previous";
  RenderRun r = Render(test::ExamplePath("no_such.pol") + " " + test::ExamplePath("grid5.rst") + " -o " +
                       (dir / "old.png").string());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::ReadFile(dir / "old.png"), "previous");
}

// The picture kinds drawn by Qt go down like every other output: a symlink is
// written through, a replaced file keeps its mode, a device is written in
// place and a protected file is refused and kept.
TEST(CliRender, PictureFilesAreReplacedLikeEveryOtherOutput) {
  const fs::path dir = OutDir("safe");
  for (const std::string kind : {"png", "svg", "pdf"}) {
    const fs::path target = dir / ("target." + kind);
    const fs::path link = dir / ("link." + kind);
    fs::create_symlink(target.filename(), link);
    RenderRun r = Render(Inputs() + " -o " + link.string());
    ASSERT_EQ(r.status, 0) << kind << ": " << r.err;
    EXPECT_TRUE(fs::is_symlink(link)) << kind;
    EXPECT_GT(fs::file_size(target), 100u) << kind;

    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    r = Render(Inputs() + " -o " + target.string());
    ASSERT_EQ(r.status, 0) << kind << ": " << r.err;
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
        << kind;

    // A device reached through a link with the kind's extension.
    if (fs::is_character_file("/dev/full")) {
      const fs::path full = dir / ("full." + kind);
      fs::create_symlink("/dev/full", full);
      r = Render(Inputs() + " -o " + full.string());
      EXPECT_EQ(r.status, 1) << kind;
      EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
      EXPECT_TRUE(fs::is_character_file("/dev/full")) << kind;
    }
    if (::geteuid() != 0) {
      const fs::path locked = dir / ("locked." + kind);
      std::ofstream(locked, std::ios::binary) << "earlier";
      fs::permissions(locked, fs::perms::owner_read);
      r = Render(Inputs() + " -o " + locked.string());
      EXPECT_EQ(r.status, 1) << kind;
      EXPECT_NE(r.err.find("Cannot create file " + locked.string() + ": Permission denied"), std::string::npos)
          << r.err;
      EXPECT_EQ(test::ReadFile(locked), "earlier") << kind;
    }
  }
  for (const auto& e : fs::directory_iterator(dir))
    EXPECT_NE(e.path().filename().string().front(), '.') << "left behind: " << e.path();
}

}  // namespace
}  // namespace quorix
