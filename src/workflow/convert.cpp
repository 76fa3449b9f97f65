#include "workflow/convert.h"

#include <fmt/format.h>

#include <algorithm>
#include <memory>

#include "base/ini_file.h"
#include "base/nearest.h"
#include "base/text_file.h"
#include "io/data_layout.h"
#include "io/exchange_readers.h"
#include "io/grid_reader.h"
#include "io/load_pole_figure.h"
#include "transform/interpolation.h"
#include "workflow/load_sequence.h"

namespace quorix {
namespace {

std::optional<int> IntegerText(std::string_view s) {
  const auto v = ParseInteger(Trim(s));
  if (!v || *v < -1000000 || *v > 1000000) return std::nullopt;
  return static_cast<int>(*v);
}

struct InputFile {
  DataLayout layout = DataLayout::None;
  bool listed = false;  // a hash or WKO list, with a header to prefill from
  bool multi = false;
  std::vector<std::string> names;
  std::vector<int> indices;
  std::string text;  // read once for the detection, the list, the header and every pole figure
};

std::optional<InputFile> Inspect(const std::string& data, const MeasurementOptions& measurement,
                                 const std::vector<int>& wanted, int maxFigures, MessageSink& sink,
                                 DataFileFacts& facts) {
  InputFile in;
  auto text = ReadTextFile(data, sink, "File " + data + " does not exist");
  if (!text) return std::nullopt;
  in.text = std::move(*text);
  DataFileLayout detected = DetectDataText(in.text, data, measurement, sink);
  in.layout = detected.layout;
  facts.layout = detected.layout;
  if (!detected.ok) return std::nullopt;
  in.names = std::move(detected.names);
  in.listed = in.layout == DataLayout::Beartex || in.layout == DataLayout::Geesthacht;
  // A file with its own grid counts as one of several pole figures when it holds more than one.
  in.multi = in.listed || in.names.size() > 1;
  const int available = in.multi ? static_cast<int>(in.names.size()) : 1;
  in.indices = wanted;
  // Without a choice, the pole figures the windows would show: the first ones, as many as fit.
  const int taken = maxFigures > 0 ? std::min(available, maxFigures) : available;
  if (in.indices.empty())
    for (int k = 1; k <= taken; ++k) in.indices.push_back(k);
  for (int k : in.indices)
    if (k < 1 || k > available) {
      sink.Message(fmt::format("{} holds {} pole figures.", data, available));
      return std::nullopt;
    }
  if (in.indices.empty() || (maxFigures > 0 && in.indices.size() > static_cast<std::size_t>(maxFigures))) {
    sink.Message(fmt::format("Between 1 and {} pole figures can be saved together.", maxFigures));
    return std::nullopt;
  }
  return in;
}

std::unique_ptr<PoleFigure> Load(const SaveAllFileRequest& f, const InputFile& in, int index, MessageSink& sink) {
  LoadRequest request;
  request.dataText = &in.text;
  request.layout = in.layout;
  request.dataFile = f.data;
  request.gridFile = f.grid;
  request.pfIndex = index;
  request.measurement = f.measurement;
  return LoadPoleFigure(request, sink);
}

// The pole figure interpolated onto circles 0..90 of 72 points, the grid of
// a Beartex block, keeping what the file said about it.
std::unique_ptr<PoleFigure> OnFiveDegreeGrid(const PoleFigure& pf) {
  auto target = NewPoleFigure();
  GridDescription grid;
  for (int i = 0; i <= 18; ++i) grid.circles.push_back({5.0 * i, 0.0, 5.0, 72});
  NullSink fixedGrid;  // within every limit
  SetGrid(*target, grid, "", FileRole::Grid, fixedGrid);
  InterpolationOptions options;
  options.zeroNegative = false;  // missing stays missing
  InterpolatePoleFigure(pf, *target, options);
  CopyFileFacts(pf, *target);
  return target;
}

}  // namespace

bool SaveAllFromFile(const SaveAllFileRequest& request, MessageSink& sink) {
  DataFileFacts facts;
  return SaveAllFromFile(request, sink, facts);
}

bool SaveAllFromFile(const SaveAllFileRequest& o, MessageSink& sink, DataFileFacts& facts) {
  SaveAllSettings s;
  s.layout = o.layout;
  const bool geesthacht = s.layout == DataLayout::Geesthacht;
  s.comments = o.comments;
  s.invertTheta = o.invertTheta;
  s.invertPhi = o.invertPhi;

  const auto in = Inspect(o.data, o.measurement, o.indices, o.maxFigures, sink, facts);
  if (!in) return false;
  if (o.hkl.size() > in->indices.size()) {
    sink.Message("More --hkl options than pole figures.");
    return false;
  }
  // What the window takes from the data file's header.
  SaveAllHeader header;
  // The older WKO lists have no lattice or second-reflection lines to take.
  if (in->listed && !LooksLikeOlderWkoList(in->text)) header = ReadSaveAllHeaderText(in->text, in->layout);
  s.symmetry = o.symmetry ? *o.symmetry : SymmetryForLayout(s.layout, header.symmetry.value_or(0), in->layout);
  // Beartex readers refuse code 0; triclinic assumes nothing of the crystal.
  const bool symmetryAssumed = s.layout == DataLayout::Beartex && s.symmetry == 0 && !o.symmetry;
  if (symmetryAssumed) s.symmetry = 1;
  s.lattice =
      o.lattice ? *o.lattice : Lattice{header.a.value_or(0),     header.b.value_or(0),    header.c.value_or(0),
                                       header.alpha.value_or(0), header.beta.value_or(0), header.gamma.value_or(0)};
  if (o.misalignment) {
    if (!(*o.misalignment >= -180 && *o.misalignment <= 180)) {
      sink.Message("The misalignment must be from -180 to 180 degrees.");
      return false;
    }
    s.misalignment = Nearest(*o.misalignment);
  } else if (geesthacht && in->layout == DataLayout::Geesthacht) {
    s.misalignment = Nearest(header.misalignment.value_or(0));
  }
  std::optional<SecondReflection> second;
  if (geesthacht && in->layout == DataLayout::Geesthacht && header.secondReflection) {
    const auto h2 = IntegerText(header.h2), k2 = IntegerText(header.k2), l2 = IntegerText(header.l2);
    if (!h2 || !k2 || !l2 || !header.fac) {
      sink.Message("The second reflection in the header of " + o.data + " is not readable.");
      return false;
    }
    // The window shows the factor with three decimals and writes what it shows.
    second = SecondReflection{*h2, *k2, *l2, ParseNumber(fmt::format("{:.3f}", *header.fac)).value_or(0)};
  }
  if (const auto problem = SaveAllHeaderProblem(s)) {
    sink.Problem({o.output, 0, *problem, Severity::Error, FileRole::Output});
    return false;
  }

  // One pole figure in memory at a time: a list file may hold many.
  std::string body;
  for (std::size_t r = 0; r < in->indices.size(); ++r) {
    auto pf = Load(o, *in, in->indices[r], sink);
    if (!pf) return false;
    if (o.regrid && s.layout == DataLayout::Beartex) pf = OnFiveDegreeGrid(*pf);
    SaveAllRow row;
    row.pf = 1;
    row.second = second;
    if (r < o.hkl.size()) {
      row.h = o.hkl[r][0];
      row.k = o.hkl[r][1];
      row.l = o.hkl[r][2];
    } else {
      // A file of one pole figure may still name its reflection (popLA, XRDML).
      const auto miller = MillerOf(*pf);
      const auto h = miller ? IntegerText(miller->h) : std::nullopt;
      const auto k = miller ? IntegerText(miller->k) : std::nullopt;
      const auto l = miller ? IntegerText(miller->l) : std::nullopt;
      if (h && k && l) {
        row.h = *h;
        row.k = *k;
        row.l = *l;
      } else if (in->multi) {
        sink.Message(fmt::format("Pole figure {} (\"{}\"): no Miller indices in its name; give --hkl H,K,L.",
                                 in->indices[r], pf->NameInFile));
        return false;
      }
    }
    if (const auto problem = SaveAllProblem(*pf, s, row, in->indices[r])) {
      sink.Problem({o.output, 0, *problem, Severity::Error, FileRole::Output});
      return false;
    }
    body += FormatSaveAllBlock(*pf, s, row);
  }
  if (!WriteFileReporting(o.output, FormatSaveAllHead(s, static_cast<int>(in->indices.size())) + body, sink,
                          "Cannot create file " + o.output, "Error writing file " + o.output + "."))
    return false;
  if (symmetryAssumed)
    sink.Message(
        fmt::format("{}: {} gives no Beartex crystal symmetry code; code 1 (triclinic) was assumed. "
                    "--symmetry N gives another.",
                    o.output, o.data));
  return true;
}

std::optional<DataLayout> ConvertTargetNamed(std::string_view name) {
  if (name == "beartex") return DataLayout::Beartex;
  if (name == "geesthacht") return DataLayout::Geesthacht;
  if (name == "popla") return DataLayout::Popla;
  if (name == "xrdml") return DataLayout::Xrdml;
  if (name == "ascii") return DataLayout::Plain;
  return std::nullopt;
}

bool ConvertFile(const ConvertRequest& request, MessageSink& sink) {
  DataFileFacts facts;
  return ConvertFile(request, sink, facts);
}

bool ConvertFile(const ConvertRequest& request, MessageSink& sink, DataFileFacts& facts) {
  const SaveAllFileRequest& f = request.file;
  switch (request.to) {
    case DataLayout::Beartex:
    case DataLayout::Geesthacht:
    case DataLayout::Popla: {
      SaveAllFileRequest r = f;
      r.layout = request.to;
      return SaveAllFromFile(r, sink, facts);
    }
    default: break;
  }
  const auto in = Inspect(f.data, f.measurement, f.indices, 0, sink, facts);
  if (!in) return false;
  if (in->indices.size() != 1) {
    sink.Message(fmt::format("{} holds {} pole figures; an {} file holds one: choose it with --index K.", f.data,
                             in->indices.size(), request.to == DataLayout::Xrdml ? "XRDML" : "ASCII"));
    return false;
  }
  const auto pf = Load(f, *in, in->indices[0], sink);
  if (!pf) return false;
  return WritePoleFigureAs(*pf, request, sink);
}

std::optional<DataLayout> ConvertTargetForFile(std::string_view path) {
  const auto dot = path.rfind('.');
  const std::string ext = dot == std::string_view::npos ? std::string() : ToLower(std::string(path.substr(dot + 1)));
  if (ext == "xpe") return DataLayout::Beartex;
  if (ext == "wko") return DataLayout::Geesthacht;
  if (ext == "epf") return DataLayout::Popla;
  if (ext == "xrdml") return DataLayout::Xrdml;
  return DataLayout::Plain;
}

bool WritePoleFigureAs(const PoleFigure& pf, const ConvertRequest& request, MessageSink& sink) {
  const SaveAllFileRequest& f = request.file;
  if (request.to == DataLayout::Beartex || request.to == DataLayout::Geesthacht || request.to == DataLayout::Popla) {
    std::unique_ptr<PoleFigure> regridded;
    if (f.regrid && request.to == DataLayout::Beartex) regridded = OnFiveDegreeGrid(pf);
    const PoleFigure& written = regridded ? *regridded : pf;
    SaveAllSettings s;
    s.layout = request.to;
    s.comments = f.comments;
    s.invertTheta = f.invertTheta;
    s.invertPhi = f.invertPhi;
    s.symmetry = f.symmetry.value_or(SymmetryForLayout(s.layout, 0, DataLayout::None));
    if (s.layout == DataLayout::Beartex && s.symmetry == 0) s.symmetry = 1;
    if (f.lattice) s.lattice = *f.lattice;
    SaveAllRow row;
    if (!f.hkl.empty()) {
      row.h = f.hkl[0][0];
      row.k = f.hkl[0][1];
      row.l = f.hkl[0][2];
    } else if (const auto miller = MillerOf(written)) {
      row.h = IntegerText(miller->h).value_or(0);
      row.k = IntegerText(miller->k).value_or(0);
      row.l = IntegerText(miller->l).value_or(0);
    }
    auto problem = SaveAllHeaderProblem(s);
    if (!problem) problem = SaveAllProblem(written, s, row, 1);
    if (problem) {
      sink.Problem({f.output, 0, *problem, Severity::Error, FileRole::Output});
      return false;
    }
    return WriteFileReporting(f.output, FormatSaveAllHead(s, 1) + FormatSaveAllBlock(written, s, row), sink,
                              "Cannot create file " + f.output, "Error writing file " + f.output + ".");
  }
  if (request.to == DataLayout::Plain) return WritePFASCII(pf, f.output, request.ascii, sink);
  XrdmlOptions x = request.xrdml;
  if (x.h == 0 && x.k == 0 && x.l == 0 && !f.hkl.empty()) {
    x.h = f.hkl[0][0];
    x.k = f.hkl[0][1];
    x.l = f.hkl[0][2];
  } else if (x.h == 0 && x.k == 0 && x.l == 0) {
    if (const auto miller = MillerOf(pf)) {
      const auto h = IntegerText(miller->h), k = IntegerText(miller->k), l = IntegerText(miller->l);
      if (h && k && l) x = {x.SetNegativeToZero, *h, *k, *l};
    }
  }
  return WritePFXRDML(pf, request.xrdmlTemplate, f.output, x, sink);
}

}  // namespace quorix
