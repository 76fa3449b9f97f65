// Tests of the rotation dialog as the main window uses it.
#include "ui/rotation_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "ui_test_support.h"

namespace quorix {
namespace {

using test::WhileShown;

TEST(RotationDlgTest, AddTwiceThenOkRotatesTheDisplay) {
  AppContext context;
  RotationDialog d(context);
  d.ResetToNoRotation();
  d.SetPickedValues(0, 90, 30);
  WhileShown(d, [&] {
    EXPECT_EQ(d.windowTitle(), " Rotation");
    EXPECT_EQ(d.findChild<QLabel*>("Axisinfopanel")->text(), "0/0  0");
    EXPECT_EQ(d.findChild<QLineEdit*>("PhiEdit")->text(), "0.0");
    EXPECT_EQ(d.findChild<QLineEdit*>("ThetaEdit")->text(), "90.0");
    d.findChild<QPushButton*>("AddBtn")->click();
    d.findChild<QPushButton*>("AddBtn")->click();
    EXPECT_EQ(d.findChild<QLabel*>("Axisinfopanel")->text(), "0/90  60");
    d.findChild<QPushButton*>("OKBtn")->click();
  });
  EXPECT_TRUE(d.ShowForDisplay());
  EXPECT_EQ(context.state.Rotation.Mode, RotationMode::Matrix);
  EXPECT_EQ(AxisInfoText(context.state.Rotation.Matrix), "0/90  60");
  EXPECT_FALSE(d.DisplayUnrotated());
}

TEST(RotationDlgTest, AxisRowsAndCancelLeaveTheDisplayAlone) {
  AppContext context;
  context.ini = IniFile::FromText("[Rotation]\nrot = xyz\n");
  RotationDialog d(context);
  WhileShown(d, [&] {
    EXPECT_TRUE(d.findChild<QButtonGroup*>("RotationRadioGroup")->button(1)->isChecked());
    EXPECT_EQ(d.findChild<QLabel*>("InfoLabel")->text(), "no rotation");
    d.AxisButtons[0]->click();
    EXPECT_EQ(d.AxisButtons[0]->text(), "X-axis");
    d.AngleEdits[0]->setText("30");
    for (int i = 0; i < 3; ++i) d.AxisButtons[2]->click();
    d.AngleEdits[2]->setText("-45");
    d.findChild<QPushButton*>("AddBtn")->click();
    EXPECT_EQ(d.findChild<QLabel*>("InfoLabel")->text(), "X:30; Z:-45; ");
    d.findChild<QPushButton*>("CancelBtn")->click();
  });
  EXPECT_FALSE(d.ShowForDisplay());
  EXPECT_EQ(context.state.Rotation.Mode, RotationMode::None);
  EXPECT_TRUE(context.state.Rotation.List.empty());
}

TEST(RotationDlgTest, AngleThatDoesNotParseGetsTheFocus) {
  AppContext context;
  RotationDialog d(context);
  WhileShown(d, [&] {
    d.findChild<QLineEdit*>("ThetaEdit")->setText("ninety");
    d.findChild<QPushButton*>("AddBtn")->click();
    EXPECT_EQ(d.focusWidget(), d.findChild<QLineEdit*>("ThetaEdit"));
    EXPECT_EQ(d.findChild<QLabel*>("Axisinfopanel")->text(), "0/0  0");
  });
  d.ShowForDisplay();
}

TEST(RotationDlgTest, OwnerGetsItsRotationBackOnOk) {
  AppContext context;
  RotationDialog d(context);
  RotationState owner;
  owner.Mode = RotationMode::List;
  owner.List = {{'Y', 10}};
  WhileShown(d, [&] {
    EXPECT_EQ(d.findChild<QLabel*>("InfoLabel")->text(), "Y:10; ");
    d.AxisButtons[1]->click();
    d.AngleEdits[1]->setText("5");
    d.findChild<QPushButton*>("AddBtn")->click();
    d.findChild<QPushButton*>("OKBtn")->click();
  });
  EXPECT_TRUE(d.ShowForOwner(owner));
  EXPECT_TRUE(d.DisplayUnrotated());
  ASSERT_EQ(owner.List.size(), 2u);
  EXPECT_EQ(owner.List[1].axis, 'X');
  EXPECT_EQ(owner.List[1].angle, 5);
}

}  // namespace
}  // namespace quorix
