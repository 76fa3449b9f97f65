#include "ui/view_commands.h"

#include "ui/contour_dialog.h"
#include "ui/interpolation_dialog.h"
#include "ui/main_window.h"
#include "ui/smoothing_dialog.h"

namespace quorix {

namespace {

// A tool button that stays down while its option is on.
Command Toggle(const QString& name, Command c) {
  c.name = name;
  c.checkable = true;
  return c;
}

Command BarCommand(const QString& text, std::function<void()> run, CommandEnable enable) {
  Command c = MenuCommand(QString(), 0, text, std::move(run), enable);
  c.place = CommandPlace::MenuBar;
  return c;
}

}  // namespace

Commands ViewCommands(MainWindow& m, AppContext&) {
  const QString rotation = "&Rotation";
  Commands c;
  c.push_back(MenuCommand(rotation, 0, "&Rotate Grid", [&m] { m.ShowRotationDialog(); }));
  c.push_back(MenuCommand(rotation, 0, "&Interpolation", [&m] { m.InterpolationDlg().Open(false); }));
  c.push_back(MenuCommand(rotation, 0, "&Smooth Pole Figures", [&m] { m.SmoothingDlg().exec(); }));
  c.push_back(BarCommand(
      "&Contours", [&m] { m.ContourDlg().ShowContours(); }, CommandEnable::Loaded));
  c.push_back(BarCommand(
      "&Options", [&m] { m.ShowOptionsDialog(); }, CommandEnable::Loaded));
  c.push_back(BarCommand(
      "&?", [&m] { m.HelpTutorialClick(); }, CommandEnable::Loaded));
  c.push_back(BarCommand(
      "&About", [&m] { m.ShowAbout(); }, CommandEnable::Always));
  // Where desktop users look for help; enabled before anything is loaded.
  c.push_back(MenuCommand(
      "&Help", 0, "&Manual", [&m] { m.HelpTutorialClick(); }, CommandEnable::Always));
  c.back().shortcuts = {QKeySequence(QKeySequence::HelpContents)};
  c.back().name = "ManualAction";
  c.push_back(MenuCommand(
      "&Help", 0, "&About Quorix", [&m] { m.ShowAbout(); }, CommandEnable::Always));

  const QString view = "&View";
  c.push_back(MenuCommand(view, 0, "&Zoom to Measured Tilts", {}));
  c.back().name = "ZoomAction";
  c.back().checkable = true;
  c.back().run = [&m](bool on) { m.ZoomToMeasuredClick(on); };
  c.push_back(MenuCommand(view, 0, "S&mooth Contour Lines", {}));
  c.back().name = "SmoothLinesAction";
  c.back().checkable = true;
  c.back().run = [&m](bool on) { m.SmoothLinesClick(on); };
  c.push_back(MenuCommand(view, 0, "&One Colour Scale for All Windows", {}));
  c.back().name = "OneScaleAction";
  c.back().checkable = true;
  c.back().run = [&m](bool on) { m.OneScaleClick(on); };

  c.push_back(
      Toggle("FillSpeedButton", ToolCommand(2, "Fill", "Fill areas", [&m](bool on) { m.FillSpeedButtonClick(on); })));
  c.push_back(
      Toggle("GridSpeedButton", ToolCommand(2, "Grid", "Draw grid", [&m](bool on) { m.GridSpeedButtonClick(on); })));
  c.push_back(
      Toggle("mrdSpeedButton", ToolCommand(2, "mrd", "mrd as unit", [&m](bool on) { m.mrdSpeedButtonClick(on); })));
  c.push_back(Toggle("ProjectionSpeedButton", ToolCommand(2, "Proj", "Stereographic or equal area projection",
                                                          [&m](bool on) { m.ProjectionSpeedButtonClick(on); })));
  // The button's width is fixed; the hint says so, since the dialog may hold another.
  c.push_back(ToolCommand(3, "Smooth", "Smooth PF applying current settings\nGaussian smoothing with FWHM 5",
                          [&m](bool) { m.SmoothingDlg().SmoothMain(); }));
  c.back().name = "SmoothSpeedButton";
  c.push_back(ToolCommand(3, "All", "Smooth all PFs applying current settings",
                          [&m](bool) { m.SmoothingDlg().SmoothAllClick(); }));
  c.push_back(Toggle("CursorSpeedButton", ToolCommand(3, "Cursor", "Cursor Shape", [](bool) {})));
  return c;
}

}  // namespace quorix
