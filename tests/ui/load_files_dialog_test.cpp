// The Load Files dialog with data files that carry their own grid: the grid
// field steps aside, the tilt fields wait for Rigaku TXT, the filters list
// every layout and such files load from the dialog and the command line.
#include "ui/load_files_dialog.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/startup.h"
#include "record/pole_figure_set.h"
#include "ui/app_context.h"
#include "ui/main_window.h"
#include "ui/plot_window.h"
#include "ui/pole_figure_picker.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

QString Example(const char* name) { return test::ExampleFile(name); }
std::filesystem::path Scratch() { return test::TempDir(); }
QString ProgramPath() { return test::ProgramInTempDir(); }

// popLA blocks of 3 circles (0 to 10 degrees) of 72 points, one per hkl.
QString WritePopla(const std::string& name, std::initializer_list<const char*> hkls) {
  const auto path = Scratch() / name;
  std::ofstream out(path);
  for (const char* hkl : hkls) {
    out << fmt::format("generated {}\n{}  5.0 10.0  5.0360.0 1 1 2-1 3  100    0\n", hkl, hkl);
    for (int i = 0; i < 12; ++i) {
      std::string line = " ";
      for (int k = 0; k < 18; ++k) line += fmt::format("{:4d}", 50 + i + k);
      out << line << '\n';
    }
    out << '\n';
  }
  return QString::fromStdString(path.string());
}

TEST(LoadFilesOwnGrid, GridAndTiltFieldsFollowTheDataFile) {
  auto app = StartUp(ProgramPath(), {});
  LoadFilesDialog& open = app->mainform->OpenDlg();
  open.findChild<QLineEdit*>("PFEdit")->setText(Example("copper111.pol"));
  EXPECT_TRUE(open.findChild<QLineEdit*>("GridEdit")->isEnabled());
  EXPECT_TRUE(open.findChild<QPushButton*>("GridButton")->isEnabled());
  EXPECT_FALSE(open.findChild<QLabel*>("GridNote")->isVisibleTo(&open));
  EXPECT_FALSE(open.findChild<QLineEdit*>("TiltStartEdit")->isEnabled());

  open.findChild<QLineEdit*>("PFEdit")->setText(WritePopla("one.epf", {"(111)"}));
  EXPECT_FALSE(open.findChild<QLineEdit*>("GridEdit")->isEnabled());
  EXPECT_FALSE(open.findChild<QPushButton*>("GridButton")->isEnabled());
  EXPECT_TRUE(open.findChild<QLabel*>("GridNote")->isVisibleTo(&open));
  EXPECT_EQ(open.findChild<QLabel*>("GridNote")->text(), "not needed: the file carries its grid");
  EXPECT_FALSE(open.findChild<QLineEdit*>("TiltStartEdit")->isEnabled());
  EXPECT_FALSE(open.findChild<QLineEdit*>("TiltStepEdit")->isEnabled());

  // Read as directional data, the same file needs its grid again.
  open.findChild<QCheckBox*>("DirDataCheckBox")->setChecked(true);
  EXPECT_TRUE(open.findChild<QLineEdit*>("GridEdit")->isEnabled());
  open.findChild<QCheckBox*>("DirDataCheckBox")->setChecked(false);
  open.findChild<QLineEdit*>("PFEdit")->setText(Example("no such file.epf"));
  EXPECT_TRUE(open.findChild<QLineEdit*>("GridEdit")->isEnabled());

  const std::string rigaku = std::string(QUORIX_SOURCE_DIR) + "/../shared/realdata/Rigaku_txt.TXT";
  if (PeekLayout(rigaku) == DataLayout::RigakuTxt) {
    open.findChild<QLineEdit*>("PFEdit")->setText(QString::fromStdString(rigaku));
    EXPECT_TRUE(open.findChild<QLineEdit*>("TiltStartEdit")->isEnabled());
    EXPECT_TRUE(open.findChild<QLineEdit*>("TiltStepEdit")->isEnabled());
    open.findChild<QLineEdit*>("TiltStartEdit")->setText("5");
    open.findChild<QLineEdit*>("TiltStepEdit")->setText("2.5");
    EXPECT_EQ(open.Request().measurement.tiltStep, 2.5);
  }
}

TEST(LoadFilesOwnGrid, FiltersListEveryLayout) {
  const QStringList filters = DataFileFilters();
  EXPECT_TRUE(filters.value(2).startsWith("Directional data"));  // picked by place for directional data
  const QString all = filters.join(' ');
  for (const char* pattern : {"*.pol", "*.xpe", "*.wko", "*.xrdml", "*.uxd", "*.asc", "*.ras", "*.txt", "*.epf",
                              "*.gpf", "*.jul", "*.plf", "*.int", "*.exp"})
    EXPECT_TRUE(all.contains(pattern)) << pattern;
  EXPECT_TRUE(filters.last().startsWith("All files"));
}

TEST(LoadFilesOwnGrid, LoadsWithoutAGridFromTheDialogAndTheCommandLine) {
  const QString one = WritePopla("single.epf", {"(111)"});
  auto app = StartUp(ProgramPath(), {one});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  // One name on the command line is enough for such a file.
  EXPECT_FALSE(main.OpenDlg().isVisible());
  ASSERT_EQ(c.set.PF[1]->CircleCount, 3);
  EXPECT_EQ(c.set.PF[1]->Hkl, "1 1 1");
  EXPECT_TRUE(c.GridFileName.empty());

  // Several pole figures: the picker offers them by hkl; the first checked goes to the
  // main window, the others to windows 2...
  const QString two = WritePopla("two.epf", {"(111)", "(200)", "(220)"});
  LoadFilesDialog& open = main.OpenDlg();
  open.show();
  open.findChild<QLineEdit*>("PFEdit")->setText(two);
  open.findChild<QLineEdit*>("GridEdit")->setText("");
  PoleFigurePicker& hkl = main.Plothkl();
  QTimer::singleShot(0, &hkl, [&] {
    EXPECT_EQ(hkl.Count(), 3);
    EXPECT_EQ(hkl.ItemText(1), "2 0 0");
    hkl.SetChecked(1, true);
    hkl.SetChecked(2, true);
    hkl.OKButtonClick();
  });
  open.OKBtnClick(true);
  EXPECT_FALSE(open.isVisible());
  EXPECT_EQ(c.set.PF[1]->Hkl, "2 0 0");
  EXPECT_EQ(c.load.Layout(), DataLayout::Popla);
  ASSERT_TRUE(main.WindowVisible(2));
  EXPECT_FALSE(main.WindowVisible(3));
  EXPECT_EQ(c.set.PF[2]->Hkl, "2 2 0");
  EXPECT_EQ(main.Window(2)->windowTitle(), "2 * two.epf" + QString::fromStdString(MultiSuffix(3, "2 2 0")) + "[*]");
}

TEST(LoadFilesOwnGrid, GridSearchStartsBesideTheDataFile) {
  auto app = StartUp(ProgramPath(), {});
  LoadFilesDialog& open = app->mainform->OpenDlg();
  open.findChild<QLineEdit*>("PFEdit")->setText(Example("copper111.pol"));
  QString shown;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      shown = d->directory().absolutePath();
      d->reject();
    }
  });
  timer.start(20);
  open.GridButtonClick();
  EXPECT_EQ(shown, QFileInfo(Example("copper111.pol")).absolutePath());
}

}  // namespace
}  // namespace quorix
