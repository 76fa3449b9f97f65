// Seifert RayfleX pole figures (.nja): "&Key=value" header lines (hkl, alpha
// and beta ranges, 2theta, counting time, background positions), then after
// "#Values" one row a point: alpha, beta, intensity, background. The
// background column becomes a pole figure of its own.
#include <fmt/format.h>

#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/exchange_readers.h"

namespace quorix {
namespace {

using Keys = std::map<std::string, std::string, std::less<>>;

void ReadKeys(std::string_view line, Keys& keys) {
  std::size_t at = 0;
  while ((at = line.find('&', at)) != std::string_view::npos) {
    const std::size_t eq = line.find('=', at);
    if (eq == std::string_view::npos) return;
    std::size_t end = line.find_first_of("\t&", eq);
    if (end == std::string_view::npos) end = line.size();
    keys[ToUpper(std::string(Trim(line.substr(at + 1, eq - at - 1))))] =
        std::string(Trim(line.substr(eq + 1, end - eq - 1)));
    at = end;
  }
}

double KeyNumber(const Keys& keys, std::string_view key) {
  const auto it = keys.find(key);
  if (it == keys.end()) return 0;
  const auto v = ParseNumber(it->second);
  return v ? *v : 0;
}

}  // namespace

bool LooksLikeSeifert(std::string_view text) {
  return text.substr(0, 4000).find("&AlphaStart=") != std::string_view::npos &&
         text.substr(0, 4000).find("&BetaStep=") != std::string_view::npos;
}

std::optional<MeasurementFile> ReadSeifertText(std::string_view text, const std::string& source, MessageSink& sink) {
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view line;
  Keys keys;
  std::size_t number = 0;
  bool values = false;
  while (!values && lines.Next(line)) {
    ++number;
    values = Trim(line) == "#Values";
    ReadKeys(line, keys);
  }
  if (!values) {
    sink.Problem({source, 0, "no \"#Values\" line before the rows of alpha, beta, intensity and background."});
    return std::nullopt;
  }
  struct Row {
    double alpha, beta, value, background;
    std::size_t line;
  };
  std::vector<Row> rows;
  while (lines.Next(line)) {
    ++number;
    if (Trim(line).empty() || Trim(line)[0] == '&') {
      ReadKeys(line, keys);
      continue;
    }
    TokenCursor tokens(line);
    std::array<double, 4> v{};
    std::string_view token;
    for (double& x : v) {
      const auto parsed = tokens.Next(token) ? ParseNumber(token) : std::nullopt;
      if (!parsed) {
        sink.Problem({source, number, "expected alpha, beta, intensity and background."});
        return std::nullopt;
      }
      x = *parsed;
    }
    rows.push_back({v[0], v[1], v[2], v[3], number});
  }
  const std::string hkl = HklTextIfWhole(KeyNumber(keys, "H"), KeyNumber(keys, "K"), KeyNumber(keys, "L"));
  MeasuredPoleFigure peak, background;
  peak.hkl = background.hkl = hkl;
  peak.name = hkl.empty() ? "pole figure" : hkl;
  background.name = peak.name + " background";
  peak.twoTheta = KeyNumber(keys, "2THETA");
  background.twoTheta = KeyNumber(keys, "BGLEFT");
  peak.countingTime = KeyNumber(keys, "TIME");
  background.countingTime = KeyNumber(keys, "BGTIME");
  background.background = true;
  // &Time beside values with a tenth's decimals at 10 s: the rows are rates already.
  peak.unit = background.unit = IntensityUnit::PerSecond;
  for (std::size_t k = 0; k < rows.size();) {
    std::size_t end = k;
    std::vector<double> betas;
    MeasuredCircle c, b;
    while (end < rows.size() && std::fabs(rows[end].alpha - rows[k].alpha) < 1e-6) {
      betas.push_back(rows[end].beta);
      c.values.push_back(rows[end].value);
      b.values.push_back(rows[end].background);
      ++end;
    }
    const auto step = EvenStep(betas.data(), betas.size());
    if (!step) {
      sink.Problem({source, rows[k].line,
                    fmt::format("the betas at alpha {} are not evenly spaced.", ShortNumber(rows[k].alpha))});
      return std::nullopt;
    }
    c.alpha = b.alpha = rows[k].alpha;
    c.betaStart = b.betaStart = betas.front();
    c.betaStep = b.betaStep = *step;
    const std::string where = "alpha " + ShortNumber(rows[k].alpha);
    if (!FinishCircle(c, source, rows[k].line, where, sink) || !FinishCircle(b, source, rows[k].line, where, sink))
      return std::nullopt;
    peak.circles.push_back(std::move(c));
    background.circles.push_back(std::move(b));
    k = end;
  }
  if (!FinishPoleFigure(peak, source, sink) || !FinishPoleFigure(background, source, sink)) return std::nullopt;
  MeasurementFile file;
  file.format = DataLayout::Seifert;
  file.poleFigures.push_back(std::move(peak));
  file.poleFigures.push_back(std::move(background));
  return file;
}

}  // namespace quorix
