#include "win32window/dialog_filter.h"

#include <stdexcept>

#include "fileio/wide_text.h"
#include "window/file_chooser.h"

namespace quillon {

std::wstring DialogFilter(std::string_view filter) {
  std::wstring entries;
  for (const auto& [description, patterns] : ChooserFilterEntries(filter)) {
    // The system's dialog ends its list at an empty string.
    if (patterns.empty()) throw std::invalid_argument("the file filter entry \"" + std::string(description) + "\" has no patterns");
    entries += Widen(description);
    entries += L'\0';
    entries += Widen(patterns);
    entries += L'\0';
  }
  entries += L'\0';
  return entries;
}

}  // namespace quillon
