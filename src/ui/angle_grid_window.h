// A window of angle-grid panels (the inverse pole figures or the ODF sections
// of an ODF result) drawn as a figure on one colour scale.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "plot/figure.h"

namespace quorix {

class AngleGridWindow : public QWidget {
  Q_OBJECT
 public:
  AngleGridWindow(const QString& title, std::vector<FigurePanel> panels, const FigureOptions& options,
                  QWidget* parent = nullptr);
  const std::vector<FigurePanel>& Panels() const { return panels_; }
  // The levels of the common scale, m.r.d.
  std::vector<double> Levels() const;
  // The picture as shown, drawn anew at the window's size.
  QImage Picture() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<FigurePanel> panels_;
  FigureOptions options_;
};

}  // namespace quorix
