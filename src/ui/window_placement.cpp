#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace quorix {

void ShowOnScreen(QWidget& window, QSize wanted, const QWidget* over) {
  const QScreen* screen = over && over->screen() ? over->screen() : QGuiApplication::primaryScreen();
  if (!screen) {
    window.resize(wanted);
    window.show();
    return;
  }
  const QRect area = screen->availableGeometry();
  // The frame is not known before the window manager has drawn one: at least a title bar.
  const QSize frame(8, 40);
  const QSize size = wanted.boundedTo(area.size() - frame).expandedTo(window.minimumSize());
  window.resize(size);
  const QRect outer(QPoint(), size + frame);
  QPoint centre = over ? over->frameGeometry().center() : area.center();
  const int left =
      std::clamp(centre.x() - outer.width() / 2, area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
  const int top =
      std::clamp(centre.y() - outer.height() / 2, area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
  window.move(left, top);
  window.show();
}

}  // namespace quorix
