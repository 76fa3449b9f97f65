// The figure dialog: controls, preview, writing.
#include "ui/export_figure_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <cmath>

#include "base/number_format.h"
#include "base/text_file.h"
#include "plot/contours.h"
#include "qtcanvas/figure_file.h"
#include "ui/app_context.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"

namespace quorix {

namespace {

constexpr int kPreviewWidth = 560;  // pixels the preview's width is drawn at

std::string PanelTitle(const PoleFigure& pf) { return HklTitle(pf); }

}  // namespace

ExportFigureDialog::ExportFigureDialog(AppContext& context, const std::vector<int>& windows, QWidget* parent)
    : QDialog(parent), context_(context) {
  setWindowTitle(" Export Figure");
  setObjectName("ExportFigureDlg");
  WindowList = new QListWidget(this);
  WindowList->setObjectName("WindowList");
  WindowList->setDragDropMode(QAbstractItemView::InternalMove);
  for (int slot : windows) {
    const PoleFigure* pf = context.set.PF[static_cast<std::size_t>(slot)].get();
    if (!pf) continue;
    auto* item = new QListWidgetItem(
        QString::fromStdString(std::to_string(slot) + ": " + FileNamePart(pf->FileName) + "  " + PanelTitle(*pf)),
        WindowList);
    item->setData(Qt::UserRole, slot);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
  }
  WindowList->setMaximumHeight(140);
  RowsBox = new QSpinBox(this);
  ColumnsBox = new QSpinBox(this);
  for (QSpinBox* b : {RowsBox, ColumnsBox}) {
    b->setRange(0, 50);
    b->setSpecialValueText("auto");
  }
  LevelsEdit = new QLineEdit(this);
  LevelsEdit->setPlaceholderText("automatic, or e.g. 0.5,1,2,4,8");
  LogBox = new QCheckBox("Logarithmic", this);
  SharedBox = new QCheckBox("One colour scale for all", this);
  StyleBox = new QComboBox(this);
  StyleBox->addItems({"filled", "smooth", "lines"});
  MapBox = new QComboBox(this);
  for (const std::string& n : ColorMapNames()) MapBox->addItem(QString::fromStdString(n));
  MapBox->addItem("set");  // the contour colours of the program
  ProjectionBox = new QComboBox(this);
  ProjectionBox->addItems({"stereographic", "equal-area"});
  WidthBox = new QSpinBox(this);
  WidthBox->setRange(20, 2000);
  WidthBox->setSuffix(" mm");
  FontBox = new QSpinBox(this);
  FontBox->setRange(3, 72);
  FontBox->setSuffix(" pt");
  DpiBox = new QSpinBox(this);
  DpiBox->setRange(10, 2400);
  DpiBox->setSuffix(" dpi");
  TitleEdit = new QLineEdit(this);
  LabelsBox = new QCheckBox("Levels on the lines", this);
  ExtremesBox = new QCheckBox("Mark maximum and minimum", this);
  FileEdit = new QLineEdit(this);
  FileEdit->setPlaceholderText("figure.svg, .pdf, .png or .emf");
  auto* search = new QPushButton("Search...", this);
  search->setAutoDefault(false);
  Preview = new QLabel(this);
  Preview->setObjectName("Preview");
  Preview->setMinimumSize(kPreviewWidth, 300);
  Preview->setAlignment(Qt::AlignCenter);

  auto* layoutRow = new QHBoxLayout;
  layoutRow->addWidget(RowsBox);
  layoutRow->addWidget(new QLabel("x", this));
  layoutRow->addWidget(ColumnsBox);
  auto* levelRow = new QHBoxLayout;
  levelRow->addWidget(LevelsEdit);
  levelRow->addWidget(LogBox);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(FileEdit);
  fileRow->addWidget(search);
  auto* form = new QFormLayout;
  form->addRow("Windows:", WindowList);
  form->addRow("Rows x columns:", layoutRow);
  form->addRow("Levels (m.r.d.):", levelRow);
  form->addRow("", SharedBox);
  form->addRow("Style:", StyleBox);
  form->addRow("Colours:", MapBox);
  form->addRow("Projection:", ProjectionBox);
  form->addRow("Width:", WidthBox);
  form->addRow("Font:", FontBox);
  form->addRow("Resolution:", DpiBox);
  form->addRow("Title:", TitleEdit);
  form->addRow("", LabelsBox);
  form->addRow("", ExtremesBox);
  form->addRow("File:", fileRow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  form->addRow(buttons);
  auto* top = new QHBoxLayout(this);
  top->addLayout(form);
  top->addWidget(Preview, 1);

  Apply(ReadFigureSettings(context.ini));
  previewTimer_ = new QTimer(this);
  previewTimer_->setSingleShot(true);
  previewTimer_->setInterval(150);
  connect(previewTimer_, &QTimer::timeout, this, &ExportFigureDialog::UpdatePreview);
  for (QSpinBox* b : {RowsBox, ColumnsBox, WidthBox, FontBox})
    connect(b, &QSpinBox::valueChanged, this, &ExportFigureDialog::SchedulePreview);
  for (QLineEdit* e : {LevelsEdit, TitleEdit})
    connect(e, &QLineEdit::textChanged, this, &ExportFigureDialog::SchedulePreview);
  for (QCheckBox* c : {LogBox, SharedBox, LabelsBox, ExtremesBox})
    connect(c, &QCheckBox::toggled, this, &ExportFigureDialog::SchedulePreview);
  for (QComboBox* c : {StyleBox, MapBox, ProjectionBox})
    connect(c, &QComboBox::currentIndexChanged, this, &ExportFigureDialog::SchedulePreview);
  connect(WindowList, &QListWidget::itemChanged, this, &ExportFigureDialog::SchedulePreview);
  connect(WindowList->model(), &QAbstractItemModel::rowsMoved, this, &ExportFigureDialog::SchedulePreview);
  connect(search, &QPushButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getSaveFileName(this, "Export Figure", FileEdit->text(),
                                                        "Figures (*.svg *.pdf *.png *.emf);;All files (*)");
    if (!chosen.isEmpty()) FileEdit->setText(chosen);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &ExportFigureDialog::OKClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  UpdatePreview();
}

void ExportFigureDialog::Apply(const FigureSettings& s) {
  RowsBox->setValue(s.rows);
  ColumnsBox->setValue(s.columns);
  LevelsEdit->setText(QString::fromStdString(s.levels));
  LogBox->setChecked(s.log);
  SharedBox->setChecked(s.sharedScale);
  StyleBox->setCurrentText(QString::fromStdString(s.style));
  MapBox->setCurrentText(QString::fromStdString(s.colorMap));
  ProjectionBox->setCurrentIndex(s.equalArea ? 1 : 0);
  WidthBox->setValue(s.widthMm);
  FontBox->setValue(s.fontPt);
  DpiBox->setValue(s.dpi);
  TitleEdit->setText(QString::fromStdString(s.title));
  LabelsBox->setChecked(s.lineLabels);
  ExtremesBox->setChecked(s.extremes);
  FileEdit->setText(QString::fromStdString(s.file));
}

FigureSettings ExportFigureDialog::Settings() const {
  FigureSettings s;
  s.file = FileEdit->text().toStdString();
  s.rows = RowsBox->value();
  s.columns = ColumnsBox->value();
  s.levels = LevelsEdit->text().toStdString();
  s.log = LogBox->isChecked();
  s.sharedScale = SharedBox->isChecked();
  s.style = StyleBox->currentText().toStdString();
  s.colorMap = MapBox->currentText().toStdString();
  s.equalArea = ProjectionBox->currentIndex() == 1;
  s.widthMm = WidthBox->value();
  s.fontPt = FontBox->value();
  s.dpi = DpiBox->value();
  s.title = TitleEdit->text().toStdString();
  s.lineLabels = LabelsBox->isChecked();
  s.extremes = ExtremesBox->isChecked();
  return s;
}

FigureOptions ExportFigureDialog::Options() const {
  const FigureSettings s = Settings();
  FigureOptions o;
  o.rows = s.rows;
  o.columns = s.columns;
  // What does not read as a number is left out; the preview shows the rest.
  for (const auto& part : SplitWhitespace(QString::fromStdString(s.levels).replace(',', ' ').toStdString()))
    if (const auto v = ParseNumber(part); v && std::isfinite(*v)) o.levels.push_back(*v);
  o.logLevels = s.log;
  o.sharedScale = s.sharedScale;
  o.style = s.style == "smooth" ? FigureStyle::Smooth : s.style == "lines" ? FigureStyle::Lines : FigureStyle::Filled;
  if (s.colorMap == "set") {
    std::vector<Color> colors;
    for (int k = 1; k <= 10; ++k) colors.push_back(DrawColor(context_.state.ContourColor[static_cast<std::size_t>(k)]));
    o.colorMap = ColorMapFromSet(colors);
  } else if (auto m = NamedColorMap(s.colorMap)) {
    o.colorMap = *m;
  }
  o.equalArea = s.equalArea;
  o.widthMm = s.widthMm;
  o.fontPt = s.fontPt;
  o.title = s.title;
  o.lineLabels = s.lineLabels;
  o.markExtremes = s.extremes;
  return o;
}

std::vector<FigurePanel> ExportFigureDialog::Panels() const {
  std::vector<FigurePanel> out;
  for (int row = 0; row < WindowList->count(); ++row) {
    const QListWidgetItem* item = WindowList->item(row);
    if (item->checkState() != Qt::Checked) continue;
    const PoleFigure* pf = context_.set.PF[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())].get();
    if (pf) out.push_back(FigurePanel{PanelTitle(*pf), pf, {}});
  }
  return out;
}

void ExportFigureDialog::SchedulePreview() { previewTimer_->start(); }

void ExportFigureDialog::UpdatePreview() {
  const std::vector<FigurePanel> panels = Panels();
  if (panels.empty()) {
    Preview->setText("No window chosen");
    return;
  }
  const FigureOptions o = Options();
  const double dpi = kPreviewWidth / (std::max(20.0, o.widthMm) / 25.4);
  Preview->setPixmap(QPixmap::fromImage(FigureImage(panels, o, dpi)));
}

bool ExportFigureDialog::Export() {
  MessageBoxSink sink(this);
  const std::vector<FigurePanel> panels = Panels();
  if (panels.empty()) {
    sink.Message("Choose at least one window for the figure.");
    return false;
  }
  return WriteFigureFile(panels, Options(), FigureFileRequest{FileEdit->text().toStdString(), DpiBox->value()}, sink);
}

void ExportFigureDialog::OKClick() {
  if (!Export()) return;
  WriteFigureSettings(context_.ini, Settings());
  accept();
}

void RunExportFigure(MainWindow& mainform, AppContext& context) {
  std::vector<int> windows{1};
  for (int n = 2; n <= kSlotCount; ++n)
    if (mainform.WindowVisible(n) && context.set.Occupied(n)) windows.push_back(n);
  ExportFigureDialog dlg(context, windows, &mainform);
  dlg.exec();
}

}  // namespace quorix
