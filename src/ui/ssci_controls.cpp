// The tool-bar controls of "Suppress Single Crystal &Intensities".
#include "ui/ssci_controls.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <algorithm>

#include "transform/ssci.h"

namespace quorix {

SSCIControls::SSCIControls(AppContext& context, QToolBar& bar, SSCIHooks hooks, QObject* parent)
    : QObject(parent), context_(context), hooks_(std::move(hooks)) {
  setObjectName("SSCIControls");
  SSCIEdit = new QLineEdit(&bar);
  SSCIEdit->setObjectName("SSCIEdit");
  SSCIEdit->setReadOnly(true);
  SSCIEdit->setMaximumWidth(70);
  SSCIUpDown = new QSpinBox(&bar);
  SSCIUpDown->setObjectName("SSCIUpDown");
  SSCIUpDown->setRange(0, kMaxSuppressionLevel);
  SSCIUpDown->setSingleStep(1);
  SSCIBtn = new QPushButton("OK", &bar);
  SSCIBtn->setObjectName("SSCIBtn");
  SSCILabel = new QLabel(" Suppression level : points replaced ", &bar);
  SSCILabel->setToolTip("Level 0 leaves the pole figure as it was, 10 replaces the most peaks");
  SSCILabel->setObjectName("SSCILabel");
  SSCIEdit->setToolTip("level:count - the suppression level and how many points it replaced");
  SSCIUpDown->setToolTip("Higher levels replace less steep peaks as well");
  CancelBtn = new QPushButton("Cancel", &bar);
  CancelBtn->setObjectName("SSCICancelBtn");
  CancelBtn->setToolTip("Put the pole figure back as it was before the suppression");
  labelAction_ = bar.addWidget(SSCILabel);
  editAction_ = bar.addWidget(SSCIEdit);
  upDownAction_ = bar.addWidget(SSCIUpDown);
  btnAction_ = bar.addWidget(SSCIBtn);
  cancelAction_ = bar.addWidget(CancelBtn);
  SetVisible(false);
  connect(SSCIUpDown, &QSpinBox::valueChanged, this, &SSCIControls::SSCIUpDownClick);
  connect(SSCIBtn, &QPushButton::clicked, this, &SSCIControls::SSCIBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &SSCIControls::CancelClick);
}

void SSCIControls::SetVisible(bool visible) {
  for (QAction* a : {labelAction_, editAction_, upDownAction_, btnAction_, cancelAction_}) a->setVisible(visible);
  if (hooks_.ShowBar) hooks_.ShowBar(visible);
}

void SSCIControls::SSCIClick() {
  PoleFigure& pf = *context_.set.PF[1];
  if (hooks_.SetCommandsEnabled) hooks_.SetCommandsEnabled(false);
  active_ = true;
  if (hooks_.Started) hooks_.Started();
  backup_ = BeginSuppression(pf);
  session_ = &pf;
  left_ = pf.Revision;
  SSCIEdit->setText("0:0");
  {
    const QSignalBlocker block(SSCIUpDown);
    SSCIUpDown->setValue(0);
  }
  SetVisible(true);
}

void SSCIControls::SSCIUpDownClick() {
  if (!active_) return;
  PoleFigure& pf = *context_.set.PF[1];
  if (session_ != &pf || left_ != pf.Revision) {
    backup_ = BeginSuppression(pf);
    session_ = &pf;
  }
  SetSuppressionLevel(pf, backup_, SSCIUpDown->value());
  pf.Modified = true;
  left_ = pf.Revision;
  SSCIEdit->setText(QString::fromStdString(SuppressionText(pf)));
  if (hooks_.RedrawMain) hooks_.RedrawMain();
}

void SSCIControls::SSCIBtnClick() {
  SetVisible(false);
  active_ = false;
  session_ = nullptr;
  backup_ = {};
  if (hooks_.SetCommandsEnabled) hooks_.SetCommandsEnabled(true);
  if (hooks_.Finished) hooks_.Finished(true);
}

void SSCIControls::CancelClick() {
  if (!active_) return;
  SetVisible(false);
  active_ = false;
  session_ = nullptr;
  backup_ = {};
  if (hooks_.SetCommandsEnabled) hooks_.SetCommandsEnabled(true);
  if (hooks_.Finished) hooks_.Finished(false);
}

}  // namespace quorix
