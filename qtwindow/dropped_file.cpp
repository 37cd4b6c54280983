#include "qtwindow/dropped_file.h"

#include <QFileInfo>
#include <QUrl>

namespace quillon {

std::optional<QString> DroppedFile(const QMimeData& data) {
  if (!data.hasUrls()) return std::nullopt;
  for (const QUrl& url : data.urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (!path.isEmpty() && !QFileInfo(path).isDir()) return path;
  }
  return std::nullopt;
}

}  // namespace quillon
