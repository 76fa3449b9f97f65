// The add list: lines, deleting, the two modes and the OK checks; the
// weighted command on the main pole figure.
#include "ui/add_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>

#include "app/startup.h"
#include "ui/app_context.h"
#include "ui/arithmetic_commands.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

std::string Example(const char* name) { return std::string(QUORIX_SOURCE_DIR) + "/examples/" + name; }

QString Cell(const AddDialog& d, int row, int column) {
  return d.findChild<QTableWidget*>("FileStringGrid")->item(row, column)->text();
}

TEST(AddPFDlg, LinesAndDeleting) {
  AppContext context;
  AddDialog d(context);
  d.Prepare(true, "/d/main.pol");
  EXPECT_EQ(d.windowTitle(), "Add Pole Figures weighted");
  d.AppendFiles({"/d/b.pol", "/d/c.pol", "/d/e.pol"});
  ASSERT_EQ(d.findChild<QTableWidget*>("FileStringGrid")->rowCount(), 4);
  EXPECT_EQ(Cell(d, 0, AddDialog::kWeightColumn), "1.0");
  EXPECT_EQ(Cell(d, 2, AddDialog::kWeightColumn), "1.0");
  EXPECT_EQ(Cell(d, 2, AddDialog::kIndexColumn), "");

  // A selection that starts at the first line deletes nothing.
  d.findChild<QTableWidget*>("FileStringGrid")->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 2), true);
  d.DeleteBtnClick();
  EXPECT_EQ(d.findChild<QTableWidget*>("FileStringGrid")->rowCount(), 4);
  d.findChild<QTableWidget*>("FileStringGrid")->clearSelection();
  d.findChild<QTableWidget*>("FileStringGrid")->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 2), true);
  d.DeleteBtnClick();
  ASSERT_EQ(d.findChild<QTableWidget*>("FileStringGrid")->rowCount(), 2);
  EXPECT_EQ(Cell(d, 1, AddDialog::kFileColumn), "/d/e.pol");

  // Showing again starts from the one line of the pole figure in memory.
  d.Prepare(false, "/d/other.pol");
  EXPECT_EQ(d.windowTitle(), "Add Pole Figures fitted");
  EXPECT_EQ(d.findChild<QTableWidget*>("FileStringGrid")->rowCount(), 1);
  EXPECT_FALSE(d.findChild<QCheckBox*>("NormCheckBox")->isEnabled());
  EXPECT_FALSE(d.findChild<QCheckBox*>("NormPFCheckBox")->isEnabled());
  EXPECT_FALSE(d.findChild<QTableWidget*>("FileStringGrid")->item(0, AddDialog::kWeightColumn)->flags() &
               Qt::ItemIsEnabled);
  d.AppendFiles({"/d/b.pol"});
  EXPECT_EQ(Cell(d, 1, AddDialog::kWeightColumn), "");
}

TEST(AddPFDlg, OkStopsAtTheFirstBadLineAndSelectsIt) {
  AppContext context;
  AddDialog d(context);
  CollectingSink sink;
  d.SetMessageSink(&sink);
  d.Prepare(true, "/d/main.pol");
  d.AppendFiles({"/d/b.pol"});
  d.show();
  d.findChild<QTableWidget*>("FileStringGrid")->item(0, AddDialog::kIndexColumn)->setText("");
  d.OKBtnClick();
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "PF index in line 1 is not correct");
  EXPECT_TRUE(d.findChild<QTableWidget*>("FileStringGrid")->item(0, 0)->isSelected());
  EXPECT_TRUE(d.isVisible());

  d.findChild<QTableWidget*>("FileStringGrid")->item(0, AddDialog::kIndexColumn)->setText("1");
  d.findChild<QTableWidget*>("FileStringGrid")->item(1, AddDialog::kIndexColumn)->setText("2");
  d.findChild<QTableWidget*>("FileStringGrid")->item(1, AddDialog::kWeightColumn)->setText("3");
  d.OKBtnClick();
  EXPECT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.Tables().weights, (std::vector<float>{0.25f, 0.75f}));
  EXPECT_EQ(d.Tables().indices, (std::vector<std::uint8_t>{1, 2}));
}

TEST(AddPFCommand, WeightedSumReplacesPF1AndListsTheFurtherFile) {
  const auto dir = test::TempDir();
  const std::string copper = Example("copper111.pol");
  ASSERT_TRUE(std::filesystem::exists(copper)) << "examples not found beside the tests";
  auto app = StartUp(QString::fromStdString((dir / "quorix").string()),
                     {QString::fromStdString(copper), QString::fromStdString(Example("grid5.rst"))});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  const double before = c.set.PF[1]->Intensity[3][3];
  const double norm = c.set.PF[1]->NormFactor;
  QTimer::singleShot(0, [&] {
    AddDialog& dlg = SharedAddDialog(main, c);
    EXPECT_EQ(dlg.findChild<QTableWidget*>("FileStringGrid")->item(0, AddDialog::kFileColumn)->text().toStdString(),
              copper);
    // A plain file holds one pole figure: its line is ready for OK as filled in.
    EXPECT_EQ(dlg.findChild<QTableWidget*>("FileStringGrid")->item(0, AddDialog::kIndexColumn)->text(), "1");
    dlg.AppendFiles({QString::fromStdString(copper)});
    dlg.findChild<QTableWidget*>("FileStringGrid")->item(1, AddDialog::kIndexColumn)->setText("1");
    dlg.OKBtnClick();
  });
  AddPoleFiguresWeighted(main, c);
  EXPECT_NEAR(c.set.PF[1]->Intensity[3][3], before / norm, 1e-9);
  EXPECT_EQ(c.state.AddListFiles, std::vector<std::string>{copper});
  EXPECT_EQ(main.windowTitle().toStdString(), c.TitlePrefix + "copper111.pol[*]");
}

}  // namespace
}  // namespace quorix
