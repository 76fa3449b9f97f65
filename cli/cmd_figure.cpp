// quorix-cli figure: pole figures, inverse pole figures or ODF sections on one
// colour scale, for publication.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "base/text_file.h"
#include "commands.h"
#include "gui_app.h"
#include "io/grid_reader.h"
#include "options.h"
#include "plot/contour_colors.h"
#include "plot/contours.h"
#include "plot/figure.h"
#include "qtcanvas/figure_file.h"
#include "settings/settings.h"
#include "workflow/figure_panels.h"

namespace quorix::cli {
namespace {

struct FigureCliOptions {
  std::vector<std::string> inputs;  // DATA... [GRID]
  std::string indices;
  std::string out;
  std::string layout;
  std::string levels;
  bool log = false;
  bool perPanel = false;
  std::string style = "filled";
  std::string colormap = "viridis";
  std::string projection = "stereographic";
  double width = 170;
  double font = 8;
  int dpi = 300;
  std::string title;
  bool lineLabels = false;
  bool noExtremes = false;
  bool ipf = false;
  bool sections = false;
  double sectionStep = 15;
  std::string fromOdf;
  MeasurementOptions measurement;
};

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> out(1);
  for (char ch : text) {
    if (ch == ',')
      out.emplace_back();
    else
      out.back() += ch;
  }
  return out;
}

std::optional<std::vector<int>> ParseIndices(const std::string& text, MessageSink& sink) {
  std::vector<int> out;
  if (Trim(text).empty()) return out;
  for (const auto& part : SplitCommas(text)) {
    const auto v = ParseInteger(Trim(part));
    if (!v || *v < 1 || *v > 100000) {
      sink.Message("--index: \"" + std::string(Trim(part)) + "\" is not a pole figure number from 1");
      return std::nullopt;
    }
    out.push_back(static_cast<int>(*v));
  }
  return out;
}

bool ParseLayout(const std::string& text, FigureOptions& o, MessageSink& sink) {
  if (text.empty()) return true;
  const auto x = text.find_first_of("xX");
  const auto r = x == std::string::npos ? std::nullopt : ParseInteger(Trim(text.substr(0, x)));
  const auto c = x == std::string::npos ? std::nullopt : ParseInteger(Trim(text.substr(x + 1)));
  if (!r || !c || *r < 1 || *c < 1 || *r > 50 || *c > 50) {
    sink.Message("--layout: \"" + text + "\" is not ROWSxCOLUMNS, e.g. 1x3");
    return false;
  }
  o.rows = static_cast<int>(*r);
  o.columns = static_cast<int>(*c);
  return true;
}

bool ParseLevels(const std::string& text, FigureOptions& o, MessageSink& sink) {
  if (Trim(text).empty()) return true;
  for (const auto& part : SplitCommas(text)) {
    const auto v = ParseNumber(Trim(part));
    if (!v || !std::isfinite(*v)) {
      sink.Message("--levels: \"" + std::string(Trim(part)) + "\" is not a number");
      return false;
    }
    o.levels.push_back(*v);
  }
  return true;
}

bool ParseColorMap(const std::string& name, FigureOptions& o, MessageSink& sink) {
  if (auto m = NamedColorMap(name)) {
    o.colorMap = *m;
    return true;
  }
  // Otherwise a colour-set file of the program.
  bool readable = false;
  IniFile ini = IniFile::Load(name, sink, &readable);
  ContourColorTable table{};
  const int count = readable ? LoadColorSet(ini, table) : 0;
  if (count <= 0) {
    sink.Message("--colormap: \"" + name + "\" is neither viridis, white-red, grey nor a readable colour-set file");
    return false;
  }
  std::vector<Color> colors;
  for (int k = 1; k <= count; ++k) colors.push_back(DrawColor(table[static_cast<std::size_t>(k)]));
  o.colorMap = ColorMapFromSet(colors);
  return true;
}

int RunFigure(const FigureCliOptions& c) {
  StderrSink sink;
  FigureOptions o;
  if (!IsFigureFileKind(c.out)) {
    sink.Message("Unknown output kind of " + c.out + ": use .png, .svg, .pdf or .emf");
    return 1;
  }
  if (!ParseLayout(c.layout, o, sink) || !ParseLevels(c.levels, o, sink) || !ParseColorMap(c.colormap, o, sink))
    return 2;
  o.logLevels = c.log;
  o.sharedScale = !c.perPanel;
  o.style = c.style == "smooth" ? FigureStyle::Smooth : c.style == "lines" ? FigureStyle::Lines : FigureStyle::Filled;
  o.equalArea = c.projection == "equal-area";
  o.widthMm = c.width;
  o.fontPt = c.font;
  o.title = c.title;
  o.lineLabels = c.lineLabels;
  o.markExtremes = !c.noExtremes;

  std::vector<FigurePanel> panels;
  std::vector<std::unique_ptr<PoleFigure>> records;
  if (!c.fromOdf.empty()) {
    const auto odf = ReadOdfForFigure(c.fromOdf, sink);
    if (!odf) return 1;
    if (c.ipf || !c.sections)
      for (auto& p : InversePoleFigurePanels(*odf)) panels.push_back(std::move(p));
    if (c.sections)
      for (auto& p : SectionPanels(*odf, c.sectionStep)) panels.push_back(std::move(p));
  } else if (c.ipf || c.sections) {
    sink.Message("figure: --ipf and --sections need --from-odf FILE");
    return 2;
  } else {
    std::vector<std::string> data = c.inputs;
    std::string grid;
    if (data.size() >= 2 && HasGridFileExtension(data.back())) {
      grid = data.back();
      data.pop_back();
    }
    if (data.empty()) {
      sink.Message("figure: give at least one data file, or --from-odf FILE");
      return 2;
    }
    const auto indices = ParseIndices(c.indices, sink);
    if (!indices) return 2;
    for (const std::string& file : data) {
      std::vector<int> wanted = *indices;
      for (std::size_t k = 0; k == 0 || k < wanted.size(); ++k) {
        LoadRequest r;
        r.dataFile = file;
        r.gridFile = grid;
        r.pfIndex = wanted.empty() ? 1 : wanted[k];
        r.showMrd = true;
        r.measurement = c.measurement;
        DataFileFacts facts;
        auto pf = LoadPoleFigure(r, sink, facts);
        if (!pf) return LoadFailure(grid, facts.layout);
        // Without --index, every pole figure of the file.
        if (wanted.empty())
          for (int i = 1; i <= static_cast<int>(std::max<std::size_t>(1, facts.names.size())); ++i) wanted.push_back(i);
        records.push_back(std::move(pf));
      }
    }
    for (const auto& pf : records) panels.push_back(FigurePanel{HklTitle(*pf), pf.get(), {}});
  }
  EnsureGuiApplication();
  return WriteFigureFile(panels, o, FigureFileRequest{c.out, c.dpi}, sink) ? 0 : 1;
}

}  // namespace

Command AddFigureCommand(CLI::App& app) {
  auto o = std::make_shared<FigureCliOptions>();
  CLI::App* cmd = app.add_subcommand(
      "figure", "Pole figures, inverse pole figures or ODF sections on one colour scale, for publication");
  cmd->add_option("DATA", o->inputs, "Pole figure data files, then the grid file where the layout needs one");
  cmd->add_option("--index", o->indices, "Pole figures of each file, e.g. 1,2,3 (from 1; default: all)");
  cmd->add_option("-o,--output", o->out, "Output file: .svg, .pdf, .png or .emf")->required();
  cmd->add_option("--layout", o->layout, "Rows x columns, e.g. 1x3 (default: automatic)");
  CLI::Option* levels = cmd->add_option("--levels", o->levels, "Contour levels in m.r.d., e.g. 0.5,1,2,4,8");
  cmd->add_flag("--log", o->log, "Automatic levels doubling from one to the next")->excludes(levels);
  cmd->add_flag("--per-figure-scale", o->perPanel, "A colour scale for each panel instead of one for all");
  cmd->add_option("--style", o->style, "filled, smooth or lines")
      ->check(CLI::IsMember({"filled", "smooth", "lines"}))
      ->capture_default_str();
  cmd->add_option("--colormap", o->colormap, "viridis, white-red, grey, or a colour-set file")->capture_default_str();
  cmd->add_option("--projection", o->projection, "stereographic or equal-area")
      ->check(CLI::IsMember({"stereographic", "equal-area"}))
      ->capture_default_str();
  cmd->add_option("--width", o->width, "Width of the figure in mm (85 single column, 170 double)")
      ->check(CLI::Range(20.0, 2000.0))
      ->capture_default_str();
  cmd->add_option("--font", o->font, "Font size in pt")->check(CLI::Range(3.0, 72.0))->capture_default_str();
  cmd->add_option("--dpi", o->dpi, "Resolution of a PNG, and of smooth colour in vector files")
      ->check(CLI::Range(10, 2400))
      ->capture_default_str();
  cmd->add_option("--title", o->title, "Title above the figure");
  cmd->add_flag("--line-labels", o->lineLabels, "Write the level on the contour lines");
  cmd->add_flag("--no-extremes", o->noExtremes, "Leave out the maximum and minimum marks");
  cmd->add_option("--from-odf", o->fromOdf, "Draw from an ODF file: inverse pole figures and/or sections");
  cmd->add_flag("--ipf", o->ipf, "Inverse pole figures of RD, TD and ND (with --from-odf)");
  cmd->add_flag("--sections", o->sections, "Sections phi2 = const (with --from-odf)");
  cmd->add_option("--section-step", o->sectionStep, "Degrees between the sections")
      ->check(CLI::Range(1.0, 90.0))
      ->capture_default_str();
  AddTiltOptions(*cmd, o->measurement);
  return {cmd, [o] { return RunFigure(*o); }};
}

}  // namespace quorix::cli
