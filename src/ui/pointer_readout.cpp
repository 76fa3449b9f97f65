// Mouse handling on the main plot: read-out, cursors, value editor, drag pick.
#include "ui/pointer_readout.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

#include "plot/projection.h"
#include "plot/render.h"
#include "transform/rotation_pick.h"
#include "ui/interpolation_dialog.h"
#include "ui/main_window.h"
#include "ui/plot_view.h"
#include "ui/rotation_dialog.h"
#include "ui/status_texts.h"

namespace quorix {

PointerReadout::PointerReadout(MainWindow& mainform, AppContext& context)
    : QObject(&mainform), mainform_(mainform), context_(context) {
  PlotView* image = mainform_.Plot();
  CursorLabel = new QLabel(image);
  CursorLabel->setObjectName("CursorLabel");
  CursorLabel->setAutoFillBackground(true);
  QPalette white = CursorLabel->palette();
  white.setColor(QPalette::Window, Qt::white);
  CursorLabel->setPalette(white);
  CursorLabel->hide();

  RecommendedValues = new QPlainTextEdit(image);
  RecommendedValues->setObjectName("RecommendedValues");
  RecommendedValues->setReadOnly(true);
  RecommendedValues->setFocusPolicy(Qt::NoFocus);
  RecommendedValues->setStyleSheet("QPlainTextEdit { color: grey; font-weight: bold; }");
  RecommendedValues->setPlainText("Recommended values:");
  RecommendedValues->resize(200, 80);
  RecommendedValues->hide();

  EditPFValue = new QLineEdit(image);
  EditPFValue->setObjectName("EditPFValue");
  EditPFValue->resize(90, EditPFValue->sizeHint().height());
  EditPFValue->installEventFilter(this);
  EditPFValue->hide();

  connect(image, &PlotView::MouseMoved, this, &PointerReadout::PlotMouseMoved);
  connect(image, &PlotView::MousePressed, this, &PointerReadout::PlotMousePressed);
  connect(image, &PlotView::MouseReleased, this, &PointerReadout::PlotMouseReleased);
}

bool PointerReadout::CircleCursor() const { return cursorButton_ && cursorButton_->isChecked(); }

bool PointerReadout::CursorButtonVisible() const { return !cursorButton_ || cursorButton_->isVisible(); }

// The side of the square the plot was drawn in: on an image narrower than
// 1.4 times its height that is less than the height, and directions taken
// from the height would miss the drawn plot.
// The direction under a plot position, through the zoom the plot was drawn with.
PlotDirection PointerReadout::Unproject(int side, int x, int y) const {
  PlotDirection d = UnprojectPoint(side, x, y, context_.state.Options.EqualArea);
  if (const PoleFigure* pf = context_.set.PF[1].get())
    d.alpha = UnzoomedAlpha(d.alpha, PlotRimTilt(*pf, context_.state), context_.state.Options.EqualArea);
  return d;
}

int PointerReadout::PlotSide() const { return PlotSize(mainform_.Plot()->width(), mainform_.Plot()->height()); }

bool PointerReadout::ValueMode() const {
  const PoleFigure* pf = context_.set.PF[1].get();
  if (!pf || pf->CircleCount < 1) return false;
  const bool unrotated = rotationDlg_ ? rotationDlg_->DisplayUnrotated() : true;
  return ValueModeHolds(CircleCursor(), unrotated, context_.set.PF[1]->Grid);
}

void PointerReadout::DrawReadout(int x, int y) {
  const int h = PlotSide();
  const PlotDirection d = Unproject(h, x, y);
  if (ValueMode()) {
    const PoleFigure& pf = *context_.set.PF[1];
    selection_ = SelectReadout(pf, d.alpha, d.beta, context_.state.Options.ShowMrd);
    CursorLabel->setText(QString::fromStdString(ValueLabelText(pf, selection_)));
    CursorLabel->adjustSize();
    CursorLabel->move(CursorLabelLeft(x), CursorLabelTop(y, h, true));
  } else {
    CursorLabel->setText(QString::fromStdString(DirectionLabelText(d.alpha, d.beta)));
    CursorLabel->adjustSize();
    CursorLabel->move(CursorLabelLeft(x), CursorLabelTop(y, h, false));
  }
  CursorLabel->show();

  // Drawn a second time at the same place, the inverting pen restores the plot.
  QImage& canvas = mainform_.Plot()->MutableImage();
  if (canvas.isNull()) return;
  const CursorFigure figure = MakeCursorFigure(x, y, h, CircleCursor());
  {
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    for (const CursorLine& l : figure.lines) p.drawLine(l.x1, l.y1, l.x2, l.y2);
    if (figure.hasCircle)
      p.drawEllipse(QRect(figure.left, figure.top, figure.right - figure.left - 1, figure.bottom - figure.top - 1));
  }
  mainform_.Plot()->update();
}

void PointerReadout::PlotMouseMoved(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  const int y = event->position().toPoint().y();
  const int h = PlotSide();
  if (x <= h && CursorButtonVisible()) {
    const PlotDirection d = Unproject(h, x, y);
    if (d.alpha <= kPositionLabelLimit) {
      mainform_.ShowPosition(QString::fromStdString(PositionText(d.alpha, d.beta)));
      QString value;
      const PoleFigure* pf = context_.set.PF[1].get();
      if (pf && pf->CircleCount > 0 && d.alpha <= 90 && ValueMode()) {
        const ReadoutSelection s = SelectReadout(*pf, d.alpha, d.beta, context_.state.Options.ShowMrd);
        value = QString::fromStdString(StatusValueText(pf->Intensity[s.circle][s.point], s.divisor));
      }
      mainform_.ShowPointerStatus(d.alpha, d.beta, value);
    } else {
      mainform_.HidePosition();
    }
  }
  if (dragging_) {
    DrawReadout(lastX_, lastY_);
    DrawReadout(x, y);
    lastX_ = x;
    lastY_ = y;
  }
}

void PointerReadout::PlotMousePressed(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  const int y = event->position().toPoint().y();
  if (dragging_) DrawReadout(lastX_, lastY_);  // a second button while one is held
  dragging_ = true;
  DrawReadout(x, y);
  lastX_ = x;
  lastY_ = y;
  CloseEditor();
  rightButton_ = event->button() == Qt::RightButton;
  if (mainform_.PickMode()) {
    const PlotDirection d = Unproject(PlotSide(), x, y);
    pickAlpha_ = d.alpha;
    pickBeta_ = d.beta;
  }
}

void PointerReadout::PlotMouseReleased(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  const int y = event->position().toPoint().y();
  if (dragging_) {
    DrawReadout(lastX_, lastY_);
    dragging_ = false;
    CursorLabel->clear();
    CursorLabel->hide();
  }
  if (mainform_.PickMode()) {
    const PlotDirection d = Unproject(PlotSide(), x, y);
    FinishPick(rightButton_, d.alpha, d.beta);
    return;
  }
  if (rightButton_ && ValueMode()) OpenEditor(x, y);
}

void PointerReadout::FinishPick(bool rightButton, double alpha2, double beta2) {
  const PickedRotation r = PickRotation(pickAlpha_, pickBeta_, alpha2, beta2, !CircleCursor());
  if (r.valid && rotationDlg_) rotationDlg_->SetPickedValues(r.phi, r.theta, r.omega);
  if (rightButton) {
    if (interpolDlg_) interpolDlg_->Open(true);
  } else if (rotateGrid_) {
    rotateGrid_();
  }
}

void PointerReadout::OpenEditor(int x, int y) {
  const PoleFigure& pf = *context_.set.PF[1];
  const int h = PlotSide();
  const auto lines = Recommend(pf, selection_).Lines();
  RecommendedValues->setPlainText(
      QString::fromStdString(lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n" + lines[3]));
  const int memoTop = y > h / 2 ? 5 : h - RecommendedValues->height() - 5;
  RecommendedValues->move(5, memoTop);
  RecommendedValues->show();

  EditPFValue->setText(QString::fromStdString(EditorText(pf, selection_)));
  EditPFValue->move(CursorLabelLeft(x), y <= h / 2 ? y + 5 : y - 38);
  EditPFValue->show();
  EditPFValue->setFocus();
  EditPFValue->selectAll();
}

void PointerReadout::EditPFValueEnter() {
  PoleFigure* pf = context_.set.PF[1].get();
  if (!pf) return;
  // A text that is no number is refused: the editor stays open.
  const std::string text = EditPFValue->text().toStdString();
  const bool mrd = context_.state.Options.ShowMrd;
  if (!mainform_.ChangePoleFigures("Edit Value", {1}, [&] { return ApplyEdit(*pf, selection_, text, mrd); })) return;
  CloseEditor();
  mainform_.RedrawMain();
}

void PointerReadout::EditPFValueEscape() { CloseEditor(); }

void PointerReadout::CloseEditor() {
  RecommendedValues->hide();
  const bool wasOpen = EditPFValue->isVisible();
  EditPFValue->hide();
  // The navigation keys reach the main window through the plot.
  if (wasOpen) mainform_.Plot()->setFocus();
}

bool PointerReadout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EditPFValue && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      EditPFValueEnter();
      return true;
    }
    if (key == Qt::Key_Escape) {
      EditPFValueEscape();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace quorix
