// Circle correction files (".edt").
#include "io/edt_file.h"

#include "base/number_format.h"
#include "base/text_file.h"
#include "io/ascii_writer.h"

namespace quorix {

std::string EdtLine(double value, int circle) {
  return FormatGeneral(static_cast<float>(value)) + "    ;" + std::to_string(circle);
}

bool WriteEdtFile(const std::string& fileName, const std::vector<std::string>& cells, MessageSink& sink) {
  std::string text;
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const int circle = static_cast<int>(k) + 1;
    const auto value = ParseNumber(cells[k]);
    if (!value) {
      sink.Message("Invalid value on circle " + std::to_string(circle));
      return false;
    }
    text += EdtLine(*value, circle) + "\n";
  }
  return WriteFileReporting(fileName, text, sink, "Cannot open file " + fileName, "Troubles on writing file.");
}

EdtValues ReadEdtText(std::string_view text, int rows, MessageSink& sink) {
  EdtValues result;
  result.opened = true;
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  for (int k = 1; k <= rows; ++k) {
    std::optional<double> value;
    if (lines.Next(line)) {
      line = Trim(line);
      line = line.substr(0, line.find_first_of(" \t;"));
      value = ParseNumber(line);
    }
    if (!value) {
      sink.Message("To less or incorrect values on line " + std::to_string(k));
      return result;
    }
    result.values.push_back(*value);
  }
  result.complete = true;
  return result;
}

EdtValues ReadEdtFile(const std::string& fileName, int rows, MessageSink& sink) {
  std::string text;
  if (ReadWholeFile(fileName, text) != FileStatus::Ok) {
    sink.Message("Cannot open file " + fileName);
    return {};
  }
  return ReadEdtText(text, rows, sink);
}

}  // namespace quorix
