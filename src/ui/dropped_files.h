// The local files of a drag, for the windows that take dropped pole figures.
#pragma once

#include <QStringList>

class QMimeData;

namespace quorix {

// Paths of the local files among the dragged URLs, in their order.
QStringList DroppedLocalFiles(const QMimeData* mime);

}  // namespace quorix
