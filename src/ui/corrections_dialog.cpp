#include "ui/corrections_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/text_file.h"
#include "record/prepare.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "workflow/load_sequence.h"

namespace quorix {
namespace {

// A line edit with a "..." button that fills in a file name.
QWidget* FileRow(QWidget* parent, QLineEdit*& edit, const QString& name) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  edit = new QLineEdit(row);
  edit->setObjectName(name);
  edit->setMinimumWidth(320);
  auto* browse = new QToolButton(row);
  browse->setText("...");
  QLineEdit* target = edit;
  QObject::connect(browse, &QToolButton::clicked, row, [row, target] {
    const QString file = QFileDialog::getOpenFileName(row, "Choose a file");
    if (!file.isEmpty()) target->setText(file);
  });
  layout->addWidget(edit);
  layout->addWidget(browse);
  return row;
}

QString NotesText(const CorrectionReport& report) {
  QStringList notes;
  for (const std::string& n : report.notes) notes << QString::fromStdString(n);
  return notes.join("\n");
}

}  // namespace

CorrectionPreview::CorrectionPreview(QWidget* parent) : QWidget(parent) {
  setObjectName("CorrectionPreview");
  setMinimumSize(360, 180);
}

void CorrectionPreview::Show(const CorrectionReport& report) {
  report_ = report;
  update();
}

void CorrectionPreview::Clear() {
  report_ = CorrectionReport{};
  update();
}

void CorrectionPreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  const QRectF area = QRectF(rect()).adjusted(44, 10, -50, -26);
  p.setPen(Qt::black);
  p.drawRect(area);
  const auto x = [&](double alpha) { return area.left() + area.width() * std::clamp(alpha, 0.0, 90.0) / 90.0; };
  for (int a = 0; a <= 90; a += 15) {
    p.drawText(QRectF(x(a) - 15, area.bottom() + 2, 30, 14), Qt::AlignCenter, QString::number(a));
  }
  p.drawText(QRectF(area.left(), area.bottom() + 12, area.width(), 14), Qt::AlignCenter, "alpha");
  // D(alpha) from 0 to its largest value (at least 1).
  const auto& d = report_.defocus;
  double dMax = 1;
  for (double f : d.factors) dMax = std::max(dMax, f);
  const auto yD = [&](double f) { return area.bottom() - area.height() * f / (dMax * 1.05); };
  p.setPen(Qt::blue);
  p.drawText(QRectF(0, area.top() - 4, 42, 14), Qt::AlignRight, QString::number(dMax, 'g', 3));
  p.drawText(QRectF(0, area.bottom() - 10, 42, 14), Qt::AlignRight, "D 0");
  QPainterPath dPath;
  for (std::size_t k = 0; k < d.tilts.size(); ++k) {
    const QPointF pt(x(d.tilts[k]), yD(d.factors[k]));
    k == 0 ? dPath.moveTo(pt) : dPath.lineTo(pt);
  }
  p.drawPath(dPath);
  // Background per circle from 0 to its largest value.
  const auto& bg = report_.circleBackground;
  double bMax = 0;
  for (double b : bg) bMax = std::max(bMax, b);
  if (bMax > 0) {
    const auto yB = [&](double b) { return area.bottom() - area.height() * b / (bMax * 1.05); };
    p.setPen(Qt::darkRed);
    p.drawText(QRectF(area.right() + 2, area.top() - 4, 48, 14), Qt::AlignLeft, QString::number(bMax, 'g', 4));
    p.drawText(QRectF(area.right() + 2, area.bottom() - 10, 48, 14), Qt::AlignLeft, "bg 0");
    QPainterPath bPath;
    for (std::size_t k = 0; k < bg.size() && k < report_.circleAlpha.size(); ++k) {
      const QPointF pt(x(report_.circleAlpha[k]), yB(bg[k]));
      k == 0 ? bPath.moveTo(pt) : bPath.lineTo(pt);
    }
    p.drawPath(bPath);
  }
}

CorrectionsDialog::CorrectionsDialog(AppContext& context, MainWindow& mainform, QWidget* parent)
    : QDialog(parent), context_(context), mainform_(mainform) {
  setObjectName("CorrectionsDialog");
  setWindowTitle("Corrections");
  auto* form = new QFormLayout;
  const QString choiceTip = "FILE, FILE:K for pole figure K of a file of several, @2THETA where the file gives none";
  form->addRow("Background 1:", FileRow(this, Background1Edit, "Background1Edit"));
  form->addRow("Background 2:", FileRow(this, Background2Edit, "Background2Edit"));
  Background1Edit->setToolTip(choiceTip);
  Background2Edit->setToolTip(choiceTip + "; two are interpolated in 2theta");
  OwnBackgroundCheckBox = new QCheckBox("subtract the file's own background", this);
  OwnBackgroundCheckBox->setObjectName("OwnBackgroundCheckBox");
  form->addRow("", OwnBackgroundCheckBox);
  TwoThetaEdit = new QLineEdit(this);
  TwoThetaEdit->setObjectName("TwoThetaEdit");
  TwoThetaEdit->setToolTip("The pole figure's 2theta in degrees, where its file gives none");
  form->addRow("Peak 2theta:", TwoThetaEdit);
  form->addRow("Defocusing file:", FileRow(this, DefocusEdit, "DefocusEdit"));
  DefocusEdit->setToolTip("A random sample measured like the pole figure, or a TEXD5 correction file (.pwd)");
  form->addRow("Its background:", FileRow(this, DefocusBackgroundEdit, "DefocusBackgroundEdit"));
  form->addRow("Defocusing curve:", FileRow(this, DefocusCurveEdit, "DefocusCurveEdit"));
  DefocusCurveEdit->setToolTip("Rows of tilt and defocusing factor");
  DefocusBlockEdit = new QLineEdit(this);
  DefocusBlockEdit->setObjectName("DefocusBlockEdit");
  DefocusBlockEdit->setToolTip("hkl of the TEXD5 block; empty: the pole figure's own");
  form->addRow("TEXD5 block:", DefocusBlockEdit);
  PointwiseCheckBox = new QCheckBox("divide point by point", this);
  PointwiseCheckBox->setObjectName("PointwiseCheckBox");
  form->addRow("", PointwiseCheckBox);
  auto* film = new QWidget(this);
  auto* filmLayout = new QHBoxLayout(film);
  filmLayout->setContentsMargins(0, 0, 0, 0);
  ThinFilmCheckBox = new QCheckBox("thin film, mu t =", film);
  ThinFilmCheckBox->setObjectName("ThinFilmCheckBox");
  ThinFilmEdit = new QLineEdit(film);
  ThinFilmEdit->setObjectName("ThinFilmEdit");
  filmLayout->addWidget(ThinFilmCheckBox);
  filmLayout->addWidget(ThinFilmEdit);
  form->addRow("Absorption:", film);
  MrdCheckBox = new QCheckBox("normalise to m.r.d.", this);
  MrdCheckBox->setObjectName("MrdCheckBox");
  form->addRow("", MrdCheckBox);

  Preview = new CorrectionPreview(this);
  NotesLabel = new QLabel(this);
  NotesLabel->setObjectName("NotesLabel");
  NotesLabel->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* previewBtn = buttons->addButton("Preview", QDialogButtonBox::ActionRole);
  previewBtn->setObjectName("PreviewBtn");
  connect(previewBtn, &QPushButton::clicked, this, &CorrectionsDialog::PreviewClick);
  connect(buttons, &QDialogButtonBox::accepted, this, &CorrectionsDialog::OKBtnClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel("D(alpha) (blue) and background per circle (red):", this));
  layout->addWidget(Preview, 1);
  layout->addWidget(NotesLabel);
  layout->addWidget(buttons);
}

std::optional<CorrectionFiles> CorrectionsDialog::Request() {
  CorrectionFiles files;
  const auto fail = [this](QLineEdit* edit, const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
    edit->setFocus();
    return std::nullopt;
  };
  const auto choice = [&](QLineEdit* edit, MeasurementChoice& into) {
    std::string error;
    if (ParseMeasurementChoice(edit->text().trimmed().toStdString(), into, error)) return true;
    fail(edit, QString::fromStdString(error));
    return false;
  };
  for (QLineEdit* edit : {Background1Edit, Background2Edit})
    if (!edit->text().trimmed().isEmpty() && !choice(edit, files.backgrounds.emplace_back())) return std::nullopt;
  if (!DefocusEdit->text().trimmed().isEmpty() && !choice(DefocusEdit, files.defocus.emplace())) return std::nullopt;
  if (!DefocusBackgroundEdit->text().trimmed().isEmpty() &&
      !choice(DefocusBackgroundEdit, files.defocusBackground.emplace()))
    return std::nullopt;
  files.defocusCurve = DefocusCurveEdit->text().trimmed().toStdString();
  files.defocusBlock = DefocusBlockEdit->text().trimmed().toStdString();
  files.ownBackground = OwnBackgroundCheckBox->isChecked();
  files.pointwise = PointwiseCheckBox->isChecked();
  files.mrd = MrdCheckBox->isChecked();
  if (const QString t = TwoThetaEdit->text().trimmed(); !t.isEmpty()) {
    const auto v = ParseNumber(t.toStdString());
    if (!v) return fail(TwoThetaEdit, "The peak's 2theta must be a number of degrees from 0 to 180.");
    files.twoTheta = *v;
  }
  if (ThinFilmCheckBox->isChecked()) {
    const auto v = ParseNumber(ThinFilmEdit->text().trimmed().toStdString());
    if (!v) return fail(ThinFilmEdit, "mu t of the film must be a number greater than 0.");
    files.thinFilmMuT = *v;
  }
  return files;
}

std::optional<CorrectionOutcome> CorrectionsDialog::Corrected() {
  const PoleFigure* pf = context_.set.PF[1].get();
  const auto files = Request();
  if (!pf || !files) return std::nullopt;
  MessageBoxSink sink(this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto outcome = CorrectWithFiles(*pf, *files, sink);
  QApplication::restoreOverrideCursor();
  return outcome;
}

void CorrectionsDialog::PreviewClick() {
  const auto outcome = Corrected();
  if (!outcome) {
    Preview->Clear();
    NotesLabel->clear();
    return;
  }
  Preview->Show(outcome->report);
  NotesLabel->setText(NotesText(outcome->report));
}

void CorrectionsDialog::OKBtnClick() {
  auto outcome = Corrected();
  if (!outcome) return;
  const bool done = mainform_.ChangePoleFigures("Corrections", {1}, [&] {
    *context_.set.PF[1] = std::move(*outcome->pf);
    PreparePoleFigure(*context_.set.PF[1], context_.state.Options.ShowMrd);
    mainform_.SetSlotTitle(1, QString::fromStdString(PoleFigureTitle(*context_.set.PF[1])));
    mainform_.RedrawMain();
    return true;
  });
  if (!done) return;
  mainform_.UpdateStatus();
  if (!outcome->report.notes.empty())
    QMessageBox::information(&mainform_, mainform_.windowTitle(), NotesText(outcome->report));
  accept();
}

}  // namespace quorix
