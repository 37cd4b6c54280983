#include "qtwindow/byte_paths.h"

#include <QByteArray>
#include <QFile>

namespace quillon {

QString DecodedPath(std::string_view bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string EncodedPath(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace quillon
