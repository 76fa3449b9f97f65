// Shared pieces of the fuzz targets: scratch files for the code that takes
// file names only (the load, the add list), grids the data targets read onto.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "record/pole_figure.h"

namespace quorix::fuzz {

// A scratch file per process and name; tmpfs when there is one, so the
// write costs little. The folder goes when the process ends normally;
// run_fuzzers.sh removes what a crash or a time-out leaves.
inline std::string ScratchPath(const std::string& name) {
  struct ScratchDir {
    std::string path;
    ~ScratchDir() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  };
  static const ScratchDir dir = [] {
    std::error_code ec;
    std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
    base /= "quorix-fuzz-" + std::to_string(::getpid());
    std::filesystem::create_directories(base, ec);
    return ScratchDir{base.string()};
  }();
  return dir.path + "/" + name;
}

inline std::string WriteScratch(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchPath(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "fuzz: cannot write scratch file %s\n", path.c_str());
    std::abort();
  }
  return path;
}

// Every message a reader sends must name the file it is about or be one of
// the fixed texts without a name; anything else is a finding.
class CheckingSink : public MessageSink {
 public:
  // `fixedTexts`: beginnings of further messages whose wording is fixed
  // without the name.
  explicit CheckingSink(std::string fileNamePart, std::vector<std::string> fixedTexts = {})
      : name_(std::move(fileNamePart)), fixed_(std::move(fixedTexts)) {}
  void Message(const std::string& text) override {
    ++count;
    if (text.empty()) Fail(text, "an empty message");
    if (text.find(name_) != std::string::npos) return;
    for (const auto& f : fixed_)
      if (text.rfind(f, 0) == 0) return;
    if (text == "Error in data file or unexpected end.") return;
    if (text.rfind("Expected ", 0) == 0 && text.find(" data, found ") != std::string::npos) return;
    if (text == "Heap overflow") return;
    Fail(text, "a message without the file name");
  }
  int count = 0;

 private:
  [[noreturn]] void Fail(const std::string& text, const char* what) {
    std::fprintf(stderr, "fuzz: %s: \"%s\" (file %s)\n", what, text.c_str(), name_.c_str());
    std::abort();
  }
  std::string name_;
  std::vector<std::string> fixed_;
};

// A harness whose inputs never reach the code under test is useless: abort
// when, after many runs, nothing was ever accepted and nothing refused.
class Progress {
 public:
  explicit Progress(const char* target) : target_(target) {}
  void Accepted() { ++accepted_; }
  void Refused() { ++refused_; }
  void Ran() {
    if (++runs_ == kCheckAfter && accepted_ + refused_ == 0) {
      std::fprintf(stderr, "fuzz %s: %d runs and the reader neither accepted nor refused anything\n", target_, runs_);
      std::abort();
    }
  }

 private:
  static constexpr int kCheckAfter = 1000;
  const char* target_;
  int runs_ = 0, accepted_ = 0, refused_ = 0;
};

// A grid the data readers can work on, picked by one selector byte so that
// every layout meets the point counts it accepts (hash lists: 19, 25, 37,
// 72 points on the first circle) as well as centre points, negative steps
// and mirror circles.
inline void PickGrid(std::uint8_t selector, PoleFigure& pf) {
  struct Kind {
    int firstPoints;
    int circles;
    int points;
    double alphaStep;
    bool negativeLast;
    bool mirrors;
  };
  static constexpr Kind kinds[] = {
      {72, 19, 72, 5, false, false},  // the examples' 5-degree grid
      {19, 4, 19, 30, false, false},   {25, 3, 25, 45, false, false},
      {37, 10, 37, 10, false, true},   {1, 19, 72, 5, false, false},  // centre point
      {72, 6, 72, 15, true, true},                                    // last circle measured backwards
      {361, 91, 361, 1, false, false},                                // 1 degree with the closing point
      {12, 3, 12, 40, false, false},                                  // small, so WKO counts are reachable
  };
  const Kind& k = kinds[selector % (sizeof kinds / sizeof kinds[0])];
  GridDescription grid;
  for (int i = 1; i <= k.circles; ++i) {
    const long long points = i == 1 ? k.firstPoints : k.points;
    const double alpha =
        k.firstPoints == 1 && i == 1 ? 0 : std::min(90.0, (i - (k.firstPoints == 1 ? 1 : 0)) * k.alphaStep);
    grid.circles.push_back({alpha, 0, 360.0 / static_cast<double>(points), points});
  }
  if (k.negativeLast) {
    GridCircle& last = grid.circles.back();
    last.betaStep = -last.betaStep;
    last.betaStart = -last.betaStep;
  }
  grid.innerMirror = k.mirrors && grid.circles.front().alpha > 0;
  grid.outerMirror = k.mirrors && grid.circles.back().alpha < 89.9995;
  NullSink none;
  if (!SetGrid(pf, grid, "fuzz grid", FileRole::Data, none)) {
    std::fprintf(stderr, "fuzz: picked grid %u is outside the record's limits\n", static_cast<unsigned>(selector));
    std::abort();
  }
}

}  // namespace quorix::fuzz
