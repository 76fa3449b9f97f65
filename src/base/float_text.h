// Numbers written for people: the shortest general decimal form of a value.
#pragma once

#include <string>

namespace quorix {

// Up to 15 significant digits without trailing zeros ("30", "-45.5", "0.1");
// exponent form ("1E20", "1.5E-7") from 15 integer digits on and below 1E-5.
std::string FormatGeneral(double v);

// Rounded to `precision` significant digits, then written with `decimals`
// fraction digits; exponent form once the integer part needs more than
// `precision` digits. Never "-0.0".
std::string FormatFixedPrecision(double v, int precision, int decimals);

}  // namespace quorix
