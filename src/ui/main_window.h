// The main window " Quorix": menus, tool bar, the plot of PF[1], window sizes
// and the keyboard navigation through series of files.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "ui/app_context.h"
#include "workflow/file_series.h"
#include "workflow/load_sequence.h"

class QAction;
class QLabel;
class QToolButton;

namespace quorix {

class PlotView;
class TOpenDlg;
class TPlothkl;
class TPPF;
class TAboutBox;
class TContourDlg;
class TOptionsDlg;
class TRotationDlg;
class TInterpolDlg;
class TPlotSmoDlg;
class PointerReadout;

class TMainform : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kMinWidth = 532, kMaxWidth = 931, kMinHeight = 435, kMaxHeight = 763;

  explicit TMainform(AppContext& context);
  ~TMainform() override;

  // Windows created at start-up and living for the whole run.
  void CreateWindows();
  TOpenDlg& OpenDlg() { return *openDlg_; }
  TPlothkl& Plothkl() { return *plothkl_; }
  TRotationDlg& RotationDlg() { return *rotationDlg_; }
  TPPF* Window(int n) { return (n >= 2 && n <= kSlotCount) ? windows_[n] : nullptr; }
  bool WindowVisible(int n);

  // Loads and shows: the load sequence with messages over the open dialog or
  // the main window. False after a failure, which changes nothing.
  bool LoadMain(const MainLoad& request);
  bool LoadIntoWindow(int n, const std::string& file);
  // Redraw, menus, size and caption after a load into the main window.
  void AfterMainLoad();
  int FirstFreeWindow();
  void ShowInWindow(int n, const std::string& title);
  void CloseExtraWindows();
  void ResetRotationState();
  void ApplyStartupSize();
  // The arguments "Run Copy" starts the second instance with.
  QStringList CopyCommandLine() const;

  void RedrawMain();
  void RedrawAll();
  void EnableMenu();
  void DisableMenu();

  QAction* FillSpeedButton = nullptr;
  QAction* GridSpeedButton = nullptr;
  QAction* mrdSpeedButton = nullptr;
  QAction* ProjectionSpeedButton = nullptr;
  QAction* CursorSpeedButton = nullptr;
  QLabel* SizeLabel = nullptr;
  QLabel* PosLabel = nullptr;
  PlotView* PlotArea = nullptr;
  bool PickMode() const { return pickMode_; }

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

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateMenus();
  void CreateToolBar();
  QAction* AddCommand(QMenu* menu, const QString& caption, bool inGroup, bool built);
  void MainformKeyDown(QKeyEvent* event);
  void Navigate(SeriesKey kind, char key, bool shift);
  void ShowMainLoaded(bool rotationReset);
  void SetGeometryBox(int left, int top, int width, int height);
  void SyncToolButtons();

  AppContext& context_;
  TOpenDlg* openDlg_ = nullptr;
  TPlothkl* plothkl_ = nullptr;
  TAboutBox* aboutBox_ = nullptr;
  TRotationDlg* rotationDlg_ = nullptr;
  TOptionsDlg* optionsDlg_ = nullptr;
  TContourDlg* contourDlg_ = nullptr;
  TInterpolDlg* interpolDlg_ = nullptr;
  TPlotSmoDlg* smoothDlg_ = nullptr;
  PointerReadout* readout_ = nullptr;
  std::array<TPPF*, kSlotCount + 1> windows_{};
  // Commands enabled and disabled as one group, and whether each is built yet.
  std::vector<std::pair<QAction*, bool>> group_;
  QAction* ssciAction_ = nullptr;
  bool pickMode_ = false;
};

}  // namespace quorix
