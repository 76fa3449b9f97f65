// Loading, rotation options and output of the transform subcommands.
#include "transform_io.h"

#include <iostream>

#include "base/text_file.h"
#include "io/ascii_writer.h"
#include "record_json.h"
#include "workflow/load_sequence.h"

namespace quorix::cli {

LoadedInput LoadInput(const LoadOptions& o, MessageSink& sink) {
  LoadedFile loaded = LoadDataFile(MakeLoadRequest(o), sink);
  LoadedInput in;
  in.pf = std::move(loaded.pf);
  in.layout = loaded.layout;
  in.names = std::move(loaded.names);
  in.failure = LoadFailure(o.grid, in.layout);
  return in;
}

void AddOutputOptions(CLI::App& cmd, OutputOptions& o) {
  cmd.add_option("-o,--output", o.out, "Write the result as an ASCII pole figure file");
  cmd.add_flag("--json", o.json, "Print the resulting record as one JSON object");
  AddSaveFormatOptions(cmd, o.format);
}

bool OutputAsked(const OutputOptions& o, const std::string& command) {
  if (!o.out.empty() || o.json) return true;
  std::cerr << command << ": give -o OUT or --json\n";
  return false;
}

int WriteOutput(const PoleFigure& pf, const nlohmann::json& record, const OutputOptions& o, MessageSink& sink) {
  if (!o.out.empty() && !WritePFASCII(pf, o.out, MakeWriteOptions(o.format), sink)) return 1;
  if (o.json) std::cout << record.dump() << '\n';
  return 0;
}

int WriteOutput(const LoadedInput& input, const OutputOptions& o, MessageSink& sink) {
  return WriteOutput(*input.pf, RecordJson(*input.pf, input.layout, input.names), o, sink);
}

namespace {

std::vector<std::string_view> SplitAt(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  while (true) {
    const std::size_t p = s.find(sep);
    parts.push_back(Trim(s.substr(0, p)));
    if (p == std::string_view::npos) return parts;
    s.remove_prefix(p + 1);
  }
}

}  // namespace

bool ParseRotateAxis(const std::string& text, Mat3& matrix, std::string& error) {
  const auto parts = SplitAt(text, ',');
  if (parts.size() != 3) {
    error = "--rotate-axis expects PHI,THETA,OMEGA, got \"" + text + "\"";
    return false;
  }
  double v[3] = {0, 0, 0};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto n = ParseNumber(parts[i]);
    if (!n) {
      error = "--rotate-axis: \"" + std::string(parts[i]) + "\" is not a number";
      return false;
    }
    v[i] = *n;
  }
  // "Add" on a fresh rotation: the identity times the new one.
  matrix = MatMul(IdentityMatrix(), AxisAngleMatrix(v[0], v[1], v[2]));
  return true;
}

bool ParseRotateList(const std::string& text, RotationList& list, std::string& error) {
  list.clear();
  for (std::string_view part : SplitAt(text, ',')) {
    const std::size_t colon = part.find(':');
    const std::string axis =
        colon == std::string_view::npos ? std::string() : ToUpper(std::string(Trim(part.substr(0, colon))));
    const auto angle = colon == std::string_view::npos ? std::nullopt : ParseNumber(Trim(part.substr(colon + 1)));
    if (axis.size() != 1 || (axis[0] != 'X' && axis[0] != 'Y' && axis[0] != 'Z') || !angle) {
      error = "--rotate-list: \"" + std::string(part) + "\" is not of the form X:angle, Y:angle or Z:angle";
      return false;
    }
    // Rows with angle 0 add nothing, as in the rotation dialog.
    if (*angle != 0) AppendRotation(list, axis[0], *angle);
  }
  return true;
}

}  // namespace quorix::cli
