#include "win32window/dialog_filter.h"

#include <stdexcept>

#include "fileio/wide_text.h"

namespace quillon {

std::wstring DialogFilter(std::string_view filter) {
  std::wstring entries;
  while (!filter.empty()) {
    const std::size_t descriptionEnd = filter.find('|');
    if (descriptionEnd == std::string_view::npos)
      throw std::invalid_argument("the file filter entry \"" + std::string(filter) + "\" has no patterns");
    const std::string_view description = filter.substr(0, descriptionEnd);
    filter.remove_prefix(descriptionEnd + 1);
    const std::size_t patternsEnd = filter.find('|');
    const std::string_view patterns = filter.substr(0, patternsEnd);
    filter.remove_prefix(patternsEnd == std::string_view::npos ? filter.size() : patternsEnd + 1);
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
