// Circle correction files (".edt"): one number per circle line.
#include <cmath>

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/edt_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("edt_file");
  if (size < 1) return -1;
  const int rows = data[0] % (kMaxCircles + 2);  // 0..kMaxCircles + 1: at and beyond the record's circles
  // The short-file message is a fixed text without the name.
  fuzz::CheckingSink sink("circles.edt", {"To less or incorrect values on line "});
  const EdtValues v = ReadEdtText({reinterpret_cast<const char*>(data + 1), size - 1}, rows, sink);
  fuzz::Require(v.opened, "a text always opens");
  fuzz::Require(v.values.size() <= static_cast<std::size_t>(rows), "no more values than rows");
  fuzz::Require(v.complete == (v.values.size() == static_cast<std::size_t>(rows)), "complete means every row");
  for (double x : v.values) fuzz::Require(std::isfinite(x), "finite values");
  if (v.complete)
    progress.Accepted();
  else
    progress.Refused();
  progress.Ran();
  return 0;
}
