#include "ui/dropped_files.h"

#include <QMimeData>
#include <QUrl>

namespace quorix {

QStringList DroppedLocalFiles(const QMimeData* mime) {
  QStringList files;
  if (!mime || !mime->hasUrls()) return files;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) files << url.toLocalFile();
  return files;
}

}  // namespace quorix
