// The ODF dialog: it collects the request; the job runs elsewhere.
#include "ui/odf_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/text_file.h"
#include "texture/symmetry.h"

namespace quorix {
namespace {

constexpr LaueGroup kGroups[] = {LaueGroup::Triclinic,     LaueGroup::Monoclinic,   LaueGroup::Orthorhombic,
                                 LaueGroup::TetragonalLow, LaueGroup::Tetragonal,   LaueGroup::TrigonalLow,
                                 LaueGroup::Trigonal,      LaueGroup::HexagonalLow, LaueGroup::Hexagonal,
                                 LaueGroup::CubicLow,      LaueGroup::Cubic};
constexpr SampleSymmetry kSamples[] = {SampleSymmetry::Triclinic, SampleSymmetry::Monoclinic,
                                       SampleSymmetry::Orthorhombic};

}  // namespace

OdfDialog::OdfDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Orientation Distribution (ODF)");
  setObjectName("OdfDialog");
  figures_ = new QTableWidget(0, 2, this);
  figures_->setObjectName("Figures");
  figures_->setHorizontalHeaderLabels({"Pole figure", "hkl"});
  figures_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  figures_->verticalHeader()->hide();
  crystal_ = new QComboBox(this);
  crystal_->setObjectName("Crystal");
  for (LaueGroup g : kGroups)
    crystal_->addItem(QString::fromStdString(LaueGroupName(g) + " (" + LaueGroupSymbol(g) + ")"),
                      QString::fromStdString(LaueGroupName(g)));
  crystal_->setCurrentIndex(static_cast<int>(std::size(kGroups)) - 1);
  sample_ = new QComboBox(this);
  sample_->setObjectName("Sample");
  for (SampleSymmetry s : kSamples) {
    const QString name = QString::fromStdString(SampleSymmetryName(s));
    sample_->addItem(name, name);
  }
  sample_->setCurrentIndex(2);
  lattice_ = new QLineEdit(this);
  lattice_->setObjectName("Lattice");
  lattice_->setPlaceholderText("a,b,c,alpha,beta,gamma (not needed for cubic)");
  resolution_ = new QLineEdit("5", this);
  resolution_->setObjectName("Resolution");
  iterations_ = new QSpinBox(this);
  iterations_->setObjectName("Iterations");
  iterations_->setRange(1, 1000);
  iterations_->setValue(EstimateOptions{}.maxIterations);

  auto* form = new QFormLayout;
  form->addRow("Crystal symmetry:", crystal_);
  form->addRow("Sample symmetry:", sample_);
  form->addRow("Lattice:", lattice_);
  form->addRow("Resolution (deg):", resolution_);
  form->addRow("Iterations at most:", iterations_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("Compute");
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(figures_);
  layout->addLayout(form);
  layout->addWidget(buttons);
  resize(460, 420);
}

void OdfDialog::Prepare(const PoleFigureSet& set, const std::vector<QString>& captions) {
  records_.clear();
  figures_->setRowCount(0);
  for (int n = 1; n <= kSlotCount; ++n) {
    if (!set.Occupied(n)) continue;
    const int row = figures_->rowCount();
    figures_->insertRow(row);
    auto* name = new QTableWidgetItem(
        static_cast<std::size_t>(n) < captions.size() ? captions[static_cast<std::size_t>(n)] : QString::number(n));
    name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    name->setCheckState(Qt::Checked);
    figures_->setItem(row, 0, name);
    figures_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(HklTextOf(*set.PF[n]))));
    records_.push_back(set.PF[n].get());
  }
  if (records_.empty()) return;
  const OdfFileFacts facts = ReadOdfFileFacts(records_.front()->FileName);
  if (facts.crystal) crystal_->setCurrentIndex(static_cast<int>(*facts.crystal));
  if (facts.lattice) lattice_->setText(QString::fromStdString(LatticeText(*facts.lattice)));
}

std::optional<OdfJobRequest> OdfDialog::Request(MessageSink& sink) const {
  OdfJobRequest r;
  for (int row = 0; row < figures_->rowCount(); ++row)
    if (figures_->item(row, 0)->checkState() == Qt::Checked)
      r.loaded.push_back(OdfLoadedFigure{records_[static_cast<std::size_t>(row)],
                                         figures_->item(row, 1)->text().toStdString(),
                                         figures_->item(row, 0)->text().toStdString()});
  if (r.loaded.empty()) {
    sink.Message("Choose at least one pole figure for the ODF.");
    return std::nullopt;
  }
  const auto resolution = ParseNumber(resolution_->text().toStdString());
  if (!resolution) {
    sink.Message("The resolution must be a number of degrees, like 5 or 2.5.");
    return std::nullopt;
  }
  r.resolution = *resolution;
  r.crystal = crystal_->currentData().toString().toStdString();
  r.sample = sample_->currentData().toString().toStdString();
  r.lattice = lattice_->text().trimmed().toStdString();
  r.estimate.maxIterations = iterations_->value();
  return r;
}

}  // namespace quorix
