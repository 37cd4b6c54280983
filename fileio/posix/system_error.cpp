#include <cerrno>
#include <cstring>

#include "fileio/file_error.h"

namespace quillon {

std::string SystemReason(int errorNumber) {
  char buffer[256];
  // GNU strerror_r may return a static string instead of filling the buffer.
  return ::strerror_r(errorNumber, buffer, sizeof buffer);
}

int LastSystemError() noexcept { return errno; }

}  // namespace quillon
