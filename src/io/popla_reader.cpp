#include "io/popla_reader.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "base/text_file.h"

namespace quorix {
namespace {

constexpr std::size_t kFieldWidth = 4;
constexpr std::size_t kFieldsPerLine = 18;

struct PoplaHeader {
  std::string written;  // the hkl field as the file has it, "(103)"
  double alphaStep = 0, alphaMax = 0, betaStep = 0, betaMax = 0;
  bool alphaFromZero = true;  // false: circles at half steps
  bool betaFromZero = true;
};

// Columns of the header: hkl 1-5, then F5.1 tilt step, tilt maximum,
// azimuth step, azimuth maximum, then I2 switches for the half-step shifts.
std::optional<PoplaHeader> ParseHeader(std::string_view line, bool strict) {
  if (line.size() < 25) return std::nullopt;
  PoplaHeader h;
  h.written = std::string(Trim(line.substr(0, 5)));
  double* targets[] = {&h.alphaStep, &h.alphaMax, &h.betaStep, &h.betaMax};
  for (std::size_t k = 0; k < 4; ++k) {
    const std::string_view field = line.substr(5 + 5 * k, 5);
    // F5.1 puts its point in the fourth column; a data line of touching
    // integer fields never has one there.
    if (strict && field[3] != '.') return std::nullopt;
    const auto value = ParseNumber(field);
    if (!value) return std::nullopt;
    *targets[k] = *value;
  }
  if (!(h.alphaStep > 0 && h.alphaStep <= 90 && h.alphaMax > 0 && h.alphaMax <= 90)) return std::nullopt;
  if (!(h.betaStep > 0 && h.betaStep <= 360 && h.betaMax > 0 && h.betaMax <= 360)) return std::nullopt;
  const auto shift = [&](std::size_t at, bool& fromZero) {
    if (line.size() <= at) return true;  // switches left out: no shift
    const std::string_view field = Trim(line.substr(at, 2));
    if (field.empty()) return true;
    const auto value = ParseInteger(field);
    if (!value || *value < -1 || *value > 1) return false;
    fromZero = *value != 0;
    return true;
  };
  if (!shift(25, h.alphaFromZero) || !shift(27, h.betaFromZero)) return std::nullopt;
  return h;
}

// "(103)" gives "1 0 3", "(1-10)" gives "1 -1 0"; indices written with
// blanks or commas keep their own split.
std::string HklOf(std::string_view written) {
  std::string inner;
  for (char c : written)
    if (c != '(' && c != ')' && c != '{' && c != '}') inner += c;
  const std::string_view t = Trim(inner);
  std::string out;
  const bool split = t.find_first_of(" ,\t") != std::string_view::npos;
  std::string_view rest = t;
  while (!rest.empty()) {
    std::size_t n = 0;
    if (split) {
      while (n < rest.size() && rest[n] != ' ' && rest[n] != ',' && rest[n] != '\t') ++n;
    } else {
      n = rest[0] == '-' ? 2 : 1;
      if (n > rest.size() || !std::isdigit(static_cast<unsigned char>(rest[n - 1]))) return std::string(t);
    }
    if (n > 0) {
      if (!out.empty()) out += ' ';
      out += rest.substr(0, n);
    }
    rest.remove_prefix(std::min(rest.size(), n + (split ? 1 : 0)));
    while (split && !rest.empty() && (rest[0] == ' ' || rest[0] == ',' || rest[0] == '\t')) rest.remove_prefix(1);
  }
  return out;
}

FileProblem LineError(const std::string& source, std::size_t line, std::string what) {
  return {source, line, std::move(what)};
}

class Reader {
 public:
  Reader(std::string_view text, const std::string& source, MessageSink& sink)
      : lines_(SplitView(text)), source_(source), sink_(sink) {}

  std::optional<MeasurementFile> Read() {
    MeasurementFile file;
    file.format = DataLayout::Popla;
    // The first block starts at the top; later ones where a header follows
    // their comment line, after any circles beyond the previous header's range.
    std::size_t i = 0;
    do {
      MeasuredPoleFigure pf;
      if (!ReadOne(i, pf)) return std::nullopt;
      file.poleFigures.push_back(std::move(pf));
      while (i + 1 < lines_.size() && !ParseHeader(lines_[i + 1], true)) ++i;
    } while (i + 1 < lines_.size());
    return file;
  }

 private:
  static std::vector<std::string_view> SplitView(std::string_view text) {
    std::vector<std::string_view> lines;
    LineCursor cursor(WithoutByteOrderMark(text));
    std::string_view line;
    while (cursor.Next(line)) lines.push_back(line);
    return lines;
  }

  // Reads the block whose comment line is lines_[i]; leaves i after its last circle.
  bool ReadOne(std::size_t& i, MeasuredPoleFigure& pf) {
    const std::size_t headerLine = i + 1;
    const auto header = headerLine < lines_.size() ? ParseHeader(lines_[headerLine], false) : std::nullopt;
    if (!header) {
      sink_.Problem(LineError(source_, headerLine + 1,
                              "this is not a popLA header (hkl, then tilt step and range and azimuth step and range "
                              "in columns of 5)."));
      return false;
    }
    pf.hkl = HklOf(header->written);
    pf.name = pf.hkl.empty() ? std::string(Trim(lines_[i])) : pf.hkl;
    pf.comment = std::string(lines_[i]);
    const double alphaStart = header->alphaFromZero ? 0 : header->alphaStep / 2;
    const double betaStart = header->betaFromZero ? 0 : header->betaStep / 2;
    const auto circles =
        static_cast<long long>(std::floor((header->alphaMax - alphaStart) / header->alphaStep + 1e-6)) + 1;
    const auto points = static_cast<long long>(std::floor(header->betaMax / header->betaStep + 1e-6));
    if (points < 1 || circles < 1) {
      sink_.Problem(LineError(source_, headerLine + 1,
                              points < 1 ? "the azimuth range holds no step." : "the tilt range holds no circle."));
      return false;
    }
    i = headerLine + 1;
    for (long long c = 0; c < circles; ++c) {
      MeasuredCircle circle;
      circle.alpha = alphaStart + static_cast<double>(c) * header->alphaStep;
      circle.betaStart = betaStart;
      circle.betaStep = header->betaStep;
      if (!ReadCircle(i, static_cast<std::size_t>(points), static_cast<int>(c + 1), circle.values)) return false;
      pf.circles.push_back(std::move(circle));
    }
    return true;
  }

  // The values of one circle: whole lines until it has `points`; one more on
  // its last line is the repeat at 360 degrees.
  bool ReadCircle(std::size_t& i, std::size_t points, int number, std::vector<double>& values) {
    while (values.size() < points) {
      if (i >= lines_.size() || Trim(lines_[i]).empty()) {
        sink_.Problem({source_, std::min(i, lines_.size()) + 1,
                       fmt::format("circle {} ends after {} of its {} values.", number, values.size(), points)});
        return false;
      }
      std::string_view line = lines_[i];
      while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
      const std::size_t fields = line.size() <= 1 ? 0 : (line.size() - 1 + kFieldWidth - 1) / kFieldWidth;
      if (fields > kFieldsPerLine + 1) {
        sink_.Problem(
            LineError(source_, i + 1, fmt::format("{} values, more than {} a line.", fields, kFieldsPerLine + 1)));
        return false;
      }
      for (std::size_t f = 0; f < fields; ++f) {
        const std::string_view field = line.substr(1 + f * kFieldWidth, kFieldWidth);
        const auto value = ParseInteger(field);
        if (!value) {
          sink_.Problem(LineError(source_, i + 1, fmt::format("\"{}\" is not a whole number.", Trim(field))));
          return false;
        }
        values.push_back(static_cast<double>(*value));
      }
      ++i;
      const bool closing = values.size() == points + 1;
      if (values.size() > points + 1 || (fields > kFieldsPerLine && !closing)) {
        sink_.Problem(
            LineError(source_, i, fmt::format("more values than circle {} has points ({}).", number, points)));
        return false;
      }
      if (closing) values.pop_back();
    }
    return true;
  }

  std::vector<std::string_view> lines_;
  const std::string& source_;
  MessageSink& sink_;
};

}  // namespace

bool LooksLikePopla(std::string_view text) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view first, second, third;
  if (!lines.Next(first) || !lines.Next(second)) return false;
  if (!ParseHeader(second, true)) return false;
  // The first data line starts with its blank.
  return !lines.Next(third) || third.empty() || third[0] == ' ';
}

std::optional<MeasurementFile> ReadPoplaText(std::string_view text, const std::string& source, MessageSink& sink) {
  return Reader(text, source, sink).Read();
}

}  // namespace quorix
