#include "ui/plot_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorix {

PlotView::PlotView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void PlotView::SetImage(const QImage& image) {
  image_ = image;
  update();
}

void PlotView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!image_.isNull()) p.drawImage(0, 0, image_);
}

void PlotView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit Resized();
}

void PlotView::mousePressEvent(QMouseEvent* event) { emit MousePressed(event); }
void PlotView::mouseMoveEvent(QMouseEvent* event) { emit MouseMoved(event); }
void PlotView::mouseReleaseEvent(QMouseEvent* event) { emit MouseReleased(event); }
void PlotView::mouseDoubleClickEvent(QMouseEvent*) { emit DoubleClicked(); }

}  // namespace quorix
