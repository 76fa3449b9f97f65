// File names reach the files untouched: blanks, quotes, semicolons, shell
// substitutions and letters beyond ASCII, in and out, with no shell between.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "test_support.h"

namespace quorix {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out, err;
};

// Starts quorix-cli with exactly these arguments in `folder`, as a program
// that passes an argument vector does.
Outcome RunArgs(const fs::path& folder, const std::vector<std::string>& args) {
  const fs::path outFile = folder / "stdout.txt", errFile = folder / "stderr.txt";
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(126);
    std::vector<char*> argv;
    std::string program = QUORIX_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  Outcome r;
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.status = WEXITSTATUS(status);
  r.out = test::ReadFile(outFile.string());
  r.err = test::ReadFile(errFile.string());
  return r;
}

// Every character a shell or a careless quoting would act on.
const std::string kAwkward = "a b;touch pwned; $(touch pwned) `touch pwned` 'q' \"dq\" & | > < * ? Ünïcödé ß 日本";

class CliFileNames : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::TempDir() / ("folder " + kAwkward);
    fs::create_directories(dir_);
    data_ = dir_ / (kAwkward + ".pol");
    grid_ = dir_ / (kAwkward + ".rst");
    fs::copy_file(test::ExamplePath("copper111.pol"), data_);
    fs::copy_file(test::ExamplePath("grid5.rst"), grid_);
  }
  void TearDown() override {
    EXPECT_FALSE(fs::exists(dir_ / "pwned"));
    EXPECT_FALSE(fs::exists(test::TempDir() / "pwned"));
  }
  fs::path dir_, data_, grid_;
};

TEST_F(CliFileNames, InfoReadsAndNamesTheFile) {
  const Outcome run = RunArgs(dir_, {"info", data_.string(), grid_.string(), "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j.at("file").get<std::string>(), data_.string());
  // A missing file with such a name is reported by its exact name.
  const std::string missing = (dir_ / (kAwkward + " missing.pol")).string();
  const Outcome fail = RunArgs(dir_, {"info", missing, grid_.string()});
  EXPECT_EQ(fail.status, 1);
  EXPECT_NE(fail.err.find(missing), std::string::npos) << fail.err;
}

TEST_F(CliFileNames, RenderAndSaveWriteExactlyTheNamedFiles) {
  for (const char* extension : {".plt", ".emf", ".svg"}) {
    const fs::path out = dir_ / (kAwkward + " plot" + extension);
    const Outcome run =
        RunArgs(dir_, {"render", data_.string(), grid_.string(), "-o", out.string(), "--title", kAwkward});
    ASSERT_EQ(run.status, 0) << extension << run.err;
    EXPECT_TRUE(fs::is_regular_file(out)) << out;
    EXPECT_GT(fs::file_size(out), 100u) << out;
  }
  const fs::path saved = dir_ / (kAwkward + " saved.txt");
  const Outcome run = RunArgs(dir_, {"save", data_.string(), grid_.string(), "-o", saved.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::is_regular_file(saved));
  // Nothing else appeared beside them: no temporary left, no split name.
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir_)) {
    const std::string name = e.path().filename().string();
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    ++files;
  }
  EXPECT_EQ(files, 2 + 3 + 1 + 2);  // inputs, plots, saved file, stdout and stderr
}

}  // namespace
}  // namespace quorix
