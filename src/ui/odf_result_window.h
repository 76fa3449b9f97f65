// The result of an ODF computation: RP per pole figure, texture index,
// entropy, volume fractions, and the windows and file that follow from it.
#pragma once

#include <QWidget>

class QLineEdit;
#include "ui/app_context.h"
#include "workflow/odf_job.h"

namespace quorix {

class MainWindow;
class AngleGridWindow;

class OdfResultWindow : public QWidget {
  Q_OBJECT
 public:
  OdfResultWindow(MainWindow& mainform, AppContext& context, OdfJobResult result);
  const OdfJobResult& Result() const { return result_; }

  // The complete pole figure of each input hkl, then of each further one
  // typed ("3 1 1; 2 2 2"), into the free windows 2..8.
  void OpenRecalculated();
  // RD, TD and ND in the crystal's standard triangle or sector.
  AngleGridWindow* OpenInverse();
  // Sections phi2 = const over the region, at most 18 of them.
  AngleGridWindow* OpenSections();
  // Asks for a file name; false when none was given or writing failed.
  bool SaveOdf();
  bool SaveOdfAs(const std::string& fileName);

 private:
  MainWindow& mainform_;
  AppContext& context_;
  OdfJobResult result_;
  QLineEdit* further_ = nullptr;
};

// The hkl as the crystal writes it: "h k l", or "h k i l" for trigonal and hexagonal ones.
std::string HklText(const std::array<int, 3>& hkl, LaueGroup crystal);

}  // namespace quorix
