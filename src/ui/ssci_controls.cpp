// The tool-bar controls of "Suppress Single Crystal &Intensities".
#include "ui/ssci_controls.h"

#include <QAction>
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
  editAction_ = bar.addWidget(SSCIEdit);
  upDownAction_ = bar.addWidget(SSCIUpDown);
  btnAction_ = bar.addWidget(SSCIBtn);
  SetVisible(false);
  connect(SSCIUpDown, &QSpinBox::valueChanged, this, &SSCIControls::SSCIUpDownClick);
  connect(SSCIBtn, &QPushButton::clicked, this, &SSCIControls::SSCIBtnClick);
}

void SSCIControls::SetVisible(bool visible) {
  for (QAction* a : {editAction_, upDownAction_, btnAction_}) a->setVisible(visible);
}

void SSCIControls::SSCIClick() {
  TPoleFigure& pf = *context_.set.PF[1];
  if (hooks_.SetCommandsEnabled) hooks_.SetCommandsEnabled(false);
  backup_ = BeginSuppression(pf);
  session_ = &pf;
  left_ = pf.Revision;
  active_ = true;
  SSCIEdit->setText("0:0");
  {
    const QSignalBlocker block(SSCIUpDown);
    SSCIUpDown->setValue(0);
  }
  SetVisible(true);
}

void SSCIControls::SSCIUpDownClick() {
  if (!active_) return;
  TPoleFigure& pf = *context_.set.PF[1];
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
}

}  // namespace quorix
