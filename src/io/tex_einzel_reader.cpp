// Neutron pole figure lists of the TEX EINZEL program ("CREATOR: TEX EINZEL"):
// a German header of " $" lines, then a row a point: number, 2theta, omega,
// chi, phi, counts, two further counters, the monitor, a second monitor and
// the time. A change of 2theta starts a new block: the pole figures alternate
// with short background blocks (one point a tilt, at phi 0) beside the peak,
// each offered as a pole figure of its own. chi 90 is the sample normal.
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/exchange_readers.h"

namespace quorix {
namespace {

struct Row {
  double twoTheta, chi, phi, counts, monitor;
  std::size_t line;
};

// A block whose circles hold one point each was measured beside the peak.
bool IsBackground(const MeasuredPoleFigure& pf) {
  return std::all_of(pf.circles.begin(), pf.circles.end(), [](const auto& c) { return c.values.size() <= 1; });
}

}  // namespace

bool LooksLikeTexEinzel(std::string_view text) {
  return Trim(text.substr(0, 200)).substr(0, 19) == "CREATOR: TEX EINZEL";
}

std::optional<MeasurementFile> ReadTexEinzelText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  std::vector<Row> rows;
  for (std::size_t number = 1; lines.Next(line); ++number) {
    const std::string_view t = Trim(line);
    // Header, comment and table lines; the header may come again.
    if (t.empty() || t[0] == '$' || t.substr(0, 8) == "CREATOR:") continue;
    const auto tokens = SplitWhitespace(t);
    std::array<std::optional<double>, 9> v{};
    for (std::size_t k = 0; k < v.size() && k < tokens.size(); ++k) v[k] = ParseNumber(tokens[k]);
    if (tokens.size() < 6 || !v[1] || !v[3] || !v[4] || !v[5]) {
      sink.Problem({source, number, "expected a row of number, 2theta, omega, chi, phi and counts."});
      return std::nullopt;
    }
    rows.push_back({*v[1], *v[3], *v[4], *v[5], v[8] ? *v[8] : 0.0, number});
  }
  MeasurementFile file;
  file.format = DataLayout::TexEinzel;
  for (std::size_t k = 0; k < rows.size();) {
    MeasuredPoleFigure pf;
    pf.twoTheta = rows[k].twoTheta;
    pf.monitor = rows[k].monitor;
    // Each point is counted until the monitor reaches its preset.
    if (pf.monitor > 0) pf.unit = IntensityUnit::PerMonitor;
    std::size_t end = k;
    while (end < rows.size() && std::fabs(rows[end].twoTheta - rows[k].twoTheta) < 1e-6) ++end;
    for (std::size_t c = k; c < end;) {
      std::size_t stop = c;
      std::vector<double> phis;
      MeasuredCircle circle;
      while (stop < end && std::fabs(rows[stop].chi - rows[c].chi) < 1e-6) {
        phis.push_back(rows[stop].phi);
        circle.values.push_back(rows[stop].counts);
        ++stop;
      }
      const auto step = EvenStep(phis.data(), phis.size());
      if (!step) {
        sink.Problem({source, rows[c].line,
                      fmt::format("the phi positions at chi {} are not evenly spaced.", ShortNumber(rows[c].chi))});
        return std::nullopt;
      }
      circle.alpha = 90 - rows[c].chi;
      circle.betaStart = phis.front();
      circle.betaStep = *step;
      if (!FinishCircle(circle, source, rows[c].line, "chi " + ShortNumber(rows[c].chi), sink)) return std::nullopt;
      pf.circles.push_back(std::move(circle));
      c = stop;
    }
    pf.background = IsBackground(pf);
    file.poleFigures.push_back(std::move(pf));
    k = end;
  }
  // The name gives the reflections of the pole figures in their order
  // ("ST42-104-110"); a background belongs to the pole figure before it.
  const std::vector<std::string> hkls = HklGroupsInName(source);
  std::size_t peaks = 0;
  for (const auto& pf : file.poleFigures) peaks += pf.background ? 0 : 1;
  std::size_t peak = 0;
  std::string last;
  for (auto& pf : file.poleFigures) {
    if (!pf.background) last = hkls.size() == peaks ? hkls[peak++] : std::string();
    pf.hkl = last;
    const std::string twoTheta = "2theta " + ShortNumber(pf.twoTheta);
    const std::string lead = pf.hkl.empty() ? "" : pf.hkl + " ";
    pf.name = pf.background ? fmt::format("{}background {}", lead, twoTheta) : (pf.hkl.empty() ? twoTheta : pf.hkl);
    if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
  }
  if (file.poleFigures.empty()) {
    sink.Problem({source, 0, "no rows of number, 2theta, omega, chi, phi and counts."});
    return std::nullopt;
  }
  return file;
}

}  // namespace quorix
