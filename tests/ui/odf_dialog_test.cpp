// The ODF from the desktop program: the dialog prefilled from the loaded pole
// figures and their file, a fault shown before any work and the dialog again,
// Cancel on the gauge, and the windows and file of the result window.
#include "ui/odf_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QTableWidget>

#include "app/startup.h"
#include "ui/angle_grid_window.h"
#include "ui/main_window.h"
#include "ui/odf_commands.h"
#include "ui/odf_result_window.h"
#include "ui/plot_window.h"
#include "ui_test_support.h"

namespace quorix {
namespace {

struct Desktop {
  std::unique_ptr<Application> app;
  AppContext& c() { return *app->context; }
  MainWindow& main() { return *app->mainform; }
};

// The three pole figures of copper.xpe in the main window and windows 2 and 3.
Desktop StartWithCopper() {
  Desktop d{StartUp(test::ProgramInTempDir(), {test::Example("copper111.pol"), test::Example("grid5.rst")})};
  for (int n = 1; n <= 3; ++n) d.c().set.PF[n] = test::LoadFile(test::ExamplePath("copper.xpe"), "", n);
  d.main().ShowInWindow(2, "200");
  d.main().ShowInWindow(3, "220");
  return d;
}

TEST(OdfDialog, PrefilledFromTheLoadedPoleFiguresAndTheirFile) {
  Desktop d = StartWithCopper();
  OdfDialog dlg;
  dlg.Prepare(d.c().set, {"", "one", "two", "three"});
  QTableWidget& rows = dlg.Figures();
  ASSERT_EQ(rows.rowCount(), 3);
  EXPECT_EQ(rows.item(1, 0)->text(), "two");
  EXPECT_EQ(rows.item(1, 1)->text(), "2 0 0");
  EXPECT_EQ(dlg.Crystal().currentData().toString(), "cubic");
  EXPECT_EQ(dlg.LatticeEdit().text(), "3.615,3.615,3.615,90,90,90");

  CollectingSink sink;
  for (int r = 0; r < 3; ++r) rows.item(r, 0)->setCheckState(Qt::Unchecked);
  EXPECT_FALSE(dlg.Request(sink));
  rows.item(1, 0)->setCheckState(Qt::Checked);
  dlg.Resolution().setText("fine");
  EXPECT_FALSE(dlg.Request(sink));
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"Choose at least one pole figure for the ODF.",
                                                     "The resolution must be a number of degrees, like 5 or 2.5."}));
  dlg.Resolution().setText("2.5");
  const auto request = dlg.Request(sink);
  ASSERT_TRUE(request);
  ASSERT_EQ(request->loaded.size(), 1u);
  EXPECT_EQ(request->loaded[0].record, d.c().set.PF[2].get());
  EXPECT_EQ(request->loaded[0].hkl, "2 0 0");
  EXPECT_EQ(request->resolution, 2.5);
  EXPECT_EQ(request->crystal, "cubic");
}

TEST(OdfCommand, FaultShownBeforeAnyWorkThenResultWindowAndItsWindows) {
  Desktop d = StartWithCopper();
  int dialogs = 0;
  std::vector<QString> messages;
  test::WithModalsAnswered(
      [&](QWidget* w) {
        if (auto* dlg = qobject_cast<OdfDialog*>(w)) {
          // First a resolution too fine for the memory, then an hkl of zeros, then the file's own.
          ++dialogs;
          dlg->Resolution().setText(dialogs == 1 ? "0.5" : "5");
          dlg->Figures().item(0, 1)->setText(dialogs == 2 ? "0 0 0" : "1 1 1");
          dlg->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
          messages.push_back(box->text());
          box->close();
        }
      },
      [&] { ComputeOdf(d.main(), d.c()); });
  EXPECT_EQ(dialogs, 3);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(messages[0].contains("cells")) << messages[0].toStdString();
  // The window's caption names the pole figure.
  EXPECT_TRUE(messages[1].startsWith(d.main().SlotTitle(1) + ": ")) << messages[1].toStdString();
  auto* result = d.main().findChild<OdfResultWindow*>();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->Result().figures.size(), 3u);

  // A further hkl that cannot be read opens nothing; a good one opens after the measured ones.
  auto* further = result->findChild<QLineEdit*>("FurtherHkl");
  further->setText("3 1 1; 1 0 -1 0");
  EXPECT_EQ(test::WithModalsClosed([&] { result->OpenRecalculated(); }), 1);
  EXPECT_FALSE(d.c().set.Occupied(4));
  further->setText("3 1 1");
  result->OpenRecalculated();
  EXPECT_EQ(d.c().set.PF[7]->Hkl, "3 1 1");
  for (int n = 4; n <= 6; ++n) {
    ASSERT_TRUE(d.c().set.Occupied(n));
    EXPECT_TRUE(d.main().WindowVisible(n));
    EXPECT_GT(d.c().set.PF[n]->MaxValue, 1);  // m.r.d.
  }
  EXPECT_EQ(d.c().set.PF[5]->Hkl, "2 0 0");
  EXPECT_EQ(d.c().set.PF[2]->IndexInFile, 2);  // the loaded ones stay

  const AngleGridWindow* inverse = result->OpenInverse();
  ASSERT_EQ(inverse->Panels().size(), 3u);
  EXPECT_EQ(inverse->Panels()[2].title, "ND");
  EXPECT_FALSE(inverse->Levels().empty());
  const QImage picture = inverse->Picture();
  int coloured = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      coloured += c.red() != c.green() || c.green() != c.blue();
    }
  EXPECT_GT(coloured, 50);
  const AngleGridWindow* sections = result->OpenSections();
  EXPECT_EQ(sections->Panels().size(), 18u);  // phi2 every 5 degrees over 0..90
  // Asked for 1300 x 800, it stays on the screen however small.
  const QRect area = sections->screen()->availableGeometry();
  EXPECT_TRUE(area.contains(sections->frameGeometry())) << area.width() << "x" << area.height();

  const std::string file = (test::TempDir() / "copper.odf").string();
  ASSERT_TRUE(result->SaveOdfAs(file));
  EXPECT_EQ(test::ReadFile(file).rfind("%", 0), 0u);
  delete result;
}

TEST(OdfCommand, CancelOnTheGaugeStopsWithoutMessageOrResult) {
  Desktop d = StartWithCopper();
  int boxes = 0;
  test::WithModalsAnswered(
      [&](QWidget* w) {
        if (auto* dlg = qobject_cast<OdfDialog*>(w)) dlg->accept();
        if (auto* gauge = qobject_cast<QProgressDialog*>(w)) gauge->cancel();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
          ++boxes;
          box->close();
        }
      },
      [&] { ComputeOdf(d.main(), d.c()); });
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(d.main().findChild<OdfResultWindow*>(), nullptr);
}

}  // namespace
}  // namespace quorix
