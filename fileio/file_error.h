#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

// A failure on a named file, worded for the user: `Cannot read "/a/b.txt": Input/output error`.
class FileError : public std::runtime_error {
 public:
  FileError(std::string_view action, std::string_view path, std::string_view reason);
};

// The system's wording for an errno value.
std::string SystemReason(int errorNumber);

}  // namespace quillon
