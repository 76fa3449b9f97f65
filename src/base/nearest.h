// Rounding used everywhere: to the nearest integer, halves to even.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace quorix {

inline double NearestValue(double v) { return std::nearbyint(v); }  // default FE_TONEAREST

inline long double NearestValue(long double v) { return std::nearbyintl(v); }

// Saturates instead of overflowing for values no int can hold.
inline int Nearest(double v) {
  if (!(v == v)) return 0;
  double r = std::nearbyint(v);
  if (r >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

inline int Nearest(long double v) {
  if (!(v == v)) return 0;
  long double r = std::nearbyintl(v);
  if (r >= static_cast<long double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= static_cast<long double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

}  // namespace quorix
