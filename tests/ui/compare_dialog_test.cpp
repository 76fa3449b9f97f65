// "Compare Pole Figures" through its dialog: the Eps controls, the proposed
// names, windows 3 and 4, the m.r.d. switch and the log.
#include "ui/compare_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/startup.h"
#include "record/pole_figure_set.h"
#include "ui/app_context.h"
#include "ui/arithmetic_commands.h"
#include "ui/main_window.h"
#include "ui/plot_window.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

using test::TempDir;

std::string Example(const char* name) { return test::ExamplePath(name); }

TEST(PFDiffDlg, EpsArrowsButtonsAndOk) {
  AppContext context;
  CompareDialog d(context);
  EXPECT_EQ(d.windowTitle(), " Calculate Pole Figure Difference PF1 - PF2");
  EXPECT_EQ(d.findChild<QLineEdit*>("EpsEdit")->text(), "0.5");
  d.EpsUpDownClick(true);
  EXPECT_EQ(d.findChild<QLineEdit*>("EpsEdit")->text(), "0.55");
  d.findChild<QLineEdit*>("EpsEdit")->setText("0.02");
  d.EpsUpDownClick(false);
  EXPECT_EQ(d.findChild<QLineEdit*>("EpsEdit")->text(), "0.00");
  d.RP1ButtonClick();
  EXPECT_EQ(d.findChild<QLineEdit*>("EpsEdit")->text(), "1.0");

  d.show();
  d.findChild<QLineEdit*>("EpsEdit")->setText("half");
  d.OKBitBtnClick();
  EXPECT_TRUE(d.isVisible());
  EXPECT_NE(d.result(), QDialog::Accepted);
  d.findChild<QLineEdit*>("EpsEdit")->setText("0.25");
  d.OKBitBtnClick();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.Eps(), 0.25);
}

struct Desktop {
  std::unique_ptr<Application> app;
  AppContext& c() { return *app->context; }
  MainWindow& main() { return *app->mainform; }
};

Desktop StartWithTwo(const std::filesystem::path& dir) {
  EXPECT_TRUE(std::filesystem::exists(Example("copper111.pol"))) << "examples not found beside the tests";
  Desktop d{StartUp(QString::fromStdString((dir / "quorix").string()),
                    {QString::fromStdString(Example("copper111.pol")), QString::fromStdString(Example("grid5.rst"))})};
  d.c().state.DataPath = dir.string();
  d.c().state.Options.ShowMrd = false;
  d.main().findChild<QAction*>("mrdSpeedButton")->setChecked(false);
  EXPECT_TRUE(d.main().LoadIntoWindow(2, Example("copper111.pol")));
  return d;
}

TEST(PFDiffCommand, ComparesIntoWindowsThreeAndFourAndLogs) {
  const auto dir = TempDir();
  Desktop d = StartWithTwo(dir);
  d.main().LoadIntoWindow(5, Example("copper111.pol"));

  bool shown = false;
  QTimer::singleShot(0, [&] {
    CompareDialog& dlg = SharedCompareDialog(d.main(), d.c());
    shown = dlg.isVisible();
    EXPECT_FALSE(d.main().WindowVisible(5));  // windows 3..8 close first
    EXPECT_EQ(dlg.findChild<QLineEdit*>("DiffFileEdit")->text().toStdString(), Example("copper111_diff.pol"));
    EXPECT_EQ(dlg.findChild<QLineEdit*>("RPFileEdit")->text().toStdString(), Example("copper111_RP.pol"));
    EXPECT_EQ(dlg.findChild<QLineEdit*>("RPLogFileEdit")->text().toStdString(), (dir / "rp.log").string());
    dlg.findChild<QLineEdit*>("DiffFileEdit")->setText(QString::fromStdString((dir / "d.pol").string()));
    dlg.findChild<QLineEdit*>("RPFileEdit")->setText("");
    dlg.findChild<QLineEdit*>("RPLogFileEdit")->setText(QString::fromStdString((dir / "mine.log").string()));
    dlg.findChild<QLineEdit*>("EpsEdit")->setText("0");
    dlg.OKBitBtnClick();
  });
  ComparePoleFigures(d.main(), d.c());
  ASSERT_TRUE(shown);

  ASSERT_TRUE(d.main().WindowVisible(3));
  ASSERT_TRUE(d.main().WindowVisible(4));
  EXPECT_EQ(d.main().Window(3)->windowTitle(), "3 * d.pol[*]");
  EXPECT_EQ(d.main().Window(4)->windowTitle(), "4 *    [RP=0.0%][*]");
  EXPECT_TRUE(d.c().state.Options.ShowMrd);
  EXPECT_TRUE(d.main().findChild<QAction*>("mrdSpeedButton")->isChecked());
  EXPECT_EQ(d.c().set.PF[3]->MaxValue, 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "d.pol"));
  EXPECT_TRUE(std::filesystem::exists(dir / "mine.log"));
  // The log name is offered again for the rest of the run.
  EXPECT_EQ(SharedCompareDialog(d.main(), d.c()).RPLogName, "mine.log");
}

TEST(PFDiffCommand, WithoutASecondPoleFigureOnlyTheMessageShows) {
  const auto dir = TempDir();
  Desktop d = StartWithTwo(dir);
  d.main().Window(2)->close();
  int closed = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      EXPECT_EQ(w->findChild<QWidget*>("PFDiff"), nullptr);
      w->close();
      ++closed;
    }
  });
  timer.start(20);
  ComparePoleFigures(d.main(), d.c());
  EXPECT_EQ(closed, 1);  // the message "Load two pole figures to be compared."
  EXPECT_FALSE(d.main().WindowVisible(3));
  EXPECT_FALSE(std::filesystem::exists(dir / "rp.log"));
}

}  // namespace
}  // namespace quorix
