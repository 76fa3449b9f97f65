// A pole figure as an XRDML measurement built on the first scan of a sample file.
#include "io/xrdml_writer.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <pugixml.hpp>

#include "base/ini_file.h"
#include "base/nearest.h"
#include "base/text_file.h"
#include "io/ascii_writer.h"

namespace quorix {

namespace {

// Element names compared without namespace prefix and letter case: sample
// files have been edited by hand.
bool NameIs(const pugi::xml_node& node, std::string_view lower) {
  std::string_view name = node.name();
  if (const std::size_t colon = name.find(':'); colon != std::string_view::npos) name.remove_prefix(colon + 1);
  return name.size() == lower.size() && std::equal(name.begin(), name.end(), lower.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

bool SameText(std::string_view a, std::string_view lower) {
  return a.size() == lower.size() && std::equal(a.begin(), a.end(), lower.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == y;
         });
}

pugi::xml_node Child(const pugi::xml_node& parent, std::string_view lower) {
  for (pugi::xml_node c : parent.children())
    if (c.type() == pugi::node_element && NameIs(c, lower)) return c;
  return {};
}

// The measurement: the document element itself or one of its children.
pugi::xml_node Measurement(const pugi::xml_document& doc) {
  const pugi::xml_node root = doc.document_element();
  return NameIs(root, "xrdmeasurement") ? root : Child(root, "xrdmeasurement");
}

// The <positions> of `dataPoints` whose axis is one of `axes`.
pugi::xml_node Positions(const pugi::xml_node& dataPoints, std::initializer_list<std::string_view> axes) {
  for (pugi::xml_node c : dataPoints.children())
    if (c.type() == pugi::node_element && NameIs(c, "positions"))
      for (std::string_view axis : axes)
        if (SameText(c.attribute("axis").value(), axis)) return c;
  return {};
}

void SetText(pugi::xml_node node, const std::string& text) { node.text().set(text.c_str()); }

// Replaces what the positions element holds by the given children.
void SetPositions(pugi::xml_node positions, std::initializer_list<std::pair<const char*, std::string>> values) {
  while (pugi::xml_node c = positions.first_child()) positions.remove_child(c);
  for (const auto& [name, text] : values) SetText(positions.append_child(name), text);
}

bool CircleComplete(const PoleFigure& pf, int i, int points) {
  for (int j = 1; j <= points; ++j)
    if (pf.Intensity[i][j] == kMissing) return false;
  return true;
}

std::string Count(double v, bool negativeToZero, double countingTime) {
  if (negativeToZero && v < 0) return "0";
  // Adding 0 turns a rounded -0 into 0.
  return fmt::format("{:.0f}", NearestValue(v * countingTime) + 0.0);
}

struct Template {
  pugi::xml_document doc;
  pugi::xml_document scanDoc;
  pugi::xml_node measurement;
  pugi::xml_node scan;
  std::string head, tail;  // the document before and after the scans
  int depth = 0;           // of the scans, for their indentation
};

struct StringWriter : pugi::xml_writer {
  std::string text;
  void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
};

constexpr const char* kMarker = "quorix-scans";

// Parses the template and keeps its first scan apart: the document is written
// around it and the scan once per circle.
bool ParseTemplate(std::string_view text, Template& t) {
  if (!t.doc.load_buffer(text.data(), text.size(),
                         pugi::parse_default | pugi::parse_declaration | pugi::parse_comments))
    return false;
  t.measurement = Measurement(t.doc);
  if (!t.measurement) return false;
  // The template's other measurements are not this pole figure: a reader would take them for more of its data.
  if (pugi::xml_node parent = t.measurement.parent(); parent.type() != pugi::node_document)
    for (pugi::xml_node m = parent.first_child(); m;) {
      const pugi::xml_node next = m.next_sibling();
      if (m != t.measurement && m.type() == pugi::node_element && NameIs(m, "xrdmeasurement")) parent.remove_child(m);
      m = next;
    }
  pugi::xml_node first = Child(t.measurement, "scan");
  if (!first || !Child(first, "datapoints")) return false;
  t.measurement.insert_child_before(pugi::node_comment, first).set_value(kMarker);
  // The scan is edited in a document of its own, out of the template's way.
  t.scan = t.scanDoc.append_copy(first);
  for (pugi::xml_node s = Child(t.measurement, "scan"); s; s = Child(t.measurement, "scan"))
    t.measurement.remove_child(s);
  StringWriter whole;
  t.doc.save(whole, "\t");
  const std::string marker = fmt::format("<!--{}-->", kMarker);
  const std::size_t at = whole.text.find(marker);
  if (at == std::string::npos) return false;
  const std::size_t lineStart = whole.text.rfind('\n', at);
  t.head = whole.text.substr(0, lineStart == std::string::npos ? 0 : lineStart + 1);
  const std::size_t lineEnd = whole.text.find('\n', at);
  t.tail = lineEnd == std::string::npos ? std::string() : whole.text.substr(lineEnd + 1);
  for (pugi::xml_node p = t.measurement; p && p.type() != pugi::node_document; p = p.parent()) ++t.depth;
  return true;
}

// The counting time of each point: the template's (common or first of its
// list), else 1 second.
double CountingTime(const pugi::xml_node& dataPoints) {
  for (std::string_view name : {"commoncountingtime", "countingtimes"}) {
    if (pugi::xml_node n = Child(dataPoints, name)) {
      const auto parts = SplitWhitespace(n.text().get());
      if (!parts.empty())
        if (const auto v = ParseNumber(parts[0]); v && *v > 0 && std::isfinite(*v)) return *v;
    }
  }
  return 1;
}

void FillScan(pugi::xml_node scan, const PoleFigure& pf, int i, int points, const XrdmlOptions& o) {
  pugi::xml_node header = Child(scan, "header");
  while (pugi::xml_node r = Child(scan, "reflection")) scan.remove_child(r);
  // (200) or (103) is a reflection like any other; only 0 0 0 means "none given".
  if (o.h != 0 || o.k != 0 || o.l != 0) {
    pugi::xml_node reflection =
        header ? scan.insert_child_after("reflection", header) : scan.prepend_child("reflection");
    pugi::xml_node hkl = reflection.append_child("hkl");
    SetText(hkl.append_child("h"), std::to_string(o.h));
    SetText(hkl.append_child("k"), std::to_string(o.k));
    SetText(hkl.append_child("l"), std::to_string(o.l));
  }
  pugi::xml_node data = Child(scan, "datapoints");
  const std::string scanAxis = scan.attribute("scanAxis") ? scan.attribute("scanAxis").value() : "Phi";
  std::string axisLower = scanAxis;
  std::transform(axisLower.begin(), axisLower.end(), axisLower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  pugi::xml_node phi = Positions(data, {axisLower});
  if (!phi) {
    phi = data.prepend_child("positions");
    phi.append_attribute("axis").set_value(scanAxis.c_str());
    phi.append_attribute("unit").set_value("deg");
  }
  const double start = pf.BetaStart[i];
  SetPositions(phi, {{"startPosition", fmt::format("{:.2f}", start)},
                     {"endPosition", fmt::format("{:.2f}", start + (points - 1) * pf.BetaStep[i])}});
  pugi::xml_node tilt = Positions(data, {"psi", "chi"});
  if (!tilt) {
    tilt = data.insert_child_after("positions", phi);
    tilt.append_attribute("axis").set_value("Psi");
    tilt.append_attribute("unit").set_value("deg");
  }
  SetPositions(tilt, {{"commonPosition", fmt::format("{:.2f}", pf.Alpha[i])}});

  const double time = CountingTime(data);
  const std::string timeText = fmt::format("{:.2f}", time);
  if (pugi::xml_node list = Child(data, "countingtimes")) {
    std::string times;
    for (int j = 1; j <= points; ++j) times += (j > 1 ? " " : "") + timeText;
    SetText(list, times);
  }
  std::string counts;
  for (int j = 1; j <= points; ++j) counts += (j > 1 ? " " : "") + Count(pf.Intensity[i][j], o.SetNegativeToZero, time);
  pugi::xml_node values = Child(data, "intensities");
  if (!values) values = Child(data, "counts");
  if (!values) {
    values = data.append_child("intensities");
    values.append_attribute("unit").set_value("counts");
  }
  SetText(values, counts);
}

// The writers' files end their lines with CR LF.
void PutLines(const XrdmlPut& put, std::string_view text) {
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t nl = text.find('\n', from);
    if (nl == std::string_view::npos) {
      put(text.substr(from));
      return;
    }
    put(text.substr(from, nl - from));
    put(kLineEnd);
    from = nl + 1;
  }
}

}  // namespace

const std::string_view kBuiltInXrdmlTemplate = R"(<?xml version="1.0" encoding="UTF-8"?>
<xrdMeasurements xmlns="http://www.xrdml.com/XRDMeasurement/1.2">
	<xrdMeasurement measurementType="Texture pole figure" measurementStepAxis="Psi">
		<scan appendNumber="0" mode="Continuous" scanAxis="Phi">
			<dataPoints>
				<positions axis="Phi" unit="deg">
					<startPosition>0.00</startPosition>
					<endPosition>355.00</endPosition>
				</positions>
				<positions axis="Psi" unit="deg">
					<commonPosition>0.00</commonPosition>
				</positions>
				<commonCountingTime unit="seconds">1.00</commonCountingTime>
				<intensities unit="counts">0</intensities>
			</dataPoints>
		</scan>
	</xrdMeasurement>
</xrdMeasurements>
)";

std::vector<int> CirclesLeftOutOfXrdml(const PoleFigure& pf) {
  std::vector<int> out;
  const int n = pf.CircleCount;
  for (int i = 1; i <= n; ++i) {
    const int points = pf.CirclePoints[i];
    if (points >= 1 && !CircleComplete(pf, i, points)) out.push_back(i);
  }
  return out;
}

bool FormatPFXRDML(const PoleFigure& pf, std::string_view templateText, const XrdmlOptions& o, const XrdmlPut& put) {
  Template t;
  if (!ParseTemplate(templateText, t)) return false;
  PutLines(put, t.head);
  for (int i = 1; i <= pf.CircleCount; ++i) {
    const int points = pf.CirclePoints[i];
    // Left out: XRDML has no mark for a missing point (CirclesLeftOutOfXrdml).
    if (points < 1 || !CircleComplete(pf, i, points)) continue;
    pugi::xml_document one;
    pugi::xml_node scan = one.append_copy(t.scan);
    FillScan(scan, pf, i, points, o);
    StringWriter text;
    scan.print(text, "\t", pugi::format_default, pugi::encoding_utf8, static_cast<unsigned>(t.depth));
    PutLines(put, text.text);
  }
  PutLines(put, t.tail);
  return true;
}

std::optional<std::string> FormatPFXRDML(const PoleFigure& pf, std::string_view templateText,
                                         const XrdmlOptions& options) {
  std::string out;
  if (!FormatPFXRDML(pf, templateText, options, [&](std::string_view piece) { out += piece; })) return std::nullopt;
  return out;
}

bool WritePFXRDML(const PoleFigure& pf, const std::string& sampleFile, const std::string& outFile,
                  const XrdmlOptions& options, MessageSink& sink) {
  std::string sample;
  if (sampleFile.empty()) {
    sample = kBuiltInXrdmlTemplate;
  } else if (ReadWholeFile(sampleFile, sample, kMaxXrdmlTemplateSize) != FileStatus::Ok) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(sampleFile, ec) &&
        std::filesystem::file_size(sampleFile, ec) > kMaxXrdmlTemplateSize)
      sink.Message("The sample file " + sampleFile + " is larger than 16 MB; an XRDML template is far smaller.");
    else
      sink.Message("Cannot open file: " + sampleFile);
    return false;
  }
  for (int i = 1; i <= pf.CircleCount; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j)
      if (!std::isfinite(pf.Intensity[i][j])) {
        sink.Problem(
            {outFile, 0,
             fmt::format("the value at circle {}, point {} is {}; it cannot be written.", i, j, pf.Intensity[i][j]),
             Severity::Error, FileRole::Output});
        return false;
      }
  // A trial without output first, so that an unusable template leaves no file.
  if (!FormatPFXRDML(pf, sample, options, [](std::string_view) {})) {
    sink.Message("The sample file " + sampleFile + " is not a usable XRDML template.");
    return false;
  }
  // Written as made: the output repeats a scan of the template for every circle.
  const auto produce = [&](std::FILE* f) {
    bool ok = true;
    FormatPFXRDML(pf, sample, options, [&](std::string_view piece) {
      ok = ok && std::fwrite(piece.data(), 1, piece.size(), f) == piece.size();
    });
    return ok;
  };
  if (!WriteFileReporting(outFile, produce, sink, "Cannot create file " + outFile,
                          "Error writing file " + outFile + "."))
    return false;
  // Only a file written has circles left out of it.
  if (const auto left = CirclesLeftOutOfXrdml(pf); !left.empty()) {
    const int circles = pf.CircleCount;
    std::string alphas;
    for (int i : left) alphas += fmt::format("{}{:g}", alphas.empty() ? "" : ", ", pf.Alpha[i]);
    sink.Message(
        fmt::format("{}: {} of {} circles written; the circles at alpha {} degrees were left out: each "
                    "holds missing points, and XRDML has no mark for a missing point.",
                    outFile, circles - static_cast<int>(left.size()), circles, alphas));
  }
  return true;
}

}  // namespace quorix
