// Column lists: alpha, beta and intensity a line, the grid from their values.
#include "io/column_reader.h"
#include "measured_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quorix::fuzz::Progress progress("columns");
  return quorix::fuzz::FuzzMeasured(data, size, quorix::ReadColumnsText, quorix::LooksLikeColumns, "data.jul",
                                    progress);
}
