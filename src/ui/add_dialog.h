// The file list of "Add Pole Figures weighted" and "Add Pole Figures fitted":
// weight, file and pole figure index per line, line 1 being the pole figure
// in memory.
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>
#include <vector>

#include "transform/pf_add.h"
#include "ui/app_context.h"

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace quorix {

inline constexpr const char* kAddPFFilter =
    "PF Files (.x??, .y??, .s??,.r??,.pol)|*.x*;*.y*;*.s*;*.r*;*.pol|All Files (*.*)|*.*";

class AddDialog : public QDialog {
  Q_OBJECT
 public:
  // Columns of the file list.
  static constexpr int kWeightColumn = 0, kFileColumn = 1, kIndexColumn = 2;

  explicit AddDialog(AppContext& context, QWidget* parent = nullptr);

  // Before showing: the caption, one line for the pole figure in memory (its
  // index pre-filled); the weights and both check boxes serve only the weighted sum.
  void Prepare(bool weighted, const std::string& firstFile, int firstIndex = 1);
  bool Weighted() const { return weighted_; }

  // Further files as new lines with an empty index.
  void AppendFiles(const QStringList& files);
  std::vector<AddListRow> Rows() const;
  // The tables of the last OK.
  const AddTables& Tables() const { return tables_; }
  // Whether the weighted sum is taken in m.r.d.
  bool NormalizePoleFigures() const;

  // Where the messages of the OK checks go; a message box when none is set.
  void SetMessageSink(MessageSink* sink) { messages_ = sink; }

  void SearchBtnClick();
  void DeleteBtnClick();
  void OKBtnClick();

 private:
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* SearchBtn = nullptr;
  // that they scroll and select together.
  QTableWidget* FileStringGrid = nullptr;
  // One table holds the three columns "Weight", "PF File" and "PF index", so
  QPushButton* DeleteBtn = nullptr;
  QCheckBox* NormCheckBox = nullptr;
  QCheckBox* NormPFCheckBox = nullptr;
  struct Row {
    QString weight, file, index;
  };
  void SetRow(int row, const Row& texts);

  AppContext& context_;
  bool weighted_ = true;
  AddTables tables_;
  MessageSink* messages_ = nullptr;
};

}  // namespace quorix
