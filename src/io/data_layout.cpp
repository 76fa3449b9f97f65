#include "io/data_layout.h"

#include <fmt/format.h>

#include "base/nearest.h"
#include "base/text_file.h"
#include "io/wko_header.h"

namespace quorix {

const char* LayoutName(DataLayout layout) {
  switch (layout) {
    case DataLayout::Plain: return "plain";
    case DataLayout::HashList: return "hash";
    case DataLayout::WkoList: return "wko";
    case DataLayout::None: break;
  }
  return "none";
}

bool IsHashHeader(const std::string& line, const std::string& firstLine, bool headerIsFirstLine) {
  if (headerIsFirstLine) return line == firstLine;
  return !line.empty() && line.back() == '#';
}

LayoutInfo DetectLayout(const std::string& fileName, MessageSink& sink) {
  LayoutInfo info;
  const auto lines = ReadLines(fileName, sink, "File " + fileName + " does not exist");
  if (!lines) return info;
  info.ok = true;
  const std::string first = lines->empty() ? std::string() : (*lines)[0];
  if (!first.empty() && first.back() == '#') {
    info.layout = DataLayout::HashList;
  } else if (ToUpper(fileName).find(".XPO") != std::string::npos) {
    info.layout = DataLayout::HashList;
    info.headerIsFirstLine = true;
  } else if (lines->size() >= 6 && ToUpper((*lines)[5]).find("WKO =") != std::string::npos) {
    info.layout = DataLayout::WkoList;
  } else {
    info.layout = DataLayout::Plain;
  }
  return info;
}

std::vector<std::string> PickerList(const std::string& fileName, DataLayout layout, MessageSink& sink) {
  std::vector<std::string> names;
  const auto lines = ReadLines(fileName, sink, "File " + fileName + " does not exist");
  if (!lines) return names;
  const auto lineAt = [&](std::size_t i) -> std::string_view {
    return i < lines->size() ? std::string_view((*lines)[i]) : std::string_view();
  };
  if (layout == DataLayout::HashList) {
    const std::string first = lines->empty() ? std::string() : (*lines)[0];
    const bool copies = first.empty() || first.back() != '#';  // ".XPO" files
    for (std::size_t i = 0; i < lines->size(); ++i) {
      if (IsHashHeader((*lines)[i], first, copies)) names.emplace_back(Columns(lineAt(i + 6), 1, 10));
    }
  } else if (layout == DataLayout::WkoList) {
    const auto header = ReadWkoHeader(*lines, fileName, sink);
    if (!header) return names;
    std::size_t i = 4;
    for (int k = 0; k < header->count && i < lines->size(); ++k) {
      names.emplace_back(Columns(lineAt(i), 1, 9));
      i += static_cast<std::size_t>(header->blockLines);
    }
  }
  return names;
}

}  // namespace quorix
