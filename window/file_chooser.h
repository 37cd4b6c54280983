#pragma once

#include <optional>
#include <vector>
#include <string>
#include <string_view>

namespace quillon {

// The Open dialog's two entries.
inline constexpr std::string_view kChooserFilter = "Textfiles (txt)|*.txt|All Files|*.*";

// One entry of such a filter: what the dialog shows, and its patterns separated by ';'.
struct ChooserFilterEntry {
  std::string_view description;
  std::string_view patterns;
};

// The entries of a "description|patterns|description|patterns" filter. Throws
// std::invalid_argument for an entry without patterns.
std::vector<ChooserFilterEntry> ChooserFilterEntries(std::string_view filter);

// A modal chooser for one existing or typed file name.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // Shows the chooser, opening at `lastChoice` when there was one. Nothing when cancelled.
  virtual std::optional<std::string> ShowOpen(std::string_view filter, std::string_view lastChoice) = 0;
};

}  // namespace quillon
