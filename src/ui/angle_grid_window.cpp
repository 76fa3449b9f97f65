// Angle grids drawn through the raster canvas, the way the plots of pole figures are.
#include "ui/angle_grid_window.h"

#include <QPainter>
#include <algorithm>

#include "qtcanvas/qt_canvas.h"

namespace quorix {

AngleGridWindow::AngleGridWindow(const QString& title, std::vector<AngleGridPanel> panels, int columns,
                                 const std::vector<Color>& colors, QWidget* parent)
    : QWidget(parent, Qt::Window), panels_(std::move(panels)), colors_(colors), columns_(std::max(columns, 1)) {
  setWindowTitle(title);
  // One scale for all panels, so that their contours compare.
  AngleGrid all;
  for (const AngleGridPanel& p : panels_)
    all.values.insert(all.values.end(), p.grid.values.begin(), p.grid.values.end());
  levels_ = AngleGridLevels(all, 8);
  for (AngleGridPanel& p : panels_) {
    p.figure.levels = levels_;
    p.figure.colors = colors_;
  }
  const int rows = (static_cast<int>(panels_.size()) + columns_ - 1) / columns_;
  resize(std::min(1200, 90 + columns_ * 230), std::min(900, std::max(rows, 1) * 220));
}

QImage AngleGridWindow::Picture() const {
  QtRasterCanvas canvas(std::max(width(), 1), std::max(height(), 1));
  canvas.SetFont("Arial", 9);
  const int legendWidth = 80;
  const int rows = std::max((static_cast<int>(panels_.size()) + columns_ - 1) / columns_, 1);
  const int cellWidth = (width() - legendWidth) / columns_, cellHeight = height() / rows;
  for (std::size_t k = 0; k < panels_.size(); ++k) {
    const int row = static_cast<int>(k) / columns_, column = static_cast<int>(k) % columns_;
    DrawAngleGrid(canvas, panels_[k].grid, panels_[k].figure,
                  PlotBox{column * cellWidth, row * cellHeight, cellWidth, cellHeight});
  }
  DrawLevelLegend(canvas, levels_, colors_, quorix::Pixel{width() - legendWidth + 8, 12});
  return canvas.Image();
}

void AngleGridWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, Picture());
}

}  // namespace quorix
