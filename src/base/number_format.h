// Every number the program writes for people: labels, level lists, read-outs,
// dialog fields and the values of text files. One module, so that a value
// reads the same wherever it is shown and non-finite values read alike.
#pragma once

#include <string>

namespace quorix {

// Decimal places that suit a value of magnitude v: 0 above 1000 ... 4 up to 1.
int DecimalsFor(double v);

// A sign place (blank or "-"), the truncated integer part and, for d > 0,
// "." and d rounded fraction digits (a carry goes into the integer part).
std::string FormatFixed(int d, double v);

// One decimal place, no sign place; exponent form from eight integer digits on.
std::string FormatOneDecimal(double v);

// The shortest general decimal form: up to `significant` digits without
// trailing zeros ("30", "-45.5", "0.1"); exponent form ("1E20", "1.5E-7")
// once the integer part needs more digits, and below 1E-5.
std::string FormatGeneral(double v, int significant = 15);

// Rounded to `precision` significant digits, then written with `decimals`
// fraction digits; exponent form once the integer part needs more than
// `precision` digits. Never "-0.0".
std::string FormatFixedPrecision(double v, int precision, int decimals);

// `decimals` fraction digits as printf's "%.*f" gives them, but never "-0.0".
std::string FormatDecimals(double v, int decimals);

}  // namespace quorix
