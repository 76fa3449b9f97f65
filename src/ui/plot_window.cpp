#include "ui/plot_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/dropped_files.h"
#include "ui/plot_drawing.h"
#include "ui/plot_view.h"

namespace quorix {

PlotWindow::PlotWindow(int number, AppContext& context, QWidget* parent)
    // A window of its own, not a tool window of the main one: a tool window
    // stays above the main window, which could then never be brought to the front.
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      number_(number),
      context_(context),
      image_(new PlotView(this)) {
  setObjectName(QString("PPF%1").arg(number));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(image_);
  image_->setFixedSize(kImageWidth, kImageHeight);
  setFixedSize(kImageWidth, kImageHeight);
  setAcceptDrops(true);
  setAttribute(Qt::WA_QuitOnClose, false);  // the main window ends the program
  connect(image_, &PlotView::DoubleClicked, this, [this] { emit DoubleClicked(number_); });
}

void PlotWindow::Redraw() {
  const PoleFigure* pf = context_.set.PF[number_].get();
  if (!pf) return;
  image_->SetImage(
      DrawPlotImage(*pf, context_.state, kImageWidth, kImageHeight, nullptr, nullptr, &image_->Projection()));
}

void PlotWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedLocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void PlotWindow::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedLocalFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  emit FilesDropped(number_, files);
}

void PlotWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed(number_);
}

}  // namespace quorix
