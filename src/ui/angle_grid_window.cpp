// Angle grids drawn as a figure scaled to the window.
#include "ui/angle_grid_window.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "qtcanvas/figure_file.h"

namespace quorix {

AngleGridWindow::AngleGridWindow(const QString& title, std::vector<FigurePanel> panels, const FigureOptions& options,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), panels_(std::move(panels)), options_(options) {
  setWindowTitle(title);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

std::vector<double> AngleGridWindow::Levels() const {
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  for (const FigurePanel& p : panels_)
    for (double v : p.grid.grid.values)
      if (std::isfinite(v)) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
      }
  return lo <= hi ? FigureLevels(options_, lo, hi) : std::vector<double>{};
}

QImage AngleGridWindow::Picture() const {
  // Laid out at the window's width on a screen's scale, so that the texts
  // keep their size in points however many panels there are.
  constexpr double kScreenDpi = 96, kMmPerInch = 25.4;
  FigureOptions o = options_;
  o.widthMm = std::max(50.0, width() / kScreenDpi * kMmPerInch);
  const FigureLayout l = LayOutFigure(panels_, o);
  if (!(l.width > 0 && l.height > 0)) return {};
  const double tall = l.height * kScreenDpi / kMmPerInch;
  if (tall > height()) o.widthMm = std::max(50.0, o.widthMm * height() / tall);
  return FigureImage(panels_, o, kScreenDpi);
}

void AngleGridWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const QImage picture = Picture();
  painter.drawImage((width() - picture.width()) / 2, (height() - picture.height()) / 2, picture);
}

}  // namespace quorix
