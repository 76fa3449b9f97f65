// Directional data files: one direction per line.
#include "io/directional_reader.h"

#include <fmt/format.h>

#include <cctype>
#include <cmath>

#include "base/text_file.h"

namespace quorix {

namespace {

bool IsBlank(char ch) { return std::isspace(static_cast<unsigned char>(ch)) != 0; }

char Upper(char ch) { return static_cast<char>(std::toupper(static_cast<unsigned char>(ch))); }

}  // namespace

// r and s in the order of the file's columns.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
TaggedDirection TagDirection(double r, double s, std::string_view tag) {
  std::string letters;
  for (char ch : tag)
    if (!IsBlank(ch)) letters += ch;
  const char first = letters.empty() ? ' ' : Upper(letters[0]);
  const bool pole = letters.size() >= 2 && Upper(letters[1]) == 'P';
  // The normal of a plane lies opposite its dip direction, at 90 - dip.
  const auto toPole = [&] {
    if (pole) {
      r += 180;
      s = 90 - s;
    }
  };
  switch (first) {
    case 'E':
      r = 450 - r;
      toPole();
      break;
    case 'N':
      r = 360 - r;
      toPole();
      s = 90 - s;
      break;
    case 'S':
      r = 540 - r;
      toPole();
      s = 90 - s;
      break;
    case 'W':
      r = 630 - r;
      toPole();
      break;
    case 'P':
      r += 180;
      s = 90 - s;
      break;
    default: break;
  }
  double beta = 1080 - r + 90;
  // Reduced into (0, 360] from above only; fmod instead of repeated
  // subtraction so that an azimuth of 1e300 cannot stall the reading.
  if (beta > 360) {
    beta = std::fmod(beta, 360.0);
    if (beta == 0) beta = 360;
  }
  return TaggedDirection{90 - s, beta};
}

std::optional<TaggedDirection> ParseDirectionLine(std::string_view line) {
  TokenCursor tokens(line);
  std::string_view token;
  tokens.Next(token);
  const std::optional<double> r = ParseNumber(token);
  if (!r) return std::nullopt;
  tokens.Next(token);
  const std::optional<double> s = ParseNumber(token);
  if (!s) return std::nullopt;
  return TagDirection(*r, *s, tokens.Rest());
}

std::optional<DirectionList> ReadDirections(const std::string& fileName, const DirectionalOptions& options,
                                            MessageSink& sink) {
  const auto text = ReadTextFile(fileName, sink, "File " + fileName + " does not exist");
  if (!text) return std::nullopt;
  return ReadDirectionsText(*text, fileName, options, sink);
}

std::optional<DirectionList> ReadDirectionsText(std::string_view text, const std::string& fileName,
                                                const DirectionalOptions& options, MessageSink& sink) {
  const char axis = Upper(options.kind);
  const bool section = axis == 'X' || axis == 'Y' || axis == 'Z';
  const Mat3 rotation = section ? AxisRotationMatrix(axis, options.sectionAngles[axis - 'X']) : IdentityMatrix();

  DirectionList list;
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  while (lines.Next(line)) {
    const std::optional<TaggedDirection> d = ParseDirectionLine(line);
    if (!d) {
      if (!Trim(line).empty()) ++list.skippedLines;
      continue;
    }
    const Vec3 v = DirectionToVector(d->alpha, d->beta);
    list.directions.push_back(section ? MatVec(rotation, v) : v);
  }
  if (list.directions.empty()) {
    sink.Problem(
        {fileName, 0, "no directions: no line starts with two numbers.", Severity::Error, FileRole::Directional});
    return std::nullopt;
  }
  return list;
}

}  // namespace quorix
