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

// The system's wording for one of its error codes: an errno value, or on Windows a
// GetLastError() code.
std::string SystemReason(int errorNumber);

// The code of the system call that failed last on this thread.
int LastSystemError() noexcept;

}  // namespace quillon
