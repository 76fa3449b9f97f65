// quorix-cli render: draw one pole figure into a PNG, SVG, PDF, EMF or HPGL file.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "base/text_file.h"
#include "commands.h"
#include "gui_app.h"
#include "options.h"
#include "plot/contour_colors.h"
#include "plot/plot_files.h"
#include "plot/render.h"
#include "qtcanvas/plot_file.h"
#include "settings/settings.h"
#include "transform_io.h"

namespace quorix::cli {
namespace {

struct RenderOptions {
  LoadOptions load;
  std::string out;
  int width = 910;
  int height = 650;
  std::string title;
  bool equalArea = false;
  bool noGrid = false;
  bool triangles = false;
  bool eigen = false;
  bool fill = false;
  std::string rotateAxis;
  std::string rotateList;
  bool triclin = false;
  std::optional<double> plotStretch;
  std::optional<double> textStretch;
  std::string ini;
};

constexpr int kMaxSide = 10000;  // a 400 MB image at most

// "PHI,THETA,OMEGA": one "Add" of that rotation to the identity, as in the rotation dialog.
bool ApplyRotateAxis(const std::string& text, RotationState& r, std::string& error) {
  Mat3 matrix{};
  if (!ParseRotateAxis(text, matrix, error)) return false;
  r.Mode = RotationMode::Matrix;
  r.Matrix = matrix;
  return true;
}

bool ApplyRotateList(const std::string& text, RotationState& r, std::string& error) {
  RotationList list;
  if (!ParseRotateList(text, list, error)) return false;
  r.List = std::move(list);
  r.Mode = r.List.empty() ? RotationMode::None : RotationMode::List;
  return true;
}

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

bool RenderTo(const std::string& kind, const PoleFigure& pf, const ProgramState& state, const RenderOptions& o,
              MessageSink& sink) {
  const int w = o.width, h = o.height;
  if (kind == ".plt") return WriteHpglFile(o.out, pf, state, h, w, o.title, sink, &sink);
  if (kind == ".emf") return WriteEmfFile(o.out, pf, state, h, w, o.title, sink, &sink);

  EnsureGuiApplication();
  PlotFileRequest request;
  request.file = o.out;
  request.width = w;
  request.height = h;
  request.title = o.title;
  return WritePlotFile(pf, state, request, sink, sink);
}

int RunRender(const RenderOptions& o) {
  StderrSink sink;
  const std::string kind = LowerExtension(o.out);
  if (kind != ".plt" && kind != ".png" && kind != ".svg" && kind != ".pdf" && kind != ".emf") {
    sink.Message("Unknown output kind of " + o.out + ": use .plt, .png, .svg, .pdf or .emf");
    return 1;
  }
  if (o.width < 1 || o.height < 1 || o.width > kMaxSide || o.height > kMaxSide) {
    sink.Message("Width and height must lie between 1 and " + std::to_string(kMaxSide));
    return 1;
  }

  ProgramState state;
  state.ContourColor = DefaultContourColors();
  if (!o.ini.empty()) {
    bool readable = false;
    IniFile ini = IniFile::Load(o.ini, sink, &readable);
    if (!readable) {
      sink.Message("File " + o.ini + " does not exist");
      return 1;
    }
    ReadDisplayOptions(ini, state);
    LoadContourColors(ini, state.ContourColor);
  }
  DisplayOptions& opt = state.Options;
  if (o.load.mrd) opt.ShowMrd = true;
  if (o.equalArea) opt.EqualArea = true;
  if (o.noGrid) opt.DrawGrid = false;
  if (o.triangles) opt.DrawTriangles = true;
  if (o.eigen) opt.ShowEigenvalues = true;
  if (o.fill) opt.FillAreas = true;
  if (o.plotStretch) opt.PlotStretch = *o.plotStretch;
  if (o.textStretch) opt.TextStretch = *o.textStretch;

  std::string error;
  if (!o.rotateAxis.empty() && !ApplyRotateAxis(o.rotateAxis, state.Rotation, error)) {
    sink.Message(error);
    return 1;
  }
  if (!o.rotateList.empty() && !ApplyRotateList(o.rotateList, state.Rotation, error)) {
    sink.Message(error);
    return 1;
  }
  state.Rotation.TriclinicSymmetry = o.triclin;

  LoadRequest request = MakeLoadRequest(o.load);
  request.showMrd = opt.ShowMrd;
  DataFileFacts facts;
  const auto pf = LoadPoleFigure(request, sink, facts);
  if (!pf) return LoadFailure(o.load.grid, facts.layout);

  return RenderTo(kind, *pf, state, o, sink) ? 0 : 1;
}

}  // namespace

Command AddRenderCommand(CLI::App& app) {
  auto opts = std::make_shared<RenderOptions>();
  CLI::App* cmd = app.add_subcommand("render", "Draw a pole figure into a .png, .svg, .pdf, .emf or .plt file");
  AddLoadOptions(*cmd, opts->load);
  cmd->add_option("-o,--output", opts->out, "Output file; its extension selects the kind")->required();
  cmd->add_option("--width", opts->width, "Width of the picture in pixels")->capture_default_str();
  cmd->add_option("--height", opts->height, "Height of the picture in pixels")->capture_default_str();
  cmd->add_option("--title", opts->title, "Title written on the file name line");
  cmd->add_flag("--equal-area", opts->equalArea, "Equal-area instead of stereographic projection");
  cmd->add_flag("--no-grid", opts->noGrid, "Do not mark the grid points below the lowest level");
  cmd->add_flag("--triangles", opts->triangles, "Draw the grid triangles");
  cmd->add_flag("--eigen", opts->eigen, "Show eigenvalues and eigenvector marks");
  cmd->add_flag("--fill", opts->fill, "Fill the areas between the contour levels");
  CLI::Option* axis =
      cmd->add_option("--rotate-axis", opts->rotateAxis, "Rotate the display about an axis: PHI,THETA,OMEGA");
  CLI::Option* list = cmd->add_option("--rotate-list", opts->rotateList,
                                      "Rotate the display about coordinate axes in turn, e.g. X:30,Z:-45");
  axis->excludes(list);
  cmd->add_flag("--triclin", opts->triclin, "Drop directions a rotation carries out of the hemisphere");
  cmd->add_option_function<double>(
         "--plot-stretch", [opts](double v) { opts->plotStretch = v; }, "Plotter units per pixel (HPGL)")
      ->check(PositiveFinite());
  cmd->add_option_function<double>(
         "--text-stretch", [opts](double v) { opts->textStretch = v; }, "Character size factor (HPGL)")
      ->check(PositiveFinite());
  cmd->add_option("--ini", opts->ini, "Configuration file with display options and contour colours");
  return {cmd, [opts] { return RunRender(*opts); }};
}

}  // namespace quorix::cli
