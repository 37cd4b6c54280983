#include "qtwindow/dropped_file.h"

#include <QByteArray>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "qtwindow/byte_paths.h"

namespace quillon {
namespace {

// A file manager percent-encodes the name's bytes, whatever their encoding; decoding the URL
// to text first would turn bytes that are not UTF-8 into replacement characters.
std::string PathBytes(const QUrl& url) {
  if (!url.host().isEmpty()) return EncodedPath(url.toLocalFile());
  const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

std::optional<std::string> DroppedFile(const QMimeData& data) {
  if (!data.hasUrls()) return std::nullopt;
  for (const QUrl& url : data.urls()) {
    if (!url.isLocalFile()) continue;
    const std::string path = PathBytes(url);
    std::error_code error;
    if (!path.empty() && !std::filesystem::is_directory(path, error)) return path;
  }
  return std::nullopt;
}

}  // namespace quillon
