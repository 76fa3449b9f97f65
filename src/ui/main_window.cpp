#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "base/text_file.h"
#include "io/load_pole_figure.h"
#include "plot/display_options.h"
#include "plot/figure.h"
#include "qtcanvas/qt_canvas.h"
#include "record/levels.h"
#include "ui/about_dialog.h"
#include "ui/arithmetic_commands.h"
#include "ui/contour_dialog.h"
#include "ui/dropped_files.h"
#include "ui/edit_commands.h"
#include "ui/export_plot_dialog.h"
#include "ui/interpolation_dialog.h"
#include "ui/load_files_dialog.h"
#include "ui/message_box_sink.h"
#include "ui/odf_commands.h"
#include "ui/options_dialog.h"
#include "ui/plot_drawing.h"
#include "ui/plot_export.h"
#include "ui/plot_view.h"
#include "ui/plot_window.h"
#include "ui/pointer_readout.h"
#include "ui/pole_figure_picker.h"
#include "ui/record_history.h"
#include "ui/rotation_dialog.h"
#include "ui/save_commands.h"
#include "ui/save_format_dialog.h"
#include "ui/smoothing_dialog.h"
#include "ui/ssci_controls.h"
#include "ui/status_texts.h"
#include "ui/view_commands.h"
#include "workflow/file_navigation.h"
#include "workflow/file_series.h"
#include "workflow/window_geometry.h"

namespace quorix {

MainWindow::MainWindow(AppContext& context) : context_(context) {
  setWindowTitle(" Quorix");
  setObjectName("Mainform");
  setMinimumSize(kMinWidth, kMinHeight);
  setAcceptDrops(true);

  plotArea_ = new PlotView(this);
  plotArea_->setObjectName("PlotArea");
  setCentralWidget(plotArea_);
  connect(plotArea_, &PlotView::Resized, this, &MainWindow::FitPlotToWindow);

  HistoryHooks hooks;
  hooks.Title = [this](int n) { return SlotTitle(n); };
  hooks.SetTitle = [this](int n, const QString& title) { SetSlotTitle(n, title); };
  hooks.Redraw = [this](int n) { RedrawSlot(n); };
  history_ = new RecordHistory(context_, std::move(hooks), this);

  CreateCommands();
  FillRecentMenu();
  StatusFile = new QLabel(this);
  StatusGrid = new QLabel(this);
  StatusUnit = new QLabel(this);
  StatusPointer = new QLabel(this);
  StatusMode = new QLabel(this);
  StatusFile->setObjectName("StatusFile");
  StatusGrid->setObjectName("StatusGrid");
  StatusUnit->setObjectName("StatusUnit");
  StatusPointer->setObjectName("StatusPointer");
  StatusMode->setObjectName("StatusMode");
  StatusPointer->setMinimumWidth(fontMetrics().horizontalAdvance("alpha 90.0°  beta 360.0°  value 0.000000E+00"));
  statusBar()->addWidget(StatusFile);
  statusBar()->addWidget(StatusGrid);
  statusBar()->addWidget(StatusUnit);
  statusBar()->addPermanentWidget(StatusPointer);
  statusBar()->addPermanentWidget(StatusMode);
  resize(915, 705);
}

MainWindow::~MainWindow() {
  for (PlotWindow* w : windows_) delete w;
}

SizeLimits MainWindow::SizeRange() const {
  SizeLimits l{kMinWidth, kMaxWidth, kMinHeight, kMaxHeight};
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return l;
  // With a large scale factor the largest size would reach past the screen.
  // The window manager's frame is not known until it has drawn one: at least a title bar.
  const QSize frame = (isVisible() ? frameGeometry().size() - size() : QSize()).expandedTo(QSize(8, 40));
  const QSize room = s->availableGeometry().size() - frame;
  l.maxWidth = std::max(l.minWidth, std::min(l.maxWidth, room.width()));
  l.maxHeight = std::max(l.minHeight, std::min(l.maxHeight, room.height()));
  return l;
}

void MainWindow::FitToScreen() {
  const SizeLimits l = SizeRange();
  if (width() > l.maxWidth || height() > l.maxHeight)
    resize(std::min(width(), l.maxWidth), std::min(height(), l.maxHeight));
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect area = s->availableGeometry();
  const QRect frame = frameGeometry();
  const int left = std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
  const int top = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
  if (left != frame.left() || top != frame.top()) move(left, top);
}

void MainWindow::CreateWindows() {
  FitToScreen();
  plothkl_ = new PoleFigurePicker(this);
  openDlg_ = new LoadFilesDialog(context_, *this, *plothkl_, this);
  aboutBox_ = new AboutDialog(this);
  rotationDlg_ = new RotationDialog(context_, this);
  optionsDlg_ = new OptionsDialog(context_, this);
  ContourDlgHooks hooks;
  hooks.RedrawMain = [this] { RedrawMain(); };
  hooks.VisibleWindows = [this] {
    std::vector<int> visible;
    for (int n = 2; n <= kSlotCount; ++n)
      if (WindowVisible(n)) visible.push_back(n);
    return visible;
  };
  hooks.RedrawWindow = [this](int n) {
    if (WindowVisible(n)) windows_[n]->Redraw();
  };
  contourDlg_ = new ContourDialog(context_, hooks, this);
  interpolDlg_ = new InterpolationDialog(context_, *this, this);
  interpolDlg_->SetRotationDialog(rotationDlg_);
  interpolDlg_->SetFormatEditor(
      [this](SaveFormat& format) { return SharedSaveFormatDialog(*this).Edit(format, true); });
  smoothDlg_ = new SmoothingDialog(context_, *this, this);
  readout_ = new PointerReadout(*this, context_);
  readout_->setParent(this);
  readout_->SetCursorButton(Action("CursorSpeedButton"));
  readout_->SetRotationDialog(rotationDlg_);
  readout_->SetInterpolationDialog(interpolDlg_);
  readout_->SetRotateGridCommand([this] { ShowRotationDialog(); });
  SyncToolButtons();
  FillRecentMenu();  // the configuration has been read by now
  for (int n = 2; n <= kSlotCount; ++n) {
    // Without a parent: the window manager stacks it like the main window.
    auto* w = new PlotWindow(n, context_);
    const WindowPosition& p = context_.startup.PlotWindowPositions[n];
    w->move(p.left, p.top);
    connect(w, &PlotWindow::Closed, this, &MainWindow::PPFClose);
    connect(w, &PlotWindow::DoubleClicked, this, &MainWindow::PFDblClick);
    connect(w, &PlotWindow::FilesDropped, this, &MainWindow::DropFiles);
    windows_[n] = w;
  }
}

void MainWindow::CreateCommands() {
  Commands all;
  for (auto module : {FileCommands, ExportCommands, EditCommands, ArithmeticCommands, OdfCommands, ViewCommands}) {
    Commands some = module(*this, context_);
    all.insert(all.end(), std::make_move_iterator(some.begin()), std::make_move_iterator(some.end()));
  }
  // An empty title stands for the commands on the menu bar itself.
  for (const char* title : {"&File", "&Edit", "&Rotation", "", "&Help"}) LayOutMenu(title, all);
  LayOutToolBar(all);
}

QAction* MainWindow::AddCommand(const Command& command) {
  auto* action = new QAction(command.text, this);
  action->setObjectName(command.name);
  action->setToolTip(command.toolTip.isEmpty() ? QString(command.text).remove('&') : command.toolTip);
  action->setShortcuts(command.shortcuts);
  // F1 and the like work over the dialogs too.
  if (command.shortcuts.contains(QKeySequence(QKeySequence::HelpContents)))
    action->setShortcutContext(Qt::ApplicationShortcut);
  action->setCheckable(command.checkable);
  if (command.run) connect(action, &QAction::triggered, this, command.run);
  if (command.enable == CommandEnable::Loaded)
    group_.emplace_back(action, command.enabledWhen);
  else
    always_.push_back(action);
  if (command.attach) command.attach(action);
  return action;
}

namespace {

std::vector<int> SectionsOf(const Commands& commands, const std::function<bool(const Command&)>& take) {
  std::vector<int> sections;
  for (const Command& c : commands)
    if (take(c) && std::find(sections.begin(), sections.end(), c.section) == sections.end())
      sections.push_back(c.section);
  std::sort(sections.begin(), sections.end());
  return sections;
}

}  // namespace

void MainWindow::LayOutMenu(const QString& title, const Commands& commands) {
  const auto mine = [&](const Command& c) {
    return title.isEmpty() ? c.place == CommandPlace::MenuBar : c.place == CommandPlace::Menu && c.menu == title;
  };
  QMenu* menu = title.isEmpty() ? nullptr : menuBar()->addMenu(title);
  // The file menu (opening, ending) and the help are there before anything is loaded.
  if (menu && title != "&File" && title != "&Help") group_.emplace_back(menu->menuAction(), nullptr);
  std::map<QString, QMenu*> submenus;
  for (const int section : SectionsOf(commands, mine)) {
    if (menu && !menu->isEmpty()) menu->addSeparator();
    for (const Command& c : commands) {
      if (!mine(c) || c.section != section) continue;
      if (!menu) {
        menuBar()->addAction(AddCommand(c));
      } else if (c.fill) {
        QMenu* sub = menu->addMenu(c.text);
        sub->setObjectName(c.name);
        connect(sub, &QMenu::aboutToShow, this, [fill = c.fill, sub] { fill(sub); });
      } else if (!c.submenu.isEmpty()) {
        QMenu*& sub = submenus[c.submenu];
        if (!sub) {
          sub = menu->addMenu(c.submenu);
          group_.emplace_back(sub->menuAction(), nullptr);
        }
        sub->addAction(AddCommand(c));
      } else {
        menu->addAction(AddCommand(c));
      }
    }
  }
}

void MainWindow::LayOutToolBar(const Commands& commands) {
  QToolBar* bar = addToolBar("Tools");
  bar->setMovable(false);
  const auto onBar = [](const Command& c) { return c.place == CommandPlace::ToolBar; };
  for (const int section : SectionsOf(commands, onBar)) {
    for (const Command& c : commands)
      if (onBar(c) && c.section == section) bar->addAction(AddCommand(c));
    bar->addSeparator();
  }
  SizeLabel = new QLabel("100%", this);
  SizeLabel->setObjectName("SizeLabel");
  SizeLabel->setMinimumWidth(60);
  SizeLabel->setAlignment(Qt::AlignCenter);
  SizeLabel->setAutoFillBackground(true);
  SizeLabel->installEventFilter(this);
  PosLabel = new QLabel(this);
  PosLabel->setObjectName("PosLabel");
  PosLabel->setMinimumWidth(110);  // "( 360 / 90 )", leaving room for the suppression controls
  bar->addWidget(SizeLabel);
  bar->addWidget(PosLabel);
}

QAction* MainWindow::Action(const QString& name) const { return findChild<QAction*>(name); }

QMenu* MainWindow::RecentMenu() const { return findChild<QMenu*>("RecentMenu"); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SizeLabel && event->type() == QEvent::MouseButtonPress) {
    SizeLabelClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::SizeLabelClick() {
  pickMode_ = !pickMode_;
  QPalette p = SizeLabel->palette();
  p.setColor(QPalette::Window, pickMode_ ? QColor(Qt::yellow) : palette().color(QPalette::Button));
  SizeLabel->setPalette(p);
  SizeLabel->setToolTip(pickMode_ ? "Pick mode: drag on the plot to pick a rotation; click here to end it"
                                  : "Click for pick mode");
  UpdateStatus();
}

void MainWindow::EnableMenu() {
  for (auto& [action, when] : group_) action->setEnabled(!when || when());
}

void MainWindow::DisableMenu() {
  for (auto& [action, when] : group_) action->setEnabled(false);
}

void MainWindow::SetCommandsEnabled(bool enabled) {
  if (enabled)
    EnableMenu();
  else
    DisableMenu();
  for (QAction* a : menuBar()->actions())
    if (a->menu() && a->menu()->title() == "&File") a->setEnabled(enabled);
  if (QAction* open = Action("OpenTool")) open->setEnabled(enabled);
  SizeLabel->setEnabled(enabled);
}

void MainWindow::UpdateSharedLevels() {
  context_.state.SharedLevels.clear();
  if (!context_.state.Options.OneScale) return;
  std::vector<const PoleFigure*> shown{context_.set.PF[1].get()};
  for (int n = 2; n <= kSlotCount; ++n)
    if (WindowVisible(n)) shown.push_back(context_.set.PF[n].get());
  context_.state.SharedLevels = OneScaleLevels(shown);
}

void MainWindow::RedrawMain() {
  UpdateSharedLevels();
  const PoleFigure* pf = context_.set.PF[1].get();
  if (!pf) return;
  if (pf->CircleCount < 1) {
    // Nothing loaded yet: a blank page rather than the outline of an empty grid.
    QImage blank(std::max(1, plotArea_->width()), std::max(1, plotArea_->height()), QImage::Format_RGB32);
    blank.fill(Qt::white);
    plotArea_->SetImage(blank);
    UpdateStatus();
    return;
  }
  PlotResult result;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  plotArea_->SetImage(DrawPlotImage(*pf, context_.state, plotArea_->width(), plotArea_->height(), &result, nullptr,
                                    &plotArea_->Projection()));
  QApplication::restoreOverrideCursor();
  if (result.showSizeLabel) SizeLabel->setText(QString::fromStdString(result.SizeLabel()));
  UpdateStatus();
}

void MainWindow::RedrawAll() {
  RedrawMain();
  for (int n = 2; n <= kSlotCount; ++n)
    if (WindowVisible(n)) windows_[n]->Redraw();
}

void MainWindow::FitPlotToWindow() { RedrawMain(); }

bool MainWindow::WindowVisible(int n) { return Window(n) && windows_[n]->isVisible() && context_.set.Occupied(n); }

int MainWindow::FirstFreeWindow() {
  for (int n = 2; n <= kSlotCount; ++n)
    if (!windows_[n]->isVisible()) return n;
  return 0;
}

void MainWindow::CloseExtraWindows() {
  for (int n = 2; n <= kSlotCount; ++n)
    if (windows_[n] && windows_[n]->isVisible()) windows_[n]->close();
}

void MainWindow::PPFClose(int n) {
  context_.set.Release(n);
  activateWindow();
}

void MainWindow::PFDblClick(int n) {
  // PF[1] stays put while a suppression level is being chosen on it.
  if (!context_.set.Occupied(n) || SuppressionActive(*this)) return;
  context_.set.SwapWithMain(n);
  history_->Clear();
  const QString mainTitle = SlotTitle(1);
  SetSlotTitle(1, SlotTitle(n));
  SetSlotTitle(n, mainTitle);
  RedrawMain();
  windows_[n]->Redraw();
  activateWindow();
}

void MainWindow::ResetRotationState() {
  context_.state.ResetRotation();
  if (rotationDlg_) rotationDlg_->ResetToNoRotation();
}

void MainWindow::SyncToolButtons() {
  const DisplayOptions& o = context_.state.Options;
  Action("FillSpeedButton")->setChecked(o.FillAreas);
  Action("GridSpeedButton")->setChecked(o.DrawGrid);
  Action("mrdSpeedButton")->setChecked(o.ShowMrd);
  Action("ProjectionSpeedButton")->setChecked(o.EqualArea);
  // The View menu may not be built yet when the tool bar first syncs.
  if (QAction* a = Action("ZoomAction")) a->setChecked(o.ZoomToMeasured);
  if (QAction* a = Action("SmoothLinesAction")) a->setChecked(o.SmoothLines);
  if (QAction* a = Action("OneScaleAction")) a->setChecked(o.OneScale);
}

void MainWindow::ZoomToMeasuredClick(bool on) {
  context_.state.Options.ZoomToMeasured = on;
  WriteViewOptions(context_.ini, context_.state.Options);
  StoreSettings(context_);
  RedrawAll();
}

void MainWindow::OneScaleClick(bool on) {
  context_.state.Options.OneScale = on;
  WriteViewOptions(context_.ini, context_.state.Options);
  StoreSettings(context_);
  RedrawAll();
}

void MainWindow::SmoothLinesClick(bool on) {
  context_.state.Options.SmoothLines = on;
  WriteViewOptions(context_.ini, context_.state.Options);
  StoreSettings(context_);
  RedrawAll();
}

void MainWindow::ShowRotationDialog() {
  if (rotationDlg_->ShowForDisplay()) RedrawAll();
}

void MainWindow::ShowOptionsDialog() {
  if (!optionsDlg_->ShowOptions()) return;
  SyncToolButtons();
  RedrawMain();
  for (int n = 2; n <= kSlotCount; ++n) {
    if (!WindowVisible(n)) continue;
    RecomputeLevels(*context_.set.PF[n], context_.state.Options);
    windows_[n]->Redraw();
  }
}

void MainWindow::FillSpeedButtonClick(bool down) {
  context_.state.Options.FillAreas = down;
  RedrawMain();
}

void MainWindow::GridSpeedButtonClick(bool down) {
  context_.state.Options.DrawGrid = down;
  if (!down) {
    RedrawAll();
    return;
  }
  // Pressing only adds the dots to what is shown.
  const auto mark = [this](const PoleFigure* pf, PlotView* view) {
    if (!pf || !view || view->Image().isNull()) return;
    QtRasterCanvas canvas(view->Image());
    DrawLowPoints(*pf, context_.state, canvas, view->Image().height(), view->Image().width());
    view->SetImage(canvas.Image());
  };
  mark(context_.set.PF[1].get(), plotArea_);
  for (int n = 2; n <= kSlotCount; ++n)
    if (WindowVisible(n)) mark(context_.set.PF[n].get(), windows_[n]->Image());
}

void MainWindow::mrdSpeedButtonClick(bool down) {
  ApplyMrdToggle(*context_.set.PF[1], context_.state.Options, down);
  RedrawMain();
  for (int n = 2; n <= kSlotCount; ++n) {
    if (!WindowVisible(n)) continue;
    ApplyMrdToggle(*context_.set.PF[n], context_.state.Options, down);
    windows_[n]->Redraw();
  }
}

void MainWindow::ProjectionSpeedButtonClick(bool down) {
  context_.state.Options.EqualArea = down;
  RedrawAll();
}

bool MainWindow::LoadMain(const MainLoad& request) {
  FileMessageBoxSink sink(openDlg_->isVisible() ? static_cast<QWidget*>(openDlg_) : this, request.dataFile);
  if (!LoadMainPoleFigure(context_, request, sink)) return false;
  ShowMainLoaded(request.resetRotation);
  return true;
}

void MainWindow::ShowMainLoaded(bool rotationReset) {
  if (rotationReset && rotationDlg_) rotationDlg_->ResetToNoRotation();
  openDlg_->close();
  RememberRecent();
  StoreSettings(context_);
  AfterMainLoad();
  SetSlotTitle(1, QString::fromStdString(PoleFigureTitle(*context_.set.PF[1])));
  activateWindow();
}

void MainWindow::AfterMainLoad() {
  if (!keepHistory_) history_->Clear();
  RedrawMain();
  if (contourDlg_->isVisible()) contourDlg_->Refresh();
  ApplyStartupSize();
  EnableMenu();
}

bool MainWindow::LoadIntoWindow(int n, const std::string& file) {
  FileMessageBoxSink sink(this, file);
  // A failure leaves the window closed rather than showing half a pole figure.
  if (!quorix::LoadIntoWindow(context_, n, file, sink)) return false;
  ShowInWindow(n, PoleFigureTitle(*context_.set.PF[n]));
  return true;
}

void MainWindow::ShowInWindow(int n, const std::string& title) {
  PlotWindow* w = Window(n);
  if (!w) return;
  history_->Clear();
  SetSlotTitle(n, QString::fromStdString(title));
  if (!w->isVisible() && !context_.startup.PlotWindowGiven[n]) {
    MakeRoomBeside(w->frameGeometry().width());
    w->move(FurtherWindowPlace(n).topLeft());
  }
  w->show();
  w->Redraw();
  activateWindow();
}

void MainWindow::SetGeometryBox(int left, int top, int width, int height) {
  if (isMaximized() || isFullScreen()) showNormal();
  resize(width, height);
  move(left, top);
}

void MainWindow::ApplyStartupSize() {
  if (context_.state.StartupSize <= 0) return;
  const WindowBox box = StartupSize({x(), y(), width(), height()}, context_.state.StartupSize, SizeRange());
  SetGeometryBox(box.left, box.top, box.width, box.height);
  FitToScreen();
  context_.state.StartupSize = 0;
}

void MainWindow::ShowLoadFiles() {
  openDlg_->ShowGridFile(context_.GridFileName);
  openDlg_->show();
  openDlg_->raise();
  openDlg_->activateWindow();
}

void MainWindow::ExitProgram() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!ConfirmDiscardChanges(*this, context_, true)) {
    event->ignore();
    return;
  }
  for (PlotWindow* w : windows_)
    if (w) w->hide();
  QMainWindow::closeEvent(event);
}

QStringList MainWindow::CopyCommandLine() const {
  QStringList arguments;
  for (const std::string& a : CopyArguments(context_)) arguments << QString::fromStdString(a);
  return arguments;
}

void MainWindow::RunCopy() {
  const QString program = QString::fromStdString(context_.programPath);
  const QStringList arguments = CopyCommandLine();
  if (!QProcess::startDetached(program, arguments)) {
    QString line = program;
    for (const QString& a : arguments) line += a.startsWith("--") ? " " + a : " \"" + a + "\"";
    QMessageBox::warning(this, windowTitle(), "Cannot start Plot program: " + line);
  }
}

void MainWindow::HelpTutorialClick() {
  // The HTML manual in the desktop's browser.
  const QString help = QString::fromStdString(context_.HelpFileName);
  if (help.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(help))) {
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    "Error executing help: " + (help.isEmpty() ? QString("no manual installed") : help),
                    QMessageBox::Ok, this);
    box.setObjectName("HelpErrorBox");
    if (!help.isEmpty())
      box.setInformativeText("No program to show HTML pages was found. The manual lies at " + help +
                             "; open it with any web browser.");
    box.exec();
  }
}

void MainWindow::ShowAbout() { aboutBox_->exec(); }

void MainWindow::keyPressEvent(QKeyEvent* event) { MainformKeyDown(event); }

namespace {

int DigitRowKey(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
    // With Shift held the key reports the layout's symbol ("!", "\"", "§"); its
    // position on the keyboard still names the digit.
#if defined(Q_OS_WIN)
  const quint32 virtualKey = event.nativeVirtualKey();
  if (virtualKey >= '0' && virtualKey <= '9') return static_cast<int>(virtualKey - '0');
#else
  // X11 and Wayland key codes: evdev codes plus 8, the digit row 1..9, 0 being 10..19.
  const quint32 code = event.nativeScanCode();
  if (code >= 10 && code <= 19) return code == 19 ? 0 : static_cast<int>(code - 9);
#endif
  return -1;
}

}  // namespace

void MainWindow::MainformKeyDown(QKeyEvent* event) {
  const SizeLimits limits = SizeRange();
  const WindowBox box{x(), y(), width(), height()};
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const int key = event->key();
  // Ctrl and Alt combinations belong to shortcuts and menus, never to the navigation.
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  const int digit = DigitRowKey(*event);
  if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
    const WindowBox r = key == Qt::Key_PageUp ? PageUpSize(box, limits) : PageDownSize(box, limits);
    SetGeometryBox(r.left, r.top, r.width, r.height);
  } else if (plain && digit >= 1 && digit <= 9) {
    Navigate(SeriesKey::Digit, static_cast<char>('0' + digit), shift);
  } else if (plain && key >= Qt::Key_A && key <= Qt::Key_Z) {
    Navigate(SeriesKey::Letter, static_cast<char>('A' + key - Qt::Key_A), shift);
  } else if (plain && key == Qt::Key_Right) {
    Navigate(SeriesKey::Right, 0, shift);
  } else if (plain && key == Qt::Key_Left) {
    Navigate(SeriesKey::Left, 0, shift);
  } else {
    QMainWindow::keyPressEvent(event);
  }
}

void MainWindow::Navigate(SeriesKey kind, char key, bool shift) {
  if (SuppressionActive(*this)) return;
  const int k = shift ? FirstFreeWindow() : 0;
  // Only a step that will load something replaces the main pole figure, so only then is there anything to ask.
  if (!shift && PlanSeriesStep(context_, kind, key, false, k).loads && !ConfirmDiscardChanges(*this, context_, false))
    return;
  const PlannedStep plan = PlanSeriesStep(context_, kind, key, shift, k);
  FileMessageBoxSink sink(!shift && openDlg_->isVisible() ? static_cast<QWidget*>(openDlg_) : this,
                          plan.dataFile.empty() ? context_.DataFileName : plan.dataFile);
  const bool resetRotation = context_.load.ResetRotation;
  switch (StepThroughSeries(context_, kind, key, shift, k, sink)) {
    case SeriesLoad::Main:
      if (context_.load.PlainFile) openDlg_->ShowFiles(context_.DataFileName, context_.GridFileName);
      ShowMainLoaded(resetRotation);
      break;
    case SeriesLoad::Window: ShowInWindow(k, PoleFigureTitle(*context_.set.PF[k])); break;
    case SeriesLoad::Nothing: break;
  }
}

void MainWindow::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  const WindowBox r = WheelSize({x(), y(), width(), height()}, delta, SizeRange());
  SetGeometryBox(r.left, r.top, r.width, r.height);
}

void MainWindow::RedrawSlot(int n) {
  if (n == 1)
    RedrawMain();
  else if (WindowVisible(n))
    windows_[n]->Redraw();
}

bool MainWindow::ChangePoleFigures(const QString& caption, const std::vector<int>& targets,
                                   const std::function<bool()>& change) {
  return history_->Change(caption, targets, change);
}

QUndoStack& MainWindow::UndoStack() { return history_->Stack(); }

void MainWindow::BeginSuppressionStep() {
  suppressionStart_ = std::make_unique<RecordState>(history_->Capture({1}));
  UpdateStatus();
}

void MainWindow::EndSuppressionStep(bool keep) {
  if (!suppressionStart_) return;
  std::unique_ptr<RecordState> start = std::move(suppressionStart_);
  if (keep)
    history_->Commit("Suppress Single Crystal Intensities", std::move(*start));
  else
    history_->Restore(*start);
  UpdateStatus();
}

void MainWindow::ShowSaved(const std::string& file) {
  statusBar()->showMessage("Saved to " + QString::fromStdString(file), 10000);
  UpdateModifiedMarks();
}

void MainWindow::SetSlotTitle(int n, const QString& title) {
  if (n < 1 || n > kSlotCount) return;
  titles_[static_cast<std::size_t>(n)] = title;
  // "[*]" shows the modified mark; last, so that the words stay where they were.
  if (n == 1) {
    // Before anything is loaded the caption is the program's name alone.
    setWindowTitle(title.isEmpty() ? QString(" Quorix") : QString::fromStdString(context_.TitlePrefix) + title + "[*]");
  } else if (Window(n)) {
    Window(n)->setWindowTitle(QString("%1 * ").arg(n) + title + "[*]");
  }
  UpdateModifiedMarks();
}

void MainWindow::UpdateModifiedMarks() {
  const auto modified = [this](int n) {
    const PoleFigure* pf = context_.set.PF[static_cast<std::size_t>(n)].get();
    return pf && pf->Modified;
  };
  setWindowModified(modified(1));
  for (int n = 2; n <= kSlotCount; ++n)
    if (Window(n)) Window(n)->setWindowModified(context_.set.Occupied(n) && modified(n));
}

void MainWindow::UpdateStatus() {
  const PoleFigure* pf = context_.set.PF[1].get();
  const bool loaded = pf && pf->CircleCount > 0;
  StatusFile->setText(loaded ? QString::fromStdString(StatusFileText(*pf)) : QString());
  StatusGrid->setText(loaded ? QString::fromStdString(StatusGridText(*pf)) : QString());
  StatusUnit->setText(loaded ? QString::fromStdString(StatusUnitText(context_.state.Options.ShowMrd || pf->InMrd))
                             : QString());
  StatusFile->setToolTip(loaded ? QString::fromStdString(pf->FileName) : QString());
  ModeFlags modes;
  modes.pick = pickMode_;
  modes.suppression = SuppressionActive(*this);
  modes.rotation = context_.state.Rotation;
  StatusMode->setText(QString::fromStdString(StatusModeText(modes)));
  UpdateModifiedMarks();
}

void MainWindow::ShowPointerStatus(double alpha, double beta, const QString& value) {
  QString text = QString::fromStdString(StatusPointerText(alpha, beta));
  if (!value.isEmpty()) text += "  value " + value;
  StatusPointer->setText(text);
}

void MainWindow::ShowPosition(const QString& text) {
  PosLabel->setText(text);
  PosLabel->show();
}

void MainWindow::HidePosition() {
  PosLabel->hide();
  StatusPointer->clear();
}

void MainWindow::MakeRoomBeside(int windowWidth) {
  if (isMaximized() || isFullScreen() || !isVisible()) return;
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect area = s->availableGeometry();
  const QRect frame = frameGeometry();
  const int rightRoom = area.right() - frame.right();
  const int leftRoom = frame.left() - area.left();
  // Split on both sides, the room fits no window; at one side it fits a column of them.
  if (rightRoom >= windowWidth || leftRoom >= windowWidth || rightRoom + leftRoom < windowWidth) return;
  move(area.left() + (pos().x() - frame.left()), pos().y());
}

QRect MainWindow::FurtherWindowPlace(int n) {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  const QRect area = s ? s->availableGeometry() : QRect(0, 0, 1600, 1000);
  const QRect frame = frameGeometry();
  // The window manager's frame around a further window, as around this one.
  const QSize decoration = isVisible() ? frame.size() - size() : QSize(0, 0);
  const int titleHeight = isVisible() ? geometry().top() - frame.top() : 0;
  PlotWindow* w = Window(n);
  const QSize inner = w ? w->size() : QSize(PlotWindow::kImageWidth, PlotWindow::kImageHeight);
  const int width = inner.width() + decoration.width();
  const int height = inner.height() + decoration.height();
  int keepClear = titleHeight + menuBar()->height();
  for (QToolBar* bar : findChildren<QToolBar*>()) keepClear += bar->isVisible() ? bar->height() : 0;
  const std::vector<WindowBox> boxes = PlaceBesideMain({area.left(), area.top(), area.width(), area.height()},
                                                       {frame.left(), frame.top(), frame.width(), frame.height()},
                                                       width, height, kSlotCount - 1, keepClear);
  const WindowBox& b = boxes[std::clamp(n - 2, 0, kSlotCount - 2)];
  return {b.left, b.top, b.width, b.height};
}

void MainWindow::RememberRecent() {
  const PoleFigure& pf = *context_.set.PF[1];
  const auto absolute = [](const std::string& name) {
    return name.empty() ? name : QFileInfo(QString::fromStdString(name)).absoluteFilePath().toStdString();
  };
  RecentFile file;
  file.dataFile = absolute(context_.DataFileName.empty() ? pf.FileName : context_.DataFileName);
  file.gridFile = absolute(context_.GridFileName);
  file.index = context_.load.Multi() ? std::max(1, std::abs(context_.load.PFIndex)) : 0;
  if (file.dataFile.empty()) return;
  AddRecentFile(context_.ini, file);
  // Filled anew when it opens: the entry that started this load is still running.
  if (QMenu* recent = RecentMenu()) recent->setEnabled(true);
}

void MainWindow::FillRecentMenu() {
  QMenu* recent = RecentMenu();
  if (!recent) return;
  recent->clear();
  const std::vector<RecentFile> files = ReadRecentFiles(context_.ini);
  int number = 0;
  for (const RecentFile& f : files) {
    QAction* a = recent->addAction(QString("&%1  ").arg(++number) + QString::fromStdString(RecentFileCaption(f)));
    a->setToolTip(QString::fromStdString(f.dataFile + "\n" + f.gridFile));
    a->setStatusTip(QString::fromStdString(f.dataFile));
    connect(a, &QAction::triggered, this, [this, f] { OpenRecent(f); });
  }
  recent->setEnabled(!files.empty());
}

bool MainWindow::OpenRecent(const RecentFile& file) {
  if (SuppressionActive(*this)) return false;
  const QString dataName = QString::fromStdString(file.dataFile);
  const QString grid = QString::fromStdString(file.gridFile);
  // No grid file is remembered for a data file that carries its grid.
  const QStringList needed = grid.isEmpty() ? QStringList{dataName} : QStringList{dataName, grid};
  for (const QString& name : needed) {
    if (!QFileInfo::exists(name)) {
      QMessageBox::warning(this, windowTitle(), "File " + name + " does not exist");
      return false;
    }
  }
  if (!ConfirmDiscardChanges(*this, context_, true)) return false;
  FileMessageBoxSink sink(this, file.dataFile);
  // Tilts a file lacks were given for the file shown; they serve it again.
  const MeasurementOptions tilts =
      file.dataFile == context_.DataFileName ? context_.load.Measurement : MeasurementOptions{};
  DataFileLayout detected = DetectDataFile(file.dataFile, tilts, sink);
  if (!detected.ok) return false;
  MainLoad load;
  load.dataFile = file.dataFile;
  load.gridFile = file.gridFile;
  load.measurement = tilts;
  load.resetRotation = true;
  if (detected.layout == DataLayout::Beartex || detected.layout == DataLayout::Geesthacht ||
      IsMeasuredLayout(detected.layout)) {
    load.layout = detected.layout;
    load.pfIndex = -std::max(1, file.index);
    load.names = std::move(detected.names);
  } else {
    load.layout = DataLayout::Plain;
    load.pfIndex = -1;
  }
  if (!LoadMain(load)) return false;
  openDlg_->ShowFiles(file.dataFile, file.gridFile);
  return true;
}

bool MainWindow::RevertToFile() {
  if (SuppressionActive(*this)) return false;
  const PoleFigure& pf = *context_.set.PF[1];
  if (pf.CircleCount < 1 || context_.DataFileName.empty() || context_.load.DirectionalMode) return false;
  MainLoad load;
  load.dataFile = context_.DataFileName;
  load.gridFile = context_.GridFileName;
  load.layout = context_.load.Layout();
  load.pfIndex = context_.load.PFIndex;
  load.names = context_.load.PoleFigureNames;
  load.measurement = context_.load.Measurement;
  RecordState before = history_->Capture({1});
  keepHistory_ = true;
  const bool ok = LoadMain(load);
  keepHistory_ = false;
  if (ok) {
    history_->Commit("Revert to File", std::move(before));
    context_.set.PF[1]->Modified = false;
  }
  return ok;
}

ExportPlotDialog& MainWindow::ExportDialog() {
  if (!exportDlg_) exportDlg_ = new ExportPlotDialog(context_, this);
  return *exportDlg_;
}

void MainWindow::ExportPlot() {
  ExportPlotDialog& dlg = ExportDialog();
  dlg.Prepare(plotArea_->width(), plotArea_->height());
  if (dlg.exec() == QDialog::Accepted) ShowSaved(dlg.Written());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedLocalFiles(event->mimeData()).isEmpty() && !SuppressionActive(*this)) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedLocalFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  DropFiles(1, files);
}

void MainWindow::DropFiles(int slot, const QStringList& files) {
  if (SuppressionActive(*this)) return;
  std::vector<std::string> names;
  for (const QString& f : files) names.push_back(f.toStdString());
  const DroppedFiles dropped = SortDroppedFiles(names);
  if (dropped.data.empty()) {
    // A grid alone is offered for the next load.
    if (!dropped.grid.empty()) {
      openDlg_->ShowGridFile(dropped.grid);
      ShowLoadFiles();
      openDlg_->ShowGridFile(dropped.grid);
    }
    return;
  }
  const bool mainLoaded = context_.set.PF[1] && context_.set.PF[1]->CircleCount > 0;
  if (slot >= 2 && mainLoaded && dropped.grid.empty()) {
    if (!QFileInfo::exists(QString::fromStdString(dropped.data.front()))) {
      QMessageBox::warning(this, windowTitle(),
                           "File " + QString::fromStdString(dropped.data.front()) + " does not exist");
      return;
    }
    LoadIntoWindow(slot, dropped.data.front());
    return;
  }
  const std::string grid = dropped.grid.empty() ? context_.GridFileName : dropped.grid;
  const LoadFilesRequest request{dropped.data.front(), grid, false, {}};
  openDlg_->ShowRequest(request);
  const DataLayout layout = PeekLayout(request.dataFile);
  // Which grid the data were measured on, or the tilts a Rigaku text file
  // leaves out, only the user can say.
  if ((grid.empty() && GridFileNeeded(layout)) || layout == DataLayout::RigakuTxt) {
    ShowLoadFiles();
    openDlg_->ShowRequest(request);
    openDlg_->FocusGridField();
    return;
  }
  openDlg_->Submit(request, true);
  if (context_.set.PF[1]->FileName != dropped.data.front()) return;
  for (std::size_t f = 1; f < dropped.data.size(); ++f) {
    const int k = FirstFreeWindow();
    if (k == 0) break;
    LoadIntoWindow(k, dropped.data[f]);
  }
}

}  // namespace quorix
