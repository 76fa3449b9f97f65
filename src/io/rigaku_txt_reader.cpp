// Rigaku text exports: per circle "Key<TAB>value" lines (Start, Stop, Step,
// Speed, ...) and then "azimuth intensity" lines. The file never states the
// tilt of a circle; the user gives the first tilt and the step between
// circles (from the sample normal, as the program counts), in file order.
#include <fmt/format.h>

#include <cctype>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/instrument_readers.h"

namespace quorix {

namespace {

using Keys = std::map<std::string, std::string, std::less<>>;

struct TxtCircle {
  std::size_t firstLine = 0;
  Keys keys;
  std::vector<double> positions;
  std::vector<double> values;
};

bool IsKeyLine(std::string_view line) { return !line.empty() && std::isalpha(static_cast<unsigned char>(line[0])); }

std::pair<std::string_view, std::string_view> SplitKey(std::string_view line) {
  std::size_t end = 0;
  while (end < line.size() && line[end] != '\t' && line[end] != ' ') ++end;
  return {line.substr(0, end), Trim(line.substr(end))};
}

bool ParseCircles(std::string_view text, const std::string& source, MessageSink& sink,
                  std::vector<TxtCircle>& circles) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view raw;
  TxtCircle current;
  bool inData = false;
  std::size_t lineNo = 0;
  while (lines.Next(raw)) {
    ++lineNo;
    const std::string_view line = Trim(raw);
    if (line.empty()) continue;
    if (IsKeyLine(line)) {
      if (inData) {
        circles.push_back(std::move(current));
        current = TxtCircle{};
        inData = false;
      }
      if (current.keys.empty()) current.firstLine = lineNo;
      const auto [key, value] = SplitKey(line);
      current.keys[std::string(key)] = std::string(value);
      continue;
    }
    TokenCursor tokens(line);
    std::string_view token;
    double numbers[2] = {0, 0};
    int count = 0;
    while (tokens.Next(token)) {
      const auto v = ParseNumber(token);
      if (!v) {
        ReportBadInput(sink, source, lineNo, "\"" + std::string(token.substr(0, 40)) + "\" is not a finite number");
        return false;
      }
      if (count == 2) {
        ReportBadInput(sink, source, lineNo, "expected an azimuth and an intensity");
        return false;
      }
      numbers[count++] = *v;
    }
    if (count != 2) {
      ReportBadInput(sink, source, lineNo, "expected an azimuth and an intensity");
      return false;
    }
    if (current.keys.empty()) {
      ReportBadInput(sink, source, lineNo, "intensities before the Start, Stop and Step of their circle");
      return false;
    }
    current.positions.push_back(numbers[0]);
    current.values.push_back(numbers[1]);
    inData = true;
  }
  if (inData || !current.keys.empty()) circles.push_back(std::move(current));
  return true;
}

struct CircleReader {
  const std::string& source;
  MessageSink& sink;
  const TxtCircle& c;
  const Keys& fileHeader;  // the first circle's keys: the scanning type is given there only
  std::string where;

  bool Fail(const std::string& what) const {
    ReportBadInput(sink, source, c.firstLine, where + ": " + what);
    return false;
  }
  std::optional<double> Key(std::string_view key, bool& ok) const {
    const auto it = c.keys.find(key);
    if (it == c.keys.end()) {
      if (ok) Fail("no " + std::string(key) + " line");
      ok = false;
      return std::nullopt;
    }
    const auto v = ParseNumber(it->second);
    if (!v && ok) Fail(std::string(key) + " is not a number");
    if (!v) ok = false;
    return v;
  }

  bool Read(MeasuredCircle& circle) const {
    bool ok = true;
    const auto start = Key("Start", ok);
    const auto stop = Key("Stop", ok);
    const auto step = Key("Step", ok);
    if (!ok) return false;
    if (c.values.empty()) return Fail("no intensities");
    const std::size_t n = c.values.size();
    const auto points = PointsFromRange(*start, *stop, *step);
    if (!points || *points != n)
      return Fail(fmt::format("Start {}, Stop {} and Step {} do not make the {} points the circle holds",
                              ShortNumber(*start), ShortNumber(*stop), ShortNumber(*step), n));
    const auto even = EvenStep(c.positions.data(), n);
    if (!even || std::fabs(c.positions[0] - *start) > 2e-3 ||
        (n > 1 && std::fabs(*even - *step) > 1e-3 * std::fabs(*step) + 1e-3))
      return Fail("the azimuths of the intensities do not follow Start and Step");
    // Continuous scans give the speed in degrees per minute, step scans the
    // seconds per step.
    double time = 1;
    if (const auto it = c.keys.find("Speed"); it != c.keys.end()) {
      const auto speed = ParseNumber(it->second);
      if (!speed || !(*speed > 0)) return Fail("Speed is not a positive number");
      std::string type;
      if (const auto own = c.keys.find("ScanningType"); own != c.keys.end())
        type = own->second;
      else if (const auto first = fileHeader.find("ScanningType"); first != fileHeader.end())
        type = first->second;
      const bool stepScan = ToLower(type).find("step") != std::string::npos;
      time = stepScan ? *speed : std::fabs(*step) * 60 / *speed;
      if (!(time > 0) || !std::isfinite(time)) return Fail("the counting time is not a positive number");
    }
    circle.betaStart = *start;
    circle.betaStep = *step;
    circle.values = c.values;
    for (double& v : circle.values) v /= time;
    return true;
  }
};

}  // namespace

bool LooksLikeRigakuTxt(std::string_view text) {
  LineCursor lines(WithoutByteOrderMark(text.substr(0, 8192)));
  std::string_view line;
  bool start = false, stop = false, step = false;
  for (int i = 0; i < 100 && lines.Next(line); ++i) {
    line = Trim(line);
    if (!IsKeyLine(line)) continue;
    const auto [key, value] = SplitKey(line);
    if (!ParseNumber(value)) continue;
    start = start || key == "Start";
    stop = stop || key == "Stop";
    step = step || key == "Step";
    if (start && stop && step) return true;
  }
  return false;
}

std::optional<MeasurementFile> ReadRigakuTxtText(std::string_view text, const std::string& source,
                                                 const MeasurementOptions& options, MessageSink& sink) {
  if (!options.tiltStart || !options.tiltStep) {
    ReportBadInput(sink, source, 0,
                   "this file gives no tilts; they must be given (the first tilt and the step between circles)");
    return std::nullopt;
  }
  if (!std::isfinite(*options.tiltStart) || !std::isfinite(*options.tiltStep) || *options.tiltStep == 0) {
    ReportBadInput(sink, source, 0, "the first tilt and a tilt step other than 0 must be finite numbers");
    return std::nullopt;
  }
  std::vector<TxtCircle> parsed;
  if (!ParseCircles(text, source, sink, parsed)) return std::nullopt;
  if (parsed.empty()) {
    ReportBadInput(sink, source, 0, "the file holds no circle");
    return std::nullopt;
  }
  MeasuredPoleFigure pf;
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    CircleReader reader{source, sink, parsed[i], parsed.front().keys, "circle " + std::to_string(i + 1)};
    MeasuredCircle circle;
    if (!reader.Read(circle)) return std::nullopt;
    circle.alpha = *options.tiltStart + *options.tiltStep * static_cast<double>(i);
    if (!FinishCircle(circle, source, parsed[i].firstLine, reader.where, sink)) return std::nullopt;
    pf.circles.push_back(std::move(circle));
  }
  const auto& keys = parsed.front().keys;
  if (const auto it = keys.find("Sample"); it != keys.end()) pf.name = it->second;
  if (const auto it = keys.find("Filename"); pf.name.empty() && it != keys.end()) {
    const std::string& path = it->second;
    pf.name = path.substr(path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/") + 1);
  }
  if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
  MeasurementFile file;
  file.format = DataLayout::RigakuTxt;
  file.poleFigures.push_back(std::move(pf));
  return file;
}

}  // namespace quorix
