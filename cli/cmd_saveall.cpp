// quorix-cli saveall: several pole figures in one Beartex or Geesthacht file,
// prefilled from the data file the way "Save all formatted" prefills its window.
#include <fmt/format.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/nearest.h"
#include "base/text_file.h"
#include "commands.h"
#include "io/formatted_writer.h"
#include "options.h"

namespace quorix::cli {
namespace {

struct SaveAllCliOptions {
  std::string format;
  std::string data;
  std::string grid;
  std::string out;
  std::string indices;
  std::vector<std::string> comments;
  std::optional<int> symmetry;
  std::string lattice;
  std::vector<std::string> hkl;
  std::optional<double> misalignment;
  bool invertTheta = false;
  bool invertPhi = false;
  MeasurementOptions measurement;
};

std::vector<std::string_view> CommaList(const std::string& s) {
  std::vector<std::string_view> parts;
  std::string_view rest = s;
  while (true) {
    const std::size_t comma = rest.find(',');
    parts.push_back(Trim(rest.substr(0, comma)));
    if (comma == std::string_view::npos) return parts;
    rest.remove_prefix(comma + 1);
  }
}

std::optional<int> IntegerText(std::string_view s) {
  const auto v = ParseInteger(Trim(s));
  if (!v || *v < -1000000 || *v > 1000000) return std::nullopt;
  return static_cast<int>(*v);
}

// The three Miller indices of one row, from "H,K,L" or from the name picked in a multi-pole-figure file.
bool RowIndices(std::string_view h, std::string_view k, std::string_view l, SaveAllRow& row) {
  const auto vh = IntegerText(h), vk = IntegerText(k), vl = IntegerText(l);
  if (!vh || !vk || !vl) return false;
  row.h = *vh;
  row.k = *vk;
  row.l = *vl;
  return true;
}

int RunSaveAll(const SaveAllCliOptions& o) {
  StderrSink sink;
  SaveAllSettings s;
  s.layout = o.format == "geesthacht" ? FormattedLayout::Geesthacht : FormattedLayout::Beartex;
  const bool geesthacht = s.layout == FormattedLayout::Geesthacht;
  s.comments = o.comments;
  s.invertTheta = o.invertTheta;
  s.invertPhi = o.invertPhi;

  const LayoutInfo info = DetectLayout(o.data, sink);
  if (!info.ok) return 1;
  // A file with its own grid counts as one of several pole figures when it holds more than one.
  const bool listed = info.layout == DataLayout::HashList || info.layout == DataLayout::WkoList;
  std::vector<std::string> names;
  if (listed || IsMeasuredLayout(info.layout)) names = PickerList(o.data, info.layout, sink);
  const bool multi = listed || names.size() > 1;

  std::vector<int> indices;
  if (!o.indices.empty()) {
    for (std::string_view part : CommaList(o.indices)) {
      const auto k = IntegerText(part);
      if (!k || *k < 1) {
        sink.Message("--index needs pole figure numbers from 1, like 1,2,3.");
        return 1;
      }
      indices.push_back(*k);
    }
  } else {
    const int count = multi ? static_cast<int>(std::min<std::size_t>(names.size(), kSlotCount)) : 1;
    for (int k = 1; k <= count; ++k) indices.push_back(k);
  }
  if (indices.empty() || indices.size() > static_cast<std::size_t>(kSlotCount)) {
    sink.Message(fmt::format("Between 1 and {} pole figures can be saved together.", kSlotCount));
    return 1;
  }
  if (o.hkl.size() > indices.size()) {
    sink.Message("More --hkl options than pole figures.");
    return 1;
  }

  // What the window takes from the data file's header.
  SaveAllHeader header;
  if (listed) {
    const auto h = ReadSaveAllHeader(o.data, info.layout, sink);
    if (!h) return 1;
    header = *h;
  }
  s.symmetry = o.symmetry ? *o.symmetry : SymmetryForLayout(s.layout, header.symmetry.value_or(0), info.layout);
  if (s.symmetry < 0 || s.symmetry > MaxSymmetry(s.layout)) {
    sink.Message(fmt::format("The symmetry code must be from 0 to {}.", MaxSymmetry(s.layout)));
    return 1;
  }
  if (!o.lattice.empty()) {
    const auto parts = CommaList(o.lattice);
    std::vector<double> v;
    for (std::string_view part : parts)
      if (const auto x = ParseNumber(part)) v.push_back(*x);
    if (parts.size() != 6 || v.size() != 6) {
      sink.Message("--lattice needs six numbers A,B,C,ALPHA,BETA,GAMMA.");
      return 1;
    }
    s.lattice = {v[0], v[1], v[2], v[3], v[4], v[5]};
  } else {
    s.lattice = {header.a.value_or(0),     header.b.value_or(0),    header.c.value_or(0),
                 header.alpha.value_or(0), header.beta.value_or(0), header.gamma.value_or(0)};
  }
  if (o.misalignment) {
    if (*o.misalignment < -180 || *o.misalignment > 180) {
      sink.Message("The misalignment must be from -180 to 180 degrees.");
      return 1;
    }
    s.misalignment = Nearest(*o.misalignment);
  } else if (geesthacht && info.layout == DataLayout::WkoList) {
    s.misalignment = Nearest(header.misalignment.value_or(0));
  }
  std::optional<SecondReflection> second;
  if (geesthacht && info.layout == DataLayout::WkoList && header.secondReflection) {
    SecondReflection r;
    const auto h2 = IntegerText(header.h2), k2 = IntegerText(header.k2), l2 = IntegerText(header.l2);
    if (!h2 || !k2 || !l2 || !header.fac) {
      sink.Message("The second reflection in the header of " + o.data + " is not readable.");
      return 1;
    }
    // The window shows the factor with three decimals and writes what it shows.
    r = {*h2, *k2, *l2, ParseNumber(fmt::format("{:.3f}", *header.fac)).value_or(0)};
    second = r;
  }

  std::vector<std::unique_ptr<TPoleFigure>> loaded;
  PoleFigureSlots figures{};
  for (std::size_t r = 0; r < indices.size(); ++r) {
    LoadRequest request;
    request.dataFile = o.data;
    request.gridFile = o.grid;
    request.pfIndex = indices[r];
    request.measurement = o.measurement;
    if (multi && indices[r] > static_cast<int>(names.size())) {
      sink.Message(fmt::format("{} holds {} pole figures.", o.data, names.size()));
      return 1;
    }
    DataFileFacts facts;
    auto pf = LoadPoleFigure(request, sink, facts);
    if (!pf) return LoadFailure(o.grid, facts.layout);
    SaveAllRow row;
    row.pf = static_cast<int>(r) + 1;
    row.second = second;
    if (r < o.hkl.size()) {
      const auto parts = CommaList(o.hkl[r]);
      if (parts.size() != 3 || !RowIndices(parts[0], parts[1], parts[2], row)) {
        sink.Message("--hkl needs three integers H,K,L.");
        return 1;
      }
    } else if (multi) {
      const auto miller = MillerOf(*pf);
      if (!miller || !RowIndices(miller->h, miller->k, miller->l, row)) {
        sink.Message(fmt::format("Pole figure {} (\"{}\"): no Miller indices in its name; give --hkl H,K,L.",
                                 indices[r], pf->NameInFile));
        return 1;
      }
    }
    figures[row.pf] = pf.get();
    loaded.push_back(std::move(pf));
    s.rows.push_back(row);
  }
  return WriteSaveAll(o.out, s, figures, sink) ? 0 : 1;
}

}  // namespace

Command AddSaveAllCommand(CLI::App& app) {
  auto opts = std::make_shared<SaveAllCliOptions>();
  CLI::App* cmd = app.add_subcommand("saveall", "Write several pole figures into one Beartex or Geesthacht file");
  cmd->add_option("FORMAT", opts->format, "beartex or geesthacht")
      ->required()
      ->check(CLI::IsMember({"beartex", "geesthacht"}));
  cmd->add_option("DATA", opts->data, "Pole figure data file")->required();
  cmd->add_option("GRID", opts->grid, kGridHelp);
  AddTiltOptions(*cmd, opts->measurement);
  cmd->add_option("-o,--output", opts->out, "Output file")->required();
  cmd->add_option("--index", opts->indices,
                  "Pole figures of a multi-pole-figure file, like 1,2,3 (default: all, at most 8)");
  cmd->add_option("--comment", opts->comments, "A comment line (repeat for more)");
  cmd->add_option("--symmetry", opts->symmetry, "Symmetry code of the format");
  cmd->add_option("--lattice", opts->lattice, "Lattice A,B,C,ALPHA,BETA,GAMMA");
  cmd->add_option("--hkl", opts->hkl, "Miller indices H,K,L of each pole figure in turn (repeat)");
  cmd->add_option("--misalignment", opts->misalignment, "Misalignment of the rolling direction, degrees (Geesthacht)");
  cmd->add_flag("--invert-theta", opts->invertTheta, "90 - theta");
  cmd->add_flag("--invert-phi", opts->invertPhi, "360 - phi");
  return {cmd, [opts] { return RunSaveAll(*opts); }};
}

}  // namespace quorix::cli
