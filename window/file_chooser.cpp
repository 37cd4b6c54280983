#include "window/file_chooser.h"

#include <stdexcept>
#include <string>

namespace quillon {

std::vector<ChooserFilterEntry> ChooserFilterEntries(std::string_view filter) {
  std::vector<ChooserFilterEntry> entries;
  while (!filter.empty()) {
    const std::size_t descriptionEnd = filter.find('|');
    if (descriptionEnd == std::string_view::npos)
      throw std::invalid_argument("the file filter entry \"" + std::string(filter) + "\" has no patterns");
    const std::string_view description = filter.substr(0, descriptionEnd);
    filter.remove_prefix(descriptionEnd + 1);
    const std::size_t patternsEnd = filter.find('|');
    entries.push_back({description, filter.substr(0, patternsEnd)});
    filter.remove_prefix(patternsEnd == std::string_view::npos ? filter.size() : patternsEnd + 1);
  }
  return entries;
}

}  // namespace quillon
