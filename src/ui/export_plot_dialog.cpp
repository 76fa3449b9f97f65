#include "ui/export_plot_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "base/message_sink.h"
#include "ui/message_box_sink.h"

namespace quorix {

namespace {
constexpr int kMaxSide = 10000;  // as quorix-cli render allows
}  // namespace

ExportPlotDialog::ExportPlotDialog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setWindowTitle(" Export plot");
  setObjectName("ExportPlotDlg");
  FileEdit = new QLineEdit(this);
  FileEdit->setObjectName("FileEdit");
  FileEdit->setMinimumWidth(320);
  FileEdit->setPlaceholderText("plot.png, plot.svg or plot.pdf");
  SearchBtn = new QPushButton("Search...", this);
  SearchBtn->setObjectName("SearchBtn");
  SearchBtn->setAutoDefault(false);
  WidthBox = new QSpinBox(this);
  WidthBox->setObjectName("WidthBox");
  HeightBox = new QSpinBox(this);
  HeightBox->setObjectName("HeightBox");
  for (QSpinBox* b : {WidthBox, HeightBox}) {
    b->setRange(1, kMaxSide);
    b->setSuffix(" px");
  }
  DpiBox = new QSpinBox(this);
  DpiBox->setObjectName("DpiBox");
  DpiBox->setRange(10, 2400);
  DpiBox->setValue(96);
  DpiBox->setSuffix(" dpi");

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(FileEdit);
  fileRow->addWidget(SearchBtn);
  auto* form = new QFormLayout(this);
  form->addRow("File:", fileRow);
  form->addRow("Width:", WidthBox);
  form->addRow("Height:", HeightBox);
  form->addRow("Resolution:", DpiBox);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  form->addRow(buttons);

  connect(SearchBtn, &QPushButton::clicked, this, &ExportPlotDialog::SearchClick);
  connect(buttons, &QDialogButtonBox::accepted, this, &ExportPlotDialog::OKClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ExportPlotDialog::Prepare(int width, int height) {
  WidthBox->setValue(std::clamp(width, 1, kMaxSide));
  HeightBox->setValue(std::clamp(height, 1, kMaxSide));
  if (context_.set.PF[1]) {
    const QString proposed = ProposedExportName(*context_.set.PF[1], FileEdit->text());
    if (!proposed.isEmpty()) FileEdit->setText(proposed);
  }
}

QString ProposedExportName(const PoleFigure& pf, const QString& previous) {
  const QFileInfo source(QString::fromStdString(pf.FileName));
  if (source.fileName().isEmpty()) return previous;
  // Every pole figure of a file gets a name of its own, so that exporting
  // them one after another does not write over the first.
  QString name = source.completeBaseName();
  if (pf.IndexInFile > 0) name += QString("_%1").arg(pf.IndexInFile);
  QString hkl;
  // A hash list's name for a pole figure is its hkl.
  for (const QChar c : QString::fromStdString(pf.Hkl.empty() ? pf.NameInFile : pf.Hkl))
    if (c.isLetterOrNumber() || c == '-') hkl += c;
  if (!hkl.isEmpty()) name += "_" + hkl;
  // The folder and kind chosen last stay.
  const QFileInfo last(previous);
  const QString folder = previous.isEmpty() ? source.absolutePath() : last.absolutePath();
  const QString suffix = previous.isEmpty() || last.suffix().isEmpty() ? QString("png") : last.suffix();
  return folder + "/" + name + "." + suffix;
}

PlotFileRequest ExportPlotDialog::Request() const {
  PlotFileRequest r;
  r.file = FileEdit->text().trimmed().toStdString();
  r.width = WidthBox->value();
  r.height = HeightBox->value();
  r.dpi = DpiBox->value();
  return r;
}

void ExportPlotDialog::SearchClick() {
  const QString chosen = QFileDialog::getSaveFileName(this, "Export plot", FileEdit->text(),
                                                      "PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");
  if (!chosen.isEmpty()) FileEdit->setText(chosen);
}

bool ExportPlotDialog::Export() {
  const PlotFileRequest request = Request();
  if (request.file.empty()) {
    FileEdit->setFocus();
    return false;
  }
  if (!IsPlotFileKind(request.file)) {
    QMessageBox::warning(this, windowTitle(),
                         QString::fromStdString("Unknown output kind of " + request.file + ": use .png, .svg or .pdf"));
    FileEdit->setFocus();
    return false;
  }
  const PoleFigure* pf = context_.set.PF[1].get();
  if (!pf || pf->CircleCount < 1) return false;
  // Drawing notes would repeat what the screen plot already said.
  NullSink notes;
  MessageBoxSink sink(this);
  if (!WritePlotFile(*pf, context_.state, request, sink, notes)) {
    FileEdit->setFocus();
    return false;
  }
  written_ = request.file;
  return true;
}

void ExportPlotDialog::OKClick() {
  if (Export()) accept();
}

}  // namespace quorix
