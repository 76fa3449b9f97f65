// The main window " Quorix": menus, tool bar, the plot of PF[1], window sizes
// and the keyboard navigation through series of files.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "ui/app_context.h"
#include "ui/command.h"
#include "workflow/file_series.h"
#include "workflow/load_sequence.h"
#include "workflow/window_geometry.h"

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class QUndoStack;

namespace quorix {

class PlotView;
class LoadFilesDialog;
class PoleFigurePicker;
class PlotWindow;
class AboutDialog;
class ContourDialog;
class OptionsDialog;
class RotationDialog;
class InterpolationDialog;
class SmoothingDialog;
class PointerReadout;
class RecordHistory;
struct RecordState;
class ExportPlotDialog;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // The range of the size keys and the mouse wheel; maximising goes beyond.
  static constexpr int kMinWidth = 532, kMaxWidth = 931, kMinHeight = 435, kMaxHeight = 763;

  explicit MainWindow(AppContext& context);
  ~MainWindow() override;

  // Windows created at start-up and living for the whole run.
  void CreateWindows();
  LoadFilesDialog& OpenDlg() { return *openDlg_; }
  PoleFigurePicker& Plothkl() { return *plothkl_; }
  RotationDialog& RotationDlg() { return *rotationDlg_; }
  InterpolationDialog& InterpolationDlg() { return *interpolDlg_; }
  SmoothingDialog& SmoothingDlg() { return *smoothDlg_; }
  ContourDialog& ContourDlg() { return *contourDlg_; }
  PlotWindow* Window(int n) { return (n >= 2 && n <= kSlotCount) ? windows_[n] : nullptr; }
  bool WindowVisible(int n);

  // Loads and shows: the load sequence with messages over the open dialog or
  // the main window. False after a failure, which changes nothing.
  bool LoadMain(const MainLoad& request);
  bool LoadIntoWindow(int n, const std::string& file);
  // Redraw, menus, size and caption after a load into the main window.
  void AfterMainLoad();
  int FirstFreeWindow();
  // Shows PF[n] in window n under `title` (the pole figure's own words,
  // without the "n * " the caption puts before them).
  void ShowInWindow(int n, const std::string& title);
  // The words the caption of slot n (1: the main window) shows for its pole figure.
  const QString& SlotTitle(int n) const { return titles_[static_cast<std::size_t>(n)]; }
  void SetSlotTitle(int n, const QString& title);
  void CloseExtraWindows();
  void ResetRotationState();
  void ApplyStartupSize();
  // The arguments "Run Copy" starts the second instance with.
  QStringList CopyCommandLine() const;

  void RedrawMain();
  void RedrawAll();
  void EnableMenu();
  void DisableMenu();
  // While a suppression runs only its own controls and the help work.
  void SetCommandsEnabled(bool enabled);
  // The action of a command by its objectName.
  QAction* Action(const QString& name) const;

  // The main plot (objectName "PlotArea").
  PlotView* Plot() const { return plotArea_; }
  bool PickMode() const { return pickMode_; }

  // Every command that changes pole figures goes through here: `change` runs
  // on the records of `targets` (1 = main window) and becomes one undo step
  // named `caption`. False when `change` failed; records it touched anyway
  // are put back.
  bool ChangePoleFigures(const QString& caption, const std::vector<int>& targets, const std::function<bool()>& change);
  QUndoStack& UndoStack();
  // A suppression session: PF[1] as it was at its start, then one undo step
  // when it is kept, or PF[1] put back when it is cancelled.
  void BeginSuppressionStep();
  void EndSuppressionStep(bool keep);

  // "Saved to FILE" in the status bar; every command that writes a file says so.
  void ShowSaved(const std::string& file);
  // The status bar's fields: file, grid, unit and the modes shown.
  void UpdateStatus();
  // The pointer on the main plot: alpha and beta in degrees and, when the
  // read-out has one, the value of the nearest point.
  void ShowPointerStatus(double alpha, double beta, const QString& value);
  // The direction under the pointer beside the zoom label, while a button is held.
  void ShowPosition(const QString& text);
  void HidePosition();

  // Loads a file of the recent list as Load Files would load it.
  bool OpenRecent(const RecentFile& file);
  QMenu* RecentMenu() const;
  void FillRecentMenu();
  // Files dropped on the main window (slot 1) or on window 2..8.
  void DropFiles(int slot, const QStringList& files);
  // "Revert to file": PF[1] read again from its file, as one undo step.
  bool RevertToFile();
  void ExportPlot();
  ExportPlotDialog& ExportDialog();
  // Where window n goes when it opens, beside the main window.
  QRect FurtherWindowPlace(int n);
  // Moves the main window to the screen's left edge where that frees a
  // column beside it for further windows that would otherwise cover it.
  void MakeRoomBeside(int windowWidth);
  // The size keys' range, no larger than the screen; FitToScreen brings the window onto it.
  SizeLimits SizeRange() const;
  void FitToScreen();

 public slots:
  void ShowLoadFiles();
  void ExitProgram();
  void RunCopy();
  void HelpTutorialClick();
  void ShowAbout();
  void SizeLabelClick();
  void FitPlotToWindow();
  void PPFClose(int n);
  void PFDblClick(int n);
  void ShowRotationDialog();
  void ShowOptionsDialog();
  void FillSpeedButtonClick(bool down);
  void GridSpeedButtonClick(bool down);
  void mrdSpeedButtonClick(bool down);
  void ProjectionSpeedButtonClick(bool down);
  void ZoomToMeasuredClick(bool on);
  void SmoothLinesClick(bool on);
  // One colour scale for all windows on screen.
  void OneScaleClick(bool on);
  void UpdateSharedLevels();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PlotView* plotArea_ = nullptr;
  QLabel* SizeLabel = nullptr;
  QLabel* PosLabel = nullptr;
  QLabel* StatusFile = nullptr;
  QLabel* StatusGrid = nullptr;
  QLabel* StatusUnit = nullptr;
  QLabel* StatusPointer = nullptr;
  QLabel* StatusMode = nullptr;
  void CreateCommands();
  void LayOutMenu(const QString& title, const Commands& commands);
  void LayOutToolBar(const Commands& commands);
  QAction* AddCommand(const Command& command);
  void UpdateModifiedMarks();
  void MainformKeyDown(QKeyEvent* event);
  void Navigate(SeriesKey kind, char key, bool shift);
  void ShowMainLoaded(bool rotationReset);
  void SetGeometryBox(int left, int top, int width, int height);
  void SyncToolButtons();
  void RedrawSlot(int n);
  void RememberRecent();

  AppContext& context_;
  LoadFilesDialog* openDlg_ = nullptr;
  PoleFigurePicker* plothkl_ = nullptr;
  AboutDialog* aboutBox_ = nullptr;
  RotationDialog* rotationDlg_ = nullptr;
  OptionsDialog* optionsDlg_ = nullptr;
  ContourDialog* contourDlg_ = nullptr;
  InterpolationDialog* interpolDlg_ = nullptr;
  SmoothingDialog* smoothDlg_ = nullptr;
  PointerReadout* readout_ = nullptr;
  std::array<PlotWindow*, kSlotCount + 1> windows_{};
  // Commands that wait for a pole figure, with their further condition.
  std::vector<std::pair<QAction*, std::function<bool()>>> group_;
  // Enabled from the start; a suppression holds them too.
  std::vector<QAction*> always_;
  std::array<QString, kSlotCount + 1> titles_;
  bool pickMode_ = false;
  RecordHistory* history_ = nullptr;
  std::unique_ptr<RecordState> suppressionStart_;
  bool keepHistory_ = false;  // a revert is one step of the history, not a fresh load
  ExportPlotDialog* exportDlg_ = nullptr;
};

}  // namespace quorix
