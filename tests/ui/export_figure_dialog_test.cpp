// "Export Figure...": the windows chosen and their order, the remembered
// choices, and a file kind it cannot write.
#include "ui/export_figure_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <filesystem>

#include "ui/app_context.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

struct TwoWindows {
  AppContext context;
  TwoWindows() {
    context.set.PF[1] = test::LoadExample("copper.xpe", "grid5.rst", 1);
    context.set.PF[2] = test::LoadExample("copper.xpe", "grid5.rst", 2);
  }
};

TEST(ExportFigureDlgTest, TakesTheTickedWindowsInListOrderWithTheRememberedChoices) {
  TwoWindows w;
  FigureSettings kept;
  kept.style = "smooth";
  kept.widthMm = 85;
  kept.levels = "0.5, 1,2";
  WriteFigureSettings(w.context.ini, kept);
  ExportFigureDialog d(w.context, {1, 2});
  EXPECT_EQ(d.StyleBox->currentText(), "smooth");
  EXPECT_EQ(d.WidthBox->value(), 85);
  EXPECT_EQ(d.Options().levels, (std::vector<double>{0.5, 1, 2}));
  EXPECT_EQ(d.Options().style, FigureStyle::Smooth);

  d.WindowList->item(0)->setCheckState(Qt::Unchecked);
  std::vector<FigurePanel> panels = d.Panels();
  ASSERT_EQ(panels.size(), 1u);
  EXPECT_EQ(panels[0].pole, w.context.set.PF[2].get());
  EXPECT_EQ(panels[0].title, HklTitle(*w.context.set.PF[2]));

  d.WindowList->item(0)->setCheckState(Qt::Checked);
  d.WindowList->insertItem(0, d.WindowList->takeItem(1));
  panels = d.Panels();
  ASSERT_EQ(panels.size(), 2u);
  EXPECT_EQ(panels[0].pole, w.context.set.PF[2].get());
}

TEST(ExportFigureDlgTest, WritesTheFileAndKeepsTheChoicesOnlyWhenItCould) {
  TwoWindows w;
  ExportFigureDialog d(w.context, {1, 2});
  const std::filesystem::path bad = test::TempDir() / "figure.bmp";
  d.FileEdit->setText(QString::fromStdString(bad.string()));
  EXPECT_EQ(test::WithModalsClosed([&] { EXPECT_FALSE(d.Export()); }), 1);
  EXPECT_FALSE(w.context.ini.HasKey("Figure", "file"));

  const std::filesystem::path good = test::TempDir() / "figure.svg";
  d.FileEdit->setText(QString::fromStdString(good.string()));
  d.LogBox->setChecked(true);
  EXPECT_TRUE(d.Export());
  EXPECT_TRUE(std::filesystem::exists(good));
  WriteFigureSettings(w.context.ini, d.Settings());
  EXPECT_TRUE(ReadFigureSettings(w.context.ini).log);
  EXPECT_EQ(ReadFigureSettings(w.context.ini).file, good.string());
}

}  // namespace
}  // namespace quorix
