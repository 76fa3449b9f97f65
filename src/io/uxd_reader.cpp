// Bruker DIFFRAC UXD exports: "_KEY=value" lines per range, then the range's
// data under a label line ("_2THETACPS", "_COUNTS", ...). A range is one
// circle of a Phi drive; ranges at the same _2THETA form one pole figure.
// _KHI is the tilt from the sample normal: the D8 texture ranges start at
// _KHI 0, where every azimuth sees the same pole, and step out towards 80.
#include <fmt/format.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/instrument_readers.h"

namespace quorix {

namespace {

std::string_view WithoutQuotes(std::string_view v) {
  v = Trim(v);
  if (v.size() >= 2 && (v.front() == '\'' || v.front() == '"') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return v;
}

// The file's own header (the keys before the first range's data) goes with
// the first range; no range draws on another's keys.
struct Range {
  std::size_t firstLine = 0;  // of its keys
  std::map<std::string, std::string, std::less<>> keys;
  std::string label;              // the data label, "_2THETACPS"
  std::vector<double> positions;  // where the data carry them
  std::vector<double> values;
};

class UxdParser {
 public:
  UxdParser(const std::string& source, MessageSink& sink) : source_(source), sink_(sink) {}

  bool Parse(std::string_view text, std::vector<Range>& ranges) {
    LineCursor lines(WithoutByteOrderMark(text));
    std::string_view raw;
    Range current;
    bool inData = false;
    bool pairs = false;
    std::size_t lineNo = 0;
    while (lines.Next(raw)) {
      ++lineNo;
      const std::string_view line = Trim(raw);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '_') {
        if (inData) {
          // The first key after a range's data opens the next range.
          ranges.push_back(std::move(current));
          current = Range{};
          inData = false;
        }
        if (current.keys.empty() && current.label.empty()) current.firstLine = lineNo;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) {
          current.label = ToUpper(std::string(line));
          pairs = current.label.rfind("_2THETA", 0) == 0;
          inData = true;
          continue;
        }
        current.keys[ToUpper(std::string(Trim(line.substr(0, eq))))] = std::string(WithoutQuotes(line.substr(eq + 1)));
        continue;
      }
      if (!inData) return Fail(lineNo, "a line of numbers before any data label (such as _2THETACPS)");
      TokenCursor tokens(line);
      std::string_view token;
      std::size_t count = 0;
      while (tokens.Next(token)) {
        const auto v = ParseNumber(token);
        if (!v) return Fail(lineNo, "\"" + std::string(token.substr(0, 40)) + "\" is not a finite number");
        if (pairs && count == 0)
          current.positions.push_back(*v);
        else
          current.values.push_back(*v);
        ++count;
      }
      if (pairs && count != 2) return Fail(lineNo, "expected an angle and an intensity");
    }
    if (inData || !current.keys.empty()) ranges.push_back(std::move(current));
    return true;
  }

  bool Fail(std::size_t line, std::string_view what) const {
    ReportBadInput(sink_, source_, line, what);
    return false;
  }

 private:
  const std::string& source_;
  MessageSink& sink_;
};

struct RangeReader {
  const std::string& source;
  MessageSink& sink;
  const Range& range;
  std::string where;

  bool Fail(const std::string& what) const {
    ReportBadInput(sink, source, range.firstLine, where + ": " + what);
    return false;
  }

  std::optional<double> Key(std::string_view key, bool& bad) const {
    const auto it = range.keys.find(key);
    if (it == range.keys.end()) return std::nullopt;
    const auto v = ParseNumber(it->second);
    if (!v) bad = true;
    return v;
  }

  bool Read(MeasuredCircle& circle, double& twoTheta, bool& rate, double& countingTime) const {
    bool bad = false;
    const auto khi = Key("_KHI", bad);
    const auto tt = Key("_2THETA", bad);
    const auto stepSize = Key("_STEPSIZE", bad);
    const auto stepTime = Key("_STEPTIME", bad);
    const auto start = Key("_START", bad);
    const auto phi = Key("_PHI", bad);
    const auto stepCount = Key("_STEPCOUNT", bad);
    if (bad) return Fail("a key among _KHI, _2THETA, _STEPSIZE, _STEPTIME, _START, _PHI, _STEPCOUNT is not a number");
    if (const auto drive = range.keys.find("_DRIVE"); drive != range.keys.end() && ToUpper(drive->second) != "PHI")
      return Fail("the range drives " + drive->second.substr(0, 40) + ", not the azimuth PHI");
    if (!khi) return Fail("no _KHI (the tilt)");
    if (!tt) return Fail("no _2THETA");
    if (std::fabs(*tt) > 360) return Fail("_2THETA " + ShortNumber(*tt) + " is no diffraction angle");
    if (range.label.empty() || range.values.empty()) return Fail("no counts");
    if (stepCount && *stepCount != static_cast<double>(range.values.size()))
      return Fail(
          fmt::format("_STEPCOUNT says {} points, the data hold {}", ShortNumber(*stepCount), range.values.size()));
    const std::size_t n = range.values.size();
    if (!range.positions.empty()) {
      const auto step = EvenStep(range.positions.data(), n);
      if (!step) return Fail("the azimuths of the data are not evenly spaced");
      if (stepSize && n > 1 && std::fabs(std::fabs(*step) - std::fabs(*stepSize)) > 1e-3 * std::fabs(*stepSize) + 1e-3)
        return Fail("the azimuths of the data do not step by _STEPSIZE");
      circle.betaStart = range.positions[0];
      circle.betaStep = *step;
    } else {
      if (!stepSize) return Fail("no _STEPSIZE");
      if (!start && !phi) return Fail("no _START or _PHI (the first azimuth)");
      circle.betaStart = start ? *start : *phi;
      circle.betaStep = *stepSize;
    }
    // Counts become counts per second; "CPS" data are that already.
    const bool perSecond = range.label.find("CPS") != std::string::npos;
    double time = 1;
    if (!perSecond && stepTime) {
      if (!(*stepTime > 0)) return Fail("_STEPTIME is not positive");
      time = *stepTime;
    }
    rate = perSecond || stepTime.has_value();
    countingTime = stepTime.value_or(0);
    circle.values = range.values;
    for (double& v : circle.values) v /= time;
    circle.alpha = *khi;
    twoTheta = *tt;
    return true;
  }
};

}  // namespace

bool LooksLikeUxd(std::string_view text) {
  LineCursor lines(WithoutByteOrderMark(text.substr(0, 8192)));
  std::string_view line;
  while (lines.Next(line)) {
    line = Trim(line);
    if (line.rfind("_FILEVERSION", 0) == 0 || line.rfind("_DRIVE=", 0) == 0 || line.rfind("_DRIVE =", 0) == 0)
      return true;
  }
  return false;
}

std::optional<MeasurementFile> ReadUxdText(std::string_view text, const std::string& source, MessageSink& sink) {
  std::vector<Range> ranges;
  if (!UxdParser(source, sink).Parse(text, ranges)) return std::nullopt;
  MeasurementFile file;
  file.format = DataLayout::Uxd;
  std::map<long long, std::size_t> byTwoTheta;  // in thousandths of a degree, to the pole figure
  std::size_t rangeNo = 0;
  for (const Range& range : ranges) {
    ++rangeNo;
    RangeReader reader{source, sink, range, "range " + std::to_string(rangeNo)};
    MeasuredCircle circle;
    double twoTheta = 0, countingTime = 0;
    bool rate = false;
    if (!reader.Read(circle, twoTheta, rate, countingTime)) return std::nullopt;
    if (!FinishCircle(circle, source, range.firstLine, reader.where, sink)) return std::nullopt;
    const auto [at, added] = byTwoTheta.try_emplace(std::llround(twoTheta * 1000), file.poleFigures.size());
    if (added) {
      file.poleFigures.emplace_back();
      MeasuredPoleFigure& pf = file.poleFigures.back();
      pf.name = "2theta " + fmt::format("{:.2f}", twoTheta);
      pf.twoTheta = twoTheta;
      pf.countingTime = countingTime;
      pf.unit = IntensityUnit::PerSecond;
    }
    MeasuredPoleFigure& pf = file.poleFigures[at->second];
    // One range of bare counts without a time leaves the whole pole figure's unit open.
    if (!rate) pf.unit = IntensityUnit::Unknown;
    pf.circles.push_back(std::move(circle));
  }
  if (file.poleFigures.empty()) {
    ReportBadInput(sink, source, 0, "the file holds no range of data");
    return std::nullopt;
  }
  for (auto& pf : file.poleFigures)
    if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
  return file;
}

}  // namespace quorix
