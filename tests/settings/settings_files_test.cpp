// Where the configuration file is read and written, what a run leaves in it
// for the next one, and where the manual is found.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "settings/settings.h"
#include "settings/startup_config.h"
#include "test_support.h"

namespace quorix {
namespace {

namespace fs = std::filesystem;

struct Install {
  fs::path program;  // <root>/bin/quorix
  fs::path userFolder;
};

Install MakeInstall() {
  const fs::path root = test::TempDir();
  fs::create_directories(root / "bin");
  return {root / "bin" / "quorix", root / "home" / ".config" / "quorix"};
}

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

TEST(ChooseSettingsFiles, TheUsersFileWinsAndAPortableFileOnlySeedsIt) {
  const Install in = MakeInstall();
  const std::string user = (in.userFolder / "quorix.ini").string();
  const std::string beside = (in.program.parent_path() / "quorix.ini").string();

  // Neither file: nothing to read, changes go to the user's folder (never to bin/).
  SettingsFiles f = ChooseSettingsFiles({in.program.string(), "/"}, in.userFolder.string());
  EXPECT_EQ(f.read, "");
  EXPECT_EQ(f.write, user);

  // A portable install: read beside the program, still written to the user's file.
  Write(beside, "[Options]\nmrd=yes\n");
  f = ChooseSettingsFiles({in.program.string(), "/"}, in.userFolder.string());
  EXPECT_EQ(f.read, beside);
  EXPECT_EQ(f.write, user);

  // Once the user has a file, the one beside the program is no longer read.
  Write(user, "[Options]\nmrd=no\n");
  f = ChooseSettingsFiles({in.program.string(), "/"}, in.userFolder.string());
  EXPECT_EQ(f.read, user);
  EXPECT_EQ(f.write, user);

  // A folder named like the file beside the program is not a configuration.
  fs::remove_all(in.userFolder);
  fs::remove(beside);
  fs::create_directories(beside);
  f = ChooseSettingsFiles({in.program.string(), "/"}, in.userFolder.string());
  EXPECT_EQ(f.read, "");
}

TEST(ChooseSettingsFiles, WithoutAUserFolderEverythingStaysBesideTheProgram) {
  const SettingsFiles f = ChooseSettingsFiles({"quorix", "/opt/q"}, "");
  EXPECT_EQ(f.read, "/opt/q/quorix.ini");
  EXPECT_EQ(f.write, "/opt/q/quorix.ini");
}

TEST(RememberLastFiles, TheNextStartFindsTheFilesAndKeepsOtherKeys) {
  const Install in = MakeInstall();
  const std::string file = (in.userFolder / "quorix.ini").string();
  IniFile ini = IniFile::FromText("[Options]\r\nmrd=yes\r\n[Files]\r\ngrid=/old/grid.rst\r\n");
  RememberLastFiles(ini, "/data/cu 111.pol", "/data", "/grids/grid5.rst");
  CollectingSink sink;
  ASSERT_TRUE(SaveSettings(ini, file, sink)) << test::Joined(sink.messages);  // creates ~/.config/quorix

  const StartupConfig c = ReadStartupConfig(IniFile::Load(file));
  EXPECT_EQ(c.DataFileName, "/data/cu 111.pol");
  EXPECT_EQ(c.GridFileName, "/grids/grid5.rst");
  EXPECT_EQ(c.GridPath, "/grids");
  EXPECT_EQ(c.DataPath, "/data");
  EXPECT_EQ(IniFile::Load(file).ReadString("Options", "mrd", ""), "yes");
  EXPECT_EQ(test::ReadFile(file).find("grid=/old"), std::string::npos);  // replaced, not duplicated
}

TEST(SaveSettings, AnUnwritableFolderIsReportedNotThrown) {
  const fs::path blocker = test::TempDir() / "not_a_folder";
  Write(blocker, "x");
  CollectingSink sink;
  EXPECT_FALSE(SaveSettings(IniFile{}, (blocker / "quorix" / "quorix.ini").string(), sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find("not_a_folder"), std::string::npos) << sink.messages[0];
}

TEST(FindManual, InstalledCopyFirstThenTheSourceTree) {
  const Install in = MakeInstall();
  const fs::path source = test::TempDir() / "src" / "docs" / "manual" / "index.html";
  EXPECT_EQ(FindManual({in.program.string(), "/"}, source.string()), "");
  Write(source, "<html>");
  EXPECT_EQ(FindManual({in.program.string(), "/"}, source.string()), source.string());
  const fs::path installed = in.program.parent_path().parent_path() / "share/doc/quorix/manual/index.html";
  Write(installed, "<html>");
  EXPECT_EQ(fs::path(FindManual({in.program.string(), "/"}, source.string())), installed);
  EXPECT_EQ(FindManual({in.program.string(), "/"}, ""), FindManual({in.program.string(), "/"}, source.string()));
}

}  // namespace
}  // namespace quorix
