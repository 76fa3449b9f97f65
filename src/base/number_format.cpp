// Every number the program writes for people: labels, level lists, read-outs,
// dialog fields and the values of text files.
#include "base/number_format.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/nearest.h"

namespace quorix {

namespace {

// Labels of values that are not numbers (a record without statistics).
std::string NonFinite(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

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

}  // namespace

int DecimalsFor(double v) {
  if (v > 1000) return 0;
  if (v > 100) return 1;
  if (v > 10) return 2;
  if (v > 1) return 3;
  return 4;
}

std::string FormatFixed(int d, double v) {
  std::string out = v < 0 ? "-" : " ";
  if (!std::isfinite(v)) return out + NonFinite(std::fabs(v));
  if (d < 0) d = 0;
  if (d > 15) d = 15;  // beyond the digits a double holds
  const double a = std::fabs(v);
  double whole = std::trunc(a);
  std::string fraction;
  if (d > 0) {
    const double scale = std::pow(10.0, d);
    double digits = NearestValue((a - whole) * scale);
    if (digits >= scale) {
      whole += 1;
      digits = 0;
    }
    fraction = fmt::format(".{:0{}.0f}", digits, d);
  }
  return out + fmt::format("{:.0f}", whole) + fraction;
}

std::string FormatOneDecimal(double v) {
  if (!std::isfinite(v)) return NonFinite(v);
  const double a = std::fabs(v);
  if (a >= 1e7) {
    // Seven significant digits with a three-digit exponent.
    const int exponent = static_cast<int>(std::floor(std::log10(a)));
    double mantissa = NearestValue(a / std::pow(10.0, exponent - 6));
    int e = exponent;
    if (mantissa >= 1e7) {
      mantissa /= 10;
      e += 1;
    }
    const std::string digits = fmt::format("{:.0f}", mantissa);
    return fmt::format("{}{}.{}E+{:03d}", v < 0 ? "-" : "", digits.substr(0, 1), digits.substr(1), e);
  }
  const double tenths = NearestValue(a * 10);
  const double whole = std::floor(tenths / 10);
  const double digit = tenths - whole * 10;
  const bool negative = v < 0 && tenths != 0;
  return fmt::format("{}{:.0f}.{:.0f}", negative ? "-" : "", whole, digit);
}

std::string FormatGeneral(double v, int significant) {
  if (!std::isfinite(v)) return NonFinite(v);
  if (v == 0) return "0";
  significant = std::clamp(significant, 1, 17);
  const Scientific s = Decompose(v, significant);
  std::string out = s.negative ? "-" : "";
  if (s.exponent >= significant || s.exponent < -5) {
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

std::string FormatDecimals(double v, int decimals) {
  if (!std::isfinite(v)) return NonFinite(v);
  std::string s = fmt::format("{:.{}f}", v, std::clamp(decimals, 0, 17));
  if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

}  // namespace quorix
