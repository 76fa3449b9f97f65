// Layout detection, the picker lists of both multi-pole-figure layouts and
// the header fields the formatted save reads from the same files. Byte 0
// picks the file name (".XPO" changes the hash-list headers).
#include "base/text_file.h"
#include "fuzz_support.h"
#include "grid_check.h"
#include "io/data_layout.h"
#include "io/formatted_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("layout");
  if (size < 1) return -1;
  static const char* const names[] = {"data.pol", "data.XPO", "data.xpe", "data.wko"};
  const char* name = names[data[0] % 4];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  fuzz::CheckingSink sink(name);
  const LayoutInfo info = DetectLayoutText(text, name);
  fuzz::Require(info.ok && info.layout != DataLayout::None, "every readable file has a layout");
  progress.Accepted();
  for (DataLayout layout : {DataLayout::Beartex, DataLayout::Geesthacht}) {
    const auto list = PickerListText(text, layout, name, sink);
    for (const auto& entry : list) fuzz::Require(entry.size() <= 10, "picker names are cut to their columns");
  }
  const auto lines = SplitLines(WithoutByteOrderMark(text));
  for (DataLayout layout : {DataLayout::Beartex, DataLayout::Geesthacht, DataLayout::Plain})
    (void)ParseSaveAllHeader(lines, layout);
  progress.Ran();
  return 0;
}
