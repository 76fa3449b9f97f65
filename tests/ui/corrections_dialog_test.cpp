// "Corrections...": the corrected pole figure replaces the main one as one
// undoable step, its caption says so, and the preview shows what was applied.
#include "ui/corrections_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QUndoStack>

#include "ui/main_window.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

TEST(CorrectionsDialog, BackgroundAndCurveAsOneUndoableStep) {
  const std::vector<test::UxdCircle> circles{{0, std::vector<double>(8, 100)}, {5, std::vector<double>(8, 100)}};
  const auto peak = test::WriteTempFile("peak.uxd", test::UxdText(40, 0, circles));
  const std::vector<test::UxdCircle> bgCircles{{0, {30, 30, 30, 30}}, {5, {20, 40, 40, 20}}};
  const auto bg = test::WriteTempFile("bg.uxd", test::UxdText(39, 0, bgCircles));
  const auto curve = test::WriteTempFile("curve.txt", "0 1\n5 0.5\n");
  AppContext context;
  MainWindow main{context};
  main.CreateWindows();
  MainLoad load;
  load.dataFile = peak;
  load.layout = DataLayout::Uxd;
  ASSERT_TRUE(main.LoadMain(load));
  const QString title = main.windowTitle();
  const int steps = main.UndoStack().count();

  CorrectionsDialog dlg(context, main);
  dlg.Background1Edit->setText(QString::fromStdString(bg));
  dlg.DefocusCurveEdit->setText(QString::fromStdString(curve));
  dlg.PreviewClick();
  EXPECT_EQ(dlg.Preview->Report().defocus.factors, (std::vector<double>{1, 0.5}));
  EXPECT_EQ(context.set.PF[1]->Intensity[2][1], 100);  // a preview changes nothing
  test::WithModalsClosed([&] { dlg.OKBtnClick(); });

  EXPECT_DOUBLE_EQ(context.set.PF[1]->Intensity[2][1], 160);
  EXPECT_TRUE(main.windowTitle().contains("corrected")) << main.windowTitle().toStdString();
  ASSERT_EQ(main.UndoStack().count(), steps + 1);
  main.UndoStack().undo();
  EXPECT_EQ(context.set.PF[1]->Intensity[2][1], 100);
  EXPECT_EQ(main.windowTitle(), title);
}

}  // namespace
}  // namespace quorix
