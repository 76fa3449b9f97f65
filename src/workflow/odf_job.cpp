// Loading pole figures for the ODF and writing its results.
#include "workflow/odf_job.h"

#include <fmt/format.h>

#include <cmath>
#include <map>

#include "base/safe_write.h"
#include "base/text_file.h"
#include "io/load_pole_figure.h"
#include "record/prepare.h"
#include "record/statistics.h"
#include "workflow/convert.h"
#include "workflow/load_sequence.h"

namespace quorix {
namespace {

OdfFileFacts FactsOfText(std::string_view text, DataLayout layout) {
  OdfFileFacts facts;
  if (layout != DataLayout::Beartex && layout != DataLayout::Geesthacht) return facts;
  const SaveAllHeader h = ReadSaveAllHeaderText(text, layout);
  if (h.symmetry)
    facts.crystal = LaueGroupOfBeartexCode(layout == DataLayout::Geesthacht ? GeesthachtToBeartexSymmetry(*h.symmetry)
                                                                            : *h.symmetry);
  if (h.a && h.b && h.c && h.gamma) {
    const Lattice l{*h.a, *h.b, *h.c, h.alpha.value_or(90), h.beta.value_or(90), *h.gamma};
    if (!LatticeProblem(l)) facts.lattice = l;
  }
  if (layout == DataLayout::Geesthacht)
    for (const std::string& line : SplitLines(text))
      if (line.rfind("SUP =", 0) == 0) facts.supLines.push_back(line);
  return facts;
}

struct OdfSourceFile {
  std::string data;
  OdfFileFacts facts;
  std::vector<std::unique_ptr<PoleFigure>> figures;
  std::vector<int> indices;
};

std::optional<OdfSourceFile> LoadFile(const OdfInputFile& in, const OdfJobRequest& request, MessageSink& sink) {
  OdfSourceFile f;
  f.data = in.data;
  const auto text = ReadTextFile(in.data, sink, "File " + in.data + " does not exist");
  if (!text) return std::nullopt;
  const DataFileLayout detected = DetectDataText(*text, in.data, request.measurement, sink);
  if (!detected.ok) return std::nullopt;
  const bool listed = detected.layout == DataLayout::Beartex || detected.layout == DataLayout::Geesthacht;
  const int available = listed || detected.names.size() > 1 ? static_cast<int>(detected.names.size()) : 1;
  f.indices = in.indices;
  if (f.indices.empty())
    for (int k = 1; k <= available; ++k) f.indices.push_back(k);
  for (int k : f.indices)
    if (k < 1 || k > available) {
      sink.Message(fmt::format("{} holds {} pole figures, not {}.", in.data, available, k));
      return std::nullopt;
    }
  f.facts = FactsOfText(*text, detected.layout);
  for (int k : f.indices) {
    LoadRequest r;
    r.dataText = &*text;
    r.layout = detected.layout;
    r.dataFile = in.data;
    r.gridFile = request.grid;
    r.pfIndex = k;
    r.measurement = request.measurement;
    auto pf = LoadPoleFigure(r, sink);
    if (!pf) return std::nullopt;
    f.figures.push_back(std::move(pf));
  }
  return f;
}

std::optional<LaueGroup> CrystalOf(const OdfJobRequest& request, const std::optional<LaueGroup>& fromFile,
                                   MessageSink& sink) {
  if (!request.crystal.empty()) {
    const auto g = LaueGroupNamed(request.crystal);
    if (!g)
      sink.Message(
          fmt::format("Unknown crystal symmetry \"{}\": one of triclinic, monoclinic, orthorhombic, "
                      "tetragonal-low, tetragonal, trigonal-low, trigonal, hexagonal-low, hexagonal, "
                      "cubic-low, cubic or their symbols (-1, 2/m, mmm, 4/m, 4/mmm, -3, -3m, 6/m, 6/mmm, "
                      "m-3, m-3m).",
                      request.crystal));
    return g;
  }
  if (fromFile) return fromFile;
  sink.Message("The crystal symmetry is not known: give --crystal NAME (cubic, hexagonal, m-3m, ...).");
  return std::nullopt;
}

std::optional<std::array<int, 3>> MillerOfRecord(const PoleFigure& pf, std::string text, LaueGroup group,
                                                 const std::string& source, MessageSink& sink) {
  if (Trim(text).empty()) text = HklTextOf(pf);
  if (Trim(text).empty()) {
    sink.Message(fmt::format("{}: the pole figure names no Miller indices (hkl).", source));
    return std::nullopt;
  }
  std::string error;
  const auto hkl = ParseMiller(text, group, error);
  if (!hkl) sink.Message(fmt::format("{}: {}", source, error));
  return hkl;
}

// One pole figure on its way into the estimate.
struct PendingFigure {
  std::string source;
  std::unique_ptr<PoleFigure> record;
  std::string hkl;      // as typed; empty: the record's
  std::string supLine;  // its block's "SUP =" line, if any
};

PoleFigureInput InputOf(const PoleFigure& pf) {
  PoleFigureInput in;
  for (int i = 1; i <= pf.CircleCount; ++i) {
    const int n = pf.CirclePoints[i];
    const double step = n > 1 ? std::abs(pf.BetaStep[i]) : 360.0;
    const double da = pf.CircleCount > 1
                          ? std::abs(pf.Alpha[std::min(i + 1, pf.CircleCount)] - pf.Alpha[std::max(i - 1, 1)]) /
                                (i == 1 || i == pf.CircleCount ? 1.0 : 2.0)
                          : 5.0;
    for (int k = 1; k <= n; ++k) {
      const double beta = BetaOf(pf, i, k);
      // A closing point repeats the first of a full turn.
      if (k > 1 && std::abs(beta - BetaOf(pf, i, 1)) >= 360 - 1e-6) continue;
      const double v = pf.Intensity[i][k];
      if (v < 0 || !std::isfinite(v)) continue;
      in.directions.push_back(DirectionToVector(pf.Alpha[i], beta));
      in.values.push_back(v);
      in.area.push_back(std::max(std::sin(DegToRad(pf.Alpha[i])), std::sin(DegToRad(da / 4))) * DegToRad(step));
    }
  }
  return in;
}

// The pole figures of the request with what their files say.
struct GatheredFigures {
  std::vector<PendingFigure> figures;
  std::optional<LaueGroup> crystal;  // the first file's
  std::optional<Lattice> lattice;    // the first file's that gives one
};

std::optional<GatheredFigures> GatherFigures(const OdfJobRequest& request, MessageSink& sink) {
  GatheredFigures g;
  if (!request.loaded.empty()) {
    std::map<std::string, OdfFileFacts> factsOf;
    for (const OdfLoadedFigure& l : request.loaded) {
      if (l.record == nullptr) continue;
      auto [it, fresh] = factsOf.try_emplace(l.record->FileName);
      if (fresh && !l.record->FileName.empty()) it->second = ReadOdfFileFacts(l.record->FileName);
      const OdfFileFacts& facts = it->second;
      if (g.figures.empty()) g.crystal = facts.crystal;
      if (!g.lattice) g.lattice = facts.lattice;
      PendingFigure p;
      p.source = !l.source.empty()           ? l.source
                 : l.record->IndexInFile > 0 ? fmt::format("{}:{}", l.record->FileName, l.record->IndexInFile)
                                             : l.record->FileName;
      p.record = std::make_unique<PoleFigure>(*l.record);
      p.hkl = l.hkl;
      const auto block = static_cast<std::size_t>(std::max(l.record->IndexInFile - 1, 0));
      if (block < facts.supLines.size()) p.supLine = facts.supLines[block];
      g.figures.push_back(std::move(p));
    }
    return g;
  }
  for (const OdfInputFile& in : request.files) {
    auto f = LoadFile(in, request, sink);
    if (!f) return std::nullopt;
    if (g.figures.empty()) g.crystal = f->facts.crystal;
    if (!g.lattice) g.lattice = f->facts.lattice;
    for (std::size_t k = 0; k < f->figures.size(); ++k) {
      PendingFigure p;
      p.source = fmt::format("{}:{}", f->data, f->indices[k]);
      p.record = std::move(f->figures[k]);
      const auto block = static_cast<std::size_t>(f->indices[k] - 1);
      if (block < f->facts.supLines.size()) p.supLine = f->facts.supLines[block];
      g.figures.push_back(std::move(p));
    }
  }
  return g;
}

// The estimate's input of one pole figure; its hkl and record go into `fig`.
std::optional<PoleFigureInput> InputFor(PendingFigure& p, LaueGroup crystal, const Lattice& lattice, OdfJobFigure& fig,
                                        MessageSink& sink) {
  const auto hkl = MillerOfRecord(*p.record, p.hkl, crystal, fig.source, sink);
  if (!hkl) return std::nullopt;
  fig.hkl = *hkl;
  PoleFigureInput in = InputOf(*p.record);
  in.name = fig.source;
  in.reflections.push_back(Reflection{PlaneNormal(*hkl, lattice), 1});
  if (!p.supLine.empty()) {
    // A superposed second reflection with its factor, as the block's "SUP =" line gives it.
    const std::vector<std::string> lines{"", "", "", "", "", "", p.supLine};
    const SaveAllHeader sup = ParseSaveAllHeader(lines, DataLayout::Geesthacht);
    if (sup.secondReflection && sup.fac && *sup.fac > 0) {
      std::string error;
      const auto second = ParseMiller(sup.h2 + " " + sup.k2 + " " + sup.l2, crystal, error);
      if (!second) {
        sink.Message(fmt::format("{}: the second reflection of its \"SUP =\" line: {}", fig.source, error));
        return std::nullopt;
      }
      in.reflections.push_back(Reflection{PlaneNormal(*second, lattice), *sup.fac});
    }
  }
  fig.record = std::move(p.record);
  return in;
}

std::optional<Lattice> LatticeOf(const OdfJobRequest& request, LaueGroup crystal,
                                 const std::optional<Lattice>& fromFile, MessageSink& sink) {
  if (!request.lattice.empty()) {
    std::string error;
    const auto l = ParseLattice(request.lattice, error);
    if (!l) sink.Message(error);
    return l;
  }
  if (IsCubic(crystal)) return CubicLattice();
  if (!fromFile)
    sink.Message(
        fmt::format("A {} crystal needs its lattice: give --lattice a,b,c,alpha,beta,gamma.", LaueGroupName(crystal)));
  return fromFile;
}

}  // namespace

std::string HklTextOf(const PoleFigure& pf) {
  if (!Trim(pf.Hkl).empty()) return pf.Hkl;
  const auto words = SplitWhitespace(pf.NameInFile);
  if (words.size() > 1) {
    const std::string_view last = words.back();
    if (last.size() >= 3 && last.find_first_not_of("0123456789-") == std::string_view::npos) return std::string(last);
  }
  if (const auto m = MillerOf(pf)) return m->h + " " + m->k + " " + m->l;
  return {};
}

OdfFileFacts ReadOdfFileFacts(const std::string& fileName) {
  NullSink quiet;
  const auto text = ReadTextFile(fileName, quiet, "");
  if (!text) return {};
  const DataFileLayout detected = DetectDataText(*text, fileName, MeasurementOptions{}, quiet);
  if (!detected.ok) return {};
  return FactsOfText(*text, detected.layout);
}

std::optional<std::array<int, 3>> ParseHklFor(const std::string& text, const Odf& odf, MessageSink& sink) {
  std::string error;
  const auto hkl = ParseMiller(text, odf.grid.crystal, error);
  if (!hkl) sink.Message(error);
  return hkl;
}

std::optional<OdfJobResult> RunOdfJob(const OdfJobRequest& request, MessageSink& sink) {
  const auto sample = SampleSymmetryNamed(request.sample);
  if (!sample) {
    sink.Message(fmt::format("Unknown sample symmetry \"{}\": triclinic, monoclinic or orthorhombic.", request.sample));
    return std::nullopt;
  }
  if (!(request.spread > 0 && request.spread <= 180)) {
    sink.Message(fmt::format("The spread must lie between 0 and 180 degrees, not {}.", request.spread));
    return std::nullopt;
  }
  OdfJobResult result;
  if (!request.fromOdf.empty()) {
    const auto text = ReadTextFile(request.fromOdf, sink, "File " + request.fromOdf + " does not exist");
    if (!text) return std::nullopt;
    auto odf = ParseOdfFile(*text, request.fromOdf, sink);
    if (!odf) return std::nullopt;
    result.odf = std::move(*odf);
  } else {
    if (request.files.empty() && request.loaded.empty()) {
      sink.Message("No pole figure files: give at least one, or --from-odf FILE.");
      return std::nullopt;
    }
    auto gathered = GatherFigures(request, sink);
    if (!gathered) return std::nullopt;
    const auto crystal = CrystalOf(request, gathered->crystal, sink);
    if (!crystal) return std::nullopt;
    const auto lattice = LatticeOf(request, *crystal, gathered->lattice, sink);
    if (!lattice) return std::nullopt;
    std::string error;
    const auto grid = MakeOdfGrid(*crystal, *sample, request.resolution, error);
    if (!grid) {
      sink.Message(error);
      return std::nullopt;
    }
    std::vector<PoleFigureInput> inputs;
    for (PendingFigure& p : gathered->figures) {
      OdfJobFigure fig;
      fig.source = p.source;
      auto in = InputFor(p, *crystal, *lattice, fig, sink);
      if (!in) return std::nullopt;
      inputs.push_back(std::move(*in));
      result.figures.push_back(std::move(fig));
    }
    auto estimate = EstimateOdf(inputs, *grid, request.estimate, sink);
    if (!estimate) return std::nullopt;
    result.odf = std::move(estimate->odf);
    result.odf.lattice = *lattice;
    result.iterations = estimate->iterations;
    for (std::size_t k = 0; k < result.figures.size(); ++k) result.figures[k].fit = std::move(estimate->fits[k]);
  }
  result.textureIndex = TextureIndex(result.odf);
  result.entropy = Entropy(result.odf);
  std::vector<Component> components = NamedComponents(result.odf.grid.crystal);
  for (const Component& c : request.extraComponents) components.push_back(c);
  for (const Component& c : components)
    result.fractions.emplace_back(c.name, VolumeFraction(result.odf, c.ideal, request.spread));
  return result;
}

std::unique_ptr<PoleFigure> RecalculatedRecord(const Odf& odf, const std::array<int, 3>& hkl) {
  auto pf = NewPoleFigure();
  NullSink fixedGrid;  // within every limit
  SetGrid(*pf, FiveDegreeGrid(), "", FileRole::Grid, fixedGrid);
  std::vector<Vec3> directions;
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int k = 1; k <= pf->CirclePoints[i]; ++k)
      directions.push_back(DirectionToVector(pf->Alpha[i], BetaOf(*pf, i, k)));
  const std::vector<double> p = RecalculatePoleFigure(odf, {Reflection{PlaneNormal(hkl, odf.lattice), 1}}, directions);
  std::size_t n = 0;
  for (int i = 1; i <= pf->CircleCount; ++i)
    for (int k = 1; k <= pf->CirclePoints[i]; ++k) pf->Intensity[i][k] = p[n++];
  pf->Hkl = fmt::format("{} {} {}", hkl[0], hkl[1], hkl[2]);
  // The levels and the legend of a window start from the extremes.
  UpdateExtremes(*pf);
  PreparePoleFigure(*pf, true);
  return pf;
}

bool WriteRecalculated(const std::string& fileName, std::optional<DataLayout> layout, const Odf& odf,
                       const std::vector<std::array<int, 3>>& hkls, MessageSink& sink) {
  ConvertRequest request;
  request.to = layout ? *layout : ConvertTargetForFile(fileName);
  std::vector<std::unique_ptr<PoleFigure>> records;
  std::vector<const PoleFigure*> written;
  for (const auto& hkl : hkls) {
    records.push_back(RecalculatedRecord(odf, hkl));
    written.push_back(records.back().get());
  }
  request.file.output = fileName;
  request.file.hkl = hkls;
  request.file.comments = {"Recalculated from the ODF (m.r.d.)", "", "", "", ""};
  static constexpr int kBeartexCode[] = {1, 2, 3, 4, 5, 8, 9, 10, 11, 6, 7};
  const int code = kBeartexCode[static_cast<int>(odf.grid.crystal)];
  request.file.symmetry = request.to == DataLayout::Geesthacht ? BeartexToGeesthachtSymmetry(code) : code;
  request.file.lattice = odf.lattice;
  return WritePoleFigures(request, written, sink);
}

bool WriteInversePoleFigures(const std::string& fileName, const Odf& odf, MessageSink& sink) {
  std::string out = fmt::format("% inverse pole figures, {} crystal, m.r.d.; alpha from c* (z), beta from a (x)\n",
                                LaueGroupName(odf.grid.crystal));
  const std::pair<const char*, Vec3> axes[] = {{"RD", {1, 0, 0}}, {"TD", {0, 1, 0}}, {"ND", {0, 0, 1}}};
  for (const auto& [name, axis] : axes) {
    const AngleGrid g = InversePoleFigure(odf, axis, 5);
    out += fmt::format("% sample direction {}\n% alpha beta value\n", name);
    for (std::size_t i = 0; i < g.rowAngle.size(); ++i)
      for (std::size_t j = 0; j < g.columnAngle.size(); ++j)
        out += fmt::format("{:g} {:g} {:.4f}\n", g.rowAngle[i], g.columnAngle[j], g.At(i, j));
  }
  return WriteFileReporting(fileName, out, sink, "Cannot create file " + fileName,
                            "Error writing file " + fileName + ".");
}

bool WriteOdf(const std::string& fileName, const Odf& odf, MessageSink& sink) {
  return WriteFileReporting(fileName, FormatOdfFile(odf), sink, "Cannot create file " + fileName,
                            "Error writing file " + fileName + ".");
}

}  // namespace quorix
