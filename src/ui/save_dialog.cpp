// "Save Pole Figure(s)": file name, layout family and rearrangement of "Save as ASCII".
#include "ui/save_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/settings.h"
#include "ui/load_files_dialog.h"
#include "ui/save_format_dialog.h"

namespace quorix {

SaveDialog::SaveDialog(AppContext& context, SaveFormatDialog& formatDlg, QWidget* parent)
    : QDialog(parent), context_(context), formatDlg_(formatDlg), format_(ReadSaveFormat(context.ini)) {
  setWindowTitle("Save Pole Figure(s)");
  PFEdit = new QLineEdit(this);
  PFEdit->setObjectName("PFEdit");
  PFEdit->setMinimumWidth(320);
  SearchButton = new QPushButton("Search...", this);
  SearchButton->setObjectName("SearchButton");
  SearchButton->setAutoDefault(false);
  Panel = new QLabel(this);
  Panel->setObjectName("Panel");
  Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel->setAlignment(Qt::AlignCenter);
  Panel->setMinimumWidth(100);
  ChangeBtn = new QPushButton("Change...", this);
  ChangeBtn->setObjectName("ChangeBtn");
  ChangeBtn->setAutoDefault(false);
  ZeroCheckBox = new QCheckBox("Set negative values to 0.0", this);
  ZeroCheckBox->setObjectName("ZeroCheckBox");
  ZeroCheckBox->setChecked(true);
  XYCheckBox = new QCheckBox("Include coordinates", this);
  XYCheckBox->setObjectName("XYCheckBox");
  ProjectionRadioGroup = new QGroupBox(" Type ", this);
  ProjectionRadioGroup->setObjectName("ProjectionRadioGroup");
  EqualAreaButton = new QRadioButton("2D equal area", ProjectionRadioGroup);
  EqualAreaButton->setObjectName("EqualAreaButton");
  EqualAngularButton = new QRadioButton("2D equal angular", ProjectionRadioGroup);
  EqualAngularButton->setObjectName("EqualAngularButton");
  PolarButton = new QRadioButton("3D polar coordinates", ProjectionRadioGroup);
  PolarButton->setObjectName("PolarButton");
  EqualAngularButton->setChecked(true);
  auto* typeLayout = new QVBoxLayout(ProjectionRadioGroup);
  typeLayout->addWidget(EqualAreaButton);
  typeLayout->addWidget(EqualAngularButton);
  typeLayout->addWidget(PolarButton);
  ProjectionRadioGroup->setVisible(false);
  auto* rearrange = new QGroupBox("Rearrange data according to .....", this);
  InvTheta = new QCheckBox("90 - theta", rearrange);
  InvTheta->setObjectName("InvTheta");
  InvPhi = new QCheckBox("360 - phi", rearrange);
  InvPhi->setObjectName("InvPhi");
  auto* rearrangeLayout = new QHBoxLayout(rearrange);
  rearrangeLayout->addWidget(InvTheta);
  rearrangeLayout->addWidget(InvPhi);
  SaveAllCheckBox = new QCheckBox("Save all pole figures", this);
  SaveAllCheckBox->setObjectName("SaveAllCheckBox");

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Filename:", this), 0, 0);
  grid->addWidget(PFEdit, 0, 1);
  grid->addWidget(SearchButton, 0, 2);
  grid->addWidget(new QLabel("Format:", this), 1, 0);
  grid->addWidget(Panel, 1, 1);
  grid->addWidget(ChangeBtn, 1, 2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(ZeroCheckBox);
  layout->addWidget(XYCheckBox);
  layout->addWidget(ProjectionRadioGroup);
  layout->addWidget(rearrange);
  layout->addWidget(SaveAllCheckBox);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(SearchButton, &QPushButton::clicked, this, &SaveDialog::SearchButtonClick);
  connect(ChangeBtn, &QPushButton::clicked, this, &SaveDialog::ChangeBtnClick);
  connect(XYCheckBox, &QCheckBox::toggled, ProjectionRadioGroup, &QWidget::setVisible);
}

void SaveDialog::showEvent(QShowEvent* event) {
  formatDlg_.SetFormat(format_, false);
  ProjectionRadioGroup->setVisible(XYCheckBox->isChecked());
  Panel->setText(QString::fromStdString(StandardName(format_)));
  QDialog::showEvent(event);
}

void SaveDialog::ChangeBtnClick() {
  formatDlg_.Edit(format_, true);
  Panel->setText(QString::fromStdString(StandardName(format_)));
}

void SaveDialog::SearchButtonClick() {
  QFileDialog dialog(this, "Save Pole Figure As...", QString::fromStdString(context_.state.DataPath));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(FileDialogFilters(kSavePoleFigureFilter));
  if (!PFEdit->text().isEmpty()) dialog.selectFile(QFileInfo(PFEdit->text()).fileName());
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    PFEdit->setText(dialog.selectedFiles().first());
}

AsciiWriteOptions SaveDialog::Options() const {
  AsciiWriteOptions o;
  o.SetNegativeToZero = ZeroCheckBox->isChecked();
  o.InvertTheta = InvTheta->isChecked();
  o.InvertPhi = InvPhi->isChecked();
  o.IncludeCoordinates = XYCheckBox->isChecked();
  o.Coordinates = EqualAreaButton->isChecked() ? CoordinateType::EqualArea
                  : PolarButton->isChecked()   ? CoordinateType::Polar
                                               : CoordinateType::EqualAngular;
  o.Format = format_;
  return o;
}

bool SaveDialog::SaveAll() const { return SaveAllCheckBox->isChecked(); }

QString SaveDialog::FileName() const { return PFEdit->text(); }

void SaveDialog::SetFileName(const QString& name) { PFEdit->setText(name); }

}  // namespace quorix
