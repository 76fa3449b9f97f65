// The circle correction dialog: rows that follow the circle count, cells that
// persist, ".edt" load and save through the cells.
#include "ui/circle_correction_dialog.h"

#include <gtest/gtest.h>

#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui_test_support.h"

namespace quorix {
namespace {

TEST(MulcDlg, CellsPersistAndGoToAndFromEdtFiles) {
  AppContext context;
  CircleCorrectionDialog d(context);
  CollectingSink sink;
  d.SetMessageSink(&sink);
  d.SetCircleCount(2);
  EXPECT_EQ(d.Cells(), (std::vector<std::string>{"1.0", "1.0"}));
  d.findChild<QTableWidget*>("ValStringGrid")->item(0, 0)->setText("1.5");
  d.findChild<QTableWidget*>("ValStringGrid")->item(1, 0)->setText("2");
  const auto file = test::TempDir() / "factors.edt";
  d.SaveTo(file.string());
  std::stringstream written;
  written << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(written.str(), "1.5    ;1\n2    ;2\n");

  // New rows start at 1.0; a short file keeps what the rows held past its end.
  d.SetCircleCount(4);
  EXPECT_EQ(d.findChild<QTableWidget*>("NumStringGrid")->item(3, 0)->text(), "4");
  d.findChild<QTableWidget*>("ValStringGrid")->item(2, 0)->setText("7");
  d.findChild<QTableWidget*>("ValStringGrid")->item(0, 0)->setText("9");
  d.LoadFrom(file.string());
  EXPECT_EQ(sink.messages, std::vector<std::string>{"To less or incorrect values on line 3"});
  EXPECT_EQ(d.Cells(), (std::vector<std::string>{"1.5", "2", "7", "1.0"}));
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace quorix
