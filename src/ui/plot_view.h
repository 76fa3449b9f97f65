// A widget that shows one plot image and reports the mouse on it.
#pragma once

#include <QImage>
#include <QWidget>

#include "plot/projection_cache.h"

namespace quorix {

class PlotView : public QWidget {
  Q_OBJECT
 public:
  explicit PlotView(QWidget* parent = nullptr);
  void SetImage(const QImage& image);
  const QImage& Image() const { return image_; }
  QImage& MutableImage() { return image_; }
  // Where the grid of the plot shown falls, kept for the next redraw.
  ProjectionCache& Projection() { return projection_; }

 signals:
  void Resized();
  void MousePressed(QMouseEvent* event);
  void MouseMoved(QMouseEvent* event);
  void MouseReleased(QMouseEvent* event);
  void DoubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QImage image_;
  ProjectionCache projection_;
};

}  // namespace quorix
