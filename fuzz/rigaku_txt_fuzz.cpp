// Rigaku text exports, read from memory. The first byte picks the tilts the
// user would give: none, from the centre outwards, from the rim inwards, or
// in steps too fine for many circles.
#include "instrument_fuzz.h"
#include "io/instrument_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("rigaku_txt");
  if (size < 1) return 0;
  MeasurementOptions options;
  switch (data[0] % 4) {
    case 0: break;
    case 1: options.tiltStart = 0, options.tiltStep = 5; break;
    case 2: options.tiltStart = 90, options.tiltStep = -3; break;
    default: options.tiltStart = 0, options.tiltStep = 0.25; break;
  }
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  static_cast<void>(LooksLikeRigakuTxt(text));
  fuzz::CheckingSink sink("input.file");
  fuzz::CheckMeasurement(ReadRigakuTxtText(text, "input.file", options, sink), sink, progress);
  return 0;
}
