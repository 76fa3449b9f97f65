// A pole figure as an XRDML measurement built on the scans of a sample file.
#include "io/xrdml_writer.h"

#include <algorithm>
#include <iterator>

#include <fmt/format.h>

#include "base/nearest.h"
#include "io/ascii_writer.h"
#include "base/text_file.h"

namespace quorix {

namespace {

// Walks the template line by line; every step fails once the lines run out.
class TemplateCursor {
 public:
  TemplateCursor(const std::vector<std::string>& lines, std::string& out) : lines_(lines), out_(out) {}

  void Seek(std::size_t pos) { pos_ = pos; }
  std::size_t Position() const { return pos_; }

  // Copies lines up to and including the first that holds `marker`.
  bool CopyThrough(std::string_view marker) {
    while (pos_ < lines_.size()) {
      const std::string& line = lines_[pos_++];
      Put(line);
      if (Matches(line, marker)) return true;
    }
    return false;
  }
  // Skips lines up to the first that holds `marker` and copies that one.
  bool SkipToAndCopy(std::string_view marker) {
    while (pos_ < lines_.size()) {
      const std::string& line = lines_[pos_++];
      if (Matches(line, marker)) {
        Put(line);
        return true;
      }
    }
    return false;
  }
  // Copies lines up to the first that holds `marker`, which is skipped.
  bool CopyUntilSkipping(std::string_view marker) {
    while (pos_ < lines_.size()) {
      const std::string& line = lines_[pos_++];
      if (Matches(line, marker)) return true;
      Put(line);
    }
    return false;
  }
  bool SkipOne() {
    if (pos_ >= lines_.size()) return false;
    ++pos_;
    return true;
  }

 private:
  static bool Matches(const std::string& line, std::string_view marker) {
    return ToLower(line).find(marker) != std::string::npos;
  }
  void Put(const std::string& line) {
    out_ += line;
    out_ += kLineEnd;
  }

  const std::vector<std::string>& lines_;
  std::string& out_;
  std::size_t pos_ = 0;
};

bool CircleComplete(const TPoleFigure& pf, int i, int points) {
  for (int j = 1; j <= points; ++j)
    if (pf.Intensity[i][j] == kMissing) return false;
  return true;
}

std::string Count(double v, bool negativeToZero) {
  if (negativeToZero && v < 0) return "0";
  // Adding 0 turns a rounded -0 into 0.
  return fmt::format("{:.0f}", NearestValue(v) + 0.0);
}

}  // namespace

std::optional<std::string> FormatPFXRDML(const TPoleFigure& pf, const std::vector<std::string>& sampleLines,
                                         const XrdmlOptions& o) {
  std::string out;
  auto put = std::back_inserter(out);
  TemplateCursor sample(sampleLines, out);
  if (!sample.CopyThrough("</diffractedbeampath")) return std::nullopt;
  const std::size_t scanStart = sample.Position();
  const int n = std::clamp(pf.CircleCount, 0, kMaxGridRows - 1);
  for (int i = 1; i <= n; ++i) {
    const int points = std::clamp(pf.CirclePoints[i], 0, kMaxIntensityCols - 1);
    if (!CircleComplete(pf, i, points)) continue;
    sample.Seek(scanStart);
    if (!sample.CopyThrough("</header")) return std::nullopt;
    if (o.h != 0 && o.k != 0 && o.l != 0) {
      fmt::format_to(put, "\t\t\t<reflection>{0}\t\t\t\t<hkl>{0}\t\t\t\t\t<h>{1}</h>{0}\t\t\t\t\t<k>{2}</k>{0}"
                          "\t\t\t\t\t<l>{3}</l>{0}\t\t\t\t</hkl>{0}\t\t\t</reflection>{0}",
                     kLineEnd, o.h, o.k, o.l);
    }
    if (!sample.SkipToAndCopy("<datapoints")) return std::nullopt;
    if (!sample.CopyThrough("psi")) return std::nullopt;
    fmt::format_to(put, "\t\t\t\t\t<commonPosition>{:5.2f}</commonPosition>{}", pf.Alpha[i], kLineEnd);
    if (!sample.SkipOne()) return std::nullopt;
    if (!sample.CopyUntilSkipping("<intensities")) return std::nullopt;
    out += "\t\t\t\t<intensities unit=\"counts\">";
    for (int j = 1; j <= points; ++j) out += Count(pf.Intensity[i][j], o.SetNegativeToZero) + " ";
    // The first point once more closes the circle.
    out += Count(pf.Intensity[i][1], o.SetNegativeToZero);
    out += "</intensities>";
    out += kLineEnd;
    fmt::format_to(put, "\t\t\t</dataPoints>{0}\t\t</scan>{0}", kLineEnd);
  }
  fmt::format_to(put, "\t</xrdMeasurement>{0}</xrdMeasurements>{0}", kLineEnd);
  return out;
}

bool WritePFXRDML(const TPoleFigure& pf, const std::string& sampleFile, const std::string& outFile,
                  const XrdmlOptions& options, MessageSink& sink) {
  std::string contents;
  if (ReadWholeFile(sampleFile, contents) != FileStatus::Ok) {
    sink.Message("Cannot open file: " + sampleFile);
    return false;
  }
  const auto text = FormatPFXRDML(pf, SplitLines(contents), options);
  if (!text) {
    sink.Message("The sample file " + sampleFile + " is not a usable XRDML template.");
    return false;
  }
  return WriteFileReporting(outFile, *text, sink, "Cannot create file " + outFile, "Error writing file " + outFile + ".");
}

}  // namespace quorix
