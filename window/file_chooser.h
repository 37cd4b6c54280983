#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The Open dialog's two entries.
inline constexpr std::string_view kChooserFilter = "Textfiles (txt)|*.txt|All Files|*.*";

// A modal chooser for one existing or typed file name.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // Shows the chooser, opening at `lastChoice` when there was one. Nothing when cancelled.
  virtual std::optional<std::string> ShowOpen(std::string_view filter, std::string_view lastChoice) = 0;
};

}  // namespace quillon
