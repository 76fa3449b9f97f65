// The output file of the interpolation dialog.
#include "ui/interpolation_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <filesystem>

#include "app/startup.h"
#include "ui/app_context.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

QString Example(const char* name) { return test::ExampleFile(name); }

TEST(InterpolDlg, OutputSearchGivesATypedNameARealExtension) {
  const auto dir = test::TempDir();
  auto app =
      StartUp(QString::fromStdString((dir / "quorix").string()), {Example("copper111.pol"), Example("grid5.rst")});
  app->context->state.DataPath = dir.string();
  InterpolationDialog* dlg = app->mainform->findChild<InterpolationDialog*>();
  ASSERT_TRUE(dlg);
  QString suffix, proposed;
  test::WhenModal<QFileDialog>([&](QFileDialog& files) {
    suffix = files.defaultSuffix();
    proposed = files.selectedFiles().value(0);
    files.selectFile("result");             // typed without an extension
    static_cast<QDialog&>(files).accept();  // through the base: the override is protected
  });
  dlg->DataSearchClick();
  EXPECT_EQ(suffix, "y01");
  EXPECT_TRUE(proposed.endsWith("/copper111.y01")) << proposed.toStdString();
  EXPECT_EQ(dlg->findChild<QLineEdit*>("outDataEdit")->text(), QString::fromStdString((dir / "result.y01").string()));
}

}  // namespace
}  // namespace quorix
