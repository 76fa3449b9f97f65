// XRDML texture measurements: one <xrdMeasurement> per reflection, one <scan>
// per tilt. The tilt is the Psi (or Chi) position, 0 at the sample normal as
// in the program (the Phi scans of these files start at Psi 0 and step out
// towards the rim). The azimuths run from the Phi start to the end position
// in equal steps, or are listed one by one.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/instrument_readers.h"

namespace quorix {

namespace {

// Element names without a namespace prefix ("xrdml:scan" is a scan too).
std::string_view LocalName(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool Named(const pugi::xml_node& node, std::string_view name) {
  const std::string_view local = LocalName(node);
  return local.size() == name.size() && std::equal(local.begin(), local.end(), name.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(b);
         });
}

pugi::xml_node Child(const pugi::xml_node& parent, std::string_view name) {
  for (const pugi::xml_node child : parent.children())
    if (child.type() == pugi::node_element && Named(child, name)) return child;
  return {};
}

// The numbers of an element's text; false when one of them is not a finite number.
bool Numbers(const pugi::xml_node& node, std::vector<double>& out) {
  out.clear();
  TokenCursor tokens(node.child_value());
  std::string_view token;
  while (tokens.Next(token)) {
    const auto v = ParseNumber(token);
    if (!v) return false;
    out.push_back(*v);
  }
  return true;
}

std::optional<double> Number(const pugi::xml_node& node) {
  if (!node) return std::nullopt;
  return ParseNumber(node.child_value());
}

// Lines of elements met in document order, for messages: pugixml keeps
// offsets, and counting from the start for every scan would cost a file of
// many scans its length squared.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}
  std::size_t At(std::ptrdiff_t offset) {
    if (offset < 0) return 0;
    const auto to = std::min(text_.size(), static_cast<std::size_t>(offset));
    if (to < pos_) {
      pos_ = 0;
      line_ = 1;
    }
    line_ += static_cast<std::size_t>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                                 text_.begin() + static_cast<std::ptrdiff_t>(to), '\n'));
    pos_ = to;
    return line_;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
};

struct ScanReader {
  const std::string& source;
  MessageSink& sink;
  std::size_t line = 0;
  std::string where;
  // What the scan tells beside its circle.
  bool rate = false;
  double countingTime = 0;
  double twoTheta = 0;

  bool Fail(const std::string& what) const {
    ReportBadInput(sink, source, line, where + ": " + what);
    return false;
  }

  bool Read(const pugi::xml_node& scan, MeasuredCircle& circle) {
    const pugi::xml_node points = Child(scan, "dataPoints");
    if (!points) return Fail("no <dataPoints>");
    pugi::xml_node tilt, azimuth;
    for (const pugi::xml_node p : points.children()) {
      if (!Named(p, "positions")) continue;
      const std::string_view axis = p.attribute("axis").value();
      if (axis == "Psi" || (axis == "Chi" && !tilt)) tilt = p;
      if (axis == "Phi") azimuth = p;
      if (axis == "2Theta")
        if (const auto tt = Number(Child(p, "commonPosition"))) twoTheta = *tt;
    }
    if (!tilt) return Fail("no Psi or Chi position (the tilt)");
    if (!azimuth) return Fail("no Phi positions (the azimuths)");

    std::vector<double> values;
    pugi::xml_node data = Child(points, "intensities");
    if (!data) data = Child(points, "counts");
    if (!data) return Fail("no <intensities> or <counts>");
    if (!Numbers(data, values)) return Fail("an intensity is not a finite number");
    if (values.empty()) return Fail("no intensities");
    const std::size_t n = values.size();
    const std::string unit = ToLower(data.attribute("unit").value());
    const bool perSecond = unit == "cps" || unit == "counts/s" || unit == "counts per second";

    if (!ReadTilt(tilt, circle.alpha)) return false;
    if (!ReadAzimuths(azimuth, n, circle)) return false;

    std::vector<double> factors;
    if (const pugi::xml_node att = Child(points, "beamAttenuationFactors")) {
      if (!Numbers(att, factors)) return Fail("an attenuation factor is not a finite number");
      if (factors.size() == 1) factors.assign(n, factors[0]);
      if (factors.size() != n) return Fail("the attenuation factors do not match the intensities in number");
    }
    std::vector<double> times;
    if (!perSecond && !ReadTimes(points, n, times)) return false;
    rate = perSecond || !times.empty();
    if (!times.empty()) countingTime = times.front();
    for (std::size_t i = 0; i < n; ++i) {
      double v = values[i];
      if (!factors.empty()) v *= factors[i];
      if (!times.empty()) v /= times[i];
      values[i] = v;
    }
    circle.values = std::move(values);
    return true;
  }

  bool ReadTilt(const pugi::xml_node& node, double& alpha) const {
    if (const auto common = Number(Child(node, "commonPosition"))) {
      alpha = *common;
      return true;
    }
    const auto start = Number(Child(node, "startPosition"));
    const auto end = Number(Child(node, "endPosition"));
    if (start && end) {
      if (std::fabs(*start - *end) > 1e-6) return Fail("the tilt changes within the scan");
      alpha = *start;
      return true;
    }
    std::vector<double> list;
    if (const pugi::xml_node listed = Child(node, "listPositions"); listed && Numbers(listed, list) && !list.empty()) {
      if (std::any_of(list.begin(), list.end(), [&](double v) { return std::fabs(v - list[0]) > 1e-6; }))
        return Fail("the tilt changes within the scan");
      alpha = list[0];
      return true;
    }
    return Fail("the tilt position is missing or not a number");
  }

  bool ReadAzimuths(const pugi::xml_node& node, std::size_t n, MeasuredCircle& circle) const {
    if (const pugi::xml_node listed = Child(node, "listPositions")) {
      std::vector<double> list;
      if (!Numbers(listed, list)) return Fail("a Phi position is not a finite number");
      if (list.size() != n) return Fail("the Phi positions do not match the intensities in number");
      const auto step = EvenStep(list.data(), list.size());
      if (!step) return Fail("the Phi positions are not evenly spaced");
      circle.betaStart = list[0];
      circle.betaStep = *step;
      return true;
    }
    const auto start = Number(Child(node, "startPosition"));
    const auto end = Number(Child(node, "endPosition"));
    if (!start || !end) return Fail("the Phi start or end position is missing or not a number");
    circle.betaStart = *start;
    circle.betaStep = n > 1 ? (*end - *start) / static_cast<double>(n - 1) : 0.0;
    if (n > 1 && *end == *start) return Fail("the Phi start and end positions are the same");
    return true;
  }

  // Counting times per point: one for all (commonCountingTime, also spelt
  // commonTimePerStep) or one each (countingTimes); none leaves the counts.
  bool ReadTimes(const pugi::xml_node& points, std::size_t n, std::vector<double>& times) const {
    pugi::xml_node common = Child(points, "commonCountingTime");
    if (!common) common = Child(points, "commonTimePerStep");
    if (common) {
      const auto t = Number(common);
      if (!t || !(*t > 0)) return Fail("the counting time is not a positive number");
      times.assign(n, *t);
      return true;
    }
    if (const pugi::xml_node each = Child(points, "countingTimes")) {
      if (!Numbers(each, times)) return Fail("a counting time is not a finite number");
      if (times.size() == 1) times.assign(n, times[0]);
      if (times.size() != n) return Fail("the counting times do not match the intensities in number");
      if (std::any_of(times.begin(), times.end(), [](double t) { return !(t > 0); }))
        return Fail("a counting time is not positive");
    }
    return true;
  }
};

std::string ScanHkl(const pugi::xml_node& scan) {
  const pugi::xml_node hkl = Child(Child(scan, "reflection"), "hkl");
  if (!hkl) return {};
  const auto h = ParseInteger(Child(hkl, "h").child_value());
  const auto k = ParseInteger(Child(hkl, "k").child_value());
  const auto l = ParseInteger(Child(hkl, "l").child_value());
  if (!h || !k || !l) return {};
  return HklText(*h, *k, *l);
}

bool IsPoleFigure(const pugi::xml_node& measurement) {
  const std::string type = ToLower(measurement.attribute("measurementType").value());
  return type.empty() || type.find("pole figure") != std::string::npos;
}

}  // namespace

bool LooksLikeXrdml(std::string_view text) {
  const std::string_view head = text.substr(0, 4096);
  std::size_t at = 0;
  while ((at = head.find("xrdMeasurements", at)) != std::string_view::npos) {
    if (at > 0 && (head[at - 1] == '<' || head[at - 1] == ':')) return true;
    ++at;
  }
  return false;
}

std::optional<MeasurementFile> ReadXrdmlText(std::string_view text, const std::string& source, MessageSink& sink) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(text.data(), text.size());
  if (!parsed) {
    ReportBadInput(sink, source, LineCounter(text).At(parsed.offset),
                   std::string("the XML is broken (") + parsed.description() + ")");
    return std::nullopt;
  }
  const pugi::xml_node root = doc.document_element();
  if (!Named(root, "xrdMeasurements")) {
    ReportBadInput(sink, source, 0, "the XML holds no <xrdMeasurements>");
    return std::nullopt;
  }
  std::string title = Child(Child(root, "sample"), "name").child_value();
  if (title.empty()) title = Child(Child(root, "sample"), "id").child_value();

  MeasurementFile file;
  file.format = DataLayout::Xrdml;
  LineCounter lines(text);
  int measurementNo = 0;
  for (const pugi::xml_node measurement : root.children()) {
    if (!Named(measurement, "xrdMeasurement")) continue;
    ++measurementNo;
    if (!IsPoleFigure(measurement)) continue;
    MeasuredPoleFigure pf;
    pf.unit = IntensityUnit::PerSecond;
    int scanNo = 0;
    for (const pugi::xml_node scan : measurement.children()) {
      if (!Named(scan, "scan")) continue;
      ++scanNo;
      ScanReader reader{source, sink, lines.At(scan.offset_debug()),
                        "measurement " + std::to_string(measurementNo) + ", scan " + std::to_string(scanNo)};
      MeasuredCircle circle;
      if (!reader.Read(scan, circle)) return std::nullopt;
      if (!FinishCircle(circle, source, reader.line, reader.where, sink)) return std::nullopt;
      if (pf.hkl.empty()) pf.hkl = ScanHkl(scan);
      if (!reader.rate) pf.unit = IntensityUnit::Unknown;
      if (pf.countingTime == 0) pf.countingTime = reader.countingTime;
      if (pf.twoTheta == 0) pf.twoTheta = reader.twoTheta;
      pf.circles.push_back(std::move(circle));
    }
    pf.name = pf.hkl.empty() ? "measurement " + std::to_string(measurementNo) : pf.hkl;
    if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
    if (pf.hkl.empty() && !title.empty()) pf.name = title;
    file.poleFigures.push_back(std::move(pf));
  }
  if (file.poleFigures.empty()) {
    ReportBadInput(sink, source, 0, "the file holds no pole figure measurement");
    return std::nullopt;
  }
  // Several measurements without their reflections would share the sample's name.
  if (file.poleFigures.size() > 1)
    for (std::size_t i = 0; i < file.poleFigures.size(); ++i)
      if (file.poleFigures[i].hkl.empty()) file.poleFigures[i].name += " " + std::to_string(i + 1);
  return file;
}

}  // namespace quorix
