// The edit commands on the main window: "apply to all" reaching the visible
// windows, operands refused in the dialog, and the suppression controls
// switching the main commands off and on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "ui/circle_correction_dialog.h"
#include "ui/edit_all_dialog.h"
#include "ui/edit_commands.h"
#include "ui/main_window.h"
#include "ui/ssci_controls.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

std::string Example(const char* name) { return test::ExamplePath(name); }

struct Desktop {
  AppContext context;
  MainWindow main{context};
  Desktop() {
    main.CreateWindows();
    MainLoad load;
    load.dataFile = Example("copper111.pol");
    load.gridFile = Example("grid5.rst");
    if (!main.LoadMain(load)) return;
    main.LoadIntoWindow(2, Example("copper111.pol"));
  }
  bool Loaded() { return context.set.PF[1]->CircleCount == 19 && main.WindowVisible(2); }
};

using test::WhenModal;

bool FileMenuEnabled(MainWindow& main) {
  for (QAction* a : main.menuBar()->actions())
    if (a->text() == "&File") return a->isEnabled();
  return false;
}

TEST(EditCommands, ApplyToAllReachesEveryVisibleWindow) {
  Desktop d;
  ASSERT_TRUE(d.Loaded());
  const auto before = std::make_unique<PoleFigure>(*d.context.set.PF[1]);
  CollectingSink sink;
  SharedEditAllDialog(d.main).SetMessageSink(&sink);
  WhenModal<EditAllDialog>([](EditAllDialog& dlg) {
    dlg.findChild<QLineEdit*>("ValueEdit")->setText("0");
    dlg.OpRadioGroup->Buttons[3]->setChecked(true);
    dlg.OKBtnClick();  // refused, the dialog stays
    dlg.findChild<QLineEdit*>("ValueEdit")->setText("2");
    dlg.OpRadioGroup->Buttons[2]->setChecked(true);
    dlg.findChild<QCheckBox*>("ApplyToAllCheckBox")->setChecked(true);
    dlg.OKBtnClick();
  });
  EditAllIntensities(d.main, d.context);
  EXPECT_EQ(sink.messages, std::vector<std::string>{"Division by Zero"});
  for (int n : {1, 2}) {
    const PoleFigure& pf = *d.context.set.PF[n];
    EXPECT_DOUBLE_EQ(pf.MaxValue, 2 * before->MaxValue) << n;
    EXPECT_DOUBLE_EQ(pf.NormFactor, 2 * before->NormFactor) << n;
    EXPECT_DOUBLE_EQ(pf.LowestLevel, pf.Level[1]) << n;
  }

  WhenModal<CircleCorrectionDialog>([](CircleCorrectionDialog& dlg) {
    EXPECT_EQ(dlg.Rows(), 19);
    dlg.findChild<QTableWidget*>("ValStringGrid")->item(18, 0)->setText("4");
    dlg.OpRadioGroup->Buttons[3]->setChecked(true);
    dlg.OKBtnClick();
  });
  EditPerCircle(d.main, d.context);
  // Only PF[1] this time: the rim circle alone divided by 4.
  EXPECT_DOUBLE_EQ(d.context.set.PF[1]->Intensity[19][1], 2 * before->Intensity[19][1] / 4);
  EXPECT_DOUBLE_EQ(d.context.set.PF[1]->Intensity[18][1], 2 * before->Intensity[18][1]);
  EXPECT_DOUBLE_EQ(d.context.set.PF[2]->Intensity[19][1], 2 * before->Intensity[19][1]);
}

TEST(EditCommands, SuppressionSwitchesTheMainCommandsOffUntilOk) {
  Desktop d;
  ASSERT_TRUE(d.Loaded());
  ASSERT_TRUE(FileMenuEnabled(d.main));
  SSCIClick(d.main, d.context);
  SSCIControls& controls = SuppressionControls(d.main, d.context);
  EXPECT_TRUE(SuppressionActive(d.main));
  EXPECT_FALSE(FileMenuEnabled(d.main));
  EXPECT_FALSE(d.main.findChild<QLabel*>("SizeLabel")->isEnabled());
  d.main.findChild<QSpinBox*>("SSCIUpDown")->setValue(10);
  EXPECT_EQ(d.main.findChild<QLineEdit*>("SSCIEdit")->text(), "10:" + QString::number(d.context.set.PF[1]->SSCICount));

  // A record swapped in meanwhile is never restored from another's backup.
  d.context.set.PF[2]->Intensity[3][3] = 555;
  d.context.set.SwapWithMain(2);
  d.main.findChild<QSpinBox*>("SSCIUpDown")->setValue(0);
  EXPECT_EQ(d.context.set.PF[1]->Intensity[3][3], 555);
  controls.SSCIBtnClick();
  EXPECT_FALSE(SuppressionActive(d.main));
  EXPECT_TRUE(FileMenuEnabled(d.main));
  EXPECT_TRUE(d.main.findChild<QLabel*>("SizeLabel")->isEnabled());
}

}  // namespace
}  // namespace quorix
