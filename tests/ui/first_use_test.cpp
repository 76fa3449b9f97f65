// The desktop program as a new user meets it: start-up with a file of several
// pole figures, the picker, messages that name their file, help, captions and
// the commands each module lays out.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include "app/startup.h"
#include "ui/app_context.h"
#include "ui/export_plot_dialog.h"
#include "ui/load_files_dialog.h"
#include "ui/main_window.h"
#include "ui/plot_window.h"
#include "ui/pole_figure_picker.h"
#include "ui/smoothing_dialog.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

using test::Example;
using test::ProgramIn;
using test::TempDir;
using test::WithModalsAnswered;

struct Box {
  QString title, text, detail;
};

// Closes every message box, keeping what it said.
template <typename F>
std::vector<Box> BoxesOf(F action) {
  std::vector<Box> boxes;
  WithModalsAnswered(
      [&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w))
          boxes.push_back({box->windowTitle(), box->text(), box->informativeText()});
        w->close();
      },
      action);
  return boxes;
}

TEST(DesktopFirstUse, StartUpLoadsEveryTickedPoleFigureWithOnlyThePickerOpen) {
  const auto dir = TempDir();
  bool loadDialogShown = true;
  std::unique_ptr<Application> app;
  const int modals = WithModalsAnswered(
      [&](QWidget* w) {
        auto* picker = qobject_cast<PoleFigurePicker*>(w);
        ASSERT_TRUE(picker);
        loadDialogShown = picker->parentWidget()->findChild<LoadFilesDialog*>()->isVisible();
        picker->SelectAllButtonClick();
        picker->OKButtonClick();
      },
      [&] { app = StartUp(ProgramIn(dir), {Example("copper.xpe")}); });
  EXPECT_EQ(modals, 1);
  EXPECT_FALSE(loadDialogShown);
  MainWindow& main = *app->mainform;
  EXPECT_FALSE(main.OpenDlg().isVisible());
  EXPECT_TRUE(main.WindowVisible(2));
  EXPECT_TRUE(main.WindowVisible(3));
  EXPECT_FALSE(main.WindowVisible(4));
  EXPECT_EQ(app->context->set.PF[3]->IndexInFile, 3);
}

TEST(DesktopFirstUse, ThePickerSaysItsRuleAndWorksFromTheKeyboard) {
  PoleFigurePicker hkl;
  std::vector<std::string> names;
  for (int i = 1; i <= 18; ++i) names.push_back("PF " + std::to_string(i));
  hkl.SetItems(names);
  auto* ok = hkl.findChild<QPushButton*>("OKButton");
  auto* count = hkl.findChild<QLabel*>("PickerCount");
  ASSERT_TRUE(ok && count);
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_TRUE(ok->toolTip().contains("1 to 8"));
  EXPECT_TRUE(count->text().contains("Nothing ticked"));

  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
  QApplication::sendEvent(hkl.findChild<QListWidget*>("HKLSelect"), &space);
  EXPECT_TRUE(hkl.Checked(0));
  EXPECT_TRUE(ok->isEnabled());

  hkl.SelectAllButtonClick();
  EXPECT_EQ(hkl.CheckedCount(), 8);
  EXPECT_TRUE(hkl.Checked(7));
  EXPECT_FALSE(hkl.Checked(8));
  EXPECT_TRUE(count->text().contains("first 8 of 18")) << count->text().toStdString();
  hkl.SetChecked(12, true);
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_TRUE(count->text().contains("9 ticked"));

  // Enter on "Select all", just clicked, takes the ticks.
  hkl.show();
  auto* selectAll = hkl.findChild<QPushButton*>("SelectAllButton");
  selectAll->click();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(selectAll, &enter);
  EXPECT_EQ(hkl.result(), QDialog::Accepted);
}

TEST(DesktopFirstUse, MessagesNameTheFileTheyAreAbout) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  LoadFilesDialog& open = main.OpenDlg();
  main.ShowLoadFiles();
  open.findChild<QLineEdit*>("PFEdit")->setText(Example("copper200_offset.pol"));
  open.findChild<QLineEdit*>("GridEdit")->setText(Example("grid5.rst"));
  std::vector<Box> boxes = BoxesOf([&] { open.OKBtnClick(true); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Quorix - copper200_offset.pol");
  EXPECT_TRUE(boxes[0].text.startsWith("Expected 1368 data"));
  EXPECT_EQ(boxes[0].detail, "File: " + Example("copper200_offset.pol"));

  // Dropped on a window that shows another file: the box names the dropped one.
  boxes = BoxesOf([&] { test::Drop(main.Window(2), {Example("copper200_offset.pol")}); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Quorix - copper200_offset.pol");

  // An empty grid field for a plain file says that a grid is needed.
  open.findChild<QLineEdit*>("GridEdit")->clear();
  open.findChild<QLineEdit*>("PFEdit")->setText(Example("copper111.pol"));
  EXPECT_FALSE(open.findChild<QLineEdit*>("GridEdit")->placeholderText().isEmpty());
  EXPECT_TRUE(BoxesOf([&] { open.OKBtnClick(true); }).empty());
  EXPECT_TRUE(open.findChild<QLabel*>("GridNote")->text().contains("needed"));

  // A Beartex list is read on its own grid, not on one left in the field.
  open.findChild<QLineEdit*>("PFEdit")->setText(Example("copper.xpe"));
  open.findChild<QLineEdit*>("GridEdit")->setText(Example("grid5_centre.rst"));
  EXPECT_FALSE(open.findChild<QLineEdit*>("GridEdit")->isEnabled());
  const int modals = WithModalsAnswered(
      [](QWidget* w) {
        auto* picker = qobject_cast<PoleFigurePicker*>(w);
        if (!picker) return w->close(), void();
        picker->SetChecked(1, true);
        picker->OKButtonClick();
      },
      [&] { open.OKBtnClick(true); });
  EXPECT_EQ(modals, 1);  // the picker, no message
  EXPECT_EQ(c.set.PF[1]->FileName, Example("copper.xpe").toStdString());
  EXPECT_EQ(c.set.PF[1]->CircleCount, 19);
  EXPECT_TRUE(c.GridFileName.empty());
}

TEST(DesktopFirstUse, ExportProposesANameForEachPoleFigureOfAFile) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")});
  MainWindow& main = *app->mainform;
  ExportPlotDialog& dlg = main.ExportDialog();
  const auto proposed = [&](int index) {
    EXPECT_TRUE(main.OpenRecent({Example("copper.xpe").toStdString(), "", index}));
    dlg.Prepare(400, 300);
    return QFileInfo(dlg.findChild<QLineEdit*>("FileEdit")->text()).fileName();
  };
  const QString second = proposed(2);
  const QString third = proposed(3);
  EXPECT_TRUE(second.startsWith("copper_2")) << second.toStdString();
  EXPECT_TRUE(third.startsWith("copper_3")) << third.toStdString();
  EXPECT_TRUE(third.endsWith(".png"));
}

TEST(DesktopFirstUse, HelpIsThereBeforeAnyFileAndSaysWhereTheManualLies) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {});
  MainWindow& main = *app->mainform;
  QAction* manual = main.Action("ManualAction");
  ASSERT_TRUE(manual);
  EXPECT_TRUE(manual->isEnabled());
  EXPECT_EQ(manual->shortcut(), QKeySequence(QKeySequence::HelpContents));
  QStringList enabledMenus;
  for (QAction* a : main.menuBar()->actions())
    if (a->isEnabled()) enabledMenus << a->text();
  EXPECT_EQ(enabledMenus, QStringList({"&File", "&About", "&Help"}));
  if (!QStandardPaths::findExecutable("xdg-open").isEmpty()) return;  // a browser may open: no message
  app->context->HelpFileName = (dir / "index.html").string();
  const std::vector<Box> boxes = BoxesOf([&] { manual->trigger(); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Error executing help: " + QString::fromStdString(app->context->HelpFileName));
  EXPECT_TRUE(boxes[0].detail.contains("No program to show HTML pages"));
}

TEST(DesktopFirstUse, CaptionsMarkChangesAndSwapsFollowTheRecords) {
  const auto dir = TempDir();
  auto app = StartUp(ProgramIn(dir), {Example("copper111.pol"), Example("grid5.rst")});
  MainWindow& main = *app->mainform;
  EXPECT_FALSE(main.isWindowModified());
  main.SmoothingDlg().SmoothMain();
  EXPECT_TRUE(main.isWindowModified());
  EXPECT_TRUE(main.windowTitle().endsWith("[*]"));
  EXPECT_TRUE(main.Action("SmoothSpeedButton")->toolTip().contains("FWHM 5"));

  // A window's words are its own, whatever its caption looks like.
  ASSERT_TRUE(main.LoadIntoWindow(3, Example("copper111.pol").toStdString()));
  main.SetSlotTitle(3, "RP");
  main.PFDblClick(3);
  EXPECT_EQ(main.SlotTitle(1), "RP");
  EXPECT_EQ(main.SlotTitle(3), "copper111.pol");
  EXPECT_TRUE(main.Window(3)->isWindowModified());
  EXPECT_FALSE(main.isWindowModified());
  // Further windows are windows of their own, which the main window can cover.
  EXPECT_EQ(main.Window(3)->parentWidget(), nullptr);
  EXPECT_EQ(main.Window(3)->windowType(), Qt::Window);
}

}  // namespace
}  // namespace quorix
