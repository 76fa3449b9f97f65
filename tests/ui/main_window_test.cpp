// The desktop program driven as a user would: start-up with a command line,
// multi-pole-figure files into windows 2..8, swapping, navigation keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/startup.h"
#include "io/data_layout.h"
#include "plot/projection.h"
#include "ui/app_context.h"
#include "ui/main_form.h"
#include "ui/open_dlg.h"
#include "ui/plot_view.h"
#include "ui/plothkl.h"
#include "ui/ppf_window.h"

namespace quorix {
namespace {

QString Example(const char* name) { return QString(QUORIX_SOURCE_DIR) + "/examples/" + name; }

// The configuration file is looked up beside the program; keep it in a fresh folder.
QString ProgramPath(const std::string& ini = "") {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("quorix_gui_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  std::filesystem::create_directories(dir);
  const auto program = dir / "quorix";
  std::filesystem::remove(dir / "quorix.ini");
  if (!ini.empty()) {
    FILE* f = std::fopen((dir / "quorix.ini").c_str(), "w");
    std::fputs(ini.c_str(), f);
    std::fclose(f);
  }
  return QString::fromStdString(program.string());
}

// Closes whatever modal window (message box, dialog) opens during `action`.
template <typename F>
int WithModalsClosed(F action) {
  int closed = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      w->close();
      ++closed;
    }
  });
  timer.start(20);
  action();
  return closed;
}

void PressKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
}

TEST(DesktopStartUp, CommandLineWithPlainFileLoadsAndClosesTheDialog) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  TMainform& main = *app->mainform;
  EXPECT_EQ(main.windowTitle(), " Quorix - copper111.pol");
  EXPECT_FALSE(main.OpenDlg().isVisible());
  EXPECT_TRUE(c.load.PlainFile);
  EXPECT_EQ(c.set.PF[1]->CircleCount, 19);
  EXPECT_EQ(c.set.PF[1]->FileName, Example("copper111.pol").toStdString());
  EXPECT_EQ(c.state.StartupSize, 0);  // applied once
  EXPECT_FALSE(main.Image1->Image().isNull());
  for (int n = 2; n <= 8; ++n) EXPECT_FALSE(main.WindowVisible(n));
}

TEST(DesktopStartUp, OneArgumentLeavesTheDialogOpenAtTheGridField) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol")});
  TMainform& main = *app->mainform;
  EXPECT_TRUE(main.OpenDlg().isVisible());
  EXPECT_TRUE(main.OpenDlg().GridEdit->text().isEmpty());
  EXPECT_EQ(main.windowTitle(), " Quorix");
  EXPECT_EQ(app->context->set.PF[1]->CircleCount, 0);
}

TEST(DesktopStartUp, ConfigurationFileSetsOptionsAndWindowPositions) {
  auto app = StartUp(ProgramPath("[Options]\nmrd=yes\ndrawgrid=no\n[Plot]\nplot3=top0051_left0077\nstartupsize=30\n"
                                 "[Files]\ngrid=" + Example("grid5.rst").toStdString() + "\n"),
                     {});
  AppContext& c = *app->context;
  EXPECT_TRUE(c.state.Options.ShowMrd);
  EXPECT_FALSE(c.state.Options.DrawGrid);
  EXPECT_EQ(c.state.StartupSize, 50);
  EXPECT_EQ(app->mainform->Window(3)->pos(), QPoint(77, 51));
  EXPECT_EQ(app->mainform->OpenDlg().GridEdit->text(), Example("grid5.rst"));
}

TEST(DesktopLoad, CheckedPoleFiguresGoToWindowsInListOrder) {
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  TMainform& main = *app->mainform;
  TPlothkl& hkl = main.Plothkl();
  NullSink sink;
  hkl.SetItems(PickerList(Example("copper.xpe").toStdString(), DataLayout::HashList, sink));
  // Entries 1 and 3 checked, entry 2 highlighted: 2 goes to the main window.
  hkl.SetChecked(0, true);
  hkl.SetChecked(1, true);
  hkl.SetChecked(2, true);
  hkl.SetHighlighted(1);
  c.load.HashListFile = true;
  c.load.LayoutFile = Example("copper.xpe").toStdString();
  main.OpenDlg().PFEdit->setText(Example("copper.xpe"));
  main.OpenDlg().GridEdit->setText(Example("grid5.rst"));
  main.OpenDlg().OKBtnClick(true);

  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [2]    [   2  0  0]");
  ASSERT_TRUE(main.WindowVisible(2));
  ASSERT_TRUE(main.WindowVisible(3));
  EXPECT_FALSE(main.WindowVisible(4));
  EXPECT_EQ(main.Window(2)->windowTitle(), "2 * copper.xpe  [1]    [   1  1  1]");
  EXPECT_EQ(main.Window(3)->windowTitle(), "3 * copper.xpe  [3]    [   2  2  0]");
  EXPECT_EQ(c.load.PFIndex, 3);

  // Double-clicking window 3 twice restores pole figures and titles.
  const TPoleFigure* main1 = c.set.PF[1].get();
  const TPoleFigure* third = c.set.PF[3].get();
  main.PFDblClick(3);
  EXPECT_EQ(c.set.PF[1].get(), third);
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [3]    [   2  2  0]");
  EXPECT_EQ(main.Window(3)->windowTitle(), "3 * copper.xpe  [2]    [   2  0  0]");
  main.PFDblClick(3);
  EXPECT_EQ(c.set.PF[1].get(), main1);
  EXPECT_EQ(main.Window(3)->windowTitle(), "3 * copper.xpe  [3]    [   2  2  0]");

  // Closing a window releases its pole figure.
  main.Window(2)->close();
  EXPECT_FALSE(c.set.Occupied(2));
}

TEST(DesktopLoad, NavigationKeysStepThroughAMultiPoleFigureFile) {
  auto app = StartUp(ProgramPath(), {});
  AppContext& c = *app->context;
  TMainform& main = *app->mainform;
  NullSink sink;
  main.Plothkl().SetItems(PickerList(Example("copper.xpe").toStdString(), DataLayout::HashList, sink));
  main.Plothkl().SetHighlighted(0);
  c.load.HashListFile = true;
  c.load.LayoutFile = Example("copper.xpe").toStdString();
  c.load.PFIndex = -1;
  main.OpenDlg().PFEdit->setText(Example("copper.xpe"));
  main.OpenDlg().GridEdit->setText(Example("grid5.rst"));
  main.OpenDlg().OKBtnClick(false);
  const double first = c.set.PF[1]->MaxValue;

  PressKey(&main, Qt::Key_Right);
  EXPECT_EQ(c.load.PFIndex, -2);
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [2]    [   2  0  0]");
  EXPECT_NE(c.set.PF[1]->MaxValue, first);

  PressKey(&main, Qt::Key_5);  // beyond the three pole figures: nothing happens
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [2]    [   2  0  0]");

  PressKey(&main, Qt::Key_3, Qt::ShiftModifier);
  ASSERT_TRUE(main.WindowVisible(2));
  EXPECT_EQ(main.Window(2)->windowTitle(), "2 * copper.xpe  [3]    [   2  2  0]");
}

TEST(DesktopLoad, AFailedLoadKeepsThePoleFigureShown) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  TMainform& main = *app->mainform;
  const TPoleFigure* before = c.set.PF[1].get();
  c.load.ClearLayout();
  main.OpenDlg().PFEdit->setText(Example("copper200_offset.pol"));
  main.OpenDlg().GridEdit->setText(Example("grid5.rst"));
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
int WithPickerAnswered(TPlothkl& hkl, int entry, F action) {
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
  TMainform& main = *app->mainform;
  const QString caption = main.windowTitle();
  // Data that do not fill another grid.
  main.Open1Click();
  main.OpenDlg().PFEdit->setText(Example("copper200_offset.pol"));
  main.OpenDlg().GridEdit->setText(Example("grid5_centre.rst"));
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
  TMainform& main = *app->mainform;
  main.Open1Click();
  main.OpenDlg().PFEdit->setText(Example("copper.xpe"));
  const int boxes = WithPickerAnswered(main.Plothkl(), 2, [&] { main.OpenDlg().OKBtnClick(true); });
  EXPECT_EQ(boxes, 0);
  EXPECT_TRUE(c.load.HashListFile);
  EXPECT_FALSE(c.load.PlainFile);
  EXPECT_EQ(main.windowTitle(), " Quorix - copper.xpe  [3]    [   2  2  0]");
  EXPECT_FALSE(main.OpenDlg().isVisible());

  // And back to a plain file, typed again.
  main.Open1Click();
  main.OpenDlg().PFEdit->setText(Example("copper111_centre.pol"));
  main.OpenDlg().GridEdit->setText(Example("grid5_centre.rst"));
  EXPECT_EQ(WithModalsClosed([&] { main.OpenDlg().OKBtnClick(true); }), 0);
  EXPECT_TRUE(c.load.PlainFile);
  EXPECT_EQ(main.windowTitle(), " Quorix - copper111_centre.pol");
}

TEST(DesktopLoad, LoadingKeepsTheTriclinicChoice) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  TMainform& main = *app->mainform;
  c.state.Rotation.TriclinicSymmetry = true;
  c.state.Rotation.RotationMode = kRotationMatrix;
  main.Open1Click();  // the next load resets the rotation
  main.OpenDlg().OKBtnClick(true);
  EXPECT_FALSE(main.OpenDlg().isVisible());
  EXPECT_EQ(c.state.Rotation.RotationMode, kNoRotation);
  EXPECT_TRUE(c.state.Rotation.TriclinicSymmetry);
}

TEST(DesktopLoad, RunCopyPassesDirectionalDataAsSuch) {
  auto app = StartUp(ProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  TMainform& main = *app->mainform;
  c.load.DirectionalMode = true;  // as after a directional load
  c.DataFileName = Example("cracks.txt").toStdString();
  const QStringList copy = main.CopyCommandLine();
  EXPECT_EQ(copy, QStringList({"--directional", Example("cracks.txt"), Example("grid5.rst")}));

  // The second instance asks for the parameters and loads directional data.
  std::unique_ptr<Application> second;
  const int boxes = WithModalsClosed([&] { second = StartUp(ProgramPath(), copy); });
  EXPECT_EQ(boxes, 1);  // "Parameters", cancelled here
  EXPECT_TRUE(second->mainform->OpenDlg().DirDataCheckBox->isChecked());
  EXPECT_EQ(second->mainform->OpenDlg().PFEdit->text(), Example("cracks.txt"));
  EXPECT_TRUE(second->mainform->OpenDlg().isVisible());
  EXPECT_EQ(second->context->set.PF[1]->CircleCount, 0);
}

TEST(SelectionDialog, OkNeedsOneToEightCheckedAndHighlightsTheFirst) {
  TPlothkl hkl;
  hkl.SetItems({"a", "b", "c", "d", "e", "f", "g", "h", "i"});
  hkl.show();
  hkl.OKButtonClick();
  EXPECT_TRUE(hkl.isVisible());
  hkl.SelectAllButtonClick();
  hkl.OKButtonClick();
  EXPECT_TRUE(hkl.isVisible());  // nine checked
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
  TMainform& main = *app->mainform;
  main.show();
  // 800 x 700 is narrower than 1.4 x its height: the plot shrinks to 571 pixels.
  main.Image1->resize(800, 700);
  main.RedrawMain();
  const int side = PlotSize(800, 700);
  ASSERT_LT(side, 700);
  const Pixel at = ProjectPoint(side, 35, 45, false);
  QMouseEvent move(QEvent::MouseMove, QPointF(at.x, at.y), QPointF(at.x, at.y), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(main.Image1, &move);
  EXPECT_EQ(main.PosLabel->text(), "( 45 / 35 )");
}

}  // namespace
}  // namespace quorix

namespace quorix {
namespace {

TEST(DesktopStartUp, NothingLoadedShowsABlankPage) {
  auto app = StartUp(ProgramPath(), {});
  TMainform& main = *app->mainform;
  main.RedrawMain();
  const QImage& image = main.Image1->Image();
  ASSERT_FALSE(image.isNull());
  for (int y = 0; y < image.height(); y += 7)
    for (int x = 0; x < image.width(); x += 7) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

}  // namespace
}  // namespace quorix
