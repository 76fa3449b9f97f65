// " Rotation": one rotation about any axis or a list of rotations about X, Y
// and Z, for the display, the interpolation and the directional data.
#include "ui/rotation_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cmath>

#include "settings/settings.h"
#include "transform/rotation_pick.h"

namespace quorix {

// The explanatory sketch beside the fields: the plot circle with its axes,
// seen from the chosen hemisphere, and the angles of the current kind of
// rotation.
class RotationPicture : public QWidget {
 public:
  RotationPicture(bool listMode, QWidget* parent) : QWidget(parent), listMode_(listMode) { setFixedSize(170, 170); }
  void SetUpperHemisphere(bool upper) {
    upper_ = upper;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QPointF c(80, 78);
    const double r = 58;
    p.setPen(QPen(Qt::black, 1.5));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    p.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0));
    p.drawLine(c + QPointF(0, -r), c + QPointF(0, r));
    p.setPen(Qt::black);
    p.drawText(c + QPointF(r + 4, 4), "X");
    p.drawText(c + QPointF(-4, -r - 4), "Y");
    // The Z axis points at the viewer for the upper hemisphere, away for the lower.
    p.drawEllipse(c, 5, 5);
    if (upper_) {
      p.setBrush(Qt::black);
      p.drawEllipse(c, 1.5, 1.5);
      p.setBrush(Qt::NoBrush);
    } else {
      p.drawLine(c + QPointF(-3.5, -3.5), c + QPointF(3.5, 3.5));
      p.drawLine(c + QPointF(-3.5, 3.5), c + QPointF(3.5, -3.5));
    }
    p.drawText(c + QPointF(7, 14), "Z");
    p.drawText(QRectF(0, 150, 170, 18), Qt::AlignCenter, upper_ ? "upper hemisphere" : "lower hemisphere");
    if (listMode_)
      DrawAxisTurns(p, c, r);
    else
      DrawAnyAxis(p, c, r);
  }

 private:
  static void TurnArrow(QPainter& p, const QPointF& at, double radius, const QString& label) {
    const QRectF box(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius);
    p.drawArc(box, 30 * 16, 270 * 16);
    const double a = 300 * kPi / 180;
    const QPointF tip(at.x() + radius * std::cos(a), at.y() - radius * std::sin(a));
    p.drawLine(tip, tip + QPointF(-5, -2));
    p.drawLine(tip, tip + QPointF(1, -6));
    p.drawText(at + QPointF(radius + 2, -radius), label);
  }

  void DrawAnyAxis(QPainter& p, const QPointF& c, double r) const {
    const double phi = 40 * kPi / 180;
    const double rho = r * std::tan(55 * kPi / 360);  // theta 55 in the stereographic projection
    const QPointF axis(c.x() + rho * std::cos(phi), c.y() - rho * std::sin(phi));
    p.setPen(QPen(Qt::blue, 1.5));
    p.drawLine(c, axis);
    p.setBrush(Qt::blue);
    p.drawEllipse(axis, 3, 3);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - 22, c.y() - 22, 44, 44), 0, 40 * 16);
    p.drawText(c + QPointF(22, 14), "Phi");
    p.drawText((c + axis) / 2 + QPointF(-30, -6), "Theta");
    p.setPen(QPen(Qt::red, 1.2));
    TurnArrow(p, axis, 10, "Alpha");
  }

  static void DrawAxisTurns(QPainter& p, const QPointF& c, double r) {
    p.setPen(QPen(Qt::red, 1.2));
    TurnArrow(p, c + QPointF(r - 12, 18), 8, "");
    TurnArrow(p, c + QPointF(-18, -r + 12), 8, "");
    TurnArrow(p, c + QPointF(-24, 24), 10, "");
  }

  bool listMode_;
  bool upper_ = true;
};

namespace {

// A titled box of two radio buttons, numbered 0 and 1 in a new button group.
QGroupBox* TwoChoiceBox(QWidget* parent, const char* title, const char* first, const char* second,
                        QButtonGroup*& group) {
  auto* box = new QGroupBox(title, parent);
  group = new QButtonGroup(parent);
  auto* layout = new QHBoxLayout(box);
  for (const char* text : {first, second}) {
    auto* button = new QRadioButton(text, box);
    group->addButton(button, static_cast<int>(group->buttons().size()));
    layout->addWidget(button);
  }
  return box;
}

}  // namespace

RotationDialog::RotationDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle(" Rotation");
  setObjectName("RotationDlg");
  setModal(true);

  auto* modeBox = TwoChoiceBox(this, " Rotation around ", "any axis", "X- / Y- / Z-axis", RotationRadioGroup);
  RotationRadioGroup->setObjectName("RotationRadioGroup");
  // Both choices come from the configuration file; the groups stay hidden.
  HemisphereBox = TwoChoiceBox(this, " Hemisphere ", "lower", "upper", HemisphereRadioGroup);
  HemisphereBox->setObjectName("HemisphereBox");
  HemisphereRadioGroup->setObjectName("HemisphereRadioGroup");
  HemisphereBox->hide();
  SymmetryBox = TwoChoiceBox(this, " P-Symmetry ", "monoclin", "triclin", SymmetryRadioGroup);
  SymmetryBox->setObjectName("SymmetryBox");
  SymmetryRadioGroup->setObjectName("SymmetryRadioGroup");
  SymmetryBox->hide();

  pages_ = new QStackedWidget(this);

  auto* axisPage = new QWidget(pages_);
  auto* axisGrid = new QGridLayout(axisPage);
  PhiEdit = new QLineEdit("0.0", axisPage);
  ThetaEdit = new QLineEdit("0.0", axisPage);
  AlphaEdit = new QLineEdit("0.0", axisPage);
  PhiEdit->setObjectName("PhiEdit");
  ThetaEdit->setObjectName("ThetaEdit");
  AlphaEdit->setObjectName("AlphaEdit");
  Axisinfopanel = new QLabel(axisPage);
  Axisinfopanel->setObjectName("Axisinfopanel");
  Axisinfopanel->setFrameShape(QFrame::Panel);
  Axisinfopanel->setFrameShadow(QFrame::Sunken);
  Axisinfopanel->setMinimumWidth(110);
  axisGrid->addWidget(new QLabel("Phi:", axisPage), 0, 0);
  axisGrid->addWidget(PhiEdit, 0, 1);
  axisGrid->addWidget(new QLabel("Theta:", axisPage), 1, 0);
  axisGrid->addWidget(ThetaEdit, 1, 1);
  axisGrid->addWidget(new QLabel("Alpha:", axisPage), 2, 0);
  axisGrid->addWidget(AlphaEdit, 2, 1);
  axisGrid->addWidget(new QLabel("Current:", axisPage), 3, 0);
  axisGrid->addWidget(Axisinfopanel, 3, 1);
  axisGrid->setRowStretch(4, 1);
  pictures_[0] = new RotationPicture(false, axisPage);
  axisGrid->addWidget(pictures_[0], 0, 2, 5, 1);
  pages_->addWidget(axisPage);

  auto* listPage = new QWidget(pages_);
  auto* listGrid = new QGridLayout(listPage);
  for (int i = 0; i < 3; ++i) {
    AxisButtons[i] = new QPushButton(QString::fromStdString(AxisButtonCaption(0)), listPage);
    AxisButtons[i]->setObjectName(QString("Button%1").arg(i + 1));
    AxisButtons[i]->setAutoDefault(false);
    AngleEdits[i] = new QLineEdit("0.0", listPage);
    AngleEdits[i]->setObjectName(QString("Edit%1").arg(i + 1));
    listGrid->addWidget(AxisButtons[i], i, 0);
    listGrid->addWidget(AngleEdits[i], i, 1);
    connect(AxisButtons[i], &QPushButton::clicked, this, [this, i] { AxisButtonClick(i); });
  }
  InfoLabel = new QLabel(listPage);
  InfoLabel->setObjectName("InfoLabel");
  InfoLabel->setMinimumWidth(110);
  InfoLabel->setWordWrap(true);
  listGrid->addWidget(new QLabel("Current:", listPage), 3, 0);
  listGrid->addWidget(InfoLabel, 3, 1);
  listGrid->setRowStretch(4, 1);
  pictures_[1] = new RotationPicture(true, listPage);
  listGrid->addWidget(pictures_[1], 0, 2, 5, 1);
  pages_->addWidget(listPage);

  NewBtn = new QPushButton("New", this);
  NewBtn->setObjectName("NewBtn");
  AddBtn = new QPushButton("Add", this);
  AddBtn->setObjectName("AddBtn");
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  // Return in a field adds what was typed rather than closing the dialog.
  AddBtn->setDefault(true);
  for (QPushButton* b : {NewBtn, OKBtn, CancelBtn}) b->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(NewBtn);
  buttons->addWidget(AddBtn);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(modeBox);
  layout->addWidget(HemisphereBox);
  layout->addWidget(SymmetryBox);
  layout->addWidget(pages_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(RotationRadioGroup, &QButtonGroup::idClicked, this, [this](int id) {
    // The buttons carry the modes' numbers: 0 any axis, 1 the list.
    editor_.SetMode(static_cast<RotationMode>(id));
    ShowModeGroup();
  });
  connect(HemisphereRadioGroup, &QButtonGroup::idClicked, this, [this](int id) {
    editor_.SetUpperHemisphere(id == 1);
    ShowModeGroup();
  });
  connect(SymmetryRadioGroup, &QButtonGroup::idClicked, this, [this](int id) { editor_.SetTriclin(id == 1); });
  connect(AddBtn, &QPushButton::clicked, this, &RotationDialog::AddBtnClick);
  connect(NewBtn, &QPushButton::clicked, this, &RotationDialog::NewBtnClick);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  ShowTexts();
}

bool RotationDialog::ShowForDisplay() {
  RotationState& display = context_.state.Rotation;
  editor_.Load(display);
  if (exec() != QDialog::Accepted) return false;
  editor_.ApplyToDisplay(display);
  return true;
}

bool RotationDialog::ShowForOwner(RotationState& rotation) {
  editor_.SetDisplayUnrotated(true);
  editor_.Load(rotation);
  if (exec() != QDialog::Accepted) return false;
  rotation.Mode = editor_.Mode();
  rotation.Matrix = editor_.Matrix();
  rotation.List = editor_.Rotations();
  return true;
}

void RotationDialog::ResetToNoRotation() { editor_.Reset(); }

void RotationDialog::ApplyToDisplay(const RotationState& rotation) {
  editor_.Load(rotation);
  editor_.ApplyToDisplay(context_.state.Rotation);
}

void RotationDialog::SetPickedValues(double phi, double theta, double omega) {
  const PickFields f = FormatPickFields(PickedRotation{true, phi, theta, omega});
  PhiEdit->setText(QString::fromStdString(f.phi));
  ThetaEdit->setText(QString::fromStdString(f.theta));
  AlphaEdit->setText(QString::fromStdString(f.alpha));
}

void RotationDialog::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void RotationDialog::FormShow() {
  editor_.Show(ReadRotationSettings(context_.ini));
  for (int i = 0; i < 3; ++i) {
    tags_[i] = 0;
    AxisButtons[i]->setText(QString::fromStdString(AxisButtonCaption(0)));
    AngleEdits[i]->setText("0.0");
  }
  if (QAbstractButton* b = RotationRadioGroup->button(static_cast<int>(editor_.Mode()))) b->setChecked(true);
  HemisphereRadioGroup->button(editor_.UpperHemisphere() ? 1 : 0)->setChecked(true);
  SymmetryRadioGroup->button(editor_.Triclin() ? 1 : 0)->setChecked(true);
  ShowModeGroup();
  ShowTexts();
}

void RotationDialog::ShowModeGroup() {
  pages_->setCurrentIndex(editor_.Mode() == RotationMode::Matrix ? 0 : 1);
  for (RotationPicture* p : pictures_) p->SetUpperHemisphere(editor_.UpperHemisphere());
}

void RotationDialog::ShowTexts() {
  Axisinfopanel->setText(QString::fromStdString(editor_.AxisInfo()));
  InfoLabel->setText(QString::fromStdString(editor_.ListInfo()));
}

void RotationDialog::AxisButtonClick(int row) {
  tags_[row] = NextAxisTag(tags_[row]);
  AxisButtons[row]->setText(QString::fromStdString(AxisButtonCaption(tags_[row])));
}

void RotationDialog::AddBtnClick() {
  if (editor_.Mode() == RotationMode::Matrix) {
    const int failed = editor_.AddAxisAngle(PhiEdit->text().toStdString(), ThetaEdit->text().toStdString(),
                                            AlphaEdit->text().toStdString());
    const std::array<QLineEdit*, 3> edits{PhiEdit, ThetaEdit, AlphaEdit};
    if (failed != RotationEditor::kAllParsed) edits[failed]->setFocus();
  } else {
    std::array<RotationEditor::AxisRow, 3> rows;
    for (int i = 0; i < 3; ++i) rows[i] = {tags_[i], AngleEdits[i]->text().toStdString()};
    const int failed = editor_.AddAxisRows(rows);
    if (failed != RotationEditor::kAllParsed) AngleEdits[failed]->setFocus();
  }
  ShowTexts();
}

void RotationDialog::NewBtnClick() {
  editor_.New();
  AddBtnClick();
}

}  // namespace quorix
