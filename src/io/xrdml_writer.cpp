// A pole figure as an XRDML measurement built on the scans of a sample file.
#include "io/xrdml_writer.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iterator>

#include "base/ini_file.h"
#include "base/nearest.h"
#include "base/text_file.h"
#include "io/ascii_writer.h"

namespace quorix {

namespace {

// Walks the template line by line; every step fails once the lines run out.
class TemplateCursor {
 public:
  TemplateCursor(std::string_view text, const XrdmlPut& put) : lines_(text), put_(put) {}

  void Seek(std::size_t pos) { lines_.Seek(pos); }
  std::size_t Position() const { return lines_.Offset(); }

  // Copies lines up to and including the first that holds `marker`.
  bool CopyThrough(std::string_view marker) {
    std::string_view line;
    while (lines_.Next(line)) {
      Put(line);
      if (Matches(line, marker)) return true;
    }
    return false;
  }
  // Skips lines up to the first that holds `marker` and copies that one.
  bool SkipToAndCopy(std::string_view marker) {
    std::string_view line;
    while (lines_.Next(line)) {
      if (Matches(line, marker)) {
        Put(line);
        return true;
      }
    }
    return false;
  }
  // Copies lines up to the first that holds `marker`, which is skipped.
  bool CopyUntilSkipping(std::string_view marker) {
    std::string_view line;
    while (lines_.Next(line)) {
      if (Matches(line, marker)) return true;
      Put(line);
    }
    return false;
  }
  bool SkipOne() {
    std::string_view line;
    return lines_.Next(line);
  }

 private:
  // `marker` is in lower case; the template's letter case does not count.
  static bool Matches(std::string_view line, std::string_view marker) {
    const auto same = [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; };
    return std::search(line.begin(), line.end(), marker.begin(), marker.end(), same) != line.end();
  }
  void Put(std::string_view line) {
    put_(line);
    put_(kLineEnd);
  }

  LineCursor lines_;
  const XrdmlPut& put_;
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

bool FormatPFXRDML(const TPoleFigure& pf, std::string_view templateText, const XrdmlOptions& o, const XrdmlPut& put) {
  std::string piece;
  const auto flush = [&] {
    put(piece);
    piece.clear();
  };
  auto append = std::back_inserter(piece);
  TemplateCursor sample(templateText, put);
  if (!sample.CopyThrough("</diffractedbeampath")) return false;
  const std::size_t scanStart = sample.Position();
  const int n = std::clamp(pf.CircleCount, 0, LastRow(pf));
  for (int i = 1; i <= n; ++i) {
    const int points = PointsInTable(pf, i);
    if (!CircleComplete(pf, i, points)) continue;
    sample.Seek(scanStart);
    if (!sample.CopyThrough("</header")) return false;
    if (o.h != 0 && o.k != 0 && o.l != 0) {
      fmt::format_to(append,
                     "\t\t\t<reflection>{0}\t\t\t\t<hkl>{0}\t\t\t\t\t<h>{1}</h>{0}\t\t\t\t\t<k>{2}</k>{0}"
                     "\t\t\t\t\t<l>{3}</l>{0}\t\t\t\t</hkl>{0}\t\t\t</reflection>{0}",
                     kLineEnd, o.h, o.k, o.l);
      flush();
    }
    if (!sample.SkipToAndCopy("<datapoints")) return false;
    if (!sample.CopyThrough("psi")) return false;
    fmt::format_to(append, "\t\t\t\t\t<commonPosition>{:5.2f}</commonPosition>{}", pf.Alpha[i], kLineEnd);
    flush();
    if (!sample.SkipOne()) return false;
    if (!sample.CopyUntilSkipping("<intensities")) return false;
    piece += "\t\t\t\t<intensities unit=\"counts\">";
    for (int j = 1; j <= points; ++j) piece += Count(pf.Intensity[i][j], o.SetNegativeToZero) + " ";
    // The first point once more closes the circle.
    piece += Count(pf.Intensity[i][1], o.SetNegativeToZero);
    piece += "</intensities>";
    piece += kLineEnd;
    fmt::format_to(append, "\t\t\t</dataPoints>{0}\t\t</scan>{0}", kLineEnd);
    flush();
  }
  fmt::format_to(append, "\t</xrdMeasurement>{0}</xrdMeasurements>{0}", kLineEnd);
  flush();
  return true;
}

std::optional<std::string> FormatPFXRDML(const TPoleFigure& pf, std::string_view templateText,
                                         const XrdmlOptions& options) {
  std::string out;
  if (!FormatPFXRDML(pf, templateText, options, [&](std::string_view piece) { out += piece; })) return std::nullopt;
  return out;
}

bool WritePFXRDML(const TPoleFigure& pf, const std::string& sampleFile, const std::string& outFile,
                  const XrdmlOptions& options, MessageSink& sink) {
  std::string sample;
  if (ReadWholeFile(sampleFile, sample, kMaxXrdmlTemplateSize) != FileStatus::Ok) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(sampleFile, ec) &&
        std::filesystem::file_size(sampleFile, ec) > kMaxXrdmlTemplateSize)
      sink.Message("The sample file " + sampleFile + " is larger than 16 MB; an XRDML template is far smaller.");
    else
      sink.Message("Cannot open file: " + sampleFile);
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
  return WriteFileReporting(outFile, produce, sink, "Cannot create file " + outFile,
                            "Error writing file " + outFile + ".");
}

}  // namespace quorix
