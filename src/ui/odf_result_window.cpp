// The ODF result window and the windows it opens.
#include "ui/odf_result_window.h"

#include <fmt/format.h>

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "plot/contours.h"
#include "ui/angle_grid_window.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/window_placement.h"
#include "workflow/figure_panels.h"

namespace quorix {
namespace {

QTableWidget* Table(QWidget* parent, const QStringList& headers, int rows) {
  auto* t = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
  t->setHorizontalHeaderLabels(headers);
  t->verticalHeader()->hide();
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  t->setWordWrap(false);
  return t;
}

void SetCell(QTableWidget* t, int row, int column, const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  t->setItem(row, column, item);
}

std::vector<Color> LevelColors(const ProgramState& state) {
  std::vector<Color> colors;
  for (int k = 1; k <= 10; ++k) colors.push_back(DrawColor(state.ContourColor[static_cast<std::size_t>(k)]));
  return colors;
}

QPushButton* Button(QWidget* parent, const QString& text, const char* name) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  return b;
}

}  // namespace

std::string HklText(const std::array<int, 3>& hkl, LaueGroup crystal) {
  if (IsHexagonalFamily(crystal)) return fmt::format("{} {} {} {}", hkl[0], hkl[1], -hkl[0] - hkl[1], hkl[2]);
  return fmt::format("{} {} {}", hkl[0], hkl[1], hkl[2]);
}

OdfResultWindow::OdfResultWindow(MainWindow& mainform, AppContext& context, OdfJobResult result)
    : QWidget(&mainform, Qt::Window), mainform_(mainform), context_(context), result_(std::move(result)) {
  setObjectName("OdfResultWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  const Odf& odf = result_.odf;
  setWindowTitle(
      QString::fromStdString(fmt::format("ODF ({} crystal, {} sample, {:g} deg)", LaueGroupName(odf.grid.crystal),
                                         SampleSymmetryName(odf.grid.sample), odf.grid.resolution)));
  auto* summary = new QLabel(
      QString::fromStdString(fmt::format("{}, {} iterations.   Texture index J = {:.3f}   Entropy S = {:.3f}",
                                         odf.method, result_.iterations, result_.textureIndex, result_.entropy)),
      this);
  summary->setObjectName("Summary");

  auto* figures = Table(this, {"Pole figure", "hkl", "Normalization", "RP %", "RP0 %", "RP1 %"},
                        static_cast<int>(result_.figures.size()));
  figures->setObjectName("FitTable");
  for (std::size_t k = 0; k < result_.figures.size(); ++k) {
    const OdfJobFigure& f = result_.figures[k];
    const int row = static_cast<int>(k);
    SetCell(figures, row, 0, f.source);
    SetCell(figures, row, 1, HklText(f.hkl, odf.grid.crystal));
    SetCell(figures, row, 2, fmt::format("{:.4g}", f.fit.normalization));
    SetCell(figures, row, 3, fmt::format("{:.2f}", f.fit.rp));
    SetCell(figures, row, 4, fmt::format("{:.2f}", f.fit.rp0));
    SetCell(figures, row, 5, fmt::format("{:.2f}", f.fit.rp1));
  }
  auto* fractions = Table(this, {"Component", "Volume fraction"}, static_cast<int>(result_.fractions.size()));
  fractions->setObjectName("FractionTable");
  for (std::size_t k = 0; k < result_.fractions.size(); ++k) {
    SetCell(fractions, static_cast<int>(k), 0, result_.fractions[k].first);
    SetCell(fractions, static_cast<int>(k), 1, fmt::format("{:.4f}", result_.fractions[k].second));
  }

  auto* recalc = Button(this, "&Recalculated Pole Figures", "RecalcBtn");
  auto* inverse = Button(this, "&Inverse Pole Figures", "InverseBtn");
  auto* sections = Button(this, "ODF &Sections", "SectionsBtn");
  auto* save = Button(this, "Save &ODF...", "SaveOdfBtn");
  further_ = new QLineEdit(this);
  further_->setObjectName("FurtherHkl");
  further_->setPlaceholderText("further hkl to recalculate, e.g. 3 1 1; 2 2 2");
  connect(recalc, &QPushButton::clicked, this, &OdfResultWindow::OpenRecalculated);
  connect(inverse, &QPushButton::clicked, this, &OdfResultWindow::OpenInverse);
  connect(sections, &QPushButton::clicked, this, &OdfResultWindow::OpenSections);
  connect(save, &QPushButton::clicked, this, &OdfResultWindow::SaveOdf);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {recalc, inverse, sections, save}) buttons->addWidget(b);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary);
  layout->addWidget(figures, 3);
  // The named components are of cubic metals; other crystals have none to show.
  if (!result_.fractions.empty()) {
    layout->addWidget(
        new QLabel(QString::fromStdString(fmt::format("Volume fractions within {:g} degrees of the ideal orientations:",
                                                      OdfJobRequest{}.spread)),
                   this));
    layout->addWidget(fractions, 2);
  } else {
    fractions->hide();
  }
  layout->addWidget(further_);
  layout->addLayout(buttons);
}

void OdfResultWindow::OpenRecalculated() {
  MessageBoxSink sink(this);
  std::vector<std::array<int, 3>> hkls;
  for (const OdfJobFigure& f : result_.figures) hkls.push_back(f.hkl);
  // Every further hkl is read before any window opens.
  for (const QString& typed : further_->text().split(';', Qt::SkipEmptyParts)) {
    if (typed.trimmed().isEmpty()) continue;
    const auto hkl = ParseHklFor(typed.trimmed().toStdString(), result_.odf, sink);
    if (!hkl) return;
    hkls.push_back(*hkl);
  }
  std::vector<std::array<int, 3>> distinct;
  for (const auto& hkl : hkls)
    if (std::find(distinct.begin(), distinct.end(), hkl) == distinct.end()) distinct.push_back(hkl);
  for (const auto& hkl : distinct) {
    const int n = mainform_.FirstFreeWindow();
    if (n == 0) {
      sink.Message("No free window for the further recalculated pole figures: close some pole figure windows.");
      return;
    }
    context_.set.PF[n] = RecalculatedRecord(result_.odf, hkl);
    mainform_.ShowInWindow(n, "(" + HklText(hkl, result_.odf.grid.crystal) + ") recalculated from the ODF");
  }
}

AngleGridWindow* OdfResultWindow::OpenInverse() {
  FigureOptions options;
  options.columns = 3;
  options.colorMap = ColorMapFromSet(LevelColors(context_.state));
  auto* w =
      new AngleGridWindow("Inverse pole figures (m.r.d.)", InversePoleFigurePanels(result_.odf, 2.5), options, this);
  w->setObjectName("InverseWindow");
  w->setAttribute(Qt::WA_DeleteOnClose);
  ShowOnScreen(*w, QSize(1000, 420), this);
  return w;
}

AngleGridWindow* OdfResultWindow::OpenSections() {
  const OdfGrid& g = result_.odf.grid;
  // At most 18 sections, each on cells of its own.
  const double step = g.resolution * std::max(1, (g.n2 + 17) / 18);
  FigureOptions options;
  options.columns = 6;
  options.colorMap = ColorMapFromSet(LevelColors(context_.state));
  auto* w = new AngleGridWindow("ODF sections phi2 = const: phi1 to the right, Phi downwards (m.r.d.)",
                                SectionPanels(result_.odf, step), options, this);
  w->setObjectName("SectionsWindow");
  w->setAttribute(Qt::WA_DeleteOnClose);
  ShowOnScreen(*w, QSize(1300, 800), this);
  return w;
}

bool OdfResultWindow::SaveOdf() {
  const QString file = QFileDialog::getSaveFileName(this, "Save ODF", QString::fromStdString(context_.state.DataPath),
                                                    "ODF text (*.odf *.txt);;All files (*)");
  if (file.isEmpty()) return false;
  return SaveOdfAs(file.toStdString());
}

bool OdfResultWindow::SaveOdfAs(const std::string& fileName) {
  MessageBoxSink sink(this);
  if (!WriteOdf(fileName, result_.odf, sink)) return false;
  mainform_.ShowSaved(fileName);
  return true;
}

}  // namespace quorix
