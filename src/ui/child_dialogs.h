// Dialogs and controls made on first use as direct children of the main
// window, so that they keep their fields for the rest of the run.
#pragma once

#include <QObject>
#include <QString>

namespace quorix {

template <class Child, class Make>
Child& FindOrCreateChild(QObject& parent, Make make) {
  if (auto* child = parent.findChild<Child*>(QString(), Qt::FindDirectChildrenOnly)) return *child;
  return *make();
}

}  // namespace quorix
