// "Save All Pole Figures Formatted": the modeless window that writes the pole
// figures of all open windows into one Beartex or Geesthacht file.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "io/formatted_writer.h"
#include "ui/app_context.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace quorix {

class MainWindow;

class SaveAllDialog : public QDialog {
  Q_OBJECT
 public:
  SaveAllDialog(AppContext& context, MainWindow& mainform, QWidget* parent = nullptr);

  // Fills the table and the prefill; the caller shows the window.
  void FormShow();
  void SelectFormatClick(DataLayout layout);
  void ClearBtnClick();
  void OKBtnClick();
  void OutfileSearchButtonClick();
  DataLayout Layout() const;

 private:
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QGroupBox* SelectFormat = nullptr;
  QRadioButton* BeartexButton = nullptr;
  QRadioButton* GeesthachtButton = nullptr;
  QRadioButton* PoplaButton = nullptr;
  QLineEdit* OutfileEdit = nullptr;
  QPushButton* OutfileSearchButton = nullptr;
  QLabel* CommentLabel = nullptr;
  QPlainTextEdit* Comments = nullptr;
  QSpinBox* SymSpinEdit = nullptr;
  QLabel* WKOLabel = nullptr;
  QSpinBox* WKOSpinEdit = nullptr;
  QLineEdit* AEdit = nullptr;
  QLineEdit* BEdit = nullptr;
  QLineEdit* CEdit = nullptr;
  QLineEdit* AlphaEdit = nullptr;
  QLineEdit* BetaEdit = nullptr;
  QLineEdit* GammaEdit = nullptr;
  QTableWidget* SaveAllStringGrid = nullptr;
  QCheckBox* InvertTheta = nullptr;
  QCheckBox* InvertPhi = nullptr;
  QPushButton* ClearBtn = nullptr;
  // Survives closing the window, for the rest of the run.
  struct RowMemory {
    std::string h2, k2, l2;
    double fac = 0;
  };
  struct Memory {
    int symmetry = 0;
    Lattice lattice;
    double misalignment = 0;
    bool secondReflection = false;
    std::array<RowMemory, kSlotCount + 1> rows{};  // by table row, 1..8
  };

  DataLayout Source() const;
  void SetColumns(DataLayout layout);
  void SetCell(int row, int column, const QString& text);
  QString Cell(int row, int column) const;
  void Prefill();
  void ShowSecondReflection();
  bool Collect(SaveAllSettings& settings, PoleFigureSlots& figures);

  AppContext& context_;
  MainWindow& mainform_;
  Memory memory_;
};

}  // namespace quorix
