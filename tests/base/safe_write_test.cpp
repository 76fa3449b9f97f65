// Every writer puts its file down whole or not at all: a full disk and a
// folder without write permission are reported with the file's name, and
// neither leaves a truncated file nor replaces a device.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "io/ascii_writer.h"
#include "io/formatted_writer.h"
#include "io/load_pole_figure.h"
#include "io/xrdml_writer.h"
#include "plot/contour_colors.h"
#include "plot/plot_files.h"
#include "settings/settings.h"
#include "test_support.h"

namespace quorix {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<PoleFigure> Copper() { return test::LoadExample("copper111.pol"); }

// Each writer as "write this file; false and a message naming it on failure".
struct Writer {
  const char* name;
  std::function<bool(const std::string&, std::string&)> write;
};

std::vector<Writer> AllWriters(const PoleFigure& pf) {
  const std::string xrdmlTemplate = std::string(QUORIX_SOURCE_DIR) + "/tests/io/data/mixed_case_markers.xrdml";
  const auto viaSink = [](bool ok, const CollectingSink& sink, std::string& message) {
    if (!sink.messages.empty()) message = sink.messages.back();
    return ok;
  };
  return {
      {"ascii",
       [&pf, viaSink](const std::string& path, std::string& message) {
         CollectingSink sink;
         return viaSink(WritePFASCII(pf, path, AsciiWriteOptions{}, sink), sink, message);
       }},
      {"save all",
       [&pf, viaSink](const std::string& path, std::string& message) {
         PoleFigureSlots figures{};
         figures[1] = &pf;
         SaveAllSettings settings;
         settings.rows = {SaveAllRow{}};
         CollectingSink sink;
         return viaSink(WriteSaveAll(path, settings, figures, sink), sink, message);
       }},
      {"xrdml",
       [&pf, viaSink, xrdmlTemplate](const std::string& path, std::string& message) {
         CollectingSink sink;
         return viaSink(WritePFXRDML(pf, xrdmlTemplate, path, XrdmlOptions{}, sink), sink, message);
       }},
      {"hpgl",
       [&pf, viaSink](const std::string& path, std::string& message) {
         CollectingSink sink;
         return viaSink(WriteHpglFile(path, pf, ProgramState{}, 400, 600, "", sink, &sink), sink, message);
       }},
      {"emf",
       [&pf, viaSink](const std::string& path, std::string& message) {
         CollectingSink sink;
         return viaSink(WriteEmfFile(path, pf, ProgramState{}, 400, 600, "", sink, &sink), sink, message);
       }},
      {"ini",
       [viaSink](const std::string& path, std::string& message) {
         CollectingSink sink;
         return viaSink(IniFile::FromText("[Plot]\nplotstretch=5\n").Save(path, sink), sink, message);
       }},
      {"colour set",
       [viaSink](const std::string& path, std::string& message) {
         CollectingSink sink;
         return viaSink(SaveColorSet(path, DefaultContourColors(), 10, sink), sink, message);
       }},
  };
}

TEST(SafeWrite, EveryWriterWritesAFileThatWasNotThere) {
  const auto pf = Copper();
  ASSERT_TRUE(pf);
  for (const Writer& w : AllWriters(*pf)) {
    const fs::path dir = test::TempDir() / w.name;
    fs::create_directories(dir);
    const std::string path = (dir / "out.file").string();
    std::string message;
    EXPECT_TRUE(w.write(path, message)) << w.name << ": " << message;
    EXPECT_GT(fs::file_size(path), 0u) << w.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << w.name << ": a temporary was left";
  }
}

TEST(SafeWrite, AFullDiskIsReportedAndTheDeviceStays) {
  if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  const auto pf = Copper();
  ASSERT_TRUE(pf);
  for (const Writer& w : AllWriters(*pf)) {
    std::string message;
    EXPECT_FALSE(w.write("/dev/full", message)) << w.name;
    EXPECT_NE(message.find("/dev/full"), std::string::npos) << w.name << ": " << message;
    // Writing through a temporary and renaming it would replace the device
    // itself when run as root.
    ASSERT_TRUE(fs::is_character_file("/dev/full")) << w.name << " replaced /dev/full";
  }
}

TEST(SafeWrite, AFailedReplaceKeepsTheOldFileWhole) {
  const auto pf = Copper();
  ASSERT_TRUE(pf);
  // A folder standing where the file should go: the rename fails after the
  // temporary has been written, which must then disappear.
  for (const Writer& w : AllWriters(*pf)) {
    const fs::path dir = test::TempDir() / (std::string(w.name) + " blocked");
    fs::create_directories(dir / "out.file" / "inside");
    std::string message;
    EXPECT_FALSE(w.write((dir / "out.file").string(), message)) << w.name;
    EXPECT_NE(message.find("out.file"), std::string::npos) << w.name << ": " << message;
    EXPECT_TRUE(fs::is_directory(dir / "out.file" / "inside")) << w.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << w.name << ": a temporary was left";
  }
}

TEST(SafeWrite, AFolderWithoutWritePermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "running as root, which may write into any folder";
  const auto pf = Copper();
  ASSERT_TRUE(pf);
  for (const Writer& w : AllWriters(*pf)) {
    const fs::path dir = test::TempDir() / (std::string(w.name) + " read-only");
    fs::create_directories(dir);
    const fs::path old = dir / "out.file";
    { std::ofstream(old, std::ios::binary) << "earlier contents"; }
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    std::string message;
    EXPECT_FALSE(w.write(old.string(), message)) << w.name;
    EXPECT_NE(message.find("out.file"), std::string::npos) << w.name << ": " << message;
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(test::ReadFile(old.string()), "earlier contents") << w.name;
  }
}

TEST(SafeWrite, ATerminationSignalRemovesTheTemporary) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    const fs::path dir = test::TempDir() / ("killed" + std::to_string(signal));
    fs::create_directories(dir);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RemoveTemporariesOnTermination();
      // Killed half-way through the file, as a render stopped by the user.
      NullSink ignored;
      WriteFile((dir / "out.png").string(),
                [signal](std::FILE* f) {
                  std::fputs("half a picture", f);
                  std::fflush(f);
                  std::raise(signal);
                  return true;
                },
                ignored);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    // The program still ends by the signal, as its caller expects.
    EXPECT_TRUE(WIFSIGNALED(status)) << signal;
    if (WIFSIGNALED(status)) {
      EXPECT_EQ(WTERMSIG(status), signal);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 0)
        << signal << ": a temporary was left";
  }
}

TEST(SafeRead, DevicesAndFoldersAreRefusedNotReadForever) {
  // /dev/zero never ends; reading it whole would fill the memory.
  if (!fs::is_character_file("/dev/zero")) GTEST_SKIP() << "no /dev/zero on this system";
  CollectingSink sink;
  LoadRequest request;
  request.dataFile = "/dev/zero";
  request.gridFile = test::ExamplePath("grid5.rst");
  EXPECT_EQ(LoadPoleFigure(request, sink), nullptr);
  ASSERT_FALSE(sink.messages.empty());
  EXPECT_EQ(sink.messages.back(), "Cannot open /dev/zero: it is not a regular file.");
  bool exists = true;
  IniFile::Load("/dev/zero", &exists);
  EXPECT_FALSE(exists);
  const auto pf = Copper();
  sink.messages.clear();
  EXPECT_FALSE(WritePFXRDML(*pf, "/dev/zero", (test::TempDir() / "x.xrdml").string(), {}, sink));
  EXPECT_FALSE(fs::exists(test::TempDir() / "x.xrdml"));
}

}  // namespace
}  // namespace quorix
