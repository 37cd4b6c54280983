#pragma once

#include <windows.h>

#include "window/file_chooser.h"

namespace quillon {

// Chooses through the system's Open dialog, over `owner`.
class Win32FileChooser : public FileChooser {
 public:
  explicit Win32FileChooser(HWND owner) noexcept : owner_(owner) {}
  std::optional<std::string> ShowOpen(std::string_view filter, std::string_view lastChoice) override;

 private:
  HWND owner_;
};

}  // namespace quillon
