#include "io/data_layout.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <utility>

#include "base/nearest.h"
#include "base/text_file.h"
#include "io/column_reader.h"
#include "io/exchange_readers.h"
#include "io/instrument_readers.h"
#include "io/measurement_record.h"
#include "io/popla_reader.h"
#include "io/wko_header.h"

namespace quorix {

namespace {

std::string MissingMessage(const std::string& fileName) { return "File " + fileName + " does not exist"; }

std::string_view FirstLine(std::string_view text) {
  LineCursor cursor(text);
  std::string_view first;
  return cursor.Next(first) ? first : std::string_view();
}

bool HasExtension(const std::string& name, std::string_view extension) {
  const std::string lower = ToLower(name);
  return lower.size() >= extension.size() &&
         lower.compare(lower.size() - extension.size(), extension.size(), extension) == 0;
}

bool ContainsUpperCased(std::string_view line, std::string_view upperMark) {
  const auto same = [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; };
  return std::search(line.begin(), line.end(), upperMark.begin(), upperMark.end(), same) != line.end();
}

}  // namespace

const char* LayoutName(DataLayout layout) {
  switch (layout) {
    case DataLayout::Plain: return "plain";
    case DataLayout::Beartex: return "hash";
    case DataLayout::Geesthacht: return "wko";
    case DataLayout::Xrdml: return "xrdml";
    case DataLayout::Uxd: return "uxd";
    case DataLayout::Asc: return "asc";
    case DataLayout::Ras: return "ras";
    case DataLayout::RigakuTxt: return "rigaku-txt";
    case DataLayout::Popla: return "popla";
    case DataLayout::Columns: return "columns";
    case DataLayout::Dubna: return "dubna";
    case DataLayout::Seifert: return "seifert";
    case DataLayout::SiemensDump: return "siemens";
    case DataLayout::Texd5: return "texd5";
    case DataLayout::TexEinzel: return "tex-einzel";
    case DataLayout::LaboTex: return "labotex";
    case DataLayout::Emse: return "emse";
    case DataLayout::GaddsSlice: return "gadds-slice";
    case DataLayout::Explore3d: return "3dexplore";
    case DataLayout::XpertText: return "xpert-text";
    case DataLayout::Aachen: return "aachen";
    case DataLayout::Queens: return "queens";
    case DataLayout::Inel: return "inel";
    case DataLayout::Autex: return "autex";
    case DataLayout::None: break;
  }
  return "none";
}

GridSource GridSourceOf(DataLayout layout) {
  switch (layout) {
    case DataLayout::None:
    case DataLayout::Plain: return GridSource::GridFile;
    case DataLayout::Geesthacht:
    case DataLayout::Dubna: return GridSource::Implied;
    case DataLayout::Beartex: return GridSource::Blocks;
    default: return GridSource::OwnGrid;
  }
}

bool GridFileNeeded(DataLayout layout) { return GridSourceOf(layout) == GridSource::GridFile; }

bool IsInstrumentLayout(DataLayout layout) {
  return layout == DataLayout::Xrdml || layout == DataLayout::Uxd || layout == DataLayout::Asc ||
         layout == DataLayout::Ras || layout == DataLayout::RigakuTxt;
}

bool IsMeasuredLayout(DataLayout layout) {
  switch (layout) {
    case DataLayout::None:
    case DataLayout::Plain:
    case DataLayout::Beartex:
    case DataLayout::Geesthacht: return false;
    default: return true;
  }
}

namespace {

// The layouts that carry their own grid, by content; None for the rest.
// .asc and .ras exports share their keys and differ only in the extension.
DataLayout DetectMeasuredLayout(std::string_view text, const std::string& sourceName) {
  if (LooksLikeXrdml(text)) return DataLayout::Xrdml;
  if (LooksLikeUxd(text)) return DataLayout::Uxd;
  if (LooksLikeKeyText(text)) {
    const std::string upper = ToUpper(sourceName);
    const bool ras = upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".RAS") == 0;
    return ras ? DataLayout::Ras : DataLayout::Asc;
  }
  if (LooksLikeRigakuTxt(text)) return DataLayout::RigakuTxt;
  if (LooksLikeSeifert(text)) return DataLayout::Seifert;
  if (LooksLikeSiemensDump(text)) return DataLayout::SiemensDump;
  if (LooksLikeTexd5(text)) return DataLayout::Texd5;
  if (LooksLikeTexEinzel(text)) return DataLayout::TexEinzel;
  // LaboTex and popLA share .epf: the content decides.
  if (LooksLikeLaboTex(text)) return DataLayout::LaboTex;
  if (LooksLike3dExplore(text)) return DataLayout::Explore3d;
  if (LooksLikeXpertText(text)) return DataLayout::XpertText;
  if (LooksLikeGaddsSlice(text)) return DataLayout::GaddsSlice;
  if (LooksLikeEmse(text)) return DataLayout::Emse;
  if (LooksLikeAachen(text)) return DataLayout::Aachen;
  if (LooksLikeInel(text)) return DataLayout::Inel;
  if (LooksLikeAutex(text)) return DataLayout::Autex;
  if (LooksLikeQueens(text) || HasExtension(sourceName, ".plf")) return DataLayout::Queens;
  if (LooksLikePopla(text)) return DataLayout::Popla;
  if (LooksLikeColumns(text)) return DataLayout::Columns;
  return DataLayout::None;
}

}  // namespace

bool IsHashHeader(std::string_view line, std::string_view firstLine, bool headerIsFirstLine) {
  if (headerIsFirstLine) return line == firstLine;
  return !line.empty() && line.back() == '#';
}

LayoutInfo DetectLayout(const std::string& fileName, MessageSink& sink) {
  const auto text = ReadTextFile(fileName, sink, MissingMessage(fileName));
  return text ? DetectLayoutText(*text, fileName) : LayoutInfo{};
}

LayoutInfo DetectLayoutText(std::string_view text, const std::string& sourceName) {
  LayoutInfo info;
  info.ok = true;
  info.layout = DetectMeasuredLayout(WithoutByteOrderMark(text), sourceName);
  if (info.layout != DataLayout::None) return info;
  LineCursor lines(WithoutByteOrderMark(text));
  std::string_view first;
  lines.Next(first);
  std::string_view sixth;
  lines.Skip(4);
  const bool hasSixth = lines.Next(sixth);
  if (!first.empty() && first.back() == '#') {
    info.layout = DataLayout::Beartex;
  } else if (ToUpper(sourceName).find(".XPO") != std::string::npos) {
    info.layout = DataLayout::Beartex;
    info.headerIsFirstLine = true;
  } else if ((hasSixth && ContainsUpperCased(sixth, "WKO =")) || LooksLikeOlderWkoList(text)) {
    info.layout = DataLayout::Geesthacht;
  } else {
    // Dubna files are plain numbers too: only the name tells them apart.
    info.layout = HasExtension(sourceName, ".cnv") ? DataLayout::Dubna : DataLayout::Plain;
  }
  return info;
}

std::vector<std::string> PickerList(const std::string& fileName, DataLayout layout, MessageSink& sink) {
  const auto text = ReadTextFile(fileName, sink, MissingMessage(fileName));
  return text ? PickerListText(*text, layout, fileName, sink) : std::vector<std::string>{};
}

std::vector<std::string> PickerListText(std::string_view text, DataLayout layout, const std::string& sourceName,
                                        MessageSink& sink) {
  std::vector<std::string> names;
  text = WithoutByteOrderMark(text);
  if (IsMeasuredLayout(layout)) return MeasuredPickerList(text, layout, sourceName, {}, sink).value_or(names);
  LineCursor lines(text);
  std::string_view line;
  if (layout == DataLayout::Beartex) {
    const std::string_view first = FirstLine(text);
    const bool copies = first.empty() || first.back() != '#';  // ".XPO" files
    // A header's name stands 6 lines below it: headers wait here for theirs.
    std::deque<std::pair<std::size_t, std::size_t>> waiting;  // line of the header, index in names
    for (std::size_t i = 0; lines.Next(line); ++i) {
      if (!waiting.empty() && waiting.front().first + 6 == i) {
        names[waiting.front().second] = std::string(Columns(line, 1, 10));
        waiting.pop_front();
      }
      if (IsHashHeader(line, first, copies)) {
        names.emplace_back();
        waiting.emplace_back(i, names.size() - 1);
      }
    }
  } else if (layout == DataLayout::Geesthacht) {
    if (LooksLikeOlderWkoList(text)) {
      const auto file = ReadWkoListText(text, sourceName, sink);
      if (file)
        for (const auto& pf : file->poleFigures) names.push_back(pf.name);
      return names;
    }
    const auto header = ReadWkoHeader(text, sourceName, sink);
    if (!header) return names;
    lines.Skip(4);
    for (int k = 0; k < header->count && lines.Next(line); ++k) {
      names.emplace_back(Columns(line, 1, 9));
      lines.Skip(WkoBlockLength(line, *header) - 1);
    }
  }
  return names;
}

std::optional<std::vector<std::string>> MeasuredPickerList(std::string_view text, DataLayout layout,
                                                           const std::string& sourceName,
                                                           const MeasurementOptions& measurement, MessageSink& sink) {
  const auto file = ReadMeasurementText(WithoutByteOrderMark(text), layout, sourceName, measurement, sink);
  if (!file) return std::nullopt;
  return MeasuredNames(*file);
}

}  // namespace quorix
