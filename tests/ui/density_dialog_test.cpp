// "Parameters" for directional data, and the directional branch of the Load
// Files dialog driven through it.
#include "ui/density_dialog.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/startup.h"
#include "ui/app_context.h"
#include "ui/load_files_dialog.h"
#include "ui/main_window.h"
#include "ui/plot_window.h"
#include "ui/rotation_dialog.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

using test::WhileShown;

TEST(DensityDlg, DefaultsAndWhichControlsAreEnabled) {
  DensityDialog d;
  EXPECT_EQ(d.windowTitle(), "Parameters");
  EXPECT_EQ(d.findChild<QSpinBox*>("FWHMSpinEdit")->value(), 5);
  EXPECT_EQ(d.findChild<QSpinBox*>("FWHMSpinEdit")->minimum(), 1);
  EXPECT_EQ(d.findChild<QSpinBox*>("FWHMSpinEdit")->maximum(), 20);
  EXPECT_EQ(d.findChild<QLineEdit*>("XEdit")->text(), "90");
  EXPECT_EQ(d.findChild<QLineEdit*>("YEdit")->text(), "90");
  EXPECT_EQ(d.findChild<QLineEdit*>("ZEdit")->text(), "0");
  EXPECT_EQ(d.findChild<QPushButton*>("DensityRotBtn")->text(), "Rotate ...");
  const auto anglesEnabled = [&](bool on) {
    EXPECT_EQ(d.findChild<QLabel*>("RotationsLabel")->isEnabled(), on);
    for (QLineEdit* e :
         {d.findChild<QLineEdit*>("XEdit"), d.findChild<QLineEdit*>("YEdit"), d.findChild<QLineEdit*>("ZEdit")})
      EXPECT_EQ(e->isEnabled(), on);
    EXPECT_EQ(d.findChild<QPushButton*>("DensityRotBtn")->isEnabled(), !on);
  };
  anglesEnabled(false);
  d.findChild<QCheckBox*>("SectionsCheckBox")->click();
  anglesEnabled(true);
  d.findChild<QCheckBox*>("SectionsCheckBox")->click();
  anglesEnabled(false);
}

TEST(DensityDlg, AngleThatDoesNotParseKeepsTheDialogOpen) {
  DensityDialog d;
  WhileShown(d, [&] {
    d.findChild<QCheckBox*>("SectionsCheckBox")->click();
    d.findChild<QSpinBox*>("FWHMSpinEdit")->stepUp();
    d.findChild<QLineEdit*>("YEdit")->setText("ninety");
    d.findChild<QPushButton*>("DensityOKBtn")->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.focusWidget(), d.findChild<QLineEdit*>("YEdit"));
    d.findChild<QLineEdit*>("YEdit")->setText("-45.5");
    d.findChild<QPushButton*>("DensityOKBtn")->click();
    EXPECT_FALSE(d.isVisible());
  });
  ASSERT_EQ(d.exec(), QDialog::Accepted);
  EXPECT_EQ(d.Parameters().fwhm, 6);
  EXPECT_TRUE(d.Parameters().sections);
  EXPECT_EQ(d.Parameters().angles[1], -45.5);
}

TEST(DensityDlg, RotationIsAskedAfreshEachTime) {
  AppContext context;
  RotationDialog rotation(context);
  DensityDialog d;
  d.SetRotationDialog(&rotation);
  WhileShown(d, [&] {
    WhileShown(rotation, [&] {
      rotation.findChild<QButtonGroup*>("RotationRadioGroup")->button(1)->click();
      rotation.AxisButtons[0]->click();
      rotation.AngleEdits[0]->setText("30");
      rotation.findChild<QPushButton*>("AddBtn")->click();
      rotation.findChild<QPushButton*>("OKBtn")->click();
    });
    d.findChild<QPushButton*>("DensityRotBtn")->click();
    d.findChild<QPushButton*>("DensityOKBtn")->click();
  });
  ASSERT_EQ(d.exec(), QDialog::Accepted);
  ASSERT_TRUE(d.Parameters().HasRotation());
  ASSERT_EQ(d.Parameters().rotation.List.size(), 1u);
  EXPECT_EQ(d.Parameters().rotation.List[0].axis, 'X');
  // Shown again: no rotation until "Rotate ..." is used.
  WhileShown(d, [&] { d.findChild<QPushButton*>("DensityOKBtn")->click(); });
  ASSERT_EQ(d.exec(), QDialog::Accepted);
  EXPECT_FALSE(d.Parameters().HasRotation());
}

QString Example(const char* name) { return test::ExampleFile(name); }

QString FreshProgramPath() { return test::ProgramInTempDir(); }

TEST(LoadFilesDirectional, SectionsGoToWindowsTwoToFourAndSingleSetsToTheMain) {
  auto app = StartUp(FreshProgramPath(), {Example("copper111.pol"), Example("grid5.rst")});
  AppContext& c = *app->context;
  MainWindow& main = *app->mainform;
  LoadFilesDialog& open = main.OpenDlg();
  DensityDialog& density = open.DensityDlg();
  const std::string cracks = Example("cracks.txt").toStdString();
  open.show();
  open.findChild<QLineEdit*>("PFEdit")->setText(Example("cracks.txt"));
  open.findChild<QLineEdit*>("GridEdit")->setText(Example("grid5.rst"));
  open.findChild<QCheckBox*>("DirDataCheckBox")->setChecked(true);

  // Cancelled: nothing loaded, the dialog stays open.
  WhileShown(density, [&] { density.findChild<QPushButton*>("DensityCancelBtn")->click(); });
  open.OKBtnClick(true);
  EXPECT_TRUE(open.isVisible());
  EXPECT_FALSE(c.load.DirectionalMode);

  WhileShown(density, [&] {
    density.findChild<QCheckBox*>("SectionsCheckBox")->click();
    density.findChild<QPushButton*>("DensityOKBtn")->click();
  });
  open.OKBtnClick(true);
  EXPECT_FALSE(open.isVisible());
  EXPECT_TRUE(c.load.DirectionalMode);
  EXPECT_EQ(c.set.PF[1]->FileName, Example("copper111.pol").toStdString());
  for (int n = 2; n <= 4; ++n) {
    ASSERT_TRUE(main.WindowVisible(n)) << n;
    EXPECT_EQ(main.Window(n)->windowTitle(), QString("%1 * cracks.txt[*]").arg(n));
    EXPECT_EQ(c.set.PF[n]->FileName, cracks);
  }
  // The sections are turned differently: X and Z do not coincide.
  EXPECT_NE(c.set.PF[2]->Intensity, c.set.PF[4]->Intensity);

  // A single set, with a rotation chosen in "Rotate ...": it becomes the display rotation.
  open.show();
  RotationDialog& rotation = main.RotationDlg();
  WhileShown(density, [&] {
    density.findChild<QCheckBox*>("SectionsCheckBox")->click();
    WhileShown(rotation, [&] {
      rotation.findChild<QButtonGroup*>("RotationRadioGroup")->button(1)->click();
      rotation.AxisButtons[2]->click();
      rotation.AngleEdits[2]->setText("15");
      rotation.findChild<QPushButton*>("AddBtn")->click();
      rotation.findChild<QPushButton*>("OKBtn")->click();
    });
    density.findChild<QPushButton*>("DensityRotBtn")->click();
    density.findChild<QPushButton*>("DensityOKBtn")->click();
  });
  open.OKBtnClick(true);
  EXPECT_EQ(c.state.Rotation.Mode, RotationMode::List);
  ASSERT_EQ(c.state.Rotation.List.size(), 1u);
  EXPECT_EQ(c.state.Rotation.List[0].angle, 15);
  EXPECT_EQ(c.set.PF[1]->FileName, cracks);
  EXPECT_EQ(main.windowTitle(), QString::fromStdString(c.TitlePrefix) + "cracks.txt[*]");
  for (int n = 2; n <= 8; ++n) EXPECT_FALSE(main.WindowVisible(n));
  EXPECT_EQ(c.GridFileName, Example("grid5.rst").toStdString());
}

}  // namespace
}  // namespace quorix
