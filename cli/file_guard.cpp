#include "file_guard.h"

#include <sys/stat.h>

#include <string>
#include <utility>
#include <vector>

namespace quorix::cli {
namespace {

struct FileId {
  dev_t device;
  ino_t inode;
};

bool Identify(const std::string& name, FileId& id) {
  struct stat st {};
  if (name.empty() || ::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  id = {st.st_dev, st.st_ino};
  return true;
}

// The names a value may stand for: itself, and for --with FILE[:INDEX][@WEIGHT]
// the file part.
std::vector<std::string> CandidateNames(std::string value) {
  std::vector<std::string> names{value};
  const std::size_t at = value.rfind('@');
  if (at != std::string::npos) names.push_back(value = value.substr(0, at));
  const std::size_t colon = value.rfind(':');
  if (colon != std::string::npos) names.push_back(value.substr(0, colon));
  return names;
}

}  // namespace

bool OutputsAreNotInputs(const CLI::App& command, MessageSink& sink) {
  std::vector<std::pair<std::string, bool>> outputs;  // name, is the log
  std::vector<FileId> inputs;
  for (const CLI::Option* option : command.get_options()) {
    const bool log = option->check_lname("log");
    const bool output =
        log || option->check_lname("output") || option->check_lname("diff-out") || option->check_lname("rp-out");
    for (const std::string& value : option->results()) {
      if (output) {
        outputs.emplace_back(value, log);
        continue;
      }
      for (const std::string& name : CandidateNames(value)) {
        FileId id{};
        if (Identify(name, id)) inputs.push_back(id);
      }
    }
  }
  for (const auto& [name, log] : outputs) {
    FileId out{};
    if (!Identify(name, out)) continue;
    for (const FileId& in : inputs) {
      if (in.device != out.device || in.inode != out.inode) continue;
      sink.Message((log ? "Cannot append to log file " : "Cannot create file ") + name +
                   ": it is an input of this command");
      return false;
    }
  }
  return true;
}

}  // namespace quorix::cli
