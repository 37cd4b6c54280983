#pragma once

#include <QString>
#include <string_view>

namespace quillon {

// A text of the program's own (a caption, a tooltip, a dialog filter), written in UTF-8 in the
// source, as the widgets show it.
inline QString WidgetText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace quillon
