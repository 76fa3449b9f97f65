// Number formats of the plot labels and the level lists.
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

}  // namespace quorix
