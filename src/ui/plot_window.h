// Windows 2..8: one further pole figure each, in a small tool window.
#pragma once

#include <QWidget>

#include "ui/app_context.h"

namespace quorix {

class PlotView;

class PlotWindow : public QWidget {
  Q_OBJECT
 public:
  // The legend's longest line ("max:  366.0  at  355.0 / 70.0") needs a
  // margin at the right edge of the 280-pixel plot.
  static constexpr int kImageWidth = 463;
  static constexpr int kImageHeight = 280;

  PlotWindow(int number, AppContext& context, QWidget* parent = nullptr);
  int Number() const { return number_; }
  void Redraw();
  PlotView* Image() const { return image_; }

 signals:
  void Closed(int number);
  void DoubleClicked(int number);
  void FilesDropped(int number, const QStringList& files);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  int number_;
  AppContext& context_;
  PlotView* image_;
};

}  // namespace quorix
