// Tests of the options dialog.
#include "ui/options_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "record/levels.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

using test::WhileShown;

void SetLevels(PoleFigure& pf, double maxValue, double normFactor, bool mrd) {
  pf.MaxValue = maxValue;
  pf.NormFactor = normFactor;
  AutoLevels(pf, mrd, true);
  pf.LowestLevel = LowestLevelOf(pf, mrd);
}

TEST(OptionsDlgTest, ShowsTheOptionsAndStepsByTheLevelSpacing) {
  AppContext context;
  context.state.Options.ShowMrd = true;
  context.state.Options.EqualArea = true;
  SetLevels(*context.set.PF[1], 370, 100, true);  // levels 1, 1.5, ...
  OptionsDialog d(context);
  WhileShown(d, [&] {
    EXPECT_TRUE(d.findChild<QCheckBox*>("mrdCheckBox")->isChecked());
    EXPECT_TRUE(d.findChild<QLabel*>("mrdLabel")->isVisible());
    EXPECT_TRUE(d.findChild<QRadioButton*>("EqualARadioButton")->isChecked());
    EXPECT_EQ(d.findChild<QLineEdit*>("SpinEdit")->text(), "1");
    d.SpinButtonClick(true);
    EXPECT_EQ(d.findChild<QLineEdit*>("SpinEdit")->text(), "1.5");
    d.SpinButtonClick(false);
    d.SpinButtonClick(false);
    EXPECT_EQ(d.findChild<QLineEdit*>("SpinEdit")->text(), "0.5");
  });
  EXPECT_FALSE(d.ShowOptions());
}

TEST(OptionsDlgTest, TickingMrdStartsAtOneAndStepsByOne) {
  AppContext context;
  SetLevels(*context.set.PF[1], 1234, 100, false);
  OptionsDialog d(context);
  WhileShown(d, [&] {
    EXPECT_FALSE(d.findChild<QLabel*>("mrdLabel")->isVisible());
    d.findChild<QCheckBox*>("mrdCheckBox")->click();
    EXPECT_TRUE(d.findChild<QLabel*>("mrdLabel")->isVisible());
    EXPECT_EQ(d.findChild<QLineEdit*>("SpinEdit")->text(), "1");
    d.SpinButtonClick(true);
    EXPECT_EQ(d.findChild<QLineEdit*>("SpinEdit")->text(), "2");
    d.findChild<QCheckBox*>("mrdCheckBox")->click();
    EXPECT_EQ(d.findChild<QLineEdit*>("SpinEdit")->text(), "500");
  });
  d.ShowOptions();
}

TEST(OptionsDlgTest, OkNeedsANumberAndThenAppliesEverything) {
  AppContext context;
  SetLevels(*context.set.PF[1], 1000, 200, false);
  OptionsDialog d(context);
  WhileShown(d, [&] {
    d.findChild<QCheckBox*>("mrdCheckBox")->click();
    d.findChild<QLineEdit*>("SpinEdit")->setText("abc");
    d.OKBtnClick();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.focusWidget(), d.findChild<QLineEdit*>("SpinEdit"));
    d.findChild<QLineEdit*>("SpinEdit")->setText("0.5");
    d.findChild<QCheckBox*>("FillCheckBox")->click();
    d.OKBtnClick();
  });
  EXPECT_TRUE(d.ShowOptions());
  EXPECT_TRUE(context.state.Options.ShowMrd);
  EXPECT_TRUE(context.state.Options.FillAreas);
  EXPECT_DOUBLE_EQ(context.set.PF[1]->LowestLevel, 100);
  EXPECT_DOUBLE_EQ(context.set.PF[1]->Level[1], 1);  // levels now in mrd
}

TEST(OptionsDlgTest, ZoomAndSmoothLinesAreShownAndApplied) {
  AppContext context;
  SetLevels(*context.set.PF[1], 1000, 200, false);
  OptionsDialog d(context);
  WhileShown(d, [&] {
    EXPECT_FALSE(d.findChild<QCheckBox*>("ZoomCheckBox")->isChecked());
    EXPECT_TRUE(d.findChild<QCheckBox*>("SmoothCheckBox")->isChecked());
    d.findChild<QCheckBox*>("ZoomCheckBox")->click();
    d.findChild<QCheckBox*>("SmoothCheckBox")->click();
    d.OKBtnClick();
  });
  EXPECT_TRUE(d.ShowOptions());
  EXPECT_TRUE(context.state.Options.ZoomToMeasured);
  EXPECT_FALSE(context.state.Options.SmoothLines);
  EXPECT_EQ(context.ini.ReadString("Options", "zoomtilts", ""), "yes");
  EXPECT_EQ(context.ini.ReadString("Options", "smoothlines", ""), "no");
}

}  // namespace
}  // namespace quorix
