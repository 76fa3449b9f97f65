// Number formats of the plot labels and the level lists.
#include "base/number_format.h"

#include <fmt/format.h>

#include <cmath>

#include "base/nearest.h"

namespace quorix {

namespace {

// Labels of values that are not numbers (a record without statistics).
std::string NonFinite(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
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

}  // namespace quorix
