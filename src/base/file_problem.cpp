// The one wording of a file problem.
#include "base/file_problem.h"

#include <fmt/format.h>

namespace quorix {
namespace {

const char* RoleText(FileRole role) {
  switch (role) {
    case FileRole::Data: return "Data file";
    case FileRole::Grid: return "Grid file";
    case FileRole::Directional: return "Directional data file";
    case FileRole::Output: return "Output file";
    case FileRole::Template: return "Sample file";
  }
  return "File";
}

}  // namespace

std::string FormatProblem(const FileProblem& p) {
  if (!p.labelled) return p.what;
  if (p.line > 0) return fmt::format("{} {}, line {}: {}", RoleText(p.role), p.file, p.line, p.what);
  return fmt::format("{} {}: {}", RoleText(p.role), p.file, p.what);
}

}  // namespace quorix
