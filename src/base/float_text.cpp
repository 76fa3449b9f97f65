// Numbers written for people: the shortest general decimal form of a value.
#include "base/float_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quorix {

namespace {

struct Scientific {
  bool negative = false;
  std::string digits;  // significant digits, no trailing zeros, at least one
  int exponent = 0;    // of the first digit
};

Scientific Decompose(double v, int significant) {
  // "{:.Ne}" gives d.ddd...e±XX, already rounded to `significant` digits.
  const std::string s = fmt::format("{:.{}e}", std::fabs(v), significant - 1);
  Scientific r;
  r.negative = v < 0;
  const std::size_t e = s.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (s[i] != '.') r.digits += s[i];
  r.exponent = std::atoi(s.c_str() + e + 1);
  while (r.digits.size() > 1 && r.digits.back() == '0') r.digits.pop_back();
  return r;
}

std::string NonFinite(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

}  // namespace

std::string FormatGeneral(double v) {
  if (!std::isfinite(v)) return NonFinite(v);
  if (v == 0) return "0";
  const Scientific s = Decompose(v, 15);
  std::string out = s.negative ? "-" : "";
  if (s.exponent >= 15 || s.exponent < -5) {
    out += s.digits.substr(0, 1);
    if (s.digits.size() > 1) out += "." + s.digits.substr(1);
    return out + "E" + std::to_string(s.exponent);
  }
  if (s.exponent < 0) return out + "0." + std::string(-s.exponent - 1, '0') + s.digits;
  const std::size_t whole = static_cast<std::size_t>(s.exponent) + 1;
  if (s.digits.size() <= whole) return out + s.digits + std::string(whole - s.digits.size(), '0');
  return out + s.digits.substr(0, whole) + "." + s.digits.substr(whole);
}

std::string FormatFixedPrecision(double v, int precision, int decimals) {
  if (!std::isfinite(v)) return NonFinite(v);
  decimals = std::clamp(decimals, 0, 15);
  precision = std::clamp(precision, 1, 18);
  if (std::fabs(v) >= std::pow(10.0, precision)) {
    const Scientific s = Decompose(v, precision);
    std::string digits = s.digits + std::string(static_cast<std::size_t>(precision) - s.digits.size(), '0');
    const char sign = s.exponent < 0 ? '-' : '+';
    return fmt::format("{}{}.{}E{}{:03d}", s.negative ? "-" : "", digits.substr(0, 1), digits.substr(1), sign,
                       std::abs(s.exponent));
  }
  // Digits beyond `precision` significant ones are rounded away first.
  const std::string sci = fmt::format("{:.{}e}", v, precision - 1);
  double rounded = v;
  std::from_chars(sci.data(), sci.data() + sci.size(), rounded);
  std::string out = fmt::format("{:.{}f}", rounded, decimals);
  // A value that rounds to zero keeps no sign.
  if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
  return out;
}

}  // namespace quorix
