// "Save as XRDML": the sample file is optional, an empty one takes the
// built-in template.
#include "ui/xrdml_save_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

namespace quorix {
namespace {

TEST(XrdmlSaveDialog, OKNeedsOnlyTheOutputFile) {
  AppContext context;
  XrdmlSaveDialog dialog(context);
  dialog.show();
  auto* out = dialog.findChild<QLineEdit*>("OutEdit");
  auto* sample = dialog.findChild<QLineEdit*>("SampleEdit");
  auto* ok = dialog.findChild<QPushButton*>("OKBitBtn");
  ASSERT_TRUE(out && sample && ok);
  sample->clear();
  EXPECT_FALSE(ok->isEnabled());
  out->setText("pf.xrdml");
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_EQ(sample->placeholderText(), "built-in template");
  sample->setText("sample.xrdml");
  out->clear();
  EXPECT_FALSE(ok->isEnabled());
}

}  // namespace
}  // namespace quorix
