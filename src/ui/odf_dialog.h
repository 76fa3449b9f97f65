// "Orientation Distribution (ODF)": which loaded pole figures, their hkl,
// the symmetries, lattice, resolution and iterations of the estimate.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "record/pole_figure_set.h"
#include "workflow/odf_job.h"

class QComboBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace quorix {

class OdfDialog : public QDialog {
  Q_OBJECT
 public:
  explicit OdfDialog(QWidget* parent = nullptr);
  // One row per loaded pole figure with its caption, all chosen; the crystal
  // and lattice as the first one's file gives them, else as they were.
  void Prepare(const PoleFigureSet& set, const std::vector<QString>& captions);
  // For RunOdfJob, over the records of the set given to Prepare; nothing,
  // after a message, when no pole figure is chosen or a number cannot be read.
  std::optional<OdfJobRequest> Request(MessageSink& sink) const;

  QTableWidget& Figures() const { return *figures_; }
  QComboBox& Crystal() const { return *crystal_; }
  QComboBox& Sample() const { return *sample_; }
  QLineEdit& LatticeEdit() const { return *lattice_; }
  QLineEdit& Resolution() const { return *resolution_; }
  QSpinBox& Iterations() const { return *iterations_; }

 private:
  QTableWidget* figures_ = nullptr;
  QComboBox* crystal_ = nullptr;
  QComboBox* sample_ = nullptr;
  QLineEdit* lattice_ = nullptr;
  QLineEdit* resolution_ = nullptr;
  QSpinBox* iterations_ = nullptr;
  std::vector<const PoleFigure*> records_;  // per row
};

}  // namespace quorix
