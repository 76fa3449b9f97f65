// The desktop program driven as a user would: start-up with a command line,
// multi-pole-figure files into windows 2..8, swapping, navigation keys.
#include "ui/main_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/startup.h"
#include "base/nearest.h"
#include "io/data_layout.h"
#include "plot/projection.h"
#include "ui/app_context.h"
#include "ui/load_files_dialog.h"
#include "ui/options_dialog.h"
#include "ui/plot_drawing.h"
#include "ui/plot_export.h"
#include "ui/plot_view.h"
#include "ui/plot_window.h"
#include "ui/pole_figure_picker.h"
#include "ui/save_all_dialog.h"
#include "ui/save_commands.h"
#include "ui/save_dialog.h"
#include "ui/smoothing_dialog.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

using test::WithModalsClosed;

QString Example(const char* name) { return test::ExampleFile(name); }
QString ProgramPath(const std::string& ini = "") { return test::ProgramInTempDir(ini); }

// A folder of this test's own beside the program's.
std::filesystem::path ScratchDir(const std::string& what) {
  const auto dir = test::TempDir() / what;
  std::filesystem::create_directories(dir);
  return dir;
}

void PressKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
}

TEST(DesktopStartUp, CommandLineWithPlainFileLoadsAndClosesTheDialog) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  EXPECT_EQ(main.windowTitle(), " Quorix - copper111.pol[*]");
  EXPECT_FALSE(main.OpenDlg().isVisible());
  EXPECT_TRUE(c.load.PlainFile);
  EXPECT_EQ(c.set.PF[1]->CircleCount, 19);
  EXPECT_EQ(c.set.PF[1]->FileName, Example("copper111.pol").toStdString());
  EXPECT_EQ(c.state.StartupSize, 0);  // applied once
  EXPECT_FALSE(main.Plot()->Image().isNull());
  for (int n = 2; n <= 8; ++n) EXPECT_FALSE(main.WindowVisible(n));
}

TEST(DesktopStartUp, OneArgumentLeavesTheDialogOpenAtTheGridField) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol")});
  MainWindow& main = *app->mainform;
  EXPECT_TRUE(main.OpenDlg().isVisible());
  EXPECT_TRUE(main.OpenDlg().findChild<QLineEdit*>("GridEdit")->text().isEmpty());
  EXPECT_EQ(main.windowTitle(), " Quorix");
  EXPECT_EQ(app->context->set.PF[1]->CircleCount, 0);
}

TEST(DesktopStartUp, ConfigurationFileSetsOptionsAndWindowPositions) {
  auto app = StartUp(ProgramPath("[Options]\nmrd=yes\ndrawgrid=no\n[Plot]\nplot3=top0051_left0077\nstartupsize=30\n"
                                 "[Files]\ngrid=" +
                                 Example("grid5.rst").toStdString() + "\n"),
                     {});
  AppContext& c = *app->context;
  EXPECT_TRUE(c.state.Options.ShowMrd);
  EXPECT_FALSE(c.state.Options.DrawGrid);
  EXPECT_EQ(c.state.StartupSize, 50);
  EXPECT_EQ(app->mainform->Window(3)->pos(), QPoint(77, 51));
  EXPECT_EQ(app->mainform->OpenDlg().findChild<QLineEdit*>("GridEdit")->text(), Example("grid5.rst"));
}

TEST(DesktopLoad, CheckedPoleFiguresGoToWindowsInListOrder) {
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  PoleFigurePicker& hkl = main.Plothkl();
  NullSink sink;
  hkl.SetItems(PickerList(Example("copper.xpe").toStdString(), DataLayout::Beartex, sink));
  // Entries 1 and 3 checked, entry 2 highlighted: 2 goes to the main window.
  hkl.SetChecked(0, true);
  hkl.SetChecked(1, true);
  hkl.SetChecked(2, true);
  hkl.SetHighlighted(1);
  c.load.HashListFile = true;
  c.load.LayoutFile = Example("copper.xpe").toStdString();
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(Example("copper.xpe"));
  main.OpenDlg().findChild<QLineEdit*>("GridEdit")->setText(Example("grid5.rst"));
  main.OpenDlg().OKBtnClick(true);

  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [2]    [   2  0  0][*]");
  ASSERT_TRUE(main.WindowVisible(2));
  ASSERT_TRUE(main.WindowVisible(3));
  EXPECT_FALSE(main.WindowVisible(4));
  EXPECT_EQ(main.Window(2)->windowTitle(), "2 * copper.xpe  [1]    [   1  1  1][*]");
  EXPECT_EQ(main.Window(3)->windowTitle(), "3 * copper.xpe  [3]    [   2  2  0][*]");
  EXPECT_EQ(c.load.PFIndex, 3);

  // Double-clicking window 3 twice restores pole figures and titles.
  const PoleFigure* main1 = c.set.PF[1].get();
  const PoleFigure* third = c.set.PF[3].get();
  main.PFDblClick(3);
  EXPECT_EQ(c.set.PF[1].get(), third);
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [3]    [   2  2  0][*]");
  EXPECT_EQ(main.Window(3)->windowTitle(), "3 * copper.xpe  [2]    [   2  0  0][*]");
  main.PFDblClick(3);
  EXPECT_EQ(c.set.PF[1].get(), main1);
  EXPECT_EQ(main.Window(3)->windowTitle(), "3 * copper.xpe  [3]    [   2  2  0][*]");

  // Closing a window releases its pole figure.
  main.Window(2)->close();
  EXPECT_FALSE(c.set.Occupied(2));
}

TEST(DesktopLoad, NavigationKeysStepThroughAMultiPoleFigureFile) {
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  NullSink sink;
  main.Plothkl().SetItems(PickerList(Example("copper.xpe").toStdString(), DataLayout::Beartex, sink));
  main.Plothkl().SetHighlighted(0);
  c.load.HashListFile = true;
  c.load.LayoutFile = Example("copper.xpe").toStdString();
  c.load.PFIndex = -1;
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(Example("copper.xpe"));
  main.OpenDlg().findChild<QLineEdit*>("GridEdit")->setText(Example("grid5.rst"));
  main.OpenDlg().OKBtnClick(false);
  const double first = c.set.PF[1]->MaxValue;

  PressKey(&main, Qt::Key_Right);
  EXPECT_EQ(c.load.PFIndex, -2);
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [2]    [   2  0  0][*]");
  EXPECT_NE(c.set.PF[1]->MaxValue, first);

  PressKey(&main, Qt::Key_5);  // beyond the three pole figures: nothing happens
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [2]    [   2  0  0][*]");

  PressKey(&main, Qt::Key_3, Qt::ShiftModifier);
  ASSERT_TRUE(main.WindowVisible(2));
  EXPECT_EQ(main.Window(2)->windowTitle(), "2 * copper.xpe  [3]    [   2  2  0][*]");
}

TEST(DesktopLoad, AFailedLoadKeepsThePoleFigureShown) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  const PoleFigure* before = c.set.PF[1].get();
  c.load.ClearLayout();
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(Example("copper200_offset.pol"));
  main.OpenDlg().findChild<QLineEdit*>("GridEdit")->setText(Example("grid5.rst"));
  main.OpenDlg().show();
  const int boxes = WithModalsClosed([&] { main.OpenDlg().OKBtnClick(true); });
  EXPECT_EQ(boxes, 1);  // "Expected 1368 data, found 1296."
  EXPECT_EQ(c.set.PF[1].get(), before);
  EXPECT_EQ(c.set.PF[1]->FileName, Example("copper111.pol").toStdString());
  EXPECT_TRUE(main.OpenDlg().isVisible());
}

// Runs `action`; a selection dialog that opens meanwhile gets entry `entry`
// highlighted and confirmed, any other modal window is closed and counted.
template <typename F>
int WithPickerAnswered(PoleFigurePicker& hkl, int entry, F action) {
  int closed = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) return;
    if (w == &hkl) {
      hkl.ClearButtonClick();
      hkl.SetChecked(entry, true);
      hkl.OKButtonClick();
    } else {
      w->close();
      ++closed;
    }
  });
  timer.start(20);
  action();
  return closed;
}

TEST(DesktopLoad, AFailedLoadKeepsNamesCaptionAndNavigation) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  const QString caption = main.windowTitle();
  // Data that do not fill another grid.
  main.ShowLoadFiles();
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(Example("copper200_offset.pol"));
  main.OpenDlg().findChild<QLineEdit*>("GridEdit")->setText(Example("grid5_centre.rst"));
  EXPECT_EQ(WithModalsClosed([&] { main.OpenDlg().OKBtnClick(true); }), 1);
  EXPECT_EQ(c.GridFileName, Example("grid5.rst").toStdString());
  EXPECT_EQ(c.DataFileName, Example("copper111.pol").toStdString());
  EXPECT_EQ(c.set.PF[1]->Grid, GridKind::Simple);
  EXPECT_EQ(main.windowTitle(), caption);
  // "Run Copy" starts with what is shown.
  EXPECT_EQ(main.CopyCommandLine(), QStringList({Example("copper111.pol"), Example("grid5.rst")}));
}

TEST(DesktopLoad, ATypedDataFileNameGetsItsOwnLayout) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  main.ShowLoadFiles();
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(Example("copper.xpe"));
  const int boxes = WithPickerAnswered(main.Plothkl(), 2, [&] { main.OpenDlg().OKBtnClick(true); });
  EXPECT_EQ(boxes, 0);
  EXPECT_TRUE(c.load.HashListFile);
  EXPECT_FALSE(c.load.PlainFile);
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [3]    [   2  2  0][*]");
  EXPECT_FALSE(main.OpenDlg().isVisible());

  // And back to a plain file, typed again.
  main.ShowLoadFiles();
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(Example("copper111_centre.pol"));
  main.OpenDlg().findChild<QLineEdit*>("GridEdit")->setText(Example("grid5_centre.rst"));
  EXPECT_EQ(WithModalsClosed([&] { main.OpenDlg().OKBtnClick(true); }), 0);
  EXPECT_TRUE(c.load.PlainFile);
  EXPECT_EQ(main.windowTitle(), " Quorix - copper111_centre.pol[*]");
}

TEST(DesktopLoad, LoadingKeepsTheTriclinicChoice) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  c.state.Rotation.TriclinicSymmetry = true;
  c.state.Rotation.Mode = RotationMode::Matrix;
  main.ShowLoadFiles();  // the next load resets the rotation
  main.OpenDlg().OKBtnClick(true);
  EXPECT_FALSE(main.OpenDlg().isVisible());
  EXPECT_EQ(c.state.Rotation.Mode, RotationMode::None);
  EXPECT_TRUE(c.state.Rotation.TriclinicSymmetry);
}

TEST(DesktopLoad, RunCopyPassesDirectionalDataAsSuch) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  c.load.DirectionalMode = true;  // as after a directional load
  c.DataFileName = Example("cracks.txt").toStdString();
  const QStringList copy = main.CopyCommandLine();
  EXPECT_EQ(copy, QStringList({"--directional", Example("cracks.txt"), Example("grid5.rst")}));

  // The second instance asks for the parameters and loads directional data.
  std::unique_ptr<Application> second;
  const int boxes = WithModalsClosed([&] { second = StartUp(ProgramPath(), copy); });
  EXPECT_EQ(boxes, 1);  // "Parameters", cancelled here
  EXPECT_TRUE(second->mainform->OpenDlg().findChild<QCheckBox*>("DirDataCheckBox")->isChecked());
  EXPECT_EQ(second->mainform->OpenDlg().findChild<QLineEdit*>("PFEdit")->text(), Example("cracks.txt"));
  EXPECT_TRUE(second->mainform->OpenDlg().isVisible());
  EXPECT_EQ(second->context->set.PF[1]->CircleCount, 0);
}

TEST(SelectionDialog, OkNeedsOneToEightCheckedAndHighlightsTheFirst) {
  PoleFigurePicker hkl;
  hkl.SetItems({"a", "b", "c", "d", "e", "f", "g", "h", "i"});
  hkl.show();
  hkl.OKButtonClick();
  EXPECT_TRUE(hkl.isVisible());
  for (int i = 0; i < 9; ++i) hkl.SetChecked(i, true);
  EXPECT_EQ(WithModalsClosed([&] { hkl.OKButtonClick(); }), 1);  // nine checked: at most 8 fit
  EXPECT_TRUE(hkl.isVisible());
  hkl.ClearButtonClick();
  hkl.SetChecked(2, true);
  hkl.SetChecked(5, true);
  hkl.SetHighlighted(7);
  hkl.OKButtonClick();
  EXPECT_FALSE(hkl.isVisible());
  EXPECT_EQ(hkl.Highlighted(), 2);
  EXPECT_EQ(hkl.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace quorix

int main(int argc, char** argv) {
  // No display is needed; test discovery at build time runs without one.
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

namespace quorix {
namespace {

TEST(DesktopPointer, PositionFollowsThePlotOnANarrowImage) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  MainWindow& main = *app->mainform;
  main.show();
  // 800 x 700 is narrower than 1.4 x its height: the plot shrinks to 571 pixels.
  main.Plot()->resize(800, 700);
  main.RedrawMain();
  const int side = PlotSize(800, 700);
  ASSERT_LT(side, 700);
  const Pixel at = ProjectPoint(side, 35, 45, false);
  QMouseEvent move(QEvent::MouseMove, QPointF(at.x, at.y), QPointF(at.x, at.y), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(main.Plot(), &move);
  EXPECT_EQ(main.findChild<QLabel*>("PosLabel")->text(), "( 45 / 35 )");
}

}  // namespace
}  // namespace quorix

namespace quorix {
namespace {

TEST(DesktopStartUp, NothingLoadedShowsABlankPage) {
  auto app = StartUp(ProgramPath(), {});
  MainWindow& main = *app->mainform;
  main.RedrawMain();
  const QImage& image = main.Plot()->Image();
  ASSERT_FALSE(image.isNull());
  for (int y = 0; y < image.height(); y += 7)
    for (int x = 0; x < image.width(); x += 7) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

}  // namespace
}  // namespace quorix

namespace quorix {
namespace {

// copper.xpe holds three pole figures; the first goes to the main window.
void LoadCopperList(AppContext& c, MainWindow& main) {
  NullSink sink;
  c.load.PoleFigureNames = PickerList(Example("copper.xpe").toStdString(), DataLayout::Beartex, sink);
  main.Plothkl().SetItems(c.load.PoleFigureNames);
  main.Plothkl().SetHighlighted(0);
  c.load.HashListFile = true;
  c.load.LayoutFile = Example("copper.xpe").toStdString();
  c.load.PFIndex = -1;
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(Example("copper.xpe"));
  main.OpenDlg().findChild<QLineEdit*>("GridEdit")->setText(Example("grid5.rst"));
  main.OpenDlg().OKBtnClick(false);
}

const QString kFirst = " Quorix - copper.xpe  [1]    [   1  1  1][*]";
const QString kSecond = " Quorix - copper.xpe  [2]    [   2  0  0][*]";

QAction* ToolButton(MainWindow& main, const QString& hint) {
  for (QAction* a : main.findChild<QToolBar*>()->actions())
    if (a->toolTip().section('\n', 0, 0) == hint) return a;
  return nullptr;
}

QAction* MenuCommand(MainWindow& main, const QString& text) {
  for (QAction* a : main.findChildren<QAction*>())
    if (a->text() == text) return a;
  return nullptr;
}

// Shows the main window and waits until it is the active one.
void ShowActive(MainWindow& main) {
  main.show();
  main.activateWindow();
  for (int k = 0; k < 100 && QApplication::activeWindow() != &main; ++k) QApplication::processEvents();
}

// Answers every question box shown during `action` with `answer`, closes any
// other modal window, and returns the questions' texts.
template <typename F>
QStringList Answering(QMessageBox::StandardButton answer, F action) {
  QStringList asked;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) return;
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box && box->button(answer)) {
      asked << box->text();
      box->button(answer)->click();
    } else {
      w->close();
    }
  });
  timer.start(20);
  action();
  return asked;
}

TEST(DesktopUnsavedWork, AChangedPoleFigureIsNotReplacedOrClosedWithoutAsking) {
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  LoadCopperList(c, main);
  main.show();
  EXPECT_FALSE(c.set.PF[1]->Modified);
  ToolButton(main, "Smooth PF applying current settings")->trigger();
  ASSERT_TRUE(c.set.PF[1]->Modified);
  const PoleFigure* smoothed = c.set.PF[1].get();

  // A key that finds nothing to load replaces nothing, so it asks nothing.
  QStringList asked = Answering(QMessageBox::Cancel, [&] { PressKey(&main, Qt::Key_9); });
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_EQ(c.set.PF[1].get(), smoothed);
  c.load.PFIndex = -1;

  // Cancel keeps the work, whether stepping, loading or closing.
  asked = Answering(QMessageBox::Cancel, [&] { PressKey(&main, Qt::Key_Right); });
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains("copper.xpe")) << asked[0].toStdString();
  asked = Answering(QMessageBox::Cancel, [&] { main.OpenDlg().OKBtnClick(true); });
  EXPECT_EQ(asked.size(), 1);
  asked = Answering(QMessageBox::Cancel, [&] { EXPECT_FALSE(main.close()); });
  EXPECT_EQ(asked.size(), 1);
  EXPECT_TRUE(main.isVisible());
  // So does Save when its dialog is cancelled.
  asked = Answering(QMessageBox::Save, [&] { PressKey(&main, Qt::Key_Right); });
  EXPECT_EQ(asked.size(), 1);
  EXPECT_EQ(c.set.PF[1].get(), smoothed);
  EXPECT_EQ(c.load.PFIndex, -1);
  EXPECT_EQ(main.windowTitle(), kFirst);

  asked = Answering(QMessageBox::Discard, [&] { PressKey(&main, Qt::Key_Right); });
  EXPECT_EQ(asked.size(), 1);
  EXPECT_EQ(main.windowTitle(), kSecond);
  EXPECT_FALSE(c.set.PF[1]->Modified);
  // Nothing changed: no question.
  asked = Answering(QMessageBox::Cancel, [&] { PressKey(&main, Qt::Key_Left); });
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_EQ(main.windowTitle(), kFirst);

  // A changed further window counts when the program ends.
  PressKey(&main, Qt::Key_2, Qt::ShiftModifier);
  ASSERT_TRUE(main.WindowVisible(2));
  c.set.PF[2]->Modified = true;
  asked = Answering(QMessageBox::Discard, [&] { EXPECT_TRUE(main.close()); });
  EXPECT_EQ(asked.size(), 1);
}

TEST(DesktopUnsavedWork, ASuccessfulSaveEndsTheQuestions) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  c.set.PF[1]->Modified = true;
  const QString saved = QString::fromStdString((ScratchDir("saved") / "quorix_saved.z01").string());
  // An existing file would be asked about first.
  std::filesystem::remove(saved.toStdString());
  test::WhenModal<SaveDialog>([&](SaveDialog& dlg) {
    dlg.findChild<QLineEdit*>("PFEdit")->setText(saved);
    dlg.accept();
  });
  SaveAsAscii(main, c);
  EXPECT_TRUE(QFileInfo::exists(saved));
  EXPECT_FALSE(c.set.PF[1]->Modified);
  EXPECT_TRUE(Answering(QMessageBox::Cancel, [&] { main.close(); }).isEmpty());
}

TEST(DesktopKeyboard, CtrlAndAltCombinationsAreNoNavigationKeys) {
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  LoadCopperList(c, main);
  const PoleFigure* shown = c.set.PF[1].get();
  PressKey(&main, Qt::Key_B, Qt::ControlModifier);
  PressKey(&main, Qt::Key_C, Qt::ControlModifier);
  PressKey(&main, Qt::Key_2, Qt::AltModifier);
  PressKey(&main, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(c.set.PF[1].get(), shown);
  EXPECT_EQ(main.windowTitle(), kFirst);
  EXPECT_FALSE(main.WindowVisible(2));
  PressKey(&main, Qt::Key_2);
  EXPECT_EQ(main.windowTitle(), kSecond);
}

TEST(DesktopKeyboard, ShiftDigitOfRealLayoutsLoadsIntoTheFirstFreeWindow) {
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  LoadCopperList(c, main);
  // What X11 reports: the shifted symbol, the key code of the digit's key
  // (evdev + 8) and the symbol's keysym.
  struct RealKey {
    int key;
    quint32 scanCode, keysym;
    const char* text;
  };
  const RealKey keys[] = {
      {Qt::Key_Exclam, 10, 0x21, "!"},      // Shift+1, US and German
      {Qt::Key_QuoteDbl, 11, 0x22, "\""},   // Shift+2, German
      {Qt::Key_NumberSign, 12, 0x23, "#"},  // Shift+3, US
  };
  for (const RealKey& k : keys) {
    QKeyEvent press(QEvent::KeyPress, k.key, Qt::ShiftModifier, k.scanCode, k.keysym, 0x1, k.text);
    QApplication::sendEvent(&main, &press);
  }
  ASSERT_TRUE(main.WindowVisible(2));
  ASSERT_TRUE(main.WindowVisible(3));
  ASSERT_TRUE(main.WindowVisible(4));
  EXPECT_EQ(main.Window(2)->windowTitle(), "2 * copper.xpe  [1]    [   1  1  1][*]");
  EXPECT_EQ(main.Window(3)->windowTitle(), "3 * copper.xpe  [2]    [   2  0  0][*]");
  EXPECT_EQ(main.Window(4)->windowTitle(), "4 * copper.xpe  [3]    [   2  2  0][*]");
  EXPECT_EQ(main.windowTitle(), kFirst);
  // A symbol key elsewhere on the keyboard is none of them.
  QKeyEvent slash(QEvent::KeyPress, Qt::Key_Question, Qt::ShiftModifier, 61, 0x3f, 0x1, "?");
  QApplication::sendEvent(&main, &slash);
  EXPECT_FALSE(main.WindowVisible(5));
}

TEST(DesktopKeyboard, KeysReachTheMainWindowAfterTheValueEditorCloses) {
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  LoadCopperList(c, main);
  ShowActive(main);
  auto* editor = main.findChild<QLineEdit*>("EditPFValue");
  ASSERT_TRUE(editor);
  const auto openEditor = [&] {
    const int side = PlotSize(main.Plot()->width(), main.Plot()->height());
    const Pixel at = ProjectPoint(side, 35, 45, false);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent e(type, QPointF(at.x, at.y), QPointF(at.x, at.y), Qt::RightButton,
                    type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(main.Plot(), &e);
    }
    ASSERT_TRUE(editor->isVisible());
  };
  // The keys go where a keyboard would send them: to the focus widget.
  const auto type = [&](int key) { PressKey(main.focusWidget() ? main.focusWidget() : &main, key); };

  openEditor();
  type(Qt::Key_Escape);
  EXPECT_FALSE(editor->isVisible());
  type(Qt::Key_Right);
  EXPECT_EQ(main.windowTitle(), kSecond);

  openEditor();
  editor->setText("5");
  type(Qt::Key_Return);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_TRUE(c.set.PF[1]->Modified);
  Answering(QMessageBox::Discard, [&] { type(Qt::Key_Left); });
  EXPECT_EQ(main.windowTitle(), kFirst);
}

TEST(DesktopKeyboard, TheMainWindowIsActiveAgainAfterSmoothing) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  MainWindow& main = *app->mainform;
  ShowActive(main);
  ASSERT_EQ(QApplication::activeWindow(), &main);
  test::WhenModal<SmoothingDialog>([](SmoothingDialog& dlg) { dlg.OKBtnClick(); });
  MenuCommand(main, "&Smooth Pole Figures")->trigger();
  for (int k = 0; k < 20; ++k) QApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), &main);
}

TEST(DesktopOptions, FillOptionAndFillButtonShowOneState) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  ASSERT_FALSE(c.state.Options.FillAreas);
  const auto options = [&](std::function<void(OptionsDialog&)> inDialog) {
    test::WhenModal<OptionsDialog>(inDialog);
    main.ShowOptionsDialog();
  };
  options([](OptionsDialog& d) {
    d.findChild<QCheckBox*>("FillCheckBox")->setChecked(true);
    d.OKBtnClick();
  });
  EXPECT_TRUE(c.state.Options.FillAreas);
  EXPECT_TRUE(main.findChild<QAction*>("FillSpeedButton")->isChecked());

  main.findChild<QAction*>("FillSpeedButton")->trigger();  // one click switches the fill off
  EXPECT_FALSE(c.state.Options.FillAreas);
  options([](OptionsDialog& d) {
    EXPECT_FALSE(d.findChild<QCheckBox*>("FillCheckBox")->isChecked());
    d.reject();
  });
  EXPECT_FALSE(main.findChild<QAction*>("FillSpeedButton")->isChecked());
}

TEST(DesktopPrint, APageShowsTheScreenLayoutScaledIntoThePrintableArea) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  c.state.Options.ShowEigenvalues = true;  // the longest lines at the right
  const PoleFigure& pf = *c.set.PF[1];
  // Inked pixels' bounding box.
  const auto ink = [](const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 160) box |= QRect(x, y, 1, 1);
    return box;
  };
  // 1000 x 600 has room for every line; 800 x 600 cuts the eigenvalue lines.
  for (const QSize screen : {QSize(1000, 600), QSize(800, 600)}) {
    const QImage shown = DrawPlotImage(pf, c.state, screen.width(), screen.height());
    // A portrait page, two and a half times the screen's width.
    const QSize page(screen.width() * 5 / 2, screen.width() * 7 / 2);
    QImage printed(page, QImage::Format_RGB32);
    printed.fill(Qt::white);
    ASSERT_TRUE(DrawPlotPage(printed, page, pf, c.state, screen.width(), screen.height(), nullptr));
    const QRect onScreen = ink(shown);
    const QRect onPage = ink(printed);
    ASSERT_TRUE(onScreen.isValid());
    EXPECT_LT(onPage.right(), page.width() - 10) << screen.width();
    EXPECT_NEAR(onPage.left(), 0, 20);
    EXPECT_NEAR(onPage.top(), 0, 20);
    const double scale = static_cast<double>(onPage.bottom()) / onScreen.bottom();
    if (screen.width() == 1000) {
      EXPECT_NEAR(scale, 2.5, 0.05);
      EXPECT_NEAR(onPage.right(), onScreen.right() * scale, 6 * scale);
    } else {
      EXPECT_EQ(onScreen.right(), screen.width() - 1);    // cut on the screen
      EXPECT_GT(onPage.right() / scale, screen.width());  // shown whole on the page
    }
    // Line by line as on the screen: the legend's text rows at the same heights.
    const auto rows = [](const QImage& image, int left, int right, int bottom) {
      std::vector<int> starts;
      bool inked = false;
      for (int y = 0; y < bottom; ++y) {
        bool any = false;
        for (int x = left; x < right && !any; ++x) any = qGray(image.pixel(x, y)) < 160;
        if (any && !inked) starts.push_back(y);
        inked = any;
      }
      return starts;
    };
    const int side = PlotSize(screen.width(), screen.height());
    const std::vector<int> screenRows = rows(shown, side + 40, std::min(side + 150, screen.width()), side / 3);
    const std::vector<int> pageRows =
        rows(printed, Nearest((side + 40) * scale), Nearest(std::min(side + 150, screen.width()) * scale),
             Nearest(side / 3 * scale));
    ASSERT_EQ(pageRows.size(), screenRows.size()) << screen.width();
    for (std::size_t k = 0; k < screenRows.size(); ++k) EXPECT_NEAR(pageRows[k], screenRows[k] * scale, 2 * scale);
  }
}

// What a load leaves in the user's configuration: the next start offers the
// same files, and the file beside the program (a portable copy) is only read.
TEST(DesktopStartUp, TheNextRunOffersTheLastFilesFromTheUsersFolder) {
  const QString program = ProgramPath("[Options]\nmrd=yes\n");
  const auto user = std::filesystem::path(program.toStdString()).parent_path() / "config" / "quorix";
  std::filesystem::remove_all(user);
  {
    auto app =
        StartUp(program, {Example("copper111.pol"), Example("grid5.rst")}, QString::fromStdString(user.string()));
    EXPECT_TRUE(app->context->state.Options.ShowMrd);  // seeded from beside the program
    ASSERT_EQ(app->context->set.PF[1]->CircleCount, 19);
  }
  ASSERT_TRUE(std::filesystem::exists(user / "quorix.ini"));
  auto next = StartUp(program, {}, QString::fromStdString(user.string()));
  EXPECT_EQ(next->mainform->OpenDlg().findChild<QLineEdit*>("PFEdit")->text(),
            QFileInfo(Example("copper111.pol")).absoluteFilePath());
  EXPECT_EQ(next->mainform->OpenDlg().findChild<QLineEdit*>("GridEdit")->text(),
            QFileInfo(Example("grid5.rst")).absoluteFilePath());
  EXPECT_EQ(next->context->state.DataPath, QFileInfo(Example("copper111.pol")).absolutePath().toStdString());
  EXPECT_TRUE(next->context->state.Options.ShowMrd);  // kept in the user's file
  EXPECT_EQ(next->context->IniFileName, (user / "quorix.ini").string());
}

// A configuration file too large to be one is ignored, and the user is told
// why the settings are the defaults instead of being left to wonder.
TEST(DesktopStartUp, AnOversizedConfigurationFileIsIgnoredWithAMessage) {
  const QString program = ProgramPath("[Options]\nmrd=yes\n;" + std::string(kMaxIniFileSize, 'x') + "\n");
  std::unique_ptr<Application> app;
  const QStringList told = Answering(QMessageBox::Ok, [&] { app = StartUp(program, {}); });
  ASSERT_EQ(told.size(), 1);
  EXPECT_TRUE(told[0].contains("larger than 1 MB and was ignored")) << told[0].toStdString();
  EXPECT_FALSE(app->context->state.Options.ShowMrd);
}

// "Save all formatted" proposes a new name, asks before writing over a file
// (here the loaded data file itself) and tells where the file went.
TEST(DesktopSave, NoFileIsOverwrittenWithoutAskingAndTheStatusBarSaysWhereItWent) {
  const auto dir = ScratchDir("overwrite");
  const auto data = dir / "copper.xpe";
  std::filesystem::copy_file(Example("copper.xpe").toStdString(), data,
                             std::filesystem::copy_options::overwrite_existing);
  const auto original = std::filesystem::file_size(data);
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  // The copy's first pole figure, chosen as the picker would.
  NullSink quiet;
  c.load.PoleFigureNames = PickerList(data.string(), DataLayout::Beartex, quiet);
  main.Plothkl().SetItems(c.load.PoleFigureNames);
  main.Plothkl().SetHighlighted(0);
  c.load.HashListFile = true;
  c.load.LayoutFile = data.string();
  c.load.PFIndex = -1;
  main.OpenDlg().findChild<QLineEdit*>("PFEdit")->setText(QString::fromStdString(data.string()));
  main.OpenDlg().findChild<QLineEdit*>("GridEdit")->setText(Example("grid5.rst"));
  main.OpenDlg().OKBtnClick(false);
  ASSERT_TRUE(c.set.Occupied(1));
  SaveAllDialog& dlg = SharedSaveAllDialog(main, c);
  dlg.FormShow();
  const QString proposed = dlg.findChild<QLineEdit*>("OutfileEdit")->text();
  EXPECT_NE(QFileInfo(proposed).absoluteFilePath(),
            QFileInfo(QString::fromStdString(data.string())).absoluteFilePath());
  EXPECT_TRUE(proposed.endsWith("copper_saved.xpe")) << proposed.toStdString();

  // A new file is written without a question.
  std::filesystem::remove(proposed.toStdString());
  QStringList asked = Answering(QMessageBox::No, [&] { dlg.OKBtnClick(); });
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_TRUE(QFileInfo::exists(proposed));
  EXPECT_EQ(main.statusBar()->currentMessage(), "Saved to " + proposed);

  // Writing over the data file asks; "No" leaves it as it was.
  dlg.findChild<QLineEdit*>("OutfileEdit")->setText(QString::fromStdString(data.string()));
  main.statusBar()->clearMessage();
  asked = Answering(QMessageBox::No, [&] { dlg.OKBtnClick(); });
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains("already exists")) << asked[0].toStdString();
  EXPECT_EQ(std::filesystem::file_size(data), original);
  EXPECT_TRUE(main.statusBar()->currentMessage().isEmpty());
  // "Yes" replaces it.
  asked = Answering(QMessageBox::Yes, [&] { dlg.OKBtnClick(); });
  EXPECT_EQ(asked.size(), 1);
  EXPECT_EQ(main.statusBar()->currentMessage(), "Saved to " + QString::fromStdString(data.string()));
  dlg.close();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quorix
