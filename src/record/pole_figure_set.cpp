#include "record/pole_figure_set.h"

#include "base/text_file.h"

namespace quorix {

std::string MultiSuffix(int index, const std::string& itemText) {
  return "  [" + std::to_string(index) + "]  " + "  [" + itemText + "]";
}

std::string SlotTitle(int slot, const std::string& fileName, const std::string& suffix) {
  return std::to_string(slot) + " * " + FileNamePart(fileName) + suffix;
}

}  // namespace quorix
