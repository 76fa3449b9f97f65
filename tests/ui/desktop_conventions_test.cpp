// The conventions of a Qt desktop program on the main window: undo and redo,
// recent files, dropped files, plot export, shortcuts, status bar and where
// further windows open.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QUrl>
#include <filesystem>
#include <map>

#include "app/startup.h"
#include "plot/projection.h"
#include "ui/app_context.h"
#include "ui/edit_commands.h"
#include "ui/export_plot_dialog.h"
#include "ui/load_files_dialog.h"
#include "ui/main_window.h"
#include "ui/plot_view.h"
#include "ui/plot_window.h"
#include "ui/pointer_readout.h"
#include "ui/ssci_controls.h"
#include "ui/status_texts.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

using test::Drop;
using test::Example;
using test::ProgramIn;
using test::TempDir;
using test::WithModalsClosed;

QAction* Named(MainWindow& main, const char* name) { return main.findChild<QAction*>(name); }

QAction* ToolButton(MainWindow& main, const QString& caption) {
  for (QAction* a : main.findChild<QToolBar*>()->actions())
    if (a->text() == caption) return a;
  return nullptr;
}

std::unique_ptr<PoleFigure> Copy(const PoleFigure& pf) {
  auto copy = NewPoleFigure();
  *copy = pf;
  return copy;
}

TEST(DesktopUndo, SmoothingAndEditsAreUndoneAndRedoneExactly) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  QAction* undo = Named(main, "UndoAction");
  QAction* redo = Named(main, "RedoAction");
  ASSERT_TRUE(undo && redo);
  EXPECT_FALSE(undo->isEnabled());
  const auto loaded = Copy(*c.set.PF[1]);

  ToolButton(main, "Smooth")->trigger();
  const auto smoothed = Copy(*c.set.PF[1]);
  EXPECT_NE(smoothed->Intensity, loaded->Intensity);
  EXPECT_TRUE(c.set.PF[1]->Modified);
  EXPECT_EQ(undo->text(), "&Undo Smooth");

  // A value typed into the plot's editor is a second step; a refused text none.
  auto* readout = main.findChild<PointerReadout*>();
  ASSERT_NE(readout, nullptr);
  main.findChild<QLineEdit*>("EditPFValue")->setText("not a number");
  readout->EditPFValueEnter();
  EXPECT_EQ(main.UndoStack().count(), 1);
  main.findChild<QLineEdit*>("EditPFValue")->setText("12345");
  readout->EditPFValueEnter();
  ASSERT_EQ(main.UndoStack().count(), 2);
  const auto edited = Copy(*c.set.PF[1]);
  EXPECT_NE(edited->Intensity, smoothed->Intensity);

  undo->trigger();
  EXPECT_EQ(c.set.PF[1]->Intensity, smoothed->Intensity);
  EXPECT_EQ(c.set.PF[1]->MaxValue, smoothed->MaxValue);
  undo->trigger();
  EXPECT_EQ(c.set.PF[1]->Intensity, loaded->Intensity);
  EXPECT_EQ(c.set.PF[1]->Level, loaded->Level);
  EXPECT_FALSE(c.set.PF[1]->Modified);  // back to what the file holds
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_NE(c.set.PF[1]->Revision, loaded->Revision);  // still noticed as a change by those watching

  redo->trigger();
  redo->trigger();
  EXPECT_EQ(c.set.PF[1]->Intensity, edited->Intensity);
  EXPECT_TRUE(c.set.PF[1]->Modified);
  EXPECT_FALSE(redo->isEnabled());

  // Only the last 20 steps are kept.
  for (int k = 0; k < 25; ++k) ToolButton(main, "Smooth")->trigger();
  EXPECT_EQ(main.UndoStack().count(), 20);

  // "Revert to file" reads the file again, and is itself a step.
  const auto beforeRevert = Copy(*c.set.PF[1]);
  ASSERT_TRUE(main.RevertToFile());
  EXPECT_EQ(c.set.PF[1]->Intensity, loaded->Intensity);
  EXPECT_FALSE(c.set.PF[1]->Modified);
  undo->trigger();
  EXPECT_EQ(c.set.PF[1]->Intensity, beforeRevert->Intensity);

  // After a load of another file the steps would bring back foreign records.
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(Example("copper111_centre.pol"));
  main.OpenDlg().findChild<QLineEdit*>("GridEdit")->setText(Example("grid5_centre.rst"));
  c.load.ClearLayout();
  c.set.PF[1]->Modified = false;  // spares the question about the changes
  main.OpenDlg().OKBtnClick(true);
  ASSERT_EQ(c.set.PF[1]->FileName, Example("copper111_centre.pol").toStdString());
  EXPECT_EQ(main.UndoStack().count(), 0);
  EXPECT_FALSE(undo->isEnabled());
}

TEST(DesktopUndo, SmoothingAllWindowsIsOneStepAndSuppressionCanBeCancelled) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  ASSERT_TRUE(main.LoadIntoWindow(2, Example("copper111.pol").toStdString()));
  const auto main0 = Copy(*c.set.PF[1]);
  const auto second0 = Copy(*c.set.PF[2]);
  QAction* smoothAll = nullptr;
  for (QAction* a : main.findChild<QToolBar*>()->actions())
    if (a->toolTip() == "Smooth all PFs applying current settings") smoothAll = a;
  ASSERT_NE(smoothAll, nullptr);
  smoothAll->trigger();
  ASSERT_EQ(main.UndoStack().count(), 1);
  EXPECT_NE(c.set.PF[2]->Intensity, second0->Intensity);
  Named(main, "UndoAction")->trigger();
  EXPECT_EQ(c.set.PF[1]->Intensity, main0->Intensity);
  EXPECT_EQ(c.set.PF[2]->Intensity, second0->Intensity);
  EXPECT_FALSE(c.set.PF[2]->Modified);

  // A sharp single-crystal peak the suppression removes.
  PoleFigure& pf = *c.set.PF[1];
  pf.Intensity[8][20] = 50 * pf.MaxValue;
  MarkChanged(pf);
  const auto peaked = Copy(pf);
  SSCIClick(main, c);
  SSCIControls& controls = SuppressionControls(main, c);
  EXPECT_TRUE(main.findChild<QLabel*>("StatusMode")->text().contains("Suppression"));
  main.findChild<QSpinBox*>("SSCIUpDown")->setValue(10);
  ASSERT_LT(pf.Intensity[8][20], peaked->Intensity[8][20]);
  // Undo waits while a level is being chosen.
  Named(main, "UndoAction")->trigger();
  main.findChild<QPushButton*>("SSCICancelBtn")->click();
  EXPECT_FALSE(controls.Active());
  EXPECT_EQ(pf.Intensity, peaked->Intensity);
  EXPECT_EQ(main.UndoStack().count(), 1);  // the smoothing, waiting for its redo

  SSCIClick(main, c);
  main.findChild<QSpinBox*>("SSCIUpDown")->setValue(10);
  main.findChild<QPushButton*>("SSCIBtn")->click();
  ASSERT_EQ(main.UndoStack().count(), 1);  // the suppression replaced the undone smoothing
  EXPECT_EQ(main.UndoStack().undoText(), "Suppress Single Crystal Intensities");
  Named(main, "UndoAction")->trigger();
  EXPECT_EQ(pf.Intensity, peaked->Intensity);
}

TEST(DesktopShortcuts, TheStandardKeysAreThereAndNoneCollide) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {});
  MainWindow& main = *app->mainform;
  std::map<QString, QStringList> owners;
  for (QAction* a : main.findChildren<QAction*>())
    for (const QKeySequence& k : a->shortcuts()) owners[k.toString()] << QString(a->text()).remove('&');
  for (const auto& [key, actions] : owners)
    EXPECT_EQ(actions.size(), 1) << key.toStdString() << ": " << actions.join(", ").toStdString();
  const auto owner = [&](const char* key) { return owners[QKeySequence(key).toString()].value(0); };
  EXPECT_EQ(owner("Ctrl+O"), "Open");
  EXPECT_EQ(owner("F12"), "Open");
  EXPECT_EQ(owner("Ctrl+S"), "Save as ASCII");
  EXPECT_EQ(owner("Ctrl+P"), "Print");
  EXPECT_EQ(owner("Ctrl+Q"), "Exit");
  EXPECT_EQ(owner("Ctrl+Z"), "Undo");
  EXPECT_EQ(owner("Ctrl+Shift+Z"), "Redo");
  EXPECT_FALSE(owners[QKeySequence(QKeySequence::HelpContents).toString()].isEmpty());
}

// Two entries of one menu on the same underlined letter make that letter
// step between them instead of choosing.
TEST(DesktopShortcuts, NoTwoEntriesOfAMenuShareTheirLetter) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {});
  for (QMenu* menu : app->mainform->menuBar()->findChildren<QMenu*>()) {
    std::map<QChar, QStringList> owners;
    for (QAction* a : menu->actions()) {
      const QString text = a->text();
      const qsizetype at = text.indexOf(QRegularExpression("&[^&]"));
      if (at >= 0) owners[text.at(at + 1).toLower()] << QString(text).remove('&');
    }
    for (const auto& [letter, actions] : owners)
      EXPECT_EQ(actions.size(), 1) << menu->title().toStdString() << " '" << QString(letter).toStdString()
                                   << "': " << actions.join(", ").toStdString();
  }
}

TEST(DesktopRecentFiles, KeptAcrossARestartAndLoadedFromTheMenu) {
  const auto dir = TempDir();
  const QString user = QString::fromStdString((dir / "config").string());
  const RecentFile second{Example("copper.xpe").toStdString(), Example("grid5.rst").toStdString(), 2};
  {
    auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")}, user);
    ASSERT_TRUE(app->mainform->OpenRecent(second));
    EXPECT_EQ(app->mainform->windowTitle(), " Quorix - copper.xpe  [2]    [   2  0  0][*]");
  }
  auto next = StartUp(ProgramIn(dir), {}, user);
  MainWindow& main = *next->mainform;
  const auto entries = [&] {
    emit main.RecentMenu()->aboutToShow();
    return main.RecentMenu()->actions();
  };
  ASSERT_EQ(entries().size(), 2);
  EXPECT_TRUE(entries()[0]->text().contains("copper.xpe (PF 2)")) << entries()[0]->text().toStdString();
  EXPECT_TRUE(entries()[0]->text().contains("grid5.rst"));
  EXPECT_TRUE(entries()[1]->text().contains("copper111.pol"));

  entries()[0]->trigger();
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [2]    [   2  0  0][*]");
  EXPECT_EQ(next->context->load.PFIndex, -2);
  EXPECT_FALSE(main.OpenDlg().isVisible());
  entries()[1]->trigger();
  EXPECT_EQ(main.windowTitle(), " Quorix - copper111.pol[*]");
  EXPECT_TRUE(entries()[0]->text().contains("copper111.pol"));

  // A file gone since: one message naming it, and the pole figure stays.
  const RecentFile gone{(dir / "gone.pol").string(), Example("grid5.rst").toStdString(), 0};
  const int boxes = WithModalsClosed([&] { EXPECT_FALSE(main.OpenRecent(gone)); });
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(next->context->set.PF[1]->FileName, Example("copper111.pol").toStdString());
}

TEST(DesktopDrop, FilesDroppedOnTheMainWindowOrAFurtherWindowAreLoadedThere) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  Drop(&main, {Example("grid5.rst"), Example("copper111.pol")});
  EXPECT_EQ(main.windowTitle(), " Quorix - copper111.pol[*]");
  EXPECT_EQ(c.GridFileName, Example("grid5.rst").toStdString());
  EXPECT_FALSE(main.OpenDlg().isVisible());

  // Onto window 2: loaded there on the main window's grid.
  Drop(main.Window(2), {Example("copper111.pol")});
  ASSERT_TRUE(main.WindowVisible(2));
  EXPECT_EQ(main.Window(2)->windowTitle(), "2 * copper111.pol[*]");

  // A data file that does not fit the grid: the message, and nothing else changes.
  const int boxes = WithModalsClosed([&] { Drop(&main, {Example("copper200_offset.pol")}); });
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(c.set.PF[1]->FileName, Example("copper111.pol").toStdString());
  // With its own grid it loads.
  Drop(&main, {Example("copper200_offset.pol"), Example("offset5.grd")});
  EXPECT_EQ(main.windowTitle(), " Quorix - copper200_offset.pol[*]");
}

TEST(DesktopExport, PlotWrittenAsSvgPngAndPdfAndFailuresKeepTheDialog) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")});
  MainWindow& main = *app->mainform;
  ExportPlotDialog& dlg = main.ExportDialog();
  dlg.Prepare(main.Plot()->width(), main.Plot()->height());
  EXPECT_EQ(dlg.findChild<QSpinBox*>("WidthBox")->value(), main.Plot()->width());
  EXPECT_TRUE(dlg.findChild<QLineEdit*>("FileEdit")->text().endsWith("copper111.png"));

  const QString svg = QString::fromStdString((dir / "plot.svg").string());
  dlg.findChild<QLineEdit*>("FileEdit")->setText(svg);
  ASSERT_TRUE(dlg.Export());
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.contains("<svg"));
  EXPECT_TRUE(text.contains("copper111.pol"));

  const QString png = QString::fromStdString((dir / "plot.PNG").string());
  dlg.findChild<QLineEdit*>("FileEdit")->setText(png);
  dlg.findChild<QSpinBox*>("WidthBox")->setValue(600);
  dlg.findChild<QSpinBox*>("HeightBox")->setValue(420);
  dlg.findChild<QSpinBox*>("DpiBox")->setValue(300);
  ASSERT_TRUE(dlg.Export());
  const QImage image(png, "PNG");
  EXPECT_EQ(image.size(), QSize(600, 420));
  EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300, 1);

  const QString pdf = QString::fromStdString((dir / "plot.pdf").string());
  dlg.findChild<QLineEdit*>("FileEdit")->setText(pdf);
  ASSERT_TRUE(dlg.Export());
  QFile pdfFile(pdf);
  ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdfFile.read(5) == "%PDF-");

  // An unknown kind and a folder that does not exist: a message each, the typed name stays.
  for (const QString& bad : {QString::fromStdString((dir / "plot.bmp").string()),
                             QString::fromStdString((dir / "missing" / "plot.svg").string())}) {
    dlg.findChild<QLineEdit*>("FileEdit")->setText(bad);
    const int boxes = WithModalsClosed([&] { EXPECT_FALSE(dlg.Export()); });
    EXPECT_EQ(boxes, 1) << bad.toStdString();
    EXPECT_EQ(dlg.findChild<QLineEdit*>("FileEdit")->text(), bad);
    EXPECT_FALSE(QFileInfo::exists(bad));
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    EXPECT_NE(entry.path().filename().string().front(), '.') << "left behind: " << entry.path();

  main.ShowSaved(svg.toStdString());
  EXPECT_EQ(main.statusBar()->currentMessage(), "Saved to " + svg);
}

TEST(DesktopStatus, FileGridUnitPointerAndModes) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")});
  MainWindow& main = *app->mainform;
  EXPECT_EQ(main.findChild<QLabel*>("StatusFile")->text(), "copper111.pol");
  EXPECT_EQ(main.findChild<QLabel*>("StatusGrid")->text(), QString("19 circles x 72 points, alpha 0-90\u00b0"));
  EXPECT_EQ(main.findChild<QLabel*>("StatusUnit")->text(), "counts");
  main.findChild<QAction*>("mrdSpeedButton")->trigger();
  EXPECT_EQ(main.findChild<QLabel*>("StatusUnit")->text(), "m.r.d.");
  // A pole figure already in m.r.d. (corrected so) says so whatever the option.
  main.findChild<QAction*>("mrdSpeedButton")->trigger();
  app->context->set.PF[1]->InMrd = true;
  main.UpdateStatus();
  EXPECT_EQ(main.findChild<QLabel*>("StatusUnit")->text(), "m.r.d.");
  app->context->set.PF[1]->InMrd = false;

  // The pointer over the plot's centre: alpha 0 and the value of the pole.
  const int side = PlotSize(main.Plot()->width(), main.Plot()->height());
  const QPointF centre(side / 2.0, side / 2.0);
  QMouseEvent move(QEvent::MouseMove, centre, main.Plot()->mapToGlobal(centre), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(main.Plot(), &move);
  EXPECT_TRUE(main.findChild<QLabel*>("StatusPointer")->text().startsWith("alpha "))
      << main.findChild<QLabel*>("StatusPointer")->text().toStdString();
  EXPECT_TRUE(main.findChild<QLabel*>("StatusPointer")->text().contains("beta "))
      << main.findChild<QLabel*>("StatusPointer")->text().toStdString();
  EXPECT_TRUE(main.findChild<QLabel*>("StatusPointer")->text().contains("value "))
      << main.findChild<QLabel*>("StatusPointer")->text().toStdString();

  EXPECT_TRUE(main.findChild<QLabel*>("StatusMode")->text().isEmpty());
  main.SizeLabelClick();
  EXPECT_EQ(main.findChild<QLabel*>("StatusMode")->text(), "Pick mode");
  main.SizeLabelClick();
  app->context->state.Rotation.Mode = RotationMode::List;
  main.RedrawMain();
  EXPECT_EQ(main.findChild<QLabel*>("StatusMode")->text(), "Rotation shown (list)");

  // A pole figure of a file of several names its place and name.
  ASSERT_TRUE(main.OpenRecent({Example("copper.xpe").toStdString(), Example("grid5.rst").toStdString(), 3}));
  EXPECT_TRUE(main.findChild<QLabel*>("StatusFile")->text().startsWith("copper.xpe  PF 3"))
      << main.findChild<QLabel*>("StatusFile")->text().toStdString();
}

TEST(DesktopWindows, TheMainWindowGrowsAndFurtherWindowsLeaveItsMenusFree) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")});
  MainWindow& main = *app->mainform;
  EXPECT_EQ(main.maximumWidth(), QWIDGETSIZE_MAX);
  main.resize(1400, 980);
  QApplication::processEvents();
  EXPECT_GT(main.Plot()->Image().width(), MainWindow::kMaxWidth);
  main.resize(915, 705);
  QApplication::processEvents();

  for (int n = 2; n <= 8; ++n) ASSERT_TRUE(main.LoadIntoWindow(n, Example("copper111.pol").toStdString()));
  const int band = main.menuBar()->height() + main.findChild<QToolBar*>()->height();
  const QRect menus(main.frameGeometry().topLeft(), QSize(main.frameGeometry().width(), band));
  for (int n = 2; n <= 8; ++n) {
    EXPECT_FALSE(main.Window(n)->frameGeometry().intersects(menus)) << n;
    for (int m = 2; m < n; ++m) EXPECT_NE(main.Window(n)->pos(), main.Window(m)->pos()) << n << " " << m;
  }
}

}  // namespace
TEST(DesktopStatusTexts, TheReflectionIsNamedOnceWhereverTheFileGivesIt) {
  auto pf = NewPoleFigure();
  pf->FileName = "/data/scan.xrdml";
  pf->Hkl = "1 1 1";
  EXPECT_EQ(StatusFileText(*pf), "scan.xrdml  hkl 1 1 1");
  // In a file of several the picker's name already is the hkl.
  pf->IndexInFile = 2;
  pf->NameInFile = "1 1 1";
  EXPECT_EQ(StatusFileText(*pf), "scan.xrdml  PF 2 (1 1 1)");
  pf->Hkl.clear();
  pf->IndexInFile = 0;
  pf->NameInFile.clear();
  EXPECT_EQ(StatusFileText(*pf), "scan.xrdml");
}

}  // namespace quorix
