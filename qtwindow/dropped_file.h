#pragma once

#include <QMimeData>
#include <optional>
#include <string>

namespace quillon {

// The path of the first local file (not a folder) among the dropped URLs, as the bytes the
// file system stores it under; nothing when there is none.
std::optional<std::string> DroppedFile(const QMimeData& data);

}  // namespace quillon
