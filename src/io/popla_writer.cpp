#include "io/popla_writer.h"

#include <fmt/format.h>

#include "io/ascii_writer.h"
#include "io/formatted_writer.h"

namespace quorix {

double PoplaScale(double maxValue) {
  for (double scale : {100.0, 10.0, 1.0, 0.1, 0.01, 0.001})
    if (maxValue * scale < 9999.5) return scale;
  return 0;
}

std::optional<std::string> PoplaHklProblem(int h, int k, int l) {
  for (int v : {h, k, l})
    if (v < 0 || v > 9)
      return fmt::format("the popLA header holds Miller indices of one digit each as \"(hkl)\"; {},{},{} do not fit.",
                         h, k, l);
  return std::nullopt;
}

std::string FormatPoplaBlock(const PoleFigure& pf, std::string_view comment, int h, int k, int l, bool invertTheta,
                             bool invertPhi) {
  std::string out(comment.empty() ? std::string_view(" ") : comment);
  out += kLineEnd;
  const double scale = PoplaScale(pf.MaxValue);
  // Scales below 1 are written as decimals; readers take the field as a number.
  const std::string scaleText = scale >= 1 ? fmt::format("{:.0f}", scale) : fmt::format("{:g}", scale);
  const int measured = LastMeasuredCircle(pf);
  // Tilt from 0 and azimuth from 0 ("1 1"), the axes as the usual files give them ("2 1 3"), no background.
  fmt::format_to(std::back_inserter(out), "({}{}{}){:5.1f}{:5.1f}{:5.1f}{:5.1f} 1 1 2 1 3{:>5}{:5d}", h, k, l, 5.0,
                 pf.Alpha[measured], 5.0, 360.0, scaleText, 0);
  out += kLineEnd;
  AppendBlockValues(out, pf, invertTheta, invertPhi, scale);
  out += kLineEnd;
  return out;
}

}  // namespace quorix
