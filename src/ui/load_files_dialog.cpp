#include "ui/load_files_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "base/text_file.h"
#include "io/data_layout.h"
#include "ui/density_dialog.h"
#include "ui/directional_commands.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/plot_drawing.h"
#include "ui/pole_figure_picker.h"
#include "ui/save_commands.h"
#include "workflow/load_sequence.h"

namespace quorix {

namespace {

const char* kPoleFigureFilter =
    "Pole figures (x*, y*, s*, r*, z*, pol)|*.x??;*.y??;*.s??;*.r??;*.z??;*.pol|Velocities (vp, vs1, vs2, "
    "dvs)|*.vp;*.vs1;*.vs2;*.dvs|Directional data (txt,dat,abu)|*.txt;*.dat;*.abu|Beartex and WKO lists (xpe, "
    "xpo, wko)|*.xpe;*.xpo;*.wko|XRDML (xrdml)|*.xrdml|Bruker UXD (uxd)|*.uxd;*.UXD|Rigaku and Bruker exports (asc, "
    "ras, txt)|*.asc;*.ras;*.txt;*.ASC;*.RAS;*.TXT|popLA (epf, gpf)|*.epf;*.gpf;*.EPF;*.GPF|Column lists (jul, "
    "dat)|*.jul;*.dat|Texture exchange files (plf, int, exp, cpf, nja, ptx, ppf, ana, slc, cnv)|*.plf;*.int;*.exp;"
    "*.EXP;*.cpf;*.nja;*.ptx;*.rpf;*.pwd;*.ppf;*.PPF;*.pow;*.ana;*.cor;*.slc;*.cnv|All files (*.*)|*.*";
const char* kGridFilter = "Grid Files (*.rst, *.grd)|*.rst;*.grd|All Files (*.*)|*.*";

bool Exists(const QString& name) { return QFileInfo::exists(name); }

constexpr std::streamsize kPeekSize = 64 * 1024;
const char* kGridNotNeeded = "not needed: the file carries its grid";
const char* kGridImplied = "not needed: read on the 5-degree grid of the Beartex blocks";
const char* kGridOptional = "optional: without one, the grid the file itself implies";
const char* kGridNeeded = "needed: the values of this file follow the circles of a grid file (.rst, .grd)";

std::optional<double> NumberIn(const QLineEdit* edit) { return ParseNumber(edit->text().trimmed().toStdString()); }

}  // namespace

DataLayout PeekLayout(const std::string& dataFile) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(dataFile, ec)) return DataLayout::None;
  std::ifstream in(dataFile, std::ios::binary);
  if (!in) return DataLayout::None;
  std::string head(static_cast<std::size_t>(kPeekSize), '\0');
  in.read(head.data(), kPeekSize);
  head.resize(static_cast<std::size_t>(in.gcount()));
  // A cut-off last line could look unlike the lines before it.
  const auto lastBreak = head.find_last_of('\n');
  if (in.gcount() == kPeekSize && lastBreak != std::string::npos) head.resize(lastBreak + 1);
  return DetectLayoutText(head, dataFile).layout;
}

QStringList FileDialogFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    // "*.*" means every file on the systems these filters come from.
    if (patterns == "*.*") patterns = "*";
    result << parts[i] + " (" + patterns + ")";
  }
  return result;
}

QStringList DataFileFilters() { return FileDialogFilters(kPoleFigureFilter); }

LoadFilesDialog::LoadFilesDialog(AppContext& context, MainWindow& mainform, PoleFigurePicker& hkl, QWidget* parent)
    : QDialog(parent), context_(context), mainform_(mainform), hkl_(hkl) {
  setWindowTitle(" Load Files");
  setModal(false);
  PFEdit = new QLineEdit(this);
  PFEdit->setObjectName("PFEdit");
  GridEdit = new QLineEdit(this);
  GridEdit->setObjectName("GridEdit");
  PFButton = new QPushButton("Search...", this);
  PFButton->setObjectName("PFButton");
  GridButton = new QPushButton("Search...", this);
  GridButton->setObjectName("GridButton");
  DirDataCheckBox = new QCheckBox("Directional data", this);
  DirDataCheckBox->setObjectName("DirDataCheckBox");
  GridNote = new QLabel(this);
  GridNote->setObjectName("GridNote");
  TiltStartEdit = new QLineEdit(this);
  TiltStartEdit->setObjectName("TiltStartEdit");
  TiltStepEdit = new QLineEdit(this);
  TiltStepEdit->setObjectName("TiltStepEdit");
  TiltStartEdit->setPlaceholderText("first circle, degrees");
  TiltStepEdit->setPlaceholderText("between circles, degrees");
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  OKBtn->setDefault(true);
  PFButton->setAutoDefault(false);
  GridButton->setAutoDefault(false);
  density_ = new DensityDialog(this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Data File:", this), 0, 0);
  grid->addWidget(PFEdit, 0, 1);
  grid->addWidget(PFButton, 0, 2);
  grid->addWidget(new QLabel("Grid File:", this), 1, 0);
  grid->addWidget(GridEdit, 1, 1);
  grid->addWidget(GridButton, 1, 2);
  grid->addWidget(GridNote, 2, 1);
  grid->addWidget(new QLabel("Tilt start:", this), 3, 0);
  grid->addWidget(TiltStartEdit, 3, 1);
  grid->addWidget(new QLabel("Tilt step:", this), 4, 0);
  grid->addWidget(TiltStepEdit, 4, 1);
  grid->addWidget(DirDataCheckBox, 5, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  grid->addLayout(buttons, 6, 0, 1, 3);
  grid->setColumnMinimumWidth(1, 360);

  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(true); });
  connect(CancelBtn, &QPushButton::clicked, this, &LoadFilesDialog::CancelBtnClick);
  connect(PFButton, &QPushButton::clicked, this, &LoadFilesDialog::PFButtonClick);
  connect(GridButton, &QPushButton::clicked, this, &LoadFilesDialog::GridButtonClick);
  connect(PFEdit, &QLineEdit::textChanged, this, &LoadFilesDialog::UpdateFieldsForData);
  connect(DirDataCheckBox, &QCheckBox::toggled, this, &LoadFilesDialog::UpdateFieldsForData);
  UpdateFieldsForData();
}

void LoadFilesDialog::UpdateFieldsForData() {
  // Directional data are never read as a measurement, whatever they look like.
  dataLayout_ = DirDataCheckBox->isChecked() ? DataLayout::None : PeekLayout(PFEdit->text().toStdString());
  const GridSource source = GridSourceOf(dataLayout_);
  const bool offered = source == GridSource::GridFile || source == GridSource::Implied;
  GridEdit->setEnabled(offered);
  GridButton->setEnabled(offered);
  const char* note = source == GridSource::OwnGrid   ? kGridNotNeeded
                     : source == GridSource::Blocks  ? kGridImplied
                     : source == GridSource::Implied ? kGridOptional
                                                     : "";
  GridNote->setText(note);
  GridNote->setVisible(source != GridSource::GridFile);
  const bool needed = !DirDataCheckBox->isChecked() && GridFileNeeded(dataLayout_) && dataLayout_ != DataLayout::None;
  GridEdit->setPlaceholderText(needed || DirDataCheckBox->isChecked() ? "a grid file is needed (.rst, .grd)" : "");
  const bool tilts = dataLayout_ == DataLayout::RigakuTxt;
  TiltStartEdit->setEnabled(tilts);
  TiltStepEdit->setEnabled(tilts);
}

void LoadFilesDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!chosen_.isEmpty()) PFEdit->setText(chosen_.first());
  context_.load.ResetRotation = true;
  PFEdit->end(false);
  // A submission made while hidden (the command line's) asks for the field it stopped at.
  QWidget* field = pendingFocus_ ? pendingFocus_ : PFEdit;
  pendingFocus_ = nullptr;
  field->setFocus();
}

void LoadFilesDialog::FocusField(QLineEdit* field) {
  if (isVisible())
    field->setFocus();
  else
    pendingFocus_ = field;
}

void LoadFilesDialog::PFButtonClick() {
  mainform_.CloseExtraWindows();
  QFileDialog dialog(this);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setDirectory(QString::fromStdString(context_.state.DataPath));
  const QStringList filters = DataFileFilters();
  dialog.setNameFilters(filters);
  if (DirDataCheckBox->isChecked()) dialog.selectNameFilter(filters.value(2));
  context_.load.ClearLayout();
  mainform_.ResetRotationState();
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  chosen_ = dialog.selectedFiles();
  setWindowTitle(QString("Load Files  [%1]").arg(chosen_.size()));
  PFEdit->setText(chosen_.first());
  context_.state.DataPath = QFileInfo(chosen_.first()).absolutePath().toStdString();
  raise();
  activateWindow();
}

void LoadFilesDialog::GridButtonClick() {
  QFileDialog dialog(this);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // Grids usually lie beside their data.
  const QFileInfo dataInfo(PFEdit->text());
  const bool besideData = !PFEdit->text().isEmpty() && dataInfo.absoluteDir().exists();
  dialog.setDirectory(besideData ? dataInfo.absolutePath() : QString::fromStdString(context_.startup.GridPath));
  dialog.setNameFilters(FileDialogFilters(kGridFilter));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    GridEdit->setText(dialog.selectedFiles().first());
    context_.startup.GridPath = QFileInfo(dialog.selectedFiles().first()).absolutePath().toStdString();
  }
}

void LoadFilesDialog::CancelBtnClick() {
  context_.load.ResetRotation = false;
  close();
}

LoadFilesRequest LoadFilesDialog::Request() const {
  LoadFilesRequest r{PFEdit->text().toStdString(), GridEdit->text().toStdString(), DirDataCheckBox->isChecked(), {}};
  r.measurement.tiltStart = NumberIn(TiltStartEdit);
  r.measurement.tiltStep = NumberIn(TiltStepEdit);
  return r;
}

void LoadFilesDialog::ShowRequest(const LoadFilesRequest& request) {
  ShowFiles(request.dataFile, request.gridFile);
  DirDataCheckBox->setChecked(request.directional);
  const auto show = [](QLineEdit* edit, const std::optional<double>& v) {
    edit->setText(v ? QString::number(*v, 'g', 10) : QString());
  };
  show(TiltStartEdit, request.measurement.tiltStart);
  show(TiltStepEdit, request.measurement.tiltStep);
}

void LoadFilesDialog::ShowGridFile(const std::string& gridFile) { GridEdit->setText(QString::fromStdString(gridFile)); }

void LoadFilesDialog::ShowFiles(const std::string& dataFile, const std::string& gridFile) {
  PFEdit->setText(QString::fromStdString(dataFile));
  GridEdit->setText(QString::fromStdString(gridFile));
}

bool LoadFilesDialog::Submit(const LoadFilesRequest& request, bool fromUser) {
  const QString dataName = QString::fromStdString(request.dataFile);
  const QString gridName = QString::fromStdString(request.gridFile);
  if (dataName.isEmpty()) {
    FocusField(PFEdit);
    return false;
  }
  if (!Exists(dataName)) {
    QMessageBox::warning(this, windowTitle(), "File " + dataName + " does not exist");
    FocusField(PFEdit);
    return false;
  }
  const DataLayout peeked = request.directional ? DataLayout::None : PeekLayout(request.dataFile);
  const GridSource source = GridSourceOf(peeked);
  const bool ownGrid = source == GridSource::OwnGrid || source == GridSource::Blocks;
  if (gridName.isEmpty() && (request.directional || GridFileNeeded(peeked))) {
    GridNote->setText(kGridNeeded);
    GridNote->setVisible(true);
    FocusField(GridEdit);
    return false;
  }
  if (!ownGrid && !gridName.isEmpty() && !Exists(gridName)) {
    QMessageBox::warning(this, windowTitle(), "File " + gridName + " does not exist");
    FocusField(GridEdit);
    return false;
  }
  if (fromUser && !ConfirmDiscardChanges(mainform_, context_, true)) return false;
  if (request.directional) {
    density_->SetRotationDialog(&mainform_.RotationDlg());
    if (density_->exec() != QDialog::Accepted) return false;  // the dialog stays open
    if (!LoadDirectionalFiles(context_, mainform_, density_->Parameters(), request.dataFile, request.gridFile, this))
      return false;
    close();
    return true;
  }

  const LoadFlags& flags = context_.load;
  MainLoad load;
  load.dataFile = request.dataFile;
  load.gridFile = ownGrid ? std::string() : request.gridFile;
  load.measurement = request.measurement;
  load.resetRotation = flags.ResetRotation;
  if (LayoutKnownFor(flags, request.dataFile)) {
    load.layout = flags.Layout();
    load.pfIndex = flags.PFIndex;
    load.names = flags.PoleFigureNames;
  } else {
    FileMessageBoxSink sink(this, request.dataFile);
    DataFileLayout detected = DetectDataFile(request.dataFile, request.measurement, sink);
    if (!detected.ok) return false;
    const bool listed = detected.layout == DataLayout::Beartex || detected.layout == DataLayout::Geesthacht;
    if (listed || detected.names.size() > 1) {
      hkl_.SetItems(detected.names);
      if (hkl_.exec() != QDialog::Accepted) return false;  // nothing to read without a choice
      load.pfIndex = -(hkl_.Highlighted() + 1);
    } else if (IsMeasuredLayout(detected.layout)) {
      load.pfIndex = -1;
    } else {
      detected.layout = DataLayout::Plain;
      load.pfIndex = -1;
    }
    load.layout = detected.layout;
    load.names = std::move(detected.names);
  }
  const bool multi =
      load.layout == DataLayout::Beartex || load.layout == DataLayout::Geesthacht || load.names.size() > 1;
  if (fromUser && multi) load.pfIndex = -(hkl_.Highlighted() + 1);
  if (!mainform_.LoadMain(load)) return false;  // the dialog stays open
  if (fromUser) LoadExtraWindows();
  return true;
}

void LoadFilesDialog::LoadExtraWindows() {
  mainform_.CloseExtraWindows();
  LoadFlags& flags = context_.load;
  if (flags.Multi()) {
    const int highlighted = hkl_.Highlighted();
    for (int i = 0; i < hkl_.Count(); ++i) {
      if (!hkl_.Checked(i) || i == highlighted) continue;
      const int k = mainform_.FirstFreeWindow();
      if (k == 0) break;
      flags.PFIndex = i + 1;
      mainform_.LoadIntoWindow(k, context_.set.PF[1]->FileName);
    }
  } else if (flags.PlainFile && chosen_.size() >= 2) {
    for (int f = 1; f < chosen_.size(); ++f) {
      const int k = mainform_.FirstFreeWindow();
      if (k == 0) continue;
      mainform_.LoadIntoWindow(k, chosen_[f].toStdString());
    }
  }
  mainform_.activateWindow();
}

}  // namespace quorix
