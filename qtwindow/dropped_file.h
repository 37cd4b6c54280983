#pragma once

#include <QMimeData>
#include <QString>
#include <optional>

namespace quillon {

// The first local file (not a folder) among the dropped URLs; nothing when there is none.
std::optional<QString> DroppedFile(const QMimeData& data);

}  // namespace quillon
