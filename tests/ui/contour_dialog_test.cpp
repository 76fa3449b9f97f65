// Tests of the contour levels dialog.
#include "ui/contour_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>

#include "plot/contour_colors.h"

namespace quorix {
namespace {

struct Fixture {
  AppContext context;
  int mainRedraws = 0;
  std::vector<int> windowRedraws;
  ContourDialog dialog{context, ContourDlgHooks{[this] { ++mainRedraws; }, [] { return std::vector<int>{3}; },
                                                [this](int n) { windowRedraws.push_back(n); }}};

  Fixture() {
    PoleFigure& pf = *context.set.PF[1];
    pf.MaxValue = 370;
    pf.NormFactor = 100;
    context.state.Options.ShowMrd = true;
    pf.LevelCount = 3;
    pf.Level[1] = 1;
    pf.Level[2] = 1.5;
    pf.Level[3] = 2;
    context.state.ContourColor = DefaultContourColors();
  }
  std::string Row(int r) { return dialog.findChild<QTableWidget*>("StringGrid")->item(r, 0)->text().toStdString(); }
};

TEST(ContourDlgTest, ShowsTheLevelsAndFields) {
  Fixture f;
  f.dialog.ShowContours();
  EXPECT_EQ(f.dialog.windowTitle(), "Define Contour Lines");
  EXPECT_EQ(f.dialog.findChild<QTableWidget*>("StringGrid")->rowCount(), 50);
  EXPECT_EQ(f.Row(0), " 1.000");
  EXPECT_EQ(f.Row(2), " 2.000");
  EXPECT_EQ(f.Row(3), "");
  EXPECT_EQ(f.dialog.findChild<QLineEdit*>("StepEdit")->text(), " 0.500");
  EXPECT_FALSE(f.dialog.LevelsEdited());
  f.dialog.close();
}

TEST(ContourDlgTest, LastAndRecalculateChangeTheLevelsAtOnce) {
  Fixture f;
  f.dialog.ShowContours();
  f.dialog.findChild<QLineEdit*>("FirstEdit")->setText("1");
  f.dialog.findChild<QLineEdit*>("StepEdit")->setText("0.5");
  f.dialog.LastBtnClick();
  EXPECT_EQ(f.dialog.findChild<QLineEdit*>("LastEdit")->text(), " 3.500");
  EXPECT_EQ(f.context.set.PF[1]->LevelCount, 6);
  EXPECT_EQ(f.Row(5), " 3.500");
  f.dialog.close();  // Cancel keeps them
  EXPECT_EQ(f.context.set.PF[1]->LevelCount, 6);
  EXPECT_EQ(f.mainRedraws, 0);
}

TEST(ContourDlgTest, OkTakesNumericRowsTrimsAndAppliesToAll) {
  Fixture f;
  f.context.set.PF[3] = NewPoleFigure();
  f.context.set.PF[3]->MaxValue = 150;
  f.context.set.PF[3]->NormFactor = 100;
  f.dialog.ShowContours();
  f.dialog.findChild<QTableWidget*>("StringGrid")->item(0, 0)->setText("1");
  f.dialog.findChild<QTableWidget*>("StringGrid")->item(1, 0)->setText("");
  f.dialog.findChild<QTableWidget*>("StringGrid")->item(2, 0)->setText("abc");
  f.dialog.findChild<QTableWidget*>("StringGrid")->item(3, 0)->setText("2");
  f.dialog.findChild<QTableWidget*>("StringGrid")->item(4, 0)->setText("9");  // above the maximum of 3.7
  f.dialog.findChild<QCheckBox*>("ApplyAllCheckBox")->setChecked(true);
  f.dialog.OKBtnClick();
  const PoleFigure& main = *f.context.set.PF[1];
  ASSERT_EQ(main.LevelCount, 2);
  EXPECT_EQ(main.Level[2], 2);
  EXPECT_EQ(f.context.set.PF[3]->LevelCount, 1);  // 2 and 9 lie above 1.5 mrd
  EXPECT_EQ(f.windowRedraws, std::vector<int>{3});
  EXPECT_EQ(f.mainRedraws, 1);
  EXPECT_FALSE(f.dialog.isVisible());
}

TEST(ContourDlgTest, DeleteAndSortRearrangeTheRows) {
  Fixture f;
  f.dialog.ShowContours();
  f.dialog.findChild<QTableWidget*>("StringGrid")->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 0), true);
  f.dialog.DeleteBtnClick();
  EXPECT_EQ(f.Row(0), " 2.000");
  EXPECT_EQ(f.Row(1), "");
  EXPECT_TRUE(f.dialog.LevelsEdited());
  EXPECT_EQ(f.dialog.findChild<QLineEdit*>("FirstEdit")->text(), "");
  f.dialog.findChild<QTableWidget*>("StringGrid")->item(3, 0)->setText("0.5");
  f.dialog.SortBtnClick();
  EXPECT_EQ(f.Row(0), " 0.500");
  EXPECT_EQ(f.Row(1), " 2.000");
  EXPECT_EQ(f.Row(3), "");
  f.dialog.close();
}

}  // namespace
}  // namespace quorix
