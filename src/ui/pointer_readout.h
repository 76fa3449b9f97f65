// The mouse on the main plot: position label, cross-hair or circle cursor
// drawn with an inverting pen, the value read-out, the in-plot value editor
// and the drag pick of a rotation.
#pragma once

#include <QObject>
#include <functional>

#include "plot/projection.h"
#include "transform/readout.h"
#include "ui/app_context.h"

class QAction;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPlainTextEdit;

namespace quorix {

class MainWindow;
class RotationDialog;
class InterpolationDialog;

class PointerReadout : public QObject {
  Q_OBJECT
 public:
  // Connects itself to the main window's plot and creates the cursor
  // label, the memo of recommended values and the value editor on it.
  PointerReadout(MainWindow& mainform, AppContext& context);

  // The "Cursor Shape" toggle (down: circle cursor, direction only).
  void SetCursorButton(QAction* button) { cursorButton_ = button; }
  // Where the drag pick goes: the rotation dialog receives the picked values;
  // the left button then performs "&Rotate Grid", the right button opens the
  // interpolation dialog and its " Rotate".
  void SetRotationDialog(RotationDialog* dialog) { rotationDlg_ = dialog; }
  void SetInterpolationDialog(InterpolationDialog* dialog) { interpolDlg_ = dialog; }
  void SetRotateGridCommand(std::function<void()> command) { rotateGrid_ = std::move(command); }

  void PlotMouseMoved(QMouseEvent* event);
  void PlotMousePressed(QMouseEvent* event);
  void PlotMouseReleased(QMouseEvent* event);
  // Enter stores the typed value, Escape hides the editor.
  void EditPFValueEnter();
  void EditPFValueEscape();

  bool Dragging() const { return dragging_; }
  const ReadoutSelection& Selection() const { return selection_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* CursorLabel = nullptr;
  QPlainTextEdit* RecommendedValues = nullptr;
  QLineEdit* EditPFValue = nullptr;
  bool CircleCursor() const;
  bool CursorButtonVisible() const;
  bool ValueMode() const;
  int PlotSide() const;
  PlotDirection Unproject(int side, int x, int y) const;
  void DrawReadout(int x, int y);
  void OpenEditor(int x, int y);
  void CloseEditor();
  void FinishPick(bool rightButton, double alpha2, double beta2);

  MainWindow& mainform_;
  AppContext& context_;
  QAction* cursorButton_ = nullptr;
  RotationDialog* rotationDlg_ = nullptr;
  InterpolationDialog* interpolDlg_ = nullptr;
  std::function<void()> rotateGrid_;

  bool dragging_ = false;
  bool rightButton_ = false;
  int lastX_ = 0;
  int lastY_ = 0;
  ReadoutSelection selection_;
  double pickAlpha_ = 0;
  double pickBeta_ = 0;
};

}  // namespace quorix
