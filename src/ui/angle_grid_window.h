// A window of contoured angle grids: the inverse pole figures or the ODF
// sections of an ODF result, with one legend of their common levels.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "plot/angle_grid_plot.h"

namespace quorix {

struct AngleGridPanel {
  AngleGrid grid;
  AngleGridFigure figure;
};

class AngleGridWindow : public QWidget {
  Q_OBJECT
 public:
  // Panels in rows of `columns`; their levels are set in common here.
  AngleGridWindow(const QString& title, std::vector<AngleGridPanel> panels, int columns,
                  const std::vector<Color>& colors, QWidget* parent = nullptr);
  const std::vector<AngleGridPanel>& Panels() const { return panels_; }
  const std::vector<double>& Levels() const { return levels_; }
  // The picture as shown, drawn anew at the window's size.
  QImage Picture() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<AngleGridPanel> panels_;
  std::vector<double> levels_;
  std::vector<Color> colors_;
  int columns_;
};

}  // namespace quorix
