#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillon {

// Paths are bytes on Linux; the widgets show them as text in the file system's encoding.
QString DecodedPath(std::string_view bytes);
std::string EncodedPath(const QString& path);

}  // namespace quillon
