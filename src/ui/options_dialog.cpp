// " Options": units, grid points, triangles, eigenvalues, fill and projection.
#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "base/number_format.h"
#include "base/text_file.h"
#include "plot/display_options.h"
#include "settings/settings.h"

namespace quorix {

OptionsDialog::OptionsDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle(" Options");
  setObjectName("OptionsDlg");
  setModal(true);

  mrdCheckBox = new QCheckBox("m.r.d.", this);
  mrdCheckBox->setObjectName("mrdCheckBox");
  mrdLabel = new QLabel("mrd", this);
  mrdLabel->setObjectName("mrdLabel");
  GridCheckBox = new QCheckBox("display grid points < ", this);
  GridCheckBox->setObjectName("GridCheckBox");
  SpinEdit = new QLineEdit("0", this);
  SpinEdit->setObjectName("SpinEdit");
  SpinEdit->setMaximumWidth(90);
  SpinUpButton = new QToolButton(this);
  SpinUpButton->setObjectName("SpinUpButton");
  SpinUpButton->setArrowType(Qt::UpArrow);
  SpinDownButton = new QToolButton(this);
  SpinDownButton->setObjectName("SpinDownButton");
  SpinDownButton->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {SpinUpButton, SpinDownButton}) b->setFixedSize(18, 12);
  TriangleCheckBox = new QCheckBox("display triangles", this);
  TriangleCheckBox->setObjectName("TriangleCheckBox");
  EigenCheckBox = new QCheckBox("display eigenvalues", this);
  EigenCheckBox->setObjectName("EigenCheckBox");
  FillCheckBox = new QCheckBox("fill areas", this);
  FillCheckBox->setObjectName("FillCheckBox");
  MissingCheckBox = new QCheckBox("mark missing points (-1)", this);
  MissingCheckBox->setObjectName("MissingCheckBox");
  MissingCheckBox->setToolTip("A small cross on every point without a value: the white gaps of filled areas");
  ZoomCheckBox = new QCheckBox("zoom to the measured tilt range", this);
  ZoomCheckBox->setObjectName("ZoomCheckBox");
  ZoomCheckBox->setToolTip("The rim stands for the outermost measured tilt instead of 90 degrees");
  SmoothCheckBox = new QCheckBox("smooth contour lines", this);
  SmoothCheckBox->setObjectName("SmoothCheckBox");
  SmoothCheckBox->setToolTip("Antialiased lines and labels on screen and in PNG files; fills stay exact");
  OneScaleCheckBox = new QCheckBox("one colour scale for all windows", this);
  OneScaleCheckBox->setObjectName("OneScaleCheckBox");
  OneScaleCheckBox->setToolTip("The same levels in m.r.d. over the range of every pole figure on screen");

  auto* projection = new QGroupBox(" Projection ", this);
  StereoRadioButton = new QRadioButton("Stereographic", projection);
  StereoRadioButton->setObjectName("StereoRadioButton");
  EqualARadioButton = new QRadioButton("Equal Area", projection);
  EqualARadioButton->setObjectName("EqualARadioButton");
  auto* projLayout = new QVBoxLayout(projection);
  projLayout->addWidget(StereoRadioButton);
  projLayout->addWidget(EqualARadioButton);

  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  spin->addWidget(SpinUpButton);
  spin->addWidget(SpinDownButton);
  auto* gridRow = new QHBoxLayout;
  gridRow->addWidget(GridCheckBox);
  gridRow->addWidget(SpinEdit);
  gridRow->addLayout(spin);
  gridRow->addWidget(mrdLabel);
  gridRow->addStretch();

  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  ok->setDefault(true);
  cancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mrdCheckBox);
  layout->addLayout(gridRow);
  layout->addWidget(TriangleCheckBox);
  layout->addWidget(EigenCheckBox);
  layout->addWidget(FillCheckBox);
  layout->addWidget(MissingCheckBox);
  layout->addWidget(ZoomCheckBox);
  layout->addWidget(SmoothCheckBox);
  layout->addWidget(OneScaleCheckBox);
  layout->addWidget(projection);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(mrdCheckBox, &QCheckBox::clicked, this, &OptionsDialog::mrdCheckBoxClick);
  connect(SpinUpButton, &QToolButton::clicked, this, [this] { SpinButtonClick(true); });
  connect(SpinDownButton, &QToolButton::clicked, this, [this] { SpinButtonClick(false); });
  connect(ok, &QPushButton::clicked, this, &OptionsDialog::OKBtnClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool OptionsDialog::ShowOptions() {
  FormShow();
  return exec() == QDialog::Accepted;
}

void OptionsDialog::FormShow() {
  const DisplayOptions& o = context_.state.Options;
  mrdCheckBox->setChecked(o.ShowMrd);
  GridCheckBox->setChecked(o.DrawGrid);
  EigenCheckBox->setChecked(o.ShowEigenvalues);
  TriangleCheckBox->setChecked(o.DrawTriangles);
  FillCheckBox->setChecked(o.FillAreas);
  MissingCheckBox->setChecked(o.MarkMissing);
  ZoomCheckBox->setChecked(o.ZoomToMeasured);
  SmoothCheckBox->setChecked(o.SmoothLines);
  OneScaleCheckBox->setChecked(o.OneScale);
  SpinEdit->setText(QString::fromStdString(LowestLevelText(*context_.set.PF[1], o.ShowMrd)));
  (o.EqualArea ? EqualARadioButton : StereoRadioButton)->setChecked(true);
  mrdLabel->setVisible(o.ShowMrd);
}

void OptionsDialog::mrdCheckBoxClick() {
  const bool mrd = mrdCheckBox->isChecked();
  mrdLabel->setVisible(mrd);
  if (mrd)
    SpinEdit->setText("1");
  else
    SpinEdit->setText(QString::fromStdString(FormatGeneral(context_.set.PF[1]->LowestLevel)));
}

void OptionsDialog::SpinButtonClick(bool up) {
  const std::optional<double> value = ParseNumber(SpinEdit->text().toStdString());
  if (!value) {
    SpinEdit->setFocus();
    return;
  }
  const bool toggled = mrdCheckBox->isChecked() != context_.state.Options.ShowMrd;
  const double step = LowestLevelStep(*context_.set.PF[1], toggled);
  SpinEdit->setText(QString::fromStdString(FormatGeneral(up ? *value + step : *value - step)));
}

void OptionsDialog::OKBtnClick() {
  const std::optional<double> value = ParseNumber(SpinEdit->text().toStdString());
  if (!value) {
    SpinEdit->setFocus();
    return;
  }
  OptionsChoice choice;
  choice.ShowMrd = mrdCheckBox->isChecked();
  choice.DrawGrid = GridCheckBox->isChecked();
  choice.DrawTriangles = TriangleCheckBox->isChecked();
  choice.EqualArea = EqualARadioButton->isChecked();
  choice.ShowEigenvalues = EigenCheckBox->isChecked();
  choice.FillAreas = FillCheckBox->isChecked();
  choice.MarkMissing = MissingCheckBox->isChecked();
  choice.ZoomToMeasured = ZoomCheckBox->isChecked();
  choice.SmoothLines = SmoothCheckBox->isChecked();
  choice.OneScale = OneScaleCheckBox->isChecked();
  choice.LowestLevel = *value;
  const DisplayOptions& o = context_.state.Options;
  const bool keptChanged = choice.MarkMissing != o.MarkMissing || choice.ZoomToMeasured != o.ZoomToMeasured ||
                           choice.SmoothLines != o.SmoothLines || choice.OneScale != o.OneScale;
  ApplyOptionsChoice(choice, context_.state.Options, *context_.set.PF[1]);
  if (keptChanged) {
    WriteViewOptions(context_.ini, context_.state.Options);
    StoreSettings(context_);
  }
  accept();
}

}  // namespace quorix
