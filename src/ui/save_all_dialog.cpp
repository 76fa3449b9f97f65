// "Save All Pole Figures Formatted": the modeless window that writes the pole
// figures of all open windows into one Beartex, Geesthacht or popLA file.
#include "ui/save_all_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/nearest.h"
#include "base/number_format.h"
#include "base/text_file.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/plot_window.h"
#include "ui/save_commands.h"

namespace quorix {

namespace {

enum Column { kPF = 0, kH, kK, kL, kH2, kK2, kL2, kFac };

// The file takes what the window shows, so both use the one number text.
QString Fixed3(double v) { return QString::fromStdString(FormatDecimals(v, 3)); }

std::optional<int> IntegerCell(const QString& text) {
  const auto v = ParseInteger(Trim(text.toStdString()));
  if (!v || *v < -1000000 || *v > 1000000) return std::nullopt;
  return static_cast<int>(*v);
}

}  // namespace

SaveAllDialog::SaveAllDialog(AppContext& context, MainWindow& mainform, QWidget* parent)
    : QDialog(parent), context_(context), mainform_(mainform) {
  setWindowTitle("Save All Pole Figures Formatted");
  setModal(false);
  SelectFormat = new QGroupBox(" Output format ", this);
  SelectFormat->setObjectName("SelectFormat");
  BeartexButton = new QRadioButton("Beartex - New Berkeley Format", SelectFormat);
  BeartexButton->setObjectName("BeartexButton");
  GeesthachtButton = new QRadioButton("Geesthacht Format", SelectFormat);
  GeesthachtButton->setObjectName("GeesthachtButton");
  PoplaButton = new QRadioButton("popLA Format", SelectFormat);
  PoplaButton->setObjectName("PoplaButton");
  BeartexButton->setChecked(true);
  auto* formatLayout = new QVBoxLayout(SelectFormat);
  formatLayout->addWidget(BeartexButton);
  formatLayout->addWidget(GeesthachtButton);
  formatLayout->addWidget(PoplaButton);
  OutfileEdit = new QLineEdit(this);
  OutfileEdit->setObjectName("OutfileEdit");
  OutfileEdit->setMinimumWidth(300);
  OutfileSearchButton = new QPushButton("Search...", this);
  OutfileSearchButton->setObjectName("OutfileSearchButton");
  CommentLabel = new QLabel(this);
  CommentLabel->setObjectName("CommentLabel");
  Comments = new QPlainTextEdit(this);
  Comments->setObjectName("Comments");
  Comments->setLineWrapMode(QPlainTextEdit::NoWrap);
  Comments->setFixedHeight(90);
  SymSpinEdit = new QSpinBox(this);
  SymSpinEdit->setObjectName("SymSpinEdit");
  WKOLabel = new QLabel("Misalignment of rolling direction [deg]", this);
  WKOLabel->setObjectName("WKOLabel");
  WKOSpinEdit = new QSpinBox(this);
  WKOSpinEdit->setObjectName("WKOSpinEdit");
  WKOSpinEdit->setRange(-180, 180);
  AEdit = new QLineEdit(this);
  AEdit->setObjectName("AEdit");
  BEdit = new QLineEdit(this);
  BEdit->setObjectName("BEdit");
  CEdit = new QLineEdit(this);
  CEdit->setObjectName("CEdit");
  AlphaEdit = new QLineEdit(this);
  AlphaEdit->setObjectName("AlphaEdit");
  BetaEdit = new QLineEdit(this);
  BetaEdit->setObjectName("BetaEdit");
  GammaEdit = new QLineEdit(this);
  GammaEdit->setObjectName("GammaEdit");
  SaveAllStringGrid = new QTableWidget(this);
  SaveAllStringGrid->setObjectName("SaveAllStringGrid");
  SaveAllStringGrid->verticalHeader()->setSectionsMovable(true);
  auto* rearrange = new QGroupBox("Rearrange data according to .....", this);
  InvertTheta = new QCheckBox("90 - theta", rearrange);
  InvertTheta->setObjectName("InvertTheta");
  InvertPhi = new QCheckBox("360 - phi", rearrange);
  InvertPhi->setObjectName("InvertPhi");
  auto* rearrangeLayout = new QHBoxLayout(rearrange);
  rearrangeLayout->addWidget(InvertTheta);
  rearrangeLayout->addWidget(InvertPhi);
  OKBtn = new QPushButton("Save", this);
  OKBtn->setObjectName("OKBtn");
  ClearBtn = new QPushButton("Clear all data", this);
  ClearBtn->setObjectName("ClearBtn");
  CancelBtn = new QPushButton("Close", this);
  CancelBtn->setObjectName("CancelBtn");
  for (QPushButton* b : {OutfileSearchButton, OKBtn, ClearBtn, CancelBtn}) b->setAutoDefault(false);

  auto* file = new QHBoxLayout;
  file->addWidget(new QLabel("Output file:", this));
  file->addWidget(OutfileEdit);
  file->addWidget(OutfileSearchButton);
  auto* lattice = new QGridLayout;
  lattice->addWidget(new QLabel("Lattice:", this), 0, 0);
  lattice->addWidget(AEdit, 0, 1);
  lattice->addWidget(BEdit, 0, 2);
  lattice->addWidget(CEdit, 0, 3);
  lattice->addWidget(AlphaEdit, 1, 1);
  lattice->addWidget(BetaEdit, 1, 2);
  lattice->addWidget(GammaEdit, 1, 3);
  auto* symmetry = new QGridLayout;
  symmetry->addWidget(new QLabel("Symmetry code", this), 0, 0);
  symmetry->addWidget(SymSpinEdit, 0, 1);
  symmetry->addWidget(WKOLabel, 1, 0);
  symmetry->addWidget(WKOSpinEdit, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ClearBtn);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SelectFormat);
  layout->addLayout(file);
  layout->addWidget(CommentLabel);
  layout->addWidget(Comments);
  layout->addLayout(symmetry);
  layout->addLayout(lattice);
  layout->addWidget(SaveAllStringGrid);
  layout->addWidget(rearrange);
  layout->addLayout(buttons);

  connect(BeartexButton, &QRadioButton::clicked, this, [this] { SelectFormatClick(DataLayout::Beartex); });
  connect(GeesthachtButton, &QRadioButton::clicked, this, [this] { SelectFormatClick(DataLayout::Geesthacht); });
  connect(PoplaButton, &QRadioButton::clicked, this, [this] { SelectFormatClick(DataLayout::Popla); });
  connect(OutfileSearchButton, &QPushButton::clicked, this, &SaveAllDialog::OutfileSearchButtonClick);
  connect(OKBtn, &QPushButton::clicked, this, &SaveAllDialog::OKBtnClick);
  connect(ClearBtn, &QPushButton::clicked, this, &SaveAllDialog::ClearBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::close);

  SaveAllStringGrid->setRowCount(1);
  SetCell(0, kPF, "1");
  SelectFormatClick(DataLayout::Beartex);
}

DataLayout SaveAllDialog::Layout() const {
  if (GeesthachtButton->isChecked()) return DataLayout::Geesthacht;
  return PoplaButton->isChecked() ? DataLayout::Popla : DataLayout::Beartex;
}

DataLayout SaveAllDialog::Source() const {
  if (context_.load.HashListFile) return DataLayout::Beartex;
  if (context_.load.WkoListFile) return DataLayout::Geesthacht;
  return DataLayout::None;
}

void SaveAllDialog::SetCell(int row, int column, const QString& text) {
  if (auto* item = SaveAllStringGrid->item(row, column))
    item->setText(text);
  else
    SaveAllStringGrid->setItem(row, column, new QTableWidgetItem(text));
}

QString SaveAllDialog::Cell(int row, int column) const {
  const QTableWidgetItem* item = SaveAllStringGrid->item(row, column);
  return item ? item->text() : QString();
}

void SaveAllDialog::SetColumns(DataLayout layout) {
  QStringList headers{"PF", "h", "k", "l"};
  if (layout == DataLayout::Geesthacht)
    headers << "h2"
            << "k2"
            << "l2"
            << "fac";
  SaveAllStringGrid->setColumnCount(static_cast<int>(headers.size()));
  SaveAllStringGrid->setHorizontalHeaderLabels(headers);
}

void SaveAllDialog::FormShow() {
  OKBtn->setText("Save");
  QStringList numbers{"1"};
  for (int n = 2; n <= kSlotCount; ++n)
    if (mainform_.WindowVisible(n)) numbers << QString::number(n);
  SaveAllStringGrid->setRowCount(static_cast<int>(numbers.size()));
  for (int r = 0; r < numbers.size(); ++r) SetCell(r, kPF, numbers[r]);
  const DataLayout layout = Layout();
  OutfileEdit->setText(QString::fromStdString(ProposedSaveAllName(context_.set.PF[1]->FileName, layout)));
  SymSpinEdit->setToolTip(layout == DataLayout::Geesthacht ? kGeesthachtSymmetryHint : kBeartexSymmetryHint);
  AlphaEdit->setEnabled(layout == DataLayout::Beartex);
  BetaEdit->setEnabled(layout == DataLayout::Beartex);
  if (context_.load.Multi()) Prefill();
}

void SaveAllDialog::Prefill() {
  MessageBoxSink sink(this);
  const DataLayout source = Source();
  const auto header = ReadSaveAllHeader(context_.set.PF[1]->FileName, source, sink);
  const bool geesthacht = Layout() == DataLayout::Geesthacht;
  for (int r = 0; r < SaveAllStringGrid->rowCount(); ++r) {
    const int n = Cell(r, kPF).toInt();
    const auto miller = context_.set.Occupied(n) ? MillerOf(*context_.set.PF[n]) : std::nullopt;
    if (miller) {
      SetCell(r, kH, QString::fromStdString(miller->h));
      SetCell(r, kK, QString::fromStdString(miller->k));
      SetCell(r, kL, QString::fromStdString(miller->l));
    }
    if (!header) continue;
    if (source == DataLayout::Geesthacht) {
      if (header->symmetry) {
        memory_.symmetry = *header->symmetry;
        SymSpinEdit->setValue(memory_.symmetry);
      }
      AEdit->setText(QString::fromStdString(header->abcText[0]));
      BEdit->setText(QString::fromStdString(header->abcText[1]));
      CEdit->setText(QString::fromStdString(header->abcText[2]));
      if (header->gamma) memory_.lattice.gamma = *header->gamma;
      if (geesthacht) {
        AlphaEdit->clear();
        BetaEdit->clear();
        GammaEdit->setText(Fixed3(memory_.lattice.gamma));
      }
      if (header->misalignment) {
        memory_.misalignment = *header->misalignment;
        if (geesthacht) WKOSpinEdit->setValue(Nearest(memory_.misalignment));
      }
      memory_.secondReflection = header->secondReflection;
      if (header->secondReflection && r + 1 <= kSlotCount) {
        memory_.rows[static_cast<std::size_t>(r) + 1] = {header->h2, header->k2, header->l2, header->fac.value_or(0)};
        if (geesthacht) {
          SetCell(r, kH2, QString::fromStdString(header->h2));
          SetCell(r, kK2, QString::fromStdString(header->k2));
          SetCell(r, kL2, QString::fromStdString(header->l2));
          SetCell(r, kFac, Fixed3(header->fac.value_or(0)));
        }
      }
    } else if (source == DataLayout::Beartex) {
      Lattice& l = memory_.lattice;
      if (header->symmetry) memory_.symmetry = *header->symmetry;
      double* fields[] = {&l.a, &l.b, &l.c, &l.alpha, &l.beta, &l.gamma};
      const std::optional<double>* values[] = {&header->a,     &header->b,    &header->c,
                                               &header->alpha, &header->beta, &header->gamma};
      for (int k = 0; k < 6; ++k)
        if (*values[k]) *fields[k] = **values[k];
      if (!geesthacht) {
        SymSpinEdit->setValue(memory_.symmetry);
        QLineEdit* edits[] = {AEdit, BEdit, CEdit, AlphaEdit, BetaEdit, GammaEdit};
        for (int k = 0; k < 6; ++k) edits[k]->setText(Fixed3(*fields[k]));
      }
    }
  }
}

void SaveAllDialog::SelectFormatClick(DataLayout layout) {
  const DataLayout source = Source();
  // popLA writes neither symmetry nor lattice; its table is the Beartex one.
  const bool popla = layout == DataLayout::Popla;
  const bool beartex = layout != DataLayout::Geesthacht;
  (popla ? PoplaButton : beartex ? BeartexButton : GeesthachtButton)->setChecked(true);
  CommentLabel->setText(popla     ? "Enter the comment line:"
                        : beartex ? "Enter up to 5 comment lines:"
                                  : "Enter up to 2 comment lines:");
  SymSpinEdit->setEnabled(!popla);
  for (QLineEdit* e : {AEdit, BEdit, CEdit, GammaEdit}) e->setEnabled(!popla);
  SymSpinEdit->setToolTip(beartex ? kBeartexSymmetryHint : kGeesthachtSymmetryHint);
  SymSpinEdit->setRange(0, MaxSymmetry(layout));
  SymSpinEdit->setValue(SymmetryForLayout(layout, memory_.symmetry, source));
  WKOLabel->setVisible(!beartex);
  WKOSpinEdit->setVisible(!beartex);
  if (!beartex) WKOSpinEdit->setValue(source == DataLayout::Geesthacht ? Nearest(memory_.misalignment) : 0);
  OutfileEdit->setText(QString::fromStdString(ProposedSaveAllName(context_.set.PF[1]->FileName, layout)));
  SetColumns(layout);
  AlphaEdit->setEnabled(beartex && !popla);
  BetaEdit->setEnabled(beartex && !popla);
  if (beartex) {
    AlphaEdit->setText(Fixed3(memory_.lattice.alpha));
    BetaEdit->setText(Fixed3(memory_.lattice.beta));
  } else {
    AlphaEdit->clear();
    BetaEdit->clear();
    if (memory_.secondReflection) ShowSecondReflection();
  }
  GammaEdit->setText(Fixed3(memory_.lattice.gamma));
}

void SaveAllDialog::ShowSecondReflection() {
  for (int r = 0; r < SaveAllStringGrid->rowCount() && r + 1 <= kSlotCount; ++r) {
    const RowMemory& m = memory_.rows[static_cast<std::size_t>(r) + 1];
    SetCell(r, kH2, QString::fromStdString(m.h2));
    SetCell(r, kK2, QString::fromStdString(m.k2));
    SetCell(r, kL2, QString::fromStdString(m.l2));
    SetCell(r, kFac, Fixed3(m.fac));
  }
}

void SaveAllDialog::ClearBtnClick() {
  Comments->clear();
  for (int r = 0; r < SaveAllStringGrid->rowCount(); ++r)
    for (int c = kH; c < SaveAllStringGrid->columnCount(); ++c) SetCell(r, c, QString());
  for (QLineEdit* e : {AEdit, BEdit, CEdit, AlphaEdit, BetaEdit, GammaEdit}) e->clear();
  SymSpinEdit->setValue(0);
  WKOSpinEdit->setValue(0);
}

void SaveAllDialog::OutfileSearchButtonClick() {
  const QString dir = QFileInfo(QString::fromStdString(context_.set.PF[1]->FileName)).absolutePath();
  QFileDialog dialog(this, QString(), dir);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  const DataLayout layout = Layout();
  dialog.setNameFilters({layout == DataLayout::Beartex      ? "Beartex Files (*.xpe)"
                         : layout == DataLayout::Geesthacht ? "Geesthacht Files (*.ibm)"
                                                            : "popLA Files (*.epf)",
                         "All Files (*)"});
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    OutfileEdit->setText(dialog.selectedFiles().first());
}

bool SaveAllDialog::Collect(SaveAllSettings& s, PoleFigureSlots& figures) {
  MessageBoxSink sink(this);
  s.layout = Layout();
  const bool beartex = s.layout == DataLayout::Beartex;
  const bool popla = s.layout == DataLayout::Popla;
  QString text = Comments->toPlainText();
  if (!text.isEmpty()) {
    QStringList lines = text.split('\n');
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    for (const QString& line : lines) s.comments.push_back(line.toStdString());
  }
  // Every field is checked before the file is touched, so a typing error leaves no partial file.
  auto number = [&](QLineEdit* edit, double& target) {
    const auto v = ParseNumber(Trim(edit->text().toStdString()));
    if (!v) {
      sink.Message("'" + edit->text().toStdString() + "' is not a valid number.");
      edit->setFocus();
      return false;
    }
    target = *v;
    return true;
  };
  Lattice& l = s.lattice;
  if (!popla) {
    if (!number(AEdit, l.a) || !number(BEdit, l.b) || !number(CEdit, l.c)) return false;
    if (beartex && (!number(AlphaEdit, l.alpha) || !number(BetaEdit, l.beta))) return false;
    if (!number(GammaEdit, l.gamma)) return false;
  }
  s.symmetry = popla ? 0 : SymSpinEdit->value();
  s.misalignment = WKOSpinEdit->value();
  s.invertTheta = InvertTheta->isChecked();
  s.invertPhi = InvertPhi->isChecked();

  figures = {};
  figures[1] = context_.set.PF[1].get();
  for (int n = 2; n <= kSlotCount; ++n)
    if (mainform_.WindowVisible(n)) figures[n] = context_.set.PF[n].get();
  auto integer = [&](int row, int column, int& target) {
    const auto v = IntegerCell(Cell(row, column));
    if (!v) {
      sink.Message("'" + Cell(row, column).toStdString() + "' is not a valid integer value.");
      SaveAllStringGrid->setCurrentCell(row, column);
      SaveAllStringGrid->setFocus();
      return false;
    }
    target = *v;
    return true;
  };
  const QHeaderView* rows = SaveAllStringGrid->verticalHeader();
  for (int visual = 0; visual < SaveAllStringGrid->rowCount(); ++visual) {
    const int r = rows->logicalIndex(visual);
    SaveAllRow row;
    if (!integer(r, kPF, row.pf)) return false;
    const bool written = row.pf >= 1 && row.pf <= kSlotCount && figures[row.pf];
    if (written && (!integer(r, kH, row.h) || !integer(r, kK, row.k) || !integer(r, kL, row.l))) return false;
    if (written && s.layout == DataLayout::Geesthacht && !Trim(Cell(r, kFac).toStdString()).empty()) {
      SecondReflection second;
      if (!integer(r, kH2, second.h2) || !integer(r, kK2, second.k2) || !integer(r, kL2, second.l2)) return false;
      const auto fac = ParseNumber(Trim(Cell(r, kFac).toStdString()));
      if (!fac) {
        sink.Message("'" + Cell(r, kFac).toStdString() + "' is not a valid number.");
        SaveAllStringGrid->setCurrentCell(r, kFac);
        return false;
      }
      second.fac = *fac;
      row.second = second;
    }
    s.rows.push_back(row);
  }
  return true;
}

void SaveAllDialog::OKBtnClick() {
  if (OutfileEdit->text().isEmpty()) {
    OutfileEdit->setFocus();
    return;
  }
  SaveAllSettings settings;
  PoleFigureSlots figures{};
  if (!Collect(settings, figures)) return;
  if (settings.layout == DataLayout::Beartex) {
    memory_.lattice = settings.lattice;
    memory_.symmetry = settings.symmetry;
  }
  MessageBoxSink sink(this);
  const std::string out = OutfileEdit->text().toStdString();
  if (!ConfirmOverwrite(this, out)) return;
  if (!WriteSaveAll(out, settings, figures, sink)) return;
  mainform_.ShowSaved(out);
  OKBtn->setText(OKBtn->text() + ".");
  for (const SaveAllRow& row : settings.rows)
    if (row.pf >= 1 && row.pf <= kSlotCount && figures[row.pf]) context_.set.PF[row.pf]->Modified = false;
}

}  // namespace quorix
